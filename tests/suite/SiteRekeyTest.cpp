#include "DemoSite.h"
#include "DirectorySettings.h"
#include "LoginComponent.h"
#include "OdbcFixture.h"
#include "OldKeySite.h"
#include "PasswordCipher.h"
#include "PrivateProfile.h"
#include "SiteKey.h"
#include "SiteRekeyCommand.h"
#include "SuiteConnection.h"
#include "TestSiteKey.h"

#include <filesystem>
#include <map>
#include <sstream>

using suite::PasswordCipher;
using Origin = PasswordCipher::Origin;
namespace fs = std::filesystem;

namespace {

// One stored password: where it is and what it reads as.
struct StoredValue {
    std::string where; // "bindery 101 password", "voice 1 admin_password", "ini System", …
    std::string value;
};

class SiteRekeyTest : public ::testing::Test {
protected:
    void SetUp() override {
        kdtest::OdbcEnvironment odbcConfig; // registers the driver for this process
        char pattern[] = "/tmp/kdrekey-XXXXXX";
        folder = mkdtemp(pattern);
        site = folder + "/site";
        demo::createDemoSite(site, KD_DRIVER_PATH);
        ASSERT_TRUE(db.open(connectionString(site)));
    }
    void TearDown() override {
        db.close();
        fs::remove_all(folder);
        PasswordCipher::UseSiteKey(testsupport::TestSiteKey());
    }
    static std::string connectionString(const std::string& root) {
        return "Driver={SQL Server};Server=" + root + "/SQL;Database=KALDRA;UID=kdadmin;PWD=kdadmin-demo";
    }
    std::string ini() const { return site + "/KALDRA.INI"; }
    std::string keyPath() const { return suite::SiteKey::PathUnder(site); }

    // Every stored password of the site: both bindery columns, the voice systems' columns and the
    // password part of their connection strings, and the configuration file's two.
    std::vector<StoredValue> storedValues() {
        std::vector<StoredValue> out;
        auto rows = db.query("SELECT user_id, password, signature_password FROM System_user_bindery ORDER BY user_id");
        EXPECT_TRUE(rows) << db.lastError();
        for (const auto& r : *rows) {
            if (r[1])
                out.push_back({"bindery " + *r[0] + " password", r[1]->substr(0, 60)});
            if (r[2])
                out.push_back({"bindery " + *r[0] + " signature", r[2]->substr(0, 60)});
        }
        rows = db.query("SELECT system_id, password_name, admin_password, connection_string FROM voice_systems");
        EXPECT_TRUE(rows) << db.lastError();
        for (const auto& r : *rows) {
            if (r[1] && !r[1]->empty())
                out.push_back({"voice " + *r[0] + " password_name", *r[1]});
            if (r[2] && !r[2]->empty())
                out.push_back({"voice " + *r[0] + " admin_password", *r[2]});
            const std::string cs = r[3].value_or("");
            const size_t at = cs.find("Password=");
            if (at != std::string::npos)
                out.push_back({"voice " + *r[0] + " connection string", cs.substr(at + 9, cs.find(';', at) - at - 9)});
        }
        for (const char* section : {"System", "Updater"})
            out.push_back(
                {std::string("ini ") + section, platform::PrivateProfile::read(section, "Password", "", ini(), 1024)});
        return out;
    }

    // The plain text of every stored value, read with the process's key.
    std::map<std::string, std::string> plainValues() {
        std::map<std::string, std::string> out;
        for (const auto& v : storedValues())
            out[v.where] = PasswordCipher::decrypt(v.value);
        return out;
    }

    void makeSiteFromBeforeKeys() {
        kdtest::MakeSiteFromBeforeKeys(db, site);
        for (const auto& v : storedValues()) {
            Origin origin = Origin::Unreadable;
            (void)PasswordCipher::decrypt(v.value, &origin);
            ASSERT_EQ(origin, Origin::OldKey) << v.where;
        }
    }

    // Adds users under the old key so that the re-keying needs several batches.
    void addOldUsers(int count) {
        std::string batch;
        for (int i = 0; i < count; ++i)
            batch += "INSERT System_user_bindery (user_id, user_name, password) VALUES (" + std::to_string(50000 + i) +
                     ", 'BULK" + std::to_string(i) + "', 0x" +
                     PasswordCipher::encryptUnderOldKey("bulk" + std::to_string(i)) + ")\n";
        ASSERT_TRUE(db.execute(batch)) << db.lastError();
    }

    using LoginOutcome = suite::LoginComponent::Outcome;
    std::map<std::string, LoginOutcome> logInEveryDemoUser(const std::map<std::string, std::string>& plain);

