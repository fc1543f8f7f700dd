#include "Executor.h"

#include "CompiledBatch.h"
#include "Convert.h"
#include "Lexer.h"
#include "Parser.h"
#include "StmtGuard.h"

#include <cstring>
#include <sqlite3.h>
#include <utility>

namespace tsql {

namespace {

bool abortsTransaction(const Error& e) {
    switch (e.number()) {
    case 220:  // arithmetic overflow for a type
    case 241:  // text to datetime
    case 245:  // text to number
    case 248:  // text overflowing an integer type
    case 529:  // conversion not allowed
    case 8114: // text to numeric
    case 8115: // arithmetic overflow converting to a type
        return e.scope() != ErrorScope::Statement;
    default:
        return false;
    }
}

bool nameResolution(const Error& e) {
    return e.number() == 207 || e.number() == 208;
}

} // namespace

void Executor::rollbackOpenTransaction() {
    if (m_s.m_tranCount == 0)
        return;
    sqlite3_exec(m_s.m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    m_s.m_tranCount = 0;
}

std::shared_ptr<const CompiledBatch> Executor::findCompiled(std::string_view sql) {
    auto it = m_s.m_compiled.find(std::string(sql));
    if (it == m_s.m_compiled.end() || m_s.m_rowcount != 0)
        return nullptr;
    m_s.m_catalog.refreshIfChanged();
    if (it->second->generation != m_s.m_catalog.generation()) {
        m_s.m_compiled.erase(it);
        return nullptr;
    }
    return it->second;
}

void Executor::keepCompiled(std::string_view sql, std::vector<StatementPtr> statements) {
    constexpr size_t kMaxCompiled = 256;
    if (m_s.m_compiled.size() >= kMaxCompiled)
        m_s.m_compiled.clear();
    auto compiled = std::make_shared<CompiledBatch>();
    compiled->statements = std::move(statements);
    compiled->translated = std::move(*m_compilable);
    compiled->generation = m_s.m_catalog.generation();
    m_s.m_compiled[std::string(sql)] = std::move(compiled);
}

void Executor::runBatch(std::string_view sql) {
    std::vector<StatementPtr> parsed;
    std::shared_ptr<const CompiledBatch> compiled;
    m_s.m_catalog.beginStatement();
    try {
        compiled = findCompiled(sql);
        if (compiled) {
            m_firstStatement = compiled->statements.front().get();
            m_checkedFirst = {m_firstStatement, compiled->translated, compiled->generation};
        } else {
            parsed = parseBatch(sql);
            for (size_t i = 1; i < parsed.size(); ++i) {
                StatementKind k = parsed[i]->kind;
                if (k == StatementKind::CreateProcedure || k == StatementKind::CreateView)
                    throw Error(111,
                                std::string("'") +
                                    (k == StatementKind::CreateProcedure ? "CREATE PROCEDURE" : "CREATE VIEW") +
                                    "' must be the first statement in a query batch.",
                                ErrorScope::Compile, 15);
            }
            m_firstStatement = parsed.empty() ? nullptr : parsed.front().get();
            compileCheck(parsed, nullptr);
        }
    } catch (const Error& e) {
        addError(e);
        finish();
        return;
    }
    const std::vector<StatementPtr>& statements = compiled ? compiled->statements : parsed;
    m_mayCompile = !compiled && parsed.size() == 1;
    if (!statements.empty() && statements.back()->kind == StatementKind::Select)
        m_streamable = statements.back().get();
    try {
        for (const auto& st : statements)
            if (run(*st) == Flow::Return)
                break;
    } catch (const Cancelled&) {
        m_out.cancelled = true;
    } catch (const LinkLost&) {
        // The client is gone: the server rolls back what the connection had open.
        m_out.linkLost = true;
        rollbackOpenTransaction();
    } catch (const Error& e) {
        addError(e);
        // A conversion error aborts the batch and rolls back its transaction, as SQL Server does,
        // and so does every run-time error under SET XACT_ABORT ON; name-resolution errors of
        // deferred statements end the batch but leave the transaction open.
        if (abortsTransaction(e) || (m_s.m_xactAbort && !nameResolution(e)))
            rollbackOpenTransaction();
    }
    m_s.m_variables.clear();
    m_s.m_frameBase = 0;
    if (m_compilable)
        keepCompiled(sql, std::move(parsed));
    finish();
}

Executor::Flow Executor::runList(const std::vector<StatementPtr>& list) {
    for (const auto& st : list) {
        Flow f = run(*st);
        if (f != Flow::Normal)
            return f;
    }
    return Flow::Normal;
}

Executor::Flow Executor::run(const Statement& st) {
    if (m_s.m_interrupted)
        throw Cancelled{};
    if (m_s.m_dropLinkAfter >= 0 && m_s.m_dropLinkAfter-- == 0)
        throw LinkLost{};
    // SQL Server reads the clock once per statement: every GETDATE() of one statement agrees.
    m_s.m_statementNow.clear();
    m_s.m_catalog.beginStatement();
    switch (st.kind) {
    case StatementKind::Block:
        return runList(st.body);
    case StatementKind::If:
        if (condition(*st.value))
            return run(*st.body[0]);
        if (st.body.size() > 1)
            return run(*st.body[1]);
        return Flow::Normal;
    case StatementKind::While:
        while (condition(*st.value)) {
            if (m_s.m_interrupted)
                throw Cancelled{};
            Flow f = run(*st.body[0]);
            m_s.m_statementNow.clear();
            m_s.m_catalog.beginStatement();
            if (f == Flow::Break)
                break;
            if (f == Flow::Return)
                return f;
        }
        return Flow::Normal;
    case StatementKind::Break:
        return Flow::Break;
    case StatementKind::Continue:
        return Flow::Continue;
    case StatementKind::Return:
        if (st.value)
            m_returnValue =
                static_cast<int>(convertValue(evaluate(*st.value), TypeSpec{"int", 0, 0, 0}, ConvertMode::Explicit).i);
        return Flow::Return;
    default:
        break;
    }
    try {
        runStatement(st);
        m_s.m_lastError = 0;
    } catch (const Error& e) {
        m_s.m_lastError = e.number();
        if (e.scope() != ErrorScope::Statement)
            throw;
        // Under SET XACT_ABORT ON a run-time error ends the batch; RAISERROR keeps its own reach.
        if (m_s.m_xactAbort && e.number() != 50000)
            throw Error(e.number(), e.what(), ErrorScope::Batch, e.severity());
        addError(e);
    }
    return Flow::Normal;
}

void Executor::runStatement(const Statement& st) {
    switch (st.kind) {
    case StatementKind::Select:
        return runSelect(st);
    case StatementKind::Insert:
        return runInsert(st);
    case StatementKind::Update:
        return runUpdate(st);
    case StatementKind::Delete:
        return runDelete(st);
    case StatementKind::CreateTable:
        return runCreateTable(st);
    case StatementKind::DropTable:
    case StatementKind::DropView:
    case StatementKind::DropIndex:
    case StatementKind::DropProcedure:
        return runDrop(st);
    case StatementKind::CreateIndex:
        return runCreateIndex(st);
    case StatementKind::AlterTableAdd:
        return runAlterTable(st);
    case StatementKind::Truncate:
        return runTruncate(st);
    case StatementKind::CreateView:
        return runCreateView(st);
    case StatementKind::Declare:
        return runDeclare(st);
    case StatementKind::SetVariable:
        return runSetVariable(st);
    case StatementKind::SetOption:
        return runSetOption(st);
    case StatementKind::BeginTran:
    case StatementKind::CommitTran:
    case StatementKind::RollbackTran:
        return runTransaction(st);
    case StatementKind::Print:
        return runPrint(st);
    case StatementKind::Raiserror:
        return runRaiserror(st);
    case StatementKind::Exec:
        runExec(st, m_capture);
        return;
    case StatementKind::CreateProcedure:
        return runCreateProcedure(st);
    case StatementKind::Grant:
        return;
    case StatementKind::Backup:
        return runBackup(st);
    case StatementKind::Use:
        if (!iequals(st.target[0], m_s.databaseName()))
            throw Error(911, "Database '" + st.target[0] +
                                 "' does not exist. Make sure that the name is entered correctly.");
        return;
    default:
        throw Error(102, "Incorrect syntax near '" + st.sourceText + "'.", ErrorScope::Compile, 15);
    }
}

// ---- output ---------------------------------------------------------------------------------

void Executor::addRows(ResultSet&& rs) {
    if (m_capture) {
        m_capture->push_back(std::move(rs));
        return;
    }
    ResultItem item;
    item.kind = ResultItem::Kind::Rows;
    item.rows = std::move(rs);
    item.messages = std::move(m_pending);
    m_pending.clear();
    m_out.items.push_back(std::move(item));
}

void Executor::addCount(long long n) {
    m_s.m_lastRowcount = n;
    if (m_s.m_nocount || m_capture)
        return;
    ResultItem item;
    item.kind = ResultItem::Kind::Count;
    item.affected = n;
    item.messages = std::move(m_pending);
    m_pending.clear();
    m_out.items.push_back(std::move(item));
}

void Executor::addError(const Error& e) {
    Message m;
    m.number = e.number();
    m.severity = e.severity();
    m.text = e.what();
    m_pending.push_back(std::move(m));
    ResultItem item;
    item.kind = ResultItem::Kind::MessagesOnly;
    item.messages = std::move(m_pending);
    m_pending.clear();
    m_out.items.push_back(std::move(item));
}

void Executor::finish() {
    if (!m_pending.empty() || m_out.items.empty()) {
        ResultItem item;
        item.messages = std::move(m_pending);
        m_pending.clear();
        m_out.items.push_back(std::move(item));
    }
}

// ---- SQLite helpers -------------------------------------------------------------------------

sqlite3_stmt* Executor::prepare(const std::string& sql, const std::vector<Value>& binds) {
    sqlite3_stmt* st = nullptr;
    m_s.m_functionError.reset();
    int rc = sqlite3_prepare_v2(m_s.m_db, sql.c_str(), static_cast<int>(sql.size()), &st, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(st);
        raiseEngineError(rc);
    }
    for (size_t i = 0; i < binds.size(); ++i)
        binds[i].bind(st, static_cast<int>(i) + 1);
    return st;
}

sqlite3_stmt* Executor::prepareKept(const std::string& sql, const std::vector<Value>& binds) {
    sqlite3_stmt* st = m_s.m_statements->take(sql, m_s.m_catalog.generation());
    if (!st)
        return prepare(sql, binds);
    m_s.m_functionError.reset();
    for (size_t i = 0; i < binds.size(); ++i)
        binds[i].bind(st, static_cast<int>(i) + 1);
    return st;
}

void Executor::keep(sqlite3_stmt* st, unsigned long long generation) {
    m_s.m_statements->give(st, generation);
}

void Executor::stepToEnd(sqlite3_stmt* st) {
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE)
        raiseEngineError(rc);
}

long long Executor::changes() const {
    return sqlite3_changes64(m_s.m_db);
}

void Executor::raiseEngineError(int rc) {
    m_s.throwEngineError(rc);
}

// Names and T-SQL types of a SELECT's result columns.
void Executor::describeColumns(sqlite3_stmt* st, const TranslatedSelect& shape, ResultSet& rs) {
    int n = sqlite3_column_count(st);
    rs.columns.resize(static_cast<size_t>(n));
    for (int c = 0; c < n; ++c) {
        ResultColumn& col = rs.columns[static_cast<size_t>(c)];
        const char* engineName = sqlite3_column_name(st, c);
        std::string name = engineName ? engineName : "";
        if (!shape.hasStar && static_cast<size_t>(c) < shape.names.size()) {
            col.name = shape.names[static_cast<size_t>(c)];
            col.type = shape.types[static_cast<size_t>(c)];
        } else {
            col.name = name.rfind("__noname", 0) == 0 ? "" : name;
        }
        if (col.type.name.empty()) {
            // A table column: its declared type carries the T-SQL type first.
            const char* decl = sqlite3_column_decltype(st, c);
            if (decl) {
                std::string d = decl;
                std::string word = d.substr(0, d.find_first_of(" ("));
                for (auto& ch : word)
                    ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
                col.type.name = word;
                size_t open = d.find('(');
                if (open != std::string::npos) {
                    std::string inside = d.substr(open + 1, d.find(')') - open - 1);
                    size_t comma = inside.find(',');
                    if (word == "decimal" || word == "numeric" || word == "money") {
                        col.type.precision = std::atoi(inside.c_str());
                        col.type.scale = comma == std::string::npos ? 0 : std::atoi(inside.c_str() + comma + 1);
                    } else {
                        col.type.length = iequals(inside, "MAX") ? -1 : std::atoi(inside.c_str());
                    }
                }
            }
        }
    }
}

// Copies a SELECT's rows into character form the way the driver serves them.
void Executor::collectRows(sqlite3_stmt* st, const TranslatedSelect& shape, ResultSet& rs) {
    describeColumns(st, shape, rs);
    const int n = static_cast<int>(rs.columns.size());
    int rc;
    std::vector<TypeSpec> types;
    for (const auto& c : rs.columns)
        types.push_back(c.type);
    char buf[64];
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        if (m_s.m_interrupted)
            throw Cancelled{};
        rs.beginRow();
        for (int c = 0; c < n; ++c) {
            switch (sqlite3_column_type(st, c)) {
            case SQLITE_NULL:
                rs.addNull();
                break;
            case SQLITE_INTEGER: {
                if (types[static_cast<size_t>(c)].isExact()) { // decimal 0 reads "0.000"
                    rs.addCell(Value::column(st, c), types[static_cast<size_t>(c)]);
                    break;
                }
                int len = std::snprintf(buf, sizeof buf, "%lld", static_cast<long long>(sqlite3_column_int64(st, c)));
                rs.addText(std::string_view(buf, static_cast<size_t>(len)));
                break;
            }
            case SQLITE_TEXT:
                rs.addText(std::string_view(reinterpret_cast<const char*>(sqlite3_column_text(st, c)),
                                            static_cast<size_t>(sqlite3_column_bytes(st, c))));
                break;
            default:
                rs.addCell(Value::column(st, c), types[static_cast<size_t>(c)]);
                break;
            }
        }
    }
    if (rc != SQLITE_DONE)
        raiseEngineError(rc);
}

