#include "clsUserPolicies.h"

#include "DatabaseSession.h"
#include "EventLog.h"
#include "LoginComponent.h"
#include "MessageService.h"
#include "modPartition.h"

namespace users {

using foundation::DatabaseSession;
using foundation::EventLog;

namespace {

constexpr int kUserAdministration = 2; // System_log type
constexpr int kInfo = 2;
enum Event : long { PolicyAdded = 20014, PolicyUpdated = 20015 };

DatabaseSession& session() {
    return DatabaseSession::instance();
}

long currentUserId() {
    const auto* login = physicians::Partitions().login;
    return login ? login->user.user_id : 0;
}
std::string currentUserName() {
    const auto* login = physicians::Partitions().login;
    return login ? login->user.user_name : std::string();
}

std::string q(const std::string& text) {
    return "'" + DatabaseSession::QuoteSQL(text) + "'";
}
std::string n(long value) {
    return std::to_string(value);
}
std::string b(bool value) {
    return value ? "1" : "0";
}

bool run(const std::string& sql) {
    auto& s = session();
    s.SQLStatement = sql;
    return s.ExecSQL() == 1 && s.FlushResults();
}

void record(long event, const std::string& text) {
    EventLog::LogEvent(EventLog::SystemLog, kUserAdministration, kInfo, event, 0, 0, 0, 0, 0, -1, 0, text);
}

} // namespace

bool clsUserPolicies::LoadAll() {
    auto& s = session();
    s.SQLStatement = "SELECT policy_id, policy_name, permit_blank_password, case_sensitive_password, "
                     "minimum_password_length, require_alpha_numeric, flag3, signature_password_mode, "
                     "signature_password_expiration_days, flag4, flag5, flag6, flag7 FROM System_user_policies "
                     "ORDER BY policy_name";
    if (s.ExecSQL() != 1)
        return false;
    Clear();
    while (s.FetchRow() == 1) {
        clsUserPolicy p;
        p.m_bytPolicyId = static_cast<unsigned char>(s.GetColumnLong(1));
        p.m_strPolicyName = s.GetColumnText(2, 1);
        p.m_blnPermitBlankPassword = s.GetColumnLong(3) != 0;
        p.m_blnCaseSensitivePassword = s.GetColumnLong(4) != 0;
        p.m_intMinimumPasswordLength = static_cast<int>(s.GetColumnLong(5));
        p.m_blnRequireAlphaNumeric = s.GetColumnLong(6) != 0;
        p.m_lngFlag3 = s.GetColumnLong(7);
        p.m_intSignaturePasswordMode = static_cast<int>(s.GetColumnLong(8));
        p.m_intSignaturePasswordExpirationDays = static_cast<int>(s.GetColumnLong(9));
        p.m_lngFlag4 = s.GetColumnLong(10);
        p.m_lngFlag5 = s.GetColumnLong(11);
        p.m_lngFlag6 = s.GetColumnLong(12);
        p.m_lngFlag7 = s.GetColumnLong(13);
        Add(p, Key(p.m_bytPolicyId));
    }
    s.CloseStatement();
    return true;
}

bool clsUserPolicies::LoadNames() {
    auto& s = session();
    s.SQLStatement = "SELECT policy_id, policy_name FROM System_user_policies ORDER BY policy_name";
    if (s.ExecSQL() != 1)
        return false;
    Clear();
    while (s.FetchRow() == 1) {
        clsUserPolicy p;
        p.m_bytPolicyId = static_cast<unsigned char>(s.GetColumnLong(1));
        p.m_strPolicyName = s.GetColumnText(2, 1);
        Add(p, Key(p.m_bytPolicyId));
    }
    s.CloseStatement();
    return true;
}

clsUserPolicy* clsUserPolicies::LoadPolicy(long policyId) {
    auto& s = session();
    s.SQLStatement = "SELECT permit_blank_password, case_sensitive_password, minimum_password_length, "
                     "require_alpha_numeric, allow_password_change, password_expiration_days, inactivity_timeout, "
                     "intruder_detection_enabled, maximum_login_attempts, lockout_duration, flag2, string1, string2, "
                     "flag3, signature_password_mode, signature_password_expiration_days, flag4, flag5, flag6, flag7 "
                     "FROM System_user_policies WHERE policy_id = " +
                     n(policyId);
    if (s.ExecSQL() != 1 || s.FetchRow() != 1) {
        s.CloseStatement();
        platform::MsgBox("Error.  Could not retrieve configuration.", platform::MsgButtons::OK,
                         platform::MsgIcon::Exclamation, "Retrieve Error");
        return nullptr;
    }
    clsUserPolicy* p = Item(Key(policyId));
    if (!p) {
        clsUserPolicy fresh;
        fresh.m_bytPolicyId = static_cast<unsigned char>(policyId);
        Add(fresh, Key(policyId));
        p = Item(Key(policyId));
    }
    p->m_blnPermitBlankPassword = s.GetColumnLong(1) != 0;
    p->m_blnCaseSensitivePassword = s.GetColumnLong(2) != 0;
    p->m_intMinimumPasswordLength = static_cast<int>(s.GetColumnLong(3));
    p->m_blnRequireAlphaNumeric = s.GetColumnLong(4) != 0;
    p->m_blnAllowPasswordChange = s.GetColumnLong(5) != 0;
    p->m_intPasswordExpirationDays = static_cast<int>(s.GetColumnLong(6));
    p->m_lngInactivityTimeout = s.GetColumnLong(7);
    p->m_blnIntruderDetectionEnabled = s.GetColumnLong(8) != 0;
    p->m_intMaximumLoginAttempts = static_cast<int>(s.GetColumnLong(9));
    p->m_lngLockoutDuration = s.GetColumnLong(10);
    p->m_lngFlag2 = s.GetColumnLong(11);
    p->m_strString1 = s.GetColumnText(12, 1);
    p->m_strString2 = s.GetColumnText(13, 1);
    p->m_lngFlag3 = s.GetColumnLong(14);
    p->m_intSignaturePasswordMode = static_cast<int>(s.GetColumnLong(15));
    p->m_intSignaturePasswordExpirationDays = static_cast<int>(s.GetColumnLong(16));
    p->m_lngFlag4 = s.GetColumnLong(17);
    p->m_lngFlag5 = s.GetColumnLong(18);
    p->m_lngFlag6 = s.GetColumnLong(19);
    p->m_lngFlag7 = s.GetColumnLong(20);
    s.CloseStatement();
    return p;
}

std::string clsUserPolicies::InsertStatement(const clsUserPolicy& p, long userId) {
    return "INSERT INTO System_user_policies (policy_id, policy_name, permit_blank_password, "
           "case_sensitive_password, minimum_password_length, require_alpha_numeric, allow_password_change, "
           "password_expiration_days, system_unique_password, keep_password_history, password_history_length, "
           "inactivity_timeout, intruder_detection_enabled, maximum_login_attempts, lockout_duration, "
           "last_datetime, last_user, flag1, flag2, flag3, string1, string2, date1, "
           "signature_password_expiration_days, signature_password_mode, flag4, flag5, flag6, flag7) VALUES(" +
           n(p.m_bytPolicyId) + ", " + q(p.m_strPolicyName) + ", " + b(p.m_blnPermitBlankPassword) + ", " +
           b(p.m_blnCaseSensitivePassword) + ", " + n(p.m_intMinimumPasswordLength) + ", " +
           b(p.m_blnRequireAlphaNumeric) + ", " + b(p.m_blnAllowPasswordChange) + ", " +
           n(p.m_intPasswordExpirationDays) + ", 0, 0, 3, 0, " + b(p.m_blnIntruderDetectionEnabled) + ", " +
           n(p.m_intMaximumLoginAttempts) + ", " + n(p.m_lngLockoutDuration) + ", GETDATE(), " + n(userId) + ", 0, " +
           n(p.m_lngFlag2) + ", " + n(p.m_lngFlag3) + ", " + q(p.m_strString1) + ", " + q(p.m_strString2) + ", NULL, " +
           n(p.m_intSignaturePasswordExpirationDays) + ", " + n(p.m_intSignaturePasswordMode) + ", " + n(p.m_lngFlag4) +
           ", " + n(p.m_lngFlag5) + ", " + n(p.m_lngFlag6) + ", " + n(p.m_lngFlag7) + ")";
}

std::string clsUserPolicies::UpdateStatement(const clsUserPolicy& p, long userId) {
    return "UPDATE System_user_policies SET policy_name = " + q(p.m_strPolicyName) +
           ", permit_blank_password = " + b(p.m_blnPermitBlankPassword) +
           ", case_sensitive_password = " + b(p.m_blnCaseSensitivePassword) +
           ", minimum_password_length = " + n(p.m_intMinimumPasswordLength) +
           ", require_alpha_numeric = " + b(p.m_blnRequireAlphaNumeric) +
           ", allow_password_change = " + b(p.m_blnAllowPasswordChange) +
           ", password_expiration_days = " + n(p.m_intPasswordExpirationDays) +
           ", intruder_detection_enabled = " + b(p.m_blnIntruderDetectionEnabled) +
           ", inactivity_timeout = 0, maximum_login_attempts = " + n(p.m_intMaximumLoginAttempts) +
           ", lockout_duration = " + n(p.m_lngLockoutDuration) + ", last_user = " + n(userId) +
           ", last_datetime = GETDATE(), flag2 = " + n(p.m_lngFlag2) + ", flag3 = " + n(p.m_lngFlag3) +
           ", string1 = " + q(p.m_strString1) + ", string2 = " + q(p.m_strString2) +
           ", signature_password_mode = " + n(p.m_intSignaturePasswordMode) +
           ", signature_password_expiration_days = " + n(p.m_intSignaturePasswordExpirationDays) +
           ", flag4 = " + n(p.m_lngFlag4) + ", flag5 = " + n(p.m_lngFlag5) + ", flag6 = " + n(p.m_lngFlag6) +
           ", flag7 = " + n(p.m_lngFlag7) + " WHERE policy_id = " + n(p.m_bytPolicyId);
}

bool clsUserPolicies::UpdatePolicy(const clsUserPolicy& policy) {
    if (!run(UpdateStatement(policy, currentUserId())))
        return false;
    if (clsUserPolicy* mine = Item(Key(policy.m_bytPolicyId)); mine && mine != &policy)
        *mine = policy;
    record(PolicyUpdated, "User policy " + policy.m_strPolicyName + " has been updated by " + currentUserName() + ".");
    return true;
}

bool clsUserPolicies::InsertPolicy(clsUserPolicy& policy) {
    auto& s = session();
    s.SQLStatement = "SELECT MAX(policy_id) + 1 FROM System_user_policies";
    long id = -1;
    if (s.ExecSQL() == 1 && s.FetchRow() == 1)
        id = s.GetColumnLong(1);
    s.CloseStatement();
    // policy_id is a byte: a 257th policy has no id left.
    if (id < 0 || id > 255) {
        platform::MsgBox("Unable to insert the new user policy.  Save failed.", platform::MsgButtons::OK,
                         platform::MsgIcon::Exclamation, "Save Error");
        return false;
    }
    clsUserPolicy inserted = policy;
    inserted.m_bytPolicyId = static_cast<unsigned char>(id);
    if (!run(InsertStatement(inserted, currentUserId()))) {
        platform::MsgBox("Unable to insert the new user policy.  Save failed.", platform::MsgButtons::OK,
                         platform::MsgIcon::Exclamation, "Save Error");
        return false;
    }
    policy = inserted;
    Add(inserted, Key(id));
    record(PolicyAdded, "User policy " + policy.m_strPolicyName + " has been added by " + currentUserName() + ".");
    return true;
}

std::string clsUserPolicies::FirstUserOfPolicy(long policyId) {
    auto& s = session();
    if (!run("SET ROWCOUNT 1"))
        return {};
    s.SQLStatement = "SELECT user_name FROM System_user_bindery WHERE flag4 = " + n(policyId);
    std::string name;
    if (s.ExecSQL() == 1 && s.FetchRow() == 1)
        name = s.GetColumnText(1, 1);
    s.CloseStatement();
    run("SET ROWCOUNT 0");
    return name;
}

bool clsUserPolicies::DeletePolicy(long policyId) {
    if (!run("DELETE FROM System_user_policies WHERE policy_id = " + n(policyId)))
        return false;
    Remove(Key(policyId));
    return true;
}

} // namespace users
