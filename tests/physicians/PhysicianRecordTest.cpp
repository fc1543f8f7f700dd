#include "DatabaseSession.h"
#include "MessageService.h"
#include "OdbcFixture.h"
#include "PhysicianBitSet.h"
#include "SessionHelper.h"
#include "clsPhysicianRecords.h"
#include "modPartition.h"

#include <random>
#include <set>
#include <thread>

using namespace physicians;
using foundation::DatabaseSession;

namespace {

TEST(PhysicianBitSet, FourElementsMakeOneDigitFirstElementHighest) {
    struct Case {
        std::vector<bool> bits;
        const char* literal;
    };
    const Case cases[] = {
        {{true, true, true, true}, "0xF"},
        {{true, false, false, false}, "0x8"},
        {{false, false, false, true}, "0x1"},
        {{false, true, false, true, true, false, true, false}, "0x5A"},
        {{true, true, true, true, true, true, true, false}, "0xFE"},
    };
    for (const auto& c : cases) {
        bool bits[16] = {};
        for (size_t i = 0; i < c.bits.size(); ++i)
            bits[i] = c.bits[i];
        EXPECT_EQ(BitSetLiteral(bits, c.bits.size()), c.literal);
        bool back[16];
        std::fill(std::begin(back), std::end(back), false);
        ParseBitSet(c.literal, back, c.bits.size());
        for (size_t i = 0; i < c.bits.size(); ++i)
            EXPECT_EQ(back[i], c.bits[i]) << c.literal << " element " << i;
    }
    ReportSet all;
    all.fill(true);
    EXPECT_EQ(BitSetLiteral(all.data(), kReportSetWritten), "0x" + std::string(64, 'F'));
}

TEST(PhysicianBitSet, ReadsTheDriversTextAndKeepsWhatItDoesNotReach) {
    std::mt19937 random(7);
    ReportSet bits{};
    for (auto& b : bits)
        b = random() % 2 == 1;
    const std::string literal = BitSetLiteral(bits.data(), kReportSetWritten);
    ReportSet back;
    back.fill(false);
    ParseBitSet(literal.substr(2), back.data(), kReportSetWritten); // the driver gives no "0x"
    for (size_t i = 0; i < kReportSetWritten; ++i)
        EXPECT_EQ(back[i], bits[i]) << i;
    DaySet days;
    days.fill(true);
    ParseBitSet("", days.data(), kDaySetSize); // a NULL column: every day stays on
    EXPECT_EQ(days, (DaySet{true, true, true, true, true, true, true, true}));
    ParseBitSet("3e", days.data(), kDaySetSize); // either case; one byte
    EXPECT_EQ(days, (DaySet{false, false, true, true, true, true, true, false}));
}

class PhysicianRecords : public kdtest::SuiteTest {
protected:
    void SetUp() override {
        SuiteTest::SetUp();
        exec("INSERT Account_info (hosp_acct_id, hosp_acct_name, partition_id, is_deleted) VALUES (1, 'North', 1, 0)\n"
             "INSERT Account_info (hosp_acct_id, hosp_acct_name, partition_id, is_deleted) VALUES (2, 'South', 1, 0)\n"
             "INSERT Account_info (hosp_acct_id, hosp_acct_name, partition_id, is_deleted) VALUES (3, 'East', 1, 0)\n"
             "INSERT Account_info (hosp_acct_id, hosp_acct_name, partition_id, is_deleted) VALUES (4, 'Closed', 1, 1)\n"
             // Physician 10: member of all accounts, a -1 row and an own row for account 2.
             "INSERT Physician_profile (physician_id, first_name, last_name, initials, partition_id, flag2) VALUES "
             "(10, 'Rita', 'Adams', 'RA', 1, 0)\n"
             "INSERT Physician_membership VALUES (10, -1, 0, 0)\n"
             "INSERT Physician_attributes (physician_id, hosp_acct_id, dictation_id, fax_days_1, batch_includes) "
             "VALUES (10, -1, '1001', 0x3E, 0x8000000000000000000000000000000000000000000000000000000000000001)\n"
             "INSERT Physician_attributes (physician_id, hosp_acct_id, dictation_id) VALUES (10, 2, '1001R')\n"
             "INSERT Physician_attributes_extended (physician_id, hosp_acct_id, speech_rec_enabled, flag1) VALUES "
             "(10, -1, 1, 7)\n"
             "INSERT Physician_addendums_v2 VALUES (10, -1, 0, 'Dictated but not read.')\n"
             "INSERT Physician_addendums_v2 VALUES (10, 3, 52, 'SWITCH B')\n"
             "INSERT Physician_weighting VALUES (10, 2, 5, 1, 1.5)\n"
             "INSERT Physician_external_ids VALUES (10, 'DVI', 'A17', 2, 1)\n"
             "INSERT Physician_external_ids VALUES (10, 'DVI', 'B22', 2, 2)\n"
             // Physician 20: member of accounts 1 and 4 (deleted) only.
             "INSERT Physician_profile (physician_id, first_name, last_name, partition_id, flag2) VALUES "
             "(20, 'Sam', 'Okafor', 1, 0)\n"
             "INSERT Physician_membership VALUES (20, 1, 0, 0)\n"
             "INSERT Physician_membership VALUES (20, 4, 0, 0)\n"
             "INSERT Physician_attributes (physician_id, hosp_acct_id, dictation_id) VALUES (20, -1, '2001')\n"
             "INSERT System_user_bindery (user_id, user_name, flag3, partition_id, enabled) VALUES (0, 'SYSTEM', 0, "
             "0, 1)");
        kdtest::connectSession(odbc.folder(), "KALDRA");
    }
    void TearDown() override {
        Partitions().physicianPartition.reset();
        DatabaseSession::instance().DisconnectFromSQL();
    }
    std::vector<std::string> keys(const clsPhysicianRecords& p) {
        std::vector<std::string> out;
        for (const auto& r : p.records())
            out.push_back(r.MyKey());
        return out;
    }

