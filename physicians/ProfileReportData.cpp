#include "ProfileReportData.h"

#include "DatabaseSession.h"
#include "MessageService.h"
#include "TemporaryDataSource.h"

#include <odbcinst.h>

#include <algorithm>
#include <array>
#include <cstdlib>

namespace physicians {

using foundation::DatabaseSession;
using platform::MsgBox;
using platform::MsgButtons;
using platform::MsgIcon;

namespace {

// The physician statement's columns, in its order.
constexpr std::array<const char*, 41> kColumns = {
    "physician_id",      "last_name",       "first_name",   "title_1",       "initials",
    "partition_name",    "title_2",         "title_3",      "title_4",       "title_5",
    "title_6",           "dictation_id",    "mis_nbr_1",    "mis_nbr_2",     "physician_type",
    "group_affiliation", "elect_signature", "phone_nbr_1",  "phone_nbr_2",   "address_1",
    "address_2",         "address_3",       "city",         "state",         "zip_code",
    "country",           "online_enabled",  "online_queue", "batch_enabled", "batch_queue",
    "fax_enabled_1",     "fax_nbr_1",       "fax_hour_1",   "fax_minute_1",  "fax_enabled_2",
    "fax_nbr_2",         "fax_hour_2",      "fax_minute_2", "email_enabled", "email_address",
    "email_type",
};

// The rows of one statement, each as trimmed texts; false after a failure.
bool readRows(DatabaseSession& s, const std::string& sql, int columns,
              const std::function<void(const std::vector<std::string>&)>& row) {
    s.SQLStatement = sql;
    if (s.ExecSQL() != 1)
        return false;
    std::vector<std::string> values(static_cast<size_t>(columns));
    while (s.FetchRow() == 1) {
        for (int c = 0; c < columns; ++c)
            values[static_cast<size_t>(c)] = s.GetColumnText(c + 1, 1);
        row(values);
    }
    s.CloseStatement();
    return s.LastSQLError.empty();
}

std::string profileValue(const std::string& dsn, const char* key) {
    char buf[512] = {};
    SQLGetPrivateProfileString(dsn.c_str(), key, "", buf, sizeof buf, "odbc.ini");
    return buf;
}

// Driver, server and database of the program's own connection, for the temporary data source.
std::vector<std::pair<std::string, std::string>> dataSourceAttributes(const DatabaseSession& main,
                                                                      std::string& driver) {
    std::string server = main.ServerName, database = main.DatabaseName;
    driver = "SQL Server";
    if (!main.UseDriverConnect) {
        if (std::string d = profileValue(main.DataSourceName, "Driver"); !d.empty())
            driver = d;
        if (std::string v = profileValue(main.DataSourceName, "Server"); !v.empty())
            server = v;
        if (std::string v = profileValue(main.DataSourceName, "Database"); !v.empty())
            database = v;
    }
    return {{"Description", "Physician profile report"}, {"Server", server}, {"Database", database}};
}

} // namespace

std::string ProfileReportEntry::field(const std::string& name) const {
    auto it = fields.find(name);
    return it == fields.end() ? std::string() : it->second;
}

std::string ProfileReportData::formula(const std::string& name) const {
    for (const auto& f : formulas)
        if (ReportFormula parsed = ParseReportFormula(f); parsed.name == name)
            return parsed.value;
    return {};
}

bool ReadProfileReport(DatabaseSession& s, const ProfileReportSelection& selection, ProfileReportData& data) {
    data = ProfileReportData{};
    data.formulas = selection.Formulas();
    data.recordSelection = selection.RecordSelection();
    auto& list = data.physicians;
    if (!readRows(s, selection.PhysicianStatement(), static_cast<int>(kColumns.size()), [&](const auto& v) {
            ProfileReportEntry e;
            e.physician_id = std::strtol(v[0].c_str(), nullptr, 10);
            for (size_t c = 0; c < kColumns.size(); ++c)
                e.fields[kColumns[c]] = v[c];
            list.push_back(std::move(e));
        }))
        return false;
    auto entry = [&list](const std::string& id) -> ProfileReportEntry* {
        const long n = std::strtol(id.c_str(), nullptr, 10);
        auto it = std::find_if(list.begin(), list.end(), [n](const auto& e) { return e.physician_id == n; });
        return it == list.end() ? nullptr : &*it;
    };
    if (!readRows(s, selection.AccountsStatement(), 3, [&](const auto& v) {
            if (auto* e = entry(v[0]))
                e->accounts.push_back(v[1] == "-1" ? "All Accounts" : v[2]);
        }))
        return false;
    for (auto& e : list)
        std::sort(e.accounts.begin(), e.accounts.end());
    const bool summary = selection.options.form == ProfileReportOptions::Form::Summary;
    if (!summary && selection.options.addendums && !readRows(s, selection.AddendumsStatement(), 3, [&](const auto& v) {
            if (auto* e = entry(v[0]))
                e->addendums.emplace_back(std::atoi(v[1].c_str()), v[2]);
        }))
        return false;
    if (!summary && selection.options.weighting && !readRows(s, selection.WeightingStatement(), 5, [&](const auto& v) {
            if (auto* e = entry(v[0]))
                e->weighting.push_back({std::atoi(v[1].c_str()), std::atoi(v[2].c_str()), v[3], v[4]});
        }))
        return false;
    return true;
}

bool GenerateProfileReport(const ProfileReportSelection& selection,
                           const std::function<void(const ProfileReportData&)>& render) {
    DatabaseSession& main = DatabaseSession::instance();
    std::string driver;
    auto attributes = dataSourceAttributes(main, driver);
    TemporaryDataSource source(kProfileReportDataSource, driver, std::move(attributes));
    if (!source.created()) {
        MsgBox("The data source " + source.name() + " could not be created.  " + source.error(), MsgButtons::OK,
               MsgIcon::Critical, "Physician Profile");
        return false;
    }
    DatabaseSession connection;
    connection.ApplicationTitle = main.ApplicationTitle;
    connection.DataSourceName = source.name();
    connection.LoginName = main.LoginName;
    connection.Password = main.Password;
    connection.logHook = main.logHook;
    connection.terminateHook = main.terminateHook;
    if (!connection.ConnectToSQL())
        return false;
    // Disconnected before the data source goes, also when rendering throws.
    struct Disconnect {
        DatabaseSession& c;
        ~Disconnect() { c.DisconnectFromSQL(); }
    } disconnect{connection};
    ProfileReportData data;
    if (!ReadProfileReport(connection, selection, data))
        return false;
    render(data);
    return true;
}

} // namespace physicians
