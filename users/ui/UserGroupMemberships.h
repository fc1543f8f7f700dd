#pragma once

#include "UA_User_Mgmt_Edit.h"
#include "UserMgmtData.h"
#include "clsSecurityGroups.h"

#include <vector>

namespace users {

// The custom groups a user belongs to, as the user editor's Groups tab shows them, from the
// memberships and groups already read.
std::vector<UserGroupEntry> UserGroupEntries(long userId, const UserMgmtData& data, clsSecurityGroups& groups);

// Reads the active groups and their memberships and gives the user's groups; false when a read failed.
bool LoadUserGroupEntries(long userId, std::vector<UserGroupEntry>& out);

// Writes the Groups tab changes of a saved user in one batch: the removed memberships deleted, the
// added ones inserted unless present. True when there was nothing to write.
bool WriteUserMemberships(long userId, const std::vector<long>& removed, const std::vector<long>& added);

} // namespace users
