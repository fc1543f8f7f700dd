#include "clsPrinterTrays.h"

#include "PrintQueues.h"
#include "PrinterText.h"
#include "clsPrinters.h"

#include <set>

namespace printers {

namespace {

// The IPP names of the paper sources the bin table names. A driver's "Cassette" tray is the
// scheduler's "main" source, its "EnvManual" tray "env-manual".
const std::map<std::string, int>& namedSources() {
    static const std::map<std::string, int> codes = {
        {"top", 1},           {"bottom", 2},          {"middle", 3}, {"manual", 4},       {"envelope", 5},
        {"env-manual", 6},    {"manual-envelope", 6}, {"auto", 7},   {"tractor", 8},      {"small-format", 9},
        {"large-format", 10}, {"large-capacity", 11}, {"main", 14},  {"form-source", 15},
    };
    return codes;
}

} // namespace

int BinCodeOfSource(const std::string& keyword) {
    const auto it = namedSources().find(keyword);
    return it == namedSources().end() ? -1 : it->second;
}

std::vector<clsPrinterTray> TraysOfSources(const std::vector<std::pair<std::string, std::string>>& keywordAndName) {
    std::vector<clsPrinterTray> trays;
    std::set<int> taken;
    int next = kFirstQueueBin;
    for (const auto& [keyword, name] : keywordAndName) {
        int code = BinCodeOfSource(keyword);
        if (code < 0)
            code = next++;
        // Bin columns hold one byte; a queue with more sources of its own than that keeps the first.
        if (code > 255 || !taken.insert(code).second)
            continue;
        trays.push_back({code, BinText(code), name, keyword});
    }
    return trays;
}

clsPrinterTrays& PrinterTrays() {
    static clsPrinterTrays trays;
    return trays;
}

const std::optional<std::vector<clsPrinterTray>>& clsPrinterTrays::Trays(const std::string& queue) {
    const auto known = m_colQueues.find(queue);
    if (known != m_colQueues.end())
        return known->second;
    std::optional<std::vector<clsPrinterTray>> trays;
    if (const auto sources = platform::PrintQueues::Sources(queue)) {
        std::vector<std::pair<std::string, std::string>> named;
        for (const auto& s : *sources)
            named.emplace_back(s.keyword, s.name);
        trays = TraysOfSources(named);
    }
    return m_colQueues.emplace(queue, std::move(trays)).first->second;
}

std::optional<std::string> clsPrinterTrays::SourceOfBin(const std::string& queue, int binCode) {
    const auto& trays = Trays(queue);
    if (!trays || binCode == 0)
        return std::nullopt;
    for (const auto& t : *trays)
        if (t.m_intCode == binCode)
            return t.m_strKeyword;
    return std::nullopt;
}

int clsPrinterTrays::LoadTrayNames(const clsPrinters& printers) {
    m_colQueues.clear();
    int found = 0;
    for (const auto& p : printers.Printers())
        if (!p.m_strPrintQueue.empty() && !m_colQueues.count(p.m_strPrintQueue) && Trays(p.m_strPrintQueue))
            ++found;
    return found;
}

std::vector<std::pair<int, std::string>> clsPrinterTrays::BinChoices(const std::string& queue) {
    const auto& trays = Trays(queue);
    if (!trays || trays->empty())
        return PaperBinNames();
    std::vector<std::pair<int, std::string>> choices = {PaperBinNames().front()};
    for (const auto& t : *trays)
        if (t.m_intCode != choices.front().first)
            choices.emplace_back(t.m_intCode, t.m_strText);
    return choices;
}

} // namespace printers
