#include "MenuTable.h"

#include "PasswordCipher.h"

#include <algorithm>
#include <cctype>

namespace mainwindow {

namespace {

std::string upper(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::toupper(c); });
    return s;
}

} // namespace

namespace {

MenuEntry E(std::string name, std::string caption, std::string parent, bool submenu, std::string executable = {},
            std::string windowTitle = {}, Access access = Access::Everyone, bool separatorBefore = false) {
    MenuEntry e;
    e.name = std::move(name);
    e.caption = std::move(caption);
    e.parent = std::move(parent);
    e.submenu = submenu;
    e.executable = std::move(executable);
    e.windowTitle = std::move(windowTitle);
    e.access = access;
    e.separatorBefore = separatorBefore;
    return e;
}

} // namespace

// System privileges the main window's entries test.
constexpr int kPrivReportSearch = 12;         // "Report Search - View Station"
constexpr int kPrivTranscriptionDesktop = 14; // "Transcription Desktop"
constexpr int kPrivJobPlayerOnly = 92;        // "Allow Job Player without Transcription"
constexpr int kPrivAccessLockedReports = 148; // "Access to Locked Reports"

MenuEntry Needs(MenuEntry e, int privilege, int alternative = -1) {
    e.privilege = privilege;
    e.alternativePrivilege = alternative;
    return e;
}

