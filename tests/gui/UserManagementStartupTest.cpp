// User Management on the demo site through the console's own wiring: a physician user end to end
// ("Physician" in the new-user choice picks a physician without a user, the editor starts from its
// names and partition, the save links both ways, "Physician Profile..." opens the profile editor),
// the site's settings the editor obeys, and File > Export List from the filter box.

#include "PP_Add_Phys.h"
#include "PP_Choose_Phys.h"
#include "PP_Phys_List.h"
#include "PhysicianListModel.h"
#include "RecordingOpener.h"
#include "StartupFixture.h"
#include "UA_User_Mgmt.h"
#include "UserListModel.h"
#include "WidgetLookup.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTreeWidget>

#include <fstream>
#include <sstream>

using mainwindow::General_MDI;

namespace {

using kdtest::child;

class UserManagementStartup : public kdtest::StartupTest {
protected:
    std::string scalar(const std::string& sql) {
        kdtest::OdbcConnection c;
        EXPECT_TRUE(SQL_SUCCEEDED(c.connect("Driver={SQL Server};Server=" + site + "/SQL;Database=KALDRA;")));
        return c.exec(sql).scalar();
    }
    void execute(const std::string& sql) {
        kdtest::OdbcConnection c;
        ASSERT_TRUE(SQL_SUCCEEDED(c.connect("Driver={SQL Server};Server=" + site + "/SQL;Database=KALDRA;")));
        c.exec(sql);
    }
    template <class T>
    T* screenOf(General_MDI& window) {
        for (QMdiSubWindow* w : window.mdiArea()->subWindowList())
            if (auto* s = qobject_cast<T*>(w->widget()))
                return s;
        return nullptr;
    }
    // The user list's context menu as a right click shows it, with its commands enabled for the selection.
    static QAction* userCommand(users::UA_User_Mgmt& screen, const char* name) {
        auto* list = screen.findChild<QTableView*>("lvwUsers");
        Q_EMIT list->customContextMenuRequested(QPoint(1, 1));
        screen.Menu("mnuUserMenu")->hide();
        return screen.Menu("mnuUserMenu")->findChild<QAction*>(name);
    }
};

TEST_F(UserManagementStartup, APhysicianUserIsLinkedBothWaysAndOpensItsProfile) {
    // MGARCIA: a general system administrator of the root partition who may alter physician profiles.
    prompt.answers = {{"MGARCIA", "demo"}};
    General_MDI window;
    suite::LoginComponent login;
    app::Startup startup(window, login, prompt);
    std::vector<std::string> seen;
    std::vector<std::string> candidates;
    startup.userManagementHooks = [&](users::UA_User_Mgmt& screen) {
        screen.runDialog = [&](QDialog& d) {
            seen.push_back(d.objectName().toStdString());
            if (d.objectName() == "UA_User_Type") {
                auto* physician = child<QRadioButton>(d, "optPaxlet");
                EXPECT_TRUE(physician->isEnabled());
                physician->setChecked(true);
                return int(QDialog::Accepted);
            }
            if (d.objectName() == "PP_Choose_Phys") {
                auto* accounts = child<QComboBox>(d, "CBAccount");
                accounts->setCurrentIndex(accounts->findText("Heart Institute"));
                auto* list = child<QTableView>(d, "lvwPhysList");
                for (int r = 0; r < list->model()->rowCount(); ++r)
                    candidates.push_back(list->model()->index(r, 0).data().toString().toStdString());
                EXPECT_FALSE(child<QPushButton>(d, "cmdOK")->isEnabled());
                list->selectRow(0);
                child<QPushButton>(d, "cmdOK")->click();
                return d.result();
            }
            // The editor starts as the physician: names, partition and the physician user box.
            EXPECT_EQ(d.windowTitle(), "Add User");
            EXPECT_EQ(child<QLineEdit>(d, "txtFirstName")->text(), "Priya");
            EXPECT_EQ(child<QLineEdit>(d, "txtLastName")->text(), "Shah");
            EXPECT_TRUE(child<QCheckBox>(d, "chkPaxlet")->isChecked());
            EXPECT_EQ(child<QComboBox>(d, "cboPartition")->currentData().toLongLong(), 6);
            child<QLineEdit>(d, "txtUserName")->setText("DRSHAH");
            child<QLineEdit>(d, "txtPassword")->setText("heart42");
            child<QLineEdit>(d, "txtConfirmPassword")->setText("heart42");
            child<QPushButton>(d, "cmdOK")->click();
            return d.result();
        };
    };
    ASSERT_TRUE(startup.run({"/INI=" + site + "/KALDRA.INI"}, folder, folder));
    recorder.shown.clear();
    window.runCommand("mnuUserManagement");
    auto* screen = screenOf<users::UA_User_Mgmt>(window);
    ASSERT_NE(screen, nullptr);
    screen->Menu("mnuUserMenu")->findChild<QAction*>("AddUserMain")->trigger();
    EXPECT_EQ(seen, (std::vector<std::string>{"UA_User_Type", "PP_Choose_Phys", "UA_User_Mgmt_Edit"}));
    // Heart Institute: Evans and Adams (all accounts) have users, so only Shah is offered.
    EXPECT_EQ(candidates, (std::vector<std::string>{"Shah, Priya MD"}));
    ASSERT_TRUE(recorder.shown.empty()) << recorder.shown.front().text;

    const std::string id = scalar("SELECT user_id FROM System_user_bindery WHERE user_name = 'DRSHAH'");
    EXPECT_EQ(scalar("SELECT CONVERT(varchar, flag1) + '|' + CONVERT(varchar, partition_id) + '|' + first_name FROM "
                     "System_user_bindery WHERE user_id = " +
                     id),
              "8|6|Priya");
    EXPECT_EQ(scalar("SELECT flag2 FROM Physician_profile WHERE physician_id = 8"), id);
    EXPECT_EQ(scalar("SELECT MIN(elect_signature) FROM Physician_attributes WHERE physician_id = 8"), "1");
    auto* model = screen->userModel();
    const int row = model->rowOfUser(std::stol(id));
    ASSERT_GE(row, 0);
    EXPECT_EQ(model->index(row, users::UserListModel::Type).data().toString(), "Physician User");

    // The profile opens through the physician list, on this physician; User Management comes back.
    window.runCommand("mnuPPEditor");
    auto* list = screenOf<physicians::PP_Phys_List>(window);
    ASSERT_NE(list, nullptr);
    long opened = 0;
    list->runEditor = [&opened](physicians::PP_Add_Phys& editor) { opened = editor.edit().physicianId(); };
    window.runCommand("mnuUserManagement");
    screen->SelectUsers({std::stol(id)});
    QAction* profile = userCommand(*screen, "PhysicianProfileUser");
    ASSERT_NE(profile, nullptr);
    ASSERT_TRUE(profile->isEnabled());
    recorder.shown.clear();
    profile->trigger();
    EXPECT_TRUE(recorder.shown.empty()) << recorder.shown.front().text;
    EXPECT_EQ(opened, 8);
    EXPECT_EQ(window.mdiArea()->currentSubWindow()->widget(), screen);
    // A user who is no physician user has no profile to open.
    screen->SelectUsers({1}); // ADMINISTRATOR
    EXPECT_FALSE(userCommand(*screen, "PhysicianProfileUser")->isEnabled());
    startup.shutDown();
}

// Without an account to choose a physician from, "Physician" says so and no editor opens.
TEST_F(UserManagementStartup, APhysicianUserWithoutAnyVisibleAccountIsRefusedWithAMessage) {
    execute("UPDATE Account_info SET is_deleted = 1");
    ASSERT_EQ(scalar("SELECT COUNT(*) FROM Account_info WHERE is_deleted = 0"), "0");
    prompt.answers = {{"MGARCIA", "demo"}};
    General_MDI window;
    suite::LoginComponent login;
    app::Startup startup(window, login, prompt);
    std::vector<std::string> seen;
    startup.userManagementHooks = [&](users::UA_User_Mgmt& screen) {
        screen.runDialog = [&](QDialog& d) {
            seen.push_back(d.objectName().toStdString());
            child<QRadioButton>(d, "optPaxlet")->setChecked(true);
            return int(QDialog::Accepted);
        };
    };
    ASSERT_TRUE(startup.run({"/INI=" + site + "/KALDRA.INI"}, folder, folder));
    recorder.shown.clear();
    window.runCommand("mnuUserManagement");
    auto* screen = screenOf<users::UA_User_Mgmt>(window);
    ASSERT_NE(screen, nullptr);
    const std::string users = scalar("SELECT COUNT(*) FROM System_user_bindery");
    screen->Menu("mnuUserMenu")->findChild<QAction*>("AddUserMain")->trigger();
    EXPECT_EQ(seen, (std::vector<std::string>{"UA_User_Type"}));
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, physicians::PP_Choose_Phys::kNoAccountText);
    EXPECT_EQ(recorder.shown[0].title, "Add User");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_user_bindery"), users);
    startup.shutDown();
}

