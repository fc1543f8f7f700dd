#include "DatabaseSession.h"
#include "DecimalCommaLocale.h"
#include "Interaction.h"
#include "LoginComponent.h"
#include "MessageService.h"
#include "OdbcFixture.h"
#include "SessionHelper.h"
#include "clsMaintenanceHub.h"

using namespace maintenance;
using foundation::DatabaseSession;

namespace {

// "yyyy-mm-dd hh:mm:ss" as "yyyymmdd hh:mm:ss", the form the settings update writes.
std::string unseparated(std::string stamp) {
    return stamp.erase(7, 1).erase(4, 1);
}

// A suite database with the template account -1 and accounts 10, 20 (30 deleted) in the cache; the
// table also holds a row for account 99, which the cache does not know.
class MaintenanceSettings : public kdtest::SuiteTest {
protected:
    void SetUp() override {
        SuiteTest::SetUp();
        exec("INSERT Archive_table_purging VALUES (10, 40, 20, 24, 24, 12, 0, 0, 0, 0, 0, 0, 0, 0, NULL, NULL)\n"
             "INSERT Archive_table_purging VALUES (99, 1, 2, 3, 4, 5, 0, 0, 0, 6, 7, 8, 9, 0, NULL, NULL)\n"
             "INSERT System_user_bindery (user_id, user_name, first_name, last_name, flag3, partition_id, enabled) "
             "VALUES (7, 'admin', 'A', 'B', 0, 0, 1)");
        kdtest::connectSession(odbc.folder(), "KALDRA");
        std::vector<suite::HospAccount> cache;
        for (auto [id, deleted] : {std::pair{-1L, false}, {10L, false}, {20L, false}, {30L, true}}) {
            suite::HospAccount a;
            a.hosp_acct_id = id;
            a.hosp_acct_name = "Account " + std::to_string(id);
            a.is_deleted = deleted;
            cache.push_back(a);
        }
        login.SetHospAccounts(cache);
        platform::Clock::pin(std::time_t{1796400000}); // 2026-12-05, local
        DatabaseSession::instance().history.clear();
    }
    void TearDown() override {
        platform::Clock::pin(std::nullopt);
        DatabaseSession::instance().DisconnectFromSQL();
    }
    std::string row(const std::string& sql) { return exec(sql).table(); }

