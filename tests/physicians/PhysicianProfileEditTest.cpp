#include "DatabaseSession.h"
#include "DecimalCommaLocale.h"
#include "LoginComponent.h"
#include "MessageService.h"
#include "OdbcFixture.h"
#include "PhysicianProfileRules.h"
#include "PhysicianProfileValues.h"
#include "SessionHelper.h"
#include "Utf8.h"
#include "clsPartition.h"
#include "modPartition.h"

#include <functional>

using namespace physicians;
using foundation::DatabaseSession;
using Mode = PhysicianProfileEdit::Mode;

namespace {

// Accounts 1 and 2 in partition 1, 3 in partition 2, 4 deleted. Physician 10: member of all, -1
// row plus an own row for account 2 (another fax number). Physician 20: accounts 1 and 2, -1 row
// only, linked to user 200. Physician 30: account 3 only, author id A17.
class ProfileEdit : public kdtest::SuiteTest {
protected:
    void SetUp() override {
        SuiteTest::SetUp();
        exec("INSERT System_partitions VALUES (1, 0, 'North', 0, '/0/1/', NULL)\n"
             "INSERT System_partitions VALUES (2, 0, 'South', 0, '/0/2/', NULL)\n"
             "INSERT Account_info (hosp_acct_id, hosp_acct_name, partition_id, is_deleted) VALUES (1, 'Zeta', 1, 0)\n"
             "INSERT Account_info (hosp_acct_id, hosp_acct_name, partition_id, is_deleted) VALUES (2, 'Alpha', 1, 0)\n"
             "INSERT Account_info (hosp_acct_id, hosp_acct_name, partition_id, is_deleted) VALUES (3, 'Far', 2, 0)\n"
             "INSERT Account_info (hosp_acct_id, hosp_acct_name, partition_id, is_deleted) VALUES (4, 'Shut', 1, 1)\n"
             "INSERT Physician_profile (physician_id, first_name, last_name, partition_id) VALUES "
             "(10, 'Rita', 'Adams', 1)\n"
             "INSERT Physician_membership VALUES (10, -1, 0, 0)\n"
             "INSERT Physician_attributes (physician_id, hosp_acct_id, fax_nbr_1, email_address, fax_days_1) VALUES "
             "(10, -1, '555-0100', 'old@x.org', 0xFE)\n"
             "INSERT Physician_attributes (physician_id, hosp_acct_id, fax_nbr_1, email_address, fax_days_1) VALUES "
             "(10, 2, '555-0222', 'old@x.org', 0x80)\n"
             "INSERT Physician_attributes_extended (physician_id, hosp_acct_id) VALUES (10, -1)\n"
             "INSERT System_user_bindery (user_id, user_name, first_name, last_name, flag3, partition_id, enabled) "
             "VALUES (200, 'bbaker', 'Ben', 'Baker', 0, 1, 1)\n"
             "INSERT Physician_profile (physician_id, first_name, last_name, partition_id, flag2) VALUES "
             "(20, 'Ben', 'Baker', 1, 200)\n"
             "INSERT Physician_membership VALUES (20, 1, 0, 0)\n"
             "INSERT Physician_membership VALUES (20, 2, 0, 0)\n"
             "INSERT Physician_attributes (physician_id, hosp_acct_id, elect_signature, fax_enabled_1, "
             "fax_enabled_2, email_enabled) VALUES (20, -1, 1, 0, 0, 0)\n"
             "INSERT Physician_profile (physician_id, first_name, last_name, partition_id) VALUES "
             "(30, 'Cora', 'Clark', 2)\n"
             "INSERT Physician_membership VALUES (30, 3, 0, 0)\n"
             "INSERT Physician_attributes (physician_id, hosp_acct_id) VALUES (30, -1)\n"
             "INSERT Physician_external_ids VALUES (30, 'DVI', 'A17', 2, 1)\n"
             "INSERT Physician_external_ids VALUES (10, 'DVI', 'B22', 2, 1)");
        kdtest::connectSession(odbc.folder(), "KALDRA");
        ASSERT_EQ(LoadPartitions(), 3);
        login.SetHospAccounts({account(1, 1), account(2, 1), account(3, 2)});
        login.user.user_name = "admin1";
        login.user.Partition_ID = 0;
        Partitions().login = &login;
    }
    void TearDown() override {
        Partitions() = PartitionState{};
        PartitionCache().clear();
        DatabaseSession::instance().DisconnectFromSQL();
    }
    static suite::HospAccount account(long id, long partition) {
        suite::HospAccount a;
        a.hosp_acct_id = id;
        a.hosp_acct_name = "A" + std::to_string(id);
        a.Partition_ID = partition;
        return a;
    }
    std::string db(const std::string& sql) { return kdtest::sessionScalar(DatabaseSession::instance(), sql); }
    PhysicianProfileEdit loaded(long id) {
        PhysicianProfileEdit e;
        EXPECT_TRUE(e.Load(id, id == -1 ? Mode::EditDefault : Mode::Edit));
        return e;
    }
    size_t writesSince(size_t mark) {
        size_t n = 0;
        const auto& h = DatabaseSession::instance().history;
        for (size_t i = mark; i < h.size(); ++i)
            n += h[i].find("INSERT") != std::string::npos || h[i].find("UPDATE") != std::string::npos ? 1 : 0;
        return n;
    }

