// Dictation purging and the Database Management screen on a large site. Targets:
//  - Dictation_jobs_complete grown to 1 000 000 completed jobs, 200 000 of them queued already:
//    EXEC of the purge procedure written from 20 rules at most 3x one INSERT ... SELECT of the
//    eligible jobs without the queue test, measured in the same run;
//  - the hub (DB_Options, its settings and its disk list) opened with 1 000 archive disks under 300 ms,
//    shown beside the hub's two queries fetched through the session alone.
// "--jobs N" sets the number of jobs (a fifth of them queued); "--site <folder>" keeps the site.

#include "BenchSite.h"
#include "DB_MaintenanceCommands.h"
#include "DB_Options.h"
#include "DatabaseSession.h"
#include "DictationCriterion.h"
#include "LoginComponent.h"
#include "RatioReporter.h"
#include "clsDictationPurgings.h"
#include "clsMaintenanceSettings.h"

#include <QApplication>
#include <QTreeWidget>
#include <benchmark/benchmark.h>
#include <cstring>
#include <iostream>

using foundation::DatabaseSession;
using namespace maintenance;

namespace {

long g_jobs = 1000000;
constexpr int kDisks = 1000;
constexpr int kDefaultDays = 30;
suite::LoginComponent g_login;
long g_queuedByProcedure = 0, g_queuedByBaseline = 0;

void run(const std::string& sql, const char* what) {
    if (!DatabaseSession::instance().RunStatement(sql)) {
        std::cerr << "cannot " << what << "\n";
        std::exit(1);
    }
}

long scalar(const std::string& sql) {
    auto& s = DatabaseSession::instance();
    s.SQLStatement = sql;
    if (s.ExecSQL() != 1 || s.FetchRow() != 1)
        return -1;
    const long v = s.GetColumnLong(1);
    s.FlushResults();
    return v;
}

// The completed jobs: ten departments, work types 1 to 20, accounts 100 to 119 with report types 1
// to 6, dictated over the last year; every fiftieth purged, every hundredth held (eflag3); every
// fifth queued already (flag1 1 marks the rows the runs below leave in place).
void growJobs() {
    std::string from = "Gen_digits d0", value = "d0.d";
    long scale = 10;
    for (int k = 1; scale < g_jobs; ++k, scale *= 10) {
        from += ", Gen_digits d" + std::to_string(k);
        value += " + " + std::to_string(scale) + " * d" + std::to_string(k) + ".d";
    }
    run("SET NOCOUNT ON\n"
        "IF OBJECT_ID('Gen_digits') IS NOT NULL DROP TABLE Gen_digits\n"
        "CREATE TABLE Gen_digits (d int NOT NULL)\n"
        "INSERT Gen_digits VALUES (0), (1), (2), (3), (4), (5), (6), (7), (8), (9)\n"
        "DELETE FROM Dictation_purge_queue\n"
        "DELETE FROM Dictation_jobs_complete\n"
        "INSERT Dictation_jobs_complete\n"
        "SELECT n, CASE n % 10 WHEN 0 THEN 'Radiology' WHEN 1 THEN 'Cardiology' WHEN 2 THEN 'ICU' WHEN 3 THEN "
        "'Oncology' WHEN 4 THEN 'Emergency' WHEN 5 THEN 'Pediatrics' WHEN 6 THEN 'Surgery' WHEN 7 THEN 'Neurology' "
        "WHEN 8 THEN 'Orthopedics' ELSE NULL END, 1 + n % 20, CASE n % 3 WHEN 0 THEN 4 WHEN 1 THEN 7 ELSE 10 END, "
        "100 + n % 20, 1 + n % 6, DATEADD(minute, -(n * 37 % 525600), GETDATE()), "
        "DATEADD(minute, -(n * 37 % 525600) + 90, GETDATE()), CASE WHEN n % 50 = 0 THEN 1 ELSE 0 END, "
        "CASE WHEN n % 100 = 1 THEN 1 ELSE 0 END, 100 + n % 20, 1 + n % 6\n"
        "FROM (SELECT " +
            value + " AS n FROM " + from + ") numbers WHERE n < " + std::to_string(g_jobs) +
            "\n"
            "INSERT Dictation_purge_queue SELECT job_id, GETDATE(), 1, 0, 0, 0, NULL, NULL, NULL\n"
            "FROM Dictation_jobs_complete WHERE job_id % 5 = 0\n"
            "DROP TABLE Gen_digits",
        "grow the completed jobs");
}

// Nineteen rules and the default: departments with and without work types, accounts with and without
// report types, some of one source only, saved through the console's record (the procedure written).
void saveTwentyRules() {
    clsDictationPurgings rules;
    auto add = [&](int source, const char* dept, const char* types, long account, const char* reports, long days) {
        rules.items.push_back(kdtest::criterion(source, dept, types, account, reports, days));
    };
    const char* departments[] = {"Radiology", "Cardiology", "ICU", "Oncology", "Emergency", "Pediatrics"};
    for (int i = 0; i < 6; ++i)
        add(-1, departments[i], "", -1, "", 14 + 7 * i);
    add(4, "Surgery", "1, 2, 3", -1, "", 21);
    add(7, "Neurology", "", -1, "", 45);
    add(10, "", "4,5,6,7", -1, "", 60);
    for (int i = 0; i < 10; ++i)
        add(-1, "", "", 100 + i, i % 2 ? "1,2" : "", 20 + 10 * i);
    rules.items.push_back(kdtest::criterion(-1, "", "", -1, "", kDefaultDays, 1));
    if (rules.items.size() != 20 || !rules.Save(0, "BENCH")) {
        std::cerr << "cannot save the twenty rules\n";
        std::exit(1);
    }
}

void addDisks() {
    run("SET NOCOUNT ON\n"
        "DECLARE @i int\n"
        "SET @i = 1\n"
        "DELETE FROM Archive_disks\n"
        "WHILE @i <= " +
            std::to_string(kDisks) +
            "\n"
            "BEGIN\n"
            "    INSERT Archive_disks VALUES (@i, 'ARCHIVE ' + CONVERT(varchar, @i), '/srv/archive/disk' + "
            "CONVERT(varchar, @i), DATEADD(day, -@i, GETDATE()), DATEADD(day, -@i - 30, GETDATE()), "
            "DATEADD(day, -@i, GETDATE()), -1, @i * 13 % 500, 0, CASE WHEN @i = 1 THEN 1 ELSE 0 END, 0, 0, 0, NULL, "
            "NULL, NULL)\n"
            "    SET @i = @i + 1\n"
            "END",
        "add the archive disks");
}

// Puts the queue back as it was grown: the seeded fifth only.
void resetQueue(benchmark::State& state) {
    state.PauseTiming();
    run("DELETE FROM Dictation_purge_queue WHERE flag1 = 0", "empty the queue");
    state.ResumeTiming();
}

void BM_PurgeProcedure(benchmark::State& state) {
    for (auto _ : state) {
        if (!DatabaseSession::instance().RunStatement("EXEC dbo.purge_dictation_jobs"))
            state.SkipWithError("the procedure failed");
        state.PauseTiming();
        g_queuedByProcedure = scalar("SELECT COUNT(*) FROM Dictation_purge_queue WHERE flag1 = 0");
        state.ResumeTiming();
        resetQueue(state);
    }
}

// The eligible jobs (not purged, not held, older than the default's days) queued by one statement,
// without the test for jobs already queued.
void BM_OneInsertSelectBaseline(benchmark::State& state) {
    const std::string sql = "INSERT INTO Dictation_purge_queue\r\n"
                            "SELECT job_id, GETDATE(), 0, 0, 0, 0, NULL, NULL, NULL\r\n"
                            "FROM Dictation_jobs_complete\r\n"
                            "WHERE source_file_purged = 0 AND eflag3 = 0 AND date1 < DATEADD(day, -" +
                            std::to_string(kDefaultDays) + ", GETDATE())";
    for (auto _ : state) {
        if (!DatabaseSession::instance().RunStatement(sql))
            state.SkipWithError("the baseline failed");
        state.PauseTiming();
        g_queuedByBaseline = scalar("SELECT COUNT(*) FROM Dictation_purge_queue WHERE flag1 = 0");
        state.ResumeTiming();
        resetQueue(state);
    }
}

void BM_OpenHubWithThousandDisks(benchmark::State& state) {
    for (auto _ : state) {
        DB_MaintenanceCommands commands(g_login, false, true);
        DB_Options screen(commands, g_login);
        if (!screen.MyShow())
            state.SkipWithError("the hub did not open");
        screen.show();
        QApplication::processEvents();
        if (screen.findChild<QTreeWidget*>("DiskView")->topLevelItemCount() != kDisks)
            state.SkipWithError("the disk list is not complete");
    }
}

void BM_HubQueriesThroughSession(benchmark::State& state) {
    for (auto _ : state) {
        kdbench::fetchAllColumns(clsMaintenanceSettings::kManagementQuery, 20);
        kdbench::fetchAllColumns(clsMaintenanceSettings::kDiskQuery, 9);
    }
}

BENCHMARK(BM_OneInsertSelectBaseline)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);
BENCHMARK(BM_PurgeProcedure)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);
BENCHMARK(BM_HubQueriesThroughSession)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(3);
BENCHMARK(BM_OpenHubWithThousandDisks)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(3);

} // namespace

