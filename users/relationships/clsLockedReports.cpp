#include "clsLockedReports.h"

#include "DatabaseSession.h"
#include "EventLog.h"
#include "LoginComponent.h"
#include "MessageService.h"
#include "clsPartition.h"
#include "modPartition.h"

namespace users {

using foundation::DatabaseSession;
using foundation::EventLog;

const char* const kReleaseFailed = "Failed to delete the lock.";

namespace {

constexpr const char* kTitle = "Locked Reports";
constexpr int kUserAdministration = 2; // System_log type
constexpr int kInfo = 2;
constexpr long kLockReleased = 20045;

const std::string kCrLf = "\r\n";

std::string q(const std::string& text) {
    return "'" + DatabaseSession::QuoteSQL(text) + "'";
}

const suite::LoginUser* loggedIn() {
    const auto* login = physicians::Partitions().login;
    return login ? &login->user : nullptr;
}

} // namespace

std::string GovernedPartitionIds() {
    const auto* u = loggedIn();
    const long own = u ? u->Partition_ID : 0;
    if (const auto* p = physicians::PartitionCache().find(own))
        return p->GovernsSet();
    return std::to_string(own);
}

std::string clsLockedReports::LoadStatement(const std::string& partitionIds) {
    return "SELECT trans_id, cd = CONVERT(char(30), create_date, 121), lockedtimestamp = CONVERT(char(30), lock_time, "
           "121), document_id, LR.hosp_acct_id," +
           kCrLf +
           "report_name = (SELECT report_name FROM Reports_cfg RC WHERE RC.report_type_nbr = LR.report_type_nbr AND "
           "RC.hosp_acct_id = LR.hosp_acct_id AND RC.dept_id = 0 AND report_version_nbr = 0)," +
           kCrLf +
           "lock_type, user_name = (SELECT user_name FROM System_user_bindery SB WHERE SB.user_id = LR.user_id), "
           "patient_first, patient_last, patient_id, dictation_nbr, dictating_name, string1" +
           kCrLf + "FROM Locked_reports LR LEFT JOIN Account_info AI ON (LR.hosp_acct_id = AI.hosp_acct_id)" + kCrLf +
           "WHERE AI.partition_id IN (" + partitionIds + ")" + kCrLf + "UNION" + kCrLf +
           "SELECT 'PAXLET', CONVERT(char(30), DD.create_date, 121), CONVERT(char(30), SSL.lock_timestamp, 121), "
           "SSL.document_id, DD.hosp_acct_id, ''," +
           kCrLf +
           "3, (SELECT MIN(user_name) FROM System_user_bindery SB WHERE SB.flag1 = SSL.physician_id AND SB.flag3 = 0 "
           "AND SB.is_deleted = 0), DD.patient_first, DD.patient_last, '', '', DD.dictating_name, ''" +
           kCrLf + "FROM Signature_session_locks SSL, Document_demographics DD, Account_info AI" + kCrLf +
           "WHERE SSL.document_id = DD.document_id AND DD.hosp_acct_id = AI.hosp_acct_id" + kCrLf +
           "AND AI.partition_id IN (" + partitionIds + ")" + kCrLf + "ORDER BY lockedtimestamp";
}

std::string clsLockedReports::ReleaseStatement(const clsLockedReport& lock) {
    if (lock.IsViewerLock())
        return "DELETE FROM Signature_session_locks WHERE document_id = " + std::to_string(lock.m_lngDocumentId);
    return "DELETE FROM Locked_reports WHERE trans_id = " + q(lock.m_strTransId) +
           " AND create_date = " + q(lock.m_strCreateDate) + " AND lock_time = " + q(lock.m_strLockTime);
}

bool clsLockedReports::Load() {
    return Load(GovernedPartitionIds());
}

bool clsLockedReports::Load(const std::string& partitionIds) {
    auto& s = DatabaseSession::instance();
    s.SQLStatement = LoadStatement(partitionIds);
    if (s.ExecSQL() != 1)
        return false;
    std::vector<clsLockedReport> loaded;
    while (s.FetchRow() == 1) {
        clsLockedReport r;
        r.m_strTransId = s.GetColumnText(1, 1);
        r.m_strCreateDate = s.GetColumnText(2, 1);
        r.m_strLockTime = s.GetColumnText(3, 1);
        r.m_lngDocumentId = s.GetColumnLong(4);
        r.m_lngHospAcctId = s.GetColumnLong(5);
        r.m_strReportName = s.GetColumnText(6, 1);
        r.m_lngLockType = s.GetColumnLong(7);
        r.m_strUserName = s.GetColumnText(8, 1);
        r.m_strPatientFirst = s.GetColumnText(9, 1);
        r.m_strPatientLast = s.GetColumnText(10, 1);
        r.m_strPatientId = s.GetColumnText(11, 1);
        r.m_strDictationNbr = s.GetColumnText(12, 1);
        r.m_strDictatingName = s.GetColumnText(13, 1);
        r.m_strString1 = s.GetColumnText(14, 1);
        loaded.push_back(std::move(r));
    }
    m_colLocks.swap(loaded);
    return true;
}

bool clsLockedReports::ReleaseLock(const clsLockedReport& lock) {
    // Only the accounts of the partitions this administrator governs are listed; a lock of any
    // other account is not released here either.
    if (!physicians::AccountUnderUserPartition(lock.m_lngHospAcctId) ||
        !DatabaseSession::instance().RunStatement(ReleaseStatement(lock))) {
        platform::MsgBox(kReleaseFailed, platform::MsgButtons::OK, platform::MsgIcon::Exclamation, kTitle);
        return false;
    }
    const auto* u = loggedIn();
    EventLog::LogEvent(EventLog::SystemLog, kUserAdministration, kInfo, kLockReleased, 0, 0, 0, 0, 0,
                       lock.m_lngHospAcctId, 0,
                       "Report (docid=" + std::to_string(lock.m_lngDocumentId) + ") locked by " + lock.m_strUserName +
                           " was manually unlocked by " + (u ? u->user_name : std::string()) + ".");
    return true;
}

bool clsLockedReports::Release(size_t index) {
    if (index >= m_colLocks.size())
        return false;
    if (!ReleaseLock(m_colLocks[index]))
        return false;
    m_colLocks.erase(m_colLocks.begin() + static_cast<std::ptrdiff_t>(index));
    return true;
}

} // namespace users