    suite::LoginComponent login;
    platform::MessageRecorder recorder;
};

TEST_F(ProfileEdit, AValueThatDiffersShowsVariousAndAnEditKeepsEachAccountsOtherValues) {
    PhysicianProfileEdit e = loaded(10);
    EXPECT_EQ(e.accounts(), (std::vector<long>{1, 2, 3}));
    EXPECT_TRUE(e.Overrides(2));
    EXPECT_FALSE(e.Overrides(1));
    e.Select({1, 2});
    EXPECT_EQ(e.Value("fax_nbr_1"), kVarious);
    EXPECT_EQ(e.Value("email_address"), "old@x.org");
    EXPECT_FALSE(e.FaxDays(1).has_value());          // the day arrays differ too
    EXPECT_FALSE(e.SetValue("fax_nbr_1", kVarious)); // left as shown: nothing written
    EXPECT_TRUE(e.SetValue("email_address", "new@x.org"));
    const auto changes = e.Changes();
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].field, "email_address");
    EXPECT_EQ(changes[0].newValue, "new@x.org");
    EXPECT_EQ(changes[0].accounts, (std::vector<long>{1, 2}));
    ASSERT_TRUE(SaveProfile(e, "admin1"));
    PhysicianProfileEdit back = loaded(10);
    EXPECT_EQ(back.record(1)->email_address, "new@x.org");
    EXPECT_EQ(back.record(2)->email_address, "new@x.org");
    EXPECT_EQ(back.record(3)->email_address, "old@x.org");
    EXPECT_EQ(back.record(1)->fax_nbr_1, "555-0100");
    EXPECT_EQ(back.record(2)->fax_nbr_1, "555-0222");
    EXPECT_EQ(db("SELECT COUNT(*) FROM Physician_membership WHERE physician_id = 10"), "1"); // still -1 only
    // Every account selected: the -1 record takes the edit, so followers keep following.
    back.Select({1, 2, 3});
    back.SetValue("city", "Oslo");
    ASSERT_TRUE(SaveProfile(back, "admin1"));
    EXPECT_EQ(db("SELECT city FROM Physician_attributes WHERE physician_id = 10 AND hosp_acct_id = -1"), "Oslo");
    EXPECT_EQ(db("SELECT COUNT(*) FROM Physician_attributes WHERE physician_id = 10 AND hosp_acct_id = 3"), "0");
}

TEST_F(ProfileEdit, AnAccountEqualToTheAllAccountsValuesWritesOnlyItsMembership) {
    PhysicianProfileEdit e = loaded(20);
    e.Select({1});
    e.SetValue("phone_nbr_1", "555-0101");
    ASSERT_TRUE(SaveProfile(e, "admin1"));
    EXPECT_EQ(db("SELECT COUNT(*) FROM Physician_attributes WHERE physician_id = 20 AND hosp_acct_id = 1"), "1");
    EXPECT_EQ(db("SELECT COUNT(*) FROM Physician_attributes WHERE physician_id = 20 AND hosp_acct_id = 2"), "0");
    // "Use All-Accounts Values" puts account 1 back on the -1 row.
    PhysicianProfileEdit again = loaded(20);
    EXPECT_TRUE(again.Overrides(1));
    again.Select({1});
    again.UseAllAccountsValues();
    ASSERT_TRUE(SaveProfile(again, "admin1"));
    EXPECT_EQ(db("SELECT COUNT(*) FROM Physician_attributes WHERE physician_id = 20"), "1");
    EXPECT_EQ(db("SELECT COUNT(*) FROM Physician_membership WHERE physician_id = 20"), "2");
}

