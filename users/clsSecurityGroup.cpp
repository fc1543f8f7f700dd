#include "clsSecurityGroup.h"

#include "LoginComponent.h"
#include "clsPartition.h"
#include "clsUser.h"
#include "modPartition.h"

#include <algorithm>

namespace users {

void clsSecurityGroup::InitGroup() {
    *this = clsSecurityGroup{};
}

clsSecurityGroup::AccessType clsSecurityGroup::GetRAccessType(const std::string& relations) {
    auto yes = [&](int position) {
        return relations.size() >= static_cast<size_t>(position) &&
               relations[static_cast<size_t>(position - 1)] == kYes;
    };
    if (yes(kSigning))
        return SigningAccess;
    return yes(kViewing) ? ViewingAccess : NoAccess;
}

clsSecurityGroup::AccessType clsSecurityGroup::GetAccessType(long userId) const {
    return GetRAccessType(GetUserRelation(userId));
}

bool clsSecurityGroup::ViewingEnabledForUserId(long userId) const {
    return GetAccessType(userId) != NoAccess;
}

bool clsSecurityGroup::SigningEnabledForUserId(long userId) const {
    return GetAccessType(userId) == SigningAccess;
}

void clsSecurityGroup::SetRelationValue(long userId, int position, bool on) {
    if (position < 1 || position > kRelationLength)
        return;
    std::string& r = m_colRelations[userId];
    if (r.size() < static_cast<size_t>(kRelationLength))
        r.resize(static_cast<size_t>(kRelationLength), kNo);
    r[static_cast<size_t>(position - 1)] = on ? kYes : kNo;
}

std::string clsSecurityGroup::Partition_Name() const {
    std::string name = physicians::GetPartitionName(m_lngPartitionId);
    return m_blnIsShared ? name + " (S)" : name;
}

std::string clsSecurityGroup::GetImage() const {
    if (IsBuiltIn())
        return "GROUP_TECH";
    const auto* login = physicians::Partitions().login;
    if (login && physicians::PartitionCache().size() > 1) {
        if (m_lngPartitionId != login->user.Partition_ID)
            return "GROUP_BORROWED";
        if (m_blnIsShared)
            return "GROUP_SHARED";
    }
    return "GROUP_NORMAL";
}

void clsSecurityGroup::AddUserRelation(long userId, const std::string& relations) {
    if (relations.empty())
        m_colRelations.erase(userId);
    else
        m_colRelations[userId] = relations;
}

std::string clsSecurityGroup::GetUserRelation(long userId) const {
    auto it = m_colRelations.find(userId);
    return it == m_colRelations.end() ? std::string() : it->second;
}

bool clsSecurityGroup::AddUserId(long userId) {
    if (!m_colMemberSet.insert(userId).second)
        return false;
    m_colUserIds.push_back(userId);
    return true;
}

long clsSecurityGroup::GetUserId(int index) const {
    if (index < 1 || index > UserIdsCount())
        return 0;
    return m_colUserIds[static_cast<size_t>(index - 1)];
}

bool clsSecurityGroup::RemoveUserIdAndUserRelation(long userId) {
    auto it = std::find(m_colUserIds.begin(), m_colUserIds.end(), userId);
    if (it == m_colUserIds.end())
        return false;
    m_colUserIds.erase(it);
    m_colMemberSet.erase(userId);
    m_colRelations.erase(userId);
    return true;
}

bool clsSecurityGroup::RemoveUserIdAndUserRelationByIndex(int index) {
    const long id = GetUserId(index);
    return index >= 1 && index <= UserIdsCount() && RemoveUserIdAndUserRelation(id);
}

void clsSecurityGroup::RemoveAllUserIds() {
    m_colUserIds.clear();
    m_colMemberSet.clear();
    m_colRelations.clear();
}

std::vector<long> clsSecurityGroup::RemoveInvalidGroup(const std::vector<const clsUser*>& members) {
    std::vector<long> dropped;
    for (const clsUser* u : members)
        if (u && IsMember(u->m_lngUserId) && !UserMayJoinGroup(*u, *this)) {
            RemoveUserIdAndUserRelation(u->m_lngUserId);
            dropped.push_back(u->m_lngUserId);
        }
    return dropped;
}

bool clsSecurityGroup::IsBuiltIn() const {
    return m_strGroupName == "<System Administrators>" || m_strGroupName == "<Transcription Administrators>" ||
           (m_lngGroupAttribute & kSystemCreated) != 0;
}

bool UserMayJoinGroup(const clsUser& user, const clsSecurityGroup& group) {
    if (group.m_lngGroupType == clsSecurityGroup::kPhysicianGroup && user.m_lngPhysicianId <= 0)
        return false;
    if (group.m_lngGroupType == clsSecurityGroup::kTranscriptionGroup &&
        (user.m_strTransId.empty() || user.m_lngPhysicianId > 0))
        return false;
    const long home = group.Partition_ID();
    if (physicians::PartitionIsUnder(user.Partition_ID(), home))
        return true;
    return group.Is_Shared() && user.Is_Shared() && physicians::PartitionSharesUsers(user.Partition_ID()) &&
           physicians::PartitionIsSharingWith(user.Partition_ID(), home);
}

} // namespace users
