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

// Whether unknown physicians are logged (flag5 of Archive_cfg), and switching it (logged).
bool UnknownPhysicianLogging();
bool SetUnknownPhysicianLogging(bool on);

// One report behind an unknown value.
struct UnknownPhysicianReport {
    long document_id = 0;
    std::string patient_last, patient_first, patient_id;
    std::string transcribed_date; // mm/dd/yyyy
    std::string user_name, hosp_acct_name, report_name;
    long hosp_acct_id = 0;
};
std::string UnknownPhysicianDetailsQuery(const std::string& value);
// The reports behind the value whose account lies under the user's partition; false after a failed
// statement.
bool LoadUnknownPhysicianDetails(const std::string& value, std::vector<UnknownPhysicianReport>& out);

// Deletes one value; "Failed to delete the unknown physician." when the statement fails.
bool DeleteUnknownPhysician(const std::string& value);
// Clears the whole log: privilege 9 first (refused before the question), then the question.
// Each change writes its System_log row.
bool ClearUnknownPhysicians();

} // namespace physicians