// ---- evaluation -----------------------------------------------------------------------------

Value Executor::evaluate(const Expr& e) {
    switch (e.kind) {
    case ExprKind::Null:
        return Value::null();
    case ExprKind::String:
        return Value::text(e.text);
    case ExprKind::Integer:
        if (e.text.size() < 19)
            return Value::integer(std::stoll(e.text));
        break;
    case ExprKind::Variable:
        if (auto slot = m_s.variableSlot(e.text))
            return m_s.variable(*slot).value;
        break;
    default:
        break;
    }
    Translator tr(m_s);
    Emitted x = tr.expression(e);
    KeptGuard guard(*this, "SELECT " + x.sql, tr.binds());
    int rc = sqlite3_step(guard.st);
    if (rc == SQLITE_ROW)
        return Value::column(guard.st, 0);
    raiseEngineError(rc);
}

bool Executor::condition(const Expr& e) {
    Translator tr(m_s);
    Emitted x = tr.expression(e);
    KeptGuard guard(*this, "SELECT CASE WHEN " + x.sql + " THEN 1 ELSE 0 END", tr.binds());
    int rc = sqlite3_step(guard.st);
    if (rc != SQLITE_ROW)
        raiseEngineError(rc);
    return sqlite3_column_int(guard.st, 0) == 1;
}

