#include "SpeechContexts.h"

#include "DatabaseSession.h"

namespace speech {

bool LoadDictationContexts(std::vector<clsSMContext>& out) {
    auto& s = foundation::DatabaseSession::instance();
    out.clear();
    s.SQLStatement =
        "SELECT context_id, context_description, context_name\r\nFROM Dictation_contexts WHERE is_deleted = 0";
    if (s.ExecSQL() != 1)
        return false;
    while (s.FetchRow() == 1) {
        clsSMContext c;
        c.m_lngContextId = s.GetColumnLong(1);
        c.m_strContextDescription = s.GetColumnText(2, 1);
        c.m_strConTextName = s.GetColumnText(3, 1);
        out.push_back(std::move(c));
    }
    s.CloseStatement();
    return true;
}

bool LoadSpeechUserHolders(std::map<std::string, std::string>& out) {
    auto& s = foundation::DatabaseSession::instance();
    out.clear();
    s.SQLStatement = "SELECT PEI.source_physician_id, PP.last_name, PP.first_name\r\n"
                     "FROM Physician_external_ids PEI, Physician_profile PP\r\n"
                     "WHERE PEI.source_type = 1 AND PEI.physician_id = PP.physician_id AND PP.is_deleted = 0";
    if (s.ExecSQL() != 1)
        return false;
    while (s.FetchRow() == 1) {
        const std::string last = s.GetColumnText(2, 1);
        const std::string first = s.GetColumnText(3, 1);
        out.emplace(s.GetColumnText(1, 1), first.empty() ? last : last + ", " + first);
    }
    s.CloseStatement();
    return true;
}

} // namespace speech