// [AdminDesktop] AllowGeneralUsers=NO refuses a general user to an administrator who is not a
// general system administrator; AllowSettingSignaturePassword=NO locks the signature boxes.
TEST_F(UserManagementStartup, TheSitesSettingsReachTheUserEditor) {
    replaceInIni("AllowSettingSignaturePassword=YES", "AllowSettingSignaturePassword=NO\nAllowGeneralUsers=NO");
    prompt.answers = {{"TLEE", "demo"}};
    General_MDI window;
    suite::LoginComponent login;
    app::Startup startup(window, login, prompt);
    bool locked = false;
    startup.userManagementHooks = [&](users::UA_User_Mgmt& screen) {
        screen.runDialog = [&](QDialog& d) {
            if (d.objectName() == "UA_User_Type") {
                child<QRadioButton>(d, "optGeneralUser")->setChecked(true);
                return int(QDialog::Accepted);
            }
            locked = !child<QLineEdit>(d, "txtSignaturePassword")->isEnabled() &&
                     !child<QLineEdit>(d, "txtConfirmSignaturePassword")->isEnabled();
            child<QLineEdit>(d, "txtUserName")->setText("GENERAL1");
            child<QLineEdit>(d, "txtFirstName")->setText("Gene");
            child<QLineEdit>(d, "txtPassword")->setText("plain42");
            child<QLineEdit>(d, "txtConfirmPassword")->setText("plain42");
            child<QPushButton>(d, "cmdOK")->click();
            return d.result();
        };
    };
    ASSERT_TRUE(startup.run({"/INI=" + site + "/KALDRA.INI"}, folder, folder));
    recorder.shown.clear();
    window.runCommand("mnuUserManagement");
    auto* screen = screenOf<users::UA_User_Mgmt>(window);
    ASSERT_NE(screen, nullptr);
    screen->Menu("mnuUserMenu")->findChild<QAction*>("AddUserMain")->trigger();
    EXPECT_TRUE(locked);
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, "The user must be configured as either a Transcriptionist or Physician User.");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_user_bindery WHERE user_name = 'GENERAL1'"), "0");
    startup.shutDown();
}

