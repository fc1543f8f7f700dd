#include "clsVVSysConDefs.h"

#include "DatabaseSession.h"
#include "LoginComponent.h"
#include "VVConnectionText.h"

#include <algorithm>

namespace voicesystems {

using foundation::DatabaseSession;

namespace {

bool sameName(const std::string& a, const std::string& b) {
    // The database compares names without regard to case or trailing blanks.
    auto norm = [](std::string s) {
        s.erase(s.find_last_not_of(' ') + 1);
        std::transform(s.begin(), s.end(), s.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        return s;
    };
    return norm(a) == norm(b);
}

std::string unscrambled(const std::string& value, bool scrambled) {
    return scrambled && !value.empty() ? suite::LoginComponent::DecryptedPassword(value) : value;
}

} // namespace

std::string clsVVSysConDefs::LoadStatement(int id) {
    return "SELECT system_id, system_name, connection_type, \r\n"
           "server_name, database_name, user_name, password_name, \r\n"
           "connection_string, admin_user_id, admin_facility, \r\n"
           "admin_password, flag1, flag2, flag3, flag4, \r\n"
           "string1, string2, string3, date1\r\n"
           "FROM voice_systems\r\n" +
           (id >= 0 ? "WHERE system_id = " + std::to_string(id) + "\r\n" : std::string()) + "ORDER BY system_id";
}

void clsVVSysConDefs::adopt(clsVVSysConDef& def) {
    def.NameTaken = [this](const std::string& name, const clsVVSysConDef* self) {
        for (const auto& d : m_items)
            if (d.get() != self && !d->IsDeleted() && sameName(d->SystemName(), name))
                return true;
        return false;
    };
    def.CheckRules();
}

bool clsVVSysConDefs::LoadById(int id) {
    m_items.clear();
    auto& s = DatabaseSession::instance();
    const bool scrambled = s.VersionAtLeast(7.57);
    s.SQLStatement = LoadStatement(id);
    if (s.ExecSQL() != 1)
        return false;
    while (s.FetchRow() == 1) {
        clsVVSysConDef::Values v;
        v.systemId = static_cast<int>(s.GetColumnLong(1));
        v.systemName = s.GetColumnText(2, 1);
        v.connectionType = static_cast<int>(s.GetColumnLong(3));
        v.serverName = s.GetColumnText(4, 1);
        v.databaseName = s.GetColumnText(5, 1);
        v.userName = s.GetColumnText(6, 1);
        v.passwordName = unscrambled(s.GetColumnText(7, 1), scrambled);
        v.connectionString = NormaliseConnectionString(s.GetColumnText(8, 1));
        const std::string csPassword = ConnectionStringValue(v.connectionString, "password");
        if (scrambled && !csPassword.empty())
            v.connectionString = ReplacePasswordValue(v.connectionString, unscrambled(csPassword, true));
        v.adminUserId = s.GetColumnLong(9);
        v.adminFacility = s.GetColumnLong(10);
        v.adminPassword = unscrambled(s.GetColumnText(11, 1), scrambled);
        for (int f = 0; f < 4; ++f)
            v.flags[f] = static_cast<int>(s.GetColumnLong(12 + f));
        m_items.push_back(std::make_unique<clsVVSysConDef>(clsVVSysConDef::FromRow(v)));
    }
    for (auto& d : m_items)
        adopt(*d);
    return true;
}

std::vector<clsVVSysConDef*> clsVVSysConDefs::NewEnum() {
    std::vector<clsVVSysConDef*> out;
    for (auto& d : m_items)
        if (!d->IsDeleted())
            out.push_back(d.get());
    return out;
}

int clsVVSysConDefs::Count() const {
    return static_cast<int>(
        std::count_if(m_items.begin(), m_items.end(), [](const auto& d) { return !d->IsDeleted(); }));
}

clsVVSysConDef* clsVVSysConDefs::Item(int index) {
    auto live = NewEnum();
    return index >= 1 && index <= static_cast<int>(live.size()) ? live[static_cast<size_t>(index - 1)] : nullptr;
}

clsVVSysConDef* clsVVSysConDefs::FindById(int id) {
    for (auto& d : m_items)
        if (!d->IsDeleted() && d->SystemId() == id)
            return d.get();
    return nullptr;
}

clsVVSysConDef* clsVVSysConDefs::Add() {
    // system_id is a byte: the next id above every one in use, including rows still to be deleted.
    int next = 1;
    for (const auto& d : m_items)
        next = std::max(next, d->SystemId() + 1);
    if (next > 255)
        return nullptr;
    auto def = std::make_unique<clsVVSysConDef>();
    def->SetSystemId(next);
    adopt(*def);
    m_items.push_back(std::move(def));
    return m_items.back().get();
}

void clsVVSysConDefs::Remove(int index) {
    RemoveObj(Item(index));
}

void clsVVSysConDefs::RemoveById(int id) {
    RemoveObj(FindById(id));
}

void clsVVSysConDefs::RemoveObj(const clsVVSysConDef* def) {
    for (auto it = m_items.begin(); it != m_items.end(); ++it)
        if (it->get() == def) {
            if ((*it)->IsNew())
                m_items.erase(it);
            else
                (*it)->Delete();
            return;
        }
}

void clsVVSysConDefs::BeginEdit() {
    for (auto& d : m_items)
        d->BeginEdit();
}

void clsVVSysConDefs::CancelEdit() {
    std::erase_if(m_items, [](const auto& d) { return d->IsNew(); });
    for (auto& d : m_items)
        d->CancelEdit();
}

bool clsVVSysConDefs::ApplyEdit() {
    // Deletions first, so a freed name can be taken by a new definition in the same save.
    for (bool deletions : {true, false})
        for (auto& d : m_items)
            if (d->IsDeleted() == deletions && !d->ApplyEdit())
                return false;
    std::erase_if(m_items, [](const auto& d) { return d->IsDeleted(); });
    return true;
}

void clsVVSysConDefs::Delete() {
    for (auto& d : m_items)
        d->Delete();
}

} // namespace voicesystems
