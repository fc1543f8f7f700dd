#include "UserFixture.h"
#include "clsUserPolicies.h"

#include <gtest/gtest.h>

namespace {

using kdtest::UserStoreTest;
using users::clsUserPolicies;
using users::clsUserPolicy;

// Every column of the record, for readable comparisons.
std::string dump(const clsUserPolicy& p) {
    return std::to_string(p.m_bytPolicyId) + "|" + p.m_strPolicyName + "|" +
           std::to_string(p.m_blnPermitBlankPassword) + std::to_string(p.m_blnCaseSensitivePassword) + "|" +
           std::to_string(p.m_intMinimumPasswordLength) + "|" + std::to_string(p.m_blnRequireAlphaNumeric) +
           std::to_string(p.m_blnAllowPasswordChange) + "|" + std::to_string(p.m_intPasswordExpirationDays) + "|" +
           std::to_string(p.m_lngInactivityTimeout) + "|" + std::to_string(p.m_blnIntruderDetectionEnabled) + "|" +
           std::to_string(p.m_intMaximumLoginAttempts) + "|" + std::to_string(p.m_lngLockoutDuration) + "|" +
           std::to_string(p.m_lngFlag2) + "|" + std::to_string(p.m_lngFlag3) + "|" + p.m_strString1 + "|" +
           p.m_strString2 + "|" + std::to_string(p.m_intSignaturePasswordMode) + "|" +
           std::to_string(p.m_intSignaturePasswordExpirationDays) + "|" + std::to_string(p.m_lngFlag4) + "|" +
           std::to_string(p.m_lngFlag5) + "|" + std::to_string(p.m_lngFlag6) + "|" + std::to_string(p.m_lngFlag7);
}

class UserPolicies : public UserStoreTest {
protected:
    // One row of System_user_policies, every column as text ("NULL" for NULL), in table order.
    std::string row(long id) {
        const auto r = exec("SELECT policy_id, policy_name, permit_blank_password, case_sensitive_password, "
                            "minimum_password_length, require_alpha_numeric, allow_password_change, "
                            "password_expiration_days, system_unique_password, keep_password_history, "
                            "password_history_length, inactivity_timeout, intruder_detection_enabled, "
                            "maximum_login_attempts, lockout_duration, last_user, flag1, flag2, flag3, string1, "
                            "string2, date1, signature_password_expiration_days, signature_password_mode, flag4, "
                            "flag5, flag6, flag7 FROM System_user_policies WHERE policy_id = " +
                            std::to_string(id));
        const auto lines = r.lines();
        return lines.empty() ? std::string() : lines.front();
    }

