// The ODBC entry points of the embedded SQL Server driver. unixODBC loads this library for the
// "SQL Server" driver entry and calls these functions with the driver's own handles.

#pragma GCC visibility push(default)
#include <odbcinst.h>
#include <sql.h>
#include <sqlext.h>
#pragma GCC visibility pop

#include "ConnectionString.h"
#include "Handles.h"
#include "NumberText.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

using namespace odbcdrv;

namespace {

int versionOf(const Dbc* dbc) {
    return dbc && dbc->env ? dbc->env->odbcVersion : 2;
}
int versionOf(const Stmt* s) {
    return s ? versionOf(s->dbc) : 2;
}

// Copies text into an ODBC output buffer; returns false when it had to be cut.
bool copyOut(const std::string& text, SQLCHAR* buf, SQLLEN bufLen, SQLSMALLINT* outLen) {
    if (outLen)
        *outLen = static_cast<SQLSMALLINT>(std::min<size_t>(text.size(), 32767));
    if (!buf || bufLen <= 0)
        return text.empty();
    size_t n = std::min(text.size(), static_cast<size_t>(bufLen - 1));
    std::memcpy(buf, text.data(), n);
    buf[n] = 0;
    return n == text.size();
}

std::string toString(SQLCHAR* text, SQLINTEGER len) {
    if (!text)
        return {};
    if (len == SQL_NTS)
        return reinterpret_cast<const char*>(text);
    return std::string(reinterpret_cast<const char*>(text), static_cast<size_t>(len));
}

SQLRETURN returnFor(const tsql::ResultItem& item) {
    if (item.failed())
        return SQL_ERROR;
    return item.messages.empty() ? SQL_SUCCESS : SQL_SUCCESS_WITH_INFO;
}

void loadItemDiags(Stmt* s) {
    s->diags.clear();
    if (s->item >= s->result.items.size())
        return;
    for (const auto& m : s->result.items[s->item].messages)
        s->diags.add(serverDiag(m));
}

void addLinkFailure(DiagList& diags) {
    diags.add(driverDiag("08S01", "08S01", 104, "TCP Provider: Error code 0x68"));
    diags.add(driverDiag("08S01", "08S01", 104, "Communication link failure"));
}

// The outcome of a finished batch on the statement: position on the first result.
SQLRETURN finishExecution(Stmt* s) {
    if (s->result.linkLost) {
        s->closeCursor();
        s->diags.clear();
        s->dbc->linkLost = true;
        addLinkFailure(s->diags);
        return SQL_ERROR;
    }
    if (s->result.cancelled) {
        s->closeCursor();
        s->diags.clear();
        s->diags.add(driverDiag("HY008", "S1008", 0, "Operation canceled"));
        return SQL_ERROR;
    }
    s->open = true;
    s->item = 0;
    s->row = -1;
    s->rowsEnded = false;
    loadItemDiags(s);
    const tsql::ResultItem& first = s->result.items.front();
    SQLRETURN rc = returnFor(first);
    if (rc == SQL_SUCCESS && versionOf(s) >= 3 && s->result.items.size() == 1 &&
        first.kind == tsql::ResultItem::Kind::Count && first.affected == 0)
        return SQL_NO_DATA;
    return rc;
}

SQLRETURN openSession(Dbc* dbc, const std::string& folder, const std::string& database, const std::string& login,
                      const std::string& password, const std::string& app, const std::string& workstation) {
    dbc->diags.clear();
    std::string path = tsql::Session::databasePath(folder, database.empty() ? "master" : database);
    if (Faults::takeRefuseConnect(path)) {
        dbc->diags.add(driverDiag("08001", "08001", 17, "SQL Server does not exist or access denied."));
        dbc->diags.add(driverDiag("01000", "01000", 53, "ConnectionOpen (Connect())."));
        return SQL_ERROR;
    }
    try {
        tsql::OpenOptions o;
        o.folder = folder;
        o.database = database;
        o.login = login;
        o.password = password;
        o.application = app;
        o.workstation = workstation;
        dbc->session = tsql::Session::open(o);
    } catch (const tsql::Error& e) {
        tsql::Message m;
        m.number = e.number();
        m.severity = std::max(e.severity(), 11);
        m.text = e.what();
        dbc->diags.add(serverDiag(m));
        return SQL_ERROR;
    }
    dbc->databasePath = path;
    dbc->server = folder;
    dbc->login = login;
    dbc->linkLost = false;
    tsql::Message changed;
    changed.number = 5701;
    changed.text = "Changed database context to '" + (database.empty() ? "master" : database) + "'.";
    dbc->diags.add(serverDiag(changed));
    return SQL_SUCCESS_WITH_INFO;
}

std::string profileValue(const std::string& dsn, const char* key) {
    char buf[1024] = {};
    SQLGetPrivateProfileString(dsn.c_str(), key, "", buf, sizeof buf, "odbc.ini");
    return buf;
}

SQLRETURN connectDsn(Dbc* dbc, const std::string& dsn, const std::string& login, const std::string& password,
                     const std::string& app, const std::string& workstation) {
    std::string folder = profileValue(dsn, "Server");
    std::string database = profileValue(dsn, "Database");
    if (folder.empty() && database.empty()) {
        dbc->diags.clear();
        dbc->diags.add(driverDiag("IM002", "IM002", 0, "Data source name not found and no default driver specified"));
        return SQL_ERROR;
    }
    dbc->dataSource = dsn;
    return openSession(dbc, folder, database, login, password, app, workstation);
}

SQLRETURN diagRecord(SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT rec, SQLCHAR* state, SQLINTEGER* native,
                     SQLCHAR* text, SQLSMALLINT bufLen, SQLSMALLINT* textLen) {
    DiagList* list = nullptr;
    int version = 2;
    switch (type) {
    case SQL_HANDLE_ENV:
        list = &static_cast<Env*>(handle)->diags;
        version = static_cast<Env*>(handle)->odbcVersion;
        break;
    case SQL_HANDLE_DBC:
        list = &static_cast<Dbc*>(handle)->diags;
        version = versionOf(static_cast<Dbc*>(handle));
        break;
    case SQL_HANDLE_STMT:
        list = &static_cast<Stmt*>(handle)->diags;
        version = versionOf(static_cast<Stmt*>(handle));
        break;
    default:
        return SQL_INVALID_HANDLE;
    }
    if (rec < 1)
        return SQL_ERROR;
    if (static_cast<size_t>(rec) > list->records.size())
        return SQL_NO_DATA;
    const Diag& d = list->records[static_cast<size_t>(rec - 1)];
    if (state)
        std::memcpy(state, stateFor(d, version).c_str(), 6);
    if (native)
        *native = d.native;
    return copyOut(d.text, text, bufLen, textLen) ? SQL_SUCCESS : SQL_SUCCESS_WITH_INFO;
}

SQLSMALLINT sqlTypeOf(const tsql::TypeSpec& t, int version) {
    const std::string& n = t.name;
    if (n == "int")
        return SQL_INTEGER;
    if (n == "smallint")
        return SQL_SMALLINT;
    if (n == "tinyint")
        return SQL_TINYINT;
    if (n == "bigint")
        return SQL_BIGINT;
    if (n == "bit")
        return SQL_BIT;
    if (n == "char")
        return SQL_CHAR;
    if (n == "text")
        return SQL_LONGVARCHAR;
    if (n == "nvarchar")
        return SQL_WVARCHAR;
    if (n == "nchar")
        return SQL_WCHAR;
    if (n == "ntext")
        return SQL_WLONGVARCHAR;
    if (n == "datetime" || n == "smalldatetime" || n == "date")
        return version >= 3 ? SQL_TYPE_TIMESTAMP : SQL_TIMESTAMP;
    if (n == "float")
        return SQL_FLOAT;
    if (n == "real")
        return SQL_REAL;
    if (n == "decimal" || n == "money")
        return SQL_DECIMAL;
    if (n == "numeric")
        return SQL_NUMERIC;
    if (n == "binary" || n == "timestamp")
        return SQL_BINARY;
    if (n == "varbinary")
        return SQL_VARBINARY;
    if (n == "image")
        return SQL_LONGVARBINARY;
    if (n == "uniqueidentifier")
        return SQL_GUID;
    return SQL_VARCHAR;
}

SQLULEN columnSizeOf(const tsql::TypeSpec& t) {
    const std::string& n = t.name;
    if (n == "int")
        return 10;
    if (n == "smallint")
        return 5;
    if (n == "tinyint")
        return 3;
    if (n == "bigint")
        return 19;
    if (n == "bit")
        return 1;
    if (n == "datetime")
        return 23;
    if (n == "float")
        return 15;
    if (n == "decimal" || n == "numeric")
        return static_cast<SQLULEN>(t.precision);
    if (t.length > 0)
        return static_cast<SQLULEN>(t.length);
    if (t.length == -1 || n == "text" || n == "image")
        return 2147483647;
    return 255;
}

const tsql::ResultItem* currentItem(Stmt* s) {
    if (!s->open || s->item >= s->result.items.size())
        return nullptr;
    return &s->result.items[s->item];
}

SQLRETURN stmtError(Stmt* s, const char* s3, const char* s2, const std::string& text) {
    s->diags.clear();
    s->diags.add(driverDiag(s3, s2, 0, text));
    return SQL_ERROR;
}

// Another statement of the connection has a batch running asynchronously: the connection is
// busy until it is done (as SQL Server's drivers answer, with a function sequence error).
bool connectionBusy(const Stmt* s) {
    const Stmt* owner = s->dbc ? s->dbc->asyncOwner.load(std::memory_order_acquire) : nullptr;
    return owner && owner != s;
}

SQLRETURN busyError(Stmt* s) {
    return stmtError(s, "HY010", "S1010", "Function sequence error");
}

} // namespace