TEST_F(ProfileEdit, RemovingAnAccountFromAMemberOfAllLeavesOneMembershipPerOtherAccount) {
    PhysicianProfileEdit e = loaded(10);
    e.RemoveAccounts({2});
    EXPECT_EQ(e.accounts(), (std::vector<long>{1, 3}));
    ASSERT_TRUE(SaveProfile(e, "admin1"));
    EXPECT_EQ(db("SELECT COUNT(*) FROM Physician_membership WHERE physician_id = 10 AND hosp_acct_id = -1"), "0");
    EXPECT_EQ(db("SELECT COUNT(*) FROM Physician_membership WHERE physician_id = 10"), "2");
    EXPECT_EQ(db("SELECT COUNT(*) FROM Physician_attributes WHERE physician_id = 10 AND hosp_acct_id = 2"), "0");
    clsPhysicianRecords back;
    ASSERT_TRUE(LoadPhysician(10, back));
    EXPECT_EQ(back.Count(), 2u);
}

TEST_F(ProfileEdit, TextIsCutToTheColumnInCharactersAndReadsBackTheSame) {
    std::string paste;
    for (int i = 0; i < 5000; ++i)
        paste += i % 2 ? "\xE6\xBC\xA2" : "'\xC3\xA9";
    PhysicianProfileEdit e = loaded(20);
    for (const auto& f : ProfileFields())
        if (f.text && f.maxChars > 0 && std::string(f.name) != "email_method")
            e.SetValue(f.name, paste);
    ASSERT_TRUE(SaveProfile(e, "admin1"));
    PhysicianProfileEdit back = loaded(20);
    for (const auto& f : ProfileFields()) {
        if (!f.text || f.maxChars == 0 || std::string(f.name) == "email_method")
            continue;
        EXPECT_EQ(back.Value(f.name), platform::utf8Left(paste, f.maxChars)) << f.name;
    }
    // The linked user's first name was cut to the 21 characters its row holds.
    EXPECT_EQ(db("SELECT first_name FROM System_user_bindery WHERE user_id = 200"), platform::utf8Left(paste, 21));
}

TEST_F(ProfileEdit, TheDefaultPhysicianSavesItsAllAccountsRowsAndNewPhysiciansStartFromThem) {
    PhysicianProfileEdit d = loaded(-1);
    EXPECT_TRUE(d.accounts().empty());
    EXPECT_EQ(d.Value("last_name"), "Physician");
    d.SetValue("group_affiliation", "Radiology");
    d.SetValue("fax_enabled_1", "0");
    ASSERT_TRUE(SaveProfile(d, "admin1"));
    EXPECT_EQ(db("SELECT group_affiliation FROM Physician_attributes WHERE physician_id = -1 AND hosp_acct_id = -1"),
              "Radiology");
    EXPECT_EQ(db("SELECT COUNT(*) FROM Physician_membership WHERE physician_id = -1"), "1");
    EXPECT_EQ(db("SELECT COUNT(*) FROM Physician_profile WHERE physician_id = -1"), "1");
    PhysicianProfileEdit n;
    ASSERT_TRUE(n.StartNew({1, 2}, 1));
    EXPECT_EQ(n.Value("group_affiliation"), "Radiology");
    EXPECT_EQ(n.Value("last_name"), "");
    n.SetValue("last_name", "Novak");
    n.SetValue("email_enabled", "0");
    n.SetValue("fax_enabled_2", "0");
    EXPECT_FALSE(CheckProfile(n, {}).has_value());
    ASSERT_TRUE(SaveProfile(n, "admin1"));
    const std::string id = std::to_string(n.physicianId());
    EXPECT_GT(n.physicianId(), 0);
    EXPECT_EQ(db("SELECT COUNT(*) FROM Physician_membership WHERE physician_id = " + id), "2");
    EXPECT_EQ(db("SELECT COUNT(*) FROM Physician_attributes WHERE physician_id = " + id), "1"); // the -1 row
    EXPECT_EQ(db("SELECT COUNT(*) FROM System_log WHERE msg1 = 'A new physician was entered.'"), "1");
    // Add another: clones of what was just saved, under a new id.
    n.StartAnother(1);
    n.SetValue("last_name", "Novak II");
    ASSERT_TRUE(SaveProfile(n, "admin1"));
    EXPECT_NE(std::to_string(n.physicianId()), id);
    EXPECT_EQ(db("SELECT group_affiliation FROM Physician_attributes WHERE physician_id = " +
                 std::to_string(n.physicianId())),
              "Radiology");
}

