#include "clsSuspensionTypes.h"

#include "DatabaseSession.h"
#include "TypeEvents.h"

#include <algorithm>

namespace accounts {

using foundation::DatabaseSession;

namespace {

bool run(const std::string& sql) {
    auto& s = DatabaseSession::instance();
    s.SQLStatement = sql;
    if (s.ExecSQL() != 1)
        return false;
    s.FlushResults();
    return true;
}

std::string named(int type, const std::string& description) {
    return "Suspension type '" + description + "' (" + std::to_string(type) + ")";
}

} // namespace

bool clsSuspensionType::IsSystem() const {
    return suspension_type < clsSuspensionTypes::kFirstUserType;
}

std::string clsSuspensionTypes::ListQuery() {
    return "SELECT suspension_type, suspension_severity, suspension_description FROM Suspension_types WHERE "
           "hosp_acct_id = -1 ORDER BY suspension_type";
}

std::string clsSuspensionTypes::InsertStatement(int type, const std::string& description) {
    return "INSERT INTO Suspension_types\r\nSELECT hosp_acct_id, " + std::to_string(type) + ", 0, '" +
           DatabaseSession::QuoteSQL(description) + "'\r\nFROM Account_info";
}

std::string clsSuspensionTypes::UpdateStatement(int type, const std::string& description) {
    return "UPDATE Suspension_types\r\nSET suspension_description = '" + DatabaseSession::QuoteSQL(description) +
           "'\r\nWHERE suspension_type = " + std::to_string(type);
}

std::string clsSuspensionTypes::DeleteStatement(int type) {
    return "DELETE\r\nFROM Suspension_types\r\nWHERE suspension_type = " + std::to_string(type);
}

bool clsSuspensionTypes::Load() {
    m_types.clear();
    auto& s = DatabaseSession::instance();
    s.SQLStatement = ListQuery();
    if (s.ExecSQL() != 1)
        return false;
    while (s.FetchRow() == 1) {
        clsSuspensionType t;
        t.suspension_type = static_cast<int>(s.GetColumnLong(1));
        t.suspension_severity = static_cast<int>(s.GetColumnLong(2));
        t.suspension_description = s.GetColumnText(3, 1);
        m_types.push_back(std::move(t));
    }
    return true;
}

const clsSuspensionType* clsSuspensionTypes::Find(int type) const {
    auto it = std::find_if(m_types.begin(), m_types.end(),
                           [type](const clsSuspensionType& t) { return t.suspension_type == type; });
    return it == m_types.end() ? nullptr : &*it;
}

std::vector<int> clsSuspensionTypes::FreeNumbers(std::optional<int> own) const {
    std::vector<int> free;
    for (int n = kFirstUserType; n <= kLastType; ++n)
        if (!Find(n) || (own && *own == n))
            free.push_back(n);
    if (own && (*own < kFirstUserType || *own > kLastType))
        free.insert(free.begin(), *own);
    return free;
}

bool clsSuspensionTypes::Add(int type, const std::string& description) {
    if (!run(InsertStatement(type, description)))
        return false;
    LogTypeChange(kSuspensionTypeAdded, named(type, description) + " added");
    return Load();
}

bool clsSuspensionTypes::Change(int type, const std::string& description) {
    if (!run(UpdateStatement(type, description)))
        return false;
    LogTypeChange(kSuspensionTypeChanged, named(type, description) + " changed");
    return Load();
}

bool clsSuspensionTypes::Remove(int type) {
    const clsSuspensionType* t = Find(type);
    const std::string description = t ? t->suspension_description : std::string();
    if (!run(DeleteStatement(type)))
        return false;
    LogTypeChange(kSuspensionTypeDeleted, named(type, description) + " deleted");
    return Load();
}

} // namespace accounts
