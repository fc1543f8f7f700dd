// Bulk user import: the preview's outcome of each row (the user editor's rules and messages first),
// then the writes, row by row, through the user store.

#include "DecimalCommaLocale.h"
#include "GroupFixture.h"
#include "UserImportRun.h"

#include <filesystem>
#include <fstream>

using namespace users;

namespace {

const std::string kHeader = "User Name,First Name,Last Name,User Type,Partition,User Policy,Groups,Initials,Password";
const std::string e3 = "\xE2\x82\xAC"; // a 3-byte character
const std::string e2 = "\xC3\xA9";     // a 2-byte character

std::string times(const std::string& s, size_t n) {
    std::string out;
    while (n--)
        out += s;
    return out;
}

// The site of GroupTest (MGR, a system administrator of partition 1) with three policies:
// 0 the default (3 characters), 2 Strict (8 characters, a letter and a digit, a symbol, both cases)
// and 3 Open (blank passwords allowed), and a template configuration row for new users of partition 3.
class UserImport : public kdtest::GroupTest {
protected:
    void SetUp() override {
        GroupTest::SetUp();
        exec("INSERT System_user_policies (policy_id, policy_name, permit_blank_password, case_sensitive_password, "
             "minimum_password_length, require_alpha_numeric, flag3) VALUES (2, 'Strict', 0, 1, 8, 1, 3)\n"
             "INSERT System_user_policies (policy_id, policy_name, permit_blank_password) VALUES (3, 'Open', 1)\n"
             "INSERT System_user_cfg VALUES (-1, 20, 'Font', 'Courier', 3)");
        session().history.clear();
    }
    void TearDown() override {
        Users().RemoveAll();
        GroupTest::TearDown();
    }
    UserImportPreview preview(const std::string& csv, UserImportOptions options = {}) {
        site = UserImportSite{};
        EXPECT_TRUE(LoadImportSite(site, loaded, loadedGroups, policies));
        site.context = context;
        if (acting)
            site.acting = *acting;
        return PreviewUserImport(UserCsvReader::Parse(csv), site, options);
    }
    static std::string outcome(const UserImportRow& r) {
        return std::string(ImportOutcomeText(r.outcome)) + (r.message.empty() ? "" : "|" + r.message);
    }
    std::string importFile(size_t count, const std::string& firstNameOf7 = "Ann") {
        std::string csv = kHeader + "\n";
        for (size_t i = 1; i <= count; ++i) {
            char name[16];
            std::snprintf(name, sizeof name, "IMP%04zu", i);
            csv += std::string(name) + "," + (i == 7 ? firstNameOf7 : "Ann") + ",Lee" + std::to_string(i) + "," +
                   (i % 2 ? "Transcriptionist" : "") + ",North General,,NURSES,AL,pw" + std::to_string(i) + "\n";
        }
        return csv;
    }

