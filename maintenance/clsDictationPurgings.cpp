#include "clsDictationPurgings.h"

#include "DatabaseSession.h"
#include "EventLog.h"
#include "MessageService.h"

namespace maintenance {

using foundation::DatabaseSession;

namespace {
constexpr const char* kLineBreak = "\r\n";
}

const char* const clsDictationPurgings::kLoadQuery = "SELECT * FROM Dictation_purge_criteria ORDER BY default_criteria";
const char* const clsDictationPurgings::kDropStatement =
    "IF EXISTS (SELECT * FROM sysobjects WHERE id = object_id('dbo.purge_dictation_jobs') AND sysstat & 0xf = 4)\r\n"
    "   DROP PROCEDURE dbo.purge_dictation_jobs";
const char* const clsDictationPurgings::kGrantStatement = "GRANT EXEC ON dbo.purge_dictation_jobs TO PUBLIC";
const char* const clsDictationPurgings::kSavedMessage = "Dictation purging criteria changed by user ";
const char* const clsDictationPurgings::kSaveFailedMessage =
    "Error.  Purging criteria could not be saved properly.  Please adjust the criteria or contact your technical "
    "support representative for assistance.";

bool clsDictationPurgings::Load() {
    items.clear();
    auto& s = DatabaseSession::instance();
    s.SQLStatement = kLoadQuery;
    if (s.ExecSQL() != 1)
        return false;
    while (s.FetchRow() == 1) {
        clsDictationPurging c;
        c.m_source_department = s.GetColumnText(1, 1);
        c.m_source_work_types = s.GetColumnText(2, 1);
        c.m_hosp_acct_id = s.GetColumnLong(3);
        c.m_report_types = s.GetColumnText(4, 1);
        c.m_date_type = static_cast<int>(s.GetColumnLong(5));
        c.m_default_criteria = static_cast<int>(s.GetColumnLong(6));
        c.m_nbr_days = s.GetColumnLong(7);
        c.m_source_type = static_cast<int>(s.GetColumnLong(8));
        c.m_flag1 = s.GetColumnLong(9);
        c.m_flag2 = s.GetColumnLong(10);
        c.m_flag3 = s.GetColumnLong(11);
        c.m_flag4 = s.GetColumnLong(12);
        items.push_back(std::move(c));
    }
    // A site that never saved criteria has no default yet: it starts with one of 7 days, so the
    // procedure always has a block and every job a rule.
    if (items.empty() || !items.back().IsDefault()) {
        clsDictationPurging fallback;
        fallback.m_default_criteria = 1;
        fallback.m_date_type = items.empty() ? 0 : items.front().m_date_type;
        items.push_back(fallback);
    }
    return true;
}

std::string clsDictationPurgings::block(const clsDictationPurging& c) const {
    const char* dateColumn = c.m_date_type == 1 ? "dictated_datetime" : "date1";
    std::string text = std::string("INSERT INTO Dictation_purge_queue") + kLineBreak +
                       "SELECT job_id, GETDATE(), 0, 0, 0, 0, NULL, NULL, NULL" + kLineBreak +
                       "FROM Dictation_jobs_complete DJC" + kLineBreak + "WHERE source_file_purged = 0 AND eflag3 = 0" +
                       kLineBreak + " AND " + dateColumn + " < DATEADD(day, -" + std::to_string(c.m_nbr_days) +
                       ", GETDATE())" + kLineBreak +
                       " AND NOT EXISTS (SELECT * FROM Dictation_purge_queue WHERE job_id = DJC.job_id)" + kLineBreak;
    if (!c.IsDefault()) {
        // A criterion that restricts nothing adds no condition: a bare " AND " would not compile.
        const std::string clause = c.GetTypeClause();
        if (!clause.empty())
            text += " AND " + clause;
        return text;
    }
    for (const clsDictationPurging& other : items) {
        if (&other == &c || other.IsDefault() || other.IsObsolete())
            continue;
        const std::string clause = other.GetTypeClause();
        if (!clause.empty())
            text += " AND NOT " + clause;
    }
    return text;
}

std::string clsDictationPurgings::CreateStatement() const {
    std::string text = std::string("CREATE PROCEDURE dbo.purge_dictation_jobs AS") + kLineBreak;
    for (const clsDictationPurging& c : items)
        if (!c.IsObsolete())
            text += block(c);
    return text;
}

std::string clsDictationPurgings::DryRunStatement() const {
    std::string declare, blocks, select;
    int n = 0;
    for (const clsDictationPurging& c : items) {
        if (c.IsObsolete())
            continue;
        const std::string var = "@queued" + std::to_string(++n);
        declare += (n == 1 ? "DECLARE " : ", ") + var + " int";
        blocks += block(c) + "SET " + var + " = @@ROWCOUNT" + kLineBreak;
        select += (n == 1 ? "SELECT " : ", ") + var;
    }
    // Variables keep their values through the rollback; any error ends the batch and undoes its inserts.
    return "SET NOCOUNT ON" + std::string(kLineBreak) + "SET XACT_ABORT ON" + kLineBreak + declare + kLineBreak +
           "BEGIN TRANSACTION" + kLineBreak + blocks + "ROLLBACK TRANSACTION" + kLineBreak + "SET XACT_ABORT OFF" +
           kLineBreak + "SET NOCOUNT OFF" + kLineBreak + select;
}

std::optional<std::vector<long>> clsDictationPurgings::DryRun() const {
    auto& s = DatabaseSession::instance();
    s.SQLStatement = DryRunStatement();
    if (s.ExecSQL() != 1) {
        s.RollbackOpenTransaction();
        return std::nullopt;
    }
    if (s.FetchRow() != 1) {
        s.CloseStatement();
        s.RollbackOpenTransaction();
        return std::nullopt;
    }
    std::vector<long> counts;
    int column = 0;
    for (const clsDictationPurging& c : items)
        counts.push_back(c.IsObsolete() ? -1 : s.GetColumnLong(++column));
    s.CloseStatement();
    return counts;
}

std::array<std::string, 3> clsDictationPurgings::ProcedureStatements() const {
    return {kDropStatement, CreateStatement(), kGrantStatement};
}

std::string clsDictationPurgings::CriteriaBatch() const {
    std::string sql = "DELETE FROM Dictation_purge_criteria";
    auto q = [](const std::string& text) { return "'" + DatabaseSession::QuoteSQL(text) + "'"; };
    for (const clsDictationPurging& c : items) {
        if (c.IsObsolete())
            continue;
        sql += std::string(kLineBreak) + "INSERT INTO Dictation_purge_criteria VALUES(" + q(c.m_source_department) +
               ", " + q(c.m_source_work_types) + ", " + std::to_string(c.m_hosp_acct_id) + ", " + q(c.m_report_types) +
               ", " + std::to_string(c.m_date_type) + ", " + std::to_string(c.m_default_criteria) + ", " +
               std::to_string(c.m_nbr_days) + ", " + std::to_string(c.m_source_type) + ", " +
               std::to_string(c.m_flag1) + ", " + std::to_string(c.m_flag2) + ", " + std::to_string(c.m_flag3) + ", " +
               std::to_string(c.m_flag4) + ", NULL, NULL, NULL, NULL)";
    }
    return sql;
}

bool clsDictationPurgings::Save(int dateType, const std::string& userName) {
    for (clsDictationPurging& c : items)
        c.m_date_type = dateType;
    auto& s = DatabaseSession::instance();
    auto fail = [] {
        platform::MsgBox(kSaveFailedMessage, platform::MsgButtons::OK, platform::MsgIcon::Exclamation);
        return false;
    };
    // The regeneration runs in one transaction, each statement still sent on its own: a failure
    // part-way rolls back, so the procedure the dictation processor runs stays the previous one.
    if (!s.RunStatement("BEGIN TRANSACTION"))
        return fail();
    for (const std::string& statement : ProcedureStatements())
        if (!s.RunStatement(statement)) {
            if (s.SQLConnected)
                s.RollbackOpenTransaction();
            return fail();
        }
    if (!s.RunStatement("COMMIT TRANSACTION")) {
        if (s.SQLConnected)
            s.RollbackOpenTransaction();
        return fail();
    }
    s.SQLStatement = CriteriaBatch();
    if (s.ExecSQLAllOrNothing() != 1)
        return fail();
    foundation::EventLog::LogEvent(foundation::EventLog::SystemLog, 0, 2, kChangedEvent, 0, 0, 0, 0, 0, -1, 0,
                                   kSavedMessage + userName + ".");
    return true;
}

std::vector<std::string> clsDictationPurgings::Descriptions(const suite::LoginComponent& accounts) const {
    std::vector<std::string> lines;
    for (const clsDictationPurging& c : items)
        lines.push_back(c.Description(items.size() >= 2, accounts));
    return lines;
}

std::string clsDictationPurgings::ObsoleteWarning(const suite::LoginComponent& accounts) const {
    std::string list;
    for (const clsDictationPurging& c : items)
        if (c.IsObsolete())
            list += c.Description(items.size() >= 2, accounts) + "\n";
    if (list.empty())
        return "";
    return "Warning:  The following purge criteria no longer have a valid or current source type.\n\n" + list +
           "\nUnless explicitly edited, these criteria will be removed upon saving.";
}

int clsDictationPurgings::DateType() const {
    for (const clsDictationPurging& c : items)
        if (c.IsDefault())
            return c.m_date_type;
    return 0;
}

} // namespace maintenance
