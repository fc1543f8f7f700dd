#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace platform {

// The workstation's print queues as the CUPS scheduler describes them: what Qt's print support
// does not tell (the paper sources of a queue, the page where the queue is configured).
class PrintQueues {
public:
    // One paper source of a queue: its IPP keyword ("top", "manual", "tray-5", ...) and the name the
    // queue gives it (the keyword itself when the queue has no name for it).
    struct Source {
        std::string keyword;
        std::string name;
    };

    // The queue's paper sources in the queue's own order, each once; an empty list when the queue
    // names none (a raw queue). Nothing when the workstation has no queue of that name.
    static std::optional<std::vector<Source>> Sources(const std::string& queue);

    // The address of the queue's page on its scheduler's web interface, where its driver, paper
    // sources and defaults are set. Nothing when the workstation has no queue of that name.
    static std::optional<std::string> ConfigurationPage(const std::string& queue);

    // Sends a file (a PDF) to the queue as one job with the given job options ("media-source" and
    // the like, as IPP names them). The job's id, or 0 when the scheduler refused it.
    static int PrintFile(const std::string& queue, const std::string& file, const std::string& title,
                         const std::vector<std::pair<std::string, std::string>>& options);
    // One attribute of a job of the queue as the scheduler keeps it (its first value as text);
    // nothing when the job or the attribute is unknown.
    static std::optional<std::string> JobAttribute(int jobId, const std::string& name);
};

} // namespace platform
