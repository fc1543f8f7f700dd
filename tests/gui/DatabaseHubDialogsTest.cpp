#include "DB_MaintenanceCommands.h"
#include "DB_Options.h"
#include "DatabaseSession.h"
#include "LoginComponent.h"
#include "MaintenanceDialogFixture.h"
#include "MessageService.h"
#include "OdbcFixture.h"
#include "SessionHelper.h"
#include "StartupFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <filesystem>
#include <unistd.h>

using foundation::DatabaseSession;
using maintenance::DB_Options;
using platform::MsgAnswer;

namespace {

// The Database Management screen over a fresh suite database with archiving on for 24 months; its
// dialogs run a script instead of their event loop.
class DatabaseHubDialogs : public kdtest::MaintenanceDialogFixture {
protected:
    void seed() override {
        exec("UPDATE Archive_cfg SET archive_enabled = 1, archive_max_months = 24, hour = 2, minute = 0, "
             "frequency = 0, day = 1, flag2 = 30, migrate_leftover_directory = NULL");
    }
    void SetUp() override {
        MaintenanceDialogFixture::SetUp();
        screen = std::make_unique<DB_Options>(*commands, login);
        ASSERT_TRUE(screen->MyShow());
        folder = std::filesystem::temp_directory_path() / ("kd-hub-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
    }
    void TearDown() override {
        screen.reset();
        std::filesystem::remove_all(folder);
        MaintenanceDialogFixture::TearDown();
    }
    // OK pressed: the messages it showed.
    std::vector<std::string> ok() {
        recorder.shown.clear();
        child<QPushButton>("BOK")->setFocus(); // as a click with the mouse does
        child<QPushButton>("BOK")->click();
        std::vector<std::string> texts;
        for (const auto& m : recorder.shown)
            texts.push_back(m.text);
        return texts;
    }
    void press(const char* button) { screen->findChild<QPushButton*>(button)->click(); }
    QString label(const char* name) { return screen->findChild<QLabel*>(name)->text(); }
    void selectDisk(const QString& label) {
        auto* view = screen->findChild<QTreeWidget*>("DiskView");
        const auto found = view->findItems(label, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << label.toStdString();
        view->setCurrentItem(found[0]);
    }

    std::unique_ptr<DB_Options> screen;
    std::filesystem::path folder;
};

TEST_F(DatabaseHubDialogs, EachChangeNeedsPrivilegeFourWithItsOwnRefusal) {
    exec("INSERT Archive_disks (disk_nbr, disk_label, disk_location, reports, is_active, is_deleted) "
         "VALUES (1, 'Vol', 'E:\\A', 0, 1, 0)");
    commands = std::make_unique<maintenance::DB_MaintenanceCommands>(login, false, true);
    screen = std::make_unique<DB_Options>(*commands, login);
    ASSERT_TRUE(screen->MyShow());
    selectDisk("Vol");
    grant(false);
    const std::pair<const char*, const char*> cases[] = {
        {"BFileServer", "file server configurations"},
        {"BTiming", "general database management options"},
        {"BAddDisk", "archive disks"},
        {"BEditDisk", "archive disks"},
        {"BDeleteDisk", "archive disks"},
    };
    for (auto [button, what] : cases) {
        recorder.shown.clear();
        press(button);
        ASSERT_EQ(recorder.shown.size(), 1u) << button;
        EXPECT_EQ(recorder.shown[0].text,
                  std::string("ACCESS DENIED:  You do not have access to change ") + what + ".");
        EXPECT_EQ(recorder.shown[0].title, "Security");
    }
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Archive_disks"), "1");
}

TEST_F(DatabaseHubDialogs, FileServerWarnsUnderThirtyDaysAndCancelReturnsToTheField) {
    script = [this] {
        EXPECT_EQ(child<QLineEdit>("MMax12Date")->text(), "01/01/1997");
        type("LMaxDays", "29");
        recorder.answer(MsgAnswer::Cancel);
        EXPECT_EQ(ok().size(), 1u);
        EXPECT_EQ(recorder.shown[0].title, "Warning");
        EXPECT_EQ(recorder.shown[0].buttons, platform::MsgButtons::OKCancel);
        EXPECT_EQ(dialog->focusWidget(), child<QLineEdit>("LMaxDays"));
        recorder.answer(MsgAnswer::OK);
        EXPECT_EQ(ok().back(), "The leftover directory cannot be blank.  Please enter a directory.");
        type("LDirectory", "C:\\LEFT OVER\\");
        type("MMax12Date", "02302024");
        recorder.answer(MsgAnswer::OK);
        EXPECT_EQ(ok().back(), "The Kaldra 1.2 Install Date is not a valid date.  Please enter it as MM/DD/YYYY.");
        type("MMax12Date", "02292024");
        child<QCheckBox>("CHKEnabled")->setChecked(true);
        child<QComboBox>("CBLogLevel")->setCurrentIndex(1);
        recorder.answer(MsgAnswer::OK);
        EXPECT_EQ(ok().size(), 1u); // the warning only
    };
    press("BFileServer");
    EXPECT_EQ(opened, std::vector<std::string>({"DB_FileServer_Database:File Server To Database Options"}));
    EXPECT_EQ(row("SELECT migrate_enabled, migrate_min_days, migrate_max_days, migrate_leftover_directory, "
                  "migrate_log_level, migrate_use_signed, migrate_last_user_id, "
                  "CONVERT(char(10), migrate_max12_date, 101), archive_max_months, hour FROM Archive_cfg"),
              "1,29,29,C:\\LEFT OVER,1,0,1,02/29/2024,24,2,|");
    EXPECT_EQ(label("LMigrateStatus"), "Enabled, 29 days, C:\\LEFT OVER");
}

TEST_F(DatabaseHubDialogs, TimingStoresThePmHourAndTheWeekdayAndTheScreenShowsThem) {
    script = [this] {
        EXPECT_EQ(child<QLineEdit>("MHour")->text(), "02:00");
        EXPECT_EQ(child<QComboBox>("CBampm")->currentText(), "am");
        EXPECT_EQ(child<QComboBox>("CBWeekday")->currentText(), "<Every Day>");
        type("MHour", "1230");
        child<QComboBox>("CBampm")->setCurrentIndex(1);
        child<QComboBox>("CBWeekday")->setCurrentText("Wednesday");
        type("LBackupDays", "0");
        EXPECT_EQ(ok(), std::vector<std::string>({"The number of backup days must be greater than zero."}));
        EXPECT_EQ(dialog->focusWidget(), child<QLineEdit>("LBackupDays"));
        type("LBackupDays", "7,5"); // the box takes digits only
        EXPECT_EQ(child<QLineEdit>("LBackupDays")->text(), "75");
        EXPECT_TRUE(ok().empty());
    };
    press("BTiming");
    EXPECT_EQ(row("SELECT hour, minute, frequency, day, flag2, archive_enabled FROM Archive_cfg"), "12,30,1,4,75,1,|");
    EXPECT_EQ(label("LTime"), "12:30 pm");
    EXPECT_EQ(label("LFrequency"), "Wednesday");
    EXPECT_EQ(label("LBackupDays"), "75");
    script = [this] {
        EXPECT_EQ(child<QComboBox>("CBWeekday")->currentText(), "Wednesday");
        child<QCheckBox>("CHKNever")->setChecked(true);
        EXPECT_TRUE(ok().empty());
    };
    press("BTiming");
    EXPECT_EQ(row("SELECT frequency, day FROM Archive_cfg"), "2,4,|");
    EXPECT_EQ(label("LFrequency"), "Never");
}

TEST_F(DatabaseHubDialogs, DisksAreAddedEditedAndAskedAboutWhenTheirLocationCannotBeReached) {
    script = [this] {
        EXPECT_EQ(child<QLineEdit>("LDiskLabel")->text(), "New Disk");
        type("LDiskLabel", "Volume 1");
        type("LDiskLocation", QString::fromStdString(folder.string()));
        child<QCheckBox>("CHKActive")->setChecked(true);
        EXPECT_TRUE(ok().empty()); // a real folder that takes a file: no question
    };
    press("BAddDisk");
    EXPECT_EQ(label("LCurrentDisk"), "Volume 1");
    script = [this] {
        type("LDiskLabel", "VOLUME 1");
        type("LDiskLocation", "E:\\ARCHIVE");
        EXPECT_EQ(ok(), std::vector<std::string>({"Another archive disk already exists with the label VOLUME 1"}));
        type("LDiskLabel", "Volume 2");
        recorder.answer(MsgAnswer::No);
        EXPECT_EQ(ok(), std::vector<std::string>({"The Disk Location could not be validated.  Continue anyway?"}));
        EXPECT_EQ(recorder.shown[0].title, "Validate Location");
        EXPECT_EQ(dialog->focusWidget(), child<QLineEdit>("LDiskLocation"));
        recorder.answer(MsgAnswer::Yes);
        ok();
    };
    press("BAddDisk");
    EXPECT_EQ(row("SELECT disk_nbr, disk_label, is_active FROM Archive_disks ORDER BY disk_nbr"),
              "1,Volume 1,1,|2,Volume 2,0,|");
    selectDisk("Volume 2");
    script = [this] {
        EXPECT_EQ(child<QLineEdit>("LDiskLocation")->text(), "E:\\ARCHIVE");
        child<QCheckBox>("CHKActive")->setChecked(true);
        recorder.answer(MsgAnswer::Yes);
        ok();
    };
    press("BEditDisk");
    EXPECT_EQ(opened, std::vector<std::string>({"DB_Disk_Edit:Add Archive Disk", "DB_Disk_Edit:Add Archive Disk",
                                                "DB_Disk_Edit:Edit Archive Disk"}));
    EXPECT_EQ(row("SELECT disk_nbr, is_active FROM Archive_disks ORDER BY disk_nbr"), "1,0,|2,1,|");
    EXPECT_EQ(label("LCurrentDisk"), "Volume 2");
    selectDisk("Volume 2");
    recorder.shown.clear();
    recorder.answer(MsgAnswer::Yes);
    press("BDeleteDisk");
    EXPECT_EQ(row("SELECT disk_nbr FROM Archive_disks"), "1,|");
    ASSERT_EQ(recorder.shown.size(), 2u);
    EXPECT_EQ(recorder.shown[1].text, "Archiving will be disabled since there is not a current archive disk.");
    EXPECT_EQ(label("LCurrentDisk"), "NONE");
    EXPECT_TRUE(label("LArchiveStatus").startsWith("Disabled"));
}

// On the demo site: the menu's entries and the dashboard reach the hub's pages, and the maintenance
// log opens the system log showing the database management events.
class DatabaseHubStartup : public kdtest::StartupTest {};

TEST_F(DatabaseHubStartup, MenuDashboardAndMaintenanceLogOpenTheHubsPages) {
    prompt.answers = {{"ADMINISTRATOR", "demo"}};
    mainwindow::General_MDI window;
    suite::LoginComponent login;
    app::Startup startup(window, login, prompt);
    ASSERT_TRUE(startup.run({"/INI=" + site + "/KALDRA.INI"}, folder, folder)) << startup.stoppedAt();
    recorder.shown.clear();
    // The demo's administrator lacks privilege 4: each entry reaches its dialog's refusal.
    window.runCommand("mnuARTime");
    window.runCommand("mnuDBFilePurge");
    ASSERT_EQ(recorder.shown.size(), 2u);
    EXPECT_EQ(recorder.shown[0].text,
              "ACCESS DENIED:  You do not have access to change general database management options.");
    EXPECT_EQ(recorder.shown[1].text, "ACCESS DENIED:  You do not have access to change file server configurations.");
    recorder.shown.clear();
    auto* dashboardButton = window.findChild<QPushButton*>("cmdDBOptions");
    ASSERT_NE(dashboardButton, nullptr);
    dashboardButton->click();
    auto* hub = window.findChild<DB_Options*>("DB_Options");
    ASSERT_NE(hub, nullptr);
    EXPECT_TRUE(recorder.shown.empty());
    // The log opens preset to the maintenance events, and again after the user changed the type.
    for (int round = 0; round < 2; ++round) {
        hub->findChild<QPushButton*>("BLog")->click();
        auto* type = window.findChild<QComboBox*>("CBLogType");
        ASSERT_NE(type, nullptr);
        EXPECT_EQ(type->currentText(), "Database Management") << round;
        type->setCurrentIndex(0);
    }
    startup.shutDown();
}

} // namespace
