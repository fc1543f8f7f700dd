#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace printers {

class clsPrinters;

// One paper tray of a workstation queue as a printer definition names it: the bin code written to
// the bin columns, its text ("Upper Paper Tray", or "Bin: n" for a tray of the queue's own) and the
// name the queue gives the tray.
struct clsPrinterTray {
    int m_intCode = 0;
    std::string m_strText;
    std::string m_strQueueName;
    std::string m_strKeyword; // the source as the scheduler names it in a job ("top", "tray-5")
};

// The bin code of a paper source known by its IPP keyword: the named sources of the bin table
// ("top" is the Upper Paper Tray, "manual" the Manual Paper Feed, ...); -1 for a source of the
// queue's own.
int BinCodeOfSource(const std::string& keyword);
// A queue's sources as trays, in the queue's order. Named sources keep their table code; the
// queue's own sources are numbered from kFirstQueueBin in the order the queue lists them, so the
// same queue always gives a tray the same code.
std::vector<clsPrinterTray> TraysOfSources(const std::vector<std::pair<std::string, std::string>>& keywordAndName);
inline constexpr int kFirstQueueBin = 16; // after the last named source, 15 "Form Source"

// The tray names of the workstation's queues that the system printers print on, read at start-up
// for the printer screens, and read on demand for a queue typed later.
class clsPrinterTrays {
public:
    // The trays of every queue a system printer names; returns how many of those queues the
    // workstation has.
    int LoadTrayNames(const clsPrinters& printers);
    // The queue's trays; nothing when the workstation has no such queue (read when not yet known).
    const std::optional<std::vector<clsPrinterTray>>& Trays(const std::string& queue);
    // The bins the printer editor offers for a queue: "Automatically Select" and the queue's trays,
    // or the whole bin table when the workstation does not know the queue or it names no tray.
    std::vector<std::pair<int, std::string>> BinChoices(const std::string& queue);
    // The paper source a job asks for to print from the bin on the queue; nothing for "Automatically
    // Select" and for a bin the queue does not have, so the queue picks its own.
    std::optional<std::string> SourceOfBin(const std::string& queue, int binCode);
    // Whether the queue was read already (at start-up or since).
    [[nodiscard]] bool Read(const std::string& queue) const { return m_colQueues.count(queue) != 0; }
    void Clear() { m_colQueues.clear(); }

private:
    std::map<std::string, std::optional<std::vector<clsPrinterTray>>> m_colQueues;
};

// The program's tray names, read at start-up.
clsPrinterTrays& PrinterTrays();

} // namespace printers
