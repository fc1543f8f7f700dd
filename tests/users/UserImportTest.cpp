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
    {"PhysicianWithoutAuthorId", "DOC9,Ann,Lee,Physician,North,,,,abc",
     "error|A physician user needs the Author ID of its physician profile."},
    {"UnknownUserType", "WIZ,Ann,Lee,Wizard,North,,,,abc",
     "error|User Type must be General User, Transcriptionist, Physician or Veltra Expert, not \"Wizard\"."},
    // The clear marker on a new user reads as an empty cell; it never stands for a name, type or partition.
    {"ClearedFirstNameOfANewUser", "NEWC,<clear>,Lee,,North,,,,abc", "new"},
    {"ClearInTheUserNameColumn", "<clear>,Ann,Lee,,North,,,,abc",
     "error|<clear> cannot be used in the User Name column."},
    {"ClearInThePartitionColumn", "CLRP,Ann,Lee,,<CLEAR>,,,,abc",
     "error|<clear> cannot be used in the Partition column."},
    {"ClearInTheUserTypeColumn", "CLRT,Ann,Lee, <clear> ,North,,,,abc",
     "error|<clear> cannot be used in the User Type column."},
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
                       "Location Code, Dictation ID, MIS Number, Must Change Password, Password, Author ID.");
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
    // The written users are not kept in memory: the import's memory stays flat in the user count.
    EXPECT_EQ(Users().Count(), 0u);
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

