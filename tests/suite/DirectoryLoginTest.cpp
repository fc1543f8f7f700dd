#include "DecimalCommaLocale.h"
#include "DemoSite.h"
#include "DirectorySettings.h"
#include "LoginComponent.h"
#include "OdbcFixture.h"
#include "PasswordCipher.h"
#include "TestDirectory.h"

#include <deque>
#include <filesystem>

using kdtest::SlapdServer;
using kdtest::TestDirectory;
using suite::LoginComponent;
namespace fs = std::filesystem;

namespace {

class CredentialsPrompt : public suite::LoginPrompt {
public:
    std::deque<std::pair<std::string, std::string>> credentials;
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
    bool askNewPassword(std::string&, std::string&, const std::string& message) override {
        messages.push_back(message);
        return false;
    }
};

// The demo site with policy 60, "Directory", whose users log in against the test directory with
// intruder detection after 3 attempts. JDOE, the ü-named and the CJK-named user follow it; each
// also has a stored suite password that the directory policy must not accept.
class DirectoryLoginTest : public kdtest::DirectoryServerTest {
protected:
    void SetUp() override {
        DirectoryServerTest::SetUp();
        if (!ready())
            return;
        kdtest::OdbcEnvironment odbcConfig;
        char pattern[] = "/tmp/kddirlogin-XXXXXX";
        folder = mkdtemp(pattern);
        demo::createDemoSite(folder + "/site", KD_DRIVER_PATH);
        login.SQLServerName = folder + "/site/SQL";
        login.SQLDBName = "KALDRA";
        login.SQLUserName = "kdadmin";
        login.SQLPassword = "kdadmin-demo";
        login.prompt = &prompt;
        ASSERT_TRUE(login.connect());
        setSettings(settings());
        const std::string stored = "0x" + suite::PasswordCipher::encrypt("suite-pass");
        exec("INSERT System_user_bindery (user_id, user_name, password, first_name, last_name, flag3, flag4, "
             "is_deleted, partition_id) VALUES (9001, 'JDOE', " +
             stored + ", 'John', 'Doe', 0, 60, 0, 0)\n" +
             "INSERT System_user_bindery (user_id, user_name, password, flag3, flag4, is_deleted) VALUES (9002, '" +
             TestDirectory::kMuellerName + "', " + stored + ", 0, 60, 0)\n" +
             "INSERT System_user_bindery (user_id, user_name, password, flag3, flag4, is_deleted) VALUES (9003, '" +
             TestDirectory::kWangName + "', " + stored + ", 0, 60, 0)");
    }
    void TearDown() override {
        login.DisconnectSQL();
        if (!folder.empty())
            fs::remove_all(folder);
    }
    static suite::DirectorySettings settings() { return TestDirectory::settings(*server); }
    void setSettings(const suite::DirectorySettings& s) { setStoredText(s.toText()); }
    void setStoredText(const std::string& text) {
        exec("DELETE FROM System_user_policies WHERE policy_id = 60\n"
             "INSERT System_user_policies (policy_id, policy_name, intruder_detection_enabled, maximum_login_attempts, "
             "lockout_duration, password_expiration_days, flag2, string2) VALUES (60, 'Directory', 1, 3, 0, 15, 2, " +
             suite::SuiteConnection::quote(text) + ")");
    }
    void exec(const std::string& sql) { ASSERT_TRUE(login.database().execute(sql)) << login.database().lastError(); }
    std::string scalar(const std::string& sql) {
        auto rows = login.database().query(sql);
        return rows && !rows->empty() && !rows->front().empty() ? rows->front()[0].value_or("<NULL>") : "<none>";
    }
    std::string attempts(long userId) {
        return scalar("SELECT nbr_bad_attempts FROM System_user_bindery WHERE user_id = " + std::to_string(userId));
    }

    std::string folder;
    LoginComponent login;
    CredentialsPrompt prompt;
};

using O = LoginComponent::Outcome;

TEST_F(DirectoryLoginTest, TheDirectoryPasswordLogsInAndTheStoredOneDoesNot) {
    EXPECT_EQ(login.Authenticate("JDOE", "suite-pass"), O::WrongCredentials);
    EXPECT_EQ(attempts(9001), "1");
    EXPECT_EQ(login.Authenticate("jdoe", TestDirectory::kJdoePassword), O::LoggedIn);
    EXPECT_EQ(login.user.user_id, 9001);
    EXPECT_EQ(login.user.first_name, "John");
    EXPECT_EQ(attempts(9001), "0"); // a good log-in clears the count
    EXPECT_NE(scalar("SELECT last_access_datetime FROM System_user_bindery WHERE user_id = 9001"), "<NULL>");
    EXPECT_EQ(login.policy().authenticationType, suite::PasswordPolicy::kDirectoryAuthentication);
}

TEST_F(DirectoryLoginTest, NamesAndPasswordsWithTwoAndThreeByteCharacters) {
    EXPECT_EQ(login.Authenticate(TestDirectory::kMuellerName, TestDirectory::kMuellerPassword), O::LoggedIn);
    EXPECT_EQ(login.user.user_id, 9002);
    EXPECT_EQ(login.Authenticate(TestDirectory::kWangName, TestDirectory::kWangPassword), O::LoggedIn);
    EXPECT_EQ(login.user.user_id, 9003);
    EXPECT_EQ(login.Authenticate(TestDirectory::kWangName, "\xe5\xaf\x86\xe7\xa0\x81secret"), O::WrongCredentials);
    EXPECT_EQ(attempts(9003), "1");
}

TEST_F(DirectoryLoginTest, WrongPasswordsCountTowardIntruderDetection) {
    prompt.credentials = {
        {"JDOE", "bad-1"}, {"JDOE", "bad-2"}, {"JDOE", "bad-3"}, {"JDOE", TestDirectory::kJdoePassword}};
    EXPECT_EQ(login.Login(true, 0, ""), 1); // the script ends with Cancel
    ASSERT_EQ(prompt.messages.size(), 4u);
    EXPECT_EQ(prompt.messages[0], "Invalid user name or password.  Please try again.");
    EXPECT_EQ(prompt.messages[1], "Invalid user name or password.  Please try again.");
    EXPECT_EQ(prompt.messages[2], "Too many failed log-in attempts.  The account for user JDOE has been locked out.");
    // The lock-out lasts until reset: the right directory password no longer opens the account.
    EXPECT_EQ(prompt.messages[3], "The account for user JDOE is locked out.  Contact your system administrator.");
    EXPECT_EQ(scalar("SELECT locked_out FROM System_user_bindery WHERE user_id = 9001"), "1");
}

TEST_F(DirectoryLoginTest, AnUnreachableDirectoryRefusesWithAClearMessageAndCountsNothing) {
    auto s = settings();
    s.port = std::to_string(SlapdServer::closedPort());
    setSettings(s);
    prompt.credentials = {{"JDOE", TestDirectory::kJdoePassword}};
    EXPECT_EQ(login.Login(true, 0, ""), 1);
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0], "Your password could not be checked by the directory server.  The directory server "
                                  "127.0.0.1 could not be reached: Can't contact LDAP server.  Please try again later "
                                  "or contact your system administrator.");
    EXPECT_EQ(attempts(9001), "0");
    EXPECT_EQ(login.user.user_id, 0);
}

