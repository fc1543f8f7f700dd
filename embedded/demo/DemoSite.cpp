#include "DemoSite.h"

#include "PasswordCipher.h"
#include "Schema.h"
#include "Session.h"
#include "SiteKey.h"
#include "VoiceServices.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace demo {

std::string_view demoScript();    // demo.sql, compiled in
std::string_view newSiteScript(); // newsite.sql, compiled in

namespace fs = std::filesystem;

namespace {

constexpr const char* kMarker = ".kdadmin-demo-site";

void run(tsql::Session& s, std::string_view script, const char* what) {
    auto errors = suite::runScript(s, script);
    if (!errors.empty())
        throw std::runtime_error(std::string(what) + ": " + errors.front());
}

// Replaces {{PASSWORD:text}} by the login component's stored form of text.
std::string withPasswords(std::string_view script, const suite::PasswordCipher::Key& key) {
    std::string out;
    size_t pos = 0;
    const std::string open = "{{PASSWORD:";
    for (;;) {
        size_t at = script.find(open, pos);
        if (at == std::string_view::npos) {
            out.append(script.substr(pos));
            return out;
        }
        size_t close = script.find("}}", at);
        out.append(script.substr(pos, at - pos));
        std::string plain(script.substr(at + open.size(), close - at - open.size()));
        out += suite::PasswordCipher::encryptWith(key, plain);
        pos = close + 2;
    }
}

void write(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out << text;
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

void prepareFolder(const fs::path& root) {
    if (fs::exists(root)) {
        bool empty = fs::is_directory(root) && fs::directory_iterator(root) == fs::directory_iterator();
        if (!empty && !fs::exists(root / kMarker))
            throw std::runtime_error(root.string() + " is not empty and is not a demo site; choose another folder");
        for (const auto& entry : fs::directory_iterator(root))
            fs::remove_all(entry.path());
    }
    fs::create_directories(root);
    write(root / kMarker, "This folder holds a KDADMIN demo site; creating the demo again replaces it.\n");
}

std::string kaldraIni(const fs::path& root, const suite::PasswordCipher::Key& key) {
    const std::string sqlPassword = suite::PasswordCipher::encryptWith(key, kSqlPassword);
    const std::string updaterPassword = suite::PasswordCipher::encryptWith(key, "update");
    return "[System]\n"
           "NetworkRootDir=" +
           root.string() +
           "\n"
           "TerminalServerUserRootDir=\n"
           "Server=" +
           (root / "SQL").string() +
           "\n"
           "Database=" +
           kDatabase +
           "\n"
           "SoftwareVersion=8.1.0\n"
           "Password=" +
           sqlPassword +
           "\n"
           "ODBCSource=" +
           kDataSource +
           "\n"
           "User=" +
           kSqlLogin +
           "\n"
           "Paxlet=YES\n"
           "K2Dictation=YES\n"
           "InteractiveRecognition=NO\n"
           "VoiceToText=YES\n"
           "TrackCompletedHISReports=NO\n"
           "DefaultPrintServer=PRINTSRV01\n"
           "HideLastUser=NO\n"
           "BrandType=1\n"
           "CombinedInterfaceDB=True\n"
           "\n[ImportEngine]\n"
           "OfflineUpdateFrequency=10\n"
           "\n[AdminDesktop]\n"
           "PasswordMsgTemplate=" +
           (root / "KALDRA" / "SYSTEM" / "PWDMSG.TXT").string() +
           "\n"
           "ExtendedProfile=YES\n"
           "AllowSettingSignaturePassword=YES\n"
           "SkipBackupCheck=NO\n"
           "LogDebug=NO\n"
           "LogSQL=NO\n"
           "LogSize=10\n"
           "DisableVVPing=True\n"
           "\n[VeltraExpert]\n"
           "CriticalFindingsSystem=\n"
           "\n[Updater]\n"
           "UserName=updater\n"
           "Password=" +
           updaterPassword +
           "\n"
           "Timeout=60\n";
}

// unixODBC configuration (the driver as "SQL Server" and the site's data sources, with the linked
// voice system's when there is one), the workstation's settings store (machine and user hives as
// INI files) and the environment file the console is started with.
void writeWorkstationFiles(const fs::path& root, const std::string& driverPath, bool voiceSystem) {
    const fs::path sql = root / "SQL";
    write(root / "odbc" / "odbcinst.ini", "[SQL Server]\nDescription=Embedded SQL Server (KDADMIN demo)\nDriver=" +
                                              driverPath + "\nSetup=" + driverPath + "\nThreading=0\n");
    std::string sources = std::string("[") + kDataSource + "]\nDriver=SQL Server\nServer=" + sql.string() +
                          "\nDatabase=" + kDatabase + "\n";
    if (voiceSystem)
        sources += std::string("\n[") + kVoiceDataSource + "]\nDriver=SQL Server\nServer=" + sql.string() +
                   "\nDatabase=" + kVoiceDatabase + "\n";
    write(root / "odbc" / "odbc.ini", sources);

    const std::string product = "SOFTWARE\\Corvane and Company\\Tessaly Report 2.0 for Windows\\2.0";
    write(root / "registry" / "machine.ini", "[" + product + "]\nLocalRootDir=" + (root / "local").string() +
                                                 "\nRemoteOnline=NO\nTerminalServerSupport=NO\n");
    write(root / "registry" / "user.ini", "[" + product + "]\n");
    write(root / "demo.env", "export ODBCSYSINI=\"" + (root / "odbc").string() +
                                 "\"\nexport KDADMIN_REGISTRY_MACHINE=\"" +
                                 (root / "registry" / "machine.ini").string() + "\"\nexport KDADMIN_REGISTRY_USER=\"" +
                                 (root / "registry" / "user.ini").string() + "\"\n");
}

// The folders every site has under the network root and the workstation's local root.
void createSiteFolders(const fs::path& root) {
    for (const char* sub : {"SYSTEM", "LOG/KDADMIN", "ROUTINES", "PROMPTS", "IMPORT", "TEMP", "INSTALL/FORMATS"})
        fs::create_directories(root / "KALDRA" / sub);
    for (const char* sub : {"KALDRA/LOG/KDADMIN", "KALDRA/TEMP", "KALDRA/SYSTEM"})
        fs::create_directories(root / "local" / sub);
}

// The remote voice system of the demo: its administrator, the SQL login the definition uses, and
// Wei Chen (physician 3, account 6 is linked to facility 1) and Robert Adams (physician 1, with
// speech recognition, a member of all accounts) already users there. The administrator
// sits in a facility no account links to: a physician's remote user id is the physician's id, so an
// administrator with id 1 in facility 1 would be the remote user of physician 1 there.
void createVoiceSystem(const fs::path& sql) {
    auto voice = suite::createVoiceSystemDatabase(sql.string(), kVoiceDatabase);
    const std::string admin =
        suite::VeltraServices::PasswordDigest(kVoiceAdminFacility, kVoiceAdminUser, kVoiceAdminPassword);
    run(*voice,
        "INSERT INTO vv_users (facility, user_id, user_name, password_digest, is_admin) VALUES (" +
            std::to_string(kVoiceAdminFacility) + ", " + std::to_string(kVoiceAdminUser) +
            ", 'Voice Administrator', '" + admin +
            "', 1)\n"
            "INSERT INTO vv_users (facility, user_id, user_name, password_digest, gain, security_group) VALUES (1, 3, "
            "'Chen, Wei', '" +
            suite::VeltraServices::PasswordDigest(1, 3, "chen") +
            "', 2, 0)\n"
            "INSERT INTO vv_users (facility, user_id, user_name, password_digest, gain, security_group) VALUES (1, 1, "
            "'Adams, Robert', '" +
            suite::VeltraServices::PasswordDigest(1, 1, "adams") + "', 0, 0)\n" + "EXEC sp_addlogin '" +
            kVoiceSqlLogin + "', '" + kVoiceSqlPassword + "'",
        "voice system");
}

// The backup history of the last eight nights, made by real backups with the engine's clock pinned
// to each night: full backups eight nights ago and last night, differentials in between. msdb is
// created by the first one, as the server keeps it.
void makeBackupHistory(const fs::path& sql, const fs::path& folder) {
    fs::create_directories(folder);
    tsql::OpenOptions o;
    o.folder = sql.string();
    o.database = kDatabase;
    auto site = tsql::Session::open(o);
    const char* saved = std::getenv("TSQL_ENGINE_NOW");
    const std::string previous = saved ? saved : "";
    const auto today = std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now());
    for (auto [day, full] : {std::pair{8, true}, {5, false}, {3, false}, {1, true}}) {
        const std::chrono::year_month_day date{today - std::chrono::days{day}};
        char stamp[32], name[64];
        std::snprintf(stamp, sizeof stamp, "%04d-%02u-%02u 23:20:00", static_cast<int>(date.year()),
                      static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
        std::snprintf(name, sizeof name, "KALDRA_%04d%02u%02u_%s.bak", static_cast<int>(date.year()),
                      static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()), full ? "FULL" : "DIFF");
        setenv("TSQL_ENGINE_NOW", stamp, 1);
        run(*site,
            "BACKUP DATABASE KALDRA TO DISK = '" + (folder / name).string() + "' WITH INIT" +
                (full ? "" : ", DIFFERENTIAL"),
            "backup history");
    }
    if (saved)
        setenv("TSQL_ENGINE_NOW", previous.c_str(), 1);
    else
        unsetenv("TSQL_ENGINE_NOW");
}

// Files waiting for the import engine, and two it could not process.
void fillImportQueue(const fs::path& import) {
    fs::create_directories(import / "BAD");
    for (int i = 1; i <= 6; ++i)
        write(import / ("JOB" + std::to_string(1000 + i) + ".XML"),
              "<report account=\"1\" job=\"" + std::to_string(1000 + i) + "\"/>\n");
    write(import / "BAD" / "JOB0997.XML", "<report account=\"77\"/>\n");
    write(import / "BAD" / "JOB0998.XML", "truncated");
}

// Lays out a site in root, emptied first: the network-root and local folders, the files every site
// has, the site's password key (made before anything is enciphered with it), KALDRA.INI and the
// workstation files. Returns the key.
suite::PasswordCipher::Key prepareSite(const fs::path& root, const std::string& driverPath, bool voiceSystem) {
    prepareFolder(root);
    const fs::path kaldra = root / "KALDRA";
    createSiteFolders(root);
    write(kaldra / "PROMPTS" / "PROMPT.KDS",
          "; Default report creation prompts\nPROMPT=Patient name\nPROMPT=Medical record number\n");
    write(kaldra / "SYSTEM" / "EnvDefault.doc", "Envelope template (default)\n");
    write(kaldra / "SYSTEM" / "PWDMSG.TXT", "Dear <NAME>,\nyour report e-mail password is <PASSWORD>.\n");
    write(kaldra / "ROUTINES" / "ROUTINES.INI", "[Update]\nLastUpdate=\n");
    const auto siteKey = suite::SiteKey::Create(suite::SiteKey::PathUnder(root.string()));
    if (!siteKey.ok())
        throw std::runtime_error(siteKey.message);
    write(root / "KALDRA.INI", kaldraIni(root, siteKey.key));
    writeWorkstationFiles(root, driverPath, voiceSystem);
    return siteKey.key;
}

// The site database from the suite's schema and script (what names the script in an error), with
// the console's SQL login.
void createSiteDatabase(const fs::path& sql, std::string_view script, const char* what) {
    auto site = suite::createSuiteDatabase(sql.string(), kDatabase);
    run(*site, script, what);
    run(*site, std::string("EXEC sp_addlogin '") + kSqlLogin + "', '" + kSqlPassword + "'", "SQL login");
}

SiteReport reportSince(std::chrono::steady_clock::time_point start, const fs::path& sql) {
    SiteReport report;
    report.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    report.databaseBytes = fs::file_size(tsql::Session::databasePath(sql.string(), kDatabase));
    return report;
}

} // namespace

