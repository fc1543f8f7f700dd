#include "PasswordPolicy.h"

#include <algorithm>
#include <cctype>

namespace suite {

namespace {

std::string upper(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::toupper(c); });
    return s;
}

// "*[A-Z]*#*" or "*#*[A-Z]*": a letter and a digit in either order.
bool letterAndDigit(const std::string& s) {
    std::string u = upper(s);
    bool letter = false, digit = false;
    for (unsigned char c : u) {
        letter = letter || (c >= 'A' && c <= 'Z');
        digit = digit || std::isdigit(c);
    }
    return letter && digit;
}

} // namespace

std::string PasswordPolicy::checkLogonPassword(const std::string& pw, const std::string& confirm,
                                               bool administratorRule, bool compareWithOld,
                                               const std::string& oldPassword) const {
    if (pw != confirm)
        return "New Password and Confirm Password fields do not match.  Please re-enter.";
    if (administratorRule && pw.empty())
        return "The Administrator user cannot have a blank login password.";
    if (administratorRule && pw.size() < 3)
        return "The Administrator's login password must be at least 3 characters.";
    if (pw.find(' ') != std::string::npos)
        return "The login password cannot contain any spaces.  Please enter a different login password.";
    if (compareWithOld && (caseSensitive ? pw == oldPassword : upper(pw) == upper(oldPassword)))
        return "Your new login password matches your existing login password.  Please enter a different login "
               "password.";
    if (!permitBlankPassword) {
        if (static_cast<int>(pw.size()) < minimumLength)
            return "Your login password must be at least " + std::to_string(minimumLength) +
                   " characters long.  Please enter a different login password.";
        if (requireAlphaNumeric && !letterAndDigit(pw))
            return "Your new login password must have at least one letter (A-Z) and one number (0-9).  Please enter a "
                   "different login password.";
        if (requireSymbolChars() && pw.find_first_of("!$#_|%:?-*/()") == std::string::npos)
            return "Your new login password must have at least one symbol character.  Please enter a different login "
                   "password.";
    }
    if (caseSensitive && requireUpperAndLowerCase()) {
        bool up = std::any_of(pw.begin(), pw.end(), [](unsigned char c) { return std::isupper(c); });
        bool low = std::any_of(pw.begin(), pw.end(), [](unsigned char c) { return std::islower(c); });
        if (!up || !low)
            return "Your new login password must have at least one upper case letter and one lower case letter.  "
                   "Please enter a different login password.";
    }
    return {};
}

} // namespace suite
