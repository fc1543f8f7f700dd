#include "Configuration.h"
#include "DatabaseSession.h"
#include "MessageService.h"
#include "OdbcFixture.h"
#include "PasswordCipher.h"
#include "SiteKey.h"
#include "TestSiteKey.h"

#include <filesystem>
#include <fstream>

using foundation::Configuration;
using foundation::DatabaseSession;
using platform::MessageRecorder;
using namespace kdtest;
namespace fs = std::filesystem;

namespace {

TEST(AffermativeValue, AcceptsTheSixWordsInAnyCaseAndNothingElse) {
    const std::pair<const char*, bool> cases[] = {{"enabled", true}, {" y ", true},    {"On", true},    {"YES", true},
                                                  {"true", true},    {"Enable", true}, {"yess", false}, {"", false},
                                                  {"no", false},     {"1", false},     {"Y ES", false}, {"   ", false}};
    for (const auto& [text, accepted] : cases)
        EXPECT_EQ(Configuration::AffermativeValue(text), accepted) << "'" << text << "'";
}

class ConfigurationTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = odbc.folder();
        config = Configuration{};
        DatabaseSession::instance().DisconnectFromSQL();
    }
    // Reading a site without its key file leaves the process without one.
    void TearDown() override { suite::PasswordCipher::UseSiteKey(testsupport::TestSiteKey()); }
    void writeIni(const std::string& text, const std::string& name = "KALDRA.INI") {
        std::ofstream(fs::path(dir) / name) << text;
        config.iniPath = (fs::path(dir) / name).string();
    }
    OdbcEnvironment odbc;
    MessageRecorder recorder;
    Configuration config;
    std::string dir;
};

TEST_F(ConfigurationTest, LocatesTheFileByArgumentCurrentFolderThenProgramFolder) {
    fs::create_directories(fs::path(dir) / "cwd");
    fs::create_directories(fs::path(dir) / "prog");
    std::ofstream(fs::path(dir) / "custom.ini") << "[System]\n";
    std::ofstream(fs::path(dir) / "prog" / "KALDRA.INI") << "[System]\n";
    EXPECT_TRUE(config.LocateKaldraINI({"/ini=" + dir + "/custom.ini"}, dir + "/cwd", dir + "/prog"));
    EXPECT_EQ(config.iniPath, dir + "/custom.ini");
    EXPECT_TRUE(config.LocateKaldraINI({"/INI=" + dir + "/missing.ini"}, dir + "/cwd/", dir + "/prog"));
    EXPECT_EQ(config.iniPath, (fs::path(dir) / "prog" / "KALDRA.INI").string());
    std::ofstream(fs::path(dir) / "cwd" / "KALDRA.INI") << "[System]\n";
    EXPECT_TRUE(config.LocateKaldraINI({}, dir + "/cwd", dir + "/prog"));
    EXPECT_EQ(config.iniPath, (fs::path(dir) / "cwd" / "KALDRA.INI").string());
    EXPECT_TRUE(recorder.shown.empty());
    EXPECT_FALSE(config.LocateKaldraINI({}, dir + "/nowhere", dir + "/nowhere"));
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text,
              "The KALDRA.INI configuration file could not be located.  Contact your system administrator.");
    EXPECT_EQ(recorder.shown[0].icon, platform::MsgIcon::Critical);
}

TEST_F(ConfigurationTest, ReadsEveryKeyWithItsDefault) {
    std::string dsn = odbc.addSystemDsn("CFG", "KALDRA");
    testsupport::PlaceTestSiteKey(dir + "/root");
    writeIni("[System]\nNetworkRootDir=" + dir + "/root\\\nODBCSource=" + dsn + "\nPassword=" +
             suite::PasswordCipher::encrypt("s3cret") + "\nPaxlet=Enabled\n[AdminDesktop]\nLogSize=abc\nLogSQL=on\n");
    ASSERT_TRUE(config.ReadKaldraINI()) << (recorder.shown.empty() ? "" : recorder.shown[0].text);
    EXPECT_EQ(config.networkRootDir, dir + "/root");
    EXPECT_EQ(config.sqlPassword, "s3cret");
    EXPECT_EQ(config.sqlUserName, "sa");
    EXPECT_EQ(config.softwareVersion, "2.0.0");
    EXPECT_EQ(config.offlineUpdateFrequency, "10");
    EXPECT_EQ(config.brandType, "0");
    EXPECT_TRUE(config.paxlet);
    EXPECT_FALSE(config.k2Dictation);
    EXPECT_TRUE(config.extendedProfile);
    EXPECT_TRUE(config.allowSettingSignaturePassword);
    EXPECT_TRUE(config.logSQL);
    EXPECT_EQ(config.logSize, 10); // "abc" is not a number
    EXPECT_FALSE(config.useDriverConnect);
    EXPECT_EQ(config.logFolder, (fs::path(dir) / "root" / "KALDRA" / "LOG" / "KDADMIN").string());
    EXPECT_TRUE(fs::is_directory(config.logFolder));
    EXPECT_EQ(DatabaseSession::instance().DataSourceName, dsn);
    EXPECT_EQ(DatabaseSession::instance().Password, "s3cret");
    EXPECT_TRUE(recorder.shown.empty());
}

