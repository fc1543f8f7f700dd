#pragma once

#include "MessageService.h"

#include <optional>
#include <string>
#include <vector>

namespace foundation {

// Who is logged in and how logging is set up, filled at start-up.
struct LogContext {
    int userId = 0;
    int partitionId = 0;
    std::string userName;    // may carry a domain ("CORP\\jsmithson")
    std::string workstation; // names the local event log file
    std::string logFolder;
    bool logDebug = false;
    bool logSQL = false;
    long logSize = 10; // megabytes
    bool iniRead = false;
    bool suppressBoxes = false;
    std::string dateFormat = "%Y-%m-%d"; // the region component's formats, as strftime patterns
    std::string timeFormat = "%H:%M:%S";
};

// The system log table, the local event log file and the SQL trace.
class EventLog {
public:
    static LogContext& context();

    enum Destination : unsigned char { SystemLog = 1, LocalFile = 4, MessageBox = 8 };

    static void LogEvent(unsigned char destinations, int type, int severity, long eventNbr, long batchNbr,
                         long scheduleId, long value1, long value2, long value3, long accountId, long value4,
                         const std::string& message, const std::vector<std::string>& more = {},
                         platform::MsgIcon icon = platform::MsgIcon::Information);
    static void WriteSystemLog(int type, int severity, long eventNbr, long batchNbr, long scheduleId, long value1,
                               long value2, long value3, long accountId, long value4, const std::string& message,
                               const std::vector<std::string>& more = {});
    // The batch WriteSystemLog sends.
    static std::string SystemLogBatch(int type, int severity, long eventNbr, long batchNbr, long scheduleId,
                                      long value1, long value2, long value3, long accountId, const std::string& message,
                                      const std::vector<std::string>& more);

    static void TraceSQL(int mode);
    static std::string PrepareTraceFile(); // the trace file's path, rotated when too large
    static std::string EventLogFile();
    static std::string SeverityLabel(int severity);
    // Connects the database session's trace and diagnostic hooks to this log.
    static void AttachToSession();
    static void AppendToEventFile(const std::string& text, int severity);
};

} // namespace foundation
