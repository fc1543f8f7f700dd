#pragma once

#include "Interaction.h"

#include <functional>
#include <sql.h>
#include <sqlext.h>
#include <string>
#include <vector>

namespace foundation {

// The one connection to the suite's database and its one statement handle. Every screen puts its
// statement in SQLStatement, runs it with ExecSQL and reads the rows with FetchRow and
// GetColumnText. Errors are shown from inside (one message box per failure) and written to the
// local log; callers see only the integer results. A lost network link is repaired here.
class DatabaseSession {
public:
    static DatabaseSession& instance();

    // ---- state ---------------------------------------------------------------------------
    bool SQLConnected = false;
    std::string SQLStatement;
    std::string LastSQLError;
    bool UseDriverConnect = false;
    std::string ServerName, DatabaseName, DataSourceName, LoginName, Password;
    double DatabaseVersion = 2;
    std::string ApplicationTitle = "Veltra Desktop";

    // ---- operations ----------------------------------------------------------------------
    bool ConnectToSQL();
    void DisconnectFromSQL();
    int ExecSQL();                   // 1 success, 0 failure
    int ExecSQLAsync(bool showWait); // 1, 0, or 5 when the user cancelled
    int ExecSQLNoRetry(bool quiet);
    // A write that returns no rows: the statement run and every step of its results read, so an
    // error of a later statement of the batch counts too. True when all of it succeeded.
    bool RunStatement(const std::string& sql);
    int FetchRow();                                  // 1 a row, 0 no more rows or an error
    std::string GetColumnText(int column, int trim); // trim 1: trimmed; NULL reads as ""
    long GetColumnLong(int column);                  // the trimmed text as a number; NULL and text read as 0
    void CloseStatement();
    bool FlushResults();
    // Reading a batch of several SELECTs: FetchBatchRow is FetchRow that leaves the cursor open at
    // the end of a result set, and NextResultSet moves to the next one (1; 0 when the batch has no
    // more, the cursor then closed, or on an error, which is shown as usual).
    int FetchBatchRow();
    int NextResultSet();
    void ReportSQLError(SQLHDBC dbc, SQLHSTMT stmt);
    void CheckODBCResult(SQLRETURN rc, const std::string& text);
    void ShowConnectError();
    void ReadDatabaseVersion();
    // Reads the next free id and moves the counter on in one transaction, so two consoles never
    // receive the same id. The select names the counter with an update lock
    // ("SELECT user_id = next_user_id FROM User_identifier WITH (UPDLOCK)"), the update advances it.
    // Returns the first column of the select's first row, or -1 (the error shown as usual).
    long long AllocateIdentifier(const std::string& selectStatement, const std::string& updateStatement);
    // Runs SQLStatement, a save that deletes rows and writes them again, all or nothing: sent as one
    // text between "SET XACT_ABORT ON" / "BEGIN TRANSACTION" and "COMMIT TRANSACTION", so that any
    // error rolls the whole batch back. 1 when it committed; 0 after the error was shown, with
    // nothing of the batch applied and no transaction left open. SQLStatement keeps the caller's text.
    int ExecSQLAllOrNothing();
    // Ends a transaction a failed batch left open and puts XACT_ABORT back to its default.
    void RollbackOpenTransaction();

    static bool DSNExists(const std::string& name);
    static std::string QuoteSQL(const std::string& text);
    // The connection string exactly as sent: 150 characters, blank-padded or cut.
    [[nodiscard]] std::string ConnectionString() const;

    // Schema version tests, compared in single precision.
    [[nodiscard]] bool VersionGreaterThan(double v) const;
    [[nodiscard]] bool VersionAtLeast(double v) const;
    [[nodiscard]] bool VersionAtMost(double v) const;
    [[nodiscard]] bool VersionEquals(double v) const;
    [[nodiscard]] bool VersionLessThan(double v) const;

    [[nodiscard]] SQLHSTMT statementHandle() const { return m_stmt; }
    [[nodiscard]] SQLHDBC connectionHandle() const { return m_dbc; }

    // ---- hooks ---------------------------------------------------------------------------
    // The statements sent, in order: the latest kHistoryLimit at most, so a console that runs for
    // days does not keep every statement it ever sent.
    static constexpr size_t kHistoryLimit = 10000;
    std::vector<std::string> history;
    std::function<void(int mode)> traceHook;         // TraceSQL: 0 the statement, 1 the last error
    std::function<void(const std::string&)> logHook; // each diagnostic to the local log file
    std::function<void(int exitCode)> terminateHook; // the program ends (default: exit)
    platform::WaitIndicator* waitWindow = nullptr;   // polled by ExecSQLAsync
    int pollIntervalMs = 150;

private:
    SQLRETURN execDirect();
    void trace(int mode) {
        if (traceHook)
            traceHook(mode);
    }
    void terminate(int code);

    SQLHENV m_env = SQL_NULL_HENV;
    SQLHDBC m_dbc = SQL_NULL_HDBC;
    SQLHSTMT m_stmt = SQL_NULL_HSTMT;
    bool m_reconnecting = false;
};

} // namespace foundation
