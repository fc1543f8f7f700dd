#pragma once

#include "clsSecurityGroup.h"

#include <string>

namespace users {

// The statement texts of the security groups. Every text value goes through QuoteSQL between
// apostrophes; numbers are written from typed values. Batches separate their statements with CR LF.

// Members of every live group, skipping members that are deleted users.
extern const char* const kAllGroupMembersQuery;
// Members of one group (deleted users skipped) with their relations.
std::string GroupMembersQuery(long groupId);
// Members of one group that are active users, with their names and partitions, by user name.
std::string GroupMemberNamesQuery(long groupId);
// Every row that holds the name (users and groups, deleted or not), groups first.
std::string GroupNameCheck(const std::string& name);

// The new group's row: the columns of a user insert, with no passwords and no person's names.
std::string InsertGroupStatement(const clsSecurityGroup& group, long newId);
std::string UpdateGroupStatement(const clsSecurityGroup& group);
// The hard delete: memberships, privileges, printer privileges, signature group references, the row.
std::string DeleteGroupBatch(long groupId);

// One membership: a new member (with its relations, or NULL for a plain member), changed
// relations of a member, a member removed.
std::string AddMemberStatement(long groupId, long userId, const std::string& relations);
std::string SaveRelationsStatement(long groupId, long userId, const std::string& relations);
std::string RemoveMemberStatement(long groupId, long userId);

// The physicians whose surrogate or cosigner/resident is the group, by name, for the delete question.
std::string GroupSurrogateForQuery(long groupId);
std::string GroupCosignerForQuery(long groupId);

} // namespace users
