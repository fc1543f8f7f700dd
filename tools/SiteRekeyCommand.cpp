#include "SiteRekeyCommand.h"

#include "SiteDatabase.h"
#include "SiteRekey.h"

#include <ostream>

namespace tools {

int rekeySite(const std::string& folder, std::ostream& out, std::ostream& err,
              const std::function<bool(long)>& afterBatch) {
    suite::SuiteConnection db;
    const auto site = openSiteDatabase(folder, true, db, err);
    if (!site)
        return 1;
    const auto report = suite::SiteRekey::Run(db, site->ini, site->key.key, afterBatch);
    if (!report.ok) {
        err << "kdsite: re-keying failed: " << report.error << "\n";
        return 1;
    }
    out << "Site re-keyed with " << site->key.path << ": " << report.summary() << "\n";
    return 0;
}

} // namespace tools
