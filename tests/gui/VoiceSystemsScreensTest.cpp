#include "../voicesystems/VoiceFixture.h"
#include "Configuration.h"
#include "LoginComponent.h"
#include "VVSystemsModel.h"
#include "VV_FacilityLink_Edit.h"
#include "VV_FacilityLinks.h"
#include "VV_Password_Change.h"
#include "VV_System_Edit.h"
#include "VV_System_Test.h"
#include "VV_Systems.h"
#include "WidgetLookup.h"
#include "clsVVUserEditor.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>

using namespace voicesystems;

namespace {

using kdtest::child;
using kdtest::click;
using kdtest::type;

class VoiceScreens : public kdtest::VoiceTest {
protected:
    void SetUp() override {
        VoiceTest::SetUp();
        foundation::Configuration::instance() = foundation::Configuration{};
        foundation::Configuration::instance().disableVVPing = true;
    }
    void TearDown() override {
        foundation::Configuration::instance() = foundation::Configuration{};
        VoiceTest::TearDown();
    }
    void select(QWidget& screen, int row) {
        auto* view = child<QTreeView>(screen, "lvwVeltraVoiceSystems");
        view->setCurrentIndex(view->model()->index(row, 0));
    }
};

TEST_F(VoiceScreens, TheEditorValidatesInOrderAndStripsLeadingZeros) {
    clsVVSysConDefs defs;
    ASSERT_TRUE(defs.LoadById(-1));
    clsVVSysConDef* def = defs.Add();
    def->BeginEdit();
    VV_System_Edit screen(*def, true);
    EXPECT_EQ(screen.windowTitle(), "Add Veltra Voice System");
    EXPECT_TRUE(child<QRadioButton>(screen, "optConnectionProperties")->isChecked());
    EXPECT_FALSE(child<QLineEdit>(screen, "txtConnectionString")->isEnabled());
    click(screen, "cmdOK");
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].title, "Invalid Entries");
    EXPECT_EQ(recorder.shown[0].icon, platform::MsgIcon::Exclamation);
    EXPECT_EQ(recorder.shown[0].text, "Information could not be saved for the following reasons:\n\n"
                                      "-->\tThe System Name field must be unique and non-blank.\n"
                                      "-->\tThe Server field is not properly defined.\n"
                                      "-->\tThe Database field is not properly defined.\n"
                                      "-->\tThe SQL User field is not properly defined.\n"
                                      "-->\tThe SQL Password field is not properly defined.\n"
                                      "-->\tThe Administrator User ID field is not properly defined.\n"
                                      "-->\tThe Administrator Password field is not properly defined.\n\n"
                                      "If you continue to have problems please contact your system administrator "
                                      "for assistance.");
    EXPECT_NE(screen.result(), QDialog::Accepted);

    type(screen, "txtSystemName", "North Voice");
    type(screen, "txtServer", "HOST\\SQLEXPRESS,1433");
    type(screen, "txtDatabase", "VOICE");
    type(screen, "txtSqlUser", "vvlink");
    type(screen, "txtSqlPassword", "vv-secret");
    type(screen, "txtAdminUser", "1x2"); // digits only
    EXPECT_EQ(child<QLineEdit>(screen, "txtAdminUser")->text(), "12");
    type(screen, "txtAdminFacility", "007");
    recorder.shown.clear();
    click(screen, "cmdOK");
    ASSERT_EQ(recorder.shown.size(), 2u);
    EXPECT_EQ(recorder.shown[0].text,
              "Leading zeros in the User Facility will be stripped when saved\nto the database.");
    EXPECT_EQ(recorder.shown[0].title, "Invalid Entry");
    EXPECT_EQ(recorder.shown[1].text, "Information could not be saved for the following reasons:\n\n"
                                      "-->\tThe Administrator Password field is not properly defined.\n\n"
                                      "If you continue to have problems please contact your system administrator "
                                      "for assistance.");
    EXPECT_EQ(child<QLineEdit>(screen, "txtAdminFacility")->text(), "7");

    type(screen, "txtAdminPassword", "voice-admin");
    type(screen, "txtAdminFacility", "");
    recorder.shown.clear();
    click(screen, "cmdOK");
    EXPECT_TRUE(recorder.shown.empty());
    EXPECT_EQ(screen.result(), QDialog::Accepted);
    EXPECT_EQ(def->AdminFacility(), 0); // an empty facility is taken as 0
    EXPECT_EQ(def->AdminUserId(), 12);
    EXPECT_EQ(def->PasswordName(), "vv-secret");
}

