#include "PhysicianSearch.h"

#include "DatabaseSession.h"
#include "EventLog.h"
#include "LoginComponent.h"
#include "Numbers.h"
#include "modPartition.h"

namespace physicians {

using foundation::DatabaseSession;
using foundation::EventLog;

std::string PhysicianSearchQuery(const std::string& text) {
    const std::string like = DatabaseSession::QuoteSQL(text);
    return "SELECT DISTINCT PP.physician_id, PP.first_name, PP.last_name, PP.title_1, PP.flag2, PP.partition_id, \r\n"
           "       PA.dictation_id, PA.mis_nbr_1, PA.mis_nbr_2, \r\n"
           "       PA.fax_nbr_1, PA.group_affiliation, PA.address_1, \r\n"
           "       PA.elect_signature , PA.batch_enabled, PA.fax_enabled_1, PA.email_enabled, PA.string1, PP.flag3,\r\n"
           "       dvi_id = (SELECT MIN(source_physician_id) FROM Physician_external_ids PEI "
           "WHERE PEI.physician_id = PP.physician_id AND PEI.source_type = 2),\r\n"
           "       dvi_count = (SELECT COUNT(*) FROM Physician_external_ids PEI "
           "WHERE PEI.physician_id = PP.physician_id AND PEI.source_type = 2),\r\n"
           "       PM.hosp_acct_id\r\n"
           "FROM   Physician_profile PP, Physician_membership PM, Physician_attributes PA\r\n"
           "WHERE  \r\n"
           "       PP.is_deleted = 0 AND PP.physician_id > -1\r\n"
           "       AND PP.physician_id = PM.physician_id\r\n"
           "       AND PA.physician_id = PP.physician_id AND PA.hosp_acct_id = -1\r\n"
           "       AND (PP.last_name LIKE('%" +
           like +
           "%')\r\n"
           " OR  PP.first_name LIKE('%" +
           like +
           "%'))\r\n"
           "ORDER BY PP.last_name, PP.first_name, PP.physician_id, PM.hosp_acct_id";
}

bool SearchPhysicians(const std::string& text, clsPhysicianSummaryRecords& found) {
    found.RemoveAll();
    auto& s = DatabaseSession::instance();
    s.SQLStatement = PhysicianSearchQuery(text);
    if (s.ExecSQL() != 1)
        return false;
    const auto* login = Partitions().login;
    const long userPartition = login ? login->user.Partition_ID : -1;
    auto num = [&s](int c) { return static_cast<long>(platform::parseNumber(s.GetColumnText(c, 1)).value_or(0)); };
    while (s.FetchRow() == 1) {
        clsPhysicianSummaryRecord r;
        r.physician_id = num(1);
        r.Partition_ID = num(6);
        r.hosp_acct_id = num(21);
        if (found.Item(r.MyKey()))
            continue;
        if (!AccountSharedForPhysicianSearch(r.hosp_acct_id) && !PartitionIsUnder(r.Partition_ID, userPartition))
            continue;
        r.first_name = s.GetColumnText(2, 1);
        r.last_name = s.GetColumnText(3, 1);
        r.title_1 = s.GetColumnText(4, 1);
        r.paxlet_user_id = num(5);
        r.dictation_id = s.GetColumnText(7, 1);
        r.mis_nbr_1 = s.GetColumnText(8, 1);
        r.mis_nbr_2 = s.GetColumnText(9, 1);
        r.fax_nbr_1 = s.GetColumnText(10, 1);
        r.group_affiliation = s.GetColumnText(11, 1);
        r.address_1 = s.GetColumnText(12, 1);
        r.elect_signature = static_cast<int>(num(13));
        r.batch_enabled = static_cast<int>(num(14));
        r.fax_enabled_1 = static_cast<int>(num(15));
        r.email_enabled = static_cast<int>(num(16));
        r.string1 = s.GetColumnText(17, 1);
        r.is_hidden = static_cast<int>(num(18));
        r.dvi_id = s.GetColumnText(19, 1);
        r.dvi_count = static_cast<int>(num(20));
        found.Add(r);
    }
    const std::string userName = login ? login->user.user_name : std::string();
    EventLog::LogEvent(EventLog::SystemLog, 2, 2, 20030, 0, 0, 0, 0, 0, -1, 0,
                       "User " + userName + " searched for " + text + " from other partitions.");
    return true;
}

bool AddPhysicianToAccount(const clsPhysicianSummaryRecord& r, long account) {
    const std::string id = std::to_string(r.physician_id);
    const std::string acct = std::to_string(account);
    auto& s = DatabaseSession::instance();
    if (!s.RunStatement("IF NOT EXISTS (SELECT * FROM Physician_membership WHERE physician_id = " + id +
                        " AND (hosp_acct_id = " + acct +
                        " OR hosp_acct_id = -1))\r\n"
                        "   INSERT INTO Physician_membership VALUES (" +
                        id + ", " + acct + ", 0, 0)"))
        return false;
    EventLog::LogEvent(EventLog::SystemLog, 2, 2, 20030, 0, 0, 0, 0, 0, account, 0,
                       "A physician was added to an account.", {"Name: " + r.DisplayName(), "Account: " + acct});
    return true;
}

} // namespace physicians