TEST_F(ProfileEdit, EachRuleRefusesWithItsTextTitleAndFieldBeforeAnythingIsWritten) {
    struct Case {
        const char* what;
        std::function<void(PhysicianProfileEdit&)> breakIt;
        const char* text;
        const char* title;
        const char* field;
        bool paxletAdmin = false;
    };
    const Case cases[] = {
        {"no account for a new physician", [](PhysicianProfileEdit& e) { e.RemoveAccounts(e.accounts()); },
         "No accounts have been selected for this physician.  Please add at least one account.", "Add Physician",
         "accounts"},
        {"e-signature off for a linked user", [](PhysicianProfileEdit& e) { e.SetValue("elect_signature", "0"); },
         "This physician is linked with Paxlet Physician bbaker.  Electronic signature cannot be turned off because "
         "you do no not have Paxlet Administrator privileges.",
         "Delete Physician", "elect_signature"},
        {"no name",
         [](PhysicianProfileEdit& e) {
             e.SetValue("first_name", " ");
             e.SetValue("last_name", "");
         },
         "Please enter a valid physician name.", "Invalid Entry", "first_name"},
        {"no account in the partition",
         [](PhysicianProfileEdit& e) {
             e.RemoveAccounts({1, 2}), e.AddAccounts({3});
         },
         "The physician cannot be saved because no accounts are associated with the physician's partition.",
         "Invalid Entry", "accounts"},
        {"fax 1 without number", [](PhysicianProfileEdit& e) { e.Select({2}), e.SetValue("fax_enabled_1", "1"); },
         "Faxing for fax number 1 is enabled but no fax number has been specified.", "Invalid Entry", "fax_nbr_1"},
        {"fax 2 without number", [](PhysicianProfileEdit& e) { e.SetValue("fax_enabled_2", "1"); },
         "Faxing for fax number 2 is enabled but no fax number has been specified.", "Invalid Entry", "fax_nbr_2"},
        {"e-mail without address", [](PhysicianProfileEdit& e) { e.SetValue("email_enabled", "1"); },
         "Email is enabled but no email address has been specified.", "Invalid Entry", "email_address"},
        {"author id with a leading zero", [](PhysicianProfileEdit& e) { e.SetValue("dvi_id", "77, 0123"); },
         "The Dictation Author ID cannot have leading zeroes.", "Invalid Entry", "dvi_id"},
        {"author id over 20", [](PhysicianProfileEdit& e) { e.SetValue("dvi_id", "77," + std::string(21, '9')); },
         "The Dictation Author ID 999999999999999999999 specified on the General tab is too long.", "Invalid Entry",
         "dvi_id"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        PhysicianProfileEdit e = loaded(20);
        if (std::string(c.title) == "Add Physician") {
            ASSERT_TRUE(e.StartNew({1}, 1));
            e.SetValue("last_name", "Novak");
        }
        PhysicianProfileEdit good = e;
        EXPECT_FALSE(CheckProfile(good, {}).has_value());
        c.breakIt(e);
        const size_t mark = DatabaseSession::instance().history.size();
        const auto refusal = CheckProfile(e, {c.paxletAdmin});
        ASSERT_TRUE(refusal.has_value());
        EXPECT_EQ(refusal->text, c.text);
        EXPECT_EQ(refusal->title, c.title);
        EXPECT_EQ(refusal->field, c.field);
        EXPECT_EQ(writesSince(mark), 0u);
    }
    // A Paxlet administrator may turn the linked user's e-signature off.
    PhysicianProfileEdit e = loaded(20);
    e.SetValue("elect_signature", "0");
    EXPECT_FALSE(CheckProfile(e, {true}).has_value());
}

TEST_F(ProfileEdit, TheLinkedFirstNameWarnsFromTwentyTwoCharacters) {
    PhysicianProfileEdit e = loaded(20);
    e.SetValue("first_name", std::string(20, 'a') + "\xC3\xA9"); // 21 characters, 22 bytes
    EXPECT_EQ(LinkedFirstNameWarning(e), "");
    e.SetValue("first_name", std::string(21, 'a') + "\xC3\xA9");
    EXPECT_NE(LinkedFirstNameWarning(e).find("cannot exceed 21 characters"), std::string::npos);
    ASSERT_TRUE(SaveProfile(e, "admin1"));
    EXPECT_EQ(db("SELECT first_name FROM System_user_bindery WHERE user_id = 200"), std::string(21, 'a'));
    EXPECT_EQ(db("SELECT first_name FROM Physician_profile WHERE physician_id = 20"),
              std::string(21, 'a') + "\xC3\xA9");
}

TEST_F(ProfileEdit, DuplicateIdsAreFoundThroughASharedAccountOrAnAllAccountsMembershipOnly) {
    struct Case {
        const char* what;
        long physician;
        const char* ids;
        std::vector<std::string> hits;
    };
    const Case cases[] = {
        {"shared with a member of all", 20, "B22", {"Dictation Author ID: B22 - Adams, Rita"}},
        {"an unshared account", 20, "A17", {}},
        {"its own account", 30, "B22", {"Dictation Author ID: B22 - Adams, Rita"}},
        {"its own id", 10, "B22", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        PhysicianProfileEdit e = loaded(c.physician);
        e.SetValue("dvi_id", c.ids);
        std::vector<DuplicateId> hits;
        ASSERT_TRUE(FindDuplicateIds(e, hits));
        std::vector<std::string> lines;
        for (const auto& h : hits)
            lines.push_back((h.source_id == "DVI" ? "Dictation Author ID" : h.source_id) + ": " + h.id + " - " +
                            h.physicianName);
        EXPECT_EQ(lines, c.hits);
    }
    PhysicianProfileEdit e = loaded(20);
    e.SetValue("dvi_id", "B22");
    EXPECT_EQ(DuplicateIdsQuery(e).find("AND ((  (source_type = 2 AND source_physician_id = 'B22')))"),
              std::string::npos);
    EXPECT_NE(DuplicateIdsQuery(e).find("AND (( (source_type = 2 AND source_physician_id = 'B22')))"),
              std::string::npos);
}

TEST(PhysicianProfileValues, SharedAccountsAreWrittenAsRangesOfConsecutiveAccounts) {
    const std::pair<std::vector<long>, const char*> cases[] = {
        {{}, "(hosp_acct_id = -1 OR hosp_acct_id IN (-1))"},
        {{7}, "(hosp_acct_id = -1 OR hosp_acct_id IN (7))"},
        {{8, 7}, "(hosp_acct_id = -1 OR hosp_acct_id IN (7,8))"},
        {{3, 1, 2}, "(hosp_acct_id = -1 OR hosp_acct_id BETWEEN 1 AND 3)"},
        {{1, 2, 3, 5, 9, 10, 11, 12, 2},
         "(hosp_acct_id = -1 OR hosp_acct_id IN (5) OR hosp_acct_id BETWEEN 1 AND 3 OR "
         "hosp_acct_id BETWEEN 9 AND 12)"},
        {{100, 101, 103}, "(hosp_acct_id = -1 OR hosp_acct_id IN (100,101,103))"},
    };
    for (const auto& [accounts, condition] : cases)
        EXPECT_EQ(SharedAccountsCondition(accounts), condition);
}

TEST(PhysicianProfileValues, FaxTimesInTwelveHourFormWithTheirResetValues) {
    struct Case {
        const char* text;
        bool pm;
        std::optional<FaxTime> stored;
    };
    const Case cases[] = {
        {"12:00", false, FaxTime{}},      {"00:00", true, FaxTime{}},      {"12:30", false, FaxTime{0, 30}},
        {"12:30", true, FaxTime{12, 30}}, {"01:05", true, FaxTime{13, 5}}, {"9:59", false, FaxTime{9, 59}},
        {"13:00", false, std::nullopt},   {"11:60", true, std::nullopt},   {"00:15", false, std::nullopt},
        {"1130", false, std::nullopt},    {"", false, std::nullopt},       {"ab:cd", false, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(FaxTimeFromText(c.text, c.pm), c.stored);
        if (c.stored && c.stored->hour != kNoFaxTime) { // shown as typed, read back the same
            const auto [text, half] = FaxTimeText(*c.stored);
            EXPECT_EQ(FaxTimeFromText(text, half == "pm"), c.stored);
        }
    }
    EXPECT_EQ(FaxTimeText(FaxTime{}), (std::pair<std::string, std::string>{"12:00", "am"}));
    EXPECT_EQ(FaxTimeText(FaxTime{17, 30}), (std::pair<std::string, std::string>{"05:30", "pm"}));
}

TEST(PhysicianProfileValues, WeightsReadTheLocalesSeparatorAndRefuseTheRest) {
    struct Case {
        const char* text;
        char separator;
        std::optional<double> value;
    };
    const Case cases[] = {
        {"12,5", ',', 12.5},        {"12.5", '.', 12.5},          {"100", ',', 100.0},         {" 7 ", '.', 7.0},
        {"999.99", '.', 999.99},    {"1000", '.', std::nullopt},  {"-1", '.', std::nullopt},   {"", ',', std::nullopt},
        {"abc", '.', std::nullopt}, {"1.2,5", ',', std::nullopt}, {"12,5", '.', std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseWeight(c.text, c.separator), c.value);
    }
    EXPECT_EQ(FormatWeight(5), "05.00");
    EXPECT_EQ(FormatWeight(12.5), "12.50");
    EXPECT_EQ(FormatWeight(100), "100.00");
}

TEST_F(ProfileEdit, AWeightTypedWithADecimalCommaIsWrittenWithAPoint) {
    kdtest::DecimalCommaLocale locale;
    KD_REQUIRE_DECIMAL_COMMA(locale);
    PhysicianProfileEdit e = loaded(20);
    e.Select({1});
    e.SetWeight(3, {kPercentWeighting, static_cast<float>(*ParseWeight("12,5", ','))});
    e.Select({1, 2});
    EXPECT_FALSE(e.WeightOf(3).has_value()); // account 2 has none: the two differ
    ASSERT_TRUE(SaveProfile(e, "admin1"));
    const auto& h = DatabaseSession::instance().history;
    bool pointWritten = false;
    for (const auto& sql : h)
        pointWritten = pointWritten || sql.find(", 3, 1, 12.5)") != std::string::npos;
    EXPECT_TRUE(pointWritten);
    PhysicianProfileEdit back = loaded(20);
    back.Select({1});
    ASSERT_TRUE(back.WeightOf(3).has_value());
    EXPECT_FLOAT_EQ(back.WeightOf(3)->value, 12.5f);
    back.Select({2});
    EXPECT_EQ(back.WeightOf(3)->type, kNoWeighting);
}

// The link drops in the middle of the save batch: on the first try and the retry (nothing stays,
// the edit is as typed, OK again writes it whole once), or on the first try only (the session
// reconnects and the batch is applied once).
TEST_F(ProfileEdit, ALinkLostMidSaveLeavesNothingHalfWrittenAndOkAgainWritesItOnce) {
    const std::string rows = "SELECT CONVERT(varchar, COUNT(*)) + '/' + CONVERT(varchar, SUM(CASE WHEN city = "
                             "'Tromso' THEN 1 ELSE 0 END)) FROM Physician_attributes WHERE physician_id = 20";
    const std::string logged = "SELECT COUNT(*) FROM System_log WHERE msg1 = 'A physician record was edited.'";
    for (const bool twice : {true, false}) {
        SCOPED_TRACE(twice ? "lost twice" : "lost once");
        exec("DELETE FROM Physician_attributes WHERE physician_id = 20 AND hosp_acct_id = 2\n"
             "DELETE FROM System_log");
        PhysicianProfileEdit e = loaded(20);
        e.Select({2});
        e.SetValue("city", "Tromso");
        odbc.arrangeFault("KALDRA", twice ? "drop-link-after 4\ndrop-link-after 4" : "drop-link-after 4");
        EXPECT_EQ(SaveProfile(e, "admin1"), !twice);
        if (twice) {
            DatabaseSession::instance().DisconnectFromSQL();
            kdtest::connectSession(odbc.folder(), "KALDRA");
            EXPECT_EQ(db(rows), "1/0"); // only the -1 row, as before
            EXPECT_EQ(db(logged), "0");
            EXPECT_EQ(e.Value("city"), "Tromso"); // as typed
            ASSERT_TRUE(SaveProfile(e, "admin1"));
        }
        EXPECT_EQ(db(rows), "2/1");
        EXPECT_EQ(db("SELECT COUNT(*) FROM Physician_membership WHERE physician_id = 20"), "2");
        EXPECT_EQ(db(logged), "1");
    }
}

} // namespace
