#include "AdminCommandRunner.h"

#include "Configuration.h"

#include "General_MDI.h"
#include "LoginComponent.h"
#include "Startup.h"
#include "Text.h"
#include "UserImportRun.h"
#include "UserMgmtData.h"
#include "clsPartition.h"
#include "clsPhysicianSummaryRecords.h"
#include "modPartition.h"
#include "modUserStore.h"

#include <fstream>
#include <iostream>
#include <termios.h>
#include <unistd.h>

namespace app {

namespace {

using users::CsvLine;

// The log-in of a command: the user name given, the password from a file or typed on the terminal
// without echo. A refused log-in is not asked again.
class CommandLinePrompt : public suite::LoginPrompt {
public:
    CommandLinePrompt(const AdminCommand& c, std::ostream& err) : m_command(c), m_err(err) {}
    bool askCredentials(std::string& user, std::string& password, const std::string& message) override {
        if (m_asked) {
            m_err << "kdadmin: log-in refused: " << message << "\n";
            return false;
        }
        m_asked = true;
        user = m_command.user;
        return m_command.passwordFile.empty() ? fromTerminal(password) : fromFile(password);
    }
    bool askNewPassword(std::string&, std::string&, const std::string& message) override {
        m_err << "kdadmin: " << message << " (change the password in the console first)\n";
        return false;
    }

private:
    bool fromFile(std::string& password) {
        std::ifstream in(m_command.passwordFile);
        if (!in) {
            m_err << "kdadmin: the password file " << m_command.passwordFile << " cannot be read\n";
            return false;
        }
        std::getline(in, password);
        if (!password.empty() && password.back() == '\r')
            password.pop_back();
        return true;
    }
    bool fromTerminal(std::string& password) {
        std::fstream tty("/dev/tty");
        if (!tty) {
            m_err << "kdadmin: there is no terminal to ask the password on: use --password-file FILE\n";
            return false;
        }
        tty << "Password for " << m_command.user << ": " << std::flush;
        termios saved{};
        const bool quiet = tcgetattr(STDIN_FILENO, &saved) == 0;
        if (quiet) {
            termios silent = saved;
            silent.c_lflag &= ~static_cast<tcflag_t>(ECHO);
            tcsetattr(STDIN_FILENO, TCSAFLUSH, &silent);
        }
        std::getline(std::cin, password);
        if (quiet)
            tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
        tty << "\n";
        return true;
    }

