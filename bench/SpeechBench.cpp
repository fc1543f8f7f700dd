// The speech user chooser on a large speech system (20 000 users, 200 contexts) against the
// simulator library: the chooser ready (attach, users, contexts, the physicians holding users, and
// the detach on closing), the users' model filled, and the selection of a user, each beside the
// bare enumeration loop of the same users measured in the same run.
// Targets: chooser ready under 1 s; filling at most 1.5x the bare loop; a selection under 20 ms.
//
//   speech_bench [benchmark options]

#include "BenchSite.h"
#include "DatabaseSession.h"
#include "PP_SpeechMagic.h"
#include "RatioReporter.h"
#include "SpeechSite.h"
#include "SpeechUserModel.h"
#include "modSpeechMagic.h"

#include <QApplication>
#include <QTreeView>
#include <benchmark/benchmark.h>
#include <filesystem>
#include <iostream>
#include <memory>
#include <sstream>

using namespace speech;

namespace {

std::string g_temporary;
std::unique_ptr<kdtest::SpeechSite> g_speech;

void prepare() {
    g_temporary = kdbench::makeSite("kdspeechbench", kdbench::smallSite());
    kdbench::connectSession(g_temporary + "/site");
    g_speech = std::make_unique<kdtest::SpeechSite>();
    g_speech->install();
    std::ostringstream store;
    for (int c = 0; c < 200; ++c)
        store << "context CTX" << c << "\n";
    store << "channel 0 3 1 1 Microphone\n";
    for (int u = 0; u < 20000; ++u) {
        const std::string name = "U" + std::to_string(100000 + u);
        store << "user " << name << " 1 3 0 0\nuser-context " << name << " CTX" << (u % 200) << "\n"
              << "user-context " << name << " CTX" << ((u + 7) % 200) << "\n";
    }
    g_speech->store(store.str());
    if (!CheckSMInstall()) {
        std::cerr << "the simulator library did not load\n";
        std::exit(1);
    }
}

std::vector<std::string> enumerate() {
    auto& s = SpeechMagic();
    std::vector<std::string> names;
    std::string name;
    for (std::string previous; s.library.nextUserName(s.handle, previous, name) == 0; previous = name)
        names.push_back(name);
    return names;
}

void BM_BareEnumeration(benchmark::State& state) {
    AttachSM();
    size_t users = 0;
    for (auto _ : state)
        users = enumerate().size();
    DetachSM();
    state.counters["users"] = static_cast<double>(users);
}

void BM_ModelFilled(benchmark::State& state) {
    AttachSM();
    SpeechUserModel model;
    const std::map<std::string, std::string> holders;
    for (auto _ : state) {
        model.setUsers(enumerate(), holders);
        benchmark::DoNotOptimize(model.rowCount());
    }
    DetachSM();
    state.counters["users"] = model.rowCount();
}

void BM_ChooserReady(benchmark::State& state) {
    int rows = 0;
    for (auto _ : state) {
        PP_SpeechMagic chooser("Ruth", "Adams", "U100500");
        chooser.tmrLoadUsers_Timer();
        rows = chooser.findChild<QTreeView*>("lvwUsers")->model()->rowCount();
        chooser.reject();
    }
    state.counters["users"] = rows;
}

void BM_SelectUser(benchmark::State& state) {
    PP_SpeechMagic chooser("", "", "");
    chooser.tmrLoadUsers_Timer();
    auto* list = chooser.findChild<QTreeView*>("lvwUsers");
    int row = 0;
    for (auto _ : state) {
        row = (row + 7919) % list->model()->rowCount();
        list->setCurrentIndex(list->model()->index(row, 0));
    }
    chooser.reject();
}

BENCHMARK(BM_BareEnumeration)->Unit(benchmark::kMillisecond)->MinTime(0.3)->Repetitions(5);
BENCHMARK(BM_ModelFilled)->Unit(benchmark::kMillisecond)->MinTime(0.3)->Repetitions(5);
BENCHMARK(BM_ChooserReady)->Unit(benchmark::kMillisecond)->MinTime(0.3)->Repetitions(5);
BENCHMARK(BM_SelectUser)->Unit(benchmark::kMillisecond)->MinTime(0.3)->Repetitions(5);

void verdict(const kdbench::RatioReporter& r, const char* name, double targetMs, double targetRatio) {
    const char* baseline = "BM_BareEnumeration";
    if (!r.ms.count(name) || !r.ms.count(baseline))
        return;
    const double ms = r.ms.at(name);
    const double ratio = ms / r.ms.at(baseline);
    std::cout << name << ": " << ms << " ms CPU median, " << r.realMs.at(name) << " ms wall; " << ratio << "x "
              << baseline;
    if (targetMs > 0)
        std::cout << " (target < " << targetMs << " ms) " << (ms < targetMs ? "MET" : "MISSED");
    if (targetRatio > 0)
        std::cout << " (target <= " << targetRatio << "x) " << (ratio <= targetRatio ? "MET" : "MISSED");
    std::cout << "\n";
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    prepare();
    kdbench::Initialize(&argc, argv);
    kdbench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::cout << "\n";
    verdict(reporter, "BM_ModelFilled", 0, 1.5);
    verdict(reporter, "BM_ChooserReady", 1000, 0);
    verdict(reporter, "BM_SelectUser", 20, 0);
    g_speech.reset();
    foundation::DatabaseSession::instance().DisconnectFromSQL();
    std::error_code ec;
    std::filesystem::remove_all(g_temporary, ec);
    return 0;
}
