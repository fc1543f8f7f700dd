// Adding a suspension type on a large site (500 generated accounts besides the demo's own): the
// type is written to every Account_info row with one INSERT ... SELECT ... FROM Account_info. The
// baseline, measured in the same run, is what one statement per account would send: an INSERT of
// VALUES for each account row, in one batch. Reported: the time of the add (target < 1 s), its
// statement count, the rows it wrote, and the ratio to the baseline. The per-account editor's
// delete-and-rewrite save of every account's list is measured too.

#include "BenchSite.h"
#include "DatabaseSession.h"
#include "DemoSite.h"
#include "EventLog.h"
#include "LoginComponent.h"
#include "RatioReporter.h"
#include "clsAccountTypes.h"
#include "clsSuspensionTypes.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <iostream>

using foundation::DatabaseSession;
using namespace accounts;

namespace {

std::string g_folder;
long g_accountRows = 0;
size_t g_addStatements = 0;
long g_rowsWritten = 0;
suite::LoginComponent g_login;

std::string scalar(const std::string& sql) {
    auto& s = DatabaseSession::instance();
    s.SQLStatement = sql;
    if (s.ExecSQL() != 1 || s.FetchRow() != 1)
        return "";
    std::string v = s.GetColumnText(1, 1);
    s.FlushResults();
    s.CloseStatement();
    return v;
}

void run(const std::string& sql) {
    auto& s = DatabaseSession::instance();
    s.SQLStatement = sql;
    if (s.ExecSQL() == 1)
        s.FlushResults();
}

void prepareSite() {
    demo::ScaleOptions o = kdbench::smallSite();
    o.accounts = 500;
    o.reportTypes = 5;
    g_folder = kdbench::makeSite("kdtypebench", o);
    kdbench::connectSession(g_folder + "/site");
    auto& s = DatabaseSession::instance();
    foundation::EventLog::context().userName = "bench";
    g_accountRows = std::atol(scalar("SELECT COUNT(*) FROM Account_info").c_str());
    g_login.SQLServerName = s.ServerName;
    g_login.SQLDBName = s.DatabaseName;
    g_login.SQLUserName = s.LoginName;
    g_login.SQLPassword = s.Password;
    if (!g_login.connect() || !g_login.LoadAccountData()) {
        std::cerr << "cannot read the account cache\n";
        std::exit(1);
    }
    g_login.DisconnectSQL();
}

void BM_AddSuspensionType(benchmark::State& state) {
    auto& s = DatabaseSession::instance();
    clsSuspensionTypes types;
    types.Load();
    for (auto _ : state) {
        s.history.clear();
        if (!types.Add(199, "Benchmark type"))
            state.SkipWithError("the add failed");
        state.PauseTiming();
        g_addStatements = s.history.size();
        g_rowsWritten = std::atol(scalar("SELECT COUNT(*) FROM Suspension_types WHERE suspension_type = 199").c_str());
        run("DELETE FROM Suspension_types WHERE suspension_type = 199");
        state.ResumeTiming();
    }
}

// One INSERT ... VALUES per account row, sent as one batch.
void BM_OneStatementPerAccountBaseline(benchmark::State& state) {
    std::string batch;
    auto& s = DatabaseSession::instance();
    s.SQLStatement = "SELECT hosp_acct_id FROM Account_info";
    s.ExecSQL();
    while (s.FetchRow() == 1)
        batch += "INSERT INTO Suspension_types VALUES(" + s.GetColumnText(1, 1) + ", 199, 0, 'Benchmark type')\r\n";
    for (auto _ : state) {
        run(batch);
        state.PauseTiming();
        run("DELETE FROM Suspension_types WHERE suspension_type = 199");
        state.ResumeTiming();
    }
}

// The per-account editor's save: every live account's user suspension types deleted and inserted again.
void BM_PerAccountRewrite(benchmark::State& state) {
    clsAccountTypes types(clsAccountTypes::Mode::Suspension);
    types.Load(g_login);
    // The generated accounts carry no types of their own: give every account the first one's list.
    types.UseForAll(types.Accounts().front());
    size_t inserts = 0;
    for (long account : types.Accounts())
        inserts += types.TypesOf(account).size();
    for (auto _ : state)
        if (!types.Save())
            state.SkipWithError("the save failed");
    state.counters["inserts"] = static_cast<double>(inserts);
}

BENCHMARK(BM_OneStatementPerAccountBaseline)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(3);
BENCHMARK(BM_AddSuspensionType)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(3);
BENCHMARK(BM_PerAccountRewrite)->Unit(benchmark::kMillisecond)->Iterations(2)->Repetitions(3);

} // namespace

int main(int argc, char** argv) {
    prepareSite();
    kdbench::Initialize(&argc, argv);
    kdbench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto& t = reporter.ms;
    std::cout << "\nAccount_info rows (template included): " << g_accountRows << "\n";
    if (t.count("BM_AddSuspensionType") && t.count("BM_OneStatementPerAccountBaseline")) {
        const double ms = t.at("BM_AddSuspensionType");
        std::cout << "add a suspension type: " << ms << " ms (target < 1000 ms) " << (ms < 1000 ? "MET" : "MISSED")
                  << ", " << ms / t.at("BM_OneStatementPerAccountBaseline")
                  << "x the one-statement-per-account baseline\n"
                  << "  statements sent: " << g_addStatements
                  << " (the INSERT ... SELECT, the System_log row, the list's reload); rows written: " << g_rowsWritten
                  << "\n";
    }
    if (t.count("BM_PerAccountRewrite"))
        std::cout << "per-account rewrite of every account's list (one batch, all or nothing): "
                  << t.at("BM_PerAccountRewrite") << " ms\n";
    DatabaseSession::instance().DisconnectFromSQL();
    std::error_code ec;
    std::filesystem::remove_all(g_folder, ec);
    return g_rowsWritten == g_accountRows ? 0 : 1;
}
