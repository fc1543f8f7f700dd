#include "DateTime.h"

#include "Lexer.h"

#include <array>
#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace tsql {

namespace {

constexpr std::array kMonths = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
constexpr std::array kMonthNames = {"January", "February", "March",     "April",   "May",      "June",
                                    "July",    "August",   "September", "October", "November", "December"};
constexpr std::array kDayNames = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

int64_t daysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void civilFromDays(int64_t z, int& y, int& m, int& d) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t yy = static_cast<int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yy + (m <= 2));
}

bool leap(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int daysInMonth(int y, int m) {
    static constexpr int dim[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && leap(y) ? 29 : dim[m - 1];
}

struct Piece {
    enum Kind { Number, Word, Sep } kind;
    std::string text;
};

int twoDigitYear(int y, size_t digits) {
    if (digits <= 2)
        return y < 50 ? 2000 + y : 1900 + y;
    return y;
}

int monthFromWord(const std::string& w) {
    std::string u = toUpper(w);
    for (size_t i = 0; i < kMonths.size(); ++i)
        if (u.size() >= 3 && u.compare(0, 3, kMonths[i]) == 0)
            return static_cast<int>(i) + 1;
    return 0;
}

} // namespace

bool DateTime::valid() const {
    return year >= 1753 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 && day <= daysInMonth(year, month) &&
           hour >= 0 && hour < 24 && minute >= 0 && minute < 60 && second >= 0 && second < 60 && millisecond >= 0 &&
           millisecond < 1000;
}

std::optional<DateTime> DateTime::parse(std::string_view text, bool dayFirst) {
    // Split into numbers, words and separators, keeping each separator.
    std::vector<Piece> p;
    size_t i = 0;
    while (i < text.size()) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (std::isspace(c)) {
            ++i;
            continue;
        }
        if (std::isdigit(c)) {
            size_t s = i;
            while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
                ++i;
            p.push_back({Piece::Number, std::string(text.substr(s, i - s))});
        } else if (std::isalpha(c)) {
            size_t s = i;
            while (i < text.size() && std::isalpha(static_cast<unsigned char>(text[i])))
                ++i;
            p.push_back({Piece::Word, toUpper(text.substr(s, i - s))});
        } else {
            p.push_back({Piece::Sep, std::string(1, static_cast<char>(c))});
            ++i;
        }
    }
    if (p.empty())
        return std::nullopt;

    DateTime dt;
    bool haveDate = false;
    size_t k = 0;
    auto num = [&](size_t at) { return std::atoi(p[at].text.c_str()); };
    auto isNum = [&](size_t at) { return at < p.size() && p[at].kind == Piece::Number; };
    auto isSep = [&](size_t at, char s) { return at < p.size() && p[at].kind == Piece::Sep && p[at].text[0] == s; };

    // Date part.
    if (isNum(0) && p[0].text.size() == 8 && (p.size() == 1 || !isSep(1, ':'))) {
        const std::string& s = p[0].text;
        dt.year = std::atoi(s.substr(0, 4).c_str());
        dt.month = std::atoi(s.substr(4, 2).c_str());
        dt.day = std::atoi(s.substr(6, 2).c_str());
        haveDate = true;
        k = 1;
    } else if (isNum(0) && p[0].text.size() == 4 && (isSep(1, '-') || isSep(1, '/') || isSep(1, '.')) && isNum(2) &&
               p.size() > 4 && p[3].kind == Piece::Sep && p[3].text == p[1].text && isNum(4)) {
        dt.year = num(0);
        dt.month = num(2);
        dt.day = num(4);
        haveDate = true;
        k = 5;
    } else if (isNum(0) && (isSep(1, '/') || isSep(1, '-') || isSep(1, '.')) && isNum(2) && p.size() > 3 &&
               p[3].kind == Piece::Sep && p[3].text == p[1].text && isNum(4)) {
        int a = num(0), b = num(2);
        dt.year = twoDigitYear(num(4), p[4].text.size());
        dt.month = dayFirst ? b : a;
        dt.day = dayFirst ? a : b;
        haveDate = true;
        k = 5;
    } else if (p[0].kind == Piece::Word && monthFromWord(p[0].text) && isNum(1)) {
        // Mon dd yyyy / Mon dd, yyyy
        dt.month = monthFromWord(p[0].text);
        dt.day = num(1);
        k = 2;
        if (isSep(k, ','))
            ++k;
        if (!isNum(k) || isSep(k + 1, ':'))
            return std::nullopt;
        dt.year = twoDigitYear(num(k), p[k].text.size());
        ++k;
        haveDate = true;
    } else if (isNum(0) && p.size() > 2 && p[1].kind == Piece::Word && monthFromWord(p[1].text) && isNum(2)) {
        // dd Mon yyyy
        dt.day = num(0);
        dt.month = monthFromWord(p[1].text);
        dt.year = twoDigitYear(num(2), p[2].text.size());
        haveDate = true;
        k = 3;
    }
    if (haveDate && k < p.size() && p[k].kind == Piece::Word && p[k].text == "T")
        ++k;

    // Time part: hh[:mi[:ss[.fff|:fff]]] [AM|PM], or hhAM.
    if (k < p.size()) {
        if (!isNum(k))
            return std::nullopt;
        dt.hour = num(k++);
        if (isSep(k, ':')) {
            ++k;
            if (!isNum(k))
                return std::nullopt;
            dt.minute = num(k++);
            if (isSep(k, ':')) {
                ++k;
                if (!isNum(k))
                    return std::nullopt;
                dt.second = num(k++);
                if (isSep(k, '.') || isSep(k, ':')) {
                    ++k;
                    if (!isNum(k))
                        return std::nullopt;
                    std::string frac = p[k++].text;
                    frac = (frac + "000").substr(0, 3);
                    dt.millisecond = std::atoi(frac.c_str());
                }
            }
        } else if (!(k < p.size() && p[k].kind == Piece::Word)) {
            return std::nullopt;
        }
        if (k < p.size() && p[k].kind == Piece::Word && (p[k].text == "AM" || p[k].text == "PM")) {
            if (dt.hour < 1 || dt.hour > 12) {
                if (!(dt.hour == 0 && p[k].text == "AM"))
                    return std::nullopt;
            }
            if (p[k].text == "AM" && dt.hour == 12)
                dt.hour = 0;
            else if (p[k].text == "PM" && dt.hour != 12)
                dt.hour += 12;
            ++k;
        }
        if (k != p.size())
            return std::nullopt;
    }
    if (!dt.valid())
        return std::nullopt;
    return dt;
}

