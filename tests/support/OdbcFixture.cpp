#include "OdbcFixture.h"

#include "Schema.h"
#include "Session.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace kdtest {

namespace {

std::vector<DiagRecord> collect(SQLHENV env, SQLHDBC dbc, SQLHSTMT stmt) {
    std::vector<DiagRecord> out;
    SQLCHAR state[16];
    SQLINTEGER native = 0;
    SQLCHAR text[1024];
    SQLSMALLINT len = 0;
    while (SQLError(env, dbc, stmt, state, &native, text, sizeof text, &len) == SQL_SUCCESS)
        out.push_back({reinterpret_cast<char*>(state), native, reinterpret_cast<char*>(text)});
    return out;
}

void appendIni(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::app);
    out << text;
}

} // namespace

std::string BatchOutcome::scalar() const {
    const Step* s = firstRows();
    if (!s || s->rows.empty() || s->rows[0].empty())
        return "<none>";
    return s->rows[0][0].value_or("<NULL>");
}

std::string BatchOutcome::table(char separator) const {
    std::string text;
    if (const Step* step = firstRows())
        for (const auto& r : step->rows) {
            for (const auto& c : r)
                text += c.value_or("NULL") + separator;
            text += "|";
        }
    return text;
}

std::vector<std::string> BatchOutcome::lines() const {
    std::vector<std::string> out;
    if (const Step* step = firstRows())
        for (const auto& r : step->rows) {
            std::string line;
            for (size_t i = 0; i < r.size(); ++i)
                line += (i ? "|" : "") + r[i].value_or("NULL");
            out.push_back(line);
        }
    return out;
}

const BatchOutcome::Step* BatchOutcome::firstRows() const {
    for (const auto& s : steps)
        if (s.columns > 0)
            return &s;
    return nullptr;
}

std::vector<DiagRecord> BatchOutcome::allDiags() const {
    std::vector<DiagRecord> out;
    for (const auto& s : steps)
        out.insert(out.end(), s.diags.begin(), s.diags.end());
    return out;
}

bool BatchOutcome::hasError(long native) const {
    for (const auto& d : allDiags())
        if (d.native == native)
            return true;
    return false;
}

// The driver manager fixes the location of its ini files at first use, so one configuration
// folder serves the whole test process; it goes when the process ends.
struct OdbcConfigFolder {
    std::string path;
    OdbcConfigFolder() {
        char pattern[] = "/tmp/kdtest-odbc-XXXXXX";
        path = mkdtemp(pattern);
        std::ofstream(path + "/odbcinst.ini")
            << "[SQL Server]\nDescription=Embedded SQL Server\nDriver=" << KD_DRIVER_PATH
            << "\nSetup=" << KD_DRIVER_PATH << "\nThreading=0\n";
        std::ofstream(path + "/odbc.ini") << "";
        std::ofstream(path + "/user-odbc.ini") << "";
        setenv("ODBCSYSINI", path.c_str(), 1);
        setenv("ODBCINSTINI", "odbcinst.ini", 1);
        setenv("ODBCINI", (path + "/user-odbc.ini").c_str(), 1);
    }
    ~OdbcConfigFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
};

const std::string& odbcConfigFolder() {
    static const OdbcConfigFolder folder;
    return folder.path;
}

OdbcEnvironment::OdbcEnvironment() {
    odbcConfigFolder();
    char pattern[] = "/tmp/kdtest-XXXXXX";
    m_folder = mkdtemp(pattern);
}

OdbcEnvironment::~OdbcEnvironment() {
    std::error_code ec;
    std::filesystem::remove_all(m_folder, ec);
}

std::string OdbcEnvironment::databasePath(const std::string& name) const {
    return tsql::Session::databasePath(m_folder, name);
}

void OdbcEnvironment::createDatabase(const std::string& name) const {
    tsql::OpenOptions o;
    o.folder = m_folder;
    o.database = name;
    o.create = true;
    tsql::Session::open(o);
}

namespace {

std::string uniqueDsn(const std::string& dsn) {
    static int counter = 0;
    return dsn + "_" + std::to_string(++counter);
}

} // namespace

std::string OdbcEnvironment::addSystemDsn(const std::string& dsn, const std::string& database) const {
    std::string name = uniqueDsn(dsn);
    appendIni(odbcConfigFolder() + "/odbc.ini",
              "[" + name + "]\nDriver=SQL Server\nServer=" + m_folder + "\nDatabase=" + database + "\n");
    return name;
}

std::string OdbcEnvironment::addUserDsn(const std::string& dsn, const std::string& database) const {
    std::string name = uniqueDsn(dsn);
    appendIni(odbcConfigFolder() + "/user-odbc.ini",
              "[" + name + "]\nDriver=SQL Server\nServer=" + m_folder + "\nDatabase=" + database + "\n");
    return name;
}

void OdbcEnvironment::arrangeFault(const std::string& database, const std::string& line) const {
    appendIni(databasePath(database) + ".faults", line + "\n");
}

