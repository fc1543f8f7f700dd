#include "clsDatabaseStatistics.h"

#include "DatabaseSession.h"
#include "Interaction.h"
#include "Numbers.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace maintenance {

using foundation::DatabaseSession;
namespace fs = std::filesystem;

namespace {

bool endsWithNoCase(const std::string& text, const std::string& tail) {
    if (text.size() < tail.size())
        return false;
    return std::equal(tail.begin(), tail.end(), text.end() - static_cast<long>(tail.size()), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    });
}

// "12345 KB" as kilobytes; nothing for "Unlimited" or anything else.
std::optional<long long> kilobytes(const std::string& text) {
    std::string t = text;
    while (!t.empty() && t.back() == ' ')
        t.pop_back();
    if (!endsWithNoCase(t, "KB"))
        return std::nullopt;
    t.resize(t.size() - 2);
    while (!t.empty() && t.back() == ' ')
        t.pop_back();
    if (t.empty() || t.size() > 18)
        return std::nullopt;
    auto n = platform::parseDigits(t);
    if (!n)
        return std::nullopt;
    return *n;
}

std::string megabytes(double kb) {
    return platform::formatFixed(kb / 1024.0, 2);
}

bool sameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && endsWithNoCase(a, b);
}

} // namespace

std::string PercentText(double percent) {
    std::string t = platform::formatFixed(percent, 1);
    if (t.rfind("0.", 0) == 0)
        t.erase(0, 1);
    return t;
}

std::string OverRangeMessage(const std::string& which) {
    return "An attempt was made to read the maximum " + which +
           " growth size from the database but the value is beyond the valid range (-2,147,483,648 to "
           "2,147,483,647). Continuing with this value will result in calculation errors.  Processing will continue "
           "with the largest acceptable value.  The maximum " +
           which + " growth size can be adjusted as recommended in the Veltra Text Installation Guide.";
}

SpaceLine ComputeSpaceLine(const std::vector<DatabaseFile>& files) {
    SpaceLine line;
    double used = 0, allocated = 0;
    bool anyData = false, maxKnown = true;
    for (const auto& f : files) {
        const bool data = endsWithNoCase(f.filename, "mdf");
        const bool log = endsWithNoCase(f.filename, "ldf");
        if (!data && !log)
            continue;
        auto max = kilobytes(f.maxsize);
        if (max && *max > 2147483647LL) {
            line.overRange.push_back(data ? "database" : "log");
            max = 2147483647LL;
        }
        if (!data)
            continue;
        auto size = kilobytes(f.size);
        if (!size)
            continue;
        anyData = true;
        used += static_cast<double>(*size);
        if (max)
            allocated += static_cast<double>(*max);
        else
            maxKnown = false;
    }
    if (anyData && maxKnown && allocated > 0) {
        line.text = megabytes(used) + " of " + megabytes(allocated) + " MB   " + PercentText(used / allocated * 100.0) +
                    " % used";
        line.tooltip = "This is the amount of space currently used for the database.";
    } else if (anyData) {
        line.text = megabytes(used) + " MB allocated";
        line.tooltip = "This is the amount of space currently allocated for the database";
    }
    return line;
}

const char* const clsDatabaseStatistics::kRecordBatch = "EXEC sp_spaceused\n"
                                                        "EXEC sp_spaceused Document_demographics\n"
                                                        "EXEC sp_spaceused Output_queue\n"
                                                        "EXEC sp_spaceused Report_transcription\n"
                                                        "EXEC sp_spaceused System_log\n"
                                                        "EXEC sp_spaceused Dictation_jobs_complete";

const char* const clsDatabaseStatistics::kLastPurgeQuery =
    "SELECT pd = CONVERT(char(25), purge_date, 100), purged_doc_info_recs, purged_output_queue_recs, "
    "purged_report_trans_recs, purged_system_log_recs, purged_document_recs, file_server_files_purged, "
    "est_reports_on_server,\n"
    "mld = (SELECT migrate_leftover_directory FROM Archive_cfg), stat1\n"
    "FROM Archive_stats\n"
    "WHERE purge_date = (SELECT max(purge_date) FROM Archive_stats WHERE purge_date IS NOT NULL)";