TEST_F(VoiceScreens, AddingThroughTheListWritesOnOkAndTheEditorTestsWhatIsTyped) {
    VV_Systems list;
    ASSERT_TRUE(list.MyShow());
    QStringList tested;
    list.runDialog = [&](QDialog& d) {
        auto& editor = dynamic_cast<VV_System_Edit&>(d);
        EXPECT_EQ(editor.windowTitle(), "Add Veltra Voice System");
        type(d, "txtSystemName", "South Voice");
        child<QRadioButton>(d, "optConnectionString")->click();
        EXPECT_FALSE(child<QLineEdit>(d, "txtServer")->isEnabled());
        type(d, "txtConnectionString", "Server=SOUTHHOST\\VOICE,1433;Database=VOICE;UID=vvlink;Password=pw");
        type(d, "txtAdminUser", "1");
        type(d, "txtAdminFacility", "1");
        type(d, "txtAdminPassword", "admin");
        editor.runDialog = [&](QDialog& t) {
            auto& test = dynamic_cast<VV_System_Test&>(t);
            test.Tester().ping = [&](const std::string& host, int) {
                tested << QString::fromStdString(host);
                return std::string("Request Timed Out");
            };
            test.RunTests();
            return QDialog::Accepted;
        };
        click(d, "cmdTestConnection");
        click(d, "cmdOK");
        return d.result();
    };
    click(list, "cmdAdd");
    EXPECT_EQ(tested, (QStringList{"SOUTHHOST", "SOUTHHOST", "SOUTHHOST"})); // the typed, unsaved string
    EXPECT_EQ(list.Model().rowCount(), 1);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM voice_systems"), "0");
    click(list, "cmdOK");
    EXPECT_EQ(scalar("SELECT system_name + '/' + CONVERT(varchar(3), connection_type) FROM voice_systems"),
              "South Voice/1");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM voice_systems WHERE connection_string LIKE '%Password=pw%'"), "0");
}

TEST_F(VoiceScreens, TheStatusTimerRunsUnlessVoicePingIsSwitchedOff) {
    VV_Systems off;
    ASSERT_TRUE(off.MyShow());
    EXPECT_FALSE(child<QTimer>(off, "tmrStatus")->isActive());
    foundation::Configuration::instance().disableVVPing = false;
    VV_Systems on;
    ASSERT_TRUE(on.MyShow());
    EXPECT_TRUE(child<QTimer>(on, "tmrStatus")->isActive());
}