// ---- simple statements ----------------------------------------------------------------------

void Executor::runSelect(const Statement& st) {
    const Select& s = *st.select;
    bool assigns = false, retrieves = false;
    std::set<int> live;
    for (const auto& item : s.items) {
        if (item.assignVariable.empty()) {
            retrieves = true;
        } else {
            assigns = true;
            auto slot = m_s.variableSlot(item.assignVariable);
            if (!slot)
                throw Error(137, "Must declare the scalar variable \"" + item.assignVariable + "\".");
            live.insert(*slot);
        }
    }
    if (assigns && retrieves)
        throw Error(141, "A SELECT statement that assigns a value to a variable must not be combined with "
                         "data-retrieval operations.");
    if (!s.intoTable.empty())
        throw Error(156, "Incorrect syntax near the keyword 'INTO'.", ErrorScope::Compile, 15);

    Translator tr(m_s);
    TranslatedSelect out;
    CheckedSelect checked = std::exchange(m_checkedFirst, {});
    bool reuse = checked.statement == &st && !assigns && m_s.m_rowcount == 0;
    if (reuse) {
        m_s.catalog().refreshIfChanged();
        reuse = m_s.catalog().generation() == checked.generation;
    }
    if (reuse) {
        out = std::move(checked.translated);
    } else {
        tr.setLiveVariables(live);
        out = tr.select(s, assigns ? 0 : m_s.m_rowcount);
    }
    if (m_mayCompile && &st == m_firstStatement && !assigns && m_s.m_rowcount == 0 && (reuse || tr.binds().empty()))
        m_compilable = out;
    // Unnamed expressions get a placeholder name so '*' results can tell them apart.
    KeptGuard guard(*this, out.sql, tr.binds());
    sqlite3_stmt* stmt = guard.st;
    if (assigns) {
        long long rows = 0;
        int rc;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
            ++rows;
        if (rc != SQLITE_DONE)
            raiseEngineError(rc);
        m_s.m_lastRowcount = rows;
        return;
    }
    ResultSet rs;
    if (&st == m_streamable && !m_capture) {
        // The batch's last statement: its rows are stepped as the client fetches them.
        describeColumns(stmt, out, rs);
        std::vector<TypeSpec> types;
        for (const auto& c : rs.columns)
            types.push_back(c.type);
        guard.st = nullptr;
        rs.cursor = std::make_shared<Cursor>(m_s, stmt, guard.generation, std::move(types));
        rs.cursor->prime();
        addRows(std::move(rs));
        return;
    }
    collectRows(stmt, out, rs);
    m_s.m_lastRowcount = static_cast<long long>(rs.rowCount());
    addRows(std::move(rs));
}