    platform::MessageRecorder recorder;
    suite::LoginComponent login;
};

TEST_F(MaintenanceSettings, ManagementQueryReadsTheRowAndAStoredBackupDaysBelowOneAsThirty) {
    exec("UPDATE Archive_cfg SET flag2 = 0, flag3 = 180, archive_max_months = 36, purge_last_user_id = 7, "
         "purge_last_time = '2026-12-01 08:15:00', migrate_leftover_directory = 'O''Hara leftover'");
    clsMaintenanceSettings s;
    ASSERT_TRUE(s.Load());
    EXPECT_EQ(DatabaseSession::instance().history.back(), clsMaintenanceSettings::kManagementQuery);
    EXPECT_EQ(s.cfg.flag2, 30);
    EXPECT_EQ(s.cfg.flag3, 180);
    EXPECT_EQ(s.cfg.archive_max_months, 36);
    EXPECT_EQ(s.cfg.purge_user_name, "admin");
    EXPECT_EQ(s.cfg.purge_time, "2026-12-01 08:15:00");
    EXPECT_EQ(s.cfg.migrate_max12, "01/01/1997");
    EXPECT_EQ(s.cfg.migrate_leftover_directory, "O'Hara leftover");
    EXPECT_TRUE(recorder.shown.empty());
}

TEST_F(MaintenanceSettings, EachSectionWritesOnlyItsColumnsAndStampsTheUser) {
    clsMaintenanceSettings s;
    ASSERT_TRUE(s.Load());
    const std::string before = row("SELECT migrate_max_days, hour, archive_max_months FROM Archive_cfg");
    s.cfg.purge_enabled = 1;
    s.cfg.flag3 = 7;
    s.cfg.archive_max_months = 30; // belongs to another section: not written by section 1
    ASSERT_TRUE(s.Update(1, 7));
    EXPECT_EQ(DatabaseSession::instance().history.back(),
              "UPDATE Archive_cfg\nSET purge_enabled      = 1, \npurge_non_archived = 0, \npurge_log_level    = 0, \n"
              "purge_last_user_id = 7, \nflag3              = 7, \npurge_last_time    = '" +
                  unseparated(platform::Clock::stamp(platform::Clock::now())) + "'");
    EXPECT_EQ(row("SELECT purge_enabled, flag3, purge_last_user_id FROM Archive_cfg"), "1,7,7,|");
    EXPECT_EQ(row("SELECT CONVERT(varchar(19), purge_last_time, 120) FROM Archive_cfg"),
              platform::Clock::stamp(platform::Clock::now()) + ",|");
    EXPECT_EQ(row("SELECT migrate_max_days, hour, archive_max_months FROM Archive_cfg"), before);

    ASSERT_TRUE(s.Update(2, 7));
    EXPECT_EQ(row("SELECT archive_max_months, archive_last_user_id FROM Archive_cfg"), "30,7,|");

    s.cfg.migrate_leftover_directory = "D:\\Left 'over' \xC3\xA9t\xC3\xA9";
    s.cfg.hour = 13;
    ASSERT_TRUE(s.Update(0, 7));
    ASSERT_TRUE(s.Load());
    EXPECT_EQ(s.cfg.migrate_leftover_directory, "D:\\Left 'over' \xC3\xA9t\xC3\xA9");
    EXPECT_EQ(s.cfg.hour, 13);
    EXPECT_TRUE(s.UpdateStatement(5, 7, "x").empty());
    EXPECT_FALSE(s.Update(5, 7));
}

TEST_F(MaintenanceSettings, DiskQueryListsTheUndeletedDisksByLabel) {
    exec("INSERT Archive_disks (disk_nbr, disk_label, disk_location, reports, is_active, is_deleted) VALUES "
         "(1, 'Zeta', 'Z:\\arch', 0, 0, 0)\n"
         "INSERT Archive_disks (disk_nbr, disk_label, disk_location, reports, is_active, is_deleted) VALUES "
         "(2, 'Alpha', '\\\\srv\\arch', 12, 1, 0)\n"
         "INSERT Archive_disks (disk_nbr, disk_label, disk_location, reports, is_active, is_deleted) VALUES "
         "(3, 'Gone', 'G:\\', 0, 0, 1)");
    clsMaintenanceSettings s;
    ASSERT_TRUE(s.LoadDisks());
    ASSERT_EQ(s.Disks().size(), 2u);
    EXPECT_EQ(s.Disks()[0].disk_label, "Alpha");
    EXPECT_TRUE(s.Disks()[0].is_active);
    EXPECT_EQ(s.Disks()[0].reports, 12);
    EXPECT_EQ(s.Disks()[1].disk_label, "Zeta");
}

TEST_F(MaintenanceSettings, PurgeTimesLoadDefaultsStoredRowsAndSkipUnknownAccounts) {
    exec("UPDATE Archive_table_purging SET extra4 = 0, extra5 = 0, extra6 = 11, extra7 = 5 WHERE hosp_acct_id = -1\n"
         "UPDATE Archive_table_purging SET extra4 = 20, extra5 = 18 WHERE hosp_acct_id = 10");
    for (bool combined : {false, true}) {
        clsPurgeTimes t;
        ASSERT_TRUE(t.Load(login, combined));
        ASSERT_EQ(t.Count(), 4);
        const auto& tpl = t.At(1); // -1: 90, 90, 365, 365, 90 with documents and job statistics stored as 0
        EXPECT_EQ(tpl.value[OutputQueue], "90");
        EXPECT_EQ(tpl.value[Documents], "365") << "a stored 0 reads as Document Information";
        EXPECT_EQ(tpl.value[JobStats], "365");
        EXPECT_EQ(tpl.value[PatientAdt], combined ? "11" : "0");
        EXPECT_EQ(tpl.value[VisitAdt], combined ? "5" : "0");
        const auto& a99 = t.At(4); // account 30 is not stored: its defaults
        EXPECT_EQ(a99.value[Documents], "48");
        const auto& a10 = t.At(2);
        EXPECT_EQ(a10.value[OutputQueue], "40");
        EXPECT_EQ(a10.value[Documents], "20") << "a stored value is read once and kept";
        EXPECT_EQ(a10.value[JobStats], "18");
        EXPECT_EQ(a10.value[PatientAdt], "0") << "ADT only on the template row";
        const auto& a20 = t.At(3); // not stored: the defaults
        EXPECT_EQ(a20.value,
                  (std::array<std::string, kPurgeFieldCount>{"30", "15", "48", "48", "48", "48", "48", "0", "0"}));
    }
}

TEST_F(MaintenanceSettings, SaveWritesTheListedRecordsAndLeavesUnknownAccountsAlone) {
    clsPurgeTimes t;
    ASSERT_TRUE(t.Load(login, false));
    t.At(2).listed = true; // 10: stored, updated
    t.At(3).listed = true; // 20: new, inserted
    t.At(2).set(DocumentInfo, "30");
    t.At(3).set(OutputQueue, "45");
    ASSERT_TRUE(t.Save());
    const std::string sent = DatabaseSession::instance().history.back();
    EXPECT_EQ(sent.substr(0, sent.find("ELSE")),
              "IF EXISTS (SELECT hosp_acct_id FROM Archive_table_purging \n           WHERE hosp_acct_id = 10)\n"
              " UPDATE Archive_table_purging\n SET length_output_queue =  40, \n     length_system_log   =  20, \n"
              "     length_trans_stats  =  30, \n     length_document_info = 30, \n     length_edit_history =  12, \n"
              "     extra4 =               24, \n     extra5 =               24, \n     extra6 =               0, \n"
              "     extra7 =               0\n WHERE hosp_acct_id = 10\n");
    EXPECT_NE(sent.find(" INSERT Archive_table_purging VALUES(20, 45, 15, 48, 48, 48, 0, 0, 0, 48, 48, 0, 0, 0, "
                        "NULL, NULL)"),
              std::string::npos);
    EXPECT_EQ(sent.find("= -1"), std::string::npos) << "the unlisted template row is not written";
    EXPECT_EQ(row("SELECT hosp_acct_id, length_output_queue, length_trans_stats, length_document_info FROM "
                  "Archive_table_purging ORDER BY hosp_acct_id"),
              "-1,90,365,365,|10,40,30,30,|20,45,48,48,|99,1,3,4,|");
}

TEST_F(MaintenanceSettings, ABadValueBuildsNoBatch) {
    clsPurgeTimes t;
    t.Initialize(login, false);
    t.At(2).listed = true;
    for (const char* bad : {"", "abc", " 5", "1,5", "-3", "40000", "32768", "\xD9\xA3"}) {
        t.At(2).set(OutputQueue, bad);
        EXPECT_TRUE(t.SaveStatement().empty()) << bad;
    }
    t.At(2).set(OutputQueue, "32767");
    EXPECT_FALSE(t.SaveStatement().empty());
}

TEST_F(MaintenanceSettings, ALinkLostAtTheSaveLeavesArchiveCfgUnwrittenAndTheEditsInMemory) {
    clsMaintenanceHub hub(login, false);
    ASSERT_TRUE(hub.Open());
    const std::string cfgBefore = row("SELECT purge_enabled, flag3, purge_last_user_id FROM Archive_cfg");
    hub.purgeTimes.At(3).listed = true;
    hub.purgeTimes.At(3).set(SystemLog, "25");
    hub.settings.cfg.purge_enabled = 1;
    hub.settings.cfg.flag3 = 90;
    // The save's batch meets the lost link; the session reconnects, and its one retry fails too.
    odbc.arrangeFault("KALDRA", "drop-link 2");
    EXPECT_FALSE(hub.SavePurgeOptions(7));
    ASSERT_FALSE(recorder.shown.empty());
    EXPECT_EQ(recorder.shown.back().text,
              "An error was encountered trying to save the purge settings.  \nChanges were not saved");
    EXPECT_EQ(recorder.shown.back().title, "Error");
    EXPECT_EQ(hub.purgeTimes.At(3).value[SystemLog], "25");
    EXPECT_EQ(hub.settings.cfg.flag3, 90);
    EXPECT_EQ(row("SELECT purge_enabled, flag3, purge_last_user_id FROM Archive_cfg"), cfgBefore);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Archive_table_purging WHERE hosp_acct_id = 20"), "0");
}

TEST_F(MaintenanceSettings, HubSavesThePurgeSectionAfterTheBatchAndReadsAgain) {
    clsMaintenanceHub hub(login, false);
    ASSERT_TRUE(hub.Open());
    hub.purgeTimes.At(2).listed = true;
    hub.settings.cfg.flag3 = 14;
    ASSERT_TRUE(hub.SavePurgeOptions(7));
    EXPECT_TRUE(recorder.shown.empty());
    EXPECT_EQ(hub.settings.cfg.purge_user_name, "admin");
    EXPECT_EQ(row("SELECT flag3, purge_last_user_id FROM Archive_cfg"), "14,7,|");
    EXPECT_FALSE(hub.purgeTimes.At(2).listed);
}

} // namespace

