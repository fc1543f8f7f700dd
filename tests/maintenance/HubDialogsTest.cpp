#include "DatabaseSession.h"
#include "DecimalCommaLocale.h"
#include "HubDialogRules.h"
#include "LoginComponent.h"
#include "MessageService.h"
#include "OdbcFixture.h"
#include "SessionHelper.h"
#include "clsMaintenanceHub.h"

#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace maintenance;
using foundation::DatabaseSession;

namespace {

const char* const kMonths = "The maximum amount of time to leave documents on the file server is greater than the "
                            "number of months before archiving.  Either decrease the number of maximum days here or "
                            "increase the number of months before archiving reports - under \nArchive Options.";
const char* const kNotNumeric = "Invalid value entered for number for maximum days.";
const char* const kBelowSix = "The maximum days cannot be set lower than 6 days.";

std::string messageOf(const auto& result) {
    const auto* f = std::get_if<RuleFailure>(&result);
    return f ? f->message : "";
}

std::string repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i)
        out += s;
    return out;
}

TEST(HubDialogRules, FileServerDaysAreCheckedInOrderAgainstTwentyEightDaysAMonth) {
    kdtest::DecimalCommaLocale locale; // "7,5" must stay refused whatever the locale
    struct Case {
        const char* days;
        int months;
        const char* message; // "" when accepted
        bool warn;
    } cases[] = {
        {"5", 24, kBelowSix, false},
        {"6", 24, "", true},
        {"29", 24, "", true},
        {"30", 24, "", false},
        {"29", 1, kMonths, false},
        {"28", 1, "", true},
        {"0", 24, kBelowSix, false},
        {"10000", 24, kMonths, false},
        {"10000", 400, "", false},
        {"7,5", 24, kNotNumeric, false},
        {"99999999999", 2000000000, kNotNumeric, false},
        {"2147483648", 2000000000, kNotNumeric, false},
        {"\xd9\xa3", 24, kNotNumeric, false},
        {"-3", 24, kNotNumeric, false},
        {"", 24, kNotNumeric, false},
        {"abc", 0, kNotNumeric, false},
        {" 45 ", 24, "", false},
        {"3", 0, kMonths, false}, // the months come before the minimum
    };
    for (const Case& c : cases) {
        const auto r = CheckMigrateDays(c.days, c.months);
        EXPECT_EQ(messageOf(r), c.message) << c.days << " / " << c.months;
        if (const auto* d = std::get_if<MigrateDays>(&r)) {
            EXPECT_EQ(d->warnVeltraSort, c.warn) << c.days;
        }
    }
}

TEST(HubDialogRules, LeftoverDirectoryAndInstallDate) {
    const std::string blank = "The leftover directory cannot be blank.  Please enter a directory.";
    const std::string tooLong = "The leftover directory cannot be longer than 255 characters.";
    const std::string badDate = "The Kaldra 1.2 Install Date is not a valid date.  Please enter it as MM/DD/YYYY.";
    struct Case {
        std::string dir, date, message, storedDir;
    } cases[] = {
        {"", "01/01/1997", blank, ""},
        {"   ", "02/30/2024", blank, ""}, // the directory is checked before the date
        {"C:\\LEFTOVER\\", "01/01/1997", "", "C:\\LEFTOVER"},
        {"\\\\srv\\left\\\\", "02/29/2024", "", "\\\\srv\\left"},
        {repeat("\xc3\xa9", 255), "12/31/9999", "", repeat("\xc3\xa9", 255)},
        {repeat("\xc3\xa9", 256), "01/01/1997", tooLong, ""},
        {"/srv/left", "02/30/2024", badDate, ""},
        {"/srv/left", "02/29/2023", badDate, ""},
        {"/srv/left", "13/01/2020", badDate, ""},
        {"/srv/left", "01/01/1752", badDate, ""},
        {"/srv/left", "1/1/1997", badDate, ""},
        {"/srv/left", "  /  /    ", badDate, ""},
    };
    for (const Case& c : cases) {
        const auto r = CheckMigrateRest(c.dir, c.date);
        EXPECT_EQ(messageOf(r), c.message) << c.dir.substr(0, 20) << " " << c.date;
        if (const auto* ok = std::get_if<MigrateRest>(&r)) {
            EXPECT_EQ(ok->directory, c.storedDir);
        }
    }
}

