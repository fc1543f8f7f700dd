#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace maintenance {

// One line of the statistics list.
struct StatisticsCategory {
    std::string name;  // "Document Information", ...
    std::string table; // empty for "Documents", which is only purged
    std::string dateColumn;
    std::string records; // row count, "" when unknown
    std::string oldest;  // MM/DD/YYYY, "" when unknown or the table is empty
    std::string purged;  // count removed by the last purge, "" without one
};

// A data or log file row of sp_helpdb, as the space line uses it.
struct DatabaseFile {
    std::string filename;
    std::string size;    // "NNN KB"
    std::string maxsize; // "NNN KB" or "Unlimited"
    std::string usage;   // "data only" / "log only"
};

// What the space line shows: its text and tooltip, and the over-range messages met on the way.
struct SpaceLine {
    std::string text = "Unknown";
    std::string tooltip = "Estimated amount of database space available";
    std::vector<std::string> overRange; // "database" or "log", in the order met
};
SpaceLine ComputeSpaceLine(const std::vector<DatabaseFile>& files);
std::string OverRangeMessage(const std::string& which);
// "###.0": one decimal, no leading zero below 1 (".5").
std::string PercentText(double percent);

// The figures of the Database Statistics screen, gathered from the database and the import folders.
class clsDatabaseStatistics {
public:
    clsDatabaseStatistics();

    // Gathers everything; each step that fails leaves its fields at "Unknown" or empty. progress gets
    // the status line's texts; overRange is asked to show the growth-size message.
    void Gather();
    std::function<void(const std::string&)> progress;
    std::function<void(const std::string& message)> showOverRange;
    // How the last backup's date and time are shown (regional long date, a blank, the minutes).
    std::function<std::string(const std::string& canonical)> formatBackup;

    std::string importFolder; // KALDRA/IMPORT under the network root; BAD below it
    // Plain files in a folder (not subfolders); nothing when it cannot be read.
    static std::optional<long long> CountFiles(const std::string& folder);

    std::vector<StatisticsCategory> categories;
    std::string databaseName; // from sp_spaceused; "" when unknown
    std::string purgeHeading = "Purge-Not Performed";
    std::string frameCaption = "DB Information - Unknown";
    SpaceLine space;
    std::string lastBackup = "Unknown";
    std::string importFiles = "Unknown", badFiles = "Unknown";

    // A full backup of the database into `folder` (created when missing), named after the database
    // and the time; true when the server recorded it. The statement's messages are the server's
    // report of a successful backup, not errors; a refusal is shown as the session shows SQL errors.
    static bool BackupNow(const std::string& databaseName, const std::string& folder, std::string& file);

    static const char* const kRecordBatch;
    static const char* const kLastPurgeQuery;
    static std::string BackupQuery(const std::string& databaseName, bool fullOnly);

private:
    void readCounts();
    void readDates();
    void readPurge();
    void readSpace();
    void readBackup();
    void readImport();
};

} // namespace maintenance
