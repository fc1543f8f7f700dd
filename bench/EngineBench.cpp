// Engine benchmarks, reported as ratios against a baseline measured in the same run:
//  - fetching rows through unixODBC (SQLFetch + SQLGetData) against the same rows read with
//    sqlite3_step/sqlite3_column_text, for three shapes: 100 000 rows x 10 columns, a 26-column
//    System_log day of 100 000 rows, and a join with CONVERT styles (its baseline runs the engine's
//    translation of the query on the same SQLite connection); target: at most 1.5x;
//  - translating a 30-line SELECT with joins and subqueries against executing it on 20 000
//    rows; target: translation under 10% of execution.

#include "Parser.h"
#include "RatioReporter.h"
#include "Session.h"
#include "Translator.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sql.h>
#include <sqlext.h>
#include <sqlite3.h>

namespace {

constexpr int kFetchRows = 100000;
constexpr int kJoinRows = 20000;

std::string g_folder;

const char* kFetchSql = "SELECT id, name, acct, created, note, code, flags, updated, city, zip FROM Wide";

const char* kReportSql = R"(SELECT TOP 500
    u.user_id,
    u.user_name,
    p.name AS partition_name,
    a.acct_name,
    CONVERT(varchar, u.last_login, 101) AS last_login,
    (SELECT COUNT(*) FROM Logs l
        WHERE l.user_id = u.user_id
          AND l.event_nbr IN (1, 2, 3, 4, 5)) AS events,
    (SELECT MAX(l2.log_date) FROM Logs l2
        WHERE l2.user_id = u.user_id) AS last_event,
    CASE WHEN u.flags & 1 = 1 THEN 'admin'
         WHEN u.flags & 2 = 2 THEN 'transcription'
         ELSE 'user' END AS kind,
    ISNULL(a.city, '') + ' ' + ISNULL(a.zip, '') AS place
FROM Users u
    JOIN Partitions p ON p.partition_id = u.partition_id
    LEFT OUTER JOIN Accounts a ON a.acct_id = u.acct_id
WHERE u.is_deleted = 0
  AND u.user_name LIKE '[a-m]%'
  AND u.partition_id IN (SELECT partition_id FROM Partitions
                         WHERE name <> 'Archive')
  AND EXISTS (SELECT * FROM Logs l3
              WHERE l3.user_id = u.user_id
                AND l3.log_date >= '01/01/2026')
  AND NOT EXISTS (SELECT * FROM Locks k
                  WHERE k.user_id = u.user_id)
  AND DATEDIFF(day, u.last_login, '12/31/2026') < 400
  AND u.user_id NOT IN (SELECT user_id FROM Locks)
ORDER BY u.user_name, p.name DESC)";

void exec(tsql::Session& s, const std::string& sql) {
    auto r = s.execute(sql);
    for (const auto& item : r.items)
        for (const auto& m : item.messages)
            if (m.isError()) {
                std::cerr << "setup failed: " << m.text << "\n";
                std::exit(1);
            }
}

