#pragma once

#include <string>

namespace suite {

// The password and logon rules of one user policy (a row of System_user_policies) as the log-in, the
// password dialogs and the user editor apply them. This is the one checker of new passwords.
struct PasswordPolicy {
    int policyId = 0;
    bool permitBlankPassword = false; // no minimum length and no composition rules
    bool caseSensitive = false;
    int minimumLength = 3;
    bool requireAlphaNumeric = false;
    bool allowPasswordChange = true;
    int expirationDays = 0;
    bool intruderDetection = false;
    int maximumLoginAttempts = 3;
    int lockoutMinutes = 30;                   // 0: until an administrator resets the account
    int flag3 = 0;                             // 1: a symbol character required; 2: upper and lower case required
    int signatureMinimumLength = 3;            // flag4
    bool signatureRequireAlphaNumeric = false; // flag5
    int authenticationType = 0;                // flag2: see kSuiteAuthentication and the others
    std::string directorySettings;             // string2: the directory settings' stored text

    // Who checks a user's password at log-in (flag2).
    static constexpr int kSuiteAuthentication = 0;
    static constexpr int kWindowsAuthentication = 1;
    static constexpr int kDirectoryAuthentication = 2;

    // The logon password an administrator rule number of 1 protects: the built-in Administrator's.
    static constexpr long kAdministratorRule = 1;
    static constexpr const char* kSymbolCharacters = "!$#_|%:?-*/()";

    // The lock-out in minutes; the list's "24 hours" and "48 hours" are stored as 3600 and 7200.
    [[nodiscard]] int lockoutDurationMinutes() const {
        return lockoutMinutes == 3600 ? 24 * 60 : lockoutMinutes == 7200 ? 48 * 60 : lockoutMinutes;
    }
    [[nodiscard]] bool requireSymbolChars() const { return (flag3 & 1) != 0; }
    [[nodiscard]] bool requireUpperAndLowerCase() const { return (flag3 & 2) != 0; }

    // A new logon password, first failing rule wins. message is "" when the password is accepted.
    // checkOld: refuse the old password again; adminRuleNumber == 1: the Administrator's rules apply.
    bool IsPasswordOk(const std::string& oldPassword, const std::string& newPassword, const std::string& confirm,
                      bool checkOld, long adminRuleNumber, std::string& message) const;
    // A new signature password, first failing rule wins.
    bool IsSignaturePasswordOk(const std::string& oldPassword, const std::string& newPassword,
                               const std::string& confirm, bool checkOld, std::string& message) const;

    // Texts compared as the policy compares passwords: exactly, or ignoring letter case.
    [[nodiscard]] bool samePassword(const std::string& a, const std::string& b) const;
};

// "*[A-Z]*#*" or "*#*[A-Z]*" on the upper-cased text: a letter A-Z and a digit 0-9, in either order.
bool HasLetterAndDigit(const std::string& text);
// The text upper-cased letter by letter (UTF-8), independent of the user's locale.
std::string UpperCaseText(const std::string& text);

} // namespace suite
