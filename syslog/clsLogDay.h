#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace systemlog {

// One System_log row of the day shown, held in memory so the account, user, batch and text filters
// refill the list without a new query.
struct LogRow {
    std::string time; // 12-hour form, "1:05:00 PM"
    int severity = 0;
    int type = 0;
    long userId = 0;
    std::string accountName;
    std::string userName; // deleted users as "NAME (Deleted)"
    long eventNumber = 0;
    long accountId = 0;
    long scheduleId = 0;
    long batchNumber = 0;
    long flag1 = 0;
    std::array<std::string, 5> messages;
    std::string batchName;
};

// One list line: a non-empty message of a row; the first line of a row carries its columns.
struct LogLine {
    std::uint32_t row = 0;
    std::uint8_t message = 0;
    bool first = false;
};

// -1 everywhere: no filter. text matches the messages, user and account names without regard to case.
struct LogFilter {
    long account = -1;
    long user = -1;
    long batch = -1;
    std::string text;
};

// The event types offered in the type list, in list order.
const std::vector<std::pair<int, std::string>>& LogTypes();
std::string SeverityName(int severity);
// "hh:mm:ss" (24-hour) -> "h:mm:ss AM|PM"; text that is not a time comes back unchanged.
std::string TwelveHourTime(const std::string& time);
// A deleted user's name is stored as "...DEL>NAME"; shown as "NAME (Deleted)".
std::string ShownUserName(const std::string& stored);
// The statement for one day (MM/DD/YYYY) and type (-1 all types), newest first when descending.
std::string DayQuery(const std::string& day, int type, bool descending);

class clsLogDay {
public:
    // Reads the day through the database session; false when the statement failed (the session
    // has shown why) and the rows are then empty.
    bool Load(const std::string& day, int type, bool descending);
    [[nodiscard]] std::vector<LogLine> Lines(const LogFilter& filter) const;
    // Turns the rows around, for a change of sort direction without a new query.
    void Reverse();

    [[nodiscard]] const std::vector<LogRow>& Rows() const { return m_rows; }
    [[nodiscard]] bool BatchColumn() const { return m_type == 1; }
    [[nodiscard]] int Type() const { return m_type; }

private:
    std::vector<LogRow> m_rows;
    int m_type = -1;
};

} // namespace systemlog