// Bulk rows go in through SQLite directly (?1 is the row number); the tables themselves were
// created with T-SQL so the engine knows their types.
void rawFill(const std::string& path, const char* sql, int rows) {
    sqlite3* db;
    sqlite3_open(path.c_str(), &db);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* st;
    sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
    for (int i = 0; i < rows; ++i) {
        sqlite3_bind_int(st, 1, i);
        sqlite3_step(st);
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

void prepareSite() {
    char pattern[] = "/tmp/kdbench-XXXXXX";
    g_folder = mkdtemp(pattern);
    std::ofstream(g_folder + "/odbcinst.ini") << "[SQL Server]\nDriver=" << KD_DRIVER_PATH << "\nThreading=0\n";
    setenv("ODBCSYSINI", g_folder.c_str(), 1);

    tsql::OpenOptions o;
    o.folder = g_folder;
    o.database = "bench";
    o.create = true;
    auto s = tsql::Session::open(o);
    exec(*s, "CREATE TABLE Wide (id int NOT NULL PRIMARY KEY, name varchar(30), acct int, created datetime, "
             "note varchar(60), code char(4), flags int, updated datetime, city varchar(20), zip varchar(10))\n"
             "CREATE TABLE Users (user_id int NOT NULL PRIMARY KEY, user_name varchar(30) NOT NULL, partition_id "
             "int, acct_id int, last_login datetime, flags int, is_deleted bit)\n"
             "CREATE TABLE Partitions (partition_id int NOT NULL PRIMARY KEY, name varchar(30))\n"
             "CREATE TABLE Accounts (acct_id int NOT NULL PRIMARY KEY, acct_name varchar(40), city varchar(20), "
             "zip varchar(10))\n"
             "CREATE TABLE Logs (log_id int NOT NULL PRIMARY KEY, user_id int, event_nbr int, log_date datetime)\n"
             "CREATE INDEX ix_user ON Logs (user_id)\n"
             "CREATE TABLE Locks (user_id int NOT NULL)\n"
             "CREATE TABLE Day_log (date_timestamp datetime NOT NULL, severity smallint, type smallint, user_id int, "
             "hosp_acct_id int, error_code int, schedule_id int, batch_nbr int, flag1 int, flag2 int, "
             "msg1 varchar(100), msg2 varchar(100), msg3 varchar(100), msg4 varchar(100), msg5 varchar(100), "
             "workstation varchar(30), process_name varchar(30), thread_id int, job_nbr int, report_type_nbr int, "
             "dictator_id int, document_id int, output_id int, retries smallint, elapsed int, "
             "note varchar(40))");
    const std::string path = tsql::Session::databasePath(g_folder, "bench");
    rawFill(path,
            "INSERT INTO Wide VALUES (?1, 'name ' || ?1, ?1 % 500, '2026-11-01 08:00:00.000', "
            "'a note of moderate length for row ' || ?1, 'AB12', ?1 % 7, '2026-12-05 10:30:00.000', "
            "'Springfield', '12345')",
            kFetchRows);
    rawFill(path,
            "INSERT INTO Users VALUES (?1, char(97 + ?1 % 26) || 'user' || ?1, ?1 % 20, ?1 % 500, "
            "'2026-06-01 09:00:00.000', ?1 % 4, 0)",
            kJoinRows);
    rawFill(path, "INSERT INTO Partitions VALUES (?1, 'Partition ' || ?1)", 20);
    rawFill(path, "INSERT INTO Accounts VALUES (?1, 'Account ' || ?1, 'City', '0000' || ?1)", 500);
    rawFill(path, "INSERT INTO Logs VALUES (?1, ?1 % 20000, ?1 % 9, '2026-03-01 10:00:00.000')", kJoinRows * 2);
    rawFill(path, "INSERT INTO Locks VALUES (?1 * 97)", 50);
    rawFill(path,
            "INSERT INTO Day_log VALUES (printf('2026-12-05 %02d:%02d:%02d.%03d', ?1 / 4200, ?1 / 70 % 60, ?1 % 60, "
            "?1 % 1000), ?1 % 5, ?1 % 14, ?1 % 3000, ?1 % 500, 20000 + ?1 % 90, ?1 % 40, ?1 % 12, 0, NULL, "
            "'Report ' || ?1 || ' printed on PRINTER' || (?1 % 9), 'Batch closed', NULL, NULL, NULL, "
            "'WS' || (?1 % 30), 'KDSORT', ?1 % 8, ?1, ?1 % 50, ?1 % 700, ?1 * 3, ?1 * 7, ?1 % 3, ?1 % 9000, NULL)",
            kFetchRows);
}

void BM_FetchRawSqlite(benchmark::State& state) {
    sqlite3* db;
    sqlite3_open(tsql::Session::databasePath(g_folder, "bench").c_str(), &db);
    for (auto _ : state) {
        sqlite3_stmt* st;
        sqlite3_prepare_v2(db, "SELECT id, name, acct, created, note, code, flags, updated, city, zip FROM Wide", -1,
                           &st, nullptr);
        size_t bytes = 0;
        while (sqlite3_step(st) == SQLITE_ROW)
            for (int c = 0; c < 10; ++c) {
                const unsigned char* t = sqlite3_column_text(st, c);
                bytes += t ? std::strlen(reinterpret_cast<const char*>(t)) : 0;
            }
        sqlite3_finalize(st);
        benchmark::DoNotOptimize(bytes);
    }
    sqlite3_close(db);
    state.SetItemsProcessed(state.iterations() * kFetchRows);
}

const char* kLogDaySql = "SELECT * FROM Day_log WHERE date_timestamp >= '12/05/2026 12:00am' AND "
                         "date_timestamp <= '12/05/2026 11:59:59pm' ORDER BY date_timestamp DESC";
const char* kJoinConvertSql =
    "SELECT u.user_id, u.user_name, CONVERT(varchar, u.last_login, 101), CONVERT(char(8), u.last_login, 108), "
    "CONVERT(varchar(30), l.log_date, 120), CONVERT(varchar(12), l.log_date, 100), a.acct_name, p.name "
    "FROM Users u JOIN Logs l ON l.user_id = u.user_id LEFT OUTER JOIN Accounts a ON a.acct_id = u.acct_id "
    "JOIN Partitions p ON p.partition_id = u.partition_id";

std::unique_ptr<tsql::Session> openBench();

// The query as the engine translates it, stepped on the engine's own SQLite connection: what the
// driver adds on top of SQLite for the same rows.
void rawTranslated(benchmark::State& state, const char* tsqlText) {
    auto s = openBench();
    auto batch = tsql::parseBatch(tsqlText);
    tsql::Translator tr(*s);
    const std::string sql = tr.select(*batch[0]->select).sql;
    size_t rows = 0;
    for (auto _ : state) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(s->handle(), sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
            state.SkipWithError(sqlite3_errmsg(s->handle()));
            return;
        }
        const int n = sqlite3_column_count(st);
        size_t bytes = 0;
        rows = 0;
        while (sqlite3_step(st) == SQLITE_ROW) {
            ++rows;
            for (int c = 0; c < n; ++c) {
                const unsigned char* t = sqlite3_column_text(st, c);
                bytes += t ? std::strlen(reinterpret_cast<const char*>(t)) : 0;
            }
        }
        sqlite3_finalize(st);
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["rows"] = static_cast<double>(rows);
}

void throughDriver(benchmark::State& state, const char* tsqlText) {
    SQLHENV env;
    SQLHDBC dbc;
    SQLHSTMT stmt;
    SQLAllocEnv(&env);
    SQLAllocConnect(env, &dbc);
    std::string cs = "Driver={SQL Server};Server=" + g_folder + ";Database=bench";
    if (!SQL_SUCCEEDED(SQLDriverConnect(dbc, nullptr, reinterpret_cast<SQLCHAR*>(cs.data()), SQL_NTS, nullptr, 0,
                                        nullptr, SQL_DRIVER_NOPROMPT))) {
        state.SkipWithError("connect failed");
        return;
    }
    SQLAllocStmt(dbc, &stmt);
    size_t rows = 0;
    for (auto _ : state) {
        if (!SQL_SUCCEEDED(SQLExecDirect(stmt, reinterpret_cast<SQLCHAR*>(const_cast<char*>(tsqlText)), SQL_NTS))) {
            state.SkipWithError("statement failed");
            break;
        }
        SQLSMALLINT n = 0;
        SQLNumResultCols(stmt, &n);
        size_t bytes = 0;
        char buf[256];
        SQLLEN ind;
        rows = 0;
        while (SQLFetch(stmt) == SQL_SUCCESS) {
            ++rows;
            for (SQLUSMALLINT c = 1; c <= static_cast<SQLUSMALLINT>(n); ++c) {
                SQLGetData(stmt, c, SQL_C_CHAR, buf, sizeof buf, &ind);
                bytes += ind > 0 ? static_cast<size_t>(ind) : 0;
            }
        }
        SQLFreeStmt(stmt, SQL_CLOSE);
        benchmark::DoNotOptimize(bytes);
    }
    SQLFreeStmt(stmt, SQL_DROP);
    SQLDisconnect(dbc);
    SQLFreeConnect(dbc);
    SQLFreeEnv(env);
    state.counters["rows"] = static_cast<double>(rows);
}

void BM_FetchThroughDriver(benchmark::State& state) {
    throughDriver(state, kFetchSql);
    state.SetItemsProcessed(state.iterations() * kFetchRows);
}
void BM_LogDayRaw(benchmark::State& state) {
    rawTranslated(state, kLogDaySql);
}
void BM_LogDayDriver(benchmark::State& state) {
    throughDriver(state, kLogDaySql);
}
void BM_JoinConvertRaw(benchmark::State& state) {
    rawTranslated(state, kJoinConvertSql);
}
void BM_JoinConvertDriver(benchmark::State& state) {
    throughDriver(state, kJoinConvertSql);
}

std::unique_ptr<tsql::Session> openBench() {
    tsql::OpenOptions o;
    o.folder = g_folder;
    o.database = "bench";
    return tsql::Session::open(o);
}

void BM_TranslateReport(benchmark::State& state) {
    auto s = openBench();
    for (auto _ : state) {
        auto batch = tsql::parseBatch(kReportSql);
        tsql::Translator tr(*s);
        auto out = tr.select(*batch[0]->select);
        benchmark::DoNotOptimize(out.sql.data());
    }
}

void BM_ExecuteReport(benchmark::State& state) {
    auto s = openBench();
    size_t rows = 0;
    for (auto _ : state) {
        auto r = s->execute(kReportSql);
        rows = r.items.front().rows.rowCount();
        benchmark::DoNotOptimize(rows);
    }
    state.counters["rows"] = static_cast<double>(rows);
}

BENCHMARK(BM_FetchRawSqlite)->Unit(benchmark::kMillisecond)->MinTime(0.5)->Repetitions(7);
BENCHMARK(BM_FetchThroughDriver)->Unit(benchmark::kMillisecond)->MinTime(0.5)->Repetitions(7);
BENCHMARK(BM_LogDayRaw)->Unit(benchmark::kMillisecond)->MinTime(0.5)->Repetitions(7);
BENCHMARK(BM_LogDayDriver)->Unit(benchmark::kMillisecond)->MinTime(0.5)->Repetitions(7);
BENCHMARK(BM_JoinConvertRaw)->Unit(benchmark::kMillisecond)->MinTime(0.5)->Repetitions(7);
BENCHMARK(BM_JoinConvertDriver)->Unit(benchmark::kMillisecond)->MinTime(0.5)->Repetitions(7);
BENCHMARK(BM_TranslateReport)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ExecuteReport)->Unit(benchmark::kMillisecond)->MinTime(1.0);

} // namespace

