#include "modUnknownPhysicians.h"

#include "DatabaseSession.h"
#include "MessageService.h"
#include "Utf8.h"
#include "modPhysicianList.h"

namespace physicians {

using foundation::DatabaseSession;
using platform::MsgAnswer;
using platform::MsgBox;
using platform::MsgButtons;
using platform::MsgIcon;

namespace {
constexpr const char* kTitle = "Manage Unknown Physicians";
}

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
    return DatabaseSession::instance().RunStatement("UPDATE Archive_cfg\r\nSET flag5 = " + std::string(on ? "1" : "0"));
}

bool DeleteUnknownPhysician(const std::string& value) {
    if (DatabaseSession::instance().RunStatement("DELETE FROM Physician_unknowns\r\nWHERE value = '" +
                                                 DatabaseSession::QuoteSQL(value) + "'"))
        return true;
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
    if (DatabaseSession::instance().RunStatement("DELETE FROM Physician_unknowns"))
        return true;
    MsgBox("Failed to clear the unknown physician list.", MsgButtons::OK, MsgIcon::Exclamation, kTitle);
    return false;
}

std::string EmailPasswordRefusal(const std::string& password, const std::string& confirm) {
    if (password != confirm)
        return "The two password entries do not match.  Please reconfirm your password.";
    if (!password.empty() && platform::utf8Length(password) < 6)
        return "The password must be between 6 and 12 characters.  Please enter a different password.";
    return {};
}

} // namespace physicians
