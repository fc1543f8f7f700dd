#include "clsPrivileges.h"

#include "DatabaseSession.h"
#include "EventLog.h"
#include "LoginComponent.h"
#include "MessageService.h"
#include "modPartition.h"

#include <algorithm>

namespace users {

using foundation::DatabaseSession;
using foundation::EventLog;

namespace {

constexpr const char* kLineBreak = "\r\n";
constexpr int kUserAdministration = 2; // System_log type
constexpr int kInfo = 2;
constexpr long kUserPrivilegesModified = 20021;
constexpr long kGroupPrivilegesModified = 20022;

// Report type positions the group restriction clears: those of the Transcription Desktop.
constexpr int kTranscriptionReportPositions[] = {1, 2, 3, 4, 5, 6, 8};

void error(const char* text) {
    platform::MsgBox(text, platform::MsgButtons::OK, platform::MsgIcon::Critical, "Error");
}

} // namespace

void clsPrivileges::Init(const suite::LoginComponent& login, long id, const std::string& name, bool isGroup,
                         long partitionId) {
    m_login = &login;
    m_lngId = id;
    m_strName = name;
    m_blnIsGroup = isGroup;
    m_lngPartitionId = partitionId;
    const int count = login.NumberHospAccounts();
    m_colSlots.assign(static_cast<size_t>(count), {});
    m_colVisible.clear();
    for (int i = 1; i <= count; ++i) {
        const suite::HospAccount& a = login.HospAccountAt(i);
        auto& slots = m_colSlots[static_cast<size_t>(i - 1)];
        slots.push_back({0, kAllNewReports, false});
        if (!a.Departments.empty())
            for (const auto& t : a.ReportTypes)
                if (t.dept_id == a.Departments.front() && t.report_type_nbr != 0)
                    slots.push_back({t.report_type_nbr, t.report_name, t.is_deleted});
        const bool template_ = a.hosp_acct_id == -1;
        if (template_ || (!a.is_deleted && physicians::PartitionIsUnder(a.Partition_ID, partitionId)))
            m_colVisible.push_back(i);
    }
    // "<All New Accounts>" heads the list whatever its place in the cache.
    std::stable_partition(m_colVisible.begin(), m_colVisible.end(),
                          [&](int i) { return login.HospAccountAt(i).hosp_acct_id == -1; });
    Levels empty = emptyLevels();
    m_bytSystem = empty.system;
    m_colAccounts = empty.accounts;
    m_colReportTypes = empty.reportTypes;
    m_bytGroupSystem = empty.system;
    m_colGroupAccounts = empty.accounts;
    m_colGroupReportTypes = empty.reportTypes;
    m_colGroupIds.clear();
    m_colGroups.clear();
}

clsPrivileges::Levels clsPrivileges::emptyLevels() const {
    Levels l;
    l.system.assign(kSystemPrivilegeCount, 0);
    l.accounts.assign(m_colSlots.size(), PrivilegeFlags(kAccountPrivilegeCount, 0));
    l.reportTypes.resize(m_colSlots.size());
    for (size_t i = 0; i < m_colSlots.size(); ++i)
        l.reportTypes[i].assign(m_colSlots[i].size(), PrivilegeFlags(kReportTypePrivilegeCount, 0));
    return l;
}

std::string clsPrivileges::LoadBatch(long id) {
    const std::string n = std::to_string(id);
    return "SELECT hosp_acct_id, privilege_set1 FROM Privileges_accounts WHERE user_id = " + n +
           " ORDER BY hosp_acct_id" + kLineBreak +
           "SELECT hosp_acct_id, report_type_nbr, privilege_set1 FROM Privileges_report_types WHERE user_id = " + n +
           " AND dept_id = 0 ORDER BY hosp_acct_id, report_type_nbr" + kLineBreak +
           "SELECT privilege_set1 FROM System_user_bindery WHERE user_id = " + n;
}

int clsPrivileges::slotOf(int accountIndex, long reportTypeNbr) const {
    const auto& slots = m_colSlots[static_cast<size_t>(accountIndex - 1)];
    for (size_t i = 0; i < slots.size(); ++i)
        if (slots[i].report_type_nbr == reportTypeNbr)
            return static_cast<int>(i);
    return -1;
}

bool clsPrivileges::readBatch(long id, Levels& into) {
    auto& s = DatabaseSession::instance();
    s.SQLStatement = LoadBatch(id);
    if (s.ExecSQL() != 1)
        return false;
    while (s.FetchBatchRow() == 1) {
        const int index = m_login->GetAcctIndex(s.GetColumnLong(1));
        if (index > 0)
            into.accounts[static_cast<size_t>(index - 1)] =
                DecodePrivileges(s.GetColumnText(2, 0), kAccountPrivilegeCount);
    }
    if (s.NextResultSet() != 1)
        return false;
    while (s.FetchBatchRow() == 1) {
        const int index = m_login->GetAcctIndex(s.GetColumnLong(1));
        if (index == 0)
            continue;
        const int slot = slotOf(index, s.GetColumnLong(2));
        if (slot >= 0)
            into.reportTypes[static_cast<size_t>(index - 1)][static_cast<size_t>(slot)] =
                DecodePrivileges(s.GetColumnText(3, 0), kReportTypePrivilegeCount);
    }
    if (s.NextResultSet() != 1)
        return false;
    if (s.FetchBatchRow() == 1)
        into.system = DecodePrivileges(s.GetColumnText(1, 0), kSystemPrivilegeCount);
    return s.FlushResults();
}

bool clsPrivileges::Load() {
    Levels l = emptyLevels();
    if (!m_login || !readBatch(m_lngId, l)) {
        error(kLoadFailed);
        return false;
    }
    m_bytSystem = std::move(l.system);
    m_colAccounts = std::move(l.accounts);
    m_colReportTypes = std::move(l.reportTypes);
    return true;
}

bool clsPrivileges::LoadGroupPrivileges() {
    m_colGroupIds.clear();
    m_colGroups.clear();
    if (m_blnIsGroup)
        return true;
    auto& s = DatabaseSession::instance();
    s.SQLStatement = "SELECT SSG.group_id, SUB.user_name FROM System_security_groups SSG, System_user_bindery SUB "
                     "WHERE SSG.user_id = " +
                     std::to_string(m_lngId) +
                     " AND SUB.user_id = SSG.group_id AND SUB.flag3 > 0 ORDER BY SSG.group_id";
    if (s.ExecSQL() != 1) {
        error(kGroupLoadFailed);
        return false;
    }
    while (s.FetchRow() == 1) {
        GroupPrivileges g;
        g.id = s.GetColumnLong(1);
        g.name = s.GetColumnText(2, 1);
        m_colGroups.push_back(std::move(g));
    }
    for (auto& g : m_colGroups) {
        g.levels = emptyLevels();
        if (!readBatch(g.id, g.levels)) {
            m_colGroups.clear();
            error(kGroupLoadFailed);
            return false;
        }
        m_colGroupIds.push_back(g.id);
    }
    // Combined as the login component combines them for the other applications.
    auto combine = [&](auto pick, int length) {
        std::vector<std::string> sets;
        for (const auto& g : m_colGroups)
            sets.push_back(EncodePrivileges(pick(g.levels), length));
        return DecodePrivileges(suite::combinePrivileges(sets, static_cast<size_t>(length)), length);
    };
    Levels combined = emptyLevels();
    combined.system = combine([](const Levels& l) -> const PrivilegeFlags& { return l.system; }, kSystemPrivilegeCount);
    for (size_t a = 0; a < combined.accounts.size(); ++a) {
        combined.accounts[a] =
            combine([a](const Levels& l) -> const PrivilegeFlags& { return l.accounts[a]; }, kAccountPrivilegeCount);
        for (size_t t = 0; t < combined.reportTypes[a].size(); ++t)
            combined.reportTypes[a][t] =
                combine([a, t](const Levels& l) -> const PrivilegeFlags& { return l.reportTypes[a][t]; },
                        kReportTypePrivilegeCount);
    }
    m_bytGroupSystem = std::move(combined.system);
    m_colGroupAccounts = std::move(combined.accounts);
    m_colGroupReportTypes = std::move(combined.reportTypes);
    return true;
}

bool clsPrivileges::Save() {
    const std::string id = std::to_string(m_lngId);
    m_bytSystem[kForcedOffSystemPosition] = 0;
    // The rows are deleted and written again in one batch that is all or nothing: a failure anywhere
    // leaves the privileges the other applications read exactly as they were.
    std::string batch = "DELETE FROM Privileges_accounts WHERE user_id = " + id + kLineBreak +
                        "DELETE FROM Privileges_report_types WHERE user_id = " + id + kLineBreak;
    // Cache order, as the other applications expect the rows to be rewritten.
    std::vector<int> ordered = m_colVisible;
    std::sort(ordered.begin(), ordered.end());
    for (const int index : ordered) {
        const suite::HospAccount& a = m_login->HospAccountAt(index);
        const std::string acct = std::to_string(a.hosp_acct_id);
        batch += "INSERT Privileges_accounts VALUES(" + id + ", " + acct + ", '" +
                 DatabaseSession::QuoteSQL(EncodePrivileges(Account(index), kAccountPrivilegeCount)) + "', NULL)" +
                 kLineBreak;
        const auto& slots = m_colSlots[static_cast<size_t>(index - 1)];
        for (size_t t = 0; t < slots.size(); ++t) {
            if (slots[t].is_deleted && slots[t].report_type_nbr != 0)
                continue;
            batch += "INSERT Privileges_report_types VALUES(" + id + ", " + acct + ", 0, " +
                     std::to_string(slots[t].report_type_nbr) + ", '" +
                     DatabaseSession::QuoteSQL(
                         EncodePrivileges(ReportType(index, static_cast<int>(t)), kReportTypePrivilegeCount)) +
                     "', NULL, 0, 0, 0, NULL, NULL)" + kLineBreak;
        }
    }
    batch += "UPDATE System_user_bindery SET privilege_set1 = '" +
             DatabaseSession::QuoteSQL(EncodePrivileges(m_bytSystem, kSystemPrivilegeCount)) +
             "' WHERE user_id = " + id;
    auto& s = DatabaseSession::instance();
    s.SQLStatement = std::move(batch);
    const bool ok = s.ExecSQLAllOrNothing() == 1;
    if (!ok) {
        error(kSaveFailed);
        return false;
    }
    EventLog::LogEvent(EventLog::SystemLog, kUserAdministration, kInfo,
                       m_blnIsGroup ? kGroupPrivilegesModified : kUserPrivilegesModified, 0, 0, 0, 0, 0, -1, 0,
                       std::string(m_blnIsGroup ? "Privileges for group " : "Privileges for user ") + m_strName +
                           " have been modified.");
    return true;
}

std::string clsPrivileges::AccountCaption(int accountIndex) const {
    const suite::HospAccount& a = m_login->HospAccountAt(accountIndex);
    if (a.hosp_acct_id == -1)
        return kAllNewAccounts;
    return physicians::QualifyWithPartition(a.hosp_acct_name, a.Partition_ID);
}

const std::vector<ReportTypeSlot>& clsPrivileges::ReportTypes(int accountIndex) const {
    return m_colSlots.at(static_cast<size_t>(accountIndex - 1));
}

std::vector<int> clsPrivileges::OfferedReportTypes(int accountIndex) const {
    std::vector<int> out;
    const auto& slots = ReportTypes(accountIndex);
    for (size_t i = 0; i < slots.size(); ++i)
        if (i == 0 || !slots[i].is_deleted)
            out.push_back(static_cast<int>(i));
    return out;
}

long clsPrivileges::AccountId(int accountIndex) const {
    return m_login->HospAccountAt(accountIndex).hosp_acct_id;
}

void clsPrivileges::CopyAccountPositions(int fromAccount, std::span<const int> positions) {
    const PrivilegeFlags from = Account(fromAccount);
    for (int index : m_colVisible)
        for (int p : positions)
            Account(index)[static_cast<size_t>(p)] = from[static_cast<size_t>(p)];
}

void clsPrivileges::CopyReportTypePositions(int fromAccount, int fromSlot, std::span<const int> positions,
                                            bool allAccounts) {
    const PrivilegeFlags from = ReportType(fromAccount, fromSlot);
    auto copyInto = [&](int index) {
        auto& types = m_colReportTypes.at(static_cast<size_t>(index - 1));
        for (auto& flags : types)
            for (int p : positions)
                flags[static_cast<size_t>(p)] = from[static_cast<size_t>(p)];
    };
    if (!allAccounts) {
        copyInto(fromAccount);
        return;
    }
    for (int index : m_colVisible)
        copyInto(index);
}

bool clsPrivileges::ApplyGroupRestriction() {
    if (!m_blnIsGroup)
        return false;
    const auto table = SystemPrivilegeTable();
    bool cleared = false;
    for (int parent : {priv::TranscriptionDesktop, priv::JobPlayer}) {
        if (m_bytSystem[static_cast<size_t>(parent)] == 0)
            continue;
        cleared = true;
        m_bytSystem[static_cast<size_t>(parent)] = 0;
        const auto entry =
            std::find_if(table.begin(), table.end(), [&](const PrivilegeEntry& e) { return e.position == parent; });
        for (const PrivilegeEntry* d : DependentsOf(table, entry->control))
            m_bytSystem[static_cast<size_t>(d->position)] = 0;
    }
    if (!cleared)
        return false;
    for (auto& acct : m_colAccounts)
        acct[priv::AccountTranscriptionAccess] = 0;
    for (auto& types : m_colReportTypes)
        for (auto& flags : types)
            for (int p : kTranscriptionReportPositions)
                flags[static_cast<size_t>(p)] = 0;
    return true;
}

std::string clsPrivileges::GroupRestrictionMessage() {
    return "The Transcription Desktop and/or Veltra Text Job Player System privilege should not be available for "
           "this group. The associated System and Account/Report type privileges, and all dependent privileges, "
           "will be disabled and removed.\n"
           "If users in this group need to access these applications, they should be converted to "
           "Transcriptionist Users.\n"
           "These changes will not be not made permanent until privileges have been saved.";
}

} // namespace users