namespace {

// The statements are the same whatever the user's number format; a decimal comma is a bad time.
TEST_F(MaintenanceSettings, ADecimalCommaLocaleChangesNothingInTheStatements) {
    clsMaintenanceSettings s;
    ASSERT_TRUE(s.Load());
    clsPurgeTimes t;
    ASSERT_TRUE(t.Load(login, true));
    for (int i = 1; i <= t.Count(); ++i)
        t.At(i).listed = true;
    const std::string update = s.UpdateStatement(0, 7, "2026-12-05 10:00:00");
    const std::string save = t.SaveStatement();
    kdtest::DecimalCommaLocale locale;
    KD_REQUIRE_DECIMAL_COMMA(locale);
    EXPECT_EQ(s.UpdateStatement(0, 7, "2026-12-05 10:00:00"), update);
    EXPECT_EQ(t.SaveStatement(), save);
    t.At(2).set(OutputQueue, "1,5");
    EXPECT_TRUE(t.SaveStatement().empty());
    ASSERT_TRUE(s.Update(0, 7));
    EXPECT_TRUE(recorder.shown.empty());
}

// A pasted 10 000-character text in a time box is refused; quotes and non-ASCII text in the
// leftover directory go through QuoteSQL and come back as they were.
TEST_F(MaintenanceSettings, LongPastesQuotesAndNonAsciiAreSafe) {
    clsPurgeTimes t;
    t.Initialize(login, false);
    t.At(2).listed = true;
    t.At(2).set(SystemLog, std::string(10000, '7'));
    EXPECT_FALSE(t.At(2).number(SystemLog).has_value());
    EXPECT_TRUE(t.SaveStatement().empty());
    clsMaintenanceSettings s;
    ASSERT_TRUE(s.Load());
    s.cfg.migrate_leftover_directory = "\\\\srv\\'; DROP TABLE Archive_cfg --\\\xE5\x8C\xBB\xE9\x99\xA2";
    ASSERT_TRUE(s.Update(3, 7));
    clsMaintenanceSettings back;
    ASSERT_TRUE(back.Load());
    EXPECT_EQ(back.cfg.migrate_leftover_directory, s.cfg.migrate_leftover_directory);
}

} // namespace
