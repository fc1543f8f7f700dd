#pragma once

#include <optional>
#include <string>

namespace physicians {

// ---- fax times ------------------------------------------------------------------------------------
// A fax hour of 255 means no fixed time.
inline constexpr int kNoFaxTime = 255;

struct FaxTime {
    int hour = kNoFaxTime; // 0 to 23, or kNoFaxTime
    int minute = kNoFaxTime;
    bool operator==(const FaxTime&) const = default;
};
// The 12-hour form a stored time is shown in: "hh:mm" and "am"/"pm"; no time shows "12:00" "am".
std::pair<std::string, std::string> FaxTimeText(const FaxTime& time);
// The stored time of what was typed: "12:00" and "00:00" reset to no time; nothing for a time that
// cannot be (hour over 12, minute over 59, not "h:mm").
std::optional<FaxTime> FaxTimeFromText(const std::string& text, bool pm);
inline constexpr const char* kImpossibleFaxTime =
    "The fax time entered is not a valid time.  Please enter the time as hh:mm, from 01:00 to 12:59.";

// ---- weighting -------------------------------------------------------------------------------------
// weight_type: -1 no weighting (nothing stored), 0 a direct weight, 1 a percentage.
inline constexpr int kNoWeighting = -1, kDirectWeighting = 0, kPercentWeighting = 1;
inline constexpr const char* kDefaultPercentWeight = "100";
inline constexpr const char* kBadWeight = "The weight value entered was not valid.  Please enter again.";
inline constexpr const char* kBadWeightTitle = "Data Error";
inline constexpr double kMaxWeight = 999.99;
// "#00.00": at least two digits before the point, two after.
std::string FormatWeight(double value);
// A weight as typed, with the point or the given decimal separator ("12,5" in a decimal-comma
// locale); nothing for text, an empty box, or a value outside 0 to 999.99.
std::optional<double> ParseWeight(const std::string& text, char decimalSeparator);

} // namespace physicians
