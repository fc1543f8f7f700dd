#include "modUnknownPhysicians.h"

#include "DatabaseSession.h"
#include "EventLog.h"
#include "MessageService.h"
#include "modPartition.h"
#include "modPhysicianList.h"

namespace physicians {

using foundation::DatabaseSession;
using foundation::EventLog;
using platform::MsgAnswer;
using platform::MsgBox;
using platform::MsgButtons;
using platform::MsgIcon;

namespace {
constexpr const char* kTitle = "Manage Unknown Physicians";

void logChange(const std::string& message, const std::vector<std::string>& more = {}) {
    EventLog::LogEvent(EventLog::SystemLog, 2, 2, 20030, 0, 0, 0, 0, 0, -1, 0, message, more);
}
} // namespace

std::string UnknownPhysiciansQuery(const std::string& accounts) {
    return "SELECT value, MAX(SU.user_name), \r\n"
           "              CONVERT(CHAR(10), MAX(date_timestamp), 101), \r\n"
           "              CONVERT(CHAR(10), MAX(date_timestamp), 108), \r\n"
           "              COUNT(*)\r\n"
           "FROM Physician_unknowns PU, System_user_bindery SU\r\n"
           "WHERE PU.user_id = SU.user_id\r\n"
           "AND PU.hosp_acct_id IN (" +
           (accounts.empty() ? std::string("-2") : accounts) +
           ")\r\n"
           "GROUP BY value\r\n"
           "ORDER BY value";
}

bool LoadUnknownPhysicians(const std::string& accounts, std::vector<UnknownPhysician>& out) {
    out.clear();
    auto& s = DatabaseSession::instance();
    if (!s.RunStatement("SET ROWCOUNT " + std::to_string(kUnknownPhysicianLimit)))
        return false;
    s.SQLStatement = UnknownPhysiciansQuery(accounts);
    const bool ok = s.ExecSQL() == 1;
    if (ok)
        while (s.FetchRow() == 1)
            out.push_back({s.GetColumnText(1, 1), s.GetColumnText(2, 1), s.GetColumnText(3, 1), s.GetColumnText(4, 1),
                           s.GetColumnLong(5)});
    s.RunStatement("SET ROWCOUNT 0");
    return ok;
}

bool UnknownPhysicianLogging() {
    auto& s = DatabaseSession::instance();
    s.SQLStatement = "SELECT flag5 FROM Archive_cfg";
    if (s.ExecSQL() != 1 || s.FetchRow() != 1)
        return false;
    const bool on = s.GetColumnLong(1) != 0;
    s.FlushResults();
    return on;
}

bool SetUnknownPhysicianLogging(bool on) {
    if (!DatabaseSession::instance().RunStatement("UPDATE Archive_cfg\r\nSET flag5 = " + std::string(on ? "1" : "0")))
        return false;
    logChange(on ? "Logging of unknown physicians was turned on." : "Logging of unknown physicians was turned off.");
    return true;
}

std::string UnknownPhysicianDetailsQuery(const std::string& value) {
    return "SELECT PU.document_id, DD.patient_last, DD.patient_first, DD.patient_id,  \r\n"
           "  CONVERT(CHAR(10), transcribed_date, 101),\r\n"
           " (SELECT user_name FROM System_user_bindery WHERE user_id = PU.user_id), \r\n"
           " (SELECT hosp_acct_name FROM Account_info WHERE hosp_acct_id = DD.hosp_acct_id), \r\n"
           " (SELECT report_name FROM Reports_cfg WHERE hosp_acct_id = DD.hosp_acct_id AND report_type_nbr = "
           "DD.report_type_nbr AND dept_id = DD.dept_id),\r\n"
           " DD.hosp_acct_id\r\n"
           "FROM Physician_unknowns PU, Document_demographics DD\r\n"
           "WHERE PU.document_id = DD.document_id AND value = '" +
           DatabaseSession::QuoteSQL(value) + "'";
}

bool LoadUnknownPhysicianDetails(const std::string& value, std::vector<UnknownPhysicianReport>& out) {
    out.clear();
    auto& s = DatabaseSession::instance();
    s.SQLStatement = UnknownPhysicianDetailsQuery(value);
    if (s.ExecSQL() != 1)
        return false;
    while (s.FetchRow() == 1) {
        UnknownPhysicianReport r;
        r.document_id = s.GetColumnLong(1);
        r.patient_last = s.GetColumnText(2, 1);
        r.patient_first = s.GetColumnText(3, 1);
        r.patient_id = s.GetColumnText(4, 1);
        r.transcribed_date = s.GetColumnText(5, 1);
        r.user_name = s.GetColumnText(6, 1);
        r.hosp_acct_name = s.GetColumnText(7, 1);
        r.report_name = s.GetColumnText(8, 1);
        r.hosp_acct_id = s.GetColumnLong(9);
        if (AccountUnderUserPartition(r.hosp_acct_id))
            out.push_back(std::move(r));
    }
    return true;
}

bool DeleteUnknownPhysician(const std::string& value) {
    if (DatabaseSession::instance().RunStatement("DELETE FROM Physician_unknowns\r\nWHERE value = '" +
                                                 DatabaseSession::QuoteSQL(value) + "'")) {
        logChange("An unknown physician was deleted.", {"Value: " + value});
        return true;
    }
    MsgBox("Failed to delete the unknown physician.", MsgButtons::OK, MsgIcon::Exclamation, kTitle);
    return false;
}

bool ClearUnknownPhysicians() {
    if (const std::string refusal = ListCommandRefusal(ListCommand::Delete); !refusal.empty()) {
        MsgBox(refusal, MsgButtons::OK, MsgIcon::Exclamation, kSecurityTitle);
        return false;
    }
    if (MsgBox("Are you sure you want to delete the entire list?", MsgButtons::YesNo, MsgIcon::Question, kTitle) !=
        MsgAnswer::Yes)
        return false;
    if (DatabaseSession::instance().RunStatement("DELETE FROM Physician_unknowns")) {
        logChange("The unknown physician list was cleared.");
        return true;
    }
    MsgBox("Failed to clear the unknown physician list.", MsgButtons::OK, MsgIcon::Exclamation, kTitle);
    return false;
}

} // namespace physicians