    UserEditContext context{true, true};
    std::optional<AdminKinds> acting;
    UserImportSite site;
    clsUsers loaded;
    clsSecurityGroups loadedGroups;
    clsUserPolicies policies;
};

struct RowCase {
    const char* name;
    std::string line;     // under kHeader
    std::string expected; // outcome text, then "|" and the message
};

class PreviewRows : public UserImport, public ::testing::WithParamInterface<RowCase> {};

TEST_P(PreviewRows, EachRowGetsItsOutcomeOrTheEditorsMessage) {
    const auto p = preview(kHeader + "\n" + GetParam().line + "\n");
    ASSERT_EQ(p.error, "");
    ASSERT_EQ(p.rows.size(), 1u);
    EXPECT_EQ(outcome(p.rows[0]), GetParam().expected);
    EXPECT_EQ(p.rows[0].line, 2);
}

const RowCase kRowCases[] = {
    {"New", "NEWBIE,Ann,Lee,,North,,,,abc", "new"},
    {"BlankName", ",Ann,Lee,,North,,,,abc", "error|User Name cannot be blank."},
    {"BlankNames", "NONAME,,,,North,,,,abc", "error|The first and last name cannot both be blank."},
    // Rule 2 comes before rule 6, as in the editor.
    {"BlankNamesBeforeTheQuote", "O'NONAME,,,,North,,,,abc", "error|The first and last name cannot both be blank."},
    {"Apostrophe", "O'HARA,Ann,O'Hara,,North,,,,abc", "error|User name cannot contain any single quote characters"},
    {"QuotedLeadingSpace", "\" LEAD\",Ann,Lee,,North,,,,abc", "error|User name cannot contain any spaces"},
    {"Backslash", "A\\B,Ann,Lee,,North,,,,abc", "error|User name cannot contain backslash characters"},
    {"Slash", "A/B,Ann,Lee,,North,,,,abc", "error|User name cannot contain forward slash characters"},
    {"BlankPartition", "NOPART,Ann,Lee,,,,,,abc", "error|Partition cannot be blank"},
    {"PasswordTooShortForItsPolicy", "STRICT1,Ann,Lee,,North,Strict,,,Ab1!",
     "error|Your login password must be at least 8 characters long.  Please enter a different login password."},
    {"PasswordWithoutSymbol", "STRICT2,Ann,Lee,,North,strict,,,Abcdefg1",
     "error|Your new login password must have at least one symbol character.  Please enter a different login "
     "password."},
    {"PasswordFitsItsPolicy", "STRICT3,Ann,Lee,,North,STRICT ,,,Abcdef1!", "new"},
    {"BlankPasswordUnderTheDefaultPolicy", "BLANK1,Ann,Lee,,North,,,,",
     "error|Your login password must be at least 3 characters long.  Please enter a different login password."},
    {"BlankPasswordUnderAnOpenPolicy", "BLANK2,Ann,Lee,,North,Open,,,", "new"},
    {"PasswordTooLongToStore", "LONGPW,Ann,Lee,,North,,,," + std::string(21, 'p'),
     std::string("error|") + kPasswordTooLong},
    {"PasswordOf3ByteCharactersTooLongToStore", "LONGPW3,Ann,Lee,,North,,,," + times(e3, 7),
     std::string("error|") + kPasswordTooLong},
    // Text limits count characters: 3-byte characters at the limit pass, one more is refused.
    {"FirstNameAtItsLimit", "LIM1," + times(e3, 21) + ",Lee,,North,,,,abc", "new"},
    {"FirstNameOverItsLimit", "LIM2," + times(e3, 22) + ",Lee,,North,,,,abc",
     "error|First Name cannot be longer than 21 characters."},
    {"LastNameAtItsLimit", "LIM3,Ann," + times(e2, 30) + ",,North,,,,abc", "new"},
    {"LastNameOverItsLimit", "LIM4,Ann," + times(e2, 31) + ",,North,,,,abc",
     "error|Last Name cannot be longer than 30 characters."},
    {"UserNameAtItsLimit", times(e3, 50) + ",Ann,Lee,,North,,,,abc", "new"},
    {"UserNameOverItsLimit", times(e3, 51) + ",Ann,Lee,,North,,,,abc",
     "error|User Name cannot be longer than 50 characters."},
    {"InitialsAtItsLimit", "LIM5,Ann,Lee,Transcriptionist,North,,,AB" + times(e3, 3) + ",abc", "new"},
    {"InitialsOverItsLimit", "LIM6,Ann,Lee,Transcriptionist,North,,,AB" + times(e3, 4) + ",abc",
     "error|Initials cannot be longer than 5 characters."},
    {"TenThousandCharacterField", "HUGE," + std::string(10000, 'x') + ",Lee,,North,,,,abc",
     "error|First Name cannot be longer than 21 characters."},
    // Partition names match as the server compares them.
    {"PartitionInOtherCaseWithTrailingBlanks", "CASED,Ann,Lee,,\"north general  \",,,,abc", "new"},
    {"PartitionNotUnderTheAdministrators", "SOUTHY,Ann,Lee,,South,,,,abc",
     "error|Partition South does not exist or is not visible to you."},
    {"UnknownPolicy", "NOPOL,Ann,Lee,,North,Nope,,,abc", "error|User policy Nope does not exist."},
    {"UnknownGroup", "NOGRP,Ann,Lee,,North,,NURSES;NOPE,,abc",
     "error|Group NOPE does not exist or is not visible to you."},
    {"GroupOfAnotherKind", "WRONGGRP,Ann,Lee,,North,,DOCS,,abc",
     "error|User WRONGGRP cannot be a member of group DOCS."},
    {"PhysicianUsersAreNotImported", "DOC9,Ann,Lee,Physician,North,,,,abc",
     "error|Physician users are linked to a physician profile: add them from User Management."},
    {"UnknownUserType", "WIZ,Ann,Lee,Wizard,North,,,,abc",
     "error|User Type must be General User, Transcriptionist or Veltra Expert, not \"Wizard\"."},
    {"ExistingUserIsSkipped", "jdoe,Jane,Doe,,North,,,,abc", "exists (will be skipped)"},
    {"NameOfAGroup", "NURSES,Ann,Lee,,North,,,,abc", std::string("error|") + kNameTaken},
    {"NameOfADeletedUser", "GONE,Ann,Lee,,North,,,,abc", std::string("error|") + kNameTaken},
    {"MoreFieldsThanTheHeader", "EXTRA,Ann,Lee,,North,,,,abc,surplus",
     "error|The line has more fields than the header row."},
};

INSTANTIATE_TEST_SUITE_P(Import, PreviewRows, ::testing::ValuesIn(kRowCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(UserImport, UnknownColumnsAreNamedAndRefuseTheWholeFile) {
    const auto p = preview("User Name,Shoe Size,First Name,Favourite Colour\nJDOE,9,Jane,red\n");
    EXPECT_EQ(p.error, "Unknown columns: \"Shoe Size\", \"Favourite Colour\".  The columns an import file may have "
                       "are: User Name, First Name, Last Name, User Type, Partition, User Policy, Groups, Initials, "
                       "Location Code, Dictation ID, MIS Number, Must Change Password, Password.");
    EXPECT_TRUE(p.rows.empty());
    EXPECT_EQ(preview("First Name\nJane\n").error, "The file has no User Name column.");
    EXPECT_EQ(preview("User Name,user name:\nA,B\n").error, "The column User Name appears more than once.");
    // The editor's captions name the columns too.
    EXPECT_EQ(preview("User Name:,Veltra Password,Must Change Password at Next Logon,First Name\nA,abc,Yes,Ann\n")
                  .rows.at(0)
                  .outcome,
              ImportOutcome::New);
}

TEST_F(UserImport, DuplicatesInsideTheFileAreRefusedOnTheirSecondLine) {
    const auto p =
        preview(kHeader + "\nDUP,Ann,Lee,,North,,,,abc\nOTHER,Ann,Lee,,North,,,,abc\ndup,Bo,Lee,,North,,,,abc\n"
                          "TRANSCRIBE1,Ann,Lee,Transcriptionist,North,,,,abc\n"
                          "TRANSCRIBE2,Ann,Lee,Transcriptionist,North,,,,abc\n");
    ASSERT_EQ(p.rows.size(), 5u);
    EXPECT_EQ(outcome(p.rows[0]), "new");
    EXPECT_EQ(outcome(p.rows[2]), "error|User name DUP appears more than once in the file (first on line 2).");
    EXPECT_EQ(outcome(p.rows[3]), "new");
    EXPECT_EQ(outcome(p.rows[4]), "error|The first 8 characters of the user name match those of line 5: both would "
                                  "share Transcriptionist ID TRANSCRI.");
}

TEST_F(UserImport, ExistingUsersAreUpdatedOnlyWhenChosenAndOnlyWhereTheAdministratorMay) {
    const std::string csv =
        kHeader + "\nJDOE,Janet,,,,,,,\nSSHARED,Sam,,,,,,,\nTJONES,,,,,,,,\nJDOE2,Ann,Lee,,North General,,,,abc\n";
    EXPECT_EQ(outcome(preview(csv).rows[0]), "exists (will be skipped)");
    UserImportOptions update;
    update.updateExisting = true;
    auto p = preview(csv, update);
    ASSERT_EQ(p.rows.size(), 4u);
    EXPECT_EQ(outcome(p.rows[0]), "exists (will be updated)");
    EXPECT_EQ(p.rows[0].user.m_strFirstName, "Janet");
    EXPECT_EQ(p.rows[0].user.m_strLastName, "Doe"); // an empty cell keeps the stored value
    EXPECT_EQ(p.rows[0].user.m_lngUserId, 60);
    EXPECT_FALSE(p.rows[0].changes.passwordChanged);
    EXPECT_EQ(p.rows[0].groupsAfter, std::vector<long>{70}); // an empty Groups cell keeps the memberships
    EXPECT_EQ(outcome(p.rows[1]), "error|Shared users cannot be edited");
    EXPECT_EQ(outcome(p.rows[2]), "exists (will be updated)");
    EXPECT_EQ(p.rows[3].user.Partition_ID(), 3);

    // A Transcription Administrator may not touch a System Administrator; a user of no administrator
    // kind may not add anyone.
    exec("UPDATE System_user_bindery SET is_administrator = 1 WHERE user_id = 60");
    acting = AdminKinds{false, false, true};
    p = preview(csv, update);
    EXPECT_EQ(outcome(p.rows[0]), "error|Transcription administrators are not authorized to delete System "
                                  "administrators.");
    EXPECT_EQ(outcome(p.rows[3]), "new");
    acting = AdminKinds{};
    EXPECT_EQ(outcome(preview(csv, update).rows[3]),
              "error|General administrators are not authorized to delete General administrators.");
}

TEST_F(UserImport, TheSiteFlagForGeneralUsersIsTheEditorsRule13) {
    context = UserEditContext{false, false};
    const auto p = preview(kHeader + "\nPLAIN,Ann,Lee,,North,,,,abc\nTYPIST,Ann,Lee,Transcriptionist,North,,,,abc\n");
    EXPECT_EQ(outcome(p.rows[0]), "error|The user must be configured as either a Transcriptionist or Physician User.");
    EXPECT_EQ(outcome(p.rows[1]), "new");
}

TEST_F(UserImport, GeneratedPasswordsSatisfyEachRowsPolicy) {
    UserImportOptions generate;
    generate.generatePasswords = true;
    std::string csv = kHeader + "\n";
    for (int i = 0; i < 40; ++i)
        csv += "GEN" + std::to_string(i) + ",Ann,Lee,,North," + (i % 2 ? "Strict" : "") + ",,,\n";
    csv += "GIVEN,Ann,Lee,,North,,,,mine\n";
    const auto p = preview(csv, generate);
    for (const auto& row : p.rows) {
        if (row.userName == "GIVEN") {
            EXPECT_EQ(row.generatedPassword, "");
            EXPECT_EQ(row.user.m_strPassword, "mine");
            continue;
        }
        EXPECT_EQ(outcome(row), "new") << row.userName;
        EXPECT_EQ(row.user.m_strPassword, row.generatedPassword);
        std::string message;
        const clsUserPolicy* strict = policies.Item(clsUserPolicies::Key(2));
        ASSERT_NE(strict, nullptr);
        EXPECT_TRUE(strict->IsPasswordOk("", row.generatedPassword, row.generatedPassword, false, 2, message))
            << row.generatedPassword << ": " << message;
    }
}

// 200 users written and read back: each row, its template configuration, its transcriptionist
// record, its group membership and its one log event.
TEST_F(UserImport, TwoHundredUsersAreWrittenAsTheEditorWritesThem) {
    const auto p = preview(importFile(200));
    ASSERT_EQ(p.Count(ImportOutcome::New), 200u);
    std::vector<size_t> steps;
    const auto summary = RunUserImport(
        p.rows,
        [&](size_t done, size_t) {
            steps.push_back(done);
            return true;
        },
        Users(), loadedGroups);
    EXPECT_EQ(summary.added, 200u);
    EXPECT_EQ(summary.failed, 0u);
    EXPECT_EQ(steps.size(), 201u);
    EXPECT_EQ(steps.back(), 200u);
    for (size_t i = 0; i < 200; ++i) {
        const auto& r = summary.results[i];
        ASSERT_EQ(r.outcome, "added") << r.message;
        const std::string id = std::to_string(r.userId);
        const std::string name = p.rows[i].userName;
        EXPECT_EQ(
            rows("SELECT user_name, last_name, partition_id, trans_id FROM System_user_bindery "
                 "WHERE user_id = " +
                 id),
            std::vector<std::string>{name + "|Lee" + std::to_string(i + 1) + "|3|" + (i % 2 ? "" : name.substr(0, 8))})
            << name;
        EXPECT_EQ(rows("SELECT key_value, partition_id FROM System_user_cfg WHERE user_id = " + id),
                  std::vector<std::string>{"Courier|3"});
        EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_security_groups WHERE group_id = 70 AND user_id = " + id), "1")
            << name;
    }
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Trans_info WHERE trans_id LIKE 'IMP%' AND initials = 'AL'"), "100");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_log WHERE error_code = 20003 AND msg1 LIKE 'User IMP____ was "
                     "added by user MGR.'"),
              "200");
    EXPECT_EQ(loadedGroups.Item(clsSecurityGroups::Key(70))->IsMember(summary.results[0].userId), true);
    EXPECT_TRUE(recorder.shown.empty());
}

TEST_F(UserImport, CancelAfterFiftyLeavesFiftyCompleteUsersAndTheRestUntouched) {
    const auto p = preview(importFile(120));
    const auto summary = RunUserImport(
        p.rows, [](size_t done, size_t) { return done < 50; }, Users(), loadedGroups);
    EXPECT_TRUE(summary.cancelled);
    EXPECT_EQ(summary.added, 50u);
    EXPECT_EQ(summary.notImported, 70u);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_user_bindery WHERE user_name LIKE 'IMP%'"), "50");
    EXPECT_EQ(scalar("SELECT MAX(user_name) FROM System_user_bindery WHERE user_name LIKE 'IMP%'"), "IMP0050");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_security_groups SG JOIN System_user_bindery U ON SG.user_id = "
                     "U.user_id WHERE U.user_name LIKE 'IMP%'"),
              "50");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_log WHERE error_code = 20003"), "50");
    EXPECT_EQ(summary.results[50].outcome, "not imported (cancelled)");
}

