#include "DatabaseSession.h"

#include "MessageService.h"
#include "Numbers.h"
#include "Utf8.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <odbcinst.h>
#include <thread>

namespace foundation {

using platform::MsgAnswer;
using platform::MsgBox;
using platform::MsgButtons;
using platform::MsgIcon;
using platform::Pointer;
using platform::PointerService;

namespace {

constexpr size_t kConnectionFieldLength = 150;

bool containsUpper(const std::string& text, const char* what) {
    std::string up = text;
    std::transform(up.begin(), up.end(), up.begin(), [](unsigned char c) { return std::toupper(c); });
    return up.find(what) != std::string::npos;
}

bool containsLower(const std::string& text, const char* what) {
    std::string low = text;
    std::transform(low.begin(), low.end(), low.begin(), [](unsigned char c) { return std::tolower(c); });
    return low.find(what) != std::string::npos;
}

bool isLinkFailure(const std::string& text) {
    return containsUpper(text, "COMMUNICATION LINK FAILURE") || containsLower(text, "general network error");
}

std::string trimBlanks(const std::string& s) {
    size_t b = s.find_first_not_of(' ');
    if (b == std::string::npos)
        return {};
    size_t e = s.find_last_not_of(' ');
    return s.substr(b, e - b + 1);
}

} // namespace

DatabaseSession& DatabaseSession::instance() {
    static DatabaseSession session;
    return session;
}

void DatabaseSession::terminate(int code) {
    if (terminateHook)
        terminateHook(code);
    else
        std::exit(code);
}

std::string DatabaseSession::QuoteSQL(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        out += c;
        if (c == '\'')
            out += '\'';
    }
    return out;
}

std::string DatabaseSession::ConnectionString() const {
    std::string s;
    if (UseDriverConnect)
        s = "UID=" + LoginName + ";" + "PWD=" + Password + ";" + "Database=" + DatabaseName + ";" +
            "Server=" + ServerName + ";" + "Driver={SQL Server};" + "DSN='';" + "APP=KDADMIN.EXE";
    else
        s = "DSN=" + DataSourceName + ";" + "UID=" + LoginName + ";" + "PWD=" + Password + ";" + "APP=KDADMIN.EXE";
    s.resize(kConnectionFieldLength, ' ');
    return s;
}

bool DatabaseSession::DSNExists(const std::string& name) {
    if (name.empty())
        return false;
    // The machine's data sources first (the system odbc.ini), then the user's.
    for (UWORD mode : {static_cast<UWORD>(ODBC_SYSTEM_DSN), static_cast<UWORD>(ODBC_USER_DSN)}) {
        SQLSetConfigMode(mode);
        char buf[512] = {};
        SQLGetPrivateProfileString(name.c_str(), "Database", "", buf, sizeof buf, "odbc.ini");
        SQLSetConfigMode(ODBC_BOTH_DSN);
        if (buf[0])
            return true;
    }
    return false;
}

void DatabaseSession::CheckODBCResult(SQLRETURN rc, const std::string& text) {
    if (rc == SQL_SUCCESS)
        return;
    PointerService::instance().set(Pointer::Normal);
    MsgBox(text, MsgButtons::OK, MsgIcon::Critical, "Unexpected ODBC Driver Function failure");
    terminate(1);
}

void DatabaseSession::ShowConnectError() {
    std::string t = "A connection could not be made to the SQL database.\n"
                    "\n"
                    "Possible causes include:\n"
                    "\n"
                    "-->\tThe network connection is down or the network\n"
                    "\tprotocols installed on the client are not compatible\n"
                    "\twith the SQL server.\n"
                    "-->\tYou do not have the necessary network security\n"
                    "\tprivileges to access the SQL server.\n"
                    "-->\tThe proper ODBC SQL drivers have not been installed.\n"
                    "\tCheck the ODBC32 applet in the Control Panel.\n";
    if (UseDriverConnect)
        t += "-->\tThe SQL Server " + ServerName + "\n\tor the SQL Database " + DatabaseName + "\n\tdo not exist.\n";
    else
        t += "-->\tThe ODBC datasource " + DataSourceName + " is not properly\n\tdefined.\n";
    t += "\nContact your system administrator for assistance.\n";
    MsgBox(t, MsgButtons::OK, MsgIcon::Exclamation, "Connect Error");
}

