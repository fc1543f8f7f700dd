#pragma once

#include "Session.h"

#include <string>
#include <string_view>
#include <vector>

namespace suite {

// The suite's schema as T-SQL scripts: batches separated by lines holding only GO.
std::string_view tablesScript();
std::string_view proceduresScript();
std::string_view baseScript();
// The database of a remote voice system (its users per facility), reached by the voice services.
std::string_view voicesystemScript();

// Splits a script on its GO lines, as sqlcmd does.
std::vector<std::string> splitBatches(std::string_view script);

// Runs every batch of a script on a session; returns the error messages met (empty: all ran).
std::vector<std::string> runScript(tsql::Session& session, std::string_view script);

// Creates a database file with the suite's tables, procedures and base rows. Throws
// std::runtime_error with the first error when the schema does not load.
std::unique_ptr<tsql::Session> createSuiteDatabase(const std::string& folder, const std::string& name);
// Creates the database file of a remote voice system (voicesystem.sql); throws like createSuiteDatabase.
std::unique_ptr<tsql::Session> createVoiceSystemDatabase(const std::string& folder, const std::string& name);

} // namespace suite
