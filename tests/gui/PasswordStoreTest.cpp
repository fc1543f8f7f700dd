// The console and the site's password key: the start-up offer on a site without a key file, and no
// password in plain in any file the console writes or any table, whatever path handled it.

#include "Configuration.h"
#include "DatabaseSession.h"
#include "DemoSite.h"
#include "DirectorySettings.h"
#include "EventLog.h"
#include "ExportList.h"
#include "General_MDI.h"
#include "MenuTable.h"
#include "MessageService.h"
#include "OdbcFixture.h"
#include "OldKeySite.h"
#include "PasswordCipher.h"
#include "PrivateProfile.h"
#include "RecordingOpener.h"
#include "SiteKey.h"
#include "Startup.h"
#include "StartupFixture.h"
#include "SuiteConnection.h"
#include "TestSiteKey.h"
#include "UA_LDAP_Settings.h"
#include "UserEditSave.h"
#include "VV_Systems.h"
#include "WidgetLookup.h"
#include "clsLdapSettings.h"
#include "clsUserPolicies.h"
#include "clsUserPolicy.h"
#include "clsUsers.h"
#include "clsVVSysConDefs.h"
#include "clsVVSysConTester.h"
#include "frmSoftwareSettings.h"
#include "modUserStore.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeView>
#include <algorithm>
#include <deque>
#include <filesystem>
#include <fstream>
#include <sstream>

using platform::MsgAnswer;
using suite::PasswordCipher;
using Origin = PasswordCipher::Origin;
namespace fs = std::filesystem;

namespace {

using kdtest::child;
using kdtest::type;

// The start-up on a fresh demo site, with a plain connection to its database.
class PasswordStoreConsole : public kdtest::StartupTest {
protected:
    void SetUp() override {
        StartupTest::SetUp();
        ASSERT_TRUE(db.open(kdtest::siteConnectionString(site)));
    }
    void TearDown() override {
        db.close();
        StartupTest::TearDown();
        foundation::Configuration::instance() = foundation::Configuration{};
        PasswordCipher::UseSiteKey(testsupport::TestSiteKey());
    }
    std::string ini() const { return site + "/KALDRA.INI"; }
    std::string keyPath() const { return suite::SiteKey::PathUnder(site); }
    std::string binderyPassword(long id) {
        auto r = db.query("SELECT password FROM System_user_bindery WHERE user_id = " + std::to_string(id));
        return r && !r->empty() && r->front()[0] ? r->front()[0]->substr(0, 60) : std::string();
    }

