#include "DatabaseSession.h"
#include "EventLog.h"
#include "LoginComponent.h"
#include "MessageService.h"
#include "OdbcFixture.h"
#include "SessionHelper.h"
#include "clsAccountTypes.h"
#include "clsPauseTypes.h"
#include "clsSuspensionTypes.h"

using namespace accounts;
using foundation::DatabaseSession;

namespace {

// A site with the template account -1 (20 system suspension types, 3 activity types), live
// accounts 10 and 20 and the deleted account 30, each created with the template's types.
class TypeRecords : public kdtest::SuiteTest {
protected:
    void SetUp() override {
        SuiteTest::SetUp();
        exec("EXECUTE account_check 10\nEXECUTE account_check 20\nEXECUTE account_check 30\n"
             "UPDATE Account_info SET is_deleted = 1 WHERE hosp_acct_id = 30");
        kdtest::connectSession(odbc.folder(), "KALDRA");
        foundation::EventLog::context() = foundation::LogContext{};
        foundation::EventLog::context().userName = "admin";
        foundation::EventLog::context().userId = 7;
        std::vector<suite::HospAccount> cache;
        for (auto [id, deleted] : {std::pair{-1L, false}, {10L, false}, {20L, false}, {30L, true}}) {
            suite::HospAccount a;
            a.hosp_acct_id = id;
            a.hosp_acct_name = "Account " + std::to_string(id);
            a.is_deleted = deleted;
            cache.push_back(a);
        }
        login.SetHospAccounts(cache);
        DatabaseSession::instance().history.clear();
    }
    void TearDown() override {
        DatabaseSession::instance().DisconnectFromSQL();
        foundation::EventLog::context() = foundation::LogContext{};
    }
    // Every row of a table as "account:type:description", in order.
    std::string rows(const std::string& table, const std::string& type, const std::string& description,
                     const std::string& where = "1 = 1") {
        const auto out = exec("SELECT CONVERT(varchar, hosp_acct_id) + ':' + CONVERT(varchar, " + type + ") + ':' + " +
                              description + " FROM " + table + " WHERE " + where + " ORDER BY hosp_acct_id, " + type);
        std::string text;
        if (const auto* step = out.firstRows())
            for (const auto& r : step->rows)
                text += r[0].value_or("NULL") + "|";
        return text;
    }
    std::string lastLog() {
        return scalar("SELECT TOP 1 CONVERT(varchar, error_code) + ' ' + msg1 FROM System_log ORDER BY date_timestamp "
                      "DESC, error_code DESC");
    }