TEST(HubDialogRules, TimingStoresTwentyFourHoursTheWeekdayAndNever) {
    struct Case {
        const char* time;
        bool pm;
        int weekday;
        bool never;
        const char* backup;
        const char* message;
        int hour, minute, frequency, day;
        long flag2;
    } cases[] = {
        {"12:30", false, 0, false, "30", "", 0, 30, 0, 6, 30},
        {"12:30", true, 0, false, "30", "", 12, 30, 0, 6, 30},
        {"01:00", true, 0, false, "30", "", 13, 0, 0, 6, 30},
        {"11:59", true, 7, false, "1", "", 23, 59, 1, 7, 1},
        {"02:05", false, 4, false, "14", "", 2, 5, 1, 4, 14}, // Wednesday
        {"02:05", false, 4, true, "14", "", 2, 5, 2, 4, 14},  // Never whatever the weekday
        {"02:05", false, 0, true, "2147483647", "", 2, 5, 2, 6, 2147483647},
        {"13:75", false, 0, false, "30", "The time is not valid.  Please enter the time as hh:mm, from 1:00 to 12:59.",
         0, 0, 0, 0, 0},
        {"12:60", false, 0, false, "30", "The time is not valid.  Please enter the time as hh:mm, from 1:00 to 12:59.",
         0, 0, 0, 0, 0},
        {"00:30", false, 0, false, "30", "The time is not valid.  Please enter the time as hh:mm, from 1:00 to 12:59.",
         0, 0, 0, 0, 0},
        {"1:5", false, 0, false, "30", "The time is not valid.  Please enter the time as hh:mm, from 1:00 to 12:59.", 0,
         0, 0, 0, 0},
        {":", false, 0, false, "30", "The time is not valid.  Please enter the time as hh:mm, from 1:00 to 12:59.", 0,
         0, 0, 0, 0},
        {"13:75", false, 0, false, "0", "The number of backup days must be greater than zero.", 0, 0, 0, 0, 0},
        {"12:30", false, 0, false, "", "Backup Days is invalid", 0, 0, 0, 0, 0},
        {"12:30", false, 0, false, "2147483648", "Backup Days is invalid", 0, 0, 0, 0, 0},
        {"12:30", false, 0, false, "4294967297", "Backup Days is invalid", 0, 0, 0, 0, 0},
        {"12:30", false, 0, false, "7,5", "Backup Days is invalid", 0, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        const auto r = CheckTiming({c.time, c.pm, c.weekday, c.never, true, c.backup}, 6);
        ASSERT_EQ(messageOf(r), c.message) << c.time << " " << c.backup;
        if (const auto* v = std::get_if<TimingValues>(&r)) {
            EXPECT_EQ(v->hour, c.hour) << c.time;
            EXPECT_EQ(v->minute, c.minute) << c.time;
            EXPECT_EQ(v->frequency, c.frequency) << c.time;
            EXPECT_EQ(v->day, c.day) << c.time;
            EXPECT_EQ(v->flag2, c.flag2) << c.time;
            EXPECT_EQ(v->update_enabled, 1);
        } else {
            EXPECT_EQ(std::get<RuleFailure>(r).title, "Invalid Entry");
        }
    }
}

TEST(HubDialogRules, DiskEntryChecksInOrderWithLabelsUniqueOnFiftyCharacters) {
    std::vector<ArchiveDisk> disks(2);
    disks[0].disk_nbr = 1;
    disks[0].disk_label = "Alpha";
    disks[1].disk_nbr = 2;
    disks[1].disk_label = repeat("\xc3\xa9", 50); // 50 characters, 100 bytes
    const std::string invalid = "The Disk Location is invalid.  Please enter a new location.";
    struct Case {
        std::string label, location;
        long editing;
        std::string message;
    } cases[] = {
        {"  ", "", 0, "Disk Label cannot be blank."},
        {"New", "  ", 0, "Disk Location cannot be blank."},
        {" ALPHA ", "x", 0, "Another archive disk already exists with the label ALPHA"},
        {"Alpha", "E:\\ARCH", 1, ""}, // its own label
        {repeat("\xc3\xa9", 50) + "more", "E:\\A", 0,
         "Another archive disk already exists with the label " + repeat("\xc3\xa9", 50) + "more"},
        {"O'Brien \xe2\x80\x94 2", "E:\\ARCH", 0, ""},
        {"B", "\\\\srv\\share\\arch", 0, ""},
        {"B", "/srv/archive", 0, ""},
        {"B", "E", 0, invalid},
        {"B", "E:", 0, invalid},
        {"B", "ARCHIVE", 0, invalid},
        {"B", "\\srv\\share", 0, invalid},
        {"B", "\xc3\xa9:\\", 0, ""}, // the second character, not byte
        {repeat("x", 51), "E:\\A", 0, "The Disk Label cannot be longer than 50 characters."},
        {repeat("x", 10000), "E:\\A", 0, "The Disk Label cannot be longer than 50 characters."},
        {"B", "E:\\" + repeat("\xc3\xa9", 252), 0, ""},
        {"B", "E:\\" + repeat("\xc3\xa9", 253), 0, "The Disk Location cannot be longer than 255 characters."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(messageOf(CheckDiskEntry(c.label, c.location, disks, c.editing)), c.message)
            << c.label.substr(0, 20) << " | " << c.location.substr(0, 20);
}

// A scratch folder standing for the archive volumes, and a mounts list naming a share mounted in it.
class DiskLocations : public ::testing::Test {
protected:
    void SetUp() override {
        root = std::filesystem::temp_directory_path() / ("kd-disks-" + std::to_string(::getpid()));
        std::filesystem::create_directories(root / "mnt" / "arch one" / "disk1");
        std::ofstream(root / "mounts") << "proc /proc proc rw 0 0\n"
                                       << "//FileSrv/Arch\\040One " << (root / "mnt" / "arch\\040one").string()
                                       << " cifs rw,relatime 0 0\n"
                                       << "//nfssrv/arch " << root.string() << " nfs4 rw 0 0\n";
        std::ofstream(root / "plain-file") << "x";
    }
    void TearDown() override { std::filesystem::remove_all(root); }
    std::filesystem::path root;
};

TEST_F(DiskLocations, ReachableMeansAFolderThatTakesAProbeFile) {
    const std::string mounts = (root / "mounts").string();
    EXPECT_TRUE(DiskLocationReachable(root.string(), mounts));
    EXPECT_TRUE(DiskLocationReachable("\\\\filesrv\\arch one\\disk1", mounts)); // share names ignore case
    EXPECT_EQ(MountedSharePath("\\\\FILESRV\\ARCH ONE\\disk1", mounts), (root / "mnt" / "arch one" / "disk1").string());
    EXPECT_FALSE(DiskLocationReachable("\\\\filesrv\\arch one\\missing", mounts));
    EXPECT_FALSE(DiskLocationReachable("\\\\nfssrv\\arch", mounts)); // not a CIFS share
    EXPECT_FALSE(DiskLocationReachable("\\\\other\\share", mounts));
    EXPECT_FALSE(DiskLocationReachable((root / "missing").string(), mounts));
    EXPECT_FALSE(DiskLocationReachable((root / "plain-file").string(), mounts));
    EXPECT_FALSE(DiskLocationReachable("E:\\ARCHIVE", mounts));                 // a drive letter cannot be checked here
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(root), {}), 3); // no probe file left
    if (::geteuid() != 0) {                                                     // root writes into any folder
        std::filesystem::permissions(root / "mnt",
                                     std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
        EXPECT_FALSE(DiskLocationReachable((root / "mnt").string(), mounts));
        std::filesystem::permissions(root / "mnt", std::filesystem::perms::owner_all);
    }
}

// The hub over a suite database whose archive disk table starts empty, archiving switched on.
class ArchiveDisks : public kdtest::SuiteTest {
protected:
    void SetUp() override {
        SuiteTest::SetUp();
        exec("UPDATE Archive_cfg SET archive_enabled = 1, migrate_max_days = 30, hour = 2");
        kdtest::connectSession(odbc.folder(), "KALDRA");
        hub = std::make_unique<clsMaintenanceHub>(login, false);
        ASSERT_TRUE(hub->Open());
        DatabaseSession::instance().history.clear();
    }
    void TearDown() override {
        hub.reset();
        DatabaseSession::instance().DisconnectFromSQL();
    }
    std::string rows(const std::string& sql) { return exec(sql).table(); }
    std::string disks() { return rows("SELECT disk_nbr, disk_label, is_active FROM Archive_disks ORDER BY disk_nbr"); }
    bool save(long nbr, const std::string& label, bool active, const std::string& location = "E:\\ARCH") {
        clsArchiveDisk d;
        d.disk_nbr = nbr;
        d.disk_label = label;
        d.disk_location = location;
        d.is_active = active;
        return hub->SaveDisk(d, 7);
    }
    const ArchiveDisk& inMemory(long nbr) {
        for (const ArchiveDisk& d : hub->settings.Disks())
            if (d.disk_nbr == nbr)
                return d;
        ADD_FAILURE() << "no disk " << nbr;
        return hub->settings.Disks().front();
    }

    platform::MessageRecorder recorder;
    suite::LoginComponent login;
    std::unique_ptr<clsMaintenanceHub> hub;
};

TEST_F(ArchiveDisks, TheFirstDiskOfAnEmptyTableSavesAndOnlyOneDiskIsActive) {
    ASSERT_TRUE(save(0, "O'Brien \xc3\xa9", true, "\\\\srv\\arch"));
    EXPECT_TRUE(recorder.shown.empty());
    // Sent all or nothing, inside the session's transaction.
    EXPECT_NE(
        DatabaseSession::instance().history.front().find(
            "\r\nDECLARE @new_disk_nbr int\nSELECT @new_disk_nbr = (ISNULL(MAX(disk_nbr), 0) + 1)\nFROM Archive_disks\n"
            "INSERT Archive_disks\nVALUES (@new_disk_nbr, 'O''Brien \xc3\xa9', '\\\\srv\\arch', NULL, NULL, NULL, -1, "
            "0, 0, 1, 0, 0, 0, NULL, NULL, NULL)\nUPDATE Archive_disks\nSET is_active = 0\nWHERE disk_nbr <> "
            "@new_disk_nbr\r\nCOMMIT TRANSACTION"),
        std::string::npos);
    EXPECT_EQ(disks(), "1,O'Brien \xc3\xa9,1,|");
    ASSERT_TRUE(save(0, "Second", true));
    EXPECT_EQ(disks(), "1,O'Brien \xc3\xa9,0,|2,Second,1,|");
    ASSERT_TRUE(save(1, "First", true, "F:\\ARCH"));
    EXPECT_EQ(disks(), "1,First,1,|2,Second,0,|");
    EXPECT_EQ(rows("SELECT disk_location, hosp_acct_id, reports FROM Archive_disks WHERE disk_nbr = 1"),
              "F:\\ARCH,-1,0,|");
    EXPECT_EQ(hub->settings.Disks().size(), 2u); // read again
    EXPECT_TRUE(inMemory(1).is_active);
    EXPECT_EQ(scalar("SELECT archive_enabled FROM Archive_cfg"), "1");
    EXPECT_TRUE(recorder.shown.empty());
}

TEST_F(ArchiveDisks, ArchivingIsSwitchedOffAndWrittenWhenNoDiskIsActive) {
    ASSERT_TRUE(save(0, "Only", true));
    ASSERT_TRUE(save(1, "Only", false));
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, "Archiving will be disabled since there is not a current archive disk.");
    EXPECT_EQ(recorder.shown[0].title, "Error");
    EXPECT_EQ(hub->settings.cfg.archive_enabled, 0);
    EXPECT_EQ(rows("SELECT archive_enabled, archive_last_user_id FROM Archive_cfg"), "0,7,|");
    EXPECT_EQ(rows("SELECT hour, migrate_max_days FROM Archive_cfg"), "2,30,|"); // other sections untouched
    recorder.shown.clear();
    ASSERT_TRUE(save(0, "Spare", false)); // archiving already off: no second message
    EXPECT_TRUE(recorder.shown.empty());
}

TEST_F(ArchiveDisks, ALinkLostInTheSaveBatchKeepsTheOtherDiskActive) {
    ASSERT_TRUE(save(0, "One", true));
    // The link drops after the INSERT, before the other disk is made inactive; the retry meets the same.
    odbc.arrangeFault("KALDRA", "drop-link-after 5\ndrop-link-after 5");
    EXPECT_FALSE(save(0, "Two", true));
    ASSERT_FALSE(recorder.shown.empty());
    EXPECT_EQ(recorder.shown.back().text, "Error.  The archive disk could not be saved.");
    EXPECT_EQ(disks(), "1,One,1,|");
}

TEST_F(ArchiveDisks, ADiskWithReportsIsNeverDeleted) {
    ASSERT_TRUE(save(0, "Full", true));
    ASSERT_TRUE(save(0, "Empty", false));
    exec("UPDATE Archive_disks SET reports = 12 WHERE disk_nbr = 1");
    ASSERT_TRUE(hub->settings.LoadDisks());
    recorder.shown.clear();
    // Read with reports: refused before any question.
    EXPECT_FALSE(hub->DeleteDisk(inMemory(1), 7));
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, "Error.  An archive disk with reports cannot be deleted.");
    // Reports written after the list was read: the statement leaves the disk.
    const ArchiveDisk stale = inMemory(2);
    exec("UPDATE Archive_disks SET reports = 1 WHERE disk_nbr = 2");
    recorder.shown.clear();
    recorder.answer(platform::MsgAnswer::Yes);
    EXPECT_FALSE(hub->DeleteDisk(stale, 7));
    ASSERT_EQ(recorder.shown.size(), 2u);
    EXPECT_EQ(recorder.shown[0].text, "Are you sure you want to delete the disk Empty?");
    EXPECT_EQ(recorder.shown[0].title, "Delete Disk");
    EXPECT_EQ(recorder.shown[1].text, "Error.  An archive disk with reports cannot be deleted.");
    EXPECT_EQ(disks(), "1,Full,1,|2,Empty,0,|");
}

