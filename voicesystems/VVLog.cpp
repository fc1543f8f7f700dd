#include "VVLog.h"

#include "EventLog.h"
#include "Utf8.h"

#include <vector>

namespace voicesystems {

void VVLog(int type, int severity, long eventNbr, long accountId, const std::string& text) {
    constexpr size_t kColumn = 100;
    std::vector<std::string> pieces;
    std::string rest = text;
    while (!rest.empty() && pieces.size() < 5) {
        const size_t cut = platform::utf8Offset(rest, kColumn);
        pieces.push_back(rest.substr(0, cut));
        rest = rest.substr(cut);
    }
    if (pieces.empty())
        pieces.emplace_back();
    const std::string first = pieces.front();
    pieces.erase(pieces.begin());
    foundation::EventLog::LogEvent(foundation::EventLog::SystemLog, type, severity, eventNbr, 0, 0, 0, 0, 0, accountId,
                                   0, first, pieces);
}

} // namespace voicesystems
