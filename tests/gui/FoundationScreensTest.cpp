#include "DatabaseSession.h"
#include "DialogLoginPrompt.h"
#include "EventLog.h"
#include "GenXWait.h"
#include "LoginComponent.h"
#include "MessageService.h"
#include "OdbcFixture.h"
#include "PasswordCipher.h"
#include "PrivateProfile.h"
#include "QtServices.h"
#include "SessionHelper.h"
#include "Text.h"
#include "WidgetLookup.h"
#include "frmLogin.h"
#include "frmSettings.h"
#include "frmSoftwareSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <filesystem>
#include <fstream>

using foundation::DatabaseSession;
using platform::GenXWait;
using platform::MessageRecorder;
using platform::MsgIcon;
using namespace kdtest;

namespace {

TEST(GenXWait, ShowsCancelsAndResets) {
    QMainWindow main;
    platform::installQtServices(&main);
    MessageRecorder recorder;
    GenXWait wait;
    wait.WaitOn("Calculating statistics...", 1, 0, 0);
    auto* cancel = child<QPushButton>(wait, "BCancel");
    EXPECT_TRUE(wait.isVisible());
    EXPECT_TRUE(cancel->isVisible());
    EXPECT_EQ(wait.height(), 1905 / 15);
    EXPECT_FALSE(main.isEnabled());
    EXPECT_EQ(child<QLabel>(wait, "lblMessage")->text(), "Calculating statistics...");
    EXPECT_EQ(wait.IsCancelled(), 0);
    cancel->click();
    EXPECT_EQ(wait.IsCancelled(), 1);
    wait.CancelOff();
    EXPECT_FALSE(cancel->isVisible());
    wait.WaitOff();
    EXPECT_FALSE(wait.isVisible());
    EXPECT_TRUE(main.isEnabled());
    EXPECT_EQ(child<QLabel>(wait, "lblMessage")->text(), "Please Wait...");
    wait.WaitOn("Again", 0, 0, 0);
    EXPECT_EQ(wait.IsCancelled(), 0); // a new wait starts uncancelled
    EXPECT_EQ(wait.height(), 1365 / 15);
    wait.WaitOff();
    platform::installQtServices(nullptr);
}

class ScreensTest : public SuiteTest {
protected:
    void SetUp() override {
        SuiteTest::SetUp();
        connectSession(odbc.folder(), "KALDRA");
        foundation::EventLog::context() = foundation::LogContext{};
        foundation::EventLog::context().userId = 1;
        ini = odbc.folder() + "/KALDRA.INI";
    }
    void TearDown() override { DatabaseSession::instance().DisconnectFromSQL(); }
    MessageRecorder recorder;
    std::string ini;
};

TEST_F(ScreensTest, AsyncStatementCancelledFromTheWaitWindowReturns5) {
    GenXWait wait;
    DatabaseSession::instance().waitWindow = &wait;
    wait.WaitOn("Please Wait...", 1, 0, 0);
    // The click is queued now and handled inside the session's polling loop.
    QMetaObject::invokeMethod(child<QPushButton>(wait, "BCancel"), "click", Qt::QueuedConnection);
    DatabaseSession::instance().SQLStatement = "DECLARE @i int SET @i = 0 WHILE 1 = 1 SET @i = @i + 1";
    EXPECT_EQ(DatabaseSession::instance().ExecSQLAsync(true), 5);
    EXPECT_EQ(child<QLabel>(wait, "lblMessage")->text(), "Cancelling the operation...Please Wait...");
    EXPECT_TRUE(recorder.shown.empty());
    wait.WaitOff();
    DatabaseSession::instance().waitWindow = nullptr;
}

TEST_F(ScreensTest, SoftwareSettingsValidateInOrderAndStoreTheScrambledPassword) {
    std::ofstream(ini) << "[System]\nNetworkRootDir=/x\n[Updater]\nUserName=updater\nPassword=" << std::string(60, 'A')
                       << "\nTimeout=500\n";
    foundation::frmSoftwareSettings screen(QString::fromStdString(ini));
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text,
              "The current password in the INI file is corrupt.  The password will need to be reset.");
    EXPECT_EQ(child<QLineEdit>(screen, "txtTimeout")->text(), "60"); // 500 is outside 10 to 180
    EXPECT_EQ(child<QLineEdit>(screen, "txtUserName")->text(), "updater");