bool DatabaseSession::ConnectToSQL() {
    if (SQLConnected)
        return true;
    CheckODBCResult(SQLAllocEnv(&m_env), "Cannot allocate environment handle.");
    CheckODBCResult(SQLAllocConnect(m_env, &m_dbc), "Cannot allocate connection handle.");
    CheckODBCResult(SQLSetConnectOption(m_dbc, SQL_LOGIN_TIMEOUT, 20), "Could not set SQL Connect Options.");
    std::string field = ConnectionString();
    SQLCHAR out[100];
    SQLSMALLINT outLen = 0;
    SQLRETURN rc = SQLDriverConnect(m_dbc, nullptr, reinterpret_cast<SQLCHAR*>(field.data()),
                                    static_cast<SQLSMALLINT>(kConnectionFieldLength), out, sizeof out, &outLen,
                                    SQL_DRIVER_NOPROMPT);
    if (rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO) {
        CheckODBCResult(SQLAllocStmt(m_dbc, &m_stmt), "Cannot allocate statment handle");
        SQLConnected = true;
        return true;
    }
    if (rc == SQL_ERROR || rc == SQL_INVALID_HANDLE)
        ReportSQLError(m_dbc, SQL_NULL_HSTMT);
    PointerService::instance().set(Pointer::Normal);
    ShowConnectError();
    CheckODBCResult(SQLFreeConnect(m_dbc), "Unable to free connection handle");
    CheckODBCResult(SQLFreeEnv(m_env), "Unable to free environment handle");
    m_dbc = SQL_NULL_HDBC;
    m_env = SQL_NULL_HENV;
    m_stmt = SQL_NULL_HSTMT;
    SQLConnected = false;
    return false;
}

void DatabaseSession::DisconnectFromSQL() {
    if (!SQLConnected)
        return;
    CloseStatement();
    CheckODBCResult(SQLDisconnect(m_dbc), "Unable to disconnect");
    CheckODBCResult(SQLFreeConnect(m_dbc), "Unable to free connection handle");
    CheckODBCResult(SQLFreeEnv(m_env), "Unable to free environment handle");
    m_dbc = SQL_NULL_HDBC;
    m_env = SQL_NULL_HENV;
    m_stmt = SQL_NULL_HSTMT;
    SQLConnected = false;
}

SQLRETURN DatabaseSession::execDirect() {
    // The diagnostic belongs to the statement that raised it; a reader that checks it after a
    // later statement must not see an old failure.
    LastSQLError.clear();
    if (history.size() >= kHistoryLimit)
        history.erase(history.begin(), history.begin() + kHistoryLimit / 2);
    history.push_back(SQLStatement);
    return SQLExecDirect(m_stmt, reinterpret_cast<SQLCHAR*>(SQLStatement.data()),
                         static_cast<SQLINTEGER>(SQLStatement.size()));
}

int DatabaseSession::ExecSQL() {
    trace(0);
    SQLSetStmtOption(m_stmt, SQL_ASYNC_ENABLE, SQL_ASYNC_ENABLE_OFF);
    SQLRETURN rc = execDirect();
    if (rc == SQL_SUCCESS)
        return 1;
    PointerService::instance().set(Pointer::Normal);
    ReportSQLError(m_dbc, m_stmt);
    if (SQLConnected && isLinkFailure(LastSQLError)) {
        SQLSetStmtOption(m_stmt, SQL_ASYNC_ENABLE, SQL_ASYNC_ENABLE_OFF);
        const std::string failure = LastSQLError;
        if (execDirect() == SQL_SUCCESS) {
            LastSQLError.clear();
            return 1;
        }
        LastSQLError = failure;
    }
    return 0;
}

