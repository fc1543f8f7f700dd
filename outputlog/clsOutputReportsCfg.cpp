#include "clsOutputReportsCfg.h"

#include "DatabaseSession.h"
#include "MessageService.h"
#include "Numbers.h"

#include <cstdio>

namespace outputlog {

using foundation::DatabaseSession;

namespace {

constexpr const char* kAccessError = "Error encountered accessing the Output_reports_cfg database table.";

void accessError() {
    platform::MsgBox(kAccessError, platform::MsgButtons::OK, platform::MsgIcon::Exclamation, "Error");
}

// "YYYY-MM-DD HH:MM:SS.fff" as the driver gives a datetime.
bool parseStored(const std::string& text, LogDateTime& out) {
    int y, mo, d, h, mi;
    if (std::sscanf(text.c_str(), "%d-%d-%d %d:%d", &y, &mo, &d, &h, &mi) != 5)
        return false;
    out = {y, mo, d, h, mi};
    return true;
}

std::string storedDate(const LogDateTime& w) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:00", w.year, w.month, w.day, w.hour, w.minute);
    return text;
}

} // namespace

bool clsOutputReportsCfg::Read(long userId) {
    auto& s = DatabaseSession::instance();
    s.SQLStatement = "SELECT * FROM Output_reports_cfg WHERE user_id = " + std::to_string(userId);
    if (s.ExecSQL() != 1) {
        accessError();
        return false;
    }
    if (s.FetchRow() != 1)
        return false;
    m_lngAccount = s.GetColumnLong(2);
    m_lngReportType = s.GetColumnLong(3);
    m_intFilter = static_cast<int>(s.GetColumnLong(4));
    m_intDateType = static_cast<int>(s.GetColumnLong(5));
    m_intLimit = static_cast<int>(s.GetColumnLong(6));
    m_blnHasDates = parseStored(s.GetColumnText(8, 1), m_dtmStart) && parseStored(s.GetColumnText(9, 1), m_dtmEnd);
    m_colCriterionFields.clear();
    const std::string fields = s.GetColumnText(10, 1);
    s.CloseStatement();
    size_t start = 0;
    while (start < fields.size()) {
        size_t comma = fields.find(',', start);
        if (comma == std::string::npos)
            comma = fields.size();
        m_colCriterionFields.push_back(
            static_cast<long>(platform::parseDigits(fields.substr(start, comma - start)).value_or(0)));
        start = comma + 1;
    }
    return true;
}

std::string clsOutputReportsCfg::WriteStatement(long userId) const {
    std::string fields;
    for (long f : m_colCriterionFields)
        fields += (fields.empty() ? "" : ",") + std::to_string(f);
    const std::string id = std::to_string(userId);
    const auto date = [&](const LogDateTime& w) { return m_blnHasDates ? "'" + storedDate(w) + "'" : "NULL"; };
    return "DELETE Output_reports_cfg WHERE user_id = " + id + "\r\nINSERT Output_reports_cfg VALUES (" + id + ", " +
           std::to_string(m_lngAccount) + ", " + std::to_string(m_lngReportType) + ", " + std::to_string(m_intFilter) +
           ", " + std::to_string(m_intDateType) + ", " + std::to_string(m_intLimit) + ", 0, " + date(m_dtmStart) +
           ", " + date(m_dtmEnd) + ", '" + DatabaseSession::QuoteSQL(fields) + "')";
}

bool clsOutputReportsCfg::Write(long userId) const {
    auto& s = DatabaseSession::instance();
    s.SQLStatement = WriteStatement(userId);
    if (s.ExecSQLAllOrNothing() != 1) {
        accessError();
        return false;
    }
    s.CloseStatement();
    return true;
}

} // namespace outputlog
