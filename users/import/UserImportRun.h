#pragma once

#include "UserImportPreview.h"

#include <functional>
#include <string>
#include <vector>

namespace users {

// What happened to one line of the file.
struct UserImportResult {
    long line = 0;
    std::string outcome; // "added", "updated", "skipped", "failed", "error", "not imported (cancelled)"
    long userId = 0;
    std::string message;
    std::string password; // a generated password, given only here
};

struct UserImportSummary {
    size_t added = 0, updated = 0, skipped = 0, failed = 0, refused = 0, notImported = 0;
    bool cancelled = false;
    std::vector<UserImportResult> results; // one per previewed row, in file order
};

// Called before each user is written with the users written so far and the number to write;
// false cancels: the users written stay complete, the rest are left untouched.
using ImportProgress = std::function<bool(size_t done, size_t total)>;

// Writes the rows the preview accepted, in file order, each through the user store as the user
// editor's OK writes it (name check, new id, the row with its template configuration,
// transcriptionist record and group memberships in one all-or-nothing batch, one System_log event).
// A user whose statements fail is left out whole, with the message the store gave, and the import
// goes on with the next. Messages are collected into the results instead of being shown. Updated
// users follow in the collection; new ones are not kept there (read the users again to list them).
UserImportSummary RunUserImport(const std::vector<UserImportRow>& rows, const ImportProgress& progress, clsUsers& users,
                                clsSecurityGroups& groups);

// One CSV line (with its CRLF) of the fields, each quoted, quotes doubled.
std::string CsvLine(const std::vector<std::string>& fields);

// "<folder>/<name>-result.csv" beside the source file.
std::string ImportResultPath(const std::string& sourcePath);
// Saves the results as CSV (Line, User Name, Outcome, User ID, Message, Password); false when the
// file cannot be written.
bool WriteImportResult(const std::string& path, const std::vector<UserImportRow>& rows,
                       const UserImportSummary& summary);

} // namespace users
