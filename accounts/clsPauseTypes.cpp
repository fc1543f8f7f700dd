#include "clsPauseTypes.h"

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
    return "Activity type '" + description + "' (" + std::to_string(type) + ")";
}

} // namespace

const char* clsPauseTypes::WorkTypeName(int workType) {
    switch (workType) {
    case 0:
        return "Non-work";
    case 1:
        return "Transcription";
    default:
        return "Other";
    }
}

std::string clsPauseTypes::ListQuery() {
    return "SELECT pause_type, pause_description, work_type, \r\n       work_hours_choice, pause_reason_choice\r\n"
           "FROM Pause_types\r\nWHERE hosp_acct_id = -1 AND pause_type > 0\r\nORDER BY pause_type";
}

std::string clsPauseTypes::InsertStatement(const clsPauseType& t) {
    return "INSERT INTO Pause_types\r\nSELECT hosp_acct_id, " + std::to_string(t.pause_type) + ", '" +
           DatabaseSession::QuoteSQL(t.pause_description) + "', " + std::to_string(t.work_type) + ", " +
           std::to_string(t.work_hours_choice) + ", " + std::to_string(t.pause_reason_choice) + "\r\nFROM Account_info";
}

std::string clsPauseTypes::UpdateStatement(const clsPauseType& t) {
    return "UPDATE Pause_types\r\nSET pause_description = '" + DatabaseSession::QuoteSQL(t.pause_description) +
           "', \r\n    work_type = " + std::to_string(t.work_type) +
           ", \r\n    work_hours_choice = " + std::to_string(t.work_hours_choice) +
           ", \r\n    pause_reason_choice = " + std::to_string(t.pause_reason_choice) +
           "\r\nWHERE pause_type = " + std::to_string(t.pause_type);
}

std::string clsPauseTypes::DeleteStatement(int type) {
    return "DELETE\r\nFROM Pause_types\r\nWHERE pause_type = " + std::to_string(type);
}

std::string clsPauseTypes::ReferenceQuery(int type) {
    return "SET ROWCOUNT 1\r\nSELECT trans_id\r\nFROM Trans_activity\r\nWHERE pause_type = " + std::to_string(type) +
           "\r\nSET ROWCOUNT 0";
}

bool clsPauseTypes::Load() {
    m_types.clear();
    auto& s = DatabaseSession::instance();
    s.SQLStatement = ListQuery();
    if (s.ExecSQL() != 1)
        return false;
    while (s.FetchRow() == 1) {
        clsPauseType t;
        t.pause_type = static_cast<int>(s.GetColumnLong(1));
        t.pause_description = s.GetColumnText(2, 1);
        t.work_type = static_cast<int>(s.GetColumnLong(3));
        t.work_hours_choice = static_cast<int>(s.GetColumnLong(4));
        t.pause_reason_choice = static_cast<int>(s.GetColumnLong(5));
        m_types.push_back(std::move(t));
    }
    return true;
}

const clsPauseType* clsPauseTypes::Find(int type) const {
    auto it =
        std::find_if(m_types.begin(), m_types.end(), [type](const clsPauseType& t) { return t.pause_type == type; });
    return it == m_types.end() ? nullptr : &*it;
}

int clsPauseTypes::NextNumber() const {
    int highest = 0;
    for (const auto& t : m_types)
        highest = std::max(highest, t.pause_type);
    return highest + 1;
}

clsPauseTypes::Reference clsPauseTypes::IsReferenced(int type) {
    auto& s = DatabaseSession::instance();
    s.SQLStatement = ReferenceQuery(type);
    if (s.ExecSQL() != 1)
        return Reference::Failed;
    const bool found = s.FetchRow() == 1;
    s.FlushResults();
    s.CloseStatement();
    return found ? Reference::Referenced : Reference::Free;
}

bool clsPauseTypes::Add(const clsPauseType& t) {
    if (!run(InsertStatement(t)))
        return false;
    LogTypeChange(kActivityTypeAdded, named(t.pause_type, t.pause_description) + " added");
    return Load();
}

bool clsPauseTypes::Change(const clsPauseType& t) {
    if (!run(UpdateStatement(t)))
        return false;
    LogTypeChange(kActivityTypeChanged, named(t.pause_type, t.pause_description) + " changed");
    return Load();
}

bool clsPauseTypes::Remove(int type) {
    const clsPauseType* t = Find(type);
    const std::string description = t ? t->pause_description : std::string();
    if (!run(DeleteStatement(type)))
        return false;
    LogTypeChange(kActivityTypeDeleted, named(type, description) + " deleted");
    return Load();
}

} // namespace accounts
