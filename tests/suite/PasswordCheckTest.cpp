#include "PasswordPolicy.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

using suite::PasswordPolicy;

const std::string kMismatch = "New Password and Confirm Password fields do not match.  Please re-enter.";
const std::string kAdminBlank = "The Administrator user cannot have a blank login password.";
const std::string kAdminShort = "The Administrator's login password must be at least 3 characters.";
const std::string kSpace = "The login password cannot contain any spaces.  Please enter a different login password.";
const std::string kSameAsOld =
    "Your new login password matches your existing login password.  Please enter a different login password.";
std::string tooShort(int n) {
    return "Your login password must be at least " + std::to_string(n) +
           " characters long.  Please enter a different login password.";
}
const std::string kAlphaNum = "Your new login password must have at least one letter (A-Z) and one number (0-9).  "
                              "Please enter a different login password.";
const std::string kSymbol =
    "Your new login password must have at least one symbol character.  Please enter a different login password.";
const std::string kUpperLower = "Your new login password must have at least one upper case letter and one lower case "
                                "letter.  Please enter a different login password.";

PasswordPolicy policy(bool permitBlank, bool caseSensitive, int minLength, bool alphaNum, int flag3) {
    PasswordPolicy p;
    p.permitBlankPassword = permitBlank;
    p.caseSensitive = caseSensitive;
    p.minimumLength = minLength;
    p.requireAlphaNumeric = alphaNum;
    p.flag3 = flag3;
    return p;
}

struct LogonCase {
    const char* what;
    PasswordPolicy policy;
    std::string oldPw, newPw, confirm;
    bool checkOld;
    long adminRule;
    std::string expected; // "" accepted
};
// Failures name the case instead of dumping its bytes.
void PrintTo(const LogonCase& c, std::ostream* os) {
    *os << c.what;
}

class LogonPasswordCheck : public ::testing::TestWithParam<LogonCase> {};

TEST_P(LogonPasswordCheck, FirstFailingRuleGivesItsMessage) {
    const auto& c = GetParam();
    std::string message = "left over";
    const bool ok = c.policy.IsPasswordOk(c.oldPw, c.newPw, c.confirm, c.checkOld, c.adminRule, message);
    EXPECT_EQ(message, c.expected) << c.what;
    EXPECT_EQ(ok, c.expected.empty()) << c.what;
}

const PasswordPolicy kStrict = policy(false, true, 8, true, 3);   // every rule on
const PasswordPolicy kLoose = policy(true, false, 8, true, 3);    // blank passwords permitted
const PasswordPolicy kNoCase = policy(false, false, 3, false, 2); // upper/lower asked, not case sensitive
const PasswordPolicy kSixAlnum = policy(false, false, 6, true, 0);
const PasswordPolicy kSymbolOnly = policy(false, false, 3, false, 1);

