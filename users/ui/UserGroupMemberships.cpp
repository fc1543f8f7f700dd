#include "UserGroupMemberships.h"

#include "DatabaseSession.h"
#include "modUserStore.h"

namespace users {

std::vector<UserGroupEntry> UserGroupEntries(long userId, const UserMgmtData& data, clsSecurityGroups& groups) {
    std::vector<UserGroupEntry> out;
    const auto it = data.groupsOfUser.find(userId);
    if (it == data.groupsOfUser.end())
        return out;
    for (long g : it->second)
        if (const clsSecurityGroup* group = groups.Item(clsSecurityGroups::Key(g)))
            out.push_back(
                {g, group->m_strGroupName, group->m_strDescription, IsBuiltInGroupName(group->m_strGroupName)});
    return out;
}

bool LoadUserGroupEntries(long userId, std::vector<UserGroupEntry>& out) {
    clsSecurityGroups groups;
    UserMgmtData data;
    if (!LoadGroupsIntoCollection(&groups) || !data.LoadMemberships())
        return false;
    out = UserGroupEntries(userId, data, groups);
    return true;
}

bool WriteUserMemberships(long userId, const std::vector<long>& removed, const std::vector<long>& added) {
    std::string batch;
    const std::string u = std::to_string(userId);
    for (long g : removed)
        batch +=
            "DELETE FROM System_security_groups WHERE group_id = " + std::to_string(g) + " AND user_id = " + u + "\r\n";
    for (long g : added)
        batch += "IF NOT EXISTS (SELECT * FROM System_security_groups WHERE group_id = " + std::to_string(g) +
                 " AND user_id = " + u + ")\r\nINSERT INTO System_security_groups VALUES(" + std::to_string(g) + ", " +
                 u + ", NULL, 0, 0, 0, NULL, NULL, NULL)\r\n";
    return batch.empty() || foundation::DatabaseSession::instance().RunStatement(batch);
}

} // namespace users