std::string connectionStringFor(const OdbcEnvironment& env, const std::string& database, const std::string& extra) {
    return "Driver={SQL Server};Server=" + env.folder() + ";Database=" + database + ";" + extra;
}

OdbcConnection::~OdbcConnection() {
    disconnect();
}

SQLRETURN OdbcConnection::connect(const std::string& connectionString, bool padTo150) {
    disconnect();
    SQLAllocEnv(&m_env);
    SQLAllocConnect(m_env, &m_dbc);
    SQLSetConnectOption(m_dbc, SQL_LOGIN_TIMEOUT, 20);
    std::string text = connectionString;
    if (padTo150) {
        text.resize(150, ' ');
    }
    SQLCHAR out[100];
    SQLSMALLINT outLen = 0;
    SQLRETURN rc =
        SQLDriverConnect(m_dbc, nullptr, reinterpret_cast<SQLCHAR*>(text.data()), static_cast<SQLSMALLINT>(text.size()),
                         out, sizeof out, &outLen, SQL_DRIVER_NOPROMPT);
    m_connectDiags = collect(m_env, m_dbc, SQL_NULL_HSTMT);
    if (rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO)
        SQLAllocStmt(m_dbc, &m_stmt);
    return rc;
}

void OdbcConnection::disconnect() {
    if (m_stmt) {
        SQLFreeStmt(m_stmt, SQL_DROP);
        m_stmt = SQL_NULL_HSTMT;
    }
    if (m_dbc) {
        SQLDisconnect(m_dbc);
        SQLFreeConnect(m_dbc);
        m_dbc = SQL_NULL_HDBC;
    }
    if (m_env) {
        SQLFreeEnv(m_env);
        m_env = SQL_NULL_HENV;
    }
}

std::vector<DiagRecord> OdbcConnection::statementDiags() {
    return collect(m_env, m_dbc, m_stmt);
}

BatchOutcome OdbcConnection::exec(const std::string& sql) {
    BatchOutcome out;
    SQLSetStmtOption(m_stmt, SQL_ASYNC_ENABLE, SQL_ASYNC_ENABLE_OFF);
    SQLRETURN rc = SQLExecDirect(m_stmt, reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql.c_str())), SQL_NTS);
    for (int guard = 0; guard < 10000; ++guard) {
        BatchOutcome::Step step;
        step.rc = rc;
        step.diags = collect(m_env, m_dbc, m_stmt);
        if (rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO) {
            SQLNumResultCols(m_stmt, &step.columns);
            SQLRowCount(m_stmt, &step.rowCount);
            for (SQLSMALLINT c = 1; c <= step.columns; ++c) {
                SQLCHAR name[256];
                SQLSMALLINT nameLen = 0, type = 0, digits = 0, nullable = 0;
                SQLULEN size = 0;
                SQLDescribeCol(m_stmt, static_cast<SQLUSMALLINT>(c), name, sizeof name, &nameLen, &type, &size, &digits,
                               &nullable);
                step.columnNames.emplace_back(reinterpret_cast<char*>(name));
            }
            if (step.columns > 0) {
                while (SQLFetch(m_stmt) == SQL_SUCCESS) {
                    std::vector<std::optional<std::string>> row;
                    for (SQLSMALLINT c = 1; c <= step.columns; ++c) {
                        std::string value;
                        bool isNull = false;
                        for (;;) {
                            char buf[256];
                            SQLLEN ind = 0;
                            SQLRETURN g =
                                SQLGetData(m_stmt, static_cast<SQLUSMALLINT>(c), SQL_C_CHAR, buf, sizeof buf, &ind);
                            if (g == SQL_NO_DATA)
                                break;
                            if (g != SQL_SUCCESS && g != SQL_SUCCESS_WITH_INFO)
                                break;
                            if (ind == SQL_NULL_DATA) {
                                isNull = true;
                                break;
                            }
                            value += buf;
                            if (g == SQL_SUCCESS)
                                break;
                            collect(m_env, m_dbc, m_stmt);
                        }
                        row.push_back(isNull ? std::nullopt : std::optional<std::string>(value));
                    }
                    step.rows.push_back(std::move(row));
                }
            }
        }
        out.steps.push_back(std::move(step));
        if (rc == SQL_NO_DATA)
            break;
        rc = SQLMoreResults(m_stmt);
        if (rc == SQL_NO_DATA)
            break;
    }
    SQLFreeStmt(m_stmt, SQL_CLOSE);
    return out;
}

void EngineTest::SetUp() {
    odbc.createDatabase("site");
    ASSERT_TRUE(SQL_SUCCEEDED(conn.connect(connectionStringFor(odbc, "site"))));
}

void SuiteTest::SetUp() {
    suite::createSuiteDatabase(odbc.folder(), "KALDRA");
    ASSERT_TRUE(SQL_SUCCEEDED(conn.connect(connectionStringFor(odbc, "KALDRA"))));
}

} // namespace kdtest