INSTANTIATE_TEST_SUITE_P(
    Rules, LogonPasswordCheck,
    ::testing::Values(
        // 1: confirmation first, before everything else (even the administrator rule)
        LogonCase{"mismatch", kStrict, "", "", "x", false, 1, kMismatch},
        LogonCase{"mismatch by case only", kLoose, "", "Abc1!", "abc1!", false, 0, kMismatch},
        // 2, 3: the administrator rule whatever the policy, only for number 1
        LogonCase{"admin blank", kLoose, "", "", "", false, 1, kAdminBlank},
        LogonCase{"admin one char", kLoose, "", "a", "a", false, 1, kAdminShort},
        LogonCase{"admin two chars", kLoose, "", "ab", "ab", false, 1, kAdminShort},
        LogonCase{"admin three chars", kLoose, "", "abc", "abc", false, 1, ""},
        LogonCase{"admin two non-ASCII chars", kLoose, "", "\xc3\xa9\xc3\xa9", "\xc3\xa9\xc3\xa9", false, 1,
                  kAdminShort},
        LogonCase{"rule number 2 is not the admin rule", kLoose, "", "", "", false, 2, ""},
        LogonCase{"rule number 0 is not the admin rule", kLoose, "", "a", "a", false, 0, ""},
        // 4: spaces, before the comparison with the old password
        LogonCase{"space", kLoose, "a b", "a b", "a b", true, 0, kSpace},
        LogonCase{"admin short wins over space", kLoose, "", "a ", "a ", false, 1, kAdminShort},
        // 5: the old password, by the policy's case rule, only when asked
        LogonCase{"same as old", kStrict, "Abcdefg1!", "Abcdefg1!", "Abcdefg1!", true, 0, kSameAsOld},
        LogonCase{"old differs in case, case sensitive", kStrict, "ABCDEFG1!", "Abcdefg1!", "Abcdefg1!", true, 0, ""},
        LogonCase{"old differs in case, not case sensitive", kNoCase, "SECRET", "secret", "secret", true, 0,
                  kSameAsOld},
        LogonCase{"non-ASCII old differs in case only", kNoCase, "\xc3\x89T\xc3\x89", "\xc3\xa9t\xc3\xa9",
                  "\xc3\xa9t\xc3\xa9", true, 0, kSameAsOld},
        LogonCase{"same as old but not asked", kNoCase, "secret", "secret", "secret", false, 0, ""},
        LogonCase{"same as old wins over length", kStrict, "a", "a", "a", true, 0, kSameAsOld},
        // 6: minimum length in characters
        LogonCase{"one short", kSixAlnum, "", "abc12", "abc12", false, 0, tooShort(6)},
        LogonCase{"exact length", kSixAlnum, "", "abcd12", "abcd12", false, 0, ""},
        LogonCase{"non-ASCII counted as characters", kSixAlnum, "", "\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9z1",
                  "\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9z1", false, 0, ""},
        LogonCase{"non-ASCII too short", kSixAlnum, "", "\xc3\xa9\xc3\xa9z1", "\xc3\xa9\xc3\xa9z1", false, 0,
                  tooShort(6)},
        LogonCase{"length before composition", kStrict, "", "abc", "abc", false, 0, tooShort(8)},
        // 7: a letter A-Z and a digit, in either order
        LogonCase{"letters only", kSixAlnum, "", "abcdef", "abcdef", false, 0, kAlphaNum},
        LogonCase{"digits only", kSixAlnum, "", "123456", "123456", false, 0, kAlphaNum},
        LogonCase{"digit then letter", kSixAlnum, "", "12345x", "12345x", false, 0, ""},
        LogonCase{"accented letter is not A-Z", kSixAlnum, "",
                  "\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9"
                  "1",
                  "\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9"
                  "1",
                  false, 0, kAlphaNum},
        LogonCase{"symbols only", kSixAlnum, "", "!!!!!!", "!!!!!!", false, 0, kAlphaNum},
        LogonCase{"composition before symbol", kStrict, "", "Abcdefgh!", "Abcdefgh!", false, 0, kAlphaNum},
        // 8: one of the symbol characters
        LogonCase{"no symbol", kStrict, "", "Abcdefg1", "Abcdefg1", false, 0, kSymbol},
        LogonCase{"symbol not in the set", kSymbolOnly, "", "abc@", "abc@", false, 0, kSymbol},
        LogonCase{"each symbol counts ($)", kSymbolOnly, "", "abc$", "abc$", false, 0, ""},
        LogonCase{"each symbol counts (|)", kSymbolOnly, "", "abc|", "abc|", false, 0, ""},
        LogonCase{"each symbol counts (()", kSymbolOnly, "", "abc(", "abc(", false, 0, ""},
        LogonCase{"symbol before upper/lower", kStrict, "", "abcdefg1", "abcdefg1", false, 0, kSymbol},
        // 9: upper and lower case, only for a case-sensitive policy
        LogonCase{"no upper case", kStrict, "", "abcdefg1!", "abcdefg1!", false, 0, kUpperLower},
        LogonCase{"no lower case", kStrict, "", "ABCDEFG1!", "ABCDEFG1!", false, 0, kUpperLower},
        LogonCase{"non-ASCII upper counts", kStrict, "",
                  "\xc3\x89"
                  "bcdefg1!",
                  "\xc3\x89"
                  "bcdefg1!",
                  false, 0, ""},
        LogonCase{"not case sensitive ignores the rule", kNoCase, "", "abc", "abc", false, 0, ""},
        LogonCase{"all rules met", kStrict, "Old-pass1", "Abcdefg1!", "Abcdefg1!", true, 0, ""},
        // blank passwords permitted: length, letter-and-digit and symbol rules skipped, upper/lower kept
        LogonCase{"blank permitted, empty", kLoose, "", "", "", false, 0, ""},
        LogonCase{"blank permitted, one char", policy(true, false, 8, true, 1), "", "x", "x", false, 0, ""},
        LogonCase{"blank permitted keeps upper/lower", policy(true, true, 8, true, 3), "", "x", "x", false, 0,
                  kUpperLower}),
    [](const auto& info) { return std::to_string(info.index); });

