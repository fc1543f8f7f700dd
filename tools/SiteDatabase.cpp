#include "SiteDatabase.h"

#include "PrivateProfile.h"

#include <cstdlib>
#include <filesystem>
#include <ostream>

namespace tools {

namespace fs = std::filesystem;

std::optional<SiteDatabase> openSiteDatabase(const std::string& folder, bool createKey, suite::SuiteConnection& db,
                                             std::ostream& err) {
    const fs::path root = fs::absolute(folder).lexically_normal();
    SiteDatabase site;
    site.ini = (root / "KALDRA.INI").string();
    if (!fs::is_regular_file(site.ini)) {
        err << "kdsite: " << site.ini << " does not exist\n";
        return std::nullopt;
    }
    auto setting = [&](const char* section, const char* key) {
        return platform::PrivateProfile::read(section, key, "", site.ini, 1024);
    };
    std::string networkRoot = setting("System", "NetworkRootDir");
    if (networkRoot.empty())
        networkRoot = root.string();
    if (!std::getenv("ODBCSYSINI") && fs::is_regular_file(root / "odbc" / "odbcinst.ini"))
        ::setenv("ODBCSYSINI", (root / "odbc").c_str(), 1);

    const std::string keyPath = suite::SiteKey::PathUnder(networkRoot);
    site.key = createKey ? suite::SiteKey::LoadOrCreate(keyPath) : suite::SiteKey::Load(keyPath);
    if (!site.key.ok()) {
        err << "kdsite: " << site.key.message << "\n";
        return std::nullopt;
    }
    std::string password;
    const std::string stored = setting("System", "Password");
    if (!stored.empty()) {
        password = suite::PasswordCipher::decryptWith(site.key.key, stored);
        if (password == suite::PasswordCipher::kFailure) {
            err << "kdsite: the SQL Server password in " << site.ini << " cannot be read with the site's key\n";
            return std::nullopt;
        }
    }
    const std::string dsn = setting("System", "ODBCSource");
    std::string user = setting("System", "User");
    if (user.empty())
        user = "sa";
    const std::string server = setting("System", "Server"), database = setting("System", "Database");
    const std::string connection =
        (!server.empty() && !database.empty() ? "Driver={SQL Server};Server=" + server + ";Database=" + database
                                              : "DSN=" + dsn) +
        ";UID=" + user + ";PWD=" + password + ";APP=KDSITE";
    if (!db.open(connection)) {
        err << "kdsite: cannot connect to the site's database: " << db.lastError() << "\n";
        return std::nullopt;
    }
    return site;
}

} // namespace tools
