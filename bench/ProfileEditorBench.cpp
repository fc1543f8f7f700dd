// The profile editor on a large site (500 accounts): opening the demo's member of all accounts in
// the editor against the bare record load in the same run (target: at most 1.5x), and selecting
// all 500 accounts with every value of the General and Output pages read for the selection
// (target: under 100 ms). The statement count of one changed field's save is printed. The
// duplicate-id look-up of that physician among 20 000 physicians with author ids is timed against
// one indexed look-up of an author id (target: at most 2x), each pressed again; the same pair with an
// id never asked before is printed beside it.
//
//   profile_editor_bench [benchmark options]

#include "BenchSite.h"
#include "DatabaseSession.h"
#include "DemoSite.h"
#include "PhysicianProfileEdit.h"
#include "PhysicianProfileRules.h"
#include "RatioReporter.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <iostream>
#include <sstream>

using foundation::DatabaseSession;
using physicians::PhysicianProfileEdit;

namespace {

constexpr long kPhysician = 1; // the demo's physician who belongs to every account
std::string g_temporary;

void BM_BareRecordLoad(benchmark::State& state) {
    for (auto _ : state) {
        physicians::clsPhysicianRecords p;
        benchmark::DoNotOptimize(physicians::LoadPhysician(kPhysician, p));
    }
}

void BM_OpenEditor(benchmark::State& state) {
    for (auto _ : state) {
        PhysicianProfileEdit e;
        benchmark::DoNotOptimize(e.Load(kPhysician, PhysicianProfileEdit::Mode::Edit));
    }
}

// What the screen reads when every account is selected: each value, both day sets, the report
// types of one output and the weights of 50 report types.
void BM_SelectAllAccounts(benchmark::State& state) {
    PhysicianProfileEdit e;
    e.Load(kPhysician, PhysicianProfileEdit::Mode::Edit);
    const std::vector<long> all = e.accounts();
    size_t various = 0;
    for (auto _ : state) {
        e.Select(all);
        various = 0;
        for (const auto& f : physicians::ProfileFields())
            various += e.Value(f.name) == physicians::kVarious ? 1 : 0;
        benchmark::DoNotOptimize(e.FaxDays(1));
        benchmark::DoNotOptimize(e.FaxDays(2));
        for (size_t t = 0; t < 50; ++t) {
            benchmark::DoNotOptimize(e.ReportIncluded(physicians::ReportSetKind::Email, t));
            benchmark::DoNotOptimize(e.WeightOf(t));
        }
    }
    state.counters["accounts"] = static_cast<double>(all.size());
    state.counters["various"] = static_cast<double>(various);
}

// The look-up OK runs before saving: the physician's author id among every other physician
// sharing an account with it (physician 1 belongs to all of them).
void BM_DuplicateLookUp(benchmark::State& state) {
    PhysicianProfileEdit e;
    e.Load(kPhysician, PhysicianProfileEdit::Mode::Edit);
    e.Select(e.accounts());
    e.SetValue("dvi_id", "A19999");
    size_t hits = 0;
    for (auto _ : state) {
        std::vector<physicians::DuplicateId> found;
        benchmark::DoNotOptimize(physicians::FindDuplicateIds(e, found));
        hits = found.size();
    }
    state.counters["hits"] = static_cast<double>(hits);
}

// The baseline: one author id looked up through the external-id index.
void BM_IndexedIdLookUp(benchmark::State& state) {
    auto& s = DatabaseSession::instance();
    for (auto _ : state) {
        s.SQLStatement = "SELECT physician_id FROM Physician_external_ids WHERE source_type = 2 AND "
                         "source_physician_id = 'A19999'";
        s.ExecSQL();
        while (s.FetchRow() == 1)
            benchmark::DoNotOptimize(s.GetColumnText(1, 1));
        s.CloseStatement();
    }
}

// The same two look-ups with an author id never asked before, so neither text has been compiled:
// what the first OK of an edit costs, where the two above measure OK pressed again.
void BM_DuplicateLookUpNewText(benchmark::State& state) {
    PhysicianProfileEdit e;
    e.Load(kPhysician, PhysicianProfileEdit::Mode::Edit);
    e.Select(e.accounts());
    long n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        e.SetValue("dvi_id", "N" + std::to_string(++n));
        state.ResumeTiming();
        std::vector<physicians::DuplicateId> found;
        benchmark::DoNotOptimize(physicians::FindDuplicateIds(e, found));
    }
}

void BM_IndexedIdLookUpNewText(benchmark::State& state) {
    auto& s = DatabaseSession::instance();
    long n = 0;
    for (auto _ : state) {
        s.SQLStatement = "SELECT physician_id FROM Physician_external_ids WHERE source_type = 2 AND "
                         "source_physician_id = 'N" +
                         std::to_string(++n) + "'";
        s.ExecSQL();
        while (s.FetchRow() == 1)
            benchmark::DoNotOptimize(s.GetColumnText(1, 1));
        s.CloseStatement();
    }
}

