#include "Catalog.h"

#include "Error.h"
#include "Lexer.h"

#include <sqlite3.h>

namespace tsql {

namespace {

std::string quoted(const std::string& s) {
    std::string out = "'";
    for (char c : s) {
        out += c;
        if (c == '\'')
            out += '\'';
    }
    return out + "'";
}

struct Stmt {
    sqlite3_stmt* st = nullptr;
    Stmt(sqlite3* db, const std::string& sql) {
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK)
            throw Error(50000, sqlite3_errmsg(db));
    }
    ~Stmt() { sqlite3_finalize(st); }
    Stmt(const Stmt&) = delete;
    Stmt& operator=(const Stmt&) = delete;
    bool step() { return sqlite3_step(st) == SQLITE_ROW; }
    std::string text(int c) {
        auto p = sqlite3_column_text(st, c);
        return p ? reinterpret_cast<const char*>(p) : "";
    }
    int integer(int c) { return sqlite3_column_int(st, c); }
};

// Bumped whenever the body changes, so existing files are brought up to date at connect.
constexpr const char* kSysobjectsRevision = "/* sysobjects r2 */";
constexpr const char* kSysobjectsBody =
    "SELECT /* sysobjects r2 */ name COLLATE TSQL AS name, id, xtype COLLATE TSQL AS xtype, 1 AS uid, 0 AS info, "
    "0 AS status, 0 AS base_schema_ver, 0 AS replinfo, 0 AS parent_obj, crdate, 0 AS ftcatid, 0 AS schema_ver, "
    "0 AS stats_schema_ver, xtype COLLATE TSQL AS type, 0 AS userstat, sysstat, 0 AS indexdel, crdate AS refdate, "
    "0 AS version, 0 AS deltrig, 0 AS instrig, 0 AS updtrig, 0 AS seltrig, 0 AS category, 0 AS cache FROM ("
    "SELECT name, rowid AS id, CASE type WHEN 'table' THEN 'U' ELSE 'V' END AS xtype, "
    "CASE type WHEN 'table' THEN 3 ELSE 2 END AS sysstat, '2020-01-01 00:00:00.000' AS crdate "
    "FROM sqlite_master WHERE type IN ('table', 'view') AND name NOT LIKE '\\_\\_tsql%' ESCAPE '\\' "
    "AND name NOT LIKE 'sqlite%' AND name <> 'sysobjects' "
    "UNION ALL SELECT name, 1000000 + rowid, 'P', 4, created FROM __tsql_procedures)";

} // namespace

void execPlain(sqlite3* db, const std::string& sql) {
    char* err = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
        std::string msg = err ? err : "SQLite error";
        sqlite3_free(err);
        throw Error(50000, msg);
    }
}

const ColumnInfo* TableInfo::find(std::string_view column) const {
    int i = indexOf(column);
    return i < 0 ? nullptr : &columns[static_cast<size_t>(i)];
}

int TableInfo::indexOf(std::string_view column) const {
    for (size_t i = 0; i < columns.size(); ++i)
        if (iequals(columns[i].name, column))
            return static_cast<int>(i);
    return -1;
}

std::string Catalog::key(const std::string& database, std::string_view name) {
    return toUpper(database) + "." + toUpper(name);
}

void Catalog::prepare(const std::string& database) {
    const std::string d = "\"" + database + "\".";
    execPlain(m_db, "CREATE TABLE IF NOT EXISTS " + d +
                        "__tsql_columns(tbl TEXT NOT NULL COLLATE NOCASE, ord INTEGER NOT NULL, name TEXT NOT NULL, "
                        "type TEXT NOT NULL, len INTEGER, prec INTEGER, scale INTEGER, nullable INTEGER, "
                        "ident INTEGER, seed INTEGER, step INTEGER, pk INTEGER, dflt TEXT, PRIMARY KEY(tbl, ord));"
                        "CREATE TABLE IF NOT EXISTS " +
                        d +
                        "__tsql_procedures(name TEXT PRIMARY KEY COLLATE NOCASE, source TEXT NOT NULL, "
                        "created TEXT);"
                        "CREATE TABLE IF NOT EXISTS " +
                        d +
                        "__tsql_identity(tbl TEXT PRIMARY KEY COLLATE NOCASE, last INTEGER);"
                        "CREATE TABLE IF NOT EXISTS " +
                        d + "__tsql_logins(name TEXT PRIMARY KEY COLLATE NOCASE, digest TEXT NOT NULL);");
    if (database == "main") {
        execPlain(m_db, "CREATE TABLE IF NOT EXISTS main.__tsql_attached(name TEXT PRIMARY KEY COLLATE NOCASE, "
                        "path TEXT NOT NULL);");
        // sysobjects as SQL Server 2000 kept it: user tables 'U', views 'V', procedures 'P', with the
        // type code in the low bits of sysstat (3 table, 2 view, 4 procedure) that the suite's
        // "drop if it exists" guards test. The body names no database, so the view still works when
        // this file is attached to another. Files made before a column was added get the new view.
        bool current = false;
        {
            Stmt s(m_db, "SELECT sql FROM main.sqlite_master WHERE type = 'view' AND name = 'sysobjects'");
            current = s.step() && s.text(0).find(kSysobjectsRevision) != std::string::npos;
        }
        if (!current)
            execPlain(m_db, std::string("DROP VIEW IF EXISTS main.sysobjects; CREATE VIEW main.sysobjects AS ") +
                                kSysobjectsBody);
    }
    invalidate();
}

