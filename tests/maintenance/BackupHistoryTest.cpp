#include "DatabaseSession.h"
#include "EventLog.h"
#include "Interaction.h"
#include "MessageService.h"
#include "OdbcFixture.h"
#include "SessionHelper.h"
#include "clsDatabaseStatistics.h"
#include "modBackupCheck.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

using namespace maintenance;
using foundation::DatabaseSession;
namespace fs = std::filesystem;

namespace {

// The engine's clock pinned for the statements of a scope.
struct EngineClock {
    explicit EngineClock(const std::string& at) { setenv("TSQL_ENGINE_NOW", at.c_str(), 1); }
    ~EngineClock() { unsetenv("TSQL_ENGINE_NOW"); }
};

std::time_t localTime(int y, int mo, int d, int h, int mi) {
    std::tm tm{};
    tm.tm_year = y - 1900;
    tm.tm_mon = mo - 1;
    tm.tm_mday = d;
    tm.tm_hour = h;
    tm.tm_min = mi;
    tm.tm_isdst = -1;
    return std::mktime(&tm);
}

class BackupHistory : public kdtest::SuiteTest {
protected:
    void SetUp() override {
        SuiteTest::SetUp();
        foundation::EventLog::context() = foundation::LogContext{};
        foundation::EventLog::context().userId = 7;
        foundation::EventLog::context().dateFormat = "%m/%d/%Y";
        foundation::EventLog::context().timeFormat = "%H:%M:%S";
    }
    void TearDown() override {
        platform::Clock::pin(std::nullopt);
        unsetenv("TSQL_ENGINE_NOW");
        DatabaseSession::instance().DisconnectFromSQL();
        foundation::EventLog::context() = foundation::LogContext{};
    }
    std::string backupFile(const std::string& name) { return (fs::path(odbc.folder()) / name).string(); }
    kdtest::BatchOutcome backup(const std::string& at, const std::string& with = "") {
        EngineClock clock(at);
        return exec("BACKUP DATABASE KALDRA TO DISK = '" + backupFile("kaldra.bak") + "'" + with);
    }

    platform::MessageRecorder recorder;
};

// The warning over the age of the last full backup, by the type of backup made, with the engine's
// clock pinned for the backup and the console's for the check.
TEST_F(BackupHistory, StartUpWarningOverAgeAndType) {
    struct Case {
        int age; // days; -1 no backup at all
        const char* type;
        const char* opening; // "" no message
        long event;
    };
    const Case cases[] = {
        {7, "D", "", 0},
        {-1, "", "Critical Warning!\n\nThe Veltra Text SQL database KALDRA has not been backed up.", 20040},
        {8, "D", "Warning!\n\nThe last full backup of the Veltra Text SQL database KALDRA was performed on ", 20041},
        {14, "D", "Warning!\n\n", 20041},
        {15, "D", "Critical Warning!\n\nThe last full backup", 20041},
        {7, "I", "Critical Warning!\n\nThe Veltra Text SQL database KALDRA has not been backed up.", 20040},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.age) + c.type);
        exec("DELETE System_log");
        exec("DELETE msdb.dbo.backupset"); // fails harmlessly before the first backup made msdb
        if (c.age >= 0) {
            if (std::string(c.type) == "I") { // a differential needs a full backup first, older than two weeks
                ASSERT_NE(backup("2026-11-01 22:00:00").rc(), SQL_ERROR);
            }
            char at[32];
            std::snprintf(at, sizeof at, "2026-11-%02d 23:20:00", 20 - c.age);
            ASSERT_NE(backup(at, std::string(c.type) == "I" ? " WITH DIFFERENTIAL" : "").rc(), SQL_ERROR);
            if (std::string(c.type) == "I") {
                exec("DELETE msdb.dbo.backupset WHERE type = 'D'");
            }
        }
        kdtest::connectSession(odbc.folder(), "KALDRA");
        platform::Clock::pin(localTime(2026, 11, 20, 8, 0));
        recorder.shown.clear();
        DatabaseBackupCheck("KALDRA");
        if (std::string(c.opening).empty()) {
            EXPECT_TRUE(recorder.shown.empty());
            EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_log"), "0");
            continue;
        }
        ASSERT_EQ(recorder.shown.size(), 1u);
        EXPECT_EQ(recorder.shown[0].text.rfind(c.opening, 0), 0u) << recorder.shown[0].text;
        EXPECT_EQ(recorder.shown[0].title, "SQL Database Backup Warning");
        EXPECT_EQ(recorder.shown[0].icon, platform::MsgIcon::Critical);
        EXPECT_EQ(scalar("SELECT CONVERT(varchar, error_code) FROM System_log"), std::to_string(c.event));
        if (c.event == 20041) {
            char when[40];
            std::snprintf(when, sizeof when, "11/%02d/2026 23:20", 20 - c.age);
            EXPECT_NE(recorder.shown[0].text.find(std::string("was performed on ") + when + ".  "), std::string::npos);
            char raw[40];
            std::snprintf(raw, sizeof raw, "2026-11-%02d 23:20:00", 20 - c.age);
            EXPECT_EQ(scalar("SELECT msg1 FROM System_log"),
                      std::string("Critical Warning.  Backup overdue!  The last full SQL backup was performed on ") +
                          raw + ".");
        }
    }
}

TEST_F(BackupHistory, NoMsdbMeansNoWarningAndAnUnknownLastBackup) {
    ASSERT_FALSE(fs::exists(odbc.databasePath("msdb")));
    kdtest::connectSession(odbc.folder(), "KALDRA");
    DatabaseBackupCheck("KALDRA");
    EXPECT_TRUE(recorder.shown.empty());
    clsDatabaseStatistics stats;
    stats.Gather();
    EXPECT_EQ(stats.lastBackup, "Unknown");
}

