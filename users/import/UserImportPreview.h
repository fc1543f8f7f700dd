#pragma once

#include "AdminAuthority.h"
#include "UserCsvReader.h"
#include "UserEditRules.h"
#include "UserEditSave.h"
#include "clsPhysicianSummaryRecords.h"
#include "clsSecurityGroups.h"
#include "clsUser.h"
#include "clsUserPolicies.h"
#include "clsUsers.h"

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace users {

// The columns an import file may have, named by the user editor's labels.
enum class ImportField {
    UserName,
    FirstName,
    LastName,
    UserType,
    Partition,
    UserPolicy,
    Groups,
    Initials,
    LocationCode,
    DictationId,
    MisNumber,
    MustChangePassword,
    Password,
    AuthorId, // a physician user's physician profile, by one of its author ids
};

// The cell text that empties a field of an existing user; an empty cell leaves the field as it is.
inline constexpr const char* kClearCell = "<clear>";

// The header row read: the field of each column, or the one refusal (unknown columns are named).
struct ImportColumns {
    std::vector<ImportField> fields; // by column
    std::string error;
    [[nodiscard]] bool Has(ImportField f) const;
};
ImportColumns MapImportColumns(const std::vector<std::string>& header);
// The label a field is named by in the header, in messages and in the result file.
const char* ImportFieldLabel(ImportField field);

enum class ImportOutcome { New, Skip, Update, Error };
// The preview's text of an outcome: "new", "exists (will be skipped)", "exists (will be updated)", "error".
const char* ImportOutcomeText(ImportOutcome outcome);

// One line of the file with what the import will do with it. For New and Update rows, user is the
// user as it will be saved and changes/groups what the save needs.
struct UserImportRow {
    long line = 0;
    ImportOutcome outcome = ImportOutcome::Error;
    std::string message; // the error, as the user editor words it
    std::string userName;
    clsUser user;
    UserEditChanges changes;
    std::vector<long> groupsBefore, groupsAfter;
    std::string generatedPassword; // shown once, in the result file only
};

// What the rows are checked against: the loaded users, groups and policies, the partitions the
// logged-in administrator may place users in, and every name the database already holds.
struct UserImportSite {
    const clsUsers* users = nullptr;
    const clsSecurityGroups* groups = nullptr;
    const clsUserPolicies* policies = nullptr;
    std::vector<std::pair<long, std::string>> partitions; // id and name, visible to the administrator
    long ownPartition = 0;
    // Upper-cased names of every user and group row, deleted or not, with the active user's id (0 for
    // a name held by a group or a deleted user).
    std::unordered_map<std::string, long> takenNames;
    AdminKinds acting;
    UserEditContext context;
    // The physicians of the accounts visible to the administrator, and each author id's physician
    // (upper-cased) among them.
    physicians::clsPhysicianSummaryRecords physicians;
    std::unordered_map<std::string, long> physicianByAuthorId;
    bool physiciansLoaded = false;
};

struct UserImportOptions {
    bool updateExisting = false;    // existing users are updated instead of skipped
    bool generatePasswords = false; // new users without a password get one their policy accepts
};

struct UserImportPreview {
    std::string error; // the file refused as a whole: nothing is previewed
    std::vector<UserImportRow> rows;
    [[nodiscard]] size_t Count(ImportOutcome outcome) const;
};

// Reads the site as the logged-in administrator sees it: the active users, the groups with their
// members, the policies, the partition cache and the names of every user and group row. False after
// a failure the session has shown.
bool LoadImportSite(UserImportSite& site, clsUsers& users, clsSecurityGroups& groups, clsUserPolicies& policies);

// Reads the physicians a new physician user may be linked to (those the chooser of the editor's Add
// User offers: visible accounts, no user yet, the administrator's partition or one under it) with
// their author ids. False after a failure the session has shown.
bool LoadImportPhysicians(UserImportSite& site);

// Checks every record after the header with the user editor's OK rules, in their order and with
// their messages, then the file's own duplicates, the names of partitions, policies, groups and
// physicians, and the administrator's authority. Nothing is written. The physicians are read
// (LoadImportPhysicians) the first time a file has an Author ID column.
UserImportPreview PreviewUserImport(const UserCsvReader::Result& file, UserImportSite& site,
                                    const UserImportOptions& options);

// A password the policy accepts, from the system's random source.
std::string GeneratePassword(const clsUserPolicy& policy);

} // namespace users