TEST_F(ArchiveDisks, DeletingAsksAndDeletingTheActiveDiskSwitchesArchivingOff) {
    ASSERT_TRUE(save(0, "Active", true));
    ASSERT_TRUE(save(0, "Spare", false));
    recorder.answer(platform::MsgAnswer::No);
    EXPECT_FALSE(hub->DeleteDisk(inMemory(2), 7));
    EXPECT_EQ(disks(), "1,Active,1,|2,Spare,0,|");
    recorder.shown.clear();
    DatabaseSession::instance().history.clear();
    recorder.answer(platform::MsgAnswer::Yes);
    EXPECT_TRUE(hub->DeleteDisk(inMemory(1), 7));
    EXPECT_EQ(DatabaseSession::instance().history.front(),
              "DELETE \nFROM Archive_disks \nWHERE disk_nbr = 1 AND reports = 0");
    EXPECT_EQ(disks(), "2,Spare,0,|");
    ASSERT_EQ(recorder.shown.size(), 2u);
    EXPECT_EQ(recorder.shown[1].text, "Archiving will be disabled since there is not a current archive disk.");
    EXPECT_EQ(scalar("SELECT archive_enabled FROM Archive_cfg"), "0");
    // A failing delete says so and keeps the disk.
    recorder.shown.clear();
    odbc.arrangeFault("KALDRA", "fail-text DELETE");
    recorder.answer(platform::MsgAnswer::Yes);
    EXPECT_FALSE(hub->DeleteDisk(inMemory(2), 7));
    ASSERT_FALSE(recorder.shown.empty());
    EXPECT_EQ(recorder.shown.back().text, "Error encountered attempting to delete the disk. Disk could not be deleted");
    EXPECT_EQ(recorder.shown.back().title, "Disk Error");
    EXPECT_EQ(disks(), "2,Spare,0,|");
}

