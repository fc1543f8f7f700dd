#pragma once

#include <algorithm>
#include <cctype>
#include <string>

namespace foundation {

inline std::string upperText(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::toupper(c); });
    return s;
}

// Blanks and tabs off both ends.
inline std::string trimText(const std::string& s) {
    size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos)
        return {};
    return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

// The region's time format (a strftime pattern) without its seconds: the minutes form in which the
// console shows when something was last changed or backed up ("%I:%M:%S %p" gives "%I:%M %p").
inline std::string minutesFormat(std::string timeFormat) {
    if (const auto p = timeFormat.find(":%S"); p != std::string::npos)
        timeFormat.erase(p, 3);
    return timeFormat;
}

} // namespace foundation