TEST_F(ConfigurationTest, FatalProblemsStopWithTheirMessageBeforeAnyConnection) {
    struct Case {
        std::string ini;
        std::string message;
        std::string title;
    };
    const std::string root = "[System]\nNetworkRootDir=" + dir + "\n";
    const Case cases[] = {
        {"[System]\nServer=x\nDatabase=y\n",
         "Error - NetworkRootDir was not specified in the KALDRA.INI Configuration file.", "Veltra Desktop"},
        {root + "ODBCSource=NOT_A_DSN\nDatabase=KALDRA\n",
         "Error - Server was not specified in the KALDRA.INI Configuration file.", "Veltra Desktop"},
        {root + "Server=" + dir + "\n", "Error - Database was not specified in the KALDRA.INI Configuration file.",
         "Veltra Desktop"},
        {root + "Server=" + dir + "\nDatabase=K\nPassword=NOTHEX\n",
         "The SQL Server password in the KALDRA.INI file is corrupt. The program cannot proceed.",
         "Initialization Error"},
    };
    for (const auto& tc : cases) {
        recorder.shown.clear();
        writeIni(tc.ini);
        EXPECT_FALSE(config.ReadKaldraINI()) << tc.message;
        ASSERT_EQ(recorder.shown.size(), 1u) << tc.message;
        EXPECT_EQ(recorder.shown[0].text, tc.message);
        EXPECT_EQ(recorder.shown[0].title, tc.title);
        EXPECT_FALSE(DatabaseSession::instance().SQLConnected);
    }
}

TEST_F(ConfigurationTest, TheSiteKeyIsReadFromTheNetworkRootBeforeTheSqlPassword) {
    testsupport::PlaceTestSiteKey(dir);
    writeIni("[System]\nNetworkRootDir=" + dir + "\nServer=" + dir +
             "\nDatabase=KALDRA\nPassword=" + suite::PasswordCipher::encrypt("s3cret") + "\n");
    suite::PasswordCipher::UseOldKeyOnly(); // as a console before start-up
    ASSERT_TRUE(config.ReadKaldraINI()) << (recorder.shown.empty() ? "" : recorder.shown[0].text);
    EXPECT_EQ(config.sqlPassword, "s3cret");
    EXPECT_FALSE(config.siteKeyMissing);
    EXPECT_EQ(config.siteKeyPath, dir + "/KALDRA/SYSTEM/KDPASSWD.KEY");
    EXPECT_TRUE(suite::PasswordCipher::CanWrite());
}

// A site from before key files: its old values are read, and nothing is written until the key exists.
TEST_F(ConfigurationTest, WithoutAKeyFileOldValuesAreReadAndNoPasswordIsWritten) {
    writeIni("[System]\nNetworkRootDir=" + dir + "\nServer=" + dir +
             "\nDatabase=KALDRA\nPassword=" + suite::PasswordCipher::encryptUnderOldKey("old-s3cret") + "\n");
    ASSERT_TRUE(config.ReadKaldraINI()) << (recorder.shown.empty() ? "" : recorder.shown[0].text);
    EXPECT_EQ(config.sqlPassword, "old-s3cret");
    EXPECT_TRUE(config.siteKeyMissing);
    EXPECT_EQ(config.siteKeyPath, dir + "/KALDRA/SYSTEM/KDPASSWD.KEY");
    EXPECT_FALSE(suite::PasswordCipher::CanWrite());
    EXPECT_TRUE(recorder.shown.empty());
}

