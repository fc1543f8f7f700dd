#include "PhysicianProfileValues.h"

#include "Numbers.h"
#include "Text.h"

#include <cmath>
#include <cstdio>

namespace physicians {

std::pair<std::string, std::string> FaxTimeText(const FaxTime& time) {
    if (time.hour < 0 || time.hour > 23 || time.minute < 0 || time.minute > 59)
        return {"12:00", "am"};
    const int hour12 = time.hour % 12 == 0 ? 12 : time.hour % 12;
    char text[8];
    std::snprintf(text, sizeof text, "%02d:%02d", hour12, time.minute);
    return {text, time.hour < 12 ? "am" : "pm"};
}

std::optional<FaxTime> FaxTimeFromText(const std::string& typed, bool pm) {
    const std::string text = foundation::trimText(typed);
    const auto colon = text.find(':');
    if (colon == std::string::npos || colon == 0 || colon > 2 || text.size() - colon != 3)
        return std::nullopt;
    const auto hour = platform::parseDigits(std::string_view(text).substr(0, colon));
    const auto minute = platform::parseDigits(std::string_view(text).substr(colon + 1));
    if (!hour || !minute || *hour > 12 || *minute > 59)
        return std::nullopt;
    if ((*hour == 12 || *hour == 0) && *minute == 0)
        return FaxTime{}; // the reset values
    if (*hour == 0)
        return std::nullopt;
    const int h = static_cast<int>(*hour % 12) + (pm ? 12 : 0);
    return FaxTime{h, static_cast<int>(*minute)};
}

std::string FormatWeight(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%05.2f", value);
    return text;
}

std::optional<double> ParseWeight(const std::string& typed, char decimalSeparator) {
    std::string text = foundation::trimText(typed);
    if (decimalSeparator != '.') {
        if (text.find('.') != std::string::npos && text.find(decimalSeparator) != std::string::npos)
            return std::nullopt;
        for (char& c : text)
            if (c == decimalSeparator)
                c = '.';
    }
    const auto value = platform::parseNumber(text);
    if (!value || !std::isfinite(*value) || *value < 0 || *value > kMaxWeight)
        return std::nullopt;
    return value;
}

} // namespace physicians
