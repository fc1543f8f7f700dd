#pragma once

#include <optional>
#include <string>
#include <vector>

namespace wizard {

// A system printer that cannot print from this workstation as it stands: its queue is blank (as the
// standard configuration leaves every queue) or names a queue this workstation's CUPS does not know.
struct PrinterQueueProblem {
    std::string description;
    std::string queue; // blank: the printer has none
};

// The system printers whose queue is blank or not one of workstationQueues, in description order.
// Queue names compare without regard to case and surrounding blanks, as CUPS compares them. nullopt
// when the read failed (the error was shown).
std::optional<std::vector<PrinterQueueProblem>>
ReadPrinterQueueProblems(const std::vector<std::string>& workstationQueues);

// The warning shown with the printers' mark: one line per printer, the first kListed of them.
std::string PrinterQueueWarning(const std::vector<PrinterQueueProblem>& problems);
constexpr size_t kListed = 8;

} // namespace wizard
