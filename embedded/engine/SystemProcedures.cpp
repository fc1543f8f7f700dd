// The server procedures the engine itself provides: logins (sp_addlogin, sp_password,
// sp_droplogin), attaching and detaching database files, and the reports on the database itself
// (sp_spaceused, sp_helpdb), answered from SQLite's page statistics in the shapes SQL Server gives.

#include "Executor.h"
#include "Lexer.h"
#include "NumberText.h"
#include "StmtGuard.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <sqlite3.h>

namespace tsql {

std::string loginDigest(const std::string& login, const std::string& password);

namespace {

std::string kb(long long bytes) {
    return std::to_string((bytes + 1023) / 1024) + " KB";
}

std::string mb(double bytes) {
    return fixedText(bytes / (1024.0 * 1024.0), 2) + " MB";
}

ResultColumn textColumn(const char* name, int length) {
    ResultColumn c;
    c.name = name;
    c.type = TypeSpec{"varchar", length, 0, 0};
    return c;
}

} // namespace

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
        execPlain(m_s.m_db, "DETACH DATABASE " + Translator::quoteIdent(db));
        sqlite3_stmt* rec = prepare("DELETE FROM main.__tsql_attached WHERE name = ?1", {Value::text(db)});
        StmtGuard g{rec};
        stepToEnd(rec);
        m_s.catalog().invalidate();
        return true;
    }
    return false;
}

long long Executor::scalarInt(const std::string& sql, const std::vector<Value>& binds) {
    sqlite3_stmt* st = prepare(sql, binds);
    StmtGuard g{st};
    int rc = sqlite3_step(st);
    if (rc == SQLITE_ROW)
        return sqlite3_column_int64(st, 0);
    if (rc != SQLITE_DONE)
        raiseEngineError(rc);
    return 0;
}

// sp_spaceused: without an argument, the database's size and use; with a table name, its rows
// and space.
void Executor::runSpaceUsed(const std::vector<Value>& args) {
    const long long pageSize = scalarInt("PRAGMA main.page_size", {});
    const long long pages = scalarInt("PRAGMA main.page_count", {});
    const long long freePages = scalarInt("PRAGMA main.freelist_count", {});
    if (args.empty() || args[0].isNull()) {
        std::error_code ec;
        auto walSize = std::filesystem::file_size(m_s.m_path + "-wal", ec);
        ResultSet first;
        first.columns = {textColumn("database_name", 128), textColumn("database_size", 18),
                         textColumn("unallocated space", 18)};
        first.beginRow();
        first.addText(m_s.databaseName());
        first.addText(mb(static_cast<double>(pages * pageSize + (ec ? 0 : static_cast<long long>(walSize)))));
        first.addText(mb(static_cast<double>(freePages * pageSize)));
        addRows(std::move(first));

        const long long indexBytes = scalarInt(
            "SELECT COALESCE(SUM(d.pgsize), 0) FROM dbstat('main') d JOIN main.sqlite_master m ON m.name = d.name "
            "WHERE m.type = 'index'",
            {});
        const long long used = (pages - freePages) * pageSize;
        ResultSet second;
        second.columns = {textColumn("reserved", 18), textColumn("data", 18), textColumn("index_size", 18),
                          textColumn("unused", 18)};
        second.beginRow();
        second.addText(kb(pages * pageSize));
        second.addText(kb(used - indexBytes));
        second.addText(kb(indexBytes));
        second.addText(kb(freePages * pageSize));
        addRows(std::move(second));
        return;
    }
    Translator tr(m_s);
    std::string name = args[0].toText();
    std::vector<std::string> parts;
    for (size_t start = 0;;) {
        size_t dot = name.find('.', start);
        parts.push_back(name.substr(start, dot - start));
        if (dot == std::string::npos)
            break;
        start = dot + 1;
    }
    Translator::ResolvedTable t;
    try {
        t = tr.resolveTable(parts);
    } catch (const Error&) {
        throw Error(15009, "The object '" + name + "' does not exist in database '" + m_s.databaseName() +
                               "' or is invalid for this operation.");
    }
    const std::string q = Translator::quoteIdent(t.database) + "." + Translator::quoteIdent(t.name);
    const long long rows = scalarInt("SELECT COUNT(*) FROM " + q, {});
    const long long data = scalarInt("SELECT COALESCE(SUM(pgsize), 0) FROM dbstat(?1) WHERE name = ?2 COLLATE NOCASE",
                                     {Value::text(t.database), Value::text(t.name)});
    const long long index =
        scalarInt("SELECT COALESCE(SUM(d.pgsize), 0) FROM dbstat(?1) d JOIN " + Translator::quoteIdent(t.database) +
                      ".sqlite_master m ON m.name = d.name WHERE m.type = 'index' AND m.tbl_name = ?2 COLLATE NOCASE",
                  {Value::text(t.database), Value::text(t.name)});
    ResultSet rs;
    rs.columns = {textColumn("name", 128), textColumn("rows", 11),       textColumn("reserved", 18),
                  textColumn("data", 18),  textColumn("index_size", 18), textColumn("unused", 18)};
    rs.beginRow();
    rs.addText(t.name);
    rs.addText(std::to_string(rows));
    rs.addText(kb(data + index));
    rs.addText(kb(data));
    rs.addText(kb(index));
    rs.addText("0 KB");
    addRows(std::move(rs));
}

