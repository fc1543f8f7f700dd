#include "DB_MaintenanceCommands.h"
#include "DB_Statistics.h"
#include "DatabaseSession.h"
#include "EventLog.h"
#include "LoginComponent.h"
#include "MaintenanceDialogFixture.h"
#include "MessageService.h"
#include "OdbcFixture.h"
#include "SessionHelper.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <filesystem>
#include <functional>
#include <memory>

using foundation::DatabaseSession;
using maintenance::DB_MaintenanceCommands;

namespace {

// Accounts 10 "North" and 20 "South" (and the template) in the cache; the user holds privileges 4
// and 5 unless a test takes them away.
class MaintenanceScreens : public kdtest::MaintenanceDialogFixture {
protected:
    void seed() override {
        exec("INSERT Archive_table_purging VALUES (10, 40, 20, 24, 24, 12, 0, 0, 0, 24, 24, 0, 0, 0, NULL, NULL)");
    }
    void SetUp() override {
        MaintenanceDialogFixture::SetUp();
        DatabaseSession::instance().ReadDatabaseVersion();
        foundation::EventLog::context() = foundation::LogContext{};
        std::vector<suite::HospAccount> cache;
        for (auto [id, name] : {std::pair{-1L, "<All New Accounts>"}, {10L, "North"}, {20L, "South"}}) {
            suite::HospAccount a;
            a.hosp_acct_id = id;
            a.hosp_acct_name = name;
            cache.push_back(a);
        }
        login.SetHospAccounts(cache);
    }
    void click(const char* name) { child<QPushButton>(name)->click(); }
    void choose(const QString& account) {
        auto* list = child<QListWidget>("AccountList");
        const auto found = list->findItems(account, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << account.toStdString();
        list->setCurrentItem(found[0]);
    }
    QString selected() {
        auto* item = child<QListWidget>("AccountList")->currentItem();
        return item ? item->text() : QString();
    }
};

TEST_F(MaintenanceScreens, PurgeDialogRefusesBadInputInOrderThenSavesOneBatch) {
    script = [this] {
        auto* list = child<QListWidget>("AccountList");
        ASSERT_EQ(list->count(), 3);
        EXPECT_EQ(list->item(0)->text(), "<All New Accounts>");
        EXPECT_FALSE(child<QLineEdit>("txtPtTime")->isEnabled());
        EXPECT_TRUE(child<QPushButton>("cmdConfigureDictationPurging")->isEnabled());
        choose("South");
        EXPECT_EQ(child<QLineEdit>("LOutputTime")->text(), "30");
        // Each bad text in the output box is refused on OK with the account selected again.
        for (const char* bad : {"abc", "", "1,5", "-3", "40000"}) {
            choose("South");
            type("LOutputTime", bad);
            choose("North");
            recorder.shown.clear();
            click("BOK");
            ASSERT_EQ(recorder.shown.size(), 1u) << bad;
            EXPECT_EQ(recorder.shown[0].text, "Invalid value entered for Output Queue") << bad;
            EXPECT_EQ(recorder.shown[0].title, "Error");
            EXPECT_EQ(selected(), "South") << bad;
        }
        type("LOutputTime", "45");
        type("LDocumentInfoTime", "60");
        type("LDocumentTime", "60");
        type("txtTransformDays", "6");
        recorder.shown.clear();
        click("BOK");
        ASSERT_EQ(recorder.shown.size(), 1u);
        EXPECT_EQ(recorder.shown[0].text, "The value for Veltra Transform Data Purging is not valid.  Please enter 0 "
                                          "for no purging or a number greater than 6.");
        type("txtTransformDays", "7");
        child<QCheckBox>("CHKEnabled")->setChecked(true);
        recorder.shown.clear();
        DatabaseSession::instance().history.clear();
        click("BOK");
        EXPECT_TRUE(recorder.shown.empty());
    };
    commands->PurgeOptions(nullptr);
    EXPECT_TRUE(recorder.shown.empty()) << recorder.shown[0].text;
    EXPECT_EQ(row("SELECT length_output_queue, length_trans_stats, length_document_info, extra4 FROM "
                  "Archive_table_purging WHERE hosp_acct_id = 20"),
              "45,60,60,60,|");
    EXPECT_EQ(row("SELECT purge_enabled, flag3, purge_last_user_id FROM Archive_cfg"), "1,7,1,|");
    const auto& history = DatabaseSession::instance().history;
    ASSERT_GE(history.size(), 2u);
    EXPECT_EQ(history[0].rfind("IF EXISTS (SELECT hosp_acct_id FROM Archive_table_purging", 0), 0u);
    EXPECT_EQ(history[1].rfind("UPDATE Archive_cfg\nSET purge_enabled", 0), 0u);
}

TEST_F(MaintenanceScreens, CancelKeepsTheEditsInMemoryWithoutWriting) {
    script = [this] {
        choose("North");
        type("LSystemLogTime", "33");
        click("BCancel");
    };
    commands->PurgeOptions(nullptr);
    EXPECT_EQ(scalar("SELECT length_system_log FROM Archive_table_purging WHERE hosp_acct_id = 10"), "20");
    script = [this] {
        choose("North");
        EXPECT_EQ(child<QLineEdit>("LSystemLogTime")->text(), "33");
        click("BCancel");
    };
    commands->PurgeOptions(nullptr);
}

TEST_F(MaintenanceScreens, FocusExplainsTheFieldAndPrivilegeFourIsNeeded) {
    grant(false);
    script = [this] {
        QFocusEvent focusIn(QEvent::FocusIn, Qt::TabFocusReason);
        QApplication::sendEvent(child<QLineEdit>("LDocumentInfoTime"), &focusIn);
        EXPECT_EQ(child<QLabel>("LDataLabel")->text(), "Document Information");
        EXPECT_TRUE(child<QLabel>("LDataDescription")->text().startsWith("\nNumber of months before information"));
        click("BOK");
        ASSERT_EQ(recorder.shown.size(), 1u);
        EXPECT_EQ(recorder.shown[0].text, "ACCESS DENIED:  You do not have access to change database purging options.");
        EXPECT_EQ(recorder.shown[0].title, "Security");
        click("BCancel");
    };
    commands->PurgeOptions(nullptr);
    EXPECT_EQ(recorder.shown.size(), 1u);
}

TEST_F(MaintenanceScreens, NoAccountsNoDialog) {
    login.SetHospAccounts({});
    bool ran = false;
    script = [&] { ran = true; };
    commands->PurgeOptions(nullptr);
    EXPECT_FALSE(ran);
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text,
              "There are no accounts defined.  Please use the Account Editor to add an account.");
    EXPECT_EQ(recorder.shown[0].title, "Database Management");
}

TEST_F(MaintenanceScreens, PreviewCountsTheRowsOlderThanTheTimesShown) {
    exec("INSERT System_log (date_timestamp, severity, type, error_code, hosp_acct_id) VALUES "
         "(DATEADD(day, -30, GETDATE()), 2, 0, 1, 10)\n"
         "INSERT System_log (date_timestamp, severity, type, error_code, hosp_acct_id) VALUES "
         "(DATEADD(day, -5, GETDATE()), 2, 0, 1, 10)\n"
         "INSERT System_log (date_timestamp, severity, type, error_code, hosp_acct_id) VALUES "
         "(DATEADD(day, -30, GETDATE()), 2, 0, 1, 20)");
    script = [this] {
        choose("North");
        click("cmdPreview");
        EXPECT_EQ(child<QLabel>("lblPreview")->text(),
                  "Older than these times: 0 output records, 1 system log messages, 0 document information records.");
        click("BCancel");
    };
    commands->PurgeOptions(nullptr);
}

TEST_F(MaintenanceScreens, ArchiveDialogChecksTheAccountsOnlyWhenEnabled) {
    exec("INSERT Archive_disks (disk_nbr, disk_label, disk_location, reports, is_active, is_deleted) VALUES "
         "(1, 'Disk 1', 'A:\\', 0, 1, 0)");
    script = [this] {
        child<QCheckBox>("CHKEnabled")->setChecked(true);
        type("LMonths", "25"); // account 10 keeps documents 24 months
        click("BOK");
        ASSERT_EQ(recorder.shown.size(), 1u);
        EXPECT_EQ(recorder.shown[0].text.rfind("At least one account has the Document purging time set lower", 0), 0u);
        child<QCheckBox>("CHKEnabled")->setChecked(false);
        recorder.shown.clear();
        click("BOK");
        EXPECT_TRUE(recorder.shown.empty());
    };
    commands->ArchiveOptions(nullptr);
    EXPECT_EQ(row("SELECT archive_enabled, archive_max_months, archive_last_user_id FROM Archive_cfg"), "0,25,1,|");
}

TEST_F(MaintenanceScreens, StatisticsNeedPrivilegeFiveAndShowUnknownWithoutMsdb) {
    grant(false);
    EXPECT_EQ(commands->NewStatistics(odbc.folder()), nullptr);
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, "ACCESS DENIED:  You do not have access to view database statistics.");
    grant(true);
    recorder.shown.clear();
    std::unique_ptr<maintenance::DB_Statistics> screen(commands->NewStatistics(odbc.folder()));
    ASSERT_NE(screen, nullptr);
    screen->Gather();
    EXPECT_EQ(screen->findChild<QGroupBox*>("FDBInfo")->title(), "DB Information - KALDRA");
    EXPECT_EQ(screen->findChild<QLabel*>("LLastBackup")->text(), "Unknown");
    EXPECT_EQ(screen->findChild<QLabel*>("LImportFiles")->text(), "Unknown"); // no KALDRA/IMPORT folder
    EXPECT_NE(screen->findChild<QLabel*>("LDBSpace")->text(), "Unknown");
}

} // namespace

