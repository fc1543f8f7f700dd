#include "EventLog.h"
#include "MessageService.h"
#include "OdbcFixture.h"
#include "SessionHelper.h"
#include "clsBatchConfig.h"
#include "clsLogDay.h"

#include <ctime>

using namespace systemlog;

namespace {

TEST(LogText, TwelveHourTimes) {
    struct Case {
        const char* in;
        const char* out;
    } const cases[] = {
        {"00:15:00", "12:15:00 AM"},
        {"00:00:00", "12:00:00 AM"},
        {"01:02:03", "1:02:03 AM"},
        {"11:59:59", "11:59:59 AM"},
        {"12:00:00", "12:00:00 PM"},
        {"12:59:59", "12:59:59 PM"},
        {"13:05:00", "1:05:00 PM"},
        {"23:59:59", "11:59:59 PM"},
        {"18:54:14    ", "6:54:14 PM"}, // char(12) padding
        {"", ""},
        {"noon", "noon"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TwelveHourTime(c.in), c.out) << c.in;
}

TEST(LogText, NamesOfTypesSeveritiesAndDeletedUsers) {
    EXPECT_EQ(LogTypes().size(), 14u);
    EXPECT_EQ(LogTypes().front(), (std::pair<int, std::string>{0, "General System"}));
    EXPECT_EQ(LogTypes().back(), (std::pair<int, std::string>{19, "Tessaly Transform"}));
    for (int unnamed : {4, 8, 10, 11, 12, 16})
        for (const auto& t : LogTypes())
            EXPECT_NE(t.first, unnamed);
    EXPECT_EQ(SeverityName(1), "YIELD");
    EXPECT_EQ(SeverityName(6), "DEBUG");
    EXPECT_EQ(SeverityName(0), "");
    EXPECT_EQ(SeverityName(7), "");
    EXPECT_EQ(ShownUserName("JDOE"), "JDOE");
    EXPECT_EQ(ShownUserName("0412DEL>JDOE"), "JDOE (Deleted)");
}

TEST(LogText, DayQueryPerTypeFilter) {
    const std::string all = DayQuery("12/05/2026", -1, true);
    EXPECT_EQ(all, "SELECT hr = CONVERT(char(12), date_timestamp, 8), \n"
                   "       severity, type, user_id, \n"
                   "acct_name = (SELECT hosp_acct_name FROM Account_info WHERE hosp_acct_id = SL.hosp_acct_id), \n"
                   "user_name = (SELECT user_name FROM System_user_bindery WHERE user_id = SL.user_id), error_code, \n"
                   "       hosp_acct_id, schedule_id, batch_nbr, flag1, msg1, msg2, msg3, msg4, msg5\n"
                   ", ''\n"
                   "FROM System_log SL\n"
                   "WHERE date_timestamp >= '12/05/2026 12:00am' AND\n"
                   "      date_timestamp <= '12/05/2026 11:59:59pm'\n"
                   "ORDER BY date_timestamp DESC");
    EXPECT_NE(DayQuery("12/05/2026", 0, false).find("AND (type = 0)\nORDER BY date_timestamp ASC"), std::string::npos);
    EXPECT_NE(DayQuery("12/05/2026", 5, true).find("AND (type = 5 OR flag1 = 5)\n"), std::string::npos);
    const std::string sort = DayQuery("12/05/2026", 1, true);
    EXPECT_NE(sort.find(", btch_name = (SELECT batch_name FROM Batch_cfg WHERE batch_nbr = SL.batch_nbr AND "
                        "hosp_acct_id = SL.hosp_acct_id)\n"),
              std::string::npos);
    EXPECT_NE(sort.find("AND (type = 1 OR flag1 = 1)"), std::string::npos);
}

class LogDayTest : public kdtest::SuiteTest {
protected:
    void SetUp() override {
        SuiteTest::SetUp();
        exec("INSERT Account_info (hosp_acct_id, hosp_acct_name, partition_id) VALUES (1, 'North General', 0)\n"
             "INSERT Account_info (hosp_acct_id, hosp_acct_name, partition_id) VALUES (2, 'Lakeside', 0)\n"
             "INSERT System_user_bindery (user_id, user_name, flag3, partition_id, enabled) VALUES (101, 'MJONES', "
             "0, 0, 1)\n"
             "INSERT System_user_bindery (user_id, user_name, flag3, partition_id, enabled, is_deleted) VALUES (102, "
             "'0102DEL>ASMITH', 0, 0, 1, 1)\n"
             "INSERT Batch_cfg (hosp_acct_id, batch_name, batch_nbr, batch_type, is_deleted, flag1) VALUES (1, "
             "'Print', 4, 1, 0, 1)\n"
             "INSERT Batch_cfg (hosp_acct_id, batch_name, batch_nbr, batch_type, is_deleted, flag1) VALUES (1, "
             "'Retired', 5, 1, 1, 1)");
        // The day under test is 03/14/2026, with neighbours just outside it.
        row("2026-03-13 23:59:59", 2, 0, 101, 1, 0, 0, "day before");
        row("2026-03-14 00:00:00", 2, 0, 101, 1, 0, 0, "midnight");
        row("2026-03-14 00:15:00", 4, 3, 102, 2, 0, 0, "quarter past", "second", "third");
        row("2026-03-14 12:00:00", 2, 5, 101, 1, 0, 0, "noon search");
        row("2026-03-14 13:05:00", 5, 2, 101, 2, 0, 5, "flagged for report search");
        row("2026-03-14 14:00:00", 2, 1, 101, 1, 4, 0, "sorted in batch 4");
        row("2026-03-14 14:30:00", 2, 3, 101, 1, 0, 0, "flag1 zero is not type 0");
        row("2026-03-14 23:59:59", 3, 1, 101, 1, 0, 1, "last second");
        row("2026-03-15 00:00:00", 2, 0, 101, 1, 0, 0, "day after");
        kdtest::connectSession(odbc.folder(), "KALDRA");
    }
    void TearDown() override { foundation::DatabaseSession::instance().DisconnectFromSQL(); }

    void row(const std::string& when, int severity, int type, long user, long acct, long batch, long flag1,
             const std::string& m1, const std::string& m2 = "", const std::string& m3 = "") {
        auto text = [](const std::string& m) { return m.empty() ? std::string("NULL") : "'" + m + "'"; };
        exec("INSERT System_log (date_timestamp, severity, type, user_id, error_code, hosp_acct_id, schedule_id, "
             "batch_nbr, flag1, msg1, msg2, msg3) VALUES ('" +
             when + "', " + std::to_string(severity) + ", " + std::to_string(type) + ", " + std::to_string(user) +
             ", 7, " + std::to_string(acct) + ", 0, " + std::to_string(batch) + ", " + std::to_string(flag1) + ", " +
             text(m1) + ", " + text(m2) + ", " + text(m3) + ")");
    }
    std::vector<std::string> messages(const clsLogDay& day, const LogFilter& filter = {}) {
        std::vector<std::string> out;
        for (const LogLine& line : day.Lines(filter))
            out.push_back(day.Rows()[line.row].messages[line.message]);
        return out;
    }
};

TEST_F(LogDayTest, LoadsTheWholeDayAndNothingElse) {
    clsLogDay day;
    ASSERT_TRUE(day.Load("03/14/2026", -1, false));
    ASSERT_EQ(day.Rows().size(), 7u);
    const LogRow& quarter = day.Rows()[1];
    EXPECT_EQ(quarter.time, "12:15:00 AM");
    EXPECT_EQ(quarter.userName, "ASMITH (Deleted)");
    EXPECT_EQ(quarter.accountName, "Lakeside");
    EXPECT_EQ(quarter.severity, 4);
    EXPECT_EQ(quarter.eventNumber, 7);
    EXPECT_EQ(day.Rows().front().messages[0], "midnight");
    EXPECT_EQ(day.Rows().back().time, "11:59:59 PM");
    EXPECT_EQ(messages(day), (std::vector<std::string>{"midnight", "quarter past", "second", "third", "noon search",
                                                       "flagged for report search", "sorted in batch 4",
                                                       "flag1 zero is not type 0", "last second"}));
    const auto lines = day.Lines({});
    EXPECT_TRUE(lines[1].first);
    EXPECT_FALSE(lines[2].first);
    EXPECT_FALSE(lines[3].first);
    EXPECT_TRUE(lines[4].first);

    ASSERT_TRUE(day.Load("03/14/2026", -1, true));
    EXPECT_EQ(day.Rows().front().messages[0], "last second");
    ASSERT_TRUE(day.Load("03/16/2026", -1, true));
    EXPECT_TRUE(day.Rows().empty());
    EXPECT_TRUE(day.Lines({}).empty());
}

TEST_F(LogDayTest, TypeZeroIgnoresFlag1AndOtherTypesFollowIt) {
    clsLogDay day;
    ASSERT_TRUE(day.Load("03/14/2026", 0, false));
    EXPECT_EQ(messages(day), (std::vector<std::string>{"midnight"}));
    ASSERT_TRUE(day.Load("03/14/2026", 5, false));
    EXPECT_EQ(messages(day), (std::vector<std::string>{"noon search", "flagged for report search"}));
    ASSERT_TRUE(day.Load("03/14/2026", 1, false));
    EXPECT_TRUE(day.BatchColumn());
    ASSERT_EQ(day.Rows().size(), 2u);
    EXPECT_EQ(day.Rows()[0].batchName, "Print");
    EXPECT_EQ(day.Rows()[1].batchName, ""); // type 3 with flag1 1, no batch
}

TEST_F(LogDayTest, FiltersWorkOnTheRowsInMemory) {
    clsLogDay day;
    ASSERT_TRUE(day.Load("03/14/2026", -1, false));
    const size_t sent = foundation::DatabaseSession::instance().history.size();
    struct Case {
        LogFilter filter;
        std::vector<std::string> shown;
    } const cases[] = {
        {{-1, 102, -1, ""}, {"quarter past", "second", "third"}},
        {{2, -1, -1, ""}, {"quarter past", "second", "third", "flagged for report search"}},
        {{1, 101, 4, ""}, {"sorted in batch 4"}},
        {{-1, -1, -1, "SEARCH"}, {"noon search", "flagged for report search"}},
        {{-1, -1, -1, "asmith"}, {"quarter past", "second", "third"}}, // the user name matches the whole row
        {{-1, -1, -1, "third"}, {"quarter past", "second", "third"}},
        {{-1, 999, -1, ""}, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(messages(day, c.filter), c.shown) << c.filter.account << "/" << c.filter.user << "/" << c.filter.text;
    EXPECT_EQ(foundation::DatabaseSession::instance().history.size(), sent); // no statement for a filter
    day.Reverse();
    EXPECT_EQ(messages(day, {-1, 102, -1, ""}), (std::vector<std::string>{"quarter past", "second", "third"}));
    EXPECT_EQ(messages(day).front(), "last second");
}

TEST_F(LogDayTest, EventsWrittenByTheConsoleShowOnTodaysPage) {
    foundation::EventLog::context() = foundation::LogContext{};
    foundation::EventLog::context().userId = 101;
    foundation::EventLog::WriteSystemLog(2, 2, 20001, 0, 0, 0, 0, 0, 1, 0, "User X added.", {"by MJONES"});
    char today[16];
    const std::time_t now = std::time(nullptr);
    std::strftime(today, sizeof today, "%m/%d/%Y", std::localtime(&now));
    clsLogDay day;
    ASSERT_TRUE(day.Load(today, 2, true));
    EXPECT_EQ(messages(day), (std::vector<std::string>{"User X added.", "by MJONES"}));
    EXPECT_EQ(day.Rows()[0].userName, "MJONES");
    EXPECT_EQ(day.Rows()[0].accountName, "North General");
}

TEST_F(LogDayTest, AFailedReadShowsTheErrorAndLeavesNoRows) {
    platform::MessageRecorder recorder;
    clsLogDay day;
    ASSERT_TRUE(day.Load("03/14/2026", -1, false));
    exec("DROP TABLE System_log");
    EXPECT_FALSE(day.Load("03/14/2026", -1, false));
    EXPECT_TRUE(day.Rows().empty());
    EXPECT_FALSE(recorder.shown.empty());
}

TEST_F(LogDayTest, ActiveBatchesLeaveOutDeletedOnes) {
    const auto batches = accounts::LoadActiveBatches();
    ASSERT_EQ(batches.size(), 1u);
    EXPECT_EQ(batches[0].batch_name, "Print");
    EXPECT_EQ(batches[0].batch_nbr, 4);
    EXPECT_EQ(batches[0].hosp_acct_id, 1);
}

} // namespace