    struct Step {
        const char* password;
        const char* confirm;
        const char* timeout;
        const char* message;
    };
    const Step steps[] = {
        {"", "", "abc", "Please enter a password.  A password is required."},
        {"s3cret", "other", "abc",
         "The password and confirm password entries do not match.  Please reenter the "
         "password."},
        {"s3cret", "s3cret", "abc", "The timeout setting is invalid.  Please reenter the timeout value."},
    };
    for (const auto& st : steps) {
        recorder.shown.clear();
        child<QLineEdit>(screen, "txtPassword")->setText(st.password);
        child<QLineEdit>(screen, "txtConfirmPassword")->setText(st.confirm);
        child<QLineEdit>(screen, "txtTimeout")->setText(st.timeout);
        child<QPushButton>(screen, "BOK")->click();
        ASSERT_EQ(recorder.shown.size(), 1u) << st.message;
        EXPECT_EQ(recorder.shown[0].text, st.message);
        EXPECT_EQ(recorder.shown[0].icon, MsgIcon::Exclamation);
        EXPECT_NE(screen.result(), QDialog::Accepted);
    }
    recorder.shown.clear();
    child<QLineEdit>(screen, "txtTimeout")->setText("90");
    child<QPushButton>(screen, "BOK")->click();
    EXPECT_TRUE(recorder.shown.empty());
    EXPECT_EQ(screen.result(), QDialog::Accepted);
    const std::string stored = platform::PrivateProfile::read("Updater", "Password", "", ini);
    EXPECT_NE(stored, "s3cret");
    EXPECT_EQ(suite::PasswordCipher::decrypt(stored), "s3cret");
    EXPECT_EQ(platform::PrivateProfile::read("Updater", "Timeout", "", ini), "90");
    EXPECT_EQ(platform::PrivateProfile::read("System", "NetworkRootDir", "", ini), "/x"); // rest kept
    EXPECT_EQ(scalar("SELECT msg1 FROM System_log WHERE error_code = 20016"), "Software Update settings saved.");
}

TEST_F(ScreensTest, PatientSearchSettingsAreForGlobalAdministratorsOnly) {
    suite::LoginComponent login;
    login.SQLServerName = odbc.folder();
    login.SQLDBName = "KALDRA";
    login.SQLUserName = "sa";
    ASSERT_TRUE(login.connect());
    login.user.user_id = 5;
    login.user.user_name = "TLEE";
    login.user.Partition_ID = 3;
    login.user.is_administrator = true;
    {
        foundation::frmSettings screen(login);
        EXPECT_FALSE(child<QComboBox>(screen, "cboUniqueIdentifier")->isEnabled());
        EXPECT_FALSE(child<QPushButton>(screen, "BOK")->isEnabled());
        EXPECT_TRUE(child<QLabel>(screen, "lblExplanation")
                        ->text()
                        .endsWith(" You must be a global partition administrator to change these settings."));
    }
    login.user.Partition_ID = 0;
    foundation::frmSettings screen(login);
    ASSERT_TRUE(child<QComboBox>(screen, "cboUniqueIdentifier")->isEnabled());
    child<QComboBox>(screen, "cboUniqueIdentifier")->setCurrentIndex(2);
    child<QCheckBox>(screen, "chkPFSearchAllAccounts")->setChecked(true);
    child<QPushButton>(screen, "BOK")->click();
    EXPECT_EQ(screen.result(), QDialog::Accepted);
    login.LoadUserOptions();
    EXPECT_EQ(login.GetUserOptionValue("PFIdentifierField", ""), "2");
    EXPECT_EQ(login.GetUserOptionValue("PFSearchAllAccounts", ""), "1");
    EXPECT_EQ(login.GetUserOptionValue("PFIncludeFacilityID", ""), "0");
    EXPECT_EQ(scalar("SELECT msg1 FROM System_log WHERE error_code = 20046"),
              "Patient search identifier has been changed by TLEE.");
}