    static clsUserPolicy everySetting() {
        clsUserPolicy p;
        p.m_strPolicyName = "Nurses' O'Brien";
        p.m_blnPermitBlankPassword = false;
        p.m_blnCaseSensitivePassword = true;
        p.m_intMinimumPasswordLength = 7;
        p.m_blnRequireAlphaNumeric = true;
        p.m_blnAllowPasswordChange = true;
        p.m_intPasswordExpirationDays = 45;
        p.m_blnIntruderDetectionEnabled = true;
        p.m_intMaximumLoginAttempts = 4;
        p.m_lngLockoutDuration = 3600; // 24 hours
        p.m_lngFlag2 = clsUserPolicy::Windows;
        p.m_lngFlag3 = clsUserPolicy::GenerateFlag3Value(true, true);
        p.m_strString1 = "CORP'S \xc3\xa9t\xc3\xa9";
        p.m_strString2 = "ldap1?ldap2?cn=a?6B1F?dc=x?389?False?-1?-1?10?";
        p.m_intSignaturePasswordMode = 2;
        p.m_intSignaturePasswordExpirationDays = 120;
        p.m_lngFlag4 = 5;
        p.m_lngFlag5 = 1;
        p.m_lngFlag6 = 9;
        p.m_lngFlag7 = 10;
        return p;
    }
};

TEST(UserPolicyRecord, ANewPolicyStartsWithTheDocumentedDefaults) {
    const clsUserPolicy p;
    EXPECT_EQ(p.m_bytPolicyId, 0);
    EXPECT_EQ(p.m_strPolicyName, "None");
    EXPECT_TRUE(p.m_blnPermitBlankPassword);
    EXPECT_TRUE(p.m_blnCaseSensitivePassword);
    EXPECT_EQ(p.m_intMinimumPasswordLength, 3);
    EXPECT_FALSE(p.m_blnRequireAlphaNumeric);
    EXPECT_TRUE(p.m_blnAllowPasswordChange);
    EXPECT_EQ(p.m_intPasswordExpirationDays, 0);
    EXPECT_EQ(p.m_lngFlag3, 0);
}

TEST(UserPolicyRecord, Flag3BitsBothWays) {
    struct Case {
        bool upperLower, symbols;
        long flag3;
    };
    for (const Case c : {Case{false, false, 0}, Case{false, true, 1}, Case{true, false, 2}, Case{true, true, 3}}) {
        EXPECT_EQ(clsUserPolicy::GenerateFlag3Value(c.upperLower, c.symbols), c.flag3);
        clsUserPolicy p;
        p.m_lngFlag3 = c.flag3;
        EXPECT_EQ(p.RequireUpperAndLowerCase(), c.upperLower) << c.flag3;
        EXPECT_EQ(p.RequireSymbolChars(), c.symbols) << c.flag3;
    }
}

TEST(UserPolicyRecord, PasswordChecksUseThePolicysColumns) {
    clsUserPolicy p;
    std::string message;
    // Blank passwords permitted: the letter-and-digit and symbol rules are skipped.
    p.m_blnRequireAlphaNumeric = true;
    p.m_lngFlag3 = 1;
    EXPECT_TRUE(p.IsPasswordOk("", "x", "x", false, 0, message)) << message;
    p.m_blnPermitBlankPassword = false;
    EXPECT_FALSE(p.IsPasswordOk("", "x", "x", false, 0, message));
    EXPECT_EQ(message,
              "Your login password must be at least 3 characters long.  Please enter a different login password.");
    p.m_lngFlag4 = 6;
    p.m_lngFlag5 = 1;
    EXPECT_FALSE(p.IsSignaturePasswordOk("", "abcdef", "abcdef", false, message));
    EXPECT_EQ(message, "Your new signature password must have at least one letter (A-Z) and one number (0-9).  "
                       "Please enter a different signature password.");
}

TEST_F(UserPolicies, LoadAllReadsEveryPolicyByName) {
    exec("INSERT System_user_policies (policy_id, policy_name, permit_blank_password, case_sensitive_password, "
         "minimum_password_length, require_alpha_numeric, flag3, signature_password_mode, "
         "signature_password_expiration_days, flag4, flag5, flag6, flag7) VALUES (4, 'Alpha', 1, 1, 8, 1, 3, 1, 30, "
         "6, 1, 2, 5)");
    clsUserPolicies all;
    ASSERT_TRUE(all.LoadAll());
    EXPECT_EQ(session().history.back(),
              "SELECT policy_id, policy_name, permit_blank_password, case_sensitive_password, "
              "minimum_password_length, require_alpha_numeric, flag3, signature_password_mode, "
              "signature_password_expiration_days, flag4, flag5, flag6, flag7 FROM System_user_policies ORDER BY "
              "policy_name");
    ASSERT_EQ(all.Count(), 2u);
    EXPECT_EQ(all.begin()->m_strPolicyName, "Alpha");
    const clsUserPolicy* a = all.Item("4P");
    ASSERT_NE(a, nullptr);
    EXPECT_TRUE(a->m_blnPermitBlankPassword);
    EXPECT_EQ(a->m_intMinimumPasswordLength, 8);
    EXPECT_TRUE(a->RequireSymbolChars());
    EXPECT_EQ(a->m_intSignaturePasswordMode, 1);
    EXPECT_EQ(a->m_intSignaturePasswordExpirationDays, 30);
    EXPECT_EQ(a->m_lngFlag4, 6);
    EXPECT_EQ(a->m_lngFlag6, 2);
    EXPECT_EQ(a->m_lngFlag7, 5);
    ASSERT_NE(all.Item("0P"), nullptr);
    EXPECT_EQ(all.Item("0P")->m_strPolicyName, "Default Policy");
}

TEST_F(UserPolicies, InsertTakesTheNextIdWritesTheInsertOnlyColumnsAndLogs) {
    exec("INSERT System_user_policies (policy_id, policy_name) VALUES (6, 'Six')");
    clsUserPolicies all;
    clsUserPolicy p = everySetting();
    ASSERT_TRUE(all.InsertPolicy(p));
    EXPECT_EQ(p.m_bytPolicyId, 7);
    EXPECT_EQ(session().history.front(), "SELECT MAX(policy_id) + 1 FROM System_user_policies");
    EXPECT_EQ(row(7), "7|Nurses' O'Brien|0|1|7|1|1|45|0|0|3|0|1|4|3600|50|0|1|3|CORP'S \xc3\xa9t\xc3\xa9|"
                      "ldap1?ldap2?cn=a?6B1F?dc=x?389?False?-1?-1?10?|NULL|120|2|5|1|9|10");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_user_policies WHERE policy_id = 7 AND last_datetime IS NOT NULL"),
              "1");
    ASSERT_NE(all.Item("7P"), nullptr);
    EXPECT_EQ(logRows(), std::vector<std::string>{"20014|2|2|50|1|User policy Nurses' O'Brien has been added by MGR."});
    EXPECT_TRUE(recorder.shown.empty());
}