// Typing a filter and choosing File > Export List writes the users the list shows, although the
// focus is in the filter box; with the focus in the folder tree it is the list, not the folders.
TEST_F(UserManagementStartup, ExportListWritesTheShownUsersFromTheFilterBoxAndTheTree) {
    kdtest::RecordingOpener opener;
    prompt.answers = {{"ADMINISTRATOR", "demo"}};
    General_MDI window;
    suite::LoginComponent login;
    app::Startup startup(window, login, prompt);
    ASSERT_TRUE(startup.run({"/INI=" + site + "/KALDRA.INI"}, folder, folder));
    window.runCommand("mnuUserManagement");
    auto* screen = screenOf<users::UA_User_Mgmt>(window);
    ASSERT_NE(screen, nullptr);
    const auto exported = [&](QWidget* focus) {
        focus->setFocus();
        EXPECT_EQ(window.mdiArea()->currentSubWindow()->focusWidget(), focus);
        recorder.shown.clear();
        opener.textFiles.clear();
        window.runCommand("mnuImportList");
        EXPECT_TRUE(recorder.shown.empty()) << recorder.shown.front().text;
        std::ifstream in(opener.textFiles.empty() ? std::string() : opener.textFiles.back());
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    };
    auto* filter = screen->findChild<QLineEdit*>("txtFilter");
    filter->setText("jones");
    const std::string filtered = exported(filter);
    EXPECT_NE(filtered.find("User Name"), std::string::npos) << filtered;
    EXPECT_NE(filtered.find("MJONES"), std::string::npos) << filtered;
    EXPECT_EQ(filtered.find("MGARCIA"), std::string::npos) << filtered;
    filter->clear();
    const std::string all = exported(screen->findChild<QTreeWidget*>("tvwGroups"));
    EXPECT_NE(all.find("MGARCIA"), std::string::npos) << all;
    EXPECT_EQ(all.find("Administrator Groups"), std::string::npos) << all;
    startup.shutDown();
}

} // namespace
