#pragma once

#include <string>
#include <vector>

namespace foundation {

// KALDRA.INI and the workstation's registry values, read once at start-up.
struct Configuration {
    std::string iniPath;
    std::string networkRootDir, terminalServerUserRootDir, serverName, databaseName, softwareVersion = "2.0.0";
    std::string sqlPassword; // unscrambled
    // The site's password key file; missing on a site set up before site keys (old values are then
    // read and no password is written until it exists).
    std::string siteKeyPath;
    bool siteKeyMissing = false;
    std::string dataSourceName, sqlUserName = "sa";
    bool paxlet = false, k2Dictation = false, interactiveRecognition = false, voiceToText = false,
         trackCompletedHISReports = false, hideLastUser = false,
         combinedInterfaceDB = false; // the site runs the combined interface (ADT) database
    std::string defaultPrintServer, brandType = "0", offlineUpdateFrequency = "10", passwordMsgTemplate;
    bool extendedProfile = true, allowSettingSignaturePassword = true, skipBackupCheck = false, logDebug = false,
         logSQL = false, disableVVPing = false, criticalFindings = false;
    // Whether administrators other than general system administrators may add users that are neither
    // transcriptionists nor physician users ([AdminDesktop] AllowGeneralUsers, "YES" by default).
    bool allowGeneralUsers = true;
    long logSize = 10;
    std::string criticalFindingsSystem;
    std::string logFolder;
    bool useDriverConnect = false;
    bool iniRead = false;

    // registry
    std::string localRootDir;
    bool remoteOnline = false, terminalServerSupport = false, incUserPresent = false;

    std::string applicationTitle = "Veltra Desktop";

    static Configuration& instance();

    // Finds KALDRA.INI: a "/INI=path" argument, the current folder, the program's folder.
    bool LocateKaldraINI(const std::vector<std::string>& args, const std::string& currentDir,
                         const std::string& programDir);
    // Reads every key; on a fatal problem shows its message and returns false. Fills the
    // database session's connection settings.
    bool ReadKaldraINI();
    void ReadRegistry();

    static bool AffermativeValue(const std::string& text);
};

} // namespace foundation
