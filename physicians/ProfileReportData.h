#pragma once

#include "ProfileReportSelection.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace foundation {
class DatabaseSession;
}

namespace physicians {

// One physician of the profile report.
struct ProfileReportEntry {
    long physician_id = 0;
    // The physician statement's columns by name ("last_name", "fax_nbr_1", ...), as text.
    std::map<std::string, std::string> fields;
    // The accounts the physician belongs to, by name; "All Accounts" for a member of every account.
    std::vector<std::string> accounts;
    std::vector<std::pair<int, std::string>> addendums; // number, line
    struct Weight {
        int reportType = 0, weightType = 0;
        std::string value, reportName;
    };
    std::vector<Weight> weighting;

    [[nodiscard]] std::string field(const std::string& name) const;
};

struct ProfileReportData {
    std::vector<ProfileReportEntry> physicians;
    std::vector<std::string> formulas;
    std::string recordSelection;

    // The formula's value ("" when there is none).
    [[nodiscard]] std::string formula(const std::string& name) const;
};

// Reads the report's rows through connection, a session of their own. False after a failed
// statement (the session has shown it).
bool ReadProfileReport(foundation::DatabaseSession& connection, const ProfileReportSelection& selection,
                       ProfileReportData& data);

// The whole report run: adds the temporary data source for the database the program's session uses,
// connects through it with the session's login, reads the rows, hands them to render and removes
// the data source again, whatever happened on the way. False when nothing was rendered.
bool GenerateProfileReport(const ProfileReportSelection& selection,
                           const std::function<void(const ProfileReportData&)>& render);

} // namespace physicians