    suite::SuiteConnection db;
};

TEST_F(PasswordStoreConsole, WithoutAKeyFileTheStartUpOffersToCreateItAndReKeysTheSite) {
    kdtest::MakeSiteFromBeforeKeys(db, site);
    const std::string oldAdministrator = binderyPassword(1);
    prompt.answers = {{"ADMINISTRATOR", "demo"}}; // read with the old key
    recorder.answer(MsgAnswer::Yes);
    mainwindow::General_MDI window;
    suite::LoginComponent login;
    app::Startup startup(window, login, prompt);
    ASSERT_TRUE(startup.run({"/INI=" + ini()}, folder, folder))
        << startup.stoppedAt() << (recorder.shown.empty() ? "" : ": " + recorder.shown[0].text);
    ASSERT_EQ(recorder.shown.size(), 2u);
    EXPECT_EQ(recorder.shown[0].text,
              "This site has no password key file (" + keyPath() +
                  ").  Stored passwords are read with the key of earlier releases, and no password can be saved "
                  "until the key file exists.\n\nCreate the key file now and write every stored password again under "
                  "it?");
    EXPECT_EQ(recorder.shown[0].buttons, platform::MsgButtons::YesNo);
    EXPECT_EQ(recorder.shown[0].icon, platform::MsgIcon::Question);
    EXPECT_EQ(recorder.shown[1].text.rfind("The password key file " + keyPath() + " was created.  ", 0), 0u)
        << recorder.shown[1].text;
    EXPECT_NE(recorder.shown[1].text.find("were under the old key."), std::string::npos);
    startup.shutDown();

    const auto key = suite::SiteKey::Load(keyPath());
    ASSERT_TRUE(key.ok()) << key.message;
    EXPECT_EQ(fs::status(keyPath()).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_TRUE(PasswordCipher::CanWrite());
    Origin origin = Origin::Unreadable;
    EXPECT_NE(binderyPassword(1), oldAdministrator);
    EXPECT_EQ(PasswordCipher::decryptWith(key.key, binderyPassword(1), &origin), "demo");
    EXPECT_EQ(origin, Origin::SiteKey);
    EXPECT_EQ(
        PasswordCipher::decryptWith(key.key, platform::PrivateProfile::read("System", "Password", "", ini()), &origin),
        "kdadmin-demo");
    EXPECT_EQ(origin, Origin::SiteKey);
    auto logged = db.query("SELECT msg1 FROM System_log WHERE msg1 LIKE 'The password key file %'");
    ASSERT_TRUE(logged);
    EXPECT_EQ(logged->size(), 1u);
}

TEST_F(PasswordStoreConsole, DeclinedTheConsoleReadsTheOldValuesAndSavesNoPassword) {
    kdtest::MakeSiteFromBeforeKeys(db, site);
    const std::string oldAdministrator = binderyPassword(1);
    prompt.answers = {{"ADMINISTRATOR", "demo"}};
    recorder.answer(MsgAnswer::No);
    mainwindow::General_MDI window;
    suite::LoginComponent login;
    app::Startup startup(window, login, prompt);
    ASSERT_TRUE(startup.run({"/INI=" + ini()}, folder, folder)) << startup.stoppedAt();
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_FALSE(fs::exists(keyPath()));
    EXPECT_FALSE(PasswordCipher::CanWrite());
    EXPECT_EQ(foundation::Configuration::instance().sqlPassword, "kdadmin-demo");
    // A password change is refused with the reason, and the stored value stays as it was.
    EXPECT_EQ(login.SetNewPassword("N3w-Passw0rd!", "N3w-Passw0rd!"), PasswordCipher::kNoSiteKeyMessage);
    EXPECT_EQ(binderyPassword(1), oldAdministrator);
    foundation::frmSoftwareSettings settings(QString::fromStdString(ini()));
    const std::string updater = platform::PrivateProfile::read("Updater", "Password", "", ini());
    type(settings, "txtPassword", "upd4te-new");
    type(settings, "txtConfirmPassword", "upd4te-new");
    child<QPushButton>(settings, "BOK")->click();
    ASSERT_EQ(recorder.shown.size(), 2u);
    EXPECT_EQ(recorder.shown[1].text, PasswordCipher::kNoSiteKeyMessage);
    EXPECT_EQ(platform::PrivateProfile::read("Updater", "Password", "", ini()), updater);
    startup.shutDown();
}

// Every file under the test's folder (the site, its databases, logs and traces, the configuration
// file and the workstation's settings) and every column of every table of the site database.
std::vector<std::string> plainHits(const std::string& folder, suite::SuiteConnection& db,
                                   const std::vector<std::string>& passwords) {
    std::vector<std::string> hits;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file())
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string content((std::istreambuf_iterator<char>(in)), {});
        for (const auto& p : passwords)
            if (content.find(p) != std::string::npos)
                hits.push_back(entry.path().string() + ": " + p);
    }
    const auto tables = db.query("SELECT name FROM sysobjects WHERE xtype = 'U' ORDER BY name");
    EXPECT_TRUE(tables && tables->size() > 50) << db.lastError();
    for (const auto& t : *tables) {
        const auto rows = db.query("SELECT * FROM " + *t[0]);
        EXPECT_TRUE(rows) << *t[0] << ": " << db.lastError();
        if (!rows)
            continue;
        for (const auto& r : *rows)
            for (const auto& v : r)
                for (const auto& p : passwords)
                    if (v && v->find(p) != std::string::npos)
                        hits.push_back("table " + *t[0] + ": " + p);
    }
    return hits;
}