TEST_F(ConfigurationTest, ARefusedKeyFileStopsTheStartUp) {
    const std::string key = suite::SiteKey::PathUnder(dir);
    struct Case {
        const char* name;
        std::string content;
        fs::perms mode;
        std::string why;
    };
    const auto owner = fs::perms::owner_read | fs::perms::owner_write;
    const Case cases[] = {
        {"empty", "", owner, "is empty. A key file holds exactly 32 bytes."},
        {"short", std::string(16, 'k'), owner, "is too short (16 bytes). A key file holds exactly 32 bytes."},
        {"world-writable", std::string(32, 'k'), owner | fs::perms::others_write,
         "can be changed by users other than its owner. Make it writable by its owner only (chmod 600) and start the "
         "program again."},
    };
    writeIni("[System]\nNetworkRootDir=" + dir + "\nServer=" + dir + "\nDatabase=KALDRA\n");
    for (const auto& c : cases) {
        recorder.shown.clear();
        fs::create_directories(fs::path(key).parent_path());
        std::ofstream(key, std::ios::trunc) << c.content;
        fs::permissions(key, c.mode, fs::perm_options::replace);
        EXPECT_FALSE(config.ReadKaldraINI()) << c.name;
        ASSERT_EQ(recorder.shown.size(), 1u) << c.name;
        EXPECT_EQ(recorder.shown[0].text, "The password key file " + key + " " + c.why + " The program cannot proceed.")
            << c.name;
        EXPECT_EQ(recorder.shown[0].title, "Initialization Error");
        EXPECT_EQ(recorder.shown[0].icon, platform::MsgIcon::Critical);
        EXPECT_FALSE(suite::PasswordCipher::CanWrite()) << c.name;
    }
}

// Another site's key file reads none of this site's values: the SQL password is taken as corrupt.
TEST_F(ConfigurationTest, AnotherSitesKeyFileCannotReadTheSqlPassword) {
    writeIni("[System]\nNetworkRootDir=" + dir + "\nServer=" + dir +
             "\nDatabase=KALDRA\nPassword=" + suite::PasswordCipher::encrypt("s3cret") + "\n");
    ASSERT_TRUE(suite::SiteKey::Create(suite::SiteKey::PathUnder(dir)).ok());
    EXPECT_FALSE(config.ReadKaldraINI());
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text,
              "The SQL Server password in the KALDRA.INI file is corrupt. The program cannot proceed.");
}

TEST_F(ConfigurationTest, NoDataSourceMeansConnectingByDriver) {
    writeIni("[System]\nNetworkRootDir=" + dir + "\nServer=" + dir + "\nDatabase=KALDRA\nUser=kdadmin\n");
    ASSERT_TRUE(config.ReadKaldraINI());
    EXPECT_TRUE(config.useDriverConnect);
    EXPECT_TRUE(DatabaseSession::instance().UseDriverConnect);
    EXPECT_EQ(DatabaseSession::instance().ConnectionString().rfind("UID=kdadmin;PWD=;Database=KALDRA;Server=" + dir, 0),
              0u);
}

TEST_F(ConfigurationTest, RegistryGivesLocalRootAndModes) {
    setenv("KDADMIN_REGISTRY_MACHINE", (dir + "/machine.ini").c_str(), 1);
    std::ofstream(dir + "/machine.ini")
        << "[SOFTWARE\\Corvane and Company\\Tessaly Report 2.0 for Windows\\2.0]\nLocalRootDir=" << dir
        << "/local/\nRemoteOnline=true\nTerminalServerSupport=no\n";
    config.ReadRegistry();
    EXPECT_EQ(config.localRootDir, dir + "/local");
    EXPECT_TRUE(config.remoteOnline);
    EXPECT_FALSE(config.terminalServerSupport);
    EXPECT_TRUE(fs::is_directory(dir + "/local/KALDRA/LOG/KDADMIN"));
    // Remote mode keeps the log folder under the local root.
    writeIni("[System]\nNetworkRootDir=" + dir + "/net\nServer=" + dir + "\nDatabase=K\n");
    ASSERT_TRUE(config.ReadKaldraINI());
    EXPECT_EQ(config.logFolder, dir + "/local/KALDRA/LOG/KDADMIN");
    unsetenv("KDADMIN_REGISTRY_MACHINE");
}

TEST_F(ConfigurationTest, HostileValuesAreReadAsText) {
    writeIni("[System]\nNetworkRootDir=" + dir + "\nServer=" + dir + "\nDatabase=" + std::string(10000, 'd') +
             "\nUser=o'brien\"; DROP\n");
    ASSERT_TRUE(config.ReadKaldraINI());
    EXPECT_EQ(config.databaseName.size(), 127u); // a 128-byte buffer
    EXPECT_EQ(config.sqlUserName, "o'brien\"; DROP");
}

} // namespace
