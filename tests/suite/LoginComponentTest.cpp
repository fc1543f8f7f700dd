#include "LoginComponent.h"
#include "DemoSite.h"
#include "OdbcFixture.h"
#include "PasswordCipher.h"

#include <deque>
#include <filesystem>

using suite::LoginComponent;
namespace fs = std::filesystem;

namespace {

// Answers the log-in dialogs from queues and records what they were told.
class ScriptedPrompt : public suite::LoginPrompt {
public:
    std::deque<std::pair<std::string, std::string>> credentials;
    std::deque<std::string> newPasswords;
    std::vector<std::string> messages;

    bool askCredentials(std::string& name, std::string& password, const std::string& message) override {
        if (!message.empty())
            messages.push_back(message);
        if (credentials.empty())
            return false;
        std::tie(name, password) = credentials.front();
        credentials.pop_front();
        return true;
    }
    bool askNewPassword(std::string& password, std::string& confirm, const std::string& message) override {
        if (!message.empty())
            messages.push_back(message);
        if (newPasswords.empty())
            return false;
        password = confirm = newPasswords.front();
        newPasswords.pop_front();
        return true;
    }
};

class LoginTest : public ::testing::Test {
protected:
    void SetUp() override {
        kdtest::OdbcEnvironment odbcConfig; // registers the driver for this process
        char pattern[] = "/tmp/kdlogin-XXXXXX";
        folder = mkdtemp(pattern);
        demo::createDemoSite(folder + "/site", KD_DRIVER_PATH);
        configure(login);
    }
    void TearDown() override {
        login.DisconnectSQL();
        fs::remove_all(folder);
    }
    void configure(LoginComponent& c) {
        c.SQLServerName = folder + "/site/SQL";
        c.SQLDBName = "KALDRA";
        c.SQLUserName = "kdadmin";
        c.SQLPassword = "kdadmin-demo";
        c.prompt = &prompt;
    }
    std::string scalar(const std::string& sql) {
        auto rows = login.database().query(sql);
        return rows && !rows->empty() && !rows->front().empty() ? rows->front()[0].value_or("<NULL>") : "<none>";
    }

