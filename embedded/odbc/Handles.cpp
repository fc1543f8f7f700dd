#include "Handles.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace odbcdrv {

const char* const kDriverPrefix = "[Embedded][SQL Server Driver]";
const char* const kServerPrefix = "[Embedded][SQL Server Driver][SQL Server]";

Stmt::~Stmt() {
    joinWorker();
}

void Stmt::joinWorker() {
    if (worker.joinable()) {
        if (running && dbc && dbc->session)
            dbc->session->interrupt();
        worker.join();
    }
    running = false;
    if (dbc && dbc->asyncOwner.load() == this)
        dbc->asyncOwner = nullptr;
}

void Stmt::closeCursor() {
    result = tsql::BatchResult{};
    item = 0;
    row = -1;
    open = false;
    rowsEnded = false;
    lastColumn = 0;
    columnOffset = 0;
    columnDone = false;
}

Diag driverDiag(const std::string& state3, const std::string& state2, int native, const std::string& text) {
    return Diag{state3, state2, native, std::string(kDriverPrefix) + text};
}

Diag serverDiag(const tsql::Message& m) {
    Diag d;
    d.native = m.number;
    d.text = std::string(kServerPrefix) + m.text;
    if (!m.isError()) {
        d.state3 = d.state2 = "01000";
        return d;
    }
    switch (m.number) {
    case 208:
        d.state3 = "42S02";
        d.state2 = "S0002";
        break;
    case 207:
        d.state3 = "42S22";
        d.state2 = "S0022";
        break;
    case 2627:
    case 2601:
    case 515:
    case 547:
        d.state3 = d.state2 = "23000";
        break;
    case 245:
    case 241:
    case 8114:
        d.state3 = "22018";
        d.state2 = "22005";
        break;
    case 8115:
    case 220:
    case 248:
        d.state3 = d.state2 = "22003";
        break;
    case 8152:
        d.state3 = d.state2 = "22001";
        break;
    case 8134:
        d.state3 = d.state2 = "22012";
        break;
    case 242:
        d.state3 = d.state2 = "22008";
        break;
    case 18456:
        d.state3 = d.state2 = "28000";
        break;
    case 1222:
        d.state3 = "HYT00";
        d.state2 = "S1T00";
        break;
    default:
        d.state3 = "42000";
        d.state2 = "37000";
        break;
    }
    return d;
}

const std::string& stateFor(const Diag& d, int odbcVersion) {
    return odbcVersion >= 3 ? d.state3 : d.state2;
}

namespace {

// Reads the fault file, takes one unit of the named fault if present, and writes the rest back.
std::optional<long> takeFault(const std::string& databasePath, const std::string& name, bool whole) {
    const std::string path = databasePath + ".faults";
    std::error_code ec;
    if (!std::filesystem::exists(path, ec))
        return std::nullopt;
    std::ifstream in(path);
    std::vector<std::pair<std::string, long>> entries;
    std::string line;
    std::optional<long> taken;
    while (std::getline(in, line)) {
        std::istringstream ls(line);
        std::string key;
        long count = 1;
        if (!(ls >> key))
            continue;
        ls >> count;
        if (!taken && key == name && (whole || count > 0)) {
            taken = count;
            count = whole ? 0 : count - 1;
        }
        if (count > 0)
            entries.emplace_back(key, count);
    }
    in.close();
    if (taken) {
        std::ofstream out(path, std::ios::trunc);
        for (const auto& [k, c] : entries)
            out << k << ' ' << c << '\n';
    }
    return taken;
}

} // namespace

bool Faults::takeDropLink(const std::string& databasePath) {
    return takeFault(databasePath, "drop-link", false).has_value();
}
bool Faults::takeRefuseConnect(const std::string& databasePath) {
    return takeFault(databasePath, "refuse-connect", false).has_value();
}
std::optional<long> Faults::takeDropLinkAfter(const std::string& databasePath) {
    return takeFault(databasePath, "drop-link-after", true);
}

bool Faults::takeFailText(const std::string& databasePath, const std::string& sql) {
    const std::string path = databasePath + ".faults";
    std::error_code ec;
    if (!std::filesystem::exists(path, ec))
        return false;
    std::ifstream in(path);
    std::vector<std::string> kept;
    std::string line;
    bool taken = false;
    const std::string key = "fail-text ";
    while (std::getline(in, line)) {
        if (!taken && line.rfind(key, 0) == 0 && sql.find(line.substr(key.size())) != std::string::npos) {
            taken = true;
            continue;
        }
        kept.push_back(line);
    }
    in.close();
    if (taken) {
        std::ofstream out(path, std::ios::trunc);
        for (const auto& k : kept)
            out << k << '\n';
    }
    return taken;
}

} // namespace odbcdrv
