#pragma once

#include <string>
#include <vector>

namespace physicians {

// One value of the unknown-physician log: a name or id the transcription system could not match.
struct UnknownPhysician {
    std::string value, lastUser, lastDate, lastTime;
    long reports = 0;
};

inline constexpr int kUnknownPhysicianLimit = 10000; // the list reads at most this many values

// The grouped statement over the accounts of the comma list (HospAccountsVisibleToUser).
std::string UnknownPhysiciansQuery(const std::string& accounts);
// Reads the first kUnknownPhysicianLimit values in value order; false after a failed statement.
bool LoadUnknownPhysicians(const std::string& accounts, std::vector<UnknownPhysician>& out);

// Whether unknown physicians are logged (flag5 of Archive_cfg), and switching it.
bool UnknownPhysicianLogging();
bool SetUnknownPhysicianLogging(bool on);

// Deletes one value; "Failed to delete the unknown physician." when the statement fails.
bool DeleteUnknownPhysician(const std::string& value);
// Clears the whole log: privilege 9 first (refused before the question), then the question.
bool ClearUnknownPhysicians();

// The e-mail password dialog's rules: "" or the message of the first rule broken.
std::string EmailPasswordRefusal(const std::string& password, const std::string& confirm);

} // namespace physicians
