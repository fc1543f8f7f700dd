#include "AdminCommand.h"

namespace app {

namespace {

bool isPasswordOption(const std::string& a) {
    return a == "-p" || a == "--password" || a.rfind("--password=", 0) == 0 || a == "--pass" || a == "--pw";
}

} // namespace

bool IsAdminCommand(const std::string& first) {
    return first == "import-users" || first == "export" || first == "disable-user" || first == "--help" ||
           first == "-h" || first == "help";
}

std::string AdminUsage() {
    return "Usage: kdadmin COMMAND [OPTIONS]\n"
           "Commands:\n"
           "  import-users FILE [--dry-run] [--update-existing] [--generate-passwords]\n"
           "        check a CSV file of users and add them (--dry-run: check only); the result is printed\n"
           "        and saved beside FILE as NAME-result.csv\n"
           "  export users|physicians|accounts [--format csv|json] [--partition NAME]\n"
           "        print the list as the logged-in administrator sees it\n"
           "  disable-user NAME\n"
           "        disable a user's log-in\n"
           "Log-in options:\n"
           "  --user NAME           the administrator to log in as (required)\n"
           "  --password-file FILE  read the password from the file's first line; otherwise it is asked on\n"
           "                        the terminal without echo (never taken from the command line)\n"
           "  --ini PATH            the site's KALDRA.INI (otherwise found as the console finds it)\n"
           "  --help                this text\n"
           "Exit status: 0 done, 1 a line or the command failed, 2 usage error, 3 log-in failed.\n";
}

AdminCommand ParseAdminCommand(const std::vector<std::string>& args) {
    AdminCommand c;
    const auto fail = [&c](std::string text) {
        if (c.error.empty())
            c.error = std::move(text);
    };
    std::vector<std::string> operands;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const auto value = [&](std::string& into) {
            if (i + 1 < args.size() && args[i + 1].rfind("--", 0) != 0)
                into = args[++i];
            else
                fail("option " + a + " needs a value");
        };
        if (a == "--help" || a == "-h" || a == "help")
            c.help = true;
        else if (isPasswordOption(a))
            fail("passwords are not taken on the command line: use --password-file FILE or type it when asked");
        else if (a == "--user")
            value(c.user);
        else if (a == "--password-file")
            value(c.passwordFile);
        else if (a == "--ini")
            value(c.ini);
        else if (a == "--dry-run")
            c.dryRun = true;
        else if (a == "--update-existing")
            c.updateExisting = true;
        else if (a == "--generate-passwords")
            c.generatePasswords = true;
        else if (a == "--format")
            value(c.format);
        else if (a == "--partition")
            value(c.partition);
        else if (a.rfind("-", 0) == 0)
            fail("unknown option " + a);
        else
            operands.push_back(a);
    }
    if (c.help || !c.error.empty())
        return c;
    if (operands.empty()) {
        fail("no command given");
        return c;
    }
    c.command = operands.front();
    const bool import = c.command == "import-users", exportList = c.command == "export",
               disable = c.command == "disable-user";
    if (!import && !exportList && !disable)
        fail("unknown command " + c.command);
    else if (operands.size() != 2)
        fail(c.command + (operands.size() < 2 ? " needs " : " takes only ") +
             (import       ? "a FILE"
              : exportList ? "users, physicians or accounts"
                           : "a user NAME"));
    else
        c.operand = operands[1];
    if (exportList && c.operand != "users" && c.operand != "physicians" && c.operand != "accounts")
        fail("export lists users, physicians or accounts, not " + c.operand);
    if (c.format != "csv" && c.format != "json")
        fail("--format is csv or json, not " + c.format);
    if (!import && (c.dryRun || c.updateExisting || c.generatePasswords))
        fail("--dry-run, --update-existing and --generate-passwords belong to import-users");
    if (!exportList && (c.format != "csv" || !c.partition.empty()))
        fail("--format and --partition belong to export");
    if (c.error.empty() && c.user.empty())
        fail("--user NAME is required");
    return c;
}

} // namespace app
