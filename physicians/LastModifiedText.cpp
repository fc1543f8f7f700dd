#include "LastModifiedText.h"

#include "EventLog.h"
#include "Text.h"

#include <cstdio>
#include <ctime>

namespace physicians {

std::string LastModifiedText(const std::string& stamp, const std::string& user) {
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, sec = 0;
    if (std::sscanf(stamp.c_str(), "%4d-%2d-%2d %2d:%2d:%2d", &y, &mo, &d, &h, &mi, &sec) != 6 || mo < 1 || mo > 12 ||
        d < 1 || d > 31 || h > 23 || mi > 59 || sec > 59)
        return {};
    std::tm tm{};
    tm.tm_year = y - 1900;
    tm.tm_mon = mo - 1;
    tm.tm_mday = d;
    tm.tm_hour = h;
    tm.tm_min = mi;
    tm.tm_sec = sec;
    tm.tm_isdst = -1;
    std::tm normalised = tm;
    if (std::mktime(&normalised) == -1 || normalised.tm_mday != d)
        return {}; // a day the month does not have
    tm.tm_wday = normalised.tm_wday;
    const std::string minutes = foundation::minutesFormat(foundation::EventLog::context().timeFormat);
    char buf[160];
    const size_t n = std::strftime(buf, sizeof buf, ("%A, %B %d, %Y " + minutes).c_str(), &tm);
    return "Last modified on " + std::string(buf, n) + " by " + user + ".";
}

} // namespace physicians