const std::vector<MenuEntry>& menuTable() {
    using A = Access;
    static const std::vector<MenuEntry> table = {
        E("mnuApplication", "&File", "", true),
        E("mnuDBStart", "&Database Management", "mnuApplication", true, "", "", A::SystemAdministrator),
        E("mnuDBOptions", "Configuration Options...", "mnuDBStart", false, "", "", A::SystemAdministrator),
        E("mnuDBStats", "Statistics", "mnuDBStart", false, "", "", A::SystemAdministrator),
        E("mnuSynchronizeTestDatabase", "Synchronize Test Database", "mnuDBStart", false,
          "\\KALDRA\\SYSTEM\\KDCFGCPY.EXE", "", A::SystemAdministrator),
        E("mnuLocalRequest", "Send Local Database Update Request", "mnuDBStart", false, "", "", A::SystemAdministrator),
        E("mnuOutputReports", "&Output Tracking", "mnuApplication", false),
        E("mnuPassword", "Set Login &Password...", "mnuApplication", false),
        E("mnuSystemLog", "System &Log", "mnuApplication", false, "", "", A::AnyAdministrator),
        E("mnuUserManagement", "&User Management", "mnuApplication", false, "", "", A::AnyAdministrator),
        E("mnuImportUsers", "&Import Users...", "mnuApplication", false, "", "", A::AnyAdministrator),
        E("mnuDailyLineCount", "D&aily Linecount Summary", "mnuApplication", false, "KDDLS.EXE",
          "Veltra Daily Linecount Summary", A::Everyone, true),
        E("mnuDictationConsole", "Dictation Consol&e", "mnuApplication", false, "KDDCONS.EXE",
          "Veltra Dictation Console"),
        E("mnuPaxlet", "Paxlet", "mnuApplication", false, "PAXLET.EXE", "Veltra Paxlet"),
        E("mnuSTATSort", "Veltra &Sort", "mnuApplication", false, "KDSSORT.EXE", "Veltra Sort"),
        E("mnuTransform", "Veltra Trans&form", "mnuApplication", false, "KDTRNFRM.EXE", "Veltra Transform"),
        E("mnuIncentive", "&Incentive", "mnuApplication", false, "\\KALDRA\\SYSTEM\\INC_USER.EXE", "Veltra Incentive"),
        Needs(E("mnuJobPlayer", "&Job Player", "mnuApplication", false, "\\KALDRA\\SYSTEM\\KDPLAYER.EXE", "Job Player"),
              kPrivTranscriptionDesktop, kPrivJobPlayerOnly),
        E("mnuKALDRA", "&Management Reports", "mnuApplication", false, "KDMGTRPT.EXE", "Veltra Management Reports"),
        Needs(E("mnuReportSearch", "&Report Search", "mnuApplication", false, "KDSEARCH.EXE", "Report Search"),
              kPrivReportSearch),
        Needs(E("mnuTransDesktop", "&Transcription Desktop", "mnuApplication", false, "\\KALDRA\\SYSTEM\\KDEDIT.EXE",
                "Veltra Transcription Desktop"),
              kPrivTranscriptionDesktop),
        E("mnuImportList", "Export Current List To &NOTEPAD", "mnuApplication", false, "", "", A::Everyone, true),
        E("mnuEditWorkTime", "Edit Work Time", "mnuApplication", false),
        E("mnuExit", "E&xit", "mnuApplication", false, "", "", A::Everyone, true),
        E("mnuEditors", "Edi&tors", "", true),
        E("mnuAcctEditor", "&Account Editor", "mnuEditors", false),
        E("mnuPauseEditor", "Pause &Type Editor", "mnuEditors", false, "", "", A::AnyAdministrator),
        E("mnuConfigWizard", "Configuration &Wizard", "mnuEditors", false, "", "", A::SystemAdministrator),
        E("mnuCustInt", "Custom Interface", "mnuEditors", false, "KDCUSTINT.EXE",
          "Medications and Clinical Data Configuration", A::SystemAdministrator),
        E("mnuDictationEditor", "&Dictation Translation Table Editor", "mnuEditors", false, "", "",
          A::SystemAdministrator),
        E("mnuPacsAdmin", "Veltra Expert &Integration Settings", "mnuEditors", false, "", "", A::SystemAdministrator),
        E("mnuSchedInterfaceAdminSettings", "Veltra Expert S&chedule - Administration", "mnuEditors", false,
          "\\KALDRA\\SYSTEM\\KDEXSCHEDADM.EXE", "", A::SystemAdministrator),
        E("mnuVeltraVoiceLinks", "Veltra &Voice Links", "mnuEditors", false, "", "", A::SystemAdministrator),
        E("mnuLineCountConfigs", "&Line Count Configurations", "mnuEditors", false, "", "", A::AnyAdministrator),
        Needs(E("mnuLockedReports", "Loc&ked Reports", "mnuEditors", false, "", "", A::AnyAdministrator),
              kPrivAccessLockedReports),
        E("mnuKALDRAIni", "KALDRA.INI Configuration File Editor", "mnuEditors", false, "\\KALDRA\\SYSTEM\\KDINIEDT.EXE",
          "", A::SystemAdministrator),
        E("mnuPatientSearchIdentifiers", "Pati&ent Search Identifier", "mnuEditors", false),
        E("mnuPartitionEditor", "Partitio&n Editor", "mnuEditors", false, "\\KALDRA\\SYSTEM\\KDPARTITION.EXE",
          "Veltra Partition Editor", A::SystemAdministrator),
        E("mnuPPEditor", "&Physician Profile Editor", "mnuEditors", false),
        E("mnuFormatEditor", "Report Con&figuration Utility", "mnuEditors", false, "KDRPTCFG.EXE",
          "Veltra Report Configuration Utility", A::AnyAdministrator),
        E("mnuRoutines", "&Routine Manager", "mnuEditors", false, "KDRTNMGR.EXE", "Veltra Routine Manager",
          A::AnyAdministrator),
        E("mnuServiceManager", "Service &Manager", "mnuEditors", false, "\\KALDRA\\SYSTEM\\KDDONE.EXE",
          "Service Events", A::SystemAdministrator),
        E("mnuSoftwareUpdates", "S&oftware Update Settings", "mnuEditors", false, "", "", A::SystemAdministrator),
        E("mnuHeadingsCfg", "Speech Recognition &Headings Editor", "mnuEditors", false, "", "", A::AnyAdministrator),
        E("mnuSuspensionEditor", "&Suspension Type Editor", "mnuEditors", false, "", "", A::AnyAdministrator),
        E("mnuSystemPrinters", "S&ystem Printers", "mnuEditors", false, "", "", A::AnyAdministrator),
        E("mnuSystemCfg", "System &User Configuration Editor", "mnuEditors", false, "\\KALDRA\\SYSTEM\\KDSUCED.EXE",
          "Veltra System User Cfg Editor", A::SystemAdministrator),
        E("mnuView", "&View", "", true),
        E("mnuToolBar", "&Toolbar", "mnuView", true),
        E("mnuIconsOnly", "&Icons Only", "mnuToolBar", false),
        E("mnuIconsText", "Icons &and Text", "mnuToolBar", false),
        E("mnuColoredIcons", "&Colored Icons", "mnuToolBar", false),
        E("mnuSmallIcons", "&Small Icons", "mnuToolBar", false),
        E("mnuLargeIcons", "&Large Icons", "mnuToolBar", false),
        E("mnuShowBitmap", "Show &Bitmap", "mnuView", false),
        E("mnuComponentBar", "&Component Bar", "mnuView", false),
        E("mnuSoundEffects", "&Sound Effects", "mnuView", false),
        E("mnuPhysicianProfile", "&Physician Profile", "", true),
        E("mnuEditDefault", "&Edit Default Physician...", "mnuPhysicianProfile", false),
        E("mnuSetDefaultAccounts", "&Set Default Accounts...", "mnuPhysicianProfile", false),
        E("mnuExtendedProfile", "E&xtended Physician View", "mnuPhysicianProfile", false),
        E("mnuImportPPList", "&Physician List Reports...", "mnuPhysicianProfile", false),
        E("mnuUnknownPhysicians", "&Manage Unknown Physicians...", "mnuPhysicianProfile", false),
        E("mnuChangePartition", "&Change Partition...", "mnuPhysicianProfile", false),
        E("mnuPhysicianSearch", "Physician Search...", "mnuPhysicianProfile", false),
        E("mnuSetDefaultPartition", "Set &Default Partition...", "mnuPhysicianProfile", false),
        E("mnuAppDBManagement", "Data&base Management", "", true, "", "", A::SystemAdministrator),
        E("mnuARTime", "&General Settings...", "mnuAppDBManagement", false, "", "", A::SystemAdministrator),
        E("mnuDBFilePurge", "&File Server Purging Options...", "mnuAppDBManagement", false, "", "",
          A::SystemAdministrator),
        E("mnuDBArchive", "Document &Archiving Options...", "mnuAppDBManagement", false, "", "",
          A::SystemAdministrator),
        E("mnuDBPurge", "Database &Purging Options...", "mnuAppDBManagement", false, "", "", A::SystemAdministrator),
        E("mnuAppUserManagement", "User &Management", "", true, "", "", A::AnyAdministrator),
        E("mnuUAUndelete", "&Undelete a Transcriptionist...", "mnuAppUserManagement", false, "", "",
          A::AnyAdministrator),
        E("mnuSendMessage", "&Send System Message...", "mnuAppUserManagement", false, "", "", A::AnyAdministrator),
        E("mnuUserPolicies", "User &Policies...", "mnuAppUserManagement", false, "", "", A::SystemAdministrator),
        E("mnuWindows", "&Windows", "", true),
        E("mnuTileHoriz", "Tile &Horizontally", "mnuWindows", false),
        E("mnuTileVertical", "Tile &Vertically", "mnuWindows", false),
        E("mnuCascade", "&Cascade", "mnuWindows", false),
        E("mnuHelp", "&Help", "", true),
        E("mnuAdminHelp", "Veltra Desktop &Help", "mnuHelp", false),
        E("mnuAbout", "About Veltra Desktop", "mnuHelp", false),
    };
    return table;
}

