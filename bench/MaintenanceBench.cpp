// Database maintenance on a large site (500 generated accounts, 100 000 System_log and Output_queue
// rows). Each target is a ratio against a baseline measured in the same run:
//  - gathering the statistics against the same statements sent straight through ODBC (results
//    fetched and discarded): at most 1.5x;
//  - the purge save of 500 accounts against 500 plain UPDATEs of the same nine columns in one batch:
//    at most 2x;
//  - counting 100 000 files of the import folder: under 200 ms.

#include "BenchSite.h"
#include "DatabaseSession.h"
#include "DemoSite.h"
#include "LoginComponent.h"
#include "RatioReporter.h"
#include "clsDatabaseStatistics.h"
#include "clsPurgeTimes.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>

using foundation::DatabaseSession;
using namespace maintenance;
namespace fs = std::filesystem;

namespace {

std::string g_folder;
suite::LoginComponent g_login;
std::vector<std::string> g_statisticsStatements;
long long g_importFiles = 0;

void prepareSite() {
    demo::ScaleOptions o = kdbench::smallSite();
    o.accounts = 500;
    o.logRows = 100000;
    o.logRowsOnOneDay = 10000;
    o.outputRows = 100000;
    g_folder = kdbench::makeSite("kdmaintbench", o);
    kdbench::connectSession(g_folder + "/site");
    auto& s = DatabaseSession::instance();
    g_login.SQLServerName = s.ServerName;
    g_login.SQLDBName = s.DatabaseName;
    g_login.SQLUserName = s.LoginName;
    g_login.SQLPassword = s.Password;
    if (!g_login.connect() || !g_login.LoadAccountData()) {
        std::cerr << "cannot read the account cache\n";
        std::exit(1);
    }
    g_login.DisconnectSQL();
    const fs::path import = fs::path(g_folder) / "import";
    fs::create_directories(import / "BAD");
    for (int i = 0; i < 100000; ++i)
        std::ofstream(import / ("JOB" + std::to_string(i) + ".XML"));
}

void BM_GatherStatistics(benchmark::State& state) {
    auto& s = DatabaseSession::instance();
    clsDatabaseStatistics stats;
    for (auto _ : state) {
        s.history.clear();
        stats.Gather();
    }
    g_statisticsStatements = s.history;
    if (stats.lastBackup == "Unknown" || stats.categories[3].records.empty())
        state.SkipWithError("the statistics were not gathered");
}

// The statements the gathering sent, run through the ODBC calls alone: every result set stepped
// through with SQLFetch and SQLMoreResults, no column read.
void BM_StatementsStraightThroughOdbc(benchmark::State& state) {
    const SQLHSTMT stmt = DatabaseSession::instance().statementHandle();
    for (auto _ : state)
        for (std::string sql : g_statisticsStatements) {
            SQLExecDirect(stmt, reinterpret_cast<SQLCHAR*>(sql.data()), static_cast<SQLINTEGER>(sql.size()));
            do {
                while (SQL_SUCCEEDED(SQLFetch(stmt))) {
                }
            } while (SQL_SUCCEEDED(SQLMoreResults(stmt)));
            SQLFreeStmt(stmt, SQL_CLOSE);
        }
}

void BM_PurgeSave(benchmark::State& state) {
    clsPurgeTimes times;
    times.Load(g_login, false);
    for (int i = 1; i <= times.Count(); ++i)
        times.At(i).listed = times.At(i).hosp_acct_id > 0;
    for (auto _ : state)
        if (!times.Save())
            state.SkipWithError("the save failed");
}

void BM_PlainUpdatesBaseline(benchmark::State& state) {
    std::string batch;
    for (int i = 1; i <= g_login.NumberHospAccounts(); ++i)
        if (g_login.HospAccountAt(i).hosp_acct_id > 0)
            batch += "UPDATE Archive_table_purging SET length_output_queue = 30, length_system_log = 15, "
                     "length_trans_stats = 48, length_document_info = 48, length_edit_history = 48, extra4 = 48, "
                     "extra5 = 48, extra6 = 0, extra7 = 0 WHERE hosp_acct_id = " +
                     std::to_string(g_login.HospAccountAt(i).hosp_acct_id) + "\n";
    for (auto _ : state)
        if (!DatabaseSession::instance().RunStatement(batch))
            state.SkipWithError("the baseline failed");
}

void BM_CountImportFiles(benchmark::State& state) {
    const std::string folder = (fs::path(g_folder) / "import").string();
    for (auto _ : state)
        g_importFiles = clsDatabaseStatistics::CountFiles(folder).value_or(-1);
}

BENCHMARK(BM_StatementsStraightThroughOdbc)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(3);
BENCHMARK(BM_GatherStatistics)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(3);
BENCHMARK(BM_PlainUpdatesBaseline)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(3);
BENCHMARK(BM_PurgeSave)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(3);
BENCHMARK(BM_CountImportFiles)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(3);

} // namespace

int main(int argc, char** argv) {
    prepareSite();
    // The baseline replays what the gathering sends: one gathering first, to learn its statements.
    {
        clsDatabaseStatistics stats;
        DatabaseSession::instance().history.clear();
        stats.Gather();
        g_statisticsStatements = DatabaseSession::instance().history;
    }
    // Every account gets its row first, so the baseline's UPDATEs find the rows the save updates.
    {
        clsPurgeTimes times;
        times.Load(g_login, false);
        for (int i = 1; i <= times.Count(); ++i)
            times.At(i).listed = times.At(i).hosp_acct_id > 0;
        times.Save();
    }
    kdbench::Initialize(&argc, argv);
    kdbench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto& t = reporter.ms;
    bool met = true;
    auto ratio = [&](const char* what, const char* measured, const char* baseline, double limit) {
        if (!t.count(measured) || !t.count(baseline))
            return;
        const double r = t.at(measured) / t.at(baseline);
        met = met && r <= limit;
        std::cout << what << ": " << t.at(measured) << " ms against " << t.at(baseline) << " ms, " << r
                  << "x (target at most " << limit << "x) " << (r <= limit ? "MET" : "MISSED") << "\n";
    };
    std::cout << "\n";
    ratio("statistics gathering", "BM_GatherStatistics", "BM_StatementsStraightThroughOdbc", 1.5);
    ratio("purge save of the accounts", "BM_PurgeSave", "BM_PlainUpdatesBaseline", 2.0);
    if (t.count("BM_CountImportFiles")) {
        const double ms = t.at("BM_CountImportFiles");
        met = met && ms < 200;
        std::cout << "counting " << g_importFiles << " import files: " << ms << " ms (target < 200 ms) "
                  << (ms < 200 ? "MET" : "MISSED") << "\n";
    }
    std::cout << "statements of one gathering: " << g_statisticsStatements.size() << "\n";
    DatabaseSession::instance().DisconnectFromSQL();
    std::error_code ec;
    fs::remove_all(g_folder, ec);
    return met ? 0 : 1;
}
