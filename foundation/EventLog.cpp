#include "EventLog.h"

#include "DatabaseSession.h"
#include "Interaction.h"
#include "Utf8.h"

#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace foundation {

namespace fs = std::filesystem;

namespace {

std::string now(const std::string& pattern) {
    std::time_t t = platform::Clock::now();
    std::tm local{};
    localtime_r(&t, &local);
    char buf[64];
    std::strftime(buf, sizeof buf, pattern.c_str(), &local);
    return buf;
}

std::string quotedOrNull(const std::optional<std::string>& text) {
    if (!text)
        return "NULL";
    const std::string cut = platform::utf8Left(*text, 100); // the column holds 100 characters, not bytes
    return "'" + DatabaseSession::QuoteSQL(cut) + "'";
}

// The event and trace files hold user names and statements: a new one is made readable by its
// owner only before anything is written to it (the umask may narrow the mode further, never widen it).
std::ofstream appendOwnerOnly(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (fd >= 0)
        ::close(fd);
    return std::ofstream(path, std::ios::app);
}

} // namespace

LogContext& EventLog::context() {
    static LogContext c;
    return c;
}

// The event file's own labels, 7 characters each; the system log viewer's list names the
// severities in its own words.
std::string EventLog::SeverityLabel(int severity) {
    switch (severity) {
    case 1:
        return " YIELD ";
    case 3:
        return " TRANS ";
    case 4:
        return " WARN  ";
    case 5:
        return " STOP  ";
    case 6:
        return " DEBUG ";
    default:
        return " INFO  ";
    }
}

std::string EventLog::EventLogFile() {
    const LogContext& c = context();
    return (fs::path(c.logFolder) / (c.workstation + ".LOG")).string();
}

void EventLog::AppendToEventFile(const std::string& text, int severity) {
    std::ofstream out = appendOwnerOnly(EventLogFile());
    out << now("%Y-%m-%d") << ' ' << now("%H:%M:%S") << SeverityLabel(severity) << text << '\n';
}

std::string EventLog::SystemLogBatch(int type, int severity, long eventNbr, long batchNbr, long scheduleId, long value1,
                                     long value2, long value3, long accountId, const std::string& message,
                                     const std::vector<std::string>& more) {
    const LogContext& c = context();
    const std::string crlf = "\r\n";
    std::string sql = "DECLARE @thetime datetime" + crlf + "SELECT @thetime = GETDATE()" + crlf + "INSERT System_log" +
                      crlf + "VALUES (@thetime, " + std::to_string(severity) + ", " + std::to_string(type) + ", " +
                      std::to_string(c.userId) + ", " + std::to_string(eventNbr) + ", " + std::to_string(accountId) +
                      ", " + crlf + std::to_string(scheduleId) + ", " + std::to_string(batchNbr) + ", " +
                      std::to_string(value1) + ", " + std::to_string(value2) + ", " + std::to_string(value3) +
                      ", 0, 0, 0, 0, 0, " + std::to_string(c.partitionId) + ", " + crlf + "NULL, NULL, NULL, NULL, ";
    sql += quotedOrNull(message);
    for (size_t i = 0; i < 4; ++i)
        sql += ", " + quotedOrNull(i < more.size() ? std::optional<std::string>(more[i]) : std::nullopt);
    sql += ")";
    return sql;
}

void EventLog::WriteSystemLog(int type, int severity, long eventNbr, long batchNbr, long scheduleId, long value1,
                              long value2, long value3, long accountId, long, const std::string& message,
                              const std::vector<std::string>& more) {
    if (severity == 6 && !context().logDebug)
        return;
    auto& s = DatabaseSession::instance();
    s.SQLStatement = SystemLogBatch(type, severity, eventNbr, batchNbr, scheduleId, value1, value2, value3, accountId,
                                    message, more);
    if (s.ExecSQL() == 1)
        s.FlushResults();
}

void EventLog::LogEvent(unsigned char destinations, int type, int severity, long eventNbr, long batchNbr,
                        long scheduleId, long value1, long value2, long value3, long accountId, long value4,
                        const std::string& message, const std::vector<std::string>& more, platform::MsgIcon icon) {
    const LogContext& c = context();
    if (severity == 6 && !c.logDebug)
        return;
    std::string text = (severity == 6 ? "DEBUG: " : "") + message;
    for (const auto& m : more)
        text += "\n" + std::string(22, ' ') + m;
    text += " (Message number " + std::to_string(eventNbr) + ")";
    if (destinations & LocalFile)
        AppendToEventFile(text, severity);
    if ((destinations & MessageBox) && !c.suppressBoxes)
        platform::MsgBox(text, platform::MsgButtons::OK, icon,
                         "Administrative Desktop - Message " + std::to_string(eventNbr));
    if (destinations & SystemLog)
        WriteSystemLog(type, severity, eventNbr, batchNbr, scheduleId, value1, value2, value3, accountId, value4,
                       message, more);
}

std::string EventLog::PrepareTraceFile() {
    const LogContext& c = context();
    std::string name = c.userName;
    if (size_t slash = name.find('\\'); slash != std::string::npos)
        name = name.substr(slash + 1);
    size_t b = name.find_first_not_of(' ');
    name = b == std::string::npos ? std::string() : name.substr(b, name.find_last_not_of(' ') - b + 1);
    name = platform::utf8Left(name, 8);
    if (name.empty())
        name = "DEFAULT";
    fs::path file = fs::path(c.logFolder) / (name + ".LOG");
    std::error_code ec;
    if (fs::exists(file, ec) && fs::file_size(file, ec) > static_cast<std::uintmax_t>(c.logSize) * 1000000u) {
        fs::path old = fs::path(c.logFolder) / (name + ".OLD");
        fs::remove(old, ec);
        fs::rename(file, old, ec);
    }
    return file.string();
}

void EventLog::TraceSQL(int mode) {
    const LogContext& c = context();
    if (mode == 0 && !c.logSQL)
        return;
    if (mode == 1 && !c.iniRead)
        return;
    const auto& s = DatabaseSession::instance();
    std::ofstream out = appendOwnerOnly(PrepareTraceFile());
    out << now(c.dateFormat) << ' ' << now(c.timeFormat) << '\n'
        << (mode == 0 ? s.SQLStatement : s.LastSQLError) << '\n';
}

void EventLog::AttachToSession() {
    auto& s = DatabaseSession::instance();
    s.traceHook = [](int mode) { TraceSQL(mode); };
    s.logHook = [](const std::string& text) {
        if (!context().logFolder.empty())
            AppendToEventFile(text, 4);
    };
}

} // namespace foundation