// The install date is written in the one form the server reads alike under every language and date
// format, so a day-first server does not swap day and month; the console's own number locale plays no
// part, and the blank-padded text the load reads back is written as the same date.
TEST_F(ArchiveDisks, TheInstallDateIsWrittenUnseparatedWhateverTheLocale) {
    kdtest::DecimalCommaLocale locale;
    for (auto [typed, literal] : {std::pair{"02/03/2024", "'20240203'"},
                                  {"12/31/9999", "'99991231'"},
                                  {"01/01/1753          ", "'17530101'"}}) {
        SCOPED_TRACE(typed);
        hub->settings.cfg.migrate_max12 = typed;
        DatabaseSession::instance().history.clear();
        ASSERT_TRUE(hub->SaveMigrateOptions(7));
        ASSERT_FALSE(DatabaseSession::instance().history.empty());
        EXPECT_NE(DatabaseSession::instance().history.front().find(std::string("migrate_max12_date   = ") + literal),
                  std::string::npos)
            << DatabaseSession::instance().history.front();
        EXPECT_EQ(rows("SELECT CONVERT(char(10), migrate_max12_date, 101) FROM Archive_cfg"),
                  std::string(typed).substr(0, 10) + ",|");
    }
    EXPECT_EQ(UnseparatedDate("02/30/2024"), "");
    EXPECT_EQ(UnseparatedDate(" 07/04/1999 "), "19990704");
}

