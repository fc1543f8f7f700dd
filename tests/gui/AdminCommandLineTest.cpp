// The command line for scripts: what it accepts and refuses, and its commands run on the demo site
// through the console's own start-up and log-in.

#include "AdminCommand.h"
#include "AdminCommandRunner.h"
#include "SiteSession.h"
#include "StartupFixture.h"
#include "UserCsvReader.h"

#include <array>
#include <cstdio>

using app::AdminCommand;

namespace {

struct ParseCase {
    const char* name;
    std::vector<std::string> args;
    std::string expected; // "error:" + the refusal, or command|operand|flags
};

std::string describe(const AdminCommand& c) {
    if (!c.error.empty())
        return "error:" + c.error;
    if (c.help)
        return "help";
    return c.command + "|" + c.operand + "|" + (c.dryRun ? "dry" : "") + (c.updateExisting ? "update" : "") + "|" +
           c.format + "|" + c.partition + "|" + c.user + "|" + c.passwordFile;
}

class CommandLineParse : public ::testing::TestWithParam<ParseCase> {};

TEST_P(CommandLineParse, AcceptsTheCommandsAndRefusesTheRestInOneLine) {
    EXPECT_EQ(describe(app::ParseAdminCommand(GetParam().args)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    AdminCommand, CommandLineParse,
    ::testing::Values(
        ParseCase{
            "Import", {"import-users", "a.csv", "--dry-run", "--user", "MGR"}, "import-users|a.csv|dry|csv||MGR|"},
        ParseCase{"ExportWithOptions",
                  {"--user", "MGR", "--password-file", "pw", "export", "users", "--format", "json", "--partition",
                   "North Clinics"},
                  "export|users||json|North Clinics|MGR|pw"},
        ParseCase{"Disable", {"disable-user", "MJONES", "--user", "MGR"}, "disable-user|MJONES||csv||MGR|"},
        ParseCase{"Help", {"export", "--help"}, "help"},
        ParseCase{"PasswordOption",
                  {"export", "users", "--user", "MGR", "--password", "secret"},
                  "error:passwords are not taken on the command line: use --password-file FILE or type it when "
                  "asked"},
        ParseCase{"PasswordOptionWithEquals",
                  {"export", "users", "--user", "MGR", "--password=secret"},
                  "error:passwords are not taken on the command line: use --password-file FILE or type it when "
                  "asked"},
        ParseCase{"ShortPasswordOption",
                  {"-p", "secret", "export", "users", "--user", "MGR"},
                  "error:passwords are not taken on the command line: use --password-file FILE or type it when "
                  "asked"},
        ParseCase{"UnknownOption", {"export", "users", "--user", "MGR", "--colour"}, "error:unknown option --colour"},
        ParseCase{"UnknownCommand", {"delete-everything", "--user", "MGR"}, "error:unknown command delete-everything"},
        ParseCase{"NoCommand", {"--user", "MGR"}, "error:no command given"},
        ParseCase{"ImportWithoutFile", {"import-users", "--user", "MGR"}, "error:import-users needs a FILE"},
        ParseCase{"ExportOfSomethingElse",
                  {"export", "printers", "--user", "MGR"},
                  "error:export lists users, physicians or accounts, not printers"},
        ParseCase{"BadFormat",
                  {"export", "users", "--format", "xml", "--user", "MGR"},
                  "error:--format is csv or json, not xml"},
        ParseCase{"ImportOptionOnExport",
                  {"export", "users", "--dry-run", "--user", "MGR"},
                  "error:--dry-run, --update-existing and --generate-passwords belong to import-users"},
        ParseCase{"NoUser", {"export", "users"}, "error:--user NAME is required"},
        ParseCase{"OptionWithoutValue", {"export", "users", "--user"}, "error:option --user needs a value"}),
    [](const auto& info) { return std::string(info.param.name); });

// The program itself: its exit codes and what it writes, without a site.
std::pair<int, std::string> runProgram(const std::string& args) {
    const std::string command = std::string(KD_ADMIN_PATH) + " " + args + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    std::string output;
    std::array<char, 512> buffer{};
    while (pipe && fgets(buffer.data(), buffer.size(), pipe))
        output += buffer.data();
    const int status = pipe ? pclose(pipe) : -1;
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

TEST(AdminProgram, HelpListsTheCommandsAndAPasswordOptionIsRefusedWithTheUsage) {
    const auto help = runProgram("--help");
    EXPECT_EQ(help.first, 0);
    EXPECT_EQ(help.second, app::AdminUsage());
    const auto refused = runProgram("export users --user ADMINISTRATOR --password demo");
    EXPECT_EQ(refused.first, 2);
    EXPECT_EQ(refused.second, "kdadmin: passwords are not taken on the command line: use --password-file FILE or "
                              "type it when asked\n" +
                                  app::AdminUsage());
    EXPECT_EQ(runProgram("export users --user ADMINISTRATOR --frobnicate").second,
              "kdadmin: unknown option --frobnicate\n" + app::AdminUsage());
}

class AdminCommandLine : public kdtest::StartupTest {
protected:
    int run(std::vector<std::string> args, const std::string& password = "demo") {
        std::ofstream(folder + "/pw") << password << "\n";
        args.insert(args.end(), {"--password-file", folder + "/pw", "--ini", site + "/KALDRA.INI"});
        AdminCommand c = app::ParseAdminCommand(args);
        EXPECT_EQ(c.error, "");
        out.str("");
        err.str("");
        return app::RunAdminCommand(c, folder, folder, out, err);
    }
    // A query on the site's database with the site's SQL login, after the command has ended.
    std::string scalar(const std::string& sql) {
        return kdtest::connectSiteSession(site) ? kdtest::sessionScalar(foundation::DatabaseSession::instance(), sql)
                                                : "<no connection>";
    }
    std::ostringstream out, err;
};

TEST_F(AdminCommandLine, ImportUsersChecksThenWritesAndSaysWhichRowsFailed) {
    EXPECT_EQ(run({"import-users", site + "/sample-users.csv", "--dry-run", "--generate-passwords", "--user",
                   "ADMINISTRATOR"}),
              AdminCommand::kRowFailed);
    EXPECT_EQ(out.str(), "\"Line\",\"User Name\",\"Outcome\",\"Message\"\r\n"
                         "\"2\",\"AOCONNOR\",\"new\",\"\"\r\n"
                         "\"3\",\"BMULLER\",\"new\",\"\"\r\n"
                         "\"4\",\"CROSSI\",\"new\",\"\"\r\n"
                         "\"5\",\"MJONES\",\"exists (will be skipped)\",\"\"\r\n"
                         "\"6\",\"JANE DOE\",\"error\",\"User name cannot contain any spaces\"\r\n");
    EXPECT_NE(err.str().find("kdadmin: 5 lines checked: 3 new, 0 to update, 1 skipped, 1 refused\n"), std::string::npos)
        << err.str();
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_user_bindery WHERE user_name = 'AOCONNOR'"), "0");

    // A clean file imports with exit code 0; the generated password is in the result file only.
    std::ofstream(folder + "/two.csv") << "User Name,First Name,Last Name,Partition\nNEWA,Ann,Able,North Clinics\n"
                                          "NEWB,Bo,Baker,North Clinics\n";
    EXPECT_EQ(run({"import-users", folder + "/two.csv", "--generate-passwords", "--user", "ADMINISTRATOR"}),
              AdminCommand::kDone)
        << err.str();
    EXPECT_NE(err.str().find("kdadmin: imported 2 of 2\n"), std::string::npos) << err.str();
    const auto result = users::UserCsvReader::ReadFile(folder + "/two-result.csv");
    ASSERT_EQ(result.records.size(), 3u);
    const std::string password = result.records[1].fields.at(5);
    EXPECT_EQ(password.size(), 12u);
    EXPECT_EQ(out.str().find(password), std::string::npos);
    EXPECT_EQ(err.str().find(password), std::string::npos);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_user_bindery WHERE user_name IN ('NEWA', 'NEWB') AND partition_id "
                     "= 4"),
              "2");
}

// The editor's rule 13 follows the site's AllowGeneralUsers flag for an administrator who is not a
// System Administrator, on the command line as on the screen.
TEST_F(AdminCommandLine, ImportUsersKeepsTheSitesRuleOnGeneralUsers) {
    replaceInIni("[AdminDesktop]\n", "[AdminDesktop]\nAllowGeneralUsers=NO\n");
    scalar("UPDATE System_user_bindery SET flag2 = 1 WHERE user_name = 'MJONES'");
    ASSERT_EQ(scalar("SELECT flag2 FROM System_user_bindery WHERE user_name = 'MJONES'"), "1");
    std::ofstream(folder + "/typists.csv") << "User Name,First Name,Last Name,User Type,Password\n"
                                              "PLAIN,Ann,Able,,abc\nTYPIST,Bo,Baker,Transcriptionist,abc\n";
    EXPECT_EQ(run({"import-users", folder + "/typists.csv", "--dry-run", "--user", "MJONES"}), AdminCommand::kRowFailed)
        << err.str();
    EXPECT_EQ(out.str(), "\"Line\",\"User Name\",\"Outcome\",\"Message\"\r\n"
                         "\"2\",\"PLAIN\",\"error\",\"The user must be configured as either a Transcriptionist or "
                         "Physician User.\"\r\n"
                         "\"3\",\"TYPIST\",\"new\",\"\"\r\n");
}

TEST_F(AdminCommandLine, ExportsWhatTheAdministratorSeesAndDisablesAUser) {
    ASSERT_EQ(run({"export", "users", "--partition", "north general hospital", "--user", "ADMINISTRATOR"}),
              AdminCommand::kDone)
        << err.str();
    EXPECT_EQ(out.str().rfind("\"User ID\",\"User Name\",\"First Name\",\"Last Name\",\"Type\",\"Partition\"\r\n", 0),
              0u);
    EXPECT_NE(out.str().find("\"MJONES\",\"Mary\",\"Jones\",\"Transcriptionist\",\"North General Hospital\""),
              std::string::npos)
        << out.str();
    EXPECT_EQ(out.str().find("South"), std::string::npos);
    ASSERT_EQ(run({"export", "accounts", "--format", "json", "--user", "ADMINISTRATOR"}), AdminCommand::kDone);
    EXPECT_EQ(out.str().rfind("[\n  {\"Account ID\": \"", 0), 0u) << out.str();
    EXPECT_EQ(run({"export", "users", "--partition", "Atlantis", "--user", "ADMINISTRATOR"}), AdminCommand::kRowFailed);
    EXPECT_NE(err.str().find("kdadmin: partition Atlantis does not exist or is not visible to you\n"),
              std::string::npos);

    EXPECT_EQ(run({"disable-user", "mjones", "--user", "ADMINISTRATOR"}), AdminCommand::kDone) << err.str();
    EXPECT_EQ(out.str(), "MJONES disabled\n");
    EXPECT_EQ(scalar("SELECT enabled FROM System_user_bindery WHERE user_name = 'MJONES'"), "0");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_log WHERE msg1 = 'User MJONES settings have been changed by "
                     "ADMINISTRATOR.'"),
              "1");
}

TEST_F(AdminCommandLine, AWrongPasswordOrANonAdministratorGetsNothingDone) {
    EXPECT_EQ(run({"disable-user", "ASMITH", "--user", "ADMINISTRATOR"}, "wrong"), AdminCommand::kNotLoggedIn);
    EXPECT_NE(err.str().find("kdadmin: log-in refused: "), std::string::npos) << err.str();
    EXPECT_EQ(run({"disable-user", "ASMITH", "--user", "MJONES"}), AdminCommand::kRowFailed);
    EXPECT_NE(err.str().find("ACCESS DENIED"), std::string::npos) << err.str();
    EXPECT_EQ(scalar("SELECT enabled FROM System_user_bindery WHERE user_name = 'ASMITH'"), "1");
}

} // namespace
