#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tsql {

// A datetime as SQL Server keeps it: 1753-01-01 to 9999-12-31, millisecond resolution.
// The engine stores it as the text 'YYYY-MM-DD HH:MM:SS.fff', which sorts and compares correctly.
struct DateTime {
    int year = 1900, month = 1, day = 1;
    int hour = 0, minute = 0, second = 0, millisecond = 0;

    // Parses the string forms SQL Server accepts under DATEFORMAT mdy: '12/05/2026 12:00am',
    // '2026-12-05 23:59:59.997', '20261205', 'Dec  5 2026 9:05AM', '5 Dec 2026', '23:59' ...
    // dayFirst reads n/n/n as day/month/year (styles 103, 104, 105).
    static std::optional<DateTime> parse(std::string_view text, bool dayFirst = false);
    static DateTime fromCanonical(std::string_view text); // trusted stored form
    static DateTime fromDays(double days);                // days since 1900-01-01
    static DateTime now();

    [[nodiscard]] std::string canonical() const; // 'YYYY-MM-DD HH:MM:SS.fff'
    // CONVERT(varchar, d, style); nullopt for a style SQL Server does not know.
    [[nodiscard]] std::optional<std::string> format(int style) const;
    [[nodiscard]] int64_t dayNumber() const; // days since 1970-01-01
    [[nodiscard]] int64_t totalMilliseconds() const;
    [[nodiscard]] double days1900() const;
    [[nodiscard]] int dayOfWeek() const; // 1 = Sunday (SQL Server's default DATEFIRST 7)
    [[nodiscard]] int dayOfYear() const;
    [[nodiscard]] bool valid() const;

    static DateTime fromTotalMilliseconds(int64_t ms);
};

// DATEADD/DATEDIFF/DATEPART parts; nullopt when the name is not a date part.
enum class DatePart { Year, Quarter, Month, DayOfYear, Day, Week, Weekday, Hour, Minute, Second, Millisecond };
std::optional<DatePart> datePartFromName(std::string_view name);

std::optional<DateTime> dateAdd(DatePart part, int64_t n, const DateTime& d);
int64_t dateDiff(DatePart part, const DateTime& a, const DateTime& b);
int datePartValue(DatePart part, const DateTime& d);

// Tests pin the engine's clock with the environment variable TSQL_ENGINE_NOW ('YYYY-MM-DD HH:MM:SS').
std::string engineNowText();

bool looksCanonicalDateTime(std::string_view text);
std::string monthName(int month);   // "December"
std::string dayName(int dayOfWeek); // 1 = "Sunday"

} // namespace tsql
