#include "LoginComponent.h"
#include "MaintenanceRules.h"

#include <gtest/gtest.h>

using namespace maintenance;

namespace {

// Accounts -1, 10, 20 (deleted 30) with valid times; each case breaks one value of one account.
struct Site {
    Site() {
        std::vector<suite::HospAccount> cache;
        for (auto [id, deleted] : {std::pair{-1L, false}, {10L, false}, {20L, false}, {30L, true}}) {
            suite::HospAccount a;
            a.hosp_acct_id = id;
            a.is_deleted = deleted;
            cache.push_back(a);
        }
        login.SetHospAccounts(cache);
        times.Initialize(login, true);
        for (int i = 1; i <= 3; ++i)
            times.At(i).listed = true;
        times.At(1).set(PatientAdt, "48");
        times.At(1).set(VisitAdt, "24");
    }
    suite::LoginComponent login;
    clsPurgeTimes times;
    ArchiveConfig cfg;
};

struct PurgeCase {
    const char* name;
    int account; // 1-based cache index whose value is changed
    PurgeField field;
    const char* text;
    bool archive; // archiving enabled with archive_max_months 24
    const char* message;
    const char* title;
    int selected;
    const char* focus;
};

const PurgeCase kPurgeCases[] = {
    {"valid", 2, OutputQueue, "30", false, "", "", 0, ""},
    {"letters", 2, OutputQueue, "abc", false, "Invalid value entered for Output Queue", "Error", 2, ""},
    {"blank", 3, SystemLog, "", false, "Invalid value entered for System Message Log", "Error", 3, ""},
    {"decimal comma", 2, DocumentInfo, "1,5", false, "Invalid value entered for Transcriptionist Report Statistics",
     "Error", 2, ""},
    {"negative", 2, EditHistory, "-3", false, "Invalid value entered for Edit History Information", "Error", 2, ""},
    {"beyond 16 bits", 2, JobStats, "40000", false, "Invalid value entered for Job Statistic Information", "Error", 2,
     ""},
    {"documents above info", 2, Documents, "49", false,
     "The Document time cannot be greater than the Document Information time.", "Invalid Entry", 0, ""},
    {"edit history above info", 3, EditHistory, "49", false,
     "The Edit History Information time cannot be greater than the Document Information time.", "Invalid Entry", 3, ""},
    {"job statistics above info", 3, JobStats, "49", false,
     "The Job Statistics Information time cannot be greater than the Document Information time.", "Invalid Entry", 3,
     ""},
    {"archive: documents unlike info", 2, Documents, "30", true,
     "Documents purge time and Document Information purge time must be equal since Archiving is enabled.",
     "Invalid Entry", 2, ""},
    {"zero", 3, SystemLog, "0", false, "None of the times can be set to 0.  Please change any items set to 0.",
     "Invalid Entry", 3, ""},
    {"patient ADT 0", 1, PatientAdt, "0", false, "Patient ADT time must be greater than 0", "Invalid Entry", 0,
     "txtPtTime"},
    {"visit ADT blank", 1, VisitAdt, "", false, "Visit ADT time must be greater than 0", "Invalid Entry", 0,
     "txtVisitTime"},
    {"visit above patient", 1, VisitAdt, "49", false, "The Visit ADT time cannot be greater than the Patient ADT time.",
     "Invalid Entry", 0, "txtVisitTime"},
};

TEST(PurgeRules, EachCheckFailingAloneGivesItsMessageTitleAndSelectionOrFocus) {
    for (const auto& c : kPurgeCases) {
        Site site;
        site.times.At(c.account).set(c.field, c.text);
        if (c.archive) {
            site.cfg.archive_enabled = 1;
            site.cfg.archive_max_months = 24;
        }
        auto f = CheckPurgeTimes(site.times, site.cfg, true);
        if (std::string(c.message).empty()) {
            EXPECT_FALSE(f.has_value()) << c.name << ": " << (f ? f->message : "");
            continue;
        }
        ASSERT_TRUE(f.has_value()) << c.name;
        EXPECT_EQ(f->message, c.message) << c.name;
        EXPECT_EQ(f->title, c.title) << c.name;
        EXPECT_EQ(f->selectAccount, c.selected) << c.name;
        EXPECT_EQ(f->focusControl, c.focus) << c.name;
        EXPECT_EQ(f->icon, platform::MsgIcon::Exclamation) << c.name;
    }
}

TEST(PurgeRules, OutputQueueAllowsTwentyEightDaysPerMonthOfDocumentInformation) {
    for (auto [days, ok] : {std::pair{"56", true}, {"57", false}}) {
        Site site;
        for (PurgeField f : {DocumentInfo, Documents, EditHistory, JobStats})
            site.times.At(2).set(f, "2");
        site.times.At(2).set(OutputQueue, days);
        site.times.At(2).set(SystemLog, "1");
        auto f = CheckPurgeTimes(site.times, site.cfg, false);
        EXPECT_EQ(f.has_value(), !ok) << days;
        if (f) {
            EXPECT_EQ(f->message, "Output queue time cannot be greater than the Document Information time.");
            EXPECT_EQ(f->selectAccount, 2);
        }
    }
}

TEST(PurgeRules, WithArchivingDocumentsMustOutlastTheArchiveMonths) {
    for (auto [docs, ok] : {std::pair{"24", false}, {"25", true}}) {
        Site site;
        site.cfg.archive_enabled = 1;
        site.cfg.archive_max_months = 24;
        for (int i = 1; i <= 3; ++i)
            for (PurgeField f : {DocumentInfo, Documents})
                site.times.At(i).set(f, docs);
        for (int i = 1; i <= 3; ++i)
            for (PurgeField f : {EditHistory, JobStats})
                site.times.At(i).set(f, "12");
        auto f = CheckPurgeTimes(site.times, site.cfg, false);
        EXPECT_EQ(f.has_value(), !ok) << docs;
        if (f) {
            EXPECT_EQ(f->message, "Documents are set to be purged before they will be archived.  The archiving time "
                                  "must either be lowered or the Document time must be increased.  Archiving time is "
                                  "in Archiving Options.");
            EXPECT_EQ(f->selectAccount, 1);
        }
    }
}

TEST(PurgeRules, UnlistedRecordsAreNotChecked) {
    Site site;
    site.times.At(3).listed = false;
    site.times.At(3).set(OutputQueue, "junk");
    EXPECT_FALSE(CheckPurgeTimes(site.times, site.cfg, false).has_value());
    // "Use Settings For All Accounts" checks every record, listed or not.
    auto f = CheckPurgeNumbers(site.times);
    ASSERT_TRUE(f.has_value());
    EXPECT_EQ(f->message, "Invalid value entered for Output Queue");
    EXPECT_EQ(f->selectAccount, 3);
}

TEST(PurgeRules, TransformDays) {
    const std::pair<const char*, long> accepted[] = {{"0", 0}, {"7", 7}, {"2147483647", 2147483647}};
    for (auto [text, value] : accepted)
        EXPECT_EQ(ParseTransformDays(text), value) << text;
    for (const char* refused : {"1", "6", "-1", "", "abc", "7.5", "2147483648", " 7"})
        EXPECT_FALSE(ParseTransformDays(refused).has_value()) << refused;
}

struct ArchiveCase {
    const char* name;
    const char* months;
    bool enabled;
    const char* documents; // account 10's Documents and Document Information
    const char* documentInfo;
    long migrateMaxDays;
    int disks; // 0 none, 1 one inactive, 2 one active
    const char* message;
};

const ArchiveCase kArchiveCases[] = {
    {"accepted", "24", true, "24", "24", 30, 2, ""},
    {"letters", "2x", true, "24", "24", 30, 2, "Invalid value entered for number of months"},
    {"documents lower, enabled", "24", true, "23", "23", 30, 2,
     "At least one account has the Document purging time set lower than the number of months before archiving.  "
     "Either decrease the number of months here or increase the value for Documents under purge options."},
    {"documents lower, disabled", "24", false, "23", "23", 30, 0, ""},
    {"documents unlike info", "24", true, "30", "36", 30, 2,
     "At least one account does not have the Documents purge time equal to Document Information purge time.  Set "
     "these to be equal in the Database Purging Options dialog."},
    {"1 month against 29 days", "1", false, "24", "24", 29, 0,
     "The maximum amount of time to leave documents on the file server is greater than the number of months before "
     "archiving.  Either increase the number of \nmonths here or increase the value for Maximum Days on the File "
     "Server."},
    {"1 month against 28 days", "1", false, "24", "24", 28, 0, ""},
    {"zero months", "0", false, "24", "24", 0, 0, "The number of months cannot be set to 0."},
    {"no disk", "24", true, "24", "24", 30, 0,
     "Cannot enable archiving because there are no active archive disks defined."},
    {"none active", "24", true, "24", "24", 30, 1,
     "Cannot enable archiving because there is not an active archive disk."},
};

TEST(ArchiveRules, TheChecksInOrder) {
    for (const auto& c : kArchiveCases) {
        Site site;
        for (int i = 1; i <= 3; ++i) {
            site.times.At(i).set(DocumentInfo, "48");
            site.times.At(i).set(Documents, "48");
        }
        site.times.At(2).set(DocumentInfo, c.documentInfo);
        site.times.At(2).set(Documents, c.documents);
        site.times.At(4).set(Documents, "1"); // the deleted account is not looked at
        site.cfg.migrate_max_days = c.migrateMaxDays;
        std::vector<ArchiveDisk> disks;
        if (c.disks > 0) {
            ArchiveDisk d;
            d.is_active = c.disks == 2;
            disks.push_back(d);
        }
        auto f = CheckArchiveOptions(c.months, c.enabled, site.login, site.times, site.cfg, disks);
        if (std::string(c.message).empty()) {
            EXPECT_FALSE(f.has_value()) << c.name << ": " << (f ? f->message : "");
            continue;
        }
        ASSERT_TRUE(f.has_value()) << c.name;
        EXPECT_EQ(f->message, c.message) << c.name;
        EXPECT_EQ(f->title, "Invalid Entry") << c.name;
    }
}

} // namespace
