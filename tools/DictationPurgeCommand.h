#pragma once

#include <iosfwd>
#include <string>

namespace tools {

// "kdsite purge-dictation <folder>": does what the dictation processor does on each pass, running the
// site's dbo.purge_dictation_jobs (written by the console when the purging criteria are saved), and
// tells how many completed jobs it queued. Returns the exit status: 0 done, 1 failed (the site has no
// such procedure, or it could not be reached or run).
int purgeDictationJobs(const std::string& folder, std::ostream& out, std::ostream& err);

} // namespace tools
