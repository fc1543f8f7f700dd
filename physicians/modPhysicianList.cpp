#include "modPhysicianList.h"

#include "DatabaseSession.h"
#include "EventLog.h"
#include "LoginComponent.h"
#include "Numbers.h"
#include "RoutinesFolders.h"
#include "clsPartition.h"
#include "modPartition.h"

#include <algorithm>

namespace physicians {

using foundation::DatabaseSession;
using foundation::EventLog;

namespace {

const suite::LoginComponent* login() {
    return Partitions().login;
}

bool userHoldsPrivilege9() {
    const auto* l = login();
    return l && l->user.privilege(kPrivAlterPhysicianProfiles);
}

bool userIsPaxletAdministrator() {
    const auto* l = login();
    return l && l->user.is_paxlet_admin;
}

void appendUnique(std::string& list, long id) {
    const std::string item = std::to_string(id);
    if (!list.empty() && IsInList(list, item))
        return;
    list += (list.empty() ? "" : ",") + item;
}

long number(const std::string& text) {
    return static_cast<long>(platform::parseNumber(text).value_or(0));
}

// The predicates read the physician's partition from the shared state; a check on a listed
// physician sets it for the time of the check and puts the previous value back.
class PhysicianPartitionScope {
public:
    explicit PhysicianPartitionScope(long partition) : m_saved(Partitions().physicianPartition) {
        Partitions().physicianPartition = partition;
    }
    ~PhysicianPartitionScope() { Partitions().physicianPartition = m_saved; }
    PhysicianPartitionScope(const PhysicianPartitionScope&) = delete;
    PhysicianPartitionScope& operator=(const PhysicianPartitionScope&) = delete;

private:
    std::optional<long> m_saved;
};

// The live accounts a member of all accounts (membership -1) belongs to, from the account cache.
std::vector<long> liveCachedAccounts() {
    std::vector<long> out;
    if (const auto* l = login())
        for (int i = 1; i <= l->NumberHospAccounts(); ++i)
            if (const auto& a = l->HospAccountAt(i); !a.is_deleted && a.hosp_acct_id >= 0)
                out.push_back(a.hosp_acct_id);
    return out;
}

std::vector<long> expandAllAccounts(const std::vector<long>& accounts) {
    if (std::find(accounts.begin(), accounts.end(), -1L) == accounts.end())
        return accounts;
    return liveCachedAccounts();
}

void logChange(const std::string& message, const std::vector<std::string>& more, long account = -1) {
    EventLog::LogEvent(EventLog::SystemLog, 2, 2, 20030, 0, 0, 0, 0, 0, account, 0, message, more);
}

std::string joined(const std::vector<long>& ids) {
    std::string out;
    for (long id : ids)
        out += (out.empty() ? "" : ",") + std::to_string(id);
    return out;
}

} // namespace

std::string ListCommandRefusal(ListCommand command) {
    if (userHoldsPrivilege9())
        return {};
    switch (command) {
    case ListCommand::ChangePartition:
        return kDeniedChangePartition;
    case ListCommand::SetDefaultPartition:
        return kDeniedDefaultPartition;
    default:
        return kDeniedAlterPhysician;
    }
}

std::string HospAccountsVisibleToUser() {
    std::string list;
    if (const auto* l = login())
        for (int i = 1; i <= l->NumberHospAccounts(); ++i)
            if (const long acct = l->HospAccountAt(i).hosp_acct_id; AccountVisibleToUser(acct))
                appendUnique(list, acct);
    return list;
}

std::string ListOfPotentialChangePartitionIdsByAcct() {
    const auto* l = login();
    if (!l)
        return {};
    std::string list;
    if (const clsPartition* own = PartitionCache().find(l->user.Partition_ID)) {
        const std::string governs = own->GovernsSet();
        size_t start = 0;
        for (size_t comma; start <= governs.size(); start = comma + 1) {
            comma = governs.find(',', start);
            if (comma == std::string::npos)
                comma = governs.size();
            if (comma > start)
                appendUnique(list, number(governs.substr(start, comma - start)));
        }
    }
    for (int i = 1; i <= l->NumberHospAccounts(); ++i) {
        const auto& a = l->HospAccountAt(i);
        if (AccountVisibleToUser(a.hosp_acct_id) || a.privilege(kAcctPrivPhysicians))
            appendUnique(list, a.Partition_ID);
    }
    return list;
}

std::string ListOfPotentialDefaultPartitionIdsByAcct() {
    std::string list;
    if (const auto* l = login())
        for (int i = 1; i <= l->NumberHospAccounts(); ++i)
            if (const auto& a = l->HospAccountAt(i); AccountVisibleToUser(a.hosp_acct_id))
                appendUnique(list, a.Partition_ID);
    return list;
}

LinkedUserActions& LinkedUsers() {
    static LinkedUserActions actions;
    return actions;
}

std::vector<std::pair<long, long>> PhysicianAccountPartitions(long physicianId) {
    auto& s = DatabaseSession::instance();
    s.SQLStatement = "SELECT PM.hosp_acct_id, AI.partition_id\r\n"
                     "FROM Physician_membership PM, Account_info AI, System_partitions SP\r\n"
                     "Where PM.physician_id = " +
                     std::to_string(physicianId) +
                     "\r\n"
                     "AND AI.hosp_acct_id = PM.hosp_acct_id\r\n"
                     "AND AI.partition_id = SP.partition_id";
    std::vector<std::pair<long, long>> out;
    if (s.ExecSQL() != 1)
        return out;
    while (s.FetchRow() == 1)
        out.emplace_back(number(s.GetColumnText(1, 1)), number(s.GetColumnText(2, 1)));
    return out;
}

// ---- delete ------------------------------------------------------------------------------------

std::string DeleteRefusal(const clsPhysicianSummaryRecord& r, const std::vector<long>& accounts) {
    const std::string name = r.DisplayName();
    if (r.paxlet_user_id > 0 && !userIsPaxletAdministrator())
        return "ACCESS DENIED: The physician " + name + " cannot be deleted because this physician " +
               "is a Paxlet physician and you do not have Paxlet Administrator privileges.";
    PhysicianPartitionScope scope(r.Partition_ID);
    const bool mayEditAny =
        std::any_of(accounts.begin(), accounts.end(), [](long acct) { return CanEditCurrentPhysician(acct); });
    if (!mayEditAny)
        return "ACCESS DENIED: The physician " + name + " cannot be deleted because " +
               "you do not have authority to delete this physician.";
    return {};
}

std::string DeletePhysicianBatch(long physicianId) {
    const std::string where = "WHERE physician_id = " + std::to_string(physicianId) + "\r\n";
    std::string sql;
    for (const char* table : {"Physician_addendums_v2", "Physician_weighting", "Physician_attributes",
                              "Physician_membership", "Physician_external_ids"})
        sql += std::string("DELETE FROM ") + table + "\r\n" + where;
    sql += "UPDATE Physician_profile\r\nSET is_deleted = 1, last_update = GETDATE()\r\n" + where;
    sql += "DELETE FROM Groups_physicians\r\n" + where;
    return sql;
}

bool DeletePhysician(const clsPhysicianSummaryRecord& r) {
    auto& s = DatabaseSession::instance();
    s.SQLStatement = DeletePhysicianBatch(r.physician_id);
    if (s.ExecSQLAllOrNothing() != 1)
        return false;
    if (r.paxlet_user_id > 0 && LinkedUsers().deleteUser)
        LinkedUsers().deleteUser(r.paxlet_user_id);
    logChange("A physician was deleted.", {"Name: " + r.DisplayName()});
    return true;
}

// ---- remove from one account --------------------------------------------------------------------

std::string RemoveFromAccountRefusal(const clsPhysicianSummaryRecord& r, long account) {
    {
        PhysicianPartitionScope scope(r.Partition_ID);
        if (!CanEditCurrentPhysician(account))
            return "ACCESS DENIED: The physician " + r.DisplayName() + " cannot be deleted because " +
                   "you do not have authority to delete this physician.";
    }
    const auto memberships = PhysicianAccountPartitions(r.physician_id);
    std::vector<std::pair<long, long>> remaining;
    const bool memberOfAll =
        std::any_of(memberships.begin(), memberships.end(), [](const auto& m) { return m.first == -1; });
    if (memberOfAll) {
        auto& s = DatabaseSession::instance();
        s.SQLStatement = "SELECT hosp_acct_id, partition_id FROM Account_info\r\n"
                         "WHERE hosp_acct_id > -1 AND is_deleted = 0 AND hosp_acct_id <> " +
                         std::to_string(account);
        if (s.ExecSQL() != 1)
            return kMustRemainMember;
        while (s.FetchRow() == 1)
            remaining.emplace_back(number(s.GetColumnText(1, 1)), number(s.GetColumnText(2, 1)));
    } else {
        for (const auto& m : memberships)
            if (m.first != account)
                remaining.push_back(m);
    }
    if (remaining.empty())
        return {}; // the last account: the profile is marked deleted
    const bool keepsOneInPartition = std::any_of(remaining.begin(), remaining.end(), [&r](const auto& m) {
        return m.second == r.Partition_ID || PartitionIsUnder(m.second, r.Partition_ID);
    });
    return keepsOneInPartition ? std::string() : std::string(kMustRemainMember);
}

std::string RemoveFromAccountBatch(long physicianId, long account, const std::string& userName) {
    const std::string id = std::to_string(physicianId);
    const std::string acct = std::to_string(account);
    std::string sql;
    for (const char* table : {"Physician_addendums_v2", "Physician_weighting", "Physician_attributes",
                              "Physician_attributes_extended", "Physician_membership"})
        sql += std::string("DELETE FROM ") + table + "\r\nWHERE hosp_acct_id = " + acct +
               " AND\r\nphysician_id = " + id + "\r\n";
    sql += "IF EXISTS (SELECT * FROM Physician_membership WHERE physician_id = " + id +
           "\r\n           AND hosp_acct_id = -1)\r\n"
           "BEGIN\r\n"
           "   DELETE FROM Physician_membership WHERE physician_id = " +
           id +
           "\r\n"
           "   INSERT INTO Physician_membership\r\n"
           "   SELECT " +
           id +
           ", hosp_acct_id, 0, 0 \r\n"
           "   FROM Account_info AI\r\n"
           "   WHERE hosp_acct_id > -1 AND is_deleted = 0 AND hosp_acct_id <> " +
           acct +
           "\r\n"
           "   AND NOT EXISTS (SELECT * FROM Physician_membership X WHERE X.physician_id = " +
           id +
           " AND X.hosp_acct_id = AI.hosp_acct_id)\r\n"
           "END\r\n"
           "IF NOT EXISTS (SELECT * FROM Physician_membership WHERE physician_id = " +
           id +
           ")\r\n"
           "   UPDATE Physician_profile SET is_deleted = 1 WHERE physician_id = " +
           id +
           "\r\n"
           "UPDATE Physician_profile\r\n"
           "SET last_update = GETDATE()\r\n"
           ", \r\n"
           "string1 = '" +
           DatabaseSession::QuoteSQL(userName) +
           "'\r\n"
           "WHERE physician_id = " +
           id +
           "\r\n"
           "DELETE FROM Groups_physicians\r\nWHERE hosp_acct_id = " +
           acct + " AND physician_id = " + id;
    return sql;
}

bool RemovePhysicianFromAccount(clsPhysicianSummaryRecord& r, long account, const std::string& userName) {
    auto& s = DatabaseSession::instance();
    s.SQLStatement = RemoveFromAccountBatch(r.physician_id, account, userName);
    if (s.ExecSQLAllOrNothing() != 1)
        return false;
    s.SQLStatement = "SELECT is_deleted FROM Physician_profile WHERE physician_id = " + std::to_string(r.physician_id);
    if (s.ExecSQL() == 1 && s.FetchRow() == 1) {
        r.is_deleted = number(s.GetColumnText(1, 1)) != 0;
        s.FlushResults();
    }
    logChange("A physician was removed from an account.",
              {"Name: " + r.DisplayName(), "Account: " + std::to_string(account)}, account);
    return true;
}

// ---- hide ----------------------------------------------------------------------------------------

bool SetPhysicianHidden(clsPhysicianSummaryRecord& r, bool hidden, const std::string& userName) {
    auto& s = DatabaseSession::instance();
    if (!s.RunStatement("UPDATE Physician_profile\r\nSET flag3 = " + std::string(hidden ? "1" : "0") +
                        ", last_update = GETDATE(), string1 = '" + DatabaseSession::QuoteSQL(userName) +
                        "'\r\nWHERE physician_id = " + std::to_string(r.physician_id)))
        return false;
    r.is_hidden = hidden ? 1 : 0;
    logChange(hidden ? "A physician was hidden." : "A physician was made visible.", {"Name: " + r.DisplayName()});
    return true;
}

// ---- change partition ----------------------------------------------------------------------------

std::string ChangePartitionRefusal(const clsPhysicianSummaryRecord& r, long newPartition,
                                   const std::vector<long>& accounts) {
    const std::string name = r.DisplayName();
    PhysicianPartitionScope scope(r.Partition_ID);
    const std::vector<long> live = expandAllAccounts(accounts);
    if (!std::any_of(live.begin(), live.end(), [](long a) { return CanEditCurrentPhysician(a); }))
        return "ACCESS DENIED:  You do not have sufficient privileges to change the partition of the selected "
               "physician, " +
               name + ".";
    const std::string prefix =
        "ACCESS DENIED: The partition of physician " + name + " " + "cannot be changed because this physician is";
    if (!PhysicianUnderUserPartition())
        return prefix + " a member of a partition outside your partition or sub-partition.";
    if (r.paxlet_user_id > 0 && !userIsPaxletAdministrator())
        return prefix + " a Paxlet physician and you do not have Paxlet Administrator privileges.";
    if (!std::any_of(live.begin(), live.end(),
                     [newPartition](long a) { return AccountUnderPartition(a, newPartition); }))
        return prefix + " not a member of any accounts in the destination partition.";
    return {};
}

std::string ChangePartitionBatch(const clsPhysicianSummaryRecord& r, long newPartition, const std::string& userName) {
    const std::string np = std::to_string(newPartition);
    std::string sql = "UPDATE Physician_profile\r\nSET partition_id = " + np +
                      ", \r\nlast_update = GETDATE()\r\n, \r\nstring1 = '" + DatabaseSession::QuoteSQL(userName) +
                      "'\r\nWHERE physician_id = " + std::to_string(r.physician_id);
    if (r.paxlet_user_id > 0) {
        const std::string user = std::to_string(r.paxlet_user_id);
        sql += "\r\nDELETE system_security_groups FROM system_security_groups SSG\r\n"
               "LEFT JOIN system_user_bindery SUB ON (SSG.user_id = SUB.user_id)\r\n"
               "WHERE SSG.group_id > 0 AND SUB.partition_id = " +
               std::to_string(r.Partition_ID) + "\r\nAND SSG.user_id = " + user +
               "\r\nUPDATE System_user_bindery SET partition_id = " + np + " WHERE user_id = " + user;
        if (!r.paxlet_user_name.empty())
            sql += "\r\nUPDATE Trans_info SET extra3 = " + np + " WHERE trans_id = '" +
                   DatabaseSession::QuoteSQL(r.paxlet_user_name) + "'";
    }
    return sql;
}

std::string ChangePartitionWarning(const std::vector<const clsPhysicianSummaryRecord*>& selection) {
    const bool anyLinked = std::any_of(selection.begin(), selection.end(),
                                       [](const clsPhysicianSummaryRecord* r) { return r->paxlet_user_id > 0; });
    if (!anyLinked)
        return {};
    return "Changing the partition of the selected physician(s) will:\r\n\r\n"
           "--> remove the physician from assigned User Management Groups\r\n"
           "--> remove Paxlet signature relationships from the physician\r\n"
           "--> reset the physician's privileges\r\n"
           "Would you still like to continue?";
}

PartitionChange ChangePhysicianPartition(clsPhysicianSummaryRecord& r, long newPartition, const std::string& userName,
                                         const std::string& rootDir) {
    if (r.Partition_ID == newPartition)
        return PartitionChange::Unchanged;
    auto& s = DatabaseSession::instance();
    s.SQLStatement = ChangePartitionBatch(r, newPartition, userName);
    if (s.ExecSQLAllOrNothing() != 1)
        return PartitionChange::Failed;
    if (r.paxlet_user_id > 0 && LinkedUsers().afterPartitionChange)
        LinkedUsers().afterPartitionChange(r.paxlet_user_id);
    const long oldPartition = r.Partition_ID;
    if (MovePhysicianRoutines(oldPartition, newPartition, r.physician_id, rootDir))
        r.Partition_ID = newPartition;
    logChange("The partition of a physician was changed.",
              {"Name: " + r.DisplayName(), "From partition: " + std::to_string(oldPartition),
               "To partition: " + std::to_string(newPartition)});
    return PartitionChange::Changed;
}

// ---- defaults --------------------------------------------------------------------------------------

std::string SetDefaultAccounts(PhysicianListDefaults& defaults, const std::vector<long>& chosen) {
    if (std::string refusal = ListCommandRefusal(ListCommand::SetDefaultAccounts); !refusal.empty())
        return refusal;
    std::vector<long> kept;
    for (long acct : chosen)
        if (AccountVisibleToUser(acct) && std::find(kept.begin(), kept.end(), acct) == kept.end())
            kept.push_back(acct);
    defaults.defaultAccounts = kept;
    logChange("The default accounts for new physicians were changed.", {"Accounts: " + joined(kept)});
    return {};
}

std::string SetExtendedProfile(PhysicianListDefaults& defaults, bool extended) {
    if (std::string refusal = ListCommandRefusal(ListCommand::SetExtendedProfile); !refusal.empty())
        return refusal;
    defaults.extendedProfile = extended;
    logChange(extended ? "New physicians start with the extended profile."
                       : "New physicians start with the profile for all accounts.",
              {});
    return {};
}

std::string SetDefaultPartition(PhysicianListDefaults& defaults, long partition) {
    if (std::string refusal = ListCommandRefusal(ListCommand::SetDefaultPartition); !refusal.empty())
        return refusal;
    if (!IsInList(ListOfPotentialDefaultPartitionIdsByAcct(), std::to_string(partition)))
        return kDeniedDefaultPartition;
    defaults.DefaultPartitionId = partition;
    logChange("The default partition for new physicians was changed.", {"Partition: " + std::to_string(partition)});
    return {};
}

bool PhysicianMayGetUser(const clsPhysicianSummaryRecord& r, long ownPartition) {
    return r.paxlet_user_id <= 0 && r.physician_id > 0 && PartitionIsUnder(r.Partition_ID, ownPartition);
}

bool RetrievePhysiciansOfVisibleAccounts(clsPhysicianSummaryRecords& list) {
    list.RemoveAll();
    const auto* login = Partitions().login;
    if (!login)
        return true;
    for (int i = 1; i <= login->NumberHospAccounts(); ++i) {
        const auto& a = login->HospAccountAt(i);
        if (a.hosp_acct_id <= 0 || a.is_deleted || !AccountVisibleToUser(a.hosp_acct_id))
            continue;
        clsPhysicianSummaryRecords one;
        if (!RetrievePhysicians(a.hosp_acct_id, HiddenFilter::VisibleOnly, one, false))
            return false;
        for (const auto& r : one.records())
            if (!list.Item(r.MyKey()))
                list.Add(r);
    }
    return true;
}

} // namespace physicians
