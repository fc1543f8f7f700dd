#include "PrivilegesFixture.h"

using namespace kdtest;
using users::clsPrivileges;

namespace {
// Cache indexes of the fixture's accounts.
constexpr int kTemplate = 1, kNorth = 2, kNorthGeneral = 3, kSouth = 4;
} // namespace

TEST_F(PrivilegesTest, LoadsWithOneBatchOfThreeStatementsReadAsThreeResultSets) {
    exec("UPDATE System_user_bindery SET privilege_set1 = '" + setWith({0, 12, 159}, 160) + "' WHERE user_id = 60");
    exec("INSERT Privileges_accounts VALUES (60, 30, '" + setWith({5, 254}, 255) + "', NULL)");
    exec("INSERT Privileges_accounts VALUES (60, 77, '" + setWith({1}, 255) + "', NULL)"); // not cached
    exec("INSERT Privileges_report_types VALUES (60, 30, 0, 3, '" + setWith({7}, 20) + "', NULL, 0, 0, 0, NULL, NULL)");
    exec("INSERT Privileges_report_types VALUES (60, 30, 0, 0, '" + setWith({1, 19}, 20) +
         "', NULL, 0, 0, 0, NULL, NULL)");
    clsPrivileges p;
    p.Init(login, 60, "JDOE", false, 1);
    ASSERT_TRUE(p.Load());
    ASSERT_EQ(session().history.size(), 1u);
    EXPECT_EQ(
        session().history[0],
        "SELECT hosp_acct_id, privilege_set1 FROM Privileges_accounts WHERE user_id = 60 ORDER BY hosp_acct_id\r\n"
        "SELECT hosp_acct_id, report_type_nbr, privilege_set1 FROM Privileges_report_types WHERE user_id = 60 "
        "AND dept_id = 0 ORDER BY hosp_acct_id, report_type_nbr\r\n"
        "SELECT privilege_set1 FROM System_user_bindery WHERE user_id = 60");
    EXPECT_EQ(p.System()[0], 1);
    EXPECT_EQ(p.System()[12], 1);
    EXPECT_EQ(p.System()[159], 1);
    EXPECT_EQ(p.System()[1], 0);
    EXPECT_EQ(p.Account(kNorth)[5], 1);
    EXPECT_EQ(p.Account(kNorth)[254], 1);
    EXPECT_EQ(p.Account(kNorthGeneral)[5], 0);
    EXPECT_EQ(p.ReportType(kNorth, 3)[7], 1); // slot 3 holds report type 3
    EXPECT_EQ(p.ReportType(kNorth, 0)[1], 1); // "<All New Reports>"
    EXPECT_EQ(p.ReportType(kNorth, 0)[19], 1);
    EXPECT_TRUE(recorder.shown.empty());
}

TEST_F(PrivilegesTest, ListsTheTemplateAndTheLiveAccountsUnderThePartition) {
    clsPrivileges p;
    open(p);
    EXPECT_EQ(p.VisibleAccounts(), (std::vector<int>{kTemplate, kNorth, kNorthGeneral}));
    EXPECT_EQ(p.AccountCaption(kTemplate), "<All New Accounts>");
    EXPECT_EQ(p.AccountCaption(kNorth), "North \\ North One");
    EXPECT_EQ(p.OfferedReportTypes(kNorth), (std::vector<int>{0, 1, 3})); // type 2 is deleted
    EXPECT_EQ(p.ReportTypes(kNorth)[0].name, "<All New Reports>");
    EXPECT_EQ(p.ReportTypes(kNorth)[3].name, "Consult");
}

TEST_F(PrivilegesTest, NullSystemStringOpensClearedAndSavesAFullString) {
    ASSERT_EQ(scalar("SELECT ISNULL(privilege_set1, 'null') FROM System_user_bindery WHERE user_id = 60"), "null");
    clsPrivileges p;
    open(p);
    for (auto f : p.System())
        EXPECT_EQ(f, 0);
    p.System()[36] = 1;
    ASSERT_TRUE(p.Save());
    EXPECT_EQ(grantedIn("SELECT privilege_set1 FROM System_user_bindery WHERE user_id = 60"), "160:36,");
}

