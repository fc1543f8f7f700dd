// The configuration wizard on a large site against the same work on a new installation, in the
// same run: the step-completion batch (SET ROWCOUNT 1 must stop each read at its first row, so the
// size of the site must not show) and the standard configuration install from a standard database
// of 50 report types, 500 outputs, 1 500 fields and 20 printers.
// Targets: the batch at most 2x the new site's; the install at most 1.5x the new site's and under 3 s.
//
// The large site has the sizes of the tables these statements read and write: 50 000 users and
// groups, 20 000 physicians, 500 accounts with 50 report types each (its log and output tables stay
// small; nothing here reads them). The install is repeated on the same account, so from the second
// run on both sites replace 50 report types and add no printer: the steady state is measured.
//
//   wizard_bench [benchmark options]

#include "BenchSite.h"
#include "DatabaseSession.h"
#include "DemoSite.h"
#include "RatioReporter.h"
#include "StandardConfiguration.h"
#include "WizardSteps.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <filesystem>
#include <iostream>

using foundation::DatabaseSession;
using wizard::StandardConfiguration;
namespace fs = std::filesystem;

namespace {

constexpr long kAccount = 1;
std::string g_folder, g_newSite, g_largeSite;

demo::StandardContent benchContent() {
    demo::StandardContent c;
    c.reportTypes = 50;
    c.outputs = 500;
    c.fields = 1500;
    c.customFields = 10;
    c.printers = 20;
    return c;
}

void shipStandardDatabase(const std::string& site) {
    const fs::path formats = fs::path(site) / "KALDRA" / "INSTALL" / "FORMATS";
    fs::remove(formats / "K2STANDARD_DB.MDF");
    demo::createStandardDatabase(formats, fs::path(site) / "KALDRA" / "TEMP", benchContent());
}

void prepareSites() {
    char pattern[] = "/tmp/kdwizardbench-XXXXXX";
    g_folder = mkdtemp(pattern);
    g_newSite = g_folder + "/new";
    g_largeSite = g_folder + "/large";
    demo::createNewSite(g_newSite, KD_DRIVER_PATH);
    demo::ScaleOptions o = kdbench::smallSite();
    o.users = 50000;
    o.physicians = 20000;
    o.accounts = 500;
    o.reportTypes = 50;
    demo::createDemoSite(g_largeSite, KD_DRIVER_PATH);
    demo::scaleDemoSite(g_largeSite, o);
    for (const auto& site : {g_newSite, g_largeSite})
        shipStandardDatabase(site);
    // The new site's first account, as the account manager makes it.
    kdbench::connectSession(g_newSite);
    auto& s = DatabaseSession::instance();
    s.SQLStatement = "EXECUTE account_check 1\r\nUPDATE Account_info SET hosp_acct_name = 'First', email_type = 1 "
                     "WHERE hosp_acct_id = 1";
    if (s.ExecSQL() != 1) {
        std::cerr << "cannot add the new site's account\n";
        std::exit(1);
    }
    s.CloseStatement();
    s.DisconnectFromSQL();
}

void useSite(const std::string& site) {
    auto& s = DatabaseSession::instance();
    if (s.ServerName == site + "/SQL" && s.SQLConnected)
        return;
    s.DisconnectFromSQL();
    kdbench::connectSession(site);
}

void stepBatch(benchmark::State& state, const std::string& site) {
    useSite(site);
    int done = 0;
    for (auto _ : state) {
        const auto marks = wizard::ReadStepMarks();
        if (!marks) {
            state.SkipWithError("the step batch failed");
            return;
        }
        done = static_cast<int>(std::count(marks->begin(), marks->end(), true));
    }
    state.counters["steps_done"] = done;
}

void install(benchmark::State& state, const std::string& site) {
    useSite(site);
    size_t rows = 0;
    for (auto _ : state) {
        const auto report = StandardConfiguration::Install(kAccount, site, site + "/local");
        if (!report.ok) {
            state.SkipWithError(report.message.c_str());
            return;
        }
        rows = 0;
        for (const auto& [table, n] : report.rowsCopied)
            rows += static_cast<size_t>(n);
    }
    state.counters["rows_copied"] = static_cast<double>(rows);
}

void BM_StepBatchNewSite(benchmark::State& state) {
    stepBatch(state, g_newSite);
}
void BM_StepBatchLargeSite(benchmark::State& state) {
    stepBatch(state, g_largeSite);
}
void BM_InstallNewSite(benchmark::State& state) {
    install(state, g_newSite);
}
void BM_InstallLargeSite(benchmark::State& state) {
    install(state, g_largeSite);
}

} // namespace

BENCHMARK(BM_StepBatchNewSite)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_StepBatchLargeSite)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_InstallNewSite)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(5);
BENCHMARK(BM_InstallLargeSite)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(5);

int main(int argc, char** argv) {
    prepareSites();
    kdbench::Initialize(&argc, argv);
    kdbench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    DatabaseSession::instance().DisconnectFromSQL();
    auto ratio = [&](const char* measured, const char* baseline) {
        return reporter.ms[baseline] > 0 ? reporter.ms[measured] / reporter.ms[baseline] : 0.0;
    };
    const double batch = ratio("BM_StepBatchLargeSite", "BM_StepBatchNewSite");
    const double copy = ratio("BM_InstallLargeSite", "BM_InstallNewSite");
    const double installMs = reporter.realMs["BM_InstallLargeSite"];
    std::cout << "\nstep batch, large site / new site: " << batch << "x (target 2x) "
              << (batch <= 2.0 ? "met" : "MISSED") << "\n"
              << "install, large site / new site: " << copy << "x (target 1.5x) " << (copy <= 1.5 ? "met" : "MISSED")
              << "\n"
              << "install on the large site: " << reporter.ms["BM_InstallLargeSite"] << " ms CPU, " << installMs
              << " ms wall (target under 3000 ms) " << (installMs < 3000 ? "met" : "MISSED") << "\n";
    fs::remove_all(g_folder);
    return 0;
}