SiteReport createDemoSite(const std::string& folder, const std::string& driverPath) {
    const auto start = std::chrono::steady_clock::now();
    const fs::path root = fs::absolute(folder).lexically_normal();
    const auto siteKey = prepareSite(root, driverPath, true);

    // What the demo adds to the network-root tree.
    const fs::path kaldra = root / "KALDRA";
    write(kaldra / "PROMPTS" / "RADIOLOGY.KDS", "; Radiology prompts\nPROMPT=Exam\nPROMPT=Accession number\n");
    write(kaldra / "PROMPTS" / "CARDIOLOGY.KDS",
          "; Cardiology prompts\nPROMPT=Procedure\nPROMPT=Referring physician\n");
    write(kaldra / "SYSTEM" / "EnvLetter.doc", "Envelope template (letter)\n");
    // A spreadsheet of new staff for User Management's Import Users: three new users, one who exists
    // already (skipped unless updating is chosen) and one line the preview refuses.
    write(root / "sample-users.csv",
          "User Name,First Name,Last Name,User Type,Partition,User Policy,Groups,Initials,Location Code,"
          "Must Change Password,Password\r\n"
          "AOCONNOR,Amelia,O'Connor,Transcriptionist,North General Hospital,,North Transcription Team,AO,NGH,Yes,\r\n"
          "BMULLER,Bastian,M\xC3\xBCller,General User,North Clinics,,,,,Yes,\r\n"
          "CROSSI,Chiara,\"Rossi, MD\",General User,South Medical Center,Clinical Staff,,,,Yes,\r\n"
          "MJONES,Mary,Jones,Transcriptionist,North General Hospital,,,,,No,\r\n"
          "\"JANE DOE\",Jane,Doe,General User,North Clinics,,,,,Yes,\r\n");
    // Dictation routines (text blocks) of a transcriptionist and of an account of partition 3, so a
    // partition change has something to carry along.
    write(kaldra / "ROUTINES" / "PARTITION3" / "PERSONAL" / "MJONES" / "NORMALCXR.TXT",
          "The lungs are clear. The heart size is normal.\n");
    write(kaldra / "ROUTINES" / "PARTITION3" / "1" / "HPHEADER.TXT", "HISTORY OF PRESENT ILLNESS:\n");

    const fs::path sql = root / "SQL";
    createSiteDatabase(sql, withPasswords(demoScript(), siteKey), "demo data");
    createVoiceSystem(sql);
    makeBackupHistory(sql, kaldra / "BACKUP");
    fillImportQueue(kaldra / "IMPORT");
    createStandardDatabase(kaldra / "INSTALL" / "FORMATS", root / "KALDRA" / "TEMP");

    // The process that made the site goes on working with it, as the console does once started.
    suite::PasswordCipher::UseSiteKey(siteKey);
    return reportSince(start, sql);
}

SiteReport createNewSite(const std::string& folder, const std::string& driverPath) {
    const auto start = std::chrono::steady_clock::now();
    const fs::path root = fs::absolute(folder).lexically_normal();
    const auto siteKey = prepareSite(root, driverPath, false);
    const fs::path kaldra = root / "KALDRA";
    const fs::path sql = root / "SQL";
    createSiteDatabase(sql, withPasswords(newSiteScript(), siteKey), "built-in users");
    createStandardDatabase(kaldra / "INSTALL" / "FORMATS", kaldra / "TEMP");
    suite::PasswordCipher::UseSiteKey(siteKey);
    return reportSince(start, sql);
}

} // namespace demo