    std::string folder, site;
    suite::SuiteConnection db;
};

std::map<std::string, SiteRekeyTest::LoginOutcome>
SiteRekeyTest::logInEveryDemoUser(const std::map<std::string, std::string>& plain) {
    std::map<std::string, LoginOutcome> out;
    auto rows = db.query("SELECT user_id, user_name FROM System_user_bindery WHERE password IS NOT NULL AND "
                         "enabled = 1 AND locked_out = 0 AND is_deleted = 0 AND user_id < 50000");
    EXPECT_TRUE(rows);
    for (const auto& r : *rows) {
        suite::LoginComponent login;
        login.SQLServerName = site + "/SQL";
        login.SQLDBName = "KALDRA";
        login.SQLUserName = "kdadmin";
        login.SQLPassword = "kdadmin-demo";
        EXPECT_TRUE(login.connect());
        out[*r[1]] = login.Authenticate(*r[1], plain.at("bindery " + *r[0] + " password"));
        login.DisconnectSQL();
    }
    return out;
}

TEST_F(SiteRekeyTest, RewritesEveryStoredPasswordUnderTheNewKeyAndEveryDemoUserStillLogsIn) {
    const auto plain = plainValues();
    makeSiteFromBeforeKeys();
    ASSERT_EQ(plainValues(), plain); // read with the old key meanwhile
    std::ostringstream out, err;
    ASSERT_EQ(tools::rekeySite(site, out, err), 0) << err.str();

    const auto key = suite::SiteKey::Load(keyPath());
    ASSERT_TRUE(key.ok()) << key.message;
    EXPECT_EQ(fs::status(keyPath()).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    const auto values = storedValues();
    for (const auto& v : values) {
        Origin origin = Origin::Unreadable;
        EXPECT_EQ(PasswordCipher::decryptWith(key.key, v.value, &origin), plain.at(v.where)) << v.where;
        EXPECT_EQ(origin, Origin::SiteKey) << v.where; // nothing left under the old key
    }
    const std::string n = std::to_string(values.size());
    EXPECT_EQ(
        out.str().find("Site re-keyed with " + keyPath() + ": " + n + " stored passwords written under the site key"),
        0u)
        << out.str();
    EXPECT_NE(out.str().find("; " + n + " were under the old key."), std::string::npos) << out.str();

    // The console started on the re-keyed site: every demo user logs in with the demo password,
    // except DREVANS, whose policy leaves the password to the demo's directory server (which does
    // not exist): its log-in is refused as the directory being out of reach, not as a wrong password.
    PasswordCipher::UseSiteKey(key.key);
    const auto outcomes = logInEveryDemoUser(plain);
    ASSERT_GE(outcomes.size(), 10u);
    for (const auto& [name, outcome] : outcomes)
        if (name == "DREVANS")
            EXPECT_EQ(outcome, LoginOutcome::DirectoryUnavailable);
        else
            EXPECT_TRUE(outcome == LoginOutcome::LoggedIn || outcome == LoginOutcome::MustChangePassword) << name;
}

TEST_F(SiteRekeyTest, AStopHalfWayChangesNothingAndEveryValueStaysReadable) {
    makeSiteFromBeforeKeys();
    addOldUsers(1200); // three batches
    const auto before = storedValues();
    const auto plain = plainValues();
    std::vector<long> told;
    std::ostringstream out, err;
    EXPECT_EQ(tools::rekeySite(site, out, err,
                               [&](long sent) {
                                   told.push_back(sent);
                                   return told.size() < 2;
                               }),
              1);
    EXPECT_EQ(told, (std::vector<long>{500, 1000}));
    EXPECT_EQ(err.str(), "kdsite: re-keying failed: The re-keying was stopped; nothing was changed.\n");
    const auto key = suite::SiteKey::Load(keyPath());
    ASSERT_TRUE(key.ok());
    const auto after = storedValues();
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < after.size(); ++i) {
        EXPECT_EQ(after[i].value, before[i].value) << after[i].where;
        EXPECT_EQ(PasswordCipher::decryptWith(key.key, after[i].value), plain.at(after[i].where)) << after[i].where;
    }
    // Run again to the end: everything under the key that was made the first time.
    ASSERT_EQ(tools::rekeySite(site, out, err), 0) << err.str();
    EXPECT_EQ(suite::SiteKey::Load(keyPath()).key, key.key);
    for (const auto& v : storedValues()) {
        Origin origin = Origin::Unreadable;
        EXPECT_EQ(PasswordCipher::decryptWith(key.key, v.value, &origin), plain.at(v.where)) << v.where;
        EXPECT_EQ(origin, Origin::SiteKey) << v.where;
    }
}

// A directory policy's bind password lives inside its settings text: re-keying seals it again and
// leaves the rest of the text byte for byte; one sealed at another site is left and counted.
TEST_F(SiteRekeyTest, TheDirectoryBindPasswordIsSealedAgainInsideItsSettings) {
    using Form = suite::DirectorySettings::PasswordForm;
    makeSiteFromBeforeKeys();
    const std::string bindPassword = "B1nd-P\xc3\xa4ss\xe2\x82\xac";
    const std::string head = "ldap.example.org?ldap2.example.org?cn=reader,dc=example,dc=org?";
    const std::string tail = "?ou=staff,dc=example,dc=org?389?False?-1?-1?10?";
    suite::PasswordCipher::Key otherSite{};
    otherSite.fill(0x33);
    const std::string foreign = head + PasswordCipher::sealTextWith(otherSite, "x") + tail;
    // 240 characters as scrambled; sealed it would pass the 255 the console reads.
    const std::string rest = "?389?False?-1?-1?10?";
    std::string longer = head + suite::DirectorySettings::scramble("Bind-Pw") + "?ou=";
    longer += std::string(240 - longer.size() - rest.size(), 'b') + rest;
    ASSERT_EQ(longer.size(), 240u);
    ASSERT_TRUE(db.execute(
        "UPDATE System_user_policies SET string2 = " +
        suite::SuiteConnection::quote(head + suite::DirectorySettings::scramble(bindPassword) + tail) +
        " WHERE policy_id = 2\nUPDATE System_user_policies SET string2 = " + suite::SuiteConnection::quote(foreign) +
        " WHERE policy_id = 1\nINSERT INTO System_user_policies (policy_id, policy_name, string2) VALUES (3, "
        "'Long settings', " +
        suite::SuiteConnection::quote(longer) + ")"))
        << db.lastError();
    std::ostringstream out, err;
    ASSERT_EQ(tools::rekeySite(site, out, err), 0) << err.str();
    EXPECT_NE(out.str().find(" 1 directory, "), std::string::npos) << out.str();
    EXPECT_NE(out.str().find(" 1 values could not be read with any key and were left as they were."), std::string::npos)
        << out.str();

    const auto key = suite::SiteKey::Load(keyPath());
    ASSERT_TRUE(key.ok());
    auto rows =
        db.query("SELECT policy_id, string2 FROM System_user_policies WHERE policy_id IN (1, 2) ORDER BY policy_id");
    ASSERT_TRUE(rows && rows->size() == 2 && (*rows)[0][1] && (*rows)[1][1]);
    EXPECT_EQ(*(*rows)[0][1], foreign);
    const std::string rekeyed = *(*rows)[1][1];
    ASSERT_EQ(rekeyed.rfind(head + "K", 0), 0u) << rekeyed;
    EXPECT_EQ(rekeyed.substr(rekeyed.size() - tail.size()), tail);
    suite::DirectorySettings settings;
    Form form = Form::None;
    EXPECT_TRUE(settings.fromTextWith(key.key, rekeyed, &form));
    EXPECT_EQ(form, Form::Sealed);
    EXPECT_EQ(settings.bindPassword, bindPassword);
    // Nothing is left that the old scrambling reads.
    EXPECT_EQ(rekeyed.find(suite::DirectorySettings::scramble(bindPassword)), std::string::npos);
}

TEST_F(SiteRekeyTest, AnotherSitesKeyFileIsRefused) {
    const auto before = storedValues();
    demo::createDemoSite(folder + "/other", KD_DRIVER_PATH);
    fs::copy_file(suite::SiteKey::PathUnder(folder + "/other"), keyPath(), fs::copy_options::overwrite_existing);
    std::ostringstream out, err;
    EXPECT_EQ(tools::rekeySite(site, out, err), 1);
    EXPECT_EQ(err.str(), "kdsite: the SQL Server password in " + ini() + " cannot be read with the site's key\n");
    const auto after = storedValues();
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < after.size(); ++i)
        EXPECT_EQ(after[i].value, before[i].value) << after[i].where;
    // With the other site's key nothing of this site reads, and no one logs in.
    const auto other = suite::SiteKey::Load(keyPath());
    PasswordCipher::UseSiteKey(other.key);
    for (const auto& v : after)
        EXPECT_EQ(PasswordCipher::decrypt(v.value), "-1FAIL") << v.where;
    suite::LoginComponent login;
    login.SQLServerName = site + "/SQL";
    login.SQLDBName = "KALDRA";
    login.SQLUserName = "kdadmin";
    login.SQLPassword = "kdadmin-demo";
    ASSERT_TRUE(login.connect());
    EXPECT_EQ(login.Authenticate("ADMINISTRATOR", "demo"), suite::LoginComponent::Outcome::WrongCredentials);
}

} // namespace
