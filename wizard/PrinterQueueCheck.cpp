#include "PrinterQueueCheck.h"

#include "DatabaseSession.h"

#include <algorithm>
#include <cctype>
#include <set>

namespace wizard {

namespace {

std::string folded(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    std::string s = text.substr(first, text.find_last_not_of(" \t") - first + 1);
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

} // namespace

std::optional<std::vector<PrinterQueueProblem>>
ReadPrinterQueueProblems(const std::vector<std::string>& workstationQueues) {
    std::set<std::string> known;
    for (const auto& q : workstationQueues)
        known.insert(folded(q));
    auto& s = foundation::DatabaseSession::instance();
    s.SQLStatement = "SELECT description, print_queue FROM System_printers ORDER BY description";
    if (s.ExecSQL() != 1)
        return std::nullopt;
    std::vector<PrinterQueueProblem> problems;
    while (s.FetchRow() == 1) {
        PrinterQueueProblem p{s.GetColumnText(1, 1), s.GetColumnText(2, 1)};
        const std::string queue = folded(p.queue);
        if (queue.empty() || !known.count(queue))
            problems.push_back(std::move(p));
    }
    s.CloseStatement();
    return problems;
}

std::string PrinterQueueWarning(const std::vector<PrinterQueueProblem>& problems) {
    if (problems.empty())
        return {};
    std::string text = problems.size() == 1
                           ? "1 system printer cannot print from this workstation:"
                           : std::to_string(problems.size()) + " system printers cannot print from this workstation:";
    for (size_t i = 0; i < problems.size() && i < kListed; ++i) {
        const auto& p = problems[i];
        text += "\n    " + p.description +
                (folded(p.queue).empty() ? ": no print queue"
                                         : ": the queue " + p.queue + " is not known to this workstation");
    }
    if (problems.size() > kListed)
        text += "\n    and " + std::to_string(problems.size() - kListed) + " more";
    text += "\nSet their queues in the printer list.";
    return text;
}

} // namespace wizard
