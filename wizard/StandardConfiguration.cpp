#include "StandardConfiguration.h"

#include "DatabaseSession.h"
#include "Interaction.h"
#include "MessageService.h"

#include <filesystem>
#include <sql.h>
#include <sqlext.h>

namespace wizard {

namespace fs = std::filesystem;
using foundation::DatabaseSession;

namespace {

constexpr const char* kCrLf = "\r\n";

DatabaseSession& session() {
    return DatabaseSession::instance();
}

// A statement of the install: sent once, never retried; its error is shown by the session.
bool run(const std::string& sql) {
    auto& s = session();
    s.SQLStatement = sql;
    const bool ok = s.ExecSQLNoRetry(false) == 1;
    s.CloseStatement();
    return ok;
}

// A count read through the session; -1 when it failed.
long count(const std::string& sql) {
    auto& s = session();
    s.SQLStatement = sql;
    if (s.ExecSQL() != 1)
        return -1;
    const long n = s.FetchRow() == 1 ? s.GetColumnLong(1) : -1;
    s.CloseStatement();
    return n;
}

// The table's columns in order, as the live database describes them.
std::vector<std::string> columnsOf(const std::string& table) {
    auto& s = session();
    s.SQLStatement = "SELECT * FROM " + table + " WHERE 1 = 0";
    std::vector<std::string> names;
    if (s.ExecSQL() != 1)
        return names;
    SQLSMALLINT n = 0;
    SQLNumResultCols(s.statementHandle(), &n);
    for (SQLUSMALLINT c = 1; c <= static_cast<SQLUSMALLINT>(n); ++c) {
        SQLCHAR name[256] = {};
        SQLSMALLINT length = 0, type = 0, digits = 0, nullable = 0;
        SQLULEN size = 0;
        if (SQL_SUCCEEDED(
                SQLDescribeCol(s.statementHandle(), c, name, sizeof name, &length, &type, &size, &digits, &nullable)))
            names.emplace_back(reinterpret_cast<const char*>(name));
    }
    s.CloseStatement();
    return names;
}

// Every standard row of a report table copied under the account: the account id, then the
// table's further columns.
std::string copyUnderAccount(const std::string& table, const std::vector<std::string>& columns, long account) {
    std::string select = "SELECT " + std::to_string(account);
    for (size_t i = 1; i < columns.size(); ++i)
        select += ", " + columns[i];
    return "INSERT INTO " + table + kCrLf + select + kCrLf + "FROM " + StandardConfiguration::kDatabaseName + ".dbo." +
           table + kCrLf + "WHERE hosp_acct_id > -1";
}

// The rows of the standard table whose key the live table lacks.
std::string copyMissing(const std::string& table, const std::string& key, const std::string& extra = "") {
    return "INSERT INTO " + table + kCrLf + "SELECT * FROM " + StandardConfiguration::kDatabaseName + ".dbo." + table +
           " DBS" + kCrLf + (extra.empty() ? "WHERE " : "WHERE " + extra + kCrLf + "AND  ") +
           "NOT EXISTS (SELECT * FROM " + table + " WHERE " + key + " = DBS." + key + ")";
}

bool removeIfPresent(const std::string& path) {
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(path, ec)))
        return true;
    return fs::remove(path, ec) && !ec;
}

struct WaitScope {
    void show(const std::string& text) { platform::WaitWindow::instance().open(StandardConfiguration::kCaption, text); }
    ~WaitScope() { platform::WaitWindow::instance().close(); }
};

} // namespace

std::string StandardConfiguration::Report::summary() const {
    std::string s = "The standard configuration was installed.";
    for (const auto& [table, rows] : rowsCopied)
        s += "\n" + table + ": " + std::to_string(rows) + (rows == 1 ? " row" : " rows");
    s += "\nCustom fields added: " + std::to_string(fieldsAdded);
    s += "\nPrinters added: " + std::to_string(printersAdded);
    if (!blankQueues.empty()) {
        s += "\n\nThese printers have no print queue yet; set one in the printer list:";
        for (const auto& p : blankQueues)
            s += "\n    " + p;
    }
    return s;
}

std::optional<long> StandardConfiguration::OfferedAccount() {
    auto& s = session();
    s.SQLStatement = "SELECT hosp_acct_id, email_type FROM Account_info WHERE hosp_acct_id > -1 AND is_deleted = 0";
    if (s.ExecSQL() != 1)
        return std::nullopt;
    std::vector<std::pair<long, long>> accounts;
    while (s.FetchRow() == 1)
        accounts.emplace_back(s.GetColumnLong(1), s.GetColumnLong(2));
    if (accounts.size() != 1 || accounts.front().second != 1)
        return std::nullopt;
    return accounts.front().first;
}