TEST_F(VoiceScreens, ThePlaceholderKeepsTheStoredPasswordsUntilNewOnesAreTyped) {
    insertDefinition(1, "North Voice", "VOICE");
    VV_Systems list;
    ASSERT_TRUE(list.MyShow());
    QString seenSql, seenAdmin, title;
    list.runDialog = [&](QDialog& d) {
        title = d.windowTitle();
        seenSql = child<QLineEdit>(d, "txtSqlPassword")->text();
        seenAdmin = child<QLineEdit>(d, "txtAdminPassword")->text();
        EXPECT_TRUE(child<QLineEdit>(d, "txtSystemName")->isReadOnly());
        type(d, "txtDatabase", "VOICE2");
        click(d, "cmdOK");
        return d.result();
    };
    select(list, 0);
    click(list, "cmdEdit");
    EXPECT_EQ(title, "Edit Veltra Voice System");
    EXPECT_EQ(seenSql, "********");
    EXPECT_EQ(seenAdmin, "********");
    EXPECT_EQ(scalar("SELECT database_name FROM voice_systems"), "VOICE"); // written on OK only
    click(list, "cmdOK");
    EXPECT_EQ(list.result(), QDialog::Accepted);
    EXPECT_EQ(scalar("SELECT database_name FROM voice_systems"), "VOICE2");
    EXPECT_EQ(suite::PasswordCipher::decrypt(scalar("SELECT password_name FROM voice_systems")), kSqlPassword);
    EXPECT_EQ(suite::PasswordCipher::decrypt(scalar("SELECT admin_password FROM voice_systems")), kAdminPassword);

    VV_Systems again;
    ASSERT_TRUE(again.MyShow());
    again.runDialog = [&](QDialog& d) {
        type(d, "txtSqlPassword", "new-secret");
        click(d, "cmdOK");
        return d.result();
    };
    select(again, 0);
    click(again, "cmdEdit");
    click(again, "cmdOK");
    EXPECT_EQ(suite::PasswordCipher::decrypt(scalar("SELECT password_name FROM voice_systems")), "new-secret");
    EXPECT_EQ(suite::PasswordCipher::decrypt(scalar("SELECT admin_password FROM voice_systems")), kAdminPassword);
}

TEST_F(VoiceScreens, ALinkedSystemCannotBeDeleted) {
    insertDefinition(1, "North Voice", "VOICE");
    insertDefinition(2, "South Voice", "VOICE");
    exec("INSERT INTO voice_facility_links (system_id, facility, hosp_acct_id, flag1, flag2, flag3, flag4, string1, "
         "string2, string3, date1) VALUES (1, 4, 10, 0, 0, 0, 0, NULL, NULL, NULL, NULL)");
    VV_Systems list;
    ASSERT_TRUE(list.MyShow());
    QAbstractItemModelTester tester(&list.Model(), QAbstractItemModelTester::FailureReportingMode::Warning);
    select(list, 0);
    click(list, "cmdDelete");
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, "Item could not be deleted for the following reasons:\n\n-->\tThe Veltra Voice "
                                      "System is referenced in a Veltra Voice Link.");
    EXPECT_EQ(recorder.shown[0].title, "Invalid Operation");
    EXPECT_EQ(list.Model().rowCount(), 2);
    select(list, 1);
    click(list, "cmdDelete");
    EXPECT_EQ(list.Model().rowCount(), 1);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM voice_systems"), "2");
    click(list, "cmdOK");
    EXPECT_EQ(scalar("SELECT system_name FROM voice_systems"), "North Voice");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM voice_systems"), "1");
}

TEST_F(VoiceScreens, CancelWritesNothing) {
    insertDefinition(1, "North Voice", "VOICE");
    VV_Systems list;
    ASSERT_TRUE(list.MyShow());
    select(list, 0);
    click(list, "cmdDelete");
    EXPECT_EQ(list.Model().rowCount(), 0);
    click(list, "cmdCancel");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM voice_systems"), "1");
}

TEST_F(VoiceScreens, TheStatusTimerFillsBothColumns) {
    const std::string dsn = odbc.addSystemDsn("VELTRAVOICE", "VOICE");
    insertDefinition(1, "Far Voice", "VOICE");
    exec("INSERT INTO voice_systems (system_id, system_name, connection_type, server_name, database_name, user_name, "
         "password_name, connection_string, admin_user_id, admin_facility, admin_password, flag1, flag2, flag3, flag4, "
         "string1, string2, string3, date1) VALUES (2, 'Near Voice', 1, '', '', '', '', 'DSN=" +
         dsn + ";Server=localhost;UID=vvlink;Password=" + suite::PasswordCipher::encrypt(kSqlPassword) + "', 1, 1, '" +
         suite::PasswordCipher::encrypt(kAdminPassword) + "', 0, 0, 0, 0, NULL, NULL, NULL, NULL)");
    VV_Systems list;
    ASSERT_TRUE(list.MyShow());
    auto status = [&](int row) {
        return list.Model().data(list.Model().index(row, VVSystemsModel::Reachability)).toString() + "/" +
               list.Model().data(list.Model().index(row, VVSystemsModel::Administrator)).toString();
    };
    EXPECT_EQ(status(0), "Unknown/");
    list.tmrStatus_Timer(); // the folder path of the first is no computer name
    list.tmrStatus_Timer();
    EXPECT_EQ(status(0), "Unreachable/Invalid");
    EXPECT_EQ(status(1), "Reachable/Valid");
}