// The 7th user's batch is refused by the server: that user is left out whole and the import goes on.
TEST_F(UserImport, AFailingStatementLeavesThatUserOutWholeAndTheRestIn) {
    const auto p = preview(importFile(12, "Faulty"));
    ASSERT_EQ(p.Count(ImportOutcome::New), 12u);
    odbc.arrangeFault("KALDRA", "fail-text 'Faulty'");
    const auto summary = RunUserImport(p.rows, {}, Users(), loadedGroups);
    EXPECT_EQ(summary.added, 11u);
    EXPECT_EQ(summary.failed, 1u);
    const auto& failed = summary.results[6];
    EXPECT_EQ(failed.outcome, "failed");
    EXPECT_NE(failed.message.find(kAddFailed), std::string::npos) << failed.message;
    EXPECT_EQ(failed.userId, 0);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_user_bindery WHERE user_name = 'IMP0007'"), "0");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Trans_info WHERE trans_id = 'IMP0007'"), "0");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_log WHERE msg1 LIKE '%IMP0007%'"), "0");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_user_bindery WHERE user_name LIKE 'IMP%'"), "11");
    EXPECT_EQ(summary.results[7].outcome, "added");
    EXPECT_TRUE(recorder.shown.empty()); // collected into the result, not shown box by box
    EXPECT_EQ(Users().Item(clsUsers::Key(failed.userId)), nullptr);
}

