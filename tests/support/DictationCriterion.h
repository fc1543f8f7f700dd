#pragma once

#include "clsDictationPurging.h"

namespace kdtest {

// A dictation purging criterion from its distinguishing fields; the rest keep the record's defaults.
inline maintenance::clsDictationPurging criterion(int source, const char* dept, const char* types, long account,
                                                  const char* reports, long days, int isDefault = 0) {
    maintenance::clsDictationPurging c;
    c.m_source_type = source;
    c.m_source_department = dept;
    c.m_source_work_types = types;
    c.m_hosp_acct_id = account;
    c.m_report_types = reports;
    c.m_nbr_days = days;
    c.m_default_criteria = isDefault;
    return c;
}

} // namespace kdtest
