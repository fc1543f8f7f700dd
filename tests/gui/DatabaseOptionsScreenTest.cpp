#include "DB_MaintenanceCommands.h"
#include "DB_Options.h"
#include "DatabaseSession.h"
#include "LoginComponent.h"
#include "MessageService.h"
#include "OdbcFixture.h"
#include "SessionHelper.h"

#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

#include <memory>

using foundation::DatabaseSession;
using maintenance::DB_Options;

namespace {

class DatabaseOptionsScreen : public kdtest::SuiteTest {
protected:
    void SetUp() override {
        SuiteTest::SetUp();
        exec("UPDATE Archive_cfg SET hour = 0, minute = 30, frequency = 1, day = 4, flag2 = 0, archive_enabled = 1");
        kdtest::connectSession(odbc.folder(), "KALDRA");
        suite::HospAccount a;
        a.hosp_acct_id = 10;
        a.hosp_acct_name = "North";
        login.SetHospAccounts({a});
        login.user.privilegeSet = std::string(160, '\x01');
        commands = std::make_unique<maintenance::DB_MaintenanceCommands>(login, false, true);
        commands->runDialog = [this](QDialog& d) {
            opened.push_back(d.objectName().toStdString());
            return 0;
        };
    }
    void TearDown() override {
        commands.reset();
        DatabaseSession::instance().DisconnectFromSQL();
    }
    std::unique_ptr<DB_Options> open() {
        auto screen = std::make_unique<DB_Options>(*commands, login);
        EXPECT_TRUE(screen->MyShow());
        return screen;
    }
    static QString text(DB_Options& s, const char* name) { return s.findChild<QLabel*>(name)->text(); }
    static QStringList diskRows(DB_Options& s) {
        QStringList rows;
        auto* view = s.findChild<QTreeWidget*>("DiskView");
        for (int i = 0; i < view->topLevelItemCount(); ++i) {
            QStringList cells;
            for (int c = 0; c < view->columnCount(); ++c)
                cells << view->topLevelItem(i)->text(c);
            rows << cells.join("|");
        }
        return rows;
    }

    platform::MessageRecorder recorder;
    suite::LoginComponent login;
    std::unique_ptr<maintenance::DB_MaintenanceCommands> commands;
    std::vector<std::string> opened;
};

TEST(DatabaseOptionsText, TimeAndFrequencyAreShownAsTheTimingDialogTakesThem) {
    const std::tuple<int, int, const char*> times[] = {
        {0, 30, "12:30 am"}, {12, 30, "12:30 pm"}, {13, 0, "1:00 pm"}, {11, 5, "11:05 am"}, {23, 59, "11:59 pm"}};
    for (auto [hour, minute, shown] : times)
        EXPECT_EQ(DB_Options::TimeText(hour, minute).toStdString(), shown);
    EXPECT_EQ(DB_Options::FrequencyText(1, 4).toStdString(), "Wednesday");
    EXPECT_EQ(DB_Options::FrequencyText(2, 4).toStdString(), "Never");
    EXPECT_EQ(DB_Options::FrequencyText(0, 4).toStdString(), "Every Day");
    EXPECT_EQ(DB_Options::FrequencyText(1, 1).toStdString(), "Sunday");
}

TEST_F(DatabaseOptionsScreen, ShowsTheSettingsAndMarksTheActiveAndBlankDisks) {
    {
        auto screen = open();
        EXPECT_EQ(text(*screen, "LTime"), "12:30 am");
        EXPECT_EQ(text(*screen, "LFrequency"), "Wednesday");
        EXPECT_EQ(text(*screen, "LBackupDays"), "30"); // a stored 0 reads as 30
        EXPECT_EQ(diskRows(*screen), QStringList({"No Disks Found||||||"}));
        EXPECT_EQ(text(*screen, "LCurrentDisk"), "NONE");
    }
    exec("INSERT Archive_disks (disk_nbr, disk_label, disk_location, last_write_time, reports, is_active, is_deleted) "
         "VALUES (1, 'Zeta', 'Z:\\arch', NULL, 0, 0, 0)\n"
         "INSERT Archive_disks (disk_nbr, disk_label, disk_location, last_write_time, reports, is_active, is_deleted) "
         "VALUES (2, 'Alpha', '\\\\srv\\arch', '2026-11-30 10:00', 12, 1, 0)\n"
         "INSERT Archive_disks (disk_nbr, disk_label, disk_location, reports, is_active, is_deleted) "
         "VALUES (3, 'Gone', 'G:\\', 0, 0, 1)");
    maintenance::DB_MaintenanceCommands fresh(login, false, true);
    DB_Options screen(fresh, login);
    ASSERT_TRUE(screen.MyShow());
    EXPECT_EQ(diskRows(screen),
              QStringList({"Alpha|\\\\srv\\arch|11/30/2026|||12|ENABLED", "Zeta|Z:\\arch||||0|BLANK"}));
    EXPECT_EQ(text(screen, "LCurrentDisk"), "Alpha");
}

TEST_F(DatabaseOptionsScreen, ChangingSettingsNeedsPrivilegeFourEachWithItsRefusal) {
    auto screen = open();
    int statistics = 0, logs = 0;
    screen->openStatistics = [&] { ++statistics; };
    screen->openMaintenanceLog = [&] { ++logs; };
    for (auto [button, message] : {std::pair{"BPurge", "ACCESS DENIED:  You do not have access to change archives."},
                                   {"BArchive", "ACCESS DENIED:  You do not have access to change archive."}}) {
        recorder.shown.clear();
        screen->findChild<QPushButton*>(button)->click();
        ASSERT_EQ(recorder.shown.size(), 1u) << button;
        EXPECT_EQ(recorder.shown[0].text, message);
        EXPECT_EQ(recorder.shown[0].title, "Security");
    }
    EXPECT_TRUE(opened.empty());
    login.user.privilegeSet[4] = '\x02';
    recorder.shown.clear();
    screen->findChild<QPushButton*>("BArchive")->click();
    screen->findChild<QPushButton*>("BPurge")->click();
    EXPECT_EQ(opened, std::vector<std::string>({"DB_Database_Archive", "DB_Purge_Options"}));
    EXPECT_TRUE(recorder.shown.empty());
    screen->findChild<QPushButton*>("BStats")->click();
    screen->findChild<QPushButton*>("BLog")->click();
    EXPECT_EQ(statistics, 1);
    EXPECT_EQ(logs, 1);
    EXPECT_TRUE(screen->findChild<QPushButton*>("BTiming")->isEnabled());
}

} // namespace
