#include "clsVVFacLinkItems.h"

#include "DatabaseSession.h"

#include <algorithm>

namespace voicesystems {

using foundation::DatabaseSession;

std::string clsVVFacLinkItems::LoadStatement() {
    return "SELECT system_id, \r\nfacility, hosp_acct_id, \r\nflag1, flag2, flag3, flag4, \r\n"
           "string1, string2, string3, date1\r\nFROM voice_facility_links\r\nORDER BY system_id";
}

bool clsVVFacLinkItems::Load() {
    m_items.clear();
    auto& s = DatabaseSession::instance();
    s.SQLStatement = LoadStatement();
    if (s.ExecSQL() != 1)
        return false;
    while (s.FetchRow() == 1) {
        clsVVFacLinkItem::Values v;
        v.systemId = static_cast<int>(s.GetColumnLong(1));
        v.facilityId = s.GetColumnLong(2);
        v.hospAcctId = s.GetColumnLong(3);
        for (int f = 0; f < 4; ++f)
            v.flags[f] = static_cast<int>(s.GetColumnLong(4 + f));
        m_items.push_back(std::make_unique<clsVVFacLinkItem>(clsVVFacLinkItem::FromRow(v)));
    }
    return true;
}

int clsVVFacLinkItems::Count() const {
    return static_cast<int>(
        std::count_if(m_items.begin(), m_items.end(), [](const auto& i) { return !i->IsDeleted(); }));
}

std::vector<clsVVFacLinkItem*> clsVVFacLinkItems::NewEnum() {
    std::vector<clsVVFacLinkItem*> out;
    for (auto& i : m_items)
        if (!i->IsDeleted())
            out.push_back(i.get());
    return out;
}

clsVVFacLinkItem* clsVVFacLinkItems::Item(int index) {
    auto live = NewEnum();
    return index >= 1 && index <= static_cast<int>(live.size()) ? live[static_cast<size_t>(index - 1)] : nullptr;
}

clsVVFacLinkItem* clsVVFacLinkItems::Add() {
    m_items.push_back(std::make_unique<clsVVFacLinkItem>());
    return m_items.back().get();
}

void clsVVFacLinkItems::Remove(const clsVVFacLinkItem* item) {
    for (auto it = m_items.begin(); it != m_items.end(); ++it)
        if (it->get() == item) {
            if ((*it)->IsNew())
                m_items.erase(it);
            else
                (*it)->Delete();
            return;
        }
}

void clsVVFacLinkItems::BeginEdit() {
    for (auto& i : m_items)
        i->BeginEdit();
}

void clsVVFacLinkItems::CancelEdit() {
    std::erase_if(m_items, [](const auto& i) { return i->IsNew(); });
    for (auto& i : m_items)
        i->CancelEdit();
}

bool clsVVFacLinkItems::ApplyEdit() {
    // Deletions first: a link deleted and defined again in one session is written back in order.
    for (bool deletions : {true, false})
        for (auto& i : m_items)
            if (i->IsDeleted() == deletions && !i->ApplyEdit())
                return false;
    std::erase_if(m_items, [](const auto& i) { return i->IsDeleted(); });
    return true;
}

void clsVVFacLinkItems::Delete() {
    for (auto& i : m_items)
        i->Delete();
}

bool clsVVFacLinkItems::SystemLinkedToAnyFacility(int systemId) const {
    return std::any_of(m_items.begin(), m_items.end(),
                       [&](const auto& i) { return !i->IsDeleted() && i->SystemId() == systemId; });
}

bool clsVVFacLinkItems::ContainsMe(const clsVVFacLinkItem& item) const {
    return std::any_of(m_items.begin(), m_items.end(), [&](const auto& i) {
        return i.get() != &item && !i->IsDeleted() && i->SystemId() == item.SystemId() &&
               i->FacilityId() == item.FacilityId() && i->HospAcctId() == item.HospAcctId();
    });
}

} // namespace voicesystems
