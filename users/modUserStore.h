#pragma once

#include "clsSecurityGroups.h"
#include "clsUsers.h"

#include <string>
#include <utility>
#include <vector>

namespace users {

// The user store: loading users and groups, and every write to a user row with the rows that go
// with it. Each operation runs its statements through the one database session (which shows the
// server's errors), shows its own failure message under "User Management", records the change in
// the system log, and leaves the collection as the database then is. Batches run without a
// transaction: a failing statement leaves the earlier ones applied.

// Replaces the collection's users by every active user (nothing is kept when the statement
// fails); false after a failure. A null collection only runs the statement.
bool LoadActiveUsers(clsUsers* collection);
bool LoadGroupsIntoCollection(clsSecurityGroups* collection);
// Active users' ids and names in name order, for pick lists.
bool LoadUserNames(std::vector<std::pair<long, std::string>>& names);

// The next user (or group) id from User_identifier; -1 after a failure the session has shown.
long NextUserId();

enum class NameUse { Free, Taken, Failed };
// Whether any row holds the name: users and groups, deleted or not.
NameUse CheckUserName(const std::string& userName);

// Adds user under a new id (written back to user.m_lngUserId) with its partition's template
// configuration, and adds it to the collection.
bool InsertUser(clsUser& user, clsUsers& collection = Users());
// Writes the editor's changes; the changed passwords also get their changed-stamps.
bool UpdateUser(const clsUser& user, bool passwordChanged, bool signaturePasswordChanged,
                clsUsers& collection = Users());
// Soft-deletes the user under key with its privileges, configuration, log views, printer
// privileges, transcriptionist record and physician link.
bool DeleteUser(const std::string& key, clsUsers& collection = Users());
// Writes (or creates) the transcriptionist record of user.m_strTransId.
bool WriteTranscriptionistRecord(const clsUser& user);
// Brings a deleted transcriptionist (user.m_strTransId) back with a new user row for user. Its old,
// deleted user row keeps the name, so the name is not checked.
bool UndeleteTranscriptionist(clsUser& user, clsUsers& collection = Users());
// Moves the user's own configuration rows to the new partition, replacing any already there.
bool MoveUserConfiguration(long userId, long oldPartition, long newPartition);
// Stamps the logon (or signature) password as changed now.
bool StampPasswordChanged(const clsUser& user, bool signature);
bool AssignUserPolicy(long userId, int policyId, const std::string& policyName, clsUsers& collection = Users());
// Removes every privilege of the user or group: printer, account, department, report type, system.
bool ResetUserPrivileges(long userId);

// "MM/DD/YYYY HH:MM:SS" as the last-access column arrives -> "YYYY-MM-DD HH:MM"; "" stays "".
std::string FormatLastAccess(const std::string& column);

// Failure texts of the store.
extern const char* const kAddFailed;
extern const char* const kUpdateFailed;
extern const char* const kDeleteFailed;
extern const char* const kNameTaken;
extern const char* const kMoveConfigurationFailed;
extern const char* const kPolicyFailed;

} // namespace users
