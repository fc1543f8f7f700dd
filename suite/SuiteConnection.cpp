#include "SuiteConnection.h"

#include <sql.h>
#include <sqlext.h>

namespace suite {

SuiteConnection::~SuiteConnection() {
    close();
}

std::string SuiteConnection::quote(const std::string& text) {
    std::string out = "'";
    for (char c : text) {
        out += c;
        if (c == '\'')
            out += '\'';
    }
    return out + "'";
}

void SuiteConnection::collectError(short handleType, void* handle) {
    SQLCHAR state[6];
    SQLINTEGER native = 0;
    SQLCHAR text[512];
    SQLSMALLINT len = 0;
    m_error.clear();
    for (SQLSMALLINT i = 1;
         SQLGetDiagRec(handleType, handle, i, state, &native, text, sizeof text, &len) == SQL_SUCCESS; ++i) {
        if (std::string(reinterpret_cast<char*>(state)) == "01000")
            continue;
        m_error += (m_error.empty() ? "" : "\n") + std::string(reinterpret_cast<char*>(text));
    }
}

bool SuiteConnection::open(const std::string& connectionString) {
    close();
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &m_env);
    SQLSetEnvAttr(m_env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLAllocHandle(SQL_HANDLE_DBC, m_env, &m_dbc);
    SQLSetConnectAttr(m_dbc, SQL_ATTR_LOGIN_TIMEOUT, reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(m_loginTimeout)),
                      0);
    std::string cs = connectionString;
    SQLRETURN rc = SQLDriverConnect(m_dbc, nullptr, reinterpret_cast<SQLCHAR*>(cs.data()), SQL_NTS, nullptr, 0, nullptr,
                                    SQL_DRIVER_NOPROMPT);
    if (!SQL_SUCCEEDED(rc)) {
        collectError(SQL_HANDLE_DBC, m_dbc);
        SQLFreeHandle(SQL_HANDLE_DBC, m_dbc);
        SQLFreeHandle(SQL_HANDLE_ENV, m_env);
        m_dbc = m_env = nullptr;
        return false;
    }
    return true;
}

void SuiteConnection::close() {
    if (m_dbc) {
        SQLDisconnect(m_dbc);
        SQLFreeHandle(SQL_HANDLE_DBC, m_dbc);
    }
    if (m_env)
        SQLFreeHandle(SQL_HANDLE_ENV, m_env);
    m_dbc = m_env = nullptr;
}

std::optional<std::vector<SuiteConnection::Row>> SuiteConnection::query(const std::string& sql) {
    if (!m_dbc) {
        m_error = "Not connected";
        return std::nullopt;
    }
    SQLHSTMT stmt = nullptr;
    SQLAllocHandle(SQL_HANDLE_STMT, m_dbc, &stmt);
    if (m_queryTimeout > 0)
        SQLSetStmtAttr(stmt, SQL_ATTR_QUERY_TIMEOUT, reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(m_queryTimeout)),
                       0);
    std::string text = sql;
    SQLRETURN rc = SQLExecDirect(stmt, reinterpret_cast<SQLCHAR*>(text.data()), SQL_NTS);
    if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA) {
        collectError(SQL_HANDLE_STMT, stmt);
        SQLFreeHandle(SQL_HANDLE_STMT, stmt);
        return std::nullopt;
    }
    std::vector<Row> rows;
    // The first result that has columns is the one asked for.
    for (;;) {
        SQLSMALLINT cols = 0;
        SQLNumResultCols(stmt, &cols);
        if (cols > 0) {
            while (SQLFetch(stmt) == SQL_SUCCESS) {
                Row row;
                for (SQLUSMALLINT c = 1; c <= static_cast<SQLUSMALLINT>(cols); ++c) {
                    std::string value;
                    bool isNull = false;
                    for (;;) {
                        char buf[1024];
                        SQLLEN ind = 0;
                        SQLRETURN g = SQLGetData(stmt, c, SQL_C_CHAR, buf, sizeof buf, &ind);
                        if (g == SQL_NO_DATA || !SQL_SUCCEEDED(g))
                            break;
                        if (ind == SQL_NULL_DATA) {
                            isNull = true;
                            break;
                        }
                        value += buf;
                        if (g == SQL_SUCCESS)
                            break;
                    }
                    row.push_back(isNull ? std::nullopt : std::optional<std::string>(value));
                }
                rows.push_back(std::move(row));
            }
            break;
        }
        rc = SQLMoreResults(stmt);
        if (rc == SQL_NO_DATA)
            break;
        if (!SQL_SUCCEEDED(rc)) {
            collectError(SQL_HANDLE_STMT, stmt);
            SQLFreeHandle(SQL_HANDLE_STMT, stmt);
            return std::nullopt;
        }
    }
    SQLFreeHandle(SQL_HANDLE_STMT, stmt);
    return rows;
}

bool SuiteConnection::execute(const std::string& sql) {
    return query(sql).has_value();
}

} // namespace suite
