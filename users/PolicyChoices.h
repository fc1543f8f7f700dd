#pragma once

#include <string>
#include <utility>
#include <vector>

namespace users {

// The entries the policy screen offers for each numbered setting: caption and stored value.
using PolicyChoices = std::vector<std::pair<std::string, long>>;

inline PolicyChoices LengthChoices() { // 3 to 8 characters, logon and signature passwords
    PolicyChoices out;
    for (long n = 3; n <= 8; ++n)
        out.emplace_back(std::to_string(n) + " characters", n);
    return out;
}

inline PolicyChoices ExpirationChoices() {
    return {{"Never", 0},    {"15 days", 15}, {"30 days", 30},  {"45 days", 45},
            {"60 days", 60}, {"90 days", 90}, {"120 days", 120}};
}

inline PolicyChoices LoginAttemptChoices() {
    PolicyChoices out;
    for (long n = 2; n <= 9; ++n)
        out.emplace_back(std::to_string(n) + " attempts", n);
    return out;
}

// A day and two days are stored as 3600 and 7200, which the login component reads as such.
inline PolicyChoices LockoutDurationChoices() {
    return {{"5 minutes", 5}, {"10 minutes", 10}, {"30 minutes", 30}, {"1 hour", 60},
            {"4 hours", 240}, {"24 hours", 3600}, {"48 hours", 7200}, {"Until Reset", 0}};
}

inline PolicyChoices AuthenticationChoices(bool withLdap) {
    PolicyChoices out{{"Veltra Text Authentication", 0}, {"Windows Authentication", 1}};
    if (withLdap)
        out.emplace_back("LDAP Authentication", 2);
    return out;
}

inline PolicyChoices SignaturePasswordModeChoices() {
    return {{"No Additional Authentication", 0},
            {"Prompt When Opening Inbox", 1},
            {"Prompt When Closing or Reloading Inbox", 2}};
}

inline PolicyChoices SignatureAttemptChoices() {
    PolicyChoices out{{"No Limit", 0}, {"1 attempt", 1}};
    for (long n = 2; n <= 9; ++n)
        out.emplace_back(std::to_string(n) + " attempts", n);
    return out;
}

inline PolicyChoices PasswordHistoryChoices() {
    PolicyChoices out{{"None", 0}};
    for (long n = 1; n <= 10; ++n)
        out.emplace_back(std::to_string(n), n);
    return out;
}

} // namespace users