TEST_F(VoiceScreens, TheConnectivityTestReportsEachStep) {
    const std::string dsn = odbc.addSystemDsn("VELTRAVOICE", "VOICE");
    clsVVSysConDef def;
    def.SetSystemName("Near Voice");
    def.SetConnectionType(1);
    def.SetConnectionString("DSN=" + dsn + ";Server=localhost;UID=vvlink;Password=" + kSqlPassword);
    def.SetAdminUserId(1);
    def.SetAdminFacility(1);
    def.SetAdminPassword(kAdminPassword);
    {
        VV_System_Test test(def);
        EXPECT_EQ(child<QPushButton>(test, "cmdOkCancel")->text(), "Cancel");
        EXPECT_EQ(child<QLabel>(test, "lblVersion")->text(), "VIZ Component Version 8.1.0");
        EXPECT_TRUE(test.RunTests());
        EXPECT_EQ(test.Results(),
                  (QStringList{"Running connectivity tests...", "Attempting connection", "Connection established",
                               "Verifying Veltra Voice Server connection", "Veltra Voice Server connection verified",
                               "Verifying administrator user credentials", "Administrator user verified",
                               "TESTS COMPLETED SUCCESSFULLY"}));
        EXPECT_EQ(child<QPushButton>(test, "cmdOkCancel")->text(), "OK");
    }
    {
        def.SetAdminPassword("wrong");
        VV_System_Test test(def);
        EXPECT_FALSE(test.RunTests());
        EXPECT_EQ(test.Results().mid(6), (QStringList{"Administrator user not found or invalid", "TESTS FAILED"}));
    }
    {
        odbc.arrangeFault("VOICE", "refuse-connect 1");
        VV_System_Test test(def);
        EXPECT_FALSE(test.RunTests());
        EXPECT_EQ(test.Results().mid(4), (QStringList{"Veltra Voice Server not responding", "TESTS FAILED"}));
    }
    {
        VV_System_Test test(def);
        test.Tester().ping = [](const std::string&, int) { return std::string("Request Timed Out"); };
        EXPECT_FALSE(test.RunTests());
        EXPECT_EQ(test.Results(), (QStringList{"Running connectivity tests...", "Attempting connection",
                                               "Computer not responding", "TESTS FAILED"}));
        EXPECT_EQ(child<QPushButton>(test, "cmdOkCancel")->text(), "OK");
    }
}