void Executor::runDeclare(const Statement& st) {
    for (size_t i = 0; i < st.declarations.size(); ++i) {
        const auto& [name, type] = st.declarations[i];
        if (m_s.variableSlot(name))
            throw Error(134,
                        "The variable name '" + name +
                            "' has already been declared. Variable names must be unique within a query batch "
                            "or stored procedure.",
                        ErrorScope::Compile, 15);
        Variable v;
        v.name = name;
        v.type = type;
        m_s.m_variables.push_back(v);
        if (st.declInitial[i])
            m_s.assignVariable(static_cast<int>(m_s.m_variables.size() - 1), evaluate(*st.declInitial[i]));
    }
}

void Executor::runSetVariable(const Statement& st) {
    const Assignment& a = st.assignments[0];
    auto slot = m_s.variableSlot(a.column[0]);
    if (!slot)
        throw Error(137, "Must declare the scalar variable \"" + a.column[0] + "\".");
    if (a.op == "=") {
        m_s.assignVariable(*slot, evaluate(*a.value));
        return;
    }
    // SET @v += x is SET @v = @v + x
    Expr combined;
    combined.kind = ExprKind::BinaryOp;
    combined.text = a.op.substr(0, 1);
    auto var = std::make_unique<Expr>();
    var->kind = ExprKind::Variable;
    var->text = a.column[0];
    combined.args.push_back(std::move(var));
    auto copy = std::make_unique<Expr>();
    // The right side is evaluated first, then combined through SQL so '+' keeps its T-SQL meaning.
    Value rhs = evaluate(*a.value);
    Variable tmp;
    tmp.name = "@__RHS";
    tmp.type = TypeSpec{};
    tmp.value = rhs;
    copy->kind = ExprKind::Variable;
    copy->text = "@__RHS";
    m_s.m_variables.push_back(tmp);
    combined.args.push_back(std::move(copy));
    Value result;
    try {
        result = evaluate(combined);
    } catch (...) {
        m_s.m_variables.pop_back();
        throw;
    }
    m_s.m_variables.pop_back();
    m_s.assignVariable(*slot, result);
}

