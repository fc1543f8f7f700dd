#pragma once

#include "clsSecurityGroups.h"
#include "clsUsers.h"

#include <string>
#include <vector>

namespace users {

// The security groups' writes and their membership rows. Each operation runs its statements through
// the one database session (which shows the server's errors), shows its own failure message under
// "User Management", records the change in the system log and leaves the collection as the
// database then is. Statements run one by one without a transaction: a failure leaves the earlier
// ones applied, and the group's members are then read back from the database.

// The program-wide collection of loaded groups, as the user management screen keeps it.
clsSecurityGroups& SecurityGroups();

// Fills every group of the collection with its members and their relations (members that are
// deleted users are skipped). False after a failure, with the members left as they were.
bool LoadGroupMembers(clsSecurityGroups& groups);
// Re-reads one group's members from the database.
bool ReloadGroupMembers(clsSecurityGroup& group);

enum class GroupNameUse { Free, Group, User, Failed };
// Whether another row (any but exceptId) holds the name: a group, a user (deleted or not), or none.
GroupNameUse CheckGroupName(const std::string& name, long exceptId);

// Adds the group under a new user id (written back to group.m_lngGroupId) with its members, and
// adds it to the collection.
bool InsertGroup(clsSecurityGroup& group, clsSecurityGroups& collection = SecurityGroups());
// Writes the edited group (name, description, kind flags, attribute, partition, sharing) and the
// membership changes against the collection's copy: one statement per member added, removed or
// with changed relations, nothing for unchanged members.
bool UpdateGroup(const clsSecurityGroup& edited, clsSecurityGroups& collection = SecurityGroups());
// Removes the group row with its memberships, privileges, printer privileges and signature group
// references. Its members stay users.
bool DeleteGroup(const std::string& key, clsSecurityGroups& collection = SecurityGroups());

// The user editor's group list written on its OK: the user joins the groups of `after` it is not
// in and leaves those of `before` it is no longer in.
bool SaveUserGroups(long userId, const std::vector<long>& before, const std::vector<long>& after,
                    clsSecurityGroups& collection = SecurityGroups());

// The statements that bring `before`'s members to `after`'s (same group id), in member order.
std::vector<std::string> MembershipChanges(const clsSecurityGroup& before, const clsSecurityGroup& after);

// Users of the collection that may join the group and are not members yet, in collection order.
std::vector<const clsUser*> OfferedMembers(const clsSecurityGroup& group, const clsUsers& users);

// A member as the effective-access view lists it.
struct GroupMemberName {
    long userId = 0;
    std::string userName, lastName, firstName;
    long partitionId = 0;
};
// The group's members that are active users, by user name.
bool LoadGroupMemberNames(long groupId, std::vector<GroupMemberName>& members);

// The dictating physicians whose surrogate (or cosigner or resident) is the group, by name.
bool GroupRelationshipNames(long groupId, std::vector<std::string>& surrogateFor,
                            std::vector<std::string>& cosignerFor);

// The log texts and failure messages.
std::string GroupAddedText(const std::string& group);
std::string GroupModifiedText(const std::string& group);
std::string GroupDeletedText(const std::string& group);
extern const char* const kGroupUpdateFailed;
extern const char* const kGroupDeleteFailed;

} // namespace users
