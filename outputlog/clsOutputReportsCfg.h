#pragma once

#include "OutputQuery.h"

#include <string>
#include <vector>

namespace outputlog {

// One user's last choices on the output log, kept in Output_reports_cfg: account, report type,
// output type filter, date type, number of results, the date range and the report fields of the
// additional criteria (their numbers, comma-separated, in string1).
struct clsOutputReportsCfg {
    long m_lngAccount = -1;
    long m_lngReportType = -1;
    int m_intFilter = 0;
    int m_intDateType = 2;
    int m_intLimit = 50;
    LogDateTime m_dtmStart, m_dtmEnd;
    bool m_blnHasDates = false;
    std::vector<long> m_colCriterionFields; // batch field numbers, 0 for an empty criterion

    // false: nothing stored for the user (the defaults stay), or the read failed (after the message).
    bool Read(long userId);
    bool Write(long userId) const;
    [[nodiscard]] std::string WriteStatement(long userId) const;
};

} // namespace outputlog
