#pragma once

#include <string>

namespace suite {

// One row of System_user_policies, as far as log-in and password changes need it.
struct PasswordPolicy {
    int policyId = 0;
    bool permitBlankPassword = false;
    bool caseSensitive = false;
    int minimumLength = 3;
    bool requireAlphaNumeric = false;
    bool allowPasswordChange = true;
    int expirationDays = 0;
    bool intruderDetection = false;
    int maximumLoginAttempts = 3;
    int lockoutMinutes = 30;
    int flag3 = 0; // 1: a symbol character required; 2: upper and lower case required

    [[nodiscard]] bool requireSymbolChars() const { return (flag3 & 1) != 0; }
    [[nodiscard]] bool requireUpperAndLowerCase() const { return (flag3 & 2) != 0; }

    // The logon password check, first failing rule wins: "" when accepted, else the message.
    // administratorRule: the password is the Administrator's; compareWithOld: refuse the old one.
    [[nodiscard]] std::string checkLogonPassword(const std::string& newPassword, const std::string& confirm,
                                                 bool administratorRule, bool compareWithOld,
                                                 const std::string& oldPassword) const;
};

} // namespace suite
