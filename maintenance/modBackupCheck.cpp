#include "modBackupCheck.h"

#include "DatabaseSession.h"
#include "EventLog.h"
#include "Interaction.h"
#include "MessageService.h"
#include "Text.h"
#include "clsDatabaseStatistics.h"

#include <chrono>
#include <cstdio>

namespace maintenance {

using foundation::DatabaseSession;
using foundation::EventLog;

namespace {

constexpr int kWarnSeverity = 4;
constexpr int kMaintenanceType = 0;

std::string format(const std::string& stamp, const std::string& pattern) {
    auto tm = ParseStamp(stamp);
    if (!tm)
        return stamp;
    char buf[128];
    const size_t n = std::strftime(buf, sizeof buf, pattern.c_str(), &*tm);
    return std::string(buf, n);
}

std::string minutesPattern() {
    return foundation::minutesFormat(EventLog::context().timeFormat);
}

} // namespace

std::optional<std::tm> ParseStamp(const std::string& text) {
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    char tail = 0;
    const int got = std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &y, &mo, &d, &h, &mi, &s, &tail);
    if (got < 6 || mo < 1 || mo > 12 || d < 1 || d > 31 || h > 23 || mi > 59 || s > 59)
        return std::nullopt;
    std::tm tm{};
    tm.tm_year = y - 1900;
    tm.tm_mon = mo - 1;
    tm.tm_mday = d;
    tm.tm_hour = h;
    tm.tm_min = mi;
    tm.tm_sec = s;
    tm.tm_isdst = -1;
    std::tm copy = tm;
    if (std::mktime(&copy) == -1)
        return std::nullopt;
    tm.tm_wday = copy.tm_wday;
    tm.tm_yday = copy.tm_yday;
    return tm;
}

std::optional<long> DaysSince(const std::string& stamp, std::time_t now) {
    auto then = ParseStamp(stamp);
    if (!then)
        return std::nullopt;
    std::tm today{};
    localtime_r(&now, &today);
    using namespace std::chrono;
    const sys_days a = year{then->tm_year + 1900} / month{static_cast<unsigned>(then->tm_mon + 1)} /
                       day{static_cast<unsigned>(then->tm_mday)};
    const sys_days b = year{today.tm_year + 1900} / month{static_cast<unsigned>(today.tm_mon + 1)} /
                       day{static_cast<unsigned>(today.tm_mday)};
    return static_cast<long>((b - a).count());
}

std::string SiteDateMinutes(const std::string& stamp) {
    return format(stamp, EventLog::context().dateFormat + " " + minutesPattern());
}

std::string LongDateMinutes(const std::string& stamp) {
    return format(stamp, "%A, %B %d, %Y " + minutesPattern());
}

void DatabaseBackupCheck(const std::string& databaseName) {
    auto& s = DatabaseSession::instance();
    s.SQLStatement = clsDatabaseStatistics::BackupQuery(databaseName, true);
    s.ExecSQLNoRetry(true);
    if (s.FetchRow() != 1)
        return;
    const std::string last = s.GetColumnText(1, 1);
    s.CloseStatement();
    const std::string title = "SQL Database Backup Warning";
    if (last.empty()) {
        platform::MsgBox("Critical Warning!\n\nThe Veltra Text SQL database " + databaseName +
                             " has not been backed up.  This database contains all of the transcribed reports and "
                             "system configurations.  Please contact your system administrator to schedule a full "
                             "backup as soon as possible.",
                         platform::MsgButtons::OK, platform::MsgIcon::Critical, title);
        EventLog::LogEvent(EventLog::SystemLog, kMaintenanceType, kWarnSeverity, kEventNeverBackedUp, 0, 0, 0, 0, 0, -1,
                           0, "Critical Warning.  No SQL backup of the database has been performed.");
        return;
    }
    auto age = DaysSince(last, platform::Clock::now());
    if (!age || *age <= 7)
        return;
    const std::string first = "The last full backup of the Veltra Text SQL database " + databaseName +
                              " was performed on " + SiteDateMinutes(last) + ".  ";
    std::string text;
    if (*age <= 14)
        text = "Warning!\n\n" + first +
               "A full backup of the database is recommended at least once per week.  This database contains all of "
               "the transcribed reports and system configurations.  Please contact your system administrator to "
               "verify the backup of the system.";
    else
        text = "Critical Warning!\n\n" + first +
               "This is over two weeks old.  This database contains all of the transcribed reports and system "
               "configurations.  A database crash could result in significant loss of data and productivity.  Please "
               "contact your system administrator to schedule a full backup as soon as possible.";
    platform::MsgBox(text, platform::MsgButtons::OK, platform::MsgIcon::Critical, title);
    EventLog::LogEvent(EventLog::SystemLog, kMaintenanceType, kWarnSeverity, kEventBackupOverdue, 0, 0, 0, 0, 0, -1, 0,
                       "Critical Warning.  Backup overdue!  The last full SQL backup was performed on " + last + ".");
}

} // namespace maintenance
