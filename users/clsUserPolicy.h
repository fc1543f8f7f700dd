#pragma once

#include "PasswordPolicy.h"

#include <string>

namespace users {

// One password and logon policy: a row of System_user_policies. The login component enforces it at
// logon; the console checks new passwords against it with the shared checker.
class clsUserPolicy {
public:
    enum Authentication { VeltraText = 0, Windows = 1, Ldap = 2 }; // flag2

    unsigned char m_bytPolicyId = 0; // 0 is the default policy
    std::string m_strPolicyName = "None";
    bool m_blnPermitBlankPassword = true; // no minimum length and no composition rules
    bool m_blnCaseSensitivePassword = true;
    int m_intMinimumPasswordLength = 3;
    bool m_blnRequireAlphaNumeric = false;
    bool m_blnAllowPasswordChange = true;
    int m_intPasswordExpirationDays = 0; // 0: never
    long m_lngInactivityTimeout = 0;     // read only; every save writes 0
    bool m_blnIntruderDetectionEnabled = false;
    int m_intMaximumLoginAttempts = 3;
    long m_lngLockoutDuration = 30; // minutes, except 3600 = 24 hours, 7200 = 48 hours; 0 until reset
    long m_lngFlag2 = VeltraText;   // authentication type
    long m_lngFlag3 = 0;            // 1: a symbol character required; 2: upper and lower case required
    std::string m_strString1;       // authenticating domain of Windows authentication
    std::string m_strString2;       // directory settings, in their stored text form
    int m_intSignaturePasswordMode = 0;
    int m_intSignaturePasswordExpirationDays = 0;
    long m_lngFlag4 = 3; // minimum signature password length
    long m_lngFlag5 = 0; // 1: the signature password needs a letter and a digit
    long m_lngFlag6 = 0; // signature password attempts within a session, 0 no limit
    long m_lngFlag7 = 0; // earlier passwords that may not be reused

    [[nodiscard]] bool RequireSymbolChars() const { return (m_lngFlag3 & 1) != 0; }
    [[nodiscard]] bool RequireUpperAndLowerCase() const { return (m_lngFlag3 & 2) != 0; }
    [[nodiscard]] static long GenerateFlag3Value(bool requireUpperAndLower, bool requireSymbols) {
        return (requireUpperAndLower ? 2 : 0) + (requireSymbols ? 1 : 0);
    }

    // The rules as the shared checker applies them.
    [[nodiscard]] suite::PasswordPolicy Rules() const;
    bool IsPasswordOk(const std::string& oldPassword, const std::string& newPassword, const std::string& confirm,
                      bool checkOld, long adminRuleNumber, std::string& message) const {
        return Rules().IsPasswordOk(oldPassword, newPassword, confirm, checkOld, adminRuleNumber, message);
    }
    bool IsSignaturePasswordOk(const std::string& oldPassword, const std::string& newPassword,
                               const std::string& confirm, bool checkOld, std::string& message) const {
        return Rules().IsSignaturePasswordOk(oldPassword, newPassword, confirm, checkOld, message);
    }

    [[nodiscard]] bool operator==(const clsUserPolicy& other) const = default;
};

} // namespace users
