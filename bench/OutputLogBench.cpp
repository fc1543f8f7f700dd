// Output tracking and the printer list on a large site, each against the same statements fetched
// bare through the session in the same run:
//  - one account, "25 records", a week of output times: under 300 ms;
//  - "All records" (20 000 rows) over the root partition: at most 1.5x the bare fetch, under 2 s,
//    the rows in memory under 40 MB;
//  - resending 1 000 faxes: at most 1.2x the same batches sent bare;
//  - LoadPrinters with 500 printers: under 100 ms.
// KD_OUTPUT_ROWS sets the size of Output_queue (default 1 000 000).

#include "BenchSite.h"
#include "DatabaseSession.h"
#include "RatioReporter.h"
#include "clsOutputLog.h"
#include "clsPrinters.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <unistd.h>

using foundation::DatabaseSession;
using namespace outputlog;

namespace {

std::string g_folder;
OutputQueryOptions g_week, g_all;
constexpr int kResends = 1000;

long residentKb() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

std::string scalar(const std::string& sql) {
    auto& s = DatabaseSession::instance();
    s.SQLStatement = sql;
    std::string v;
    if (s.ExecSQL() == 1 && s.FetchRow() == 1)
        v = s.GetColumnText(1, 1);
    s.CloseStatement();
    return v;
}

LogDateTime daysAgo(int days, int hour, int minute) {
    const std::time_t t = std::time(nullptr) - static_cast<std::time_t>(days) * 86400;
    const std::tm* tm = std::localtime(&t);
    return {tm->tm_year + 1900, tm->tm_mon + 1, tm->tm_mday, hour, minute};
}

void prepareSite() {
    demo::ScaleOptions o = kdbench::smallSite();
    o.accounts = 200;
    o.outputRows = std::getenv("KD_OUTPUT_ROWS") ? std::atoi(std::getenv("KD_OUTPUT_ROWS")) : 1000000;
    g_folder = kdbench::makeSite("kdoutputbench", o);
    kdbench::connectSession(g_folder + "/site");
    auto& s = DatabaseSession::instance();
    // 500 printers, half with their originals row.
    std::string sql = "SET NOCOUNT ON\r\n";
    for (int id = 100; id < 595; ++id) {
        sql += "INSERT System_printers VALUES (" + std::to_string(id) + ", 'Printer " + std::to_string(id) + "', 'Q" +
               std::to_string(id) +
               "', 'Courier New', 10, 1, 1, 0, '', 2, 1, '', 0, 0, NULL, NULL, "
               "'EnvDefault.doc', '')\r\n";
        if (id % 2 == 0)
            sql += "INSERT System_printers_extended VALUES (" + std::to_string(id) +
                   ", 3, 1, '', 1, 0, 0, 0, 0, 0, NULL, NULL, NULL, NULL, NULL)\r\n";
    }
    if (!s.RunStatement(sql))
        std::exit(1);

    g_week.m_lngAccount = 100;
    g_week.m_enuDateType = DateType::Output;
    g_week.m_dtmStart = daysAgo(7, 0, 0);
    g_week.m_dtmEnd = daysAgo(0, 23, 59);
    g_week.m_intLimit = 25;

    g_all = g_week;
    g_all.m_lngAccount = -1;
    for (int a = 100; a < 100 + o.accounts; ++a)
        g_all.m_colPartitionAccounts.push_back(a);
    g_all.m_dtmStart = daysAgo(365, 0, 0);
    g_all.m_intLimit = kAllRecords;
}

// The bare fetch: the same batch, every column read as text, then the limit set back.
void bareQuery(const OutputQueryOptions& o) {
    kdbench::fetchAllColumns(BuildOutputQuery(o), 28);
    DatabaseSession::instance().RunStatement("SET ROWCOUNT 0");
}

void BM_WeekBaseline(benchmark::State& state) {
    for (auto _ : state)
        bareQuery(g_week);
}
void BM_WeekLoad(benchmark::State& state) {
    size_t rows = 0;
    for (auto _ : state) {
        clsOutputLog log;
        log.Load(g_week);
        rows = log.Rows().size();
    }
    state.counters["rows"] = static_cast<double>(rows);
}
void BM_AllBaseline(benchmark::State& state) {
    for (auto _ : state)
        bareQuery(g_all);
}
void BM_AllLoad(benchmark::State& state) {
    size_t rows = 0;
    for (auto _ : state) {
        clsOutputLog log;
        log.Load(g_all);
        rows = log.Rows().size();
    }
    state.counters["rows"] = static_cast<double>(rows);
}

// Fax rows to resend: the first kResends faxes, read once before either side runs so that the bare
// batches and the screen's resend requeue the same rows (a resent row is no longer of type 5, and
// reading afterwards would hand the second side other documents).
std::vector<OutputRow> readFaxRows() {
    std::vector<OutputRow> rows;
    auto& s = DatabaseSession::instance();
    s.SQLStatement = "SELECT TOP " + std::to_string(kResends) +
                     " output_identifier, fax_nbr FROM Output_queue WHERE output_type = 5 ORDER BY output_identifier";
    if (s.ExecSQL() == 1)
        while (s.FetchRow() == 1) {
            OutputRow r;
            r.m_lngOutputId = s.GetColumnLong(1);
            r.m_intOutputType = 5;
            r.m_intKnownStatus = 34;
            r.m_strFaxNbr = s.GetColumnText(2, 1);
            rows.push_back(r);
        }
    return rows;
}

ResendRequest faxRequest() {
    ResendRequest r;
    r.m_enuKind = ResendKind::Fax;
    r.m_udtUser = {1, "ADMINISTRATOR"};
    r.m_strWhen = "12/06/2026 1:00 PM";
    return r;
}

const std::vector<OutputRow>& faxRows() {
    static const std::vector<OutputRow> rows = readFaxRows();
    return rows;
}

void BM_ResendBaseline(benchmark::State& state) {
    const auto& rows = faxRows();
    auto& s = DatabaseSession::instance();
    for (auto _ : state)
        for (const auto& r : rows) {
            s.SQLStatement = FaxResendStatements(r, 8, "", faxRequest().m_udtUser, faxRequest().m_strWhen, true);
            s.ExecSQLAllOrNothing();
            s.CloseStatement();
        }
    state.counters["rows"] = static_cast<double>(rows.size());
}
void BM_Resend(benchmark::State& state) {
    clsOutputLog log;
    log.Rows() = faxRows();
    std::vector<size_t> all(log.Rows().size());
    for (size_t i = 0; i < all.size(); ++i)
        all[i] = i;
    int sent = 0;
    for (auto _ : state)
        sent = log.Resend(all, faxRequest());
    state.counters["rows"] = sent;
}

const char* const kPrinterReads[] = {
    "SELECT printer_id, description, print_queue, summary_font, summary_size, banner_bin, summary_bin, save_type, "
    "save_to_directory, default_bin, default_footer_type, default_print_macro, flag1, flag2, string2, string3, "
    "in_use1 = (SELECT max(batch_nbr) FROM Batch_groups_cfg BG WHERE BG.printer_id = BP.printer_id and is_deleted "
    "= 0), in_use2 = (SELECT max(batch_nbr) FROM Batch_cfg BC WHERE BC.st_printer_id = BP.printer_id and "
    "is_deleted = 0) FROM System_printers BP ORDER BY printer_id",
    "SELECT printer_id, orig_default_bin, orig_default_footer_type, orig_default_print_macro, orig_footer_format "
    "FROM System_printers_extended ORDER BY printer_id",
    "SELECT custom_format_id, format_description FROM System_printer_formats ORDER BY custom_format_id"};

void BM_PrintersBaseline(benchmark::State& state) {
    for (auto _ : state) {
        kdbench::fetchAllColumns(kPrinterReads[0], 18);
        kdbench::fetchAllColumns(kPrinterReads[1], 5);
        kdbench::fetchAllColumns(kPrinterReads[2], 2);
    }
}
void BM_LoadPrinters(benchmark::State& state) {
    size_t count = 0;
    for (auto _ : state) {
        printers::clsPrinters list;
        list.LoadPrinters();
        count = list.Count();
    }
    state.counters["printers"] = static_cast<double>(count);
}

BENCHMARK(BM_WeekBaseline)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(3);
BENCHMARK(BM_WeekLoad)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(3);
BENCHMARK(BM_AllBaseline)->Unit(benchmark::kMillisecond)->Iterations(2)->Repetitions(3);
BENCHMARK(BM_AllLoad)->Unit(benchmark::kMillisecond)->Iterations(2)->Repetitions(3);
BENCHMARK(BM_ResendBaseline)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5);
BENCHMARK(BM_Resend)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5);
BENCHMARK(BM_PrintersBaseline)->Unit(benchmark::kMillisecond)->Iterations(10)->Repetitions(3);
BENCHMARK(BM_LoadPrinters)->Unit(benchmark::kMillisecond)->Iterations(10)->Repetitions(3);

