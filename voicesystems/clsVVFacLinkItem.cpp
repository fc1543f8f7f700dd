#include "clsVVFacLinkItem.h"

#include "DatabaseSession.h"
#include "EventLog.h"
#include "VVLog.h"

namespace voicesystems {

using foundation::DatabaseSession;
using foundation::EventLog;

namespace {
const char* const kFacilityRule = "FacilityId";
const char* const kFacilityMessage = "The Facility field is not properly defined.";
} // namespace

clsVVFacLinkItem::clsVVFacLinkItem() {
    m_rules.BrokenRule = [this] {
        if (BrokenRule)
            BrokenRule();
    };
    m_rules.NoBrokenRules = [this] {
        if (NoBrokenRules)
            NoBrokenRules();
    };
    checkRules();
}

clsVVFacLinkItem clsVVFacLinkItem::FromRow(const Values& v) {
    clsVVFacLinkItem item;
    item.m_v = item.m_original = v;
    item.m_isNew = false;
    item.checkRules();
    return item;
}

void clsVVFacLinkItem::checkRules() {
    m_rules.RuleBroken(kFacilityRule, m_v.facilityId < 0);
}

void clsVVFacLinkItem::SetSystemId(int v) {
    m_v.systemId = v;
    m_isDirty = true;
}

void clsVVFacLinkItem::SetFacilityId(long v) {
    m_v.facilityId = v;
    m_isDirty = true;
    checkRules();
}

void clsVVFacLinkItem::SetHospAcctId(long v) {
    m_v.hospAcctId = v;
    m_isDirty = true;
}

void clsVVFacLinkItem::SetNameFormat(int v) {
    m_v.flags[0] = v;
    m_isDirty = true;
}

void clsVVFacLinkItem::BeginEdit() {
    m_saved = m_v;
    m_savedDirty = m_isDirty;
}

void clsVVFacLinkItem::CancelEdit() {
    if (m_saved) {
        m_v = *m_saved;
        m_isDirty = m_savedDirty;
        m_saved.reset();
    }
    m_isDeleted = false;
    checkRules();
}

std::string clsVVFacLinkItem::GetErrString() const {
    return VVErrString(m_rules.IsBroken(kFacilityRule) ? std::vector<std::string>{kFacilityMessage}
                                                       : std::vector<std::string>{});
}

std::string clsVVFacLinkItem::InsertStatement(const Values& v) {
    return "INSERT INTO voice_facility_links (system_id, facility, hosp_acct_id, flag1, flag2, flag3, flag4, "
           "string1, string2, string3, date1)\r\nVALUES(" +
           std::to_string(v.systemId) + ", " + std::to_string(v.facilityId) + ", " + std::to_string(v.hospAcctId) +
           ", " + std::to_string(v.flags[0]) + ", " + std::to_string(v.flags[1]) + ", " + std::to_string(v.flags[2]) +
           ", " + std::to_string(v.flags[3]) + ", NULL, NULL, NULL, NULL)";
}

std::string clsVVFacLinkItem::DeleteStatement(const Values& v) {
    return "DELETE FROM voice_facility_links WHERE system_id = " + std::to_string(v.systemId) +
           " AND facility = " + std::to_string(v.facilityId) + " AND hosp_acct_id = " + std::to_string(v.hospAcctId);
}

std::string clsVVFacLinkItem::SaveStatement() const {
    if (m_isDeleted)
        return m_isNew ? "" : DeleteStatement(m_original);
    if (m_isNew)
        return InsertStatement(m_v);
    if (!m_isDirty || m_v == m_original)
        return "";
    // The old link is deleted and written again (ApplyEdit sends it all or nothing). A link that
    // would take the key of another is refused before anything is deleted.
    const bool keyChanged = m_v.systemId != m_original.systemId || m_v.facilityId != m_original.facilityId ||
                            m_v.hospAcctId != m_original.hospAcctId;
    const std::string replace = "BEGIN\r\n" + DeleteStatement(m_original) + "\r\n" + InsertStatement(m_v) + "\r\nEND";
    return (keyChanged ? "IF EXISTS (SELECT system_id FROM voice_facility_links WHERE system_id = " +
                             std::to_string(m_v.systemId) + " AND facility = " + std::to_string(m_v.facilityId) +
                             " AND hosp_acct_id = " + std::to_string(m_v.hospAcctId) +
                             ")\r\nRAISERROR ('A Veltra Voice link with these settings has already been defined.', "
                             "16, 1)\r\nELSE\r\n"
                       : std::string()) +
           replace;
}

bool clsVVFacLinkItem::ApplyEdit() {
    m_saved.reset();
    const std::string sql = SaveStatement();
    if (sql.empty())
        return true;
    auto& s = DatabaseSession::instance();
    s.SQLStatement = sql;
    const bool replaces = !m_isDeleted && !m_isNew;
    if (replaces ? s.ExecSQLAllOrNothing() != 1 : (s.ExecSQL() != 1 || !s.FlushResults()))
        return false;
    const Values& logged = m_isDeleted ? m_original : m_v;
    const char* action = m_isDeleted ? " deleted by user " : m_isNew ? " added by user " : " modified by user ";
    VVLog(2, 2, 20050, logged.hospAcctId,
          "Veltra Voice System " + std::to_string(logged.systemId) + " for Facility " +
              std::to_string(logged.facilityId) + " and Account " + std::to_string(logged.hospAcctId) + action +
              EventLog::context().userName + ".");
    m_original = m_v;
    m_isNew = false;
    m_isDirty = false;
    return true;
}

} // namespace voicesystems
