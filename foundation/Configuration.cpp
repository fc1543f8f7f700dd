#include "Configuration.h"

#include "DatabaseSession.h"
#include "MessageService.h"
#include "PasswordCipher.h"
#include "PrivateProfile.h"
#include "Registry.h"
#include "SiteKey.h"
#include "Text.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>

namespace foundation {

namespace fs = std::filesystem;
using platform::MsgBox;
using platform::MsgButtons;
using platform::MsgIcon;

namespace {

constexpr const char* kProductKey = "SOFTWARE\\Corvane and Company\\Tessaly Report 2.0 for Windows\\2.0";

std::string upper(const std::string& s) {
    return upperText(s);
}
std::string trim(const std::string& s) {
    return trimText(s);
}

// A folder setting loses its trailing separator, whichever way it is written.
std::string withoutTrailingSeparator(std::string s) {
    while (s.size() > 1 && (s.back() == '\\' || s.back() == '/'))
        s.pop_back();
    return s;
}

} // namespace

Configuration& Configuration::instance() {
    static Configuration c;
    return c;
}

bool Configuration::AffermativeValue(const std::string& text) {
    std::string t = upper(trim(text));
    if (t.empty())
        return false;
    return std::string(" Y YES ENABLE ENABLED TRUE ON ").find(" " + t + " ") != std::string::npos;
}

bool Configuration::LocateKaldraINI(const std::vector<std::string>& args, const std::string& currentDir,
                                    const std::string& programDir) {
    for (const auto& a : args) {
        if (upper(a).rfind("/INI", 0) == 0) {
            size_t eq = a.find('=');
            std::string path = eq == std::string::npos ? std::string() : a.substr(eq + 1);
            if (!path.empty() && fs::is_regular_file(path)) {
                iniPath = path;
                return true;
            }
        }
    }
    for (const auto& dir : {currentDir, programDir}) {
        fs::path candidate = fs::path(withoutTrailingSeparator(dir)) / "KALDRA.INI";
        if (!dir.empty() && fs::is_regular_file(candidate)) {
            iniPath = candidate.string();
            return true;
        }
    }
    MsgBox("The KALDRA.INI configuration file could not be located.  Contact your system administrator.",
           MsgButtons::OK, MsgIcon::Critical, applicationTitle);
    return false;
}

bool Configuration::ReadKaldraINI() {
    auto key = [&](const char* section, const char* name, const char* def = "") {
        return trim(platform::PrivateProfile::read(section, name, def, iniPath));
    };
    auto fail = [&](const std::string& message, const std::string& title) {
        MsgBox(message, MsgButtons::OK, MsgIcon::Critical, title);
        return false;
    };

    networkRootDir = withoutTrailingSeparator(key("System", "NetworkRootDir"));
    if (networkRootDir.empty())
        return fail("Error - NetworkRootDir was not specified in the KALDRA.INI Configuration file.", applicationTitle);
    // The password key before the SQL password, which is enciphered with it.
    {
        const auto siteKey = suite::SiteKey::Load(suite::SiteKey::PathUnder(networkRootDir));
        siteKeyPath = siteKey.path;
        siteKeyMissing = siteKey.status == suite::SiteKey::Status::Missing;
        if (siteKey.status == suite::SiteKey::Status::Refused) {
            suite::PasswordCipher::UseOldKeyOnly();
            return fail(siteKey.message + " The program cannot proceed.", "Initialization Error");
        }
        if (siteKey.ok())
            suite::PasswordCipher::UseSiteKey(siteKey.key);
        else
            suite::PasswordCipher::UseOldKeyOnly();
    }
    terminalServerUserRootDir = withoutTrailingSeparator(key("System", "TerminalServerUserRootDir"));
    serverName = key("System", "Server");
    softwareVersion = key("System", "SoftwareVersion", "2.0.0");
    offlineUpdateFrequency = key("ImportEngine", "OfflineUpdateFrequency", "10");
    databaseName = key("System", "Database");
    passwordMsgTemplate = key("AdminDesktop", "PasswordMsgTemplate");
    const std::string stored = key("System", "Password");
    sqlPassword.clear();
    if (!stored.empty()) {
        sqlPassword = suite::PasswordCipher::decrypt(stored);
        if (sqlPassword == suite::PasswordCipher::kFailure) {
            sqlPassword.clear();
            return fail("The SQL Server password in the KALDRA.INI file is corrupt. The program cannot proceed.",
                        "Initialization Error");
        }
    }
    dataSourceName = key("System", "ODBCSource");
    useDriverConnect = !DatabaseSession::DSNExists(dataSourceName);
    if (useDriverConnect) {
        if (serverName.empty())
            return fail("Error - Server was not specified in the KALDRA.INI Configuration file.", applicationTitle);
        if (databaseName.empty())
            return fail("Error - Database was not specified in the KALDRA.INI Configuration file.", applicationTitle);
    }
    sqlUserName = key("System", "User", "sa");
    paxlet = AffermativeValue(key("System", "Paxlet", "NO"));
    k2Dictation = AffermativeValue(key("System", "K2Dictation", "NO"));
    interactiveRecognition = AffermativeValue(key("System", "InteractiveRecognition", "NO"));
    voiceToText = AffermativeValue(key("System", "VoiceToText", "NO"));
    trackCompletedHISReports = AffermativeValue(key("System", "TrackCompletedHISReports", "NO"));
    defaultPrintServer = key("System", "DefaultPrintServer");
    hideLastUser = AffermativeValue(key("System", "HideLastUser", "NO"));
    combinedInterfaceDB = AffermativeValue(key("System", "CombinedInterfaceDB", "False"));
    brandType = key("System", "BrandType", "0");
    extendedProfile = AffermativeValue(key("AdminDesktop", "ExtendedProfile", "YES"));
    allowSettingSignaturePassword = AffermativeValue(key("AdminDesktop", "AllowSettingSignaturePassword", "YES"));
    allowGeneralUsers = AffermativeValue(key("AdminDesktop", "AllowGeneralUsers", "YES"));
    skipBackupCheck = AffermativeValue(key("AdminDesktop", "SkipBackupCheck", "NO"));
    logDebug = AffermativeValue(key("AdminDesktop", "LogDebug", "NO"));
    logSQL = AffermativeValue(key("AdminDesktop", "LogSQL", "NO"));
    {
        std::string size = key("AdminDesktop", "LogSize", "10");
        char* end = nullptr;
        long v = std::strtol(size.c_str(), &end, 10);
        logSize = (size.empty() || *end != '\0' || v <= 0) ? 10 : v;
    }
    disableVVPing = AffermativeValue(key("AdminDesktop", "DisableVVPing", "False"));
    criticalFindingsSystem = key("VeltraExpert", "CriticalFindingsSystem");
    criticalFindings = upper(criticalFindingsSystem) == "ALERTLINK" || upper(criticalFindingsSystem) == "CRITICOM";

    logFolder =
        (fs::path(remoteOnline && !localRootDir.empty() ? localRootDir : networkRootDir) / "KALDRA" / "LOG" / "KDADMIN")
            .string();
    std::error_code ec;
    fs::create_directories(logFolder, ec);

    auto& session = DatabaseSession::instance();
    session.ServerName = serverName;
    session.DatabaseName = databaseName;
    session.DataSourceName = dataSourceName;
    session.LoginName = sqlUserName;
    session.Password = sqlPassword;
    session.UseDriverConnect = useDriverConnect;
    iniRead = true;
    return true;
}

void Configuration::ReadRegistry() {
    using platform::Registry;
    auto value = [](const char* name) {
        return trim(Registry::read(Registry::Hive::LocalMachine, kProductKey, name).value_or(""));
    };
    localRootDir = withoutTrailingSeparator(value("LocalRootDir"));
    if (localRootDir.empty()) {
        // The workstation's local root: the home folder stands in for "C:".
        const char* home = std::getenv("HOME");
        localRootDir = home && *home ? home : ".";
    }
    const std::string remote = upper(value("RemoteOnline"));
    remoteOnline = remote == "YES" || remote == "TRUE";
    const std::string ts = upper(value("TerminalServerSupport"));
    terminalServerSupport = ts == "YES" || ts == "TRUE";
    incUserPresent = fs::exists(fs::path(localRootDir) / "KALDRA" / "SYSTEM" / "INC_USER.EXE");
    std::error_code ec;
    fs::create_directories(fs::path(localRootDir) / "KALDRA" / "LOG" / "KDADMIN", ec);
}

} // namespace foundation
