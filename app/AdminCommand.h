#pragma once

#include <string>
#include <vector>

namespace app {

// The console's command line for scripted administration:
//   kdadmin import-users FILE [--dry-run] [--update-existing] [--generate-passwords]
//   kdadmin export users|physicians|accounts [--format csv|json] [--partition NAME]
//   kdadmin disable-user NAME
// with --user NAME, --password-file FILE and --ini PATH for the log-in. A password is never taken
// from the command line or the environment: it comes from the file or from the terminal.
struct AdminCommand {
    std::string command; // "import-users", "export", "disable-user"; empty with help
    std::string operand; // the file, the list or the user name
    bool help = false;
    bool dryRun = false, updateExisting = false, generatePasswords = false;
    std::string format = "csv";
    std::string partition;
    std::string user, passwordFile, ini;
    std::string error; // the one-line refusal of a malformed command line

    // Exit codes.
    static constexpr int kDone = 0;
    static constexpr int kRowFailed = 1; // a line or the command itself failed
    static constexpr int kUsage = 2;
    static constexpr int kNotLoggedIn = 3;
};

// Whether the first argument starts a command-line command rather than the desktop.
bool IsAdminCommand(const std::string& first);
AdminCommand ParseAdminCommand(const std::vector<std::string>& args);
std::string AdminUsage();

} // namespace app