extern "C" {

// ---- handles --------------------------------------------------------------------------------

SQLRETURN SQL_API SQLAllocHandle(SQLSMALLINT type, SQLHANDLE input, SQLHANDLE* output) {
    if (!output)
        return SQL_ERROR;
    switch (type) {
    case SQL_HANDLE_ENV:
        *output = new Env;
        return SQL_SUCCESS;
    case SQL_HANDLE_DBC: {
        auto* dbc = new Dbc;
        dbc->env = static_cast<Env*>(input);
        *output = dbc;
        return SQL_SUCCESS;
    }
    case SQL_HANDLE_STMT: {
        auto* dbc = static_cast<Dbc*>(input);
        if (!dbc->session) {
            dbc->diags.clear();
            dbc->diags.add(driverDiag("08003", "08003", 0, "Connection not open"));
            return SQL_ERROR;
        }
        auto* s = new Stmt;
        s->dbc = dbc;
        dbc->statements.insert(s);
        *output = s;
        return SQL_SUCCESS;
    }
    default:
        return SQL_ERROR;
    }
}

SQLRETURN SQL_API SQLAllocEnv(SQLHENV* env) {
    return SQLAllocHandle(SQL_HANDLE_ENV, nullptr, env);
}
SQLRETURN SQL_API SQLAllocConnect(SQLHENV env, SQLHDBC* dbc) {
    return SQLAllocHandle(SQL_HANDLE_DBC, env, dbc);
}
SQLRETURN SQL_API SQLAllocStmt(SQLHDBC dbc, SQLHSTMT* stmt) {
    return SQLAllocHandle(SQL_HANDLE_STMT, dbc, stmt);
}

SQLRETURN SQL_API SQLFreeHandle(SQLSMALLINT type, SQLHANDLE handle) {
    switch (type) {
    case SQL_HANDLE_ENV:
        delete static_cast<Env*>(handle);
        return SQL_SUCCESS;
    case SQL_HANDLE_DBC: {
        auto* dbc = static_cast<Dbc*>(handle);
        for (Stmt* s : dbc->statements)
            delete s;
        delete dbc;
        return SQL_SUCCESS;
    }
    case SQL_HANDLE_STMT: {
        auto* s = static_cast<Stmt*>(handle);
        if (connectionBusy(s))
            return busyError(s);
        if (s->dbc)
            s->dbc->statements.erase(s);
        delete s;
        return SQL_SUCCESS;
    }
    default:
        return SQL_ERROR;
    }
}

SQLRETURN SQL_API SQLFreeEnv(SQLHENV env) {
    return SQLFreeHandle(SQL_HANDLE_ENV, env);
}
SQLRETURN SQL_API SQLFreeConnect(SQLHDBC dbc) {
    return SQLFreeHandle(SQL_HANDLE_DBC, dbc);
}

SQLRETURN SQL_API SQLFreeStmt(SQLHSTMT stmt, SQLUSMALLINT option) {
    auto* s = static_cast<Stmt*>(stmt);
    switch (option) {
    case SQL_CLOSE:
        if (connectionBusy(s))
            return busyError(s);
        s->joinWorker();
        s->closeCursor();
        return SQL_SUCCESS;
    case SQL_DROP:
        return SQLFreeHandle(SQL_HANDLE_STMT, stmt);
    case SQL_UNBIND:
    case SQL_RESET_PARAMS:
        return SQL_SUCCESS;
    default:
        return stmtError(s, "HY092", "S1092", "Invalid attribute/option identifier");
    }
}

SQLRETURN SQL_API SQLCloseCursor(SQLHSTMT stmt) {
    return SQLFreeStmt(stmt, SQL_CLOSE);
}

// ---- attributes and options -----------------------------------------------------------------

SQLRETURN SQL_API SQLSetEnvAttr(SQLHENV env, SQLINTEGER attr, SQLPOINTER value, SQLINTEGER) {
    auto* e = static_cast<Env*>(env);
    if (attr == SQL_ATTR_ODBC_VERSION)
        e->odbcVersion = static_cast<int>(reinterpret_cast<intptr_t>(value));
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLGetEnvAttr(SQLHENV env, SQLINTEGER attr, SQLPOINTER value, SQLINTEGER, SQLINTEGER* len) {
    auto* e = static_cast<Env*>(env);
    if (attr == SQL_ATTR_ODBC_VERSION && value)
        *static_cast<SQLINTEGER*>(value) = e->odbcVersion;
    else if (value)
        *static_cast<SQLINTEGER*>(value) = 0;
    if (len)
        *len = sizeof(SQLINTEGER);
    return SQL_SUCCESS;
}

// Login time-out, autocommit and the rest are accepted; the embedded server has no network wait.
SQLRETURN SQL_API SQLSetConnectAttr(SQLHDBC, SQLINTEGER, SQLPOINTER, SQLINTEGER) {
    return SQL_SUCCESS;
}
SQLRETURN SQL_API SQLSetConnectOption(SQLHDBC, SQLUSMALLINT, SQLULEN) {
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLGetConnectAttr(SQLHDBC dbc, SQLINTEGER attr, SQLPOINTER value, SQLINTEGER, SQLINTEGER* len) {
    auto* d = static_cast<Dbc*>(dbc);
    SQLUINTEGER v = 0;
    if (attr == SQL_ATTR_AUTOCOMMIT)
        v = SQL_AUTOCOMMIT_ON;
    else if (attr == SQL_ATTR_CONNECTION_DEAD)
        v = d->linkLost || !d->session ? SQL_CD_TRUE : SQL_CD_FALSE;
    else if (attr == SQL_ATTR_LOGIN_TIMEOUT)
        v = 20;
    if (value)
        *static_cast<SQLUINTEGER*>(value) = v;
    if (len)
        *len = sizeof v;
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLGetConnectOption(SQLHDBC dbc, SQLUSMALLINT option, SQLPOINTER value) {
    return SQLGetConnectAttr(dbc, option, value, 0, nullptr);
}

SQLRETURN SQL_API SQLSetStmtAttr(SQLHSTMT stmt, SQLINTEGER attr, SQLPOINTER value, SQLINTEGER) {
    auto* s = static_cast<Stmt*>(stmt);
    if (attr == SQL_ATTR_ASYNC_ENABLE)
        s->async = reinterpret_cast<SQLULEN>(value) == SQL_ASYNC_ENABLE_ON;
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLSetStmtOption(SQLHSTMT stmt, SQLUSMALLINT option, SQLULEN value) {
    return SQLSetStmtAttr(stmt, option, reinterpret_cast<SQLPOINTER>(value), 0);
}

SQLRETURN SQL_API SQLGetStmtAttr(SQLHSTMT stmt, SQLINTEGER attr, SQLPOINTER value, SQLINTEGER, SQLINTEGER* len) {
    auto* s = static_cast<Stmt*>(stmt);
    SQLULEN v = 0;
    if (attr == SQL_ATTR_ASYNC_ENABLE)
        v = s->async ? SQL_ASYNC_ENABLE_ON : SQL_ASYNC_ENABLE_OFF;
    else if (attr == SQL_ATTR_ROW_ARRAY_SIZE)
        v = 1;
    if (value)
        *static_cast<SQLULEN*>(value) = v;
    if (len)
        *len = sizeof v;
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLGetStmtOption(SQLHSTMT stmt, SQLUSMALLINT option, SQLPOINTER value) {
    return SQLGetStmtAttr(stmt, option, value, 0, nullptr);
}

// ---- connecting -----------------------------------------------------------------------------

SQLRETURN SQL_API SQLDriverConnect(SQLHDBC dbc, SQLHWND, SQLCHAR* in, SQLSMALLINT inLen, SQLCHAR* out,
                                   SQLSMALLINT outMax, SQLSMALLINT* outLen, SQLUSMALLINT) {
    auto* d = static_cast<Dbc*>(dbc);
    std::string text = toString(in, inLen);
    ConnectionString cs(text);
    std::string login = cs.get("UID"), password = cs.get("PWD"), app = cs.get("APP"), wsid = cs.get("WSID");
    SQLRETURN rc;
    if (!isBlankValue(cs.get("DSN")))
        rc = connectDsn(d, cs.get("DSN"), login, password, app, wsid);
    else
        rc = openSession(d, cs.get("SERVER"), cs.get("DATABASE"), login, password, app, wsid);
    if (rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO) {
        std::string trimmed = text.substr(0, text.find_last_not_of(' ') + 1);
        if (!copyOut(trimmed, out, outMax, outLen))
            rc = SQL_SUCCESS_WITH_INFO;
    }
    return rc;
}

SQLRETURN SQL_API SQLConnect(SQLHDBC dbc, SQLCHAR* dsn, SQLSMALLINT dsnLen, SQLCHAR* uid, SQLSMALLINT uidLen,
                             SQLCHAR* pwd, SQLSMALLINT pwdLen) {
    return connectDsn(static_cast<Dbc*>(dbc), toString(dsn, dsnLen), toString(uid, uidLen), toString(pwd, pwdLen), "",
                      "");
}

SQLRETURN SQL_API SQLDisconnect(SQLHDBC dbc) {
    auto* d = static_cast<Dbc*>(dbc);
    for (Stmt* s : d->statements) {
        s->joinWorker();
        s->closeCursor();
    }
    d->session.reset();
    d->linkLost = false;
    return SQL_SUCCESS;
}

// ---- executing ------------------------------------------------------------------------------

SQLRETURN SQL_API SQLExecDirect(SQLHSTMT stmt, SQLCHAR* text, SQLINTEGER len) {
    auto* s = static_cast<Stmt*>(stmt);
    Dbc* d = s->dbc;
    // An asynchronous statement already under way: this call polls it.
    if (s->worker.joinable()) {
        if (s->running)
            return SQL_STILL_EXECUTING;
        s->worker.join();
        d->asyncOwner = nullptr;
        return finishExecution(s);
    }
    if (connectionBusy(s))
        return busyError(s);
    s->closeCursor();
    s->diags.clear();
    if (!d->session) {
        s->diags.add(driverDiag("08003", "08003", 0, "Connection not open"));
        return SQL_ERROR;
    }
    if (d->linkLost || Faults::takeDropLink(d->databasePath)) {
        d->linkLost = true;
        addLinkFailure(s->diags);
        return SQL_ERROR;
    }
    if (auto after = Faults::takeDropLinkAfter(d->databasePath))
        d->session->dropLinkAfter(*after);
    std::string sql = toString(text, len);
    if (Faults::takeFailText(d->databasePath, sql)) {
        s->diags.add(driverDiag("42000", "37000", 50000, "The statement failed on an arranged fault."));
        return SQL_ERROR;
    }
    if (!s->async) {
        s->result = d->session->execute(sql);
        return finishExecution(s);
    }
    s->running = true;
    d->asyncOwner = s;
    s->pendingSql = std::move(sql);
    s->worker = std::thread([s] {
        s->result = s->dbc->session->execute(s->pendingSql);
        s->running = false;
    });
    return SQL_STILL_EXECUTING;
}

// Statements are not prepared ahead; SQLPrepare keeps the text and SQLExecute runs it.
SQLRETURN SQL_API SQLPrepare(SQLHSTMT stmt, SQLCHAR* text, SQLINTEGER len) {
    auto* s = static_cast<Stmt*>(stmt);
    s->closeCursor();
    s->pendingSql = toString(text, len);
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLExecute(SQLHSTMT stmt) {
    auto* s = static_cast<Stmt*>(stmt);
    std::string sql = s->pendingSql;
    return SQLExecDirect(stmt, reinterpret_cast<SQLCHAR*>(sql.data()), static_cast<SQLINTEGER>(sql.size()));
}

SQLRETURN SQL_API SQLCancel(SQLHSTMT stmt) {
    auto* s = static_cast<Stmt*>(stmt);
    if (s->worker.joinable() && s->running) {
        s->dbc->session->interrupt();
        return SQL_SUCCESS;
    }
    s->closeCursor();
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLNumResultCols(SQLHSTMT stmt, SQLSMALLINT* count) {
    auto* s = static_cast<Stmt*>(stmt);
    const tsql::ResultItem* item = currentItem(s);
    if (count)
        *count = item && item->kind == tsql::ResultItem::Kind::Rows
                     ? static_cast<SQLSMALLINT>(item->rows.columns.size())
                     : 0;
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLRowCount(SQLHSTMT stmt, SQLLEN* count) {
    auto* s = static_cast<Stmt*>(stmt);
    const tsql::ResultItem* item = currentItem(s);
    if (count)
        *count = item && item->kind == tsql::ResultItem::Kind::Count ? item->affected : -1;
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLDescribeCol(SQLHSTMT stmt, SQLUSMALLINT col, SQLCHAR* name, SQLSMALLINT nameMax,
                                 SQLSMALLINT* nameLen, SQLSMALLINT* type, SQLULEN* size, SQLSMALLINT* digits,
                                 SQLSMALLINT* nullable) {
    auto* s = static_cast<Stmt*>(stmt);
    const tsql::ResultItem* item = currentItem(s);
    if (!item || item->kind != tsql::ResultItem::Kind::Rows)
        return stmtError(s, "24000", "24000", "Invalid cursor state");
    if (col < 1 || col > item->rows.columns.size())
        return stmtError(s, "07009", "S1002", "Invalid Descriptor Index");
    const tsql::ResultColumn& c = item->rows.columns[col - 1];
    copyOut(c.name, name, nameMax, nameLen);
    if (type)
        *type = sqlTypeOf(c.type, versionOf(s));
    if (size)
        *size = columnSizeOf(c.type);
    if (digits)
        *digits = static_cast<SQLSMALLINT>(c.type.isExact() ? c.type.scale : (c.type.isDateTime() ? 3 : 0));
    if (nullable)
        *nullable = SQL_NULLABLE_UNKNOWN;
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLColAttribute(SQLHSTMT stmt, SQLUSMALLINT col, SQLUSMALLINT field, SQLPOINTER charAttr,
                                  SQLSMALLINT bufLen, SQLSMALLINT* strLen, SQLLEN* numAttr) {
    auto* s = static_cast<Stmt*>(stmt);
    const tsql::ResultItem* item = currentItem(s);
    if (field == SQL_DESC_COUNT || field == SQL_COLUMN_COUNT) {
        SQLSMALLINT n = 0;
        SQLNumResultCols(stmt, &n);
        if (numAttr)
            *numAttr = n;
        return SQL_SUCCESS;
    }
    if (!item || item->kind != tsql::ResultItem::Kind::Rows)
        return stmtError(s, "24000", "24000", "Invalid cursor state");
    if (col < 1 || col > item->rows.columns.size())
        return stmtError(s, "07009", "S1002", "Invalid Descriptor Index");
    const tsql::ResultColumn& c = item->rows.columns[col - 1];
    switch (field) {
    case SQL_DESC_NAME:
    case SQL_DESC_LABEL:
    case SQL_COLUMN_NAME:
        copyOut(c.name, static_cast<SQLCHAR*>(charAttr), bufLen, strLen);
        return SQL_SUCCESS;
    case SQL_DESC_TYPE_NAME:
        copyOut(c.type.name, static_cast<SQLCHAR*>(charAttr), bufLen, strLen);
        return SQL_SUCCESS;
    case SQL_DESC_TYPE:
    case SQL_DESC_CONCISE_TYPE:
        if (numAttr)
            *numAttr = sqlTypeOf(c.type, versionOf(s));
        return SQL_SUCCESS;
    case SQL_DESC_LENGTH:
    case SQL_COLUMN_LENGTH:
    case SQL_DESC_DISPLAY_SIZE:
    case SQL_COLUMN_PRECISION:
        if (numAttr)
            *numAttr = static_cast<SQLLEN>(columnSizeOf(c.type));
        return SQL_SUCCESS;
    default:
        if (numAttr)
            *numAttr = 0;
        return SQL_SUCCESS;
    }
}

SQLRETURN SQL_API SQLFetch(SQLHSTMT stmt) {
    auto* s = static_cast<Stmt*>(stmt);
    if (connectionBusy(s))
        return busyError(s);
    const tsql::ResultItem* item = currentItem(s);
    if (!item || item->kind != tsql::ResultItem::Kind::Rows)
        return stmtError(s, "24000", "24000", "Invalid cursor state");
    s->diags.clear();
    s->lastColumn = 0;
    if (const auto& cursor = item->rows.cursor) {
        if (s->rowsEnded)
            return SQL_NO_DATA;
        try {
            if (!cursor->next()) {
                s->rowsEnded = true;
                return SQL_NO_DATA;
            }
        } catch (const tsql::Error& e) {
            s->rowsEnded = true;
            tsql::Message m;
            m.number = e.number();
            m.severity = e.severity();
            m.text = e.what();
            s->diags.add(serverDiag(m));
            return SQL_ERROR;
        } catch (const tsql::Cancelled&) {
            s->rowsEnded = true;
            s->diags.add(driverDiag("HY008", "S1008", 0, "Operation canceled"));
            return SQL_ERROR;
        }
        ++s->row;
        return SQL_SUCCESS;
    }
    if (s->row + 1 >= static_cast<long long>(item->rows.rowCount())) {
        s->row = static_cast<long long>(item->rows.rowCount());
        s->rowsEnded = true;
        return SQL_NO_DATA;
    }
    ++s->row;
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLGetData(SQLHSTMT stmt, SQLUSMALLINT col, SQLSMALLINT targetType, SQLPOINTER target, SQLLEN bufLen,
                             SQLLEN* indicator) {
    auto* s = static_cast<Stmt*>(stmt);
    if (connectionBusy(s))
        return busyError(s);
    const tsql::ResultItem* item = currentItem(s);
    if (!item || item->kind != tsql::ResultItem::Kind::Rows || s->row < 0 || s->rowsEnded)
        return stmtError(s, "24000", "24000", "Invalid cursor state");
    if (col < 1 || col > item->rows.columns.size())
        return stmtError(s, "07009", "S1002", "Invalid Descriptor Index");
    if (!s->diags.records.empty())
        s->diags.clear();
    const size_t r = static_cast<size_t>(s->row), c = col - 1u;
    if (s->lastColumn != col) {
        s->lastColumn = col;
        s->columnOffset = 0;
        s->columnDone = false;
    } else if (s->columnDone) {
        return SQL_NO_DATA;
    }
    const auto& cursor = item->rows.cursor;
    bool null;
    std::string_view text;
    if (cursor) {
        const tsql::Cursor::Cell& cell = cursor->cell(c);
        null = cell.null;
        text = cell.text;
    } else {
        null = item->rows.isNull(r, c);
        text = null ? std::string_view() : item->rows.text(r, c);
    }
    if (null) {
        if (indicator)
            *indicator = SQL_NULL_DATA;
        s->columnDone = true;
        return SQL_SUCCESS;
    }
    switch (targetType) {
    case SQL_C_CHAR:
    case SQL_C_DEFAULT:
    case SQL_C_BINARY: {
        std::string_view rest = text.substr(std::min(s->columnOffset, text.size()));
        if (indicator)
            *indicator = static_cast<SQLLEN>(rest.size());
        bool binary = targetType == SQL_C_BINARY;
        size_t room = bufLen <= 0 ? 0 : static_cast<size_t>(bufLen) - (binary ? 0 : 1);
        size_t n = std::min(rest.size(), room);
        if (target && bufLen > 0) {
            std::memcpy(target, rest.data(), n);
            if (!binary)
                static_cast<char*>(target)[n] = 0;
        }
        s->columnOffset += n;
        if (n < rest.size()) {
            s->diags.add(driverDiag("01004", "01004", 0, "String data, right truncation"));
            return SQL_SUCCESS_WITH_INFO;
        }
        s->columnDone = true;
        return SQL_SUCCESS;
    }
    case SQL_C_LONG:
    case SQL_C_SLONG:
    case SQL_C_ULONG:
    case SQL_C_SHORT:
    case SQL_C_SSHORT:
    case SQL_C_DOUBLE:
    case SQL_C_SBIGINT: {
        std::string str(text);
        size_t used = 0;
        double v = tsql::parseReal(str, &used).value_or(0.0);
        if (used == 0)
            return stmtError(s, "22018", "22005", "Invalid character value for cast specification");
        if (target) {
            if (targetType == SQL_C_DOUBLE)
                *static_cast<double*>(target) = v;
            else if (targetType == SQL_C_SHORT || targetType == SQL_C_SSHORT)
                *static_cast<SQLSMALLINT*>(target) = static_cast<SQLSMALLINT>(v);
            else if (targetType == SQL_C_SBIGINT)
                *static_cast<SQLBIGINT*>(target) = std::strtoll(str.c_str(), nullptr, 10);
            else
                *static_cast<SQLINTEGER*>(target) = static_cast<SQLINTEGER>(v);
        }
        if (indicator)
            *indicator = targetType == SQL_C_DOUBLE ? 8 : 4;
        s->columnDone = true;
        return SQL_SUCCESS;
    }
    default:
        return stmtError(s, "HY003", "S1003", "Program type out of range");
    }
}

SQLRETURN SQL_API SQLMoreResults(SQLHSTMT stmt) {
    auto* s = static_cast<Stmt*>(stmt);
    if (connectionBusy(s))
        return busyError(s);
    if (!s->open || s->item + 1 >= s->result.items.size()) {
        s->closeCursor();
        s->diags.clear();
        return SQL_NO_DATA;
    }
    ++s->item;
    s->row = -1;
    s->rowsEnded = false;
    s->lastColumn = 0;
    loadItemDiags(s);
    return returnFor(s->result.items[s->item]);
}

SQLRETURN SQL_API SQLEndTran(SQLSMALLINT, SQLHANDLE, SQLSMALLINT) {
    return SQL_SUCCESS;
}
SQLRETURN SQL_API SQLTransact(SQLHENV, SQLHDBC, SQLUSMALLINT) {
    return SQL_SUCCESS;
}

// ---- diagnostics ----------------------------------------------------------------------------

SQLRETURN SQL_API SQLGetDiagRec(SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT rec, SQLCHAR* state, SQLINTEGER* native,
                                SQLCHAR* text, SQLSMALLINT bufLen, SQLSMALLINT* textLen) {
    return diagRecord(type, handle, rec, state, native, text, bufLen, textLen);
}

SQLRETURN SQL_API SQLGetDiagField(SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT rec, SQLSMALLINT field,
                                  SQLPOINTER info, SQLSMALLINT bufLen, SQLSMALLINT* strLen) {
    DiagList* list = nullptr;
    int version = 2;
    switch (type) {
    case SQL_HANDLE_ENV:
        list = &static_cast<Env*>(handle)->diags;
        version = static_cast<Env*>(handle)->odbcVersion;
        break;
    case SQL_HANDLE_DBC:
        list = &static_cast<Dbc*>(handle)->diags;
        version = versionOf(static_cast<Dbc*>(handle));
        break;
    case SQL_HANDLE_STMT:
        list = &static_cast<Stmt*>(handle)->diags;
        version = versionOf(static_cast<Stmt*>(handle));
        break;
    default:
        return SQL_INVALID_HANDLE;
    }
    if (field == SQL_DIAG_NUMBER) {
        if (info)
            *static_cast<SQLINTEGER*>(info) = static_cast<SQLINTEGER>(list->records.size());
        return SQL_SUCCESS;
    }
    if (field == SQL_DIAG_ROW_COUNT) {
        SQLLEN n = -1;
        if (type == SQL_HANDLE_STMT)
            SQLRowCount(handle, &n);
        if (info)
            *static_cast<SQLLEN*>(info) = n;
        return SQL_SUCCESS;
    }
    if (field == SQL_DIAG_RETURNCODE || field == SQL_DIAG_CURSOR_ROW_COUNT || field == SQL_DIAG_DYNAMIC_FUNCTION_CODE) {
        if (info)
            *static_cast<SQLINTEGER*>(info) = 0;
        return SQL_SUCCESS;
    }
    if (rec < 1 || static_cast<size_t>(rec) > list->records.size())
        return SQL_NO_DATA;
    const Diag& d = list->records[static_cast<size_t>(rec - 1)];
    auto text = [&](const std::string& t) {
        return copyOut(t, static_cast<SQLCHAR*>(info), bufLen, strLen) ? SQL_SUCCESS : SQL_SUCCESS_WITH_INFO;
    };
    switch (field) {
    case SQL_DIAG_SQLSTATE:
        return text(stateFor(d, version));
    case SQL_DIAG_NATIVE:
        if (info)
            *static_cast<SQLINTEGER*>(info) = d.native;
        return SQL_SUCCESS;
    case SQL_DIAG_MESSAGE_TEXT:
        return text(d.text);
    case SQL_DIAG_CLASS_ORIGIN:
    case SQL_DIAG_SUBCLASS_ORIGIN:
        return text(stateFor(d, version).rfind("IM", 0) == 0 ? "ODBC 3.0" : "ISO 9075");
    case SQL_DIAG_CONNECTION_NAME:
    case SQL_DIAG_SERVER_NAME:
        return text("");
    case SQL_DIAG_COLUMN_NUMBER:
    case SQL_DIAG_ROW_NUMBER:
        if (info)
            *static_cast<SQLLEN*>(info) = -1;
        return SQL_SUCCESS;
    default:
        return SQL_ERROR;
    }
}

// ODBC 2 error retrieval: each call hands out the next record of the most specific handle given.
SQLRETURN SQL_API SQLError(SQLHENV env, SQLHDBC dbc, SQLHSTMT stmt, SQLCHAR* state, SQLINTEGER* native, SQLCHAR* text,
                           SQLSMALLINT bufLen, SQLSMALLINT* textLen) {
    DiagList* list = nullptr;
    int version = 2;
    if (stmt) {
        list = &static_cast<Stmt*>(stmt)->diags;
        version = versionOf(static_cast<Stmt*>(stmt));
    } else if (dbc) {
        list = &static_cast<Dbc*>(dbc)->diags;
        version = versionOf(static_cast<Dbc*>(dbc));
    } else if (env) {
        list = &static_cast<Env*>(env)->diags;
        version = static_cast<Env*>(env)->odbcVersion;
    } else {
        return SQL_INVALID_HANDLE;
    }
    if (list->consumed >= list->records.size())
        return SQL_NO_DATA;
    const Diag& d = list->records[list->consumed++];
    if (state)
        std::memcpy(state, stateFor(d, version).c_str(), 6);
    if (native)
        *native = d.native;
    return copyOut(d.text, text, bufLen, textLen) ? SQL_SUCCESS : SQL_SUCCESS_WITH_INFO;
}

SQLRETURN SQL_API SQLGetInfo(SQLHDBC dbc, SQLUSMALLINT type, SQLPOINTER value, SQLSMALLINT bufLen, SQLSMALLINT* len) {
    auto* d = static_cast<Dbc*>(dbc);
    auto text = [&](const std::string& t) {
        return copyOut(t, static_cast<SQLCHAR*>(value), bufLen, len) ? SQL_SUCCESS : SQL_SUCCESS_WITH_INFO;
    };
    auto u32 = [&](SQLUINTEGER v) {
        if (value)
            *static_cast<SQLUINTEGER*>(value) = v;
        if (len)
            *len = sizeof v;
        return SQL_SUCCESS;
    };
    auto u16 = [&](SQLUSMALLINT v) {
        if (value)
            *static_cast<SQLUSMALLINT*>(value) = v;
        if (len)
            *len = sizeof v;
        return SQL_SUCCESS;
    };
    switch (type) {
    case SQL_DRIVER_NAME:
        return text("libkdtsqlodbc.so");
    case SQL_DRIVER_VER:
        return text("01.00.0000");
    case SQL_DRIVER_ODBC_VER:
        return text(versionOf(d) >= 3 ? "03.00" : "02.50");
    case SQL_DBMS_NAME:
        return text("Microsoft SQL Server");
    case SQL_DBMS_VER:
        return text("09.00.5000");
    case SQL_SERVER_NAME:
        return text(d->server);
    case SQL_DATABASE_NAME:
        return text(d->session ? d->session->databaseName() : "");
    case SQL_DATA_SOURCE_NAME:
        return text(d->dataSource);
    case SQL_USER_NAME:
        return text(d->login.empty() ? "dbo" : d->login);
    case SQL_IDENTIFIER_QUOTE_CHAR:
        return text("\"");
    case SQL_SEARCH_PATTERN_ESCAPE:
        return text("\\");
    case SQL_DATA_SOURCE_READ_ONLY:
        return text("N");
    case SQL_GETDATA_EXTENSIONS:
        return u32(SQL_GD_ANY_COLUMN | SQL_GD_ANY_ORDER);
    case SQL_ASYNC_MODE:
        return u32(SQL_AM_STATEMENT);
    case SQL_TXN_CAPABLE:
        return u16(SQL_TC_ALL);
    case SQL_MAX_CONCURRENT_ACTIVITIES:
        return u16(1);
    case SQL_CURSOR_COMMIT_BEHAVIOR:
    case SQL_CURSOR_ROLLBACK_BEHAVIOR:
        return u16(SQL_CB_PRESERVE);
    case SQL_MAX_DRIVER_CONNECTIONS:
        return u16(0);
    default: {
        auto* s = d;
        s->diags.clear();
        s->diags.add(driverDiag("HY096", "S1096", 0, "Information type out of range"));
        return SQL_ERROR;
    }
    }
}

} // extern "C"
