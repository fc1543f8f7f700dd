#include "DatabaseSession.h"
#include "LoginComponent.h"
#include "MessageService.h"
#include "OdbcFixture.h"
#include "SessionHelper.h"
#include "modEmailPassword.h"
#include "modPartition.h"
#include "modUnknownPhysicians.h"

using namespace physicians;
using platform::MsgAnswer;

namespace {

class UnknownPhysicians : public kdtest::SuiteTest {
protected:
    void SetUp() override {
        SuiteTest::SetUp();
        exec("INSERT System_user_bindery (user_id, user_name, flag3, partition_id, enabled) VALUES "
             "(300, 'tjones', 0, 0, 1)\n"
             "INSERT System_user_bindery (user_id, user_name, flag3, partition_id, enabled) VALUES "
             "(301, 'zsmith', 0, 0, 1)\n"
             "INSERT Physician_unknowns VALUES ('DR WHO', 300, 1, 11, '2026-12-01 08:15:00')\n"
             "INSERT Physician_unknowns VALUES ('DR WHO', 301, 1, 12, '2026-12-03 17:40:05')\n"
             "INSERT Physician_unknowns VALUES ('O''BRIEN', 300, 2, 13, '2026-11-30 09:00:00')\n"
             "INSERT Physician_unknowns VALUES ('ELSEWHERE', 300, 9, 14, '2026-11-30 09:00:00')");
        kdtest::connectSession(odbc.folder(), "KALDRA");
        login.user.privilegeSet = std::string(160, '\x01');
        Partitions().login = &login;
    }
    void TearDown() override {
        Partitions() = PartitionState{};
        foundation::DatabaseSession::instance().DisconnectFromSQL();
    }
    void grant9() { login.user.privilegeSet[9] = '\x02'; }

    suite::LoginComponent login;
    platform::MessageRecorder recorder;
};

TEST_F(UnknownPhysicians, ListsEachValueOfTheVisibleAccountsWithItsLastUserDateTimeAndCount) {
    std::vector<UnknownPhysician> list;
    ASSERT_TRUE(LoadUnknownPhysicians("1,2", list));
    ASSERT_EQ(list.size(), 2u); // account 9 is not visible
    EXPECT_EQ(list[0].value, "DR WHO");
    EXPECT_EQ(list[0].lastUser, "zsmith");
    EXPECT_EQ(list[0].lastDate, "12/03/2026");
    EXPECT_EQ(list[0].lastTime, "17:40:05");
    EXPECT_EQ(list[0].reports, 2);
    EXPECT_EQ(list[1].value, "O'BRIEN");
    ASSERT_TRUE(LoadUnknownPhysicians("", list)); // no visible account: nothing, and no broken IN ()
    EXPECT_TRUE(list.empty());
}

TEST_F(UnknownPhysicians, MoreThanTheLimitListsTheFirstTenThousandAndLaterStatementsAreNotCut) {
    exec("CREATE TABLE Digits (d int NOT NULL)\n"
         "INSERT Digits VALUES (0)\nINSERT Digits VALUES (1)\nINSERT Digits VALUES (2)\nINSERT Digits VALUES (3)\n"
         "INSERT Digits VALUES (4)\nINSERT Digits VALUES (5)\nINSERT Digits VALUES (6)\nINSERT Digits VALUES (7)\n"
         "INSERT Digits VALUES (8)\nINSERT Digits VALUES (9)\n"
         "INSERT INTO Physician_unknowns SELECT 'V' + CONVERT(varchar(10), 10000 + A.d * 1000 + B.d * 100 + C.d * 10 "
         "+ D.d), 300, 1, 1, GETDATE() FROM Digits A, Digits B, Digits C, Digits D");
    EXPECT_EQ(scalar("SELECT COUNT(DISTINCT value) FROM Physician_unknowns WHERE hosp_acct_id IN (1, 2)"), "10002");
    std::vector<UnknownPhysician> list;
    ASSERT_TRUE(LoadUnknownPhysicians("1,2", list));
    ASSERT_EQ(list.size(), 10000u);
    EXPECT_EQ(list.front().value, "DR WHO");
    EXPECT_EQ(list.back().value, "V19997"); // V19998 and V19999 are beyond the limit
    EXPECT_EQ(kdtest::sessionScalar(foundation::DatabaseSession::instance(), "SELECT COUNT(*) FROM Physician_unknowns"),
              "10004");
}

TEST_F(UnknownPhysicians, DeleteRemovesEveryReportOfTheValue) {
    ASSERT_TRUE(DeleteUnknownPhysician("O'BRIEN"));
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Physician_unknowns"), "3");
    ASSERT_TRUE(DeleteUnknownPhysician("DR WHO"));
    EXPECT_EQ(scalar("SELECT value FROM Physician_unknowns"), "ELSEWHERE");
    exec("DROP TABLE Physician_unknowns");
    EXPECT_FALSE(DeleteUnknownPhysician("ELSEWHERE"));
    ASSERT_FALSE(recorder.shown.empty());
    EXPECT_EQ(recorder.shown.back().text, "Failed to delete the unknown physician.");
}

TEST_F(UnknownPhysicians, ClearingWithoutPrivilege9IsRefusedBeforeTheQuestion) {
    EXPECT_FALSE(ClearUnknownPhysicians());
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, "ACCESS DENIED:  You do not have access to alter the physician profile.");
    EXPECT_EQ(recorder.shown[0].title, "Security");
    grant9();
    recorder.answer(MsgAnswer::No);
    EXPECT_FALSE(ClearUnknownPhysicians());
    EXPECT_EQ(recorder.shown[1].text, "Are you sure you want to delete the entire list?");
    EXPECT_EQ(recorder.shown[1].title, "Manage Unknown Physicians");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Physician_unknowns"), "4");
    recorder.answer(MsgAnswer::Yes);
    EXPECT_TRUE(ClearUnknownPhysicians());
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Physician_unknowns"), "0");
}

TEST_F(UnknownPhysicians, TheLoggingSwitchIsFlag5OfTheMaintenanceRow) {
    EXPECT_EQ(UnknownPhysicianLogging(), scalar("SELECT flag5 FROM Archive_cfg") == "1");
    ASSERT_TRUE(SetUnknownPhysicianLogging(false));
    EXPECT_EQ(scalar("SELECT flag5 FROM Archive_cfg"), "0");
    EXPECT_FALSE(UnknownPhysicianLogging());
    ASSERT_TRUE(SetUnknownPhysicianLogging(true));
    EXPECT_EQ(scalar("SELECT flag5 FROM Archive_cfg"), "1");
    EXPECT_TRUE(UnknownPhysicianLogging());
}

TEST(EmailPassword, TheEntriesMustMatchAndANonEmptyPasswordHasSixCharactersAtLeast) {
    struct Case {
        const char* password;
        const char* confirm;
        const char* refusal;
    };
    const char* mismatch = "The two password entries do not match.  Please reconfirm your password.";
    const char* length = "The password must be between 6 and 12 characters.  Please enter a different password.";
    const Case cases[] = {
        {"", "", ""},                                           // the output distributor's default password
        {"abcde", "abcde", length},                             // 5 characters
        {"abcdef", "abcdef", ""},                               // 6
        {"\xc3\xa9t\xc3\xa9s1", "\xc3\xa9t\xc3\xa9s1", length}, // 5 characters in 7 bytes
        {"abcdef", "abcdeg", mismatch},                         // the match is checked first
        {"abc", "abd", mismatch},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EmailPasswordRefusal(c.password, c.confirm), c.refusal) << c.password;
}

} // namespace