std::string clsDatabaseStatistics::BackupQuery(const std::string& databaseName, bool fullOnly) {
    return std::string("SELECT CONVERT(char(30), max(backup_finish_date), 120) FROM msdb.dbo.backupset \n") +
           (fullOnly ? "WHERE (type = 'D') AND database_name = '"
                     : "WHERE (type = 'D' OR type = 'I') AND "
                       "database_name = '") +
           DatabaseSession::QuoteSQL(databaseName) + "'\n      AND backup_size > 0";
}

clsDatabaseStatistics::clsDatabaseStatistics() {
    categories = {
        {"Document Information", "Document_demographics", "create_date", "", "", ""},
        {"Output Queue", "Output_queue", "output_create_timestamp", "", "", ""},
        {"Transcription Report Statistics", "Report_transcription", "create_date", "", "", ""},
        {"System Message Log", "System_log", "date_timestamp", "", "", ""},
        {"Dictation Job Info (Completed)", "Dictation_jobs_complete", "dictated_datetime", "", "", ""},
        {"Documents", "", "", "", "", ""},
    };
}

void clsDatabaseStatistics::Gather() {
    for (auto& c : categories)
        c.records = c.oldest = c.purged = "";
    databaseName.clear();
    purgeHeading = "Purge-Not Performed";
    frameCaption = "DB Information - Unknown";
    space = SpaceLine{};
    lastBackup = "Unknown";
    importFiles = badFiles = "Unknown";
    auto say = [&](const char* text) {
        if (progress)
            progress(text);
    };
    say("Retrieving record information....");
    readCounts();
    say("Retrieving date information....");
    readDates();
    readPurge();
    say("Retrieving size information....");
    readSpace();
    say("Retrieving backup information....");
    readBackup();
    readImport();
    say("");
}

// The first result set names the database; the no-argument call's second set (reserved, data,
// index, unused) and any other set whose first column names no counted table are passed over.
void clsDatabaseStatistics::readCounts() {
    auto& s = DatabaseSession::instance();
    s.SQLStatement = kRecordBatch;
    if (s.ExecSQL() != 1)
        return;
    if (s.FetchBatchRow() == 1)
        databaseName = s.GetColumnText(1, 1);
    while (s.NextResultSet() == 1) {
        if (s.FetchBatchRow() != 1)
            continue;
        const std::string name = s.GetColumnText(1, 1);
        for (auto& c : categories)
            if (!c.table.empty() && sameName(name, c.table))
                c.records = s.GetColumnText(2, 1);
    }
}

void clsDatabaseStatistics::readDates() {
    auto& s = DatabaseSession::instance();
    for (auto& c : categories) {
        if (c.table.empty())
            continue;
        s.SQLStatement = "SELECT dt = CONVERT(char(25), min(" + c.dateColumn + "), 101) FROM " + c.table;
        if (s.ExecSQL() != 1)
            continue;
        if (s.FetchRow() == 1) {
            c.oldest = s.GetColumnText(1, 1);
            s.CloseStatement();
        }
    }
}

void clsDatabaseStatistics::readPurge() {
    auto& s = DatabaseSession::instance();
    s.SQLStatement = kLastPurgeQuery;
    if (s.ExecSQL() != 1)
        return;
    if (s.FetchRow() != 1)
        return;
    purgeHeading = "Purged on " + s.GetColumnText(1, 1);
    // Columns of the query for each category, in the list's order.
    const int columns[] = {2, 3, 4, 5, 10, 6};
    for (size_t i = 0; i < categories.size() && i < std::size(columns); ++i)
        categories[i].purged = s.GetColumnText(columns[i], 1);
    s.CloseStatement();
}

