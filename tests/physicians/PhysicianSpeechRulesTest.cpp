#include "DatabaseSession.h"
#include "LoginComponent.h"
#include "OdbcFixture.h"
#include "PhysicianProfileRules.h"
#include "PhysicianSpeechSettings.h"
#include "SessionHelper.h"
#include "clsPartition.h"
#include "modPartition.h"

#include <algorithm>
#include <functional>

using namespace physicians;
using foundation::DatabaseSession;
using Mode = PhysicianProfileEdit::Mode;

namespace {

// Accounts 1 and 2 in partition 1. Physician 20 in both, recognising by work type "AB" with
// speech user EVANS and ASP id S1. Physician 40 in account 1 holds speech user JSMITH and ASP id S9.
class SpeechRules : public kdtest::SuiteTest {
protected:
    void SetUp() override {
        SuiteTest::SetUp();
        exec("INSERT System_partitions VALUES (1, 0, 'North', 0, '/0/1/', NULL)\n"
             "INSERT Account_info (hosp_acct_id, hosp_acct_name, partition_id, is_deleted) VALUES (1, 'Zeta', 1, 0)\n"
             "INSERT Account_info (hosp_acct_id, hosp_acct_name, partition_id, is_deleted) VALUES (2, 'Alpha', 1, 0)\n"
             "INSERT Physician_profile (physician_id, first_name, last_name, partition_id) VALUES "
             "(20, 'Eve', 'Evans', 1)\n"
             "INSERT Physician_membership VALUES (20, 1, 0, 0)\n"
             "INSERT Physician_membership VALUES (20, 2, 0, 0)\n"
             "INSERT Physician_attributes (physician_id, hosp_acct_id, fax_enabled_1, fax_enabled_2, email_enabled) "
             "VALUES (20, -1, 0, 0, 0)\n"
             "INSERT Physician_attributes_extended (physician_id, hosp_acct_id, speech_rec_enabled, "
             "speech_rec_includes, speech_rec_specific_worktypes) VALUES (20, -1, 1, 0x" +
             std::string(64, '0') +
             ", 'AB')\n"
             "INSERT Physician_external_ids VALUES (20, 'Speech Magic', 'EVANS', 1, 1)\n"
             "INSERT Physician_external_ids VALUES (20, 'Speech Machines', 'S1', 3, 1)\n"
             "INSERT Physician_profile (physician_id, first_name, last_name, partition_id) VALUES "
             "(40, 'John', 'Smith', 1)\n"
             "INSERT Physician_membership VALUES (40, 1, 0, 0)\n"
             "INSERT Physician_external_ids VALUES (40, 'Speech Magic', 'JSMITH', 1, 1)\n"
             "INSERT Physician_external_ids VALUES (40, 'Speech Machines', 'S9', 3, 1)");
        kdtest::connectSession(odbc.folder(), "KALDRA");
        ASSERT_EQ(LoadPartitions(), 2);
        login.SetHospAccounts({account(1), account(2)});
        login.user.Partition_ID = 0;
        Partitions().login = &login;
    }
    void TearDown() override {
        Partitions() = PartitionState{};
        PartitionCache().clear();
        DatabaseSession::instance().DisconnectFromSQL();
    }
    static suite::HospAccount account(long id) {
        suite::HospAccount a;
        a.hosp_acct_id = id;
        a.hosp_acct_name = "A" + std::to_string(id);
        a.Partition_ID = 1;
        return a;
    }
    std::string db(const std::string& sql) { return kdtest::sessionScalar(DatabaseSession::instance(), sql); }
    PhysicianProfileEdit loaded() {
        PhysicianProfileEdit e;
        EXPECT_TRUE(e.Load(20, Mode::Edit));
        return e;
    }

