#include "Convert.h"
#include "Executor.h"
#include "Lexer.h"
#include "Parser.h"

#include <filesystem>
#include <sqlite3.h>

namespace tsql {

std::string loginDigest(const std::string& login, const std::string& password);

namespace {

struct StmtGuard {
    sqlite3_stmt* st;
    ~StmtGuard() { sqlite3_finalize(st); }
};

const std::string& q(const std::string& s) {
    return s;
}

std::string ident(const std::string& s) {
    return Translator::quoteIdent(s);
}

std::string qualified(const Translator::ResolvedTable& t) {
    return ident(t.database) + "." + ident(t.name);
}

std::string trimmed(const std::string& s) {
    size_t b = s.find_first_not_of(" \t\r\n");
    size_t e = s.find_last_not_of(" \t\r\n;");
    return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
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

// ---- DDL ------------------------------------------------------------------------------------

namespace {

std::string columnDdl(const ColumnDef& c) {
    std::string out = ident(c.name) + " " + Translator::sqliteType(c.type);
    if (!c.nullable && !c.identity)
        out += " NOT NULL";
    return out;
}

std::string targetDatabase(Session& s, const std::vector<std::string>& parts) {
    if (parts.size() >= 3 && !parts[parts.size() - 3].empty()) {
        std::string db = s.resolveDatabase(parts[parts.size() - 3]);
        if (db.empty())
            throw Error(2702, "Database '" + parts[parts.size() - 3] + "' does not exist.");
        return db;
    }
    return "main";
}

} // namespace

void Executor::runCreateTable(const Statement& st) {
    std::string db = targetDatabase(m_s, st.target);
    const std::string& name = st.target.back();
    m_s.catalog().refreshIfChanged();
    if (m_s.catalog().table(db, name) || m_s.catalog().procedure(name))
        throw Error(2714, "There is already an object named '" + name + "' in the database.");
    if (name.rfind("__tsql", 0) == 0 || name.rfind("sqlite_", 0) == 0)
        throw Error(1038, "An object or column name is missing or empty.");

    TableInfo info;
    info.database = db;
    info.name = name;
    std::string ddl = "CREATE TABLE " + ident(db) + "." + ident(name) + " (";
    std::vector<std::string> pk;
    int identities = 0;
    for (size_t i = 0; i < st.columnDefs.size(); ++i) {
        const ColumnDef& c = st.columnDefs[i];
        for (size_t j = 0; j < i; ++j)
            if (iequals(st.columnDefs[j].name, c.name))
                throw Error(2705, "Column names in each table must be unique. Column name '" + c.name + "' in table '" +
                                      name + "' is specified more than once.");
        if (c.identity && ++identities > 1)
            throw Error(2744, "Multiple identity columns specified for table '" + name +
                                  "'. Only one identity column per table is allowed.");
        ddl += (i ? ", " : "") + columnDdl(c);
        ColumnInfo ci;
        ci.name = c.name;
        ci.type = c.type;
        ci.nullable = c.nullable;
        ci.identity = c.identity;
        ci.defaultSql = trimmed(c.defaultText);
        if (c.identity) {
            info.identityColumn = static_cast<int>(i);
            info.identitySeed = c.identitySeed;
            info.identityStep = c.identityStep;
        }
        if (c.primaryKey)
            pk.push_back(c.name);
        if (c.unique)
            ddl += " UNIQUE";
        info.columns.push_back(std::move(ci));
    }
    for (size_t k = 0; k < st.keys.size(); ++k) {
        for (const auto& col : st.keys[k])
            if (info.indexOf(col) < 0)
                throw Error(1911, "Column name '" + col + "' does not exist in the target table or view.");
        if (st.keyIsPrimary[k]) {
            if (!pk.empty())
                throw Error(8110, "Cannot add multiple PRIMARY KEY constraints to table '" + name + "'.");
            pk = st.keys[k];
        } else {
            std::string cols;
            for (const auto& col : st.keys[k])
                cols += (cols.empty() ? "" : ", ") + ident(col);
            ddl += ", UNIQUE (" + cols + ")";
        }
    }
    if (!pk.empty()) {
        std::string cols;
        for (const auto& col : pk)
            cols += (cols.empty() ? "" : ", ") + ident(col);
        ddl += ", PRIMARY KEY (" + cols + ")";
        for (const auto& col : pk)
            info.columns[static_cast<size_t>(info.indexOf(col))].nullable = false;
    }
    info.primaryKey = pk;
    ddl += ")";

    bool ownTransaction = m_s.m_tranCount == 0;
    if (ownTransaction)
        execPlain(m_s.m_db, "SAVEPOINT create_table");
    try {
        execPlain(m_s.m_db, ddl);
        if (info.identityColumn >= 0) {
            // Identity values come from a counter that never goes back, as SQL Server's do.
            const std::string col = ident(info.columns[static_cast<size_t>(info.identityColumn)].name);
            const std::string tbl = ident(name);
            const std::string key = Translator::quoteString(name);
            const std::string step = std::to_string(info.identityStep);
            execPlain(m_s.m_db, "CREATE TRIGGER " + ident(db) + "." + ident("__tsql_identity_" + name) +
                                    " AFTER INSERT ON " + tbl + " FOR EACH ROW WHEN NEW." + col +
                                    " IS NULL BEGIN UPDATE __tsql_identity SET last = last + " + step +
                                    " WHERE tbl = " + key + "; UPDATE " + tbl + " SET " + col +
                                    " = (SELECT last FROM __tsql_identity WHERE tbl = " + key +
                                    ") WHERE rowid = NEW.rowid; END");
            execPlain(m_s.m_db, "CREATE TRIGGER " + ident(db) + "." + ident("__tsql_identity_seen_" + name) +
                                    " AFTER INSERT ON " + tbl + " FOR EACH ROW WHEN NEW." + col +
                                    " IS NOT NULL BEGIN UPDATE __tsql_identity SET last = " +
                                    (info.identityStep > 0 ? "max" : "min") + "(last, NEW." + col +
                                    ") WHERE tbl = " + key + "; END");
        }
        m_s.catalog().addTable(info);
        if (ownTransaction)
            execPlain(m_s.m_db, "RELEASE create_table");
    } catch (...) {
        if (ownTransaction)
            sqlite3_exec(m_s.m_db, "ROLLBACK TO create_table; RELEASE create_table", nullptr, nullptr, nullptr);
        m_s.catalog().invalidate();
        throw;
    }
}

void Executor::runDrop(const Statement& st) {
    const std::string& name = st.target.back();
    m_s.catalog().refreshIfChanged();
    if (st.kind == StatementKind::DropProcedure) {
        if (!m_s.catalog().procedure(name))
            throw Error(3701, "Cannot drop the procedure '" + name +
                                  "', because it does not exist or you do not have permission.");
        m_s.catalog().dropProcedure(name);
        return;
    }
    if (st.kind == StatementKind::DropIndex) {
        if (st.target.size() < 2)
            throw Error(159, "Must specify the table name and index name for the DROP INDEX statement.");
        const std::string& table = st.target[st.target.size() - 2];
        std::string sql = "DROP INDEX IF EXISTS main." + ident(table + "__" + name);
        sqlite3_stmt* check =
            prepare("SELECT 1 FROM main.sqlite_master WHERE type='index' AND name = ?1 COLLATE NOCASE",
                    {Value::text(table + "__" + name)});
        bool exists = sqlite3_step(check) == SQLITE_ROW;
        sqlite3_finalize(check);
        if (!exists)
            throw Error(3701, "Cannot drop the index '" + table + "." + name +
                                  "', because it does not exist or you do not have permission.");
        execPlain(m_s.m_db, sql);
        return;
    }
    std::string db = targetDatabase(m_s, st.target);
    const TableInfo* t = m_s.catalog().table(db, name);
    bool view = st.kind == StatementKind::DropView;
    if (!t || t->isView != view)
        throw Error(3701, std::string("Cannot drop the ") + (view ? "view" : "table") + " '" + name +
                              "', because it does not exist or you do not have permission.");
    std::string realName = t->name;
    execPlain(m_s.m_db, std::string(view ? "DROP VIEW " : "DROP TABLE ") + ident(db) + "." + ident(realName));
    if (!view)
        m_s.catalog().dropTable(db, realName);
    m_s.catalog().invalidate();
}

void Executor::runCreateIndex(const Statement& st) {
    Translator tr(m_s);
    Translator::ResolvedTable t = tr.resolveTable(st.target);
    std::string cols;
    for (const auto& c : st.columns) {
        if (!t.info->find(c))
            throw Error(1911, "Column name '" + c + "' does not exist in the target table or view.");
        cols += (cols.empty() ? "" : ", ") + ident(c);
    }
    std::string indexName = t.name + "__" + st.alias;
    sqlite3_stmt* check =
        prepare("SELECT 1 FROM " + ident(t.database) + ".sqlite_master WHERE type='index' AND name = ?1 COLLATE NOCASE",
                {Value::text(indexName)});
    bool exists = sqlite3_step(check) == SQLITE_ROW;
    sqlite3_finalize(check);
    if (exists)
        throw Error(1913, "The operation failed because an index or statistics with name '" + st.alias +
                              "' already exists on table '" + t.name + "'.");
    std::string sql = std::string("CREATE ") + (st.unique ? "UNIQUE " : "") + "INDEX " + ident(t.database) + "." +
                      ident(indexName) + " ON " + ident(t.name) + " (" + cols + ")";
    try {
        execPlain(m_s.m_db, sql);
    } catch (const Error&) {
        throw Error(1505, "The CREATE UNIQUE INDEX statement terminated because a duplicate key was found for the "
                          "object name 'dbo." +
                              t.name + "' and the index name '" + st.alias + "'.");
    }
}

void Executor::runAlterTable(const Statement& st) {
    Translator tr(m_s);
    Translator::ResolvedTable t = tr.resolveTable(st.target);
    for (const auto& c : st.columnDefs) {
        if (t.info->find(c.name))
            throw Error(2705, "Column names in each table must be unique. Column name '" + c.name + "' in table '" +
                                  t.name + "' is specified more than once.");
        std::string ddl = "ALTER TABLE " + qualified(t) + " ADD COLUMN " + columnDdl(c);
        bool literalDefault =
            c.defaultValue && (c.defaultValue->kind == ExprKind::Integer || c.defaultValue->kind == ExprKind::Number ||
                               c.defaultValue->kind == ExprKind::String);
        if (!c.nullable) {
            if (!literalDefault)
                throw Error(4901, "ALTER TABLE only allows columns to be added that can contain nulls, or have a "
                                  "DEFAULT definition specified, or the column being added is an identity or "
                                  "timestamp column, or alternatively if none of the previous conditions are "
                                  "satisfied the table must be empty to allow addition of this column. Column '" +
                                      c.name + "' cannot be added to non-empty table '" + t.name +
                                      "' because it does not satisfy these conditions.");
            ddl += " DEFAULT " + tr.expression(*c.defaultValue).sql;
        }
        execPlain(m_s.m_db, ddl);
        ColumnInfo ci;
        ci.name = c.name;
        ci.type = c.type;
        ci.nullable = c.nullable;
        ci.defaultSql = trimmed(c.defaultText);
        m_s.catalog().addColumn(t.database, t.name, ci);
        m_s.catalog().refreshIfChanged();
        t = tr.resolveTable(st.target);
    }
}

void Executor::runTruncate(const Statement& st) {
    Translator tr(m_s);
    Translator::ResolvedTable t = tr.resolveTable(st.target);
    execPlain(m_s.m_db, "DELETE FROM " + qualified(t));
    if (t.info->identityColumn >= 0)
        execPlain(m_s.m_db, "UPDATE " + ident(t.database) + ".__tsql_identity SET last = " +
                                std::to_string(t.info->identitySeed - t.info->identityStep) +
                                " WHERE tbl = " + Translator::quoteString(t.name));
}

void Executor::runCreateView(const Statement& st) {
    const std::string& name = st.target.back();
    m_s.catalog().refreshIfChanged();
    if (m_s.catalog().table("main", name))
        throw Error(2714, "There is already an object named '" + name + "' in the database.");
    Translator tr(m_s);
    TranslatedSelect s = tr.select(*st.select);
    if (!tr.binds().empty())
        throw Error(4513, "Cannot schema bind view '" + name + "'. Variables are not allowed in views.");
    execPlain(m_s.m_db, "CREATE VIEW main." + ident(name) + " AS " + s.sql);
    m_s.catalog().invalidate();
}

// ---- procedures -----------------------------------------------------------------------------

void Executor::runCreateProcedure(const Statement& st) {
    const std::string& name = st.target.back();
    m_s.catalog().refreshIfChanged();
    if (m_s.catalog().procedure(name) || m_s.catalog().table("main", name))
        throw Error(2714, "There is already an object named '" + name + "' in the database.");
    compileCheck(st.body, &st.params);
    m_s.catalog().addProcedure(name, st.sourceText);
}

std::vector<Value> Executor::evaluateArgs(const Statement& st) {
    std::vector<Value> out;
    for (const auto& a : st.execArgs)
        out.push_back(a.value ? evaluate(*a.value) : Value::null());
    return out;
}

int Executor::runExec(const Statement& st, std::vector<ResultSet>* capture) {
    std::vector<ResultSet>* savedCapture = m_capture;
    m_capture = capture;
    struct Restore {
        Executor* ex;
        std::vector<ResultSet>* saved;
        ~Restore() { ex->m_capture = saved; }
    } restore{this, savedCapture};

    if (st.value) {
        // EXEC ('text'): a batch of its own, with its own variables.
        std::string text = evaluate(*st.value).toText();
        auto statements = parseBatch(text);
        size_t savedBase = m_s.m_frameBase;
        size_t savedSize = m_s.m_variables.size();
        m_s.m_frameBase = savedSize;
        try {
            runList(statements);
        } catch (...) {
            m_s.m_variables.resize(savedSize);
            m_s.m_frameBase = savedBase;
            throw;
        }
        m_s.m_variables.resize(savedSize);
        m_s.m_frameBase = savedBase;
        return 0;
    }

    const std::string& name = st.target.back();
    std::vector<Value> args = evaluateArgs(st);
    if (runSystemProcedure(name, args))
        return 0;

    m_s.catalog().refreshIfChanged();
    auto source = m_s.catalog().procedure(name);
    if (!source)
        throw Error(2812, "Could not find stored procedure '" + name + "'.");
    if (m_depth >= 32)
        throw Error(217, "Maximum stored procedure, function, trigger, or view nesting level exceeded (limit 32).");
    auto parsed = parseBatch(*source);
    const Statement& proc = *parsed.at(0);

    // Bind arguments: positional first, then by name; missing ones take their default.
    std::vector<Variable> params;
    std::vector<bool> given(proc.params.size(), false);
    for (const auto& p : proc.params) {
        Variable v;
        v.name = p.name;
        v.type = p.type;
        params.push_back(v);
    }
    bool named = false;
    for (size_t i = 0; i < st.execArgs.size(); ++i) {
        const ExecArg& a = st.execArgs[i];
        size_t idx = i;
        if (!a.name.empty()) {
            named = true;
            idx = proc.params.size();
            for (size_t k = 0; k < proc.params.size(); ++k)
                if (iequals(proc.params[k].name, a.name))
                    idx = k;
            if (idx == proc.params.size())
                throw Error(8145, a.name + " is not a parameter for procedure " + name + ".");
        } else if (named) {
            throw Error(119, "Must pass parameter number " + std::to_string(i + 1) +
                                 " and subsequent parameters as '@name = value'. After the form '@name = value' has "
                                 "been used, all subsequent parameters must be passed in the form '@name = value'.");
        }
        if (idx >= proc.params.size())
            throw Error(8144, "Procedure or function " + name + " has too many arguments specified.");
        if (a.value)
            params[idx].value = convertValue(args[i], params[idx].type, ConvertMode::Assign);
        given[idx] = a.value != nullptr || proc.params[idx].defaultValue != nullptr;
        if (!a.value && proc.params[idx].defaultValue)
            given[idx] = false;
    }
    for (size_t k = 0; k < proc.params.size(); ++k) {
        if (given[k])
            continue;
        if (!proc.params[k].defaultValue)
            throw Error(201, "Procedure or function '" + name + "' expects parameter '" + proc.params[k].name +
                                 "', which was not supplied.");
        params[k].value = convertValue(evaluate(*proc.params[k].defaultValue), params[k].type, ConvertMode::Assign);
    }

    size_t savedBase = m_s.m_frameBase;
    size_t savedSize = m_s.m_variables.size();
    m_s.m_frameBase = savedSize;
    for (auto& p : params)
        m_s.m_variables.push_back(p);
    int savedReturn = m_returnValue;
    m_returnValue = 0;
    ++m_depth;
    // SET options changed inside a procedure end with it, as on SQL Server.
    const bool savedNocount = m_s.m_nocount, savedAnsiWarnings = m_s.m_ansiWarnings;
    const long long savedRowcount = m_s.m_rowcount;
    auto unwind = [&] {
        m_s.m_nocount = savedNocount;
        m_s.m_ansiWarnings = savedAnsiWarnings;
        m_s.m_rowcount = savedRowcount;
        --m_depth;
        m_s.m_variables.resize(savedSize);
        m_s.m_frameBase = savedBase;
    };
    try {
        runList(proc.body);
    } catch (...) {
        unwind();
        m_returnValue = savedReturn;
        throw;
    }
    // OUTPUT parameters flow back to the caller's variables.
    std::vector<std::pair<std::string, Value>> outputs;
    for (size_t i = 0; i < st.execArgs.size(); ++i) {
        const ExecArg& a = st.execArgs[i];
        if (!a.output || !a.value || a.value->kind != ExprKind::Variable)
            continue;
        size_t idx = i;
        if (!a.name.empty())
            for (size_t k = 0; k < proc.params.size(); ++k)
                if (iequals(proc.params[k].name, a.name))
                    idx = k;
        outputs.emplace_back(a.value->text, m_s.m_variables[savedSize + idx].value);
    }
    int rc = m_returnValue;
    unwind();
    m_returnValue = savedReturn;
    for (const auto& [var, value] : outputs)
        if (auto slot = m_s.variableSlot(var))
            m_s.assignVariable(*slot, value);
    if (!st.execReturnVariable.empty()) {
        auto slot = m_s.variableSlot(st.execReturnVariable);
        if (!slot)
            throw Error(137, "Must declare the scalar variable \"" + st.execReturnVariable + "\".");
        m_s.assignVariable(*slot, Value::integer(rc));
    }
    return rc;
}

// Server procedures the engine itself provides.
bool Executor::runSystemProcedure(const std::string& name, const std::vector<Value>& args) {
    std::string n = toUpper(name);
    auto text = [&](size_t i) { return i < args.size() ? args[i].toText() : std::string(); };
    if (n == "SP_ADDLOGIN" || n == "SP_PASSWORD") {
        std::string login = n == "SP_ADDLOGIN" ? text(0) : text(2);
        std::string password = n == "SP_ADDLOGIN" ? text(1) : text(1);
        if (login.empty())
            throw Error(15007, "'' is not a valid login or you do not have permission.");
        sqlite3_stmt* st = prepare("INSERT OR REPLACE INTO main.__tsql_logins VALUES(?1, ?2)",
                                   {Value::text(login), Value::text(loginDigest(login, password))});
        StmtGuard g{st};
        stepToEnd(st);
        return true;
    }
    if (n == "SP_SPACEUSED") {
        runSpaceUsed(args);
        return true;
    }
    if (n == "SP_HELPDB") {
        runHelpDb(args);
        return true;
    }
    if (n == "SP_DROPLOGIN") {
        sqlite3_stmt* st = prepare("DELETE FROM main.__tsql_logins WHERE name = ?1", {Value::text(text(0))});
        StmtGuard g{st};
        stepToEnd(st);
        return true;
    }
    if (n == "SP_ATTACH_SINGLE_FILE_DB" || n == "SP_ATTACH_DB") {
        std::string db = text(0), path = text(1);
        if (!std::filesystem::exists(path))
            throw Error(5120, "Unable to open the physical file \"" + path +
                                  "\". Operating system error 2: \"2(The system cannot find the file specified.)\".");
        // SQLite would take an empty file for an empty database; the server refuses it as it
        // refuses any file without a database header.
        std::error_code ec;
        if (std::filesystem::is_regular_file(path, ec) && std::filesystem::file_size(path, ec) == 0)
            throw Error(5172, "The header for file '" + path +
                                  "' is not a valid database file header. The FILE SIZE property is incorrect.");
        if (!m_s.resolveDatabase(db).empty() || iequals(db, m_s.databaseName()))
            throw Error(1801, "Database '" + db + "' already exists. Choose a different database name.");
        sqlite3_stmt* st = prepare("ATTACH DATABASE ?1 AS ?2", {Value::text(path), Value::text(db)});
        {
            StmtGuard g{st};
            stepToEnd(st);
        }
        m_s.catalog().prepare(db);
        sqlite3_stmt* rec = prepare("INSERT OR REPLACE INTO main.__tsql_attached VALUES(?1, ?2)",
                                    {Value::text(db), Value::text(std::filesystem::absolute(path).string())});
        StmtGuard g{rec};
        stepToEnd(rec);
        return true;
    }
    if (n == "SP_DETACH_DB") {
        std::string db = m_s.resolveDatabase(text(0));
        if (db.empty())
            throw Error(15010, "The database '" + text(0) +
                                   "' does not exist. Supply a valid database name. To see "
                                   "available databases, use sys.databases.");
        execPlain(m_s.m_db, "DETACH DATABASE " + ident(db));
        sqlite3_stmt* rec = prepare("DELETE FROM main.__tsql_attached WHERE name = ?1", {Value::text(db)});
        StmtGuard g{rec};
        stepToEnd(rec);
        m_s.catalog().invalidate();
        return true;
    }
    (void)q;
    return false;
}

} // namespace tsql