BENCHMARK(BM_BareRecordLoad)->Unit(benchmark::kMillisecond)->MinTime(0.3)->Repetitions(5);
BENCHMARK(BM_OpenEditor)->Unit(benchmark::kMillisecond)->MinTime(0.3)->Repetitions(5);
BENCHMARK(BM_SelectAllAccounts)->Unit(benchmark::kMillisecond)->MinTime(0.3)->Repetitions(5);
BENCHMARK(BM_DuplicateLookUp)->Unit(benchmark::kMillisecond)->MinTime(0.3)->Repetitions(5);
BENCHMARK(BM_IndexedIdLookUp)->Unit(benchmark::kMillisecond)->MinTime(0.3)->Repetitions(5);
BENCHMARK(BM_DuplicateLookUpNewText)->Unit(benchmark::kMillisecond)->MinTime(0.3)->Repetitions(5);
BENCHMARK(BM_IndexedIdLookUpNewText)->Unit(benchmark::kMillisecond)->MinTime(0.3)->Repetitions(5);

int statementCount(const std::string& batch) {
    std::istringstream in(batch);
    std::string line;
    int n = 0;
    while (std::getline(in, line))
        for (const char* verb : {"INSERT", "UPDATE", "DELETE"})
            n += line.rfind(verb, 0) == 0 ? 1 : 0;
    return n;
}

} // namespace

int main(int argc, char** argv) {
    demo::ScaleOptions o = kdbench::smallSite();
    o.accounts = 500;
    o.physicians = 20000;
    g_temporary = kdbench::makeSite("kdprofilebench", o);
    kdbench::connectSession(g_temporary + "/site");
    // Every generated physician gets an author id: "A" + its number.
    DatabaseSession::instance().RunStatement("INSERT INTO Physician_external_ids SELECT physician_id, 'DVI', 'A' + "
                                             "CONVERT(varchar, physician_id), 2, 1 FROM Physician_profile WHERE "
                                             "physician_id >= 1000");
    {
        PhysicianProfileEdit e;
        e.Load(kPhysician, PhysicianProfileEdit::Mode::Edit);
        e.Select({e.accounts().at(1)});
        e.SetValue("city", "Northfield West");
        const physicians::clsPhysicianRecords records = e.ForSave();
        physicians::PhysicianSaveRequest save;
        save.physician_id = kPhysician;
        save.physician = &records;
        save.memberOfAllAccounts = e.memberOfAllAccounts();
        std::cout << "physician " << kPhysician << ": " << e.accounts().size()
                  << " accounts; one changed field of one account sends "
                  << statementCount(physicians::PhysicianSaveBatch(save, false)) << " statements\n";
    }
    kdbench::Initialize(&argc, argv);
    kdbench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    // CPU time decides: the machines that run this are shared.
    const auto& t = reporter.ms;
    if (t.count("BM_OpenEditor") && t.count("BM_BareRecordLoad")) {
        const double ratio = t.at("BM_OpenEditor") / t.at("BM_BareRecordLoad");
        std::cout << "\nopening the editor: " << t.at("BM_OpenEditor") << " ms CPU median, " << ratio
                  << "x the bare record load (target at most 1.5x) " << (ratio <= 1.5 ? "MET" : "MISSED") << "\n";
    }
    if (t.count("BM_SelectAllAccounts"))
        std::cout << "selecting all accounts: " << t.at("BM_SelectAllAccounts") << " ms CPU median (target < 100 ms) "
                  << (t.at("BM_SelectAllAccounts") < 100 ? "MET" : "MISSED") << "\n";
    if (t.count("BM_DuplicateLookUp") && t.count("BM_IndexedIdLookUp")) {
        const double ratio = t.at("BM_DuplicateLookUp") / t.at("BM_IndexedIdLookUp");
        std::cout << "duplicate look-up among 20 000 physicians: " << t.at("BM_DuplicateLookUp") << " ms CPU median, "
                  << ratio << "x one indexed author-id look-up (target at most 2x) " << (ratio <= 2 ? "MET" : "MISSED")
                  << "\n";
    }
    if (t.count("BM_DuplicateLookUpNewText") && t.count("BM_IndexedIdLookUpNewText")) {
        const double ratio = t.at("BM_DuplicateLookUpNewText") / t.at("BM_IndexedIdLookUpNewText");
        std::cout << "the same with an id never asked before (each text compiled): "
                  << t.at("BM_DuplicateLookUpNewText") << " ms CPU median, " << ratio << "x (for information)\n";
    }
    DatabaseSession::instance().DisconnectFromSQL();
    std::error_code ec;
    std::filesystem::remove_all(g_temporary, ec);
    return 0;
}