const MenuEntry* findEntry(const std::string& name) {
    for (const auto& e : menuTable())
        if (e.name == name)
            return &e;
    return nullptr;
}

std::string EnvironmentLabel(const std::string& databaseName, const std::string& iniPath, bool remote) {
    const std::string prefix = remote ? "Remote - " : " ";
    std::string label;
    const std::string db = upper(databaseName);
    if (db.find("TST") != std::string::npos || db.find("TEST") != std::string::npos)
        label = prefix + "Test Environment";
    else if (upper(iniPath).find("TESTPROD") != std::string::npos)
        label = prefix + "Test Production Environment";
    else
        label = prefix + "Production Environment";
    size_t b = label.find_first_not_of(' ');
    return label.substr(b, label.find_last_not_of(' ') - b + 1);
}

std::vector<std::string> SplitCommandLine(const std::string& text) {
    std::vector<std::string> words;
    std::string current;
    bool quoted = false, any = false;
    for (char c : text) {
        if (c == '"') {
            quoted = !quoted;
            any = true;
        } else if (c == ' ' && !quoted) {
            if (any)
                words.push_back(current);
            current.clear();
            any = false;
        } else {
            current += c;
            any = true;
        }
    }
    if (any)
        words.push_back(current);
    return words;
}

CommandLine CommandLine::parse(const std::vector<std::string>& words) {
    CommandLine c;
    for (const auto& w : words) {
        const std::string u = upper(w);
        if (u.rfind("/INI=", 0) == 0)
            c.iniPath = w.substr(5);
        else if (u == "/SKIPBACKGROUND")
            c.skipBackground = true;
        else if (u == "/NOSYSPRN")
            c.noSystemPrinters = true;
        else if (u.rfind("/CPU=", 0) == 0 && u.size() == 6 && u[5] >= '0' && u[5] <= '3')
            c.cpu = u.substr(5);
        else if (u == "/DEV")
            c.dev = true;
    }
    return c;
}

std::string CompanionCommandLine(const CompanionArguments& w, const std::string& iniPath, long userId,
                                 const std::string& userName, const std::string& plainPassword,
                                 const CommandLine& own) {
    std::string out;
    if (w.ini)
        out += " \"/INI=" + iniPath + "\"";
    if (w.uid)
        out += " /UID=" + std::to_string(userId);
    if (w.uname)
        out += " /UNAME=" + userName;
    if (w.wizard)
        out += " /WIZARD";
    if (w.password)
        out += " /PASSWORD=" + (w.scramblePassword ? suite::PasswordCipher::encrypt(plainPassword) : plainPassword);
    if (w.window)
        out += " /WINDOW=" + w.windowText;
    if (w.skipBackground && own.skipBackground)
        out += " /SKIPBACKGROUND";
    if (w.noSystemPrinters)
        out += " /NOSYSPRN";
    if (w.cpu)
        out += " /CPU=" + own.cpu;
    return out;
}

} // namespace mainwindow