// Every text field at its limit in 3-byte characters is written whole, to the user row and to the
// transcriptionist record.
TEST_F(UserImport, EveryFieldAtItsLimitIn3ByteCharactersIsWrittenWhole) {
    const auto p =
        preview("User Name,First Name,Last Name,User Type,Partition,Location Code,Dictation ID,MIS Number,"
                "Initials,Password\n" +
                times(e3, 50) + "," + times(e3, 21) + "," + times(e3, 30) + ",Transcriptionist,North," + times(e3, 10) +
                "," + times(e3, 20) + ",M" + times(e3, 19) + ",AB" + times(e3, 3) + ",abc\n");
    ASSERT_EQ(outcome(p.rows.at(0)), "new");
    const auto summary = RunUserImport(p.rows, {}, Users(), loadedGroups);
    ASSERT_EQ(summary.added, 1u) << summary.results[0].message;
    EXPECT_EQ(rows("SELECT user_name, first_name, last_name, trans_id FROM System_user_bindery WHERE user_id = " +
                   std::to_string(summary.results[0].userId)),
              std::vector<std::string>{times(e3, 50) + "|" + times(e3, 21) + "|" + times(e3, 30) + "|" + times(e3, 8)});
    EXPECT_EQ(
        rows("SELECT location_code, dictation_id, mis_nbr, initials FROM Trans_info WHERE trans_id = '" + times(e3, 8) +
             "'"),
        std::vector<std::string>{times(e3, 10) + "|" + times(e3, 20) + "|M" + times(e3, 19) + "|AB" + times(e3, 3)});
    // One character more in any of them refuses the row before anything is written.
    const auto over = preview("User Name,Location Code,Dictation ID,MIS Number\nA1," + times(e3, 11) + ",,\nA2,," +
                              times(e3, 21) + ",\nA3,,," + times(e3, 21) + "\n");
    EXPECT_EQ(outcome(over.rows.at(0)), "error|Location Code cannot be longer than 10 characters.");
    EXPECT_EQ(outcome(over.rows.at(1)), "error|Dictation ID cannot be longer than 20 characters.");
    EXPECT_EQ(outcome(over.rows.at(2)), "error|MIS Number cannot be longer than 20 characters.");
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

// ---- physician users --------------------------------------------------------------------------

// Accounts 5 (North, visible) and 6 (South, not visible to MGR of North); physicians 501 (DRX's,
// North), 502 Ann Able (North General, author ids A502 and A502B), 503 (South), 504 (North,
// hidden), 505 Bo Body (North, member of every account) and 506 (North), each with its own author id.
// A physician named twice in the file is refused on its second line, as a user name is.
class PhysicianImport : public UserImport {
protected:
    void SetUp() override {
        UserImport::SetUp();
        suite::HospAccount north, south;
        north.hosp_acct_id = 5;
        north.hosp_acct_name = "North Clinic";
        north.Partition_ID = 1;
        south.hosp_acct_id = 6;
        south.hosp_acct_name = "South Clinic";
        south.Partition_ID = 2;
        login.SetHospAccounts({north, south});
        std::string sql;
        const auto physician = [&sql](int id, const char* first, const char* last, int user, int partition, int hidden,
                                      int account, std::vector<std::string> authorIds) {
            const std::string p = std::to_string(id);
            sql += "INSERT Physician_profile (physician_id, first_name, last_name, flag2, partition_id, flag3) "
                   "VALUES (" +
                   p + ", '" + first + "', '" + last + "', " + std::to_string(user) + ", " + std::to_string(partition) +
                   ", " + std::to_string(hidden) + ")\n" +
                   "INSERT Physician_membership (physician_id, hosp_acct_id) VALUES (" + p + ", " +
                   std::to_string(account) + ")\n" +
                   "INSERT Physician_attributes (physician_id, hosp_acct_id) VALUES (" + p + ", -1)\n";
            for (const auto& a : authorIds)
                sql += "INSERT Physician_external_ids VALUES (" + p + ", 'DVI', '" + a + "', 2, 0)\n";
        };
        physician(501, "Xavier", "Doctor", 62, 1, 0, 5, {"D501"});
        physician(502, "Ann", "Able", 0, 3, 0, 5, {"A502", "A502B"});
        physician(503, "Sam", "South", 0, 2, 0, 6, {"S503"});
        physician(504, "Hal", "Hidden", 0, 1, 1, 5, {"H504"});
        physician(505, "Bo", "Body", 0, 1, 0, -1, {"B505"});
        physician(506, "Cy", "Clone", 0, 1, 0, 5, {"C506"});
        exec(sql);
        session().history.clear();
    }
    static constexpr const char* kPhysHeader = "User Name,First Name,Last Name,User Type,Partition,Groups,Password,"
                                               "Author ID";
};

TEST_F(PhysicianImport, PhysicianUsersAreCheckedAgainstThePhysiciansTheChooserOffers) {
    const std::pair<std::string, std::string> cases[] = {
        {"DOCA,,,Physician,,,abc,a502", "new"},
        {"DOCB,,,Physician,,,abc,", "error|A physician user needs the Author ID of its physician profile."},
        {"DOCC,,,Physician User,,,abc,D501", "error|The physician with Author ID D501 already has a user."},
        {"DOCD,,,Physician,,,abc,S503", "error|No physician with Author ID S503 is visible to you."},
        {"DOCE,,,Physician,,,abc,H504", "error|No physician with Author ID H504 is visible to you."},
        {"DOCF,,,Physician,,,abc,NOPE", "error|No physician with Author ID NOPE is visible to you."},
        {"DOCG,,,Physician,,,abc,A502B", "error|The physician with Author ID A502B is linked to the user of line 2 "
                                         "already."},
        {"DOCH,Cy,Clone,Physician,North General,,abc,C506",
         "error|A physician user is placed in the physician's partition, North."},
        {"DOCI,Ann,Lee,,North,,abc,B505", "error|Author ID is given for physician users only."},
        {"DOCJ,Bo,,Physician,north,DOCS,abc,B505", "new"},
        {"DOCK,,,Physician,,NURSES,abc,B505", "error|The physician with Author ID B505 is linked to the user of "
                                              "line 11 already."},
    };
    std::string csv = std::string(kPhysHeader) + "\n";
    for (const auto& c : cases)
        csv += c.first + "\n";
    const auto p = preview(csv);
    ASSERT_EQ(p.error, "");
    ASSERT_EQ(p.rows.size(), std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(outcome(p.rows[i]), cases[i].second) << cases[i].first;
    // The new user starts as the chooser starts it: the physician's names and partition.
    const clsUser& doc = p.rows[0].user;
    EXPECT_EQ(doc.m_lngPhysicianId, 502);
    EXPECT_EQ(doc.m_strFirstName + " " + doc.m_strLastName, "Ann Able");
    EXPECT_EQ(doc.Partition_ID(), 3);
    EXPECT_FALSE(doc.m_blnNotPaxLet);
    EXPECT_EQ(p.rows[9].user.m_strFirstName + "|" + p.rows[9].user.m_strLastName, "Bo|Body");
    EXPECT_EQ(p.rows[9].groupsAfter, std::vector<long>{71});
}

TEST_F(PhysicianImport, ExistingUsersChangeTheirPhysicianLinkOnlyInTheEditor) {
    UserImportOptions update;
    update.updateExisting = true;
    const auto p =
        preview(std::string(kPhysHeader) + "\nJDOE,,,Physician,,,,\nDRX,,,Physician,,,,A502\nDRX,,,,,,,D501\n", update);
    ASSERT_EQ(p.rows.size(), 3u);
    EXPECT_EQ(outcome(p.rows[0]),
              "error|A user becomes a physician user in User Management, where its physician profile is chosen.");
    EXPECT_EQ(outcome(p.rows[1]), "error|The physician profile of a physician user is changed in User Management.");
    EXPECT_EQ(outcome(p.rows[2]), "error|User name DRX appears more than once in the file (first on line 3).");
    EXPECT_EQ(outcome(preview(std::string(kPhysHeader) + "\nDRX,Xavi,,,,,,D501\n", update).rows.at(0)),
              "exists (will be updated)");
}

// Written as the editor's Add User writes a physician user: the user's physician, the profile's user
// back, the electronic signature on, one log event.
TEST_F(PhysicianImport, PhysicianUsersAreWrittenWithTheirProfileLink) {
    const auto p =
        preview(std::string(kPhysHeader) + "\nDOCA,,,Physician,,,abc,A502B\nDOCB,Bo,,Physician,,,abc,b505\n");
    ASSERT_EQ(p.Count(ImportOutcome::New), 2u) << outcome(p.rows[0]) << outcome(p.rows[1]);
    const auto summary = RunUserImport(p.rows, {}, Users(), loadedGroups);
    ASSERT_EQ(summary.added, 2u) << summary.results[0].message;
    const std::string a = std::to_string(summary.results[0].userId), b = std::to_string(summary.results[1].userId);
    EXPECT_EQ(rows("SELECT user_name, first_name, last_name, flag1, partition_id FROM System_user_bindery WHERE "
                   "user_id IN (" +
                   a + ", " + b + ") ORDER BY user_id"),
              (std::vector<std::string>{"DOCA|Ann|Able|502|3", "DOCB|Bo|Body|505|1"}));
    EXPECT_EQ(rows("SELECT physician_id, flag2 FROM Physician_profile WHERE physician_id IN (502, 505) ORDER BY "
                   "physician_id"),
              (std::vector<std::string>{"502|" + a, "505|" + b}));
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Physician_attributes WHERE physician_id IN (502, 505) AND "
                     "elect_signature = 1"),
              "2");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_log WHERE error_code = 20003 AND msg1 LIKE 'User DOC_ was added%'"),
              "2");
}

