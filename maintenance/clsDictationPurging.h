#pragma once

#include <string>

namespace suite {
class LoginComponent;
}

namespace maintenance {

// One dictation purging criterion: after how many days a completed job's sound file is queued for
// purging, for the jobs of a source system, department and work types, or of an account and its
// report types. The fields follow the columns of Dictation_purge_criteria in order, because the
// table is read with SELECT * and written positionally.
class clsDictationPurging {
public:
    std::string m_source_department;
    std::string m_source_work_types;
    long m_hosp_acct_id = -1;
    std::string m_report_types;
    int m_date_type = 0; // 0 completed date, 1 dictated date
    int m_default_criteria = 0;
    long m_nbr_days = 7;
    int m_source_type = -1;
    long m_flag1 = 0, m_flag2 = 0, m_flag3 = 0, m_flag4 = 0;

    // The condition that selects this criterion's jobs, each part on its own line; "" when the
    // criterion restricts nothing.
    [[nodiscard]] std::string GetTypeClause() const;
    // Its line in the list; manyCriteria: the list holds two or more criteria.
    [[nodiscard]] std::string Description(bool manyCriteria, const suite::LoginComponent& accounts) const;
    // A source-based criterion names a department or work types; any other is account-based.
    [[nodiscard]] bool IsSourceBased() const { return !m_source_department.empty() || !m_source_work_types.empty(); }
    // Not the default, and from a source system the suite no longer has.
    [[nodiscard]] bool IsObsolete() const {
        return m_default_criteria == 0 && (m_source_type == 0 || m_source_type == 1);
    }
    [[nodiscard]] bool IsDefault() const { return m_default_criteria != 0; }

    // " from " and the source system's name for a description; "" for -1 and unknown codes.
    static std::string SourceText(int sourceType);
};

} // namespace maintenance