TEST(LogonPasswordCheck, TenThousandCharacterPaste) {
    const PasswordPolicy p = policy(false, true, 8, true, 3);
    const std::string pasted = std::string(9997, 'a') + "B1!";
    std::string message;
    EXPECT_TRUE(p.IsPasswordOk("", pasted, pasted, true, 1, message)) << message;
    const std::string spaced = std::string(5000, 'a') + " " + std::string(4999, 'b');
    EXPECT_FALSE(p.IsPasswordOk("", spaced, spaced, false, 0, message));
    EXPECT_EQ(message, kSpace);
}

TEST(LogonPasswordCheck, MalformedUtf8NeverBreaksTheCheck) {
    const PasswordPolicy p = policy(false, true, 3, true, 3);
    const std::string bad = "\xff\xc3G7!a\xe2\x82"; // stray bytes and a cut sequence
    std::string message;
    EXPECT_TRUE(p.IsPasswordOk("", bad, bad, true, 0, message)) << message;
}

struct SignatureCase {
    const char* what;
    int minLength;
    bool alphaNum;
    std::string oldPw, newPw, confirm;
    bool checkOld;
    std::string expected;
};
// Failures name the case instead of dumping its bytes.
void PrintTo(const SignatureCase& c, std::ostream* os) {
    *os << c.what;
}

class SignaturePasswordCheck : public ::testing::TestWithParam<SignatureCase> {};

TEST_P(SignaturePasswordCheck, FirstFailingRuleGivesItsMessage) {
    const auto& c = GetParam();
    PasswordPolicy p;
    p.caseSensitive = true; // the signature password's old-password rule ignores case regardless
    p.signatureMinimumLength = c.minLength;
    p.signatureRequireAlphaNumeric = c.alphaNum;
    std::string message = "left over";
    const bool ok = p.IsSignaturePasswordOk(c.oldPw, c.newPw, c.confirm, c.checkOld, message);
    EXPECT_EQ(message, c.expected) << c.what;
    EXPECT_EQ(ok, c.expected.empty()) << c.what;
}

const std::string kSigSame = "Your new signature password matches your existing signature password.  Please enter a "
                             "different signature password.";
std::string sigShort(int n) {
    return "Your signature password must be at least " + std::to_string(n) +
           " characters long.  Please enter a different signature password.";
}
const std::string kSigAlphaNum = "Your new signature password must have at least one letter (A-Z) and one number "
                                 "(0-9).  Please enter a different signature password.";

INSTANTIATE_TEST_SUITE_P(
    Rules, SignaturePasswordCheck,
    ::testing::Values(SignatureCase{"mismatch", 3, true, "", "ab", "abc", true, kMismatch},
                      SignatureCase{"same as old ignoring case", 3, true, "SIGN1", "sign1", "sign1", true, kSigSame},
                      SignatureCase{"same as old, not asked", 3, false, "sign", "sign", "sign", false, ""},
                      SignatureCase{"same as old before length", 8, true, "ab", "AB", "AB", true, kSigSame},
                      SignatureCase{"too short", 5, false, "", "abcd", "abcd", false, sigShort(5)},
                      SignatureCase{"exact length", 5, false, "", "abcde", "abcde", false, ""},
                      SignatureCase{"no digit", 3, true, "", "abcd", "abcd", false, kSigAlphaNum},
                      SignatureCase{"length before composition", 5, true, "", "abc", "abc", false, sigShort(5)},
                      SignatureCase{"letter and digit", 3, true, "", "9abc", "9abc", false, ""}),
    [](const auto& info) { return std::to_string(info.index); });

} // namespace
