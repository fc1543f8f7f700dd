#include "PasswordPolicy.h"

#include <locale.h>
#include <string>
#include <wctype.h>

namespace suite {

namespace {

// Letter classification and case mapping come from a fixed Unicode locale, never from the user's.
locale_t unicodeLocale() {
    static const locale_t loc = [] {
        locale_t l = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
        return l ? l : newlocale(LC_CTYPE_MASK, "C", static_cast<locale_t>(nullptr));
    }();
    return loc;
}

// Decodes UTF-8; a byte that does not start a valid sequence stands for itself.
std::u32string decode(const std::string& s) {
    std::u32string out;
    for (size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        int extra = c >= 0xF0 && c < 0xF8 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        if (c >= 0xF8 || (c >= 0x80 && c < 0xC0))
            extra = 0;
        char32_t cp = extra == 0 ? c : extra == 1 ? (c & 0x1F) : extra == 2 ? (c & 0x0F) : (c & 0x07);
        bool valid = true;
        for (int k = 1; valid && k <= extra; ++k) {
            if (i + static_cast<size_t>(k) >= s.size() || (static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
                valid = false;
            else
                cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
        }
        if (!valid) {
            out.push_back(c);
            ++i;
            continue;
        }
        out.push_back(cp);
        i += static_cast<size_t>(extra) + 1;
    }
    return out;
}

void encode(char32_t cp, std::string& out) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

char32_t upperOf(char32_t c) {
    return static_cast<char32_t>(towupper_l(static_cast<wint_t>(c), unicodeLocale()));
}

size_t characters(const std::string& s) {
    return decode(s).size();
}

} // namespace

std::string UpperCaseText(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char32_t c : decode(text))
        encode(upperOf(c), out);
    return out;
}

bool HasLetterAndDigit(const std::string& text) {
    bool letter = false, digit = false;
    for (char32_t c : decode(UpperCaseText(text))) {
        letter = letter || (c >= U'A' && c <= U'Z');
        digit = digit || (c >= U'0' && c <= U'9');
    }
    return letter && digit;
}

bool PasswordPolicy::samePassword(const std::string& a, const std::string& b) const {
    return caseSensitive ? a == b : UpperCaseText(a) == UpperCaseText(b);
}

bool PasswordPolicy::IsPasswordOk(const std::string& oldPassword, const std::string& pw, const std::string& confirm,
                                  bool checkOld, long adminRuleNumber, std::string& message) const {
    message = [&]() -> std::string {
        if (pw != confirm)
            return "New Password and Confirm Password fields do not match.  Please re-enter.";
        const bool adminRule = adminRuleNumber == kAdministratorRule;
        if (adminRule && pw.empty())
            return "The Administrator user cannot have a blank login password.";
        if (adminRule && characters(pw) < 3)
            return "The Administrator's login password must be at least 3 characters.";
        if (pw.find(' ') != std::string::npos)
            return "The login password cannot contain any spaces.  Please enter a different login password.";
        if (checkOld && samePassword(pw, oldPassword))
            return "Your new login password matches your existing login password.  Please enter a different login "
                   "password.";
        if (!permitBlankPassword) {
            if (characters(pw) < static_cast<size_t>(minimumLength < 0 ? 0 : minimumLength))
                return "Your login password must be at least " + std::to_string(minimumLength) +
                       " characters long.  Please enter a different login password.";
            if (requireAlphaNumeric && !HasLetterAndDigit(pw))
                return "Your new login password must have at least one letter (A-Z) and one number (0-9).  Please "
                       "enter a different login password.";
            if (requireSymbolChars() && pw.find_first_of(kSymbolCharacters) == std::string::npos)
                return "Your new login password must have at least one symbol character.  Please enter a different "
                       "login password.";
        }
        if (caseSensitive && requireUpperAndLowerCase()) {
            bool up = false, low = false;
            for (char32_t c : decode(pw)) {
                up = up || iswupper_l(static_cast<wint_t>(c), unicodeLocale());
                low = low || iswlower_l(static_cast<wint_t>(c), unicodeLocale());
            }
            if (!up || !low)
                return "Your new login password must have at least one upper case letter and one lower case letter.  "
                       "Please enter a different login password.";
        }
        return {};
    }();
    return message.empty();
}

bool PasswordPolicy::IsSignaturePasswordOk(const std::string& oldPassword, const std::string& pw,
                                           const std::string& confirm, bool checkOld, std::string& message) const {
    message = [&]() -> std::string {
        if (pw != confirm)
            return "New Password and Confirm Password fields do not match.  Please re-enter.";
        if (checkOld && UpperCaseText(pw) == UpperCaseText(oldPassword))
            return "Your new signature password matches your existing signature password.  Please enter a different "
                   "signature password.";
        if (characters(pw) < static_cast<size_t>(signatureMinimumLength < 0 ? 0 : signatureMinimumLength))
            return "Your signature password must be at least " + std::to_string(signatureMinimumLength) +
                   " characters long.  Please enter a different signature password.";
        if (signatureRequireAlphaNumeric && !HasLetterAndDigit(pw))
            return "Your new signature password must have at least one letter (A-Z) and one number (0-9).  Please "
                   "enter a different signature password.";
        return {};
    }();
    return message.empty();
}

} // namespace suite