TEST_F(UserPolicies, UpdateWritesEveryEditableColumnAndReadsBackEqual) {
    exec("INSERT System_user_policies (policy_id, policy_name, inactivity_timeout, system_unique_password, "
         "password_history_length) VALUES (3, 'Three', 15, 1, 9)");
    clsUserPolicies all;
    ASSERT_TRUE(all.LoadAll());               // the names come from the list; the full read adds the other columns
    for (long lockout : {7200L, 0L, 3600L}) { // 48 hours, until reset, 24 hours: stored as they are
        clsUserPolicy p = everySetting();
        p.m_bytPolicyId = 3;
        p.m_lngLockoutDuration = lockout;
        session().history.clear();
        ASSERT_TRUE(all.UpdatePolicy(p));
        EXPECT_EQ(session().history.front().rfind("UPDATE System_user_policies SET policy_name = 'Nurses'' O''Brien', "
                                                  "permit_blank_password = 0, ",
                                                  0),
                  0u);
        const clsUserPolicy* read = all.LoadPolicy(3);
        ASSERT_NE(read, nullptr);
        clsUserPolicy expected = p;
        expected.m_lngInactivityTimeout = 0; // every save writes 0
        EXPECT_EQ(dump(*read), dump(expected)) << lockout;
    }
    // The insert-only columns keep what they had.
    EXPECT_EQ(scalar("SELECT CONVERT(varchar(10), system_unique_password) + '/' + CONVERT(varchar(10), "
                     "password_history_length) FROM System_user_policies WHERE policy_id = 3"),
              "1/9");
    EXPECT_EQ(logRows().back(), "20015|2|2|50|1|User policy Nurses' O'Brien has been updated by MGR.");
}

TEST_F(UserPolicies, AMissingPolicyCannotBeRetrieved) {
    clsUserPolicies all;
    EXPECT_EQ(all.LoadPolicy(99), nullptr);
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, "Error.  Could not retrieve configuration.");
    EXPECT_EQ(recorder.shown[0].title, "Retrieve Error");
    EXPECT_EQ(all.Count(), 0u);
}

TEST_F(UserPolicies, NoIdLeftAfter255) {
    exec("INSERT System_user_policies (policy_id, policy_name) VALUES (255, 'Last')");
    clsUserPolicies all;
    clsUserPolicy p;
    EXPECT_FALSE(all.InsertPolicy(p));
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, "Unable to insert the new user policy.  Save failed.");
    EXPECT_EQ(recorder.shown[0].title, "Save Error");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_user_policies"), "2");
}

TEST_F(UserPolicies, FirstUserOfAPolicyAndTheRowCountPutBack) {
    addUserRow(60, "ZED", "'Z', 'Z', 'Z1', 1, 0, 0, 0, 0, 0, 0, 5, NULL, 0, 1, 0, 0");
    addUserRow(61, "AMY", "'A', 'A', 'A1', 1, 0, 0, 0, 0, 0, 0, 5, NULL, 0, 1, 0, 0");
    EXPECT_FALSE(clsUserPolicies::FirstUserOfPolicy(5).empty());
    EXPECT_EQ(clsUserPolicies::FirstUserOfPolicy(4), "");
    const auto& h = session().history;
    ASSERT_GE(h.size(), 3u);
    EXPECT_EQ(h[0], "SET ROWCOUNT 1");
    EXPECT_EQ(h[1], "SELECT user_name FROM System_user_bindery WHERE flag4 = 5");
    EXPECT_EQ(h[2], "SET ROWCOUNT 0");
    // The session's connection returns whole result sets again.
    auto& s = session();
    s.SQLStatement = "SELECT user_name FROM System_user_bindery WHERE flag4 = 5";
    ASSERT_EQ(s.ExecSQL(), 1);
    int rows = 0;
    while (s.FetchRow() == 1)
        ++rows;
    s.CloseStatement();
    EXPECT_EQ(rows, 2);
}

TEST_F(UserPolicies, DeleteRemovesTheRowAndTheEntry) {
    exec("INSERT System_user_policies (policy_id, policy_name) VALUES (2, 'Two')");
    clsUserPolicies all;
    ASSERT_TRUE(all.LoadAll());
    ASSERT_TRUE(all.DeletePolicy(2));
    EXPECT_EQ(session().history.back(), "DELETE FROM System_user_policies WHERE policy_id = 2");
    EXPECT_EQ(all.Item("2P"), nullptr);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_user_policies"), "1");
}

} // namespace
