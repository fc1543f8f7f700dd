#include "UserEditRules.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace {

using users::UserEditForm;
using users::UserTab;

// An existing user whose entries pass every check: both password boxes untouched.
UserEditForm validForm() {
    UserEditForm f;
    f.isNew = false;
    f.userName = "JSMITH";
    f.firstName = "John";
    f.lastName = "Smith";
    f.password = f.confirmPassword = users::kPasswordPlaceholder;
    f.signaturePassword = f.confirmSignaturePassword = users::kPasswordPlaceholder;
    f.partitionId = 1;
    f.storedPartitionId = 1;
    f.storedUserName = "JSMITH";
    f.storedPassword = "stored1";
    f.storedSignaturePassword = "sign1";
    return f;
}

users::clsUserPolicy strictPolicy() {
    users::clsUserPolicy p;
    p.m_bytPolicyId = 4;
    p.m_strPolicyName = "Strict";
    p.m_blnPermitBlankPassword = false;
    p.m_intMinimumPasswordLength = 6;
    p.m_lngFlag4 = 5;
    return p;
}

struct Case {
    const char* what;
    void (*change)(UserEditForm&, users::UserEditContext&);
    int rule;
    const char* message; // "" for a question answered No
    const char* control;
    UserTab tab;
};
std::ostream& operator<<(std::ostream& os, const Case& c) {
    return os << c.what;
}

const users::clsUserPolicy kStrict = strictPolicy();

