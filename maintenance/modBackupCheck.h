#pragma once

#include <ctime>
#include <optional>
#include <string>

namespace maintenance {

// Event numbers of the start-up backup warning.
constexpr long kEventNeverBackedUp = 20040;
constexpr long kEventBackupOverdue = 20041;

// A 'YYYY-MM-DD HH:MM:SS' text as local broken-down time; nothing when it is not one.
std::optional<std::tm> ParseStamp(const std::string& text);
// Whole days from the date of `stamp` to the date of `now` (times of day ignored).
std::optional<long> DaysSince(const std::string& stamp, std::time_t now);
// The site's date format, a blank and its minutes format ("12/05/2026 14:30").
std::string SiteDateMinutes(const std::string& stamp);
// The regional long date, a blank and the minutes ("Saturday, December 05, 2026 14:30").
std::string LongDateMinutes(const std::string& stamp);

// The warning shown at start-up when the database's last full backup is older than a week, or
// when it has none; each warning is also written to the system log. A query that fails shows
// nothing, and nothing here stops the start-up.
void DatabaseBackupCheck(const std::string& databaseName);

} // namespace maintenance
