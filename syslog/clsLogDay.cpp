#include "clsLogDay.h"

#include "DatabaseSession.h"
#include "Text.h"

#include <algorithm>

namespace systemlog {

namespace {

bool containsNoCase(const std::string& text, const std::string& upperNeedle) {
    if (upperNeedle.size() > text.size())
        return false;
    auto it = std::search(text.begin(), text.end(), upperNeedle.begin(), upperNeedle.end(),
                          [](char a, char b) { return std::toupper(static_cast<unsigned char>(a)) == b; });
    return it != text.end();
}

bool rowMatches(const LogRow& r, const std::string& upperNeedle) {
    if (upperNeedle.empty())
        return true;
    if (containsNoCase(r.userName, upperNeedle) || containsNoCase(r.accountName, upperNeedle))
        return true;
    return std::any_of(r.messages.begin(), r.messages.end(),
                       [&](const std::string& m) { return containsNoCase(m, upperNeedle); });
}

} // namespace

const std::vector<std::pair<int, std::string>>& LogTypes() {
    static const std::vector<std::pair<int, std::string>> types = {
        {0, "General System"},       {1, "Tessaly Sort"},
        {2, "User Administration"},  {3, "Database Management"},
        {5, "Report Search"},        {6, "Report Configuration"},
        {7, "Application Security"}, {9, "Import Engine"},
        {13, "Output Distributor"},  {14, "Transcription Desktop"},
        {15, "Upload Interface"},    {17, "Routine Manager"},
        {18, "Incentive"},           {19, "Tessaly Transform"},
    };
    return types;
}

std::string SeverityName(int severity) {
    static const char* const names[] = {"YIELD", "INFO", "TRANSFER", "WARN", "STOP", "DEBUG"};
    return severity >= 1 && severity <= 6 ? names[severity - 1] : std::string();
}

std::string TwelveHourTime(const std::string& time) {
    const std::string t = foundation::trimText(time);
    if (t.size() < 8 || t[2] != ':' || !std::isdigit(static_cast<unsigned char>(t[0])) ||
        !std::isdigit(static_cast<unsigned char>(t[1])))
        return t;
    int hour = (t[0] - '0') * 10 + (t[1] - '0');
    const char* half = hour >= 12 ? " PM" : " AM";
    if (hour == 0)
        hour = 12;
    else if (hour > 12)
        hour -= 12;
    return std::to_string(hour) + t.substr(2, 6) + half;
}

std::string ShownUserName(const std::string& stored) {
    const size_t at = stored.find("DEL>");
    return at == std::string::npos ? stored : stored.substr(at + 4) + " (Deleted)";
}

std::string DayQuery(const std::string& day, int type, bool descending) {
    std::string q = "SELECT hr = CONVERT(char(12), date_timestamp, 8), \n"
                    "       severity, type, user_id, \n"
                    "acct_name = (SELECT hosp_acct_name FROM Account_info WHERE hosp_acct_id = SL.hosp_acct_id), \n"
                    "user_name = (SELECT user_name FROM System_user_bindery WHERE user_id = SL.user_id), error_code, \n"
                    "       hosp_acct_id, schedule_id, batch_nbr, flag1, msg1, msg2, msg3, msg4, msg5\n";
    q += type == 1 ? ", btch_name = (SELECT batch_name FROM Batch_cfg WHERE batch_nbr = SL.batch_nbr AND "
                     "hosp_acct_id = SL.hosp_acct_id)\n"
                   : ", ''\n";
    q += "FROM System_log SL\n"
         "WHERE date_timestamp >= '" +
         day + " 12:00am' AND\n      date_timestamp <= '" + day + " 11:59:59pm'\n";
    if (type == 0)
        q += "AND (type = 0)\n";
    else if (type != -1)
        q += "AND (type = " + std::to_string(type) + " OR flag1 = " + std::to_string(type) + ")\n";
    q += std::string("ORDER BY date_timestamp ") + (descending ? "DESC" : "ASC");
    return q;
}

bool clsLogDay::Load(const std::string& day, int type, bool descending) {
    m_rows.clear();
    m_type = type;
    auto& s = foundation::DatabaseSession::instance();
    s.SQLStatement = DayQuery(day, type, descending);
    if (s.ExecSQL() != 1)
        return false;
    while (s.FetchRow() == 1) {
        LogRow r;
        r.time = TwelveHourTime(s.GetColumnText(1, 1));
        r.severity = static_cast<int>(s.GetColumnLong(2));
        r.type = static_cast<int>(s.GetColumnLong(3));
        r.userId = s.GetColumnLong(4);
        r.accountName = s.GetColumnText(5, 1);
        r.userName = ShownUserName(s.GetColumnText(6, 1));
        r.eventNumber = s.GetColumnLong(7);
        r.accountId = s.GetColumnLong(8);
        r.scheduleId = s.GetColumnLong(9);
        r.batchNumber = s.GetColumnLong(10);
        r.flag1 = s.GetColumnLong(11);
        for (int i = 0; i < 5; ++i)
            r.messages[static_cast<size_t>(i)] = s.GetColumnText(12 + i, 1);
        r.batchName = s.GetColumnText(17, 1);
        m_rows.push_back(std::move(r));
    }
    return true;
}

std::vector<LogLine> clsLogDay::Lines(const LogFilter& filter) const {
    const std::string needle = foundation::upperText(filter.text);
    std::vector<LogLine> lines;
    lines.reserve(m_rows.size());
    for (size_t i = 0; i < m_rows.size(); ++i) {
        const LogRow& r = m_rows[i];
        if ((filter.account != -1 && r.accountId != filter.account) || (filter.user != -1 && r.userId != filter.user) ||
            (filter.batch != -1 && r.batchNumber != filter.batch) || !rowMatches(r, needle))
            continue;
        bool first = true;
        for (size_t m = 0; m < r.messages.size(); ++m) {
            if (r.messages[m].empty())
                continue;
            lines.push_back({static_cast<std::uint32_t>(i), static_cast<std::uint8_t>(m), first});
            first = false;
        }
    }
    return lines;
}

void clsLogDay::Reverse() {
    std::reverse(m_rows.begin(), m_rows.end());
}

} // namespace systemlog
