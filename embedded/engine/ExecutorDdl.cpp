// CREATE TABLE, DROP, CREATE INDEX, ALTER TABLE, TRUNCATE TABLE and CREATE VIEW: the catalog keeps
// the T-SQL definition, SQLite holds the table.

#include "Executor.h"
#include "Lexer.h"

#include <sqlite3.h>

namespace tsql {

namespace {

std::string ident(const std::string& s) {
    return Translator::quoteIdent(s);
}

std::string trimmed(const std::string& s) {
    size_t b = s.find_first_not_of(" \t\r\n");
    size_t e = s.find_last_not_of(" \t\r\n;");
    return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

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
        std::string ddl = "ALTER TABLE " + ident(t.database) + "." + ident(t.name) + " ADD COLUMN " + columnDdl(c);
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
    execPlain(m_s.m_db, "DELETE FROM " + ident(t.database) + "." + ident(t.name));
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

} // namespace tsql