class FacilityLinkScreens : public VoiceScreens {
protected:
    void SetUp() override {
        VoiceScreens::SetUp();
        insertDefinition(1, "North Voice", "VOICE");
        exec("INSERT INTO voice_facility_links (system_id, facility, hosp_acct_id, flag1, flag2, flag3, flag4, "
             "string1, string2, string3, date1) VALUES (1, 5, 10, 0, 0, 0, 0, NULL, NULL, NULL, NULL)\n"
             "INSERT INTO voice_facility_links (system_id, facility, hosp_acct_id, flag1, flag2, flag3, flag4, "
             "string1, string2, string3, date1) VALUES (1, 6, 31, 0, 0, 0, 0, NULL, NULL, NULL, NULL)");
        std::vector<suite::HospAccount> accounts(3);
        accounts[0].hosp_acct_id = 10;
        accounts[0].hosp_acct_name = "North Office";
        accounts[1].hosp_acct_id = 20;
        accounts[1].hosp_acct_name = "South Clinic";
        accounts[2].hosp_acct_id = 31;
        accounts[2].hosp_acct_name = "Old Wing";
        accounts[2].is_deleted = true;
        login.SetHospAccounts(accounts);
    }
    // The edit screen as the user fills it: system, facility and account by their texts.
    std::function<int(QDialog&)> fill(const QString& facility, const QString& account) {
        return [=, this](QDialog& d) {
            title = d.windowTitle();
            child<QComboBox>(d, "cboSystems")->setCurrentText("North Voice");
            type(d, "txtFacility", facility);
            auto* accounts = child<QComboBox>(d, "cboAccounts");
            offered.clear();
            for (int i = 0; i < accounts->count(); ++i)
                offered << accounts->itemText(i);
            accounts->setCurrentText(account);
            click(d, "cmdOK");
            return d.result();
        };
    }
    QStringList rows(QWidget& screen) {
        QStringList out;
        auto* tree = child<QTreeWidget>(screen, "lvwFacilityLinks");
        for (int i = 0; i < tree->topLevelItemCount(); ++i)
            out << tree->topLevelItem(i)->text(0) + "/" + tree->topLevelItem(i)->text(1) + "/" +
                       tree->topLevelItem(i)->text(2);
        return out;
    }
    suite::LoginComponent login;
    QString title;
    QStringList offered;
};

TEST_F(FacilityLinkScreens, ADuplicateLinkIsRefusedAndNothingIsWritten) {
    VV_FacilityLinks screen(login);
    ASSERT_TRUE(screen.MyShow());
    EXPECT_EQ(rows(screen), (QStringList{"North Voice/5/North Office", "North Voice/6/31"}));
    screen.runDialog = fill("5", "North Office");
    click(screen, "cmdAdd");
    EXPECT_EQ(title, "Add Veltra Voice Facility Link");
    EXPECT_EQ(offered, (QStringList{"North Office", "South Clinic"})); // deleted accounts left out
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text,
              "A Veltra Voice link with these settings has already been defined.\nNo new link will be defined.");
    EXPECT_EQ(recorder.shown[0].title, "Invalid Entry");
    EXPECT_EQ(rows(screen).size(), 2);
    click(screen, "cmdOK");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM voice_facility_links"), "2");
    EXPECT_EQ(logged(20050), "");
}

TEST_F(FacilityLinkScreens, AddEditAndDeleteAreWrittenOnOk) {
    VV_FacilityLinks screen(login);
    ASSERT_TRUE(screen.MyShow());
    screen.runDialog = fill("", "South Clinic");
    click(screen, "cmdAdd");
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].title, "Invalid Entries");
    EXPECT_EQ(recorder.shown[0].text, "Information could not be saved for the following reasons:\n\n"
                                      "-->\tThe Facility field is not properly defined.\n\n"
                                      "If you continue to have problems please contact your system administrator "
                                      "for assistance.");
    screen.runDialog = fill("8", "South Clinic");
    click(screen, "cmdAdd");
    EXPECT_EQ(rows(screen).size(), 3);
    screen.runDialog = fill("9", "North Office");
    child<QTreeWidget>(screen, "lvwFacilityLinks")
        ->setCurrentItem(child<QTreeWidget>(screen, "lvwFacilityLinks")->topLevelItem(0));
    click(screen, "cmdEdit");
    EXPECT_EQ(title, "Edit Veltra Voice Facility Link");
    child<QTreeWidget>(screen, "lvwFacilityLinks")
        ->setCurrentItem(child<QTreeWidget>(screen, "lvwFacilityLinks")->topLevelItem(1));
    click(screen, "cmdDelete");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_log WHERE error_code = 20050"), "0");
    click(screen, "cmdOK");
    auto out = exec("SELECT facility, hosp_acct_id FROM voice_facility_links ORDER BY facility");
    QStringList stored;
    for (const auto& r : out.firstRows()->rows)
        stored << QString::fromStdString(*r[0] + "/" + *r[1]);
    EXPECT_EQ(stored, (QStringList{"8/20", "9/10"}));
    EXPECT_EQ(logged(20050), "Veltra Voice System 1 for Facility 6 and Account 31 deleted by user ADMIN.\n"
                             "Veltra Voice System 1 for Facility 9 and Account 10 modified by user ADMIN.\n"
                             "Veltra Voice System 1 for Facility 8 and Account 20 added by user ADMIN.\n");
}

} // namespace

