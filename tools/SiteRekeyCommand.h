#pragma once

#include <functional>
#include <iosfwd>
#include <string>

namespace tools {

// "kdsite rekey <folder>": the site whose KALDRA.INI is in folder gets its key file if it has none,
// and every stored password is written again under it (suite::SiteRekey). A demo site's own ODBC
// files are used when ODBCSYSINI is not set. Returns the exit status: 0 done, 1 failed (nothing in
// the database changed).
int rekeySite(const std::string& folder, std::ostream& out, std::ostream& err,
              const std::function<bool(long)>& afterBatch = {});

} // namespace tools