DateTime DateTime::fromCanonical(std::string_view t) {
    auto d = parse(t);
    return d ? *d : DateTime{};
}

int64_t DateTime::dayNumber() const {
    return daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day));
}

int64_t DateTime::totalMilliseconds() const {
    return dayNumber() * 86400000LL + ((hour * 60LL + minute) * 60LL + second) * 1000LL + millisecond;
}

DateTime DateTime::fromTotalMilliseconds(int64_t ms) {
    int64_t days = ms >= 0 ? ms / 86400000LL : -((-ms + 86399999LL) / 86400000LL);
    int64_t rest = ms - days * 86400000LL;
    DateTime d;
    civilFromDays(days, d.year, d.month, d.day);
    d.millisecond = static_cast<int>(rest % 1000);
    rest /= 1000;
    d.second = static_cast<int>(rest % 60);
    rest /= 60;
    d.minute = static_cast<int>(rest % 60);
    d.hour = static_cast<int>(rest / 60);
    return d;
}

double DateTime::days1900() const {
    static const int64_t base = daysFromCivil(1900, 1, 1);
    return static_cast<double>(dayNumber() - base) +
           static_cast<double>((hour * 3600 + minute * 60 + second) * 1000 + millisecond) / 86400000.0;
}

DateTime DateTime::fromDays(double days) {
    static const int64_t base = daysFromCivil(1900, 1, 1) * 86400000LL;
    return fromTotalMilliseconds(base + static_cast<int64_t>(std::llround(days * 86400000.0)));
}

int DateTime::dayOfWeek() const {
    int64_t n = dayNumber();                         // 1970-01-01 was a Thursday
    int w = static_cast<int>(((n % 7) + 7 + 4) % 7); // 0 = Sunday
    return w + 1;
}

int DateTime::dayOfYear() const {
    return static_cast<int>(dayNumber() - daysFromCivil(year, 1, 1)) + 1;
}

std::string DateTime::canonical() const {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d.%03d", year, month, day, hour, minute, second,
                  millisecond);
    return buf;
}