TEST_F(PasswordStoreConsole, NoPasswordIsLeftInPlainInAnyFileOrTable) {
    const std::string login1 = "Pl41n-L0gin!", user = "Pl41n-Us3r", signature = "Pl41n-S1gn", updater = "Pl41n-Upd8",
                      voiceSql = "Pl41n-VvSql", voiceAdmin = "Pl41n-VvAdm", bind = "Pl41n-B1nd",
                      editorPassword = "Pl41n-Ed1t", editorSignature = "Pl41n-EdS1g";
    platform::PrivateProfile::write("AdminDesktop", "LogSQL", "YES", ini());
    platform::PrivateProfile::write("AdminDesktop", "LogDebug", "YES", ini());
    prompt.answers = {{"ADMINISTRATOR", "demo"}};
    mainwindow::General_MDI window;
    suite::LoginComponent login;
    app::Startup startup(window, login, prompt);
    ASSERT_TRUE(startup.run({"/INI=" + ini()}, folder, folder)) << startup.stoppedAt();
    ASSERT_TRUE(recorder.shown.empty()) << recorder.shown[0].text;

    // Log-in: a new password for the administrator, then logging in with it.
    ASSERT_TRUE(login.connect());
    ASSERT_EQ(login.SetNewPassword(login1, login1), "");
    ASSERT_EQ(login.Authenticate("ADMINISTRATOR", login1), suite::LoginComponent::Outcome::LoggedIn);

    // The user store: a user's log-in and signature passwords.
    users::clsUsers users;
    ASSERT_TRUE(users::LoadActiveUsers(&users));
    users::clsUser* u = users.Item(users::clsUsers::Key(101));
    ASSERT_NE(u, nullptr);
    users::clsUser changed = *u;
    changed.m_strPassword = user;
    changed.m_strSignaturePassword = signature;
    ASSERT_TRUE(users::UpdateUser(changed, true, true, users));
    // The user editor's save of another user, with both passwords changed.
    users::clsUser* edited = users.Item(users::clsUsers::Key(102));
    ASSERT_NE(edited, nullptr);
    users::clsUser editorCopy = *edited;
    editorCopy.m_strPassword = editorPassword;
    editorCopy.m_strSignaturePassword = editorSignature;
    users::UserEditChanges changes;
    changes.passwordChanged = changes.signaturePasswordChanged = true;
    changes.oldPartitionId = editorCopy.Partition_ID();
    ASSERT_TRUE(users::SaveChangedUser(editorCopy, changes, users));

    // The software-update settings.
    foundation::frmSoftwareSettings settings(QString::fromStdString(ini()));
    type(settings, "txtPassword", QString::fromStdString(updater));
    type(settings, "txtConfirmPassword", QString::fromStdString(updater));
    child<QPushButton>(settings, "BOK")->click();
    ASSERT_EQ(settings.result(), QDialog::Accepted);

    // A voice system's SQL and administrator passwords.
    voicesystems::VV_Systems systems;
    ASSERT_TRUE(systems.MyShow());
    // The demo system connects by connection string: its password part is shown as a placeholder.
    systems.runDialog = [&](QDialog& d) {
        QString connection = child<QLineEdit>(d, "txtConnectionString")->text();
        EXPECT_TRUE(connection.contains("********")) << connection.toStdString();
        type(d, "txtConnectionString", connection.replace("********", QString::fromStdString(voiceSql)));
        type(d, "txtAdminPassword", QString::fromStdString(voiceAdmin));
        child<QPushButton>(d, "cmdOK")->click();
        return d.result();
    };
    auto* view = child<QTreeView>(systems, "lvwVeltraVoiceSystems");
    view->setCurrentIndex(view->model()->index(0, 0));
    child<QPushButton>(systems, "cmdEdit")->click();
    child<QPushButton>(systems, "cmdOK")->click();

    // The voice system's connectivity test with the new values (the demo's remote system answers or
    // not; either way nothing it logs may hold the password), and its list exported.
    {
        voicesystems::clsVVSysConDefs defs;
        ASSERT_TRUE(defs.LoadById(-1));
        ASSERT_GT(defs.Count(), 0);
        voicesystems::clsVVSysConTester tester;
        tester.SetDefinition(*defs.Item(1));
        tester.ping = [](const std::string&, int) { return std::string("Success"); };
        (void)tester.SqlServerReachable();
        (void)tester.AdministratorValid();
    }
    {
        kdtest::RecordingOpener opener;
        foundation::ExportList(view);
        ASSERT_EQ(opener.textFiles.size(), 1u);
        EXPECT_TRUE(fs::exists(opener.textFiles[0]));
    }

    // The directory policy's bind password: entered in the LDAP dialog, tried with Test Connection
    // (no directory answers), saved with the policy and read by a directory log-in.
    {
        users::clsUserPolicies policies;
        users::clsUserPolicy* directory = policies.LoadPolicy(2);
        ASSERT_NE(directory, nullptr);
        users::clsLdapSettings ldap;
        ldap.CopyStateFromString(directory->m_strString2);
        users::UA_LDAP_Settings dialog;
        dialog.Load(ldap);
        type(dialog, "txtServer", "127.0.0.1");
        type(dialog, "txtPort", "1");
        type(dialog, "txtBindDn", "cn=reader,dc=example,dc=org");
        type(dialog, "txtBindDnPass", QString::fromStdString(bind));
        child<QPushButton>(dialog, "cmdTestConnection")->click();
        child<QPushButton>(dialog, "cmdOK")->click();
        ASSERT_EQ(dialog.result(), QDialog::Accepted);
        users::clsUserPolicy changed = *directory;
        changed.m_strString2 = dialog.LdapSettings().toString();
        ASSERT_TRUE(policies.UpdatePolicy(changed));
        EXPECT_EQ(login.Authenticate("DREVANS", "demo"), suite::LoginComponent::Outcome::DirectoryUnavailable);
        ASSERT_EQ(login.Authenticate("ADMINISTRATOR", login1), suite::LoginComponent::Outcome::LoggedIn);
        suite::DirectorySettings stored;
        EXPECT_TRUE(stored.fromText(changed.m_strString2));
        EXPECT_EQ(stored.bindPassword, bind);
    }

    // A companion program's command line carries the scrambled password.
    mainwindow::CompanionArguments what;
    what.password = true;
    what.scramblePassword = true;
    const std::string commandLine = mainwindow::CompanionCommandLine(what, ini(), 1, "ADMINISTRATOR", login1, {});
    EXPECT_EQ(commandLine.find(login1), std::string::npos);
    EXPECT_EQ(PasswordCipher::decrypt(commandLine.substr(commandLine.find("/PASSWORD=") + 10, 60)), login1);
    startup.shutDown();

    // Each value was stored, under the site key.
    EXPECT_EQ(PasswordCipher::decrypt(binderyPassword(1)), login1);
    EXPECT_EQ(PasswordCipher::decrypt(binderyPassword(101)), user);
    EXPECT_EQ(PasswordCipher::decrypt(binderyPassword(102)), editorPassword);
    EXPECT_EQ(PasswordCipher::decrypt(platform::PrivateProfile::read("Updater", "Password", "", ini())), updater);
    auto voice = db.query("SELECT connection_string, admin_password FROM voice_systems");
    ASSERT_TRUE(voice && !voice->empty());
    const std::string cs = *voice->front()[0];
    const size_t at = cs.find("Password=");
    ASSERT_NE(at, std::string::npos) << cs;
    EXPECT_EQ(PasswordCipher::decrypt(cs.substr(at + 9, 60)), voiceSql) << cs;
    EXPECT_EQ(PasswordCipher::decrypt(*voice->front()[1]), voiceAdmin);
    // The trace was on: the statements that carried them are in it.
    const std::string trace = foundation::EventLog::PrepareTraceFile();
    ASSERT_TRUE(fs::exists(trace));
    std::ifstream traced(trace);
    const std::string traceText((std::istreambuf_iterator<char>(traced)), {});
    EXPECT_NE(traceText.find("password = 0x"), std::string::npos);
    EXPECT_NE(traceText.find("signature_password = 0x"), std::string::npos);
    EXPECT_NE(traceText.find("UPDATE voice_systems"), std::string::npos);

    // The search finds what is there: a value planted in a file and one in a table.
    std::ofstream(site + "/KALDRA/TEMP/planted.txt") << "x Planted-Canary-1 x";
    ASSERT_TRUE(db.execute("UPDATE System_user_bindery SET description = 'Planted-Canary-2' WHERE user_id = 2"));
    const auto planted = plainHits(folder, db, {"Planted-Canary-1", "Planted-Canary-2"});
    EXPECT_NE(std::find(planted.begin(), planted.end(), site + "/KALDRA/TEMP/planted.txt: Planted-Canary-1"),
              planted.end());
    EXPECT_NE(std::find(planted.begin(), planted.end(), "table System_user_bindery: Planted-Canary-2"), planted.end());
    // The table's value is found in the database's files too.
    EXPECT_GE(planted.size(), 3u) << ::testing::PrintToString(planted);

    const auto hits = plainHits(
        folder, db, {login1, user, signature, updater, voiceSql, voiceAdmin, bind, editorPassword, editorSignature});
    EXPECT_TRUE(hits.empty()) << ::testing::PrintToString(hits);
}

} // namespace