    suite::LoginComponent login;
};

TEST_F(SpeechRules, EachSpeechRuleRefusesAloneWithItsTextAndTitleInItsPlaceAndNothingIsWritten) {
    const std::string twentyTwoByte = [] {
        std::string s;
        for (int i = 0; i < 20; ++i)
            s += "\xC3\xA9"; // 20 characters, 40 bytes
        return s;
    }();
    struct Case {
        const char* what;
        std::function<void(PhysicianProfileEdit&)> change;
        bool speechMachinesInUse;
        const char* text; // "" when the profile is accepted
        const char* title;
        const char* field;
    };
    const Case cases[] = {
        {"work type of four", [](auto& e) { e.SetValue("speech_rec_specific_worktypes", "AB, ABCD"); }, false,
         "Invalid DVI work type specified on the Recognition tab.", "Invalid Entry", "speech_rec_specific_worktypes"},
        {"work type of three", [](auto& e) { e.SetValue("speech_rec_specific_worktypes", "ABC,X"); }, false, "", "",
         ""},
        {"work type before an over-long author id",
         [](auto& e) {
             e.SetValue("dvi_id", std::string(21, '9'));
             e.Select({2});
             e.SetValue("speech_rec_specific_worktypes", "ABCD");
         },
         false, "Invalid DVI work type specified on the Recognition tab.", "Invalid Entry",
         "speech_rec_specific_worktypes"},
        {"author id before two ASP ids",
         [](auto& e) {
             e.SetValue("dvi_id", std::string(21, '9'));
             e.SetValue("speech_machines_id", "A,B");
         },
         false, "The Dictation Author ID 999999999999999999999 specified on the General tab is too long.",
         "Invalid Entry", "dvi_id"},
        {"two ASP ids", [](auto& e) { e.SetValue("speech_machines_id", "A,B"); }, false,
         "Invalid Speech Machines ID specified.  Only one ID can be entered in this field.", "Invalid Entry",
         "speech_machines_id"},
        {"ASP id of 21", [](auto& e) { e.SetValue("speech_machines_id", std::string(21, 'M')); }, false,
         "Invalid Speech Machines ID MMMMMMMMMMMMMMMMMMMMM specified on the Dictation tab.", "Invalid Entry",
         "speech_machines_id"},
        {"ASP id of 20 and a trailing comma",
         [](auto& e) { e.SetValue("speech_machines_id", std::string(20, 'M') + ","); }, false, "", "", ""},
        {"speech user of 21 before its space",
         [](auto& e) { e.SetValue("sm_user_name", "A B" + std::string(18, 'C')); }, false,
         "Invalid SpeechMagic User Name A BCCCCCCCCCCCCCCCCCC specified on the Dictation tab.", "Invalid Entry",
         "sm_user_name"},
        {"speech user with a space", [](auto& e) { e.SetValue("sm_user_name", "J SMITH"); }, false,
         "The SpeechMagic user name cannot contain spaces.", "Invalid Entry", "sm_user_name"},
        {"speech user of 20 two-byte letters", [&](auto& e) { e.SetValue("sm_user_name", twentyTwoByte); }, false, "",
         "", ""},
        {"recognition without work or report types",
         [](auto& e) {
             e.Select({1});
             e.SetValue("speech_rec_specific_worktypes", " ");
         },
         false,
         "This user has speech recognition enabled but does not have any work types or reports associated for "
         "speech recognition.\r\nPlease associate report types or work types for recognition.",
         "Speech Recognition", "speech_rec_specific_worktypes"},
        {"recognition by report type only",
         [](auto& e) {
             e.Select({1});
             e.SetValue("speech_rec_specific_worktypes", "");
             e.SetReportIncluded(ReportSetKind::SpeechRec, 255, true);
         },
         false, "", "", ""},
        {"no ASP id with Speech Machines", [](auto& e) { e.SetValue("speech_machines_id", ""); }, true,
         "This user has speech recognition enabled but does not have an ASP ID for speech recognition.\r\nPlease "
         "assign an ASP ID for recognition.",
         "Speech Recognition", "speech_machines_id"},
        {"no ASP id without Speech Machines", [](auto& e) { e.SetValue("speech_machines_id", ""); }, false, "", "", ""},
        {"no speech user", [](auto& e) { e.SetValue("sm_user_name", ""); }, false,
         "This user has speech recognition enabled but does not have a SpeechMagic user name for speech "
         "recognition.\r\nPlease assign a SpeechMagic user name for recognition.",
         "Speech Recognition", "sm_user_name"},
        {"no speech user, recognition off",
         [](auto& e) {
             e.SetValue("sm_user_name", "");
             e.SetValue("speech_rec_enabled", "0");
         },
         false, "", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        PhysicianProfileEdit e = loaded();
        EXPECT_FALSE(CheckProfile(e, {false, true}).has_value());
        c.change(e);
        const size_t mark = DatabaseSession::instance().history.size();
        const auto refusal = CheckProfile(e, {false, c.speechMachinesInUse});
        EXPECT_EQ(DatabaseSession::instance().history.size(), mark); // the checks send nothing
        if (std::string(c.text).empty()) {
            EXPECT_FALSE(refusal.has_value()) << refusal->text;
            continue;
        }
        ASSERT_TRUE(refusal.has_value());
        EXPECT_EQ(refusal->text, c.text);
        EXPECT_EQ(refusal->title, c.title);
        EXPECT_EQ(refusal->icon, platform::MsgIcon::Exclamation);
        EXPECT_EQ(refusal->field, c.field);
    }
}

TEST_F(SpeechRules, SpeechMachinesIsInUseOnlyWhenTheSiteSendsToIt) {
    EXPECT_FALSE(SpeechMachinesInUse());
    exec("INSERT System_user_cfg (user_id, application_id, key_name, key_value) VALUES (0, 15, "
         "'SendToSpeechMachines', 'NO')\n"
         "INSERT System_user_cfg (user_id, application_id, key_name, key_value) VALUES (0, 14, "
         "'SendToSpeechMachines', 'YES')");
    EXPECT_FALSE(SpeechMachinesInUse());
    exec("INSERT System_user_cfg (user_id, application_id, key_name, key_value) VALUES (0, 15, "
         "'SendToSpeechMachines', 'YES')");
    EXPECT_TRUE(SpeechMachinesInUse());
}

TEST_F(SpeechRules, SpeechIdsAndRecognitionSettingsAreSavedAndReadBack) {
    PhysicianProfileEdit e = loaded();
    EXPECT_EQ(e.Value("sm_user_name"), "EVANS");
    EXPECT_EQ(e.Value("speech_machines_id"), "S1");
    e.SetValue("sm_user_name", "O'Hara");
    e.SetValue("speech_machines_id", " S2 ");
    e.Select({1});
    e.SetAllReports(ReportSetKind::SpeechRec, true);
    e.SetValue("speech_rec_eval_mode", "1");
    e.SetValue("default_context_id", "7");
    e.SetValue("default_input_method", "2");
    e.SetValue("adv_acoustics_support", "1");
    ASSERT_TRUE(SaveProfile(e, "admin1"));
    EXPECT_EQ(db("SELECT source_physician_id + '|' + source_id FROM Physician_external_ids WHERE physician_id = 20 "
                 "AND source_type = 1"),
              "O'Hara|Speech Magic");
    EXPECT_EQ(db("SELECT source_physician_id + '|' + source_id FROM Physician_external_ids WHERE physician_id = 20 "
                 "AND source_type = 3"),
              "S2|Speech Machines");
    EXPECT_EQ(db("SELECT speech_rec_includes FROM Physician_attributes_extended WHERE physician_id = 20 AND "
                 "hosp_acct_id = 1"),
              std::string(64, 'F'));
    PhysicianProfileEdit back = loaded();
    EXPECT_EQ(back.Value("sm_user_name"), "O'Hara");
    EXPECT_EQ(back.Value("speech_machines_id"), "S2");
    back.Select({1});
    EXPECT_EQ(back.Value("speech_rec_eval_mode"), "1");
    EXPECT_EQ(back.Value("default_context_id"), "7");
    EXPECT_EQ(back.Value("default_input_method"), "2");
    EXPECT_EQ(back.Value("adv_acoustics_support"), "1");
    EXPECT_EQ(back.ReportIncluded(ReportSetKind::SpeechRec, 200), true);
    back.Select({1, 2});
    EXPECT_EQ(back.Value("speech_rec_eval_mode"), kVarious); // shown checked but disabled
    EXPECT_FALSE(back.ReportIncluded(ReportSetKind::SpeechRec, 200).has_value());
}

TEST_F(SpeechRules, DuplicateSpeechUserAndAspIdsAreLookedUpWithTheAuthorIdsInOrder) {
    PhysicianProfileEdit e = loaded();
    e.SetValue("sm_user_name", "JSMITH");
    e.SetValue("dvi_id", "77");
    e.SetValue("speech_machines_id", "S9");
    EXPECT_NE(DuplicateIdsQuery(e).find("AND (( (source_type = 1 AND source_physician_id = 'JSMITH') OR  "
                                        "(source_type = 2 AND source_physician_id = '77') OR  (source_type = 3 AND "
                                        "source_physician_id = 'S9')))"),
              std::string::npos)
        << DuplicateIdsQuery(e);
    std::vector<DuplicateId> hits;
    ASSERT_TRUE(FindDuplicateIds(e, hits));
    std::vector<std::string> found;
    for (const auto& h : hits)
        found.push_back(h.source_id + ": " + h.id + " - " + h.physicianName);
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found,
              (std::vector<std::string>{"Speech Machines: S9 - Smith, John", "Speech Magic: JSMITH - Smith, John"}));
}

} // namespace