    platform::MessageRecorder recorder;
};

TEST_F(PhysicianRecords, MemberOfAllAccountsLoadsALiveAccountsRecordEachWithItsOverrides) {
    clsPhysicianRecords p;
    ASSERT_TRUE(LoadPhysician(10, p));
    EXPECT_EQ(keys(p), (std::vector<std::string>{"1", "2", "3"})); // not -1, not the deleted 4
    EXPECT_EQ(p.Item("1")->dictation_id, "1001");
    EXPECT_EQ(p.Item("2")->dictation_id, "1001R"); // its own row
    EXPECT_EQ(p.Item("3")->dictation_id, "1001");
    EXPECT_EQ(p.Item("1")->fax_days_1_raw, (DaySet{false, false, true, true, true, true, true, false}));
    EXPECT_TRUE(p.Item("1")->batch_includes_raw[0]);
    EXPECT_FALSE(p.Item("1")->batch_includes_raw[1]);
    EXPECT_TRUE(p.Item("1")->batch_includes_raw[255]);
    EXPECT_TRUE(p.Item("2")->batch_includes_raw[1]); // NULL set: all report types
    EXPECT_EQ(p.Item("3")->speech_rec_enabled, 1);
    EXPECT_EQ(p.Item("3")->default_context_id, 7);
    EXPECT_EQ(p.Item("1")->addendum_lines[0], "Dictated but not read.");
    EXPECT_EQ(p.Item("3")->addendum_lines[0], ""); // account 3 has rows of its own
    EXPECT_EQ(p.Item("3")->addendum_switch_lines[1], "SWITCH B");
    EXPECT_EQ(p.Item("2")->weight_types[5], 1);
    EXPECT_FLOAT_EQ(p.Item("2")->weight_values[5], 1.5f);
    EXPECT_TRUE(p.Item("1")->use_default_weight);
    EXPECT_EQ(p.Item("1")->dvi_id, "A17,B22");
    EXPECT_EQ(p.Item("1")->paxlet_user_name, "");  // flag2 0 is no user, though user 0 exists
    EXPECT_EQ(p.Item("1")->fax_time_enabled_1, 0); // hour 255: no time set
    EXPECT_EQ(Partitions().physicianPartition, 1);
}

TEST_F(PhysicianRecords, ADeletedAccountNeverYieldsARecord) {
    clsPhysicianRecords p;
    ASSERT_TRUE(LoadPhysician(20, p));
    EXPECT_EQ(keys(p), std::vector<std::string>{"1"});
}

TEST_F(PhysicianRecords, EveryFieldRoundTripsWithQuotesLettersAndFullLengths) {
    clsPhysicianRecords p;
    ASSERT_TRUE(LoadPhysician(20, p));
    clsPhysicianRecord& r = *p.Item("1");
    const std::string han = "\xE6\xBC\xA2";
    std::string thirty;
    for (int i = 0; i < 30; ++i)
        thirty += han;
    r.first_name = thirty; // varchar(30) in characters
    r.last_name = "O'Brien-M\xC3\xBCller";
    r.title_2 = "Chief's \"Office\"";
    r.dictation_id = std::string(20, '9');
    r.address_3 = std::string(50, 'a');
    r.email_password = "p'w";
    r.fax_hour_1 = 17;
    r.fax_minute_1 = 30;
    r.fax_days_2_raw = DaySet{true, false, true, false, true, false, true, false};
    std::fill_n(r.online_includes_raw.begin(), kReportSetWritten, false); // the stored 256 report types
    r.online_includes_raw[0] = r.online_includes_raw[200] = true;
    r.SetAddendumLineNbr(50, "Last line, it's here");
    r.SetWeightType(0, 0);
    r.SetWeightValue(0, 75.25f);
    r.speech_rec_specific_worktypes = "1,2,5";
    r.edit_status = EditChanged;
    p.externalIds = {{1, "sm'user", 0}, {2, "D1", 1}};
    PhysicianSaveRequest save;
    save.physician_id = 20;
    save.changedByUser = "ADMIN";
    save.physician = &p;
    ASSERT_EQ(SavePhysician(save), 20);
    EXPECT_TRUE(recorder.shown.empty()) << recorder.shown.front().text;

    clsPhysicianRecords back;
    ASSERT_TRUE(LoadPhysician(20, back));
    ASSERT_EQ(back.Count(), 1u);
    const clsPhysicianRecord& b = back.records()[0];
    EXPECT_TRUE(b.EqualTo(r));
    EXPECT_TRUE(b.AddendumsEqualTo(r));
    EXPECT_TRUE(b.WeightingEqualTo(r));
    EXPECT_EQ(b.first_name, thirty);
    EXPECT_EQ(b.last_name, "O'Brien-M\xC3\xBCller");
    EXPECT_EQ(b.fax_time_enabled_1, 1);
    EXPECT_EQ(b.last_modified_user, "ADMIN");
    ASSERT_EQ(back.externalIds.size(), 2u);
    EXPECT_EQ(back.externalIds[0].source_physician_id, "sm'user");
    EXPECT_EQ(b.dvi_id, "D1");
    EXPECT_EQ(kdtest::sessionScalar(DatabaseSession::instance(),
                                    "SELECT source_id FROM Physician_external_ids WHERE source_type = 1"),
              "Speech Magic");
    EXPECT_EQ(kdtest::sessionScalar(DatabaseSession::instance(),
                                    "SELECT COUNT(*) FROM System_log WHERE error_code = 20030 AND msg1 = 'A physician "
                                    "record was edited.'"),
              "1");
}

TEST_F(PhysicianRecords, AnAccountRecordLikeTheAllAccountsOneWritesOnlyItsMembership) {
    clsPhysicianRecords p;
    clsPhysicianRecord all;
    all.first_name = "Nia";
    all.last_name = "Park";
    all.Partition_ID = 1;
    all.dictation_id = "5005";
    all.edit_status = EditNew;
    p.Add(all);
    clsPhysicianRecord same = all;
    same.hosp_acct_id = 1;
    p.Add(same);
    clsPhysicianRecord own = all;
    own.hosp_acct_id = 2;
    own.dictation_id = "5005-S";
    p.Add(own);
    PhysicianSaveRequest save;
    save.changedByUser = "ADMIN";
    save.physician = &p;
    const long id = SavePhysician(save);
    ASSERT_GT(id, 0);
    auto& s = DatabaseSession::instance();
    const std::string where = " WHERE physician_id = " + std::to_string(id);
    // Not a member of all accounts: one membership per account, none for -1.
    EXPECT_EQ(kdtest::sessionScalar(s, "SELECT COUNT(*) FROM Physician_membership" + where), "2");
    EXPECT_EQ(kdtest::sessionScalar(s, "SELECT COUNT(*) FROM Physician_attributes" + where), "2"); // -1 and 2
    EXPECT_EQ(
        kdtest::sessionScalar(s, "SELECT batch_includes FROM Physician_attributes" + where + " AND hosp_acct_id = -1"),
        std::string(64, 'F'));
    clsPhysicianRecords back;
    ASSERT_TRUE(LoadPhysician(id, back));
    EXPECT_EQ(back.Item("1")->dictation_id, "5005"); // follows the -1 row
    EXPECT_EQ(back.Item("2")->dictation_id, "5005-S");
    EXPECT_EQ(kdtest::sessionScalar(s, "SELECT COUNT(*) FROM System_log WHERE msg1 = 'A new physician was entered.'"),
              "1");
}

// The save deletes the physician's rows and writes them again: a failure anywhere leaves them all.
TEST_F(PhysicianRecords, AFailedSaveLeavesEveryRowAsItWasAndCanBeRepeated) {
    clsPhysicianRecords p;
    ASSERT_TRUE(LoadPhysician(10, p));
    for (auto& r : p.records())
        r.edit_status = EditChanged;
    p.Item("3")->dictation_id = std::string(21, '7'); // one character over the column: error 8152
    auto& s = DatabaseSession::instance();
    const std::string before =
        kdtest::sessionScalar(s, "SELECT COUNT(*) FROM Physician_attributes WHERE physician_id = 10") + "/" +
        kdtest::sessionScalar(s, "SELECT COUNT(*) FROM Physician_external_ids WHERE physician_id = 10");
    PhysicianSaveRequest save;
    save.physician_id = 10;
    save.changedByUser = "ADMIN";
    save.physician = &p;
    EXPECT_EQ(SavePhysician(save), -1);
    ASSERT_FALSE(recorder.shown.empty());
    EXPECT_NE(recorder.shown[0].text.find("truncated"), std::string::npos);
    EXPECT_EQ(kdtest::sessionScalar(s, "SELECT COUNT(*) FROM Physician_attributes WHERE physician_id = 10") + "/" +
                  kdtest::sessionScalar(s, "SELECT COUNT(*) FROM Physician_external_ids WHERE physician_id = 10"),
              before);
    EXPECT_EQ(kdtest::sessionScalar(s, "SELECT @@TRANCOUNT"), "0");
    EXPECT_EQ(kdtest::sessionScalar(s, "SELECT COUNT(*) FROM System_log WHERE error_code = 20030"), "0");
    // The records are as the user left them: corrected, the same save goes through whole.
    p.Item("3")->dictation_id = std::string(20, '7');
    EXPECT_EQ(SavePhysician(save), 10);
    clsPhysicianRecords back;
    ASSERT_TRUE(LoadPhysician(10, back));
    EXPECT_EQ(back.Item("3")->dictation_id, std::string(20, '7'));
    EXPECT_EQ(back.Item("2")->dictation_id, "1001R");
}

TEST_F(PhysicianRecords, ReportTypeSetsReadBackAsSaved) {
    struct Case {
        const char* what;
        std::vector<int> included; // empty with all = true: every report type
        bool all;
    };
    const Case cases[] = {{"all", {}, true}, {"none", {}, false}, {"a few", {0, 3, 4, 127, 128, 255}, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        clsPhysicianRecords p;
        ASSERT_TRUE(LoadPhysician(20, p));
        clsPhysicianRecord& r = *p.Item("1");
        ReportSet set{};
        std::fill_n(set.begin(), kReportSetWritten, c.all);
        for (int t : c.included)
            set[static_cast<size_t>(t)] = true;
        set[256] = true; // the unstored element keeps its default
        r.fax_includes_1_raw = r.fax_includes_2_raw = r.batch_includes_raw = r.online_includes_raw =
            r.email_includes_raw = r.speech_rec_includes_raw = set;
        r.edit_status = EditChanged;
        PhysicianSaveRequest save{20, false, "ADMIN", &p};
        ASSERT_EQ(SavePhysician(save), 20);
        clsPhysicianRecords back;
        ASSERT_TRUE(LoadPhysician(20, back));
        const clsPhysicianRecord& b = *back.Item("1");
        for (const ReportSet* got : {&b.fax_includes_1_raw, &b.fax_includes_2_raw, &b.batch_includes_raw,
                                     &b.online_includes_raw, &b.email_includes_raw, &b.speech_rec_includes_raw})
            EXPECT_EQ(*got, set);
    }
}

// Two consoles saving the same physician at once: each save lands whole, one after the other;
// the rows never mix the two.
TEST_F(PhysicianRecords, TwoConsolesSavingAtOnceNeverMixTheirRows) {
    DatabaseSession other;
    other.UseDriverConnect = true;
    other.ServerName = odbc.folder();
    other.DatabaseName = "KALDRA";
    other.LoginName = "sa";
    ASSERT_TRUE(other.ConnectToSQL());
    auto edited = [](const std::string& dictation) {
        clsPhysicianRecords p;
        EXPECT_TRUE(LoadPhysician(10, p));
        for (auto& r : p.records()) {
            r.dictation_id = dictation;
            r.edit_status = EditChanged;
        }
        return p;
    };
    const clsPhysicianRecords mine = edited("MINE");
    const clsPhysicianRecords theirs = edited("THEIRS");
    PhysicianSaveRequest theirSave{10, false, "OTHER", &theirs};
    const std::string theirBatch = PhysicianSaveBatch(theirSave, false);
    int theirFailures = 0;
    std::thread second([&] {
        for (int i = 0; i < 15; ++i) {
            other.SQLStatement = theirBatch;
            theirFailures += other.ExecSQLAllOrNothing() == 1 ? 0 : 1;
        }
    });
    PhysicianSaveRequest mySave{10, false, "ADMIN", &mine};
    int myFailures = 0;
    for (int i = 0; i < 15; ++i)
        myFailures += SavePhysician(mySave) == 10 ? 0 : 1;
    second.join();
    other.DisconnectFromSQL();
    EXPECT_EQ(myFailures + theirFailures, 0);
    auto& s = DatabaseSession::instance();
    EXPECT_EQ(kdtest::sessionScalar(s, "SELECT COUNT(DISTINCT dictation_id) FROM Physician_attributes WHERE "
                                       "physician_id = 10 AND hosp_acct_id <> -1"),
              "1");
    // The -1 rows stay; each account has exactly one row of its own.
    EXPECT_EQ(kdtest::sessionScalar(s, "SELECT COUNT(*) FROM Physician_attributes WHERE physician_id = 10"), "4");
    EXPECT_EQ(kdtest::sessionScalar(s, "SELECT COUNT(*) FROM Physician_membership WHERE physician_id = 10"), "4");
}

TEST_F(PhysicianRecords, TwoConsolesNeverReceiveTheSamePhysicianId) {
    DatabaseSession other;
    other.UseDriverConnect = true;
    other.ServerName = odbc.folder();
    other.DatabaseName = "KALDRA";
    other.LoginName = "sa";
    ASSERT_TRUE(other.ConnectToSQL());
    std::set<long> ids;
    std::thread second([&] {
        for (int i = 0; i < 100; ++i)
            ids.insert(static_cast<long>(other.AllocateIdentifier(
                "SELECT physician_id = next_physician_id FROM Physician_identifier WITH (UPDLOCK)",
                "UPDATE Physician_identifier SET next_physician_id = next_physician_id + 1")));
    });
    std::vector<long> mine;
    for (int i = 0; i < 100; ++i)
        mine.push_back(NewPhysicianId());
    second.join();
    other.DisconnectFromSQL();
    for (long id : mine) {
        EXPECT_GT(id, 0);
        EXPECT_TRUE(ids.insert(id).second) << "id " << id << " given twice";
    }
    EXPECT_EQ(ids.size(), 200u);
}

} // namespace