TEST_F(UserImport, TheResultFileListsEveryLineAndGivesGeneratedPasswordsOnlyThere) {
    const std::string folder = odbc.folder() + "/import";
    std::filesystem::create_directories(folder);
    UserImportOptions generate;
    generate.generatePasswords = true;
    const auto p = preview(
        kHeader + "\nNEWONE,Ann,\"Lee, Jr.\",,North,,,,\nJDOE,,,,,,,,\nBAD'ONE,Ann,Lee,,North,,,,x\n", generate);
    const auto summary = RunUserImport(p.rows, {}, Users(), loadedGroups);
    const std::string path = ImportResultPath(folder + "/residents.csv");
    EXPECT_EQ(path, folder + "/residents-result.csv");
    ASSERT_TRUE(WriteImportResult(path, p.rows, summary));
    const auto back = UserCsvReader::ReadFile(path);
    ASSERT_EQ(back.error, "");
    ASSERT_EQ(back.records.size(), 4u);
    const auto& added = back.records[1].fields;
    EXPECT_EQ(added.at(0) + "|" + added.at(1) + "|" + added.at(2), "2|NEWONE|added");
    EXPECT_EQ(added.at(3), std::to_string(summary.results[0].userId));
    EXPECT_EQ(added.at(5), p.rows[0].generatedPassword);
    EXPECT_EQ(added.at(5).size(), 12u);
    EXPECT_EQ(back.records[2].fields.at(2), "skipped");
    EXPECT_EQ(back.records[3].fields.at(2) + "|" + back.records[3].fields.at(4),
              "error|User name cannot contain any single quote characters");
    // The password is in the result file only: not in the log, not in the statements' trace.
    for (const auto& text : session().history)
        EXPECT_EQ(text.find(p.rows[0].generatedPassword), std::string::npos);
}