const Case kCases[] = {
    {"blank user name", [](auto& f, auto&) { f.userName = ""; }, 1, "User Name cannot be blank.", "txtUserName",
     UserTab::General},
    {"both names blank", [](auto& f, auto&) { f.firstName = "", f.lastName = "   "; }, 2,
     "The first and last name cannot both be blank.", "txtFirstName", UserTab::General},
    {"password confirmation differs", [](auto& f, auto&) { f.password = "abc123", f.confirmPassword = "abc124"; }, 3,
     "Veltra Password and Confirm Veltra Password fields do not match", "txtPassword", UserTab::General},
    {"signature confirmation differs",
     [](auto& f, auto&) { f.signaturePassword = "sig123", f.confirmSignaturePassword = "sig124"; }, 4,
     "Signature Password and Confirm Signature Password fields do not match!", "txtSignaturePassword",
     UserTab::Security},
    {"both typed and equal",
     [](auto& f, auto&) { f.password = f.confirmPassword = f.signaturePassword = f.confirmSignaturePassword = "x1y2"; },
     5, "Signature Password and Veltra Password fields must be different!", "txtSignaturePassword", UserTab::Security},
    {"signature typed equal to the stored logon password",
     [](auto& f, auto&) { f.signaturePassword = f.confirmSignaturePassword = "stored1"; }, 5,
     "Signature Password and Veltra Password fields must be different!", "txtSignaturePassword", UserTab::Security},
    {"logon typed equal to the stored signature password",
     [](auto& f, auto&) { f.password = f.confirmPassword = "sign1"; }, 5,
     "Signature Password and Veltra Password fields must be different!", "txtSignaturePassword", UserTab::Security},
    {"inner space", [](auto& f, auto&) { f.userName = "J SMITH"; }, 6, "User name cannot contain any spaces",
     "txtUserName", UserTab::General},
    {"trailing space", [](auto& f, auto&) { f.userName = "JSMITH "; }, 6, "User name cannot contain any spaces",
     "txtUserName", UserTab::General},
    {"backslash", [](auto& f, auto&) { f.userName = "J\\SMITH"; }, 6, "User name cannot contain backslash characters",
     "txtUserName", UserTab::General},
    {"slash", [](auto& f, auto&) { f.userName = "J/SMITH"; }, 6, "User name cannot contain forward slash characters",
     "txtUserName", UserTab::General},
    {"single quote", [](auto& f, auto&) { f.userName = "O'BRIEN"; }, 6,
     "User name cannot contain any single quote characters", "txtUserName", UserTab::General},
    {"no partition", [](auto& f, auto&) { f.partitionId.reset(); }, 7, "Partition cannot be blank", "cboPartition",
     UserTab::Security},
    {"voice-to-text without a script", [](auto& f, auto&) { f.voiceToText = true; }, 8,
     "Report creation prompt script is not set.  User settings cannot be saved.", "cmbPromptScript", UserTab::UserInfo},
    {"technician password change declined",
     [](auto& f, auto&) {
         f.userName = f.storedUserName = "VTTECH";
         f.password = f.confirmPassword = "new123";
     },
     9, "", "txtPassword", UserTab::General},
    {"technician rename declined", [](auto& f, auto&) { f.storedUserName = "vtsupport", f.userName = "VTHELP"; }, 9, "",
     "txtUserName", UserTab::General},
    {"policy minimum length",
     [](auto& f, auto&) {
         f.policy = &kStrict;
         f.password = f.confirmPassword = "abc";
     },
     10, "Your login password must be at least 6 characters long.  Please enter a different login password.",
     "txtPassword", UserTab::General},
    {"password the store cannot hold", [](auto& f, auto&) { f.password = f.confirmPassword = std::string(21, 'a'); },
     10, users::kPasswordTooLong, "txtPassword", UserTab::General},
    {"signature policy minimum length",
     [](auto& f, auto&) {
         f.policy = &kStrict;
         f.signaturePassword = f.confirmSignaturePassword = "ab1";
     },
     11, "Your signature password must be at least 5 characters long.  Please enter a different signature password.",
     "txtSignaturePassword", UserTab::Security},
    {"transcriptionist id differs",
     [](auto& f, auto&) {
         f.transcriptionist = true;
         f.existingTransId = "JSMITH";
         f.userName = "JSMYTHE";
     },
     12,
     "The first 8 characters of the user name must match the existing Transcriptionist ID.\nPlease change the user "
     "name.",
     "txtUserName", UserTab::General},
    {"document creation id differs",
     [](auto& f, auto&) {
         f.voiceToText = true;
         f.promptScript = "PROMPT.KDS";
         f.existingTransId = "DRJONES1";
         f.userName = "DRJONES2";
     },
     12,
     "The first 8 characters of the user name must match the existing Document Creation ID.\nPlease change the user "
     "name.",
     "txtUserName", UserTab::General},
    {"general user not allowed",
     [](auto&, auto& c) {
         c.actingSystemAdministrator = false;
         c.allowGeneralUsers = false;
     },
     13, "The user must be configured as either a Transcriptionist or Physician User.", "chkTranscriptionist",
     UserTab::General},
    {"partition change declined", [](auto& f, auto&) { f.partitionId = 3; }, 14, "", "cboPartition", UserTab::Security},
};

class EditorRuleOrder : public testing::TestWithParam<Case> {};

TEST_P(EditorRuleOrder, AFormBreakingOnlyOneRuleGetsExactlyItsMessageAndField) {
    const Case& c = GetParam();
    UserEditForm form = validForm();
    users::UserEditContext context{true, true};
    c.change(form, context);
    std::vector<std::string> asked;
    users::UserEditPrompts prompts;
    prompts.ask = [&asked](const std::string& text, const std::string& title) {
        asked.push_back(title + ": " + text);
        return false;
    };
    const auto failure = users::CheckUserEdit(form, context, prompts);
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->rule, c.rule);
    EXPECT_EQ(failure->message, c.message);
    EXPECT_EQ(failure->control, c.control);
    EXPECT_EQ(failure->tab, c.tab);
    // Only the declined question rules ask anything.
    EXPECT_EQ(asked.size(), std::string(c.message).empty() ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Rules, EditorRuleOrder, testing::ValuesIn(kCases));

TEST(EditorRules, TheValidFormPassesWithoutAQuestion) {
    UserEditForm form = validForm();
    users::UserEditPrompts prompts;
    prompts.ask = [](const std::string&, const std::string&) -> bool {
        ADD_FAILURE() << "no question expected";
        return false;
    };
    EXPECT_FALSE(users::CheckUserEdit(form, {true, true}, prompts).has_value());
}

