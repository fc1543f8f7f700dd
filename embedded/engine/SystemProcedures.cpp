// Server procedures that report on the database itself (sp_spaceused, sp_helpdb), answered from
// SQLite's page statistics in the shapes SQL Server gives.

#include "Executor.h"
#include "Lexer.h"
#include "NumberText.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <sqlite3.h>

namespace tsql {

namespace {

struct StmtGuard {
    sqlite3_stmt* st;
    ~StmtGuard() { sqlite3_finalize(st); }
};

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