std::string StandardConfiguration::SourcePath(const std::string& networkRoot) {
    return networkRoot + "/KALDRA/INSTALL/FORMATS/K2STANDARD_DB.MDF";
}
std::string StandardConfiguration::TemporaryPath(const std::string& localRoot) {
    return localRoot + "/KALDRA/TEMP/K2STANDARD_DB.MDF";
}
std::string StandardConfiguration::TemporaryLogPath(const std::string& localRoot) {
    return localRoot + "/KALDRA/TEMP/K2STANDARD_DB_LOG.LDF";
}

StandardConfiguration::Report StandardConfiguration::Install(long account, const std::string& networkRoot,
                                                             const std::string& localRoot) {
    Report report;
    WaitScope wait;
    const auto fail = [&report](const std::string& reason) {
        report.message = std::string(kFailed) + (reason.empty() ? "" : "\n\n" + reason);
        platform::MsgBox(report.message, platform::MsgButtons::OK, platform::MsgIcon::Exclamation, kCaption);
        return report;
    };

    wait.show("Copying sample database...");
    const std::string source = SourcePath(networkRoot);
    std::error_code ec;
    if (!fs::is_regular_file(source, ec)) {
        report.message = "Error.  Unable to find standard report database " + source;
        platform::MsgBox(report.message, platform::MsgButtons::OK, platform::MsgIcon::Exclamation, kCaption);
        return report;
    }
    const std::string copy = TemporaryPath(localRoot), log = TemporaryLogPath(localRoot);
    if (!removeIfPresent(log) || !removeIfPresent(copy))
        return fail("Error.  Local standard database already exists and cannot be deleted.  ");
    fs::copy_file(source, copy, ec);
    if (ec)
        return fail("Could not copy the standard database to the local temporary directory.  " +
                    std::to_string(ec.value()) + " " + ec.message());

    // What the copies need of the live database is read before anything is attached.
    const long fieldsBefore = count("SELECT COUNT(*) FROM System_fields");
    const long printersBefore = count("SELECT COUNT(*) FROM System_printers");
    const std::vector<std::string> reportTables = {"Reports_cfg", "Report_outputs_cfg", "Report_fields_cfg"};
    std::vector<std::vector<std::string>> columns;
    for (const auto& table : reportTables) {
        columns.push_back(columnsOf(table));
        if (columns.back().empty()) {
            removeIfPresent(copy);
            return fail("Error.  The table " + table + " could not be read.  " + session().LastSQLError);
        }
    }

    wait.show("Attaching database...");
    if (!run(std::string("sp_attach_single_file_db @dbname = '") + kDatabaseName + "', @physname = '" +
             DatabaseSession::QuoteSQL(copy) + "'")) {
        removeIfPresent(copy);
        return fail(session().LastSQLError);
    }

    wait.show("Copying report formats...");
    std::string reason;
    bool copied = true;
    for (size_t i = 0; i < reportTables.size() && copied; ++i) {
        const std::string& table = reportTables[i];
        const std::string where = " WHERE hosp_acct_id = " + std::to_string(account);
        copied = run("DELETE FROM " + table + where) && run(copyUnderAccount(table, columns[i], account));
        if (copied)
            report.rowsCopied.emplace_back(table, count("SELECT COUNT(*) FROM " + table + where));
    }
    copied = copied && run(copyMissing("System_fields", "field_nbr", "field_nbr > 200")) &&
             run(copyMissing("System_printers", "printer_id")) && run("UPDATE System_printers SET print_queue = ''") &&
             run(copyMissing("System_printers_extended", "printer_id"));
    if (!copied)
        reason = session().LastSQLError;

    wait.show("Removing temporary files...");
    // The detach may follow a lost link: unlike the copies it is sent with the session's reconnect,
    // so the standard database never stays attached to the site.
    auto& s = session();
    s.SQLStatement = std::string("sp_detach_db ") + kDatabaseName;
    const bool detached = s.ExecSQL() == 1;
    s.CloseStatement();
    removeIfPresent(copy);
    removeIfPresent(log);
    if (!copied)
        return fail(reason);
    if (!detached)
        return fail(session().LastSQLError);

    report.fieldsAdded = count("SELECT COUNT(*) FROM System_fields") - fieldsBefore;
    report.printersAdded = count("SELECT COUNT(*) FROM System_printers") - printersBefore;
    s.SQLStatement = "SELECT description FROM System_printers WHERE print_queue IS NULL OR print_queue = '' "
                     "ORDER BY description";
    if (s.ExecSQL() == 1)
        while (s.FetchRow() == 1)
            report.blankQueues.push_back(s.GetColumnText(1, 1));
    report.ok = true;
    return report;
}

} // namespace wizard
