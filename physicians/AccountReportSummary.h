#pragma once

namespace physicians {

// The account/report summary of an output's (or recognition's) selection: whether the physician
// has accounts at all and is a member of all of them, and whether the selection includes any
// report type.
inline const char* AccountReportSummary(bool anyAccount, bool allAccounts, bool anyReport) {
    if (!anyAccount)
        return "No Accounts, No Reports";
    if (!anyReport)
        return "Selected Accounts, No Reports";
    return allAccounts ? "All Accounts, All Reports" : "Selected Accounts, All Reports";
}

} // namespace physicians
