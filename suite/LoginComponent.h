#pragma once

#include "EmailMessage.h"
#include "PasswordPolicy.h"
#include "SendmailProgram.h"
#include "SuiteConnection.h"

#include <map>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace suite {

// Privilege strings hold, at position n (counted from 0), code 2 when privilege n is granted and code 1 when not.
bool privilegeGranted(const std::string& set, int n);
// Combines privilege strings: a position is granted when any of them grants it.
std::string combinePrivileges(const std::vector<std::string>& sets, size_t length);

// The logged-in user as the suite's programs see it.
struct LoginUser {
    long user_id = 0;
    std::string user_name, first_name, last_name, password;
    long physician_id = 0;
    bool is_administrator = false, is_trans_admin = false, is_paxlet_admin = false;
    long Partition_ID = 0;
    std::string Partition_Name;
    std::string privilegeSet; // effective system privileges: own and every group's, combined

    [[nodiscard]] bool privilege(int n) const { return privilegeGranted(privilegeSet, n); }
    [[nodiscard]] bool isAnyAdministrator() const { return is_administrator || is_trans_admin || is_paxlet_admin; }
};

struct ReportTypeInfo {
    long dept_id = 0;
    long report_type_nbr = 0;
    std::string report_name;
    bool is_deleted = false;
};

struct HospAccount {
    long hosp_acct_id = 0;
    std::string hosp_acct_name;
    int email_type = 0;
    bool is_deleted = false;
    long Partition_ID = 0;
    std::vector<long> Departments;
    std::vector<ReportTypeInfo> ReportTypes;
    std::string privilegeSet; // the user's account privileges, own and groups' combined

    [[nodiscard]] bool privilege(int n) const { return privilegeGranted(privilegeSet, n); }
};

// The suite's login component (KDLogin.KDLoginClass): the log-in, the logged-in user, the cached
// accounts and the user's options. Its dialogs are behind LoginPrompt, so the logic runs without
// a window in tests and tools.
class LoginPrompt {
public:
    virtual ~LoginPrompt() = default;
    // Asks for a user name and password, showing message (empty the first time); false: Cancel.
    virtual bool askCredentials(std::string& userName, std::string& password, const std::string& message) = 0;
    // Asks for a new password and its confirmation; false: Cancel.
    virtual bool askNewPassword(std::string& password, std::string& confirm, const std::string& message) = 0;
};

// One entry of a transcriptionist's work-time sheet (Trans_activity).
struct WorkTimeEntry {
    int pauseType = 0;
    std::string description;
    std::string start; // 'YYYY-MM-DD HH:MM:SS'
    std::string end;   // empty while the activity goes on
};

class LoginComponent {
public:
    enum class Outcome {
        LoggedIn,
        MustChangePassword,
        WrongCredentials,
        Disabled,
        LockedOut,
        NowLockedOut,
        DirectoryUnavailable, // the policy's directory could not check the password; not a failed attempt
    };

    // ---- properties the console sets -----------------------------------------------------
    std::string version = "8.1";
    bool UseOfflineDB = false;
    std::string KALDRAIniFileName, ApplicationName, ApplicationVersion, SQLDBName, SQLPassword, SQLUserName,
        SQLServerName, ODBCSource, NetworkRootDir;
    bool HideLastUser = false;

    LoginUser user;
    LoginPrompt* prompt = nullptr;

    // 0 logged in; 2 the database cannot be reached; 1 cancelled.
    int Login(bool interactive = true, int flags = 0, const std::string& unused = "");
    // One log-in attempt; fills user on success (also when a new password is due).
    Outcome Authenticate(const std::string& userName, const std::string& password);
    // Stores a new logon password for the logged-in user after the policy's rules; "" or the message.
    std::string SetNewPassword(const std::string& password, const std::string& confirm);
    bool ChangePassword(); // the password dialog for the logged-in user
    [[nodiscard]] const PasswordPolicy& policy() const { return m_policy; }
    [[nodiscard]] std::string messageFor(Outcome o, const std::string& userName) const;

    static std::string EncryptedPassword(const std::string& plain);
    static std::string DecryptedPassword(const std::string& scrambled);

    bool LoadAccountData();
    [[nodiscard]] int NumberHospAccounts() const { return static_cast<int>(m_accounts.size()); }
    [[nodiscard]] const HospAccount& HospAccountAt(int index) const {
        return m_accounts.at(static_cast<size_t>(index - 1));
    }
    [[nodiscard]] int GetAcctIndex(long accountId) const; // 1-based; 0 when unknown
    // Replaces the cached accounts, for a program that holds them already (tools, tests).
    void SetHospAccounts(std::vector<HospAccount> accounts) {
        m_accounts = std::move(accounts);
        indexAccounts();
    }

    bool LoadUserOptions();
    [[nodiscard]] std::string GetUserOptionValue(const std::string& name, const std::string& def) const;
    void AddUserOption(const std::string& name, const std::string& value);
    bool SaveUserOptions();
    static constexpr int kOptionsApplication = 77; // System_user_cfg application id of these options

    // The work-time sheet of the logged-in user for a day ('YYYY-MM-DD'): the activity types offered on
    // the sheet, the day's entries, and adding an entry ("" or the reason it was refused).
    [[nodiscard]] std::vector<std::pair<int, std::string>> WorkTimeTypes();
    [[nodiscard]] std::vector<WorkTimeEntry> WorkTimeEntries(const std::string& day);
    std::string AddWorkTime(int pauseType, const std::string& start, const std::string& end);
    [[nodiscard]] std::string transId() const; // the user's transcriptionist id: the first 8 characters

    [[nodiscard]] std::string NameOfPC() const;

    // Mails a message through the system's sendmail interface; true when the mail program took it.
    // The reason of a failure is kept (and shown when p_blnShowMessages is set).
    bool SendEmail(const EmailParameters& parameters);
    [[nodiscard]] const std::string& LastEmailError() const { return m_lastEmailError; }
    SendmailProgram Mailer; // which mail program; KDADMIN_SENDMAIL or the system's

    void Logoff();
    void DisconnectSQL() { m_db.close(); }
    bool connect();
    [[nodiscard]] std::string connectionString() const;
    [[nodiscard]] SuiteConnection& database() { return m_db; }
    // The security groups the logged-in user belongs to, as read at log-in.
    [[nodiscard]] const std::vector<long>& groupIds() const { return m_groupIds; }

private:
    bool loadUser(long userId);
    // Counts a failed attempt of the user and locks the account at the policy's limit.
    Outcome failedAttempt(const std::string& userId, long attemptsBefore);
    // The password checked by the policy's directory instead of the stored one.
    Outcome directoryLogIn(const std::string& userId, const std::string& userName, const std::string& password,
                           long attemptsBefore);
    PasswordPolicy loadPolicy(int policyId);

    SuiteConnection m_db;
    PasswordPolicy m_policy;
    void indexAccounts();

    std::vector<HospAccount> m_accounts;
    std::unordered_map<long, int> m_accountIndex; // account number -> 1-based index, for per-row look-ups
    std::map<std::string, std::string> m_options;
    std::vector<long> m_groupIds;
    std::string m_directoryProblem; // why the directory could not check the last log-in
    std::string m_lastEmailError;
};

} // namespace suite