    platform::MessageRecorder recorder;
    suite::LoginComponent login;
};

TEST_F(TypeRecords, SuspensionNumbersAndTheSystemRange) {
    const std::pair<int, bool> cases[] = {{1, true}, {20, true}, {21, false}, {255, false}};
    for (auto [type, system] : cases)
        EXPECT_EQ((clsSuspensionType{type, 0, "x"}.IsSystem()), system) << type;
    clsSuspensionTypes types;
    ASSERT_TRUE(types.Load());
    EXPECT_EQ(types.Types().size(), 20u);
    auto free = types.FreeNumbers();
    ASSERT_EQ(free.size(), 235u);
    EXPECT_EQ(free.front(), 21);
    EXPECT_EQ(free.back(), 255);
    // Every user number but 255 taken: 255 is the last one offered; then none.
    exec("DECLARE @t int\nSET @t = 21\nWHILE @t <= 254\nBEGIN\nINSERT Suspension_types VALUES (-1, @t, 0, 'T')\n"
         "SET @t = @t + 1\nEND");
    ASSERT_TRUE(types.Load());
    EXPECT_EQ(types.FreeNumbers(), std::vector<int>{255});
    EXPECT_EQ(types.FreeNumbers(254), (std::vector<int>{254, 255})); // editing 254 keeps its own number
    exec("INSERT Suspension_types VALUES (-1, 255, 0, 'T')");
    ASSERT_TRUE(types.Load());
    EXPECT_TRUE(types.FreeNumbers().empty());
}

TEST_F(TypeRecords, ANewSuspensionTypeIsWrittenOnceForEveryAccountRowAndNothingElse) {
    const std::string pausesBefore = rows("Pause_types", "pause_type", "pause_description");
    const std::string othersBefore = rows("Suspension_types", "suspension_type", "suspension_description");
    const std::string accounts = scalar("SELECT COUNT(*) FROM Account_info");
    clsSuspensionTypes types;
    ASSERT_TRUE(types.Load());
    auto& s = DatabaseSession::instance();
    s.history.clear();
    const std::string description = "Dictator's note \xC3\xBC\xE2\x82\xAC"; // an apostrophe, ü and €
    ASSERT_TRUE(types.Add(21, description));
    ASSERT_GE(s.history.size(), 1u);
    EXPECT_EQ(s.history[0], "INSERT INTO Suspension_types\r\nSELECT hosp_acct_id, 21, 0, 'Dictator''s note "
                            "\xC3\xBC\xE2\x82\xAC'\r\nFROM Account_info");
    EXPECT_EQ(accounts, "4"); // the template, two live accounts and a deleted one
    EXPECT_EQ(rows("Suspension_types", "suspension_type", "suspension_description", "suspension_type = 21"),
              "-1:21:" + description + "|10:21:" + description + "|20:21:" + description + "|30:21:" + description +
                  "|");
    EXPECT_EQ(rows("Suspension_types", "suspension_type", "suspension_description", "suspension_type <> 21"),
              othersBefore);
    EXPECT_EQ(rows("Pause_types", "pause_type", "pause_description"), pausesBefore);
    EXPECT_EQ(scalar("SELECT MAX(suspension_severity) FROM Suspension_types WHERE suspension_type = 21"), "0");
    EXPECT_EQ(lastLog(), "20061 Suspension type '" + description + "' (21) added by admin.");
    ASSERT_NE(types.Find(21), nullptr); // reloaded
    EXPECT_TRUE(recorder.shown.empty());
    // An account created afterwards gets the type from the template through account_check.
    exec("EXECUTE account_check 40");
    EXPECT_EQ(scalar("SELECT suspension_description FROM Suspension_types WHERE hosp_acct_id = 40 AND "
                     "suspension_type = 21"),
              description);
}

TEST_F(TypeRecords, ChangedAndDeletedSuspensionTypesChangeEveryAccount) {
    clsSuspensionTypes types;
    ASSERT_TRUE(types.Load());
    ASSERT_TRUE(types.Add(40, "Lab"));
    ASSERT_TRUE(types.Change(40, "Lab results"));
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Suspension_types WHERE suspension_type = 40 AND suspension_description = "
                     "'Lab results'"),
              "4");
    EXPECT_EQ(lastLog(), "20062 Suspension type 'Lab results' (40) changed by admin.");
    ASSERT_TRUE(types.Remove(40));
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Suspension_types WHERE suspension_type = 40"), "0");
    EXPECT_EQ(lastLog(), "20063 Suspension type 'Lab results' (40) deleted by admin.");
    EXPECT_EQ(DatabaseSession::instance().history.back(), clsSuspensionTypes::ListQuery());
}

TEST_F(TypeRecords, ActivityTypesTakeTheNextNumberAndGoToEveryAccount) {
    clsPauseTypes types;
    ASSERT_TRUE(types.Load());
    EXPECT_EQ(types.NextNumber(), 4);
    clsPauseType t;
    t.pause_type = types.NextNumber();
    t.pause_description = "Phone";
    t.work_type = 2;
    t.work_hours_choice = 0;
    t.pause_reason_choice = 1;
    DatabaseSession::instance().history.clear();
    ASSERT_TRUE(types.Add(t));
    EXPECT_EQ(DatabaseSession::instance().history[0],
              "INSERT INTO Pause_types\r\nSELECT hosp_acct_id, 4, 'Phone', 2, 0, 1\r\nFROM Account_info");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Pause_types WHERE pause_type = 4 AND work_type = 2 AND work_hours_choice = "
                     "0 AND pause_reason_choice = 1"),
              "4");
    EXPECT_EQ(lastLog(), "20064 Activity type 'Phone' (4) added by admin.");
    EXPECT_EQ(types.NextNumber(), 5);
    t.pause_description = "Phone call";
    t.work_hours_choice = 1;
    ASSERT_TRUE(types.Change(t));
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Pause_types WHERE pause_type = 4 AND pause_description = 'Phone call' AND "
                     "work_hours_choice = 1"),
              "4");
    exec("DELETE FROM Pause_types");
    ASSERT_TRUE(types.Load());
    EXPECT_EQ(types.NextNumber(), 1);
}