int DatabaseSession::ExecSQLAsync(bool showWait) {
    trace(0);
    if (showWait)
        PointerService::instance().set(Pointer::Normal);
    SQLSetStmtOption(m_stmt, SQL_ASYNC_ENABLE, SQL_ASYNC_ENABLE_ON);
    SQLRETURN rc = execDirect();
    bool cancelled = false;
    while (rc == SQL_STILL_EXECUTING) {
        if (waitWindow)
            waitWindow->processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(pollIntervalMs));
        if (showWait && waitWindow && waitWindow->isCancelled() && !cancelled) {
            cancelled = true;
            SQLCancel(m_stmt);
            waitWindow->setMessage("Cancelling the operation...Please Wait...");
            waitWindow->processEvents();
        }
        rc = SQLExecDirect(m_stmt, reinterpret_cast<SQLCHAR*>(SQLStatement.data()),
                           static_cast<SQLINTEGER>(SQLStatement.size()));
    }
    if (rc == SQL_SUCCESS)
        return 1;
    PointerService::instance().set(Pointer::Normal);
    if (!showWait || !cancelled) {
        ReportSQLError(m_dbc, m_stmt);
        return 0;
    }
    return 5;
}

int DatabaseSession::ExecSQLNoRetry(bool quiet) {
    trace(0);
    SQLSetStmtOption(m_stmt, SQL_ASYNC_ENABLE, SQL_ASYNC_ENABLE_OFF);
    SQLRETURN rc = execDirect();
    if (quiet)
        return 1;
    if (rc != SQL_SUCCESS) {
        PointerService::instance().set(Pointer::Normal);
        ReportSQLError(m_dbc, m_stmt);
        return 0;
    }
    return 1;
}

bool DatabaseSession::RunStatement(const std::string& sql) {
    SQLStatement = sql;
    if (ExecSQL() != 1)
        return false;
    return FlushResults();
}

int DatabaseSession::FetchRow() {
    SQLRETURN rc;
    do {
        rc = SQLFetch(m_stmt);
    } while (rc == SQL_STILL_EXECUTING);
    if (rc == SQL_SUCCESS)
        return 1;
    CloseStatement();
    return 0;
}

int DatabaseSession::FetchBatchRow() {
    SQLRETURN rc;
    do {
        rc = SQLFetch(m_stmt);
    } while (rc == SQL_STILL_EXECUTING);
    return rc == SQL_SUCCESS ? 1 : 0;
}

int DatabaseSession::NextResultSet() {
    const SQLRETURN rc = SQLMoreResults(m_stmt);
    if (rc == SQL_SUCCESS)
        return 1;
    if (rc == SQL_ERROR || rc == SQL_SUCCESS_WITH_INFO)
        ReportSQLError(m_dbc, m_stmt);
    CloseStatement();
    return 0;
}

std::string DatabaseSession::GetColumnText(int column, int trim) {
    // A column holds at most 255 characters for the program. The driver hands the value over in
    // 256-byte pieces; a multi-byte character may straddle two pieces, so pieces are joined until
    // the 256th character has begun (or the value ends), and the cut is made on characters.
    constexpr size_t kMaxChars = 255;
    std::string value;
    char field[256];
    SQLLEN indicator = 0;
    for (;;) {
        std::memset(field, ' ', sizeof field);
        SQLRETURN rc;
        do {
            rc = SQLGetData(m_stmt, static_cast<SQLUSMALLINT>(column), SQL_C_CHAR, field, sizeof field, &indicator);
        } while (rc == SQL_STILL_EXECUTING);
        if (rc == SQL_NO_DATA)
            break;
        if (rc != SQL_SUCCESS && rc != SQL_SUCCESS_WITH_INFO) {
            ReportSQLError(m_dbc, m_stmt);
            break;
        }
        if (indicator == SQL_NULL_DATA)
            break;
        const auto* nul = static_cast<const char*>(std::memchr(field, '\0', sizeof field));
        value.append(field, nul ? static_cast<size_t>(nul - field) : sizeof field - 1);
        if (rc == SQL_SUCCESS)
            break;
        // Success with information: a cut value (01004, not shown) comes in further pieces;
        // any other notice is the driver's to report.
        SQLCHAR state[6] = {};
        SQLINTEGER native = 0;
        SQLSMALLINT length = 0;
        SQLCHAR message[8];
        SQLGetDiagRec(SQL_HANDLE_STMT, m_stmt, 1, state, &native, message, sizeof message, &length);
        if (std::strcmp(reinterpret_cast<const char*>(state), "01004") != 0) {
            ReportSQLError(m_dbc, m_stmt);
            break;
        }
        if (platform::utf8Length(value) > kMaxChars)
            break;
    }
    value.resize(platform::utf8Offset(value, kMaxChars));
    if (trim != 1) {
        // The raw field: the value, the terminator and the blank padding of the 256 bytes.
        if (value.size() < sizeof field) {
            value.push_back('\0');
            value.resize(sizeof field, ' ');
        }
        return value;
    }
    return trimBlanks(value);
}

