// BACKUP DATABASE: an online copy of a database file through SQLite's backup API, recorded in
// msdb's backup history as SQL Server records it (backupset, backupmediaset, backupmediafamily).
// BACKUP LOG is refused: the stand-in runs every database in the SIMPLE recovery model.

#include "DateTime.h"
#include "Executor.h"
#include "Lexer.h"
#include "StmtGuard.h"

#include <algorithm>
#include <filesystem>
#include <sqlite3.h>
#include <unistd.h>

namespace tsql {

namespace fs = std::filesystem;

namespace {

// msdb's backup history tables, with the columns of SQL Server's that the stand-in fills.
constexpr const char* kHistoryTables[][2] = {
    {"backupmediaset", "CREATE TABLE backupmediaset (media_set_id int NOT NULL PRIMARY KEY, "
                       "media_family_count tinyint NULL, name nvarchar(128) NULL, software_name nvarchar(128) NULL)"},
    {"backupmediafamily",
     "CREATE TABLE backupmediafamily (media_set_id int NOT NULL, family_sequence_number tinyint NOT NULL, "
     "logical_device_name nvarchar(128) NULL, physical_device_name nvarchar(260) NULL, device_type tinyint NULL)"},
    {"backupset", "CREATE TABLE backupset (backup_set_id int NOT NULL PRIMARY KEY, media_set_id int NULL, "
                  "name nvarchar(128) NULL, database_name nvarchar(128) NULL, server_name nvarchar(128) NULL, "
                  "machine_name nvarchar(128) NULL, user_name nvarchar(128) NULL, backup_start_date datetime NULL, "
                  "backup_finish_date datetime NULL, type char(1) NULL, backup_size numeric(20,0) NULL, "
                  "recovery_model nvarchar(60) NULL, is_copy_only bit NULL)"},
};

// Message 3013 follows every failed backup, as on the server.
[[noreturn]] void terminateBackup(const std::string& kind) {
    throw Error(3013, "BACKUP " + kind + " is terminating abnormally.");
}

std::string hostName() {
    char buf[256] = {};
    if (gethostname(buf, sizeof buf - 1) != 0)
        return "LOCALHOST";
    return toUpper(buf);
}

} // namespace

// Creates msdb beside the site database when it is missing, with the history tables it lacks, and
// attaches it to this connection. Returns the schema name under which msdb is reached.
std::string Executor::ensureBackupHistory() {
    if (!m_s.resolveDatabase("msdb").empty()) {
        bool complete = true;
        for (const auto& t : kHistoryTables)
            complete = complete && scalarInt("SELECT COUNT(*) FROM msdb.sqlite_master WHERE type = 'table' AND name = "
                                             "?1 COLLATE NOCASE",
                                             {Value::text(t[0])}) > 0;
        if (complete)
            return "msdb";
    }
    const std::string folder = fs::path(m_s.m_path).parent_path().string();
    {
        OpenOptions o;
        o.folder = folder;
        o.database = "msdb";
        o.create = true;
        auto msdb = Session::open(o);
        for (const auto& t : kHistoryTables) {
            if (msdb->objectIdOf(t[0]).empty() || msdb->objectIdOf(t[0]) == "0") {
                BatchResult r = msdb->execute(t[1]);
                for (const auto& item : r.items)
                    if (item.failed())
                        throw Error(3013, "BACKUP DATABASE is terminating abnormally.");
            }
        }
    }
    if (m_s.resolveDatabase("msdb").empty()) {
        const std::string path = Session::databasePath(folder, "msdb");
        sqlite3_stmt* st = prepare("ATTACH DATABASE ?1 AS msdb", {Value::text(path)});
        StmtGuard g{st};
        stepToEnd(st);
    }
    m_s.m_catalog.invalidate();
    return "msdb";
}

void Executor::runBackup(const Statement& st) {
    const std::string kind = st.option;
    const std::string name = st.target.at(0);
    const std::string alias = m_s.resolveDatabase(name);
    if (alias.empty()) {
        addMessage(Message{911, 16, 1,
                           "Database '" + name +
                               "' does not exist. Make sure that the name is entered "
                               "correctly."});
        terminateBackup(kind);
    }
    if (kind == "LOG") {
        addMessage(Message{4208, 16, 1,
                           "The statement BACKUP LOG is not allowed while the recovery model is SIMPLE. Use BACKUP "
                           "DATABASE or change the recovery model using ALTER DATABASE."});
        terminateBackup(kind);
    }
    if (m_s.m_tranCount > 0) {
        addMessage(Message{3021, 16, 1, "Cannot perform a backup or restore operation within a transaction."});
        terminateBackup(kind);
    }
    const auto& opts = st.columns;
    const bool differential = std::find(opts.begin(), opts.end(), "DIFFERENTIAL") != opts.end();
    const bool copyOnly = std::find(opts.begin(), opts.end(), "COPY_ONLY") != opts.end();
    Value file = evaluate(*st.value);
    fs::path target = file.isNull() ? fs::path() : fs::path(file.toText());
    // A relative device name is taken in the server's backup folder: here the database's own.
    if (!target.empty() && target.is_relative())
        target = fs::path(m_s.m_path).parent_path() / target;

    const std::string msdb = ensureBackupHistory();
    // The database name as the server keeps it in msdb: the attached name, or the connection's own.
    const std::string recordedName = alias == "main" ? m_s.databaseName() : name;
    if (differential && scalarInt("SELECT COUNT(*) FROM msdb.backupset WHERE database_name = ?1 COLLATE NOCASE AND "
                                  "type = 'D' AND (is_copy_only IS NULL OR is_copy_only = 0)",
                                  {Value::text(recordedName)}) == 0) {
        addMessage(Message{3035, 16, 1,
                           "Cannot perform a differential backup for database \"" + recordedName +
                               "\", because a current database backup does not exist. Perform a full database "
                               "backup by reissuing BACKUP DATABASE, omitting the WITH DIFFERENTIAL option."});
        terminateBackup(kind);
    }
    std::error_code ec;
    if (target.empty() || !fs::is_directory(target.parent_path(), ec)) {
        addMessage(Message{3201, 16, 1,
                           "Cannot open backup device '" + target.string() +
                               "'. Operating system error 3(The system cannot find the path specified.)."});
        terminateBackup(kind);
    }

    const std::string started = DateTime::now().canonical();
    const std::string tmp = target.string() + ".part";
    fs::remove(tmp, ec);
    sqlite3* dest = nullptr;
    int rc = sqlite3_open_v2(tmp.c_str(), &dest, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    int pages = 0;
    if (rc == SQLITE_OK) {
        sqlite3_backup* b = sqlite3_backup_init(dest, "main", m_s.m_db, alias.c_str());
        if (b) {
            rc = sqlite3_backup_step(b, -1);
            pages = sqlite3_backup_pagecount(b);
            sqlite3_backup_finish(b);
        } else {
            rc = sqlite3_errcode(dest);
        }
    }
    sqlite3_close_v2(dest);
    if (rc != SQLITE_DONE) {
        fs::remove(tmp, ec);
        addMessage(Message{3201, 16, 1,
                           "Cannot open backup device '" + target.string() +
                               "'. Operating system error 5(Access is denied.)."});
        terminateBackup(kind);
    }
    fs::rename(tmp, target, ec);
    if (ec) {
        fs::remove(tmp, ec);
        addMessage(Message{3201, 16, 1,
                           "Cannot open backup device '" + target.string() +
                               "'. Operating system error 5(Access is denied.)."});
        terminateBackup(kind);
    }
    const long long size = static_cast<long long>(fs::file_size(target, ec));
    const std::string finished = DateTime::now().canonical();

    const long long mediaSet =
        scalarInt("SELECT COALESCE(MAX(media_set_id), 0) + 1 FROM " + msdb + ".backupmediaset", {});
    const long long backupSet = scalarInt("SELECT COALESCE(MAX(backup_set_id), 0) + 1 FROM " + msdb + ".backupset", {});
    auto run = [&](const std::string& sql, const std::vector<Value>& binds) {
        sqlite3_stmt* s = prepare(sql, binds);
        StmtGuard g{s};
        stepToEnd(s);
    };
    run("INSERT INTO " + msdb + ".backupmediaset (media_set_id, media_family_count, software_name) VALUES (?1, 1, ?2)",
        {Value::integer(mediaSet), Value::text("Microsoft SQL Server")});
    run("INSERT INTO " + msdb +
            ".backupmediafamily (media_set_id, family_sequence_number, physical_device_name, device_type) "
            "VALUES (?1, 1, ?2, 2)",
        {Value::integer(mediaSet), Value::text(target.string())});
    run("INSERT INTO " + msdb +
            ".backupset (backup_set_id, media_set_id, database_name, server_name, machine_name, user_name, "
            "backup_start_date, backup_finish_date, type, backup_size, recovery_model, is_copy_only) "
            "VALUES (?1, ?2, ?3, ?4, ?4, ?5, ?6, ?7, ?8, ?9, 'SIMPLE', ?10)",
        {Value::integer(backupSet), Value::integer(mediaSet), Value::text(recordedName), Value::text(hostName()),
         Value::text(m_s.m_options.login.empty() ? "sa" : m_s.m_options.login), Value::text(started),
         Value::text(finished), Value::text(differential ? "I" : "D"), Value::integer(size),
         Value::integer(copyOnly ? 1 : 0)});

    addMessage(Message{4035, 0, 1,
                       "Processed " + std::to_string(pages) + " pages for database '" + recordedName + "', file '" +
                           recordedName + "' on file 1."});
    addMessage(Message{3014, 0, 1,
                       std::string(differential ? "BACKUP DATABASE WITH DIFFERENTIAL" : "BACKUP DATABASE") +
                           " successfully processed " + std::to_string(pages) + " pages."});
}

} // namespace tsql
