#pragma once

#include <charconv>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Numbers in SQL text, in the configuration files and in the database's answers are written and
// read the same way whatever the user's locale: a decimal point, no grouping, ASCII digits only.
// The C library's printf/strtod family follows LC_NUMERIC, which Qt adopts from the user's
// environment, so they are never used for such numbers.

inline std::string formatFixed(double value, int decimals) {
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    if (ec != std::errc())
        return "0";
    return std::string(buf, end);
}

// The shortest text that reads back as the same value ("8.1", "0.0001", "12").
inline std::string formatNumber(double value) {
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
    if (ec != std::errc())
        return "0";
    return std::string(buf, end);
}

namespace detail {
inline std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}
} // namespace detail

// A decimal number such as "8.10", "-0.5" or "+3" (blanks around it allowed); nothing else.
inline std::optional<double> parseNumber(std::string_view text) {
    std::string_view s = detail::trimBlanks(text);
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    if (s.empty() || !((s.front() >= '0' && s.front() <= '9') || s.front() == '.'))
        return std::nullopt;
    double value = 0;
    auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), value, std::chars_format::fixed);
    if (ec != std::errc() || ptr != s.data() + s.size())
        return std::nullopt;
    return negative ? -value : value;
}

// A whole number written in ASCII digits only ("0042"); no sign, no blanks, no other script's digits.
inline std::optional<long long> parseDigits(std::string_view s) {
    if (s.empty())
        return std::nullopt;
    for (char c : s)
        if (c < '0' || c > '9')
            return std::nullopt;
    long long value = 0;
    auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc() || ptr != s.data() + s.size())
        return std::nullopt;
    return value;
}

} // namespace platform