void Executor::runSetOption(const Statement& st) {
    const std::string& o = st.option;
    auto on = [&] { return st.value && st.value->text == "ON"; };
    if (o == "NOCOUNT")
        m_s.m_nocount = on();
    else if (o == "ANSI_WARNINGS")
        m_s.m_ansiWarnings = on();
    else if (o == "XACT_ABORT")
        m_s.m_xactAbort = on();
    else if (o == "ROWCOUNT") {
        Value v = convertValue(evaluate(*st.value), TypeSpec{"bigint", 0, 0, 0}, ConvertMode::Explicit);
        m_s.m_rowcount = v.isNull() || v.i < 0 ? 0 : v.i;
    } else if (o == "IDENTITY_INSERT") {
        Translator tr(m_s);
        auto t = tr.resolveTable(st.target);
        if (t.info->identityColumn < 0)
            throw Error(8106, "Table '" + t.name +
                                  "' does not have the identity property. Cannot perform SET "
                                  "operation.");
        m_s.m_identityInsert[toUpper(t.name)] = on();
    }
    // Other SET options (ANSI_NULLS, QUOTED_IDENTIFIER, DATEFORMAT, ...) are accepted.
}

void Executor::runTransaction(const Statement& st) {
    if (st.kind == StatementKind::BeginTran) {
        if (m_s.m_tranCount == 0) {
            int rc = sqlite3_exec(m_s.m_db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
            if (rc != SQLITE_OK)
                raiseEngineError(rc);
        }
        ++m_s.m_tranCount;
        return;
    }
    if (st.kind == StatementKind::CommitTran) {
        if (m_s.m_tranCount == 0)
            throw Error(3902, "The COMMIT TRANSACTION request has no corresponding BEGIN TRANSACTION.",
                        ErrorScope::Statement);
        if (--m_s.m_tranCount == 0) {
            int rc = sqlite3_exec(m_s.m_db, "COMMIT", nullptr, nullptr, nullptr);
            if (rc != SQLITE_OK)
                raiseEngineError(rc);
        }
        return;
    }
    if (m_s.m_tranCount == 0)
        throw Error(3903, "The ROLLBACK TRANSACTION request has no corresponding BEGIN TRANSACTION.",
                    ErrorScope::Statement);
    sqlite3_exec(m_s.m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    m_s.m_tranCount = 0;
}

void Executor::runPrint(const Statement& st) {
    Value v = evaluate(*st.value);
    Message m;
    m.text = v.isNull() ? "" : convertValue(v, TypeSpec{"varchar", 8000, 0, 0}, ConvertMode::Explicit).s;
    addMessage(std::move(m));
}

void Executor::runRaiserror(const Statement& st) {
    std::vector<Value> args;
    for (const auto& a : st.raiseArgs)
        args.push_back(evaluate(*a));
    std::string format = args.empty() ? "" : args[0].toText();
    int severity = args.size() > 1
                       ? static_cast<int>(convertValue(args[1], TypeSpec{"int", 0, 0, 0}, ConvertMode::Explicit).i)
                       : 16;
    int state = args.size() > 2
                    ? static_cast<int>(convertValue(args[2], TypeSpec{"int", 0, 0, 0}, ConvertMode::Explicit).i)
                    : 1;
    std::string text;
    size_t next = 3;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size()) {
            char c = format[i + 1];
            if (c == '%') {
                text += '%';
                ++i;
                continue;
            }
            size_t j = i + 1;
            while (j < format.size() && std::strchr("-+ #0123456789.l", format[j]))
                ++j;
            if (j < format.size() && std::strchr("sdiuxXo", format[j])) {
                text += next < args.size() ? (args[next].isNull() ? "(null)" : args[next].toText()) : "(null)";
                ++next;
                i = j;
                continue;
            }
        }
        text += format[i];
    }
    if (severity > 10)
        throw Error(50000, text, ErrorScope::Statement, severity);
    Message m;
    m.number = 50000;
    m.severity = severity;
    m.state = state;
    m.text = text;
    addMessage(std::move(m));
}

} // namespace tsql
