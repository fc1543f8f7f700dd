#pragma once

#include <string>
#include <vector>

namespace mainwindow {

// Who may use a menu entry (the arming after log-in).
enum class Access { Everyone, AnyAdministrator, SystemAdministrator, TransAdministrator, PhysicianAdministrator };

// One entry of the main window's menu: its name (the objectName), caption, parent menu, what it
// runs, and for companion programs the executable and the window title of a running copy.
struct MenuEntry {
    std::string name;
    std::string caption;
    std::string parent; // empty: a top-level menu
    bool submenu = false;
    std::string executable;  // companion program, relative to the system folder when it starts with "\KALDRA"
    std::string windowTitle; // of a running copy
    Access access = Access::Everyone;
    bool separatorBefore = false;
    int privilege = -1;            // the system privilege the entry also needs; -1 for none
    int alternativePrivilege = -1; // a second system privilege that serves as well; -1 for none
};

const std::vector<MenuEntry>& menuTable();
const MenuEntry* findEntry(const std::string& name);

// "Test Environment", "Test Production Environment" or "Production Environment", with "Remote - ".
std::string EnvironmentLabel(const std::string& databaseName, const std::string& iniPath, bool remote);

// The console's command line split into words; a word in double quotes may hold blanks.
std::vector<std::string> SplitCommandLine(const std::string& text);

struct CommandLine {
    std::string iniPath;
    bool skipBackground = false;
    bool noSystemPrinters = false;
    std::string cpu;
    bool dev = false;
    static CommandLine parse(const std::vector<std::string>& words);
};

// The arguments companion programs get, each piece only when asked for, in the fixed order.
struct CompanionArguments {
    bool ini = false, uid = false, uname = false, wizard = false, password = false, window = false,
         skipBackground = false, noSystemPrinters = false, cpu = false;
    bool scramblePassword = true;
    std::string windowText;
};
// The switches the management reports program gets from the user's system privileges: " /HISONLY"
// for a user limited to HIS deficiencies (93), then " /PAYCODE=1" or " /PAYCODE=0" for access to
// billing and payroll (13).
template <typename Privilege>
std::string ManagementReportSwitches(const Privilege& privilege) {
    return std::string(privilege(93) ? " /HISONLY" : "") + " /PAYCODE=" + (privilege(13) ? "1" : "0");
}

std::string CompanionCommandLine(const CompanionArguments& what, const std::string& iniPath, long userId,
                                 const std::string& userName, const std::string& plainPassword, const CommandLine& own);

} // namespace mainwindow
