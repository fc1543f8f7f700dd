#include "clsPhysicianSummaryRecords.h"

#include "DatabaseSession.h"
#include "MessageService.h"
#include "Numbers.h"

#include <cstring>

namespace physicians {

using foundation::DatabaseSession;

clsPhysicianSummaryRecord& clsPhysicianSummaryRecords::Add(const clsPhysicianSummaryRecord& record) {
    const std::string key = record.MyKey();
    if (auto it = m_index.find(key); it != m_index.end())
        return m_records[it->second] = record;
    m_index.emplace(key, m_records.size());
    m_records.push_back(record);
    return m_records.back();
}

void clsPhysicianSummaryRecords::Remove(const std::string& key) {
    auto it = m_index.find(key);
    if (it == m_index.end())
        return;
    m_records.erase(m_records.begin() + static_cast<std::ptrdiff_t>(it->second));
    m_index.clear();
    for (size_t i = 0; i < m_records.size(); ++i)
        m_index.emplace(m_records[i].MyKey(), i);
}

void clsPhysicianSummaryRecords::RemoveAll() {
    m_records.clear();
    m_index.clear();
    m_deleted = 0;
}

clsPhysicianSummaryRecord* clsPhysicianSummaryRecords::Item(const std::string& key) {
    auto it = m_index.find(key);
    return it == m_index.end() ? nullptr : &m_records[it->second];
}

const clsPhysicianSummaryRecord* clsPhysicianSummaryRecords::Item(const std::string& key) const {
    auto it = m_index.find(key);
    return it == m_index.end() ? nullptr : &m_records[it->second];
}

std::string PhysicianListQuery(long account, HiddenFilter hidden, bool detailed) {
    const std::string acct = std::to_string(account);
    std::string sql = "SELECT PP.physician_id, PP.first_name, PP.last_name, PP.title_1, PP.flag2, PP.partition_id";
    if (detailed) {
        sql += ", \r\n"
               "       PA.dictation_id, PA.mis_nbr_1, PA.mis_nbr_2, \r\n"
               "       PA.fax_nbr_1, PA.group_affiliation, PA.address_1, \r\n"
               "       PA.elect_signature , PA.batch_enabled, PA.fax_enabled_1, PA.email_enabled, PA.string1, "
               "PP.flag3,\r\n"
               "       dvi_id = (SELECT MIN(source_physician_id) FROM Physician_external_ids PEI "
               "WHERE PEI.physician_id = PP.physician_id AND PEI.source_type = 2),\r\n"
               "       dvi_count = (SELECT COUNT(*) FROM Physician_external_ids PEI "
               "WHERE PEI.physician_id = PP.physician_id AND PEI.source_type = 2),\r\n"
               "       speech_rec_enabled = (SELECT MAX(PAE.speech_rec_enabled) FROM Physician_attributes_extended PAE "
               "WHERE PAE.physician_id = PP.physician_id AND PAE.hosp_acct_id = PA.hosp_acct_id),\r\n"
               "       speech_rec_eval_mode = (SELECT MAX(PAE.flag2) FROM Physician_attributes_extended PAE "
               "WHERE PAE.physician_id = PP.physician_id AND PAE.hosp_acct_id = PA.hosp_acct_id),\r\n"
               "       user_name = (SELECT SUB.user_name FROM System_user_bindery SUB WHERE SUB.user_id = PP.flag2 "
               "AND PP.flag2 > 0)\r\n"
               "FROM   Physician_profile PP, Physician_membership PM, Physician_attributes PA\r\n";
    } else {
        sql += " \r\nFROM   Physician_profile PP, Physician_membership PM\r\n";
    }
    sql += "WHERE  \r\n"
           "       PP.is_deleted = 0 AND PP.physician_id > -1 AND\r\n"
           "       PP.physician_id = PM.physician_id AND\r\n";
    if (detailed)
        sql += "       PM.physician_id = PA.physician_id AND\r\n";
    sql += "       (PM.hosp_acct_id = " + acct + " OR PM.hosp_acct_id = -1) AND\r\n";
    if (detailed)
        sql += "       (PA.hosp_acct_id = " + acct +
               " OR (PA.hosp_acct_id = -1 AND NOT EXISTS (SELECT * FROM Physician_attributes X "
               "WHERE X.physician_id = PP.physician_id AND X.hosp_acct_id = " +
               acct + "))) AND\r\n";
    if (hidden == HiddenFilter::VisibleOnly)
        sql += "       PP.flag3 = 0 AND\r\n";
    else if (hidden == HiddenFilter::HiddenOnly)
        sql += "       PP.flag3 = 1 AND\r\n";
    sql += "       1 = 1\r\n"
           "ORDER BY LTRIM(PP.last_name) + LTRIM(PP.first_name)";
    return sql;
}

bool RetrievePhysicians(long account, HiddenFilter hidden, clsPhysicianSummaryRecords& list, bool detailed) {
    list.RemoveAll();
    auto& s = DatabaseSession::instance();
    s.SQLStatement = PhysicianListQuery(account, hidden, detailed);
    auto num = [&s](int c) { return static_cast<long>(platform::parseNumber(s.GetColumnText(c, 1)).value_or(0)); };
    if (s.ExecSQL() != 1) {
        platform::MsgBox("Unable to retrieve the list of physicians!  Error: " + s.LastSQLError,
                         platform::MsgButtons::OK, platform::MsgIcon::Exclamation, "Physician Profile");
        return false;
    }
    while (s.FetchRow() == 1) {
        clsPhysicianSummaryRecord r;
        r.physician_id = num(1);
        r.first_name = s.GetColumnText(2, 1);
        r.last_name = s.GetColumnText(3, 1);
        r.title_1 = s.GetColumnText(4, 1);
        r.paxlet_user_id = num(5);
        r.Partition_ID = num(6);
        r.hosp_acct_id = account;
        if (detailed) {
            r.dictation_id = s.GetColumnText(7, 1);
            r.mis_nbr_1 = s.GetColumnText(8, 1);
            r.mis_nbr_2 = s.GetColumnText(9, 1);
            r.fax_nbr_1 = s.GetColumnText(10, 1);
            r.group_affiliation = s.GetColumnText(11, 1);
            r.address_1 = s.GetColumnText(12, 1);
            r.elect_signature = static_cast<int>(num(13));
            r.batch_enabled = static_cast<int>(num(14));
            r.fax_enabled_1 = static_cast<int>(num(15));
            r.email_enabled = static_cast<int>(num(16));
            r.string1 = s.GetColumnText(17, 1);
            r.is_hidden = static_cast<int>(num(18));
            r.dvi_id = s.GetColumnText(19, 1);
            r.dvi_count = static_cast<int>(num(20));
            r.speech_rec_enabled = static_cast<int>(num(21));
            r.speech_rec_eval_mode = static_cast<int>(num(22));
            r.paxlet_user_name = s.GetColumnText(23, 1);
        }
        list.Add(r);
    }
    return true;
}

namespace {
size_t letterIndex(char letter) {
    const char* p = std::strchr(kStatusLetters, letter);
    return p && letter ? static_cast<size_t>(p - kStatusLetters) : 7;
}
} // namespace

void StatusFilter::Set(char letter, StatusChoice choice) {
    if (size_t i = letterIndex(letter); i < m_choice.size())
        m_choice[i] = choice;
}

StatusChoice StatusFilter::Get(char letter) const {
    const size_t i = letterIndex(letter);
    return i < m_choice.size() ? m_choice[i] : StatusChoice::Include;
}

bool StatusFilter::Passes(const clsPhysicianSummaryRecord& r) const {
    for (size_t i = 0; i < m_choice.size(); ++i) {
        const bool has = r.HasStatus(kStatusLetters[i]);
        if ((m_choice[i] == StatusChoice::Only && !has) || (m_choice[i] == StatusChoice::Exclude && has))
            return false;
    }
    return true;
}

std::string StatusFilter::Text() const {
    std::string out;
    for (size_t i = 0; i < m_choice.size(); ++i) {
        if (m_choice[i] == StatusChoice::Exclude)
            continue;
        out += (out.empty() ? "" : ", ") + std::string(1, kStatusLetters[i]);
        if (m_choice[i] == StatusChoice::Only)
            out += " only";
    }
    return out;
}

} // namespace physicians
