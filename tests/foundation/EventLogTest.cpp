#include "EventLog.h"
#include "DatabaseSession.h"
#include "Interaction.h"
#include "MessageService.h"
#include "OdbcFixture.h"
#include "SessionHelper.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

using foundation::DatabaseSession;
using foundation::EventLog;
using platform::MessageRecorder;
using namespace kdtest;
namespace fs = std::filesystem;

namespace {

std::string readAll(const fs::path& p) {
    std::ifstream in(p);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

class EventLogTest : public SuiteTest {
protected:
    void SetUp() override {
        SuiteTest::SetUp();
        connectSession(odbc.folder(), "KALDRA");
        auto& c = EventLog::context();
        c = foundation::LogContext{};
        c.userId = 101;
        c.partitionId = 3;
        c.userName = "CORP\\jsmithson";
        c.workstation = "NGH-WS-07";
        c.logFolder = odbc.folder() + "/log";
        c.iniRead = true;
        fs::create_directories(c.logFolder);
        EventLog::AttachToSession();
    }
    void TearDown() override { DatabaseSession::instance().DisconnectFromSQL(); }
    MessageRecorder recorder;
};

TEST_F(EventLogTest, SystemLogRowIsTheDescribedBatchOf26Values) {
    const std::string batch = EventLog::SystemLogBatch(20, 2, 20001, 0, 0, 0, 0, 0, -1, "User X added.", {});
    EXPECT_EQ(batch, "DECLARE @thetime datetime\r\nSELECT @thetime = GETDATE()\r\nINSERT System_log\r\n"
                     "VALUES (@thetime, 2, 20, 101, 20001, -1, \r\n0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, \r\n"
                     "NULL, NULL, NULL, NULL, 'User X added.', NULL, NULL, NULL, NULL)");
    EventLog::WriteSystemLog(20, 2, 20001, 4, 5, 6, 7, 8, 12, 0, "User X added.", {"second"});
    EXPECT_EQ(scalar("SELECT CONVERT(varchar, user_id) + '|' + CONVERT(varchar, error_code) + '|' + "
                     "CONVERT(varchar, hosp_acct_id) + '|' + CONVERT(varchar, schedule_id) + '|' + "
                     "CONVERT(varchar, batch_nbr) + '|' + CONVERT(varchar, partition_id) + '|' + msg1 + '|' + msg2 "
                     "FROM System_log"),
              "101|20001|12|5|4|3|User X added.|second");
    EXPECT_TRUE(recorder.shown.empty());
}

TEST_F(EventLogTest, MessagesAreCutTo100CharactersAndQuoted) {
    std::string message = "O'Brien " + std::string(112, 'm'); // 120 characters, one apostrophe
    EventLog::WriteSystemLog(20, 2, 20002, 0, 0, 0, 0, 0, -1, 0, message);
    EXPECT_EQ(scalar("SELECT msg1 FROM System_log"), message.substr(0, 100));
    EXPECT_EQ(scalar("SELECT LEN(msg1) FROM System_log"), "100");
}

TEST_F(EventLogTest, MessagesAreCutAtCharactersNeverInsideOne) {
    const std::string e = "\xC3\xA9"; // é, two bytes
    std::string e60, e120, ascii99;
    for (int i = 0; i < 60; ++i)
        e60 += e;
    e120 = e60 + e60;
    ascii99 = std::string(99, 'a');
    struct Case {
        std::string message, stored, length;
    };
    const Case cases[] = {
        {e60, e60, "60"},                                  // 120 bytes but 60 characters: kept whole
        {e120, e60 + e60.substr(0, 80), "100"},            // the first 100 characters
        {ascii99 + e + "tail", ascii99 + e, "100"},        // the 100th character is two bytes
        {"'" + e120, "'" + e60 + e60.substr(0, 78), "100"} // the apostrophe counts once
    };
    for (const auto& tc : cases) {
        exec("DELETE System_log");
        EventLog::WriteSystemLog(20, 2, 20002, 0, 0, 0, 0, 0, -1, 0, tc.message, {"x", tc.message});
        EXPECT_EQ(scalar("SELECT msg1 FROM System_log"), tc.stored);
        EXPECT_EQ(scalar("SELECT msg3 FROM System_log"), tc.stored);
        EXPECT_EQ(scalar("SELECT LEN(msg1) FROM System_log"), tc.length);
    }
}

TEST_F(EventLogTest, EventFileRecordsCarryTheFixedSevenCharacterLabels) {
    platform::Clock::pin(1'700'000'000);
    EventLog::context().logDebug = true;
    const std::pair<int, std::string> labels[] = {{1, " YIELD "}, {2, " INFO  "}, {3, " TRANS "},
                                                  {4, " WARN  "}, {5, " STOP  "}, {6, " DEBUG "}};
    std::string expected;
    for (const auto& [severity, label] : labels) {
        ASSERT_EQ(label.size(), 7u);
        EventLog::LogEvent(EventLog::LocalFile, 20, severity, 20100 + severity, 0, 0, 0, 0, 0, -1, 0, "Event text.");
        expected += platform::Clock::stamp(1'700'000'000) + label + (severity == 6 ? "DEBUG: " : "") +
                    "Event text. (Message number " + std::to_string(20100 + severity) + ")\n";
    }
    platform::Clock::pin(std::nullopt);
    EXPECT_EQ(readAll(EventLog::EventLogFile()), expected);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_log"), "0");
}

TEST_F(EventLogTest, DebugEventsNeedLogDebug) {
    EventLog::LogEvent(15, 20, 6, 20003, 0, 0, 0, 0, 0, -1, 0, "debug detail");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_log"), "0");
    EXPECT_FALSE(fs::exists(EventLog::EventLogFile()));
    EXPECT_TRUE(recorder.shown.empty());
    EventLog::context().logDebug = true;
    EventLog::LogEvent(5, 20, 6, 20003, 0, 0, 0, 0, 0, -1, 0, "debug detail");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_log WHERE severity = 6"), "1");
    EXPECT_NE(readAll(EventLog::EventLogFile()).find("DEBUG DEBUG: debug detail (Message number 20003)"),
              std::string::npos);
}

TEST_F(EventLogTest, LogEventGoesToEachDestinationAsked) {
    EventLog::LogEvent(15, 20, 4, 20004, 0, 0, 0, 0, 0, -1, 0, "Printer deleted.", {"Printer: Ward 3"},
                       platform::MsgIcon::Exclamation);
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].title, "Administrative Desktop - Message 20004");
    EXPECT_EQ(recorder.shown[0].text,
              "Printer deleted.\n" + std::string(22, ' ') + "Printer: Ward 3 (Message number 20004)");
    EXPECT_EQ(fs::path(EventLog::EventLogFile()).filename(), "NGH-WS-07.LOG");
    EXPECT_NE(readAll(EventLog::EventLogFile()).find(" WARN  Printer deleted."), std::string::npos);
    EXPECT_EQ(scalar("SELECT msg2 FROM System_log"), "Printer: Ward 3");
}

TEST_F(EventLogTest, TraceFileIsNamedAfterTheUserAndRotates) {
    EXPECT_EQ(fs::path(EventLog::PrepareTraceFile()).filename(), "jsmithso.LOG");
    EventLog::context().userName = "";
    EXPECT_EQ(fs::path(EventLog::PrepareTraceFile()).filename(), "DEFAULT.LOG");
    EventLog::context().userName = "CORP\\jsmithson";

    // The name after the domain, trimmed, cut at 8 characters however many bytes they take.
    const std::pair<const char*, const char*> names[] = {
        {"CORP\\j\xC3\xBCrgenbauer", "j\xC3\xBCrgenba.LOG"},
        {"CORP\\a\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84",
         "a\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84.LOG"},
        {"\xE6\x9D\x8E\xE6\x98\x8E", "\xE6\x9D\x8E\xE6\x98\x8E.LOG"},
        {"CORP\\  ann  ", "ann.LOG"},
        {"CORP\\abcdefgh", "abcdefgh.LOG"},
    };
    for (const auto& [user, file] : names) {
        EventLog::context().userName = user;
        EXPECT_EQ(fs::path(EventLog::PrepareTraceFile()).filename().string(), file) << user;
    }
    EventLog::context().userName = "CORP\\jsmithson";

    // Statements are traced only with LogSQL; errors always.
    scalar("SELECT 1");
    EXPECT_FALSE(fs::exists(EventLog::PrepareTraceFile()));
    EventLog::context().logSQL = true;
    scalar("SELECT 42 AS traced");
    exec("SELECT * FROM NoSuchTable");
    DatabaseSession::instance().SQLStatement = "SELECT * FROM NoSuchTable";
    DatabaseSession::instance().ExecSQL();
    const std::string trace = readAll(EventLog::PrepareTraceFile());
    EXPECT_NE(trace.find("SELECT * FROM NoSuchTable"), std::string::npos);
    EXPECT_NE(trace.find("Invalid object name 'NoSuchTable'."), std::string::npos);

    // Over LogSize megabytes the file becomes .OLD and a new one starts.
    EventLog::context().logSize = 1;
    std::ofstream(EventLog::PrepareTraceFile(), std::ios::app) << std::string(1000001, 'x');
    std::string path = EventLog::PrepareTraceFile();
    EXPECT_FALSE(fs::exists(path));
    EXPECT_TRUE(fs::exists(fs::path(path).replace_extension(".OLD")));
}

} // namespace

namespace {

// The event and trace files carry user names and statements: made for their owner only, whatever
// the umask lets through.
TEST_F(EventLogTest, EventAndTraceFilesAreCreatedForTheirOwnerOnly) {
    const mode_t before = ::umask(0);
    EventLog::context().logSQL = true;
    EventLog::AppendToEventFile("owner only", 2);
    DatabaseSession::instance().SQLStatement = "SELECT 7";
    EventLog::TraceSQL(0);
    ::umask(before);
    const auto owner = fs::perms::owner_read | fs::perms::owner_write;
    ASSERT_TRUE(fs::exists(EventLog::EventLogFile()));
    ASSERT_TRUE(fs::exists(EventLog::PrepareTraceFile()));
    EXPECT_EQ(fs::status(EventLog::EventLogFile()).permissions(), owner);
    EXPECT_EQ(fs::status(EventLog::PrepareTraceFile()).permissions(), owner);
}

} // namespace
