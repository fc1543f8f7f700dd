#pragma once

#include <iosfwd>
#include <string>

namespace tools {

// The demo's dictation purging as on a site that has run a while: its criteria saved once through the
// console's own record (the purge procedure written and granted, the change logged) and one pass of
// the dictation processor run, so the purge queue holds the jobs the rules select. Returns the exit
// status: 0 done, 1 failed (with the reason written to err).
int fillDemoPurgeQueue(const std::string& folder, std::ostream& out, std::ostream& err);

} // namespace tools