// ---- the clear marker on updates -----------------------------------------------------------

// JDOE (Jane Doe, member of NURSES and of SOUTHERN, a group of a partition MGR does not see).
TEST_F(UserImport, AClearCellEmptiesAnUpdatedFieldAndAnEmptyCellKeepsIt) {
    exec("INSERT System_user_bindery (user_id, user_name, description, flag3, flag2, nbr_bad_attempts, partition_id, "
         "is_shared) VALUES (72, 'SOUTHERN', 'Not seen from North', 1, 0, 0, 2, 0)\n"
         "INSERT INTO System_security_groups VALUES (72, 60, NULL, 0, 0, 0, NULL, NULL, NULL)\n"
         "UPDATE System_user_bindery SET flag4 = 3 WHERE user_id = 60");
    UserImportOptions update;
    update.updateExisting = true;
    const std::string header = "User Name,First Name,Last Name,User Policy,Groups,Password\n";
    auto p = preview(header + "JDOE,<clear>,,<clear>,<clear>,\n", update);
    ASSERT_EQ(outcome(p.rows.at(0)), "exists (will be updated)");
    const clsUser& jdoe = p.rows[0].user;
    EXPECT_EQ(jdoe.m_strFirstName + "|" + jdoe.m_strLastName, "|Doe");
    EXPECT_EQ(jdoe.m_bytUserPolicy, 0);
    EXPECT_FALSE(p.rows[0].changes.passwordChanged);
    EXPECT_EQ(p.rows[0].groupsAfter, std::vector<long>{72});
    const auto summary = RunUserImport(p.rows, {}, Users(), loadedGroups);
    ASSERT_EQ(summary.updated, 1u) << summary.results[0].message;
    EXPECT_EQ(rows("SELECT '[' + first_name + ']', last_name, flag4 FROM System_user_bindery WHERE user_id = 60"),
              std::vector<std::string>{"[]|Doe|0"});
    EXPECT_EQ(rows("SELECT group_id FROM System_security_groups WHERE user_id = 60"), std::vector<std::string>{"72"});
    // Naming the groups replaces those the administrator sees; the others stay.
    EXPECT_EQ(preview(header + "JDOE,,,,NURSES,\n", update).rows.at(0).groupsAfter, (std::vector<long>{72, 70}));

    // Both names cleared, or a password cleared under a policy that wants one: the editor's messages.
    p = preview(header + "JDOE,<clear>,<clear>,,,\nTJONES,,,,,<clear>\n", update);
    EXPECT_EQ(outcome(p.rows.at(0)), "error|The first and last name cannot both be blank.");
    EXPECT_EQ(outcome(p.rows.at(1)),
              "error|Your login password must be at least 3 characters long.  Please enter a different login "
              "password.");
    // Under a policy that allows a blank password, clearing it writes one.
    p = preview(header + "TJONES,,,Open,,<clear>\n", update);
    ASSERT_EQ(outcome(p.rows.at(0)), "exists (will be updated)");
    EXPECT_TRUE(p.rows[0].changes.passwordChanged);
    EXPECT_EQ(p.rows[0].user.m_strPassword, "");
}

} // namespace