TEST(LoginDialog, AsksForAUserNameBeforeAccepting) {
    suite::frmLogin dialog("Veltra Desktop");
    EXPECT_EQ(dialog.windowTitle(), "Veltra Desktop - Log In");
    child<QPushButton>(dialog, "cmdOK")->click();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(child<QLabel>(dialog, "lblMessage")->text(), "Please enter your user name.");
    child<QLineEdit>(dialog, "txtUserName")->setText("  ADMINISTRATOR ");
    child<QLineEdit>(dialog, "txtPassword")->setText("demo");
    EXPECT_EQ(child<QLineEdit>(dialog, "txtPassword")->echoMode(), QLineEdit::Password);
    child<QPushButton>(dialog, "cmdOK")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.userName(), "ADMINISTRATOR");
    EXPECT_EQ(dialog.password(), "demo");
}

} // namespace

#include "frmWorkTime.h"

#include <QTreeWidget>

namespace {

TEST_F(ScreensTest, WorkTimeSheetListsAndAddsTheUsersActivities) {
    suite::LoginComponent login;
    login.SQLServerName = odbc.folder();
    login.SQLDBName = "KALDRA";
    login.SQLUserName = "sa";
    ASSERT_TRUE(login.connect());
    login.user.user_id = 104;
    login.user.user_name = "MJONES";
    exec("INSERT Trans_activity VALUES ('MJONES', 1, '2026-12-05 09:00', '2026-12-05 09:15')\n"
         "INSERT Trans_activity VALUES ('MJONES', 1, '2026-12-04 09:00', '2026-12-04 09:15')");
    suite::frmWorkTime sheet(login, "2026-12-05");
    EXPECT_EQ(child<QTreeWidget>(sheet, "lvwActivities")->topLevelItemCount(), 1);
    ASSERT_GT(child<QComboBox>(sheet, "cboActivity")->count(), 0); // types with work_hours_choice = 1
    child<QLineEdit>(sheet, "txtStart")->setText("13:00");
    child<QLineEdit>(sheet, "txtEnd")->setText("9:00"); // earlier, though later as text
    child<QPushButton>(sheet, "cmdAdd")->click();
    EXPECT_EQ(child<QLabel>(sheet, "lblMessage")->text(), "The end time must be later than the start time.");
    child<QLineEdit>(sheet, "txtStart")->setText("nonsense");
    child<QLineEdit>(sheet, "txtEnd")->setText("");
    child<QPushButton>(sheet, "cmdAdd")->click();
    EXPECT_EQ(child<QLabel>(sheet, "lblMessage")->text(), "The start and end times must be valid times.");
    child<QLineEdit>(sheet, "txtStart")->setText("13:00");
    child<QLineEdit>(sheet, "txtEnd")->setText("13:30");
    child<QPushButton>(sheet, "cmdAdd")->click();
    EXPECT_EQ(child<QLabel>(sheet, "lblMessage")->text(), "");
    EXPECT_EQ(child<QTreeWidget>(sheet, "lvwActivities")->topLevelItemCount(), 2);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Trans_activity WHERE trans_id = 'MJONES'"), "3");
}

// The region's Qt patterns as strftime patterns, and the minutes form made from the time pattern:
// quoted text stays as it stands (a percent sign in it too), "B" is the day period.
TEST(RegionFormats, QtPatternsBecomeStrftimePatterns) {
    struct Case {
        const char* region;
        const char* qt;
        const char* strftime;
        const char* minutes;
    } cases[] = {
        {"en_US", "h:mm:ss AP t", "%I:%M:%S %p %Z", "%I:%M %p %Z"},
        {"fr_CA", "HH 'h' mm 'min' ss 's' t", "%H h %M min %S s %Z", "%H h %M min %Z"},
        {"bg_BG", "H:mm:ss 'ч'. t", "%H:%M:%S ч. %Z", "%H:%M ч. %Z"},
        {"zh_TW", "Bh:mm:ss [t]", "%p%I:%M:%S [%Z]", "%p%I:%M [%Z]"},
        {"bg_BG date", "d.MM.yy 'г'.", "%d.%m.%y г.", "%d.%m.%y г."},
        {"quotes", "HH 'o''clock' '%'mm''", "%H o'clock %%%M'", "%H o'clock %%%M'"},
    };
    for (const Case& c : cases) {
        const std::string pattern = suite::RegionComponent::toStrftime(QString::fromUtf8(c.qt));
        EXPECT_EQ(pattern, c.strftime) << c.region;
        EXPECT_EQ(foundation::minutesFormat(pattern), c.minutes) << c.region;
    }
}

} // namespace