std::optional<std::string> DateTime::format(int style) const {
    char buf[64];
    int h12 = hour % 12 == 0 ? 12 : hour % 12;
    const char* ampm = hour < 12 ? "AM" : "PM";
    const char* mon = kMonths[static_cast<size_t>(month - 1)];
    std::string monName =
        std::string(1, mon[0]) + static_cast<char>(std::tolower(mon[1])) + static_cast<char>(std::tolower(mon[2]));
    bool century = style >= 100;
    int yy = century ? year : year % 100;
    const char* yfmt = century ? "%04d" : "%02d";
    auto y = [&] {
        char b[8];
        std::snprintf(b, sizeof b, yfmt, yy);
        return std::string(b);
    };
    switch (style) {
    case 0:
    case 100:
        std::snprintf(buf, sizeof buf, "%s %2d %04d %2d:%02d%s", monName.c_str(), day, year, h12, minute, ampm);
        return std::string(buf);
    case 9:
    case 109:
        std::snprintf(buf, sizeof buf, "%s %2d %04d %2d:%02d:%02d:%03d%s", monName.c_str(), day, year, h12, minute,
                      second, millisecond, ampm);
        return std::string(buf);
    case 1:
    case 101:
        std::snprintf(buf, sizeof buf, "%02d/%02d/%s", month, day, y().c_str());
        return std::string(buf);
    case 2:
    case 102:
        std::snprintf(buf, sizeof buf, "%s.%02d.%02d", y().c_str(), month, day);
        return std::string(buf);
    case 3:
    case 103:
        std::snprintf(buf, sizeof buf, "%02d/%02d/%s", day, month, y().c_str());
        return std::string(buf);
    case 4:
    case 104:
        std::snprintf(buf, sizeof buf, "%02d.%02d.%s", day, month, y().c_str());
        return std::string(buf);
    case 5:
    case 105:
        std::snprintf(buf, sizeof buf, "%02d-%02d-%s", day, month, y().c_str());
        return std::string(buf);
    case 6:
    case 106:
        std::snprintf(buf, sizeof buf, "%02d %s %s", day, monName.c_str(), y().c_str());
        return std::string(buf);
    case 7:
    case 107:
        std::snprintf(buf, sizeof buf, "%s %02d, %s", monName.c_str(), day, y().c_str());
        return std::string(buf);
    case 8:
    case 108:
        std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", hour, minute, second);
        return std::string(buf);
    case 10:
    case 110:
        std::snprintf(buf, sizeof buf, "%02d-%02d-%s", month, day, y().c_str());
        return std::string(buf);
    case 11:
    case 111:
        std::snprintf(buf, sizeof buf, "%s/%02d/%02d", y().c_str(), month, day);
        return std::string(buf);
    case 12:
    case 112:
        std::snprintf(buf, sizeof buf, "%s%02d%02d", y().c_str(), month, day);
        return std::string(buf);
    case 14:
    case 114:
        std::snprintf(buf, sizeof buf, "%02d:%02d:%02d:%03d", hour, minute, second, millisecond);
        return std::string(buf);
    case 20:
    case 120:
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", year, month, day, hour, minute, second);
        return std::string(buf);
    case 21:
    case 121:
        return canonical();
    case 126:
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d.%03d", year, month, day, hour, minute, second,
                      millisecond);
        return std::string(buf);
    default:
        return std::nullopt;
    }
}

DateTime DateTime::now() {
    if (const char* pinned = std::getenv("TSQL_ENGINE_NOW"); pinned && *pinned) {
        if (auto d = parse(pinned))
            return *d;
    }
    auto tp = std::chrono::system_clock::now();
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(tp.time_since_epoch()).count();
    std::time_t secs = static_cast<std::time_t>(ms / 1000);
    std::tm local{};
    localtime_r(&secs, &local);
    DateTime d;
    d.year = local.tm_year + 1900;
    d.month = local.tm_mon + 1;
    d.day = local.tm_mday;
    d.hour = local.tm_hour;
    d.minute = local.tm_min;
    d.second = local.tm_sec;
    d.millisecond = static_cast<int>(ms % 1000);
    return d;
}

std::string engineNowText() {
    return DateTime::now().canonical();
}

bool looksCanonicalDateTime(std::string_view t) {
    if (t.size() != 23)
        return false;
    static constexpr std::string_view shape = "dddd-dd-dd dd:dd:dd.ddd";
    for (size_t i = 0; i < shape.size(); ++i) {
        if (shape[i] == 'd' ? !std::isdigit(static_cast<unsigned char>(t[i])) : t[i] != shape[i])
            return false;
    }
    return true;
}

std::optional<DatePart> datePartFromName(std::string_view n) {
    std::string u = toUpper(n);
    if (u == "YEAR" || u == "YY" || u == "YYYY")
        return DatePart::Year;
    if (u == "QUARTER" || u == "QQ" || u == "Q")
        return DatePart::Quarter;
    if (u == "MONTH" || u == "MM" || u == "M")
        return DatePart::Month;
    if (u == "DAYOFYEAR" || u == "DY" || u == "Y")
        return DatePart::DayOfYear;
    if (u == "DAY" || u == "DD" || u == "D")
        return DatePart::Day;
    if (u == "WEEK" || u == "WK" || u == "WW")
        return DatePart::Week;
    if (u == "WEEKDAY" || u == "DW" || u == "W")
        return DatePart::Weekday;
    if (u == "HOUR" || u == "HH")
        return DatePart::Hour;
    if (u == "MINUTE" || u == "MI" || u == "N")
        return DatePart::Minute;
    if (u == "SECOND" || u == "SS" || u == "S")
        return DatePart::Second;
    if (u == "MILLISECOND" || u == "MS")
        return DatePart::Millisecond;
    return std::nullopt;
}

