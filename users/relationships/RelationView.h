#pragma once

#include <string>
#include <vector>

namespace users {

// One line of a physician's relations view.
struct RelationViewRow {
    std::string name;     // the other physician's user name, else "Last, First"; a group's name
    std::string type;     // "Group", "Surrogate", "Cosigner", "Resident", "Cosigner-Group", "Resident-Group"
    std::string access;   // "Viewing Only", "Signing-Proxy", "Signing"; empty for a dependency
    std::string level;    // "Level n" for a dependency
    std::string required; // "Yes"/"No" for a dependency
    std::string start;    // "YYYY-MM-DD" or empty
    std::string expire;
};

// Every relationship of one physician in two directions: outward, where it acts for others (it is
// the related physician, the cosigner, or a member of the cosigner group), and inward, where others
// act for it. False after a failed statement (shown by the session).
bool LoadRelationView(long physicianId, std::vector<RelationViewRow>& outward, std::vector<RelationViewRow>& inward);

// The statements, in the order they run.
std::string RelationsOutwardQuery(long physicianId);
std::string RelationsInwardQuery(long physicianId);
std::string DependenciesOutwardQuery(long physicianId);
std::string DependenciesInwardQuery(long physicianId);

// The access text of a Signature_relationships row.
std::string AccessText(long accessType, long flag3);

} // namespace users
