#pragma once

#include <string>
#include <vector>

namespace users {

class clsUsers;
class clsSecurityGroups;

// One physician user or physician group that may be added to a relationship.
struct SignatureCandidate {
    long physicianId = 0; // 0 for a group
    long userId = 0;
    long groupId = -1; // -1 for a physician user
    std::string name;
};

// The security group type of physician groups (flag3).
constexpr long kPhysicianGroupType = 3;

// Physician users of the visible partitions (users that are not read-only here) other than the
// dictating physician and those already taken, then the physician groups not already taken; in
// the collections' order.
std::vector<SignatureCandidate> SignatureCandidates(const clsUsers& users, const clsSecurityGroups& groups,
                                                    long dictatorPhysicianId, const std::vector<long>& takenPhysicians,
                                                    const std::vector<long>& takenGroups);

} // namespace users
