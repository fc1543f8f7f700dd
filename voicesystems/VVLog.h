#pragma once

#include <string>

namespace voicesystems {

// One System_log row for a voice system event; a text longer than a message column continues in
// the next ones (five columns of 100 characters).
void VVLog(int type, int severity, long eventNbr, long accountId, const std::string& text);

} // namespace voicesystems