TEST_F(PrivilegesTest, SaveDeletesThenWritesTheVisibleAccountsInCacheOrder) {
    exec("INSERT Privileges_accounts VALUES (60, 40, '" + setWith({0}, 255) + "', NULL)"); // outside the tree
    exec("INSERT Privileges_report_types VALUES (60, 30, 0, 2, '" + setWith({1}, 20) +
         "', NULL, 0, 0, 0, NULL, NULL)"); // a deleted report type
    exec("UPDATE System_user_bindery SET privilege_set2 = 'untouched' WHERE user_id = 60");
    clsPrivileges p;
    open(p);
    p.Account(kNorth)[3] = 1;
    p.ReportType(kNorth, 1)[4] = 1;
    session().history.clear();
    ASSERT_TRUE(p.Save());
    const std::string one(255, '\x01');
    const std::vector<std::string> expected = {
        "DELETE FROM Privileges_accounts WHERE user_id = 60",
        "DELETE FROM Privileges_report_types WHERE user_id = 60",
        "INSERT Privileges_accounts VALUES(60, -1, '" + one + "', NULL)",
        "INSERT Privileges_report_types VALUES(60, -1, 0, 0, '" + std::string(20, '\x01') +
            "', NULL, 0, 0, 0, NULL, NULL)",
        "INSERT Privileges_accounts VALUES(60, 30, '" + setWith({3}, 255) + "', NULL)",
        "INSERT Privileges_report_types VALUES(60, 30, 0, 0, '" + std::string(20, '\x01') +
            "', NULL, 0, 0, 0, NULL, NULL)",
        "INSERT Privileges_report_types VALUES(60, 30, 0, 1, '" + setWith({4}, 20) + "', NULL, 0, 0, 0, NULL, NULL)",
        "INSERT Privileges_report_types VALUES(60, 30, 0, 3, '" + std::string(20, '\x01') +
            "', NULL, 0, 0, 0, NULL, NULL)",
        "INSERT Privileges_accounts VALUES(60, 31, '" + one + "', NULL)",
        "INSERT Privileges_report_types VALUES(60, 31, 0, 0, '" + std::string(20, '\x01') +
            "', NULL, 0, 0, 0, NULL, NULL)",
        "UPDATE System_user_bindery SET privilege_set1 = '" + std::string(160, '\x01') + "' WHERE user_id = 60",
    };
    // One batch, wrapped so that it is all or nothing.
    ASSERT_FALSE(session().history.empty());
    std::vector<std::string> lines = {"SET XACT_ABORT ON", "BEGIN TRANSACTION"};
    lines.insert(lines.end(), expected.begin(), expected.end());
    lines.insert(lines.end(), {"COMMIT TRANSACTION", "SET XACT_ABORT OFF"});
    EXPECT_EQ(splitLines(session().history.front()), lines);
    EXPECT_EQ(rows("SELECT hosp_acct_id FROM Privileges_accounts WHERE user_id = 60 ORDER BY hosp_acct_id"),
              (std::vector<std::string>{"-1", "30", "31"}));
    EXPECT_EQ(rows("SELECT hosp_acct_id, report_type_nbr FROM Privileges_report_types WHERE user_id = 60 ORDER BY "
                   "hosp_acct_id, report_type_nbr"),
              (std::vector<std::string>{"-1|0", "30|0", "30|1", "30|3", "31|0"}));
    EXPECT_EQ(scalar("SELECT privilege_set2 FROM System_user_bindery WHERE user_id = 60"), "untouched");
    EXPECT_EQ(logRows(), (std::vector<std::string>{"20021|2|2|50|1|Privileges for user JDOE have been modified."}));
}

TEST_F(PrivilegesTest, PositionFifteenIsWrittenClearedAndTheKeptPositionsKeepTheirValue) {
    exec("UPDATE System_user_bindery SET privilege_set1 = '" + setWith({15, 60, 83, 88, 89, 98, 150}, 160) +
         "' WHERE user_id = 60");
    clsPrivileges p;
    open(p);
    p.System()[0] = 1;
    ASSERT_TRUE(p.Save());
    EXPECT_EQ(grantedIn("SELECT privilege_set1 FROM System_user_bindery WHERE user_id = 60"),
              "160:0,60,83,88,89,98,150,");
}

// Every position of the three strings travels to the database and back alone.
TEST_F(PrivilegesTest, EachPositionAloneIsWrittenAtItsPlace) {
    clsPrivileges p;
    for (int n = 0; n < users::kAccountPrivilegeCount; ++n) {
        open(p);
        if (n < users::kSystemPrivilegeCount && n != users::kForcedOffSystemPosition)
            p.System()[static_cast<size_t>(n)] = 1;
        p.Account(kNorthGeneral)[static_cast<size_t>(n)] = 1;
        if (n < users::kReportTypePrivilegeCount)
            p.ReportType(kNorth, 3)[static_cast<size_t>(n)] = 1;
        ASSERT_TRUE(p.Save()) << n;
        const std::string at = std::to_string(n) + ",";
        if (n < users::kSystemPrivilegeCount && n != users::kForcedOffSystemPosition) {
            EXPECT_EQ(grantedIn("SELECT privilege_set1 FROM System_user_bindery WHERE user_id = 60"), "160:" + at);
        }
        EXPECT_EQ(grantedIn("SELECT privilege_set1 FROM Privileges_accounts WHERE user_id = 60 AND hosp_acct_id = 31"),
                  "255:" + at);
        if (n < users::kReportTypePrivilegeCount) {
            EXPECT_EQ(grantedIn("SELECT privilege_set1 FROM Privileges_report_types WHERE user_id = 60 AND "
                                "hosp_acct_id = 30 AND report_type_nbr = 3"),
                      "20:" + at);
        }
        p.Init(login, 60, "JDOE", false, 1);
        ASSERT_TRUE(p.Save()); // all cleared again
    }
}