// sp_helpdb 'name': the database row, then one row per file (the data file and its log).
void Executor::runHelpDb(const std::vector<Value>& args) {
    std::string name = args.empty() || args[0].isNull() ? m_s.databaseName() : args[0].toText();
    std::string alias = m_s.resolveDatabase(name);
    if (alias.empty())
        throw Error(15010, "The database '" + name +
                               "' does not exist. Supply a valid database name. To see available databases, use "
                               "sys.databases.");
    std::string path;
    {
        sqlite3_stmt* st = prepare("PRAGMA database_list", {});
        StmtGuard g{st};
        while (sqlite3_step(st) == SQLITE_ROW)
            if (iequals(reinterpret_cast<const char*>(sqlite3_column_text(st, 1)), alias))
                path = reinterpret_cast<const char*>(sqlite3_column_text(st, 2));
    }
    std::error_code ec;
    long long dataBytes = static_cast<long long>(std::filesystem::file_size(path, ec));
    if (ec)
        dataBytes = 0;
    // Pages written since the last checkpoint still sit in the write-ahead log; the data file's
    // size is what it holds once they are copied in, as a server's data file grows with its tables.
    const std::string schema = Translator::quoteIdent(alias);
    dataBytes = std::max(dataBytes, scalarInt("PRAGMA " + schema + ".page_count", {}) *
                                        scalarInt("PRAGMA " + schema + ".page_size", {}));
    long long logBytes = static_cast<long long>(std::filesystem::file_size(path + "-wal", ec));
    if (ec)
        logBytes = 0;
    std::string stem = std::filesystem::path(path).stem().string();
    std::string logPath = (std::filesystem::path(path).parent_path() / (stem + "_log.ldf")).string();

    ResultSet db;
    db.columns = {textColumn("name", 128),
                  textColumn("db_size", 13),
                  textColumn("owner", 128),
                  textColumn("dbid", 6),
                  textColumn("created", 11),
                  textColumn("status", 600),
                  textColumn("compatibility_level", 3)};
    db.beginRow();
    db.addText(name);
    db.addText(mb(static_cast<double>(dataBytes + logBytes)));
    db.addText("sa");
    db.addText(alias == "main" ? "5" : "6");
    db.addText("Jan  1 2020");
    db.addText("Status=ONLINE, Updateability=READ_WRITE, UserAccess=MULTI_USER, Recovery=SIMPLE, Version=611");
    db.addText("90");
    addRows(std::move(db));

    ResultSet files;
    files.columns = {textColumn("name", 128),      textColumn("fileid", 6), textColumn("filename", 260),
                     textColumn("filegroup", 128), textColumn("size", 18),  textColumn("maxsize", 18),
                     textColumn("growth", 18),     textColumn("usage", 9)};
    files.beginRow();
    files.addText(stem);
    files.addText("1");
    files.addText(path);
    files.addText("PRIMARY");
    files.addText(kb(dataBytes));
    files.addText("Unlimited");
    files.addText("10%");
    files.addText("data only");
    files.beginRow();
    files.addText(stem + "_log");
    files.addText("2");
    files.addText(logPath);
    files.addNull();
    files.addText(kb(std::max(logBytes, 1024LL)));
    files.addText("2147483648 KB");
    files.addText("10%");
    files.addText("log only");
    addRows(std::move(files));
}

} // namespace tsql
