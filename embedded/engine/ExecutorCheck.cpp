#include "Executor.h"
#include "Lexer.h"

#include <sqlite3.h>

namespace tsql {

// SQL Server compiles a whole batch (and a procedure at CREATE) before it runs any of it: a
// misspelt column of an existing table, or an INSERT whose values do not fit the table, refuses
// the batch before its first PRINT or BEGIN TRANSACTION. Names of tables that do not exist yet
// stay deferred to the statement's run, as SQL Server's deferred name resolution keeps them.
namespace {

bool refusedAtCompile(const Error& e) {
    if (e.scope() == ErrorScope::Compile)
        return true;
    switch (e.number()) {
    case 107:  // column prefix matches no table
    case 109:  // more INSERT columns than values
    case 110:  // fewer INSERT columns than values
    case 120:  // select list shorter than the INSERT list
    case 121:  // select list longer than the INSERT list
    case 207:  // invalid column name
    case 209:  // ambiguous column name
    case 213:  // values do not match the table definition
    case 264:  // column listed twice in an INSERT
    case 4104: // multi-part identifier not bound
    case 8155: // derived table column without a name
        return true;
    default:
        return false;
    }
}

// Statements after which the tables of the batch are no longer those of the catalog.
bool changesSchema(const Statement& st) {
    switch (st.kind) {
    case StatementKind::CreateTable:
    case StatementKind::DropTable:
    case StatementKind::AlterTableAdd:
    case StatementKind::CreateView:
    case StatementKind::DropView:
    case StatementKind::Use:
        return true;
    case StatementKind::Exec:
        return st.value != nullptr; // EXEC ('text') may do anything
    default:
        return false;
    }
}

} // namespace

void Executor::compileCheck(const std::vector<StatementPtr>& list, const std::vector<ProcParam>* params) {
    VariableFrame frame(m_s);
    if (params)
        for (const auto& p : *params)
            m_s.m_variables.push_back(Variable{p.name, p.type, Value::null()});
    m_checkIdentityInsert = false;
    checkList(list);
}

bool Executor::checkList(const std::vector<StatementPtr>& list) {
    for (const auto& st : list)
        if (!checkStatement(*st))
            return false;
    return true;
}

// Prepares without running: SQLite resolves the names the translator left to it (views). The
// statement is kept for the run.
void Executor::checkPrepared(const std::string& sql, const std::vector<Value>& binds) {
    KeptGuard kept(*this, sql, binds);
}

bool Executor::checkStatement(const Statement& st) {
    if (changesSchema(st))
        return false;
    switch (st.kind) {
    case StatementKind::Block:
        return checkList(st.body);
    case StatementKind::If:
    case StatementKind::While:
        checkGuarded([&] {
            Translator tr(m_s);
            checkPrepared("SELECT CASE WHEN " + tr.expression(*st.value).sql + " THEN 1 ELSE 0 END", tr.binds());
        });
        for (const auto& b : st.body)
            if (!checkStatement(*b))
                return false;
        return true;
    case StatementKind::Declare:
        for (const auto& [name, type] : st.declarations)
            if (!m_s.variableSlot(name))
                m_s.m_variables.push_back(Variable{name, type, Value::null()});
        return true;
    case StatementKind::SetOption:
        if (st.option == "IDENTITY_INSERT")
            m_checkIdentityInsert = true;
        return true;
    case StatementKind::SetVariable:
        checkGuarded([&] {
            Translator tr(m_s);
            checkPrepared("SELECT " + tr.expression(*st.assignments[0].value).sql, tr.binds());
        });
        return true;
    case StatementKind::Select:
        if (st.select->intoTable.empty())
            checkGuarded([&] {
                Translator tr(m_s);
                std::set<int> live;
                for (const auto& item : st.select->items)
                    if (auto slot = m_s.variableSlot(item.assignVariable); slot && !item.assignVariable.empty())
                        live.insert(*slot);
                tr.setLiveVariables(live);
                TranslatedSelect out = tr.select(*st.select);
                checkPrepared(out.sql, tr.binds());
                if (&st == m_firstStatement && live.empty() && tr.binds().empty())
                    m_checkedFirst = {&st, std::move(out), m_s.catalog().generation()};
            });
        return true;
    case StatementKind::Insert:
        checkGuarded([&] { checkInsert(st); });
        return true;
    case StatementKind::Update:
    case StatementKind::Delete:
        checkGuarded([&] { checkUpdateOrDelete(st); });
        return true;
    default:
        return true;
    }
}

void Executor::checkGuarded(const std::function<void()>& check) {
    try {
        check();
    } catch (const Error& e) {
        if (refusedAtCompile(e))
            throw Error(e.number(), e.what(), ErrorScope::Compile, e.severity());
    }
}

void Executor::checkInsert(const Statement& st) {
    Translator tr(m_s);
    Translator::ResolvedTable t = tr.resolveTable(st.target);
    const TableInfo& info = *t.info;
    if (info.isView || info.columns.empty())
        return;
    size_t targets = 0;
    bool identityOptional = m_checkIdentityInsert || m_s.identityInsert(t.name);
    if (st.columns.empty()) {
        for (const auto& c : info.columns)
            targets += c.identity ? 0 : 1;
    } else {
        for (size_t i = 0; i < st.columns.size(); ++i) {
            if (info.indexOf(st.columns[i]) < 0)
                throw Error(207, "Invalid column name '" + st.columns[i] + "'.");
            for (size_t j = 0; j < i; ++j)
                if (iequals(st.columns[i], st.columns[j]))
                    throw Error(264, "The column name '" + st.columns[i] +
                                         "' is specified more than once in the SET clause or column list of an "
                                         "INSERT. A column cannot be assigned more than one value in the same clause.");
        }
        targets = st.columns.size();
        identityOptional = false;
    }
    for (const auto& row : st.rows) {
        if (row.size() == targets || (identityOptional && row.size() == targets + 1))
            continue;
        if (st.columns.empty())
            throw Error(213, "Column name or number of supplied values does not match table definition.");
        if (row.size() < targets)
            throw Error(109, "There are more columns in the INSERT statement than values specified in the VALUES "
                             "clause. The number of values in the VALUES clause must match the number of columns "
                             "specified in the INSERT statement.");
        throw Error(110, "There are fewer columns in the INSERT statement than values specified in the VALUES "
                         "clause. The number of values in the VALUES clause must match the number of columns "
                         "specified in the INSERT statement.");
    }
    if (st.select) {
        TranslatedSelect src = tr.select(*st.select);
        sqlite3_stmt* probe = prepare(src.sql, tr.binds());
        size_t n = static_cast<size_t>(sqlite3_column_count(probe));
        sqlite3_finalize(probe);
        if (n == targets || (identityOptional && n == targets + 1) || src.hasStar)
            return;
        if (n < targets)
            throw Error(120, "The select list for the INSERT statement contains fewer items than the insert list. "
                             "The number of SELECT values must match the number of INSERT columns.");
        throw Error(121, "The select list for the INSERT statement contains more items than the insert list. "
                         "The number of SELECT values must match the number of INSERT columns.");
    }
}

void Executor::checkUpdateOrDelete(const Statement& st) {
    Translator tr(m_s);
    if (st.from.empty()) {
        Translator::ResolvedTable t = tr.resolveTable(st.target);
        tr.pushTableScope(t, "");
        for (const auto& a : st.assignments) {
            if (t.info->columns.empty() || a.column.back()[0] == '@')
                continue;
            if (!t.info->find(a.column.back()))
                throw Error(207, "Invalid column name '" + a.column.back() + "'.");
        }
    } else {
        std::string fromSql;
        tr.pushFromScope(st.from, fromSql);
    }
    for (const auto& a : st.assignments)
        tr.expression(*a.value);
    if (st.where)
        tr.expression(*st.where);
    tr.popScope();
}

} // namespace tsql
