#pragma once

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace users {

class clsUser;

// One security group: a row of System_user_bindery with flag3 > 0, its member ids (rows of
// System_security_groups) in the order they were added, and each member's relation string.
//
// A relation string holds one position per relation value, each the character of code 2 (yes) or
// code 1 (no); new strings are 100 characters of code 1. Position 1 is viewing, position 2 signing:
// in a physician group a member may view, and sign for, the reports of the other members.
class clsSecurityGroup {
public:
    // Group types (flag3) and kind flags (flag2).
    static constexpr long kGeneralGroup = 1;
    static constexpr long kTranscriptionGroup = 2;
    static constexpr long kPhysicianGroup = 3;
    static constexpr long kProxyGroup = 1; // flag2: signing members of a physician group sign as proxy
    // The group attribute (nbr_bad_attempts) bit that marks a group the system created.
    static constexpr long kSystemCreated = 1;

    static constexpr int kRelationLength = 100;
    static constexpr int kViewing = 1; // relation positions, counted from 1
    static constexpr int kSigning = 2;
    static constexpr char kYes = '\x02';
    static constexpr char kNo = '\x01';

    // Access a member has towards the other members, as Signature_relationships counts it.
    enum AccessType { NoAccess = 0, ViewingAccess = 1, SigningAccess = 2 };

    long m_lngGroupId = 0;
    std::string m_strGroupName;
    std::string m_strDescription;
    long m_lngGroupType = 0;      // flag3
    long m_lngGroupFlags = 0;     // flag2
    long m_lngGroupAttribute = 0; // nbr_bad_attempts, which a group row uses for its own attribute

    // Back to a new, empty group of no partition.
    void InitGroup();
    // The member's access from its relation string.
    [[nodiscard]] AccessType GetAccessType(long userId) const;
    // The access a relation string gives.
    [[nodiscard]] static AccessType GetRAccessType(const std::string& relations);
    [[nodiscard]] bool ViewingEnabledForUserId(long userId) const;
    [[nodiscard]] bool SigningEnabledForUserId(long userId) const;
    // Sets one relation position (1-based) of a member, giving it a fresh string first when it has none.
    void SetRelationValue(long userId, int position, bool on);
    void CopyClass(const clsSecurityGroup& source) { *this = source; }

    [[nodiscard]] long Partition_ID() const { return m_lngPartitionId; }
    void Partition_ID(long id) { m_lngPartitionId = id; }
    // The partition's name, with " (S)" for a shared group.
    [[nodiscard]] std::string Partition_Name() const;
    [[nodiscard]] bool Read_Only() const { return m_blnReadOnly; }
    void Read_Only(bool value) { m_blnReadOnly = value; }
    [[nodiscard]] bool Is_Shared() const { return m_blnIsShared; }
    void Is_Shared(bool value) { m_blnIsShared = value; }
    // List icon key: GROUP_TECH for built-in groups, GROUP_BORROWED for another partition's group,
    // GROUP_SHARED for a shared group of the logged-in user's partition, GROUP_NORMAL otherwise.
    [[nodiscard]] std::string GetImage() const;

    // Membership: relations are kept per member; "" is a plain member (written as NULL).
    void AddUserRelation(long userId, const std::string& relations);
    [[nodiscard]] std::string GetUserRelation(long userId) const;
    [[nodiscard]] int UserIdsCount() const { return static_cast<int>(m_colUserIds.size()); }
    // False when the user is a member already.
    bool AddUserId(long userId);
    // 1-based, as the collection is indexed; 0 for an index out of range.
    [[nodiscard]] long GetUserId(int index) const;
    [[nodiscard]] bool IsMember(long userId) const { return m_colMemberSet.count(userId) != 0; }
    bool RemoveUserIdAndUserRelation(long userId);
    bool RemoveUserIdAndUserRelationByIndex(int index);
    void RemoveAllUserIds();
    [[nodiscard]] const std::vector<long>& UserIds() const { return m_colUserIds; }
    // Drops every member that may no longer belong to the group (partition and sharing rules);
    // returns the ids dropped.
    std::vector<long> RemoveInvalidGroup(const std::vector<const clsUser*>& members);

    // "<System Administrators>", "<Transcription Administrators>" and the groups the system
    // created; they can be neither edited nor deleted.
    [[nodiscard]] bool IsBuiltIn() const;
    [[nodiscard]] bool IsPhysicianGroup() const { return m_lngGroupType == kPhysicianGroup; }
    [[nodiscard]] bool IsProxyGroup() const { return (m_lngGroupFlags & kProxyGroup) != 0; }

    // A fresh relation string: every position "no".
    [[nodiscard]] static std::string NewRelations() { return std::string(kRelationLength, kNo); }

private:
    long m_lngPartitionId = -1;
    bool m_blnReadOnly = false;
    bool m_blnIsShared = false;
    std::vector<long> m_colUserIds;
    std::unordered_set<long> m_colMemberSet;
    std::unordered_map<long, std::string> m_colRelations;
};

// Whether a user may belong to a group: users of the group's partition or a partition under it
// always; a shared user of another partition when the group is shared and the user's partition
// shares its users with the group's partition. Physician groups take physician users only,
// transcription groups transcriptionists only.
bool UserMayJoinGroup(const clsUser& user, const clsSecurityGroup& group);

} // namespace users