void clsDatabaseStatistics::readSpace() {
    if (databaseName.empty())
        return;
    auto& s = DatabaseSession::instance();
    s.SQLStatement = "EXEC sp_helpdb '" + DatabaseSession::QuoteSQL(databaseName) + "'";
    if (s.ExecSQL() != 1)
        return;
    frameCaption = "DB Information - " + databaseName;
    std::vector<DatabaseFile> files;
    while (s.FetchBatchRow() == 1) {
    }
    while (s.NextResultSet() == 1) {
        while (s.FetchBatchRow() == 1) {
            DatabaseFile f;
            f.filename = s.GetColumnText(3, 1);
            f.size = s.GetColumnText(5, 1);
            f.maxsize = s.GetColumnText(6, 1);
            f.usage = s.GetColumnText(8, 1);
            files.push_back(std::move(f));
        }
    }
    space = ComputeSpaceLine(files);
    if (showOverRange)
        for (const auto& which : space.overRange)
            showOverRange(OverRangeMessage(which));
}

void clsDatabaseStatistics::readBackup() {
    if (databaseName.empty())
        return;
    auto& s = DatabaseSession::instance();
    s.SQLStatement = BackupQuery(databaseName, false);
    if (s.ExecSQL() != 1)
        return;
    if (s.FetchRow() != 1)
        return;
    const std::string when = s.GetColumnText(1, 1);
    s.CloseStatement();
    lastBackup = when.empty() ? "None" : (formatBackup ? formatBackup(when) : when);
}

bool clsDatabaseStatistics::BackupNow(const std::string& databaseName, const std::string& folder, std::string& file) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    std::string stamp = platform::Clock::stamp(platform::Clock::now());
    for (char& c : stamp)
        if (c == ' ' || c == ':')
            c = c == ' ' ? '_' : '-';
    file = (fs::path(folder) / (databaseName + "_" + stamp + ".bak")).string();
    std::string name = databaseName;
    for (size_t at = 0; (at = name.find(']', at)) != std::string::npos; at += 2)
        name.insert(at, "]");
    auto& s = DatabaseSession::instance();
    s.SQLStatement = "BACKUP DATABASE [" + name + "] TO DISK = '" + DatabaseSession::QuoteSQL(file) + "' WITH INIT";
    s.history.push_back(s.SQLStatement);
    const SQLHSTMT stmt = s.statementHandle();
    const SQLRETURN rc = SQLExecDirect(stmt, reinterpret_cast<SQLCHAR*>(s.SQLStatement.data()),
                                       static_cast<SQLINTEGER>(s.SQLStatement.size()));
    if (rc == SQL_ERROR)
        s.ReportSQLError(s.connectionHandle(), stmt);
    SQLFreeStmt(stmt, SQL_CLOSE);
    if (rc != SQL_SUCCESS && rc != SQL_SUCCESS_WITH_INFO)
        return false;
    // The history tells whether the server finished it.
    s.SQLStatement = "SELECT COUNT(*) FROM msdb.dbo.backupset b JOIN msdb.dbo.backupmediafamily f ON f.media_set_id "
                     "= b.media_set_id WHERE f.physical_device_name = '" +
                     DatabaseSession::QuoteSQL(file) + "' AND b.type = 'D'";
    if (s.ExecSQL() != 1 || s.FetchRow() != 1)
        return false;
    const bool recorded = s.GetColumnLong(1) > 0;
    s.CloseStatement();
    return recorded;
}

std::optional<long long> clsDatabaseStatistics::CountFiles(const std::string& folder) {
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec)
        return std::nullopt;
    long long n = 0;
    for (const fs::directory_iterator end; it != end; it.increment(ec)) {
        if (ec)
            return std::nullopt;
        if (it->is_regular_file(ec))
            ++n;
    }
    if (ec)
        return std::nullopt;
    return n;
}

void clsDatabaseStatistics::readImport() {
    if (importFolder.empty())
        return;
    if (auto n = CountFiles(importFolder))
        importFiles = std::to_string(*n);
    if (auto n = CountFiles((fs::path(importFolder) / "BAD").string()))
        badFiles = std::to_string(*n);
}

} // namespace maintenance
