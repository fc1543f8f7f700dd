#include "Session.h"

#include "Convert.h"
#include "DateTime.h"
#include "Executor.h"
#include "Functions.h"
#include "Lexer.h"

#include <filesystem>
#include <openssl/evp.h>
#include <sqlite3.h>
#include <unistd.h>

namespace tsql {

namespace {

std::string hostName() {
    char buf[256] = {};
    if (gethostname(buf, sizeof buf - 1) != 0)
        return "LOCALHOST";
    return toUpper(buf);
}

} // namespace

std::string loginDigest(const std::string& login, const std::string& password) {
    std::string material = toUpper(login) + ":" + password;
    unsigned char md[EVP_MAX_MD_SIZE];
    unsigned int len = 0;
    EVP_Digest(material.data(), material.size(), md, &len, EVP_sha256(), nullptr);
    return hexUpper(std::string(reinterpret_cast<char*>(md), len));
}

std::string Session::databasePath(const std::string& folder, const std::string& database) {
    return (std::filesystem::path(folder.empty() ? "." : folder) / (database + ".mdf")).string();
}

Session::Session(OpenOptions options) : m_options(std::move(options)), m_catalog(nullptr) {}

Session::~Session() {
    if (m_db) {
        if (m_tranCount > 0)
            sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        m_catalog.releaseStatements();
        m_statements->close();
        sqlite3_close_v2(m_db);
    }
}

std::unique_ptr<Session> Session::open(const OpenOptions& options) {
    std::unique_ptr<Session> s(new Session(options));
    if (s->m_options.database.empty())
        s->m_options.database = "master";
    s->m_path = databasePath(options.folder, s->m_options.database);
    bool exists = std::filesystem::exists(s->m_path);
    if (!exists && !options.create)
        throw Error(4060,
                    "Cannot open database \"" + s->m_options.database + "\" requested by the login. The login failed.",
                    ErrorScope::Batch, 11);
    // One thread uses a connection at a time (the driver refuses calls on a connection whose batch
    // runs asynchronously; sqlite3_interrupt may come from another thread), so SQLite's own
    // per-call mutex is not needed: every column read would otherwise lock it.
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (options.create ? SQLITE_OPEN_CREATE : 0);
    if (sqlite3_open_v2(s->m_path.c_str(), &s->m_db, flags, nullptr) != SQLITE_OK)
        throw Error(4060,
                    "Cannot open database \"" + s->m_options.database + "\" requested by the login. The login failed.",
                    ErrorScope::Batch, 11);
    // A double-quoted name is an identifier in T-SQL: with SQLite's fallback a misspelt column would
    // pass as a string literal instead of failing with 207.
    sqlite3_db_config(s->m_db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_db_config(s->m_db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
    s->m_catalog.setConnection(s->m_db);
    sqlite3_busy_timeout(s->m_db, 10000);
    sqlite3_extended_result_codes(s->m_db, 0);
    execPlain(s->m_db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; PRAGMA foreign_keys=OFF;");
    installFunctions(s->m_db, s.get());
    s->m_catalog.prepare("main");
    s->attachRecorded();

    // SQL logins: a database with none accepts every login (a fresh site); otherwise the
    // password must match. A connection without UID is a trusted one.
    if (!options.login.empty()) {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(s->m_db,
                           "SELECT (SELECT COUNT(*) FROM main.__tsql_logins), digest FROM main.__tsql_logins "
                           "WHERE name = ?1 UNION ALL SELECT (SELECT COUNT(*) FROM main.__tsql_logins), NULL "
                           "LIMIT 1",
                           -1, &st, nullptr);
        sqlite3_bind_text(st, 1, options.login.c_str(), -1, SQLITE_TRANSIENT);
        bool ok = false;
        if (sqlite3_step(st) == SQLITE_ROW) {
            long long count = sqlite3_column_int64(st, 0);
            const unsigned char* digest = sqlite3_column_text(st, 1);
            ok = count == 0 ||
                 (digest && loginDigest(options.login, options.password) == reinterpret_cast<const char*>(digest));
        }
        sqlite3_finalize(st);
        if (!ok)
            throw Error(18456, "Login failed for user '" + options.login + "'.", ErrorScope::Batch, 14);
    }
    return s;
}

void Session::attachRecorded() {
    std::vector<std::pair<std::string, std::string>> toAttach;
    {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(m_db, "SELECT name, path FROM main.__tsql_attached", -1, &st, nullptr);
        while (sqlite3_step(st) == SQLITE_ROW)
            toAttach.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)),
                                  reinterpret_cast<const char*>(sqlite3_column_text(st, 1)));
        sqlite3_finalize(st);
    }
    // msdb sits beside the site database, as on a server.
    std::string msdb = databasePath(m_options.folder, "msdb");
    if (!iequals(m_options.database, "msdb") && std::filesystem::exists(msdb))
        toAttach.emplace_back("msdb", msdb);
    for (const auto& [name, path] : toAttach) {
        if (!std::filesystem::exists(path))
            continue;
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(m_db, "ATTACH DATABASE ?1 AS ?2", -1, &st, nullptr);
        sqlite3_bind_text(st, 1, path.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 2, name.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_step(st);
        sqlite3_finalize(st);
    }
    m_catalog.invalidate();
}

BatchResult Session::execute(std::string_view sql) {
    m_interrupted = false;
    BatchResult out;
    Executor ex(*this, out);
    ex.runBatch(sql);
    m_dropLinkAfter = -1;
    return out;
}

void Session::interrupt() {
    m_interrupted = true;
    sqlite3_interrupt(m_db);
}

std::optional<int> Session::variableSlot(const std::string& name) const {
    for (size_t i = m_frameBase; i < m_variables.size(); ++i)
        if (iequals(m_variables[i].name, name))
            return static_cast<int>(i);
    return std::nullopt;
}

Value Session::variableValue(int slot) const {
    if (slot < 0 || static_cast<size_t>(slot) >= m_variables.size())
        return Value::null();
    return m_variables[static_cast<size_t>(slot)].value;
}

void Session::assignVariable(int slot, const Value& v) {
    if (slot < 0 || static_cast<size_t>(slot) >= m_variables.size())
        return;
    Variable& var = m_variables[static_cast<size_t>(slot)];
    var.value = convertValue(v, var.type, ConvertMode::Assign);
}

std::string Session::resolveDatabase(const std::string& name) const {
    if (iequals(name, m_options.database))
        return "main";
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(m_db, "PRAGMA database_list", -1, &st, nullptr);
    std::string found;
    while (sqlite3_step(st) == SQLITE_ROW) {
        std::string alias = reinterpret_cast<const char*>(sqlite3_column_text(st, 1));
        if (alias != "main" && alias != "temp" && iequals(alias, name))
            found = alias;
    }
    sqlite3_finalize(st);
    return found;
}

bool Session::identityInsert(const std::string& table) const {
    auto it = m_identityInsert.find(toUpper(table));
    return it != m_identityInsert.end() && it->second;
}

std::string Session::objectIdOf(const std::string& rawName) {
    std::string name = rawName;
    // Drop [db].[schema]. qualifiers and brackets.
    size_t dot = name.rfind('.');
    if (dot != std::string::npos)
        name = name.substr(dot + 1);
    if (name.size() > 1 && name.front() == '[' && name.back() == ']')
        name = name.substr(1, name.size() - 2);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(m_db,
                       "SELECT rowid FROM main.sqlite_master WHERE type IN ('table','view') AND name = ?1 COLLATE "
                       "NOCASE UNION ALL SELECT 1000000 + rowid FROM main.__tsql_procedures WHERE name = ?1 LIMIT 1",
                       -1, &st, nullptr);
    sqlite3_bind_text(st, 1, name.c_str(), -1, SQLITE_TRANSIENT);
    std::string id;
    if (sqlite3_step(st) == SQLITE_ROW)
        id = std::to_string(sqlite3_column_int64(st, 0));
    sqlite3_finalize(st);
    return id;
}

const std::string& Session::statementNow() {
    if (m_statementNow.empty())
        m_statementNow = engineNowText();
    return m_statementNow;
}

Value Session::serverProperty(const std::string& name) const {
    std::string n = toUpper(name);
    if (n == "SERVERNAME" || n == "MACHINENAME")
        return Value::text(hostName());
    if (n == "PRODUCTVERSION")
        return Value::text("9.00.5000.00");
    if (n == "PRODUCTLEVEL")
        return Value::text("SP4");
    if (n == "EDITION")
        return Value::text("Embedded Edition");
    if (n == "ENGINEEDITION")
        return Value::integer(3);
    if (n == "COLLATION")
        return Value::text("SQL_Latin1_General_CP1_CI_AS");
    if (n == "ISCLUSTERED" || n == "ISFULLTEXTINSTALLED" || n == "ISINTEGRATEDSECURITYONLY")
        return Value::integer(0);
    return Value::null();
}

Value Session::systemValue(const std::string& name) const {
    std::string n = toUpper(name);
    if (n == "@@ROWCOUNT")
        return Value::integer(m_lastRowcount);
    if (n == "@@IDENTITY")
        return m_lastIdentity ? *m_lastIdentity : Value::null();
    if (n == "@@ERROR")
        return Value::integer(m_lastError);
    if (n == "@@TRANCOUNT")
        return Value::integer(m_tranCount);
    if (n == "@@VERSION")
        return Value::text("Microsoft SQL Server compatible embedded engine 9.00.5000.00 (SQLite " +
                           std::string(sqlite3_libversion()) + ")");
    if (n == "@@SERVERNAME")
        return Value::text(hostName());
    if (n == "@@SPID")
        return Value::integer(51 + static_cast<int64_t>(reinterpret_cast<uintptr_t>(this) % 1000));
    if (n == "@@DATEFIRST")
        return Value::integer(7);
    if (n == "@@LANGUAGE")
        return Value::text("us_english");
    if (n == "@@FETCH_STATUS")
        return Value::integer(-1);
    if (n == "DB_NAME")
        return Value::text(m_options.database);
    if (n == "HOST_NAME")
        return Value::text(m_options.workstation.empty() ? hostName() : m_options.workstation);
    if (n == "APP_NAME")
        return Value::text(m_options.application);
    if (n == "USER_NAME" || n == "CURRENT_USER" || n == "SESSION_USER" || n == "USER")
        return Value::text("dbo");
    if (n == "SUSER_SNAME" || n == "SUSER_NAME" || n == "SYSTEM_USER")
        return Value::text(m_options.login.empty() ? "sa" : m_options.login);
    throw Error(137, "Must declare the scalar variable \"" + name + "\".");
}

namespace {

std::string after(const std::string& msg, const std::string& prefix) {
    return msg.compare(0, prefix.size(), prefix) == 0 ? msg.substr(prefix.size()) : std::string();
}

std::string lastPart(const std::string& dotted) {
    size_t dot = dotted.rfind('.');
    return dot == std::string::npos ? dotted : dotted.substr(dot + 1);
}

} // namespace

// Turns SQLite's refusal into the error SQL Server gives for the same fault.
void Session::throwEngineError(int rc) {
    if (m_functionError) {
        Error e = *m_functionError;
        m_functionError.reset();
        throw e;
    }
    if (rc == SQLITE_INTERRUPT || m_interrupted)
        throw Cancelled{};
    std::string msg = sqlite3_errmsg(m_db);
    if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
        throw Error(1222, "Lock request time out period exceeded.");
    if (auto cols = after(msg, "UNIQUE constraint failed: "); !cols.empty()) {
        std::string table = cols.substr(0, cols.find('.'));
        const TableInfo* t = catalog().table("main", table);
        bool primary = false;
        if (t && !t->primaryKey.empty()) {
            std::string pk;
            for (const auto& k : t->primaryKey)
                pk += (pk.empty() ? "" : ", ") + table + "." + k;
            primary = iequals(pk, cols);
        }
        if (primary || !t)
            throw Error(2627,
                        "Violation of PRIMARY KEY constraint 'PK_" + table +
                            "'. Cannot insert duplicate key in object 'dbo." + table + "'.",
                        ErrorScope::Statement, 14);
        throw Error(2627,
                    "Violation of UNIQUE KEY constraint 'UQ_" + table +
                        "'. Cannot insert duplicate key in object 'dbo." + table + "'.",
                    ErrorScope::Statement, 14);
    }
    if (auto col = after(msg, "NOT NULL constraint failed: "); !col.empty()) {
        std::string table = col.substr(0, col.find('.'));
        throw Error(515,
                    "Cannot insert the value NULL into column '" + lastPart(col) + "', table '" + databaseName() +
                        ".dbo." + table + "'; column does not allow nulls. INSERT fails.",
                    ErrorScope::Statement);
    }
    if (auto t = after(msg, "no such table: "); !t.empty())
        throw Error(208, "Invalid object name '" + lastPart(t) + "'.");
    if (auto c = after(msg, "no such column: "); !c.empty())
        throw Error(207, "Invalid column name '" + lastPart(c) + "'.");
    if (auto c = after(msg, "ambiguous column name: "); !c.empty())
        throw Error(209, "Ambiguous column name '" + lastPart(c) + "'.");
    if (msg.find("misuse of aggregate") != std::string::npos || msg.find("GROUP BY") != std::string::npos)
        throw Error(8120, "Column is invalid in the select list because it is not contained in either an aggregate "
                          "function or the GROUP BY clause.");
    throw Error(8624, "Internal Query Processor Error: " + msg);
}

} // namespace tsql