// The link drops in the middle of the rewrite, after the deletes and some inserts have run: the
// server rolls the batch back, so the privileges the other applications read stay as they were.
TEST_F(PrivilegesTest, ALinkLostInTheMiddleOfTheSaveLeavesEveryStoredPrivilegeAsItWas) {
    exec("INSERT Privileges_accounts VALUES (60, 31, '" + setWith({0}, 255) + "', NULL)");
    exec("INSERT Privileges_report_types VALUES (60, 31, 0, 0, '" + setWith({2}, 20) + "', NULL, 0, 0, 0, NULL, NULL)");
    exec("UPDATE System_user_bindery SET privilege_set1 = '" + setWith({36}, 160) + "' WHERE user_id = 60");
    const auto before = [&] {
        return std::vector<std::vector<std::string>>{
            rows("SELECT hosp_acct_id, privilege_set1 FROM Privileges_accounts ORDER BY user_id, hosp_acct_id"),
            rows("SELECT hosp_acct_id, report_type_nbr, privilege_set1 FROM Privileges_report_types ORDER BY "
                 "user_id, hosp_acct_id, report_type_nbr"),
            rows("SELECT privilege_set1 FROM System_user_bindery WHERE user_id = 60")};
    };
    const auto stored = before();
    // SET XACT_ABORT ON, BEGIN TRANSACTION, two deletes and the first inserts; then the link drops.
    for (int ran : {3, 4, 6, 9}) {
        clsPrivileges p;
        open(p);
        p.Account(kNorth)[6] = 1;
        p.System()[40] = 1;
        // On the first try and on the session's retry after it reconnects.
        const std::string stop = "drop-link-after " + std::to_string(ran);
        odbc.arrangeFault("KALDRA", stop + "\n" + stop);
        recorder.shown.clear();
        EXPECT_FALSE(p.Save()) << ran;
        ASSERT_FALSE(recorder.shown.empty()) << ran;
        const auto& last = recorder.shown.back();
        EXPECT_EQ(last.text,
                  "An error was encountered trying to save the user's privilege settings.  \nChanges were not saved");
        EXPECT_EQ(last.title, "Error");
        EXPECT_EQ(before(), stored) << ran;
        EXPECT_TRUE(logRows().empty());
    }
    // A link lost once: the session reconnects and sends the whole batch again, which goes through.
    clsPrivileges p;
    open(p);
    p.Account(kNorth)[6] = 1;
    odbc.arrangeFault("KALDRA", "drop-link-after 6");
    ASSERT_TRUE(p.Save());
    EXPECT_EQ(grantedIn("SELECT privilege_set1 FROM Privileges_accounts WHERE user_id = 60 AND hosp_acct_id = 30"),
              "255:6,");
    EXPECT_EQ(rows("SELECT COUNT(*) FROM Privileges_accounts WHERE user_id = 60"), std::vector<std::string>{"3"});
}

TEST_F(PrivilegesTest, AUserSeesTheCombinedPrivilegesOfItsGroups) {
    addUserRow(71, "CODERS", "NULL, NULL, NULL, 1, 0, 0, 0, 0, 0, 1, 0, NULL, 0, 1, 0, 0");
    exec("INSERT System_security_groups (group_id, user_id) VALUES (71, 60)");
    exec("UPDATE System_user_bindery SET privilege_set1 = '" + setWith({8}, 160) + "' WHERE user_id = 70");
    exec("UPDATE System_user_bindery SET privilege_set1 = '" + setWith({9}, 160) + "' WHERE user_id = 71");
    exec("INSERT Privileges_accounts VALUES (71, 31, '" + setWith({12}, 255) + "', NULL)");
    clsPrivileges p;
    open(p);
    EXPECT_EQ(p.GroupIds(), (std::vector<long>{70, 71}));
    EXPECT_EQ(p.GroupSystem()[8], 1);
    EXPECT_EQ(p.GroupSystem()[9], 1);
    EXPECT_EQ(p.GroupSystem()[10], 0);
    EXPECT_EQ(p.System()[8], 0); // own privileges stay the user's own
    EXPECT_EQ(p.GroupAccount(kNorthGeneral)[12], 1);
}

