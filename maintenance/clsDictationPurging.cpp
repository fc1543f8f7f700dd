#include "clsDictationPurging.h"

#include "DatabaseSession.h"
#include "LoginComponent.h"

namespace maintenance {

namespace {
constexpr const char* kLineBreak = "\r\n";

std::string dayWord(long days) {
    return days == 1 ? "day" : "days";
}
} // namespace

std::string clsDictationPurging::SourceText(int sourceType) {
    switch (sourceType) {
    case 0:
        return " from Veltra Text";
    case 1:
        return " from SpeechMagic";
    case 2:
        return " from DVI";
    case 4:
        return " from Veltra Dictate";
    case 5:
        return " from Veltra Download";
    case 6:
        return " from Veltra Voice";
    case 7:
        return " from Veltra Expert SR";
    case 9:
        return " from Veltra Expert";
    case 10:
        return " from Veltra Voyager";
    default:
        return "";
    }
}

std::string clsDictationPurging::GetTypeClause() const {
    std::string parts;
    auto add = [&parts](const std::string& condition) {
        if (!parts.empty())
            parts += " AND ";
        parts += condition + kLineBreak;
    };
    if (m_source_type != -1)
        add("source_type = " + std::to_string(m_source_type));
    if (IsSourceBased()) {
        if (!m_source_department.empty())
            add("source_department = '" + foundation::DatabaseSession::QuoteSQL(m_source_department) + "'");
        if (!m_source_work_types.empty())
            add("source_work_type IN (" + m_source_work_types + ")");
    } else if (m_hosp_acct_id != -1) {
        add("initial_hosp_acct_id = " + std::to_string(m_hosp_acct_id));
        if (!m_report_types.empty())
            add("initial_report_type_nbr IN (" + m_report_types + ")");
    }
    if (parts.empty())
        return "";
    return "(" + parts + ")" + kLineBreak;
}

std::string clsDictationPurging::Description(bool manyCriteria, const suite::LoginComponent& accounts) const {
    const std::string purge = "Purge after " + std::to_string(m_nbr_days) + " " + dayWord(m_nbr_days);
    if (IsDefault())
        return (manyCriteria ? "DEFAULT - For ALL other jobs:  " : "DEFAULT - For ALL jobs:  ") + purge;
    std::string text = purge + " with";
    if (IsSourceBased()) {
        if (!m_source_department.empty())
            text += " department equal to " + m_source_department;
        if (!m_source_work_types.empty())
            text += " work type equal to " + m_source_work_types;
    } else {
        if (m_hosp_acct_id == -1) {
            text += " any account";
        } else {
            const int index = accounts.GetAcctIndex(m_hosp_acct_id);
            text += " account equal to Account " + (index > 0 ? accounts.HospAccountAt(index).hosp_acct_name : "");
        }
        if (!m_report_types.empty())
            text += " report types equal to " + m_report_types;
    }
    return text + SourceText(m_source_type);
}

} // namespace maintenance