    std::string folder;
    LoginComponent login;
    ScriptedPrompt prompt;
};

TEST_F(LoginTest, RightPasswordLogsInAndFillsTheUser) {
    prompt.credentials = {{"ADMINISTRATOR", "demo"}};
    ASSERT_EQ(login.Login(true, 0, ""), 0);
    EXPECT_EQ(login.user.user_id, 1);
    EXPECT_EQ(login.user.user_name, "ADMINISTRATOR");
    EXPECT_TRUE(login.user.is_administrator);
    EXPECT_TRUE(login.user.is_trans_admin);
    EXPECT_TRUE(login.user.is_paxlet_admin);
    EXPECT_EQ(login.user.Partition_Name, "Root");
    EXPECT_TRUE(prompt.messages.empty());
    EXPECT_EQ(login.version, "8.1");
}

TEST_F(LoginTest, OutcomesForEachKindOfAccount) {
    ASSERT_TRUE(login.connect());
    using O = LoginComponent::Outcome;
    const std::string longPassword(10000, 'p');
    struct Case {
        const char* name;
        const char* password;
        O outcome;
    };
    const Case cases[] = {
        {"ADMINISTRATOR", "DEMO", O::LoggedIn}, // the default policy compares without case
        {"administrator", "demo", O::LoggedIn}, // user names compare without case
        {"ADMINISTRATOR", "wrong", O::WrongCredentials},
        {"NOBODY", "demo", O::WrongCredentials},
        {"RTEMPLE", "demo", O::WrongCredentials}, // deleted
        {"DMILLER", "demo", O::Disabled},
        {"BWILSON", "demo", O::LockedOut},
        {"KNGUYEN", "demo", O::MustChangePassword},
        {"MJONES", "DEMO", O::WrongCredentials}, // policy 1 is case sensitive
        {"o'brien'; DROP TABLE Account_info --", "x", O::WrongCredentials},
        {"ADMINISTRATOR", longPassword.c_str(), O::WrongCredentials},
        {"Zoë\t\x01", "dëmo", O::WrongCredentials},
    };
    for (const auto& tc : cases)
        EXPECT_EQ(login.Authenticate(tc.name, tc.password), tc.outcome) << tc.name;
    EXPECT_NE(scalar("SELECT COUNT(*) FROM Account_info"), "<none>");
}

TEST_F(LoginTest, IntruderDetectionLocksTheAccountAtThePolicysLimit) {
    // TLEE's policy: intruder detection after 3 attempts.
    prompt.credentials = {{"TLEE", "bad1"}, {"TLEE", "bad2"}, {"TLEE", "bad3"}, {"TLEE", "demo"}};
    EXPECT_EQ(login.Login(true, 0, ""), 1); // the script ends with Cancel
    ASSERT_EQ(prompt.messages.size(), 4u);
    EXPECT_EQ(prompt.messages[0], "Invalid user name or password.  Please try again.");
    EXPECT_EQ(prompt.messages[2], "Too many failed log-in attempts.  The account for user TLEE has been locked out.");
    EXPECT_EQ(prompt.messages[3], "The account for user TLEE is locked out.  Contact your system administrator.");
    EXPECT_EQ(scalar("SELECT locked_out FROM System_user_bindery WHERE user_name = 'TLEE'"), "1");
    EXPECT_EQ(scalar("SELECT nbr_bad_attempts FROM System_user_bindery WHERE user_name = 'TLEE'"), "3");
}

TEST_F(LoginTest, AGoodLogInClearsTheBadAttemptCount) {
    prompt.credentials = {{"MJONES", "bad"}, {"MJONES", "demo"}};
    ASSERT_EQ(login.Login(true, 0, ""), 0);
    EXPECT_EQ(scalar("SELECT nbr_bad_attempts FROM System_user_bindery WHERE user_name = 'MJONES'"), "0");
}

TEST_F(LoginTest, MustChangePasswordAsksUntilThePolicyIsMet) {
    prompt.credentials = {{"KNGUYEN", "demo"}};
    prompt.newPasswords = {"short", "longpassword1", "Longpassword!", "Longpass1!"};
    ASSERT_EQ(login.Login(true, 0, ""), 0);
    ASSERT_EQ(prompt.messages.size(), 4u);
    EXPECT_EQ(prompt.messages[1],
              "Your login password must be at least 8 characters long.  Please enter a different login password.");
    EXPECT_EQ(prompt.messages[2], "Your new login password must have at least one symbol character.  Please enter a "
                                  "different login password.");
    EXPECT_EQ(prompt.messages[3], "Your new login password must have at least one letter (A-Z) and one number (0-9).  "
                                  "Please enter a different login password.");
    std::string hex = scalar("SELECT CONVERT(binary(30), password) FROM System_user_bindery WHERE user_id = 103");
    EXPECT_EQ(suite::PasswordCipher::decrypt(hex.substr(0, 60)), "Longpass1!");
    EXPECT_EQ(scalar("SELECT must_change_password FROM System_user_bindery WHERE user_id = 103"), "0");
}

// The password dialog's check counts characters: seven accented characters are not eight, however many
// bytes they take.
TEST_F(LoginTest, TheNewPasswordLengthCountsCharacters) {
    prompt.credentials = {{"KNGUYEN", "demo"}};
    prompt.newPasswords = {"Ab1!\xc3\xa9\xc3\xa9\xc3\xa9", "Ab1!\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9"};
    ASSERT_EQ(login.Login(true, 0, ""), 0);
    ASSERT_EQ(prompt.messages.size(), 2u);
    EXPECT_EQ(prompt.messages[1],
              "Your login password must be at least 8 characters long.  Please enter a different login password.");
    EXPECT_EQ(login.user.password, "Ab1!\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9");
}

TEST_F(LoginTest, EffectivePrivilegesCombineTheUsersAndItsGroups) {
    ASSERT_TRUE(login.connect());
    login.database().execute(
        "INSERT System_user_bindery (user_id, user_name, password, privilege_set1, partition_id) VALUES (300, "
        "'GROUPIE', 0x" +
        suite::PasswordCipher::encrypt("demo") +
        ", CHAR(2) + REPLICATE(CHAR(1), 159), 3)\n"
        "INSERT INTO System_security_groups VALUES (202, 300, NULL, 0, 0, 0, NULL, NULL, NULL)\n"
        "INSERT Privileges_accounts VALUES (202, 2, REPLICATE(CHAR(1), 99) + CHAR(2), NULL)");
    ASSERT_EQ(login.Authenticate("GROUPIE", "demo"), LoginComponent::Outcome::LoggedIn);
    // Positions count from 0: the user's own string grants 0, the group's grants 5 to 9.
    const std::pair<int, bool> cases[] = {{0, true},   {1, false},   {4, false},  {5, true},   {9, true},
                                          {10, false}, {159, false}, {-1, false}, {160, false}};
    for (const auto& [n, granted] : cases)
        EXPECT_EQ(login.user.privilege(n), granted) << n;
    ASSERT_TRUE(login.LoadAccountData());
    int north = login.GetAcctIndex(2);
    ASSERT_GT(north, 0);
    EXPECT_TRUE(login.HospAccountAt(north).privilege(99));
    EXPECT_FALSE(login.HospAccountAt(north).privilege(98));
    EXPECT_FALSE(login.HospAccountAt(north).privilege(100));
}

TEST_F(LoginTest, AccountCacheHoldsAccountsWithDepartmentsAndReportTypes) {
    prompt.credentials = {{"MJONES", "demo"}};
    ASSERT_EQ(login.Login(true, 0, ""), 0);
    ASSERT_TRUE(login.LoadAccountData());
    EXPECT_EQ(login.NumberHospAccounts(), 13);
    EXPECT_EQ(login.HospAccountAt(1).hosp_acct_id, -1);
    EXPECT_EQ(login.GetAcctIndex(424242), 0);
    const auto& heart = login.HospAccountAt(login.GetAcctIndex(9));
    EXPECT_EQ(heart.hosp_acct_name, "Heart Institute");
    EXPECT_EQ(heart.Partition_ID, 6);
    EXPECT_EQ(heart.ReportTypes.size(), 6u);
    EXPECT_EQ(heart.Departments, std::vector<long>{0});
    EXPECT_TRUE(login.HospAccountAt(login.GetAcctIndex(12)).is_deleted);
    EXPECT_TRUE(login.HospAccountAt(login.GetAcctIndex(1)).privilege(59)); // the demo grants positions 0 to 59
    EXPECT_FALSE(login.HospAccountAt(login.GetAcctIndex(1)).privilege(60));
}

TEST_F(LoginTest, UserOptionsPersistPerUser) {
    prompt.credentials = {{"ADMINISTRATOR", "demo"}};
    ASSERT_EQ(login.Login(true, 0, ""), 0);
    ASSERT_TRUE(login.LoadUserOptions());
    EXPECT_EQ(login.GetUserOptionValue("LastHomeScreen", "0"), "0");
    login.AddUserOption("LastHomeScreen", "2");
    login.AddUserOption("PFSearchAllAccounts", "it's 1");
    ASSERT_TRUE(login.SaveUserOptions());

    LoginComponent again;
    configure(again);
    prompt.credentials = {{"ADMINISTRATOR", "demo"}};
    ASSERT_EQ(again.Login(true, 0, ""), 0);
    ASSERT_TRUE(again.LoadUserOptions());
    EXPECT_EQ(again.GetUserOptionValue("lasthomescreen", "0"), "2");
    EXPECT_EQ(again.GetUserOptionValue("PFSearchAllAccounts", "0"), "it's 1");
    again.Logoff();
    EXPECT_EQ(again.user.user_id, 0);
}

TEST_F(LoginTest, UnreachableDatabaseAndCancel) {
    LoginComponent nowhere;
    configure(nowhere);
    nowhere.SQLServerName = folder + "/nowhere";
    EXPECT_EQ(nowhere.Login(true, 0, ""), 2);
    EXPECT_EQ(login.Login(true, 0, ""), 1); // no credentials given: Cancel
}

} // namespace