int main(int argc, char** argv) {
    prepareSite();
    kdbench::Initialize(&argc, argv);
    kdbench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto& t = reporter.ms;
    int status = 0;
    struct Fetch {
        const char* shape;
        const char* driver;
        const char* raw;
    };
    const Fetch fetches[] = {
        {"10 columns", "BM_FetchThroughDriver", "BM_FetchRawSqlite"},
        {"26-column log day", "BM_LogDayDriver", "BM_LogDayRaw"},
        {"join with CONVERT styles", "BM_JoinConvertDriver", "BM_JoinConvertRaw"},
    };
    std::cout << "\n";
    for (const Fetch& f : fetches) {
        if (!t.count(f.driver) || !t.count(f.raw))
            continue;
        const double ratio = t.at(f.driver) / t.at(f.raw);
        std::cout << "fetch ratio, " << f.shape << " (driver / raw SQLite), median of "
                  << reporter.repetitions(f.driver) << " repetitions: " << ratio << "  (target <= 1.5) "
                  << (ratio <= 1.5 ? "MET" : "MISSED") << "\n";
    }
    if (t.count("BM_TranslateReport") && t.count("BM_ExecuteReport")) {
        double share = t.at("BM_TranslateReport") / t.at("BM_ExecuteReport");
        std::cout << "translation share of execution: " << share * 100 << "%  (target < 10%) "
                  << (share < 0.10 ? "MET" : "MISSED") << "\n";
    }
    std::error_code ec;
    std::filesystem::remove_all(g_folder, ec);
    return status;
}