TEST_F(UserImport, ASemicolonFileOfADecimalCommaLocaleImportsTheSame) {
    kdtest::DecimalCommaLocale locale;
    KD_REQUIRE_DECIMAL_COMMA(locale);
    exec("UPDATE User_identifier SET next_user_id = 1234567");
    const auto p = preview("\xEF\xBB\xBFUser Name;First Name;Last Name;Groups;Must Change Password\r\n"
                           "KOMMA;Anna;\"M\xC3\xBCller; Dr.\";NURSES;Ja\r\nPUNKT;Otto;Lee;;nein\r\n");
    ASSERT_EQ(p.error, "");
    ASSERT_EQ(outcome(p.rows.at(0)), "error|Must Change Password must be Yes or No, not \"Ja\".");
    const auto q = preview("User Name;First Name;Last Name;Groups;Must Change Password;Password\r\n"
                           "KOMMA;Anna;\"M\xC3\xBCller; Dr.\";NURSES;Yes;1,5\r\nPUNKT;Otto;Lee;;no;2,5\r\n");
    const auto summary = RunUserImport(q.rows, {}, Users(), loadedGroups);
    ASSERT_EQ(summary.added, 2u) << summary.results[0].message;
    EXPECT_EQ(rows("SELECT user_id, last_name, must_change_password FROM System_user_bindery WHERE user_name = "
                   "'KOMMA'"),
              std::vector<std::string>{"1234567|M\xC3\xBCller; Dr.|1"});
    EXPECT_EQ(members(70).back(), "1234567");
}

} // namespace
