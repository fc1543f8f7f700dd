#include "DirectorySettings.h"

#include "Numbers.h"

#include <algorithm>
#include <vector>

namespace suite {

namespace {

// Releases before site keys kept the directory password in string2 only out of plain sight: a
// byte-wise rolling XOR with this fixed key, written as hex. Such texts are still read.
constexpr char kScrambleKey[] = "Kv7qLdx";
constexpr size_t kKeyLength = sizeof kScrambleKey - 1;
static_assert(kKeyLength == 7);

std::string escape(const std::string& value) {
    std::string out;
    for (char c : value) {
        if (c == '?')
            out += "%3F";
        else if (c == '%')
            out += "%25";
        else
            out += c;
    }
    return out;
}

std::string unescape(const std::string& value) {
    std::string out;
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '%' && i + 2 < value.size()) {
            const std::string code = value.substr(i + 1, 2);
            if (code == "3F" || code == "3f") {
                out += '?';
                i += 2;
                continue;
            }
            if (code == "25") {
                out += '%';
                i += 2;
                continue;
            }
        }
        out += value[i];
    }
    return out;
}

// A whole number, possibly negative, in ASCII digits.
bool readLong(const std::string& text, long& out) {
    const bool negative = !text.empty() && text[0] == '-';
    const auto digits = platform::parseDigits(negative ? std::string_view(text).substr(1) : std::string_view(text));
    if (!digits || *digits > 2147483647LL)
        return false;
    out = static_cast<long>(negative ? -*digits : *digits);
    return true;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace

std::string DirectorySettings::scramble(const std::string& plain) {
    static const char* const digits = "0123456789ABCDEF";
    std::string out;
    unsigned char previous = 0;
    for (size_t i = 0; i < plain.size(); ++i) {
        const auto c = static_cast<unsigned char>(plain[i]);
        const auto s = static_cast<unsigned char>(c ^ static_cast<unsigned char>(kScrambleKey[i % kKeyLength]) ^
                                                  static_cast<unsigned char>(previous + i));
        previous = s;
        out += digits[s >> 4];
        out += digits[s & 15];
    }
    return out;
}

bool DirectorySettings::unscramble(const std::string& scrambled, std::string& plain) {
    plain.clear();
    if (scrambled.size() % 2 != 0)
        return false;
    unsigned char previous = 0;
    for (size_t i = 0; i < scrambled.size() / 2; ++i) {
        const int hi = hexValue(scrambled[2 * i]), lo = hexValue(scrambled[2 * i + 1]);
        if (hi < 0 || lo < 0) {
            plain.clear();
            return false;
        }
        const auto s = static_cast<unsigned char>(hi * 16 + lo);
        plain += static_cast<char>(s ^ static_cast<unsigned char>(kScrambleKey[i % kKeyLength]) ^
                                   static_cast<unsigned char>(previous + i));
        previous = s;
    }
    return true;
}

std::string DirectorySettings::toText() const {
    return textWith(bindPassword.empty() ? std::string() : PasswordCipher::sealText(bindPassword));
}

std::string DirectorySettings::toTextWith(const PasswordCipher::Key& key) const {
    return textWith(bindPassword.empty() ? std::string() : PasswordCipher::sealTextWith(key, bindPassword));
}

bool DirectorySettings::fromText(const std::string& text, PasswordForm* form) {
    // No key given: a sealed password is opened with the process's site key.
    return readText(text, std::nullopt, form);
}

bool DirectorySettings::fromTextWith(const PasswordCipher::Key& key, const std::string& text, PasswordForm* form) {
    return readText(text, key, form);
}

bool DirectorySettings::sealPasswordAgain(const PasswordCipher::Key& key, std::string& text, PasswordForm* form) {
    if (form)
        *form = PasswordForm::None;
    // The password is the fourth field; the three before it end with their separators.
    size_t start = 0;
    for (int i = 0; i < 3; ++i) {
        const size_t at = text.find('?', start);
        if (at == std::string::npos)
            return false;
        start = at + 1;
    }
    const size_t end = std::min(text.find('?', start), text.size());
    const std::string field = text.substr(start, end - start);
    if (field.empty())
        return false;
    std::string plain;
    PasswordForm read = PasswordForm::Unreadable;
    if (field[0] == PasswordCipher::kSealedTextMark) {
        if (auto opened = PasswordCipher::openTextWith(key, field)) {
            plain = std::move(*opened);
            read = PasswordForm::Sealed;
        }
    } else if (unscramble(field, plain)) {
        read = PasswordForm::Scrambled;
    }
    if (form)
        *form = read;
    if (read == PasswordForm::Unreadable)
        return false;
    const std::string sealed = PasswordCipher::sealTextWith(key, plain);
    if (sealed.empty())
        return false;
    text.replace(start, end - start, sealed);
    return true;
}

std::string DirectorySettings::textWith(const std::string& sealedPassword) const {
    std::string out;
    for (const std::string& field : {escape(server), escape(backupServer), escape(bindDn), sealedPassword,
                                     escape(searchBase), escape(port), std::string(useSsl ? "True" : "False"),
                                     std::to_string(scope), std::to_string(authType), std::to_string(timeout)})
        out += field + "?";
    return out;
}

bool DirectorySettings::readText(const std::string& text, const std::optional<PasswordCipher::Key>& key,
                                 PasswordForm* form) {
    *this = DirectorySettings();
    if (form)
        *form = PasswordForm::None;
    if (text.empty())
        return true;
    std::vector<std::string> fields;
    size_t start = 0;
    for (size_t at = text.find('?'); at != std::string::npos; at = text.find('?', start)) {
        fields.push_back(text.substr(start, at - start));
        start = at + 1;
    }
    bool intact = start == text.size(); // the last field ends with its separator
    if (!intact)
        fields.push_back(text.substr(start));
    intact = intact && fields.size() == 10;
    const auto field = [&](size_t i) -> const std::string* { return i < fields.size() ? &fields[i] : nullptr; };
    if (const auto* f = field(0))
        server = unescape(*f);
    if (const auto* f = field(1))
        backupServer = unescape(*f);
    if (const auto* f = field(2))
        bindDn = unescape(*f);
    if (const auto* f = field(3); f && !f->empty()) {
        PasswordForm read = PasswordForm::Unreadable;
        if ((*f)[0] == PasswordCipher::kSealedTextMark) {
            const auto opened = key ? PasswordCipher::openTextWith(*key, *f) : PasswordCipher::openText(*f);
            if (opened) {
                bindPassword = *opened;
                read = PasswordForm::Sealed;
            }
        } else if (unscramble(*f, bindPassword)) {
            read = PasswordForm::Scrambled;
        }
        if (read == PasswordForm::Unreadable) {
            bindPassword.clear();
            intact = false;
        }
        if (form)
            *form = read;
    }
    if (const auto* f = field(4))
        searchBase = unescape(*f);
    if (const auto* f = field(5))
        port = unescape(*f);
    if (const auto* f = field(6)) {
        if (*f == "True" || *f == "False" || *f == "TRUE" || *f == "FALSE" || *f == "true" || *f == "false")
            useSsl = (*f)[0] == 'T' || (*f)[0] == 't';
        else
            intact = false;
    }
    long* numbers[] = {&scope, &authType, &timeout};
    const long defaults[] = {-1, -1, 10};
    for (size_t i = 0; i < 3; ++i)
        if (const auto* f = field(7 + i); f && !readLong(*f, *numbers[i])) {
            *numbers[i] = defaults[i];
            intact = false;
        }
    return intact;
}

} // namespace suite