long DatabaseSession::GetColumnLong(int column) {
    return std::atol(GetColumnText(column, 1).c_str());
}

void DatabaseSession::CloseStatement() {
    if (m_stmt == SQL_NULL_HSTMT)
        return;
    CheckODBCResult(SQLFreeStmt(m_stmt, SQL_CLOSE), "FreeStmt Failed");
}

bool DatabaseSession::FlushResults() {
    bool ok = true;
    for (;;) {
        SQLRETURN rc = SQLMoreResults(m_stmt);
        if (rc == SQL_NO_DATA)
            break;
        if (rc == SQL_ERROR || rc == SQL_SUCCESS_WITH_INFO) {
            ReportSQLError(m_dbc, m_stmt);
            ok = false;
        }
        if (rc == SQL_INVALID_HANDLE)
            break;
    }
    CloseStatement();
    return ok;
}

void DatabaseSession::ReportSQLError(SQLHDBC dbc, SQLHSTMT stmt) {
    const Pointer remembered = PointerService::instance().current();
    std::string accumulated;
    for (;;) {
        SQLCHAR state[16] = {};
        SQLINTEGER native = 0;
        SQLCHAR message[256] = {};
        SQLSMALLINT length = 0;
        SQLRETURN rc = SQLError(m_env, dbc, stmt, state, &native, message, sizeof message, &length);
        PointerService::instance().set(Pointer::Normal);
        if (rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO) {
            std::string text(reinterpret_cast<char*>(message),
                             std::min<size_t>(static_cast<size_t>(std::max<SQLSMALLINT>(length, 0)), 255));
            if (!text.empty()) {
                if (text.find("right truncation") == std::string::npos) {
                    accumulated += text + "\n";
                    LastSQLError = text;
                    trace(1);
                    if (logHook)
                        logHook(text);
                }
            } else {
                LastSQLError = "Error -- No error information available";
                MsgBox(LastSQLError, MsgButtons::OK, MsgIcon::Exclamation, ApplicationTitle);
                trace(1);
                if (logHook)
                    logHook(LastSQLError);
            }
        }
        if (rc != SQL_SUCCESS)
            break;
    }
    if (!accumulated.empty()) {
        if (isLinkFailure(accumulated) && !m_reconnecting) {
            m_reconnecting = true;
            DisconnectFromSQL();
            bool connected = ConnectToSQL();
            m_reconnecting = false;
            if (connected)
                MsgBox("Connection to SQL Server reestablished.", MsgButtons::OK, MsgIcon::None, ApplicationTitle);
            else
                terminate(1);
        } else {
            MsgBox(accumulated, MsgButtons::OK, MsgIcon::Critical, ApplicationTitle + " - SQL Error");
        }
    }
    PointerService::instance().set(remembered);
}

void DatabaseSession::ReadDatabaseVersion() {
    DatabaseVersion = 2;
    SQLStatement = "SELECT CONVERT(DECIMAL(4,2),version) FROM Database_version";
    if (ExecSQL() != 1)
        return;
    if (FetchRow() == 1) {
        DatabaseVersion = platform::parseNumber(GetColumnText(1, 1)).value_or(0);
        CloseStatement();
    }
}

bool DatabaseSession::VersionGreaterThan(double v) const {
    return static_cast<float>(DatabaseVersion) > static_cast<float>(v);
}
bool DatabaseSession::VersionAtLeast(double v) const {
    return static_cast<float>(DatabaseVersion) >= static_cast<float>(v);
}
bool DatabaseSession::VersionAtMost(double v) const {
    return static_cast<float>(DatabaseVersion) <= static_cast<float>(v);
}
bool DatabaseSession::VersionEquals(double v) const {
    return static_cast<float>(DatabaseVersion) == static_cast<float>(v);
}
bool DatabaseSession::VersionLessThan(double v) const {
    return static_cast<float>(DatabaseVersion) < static_cast<float>(v);
}

} // namespace foundation