void verdict(const kdbench::RatioReporter& r, const char* name, const char* base, double maxRatio, double maxMs) {
    if (!r.ms.count(name) || !r.ms.count(base))
        return;
    const double ms = r.ms.at(name), ratio = ms / r.ms.at(base);
    std::cout << name << ": " << ms << " ms CPU (" << r.realMs.at(name) << " ms wall), " << ratio << "x " << base;
    bool met = true;
    if (maxRatio > 0) {
        std::cout << " (target <= " << maxRatio << "x)";
        met = met && ratio <= maxRatio;
    }
    if (maxMs > 0) {
        std::cout << " (target < " << maxMs << " ms)";
        met = met && ms < maxMs;
    }
    std::cout << (met ? " MET" : " MISSED") << "\n";
}

} // namespace

int main(int argc, char** argv) {
    prepareSite();
    std::cout << "fax rows to resend: " << faxRows().size() << " (target " << kResends << ")\n";
    std::cout << "outputs: " << scalar("SELECT COUNT(*) FROM Output_queue")
              << ", printers: " << scalar("SELECT COUNT(*) FROM System_printers") << "\n";
    const long before = residentKb();
    {
        clsOutputLog log;
        log.Load(g_all);
        std::cout << "All records: " << log.Rows().size() << " rows, " << (residentKb() - before) / 1024.0
                  << " MB resident for them (target < 40 MB)\n";
    }
    kdbench::Initialize(&argc, argv);
    kdbench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::cout << "\n";
    verdict(reporter, "BM_WeekLoad", "BM_WeekBaseline", 0, 300);
    verdict(reporter, "BM_AllLoad", "BM_AllBaseline", 1.5, 2000);
    verdict(reporter, "BM_Resend", "BM_ResendBaseline", 1.2, 0);
    verdict(reporter, "BM_LoadPrinters", "BM_PrintersBaseline", 0, 100);
    DatabaseSession::instance().DisconnectFromSQL();
    std::error_code ec;
    std::filesystem::remove_all(g_folder, ec);
    return 0;
}