TEST(EditorRules, EarlierRulesWinWhenSeveralAreBroken) {
    UserEditForm form = validForm();
    form.userName = "J SMITH";                       // rule 6
    form.partitionId.reset();                        // rule 7
    form.password = "a", form.confirmPassword = "b"; // rule 3
    const auto failure = users::CheckUserEdit(form, {true, true}, {});
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->rule, 3);
}

TEST(EditorRules, ThePlaceholderInBothBoxesSkipsThePolicyCheck) {
    UserEditForm form = validForm();
    form.policy = &kStrict; // the stored "stored1" would pass anyway; an unchanged one is never checked
    form.storedPassword = "a";
    EXPECT_FALSE(users::CheckUserEdit(form, {true, true}, {}).has_value());
}

TEST(EditorRules, AMustChangeSignatureSkipsItsConfirmationAndPolicy) {
    UserEditForm form = validForm();
    form.policy = &kStrict;
    form.mustChangeSignaturePassword = true;
    form.signaturePassword = "x";
    form.confirmSignaturePassword = "y";
    EXPECT_FALSE(users::CheckUserEdit(form, {true, true}, {}).has_value());
}

TEST(EditorRules, AnOverLongScriptIsRenamedUntilItFits) {
    UserEditForm form = validForm();
    form.voiceToText = true;
    form.promptScript = std::string(41, 'S') + ".KDS";
    std::vector<std::string> texts;
    users::UserEditPrompts prompts;
    prompts.rename = [&texts](const std::string& text, const std::string&) -> std::optional<std::string> {
        texts.push_back(text);
        if (texts.size() == 1)
            return std::string(45, 'T'); // still too long
        return std::string("SHORT.KDS");
    };
    EXPECT_FALSE(users::CheckUserEdit(form, {true, true}, prompts).has_value());
    EXPECT_EQ(form.promptScript, "SHORT.KDS");
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_NE(texts[0].find("is too long.  The maximum number of characters allowed for a script name is 40."),
              std::string::npos);
    EXPECT_NE(texts[1].find("is still too long."), std::string::npos);
}

TEST(EditorRules, ScriptNameLimitCountsCharactersNotBytes) {
    UserEditForm form = validForm();
    form.voiceToText = true;
    std::string name;
    for (int i = 0; i < 36; ++i)
        name += "\xe2\x82\xac";        // 3-byte euro sign
    form.promptScript = name + ".KDS"; // 40 characters, 112 bytes
    users::UserEditPrompts prompts;
    prompts.rename = [](const std::string&, const std::string&) -> std::optional<std::string> {
        ADD_FAILURE() << "a 40-character name needs no rename";
        return std::nullopt;
    };
    EXPECT_FALSE(users::CheckUserEdit(form, {true, true}, prompts).has_value());
}

TEST(EditorRules, TransIdComparisonTakesTheFirstEightCharacters) {
    UserEditForm form = validForm();
    form.transcriptionist = true;
    form.existingTransId = "\xc3\x89MILEDUP"; // "ÉMILEDUP": 8 characters, 9 bytes
    form.userName = "\xc3\x89MILEDUPONT";
    EXPECT_FALSE(users::CheckUserEdit(form, {true, true}, {}).has_value());
}

TEST(EditorRules, ThePartitionChangeQuestionListsTheEffectsOfTheUserKind) {
    EXPECT_EQ(users::PartitionChangeEffects(true, false),
              "Changing the user's partition will have the following effects:\n- The user's privileges will be "
              "reset.\n- The physician profile's partition will be changed to match the user's partition.\n- All "
              "physician relationships for the physician profile will be removed.\nDo you wish to continue?");
    EXPECT_EQ(users::PartitionChangeEffects(false, true),
              "Changing the user's partition will have the following effects:\n- The user's privileges will be "
              "reset.\n- The user's default work pool assignment will be reset.\nDo you wish to continue?");
}

} // namespace
