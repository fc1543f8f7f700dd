#include "SiteRekeyCommand.h"

#include "PrivateProfile.h"
#include "SiteKey.h"
#include "SiteRekey.h"
#include "SuiteConnection.h"

#include <cstdlib>
#include <filesystem>
#include <ostream>

namespace tools {

namespace fs = std::filesystem;

int rekeySite(const std::string& folder, std::ostream& out, std::ostream& err,
              const std::function<bool(long)>& afterBatch) {
    const fs::path root = fs::absolute(folder).lexically_normal();
    const std::string ini = (root / "KALDRA.INI").string();
    if (!fs::is_regular_file(ini)) {
        err << "kdsite: " << ini << " does not exist\n";
        return 1;
    }
    auto setting = [&](const char* section, const char* key) {
        return platform::PrivateProfile::read(section, key, "", ini, 1024);
    };
    std::string networkRoot = setting("System", "NetworkRootDir");
    if (networkRoot.empty())
        networkRoot = root.string();
    if (!std::getenv("ODBCSYSINI") && fs::is_regular_file(root / "odbc" / "odbcinst.ini"))
        ::setenv("ODBCSYSINI", (root / "odbc").c_str(), 1);

    const auto key = suite::SiteKey::LoadOrCreate(suite::SiteKey::PathUnder(networkRoot));
    if (!key.ok()) {
        err << "kdsite: " << key.message << "\n";
        return 1;
    }
    std::string password;
    const std::string stored = setting("System", "Password");
    if (!stored.empty()) {
        password = suite::PasswordCipher::decryptWith(key.key, stored);
        if (password == suite::PasswordCipher::kFailure) {
            err << "kdsite: the SQL Server password in " << ini << " cannot be read with the site's key\n";
            return 1;
        }
    }
    const std::string dsn = setting("System", "ODBCSource");
    std::string user = setting("System", "User");
    if (user.empty())
        user = "sa";
    // The server and database named directly when the file names both, else its data source.
    const std::string server = setting("System", "Server"), database = setting("System", "Database");
    const std::string connection =
        (!server.empty() && !database.empty() ? "Driver={SQL Server};Server=" + server + ";Database=" + database
                                              : "DSN=" + dsn) +
        ";UID=" + user + ";PWD=" + password + ";APP=KDSITE";
    suite::SuiteConnection db;
    if (!db.open(connection)) {
        err << "kdsite: cannot connect to the site's database: " << db.lastError() << "\n";
        return 1;
    }
    const auto report = suite::SiteRekey::Run(db, ini, key.key, afterBatch);
    if (!report.ok) {
        err << "kdsite: re-keying failed: " << report.error << "\n";
        return 1;
    }
    out << "Site re-keyed with " << key.path << ": " << report.summary() << "\n";
    return 0;
}

} // namespace tools