bool Catalog::leadsAnIndex(const TableInfo& table, std::string_view column) {
    if (m_indexLeadsGeneration != m_generation) {
        m_indexLeads.clear();
        m_indexLeadsGeneration = m_generation;
    }
    const std::string k = key(table.database, table.name) + "." + toUpper(column);
    if (auto it = m_indexLeads.find(k); it != m_indexLeads.end())
        return it->second;
    Stmt s(m_db, "SELECT 1 FROM pragma_index_list(" + quoted(table.name) + ", " + quoted(table.database) +
                     ") AS il, pragma_index_info(il.name, " + quoted(table.database) +
                     ") AS ii WHERE ii.seqno = 0 AND ii.name = " + quoted(std::string(column)) + " COLLATE NOCASE");
    const bool leads = s.step();
    m_indexLeads.emplace(k, leads);
    return leads;
}

Catalog::~Catalog() {
    releaseStatements();
}

void Catalog::releaseStatements() {
    sqlite3_finalize(m_probe);
    m_probe = nullptr;
}

void Catalog::refreshIfChanged() {
    if (m_checked)
        return;
    // Procedures are rows of a bookkeeping table: creating or dropping one moves no schema version,
    // so another connection's change shows in their count and latest creation time instead. One
    // statement reads both, in one read transaction.
    if (!m_probe && sqlite3_prepare_v3(m_db,
                                       "SELECT (SELECT schema_version FROM pragma_schema_version), COUNT(*), "
                                       "MAX(created) FROM main.__tsql_procedures",
                                       -1, SQLITE_PREPARE_PERSISTENT, &m_probe, nullptr) != SQLITE_OK) {
        sqlite3_finalize(m_probe);
        m_probe = nullptr;
        throw Error(50000, sqlite3_errmsg(m_db));
    }
    long long version = 0;
    std::string procedures;
    if (sqlite3_step(m_probe) == SQLITE_ROW) {
        version = sqlite3_column_int64(m_probe, 0);
        auto text = [&](int c) {
            auto p = sqlite3_column_text(m_probe, c);
            return p ? std::string(reinterpret_cast<const char*>(p)) : std::string();
        };
        procedures = text(1) + "|" + text(2);
    }
    sqlite3_reset(m_probe);
    // Attached databases have schema versions of their own; fold the count of attached ones in.
    if (version != m_loadedVersion || procedures != m_loadedProcedures || m_tables.empty())
        load();
    m_loadedVersion = version;
    m_loadedProcedures = procedures;
    m_checked = true;
}

void Catalog::load() {
    ++m_generation;
    m_tables.clear();
    m_procedures.clear();
    std::vector<std::string> databases;
    {
        Stmt s(m_db, "PRAGMA database_list");
        while (s.step())
            if (s.text(1) != "temp")
                databases.push_back(s.text(1));
    }
    for (const auto& db : databases) {
        const std::string d = "\"" + db + "\".";
        bool hasCatalog = false;
        {
            Stmt s(m_db, "SELECT 1 FROM " + d + "sqlite_master WHERE name='__tsql_columns'");
            hasCatalog = s.step();
        }
        {
            Stmt s(m_db, "SELECT name, type FROM " + d +
                             "sqlite_master WHERE type IN ('table','view') AND name NOT LIKE '\\_\\_tsql%' ESCAPE '\\' "
                             "AND name NOT LIKE 'sqlite%'");
            while (s.step()) {
                TableInfo t;
                t.database = db;
                t.name = s.text(0);
                t.isView = s.text(1) == "view";
                m_tables[key(db, t.name)] = t;
            }
        }
        if (!hasCatalog)
            continue;
        {
            Stmt s(m_db, "SELECT tbl, name, type, len, prec, scale, nullable, ident, seed, step, pk, dflt FROM " + d +
                             "__tsql_columns ORDER BY tbl, ord");
            while (s.step()) {
                auto it = m_tables.find(key(db, s.text(0)));
                if (it == m_tables.end())
                    continue;
                TableInfo& t = it->second;
                ColumnInfo c;
                c.name = s.text(1);
                c.type.name = s.text(2);
                c.type.length = s.integer(3);
                c.type.precision = s.integer(4);
                c.type.scale = s.integer(5);
                c.nullable = s.integer(6) != 0;
                c.identity = s.integer(7) != 0;
                c.defaultSql = s.text(11);
                if (c.identity) {
                    t.identityColumn = static_cast<int>(t.columns.size());
                    t.identitySeed = sqlite3_column_int64(s.st, 8);
                    t.identityStep = sqlite3_column_int64(s.st, 9);
                }
                if (s.integer(10))
                    t.primaryKey.push_back(c.name);
                t.columns.push_back(std::move(c));
            }
        }
        {
            Stmt s(m_db, "SELECT name, source FROM " + d + "__tsql_procedures");
            while (s.step())
                m_procedures[toUpper(s.text(0))] = s.text(1);
        }
    }
}