    const AdminCommand& m_command;
    std::ostream& m_err;
    bool m_asked = false;
};

std::string jsonText(const std::string& s) {
    std::string out = "\"";
    for (unsigned char c : s) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out + "\"";
}

// A list as CSV with its header line, or as a JSON array of objects named by the header.
class ListWriter {
public:
    ListWriter(std::ostream& out, bool json, std::vector<std::string> header)
        : m_out(out), m_json(json), m_header(std::move(header)) {
        if (m_json)
            m_out << "[";
        else
            m_out << CsvLine(m_header);
    }
    ~ListWriter() {
        if (m_json)
            m_out << (m_rows ? "\n]\n" : "]\n");
    }
    ListWriter(const ListWriter&) = delete;
    ListWriter& operator=(const ListWriter&) = delete;
    void Row(const std::vector<std::string>& fields) {
        if (!m_json) {
            m_out << CsvLine(fields);
            return;
        }
        m_out << (m_rows++ ? ",\n  {" : "\n  {");
        for (size_t i = 0; i < fields.size() && i < m_header.size(); ++i)
            m_out << (i ? ", " : "") << jsonText(m_header[i]) << ": " << jsonText(fields[i]);
        m_out << "}";
    }

private:
    std::ostream& m_out;
    bool m_json;
    std::vector<std::string> m_header;
    size_t m_rows = 0;
};

// The partitions the administrator sees, or the one named by --partition.
bool partitionFilter(const AdminCommand& c, long own, std::optional<long>& only, std::ostream& err) {
    if (c.partition.empty())
        return true;
    const auto key = [](std::string s) {
        while (!s.empty() && s.back() == ' ')
            s.pop_back();
        return foundation::upperText(s);
    };
    for (const auto& p : physicians::PartitionCache())
        if (p.Is_Under(own) && key(p.Partition_Name()) == key(c.partition))
            only = p.Partition_ID();
    if (!only)
        err << "kdadmin: partition " << c.partition << " does not exist or is not visible to you\n";
    return only.has_value();
}

int importUsers(const AdminCommand& c, const suite::LoginComponent& login, std::ostream& out, std::ostream& err) {
    users::UserImportSite site;
    users::clsSecurityGroups groups;
    users::clsUserPolicies policies;
    if (!users::LoadImportSite(site, users::Users(), groups, policies)) {
        err << "kdadmin: the users could not be read\n";
        return AdminCommand::kRowFailed;
    }
    // The editor's context as User Management gives it: the site's start-up flags included.
    const auto& config = foundation::Configuration::instance();
    site.context.actingSystemAdministrator = login.user.is_administrator;
    site.context.allowGeneralUsers = config.allowGeneralUsers;
    site.context.allowSettingSignaturePassword = config.allowSettingSignaturePassword;
    users::UserImportOptions options;
    options.updateExisting = c.updateExisting;
    options.generatePasswords = c.generatePasswords;
    const auto preview = users::PreviewUserImport(users::UserCsvReader::ReadFile(c.operand), site, options);
    if (!preview.error.empty()) {
        err << "kdadmin: " << preview.error << "\n";
        return AdminCommand::kRowFailed;
    }
    using users::ImportOutcome;
    err << "kdadmin: " << preview.rows.size() << " lines checked: " << preview.Count(ImportOutcome::New) << " new, "
        << preview.Count(ImportOutcome::Update) << " to update, " << preview.Count(ImportOutcome::Skip) << " skipped, "
        << preview.Count(ImportOutcome::Error) << " refused\n";
    if (c.dryRun) {
        out << CsvLine({"Line", "User Name", "Outcome", "Message"});
        for (const auto& r : preview.rows)
            out << CsvLine({std::to_string(r.line), r.userName, users::ImportOutcomeText(r.outcome), r.message});
        return preview.Count(ImportOutcome::Error) ? AdminCommand::kRowFailed : AdminCommand::kDone;
    }
    const auto summary = users::RunUserImport(
        preview.rows,
        [&err](size_t done, size_t total) {
            err << "kdadmin: imported " << done << " of " << total << "\n";
            return true;
        },
        users::Users(), groups);
    // Generated passwords go to the result file only.
    out << CsvLine({"Line", "User Name", "Outcome", "User ID", "Message"});
    for (size_t i = 0; i < summary.results.size(); ++i) {
        const auto& r = summary.results[i];
        out << CsvLine({std::to_string(r.line), preview.rows[i].userName, r.outcome,
                        r.userId ? std::to_string(r.userId) : "", r.message});
    }
    const std::string path = users::ImportResultPath(c.operand);
    if (users::WriteImportResult(path, preview.rows, summary))
        err << "kdadmin: the result was saved as " << path << "\n";
    else
        err << "kdadmin: the result could not be saved as " << path << "\n";
    return summary.failed || summary.refused ? AdminCommand::kRowFailed : AdminCommand::kDone;
}

int exportList(const AdminCommand& c, const suite::LoginComponent& login, std::ostream& out, std::ostream& err) {
    const long own = login.user.Partition_ID;
    std::optional<long> only;
    if (!partitionFilter(c, own, only, err))
        return AdminCommand::kRowFailed;
    const auto inPartition = [&only](long id) { return !only || *only == id; };
    const bool json = c.format == "json";
    if (c.operand == "users") {
        users::UserMgmtData data;
        data.LoadUserSharing();
        if (!users::LoadActiveUsers(&users::Users())) {
            err << "kdadmin: the users could not be read\n";
            return AdminCommand::kRowFailed;
        }
        ListWriter list(out, json, {"User ID", "User Name", "First Name", "Last Name", "Type", "Partition"});
        for (const users::clsUser& u : users::Users())
            if (users::UserListedFor(u, own, data.userSharing) && inPartition(u.Partition_ID()))
                list.Row({std::to_string(u.m_lngUserId), u.m_strUserName, u.m_strFirstName, u.m_strLastName,
                          users::UserTypeText(u), u.Partition_Name()});
    } else if (c.operand == "physicians") {
        physicians::clsPhysicianSummaryRecords records;
        if (!physicians::RetrievePhysicians(-1, physicians::HiddenFilter::VisibleOnly, records, false)) {
            err << "kdadmin: the physicians could not be read\n";
            return AdminCommand::kRowFailed;
        }
        ListWriter list(out, json, {"Physician ID", "Last Name", "First Name", "Title", "Partition"});
        for (const auto& r : records.records())
            if (!r.is_deleted && physicians::PartitionIsUnder(r.Partition_ID, own) && inPartition(r.Partition_ID))
                list.Row({std::to_string(r.physician_id), r.last_name, r.first_name, r.title_1,
                          physicians::GetPartitionName(r.Partition_ID)});
    } else {
        ListWriter list(out, json, {"Account ID", "Account Name", "Partition"});
        for (int i = 1; i <= login.NumberHospAccounts(); ++i) { // the cache counts from 1
            const suite::HospAccount& a = login.HospAccountAt(i);
            if (a.hosp_acct_id != -1 && !a.is_deleted && physicians::AccountVisibleToUser(a.hosp_acct_id) &&
                inPartition(a.Partition_ID))
                list.Row(
                    {std::to_string(a.hosp_acct_id), a.hosp_acct_name, physicians::GetPartitionName(a.Partition_ID)});
        }
    }
    return AdminCommand::kDone;
}

int disableUser(const AdminCommand& c, std::ostream& out, std::ostream& err) {
    if (!users::LoadActiveUsers(&users::Users())) {
        err << "kdadmin: the users could not be read\n";
        return AdminCommand::kRowFailed;
    }
    const users::clsUser* found = nullptr;
    for (const users::clsUser& u : users::Users())
        if (foundation::upperText(u.m_strUserName) == foundation::upperText(c.operand))
            found = &u;
    if (!found) {
        err << "kdadmin: there is no active user " << c.operand << "\n";
        return AdminCommand::kRowFailed;
    }
    if (found->Read_Only()) {
        err << "kdadmin: Shared users cannot be edited\n";
        return AdminCommand::kRowFailed;
    }
    if (!users::AdminAuthorityCheck(*found))
        return AdminCommand::kRowFailed;
    if (!found->m_blnEnabled) {
        out << found->m_strUserName << " is already disabled\n";
        return AdminCommand::kDone;
    }
    users::clsUser edited;
    edited.CopyClass(*found);
    edited.m_blnEnabled = false;
    users::UserEditChanges changes;
    changes.oldPartitionId = edited.Partition_ID();
    if (!users::SaveChangedUser(edited, changes))
        return AdminCommand::kRowFailed;
    out << edited.m_strUserName << " disabled\n";
    return AdminCommand::kDone;
}

} // namespace

int RunAdminCommand(const AdminCommand& command, const std::string& currentDir, const std::string& programDir,
                    std::ostream& out, std::ostream& err) {
    mainwindow::General_MDI window;
    suite::LoginComponent login;
    CommandLinePrompt prompt(command, err);
    Startup startup(window, login, prompt);
    std::vector<std::string> args;
    if (!command.ini.empty())
        args.push_back("/INI=" + command.ini);
    if (!startup.run(args, currentDir, programDir)) {
        err << "kdadmin: not logged in (start-up stopped at " << startup.stoppedAt() << ")\n";
        return AdminCommand::kNotLoggedIn;
    }
    // The console's own rules decide, exactly as for the screens: the partition cache, the
    // administrator kinds and the privileges were read at the log-in.
    int code = AdminCommand::kDone;
    if (!login.user.is_administrator && !login.user.is_trans_admin && !login.user.is_paxlet_admin) {
        err << "kdadmin: ACCESS DENIED:  " << login.user.user_name << " is not an administrator\n";
        code = AdminCommand::kRowFailed;
    } else if (command.command == "import-users") {
        code = importUsers(command, login, out, err);
    } else if (command.command == "export") {
        code = exportList(command, login, out, err);
    } else {
        code = disableUser(command, out, err);
    }
    startup.shutDown();
    return code;
}

} // namespace app
