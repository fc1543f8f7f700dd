#include "DemoDictationPurge.h"

#include "DatabaseSession.h"
#include "DemoSite.h"
#include "DictationPurgeCommand.h"
#include "clsDictationPurgings.h"

#include <cstdlib>
#include <filesystem>
#include <ostream>

namespace tools {

int fillDemoPurgeQueue(const std::string& folder, std::ostream& out, std::ostream& err) {
    const std::filesystem::path root = std::filesystem::absolute(folder).lexically_normal();
    if (!std::getenv("ODBCSYSINI"))
        ::setenv("ODBCSYSINI", (root / "odbc").c_str(), 1);
    auto& s = foundation::DatabaseSession::instance();
    s.UseDriverConnect = true;
    s.ServerName = (root / "SQL").string();
    s.DatabaseName = demo::kDatabase;
    s.LoginName = demo::kSqlLogin;
    s.Password = demo::kSqlPassword;
    if (!s.ConnectToSQL()) {
        err << "kdsite: cannot connect to the demo's database to save its dictation purging criteria\n";
        return 1;
    }
    maintenance::clsDictationPurgings criteria;
    const bool saved = criteria.Load() && criteria.Save(criteria.DateType(), demo::kAdministrator);
    s.DisconnectFromSQL();
    if (!saved) {
        err << "kdsite: the demo's dictation purging criteria could not be saved\n";
        return 1;
    }
    return purgeDictationJobs(root.string(), out, err);
}

} // namespace tools