TEST_F(PrivilegesTest, AGroupLosesTranscriptionDesktopAndJobPlayerWithTheirDependents) {
    exec("UPDATE System_user_bindery SET privilege_set1 = '" + setWith({14, 24, 30, 44, 86, 92, 0}, 160) +
         "' WHERE user_id = 70");
    exec("INSERT Privileges_accounts VALUES (70, 30, '" + setWith({3, 5}, 255) + "', NULL)");
    exec("INSERT Privileges_report_types VALUES (70, 30, 0, 1, '" + setWith({1, 7, 8}, 20) +
         "', NULL, 0, 0, 0, NULL, NULL)");
    clsPrivileges p;
    open(p, 70, "NURSES", true);
    ASSERT_TRUE(p.ApplyGroupRestriction());
    for (int n : {14, 24, 30, 44, 86, 92})
        EXPECT_EQ(p.System()[static_cast<size_t>(n)], 0) << n;
    EXPECT_EQ(p.System()[0], 1);
    EXPECT_EQ(p.Account(kNorth)[3], 0);
    EXPECT_EQ(p.Account(kNorth)[5], 1);
    EXPECT_EQ(p.ReportType(kNorth, 1)[1], 0);
    EXPECT_EQ(p.ReportType(kNorth, 1)[8], 0);
    EXPECT_EQ(p.ReportType(kNorth, 1)[7], 1);
    EXPECT_FALSE(p.ApplyGroupRestriction()); // nothing left to clear
    clsPrivileges user;
    open(user);
    user.System()[14] = 1;
    EXPECT_FALSE(user.ApplyGroupRestriction()); // users may hold it
}

TEST_F(PrivilegesTest, CopyButtonsSpreadTheChosenPositionsOnly) {
    clsPrivileges p;
    open(p);
    p.Account(kNorth)[0] = 1;
    p.Account(kNorth)[3] = 1;
    const int general[] = {0, 1, 2, 5, 6, 7, 8, 9, 10, 11, 12, 13};
    p.CopyAccountPositions(kNorth, general);
    EXPECT_EQ(p.Account(kTemplate)[0], 1);
    EXPECT_EQ(p.Account(kNorthGeneral)[0], 1);
    EXPECT_EQ(p.Account(kNorthGeneral)[3], 0);
    EXPECT_EQ(p.Account(kSouth)[0], 0); // not listed
    p.ReportType(kNorth, 1)[7] = 1;
    p.ReportType(kNorth, 1)[1] = 1;
    const int view[] = {7};
    p.CopyReportTypePositions(kNorth, 1, view, false);
    EXPECT_EQ(p.ReportType(kNorth, 3)[7], 1);
    EXPECT_EQ(p.ReportType(kNorth, 3)[1], 0);
    EXPECT_EQ(p.ReportType(kNorthGeneral, 0)[7], 0);
    p.CopyReportTypePositions(kNorth, 1, view, true);
    EXPECT_EQ(p.ReportType(kNorthGeneral, 0)[7], 1);
}

TEST_F(PrivilegesTest, AFailedLoadOfTheOwnOrTheGroupPrivilegesIsShown) {
    clsPrivileges p;
    p.Init(login, 60, "JDOE", false, 1);
    odbc.arrangeFault("KALDRA", "drop-link 2"); // the batch and its one retry
    EXPECT_FALSE(p.Load());
    ASSERT_FALSE(recorder.shown.empty());
    EXPECT_EQ(recorder.shown.back().text, "Could not retrieve the user's privileges.");
    EXPECT_EQ(recorder.shown.back().title, "Error");

    session().DisconnectFromSQL();
    connectSession(odbc.folder(), "KALDRA");
    recorder.shown.clear();
    ASSERT_TRUE(p.Load());
    session().traceHook = [&](int mode) {
        if (mode == 0 && session().SQLStatement.find("WHERE user_id = 70 ORDER BY hosp_acct_id") != std::string::npos)
            odbc.arrangeFault("KALDRA", "drop-link 2");
    };
    EXPECT_FALSE(p.LoadGroupPrivileges());
    session().traceHook = nullptr;
    ASSERT_FALSE(recorder.shown.empty());
    EXPECT_EQ(recorder.shown.back().text, "Could not retrieve the group privileges.");
    EXPECT_EQ(recorder.shown.back().title, "Error");
}
