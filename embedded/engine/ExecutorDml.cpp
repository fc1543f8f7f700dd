// INSERT, UPDATE and DELETE: each statement translated to SQLite's, with the identity, the target
// rows and the affected-row count kept as SQL Server keeps them.

#include "Convert.h"
#include "Executor.h"
#include "Lexer.h"
#include "Parser.h"
#include "StmtGuard.h"

namespace tsql {

namespace {

std::string ident(const std::string& s) {
    return Translator::quoteIdent(s);
}

std::string qualified(const Translator::ResolvedTable& t) {
    return ident(t.database) + "." + ident(t.name);
}

} // namespace

void Executor::noteIdentity(const Translator::ResolvedTable& t) {
    if (!t.info || t.info->identityColumn < 0)
        return;
    sqlite3_stmt* st =
        prepare("SELECT last FROM " + ident(t.database) + ".__tsql_identity WHERE tbl = ?1", {Value::text(t.name)});
    StmtGuard g{st};
    if (sqlite3_step(st) == SQLITE_ROW)
        m_s.m_lastIdentity = Value::integer(sqlite3_column_int64(st, 0));
}

// ---- INSERT ---------------------------------------------------------------------------------

void Executor::runInsert(const Statement& st) {
    Translator tr(m_s);
    Translator::ResolvedTable t = tr.resolveTable(st.target);
    const TableInfo& info = *t.info;
    if (info.isView || info.columns.empty())
        throw Error(4405, "View or function '" + t.written +
                              "' is not updatable because the modification affects "
                              "multiple base tables.");

    // Target columns: those listed, or every column but the identity, in table order.
    std::vector<int> targets;
    if (st.columns.empty()) {
        for (size_t i = 0; i < info.columns.size(); ++i)
            if (!info.columns[i].identity || m_s.identityInsert(t.name))
                targets.push_back(static_cast<int>(i));
    } else {
        for (const auto& c : st.columns) {
            int idx = info.indexOf(c);
            if (idx < 0)
                throw Error(207, "Invalid column name '" + c + "'.");
            for (int prev : targets)
                if (prev == idx)
                    throw Error(264, "The column name '" + c +
                                         "' is specified more than once in the SET clause or column list of an "
                                         "INSERT. A column cannot be assigned more than one value in the same clause.");
            targets.push_back(idx);
        }
    }
    for (int idx : targets)
        if (info.columns[static_cast<size_t>(idx)].identity && !m_s.identityInsert(t.name))
            throw Error(544,
                        "Cannot insert explicit value for identity column in table '" + t.name +
                            "' when IDENTITY_INSERT is set to OFF.",
                        ErrorScope::Statement);
    // Columns left out take their DEFAULT.
    std::vector<int> defaulted;
    for (size_t i = 0; i < info.columns.size(); ++i) {
        bool listed = false;
        for (int idx : targets)
            listed = listed || idx == static_cast<int>(i);
        if (!listed && !info.columns[i].identity && !info.columns[i].defaultSql.empty())
            defaulted.push_back(static_cast<int>(i));
    }
    auto defaultSql = [&](int idx) {
        const ColumnInfo& c = info.columns[static_cast<size_t>(idx)];
        if (c.defaultSql.empty())
            return std::string("NULL");
        auto e = parseExpression(c.defaultSql);
        return tr.storeExpression(tr.expression(*e).sql, c.type);
    };

    std::string columnList;
    for (int idx : targets)
        columnList += (columnList.empty() ? "" : ", ") + ident(info.columns[static_cast<size_t>(idx)].name);
    for (int idx : defaulted)
        columnList += (columnList.empty() ? "" : ", ") + ident(info.columns[static_cast<size_t>(idx)].name);

    std::string sql;
    if (st.insertDefaultValues) {
        sql = "INSERT INTO " + qualified(t) + (columnList.empty() ? " DEFAULT VALUES" : "");
        if (!columnList.empty()) {
            std::string values;
            for (int idx : defaulted)
                values += (values.empty() ? "" : ", ") + defaultSql(idx);
            sql += " (" + columnList + ") VALUES (" + values + ")";
        }
    } else if (!st.rows.empty()) {
        sql = "INSERT INTO " + qualified(t) + " (" + columnList + ") VALUES ";
        for (size_t r = 0; r < st.rows.size(); ++r) {
            const auto& row = st.rows[r];
            if (row.size() != targets.size()) {
                if (st.columns.empty())
                    throw Error(213, "Column name or number of supplied values does not match table definition.");
                if (row.size() < targets.size())
                    throw Error(109, "There are more columns in the INSERT statement than values specified in the "
                                     "VALUES clause. The number of values in the VALUES clause must match the number "
                                     "of columns specified in the INSERT statement.");
                throw Error(110, "There are fewer columns in the INSERT statement than values specified in the "
                                 "VALUES clause. The number of values in the VALUES clause must match the number of "
                                 "columns specified in the INSERT statement.");
            }
            sql += r ? ", (" : "(";
            for (size_t i = 0; i < row.size(); ++i) {
                const ColumnInfo& c = info.columns[static_cast<size_t>(targets[i])];
                std::string v;
                if (row[i]->kind == ExprKind::Function && row[i]->text == "DEFAULT")
                    v = defaultSql(targets[i]);
                else
                    v = tr.storeExpression(tr.expression(*row[i]).sql, c.type);
                sql += (i ? ", " : "") + v;
            }
            for (int idx : defaulted)
                sql += ", " + defaultSql(idx);
            sql += ")";
        }
    } else if (st.select) {
        TranslatedSelect src = tr.select(*st.select, m_s.m_rowcount);
        sqlite3_stmt* probe = prepare(src.sql, tr.binds());
        int n = sqlite3_column_count(probe);
        sqlite3_finalize(probe);
        if (n < static_cast<int>(targets.size()))
            throw Error(120, "The select list for the INSERT statement contains fewer items than the insert list. "
                             "The number of SELECT values must match the number of INSERT columns.");
        if (n > static_cast<int>(targets.size()))
            throw Error(121, "The select list for the INSERT statement contains more items than the insert list. "
                             "The number of SELECT values must match the number of INSERT columns.");
        std::string cte = "WITH \"__src\"(";
        std::string values;
        for (int i = 0; i < n; ++i) {
            std::string name = "\"__c" + std::to_string(i + 1) + "\"";
            cte += (i ? ", " : "") + name;
            values += (i ? ", " : "") +
                      tr.storeExpression(name, info.columns[static_cast<size_t>(targets[static_cast<size_t>(i)])].type);
        }
        for (int idx : defaulted)
            values += ", " + defaultSql(idx);
        sql = cte + ") AS (" + src.sql + ") INSERT INTO " + qualified(t) + " (" + columnList + ") SELECT " + values +
              " FROM \"__src\"";
    } else if (st.insertExec) {
        std::vector<ResultSet> captured;
        runExec(*st.insertExec, &captured);
        long long total = 0;
        std::string values;
        for (size_t i = 0; i < targets.size(); ++i)
            values += (i ? ", " : "") + tr.storeExpression("?" + std::to_string(i + 1),
                                                           info.columns[static_cast<size_t>(targets[i])].type);
        sqlite3_stmt* ins =
            prepare("INSERT INTO " + qualified(t) + " (" + columnList + ") VALUES (" + values + ")", {});
        StmtGuard g{ins};
        for (const auto& rs : captured) {
            if (rs.columns.size() != targets.size())
                throw Error(213, "Column name or number of supplied values does not match table definition.");
            for (size_t r = 0; r < rs.rowCount(); ++r) {
                sqlite3_reset(ins);
                for (size_t c = 0; c < targets.size(); ++c) {
                    if (rs.isNull(r, c))
                        sqlite3_bind_null(ins, static_cast<int>(c) + 1);
                    else {
                        auto text = rs.text(r, c);
                        sqlite3_bind_text(ins, static_cast<int>(c) + 1, text.data(), static_cast<int>(text.size()),
                                          SQLITE_TRANSIENT);
                    }
                }
                stepToEnd(ins);
                ++total;
            }
        }
        noteIdentity(t);
        addCount(total);
        return;
    }
    sqlite3_stmt* stmt = prepare(sql, tr.binds());
    StmtGuard g{stmt};
    stepToEnd(stmt);
    long long n = changes();
    if (n > 0)
        noteIdentity(t);
    addCount(n);
}

// ---- UPDATE and DELETE ----------------------------------------------------------------------

namespace {

// Finds the FROM entry an UPDATE/DELETE target names: an alias, or else the one reference to
// the same table (aliased or not). With no such entry the target joins the FROM as a table of its own.
const TableRef* findTarget(const std::vector<TableRefPtr>& from, const std::string& target) {
    std::vector<const TableRef*> stack;
    for (const auto& r : from)
        stack.push_back(r.get());
    std::vector<const TableRef*> sameTable;
    while (!stack.empty()) {
        const TableRef* r = stack.back();
        stack.pop_back();
        if (r->kind == TableRef::Kind::Join) {
            stack.push_back(r->left.get());
            stack.push_back(r->right.get());
            continue;
        }
        if (r->kind != TableRef::Kind::Named)
            continue;
        if (!r->alias.empty() && iequals(r->alias, target))
            return r;
        if (iequals(r->tableName(), target))
            sameTable.push_back(r);
    }
    return sameTable.size() == 1 ? sameTable.front() : nullptr;
}

} // namespace

void Executor::runUpdate(const Statement& st) {
    Translator tr(m_s);
    long long limit = m_s.m_rowcount;
    if (st.top)
        limit = convertValue(evaluate(*st.top), TypeSpec{"bigint", 0, 0, 0}, ConvertMode::Explicit).i;

    if (st.from.empty()) {
        Translator::ResolvedTable t = tr.resolveTable(st.target);
        tr.pushTableScope(t, "");
        std::string sets;
        for (const auto& a : st.assignments) {
            if (a.column[0][0] == '@')
                throw Error(102, "Incorrect syntax near '" + a.column[0] + "'.", ErrorScope::Compile, 15);
            const ColumnInfo* c = t.info->find(a.column.back());
            if (!c)
                throw Error(207, "Invalid column name '" + a.column.back() + "'.");
            if (c->identity)
                throw Error(8102, "Cannot update identity column '" + c->name + "'.");
            std::string value = tr.expression(*a.value).sql;
            if (a.op != "=")
                value = a.op[0] == '+'
                            ? "tsql_add(" + ident(t.name) + "." + ident(c->name) + ", " + value + ")"
                            : "(" + ident(t.name) + "." + ident(c->name) + " " + a.op.substr(0, 1) + " " + value + ")";
            sets += (sets.empty() ? "" : ", ") + ident(c->name) + " = " + tr.storeExpression(value, c->type);
        }
        std::string where = st.where ? tr.expression(*st.where).sql : std::string();
        tr.popScope();
        std::string sql = "UPDATE " + qualified(t) + " AS " + ident(t.name) + " SET " + sets;
        if (limit > 0)
            sql += " WHERE rowid IN (SELECT rowid FROM " + qualified(t) + " AS " + ident(t.name) +
                   (where.empty() ? "" : " WHERE " + where) + " LIMIT " + std::to_string(limit) + ")";
        else if (!where.empty())
            sql += " WHERE " + where;
        sqlite3_stmt* stmt = prepare(sql, tr.binds());
        StmtGuard g{stmt};
        stepToEnd(stmt);
        addCount(changes());
        return;
    }

    // UPDATE t SET ... FROM ...: find the rows and new values first, then write them by rowid.
    const std::string& targetName = st.target.back();
    const TableRef* ref = st.target.size() == 1 ? findTarget(st.from, targetName) : nullptr;
    Translator::ResolvedTable t = tr.resolveTable(ref ? ref->parts : st.target);
    std::string fromSql;
    std::string alias = ref ? (ref->alias.empty() ? t.name : ref->alias) : t.name;
    tr.pushFromScope(st.from, fromSql);
    if (!ref)
        fromSql = qualified(t) + " AS " + ident(alias) + ", " + fromSql;
    std::string select = "SELECT " + ident(alias) + ".rowid";
    std::string sets;
    int k = 1;
    for (const auto& a : st.assignments) {
        const ColumnInfo* c = t.info->find(a.column.back());
        if (!c)
            throw Error(207, "Invalid column name '" + a.column.back() + "'.");
        std::string value = tr.expression(*a.value).sql;
        if (a.op != "=")
            value = "tsql_add(" + ident(alias) + "." + ident(c->name) + ", " + value + ")";
        select += ", " + tr.storeExpression(value, c->type);
        sets += (sets.empty() ? "" : ", ") + ident(c->name) + " = ?" + std::to_string(k++);
    }
    select += " FROM " + fromSql;
    if (st.where)
        select += " WHERE " + tr.expression(*st.where).sql;
    if (limit > 0)
        select += " LIMIT " + std::to_string(limit);
    tr.popScope();

    sqlite3_stmt* reader = prepare(select, tr.binds());
    StmtGuard gr{reader};
    sqlite3_stmt* writer =
        prepare("UPDATE " + qualified(t) + " SET " + sets + " WHERE rowid = ?" + std::to_string(k), {});
    StmtGuard gw{writer};
    std::vector<std::vector<Value>> rows;
    int rc;
    while ((rc = sqlite3_step(reader)) == SQLITE_ROW) {
        std::vector<Value> row;
        for (int c = 0; c < k; ++c)
            row.push_back(Value::column(reader, c));
        rows.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE)
        raiseEngineError(rc);
    std::set<int64_t> touched;
    for (const auto& row : rows) {
        sqlite3_reset(writer);
        for (int c = 1; c < k; ++c)
            row[static_cast<size_t>(c)].bind(writer, c);
        row[0].bind(writer, k);
        stepToEnd(writer);
        touched.insert(row[0].i);
    }
    addCount(static_cast<long long>(touched.size()));
}

void Executor::runDelete(const Statement& st) {
    Translator tr(m_s);
    long long limit = m_s.m_rowcount;
    if (st.top)
        limit = convertValue(evaluate(*st.top), TypeSpec{"bigint", 0, 0, 0}, ConvertMode::Explicit).i;
    std::string sql;
    if (st.from.empty()) {
        Translator::ResolvedTable t = tr.resolveTable(st.target);
        tr.pushTableScope(t, "");
        std::string where = st.where ? tr.expression(*st.where).sql : std::string();
        tr.popScope();
        sql = "DELETE FROM " + qualified(t) + " AS " + ident(t.name);
        if (limit > 0)
            sql += " WHERE rowid IN (SELECT rowid FROM " + qualified(t) + " AS " + ident(t.name) +
                   (where.empty() ? "" : " WHERE " + where) + " LIMIT " + std::to_string(limit) + ")";
        else if (!where.empty())
            sql += " WHERE " + where;
    } else {
        const TableRef* ref = st.target.size() == 1 ? findTarget(st.from, st.target.back()) : nullptr;
        Translator::ResolvedTable t = tr.resolveTable(ref ? ref->parts : st.target);
        std::string alias = ref ? (ref->alias.empty() ? t.name : ref->alias) : t.name;
        std::string fromSql;
        tr.pushFromScope(st.from, fromSql);
        if (!ref)
            fromSql = qualified(t) + " AS " + ident(alias) + ", " + fromSql;
        std::string inner = "SELECT " + ident(alias) + ".rowid FROM " + fromSql;
        if (st.where)
            inner += " WHERE " + tr.expression(*st.where).sql;
        if (limit > 0)
            inner += " LIMIT " + std::to_string(limit);
        tr.popScope();
        sql = "DELETE FROM " + qualified(t) + " WHERE rowid IN (" + inner + ")";
    }
    sqlite3_stmt* stmt = prepare(sql, tr.binds());
    StmtGuard g{stmt};
    stepToEnd(stmt);
    addCount(changes());
}

} // namespace tsql