TEST_F(DirectoryLoginTest, AnUnreachablePrimaryFallsBackToTheBackupServer) {
    auto s = settings();
    s.server = "127.0.0.2"; // loopback, but the test server listens on 127.0.0.1 only
    s.backupServer = "127.0.0.1";
    setSettings(s);
    EXPECT_EQ(login.Authenticate("JDOE", TestDirectory::kJdoePassword), O::LoggedIn);
    EXPECT_EQ(login.Authenticate("JDOE", "bad"), O::WrongCredentials);
    EXPECT_EQ(attempts(9001), "1");
}

TEST_F(DirectoryLoginTest, SettingsThatDoNotWorkRefuseWithTheirReason) {
    struct Case {
        const char* what;
        std::string text;
        std::string messagePart;
    };
    auto wrongBase = settings();
    wrongBase.searchBase = "ou=nowhere,dc=kaldra,dc=test";
    auto wrongBind = settings();
    wrongBind.bindPassword = "nope";
    const Case cases[] = {
        {"wrong search base", wrongBase.toText(), "The search base ou=nowhere,dc=kaldra,dc=test does not exist"},
        {"wrong bind password", wrongBind.toText(), "refused the bind DN cn=reader,ou=service,dc=kaldra,dc=test"},
        {"no settings stored", "", "No directory server is set in the user policy."},
        {"damaged text", "\x01garbage?%%?", "No search base is set"},
        {"damaged server field", "\x01garbage?%%?cn=x?ZZ?dc=kaldra,dc=test?", "cannot be used"},
    };
    for (const auto& c : cases) {
        setStoredText(c.text);
        EXPECT_EQ(login.Authenticate("JDOE", TestDirectory::kJdoePassword), O::DirectoryUnavailable) << c.what;
        const std::string message = login.messageFor(O::DirectoryUnavailable, "JDOE");
        EXPECT_NE(message.find(c.messagePart), std::string::npos) << c.what << ": " << message;
        EXPECT_EQ(attempts(9001), "0") << c.what;
    }
}

TEST_F(DirectoryLoginTest, SuiteRulesForStoredPasswordsDoNotApply) {
    // Must-change and the policy's 15-day expiry belong to stored passwords; the directory keeps its own.
    exec("UPDATE System_user_bindery SET must_change_password = 1, password_changed_datetime = '2001-01-01' "
         "WHERE user_id = 9001");
    EXPECT_EQ(login.Authenticate("JDOE", TestDirectory::kJdoePassword), O::LoggedIn);
    EXPECT_EQ(login.SetNewPassword("New-Pass22", "New-Pass22"),
              "Your password is checked by the directory server and cannot be changed here.  Change it where your "
              "directory account is kept.");
    EXPECT_EQ(scalar("SELECT must_change_password FROM System_user_bindery WHERE user_id = 9001"), "1");
}

TEST_F(DirectoryLoginTest, OtherPoliciesKeepTheStoredPasswords) {
    exec("UPDATE System_user_bindery SET flag4 = 0 WHERE user_id = 9001");
    EXPECT_EQ(login.Authenticate("JDOE", TestDirectory::kJdoePassword), O::WrongCredentials);
    EXPECT_EQ(login.Authenticate("JDOE", "suite-pass"), O::LoggedIn);
}

TEST_F(DirectoryLoginTest, LogInUnderADecimalCommaLocale) {
    kdtest::DecimalCommaLocale locale;
    KD_REQUIRE_DECIMAL_COMMA(locale);
    auto s = settings();
    s.timeout = 3;
    setSettings(s);
    EXPECT_EQ(login.Authenticate(TestDirectory::kMuellerName, TestDirectory::kMuellerPassword), O::LoggedIn);
    EXPECT_EQ(login.Authenticate("JDOE", "bad"), O::WrongCredentials);
    EXPECT_EQ(attempts(9001), "1");
}

} // namespace
