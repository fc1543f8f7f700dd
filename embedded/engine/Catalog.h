#pragma once

#include "Ast.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace tsql {

struct ColumnInfo {
    std::string name;
    TypeSpec type;
    bool nullable = true;
    bool identity = false;
    std::string defaultSql; // T-SQL text of the DEFAULT, empty when none
};

struct TableInfo {
    std::string database; // SQLite schema: "main" or an attached alias
    std::string name;
    bool isView = false;
    std::vector<ColumnInfo> columns;
    std::vector<std::string> primaryKey;
    int identityColumn = -1;
    long long identitySeed = 1;
    long long identityStep = 1;

    [[nodiscard]] const ColumnInfo* find(std::string_view column) const;
    [[nodiscard]] int indexOf(std::string_view column) const;
};

// The T-SQL side of the schema: column types as declared, identities, views and procedures.
// It lives in bookkeeping tables inside each database file so every connection sees the same.
class Catalog {
public:
    explicit Catalog(sqlite3* db) : m_db(db) {}
    ~Catalog();
    Catalog(const Catalog&) = delete;
    Catalog& operator=(const Catalog&) = delete;

    void setConnection(sqlite3* db) {
        releaseStatements();
        m_db = db;
    }
    // Creates the bookkeeping tables of a database (main or attached) when missing.
    void prepare(const std::string& database);
    // Reloads when another connection changed the schema. Another connection's change shows from
    // the next statement on, as on SQL Server: the check is made once per statement.
    void refreshIfChanged();
    void beginStatement() { m_checked = false; }
    void invalidate() {
        m_loadedVersion = -1;
        m_checked = false;
        ++m_generation;
    }
    // Moves whenever the tables known here change (a reload, or this connection's own DDL), so a
    // translation made earlier can tell whether it still holds.
    [[nodiscard]] unsigned long long generation() const { return m_generation; }
    // Finalizes the statements kept prepared, so the connection can close.
    void releaseStatements();

    [[nodiscard]] const TableInfo* table(const std::string& database, std::string_view name);
    void addTable(const TableInfo& t);
    void dropTable(const std::string& database, const std::string& name);
    void addColumn(const std::string& database, const std::string& table, const ColumnInfo& c);

    // Whether an index of the table starts with the column, so a range on it can be read from the
    // index. Remembered until the tables known here change.
    [[nodiscard]] bool leadsAnIndex(const TableInfo& table, std::string_view column);

    [[nodiscard]] std::optional<std::string> procedure(std::string_view name);
    void addProcedure(const std::string& name, const std::string& source);
    void dropProcedure(const std::string& name);
    [[nodiscard]] std::vector<std::string> attachedDatabases();

private:
    void load();
    static std::string key(const std::string& database, std::string_view name);

    sqlite3* m_db;
    sqlite3_stmt* m_probe = nullptr; // kept prepared: every statement asks whether the schema moved
    bool m_checked = false;          // the running statement has made the check
    long long m_loadedVersion = -1;
    unsigned long long m_generation = 0;
    std::string m_loadedProcedures;
    std::map<std::string, TableInfo> m_tables;
    std::map<std::string, std::string> m_procedures;
    std::map<std::string, bool> m_indexLeads;
    unsigned long long m_indexLeadsGeneration = 0;
};

// Runs SQL that returns no rows; throws tsql::Error with SQLite's message on failure.
void execPlain(sqlite3* db, const std::string& sql);

} // namespace tsql
