#include "PasswordCipher.h"
#include "TestSiteKey.h"
#include "clsLdapSettings.h"
#include "clsUserPolicy.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>

namespace {

using users::clsLdapSettings;

clsLdapSettings full() {
    clsLdapSettings s;
    s.server("ldap1.example.org");
    s.BackupServer("10.0.0.2");
    s.BindDN("cn=Admin,dc=example,dc=org");
    s.BindDNPass("s3cret!");
    s.SearchBase("ou=People,dc=example,dc=org");
    s.Port("636");
    s.UseSSL(true);
    s.Scope(2);
    s.AuthType(128);
    s.Timeout(30);
    return s;
}

TEST(LdapSettings, ANewObjectAsText) {
    const clsLdapSettings s;
    EXPECT_EQ(s.toString(), "?????389?False?-1?-1?10?");
}

TEST(LdapSettings, TheTextHoldsTheFieldsInOrderAndThePasswordSealedUnderTheSiteKey) {
    const clsLdapSettings s = full();
    const std::string text = s.toString();
    const std::string before = "ldap1.example.org?10.0.0.2?cn=Admin,dc=example,dc=org?";
    const std::string after = "?ou=People,dc=example,dc=org?636?True?2?128?30?";
    ASSERT_EQ(text.rfind(before, 0), 0u) << text;
    ASSERT_EQ(text.substr(text.size() - after.size()), after) << text;
    const std::string sealed = text.substr(before.size(), text.size() - before.size() - after.size());
    EXPECT_EQ(sealed[0], 'K');
    EXPECT_EQ(sealed.find_first_not_of("0123456789ABCDEF", 1), std::string::npos) << sealed;
    EXPECT_EQ(sealed.size(), 1 + 2 * (8 + 16 + 7u)); // salt, tag and the 7 bytes of the password
    // Saved twice, the same password is sealed differently.
    EXPECT_NE(s.toString(), text);

    suite::DirectorySettings back;
    suite::DirectorySettings::PasswordForm form{};
    EXPECT_TRUE(back.fromText(text, &form));
    EXPECT_EQ(form, suite::DirectorySettings::PasswordForm::Sealed);
    EXPECT_EQ(back.bindPassword, "s3cret!");
}

// How a stored bind password reads: sealed here, scrambled by an earlier release, sealed at another
// site, or damaged.
TEST(LdapSettings, EachStoredFormOfTheBindPasswordReads) {
    using Form = suite::DirectorySettings::PasswordForm;
    suite::PasswordCipher::Key otherSite{};
    otherSite.fill(0x5a);
    std::string flipped = suite::PasswordCipher::sealText("s3cret!");
    flipped[20] = flipped[20] == '0' ? '1' : '0';
    const struct {
        const char* name;
        std::string field;
        Form form;
        std::string password;
        bool intact;
    } cases[] = {
        {"none", "", Form::None, "", true},
        {"sealed here", suite::PasswordCipher::sealText("p\xc3\xa4ss\xe2\x82\xac"), Form::Sealed,
         "p\xc3\xa4ss\xe2\x82\xac", true},
        {"scrambled before site keys", clsLdapSettings::Scramble("s3cret!"), Form::Scrambled, "s3cret!", true},
        {"sealed at another site", suite::PasswordCipher::sealTextWith(otherSite, "s3cret!"), Form::Unreadable, "",
         false},
        {"a flipped digit", flipped, Form::Unreadable, "", false},
        {"the mark alone", "K", Form::Unreadable, "", false},
        {"odd digits", "ABC", Form::Unreadable, "", false},
    };
    for (const auto& c : cases) {
        suite::DirectorySettings s;
        Form form = Form::None;
        EXPECT_EQ(s.fromText("ldap1?ldap2?cn=x?" + c.field + "?dc=x?389?False?-1?-1?10?", &form), c.intact) << c.name;
        EXPECT_EQ(form, c.form) << c.name;
        EXPECT_EQ(s.bindPassword, c.password) << c.name;
        EXPECT_EQ(s.server, "ldap1") << c.name; // the other fields read whatever the password
        EXPECT_EQ(s.searchBase, "dc=x") << c.name;
    }
}

TEST(LdapSettings, WithoutASiteKeyNoBindPasswordIsWritten) {
    const clsLdapSettings s = full();
    suite::PasswordCipher::UseOldKeyOnly();
    const std::string text = s.toString();
    suite::PasswordCipher::UseSiteKey(testsupport::TestSiteKey());
    EXPECT_EQ(text,
              "ldap1.example.org?10.0.0.2?cn=Admin,dc=example,dc=org??ou=People,dc=example,dc=org?636?True?2?128?30?");
}

TEST(LdapSettings, ScrambleIsKeyedAndReversible) {
    for (const std::string& pw : std::initializer_list<std::string>{
             "", "a", "aaaaaaaaaaaaaaaa", "p\xc3\xa4ss?w%rd", std::string(1000, 'x'), std::string("\x00\x01\xff", 3)}) {
        std::string back;
        ASSERT_TRUE(clsLdapSettings::Unscramble(clsLdapSettings::Scramble(pw), back));
        EXPECT_EQ(back, pw);
    }
    // Repeated letters do not give repeated pairs: the scrambling is not a plain substitution.
    const std::string s = clsLdapSettings::Scramble("aaaaaaaa");
    EXPECT_NE(s.substr(0, 2), s.substr(14, 2));
    std::string plain = "left";
    EXPECT_FALSE(clsLdapSettings::Unscramble("ABC", plain));
    EXPECT_FALSE(clsLdapSettings::Unscramble("ZZ", plain));
    EXPECT_EQ(plain, "");
}

TEST(LdapSettings, RoundTripsWithQuestionMarksPercentAndNonAscii) {
    clsLdapSettings s = full();
    s.server("host?one");
    s.BindDN("cn=M\xc3\xbcller?,o=100%");
    s.BindDNPass("?%3F?");
    s.SearchBase("ou=\xe6\x97\xa5\xe6\x9c\xac,%3F,dc=x");
    s.Port("");
    clsLdapSettings back;
    EXPECT_TRUE(back.CopyStateFromString(s.toString()));
    EXPECT_TRUE(back.IsEqual(s)) << s.toString();
    EXPECT_EQ(back.server(), "host?one");
    EXPECT_EQ(back.SearchBase(), "ou=\xe6\x97\xa5\xe6\x9c\xac,%3F,dc=x");
}

TEST(LdapSettings, IsEqualSeesEveryProperty) {
    const clsLdapSettings base = full();
    const std::function<void(clsLdapSettings&)> changes[] = {
        [](clsLdapSettings& s) { s.server("x"); },     [](clsLdapSettings& s) { s.BackupServer("x"); },
        [](clsLdapSettings& s) { s.BindDN("x"); },     [](clsLdapSettings& s) { s.BindDNPass("x"); },
        [](clsLdapSettings& s) { s.SearchBase("x"); }, [](clsLdapSettings& s) { s.Port("389"); },
        [](clsLdapSettings& s) { s.UseSSL(false); },   [](clsLdapSettings& s) { s.Scope(0); },
        [](clsLdapSettings& s) { s.AuthType(0); },     [](clsLdapSettings& s) { s.Timeout(5); },
    };
    for (size_t i = 0; i < std::size(changes); ++i) {
        auto clone = base.CreateClone();
        ASSERT_TRUE(clone->IsEqual(base));
        changes[i](*clone);
        EXPECT_FALSE(clone->IsEqual(base)) << i;
        clsLdapSettings copy;
        copy.CopyState(*clone);
        EXPECT_TRUE(copy.IsEqual(*clone)) << i;
    }
}

struct DamagedCase {
    const char* what;
    std::string text;
    bool intact;
    std::string server, port;
    bool ssl;
    long scope, authType, timeout;
};
// Failures name the case instead of dumping its bytes.
void PrintTo(const DamagedCase& c, std::ostream* os) {
    *os << c.what;
}

class LdapSettingsDamaged : public ::testing::TestWithParam<DamagedCase> {};

TEST_P(LdapSettingsDamaged, ReadsWhatItCanAndKeepsDefaultsForTheRest) {
    const auto& c = GetParam();
    clsLdapSettings s = full(); // every field is overwritten, by the text or by its default
    EXPECT_EQ(s.CopyStateFromString(c.text), c.intact) << c.what;
    EXPECT_EQ(s.server(), c.server) << c.what;
    EXPECT_EQ(s.Port(), c.port) << c.what;
    EXPECT_EQ(s.UseSSL(), c.ssl) << c.what;
    EXPECT_EQ(s.Scope(), c.scope) << c.what;
    EXPECT_EQ(s.AuthType(), c.authType) << c.what;
    EXPECT_EQ(s.Timeout(), c.timeout) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LdapSettingsDamaged,
    ::testing::Values(
        DamagedCase{"empty: no settings yet", "", true, "", "389", false, -1, -1, 10},
        DamagedCase{"older text without the last fields", "srv?bk?dn??base?390?True?", false, "srv", "390", true, -1,
                    -1, 10},
        DamagedCase{"cut in the middle of a field", "srv?bk?dn??base?390?Tr", false, "srv", "390", false, -1, -1, 10},
        DamagedCase{"not hex as password", "srv?bk?dn?not hex?base?390?False?1?2?3?", false, "srv", "390", false, 1, 2,
                    3},
        DamagedCase{"numbers that are not numbers", "srv?bk?dn??base?390?False?x?1.5?\xd9\xa3?", false, "srv", "390",
                    false, -1, -1, 10},
        DamagedCase{"extra fields", "srv?bk?dn??base?390?False?1?2?3?4?", false, "srv", "390", false, 1, 2, 3},
        DamagedCase{"garbage", "\xff\xfe'; DROP TABLE x --", false, "\xff\xfe'; DROP TABLE x --", "389", false, -1, -1,
                    10},
        DamagedCase{"10 000 separators", std::string(10000, '?'), false, "", "", false, -1, -1, 10}),
    [](const auto& info) { return std::to_string(info.index); });

// The login component reads the policy's string2 with the suite's reader: the console's text is
// exactly what it understands.
TEST(LdapSettings, ThePolicysRulesCarryItsAuthenticationAndDirectorySettings) {
    users::clsUserPolicy policy;
    policy.m_lngFlag2 = users::clsUserPolicy::Ldap;
    const clsLdapSettings s = full();
    policy.m_strString2 = s.toString();
    const suite::PasswordPolicy rules = policy.Rules();
    EXPECT_EQ(rules.authenticationType, suite::PasswordPolicy::kDirectoryAuthentication);
    suite::DirectorySettings read;
    EXPECT_TRUE(read.fromText(rules.directorySettings));
    EXPECT_TRUE(read == s.State());
    EXPECT_EQ(read.bindPassword, "s3cret!");
    EXPECT_EQ(read.timeout, 30);
}

} // namespace