namespace {

TEST_F(VoiceScreens, TheVoicePasswordScreenChecksTheConfirmationAndReportsAFailedSave) {
    insertDefinition(1, "North Voice", "VOICE");
    exec("INSERT INTO voice_facility_links (system_id, facility, hosp_acct_id, flag1, flag2, flag3, flag4, string1, "
         "string2, string3, date1) VALUES (1, 1, 10, 0, 0, 0, 0, NULL, NULL, NULL, NULL)");
    suite::VeltraServices vs;
    vs.SetConnection(adoString("VOICE"), 1, 1, kAdminPassword);
    suite::VeltraUser u;
    u.UserId = 501;
    u.Facility = 1;
    u.UserName = "Carter, Jane";
    ASSERT_EQ(vs.AddVeltraUser(u, "old"), "OK");
    clsVVUserEditor editor;
    ASSERT_TRUE(editor.EditVVUser(501, "Jane", "Carter", "10"));
    ASSERT_TRUE(editor.PrefetchVvUserDataForAllSysFacAssoc().empty());

    VV_Password_Change screen(editor);
    type(screen, "txtNewPassword", "fresh");
    type(screen, "txtConfirmPassword", "fresh!");
    click(screen, "cmdOK");
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, "New Password and Confirm Password fields do not match.  Please re-enter.");
    EXPECT_NE(screen.result(), QDialog::Accepted);

    type(screen, "txtConfirmPassword", "fresh");
    odbc.arrangeFault("VOICE", "refuse-connect 1");
    click(screen, "cmdOK");
    ASSERT_EQ(recorder.shown.size(), 2u);
    EXPECT_EQ(recorder.shown[1].text,
              "An error was encountered trying to save the password.  The new password was not saved.");
    EXPECT_EQ(recorder.shown[1].title, "Save Error");
    EXPECT_EQ(remote("VOICE", "SELECT password_digest FROM vv_users WHERE user_id = 501"),
              suite::VeltraServices::PasswordDigest(1, 501, "old"));

    child<QCheckBox>(screen, "SSCheckMustChange")->setChecked(true);
    click(screen, "cmdOK");
    EXPECT_EQ(recorder.shown.size(), 2u);
    EXPECT_EQ(screen.result(), QDialog::Accepted);
    EXPECT_EQ(remote("VOICE", "SELECT password_digest FROM vv_users WHERE user_id = 501"),
              suite::VeltraServices::PasswordDigest(1, 501, "fresh"));
    EXPECT_EQ(remote("VOICE", "SELECT must_change FROM vv_users WHERE user_id = 501"), "1");
}

