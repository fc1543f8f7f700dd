#pragma once

#include <string>
#include <vector>

namespace outputlog {

// A moment of the date range as picked on the screen; it reaches SQL in US form.
struct LogDateTime {
    int year = 2000, month = 1, day = 1, hour = 0, minute = 0;
    [[nodiscard]] bool operator<(const LogDateTime& o) const;
};
// "MM/DD/YYYY hh:mm AM": the form SQL Server reads the same whatever the server's language.
std::string UsDateTime(const LogDateTime& when);

// The output type filter, in the order of its list.
enum class OutputFilter {
    All,
    OnlinePrinted,
    BatchOutputs,
    BatchOriginalsUnprocessed,
    FaxOutputs,
    FaxErrors,
    ExternalOutputs,
    ExternalErrors,
    EmailOutputs,
    AllFailures,
    NoOutputs,
};
const std::vector<std::string>& OutputFilterNames();
std::string ReportTitle(OutputFilter filter);

enum class DateType { Dictated, Transcribed, Output };
std::string DateTypeHeading(DateType type); // "Dictated Date", "Transcribed Date", "Output Create Time"

// The number of results: SET ROWCOUNT before the query.
inline constexpr int kAllRecords = 20000;

// One additional criterion: a report field and the text the user typed. A line with a text and no
// field is kept with an empty column so that the checks can refuse it.
struct Criterion {
    std::string m_strFieldName; // as listed
    std::string m_strColumn;    // the column, as the query names it ("dd.patient_last")
    int m_intFieldType = 0;     // 7: a number compared with "="
    std::string m_strCustomOperation;
    std::string m_strText;
};

struct OutputQueryOptions {
    long m_lngAccount = -1;                   // -1: every account of the user's partition
    std::vector<long> m_colPartitionAccounts; // the accounts the user may see
    long m_lngReportType = -1;                // -1: every report type
    OutputFilter m_enuFilter = OutputFilter::All;
    DateType m_enuDateType = DateType::Output;
    LogDateTime m_dtmStart, m_dtmEnd;
    int m_intLimit = 50; // 25, 50 or kAllRecords
    std::vector<Criterion> m_colCriteria;
};

// The condition a criterion adds, starting " AND ".
std::string CriterionCondition(const Criterion& criterion);
// The checks before a query is built: the date order, then every criterion line must have both its
// field and a text, then every criterion on a number field must hold a whole number. "" when the
// query may run.
std::string CheckQuery(const OutputQueryOptions& options);
// "SET ROWCOUNT n" and the SELECT; "SET ROWCOUNT 0" is sent after the rows are read.
std::string BuildOutputQuery(const OutputQueryOptions& options);

} // namespace outputlog
