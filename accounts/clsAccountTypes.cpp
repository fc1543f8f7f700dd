#include "clsAccountTypes.h"

#include "DatabaseSession.h"
#include "LoginComponent.h"
#include "TypeEvents.h"

#include <algorithm>

namespace accounts {

using foundation::DatabaseSession;

std::string clsAccountTypes::LoadQuery() const {
    return m_mode == Mode::Suspension
               ? "SELECT hosp_acct_id, suspension_type, suspension_severity, suspension_description FROM "
                 "Suspension_types WHERE suspension_type > 10 ORDER by hosp_acct_id, suspension_type"
               : "SELECT hosp_acct_id, pause_type, pause_description FROM Pause_types ORDER by hosp_acct_id, "
                 "pause_type";
}

bool clsAccountTypes::Load(const suite::LoginComponent& login) {
    m_accounts.clear();
    m_types.clear();
    for (int i = 1; i <= login.NumberHospAccounts(); ++i) {
        const auto& a = login.HospAccountAt(i);
        if (a.hosp_acct_id != -1 && !a.is_deleted) {
            m_accounts.push_back(a.hosp_acct_id);
            m_types[a.hosp_acct_id];
        }
    }
    auto& s = DatabaseSession::instance();
    s.SQLStatement = LoadQuery();
    if (s.ExecSQL() != 1)
        return false;
    const bool suspension = m_mode == Mode::Suspension;
    while (s.FetchRow() == 1) {
        const long account = s.GetColumnLong(1);
        if (login.GetAcctIndex(account) == 0)
            continue;
        auto it = m_types.find(account);
        if (it == m_types.end())
            continue; // the template and deleted accounts are not edited here
        clsAccountType t;
        t.type = static_cast<int>(s.GetColumnLong(2));
        t.severity = suspension ? static_cast<int>(s.GetColumnLong(3)) : 0;
        t.description = s.GetColumnText(suspension ? 4 : 3, 1);
        it->second.push_back(std::move(t));
    }
    return true;
}

const std::vector<clsAccountType>& clsAccountTypes::TypesOf(long account) const {
    static const std::vector<clsAccountType> none;
    auto it = m_types.find(account);
    return it == m_types.end() ? none : it->second;
}

bool clsAccountTypes::IsTypeUsed(long account, int type) const {
    const auto& list = TypesOf(account);
    return std::any_of(list.begin(), list.end(), [type](const clsAccountType& t) { return t.type == type; });
}

std::vector<int> clsAccountTypes::FreeNumbers(long account) const {
    std::vector<int> free;
    for (int n = FirstNumber(); n <= kLastType; ++n)
        if (!IsTypeUsed(account, n))
            free.push_back(n);
    return free;
}

void clsAccountTypes::AddType(long account, const clsAccountType& t) {
    auto& list = m_types[account];
    auto at =
        std::lower_bound(list.begin(), list.end(), t.type, [](const clsAccountType& x, int n) { return x.type < n; });
    list.insert(at, t);
}

void clsAccountTypes::ChangeType(long account, int type, const std::string& description) {
    for (auto& t : m_types[account])
        if (t.type == type)
            t.description = description;
}

void clsAccountTypes::DeleteType(long account, int type) {
    auto& list = m_types[account];
    list.erase(std::remove_if(list.begin(), list.end(), [type](const clsAccountType& t) { return t.type == type; }),
               list.end());
}

void clsAccountTypes::UseForAll(long account) {
    const std::vector<clsAccountType> chosen = TypesOf(account);
    for (long other : m_accounts)
        m_types[other] = chosen;
}

std::string clsAccountTypes::RewriteBatch() const {
    const bool suspension = m_mode == Mode::Suspension;
    std::string sql = suspension ? "DELETE FROM Suspension_types WHERE hosp_acct_id <> -1 AND suspension_type > 10"
                                 : "DELETE FROM Pause_types WHERE hosp_acct_id <> -1";
    for (long account : m_accounts) {
        for (const auto& t : TypesOf(account)) {
            const std::string description = DatabaseSession::QuoteSQL(t.description);
            if (suspension)
                sql += "\r\nINSERT INTO Suspension_types VALUES(" + std::to_string(account) + ", " +
                       std::to_string(t.type) + ", " + std::to_string(t.severity) + ", '" + description + "')";
            else // the table has three further columns, which keep their defaults
                sql += "\r\nINSERT INTO Pause_types (hosp_acct_id, pause_type, pause_description) VALUES(" +
                       std::to_string(account) + ", " + std::to_string(t.type) + ", '" + description + "')";
        }
    }
    return sql;
}

bool clsAccountTypes::Save() {
    auto& s = DatabaseSession::instance();
    s.SQLStatement = RewriteBatch();
    if (s.ExecSQLAllOrNothing() != 1)
        return false;
    LogTypeChange(kAccountTypesSaved,
                  std::string(m_mode == Mode::Suspension ? "Suspension" : "Pause") + " types of every account saved");
    return true;
}

} // namespace accounts