namespace {

TEST_F(MaintenanceScreens, BackUpNowMakesAFullBackupLogsItAndShowsIt) {
    bool refreshed = false;
    std::unique_ptr<maintenance::DB_Statistics> screen(commands->NewStatistics(odbc.folder()));
    ASSERT_NE(screen, nullptr);
    screen->onBackedUp = [&] { refreshed = true; };
    screen->Gather();
    auto* button = screen->findChild<QPushButton*>("cmdBackupNow");
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(button->isEnabled());
    recorder.shown.clear();
    button->click();
    for (const auto& m : recorder.shown)
        EXPECT_EQ(m.text.find("could not be backed up"), std::string::npos) << m.text;
    EXPECT_TRUE(refreshed);
    const auto label = screen->findChild<QLabel*>("LLastBackup")->text();
    EXPECT_NE(label, "Unknown");
    EXPECT_NE(label, "None");
    kdtest::OdbcConnection fresh; // msdb was made by the backup, after the test's own connection opened
    ASSERT_TRUE(SQL_SUCCEEDED(fresh.connect(kdtest::connectionStringFor(odbc, "KALDRA"))));
    const std::string file = fresh.exec("SELECT physical_device_name FROM msdb.dbo.backupmediafamily").scalar();
    EXPECT_EQ(file.rfind(odbc.folder() + "/KALDRA/BACKUP/KALDRA_", 0), 0u) << file;
    EXPECT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_log WHERE msg1 LIKE 'Full backup of the database KALDRA made to %'"),
              "1");
    // Without privilege 4 the button is off.
    grant(false);
    login.user.privilegeSet[5] = '\x02';
    std::unique_ptr<maintenance::DB_Statistics> viewer(commands->NewStatistics(odbc.folder()));
    ASSERT_NE(viewer, nullptr);
    EXPECT_FALSE(viewer->findChild<QPushButton*>("cmdBackupNow")->isEnabled());
}

} // namespace
