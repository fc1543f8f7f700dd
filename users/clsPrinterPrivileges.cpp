#include "clsPrinterPrivileges.h"

#include "DatabaseSession.h"
#include "EventLog.h"
#include "Numbers.h"

#include <algorithm>

namespace users {

using foundation::DatabaseSession;
using foundation::EventLog;

namespace {

constexpr int kUserAdministration = 2; // System_log type
constexpr int kInfo = 2;
constexpr long kUserPrinterPrivilegesModified = 20023;
constexpr long kGroupPrinterPrivilegesModified = 20024;

} // namespace

std::string clsPrinterPrivileges::LoadStatement(long id, const std::vector<long>& groupIds, long partitionId,
                                                bool partitionsInUse) {
    const std::string name = partitionsInUse ? "PAR.partition_name + ' \\ ' + SP.description" : "SP.description";
    std::string ids = std::to_string(id);
    for (long g : groupIds)
        ids += ", " + std::to_string(g);
    const std::string partition = std::to_string(partitionId);
    return "SELECT SP.printer_id, " + name +
           ", copy_access, orig_access, SPP.user_id, SUB.partition_id FROM System_printers SP LEFT JOIN "
           "System_printers_extended SPE ON (SP.printer_id = SPE.printer_id) LEFT JOIN System_partitions PAR ON "
           "(SPE.flag4 = PAR.partition_id) FULL OUTER JOIN System_printer_privileges SPP ON SP.printer_id = "
           "SPP.printer_id AND SPP.user_id in (" +
           ids + ") LEFT JOIN System_user_bindery SUB ON (SUB.user_id=SPP.user_id) WHERE (" + name +
           " NOT LIKE '%FAX%' or " + name + " IS NULL) AND (SPP.user_id IN (" + ids +
           ") OR SPP.user_id IS NULL) AND (SPE.flag4 = " + partition + " OR (PAR.lineage LIKE '%/" + partition +
           "/%') OR SPE.flag4 IS NULL) ORDER BY " + name + ", SP.printer_id";
}

clsPrinterPrivilege& clsPrinterPrivileges::printer(long printerId, const std::string& name) {
    auto it = std::find_if(m_colPrinters.begin(), m_colPrinters.end(),
                           [&](const clsPrinterPrivilege& p) { return p.m_lngPrinterId == printerId; });
    if (it != m_colPrinters.end())
        return *it;
    clsPrinterPrivilege p;
    p.m_lngPrinterId = printerId;
    p.m_strName = name;
    m_colPrinters.push_back(std::move(p));
    return m_colPrinters.back();
}

bool clsPrinterPrivileges::Load(long id, const std::string& name, bool isGroup, long partitionId,
                                const std::vector<long>& groupIds, bool partitionsInUse) {
    m_lngId = id;
    m_strName = name;
    m_blnIsGroup = isGroup;
    m_colPrinters.clear();
    printer(0, kAllNewPrinters);
    auto& s = DatabaseSession::instance();
    s.SQLStatement = LoadStatement(id, groupIds, partitionId, partitionsInUse);
    if (s.ExecSQL() != 1)
        return false;
    while (s.FetchRow() == 1) {
        // Each column is read once and in order, as the driver hands them over.
        std::string column[6];
        for (int c = 0; c < 6; ++c)
            column[c] = s.GetColumnText(c + 1, 1);
        auto number = [](const std::string& text) { return platform::parseDigits(text).value_or(0); };
        // A privilege row without a printer holds the rights given to printers created later.
        const long printerId = static_cast<long>(number(column[0]));
        clsPrinterPrivilege& p = printer(printerId, printerId == 0 ? std::string(kAllNewPrinters) : column[1]);
        if (column[4].empty())
            continue;
        const bool copy = number(column[2]) != 0;
        const bool original = number(column[3]) != 0;
        if (number(column[4]) == id) {
            p.m_blnCopyAccess = copy;
            p.m_blnOriginalAccess = original;
        } else {
            p.m_blnGroupCopyAccess = p.m_blnGroupCopyAccess || copy;
            p.m_blnGroupOriginalAccess = p.m_blnGroupOriginalAccess || original;
        }
    }
    return true;
}

void clsPrinterPrivileges::SetAll(bool on) {
    for (auto& p : m_colPrinters) {
        p.m_blnCopyAccess = on;
        p.m_blnOriginalAccess = on;
    }
}

bool clsPrinterPrivileges::Save() {
    const std::string id = std::to_string(m_lngId);
    // Deleted and written again in one all-or-nothing batch, so a failure leaves the old rows.
    std::string batch = "DELETE FROM System_printer_privileges WHERE user_id = " + id;
    for (const auto& p : m_colPrinters) {
        if (!p.m_blnCopyAccess && !p.m_blnOriginalAccess)
            continue;
        batch += "\r\nINSERT INTO System_printer_privileges VALUES(" + id + ", " + std::to_string(p.m_lngPrinterId) +
                 ", " + (p.m_blnCopyAccess ? "1" : "0") + ", " + (p.m_blnOriginalAccess ? "1" : "0") +
                 ", 0, 0, 0, 0, 0, 0, NULL, NULL)";
    }
    auto& s = DatabaseSession::instance();
    s.SQLStatement = std::move(batch);
    if (s.ExecSQLAllOrNothing() != 1)
        return false;
    EventLog::LogEvent(EventLog::SystemLog, kUserAdministration, kInfo,
                       m_blnIsGroup ? kGroupPrinterPrivilegesModified : kUserPrinterPrivilegesModified, 0, 0, 0, 0, 0,
                       -1, 0,
                       std::string(m_blnIsGroup ? "Printer privileges for group " : "Printer privileges for user ") +
                           m_strName + " have been modified.");
    return true;
}

} // namespace users