TEST_F(BackupHistory, StatisticsCountTheTablesAndTheImportFolders) {
    exec(
        "DECLARE @n int\nSET @n = 0\nWHILE @n < 37\nBEGIN\n"
        "INSERT System_log (date_timestamp, severity, type, error_code) VALUES (DATEADD(day, -@n, '2026-12-05'), 2, 0, "
        "@n)\nSET @n = @n + 1\nEND\n"
        "INSERT Archive_stats VALUES ('2026-12-04 01:30', 11, 22, 33, 44, 55, 0, 0, 66)");
    ASSERT_NE(backup("2026-12-01 23:20:00").rc(), SQL_ERROR);
    const fs::path import = fs::path(odbc.folder()) / "IMPORT";
    fs::create_directories(import / "BAD");
    for (int i = 0; i < 5; ++i)
        std::ofstream(import / ("job" + std::to_string(i) + ".xml")) << "x";
    std::ofstream(import / "BAD" / "broken.xml") << "x";
    kdtest::connectSession(odbc.folder(), "KALDRA");
    clsDatabaseStatistics stats;
    stats.importFolder = import.string();
    std::vector<std::string> steps;
    stats.progress = [&](const std::string& t) { steps.push_back(t); };
    stats.formatBackup = [](const std::string& s) { return LongDateMinutes(s); };
    stats.Gather();
    EXPECT_EQ(stats.databaseName, "KALDRA");
    EXPECT_EQ(stats.categories[3].name, "System Message Log");
    EXPECT_EQ(stats.categories[3].records, scalar("SELECT COUNT(*) FROM System_log"));
    EXPECT_EQ(stats.categories[1].records, scalar("SELECT COUNT(*) FROM Output_queue"));
    EXPECT_EQ(stats.categories[3].oldest, "10/30/2026");
    EXPECT_EQ(stats.purgeHeading, "Purged on Dec  4 2026  1:30AM");
    EXPECT_EQ(stats.categories[3].purged, "44");
    EXPECT_EQ(stats.categories[4].purged, "66");
    EXPECT_EQ(stats.categories[5].purged, "55");
    EXPECT_EQ(stats.frameCaption, "DB Information - KALDRA");
    EXPECT_NE(stats.space.text, "Unknown");
    EXPECT_EQ(stats.lastBackup, "Tuesday, December 01, 2026 23:20");
    EXPECT_EQ(stats.importFiles, "5"); // the BAD folder is not a file
    EXPECT_EQ(stats.badFiles, "1");
    EXPECT_EQ(steps.front(), "Retrieving record information....");
    // A grown table moves its count and the database's size.
    const std::string sizeBefore = stats.space.text;
    const long logBefore = std::stol(stats.categories[3].records);
    exec("DECLARE @n int\nSET @n = 0\nWHILE @n < 2000\nBEGIN\n"
         "INSERT System_log (date_timestamp, severity, type, error_code, msg1) VALUES (GETDATE(), 2, 0, @n, "
         "REPLICATE('x', 100))\nSET @n = @n + 1\nEND");
    stats.Gather();
    EXPECT_EQ(stats.categories[3].records, scalar("SELECT COUNT(*) FROM System_log"));
    EXPECT_EQ(std::stol(stats.categories[3].records), logBefore + 2000);
    EXPECT_NE(stats.space.text, sizeBefore);
    // An unreadable import folder.
    stats.importFolder = (import / "missing").string();
    stats.Gather();
    EXPECT_EQ(stats.importFiles, "Unknown");
    EXPECT_EQ(stats.badFiles, "Unknown");
}

TEST_F(BackupHistory, ALinkLostWhileGatheringLeavesUnknown) {
    kdtest::connectSession(odbc.folder(), "KALDRA");
    odbc.arrangeFault("KALDRA", "drop-link 100");
    clsDatabaseStatistics stats;
    stats.Gather();
    EXPECT_EQ(stats.databaseName, "");
    EXPECT_EQ(stats.frameCaption, "DB Information - Unknown");
    EXPECT_EQ(stats.space.text, "Unknown");
    EXPECT_EQ(stats.lastBackup, "Unknown");
    EXPECT_EQ(stats.categories[0].records, "");
}

TEST(SpaceLine, TheThreeFormsAndTheOverRangeMessage) {
    auto line = ComputeSpaceLine({{"/d/KALDRA.mdf", "51200 KB", "102400 KB", "data only"},
                                  {"/d/KALDRA_log.ldf", "1024 KB", "2147483648 KB", "log only"}});
    EXPECT_EQ(line.text, "50.00 of 100.00 MB   50.0 % used");
    EXPECT_EQ(line.tooltip, "This is the amount of space currently used for the database.");
    EXPECT_EQ(line.overRange, std::vector<std::string>{"log"});
    line = ComputeSpaceLine({{"/d/KALDRA.MDF", "1024 KB", "Unlimited", "data only"}});
    EXPECT_EQ(line.text, "1.00 MB allocated");
    EXPECT_EQ(line.tooltip, "This is the amount of space currently allocated for the database");
    line = ComputeSpaceLine({{"/d/KALDRA_log.ldf", "1024 KB", "4096 KB", "log only"}});
    EXPECT_EQ(line.text, "Unknown");
    line = ComputeSpaceLine({{"/d/K.mdf", "512 KB", "3000000000 KB", "data only"}});
    EXPECT_EQ(line.overRange, std::vector<std::string>{"database"});
    EXPECT_EQ(PercentText(0.5), ".5");
    EXPECT_EQ(PercentText(100), "100.0");
    EXPECT_NE(OverRangeMessage("log").find("The maximum log growth size can be adjusted"), std::string::npos);
}

} // namespace