std::optional<DateTime> dateAdd(DatePart part, int64_t n, const DateTime& d) {
    DateTime r = d;
    auto addMonths = [&](int64_t months) -> std::optional<DateTime> {
        int64_t total = static_cast<int64_t>(d.year) * 12 + (d.month - 1) + months;
        r.year = static_cast<int>(total / 12);
        r.month = static_cast<int>(total % 12) + 1;
        r.day = std::min(d.day, daysInMonth(r.year, r.month));
        if (!r.valid())
            return std::nullopt;
        return r;
    };
    int64_t unitMs = 0;
    switch (part) {
    case DatePart::Year:
        return addMonths(n * 12);
    case DatePart::Quarter:
        return addMonths(n * 3);
    case DatePart::Month:
        return addMonths(n);
    case DatePart::DayOfYear:
    case DatePart::Day:
    case DatePart::Weekday:
        unitMs = 86400000LL;
        break;
    case DatePart::Week:
        unitMs = 7 * 86400000LL;
        break;
    case DatePart::Hour:
        unitMs = 3600000LL;
        break;
    case DatePart::Minute:
        unitMs = 60000LL;
        break;
    case DatePart::Second:
        unitMs = 1000LL;
        break;
    case DatePart::Millisecond:
        unitMs = 1;
        break;
    }
    r = DateTime::fromTotalMilliseconds(d.totalMilliseconds() + n * unitMs);
    if (!r.valid())
        return std::nullopt;
    return r;
}

int64_t dateDiff(DatePart part, const DateTime& a, const DateTime& b) {
    // DATEDIFF counts the boundaries of the part crossed between the two values.
    switch (part) {
    case DatePart::Year:
        return b.year - a.year;
    case DatePart::Quarter:
        return (b.year * 4LL + (b.month - 1) / 3) - (a.year * 4LL + (a.month - 1) / 3);
    case DatePart::Month:
        return (b.year * 12LL + b.month) - (a.year * 12LL + a.month);
    case DatePart::DayOfYear:
    case DatePart::Day:
    case DatePart::Weekday:
        return b.dayNumber() - a.dayNumber();
    case DatePart::Week: {
        // Weeks start on Sunday.
        auto sunday = [](const DateTime& d) { return d.dayNumber() - (d.dayOfWeek() - 1); };
        return (sunday(b) - sunday(a)) / 7;
    }
    case DatePart::Hour:
        return (b.dayNumber() * 24 + b.hour) - (a.dayNumber() * 24 + a.hour);
    case DatePart::Minute:
        return (b.dayNumber() * 1440 + b.hour * 60 + b.minute) - (a.dayNumber() * 1440 + a.hour * 60 + a.minute);
    case DatePart::Second:
        return b.totalMilliseconds() / 1000 - a.totalMilliseconds() / 1000;
    case DatePart::Millisecond:
        return b.totalMilliseconds() - a.totalMilliseconds();
    }
    return 0;
}

int datePartValue(DatePart part, const DateTime& d) {
    switch (part) {
    case DatePart::Year:
        return d.year;
    case DatePart::Quarter:
        return (d.month - 1) / 3 + 1;
    case DatePart::Month:
        return d.month;
    case DatePart::DayOfYear:
        return d.dayOfYear();
    case DatePart::Day:
        return d.day;
    case DatePart::Week: {
        DateTime jan1 = d;
        jan1.month = 1;
        jan1.day = 1;
        return static_cast<int>((d.dayOfYear() - 1 + (jan1.dayOfWeek() - 1)) / 7) + 1;
    }
    case DatePart::Weekday:
        return d.dayOfWeek();
    case DatePart::Hour:
        return d.hour;
    case DatePart::Minute:
        return d.minute;
    case DatePart::Second:
        return d.second;
    case DatePart::Millisecond:
        return d.millisecond;
    }
    return 0;
}

std::string monthName(int m) {
    return kMonthNames[static_cast<size_t>(m - 1)];
}
std::string dayName(int dow) {
    return kDayNames[static_cast<size_t>(dow - 1)];
}

} // namespace tsql
