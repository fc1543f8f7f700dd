#pragma once

#include "Catalog.h"
#include "Error.h"
#include "Result.h"
#include "StatementCache.h"
#include "Value.h"

#include <atomic>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace tsql {

struct CompiledBatch;

struct Variable {
    std::string name;
    TypeSpec type;
    Value value;
};

// Where a connection opens: the folder that stands for the server, the database's name in it.
struct OpenOptions {
    std::string folder;      // Server=
    std::string database;    // Database=
    std::string login;       // UID=, empty for a trusted connection
    std::string password;    // PWD=
    std::string application; // APP=
    std::string workstation; // WSID=
    bool create = false;     // create the database file when missing (tools and tests only)
};

// One connection to an embedded database: runs T-SQL batches on SQLite with SQL Server's semantics.
class Session {
public:
    // Throws tsql::Error: 4060 when the database does not exist, 18456 for a refused login.
    static std::unique_ptr<Session> open(const OpenOptions& options);
    static std::string databasePath(const std::string& folder, const std::string& database);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    BatchResult execute(std::string_view sql);
    // Thread-safe: stops the batch that is running; the batch ends with message 0 "Operation canceled".
    void interrupt();
    // A test's fault: the next batch loses its client after running this many statements; the
    // server then rolls back the connection's transaction, as it does for a dead connection.
    void dropLinkAfter(long statements) { m_dropLinkAfter = statements; }

    [[nodiscard]] const std::string& databaseName() const { return m_options.database; }
    [[nodiscard]] int transactionCount() const { return m_tranCount; }

    // ---- used by the SQL functions the engine installs in SQLite -------------------------
    [[nodiscard]] bool ansiWarnings() const { return m_ansiWarnings; }
    [[nodiscard]] Value variableValue(int slot) const;
    void assignVariable(int slot, const Value& v);
    void raiseFromFunction(const Error& e) { m_functionError = e; }
    void clearFunctionError() { m_functionError.reset(); }
    [[nodiscard]] std::string objectIdOf(const std::string& name);
    [[nodiscard]] Value serverProperty(const std::string& name) const;
    [[nodiscard]] Value systemValue(const std::string& name) const;
    // GETDATE() of the running statement: read from the clock once, at its first call.
    [[nodiscard]] const std::string& statementNow();

    // ---- used by the translator ----------------------------------------------------------
    [[nodiscard]] Catalog& catalog() { return m_catalog; }
    [[nodiscard]] std::optional<int> variableSlot(const std::string& name) const;
    [[nodiscard]] const Variable& variable(int slot) const { return m_variables[static_cast<size_t>(slot)]; }
    [[nodiscard]] std::string resolveDatabase(const std::string& name) const; // "" when unknown
    [[nodiscard]] bool identityInsert(const std::string& table) const;
    [[nodiscard]] long long rowcountLimit() const { return m_rowcount; }
    [[nodiscard]] sqlite3* handle() const { return m_db; }
    // Shared with the cursors of streamed results, which may end after the connection has closed.
    [[nodiscard]] const std::shared_ptr<StatementCache>& statementCache() const { return m_statements; }
    // Throws the tsql::Error that stands for SQLite's refusal rc (SQL Server's number and text).
    [[noreturn]] void throwEngineError(int rc);

private:
    friend class Executor;
    explicit Session(OpenOptions options);
    void attachRecorded();

    OpenOptions m_options;
    std::string m_path;
    sqlite3* m_db = nullptr;
    Catalog m_catalog;
    std::shared_ptr<StatementCache> m_statements = std::make_shared<StatementCache>();
    std::unordered_map<std::string, std::shared_ptr<const CompiledBatch>> m_compiled; // by batch text

    // per-connection SET options and state
    bool m_nocount = false;
    bool m_ansiWarnings = true;
    bool m_xactAbort = false;
    long m_dropLinkAfter = -1;
    long long m_rowcount = 0;
    int m_tranCount = 0;
    std::map<std::string, bool> m_identityInsert;
    std::optional<Value> m_lastIdentity;
    long long m_lastRowcount = 0;
    int m_lastError = 0;

    // variables of the running batch and the procedures it called; each frame starts at m_frameBase
    std::vector<Variable> m_variables;
    size_t m_frameBase = 0;

    std::string m_statementNow; // cleared as each statement starts
    std::optional<Error> m_functionError;
    std::atomic<bool> m_interrupted{false};
};

} // namespace tsql