const TableInfo* Catalog::table(const std::string& database, std::string_view name) {
    auto it = m_tables.find(key(database, name));
    return it == m_tables.end() ? nullptr : &it->second;
}

void Catalog::addTable(const TableInfo& t) {
    ++m_generation;
    const std::string d = "\"" + t.database + "\".";
    for (size_t i = 0; i < t.columns.size(); ++i) {
        const ColumnInfo& c = t.columns[i];
        bool pk = false;
        for (const auto& k : t.primaryKey)
            pk = pk || iequals(k, c.name);
        execPlain(m_db, "INSERT INTO " + d + "__tsql_columns VALUES(" + quoted(t.name) + "," + std::to_string(i) + "," +
                            quoted(c.name) + "," + quoted(c.type.name) + "," + std::to_string(c.type.length) + "," +
                            std::to_string(c.type.precision) + "," + std::to_string(c.type.scale) + "," +
                            (c.nullable ? "1" : "0") + "," + (c.identity ? "1" : "0") + "," +
                            std::to_string(t.identitySeed) + "," + std::to_string(t.identityStep) + "," +
                            (pk ? "1" : "0") + "," + (c.defaultSql.empty() ? "NULL" : quoted(c.defaultSql)) + ")");
    }
    if (t.identityColumn >= 0)
        execPlain(m_db, "INSERT OR REPLACE INTO " + d + "__tsql_identity VALUES(" + quoted(t.name) + "," +
                            std::to_string(t.identitySeed - t.identityStep) + ")");
    invalidate();
}

void Catalog::dropTable(const std::string& database, const std::string& name) {
    ++m_generation;
    const std::string d = "\"" + database + "\".";
    execPlain(m_db, "DELETE FROM " + d + "__tsql_columns WHERE tbl = " + quoted(name) + "; DELETE FROM " + d +
                        "__tsql_identity WHERE tbl = " + quoted(name));
    invalidate();
}

void Catalog::addColumn(const std::string& database, const std::string& table, const ColumnInfo& c) {
    ++m_generation;
    const std::string d = "\"" + database + "\".";
    execPlain(m_db, "INSERT INTO " + d + "__tsql_columns SELECT " + quoted(table) + ", COALESCE(MAX(ord),-1)+1, " +
                        quoted(c.name) + "," + quoted(c.type.name) + "," + std::to_string(c.type.length) + "," +
                        std::to_string(c.type.precision) + "," + std::to_string(c.type.scale) + "," +
                        (c.nullable ? "1" : "0") + ",0,1,1,0," +
                        (c.defaultSql.empty() ? "NULL" : quoted(c.defaultSql)) + " FROM " + d +
                        "__tsql_columns WHERE tbl = " + quoted(table));
    invalidate();
}

std::optional<std::string> Catalog::procedure(std::string_view name) {
    auto it = m_procedures.find(toUpper(name));
    if (it == m_procedures.end())
        return std::nullopt;
    return it->second;
}

void Catalog::addProcedure(const std::string& name, const std::string& source) {
    execPlain(m_db, "INSERT INTO main.__tsql_procedures VALUES(" + quoted(name) + "," + quoted(source) +
                        ", strftime('%Y-%m-%d %H:%M:%f','now'))");
    invalidate();
}

void Catalog::dropProcedure(const std::string& name) {
    execPlain(m_db, "DELETE FROM main.__tsql_procedures WHERE name = " + quoted(name));
    invalidate();
}

std::vector<std::string> Catalog::attachedDatabases() {
    std::vector<std::string> out;
    Stmt s(m_db, "PRAGMA database_list");
    while (s.step())
        out.push_back(s.text(1));
    return out;
}

} // namespace tsql
