#include "VoiceFixture.h"
#include "clsVVSysConDefs.h"
#include "clsVVSysConTester.h"

using namespace voicesystems;
using suite::VeltraServices;
using suite::VeltraUser;

namespace {

class RemoteVoiceSystem : public kdtest::VoiceTest {
protected:
    void SetUp() override {
        VoiceTest::SetUp();
        services.SetConnection(adoString("VOICE"), 1, 1, kAdminPassword);
    }
    VeltraServices services;
};

TEST_F(RemoteVoiceSystem, AddsReadsUpdatesAndRemovesAUser) {
    VeltraUser u;
    u.UserId = 501;
    u.Facility = 2;
    u.UserName = "O'Hara, Jane";
    u.Gain = 3;
    u.Email = "jane@clinic.example";
    EXPECT_EQ(services.AddVeltraUser(u, "dictate"), "OK");
    EXPECT_EQ(remote("VOICE", "SELECT user_name FROM vv_users WHERE facility = 2 AND user_id = 501"), "O'Hara, Jane");
    EXPECT_EQ(remote("VOICE", "SELECT password_digest FROM vv_users WHERE user_id = 501"),
              VeltraServices::PasswordDigest(2, 501, "dictate"));

    VeltraUser read;
    bool found = false;
    EXPECT_EQ(services.GetSpecificVeltraUser(2, 501, read, found), "OK");
    EXPECT_TRUE(found);
    EXPECT_EQ(read, u);

    u.Suspended = true;
    u.Notes = "on leave";
    EXPECT_EQ(services.UpdateVeltraUser(u, ""), "OK");
    EXPECT_EQ(services.GetSpecificVeltraUser(2, 501, read, found), "OK");
    EXPECT_EQ(read, u);
    EXPECT_EQ(remote("VOICE", "SELECT password_digest FROM vv_users WHERE user_id = 501"),
              VeltraServices::PasswordDigest(2, 501, "dictate")); // an empty password keeps it

    EXPECT_EQ(services.RemoveVeltraUser(2, 501), "OK");
    EXPECT_EQ(services.GetSpecificVeltraUser(2, 501, read, found), "OK");
    EXPECT_FALSE(found);
    EXPECT_EQ(remote("VOICE", "SELECT COUNT(*) FROM vv_users"), "1"); // the administrator stays
}

TEST_F(RemoteVoiceSystem, ErrorsAnswerWithTheirText) {
    VeltraUser u;
    u.UserId = 7;
    u.Facility = 1;
    u.UserName = "Twice";
    ASSERT_EQ(services.AddVeltraUser(u, "pw"), "OK");
    EXPECT_NE(services.AddVeltraUser(u, "pw").find("The user already exists in this facility."), std::string::npos);
    EXPECT_NE(services.RemoveVeltraUser(1, 8).find("The user does not exist in this facility."), std::string::npos);
    EXPECT_NE(services.UpdateVeltraUser(VeltraUser{}, "").find("The user does not exist"), std::string::npos);

    VeltraServices wrongAdmin;
    wrongAdmin.SetConnection(adoString("VOICE"), 1, 1, "not-it");
    EXPECT_EQ(wrongAdmin.VerifyAdministrator(), "Invalid administrator credentials for user 1 in facility 1.");
    EXPECT_EQ(wrongAdmin.RemoveVeltraUser(1, 7), "Invalid administrator credentials for user 1 in facility 1.");
    VeltraServices notAdmin; // user 7 exists but is no administrator
    notAdmin.SetConnection(adoString("VOICE"), 7, 1, "pw");
    EXPECT_EQ(notAdmin.VerifyAdministrator(), "Invalid administrator credentials for user 7 in facility 1.");

    odbc.arrangeFault("VOICE", "refuse-connect 1");
    EXPECT_NE(services.VerifyAdministrator().find("SQL Server does not exist or access denied."), std::string::npos);
    EXPECT_EQ(services.VerifyAdministrator(), "OK"); // one refusal only

    VeltraServices badLogin;
    badLogin.SetConnection("User ID=vvlink;Password=wrong;Initial Catalog=VOICE;Data Source=" + odbc.folder(), 1, 1,
                           kAdminPassword);
    EXPECT_NE(badLogin.VerifyAdministrator().find("Login failed for user 'vvlink'."), std::string::npos);
}

TEST_F(RemoteVoiceSystem, NamedGroups) {
    suite::NamedGroups groups;
    EXPECT_EQ(services.GetNamedSecurityGroups(groups), "OK");
    EXPECT_EQ(groups, (suite::NamedGroups{{0, "Authors"}, {1, "Supervisors"}}));
    EXPECT_EQ(services.GetNamedConfigGroups(groups), "OK");
    EXPECT_EQ(groups, (suite::NamedGroups{{1, "Hands-free"}, {0, "Standard"}}));
}

class ConnectivityTest : public kdtest::VoiceTest {
protected:
    clsVVSysConDef definition(const std::string& connection, const std::string& adminPassword) {
        clsVVSysConDef def;
        def.SetSystemName("Test");
        def.SetConnectionType(1);
        def.SetConnectionString(connection);
        def.SetAdminUserId(1);
        def.SetAdminFacility(1);
        def.SetAdminPassword(adminPassword);
        return def;
    }
};

TEST_F(ConnectivityTest, PingsTheServersComputerUpToThreeTimes) {
    clsVVSysConTester tester;
    tester.SetDefinition(definition("Server=VOICEHOST\\SQLEXPRESS,1433;Database=VOICE", kAdminPassword));
    std::vector<std::string> pinged;
    std::vector<std::string> answers = {"Request Timed Out", "Request Timed Out", "Success"};
    tester.ping = [&](const std::string& host, int timeoutMs) {
        EXPECT_EQ(timeoutMs, 500);
        pinged.push_back(host);
        return answers[pinged.size() - 1];
    };
    EXPECT_TRUE(tester.ComputerReachable());
    EXPECT_EQ(pinged, (std::vector<std::string>{"VOICEHOST", "VOICEHOST", "VOICEHOST"}));
    answers = {"Host not found.", "Host not found.", "Host not found.", "Success"};
    pinged.clear();
    EXPECT_FALSE(tester.ComputerReachable());
    EXPECT_EQ(pinged.size(), 3u);
    EXPECT_EQ(tester.LastError(), "Host not found.");
}

TEST_F(ConnectivityTest, TrialConnectionAndAdministratorThroughTheDriver) {
    const std::string dsn = odbc.addSystemDsn("VELTRAVOICE", "VOICE");
    const std::string good = "DSN=" + dsn + ";Server=localhost;UID=vvlink;Password=" + kSqlPassword;
    foundation::EventLog::context().logDebug = true;
    clsVVSysConTester tester;
    tester.SetDefinition(definition(good, kAdminPassword));
    EXPECT_TRUE(tester.ComputerReachable()) << tester.LastError(); // localhost answers
    EXPECT_TRUE(tester.SqlServerReachable()) << tester.LastError();
    EXPECT_TRUE(tester.AdministratorValid()) << tester.LastError();
    const std::string debug = logged(20052);
    EXPECT_NE(debug.find("SQL Server connection string: DSN=" + dsn + ";Server=localhost;UID=vvlink\n"),
              std::string::npos);
    EXPECT_NE(debug.find("SQL Server connection state: 1\n"), std::string::npos);
    EXPECT_EQ(debug.find(kSqlPassword), std::string::npos);
    EXPECT_EQ(logged(20051), "");

    tester.SetDefinition(definition(good, "wrong"));
    EXPECT_FALSE(tester.AdministratorValid());
    EXPECT_EQ(logged(20051).substr(0, 24), "Veltra Voice System Test");
    EXPECT_NE(scalar("SELECT msg1 + ISNULL(msg2, '') FROM System_log WHERE error_code = 20051")
                  .find(") returned an error verifying credentials for user 1"),
              std::string::npos);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_log WHERE error_code = 20051 AND msg1 + ISNULL(msg2, '') LIKE "
                     "'%wrong%'"),
              "0");

    odbc.arrangeFault("VOICE", "refuse-connect 1");
    EXPECT_FALSE(tester.SqlServerReachable());
    EXPECT_EQ(tester.LastError().find("SQL Server does not exist or access denied.") == std::string::npos, false);
    EXPECT_NE(logged(20052).find("SQL Server connection state: 0\n"), std::string::npos);
}

} // namespace