TEST_F(TypeRecords, AReferencedActivityTypeIsFoundAndRowCountIsResetAfterwards) {
    EXPECT_EQ(clsPauseTypes::IsReferenced(2), clsPauseTypes::Reference::Free);
    exec("INSERT Trans_activity VALUES ('JS', 2, '2026-12-01 08:00:00', NULL)\n"
         "INSERT Trans_activity VALUES ('MK', 2, '2026-12-01 09:00:00', NULL)");
    EXPECT_EQ(clsPauseTypes::IsReferenced(2), clsPauseTypes::Reference::Referenced);
    EXPECT_EQ(clsPauseTypes::IsReferenced(3), clsPauseTypes::Reference::Free);
    // The session's connection counts every row again.
    auto& s = DatabaseSession::instance();
    s.SQLStatement = "SELECT trans_id FROM Trans_activity";
    ASSERT_EQ(s.ExecSQL(), 1);
    int n = 0;
    while (s.FetchRow() == 1)
        ++n;
    EXPECT_EQ(n, 2);
}

TEST_F(TypeRecords, PerAccountListsAreFiledByAccountWithoutTheTemplateOrDeletedAccounts) {
    exec("INSERT Suspension_types VALUES (10, 30, 0, 'Ten only')\n"
         "INSERT Suspension_types VALUES (99, 31, 0, 'Unknown account')");
    clsAccountTypes types(clsAccountTypes::Mode::Suspension);
    ASSERT_TRUE(types.Load(login));
    EXPECT_EQ(types.Accounts(), (std::vector<long>{10, 20}));
    EXPECT_EQ(types.TypesOf(10).size(), 11u); // 11 .. 20 and 30
    EXPECT_EQ(types.TypesOf(20).size(), 10u);
    EXPECT_TRUE(types.TypesOf(99).empty());
    EXPECT_TRUE(types.IsTypeUsed(10, 30));
    EXPECT_FALSE(types.IsTypeUsed(20, 30));
    EXPECT_EQ(types.FreeNumbers(20).front(), 21);
    clsAccountTypes pauses(clsAccountTypes::Mode::Pause);
    ASSERT_TRUE(pauses.Load(login));
    EXPECT_EQ(pauses.FreeNumbers(10).front(), 4);
    EXPECT_EQ(pauses.FreeNumbers(10).size(), 252u); // 4 .. 255
}

TEST_F(TypeRecords, PerAccountRewriteIsOneBatchOfThePrescribedStatements) {
    clsAccountTypes types(clsAccountTypes::Mode::Pause);
    ASSERT_TRUE(types.Load(login));
    types.DeleteType(10, 2);
    types.DeleteType(10, 3);
    types.DeleteType(20, 1);
    types.DeleteType(20, 3);
    types.AddType(20, {7, 0, "O'Neil review"});
    EXPECT_EQ(types.RewriteBatch(),
              "DELETE FROM Pause_types WHERE hosp_acct_id <> -1\r\n"
              "INSERT INTO Pause_types (hosp_acct_id, pause_type, pause_description) VALUES(10, 1, 'Break')\r\n"
              "INSERT INTO Pause_types (hosp_acct_id, pause_type, pause_description) VALUES(20, 2, 'Meeting')\r\n"
              "INSERT INTO Pause_types (hosp_acct_id, pause_type, pause_description) VALUES(20, 7, 'O''Neil review')");
    types.UseForAll(20);
    EXPECT_EQ(types.TypesOf(10).size(), 2u);
    EXPECT_EQ(types.TypesOf(10)[1].description, "O'Neil review");
}

