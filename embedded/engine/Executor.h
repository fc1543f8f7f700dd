#pragma once

#include "Ast.h"
#include "Result.h"
#include "Session.h"
#include "Translator.h"

#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <unordered_map>

struct sqlite3_stmt;

namespace tsql {

// Runs one batch on a session: control flow, variables and the statements themselves, and
// collects the results and messages in the order SQL Server's driver would hand them out.
class Executor {
public:
    Executor(Session& session, BatchResult& out) : m_s(session), m_out(out) {}
    Executor(const Executor&) = delete;
    Executor& operator=(const Executor&) = delete;
    void runBatch(std::string_view sql);

private:
    enum class Flow { Normal, Break, Continue, Return };

    Flow run(const Statement& st);
    Flow runList(const std::vector<StatementPtr>& list);
    void runStatement(const Statement& st);

    // statements
    void runSelect(const Statement& st);
    void runInsert(const Statement& st);
    void runUpdate(const Statement& st);
    void runDelete(const Statement& st);
    void runCreateTable(const Statement& st);
    void runDrop(const Statement& st);
    void runCreateIndex(const Statement& st);
    void runAlterTable(const Statement& st);
    void runTruncate(const Statement& st);
    void runCreateView(const Statement& st);
    void runDeclare(const Statement& st);
    void runSetVariable(const Statement& st);
    void runSetOption(const Statement& st);
    void runTransaction(const Statement& st);
    void runPrint(const Statement& st);
    void runRaiserror(const Statement& st);
    void runCreateProcedure(const Statement& st);
    int runExec(const Statement& st, std::vector<ResultSet>* capture = nullptr);
    bool runSystemProcedure(const std::string& name, const std::vector<Value>& args);
    void runSpaceUsed(const std::vector<Value>& args);
    void runHelpDb(const std::vector<Value>& args);
    void runBackup(const Statement& st);
    std::string ensureBackupHistory();
    long long scalarInt(const std::string& sql, const std::vector<Value>& binds);

    // the checks SQL Server makes when it compiles a batch or a procedure, before anything runs
    void compileCheck(const std::vector<StatementPtr>& list, const std::vector<ProcParam>* params);
    bool checkList(const std::vector<StatementPtr>& list);
    bool checkStatement(const Statement& st);
    void checkGuarded(const std::function<void()>& check);
    void checkPrepared(const std::string& sql, const std::vector<Value>& binds);
    void checkInsert(const Statement& st);
    void checkUpdateOrDelete(const Statement& st);

    // evaluation helpers
    Value evaluate(const Expr& e);
    bool condition(const Expr& e);
    std::vector<Value> evaluateArgs(const Statement& st);

    // SQLite helpers
    sqlite3_stmt* prepare(const std::string& sql, const std::vector<Value>& binds);
    // The same text is prepared again and again: an IF's condition when the batch is checked and
    // when it runs, a loop's statements on every pass, a console's list load in every batch. Such
    // statements are kept prepared by the connection (reset, bindings cleared), taken back by text.
    sqlite3_stmt* prepareKept(const std::string& sql, const std::vector<Value>& binds);
    void keep(sqlite3_stmt* st, unsigned long long generation);
    struct KeptGuard {
        Executor& ex;
        unsigned long long generation; // the catalog's, as the statement is prepared for it
        sqlite3_stmt* st;
        KeptGuard(Executor& e, const std::string& text, const std::vector<Value>& binds)
            : ex(e), generation(e.m_s.catalog().generation()), st(e.prepareKept(text, binds)) {}
        ~KeptGuard() {
            if (st)
                ex.keep(st, generation);
        }
        KeptGuard(const KeptGuard&) = delete;
        KeptGuard& operator=(const KeptGuard&) = delete;
    };
    // The variables of an EXEC'd batch, a procedure's parameters or a compile check: a frame of
    // their own, opened on construction; close() or the end of the scope gives the caller's back.
    class VariableFrame {
    public:
        explicit VariableFrame(Session& s) : m_s(s), m_base(s.m_frameBase), m_start(s.m_variables.size()) {
            s.m_frameBase = m_start;
        }
        ~VariableFrame() { close(); }
        VariableFrame(const VariableFrame&) = delete;
        VariableFrame& operator=(const VariableFrame&) = delete;
        [[nodiscard]] size_t start() const { return m_start; }
        void close() {
            if (!m_open)
                return;
            m_s.m_variables.resize(m_start);
            m_s.m_frameBase = m_base;
            m_open = false;
        }

    private:
        Session& m_s;
        size_t m_base;
        size_t m_start;
        bool m_open = true;
    };
    void stepToEnd(sqlite3_stmt* st);
    [[noreturn]] void raiseEngineError(int rc);
    void describeColumns(sqlite3_stmt* st, const TranslatedSelect& shape, ResultSet& rs);
    void collectRows(sqlite3_stmt* st, const TranslatedSelect& shape, ResultSet& rs);
    long long changes() const;
    void noteIdentity(const Translator::ResolvedTable& t);

    // output
    void addMessage(Message m) { m_pending.push_back(std::move(m)); }
    void addRows(ResultSet&& rs);
    void addCount(long long n);
    void addError(const Error& e);
    void finish();
    void rollbackOpenTransaction();

    Session& m_s;
    BatchResult& m_out;
    std::vector<Message> m_pending;
    std::vector<ResultSet>* m_capture = nullptr; // INSERT ... EXEC collects result sets here
    const Statement* m_streamable = nullptr;     // the top-level SELECT that ends the batch
    int m_depth = 0;
    int m_returnValue = 0;
    bool m_checkIdentityInsert = false; // the batch sets IDENTITY_INSERT before a checked INSERT
    // The batch's first statement runs right after the check, with nothing run in between: a
    // SELECT of it that reads no variable keeps the check's translation for its run, unless the
    // tables changed meanwhile (another connection) or SET ROWCOUNT limits it.
    const Statement* m_firstStatement = nullptr;
    struct CheckedSelect {
        const Statement* statement = nullptr;
        TranslatedSelect translated;
        unsigned long long generation = 0;
    };
    CheckedSelect m_checkedFirst;
    // The translation of a batch made of one SELECT that read no variable, kept for the batch's text.
    std::optional<TranslatedSelect> m_compilable;
    bool m_mayCompile = false; // a batch of one statement, not taken from the kept ones
    std::shared_ptr<const CompiledBatch> findCompiled(std::string_view sql);
    void keepCompiled(std::string_view sql, std::vector<StatementPtr> statements);
};

} // namespace tsql
