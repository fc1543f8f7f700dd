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
// console shows when something was last changed or backed up. The seconds go with the separator
// before them (":" in "%I:%M:%S %p", "." in Finnish "%H.%M.%S", the blank in Korean "%I시 %M분 %S초")
// and the unit sign written after them (Japanese "秒", Korean "초", or Canadian French "s" after a
// blank in "%H h %M min %S s"); a minutes sign such as "分" or "min" stays with the minutes, and a
// sign for the whole time (Bulgarian "ч.") stays at the end.
inline std::string minutesFormat(std::string timeFormat) {
    size_t at = 0;
    while (at + 1 < timeFormat.size() && !(timeFormat[at] == '%' && timeFormat[at + 1] == 'S'))
        at += timeFormat[at] == '%' ? 2 : 1; // "%%" is a literal percent sign, not a conversion
    if (at + 1 >= timeFormat.size())
        return timeFormat;
    size_t end = at + 2;
    const auto unitSign = [](unsigned char c) { return c >= 0x80 || std::isalpha(c); }; // UTF-8 or a letter
    // A unit after a blank belongs to the seconds when the minutes carry one too ("%M min %S s"); a
    // sign after the whole time stays (Bulgarian "%H:%M:%S ч.").
    const size_t minutes = timeFormat.rfind("%M", at);
    bool unitsEach = false;
    for (size_t i = minutes == std::string::npos ? at : minutes + 2; i < at; ++i)
        unitsEach = unitsEach || unitSign(static_cast<unsigned char>(timeFormat[i]));
    if (unitsEach && end + 1 < timeFormat.size() && timeFormat[end] == ' ' &&
        unitSign(static_cast<unsigned char>(timeFormat[end + 1])))
        ++end;
    while (end < timeFormat.size() && unitSign(static_cast<unsigned char>(timeFormat[end])))
        ++end;
    const auto separator = [](char c) { return c == ':' || c == '.' || c == ' '; };
    while (at > 0 && separator(timeFormat[at - 1]))
        --at;
    return timeFormat.erase(at, end - at);
}

} // namespace foundation