TEST_F(ArchiveDisks, FileServerAndTimingSavesWriteOnlyTheirSection) {
    hub->settings.cfg.migrate_max_days = hub->settings.cfg.migrate_min_days = 45;
    hub->settings.cfg.migrate_leftover_directory = "/srv/O'Hara";
    hub->settings.cfg.migrate_max12 = "02/29/2024";
    hub->settings.cfg.hour = 13;           // timing: must not be written by the migrate save
    hub->settings.cfg.archive_enabled = 0; // archive: nor this
    ASSERT_TRUE(hub->SaveMigrateOptions(7));
    EXPECT_EQ(rows("SELECT migrate_max_days, migrate_leftover_directory, CONVERT(char(10), migrate_max12_date, 101), "
                   "migrate_last_user_id, hour, archive_enabled FROM Archive_cfg"),
              "45,/srv/O'Hara,02/29/2024,7,2,1,|");
    EXPECT_EQ(hub->settings.cfg.hour, 2); // read again
    hub->settings.cfg.hour = 13;
    hub->settings.cfg.flag2 = 9;
    hub->settings.cfg.migrate_max_days = 99;
    ASSERT_TRUE(hub->SaveTimingOptions(7));
    EXPECT_EQ(rows("SELECT hour, flag2, migrate_max_days FROM Archive_cfg"), "13,9,45,|");
    EXPECT_TRUE(recorder.shown.empty());
    // A refused statement: the Part's message, the row unchanged.
    hub->settings.cfg.hour = 5;
    odbc.arrangeFault("KALDRA", "fail-text flag2         =");
    EXPECT_FALSE(hub->SaveTimingOptions(7));
    ASSERT_FALSE(recorder.shown.empty());
    EXPECT_EQ(recorder.shown.back().text, "Error.  Timing Options could not be saved.");
    odbc.arrangeFault("KALDRA", "fail-text migrate_use_signed");
    EXPECT_FALSE(hub->SaveMigrateOptions(7));
    EXPECT_EQ(recorder.shown.back().text, "Error.  File Server To Database Options could not be saved.");
    EXPECT_EQ(rows("SELECT hour, flag2, migrate_max_days FROM Archive_cfg"), "13,9,45,|");
}

} // namespace
