#include "clsVVFacSysAssocs.h"

#include "DatabaseSession.h"
#include "EventLog.h"
#include "VVLog.h"

#include <algorithm>

namespace voicesystems {

using foundation::DatabaseSession;
using foundation::EventLog;

std::vector<clsVVFacSysAssoc*> clsVVFacSysAssocs::NewEnum() {
    std::vector<clsVVFacSysAssoc*> out;
    for (auto& a : m_items)
        out.push_back(a.get());
    return out;
}

clsVVFacSysAssoc* clsVVFacSysAssocs::Item(int index) {
    if (index < 1 || index > Count()) {
        m_error = kBadKey;
        return nullptr;
    }
    return m_items[static_cast<size_t>(index - 1)].get();
}

clsVVFacSysAssoc* clsVVFacSysAssocs::Item(const std::string& key) {
    for (auto& a : m_items)
        if (a->Key() == key)
            return a.get();
    m_error = kBadKey;
    return nullptr;
}

clsVVFacSysAssoc* clsVVFacSysAssocs::FindByIds(int systemId, long facility) {
    for (auto& a : m_items)
        if (a->SystemId == systemId && a->FacilityId == facility)
            return a.get();
    return nullptr;
}

bool clsVVFacSysAssocs::Remove(const std::string& key) {
    const auto before = m_items.size();
    std::erase_if(m_items, [&](const auto& a) { return a->Key() == key; });
    if (m_items.size() == before) {
        m_error = kBadKey;
        return false;
    }
    return true;
}

std::string clsVVFacSysAssocs::LoadStatement(const std::string& ids) {
    return "SELECT VS.system_id, VS.system_name, VF.facility, VF.hosp_acct_id, VF.flag1\r\n"
           "FROM Voice_systems VS, Voice_facility_links VF\r\n"
           "WHERE VS.system_id = VF.system_id\r\n"
           "AND VF.hosp_acct_id IN (" +
           ids + ")\r\nORDER BY VS.system_name, VF.facility";
}

bool clsVVFacSysAssocs::LoadByAccts(const std::string& ids) {
    RemoveAll();
    return AddByAccts(ids);
}

bool clsVVFacSysAssocs::AddByAccts(const std::string& ids) {
    // Only decimal ids reach the statement: the list is rebuilt from its numbers.
    std::string list;
    for (long id : ParseIdList(ids))
        list += (list.empty() ? "" : ",") + std::to_string(id);
    if (list.empty())
        return true;
    auto& s = DatabaseSession::instance();
    s.SQLStatement = LoadStatement(list);
    VVLog(0, 6, 20052, -1, "SQL to fetch Veltra Voice links by account: " + s.SQLStatement);
    s.SQLStatement = LoadStatement(list);
    if (s.ExecSQL() != 1)
        return false;
    while (s.FetchRow() == 1) {
        const int system = static_cast<int>(s.GetColumnLong(1));
        const long facility = s.GetColumnLong(3);
        clsVVFacSysAssoc* a = FindByIds(system, facility);
        if (!a) {
            m_items.push_back(std::make_unique<clsVVFacSysAssoc>());
            a = m_items.back().get();
            a->SystemId = system;
            a->SystemName = s.GetColumnText(2, 1);
            a->FacilityId = facility;
            a->NameFormat = static_cast<int>(s.GetColumnLong(5));
        }
        a->AddAcctId(s.GetColumnLong(4));
    }
    // Associations added later keep the collection's order by system name and facility.
    std::stable_sort(m_items.begin(), m_items.end(), [](const auto& x, const auto& y) {
        return x->SystemName != y->SystemName ? x->SystemName < y->SystemName : x->FacilityId < y->FacilityId;
    });
    return true;
}

} // namespace voicesystems
