#include "OutputQuery.h"

#include "DatabaseSession.h"
#include "Numbers.h"
#include "Text.h"
#include "Utf8.h"

#include <cstdio>
#include <optional>
#include <tuple>

namespace outputlog {

namespace {

constexpr const char* kBreak = "\r\n";
// The longest criterion text kept: the widest column a report field names.
constexpr size_t kCriterionLimit = 255;

std::string quote(const std::string& text) {
    return foundation::DatabaseSession::QuoteSQL(text);
}

std::string idList(const std::vector<long>& ids) {
    std::string list;
    for (long id : ids)
        list += (list.empty() ? "" : ",") + std::to_string(id);
    return list;
}

// The columns of a row of the list. Document-only filters list documents without an output; their
// output columns are empty.
std::string selectList(bool documentsOnly) {
    if (!documentsOnly)
        return "SELECT oq.output_identifier, oq.document_id, oq.hosp_acct_id, oq.output_type, oq.flag1, "
               "oq.output_time, oq.known_status, oq.error_code, oq.first_name, oq.last_name, "
               "oq.batch_identifier, oq.batch_type, oq.batch_nbr, oq.group_nbr, oq.print_queue, "
               "oq.phys_print_queue, oq.time_to_send, oq.fax_nbr, oq.fax_filename, oq.sent_by_name, "
               "oq.record_timestamp, oq.output_create_timestamp, oq.copy_flag, oq.flag3, dd.create_date,\r\n"
               "account_name = (SELECT hosp_acct_name FROM Account_info AI WHERE AI.hosp_acct_id =oq.hosp_acct_id),\r\n"
               "batch_name = (SELECT MAX(batch_name) FROM Batch_cfg BC WHERE BC.hosp_acct_id = oq.hosp_acct_id AND "
               "BC.batch_nbr = oq.batch_nbr),\r\n"
               "group_name = (SELECT MAX(group_name) FROM Batch_groups_cfg BG WHERE BG.hosp_acct_id = "
               "oq.hosp_acct_id AND BG.batch_nbr = oq.batch_nbr AND BG.group_nbr = oq.group_nbr)";
    return "SELECT output_identifier = 0, dd.document_id, dd.hosp_acct_id, output_type = 0, flag1 = 0, "
           "output_time = NULL, known_status = 0, error_code = 0, first_name = dd.patient_first, "
           "last_name = dd.patient_last, batch_identifier = NULL, batch_type = NULL, batch_nbr = NULL, "
           "group_nbr = NULL, print_queue = NULL, phys_print_queue = NULL, time_to_send = NULL, fax_nbr = NULL, "
           "fax_filename = NULL, sent_by_name = NULL, record_timestamp = dd.orig_record_timestamp, "
           "output_create_timestamp = NULL, copy_flag = 0, flag3 = 0, dd.create_date,\r\n"
           "account_name = (SELECT hosp_acct_name FROM Account_info AI WHERE AI.hosp_acct_id =dd.hosp_acct_id),\r\n"
           "batch_name = NULL, group_name = NULL";
}

std::string filterCondition(OutputFilter filter) {
    switch (filter) {
    case OutputFilter::OnlinePrinted:
        return "(oq.output_type = 3 OR oq.output_type = 4)";
    case OutputFilter::BatchOutputs:
        return "oq.output_type = 1";
    case OutputFilter::FaxOutputs:
        return "(oq.output_type = 16 OR (oq.output_type >= 5 AND oq.output_type <= 10))";
    case OutputFilter::FaxErrors:
        return "(oq.known_status = 34 OR oq.known_status = 41 OR (oq.known_status >= 36 AND oq.known_status <= 39))";
    case OutputFilter::ExternalOutputs:
        return "(oq.output_type >= 200 AND oq.output_type <= 207)";
    case OutputFilter::ExternalErrors:
        return "(oq.known_status IN (82, 85, 88) OR (oq.known_status >= 186 AND oq.known_status <= 198))";
    case OutputFilter::EmailOutputs:
        return "oq.output_type = 14";
    case OutputFilter::AllFailures:
        return "oq.known_status NOT IN (10, 11, 13, 14, 15, 16, 17, 20, 21, 22, 30, 31, 32, 33, 35, 40, 50, 51, 53, "
               "81, 83, 84)";
    default:
        return {};
    }
}

std::string between(const std::string& column, const std::string& from, const std::string& to) {
    return column + " >= '" + from + "' AND " + column + " <= '" + to + "'";
}

std::string dateCondition(const OutputQueryOptions& o, bool documentsOnly) {
    const std::string from = UsDateTime(o.m_dtmStart), to = UsDateTime(o.m_dtmEnd);
    switch (o.m_enuDateType) {
    case DateType::Dictated:
        return between("dd.create_date", from, to);
    case DateType::Transcribed:
        return between("dd.transcribed_date", from, to);
    case DateType::Output:
        if (documentsOnly)
            return between("dd.create_date", from, to);
        return "((" + between("oq.output_time", from, to) + ") OR (oq.output_time IS NULL AND " +
               between("oq.output_create_timestamp", from, to) + "))";
    }
    return {};
}

// The account, report type, date and criteria conditions every query shares, each starting " AND "
// except the first.
std::string commonConditions(const OutputQueryOptions& o, bool documentsOnly) {
    std::string where;
    if (o.m_lngAccount >= 0)
        where = "dd.hosp_acct_id = " + std::to_string(o.m_lngAccount);
    else if (o.m_colPartitionAccounts.empty())
        where = "1 = 0"; // a partition without accounts sees no outputs
    else
        where = "dd.hosp_acct_id IN (" + idList(o.m_colPartitionAccounts) + ")";
    if (o.m_lngReportType >= 0)
        where += " AND dd.report_type_nbr = " + std::to_string(o.m_lngReportType);
    where += std::string(kBreak) + "AND " + dateCondition(o, documentsOnly);
    for (const auto& c : o.m_colCriteria)
        if (!c.m_strColumn.empty())
            where += CriterionCondition(c);
    return where;
}

std::optional<long long> wholeNumber(const std::string& text) {
    std::string t = foundation::trimText(text);
    bool negative = false;
    if (!t.empty() && t.front() == '-') {
        negative = true;
        t.erase(0, 1);
    }
    const auto digits = platform::parseDigits(t);
    if (!digits || *digits > 2147483647LL)
        return std::nullopt;
    return negative ? -*digits : *digits;
}

} // namespace

bool LogDateTime::operator<(const LogDateTime& o) const {
    return std::tie(year, month, day, hour, minute) < std::tie(o.year, o.month, o.day, o.hour, o.minute);
}

std::string UsDateTime(const LogDateTime& w) {
    const int hour12 = w.hour % 12 == 0 ? 12 : w.hour % 12;
    char text[32];
    std::snprintf(text, sizeof text, "%02d/%02d/%04d %02d:%02d %s", w.month, w.day, w.year, hour12, w.minute,
                  w.hour < 12 ? "AM" : "PM");
    return text;
}

const std::vector<std::string>& OutputFilterNames() {
    static const std::vector<std::string> names = {
        "<All Output Types>",
        "Online Printed Outputs Only",
        "Batch Outputs Only",
        "Batch Originals - Unprocessed",
        "Fax Outputs Only",
        "Fax Errors Only",
        "External Outputs Only",
        "External Output Errors Only",
        "Email Outputs",
        "All Output Failures",
        "No Outputs",
    };
    return names;
}

std::string ReportTitle(OutputFilter filter) {
    static const char* const titles[] = {
        "Report Of All Output Types",
        "Report Of Online Printed Outputs Only",
        "Report Of Batch Outputs Only",
        "Report Of Batch Originals - Unprocessed",
        "Report Of Fax Outputs Only",
        "Report Of Fax Output Errors",
        "Report Of External Outputs Only",
        "Report Of External Output Errors Only",
        "Report of Email Outputs",
        "Report of All Failed Outputs",
        "Report of No Outputs",
    };
    return titles[static_cast<int>(filter)];
}

std::string DateTypeHeading(DateType type) {
    switch (type) {
    case DateType::Dictated:
        return "Dictated Date";
    case DateType::Transcribed:
        return "Transcribed Date";
    case DateType::Output:
        return "Output Create Time";
    }
    return {};
}

std::string CriterionCondition(const Criterion& c) {
    std::string text = platform::utf8Left(c.m_strText, kCriterionLimit);
    if (c.m_intFieldType == 7) {
        const auto number = wholeNumber(text);
        return " AND " + c.m_strColumn + " = " + std::to_string(number.value_or(0));
    }
    if (foundation::trimText(c.m_strCustomOperation) == "2") {
        std::string replaced;
        for (char ch : text)
            replaced += ch == '^' ? std::string(", ") : std::string(1, ch);
        text = platform::utf8Left(replaced, kCriterionLimit);
    }
    return " AND " + c.m_strColumn + " LIKE '" + quote(text) + "%'";
}

std::string CheckQuery(const OutputQueryOptions& o) {
    if (o.m_dtmEnd < o.m_dtmStart)
        return "The start date is later than the end date.";
    // A criterion line is used whole: a field with no text, or a text with no field, is half set up.
    for (const auto& c : o.m_colCriteria)
        if (c.m_strColumn.empty() || foundation::trimText(c.m_strText).empty())
            return "Please configure all outputs.";
    for (const auto& c : o.m_colCriteria)
        if (c.m_intFieldType == 7 && !wholeNumber(c.m_strText))
            return "The value for " + c.m_strFieldName + " must be a whole number.";
    return {};
}

std::string BuildOutputQuery(const OutputQueryOptions& o) {
    std::string sql = "SET ROWCOUNT " + std::to_string(o.m_intLimit) + kBreak;
    switch (o.m_enuFilter) {
    case OutputFilter::BatchOriginalsUnprocessed:
        sql += selectList(true) + kBreak + "FROM Document_demographics dd" + kBreak +
               "WHERE dd.orig_batch_flag = 1 AND NOT EXISTS (SELECT * FROM Output_queue oq WHERE oq.document_id = "
               "dd.document_id AND oq.record_timestamp = dd.orig_record_timestamp AND oq.copy_flag = 1) AND " +
               commonConditions(o, true) + kBreak + "ORDER BY dd.create_date DESC";
        return sql;
    case OutputFilter::NoOutputs: {
        std::string codes;
        for (int n : {6, 7, 8, 16, 17}) {
            char code[16];
            std::snprintf(code, sizeof code, "20%04d", n);
            codes += (codes.empty() ? "" : ", ") + std::string(code);
        }
        std::string select = selectList(true);
        select.replace(0, 6, "SELECT DISTINCT");
        sql += select + kBreak + "FROM Document_demographics dd" + kBreak +
               "LEFT JOIN System_log SL ON (dd.document_id = SL.document_id)" + kBreak +
               "WHERE SL.type = 20 AND dd.suspension_type = 0 AND " +
               "dd.document_id NOT IN (SELECT DISTINCT(document_id) FROM System_log WHERE type = 20 AND "
               "document_id > 0 AND error_code IN (" +
               codes + ")) AND " + commonConditions(o, true) + kBreak + "ORDER BY dd.create_date DESC";
        return sql;
    }
    default:
        break;
    }
    sql += selectList(false) + kBreak +
           "FROM Document_demographics dd JOIN Output_queue oq ON dd.document_id = " + "oq.document_id" + kBreak +
           "WHERE " + commonConditions(o, false);
    const std::string condition = filterCondition(o.m_enuFilter);
    if (!condition.empty())
        sql += std::string(kBreak) + "AND " + condition;
    sql += std::string(kBreak) + "ORDER BY oq.output_create_timestamp DESC";
    return sql;
}

} // namespace outputlog
