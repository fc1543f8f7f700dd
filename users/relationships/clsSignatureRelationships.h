#pragma once

#include "RelationshipStatements.h"
#include "clsSecurityGroup.h"
#include "clsSignatureDependency.h"
#include "clsSurrogate.h"
#include "clsUsers.h"

#include <string>
#include <vector>

namespace users {

class clsUsers;

// One entry of a relationship folder of User Management: a dictating physician and what its
// relationship of that kind holds.
struct RelationshipFolderEntry {
    long dictatorPhysicianId = 0;
    long dictatorUserId = 0;
    std::string dictatorName;           // the physician user's name; "#" + physician id without one
    std::vector<std::string> relations; // one text per surrogate or dependency: name and type
};

// The signature relationships User Management holds: every surrogate row and every cosigner and
// resident row, loaded at once, with the saves and deletes of one physician's relationship.
// Each write runs all or nothing through the one session, shows its failure under "User Management",
// records the change in the system log and then holds what the database holds.
class clsSignatureRelationships {
public:
    static constexpr const char* kSurrogateFolder = "Surrogate Relationships";
    static constexpr const char* kResidentFolder = "Resident Relationships";
    static constexpr const char* kCosignatureFolder = "Cosignature Relationships";

    // false after a failed statement (the session showed it); the held rows are then unchanged.
    bool LoadSurrogates();
    bool LoadDependencies();

    [[nodiscard]] const std::vector<clsSurrogate>& Surrogates() const { return m_colSurrogates; }
    [[nodiscard]] const std::vector<clsSignatureDependency>& Dependencies() const { return m_colDependencies; }
    [[nodiscard]] std::vector<clsSurrogate> SurrogatesOf(long dictatorPhysicianId) const;
    // Residents (resident = true) or cosigners of the dictating physician.
    [[nodiscard]] std::vector<clsSignatureDependency> DependenciesOf(long dictatorPhysicianId, bool resident) const;

    // The folder's entries, one per dictating physician in load order; names from users.
    [[nodiscard]] std::vector<RelationshipFolderEntry>
    Folder(const std::string& folderName, const clsUsers& users,
           const std::vector<std::pair<long, std::string>>& groups = {}) const;

    // Writes the physician's surrogates again (an empty list deletes the relationship). userName
    // names the physician user in the log; added says whether the relationship is new.
    bool SaveSurrogates(long dictatorPhysicianId, const std::string& userName, const std::vector<clsSurrogate>& rows,
                        bool added);
    // Writes the physician's residents (resident = true) or cosigners again; the rows of the other
    // kind stay as they are.
    bool SaveDependencies(long dictatorPhysicianId, const std::string& userName, bool resident,
                          const std::vector<clsSignatureDependency>& rows);
    // Deleting one relationship from the tree: the same writes with nothing left; the delete's own
    // failure text.
    bool DeleteSurrogates(long dictatorPhysicianId, const std::string& userName);

    // The relationship kinds the tree deletes, each named in the confirmation.
    enum class Kind { Surrogate, Resident, Cosigner, Signature };
    // Asks "Are you sure you want to delete the <kind> for <name>?" (title "Delete Relationship") and
    // on Yes deletes it; Signature deletes both the resident and the cosigner rows. false on No or a
    // failure.
    bool DeleteRelationship(Kind kind, long dictatorPhysicianId, const std::string& userName);
    bool DeleteDependencies(long dictatorPhysicianId, const std::string& userName, bool resident);

private:
    bool writeDependencies(long dictatorPhysicianId, const std::string& userName, bool resident,
                           const std::vector<clsSignatureDependency>& rows, const char* failure);
    // Every cosigner and resident row of the physician, written as given.
    bool storeDependencies(long dictatorPhysicianId, const std::string& userName,
                           const std::vector<clsSignatureDependency>& all, const char* failure);
    bool writeSurrogates(long dictatorPhysicianId, const std::string& userName, const std::vector<clsSurrogate>& rows,
                         bool added, const char* failure);

    std::vector<clsSurrogate> m_colSurrogates;
    std::vector<clsSignatureDependency> m_colDependencies;
};

// Failure texts.
extern const char* const kSurrogateSaveFailed;
extern const char* const kDependencySaveFailed;
extern const char* const kRelationshipsUpdateFailed;
extern const char* const kSurrogateDeleteFailed;
extern const char* const kDependencyDeleteFailed;

// The group relations of a physician group written after its members' relations changed (the group
// editor's save); false after "Error encountered attempting to update the Signature relationships table.".
bool UpdateGroupRelations(const std::vector<GroupMemberRelation>& members, const std::vector<long>& withdrawn,
                          bool proxy);

// After a physician group was saved: its members' relations written as group relations between
// their physicians (members without a physician are left out), and the relations of physicians who
// left the group deleted. before is the group as it was (no members for a new group); users gives
// each member's physician. Other groups write nothing. False after the update's message.
bool WriteGroupRelations(const clsSecurityGroup& before, const clsSecurityGroup& after, const clsUsers& users);

// The physician ids of a group's physician members; false after a failed statement.
bool LoadGroupPhysicians(long groupId, std::vector<long>& physicianIds);

} // namespace users
