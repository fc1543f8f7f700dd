#pragma once

#include "clsUser.h"

#include <string>

namespace users {

// The statement texts of the user store. Every text value goes through QuoteSQL between
// apostrophes; numbers are written from typed values. Batches separate their statements with CR LF.

extern const char* const kActiveUsersQuery;
extern const char* const kActiveGroupsQuery;
extern const char* const kUserNamesQuery;
extern const char* const kUserIdSelect;
extern const char* const kUserIdUpdate;

std::string UserNameCheck(const std::string& userName);

// The new user's row and the copy of its partition's template configuration. passwordHex and
// signatureHex are the login component's enciphered forms.
std::string InsertUserBatch(const clsUser& user, long newId, const std::string& passwordHex,
                            const std::string& signatureHex);
// The editor's save: every column it owns, one per line; it also clears the failed-logon count.
std::string UpdateUserStatement(const clsUser& user, const std::string& passwordHex, const std::string& signatureHex);

// The soft delete and the rows that go with it; the log views from 2.019 on, the printer
// privileges from 2.0535 on.
std::string DeleteUserBatch(long userId, const std::string& userName, bool logViews, bool printerPrivileges);
// Retires a transcriptionist's record: only marked deleted when a document, an edit or an
// incentive refers to it, otherwise removed with its activity and group memberships.
std::string RetireTransInfoBatch(const std::string& transId);
// Cuts the link between a deleted physician user and its physician profile.
std::string CutPhysicianLinkBatch(long physicianId);
// Links a new physician user's profile back to the user, with user access switched on, as the
// profile editor shows a physician that has a user.
std::string LinkPhysicianUserBatch(long physicianId, long userId);
// Every signature relationship of a physician, except those to itself.
std::string RemovePhysicianRelationshipsBatch(long physicianId);

std::string TransInfoExistsQuery(const std::string& transId);
std::string TransInfoUpdate(const clsUser& user);
std::string TransInfoInsert(const clsUser& user);
std::string TransInfoUndelete(const std::string& transId);

std::string MoveUserConfigurationBatch(long userId, long oldPartition, long newPartition);
std::string PasswordChangedStamp(long userId, bool signature);
std::string PolicyAssignment(long userId, int policyId);
std::string PrivilegeResetBatch(long userId);

// Initials are stored upper-cased; only ASCII letters change, whatever the locale.
std::string UpperAscii(std::string text);

} // namespace users