// Every access key of a screen is used once, and every label's key moves to its field.
TEST_F(VoiceScreens, AccessKeysAreUniquePerScreen) {
    clsVVSysConDef def;
    clsVVFacLinkItems links;
    clsVVFacLinkItem* item = links.Add();
    suite::LoginComponent login;
    clsVVUserEditor editor;
    std::vector<std::unique_ptr<QWidget>> screens;
    screens.push_back(std::make_unique<VV_System_Edit>(def, true));
    screens.push_back(std::make_unique<VV_Systems>());
    screens.push_back(std::make_unique<VV_FacilityLinks>(login));
    screens.push_back(std::make_unique<VV_FacilityLink_Edit>(links, *item, true, VV_FacilityLink_Edit::Choices{},
                                                             VV_FacilityLink_Edit::Choices{}));
    screens.push_back(std::make_unique<VV_Password_Change>(editor));
    for (const auto& screen : screens) {
        QStringList keys;
        auto key = [&](const QString& text) {
            const int at = text.indexOf('&');
            if (at >= 0 && at + 1 < text.size())
                keys << text.mid(at + 1, 1).toUpper();
        };
        for (const QLabel* label : screen->findChildren<QLabel*>()) {
            key(label->text());
            if (label->text().contains('&')) {
                EXPECT_NE(label->buddy(), nullptr) << label->text().toStdString();
            }
        }
        for (const QAbstractButton* button : screen->findChildren<QAbstractButton*>())
            key(button->text());
        EXPECT_EQ(keys.removeDuplicates(), 0)
            << screen->objectName().toStdString() << ": " << keys.join(",").toStdString();
        EXPECT_GE(keys.size(), 3) << screen->objectName().toStdString();
    }
}

} // namespace

#include "DemoSite.h"
#include "General_MDI.h"
#include "Startup.h"

#include <QAction>
#include <QApplication>
#include <QTimer>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

class DemoAdministrator : public suite::LoginPrompt {
public:
    bool askCredentials(std::string& u, std::string& p, const std::string&) override {
        if (asked++)
            return false;
        u = demo::kAdministrator;
        p = demo::kAdministratorPassword;
        return true;
    }
    bool askNewPassword(std::string&, std::string&, const std::string&) override { return false; }
    int asked = 0;
};

// The menu entry opens the facility links over the demo site's links, instead of "not available yet".
TEST(VoiceMenu, VeltraVoiceLinksOpensTheFacilityLinks) {
    kdtest::OdbcEnvironment config; // the driver for this process
    const std::string site = config.folder() + "/site";
    demo::createDemoSite(site, KD_DRIVER_PATH);
    setenv("KDADMIN_REGISTRY_MACHINE", (site + "/registry/machine.ini").c_str(), 1);
    // The site's data source is not in this process's ODBC files: connect by driver.
    std::stringstream ini;
    ini << std::ifstream(site + "/KALDRA.INI").rdbuf();
    std::string text = ini.str();
    text.replace(text.find("ODBCSource=KALDRA"), 17, "ODBCSource=NOT_REGISTERED_HERE");
    std::ofstream(site + "/KALDRA.INI") << text;
    foundation::DatabaseSession::instance().DisconnectFromSQL();
    foundation::Configuration::instance() = foundation::Configuration{};

    platform::MessageRecorder recorder;
    DemoAdministrator prompt;
    mainwindow::General_MDI window;
    suite::LoginComponent login;
    app::Startup startup(window, login, prompt);
    ASSERT_TRUE(startup.run({"/INI=" + site + "/KALDRA.INI"}, config.folder(), config.folder())) << startup.stoppedAt();
    recorder.shown.clear();
    QStringList seen;
    // The screen is modal: it is read and closed from inside its own event loop.
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        seen << modal->objectName();
        if (auto* tree = modal->findChild<QTreeWidget*>("lvwFacilityLinks"))
            for (int i = 0; i < tree->topLevelItemCount(); ++i)
                seen << tree->topLevelItem(i)->text(0) + "/" + tree->topLevelItem(i)->text(1) + "/" +
                            tree->topLevelItem(i)->text(2);
        modal->findChild<QPushButton*>("cmdCancel")->click();
    });
    window.action("mnuVeltraVoiceLinks")->trigger();
    EXPECT_TRUE(recorder.shown.empty()) << recorder.shown[0].text;
    EXPECT_EQ(seen.join("|").toStdString(),
              "VV_FacilityLinks|South Campus Voice/1/South Medical Inpatient|South Campus Voice/2/Heart Institute");
    startup.shutDown();
    unsetenv("KDADMIN_REGISTRY_MACHINE");
    foundation::Configuration::instance() = foundation::Configuration{};
}

} // namespace
