#pragma once

#include "clsSecurityGroups.h"
#include "clsUsers.h"
#include "modSecurityGroups.h"

#include <functional>
#include <vector>

class QWidget;

namespace users {

// The group commands of User Management: each checks what the command requires, opens the screen,
// and saves through the group store under the wait window. The collections are the ones the user
// management screen holds (by default the program-wide ones).

// "New Group"; the new group's id, or 0 when cancelled or not saved.
long AddGroupMain(QWidget* parent, const clsUsers& users = Users(), clsSecurityGroups& groups = SecurityGroups());
// "Edit Group" for a loaded group; refused for built-in and shared groups. True when saved.
bool EditGroup(QWidget* parent, long groupId, const clsUsers& users = Users(),
               clsSecurityGroups& groups = SecurityGroups());
// Asks, then deletes the group; refused for built-in and shared groups. True when deleted.
bool DeleteGroupMain(QWidget* parent, long groupId, clsSecurityGroups& groups = SecurityGroups());
// "Add Groups" of the user editor: appends the checked groups to userGroups (saved by the editor's
// OK with SaveUserGroups). True when any was added.
bool AddUserGroups(QWidget* parent, const clsUser& user, std::vector<long>& userGroups,
                   const clsSecurityGroups& groups = SecurityGroups());
// The groups a user belongs to, in collection order.
std::vector<long> GroupsOfUser(long userId, const clsSecurityGroups& groups = SecurityGroups());

// Called after a group's save with the group as it was (no members for a new one) and as saved; the
// application sets it to write a physician group's signature relationships, which live in a library
// above this one. Unset: nothing more is written.
using GroupSavedHook =
    std::function<bool(const clsSecurityGroup& before, const clsSecurityGroup& after, const clsUsers& users)>;
GroupSavedHook& GroupSaved();

// Loads the active users, the groups and their members ("Error retrieving users" on failure).
bool LoadUsersAndGroups(clsUsers& users = Users(), clsSecurityGroups& groups = SecurityGroups());

} // namespace users