namespace {

TEST_F(LoginTest, ATimedLockOutEndsAfterThePolicysDuration) {
    ASSERT_TRUE(login.connect());
    login.database().execute("UPDATE System_user_bindery SET locked_out = 1, nbr_bad_attempts = 3, "
                             "last_attempt_datetime = DATEADD(minute, -31, GETDATE()) WHERE user_name = 'TLEE'");
    EXPECT_EQ(login.Authenticate("TLEE", "demo"), LoginComponent::Outcome::LoggedIn);
    login.database().execute("UPDATE System_user_bindery SET locked_out = 1, "
                             "last_attempt_datetime = DATEADD(minute, -29, GETDATE()) WHERE user_name = 'TLEE'");
    EXPECT_EQ(login.Authenticate("TLEE", "demo"), LoginComponent::Outcome::LockedOut);
}

// The lock-out list stores 24 hours as 3600 and 48 hours as 7200; they last a day and two days.
TEST_F(LoginTest, StoredLockOutValuesOfADayAndTwoDays) {
    ASSERT_TRUE(login.connect());
    struct Case {
        int stored, minutesAgo;
        LoginComponent::Outcome expected;
    };
    const Case cases[] = {
        {3600, 1441, LoginComponent::Outcome::LoggedIn}, {3600, 1439, LoginComponent::Outcome::LockedOut},
        {7200, 2881, LoginComponent::Outcome::LoggedIn}, {7200, 2879, LoginComponent::Outcome::LockedOut},
        {0, 100000, LoginComponent::Outcome::LockedOut}, // until an administrator resets the account
    };
    for (const auto& c : cases) {
        login.database().execute("UPDATE System_user_policies SET intruder_detection_enabled = 1, lockout_duration = " +
                                 std::to_string(c.stored) +
                                 " WHERE policy_id = (SELECT flag4 FROM System_user_bindery WHERE user_name = 'TLEE')");
        login.database().execute("UPDATE System_user_bindery SET locked_out = 1, nbr_bad_attempts = 3, "
                                 "last_attempt_datetime = DATEADD(minute, -" +
                                 std::to_string(c.minutesAgo) + ", GETDATE()) WHERE user_name = 'TLEE'");
        EXPECT_EQ(login.Authenticate("TLEE", "demo"), c.expected) << c.stored << " " << c.minutesAgo;
    }
}

} // namespace