TEST_F(TypeRecords, PerAccountSuspensionRewriteKeepsSeverityAndTheLowTypes) {
    exec("DELETE FROM Suspension_types WHERE hosp_acct_id IN (10, 20) AND suspension_type > 11\n"
         "UPDATE Suspension_types SET suspension_severity = 3 WHERE hosp_acct_id = 10 AND suspension_type = 11");
    clsAccountTypes types(clsAccountTypes::Mode::Suspension);
    ASSERT_TRUE(types.Load(login));
    types.DeleteType(20, 11);
    types.AddType(20, {255, 0, "Last"});
    EXPECT_EQ(types.RewriteBatch(), "DELETE FROM Suspension_types WHERE hosp_acct_id <> -1 AND suspension_type > 10\r\n"
                                    "INSERT INTO Suspension_types VALUES(10, 11, 3, 'System Type 11')\r\n"
                                    "INSERT INTO Suspension_types VALUES(20, 255, 0, 'Last')");
    ASSERT_TRUE(types.Save());
    EXPECT_EQ(rows("Suspension_types", "suspension_type", "suspension_description", "hosp_acct_id = 20"),
              "20:1:Waiting for Information|20:2:Pending Review|20:3:Quality Assurance|20:4:Incomplete Dictation|"
              "20:5:Awaiting Signature|20:6:Patient Information Missing|20:7:Physician Clarification|"
              "20:8:System Type 8|20:9:System Type 9|20:10:System Type 10|20:255:Last|");
    EXPECT_EQ(scalar("SELECT suspension_severity FROM Suspension_types WHERE hosp_acct_id = 10 AND suspension_type = "
                     "11"),
              "3");
    EXPECT_EQ(lastLog(), "20067 Suspension types of every account saved by admin.");
}

// The rewrite deletes every account's rows first: a failure on its last statement must leave every
// row as it was, and the same save without the fault applies whole.
TEST_F(TypeRecords, PerAccountRewriteIsAllOrNothing) {
    for (auto mode : {clsAccountTypes::Mode::Suspension, clsAccountTypes::Mode::Pause}) {
        const bool suspension = mode == clsAccountTypes::Mode::Suspension;
        SCOPED_TRACE(suspension ? "suspension" : "pause");
        const std::string table = suspension ? "Suspension_types" : "Pause_types";
        const std::string type = suspension ? "suspension_type" : "pause_type";
        const std::string description = suspension ? "suspension_description" : "pause_description";
        clsAccountTypes types(mode);
        ASSERT_TRUE(types.Load(login));
        types.AddType(10, {200, 0, "Alert"});
        types.ChangeType(20, types.FirstNumber() + 1, "Renamed");
        types.DeleteType(20, types.TypesOf(20).front().type);
        const std::string batch = types.RewriteBatch();
        long statements = 0;
        for (size_t at = 0; (at = batch.find("INSERT INTO", at)) != std::string::npos; ++at)
            ++statements;
        const std::string before = rows(table, type, description);
        // SET XACT_ABORT ON, BEGIN TRANSACTION, the DELETE, every INSERT but the last; twice, so that
        // the session's one retry after reconnecting meets the same fault.
        const std::string stop = "drop-link-after " + std::to_string(2 + 1 + statements - 1);
        odbc.arrangeFault("KALDRA", stop + "\n" + stop);
        recorder.shown.clear();
        EXPECT_FALSE(types.Save());
        EXPECT_EQ(rows(table, type, description), before);
        EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_log WHERE error_code = 20067"), suspension ? "0" : "1");
        // The lists stay as edited, so OK can be pressed again; this time it applies whole.
        EXPECT_TRUE(types.Save());
        EXPECT_EQ(scalar("SELECT COUNT(*) FROM " + table + " WHERE hosp_acct_id = 10 AND " + type + " = 200"), "1");
        EXPECT_EQ(scalar("SELECT " + description + " FROM " + table + " WHERE hosp_acct_id = 20 AND " + type + " = " +
                         std::to_string(types.FirstNumber() + 1)),
                  "Renamed");
        EXPECT_EQ(scalar("SELECT COUNT(*) FROM " + table + " WHERE hosp_acct_id = 20"),
                  std::to_string(types.TypesOf(20).size() + (suspension ? 10 : 0))); // 1 .. 10 stay
        EXPECT_EQ(scalar("SELECT COUNT(*) FROM " + table + " WHERE hosp_acct_id = -1"), suspension ? "20" : "3");
        // The session's own connection is left without an open transaction.
        auto& session = DatabaseSession::instance();
        session.SQLStatement = "SELECT @@TRANCOUNT";
        ASSERT_EQ(session.ExecSQL(), 1);
        ASSERT_EQ(session.FetchRow(), 1);
        EXPECT_EQ(session.GetColumnText(1, 1), "0");
        session.CloseStatement();
    }
}

} // namespace
