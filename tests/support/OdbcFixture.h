#pragma once

#include <gtest/gtest.h>
#include <optional>
#include <sql.h>
#include <sqlext.h>
#include <string>
#include <vector>

namespace kdtest {

struct DiagRecord {
    std::string state;
    long native = 0;
    std::string text;
};

// Everything one SQLExecDirect produced: the return code of each step (ExecDirect, then every
// SQLMoreResults), the rows of each result set and the diagnostics met on the way.
struct BatchOutcome {
    struct Step {
        SQLRETURN rc = SQL_SUCCESS;
        SQLSMALLINT columns = 0;
        SQLLEN rowCount = -1;
        std::vector<std::string> columnNames;
        std::vector<std::vector<std::optional<std::string>>> rows;
        std::vector<DiagRecord> diags;
    };
    std::vector<Step> steps;

    [[nodiscard]] SQLRETURN rc() const { return steps.empty() ? SQL_ERROR : steps.front().rc; }
    // The first result set's first row, first column; "<none>" when there is none.
    [[nodiscard]] std::string scalar() const;
    [[nodiscard]] const Step* firstRows() const;
    // The first result set as "a,b,|c,d,|" (each value followed by the separator), NULL as "NULL"; ""
    // when there is none.
    [[nodiscard]] std::string table(char separator = ',') const;
    // The first result set's rows, each as "a|b|c", NULL as "NULL".
    [[nodiscard]] std::vector<std::string> lines() const;
    [[nodiscard]] std::vector<DiagRecord> allDiags() const;
    [[nodiscard]] bool hasError(long native) const;
};

// A private ODBC configuration (odbcinst.ini with the "SQL Server" driver, odbc.ini files) and
// a database folder, for tests that go through the real unixODBC driver manager.
class OdbcEnvironment {
public:
    OdbcEnvironment();
    ~OdbcEnvironment();

    [[nodiscard]] const std::string& folder() const { return m_folder; }
    [[nodiscard]] std::string databasePath(const std::string& name) const;
    // Creates an empty database file (through the engine, as the demo tools do).
    void createDatabase(const std::string& name) const;
    // DSNs are written to the process's ODBC files (unixODBC reads their paths once per process),
    // so each gets a unique name; the name to connect with is returned.
    std::string addSystemDsn(const std::string& dsn, const std::string& database) const;
    std::string addUserDsn(const std::string& dsn, const std::string& database) const;
    void arrangeFault(const std::string& database, const std::string& line) const;

private:
    std::string m_folder;
};

// One ODBC 2 style connection: SQLAllocEnv, SQLAllocConnect, SQLDriverConnect, SQLAllocStmt.
class OdbcConnection {
public:
    OdbcConnection() = default;
    ~OdbcConnection();
    OdbcConnection(const OdbcConnection&) = delete;
    OdbcConnection& operator=(const OdbcConnection&) = delete;

    // Returns SQLDriverConnect's code; diags() then holds the connection's diagnostics.
    SQLRETURN connect(const std::string& connectionString, bool padTo150 = false);
    void disconnect();
    BatchOutcome exec(const std::string& sql);

    [[nodiscard]] SQLHSTMT stmt() const { return m_stmt; }
    [[nodiscard]] SQLHDBC dbc() const { return m_dbc; }
    [[nodiscard]] SQLHENV env() const { return m_env; }
    [[nodiscard]] const std::vector<DiagRecord>& connectDiags() const { return m_connectDiags; }
    std::vector<DiagRecord> statementDiags();

private:
    SQLHENV m_env = SQL_NULL_HENV;
    SQLHDBC m_dbc = SQL_NULL_HDBC;
    SQLHSTMT m_stmt = SQL_NULL_HSTMT;
    std::vector<DiagRecord> m_connectDiags;
};

std::string connectionStringFor(const OdbcEnvironment& env, const std::string& database, const std::string& extra = "");

// A test with an ODBC environment, a fresh database "site" and a connection to it.
class EngineTest : public ::testing::Test {
protected:
    void SetUp() override;
    BatchOutcome exec(const std::string& sql) { return conn.exec(sql); }
    std::string scalar(const std::string& sql) { return conn.exec(sql).scalar(); }

    OdbcEnvironment odbc;
    OdbcConnection conn;
};

// A test on a fresh suite database (tables, procedures, base rows) named KALDRA.
class SuiteTest : public ::testing::Test {
protected:
    void SetUp() override;
    BatchOutcome exec(const std::string& sql) { return conn.exec(sql); }
    std::string scalar(const std::string& sql) { return conn.exec(sql).scalar(); }

    OdbcEnvironment odbc;
    OdbcConnection conn;
};

} // namespace kdtest
