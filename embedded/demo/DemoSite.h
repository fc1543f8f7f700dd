#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace demo {

// Demo credentials, documented in docs/demo-site.md.
inline constexpr const char* kAdministrator = "ADMINISTRATOR";
inline constexpr const char* kAdministratorPassword = "demo";
inline constexpr const char* kSqlLogin = "kdadmin";
inline constexpr const char* kSqlPassword = "kdadmin-demo";
inline constexpr const char* kDataSource = "KALDRA";
inline constexpr const char* kDatabase = "KALDRA";
// The linked voice system's database, its data source, SQL login and facility administrator.
inline constexpr const char* kVoiceDatabase = "VOICE";
inline constexpr const char* kVoiceDataSource = "VELTRAVOICE";
inline constexpr const char* kVoiceSqlLogin = "vvlink";
inline constexpr const char* kVoiceSqlPassword = "vvlink-demo";
inline constexpr long kVoiceAdminUser = 1;
inline constexpr long kVoiceAdminFacility = 99;
inline constexpr const char* kVoiceAdminPassword = "voice-demo";

struct SiteReport {
    double seconds = 0;
    std::uintmax_t databaseBytes = 0;
};

// Creates a complete demo installation in folder: the network-root tree, KALDRA.INI, the ODBC
// files registering the driver and the data source, the registry store, and the site database
// with msdb and the standard report database beside it. The folder must be empty or an earlier
// demo site (it carries a marker file); it is emptied first, and nothing outside it is touched.
// Throws std::runtime_error when something cannot be created.
SiteReport createDemoSite(const std::string& folder, const std::string& driverPath);

// Creates the site of a new installation in folder, laid out as the demo site (network root, local
// root, KALDRA.INI, ODBC files, settings store, the site's password key file and the standard
// report database) but with the schema's base rows and the built-in users only: no account, no
// other user, no printer, no physician. ADMINISTRATOR (password "demo") holds every system
// privilege and is shown the configuration wizard at log-in. Same folder rules and errors as
// createDemoSite.
SiteReport createNewSite(const std::string& folder, const std::string& driverPath);

// What the standard report database holds, in rows of the standard account (1): report types,
// their outputs and report fields spread over the types in turn, the custom fields above 200 (the
// standard fields 1 to 30 are always there) and printers, each with its originals row. Every report
// type is also a template row (account -1), which the install does not copy.
struct StandardContent {
    int reportTypes = 8;
    int outputs = 11;
    int fields = 40;
    int customFields = 4;
    int printers = 3;
};

// The standard report database a new site's first account is configured from, written as
// K2STANDARD_DB.MDF in the formats folder; scratch is a folder for the file while it is made.
void createStandardDatabase(const std::filesystem::path& formats, const std::filesystem::path& scratch,
                            const StandardContent& content = {});

struct ScaleOptions {
    unsigned seed = 1;
    int users = 50000; // users and groups
    int physicians = 20000;
    int accounts = 500;
    int reportTypes = 50;
    int logRows = 1000000;
    int logRowsOnOneDay = 100000;
    int outputRows = 1000000;
};

// Grows the demo site's database to a large site's size, deterministically from the seed.
SiteReport scaleDemoSite(const std::string& folder, const ScaleOptions& options);

} // namespace demo