int main(int argc, char** argv) {
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--jobs") == 0) {
            g_jobs = std::strtol(argv[i + 1], nullptr, 10);
            for (int j = i; j + 2 <= argc; ++j)
                argv[j] = argv[j + 2];
            argc -= 2;
            break;
        }
    QApplication app(argc, argv);
    kdbench::BenchSite site(argc, argv, "kdpurgebench", kdbench::smallSite());
    kdbench::connectSession(site.path());
    g_login.user.privilegeSet = std::string(160, '\x01');
    growJobs();
    saveTwentyRules();
    addDisks();
    std::cout << "completed jobs " << scalar("SELECT COUNT(*) FROM Dictation_jobs_complete") << ", queued "
              << scalar("SELECT COUNT(*) FROM Dictation_purge_queue") << ", archive disks "
              << scalar("SELECT COUNT(*) FROM Archive_disks") << "\n";

    kdbench::Initialize(&argc, argv);
    kdbench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto& t = reporter.ms;
    bool met = true;
    std::cout << "\n";
    if (t.count("BM_PurgeProcedure") && t.count("BM_OneInsertSelectBaseline")) {
        const double r = t.at("BM_PurgeProcedure") / t.at("BM_OneInsertSelectBaseline");
        met = met && r <= 3.0;
        std::cout << "purge procedure of 20 rules over " << g_jobs << " jobs: " << t.at("BM_PurgeProcedure")
                  << " ms (queued " << g_queuedByProcedure << ") against one INSERT ... SELECT "
                  << t.at("BM_OneInsertSelectBaseline") << " ms (queued " << g_queuedByBaseline << "), " << r
                  << "x (target at most 3x) " << (r <= 3.0 ? "MET" : "MISSED") << "\n";
    }
    if (t.count("BM_OpenHubWithThousandDisks")) {
        const double ms = t.at("BM_OpenHubWithThousandDisks");
        met = met && ms < 300;
        std::cout << "hub opened with " << kDisks << " disks: " << ms << " ms (target < 300 ms) "
                  << (ms < 300 ? "MET" : "MISSED");
        if (t.count("BM_HubQueriesThroughSession"))
            std::cout << "; its queries alone " << t.at("BM_HubQueriesThroughSession") << " ms, "
                      << ms / t.at("BM_HubQueriesThroughSession") << "x";
        std::cout << "\n";
    }
    DatabaseSession::instance().DisconnectFromSQL();
    return met ? 0 : 1;
}
