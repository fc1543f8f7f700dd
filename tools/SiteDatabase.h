#pragma once

#include "SiteKey.h"
#include "SuiteConnection.h"

#include <iosfwd>
#include <optional>
#include <string>

namespace tools {

// A site's database as kdsite's commands reach it: through the site's KALDRA.INI (the server and
// database when it names both, else its data source), with the SQL password read under the site's key.
struct SiteDatabase {
    std::string ini;
    suite::SiteKey::Result key;
};

// Opens db on the site in folder. A demo site's own ODBC files are used when ODBCSYSINI is not set.
// createKey: a site without a key file gets one (re-keying); otherwise a missing key is an error.
// nullopt when it cannot, with the reason written to err.
std::optional<SiteDatabase> openSiteDatabase(const std::string& folder, bool createKey, suite::SuiteConnection& db,
                                             std::ostream& err);

} // namespace tools
