#include "LoginComponent.h"

#include "DirectoryClient.h"
#include "MessageService.h"
#include "PasswordCipher.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <ctime>
#include <unistd.h>

namespace suite {

namespace {

std::string upper(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::toupper(c); });
    return s;
}

long toLong(const std::optional<std::string>& v) {
    return v ? std::atol(v->c_str()) : 0;
}
bool toBool(const std::optional<std::string>& v) {
    return toLong(v) != 0;
}
std::string text(const std::optional<std::string>& v) {
    return v.value_or("");
}

} // namespace

bool privilegeGranted(const std::string& set, int n) {
    // Positions count from 0: privilege n is the character at index n.
    return n >= 0 && static_cast<size_t>(n) < set.size() && set[static_cast<size_t>(n)] == '\x02';
}

std::string combinePrivileges(const std::vector<std::string>& sets, size_t length) {
    std::string out(length, '\x01');
    for (const auto& s : sets)
        for (size_t i = 0; i < length && i < s.size(); ++i)
            if (s[i] == '\x02')
                out[i] = '\x02';
    return out;
}

std::string LoginComponent::EncryptedPassword(const std::string& plain) {
    return PasswordCipher::encrypt(plain);
}
std::string LoginComponent::DecryptedPassword(const std::string& scrambled) {
    return PasswordCipher::decrypt(scrambled);
}

std::string LoginComponent::connectionString() const {
    if (!ODBCSource.empty())
        return "DSN=" + ODBCSource + ";UID=" + SQLUserName + ";PWD=" + SQLPassword + ";APP=KDLOGIN";
    return "Driver={SQL Server};Server=" + SQLServerName + ";Database=" + SQLDBName + ";UID=" + SQLUserName +
           ";PWD=" + SQLPassword + ";APP=KDLOGIN";
}

bool LoginComponent::connect() {
    return m_db.isOpen() || m_db.open(connectionString());
}

PasswordPolicy LoginComponent::loadPolicy(int policyId) {
    PasswordPolicy p;
    auto rows =
        m_db.query("SELECT permit_blank_password, case_sensitive_password, minimum_password_length, "
                   "require_alpha_numeric, allow_password_change, password_expiration_days, "
                   "intruder_detection_enabled, maximum_login_attempts, lockout_duration, flag3, flag2, string2 "
                   "FROM System_user_policies WHERE policy_id = " +
                   std::to_string(policyId));
    p.policyId = policyId;
    if (rows && !rows->empty()) {
        const auto& r = rows->front();
        p.permitBlankPassword = toBool(r[0]);
        p.caseSensitive = toBool(r[1]);
        p.minimumLength = static_cast<int>(toLong(r[2]));
        p.requireAlphaNumeric = toBool(r[3]);
        p.allowPasswordChange = toBool(r[4]);
        p.expirationDays = static_cast<int>(toLong(r[5]));
        p.intruderDetection = toBool(r[6]);
        p.maximumLoginAttempts = static_cast<int>(toLong(r[7]));
        p.lockoutMinutes = static_cast<int>(toLong(r[8]));
        p.flag3 = static_cast<int>(toLong(r[9]));
        p.authenticationType = static_cast<int>(toLong(r[10]));
        p.directorySettings = text(r[11]);
    }
    return p;
}

LoginComponent::Outcome LoginComponent::Authenticate(const std::string& userName, const std::string& password) {
    auto rows =
        m_db.query("SELECT user_id, CONVERT(binary(30), password), enabled, locked_out, must_change_password, flag4, "
                   "nbr_bad_attempts, CASE WHEN last_attempt_datetime IS NULL THEN -1 ELSE DATEDIFF(minute, "
                   "last_attempt_datetime, GETDATE()) END, CASE WHEN password_changed_datetime IS NULL THEN 0 ELSE "
                   "DATEDIFF(day, password_changed_datetime, GETDATE()) END "
                   "FROM System_user_bindery WHERE user_name = " +
                   SuiteConnection::quote(userName) + " AND flag3 = 0 AND is_deleted = 0");
    if (!rows || rows->empty())
        return Outcome::WrongCredentials;
    const auto& r = rows->front();
    const std::string id = text(r[0]);
    m_policy = loadPolicy(static_cast<int>(toLong(r[5])));
    if (!toBool(r[2]))
        return Outcome::Disabled;
    if (toBool(r[3])) {
        // A lock-out from failed attempts ends by itself after the policy's duration; one without
        // an attempt time was set by an administrator and stays.
        if (m_policy.intruderDetection && m_policy.lockoutMinutes > 0 &&
            toLong(r[7]) >= m_policy.lockoutDurationMinutes())
            m_db.execute("UPDATE System_user_bindery SET locked_out = 0, nbr_bad_attempts = 0 WHERE user_id = " + id);
        else
            return Outcome::LockedOut;
    }
    if (m_policy.authenticationType == PasswordPolicy::kDirectoryAuthentication)
        return directoryLogIn(id, userName, password, toLong(r[6]));
    const std::string hex = text(r[1]);
    std::string stored = hex.empty() ? std::string() : PasswordCipher::decrypt(hex.substr(0, 60));
    if (stored == PasswordCipher::kFailure)
        stored.clear();
    const bool match = m_policy.caseSensitive ? stored == password : upper(stored) == upper(password);
    if (!match || (hex.empty() && !password.empty()))
        return failedAttempt(id, toLong(r[6]));
    m_db.execute("UPDATE System_user_bindery SET nbr_bad_attempts = 0, last_access_datetime = GETDATE() "
                 "WHERE user_id = " +
                 id);
    loadUser(std::atol(id.c_str()));
    user.password = stored;
    const bool expired = m_policy.expirationDays > 0 && toLong(r[8]) >= m_policy.expirationDays;
    return toBool(r[4]) || expired ? Outcome::MustChangePassword : Outcome::LoggedIn;
}

LoginComponent::Outcome LoginComponent::failedAttempt(const std::string& id, long attemptsBefore) {
    const long attempts = attemptsBefore + 1;
    m_db.execute("UPDATE System_user_bindery SET nbr_bad_attempts = " + std::to_string(attempts) +
                 ", last_attempt_datetime = GETDATE() WHERE user_id = " + id);
    if (m_policy.intruderDetection && attempts >= m_policy.maximumLoginAttempts) {
        m_db.execute("UPDATE System_user_bindery SET locked_out = 1 WHERE user_id = " + id);
        return Outcome::NowLockedOut;
    }
    return Outcome::WrongCredentials;
}

LoginComponent::Outcome LoginComponent::directoryLogIn(const std::string& id, const std::string& userName,
                                                       const std::string& password, long attemptsBefore) {
    // A damaged settings text leaves defaults without a server, which the client refuses with a reason.
    DirectorySettings settings;
    settings.fromText(m_policy.directorySettings);
    const DirectoryAnswer answer = DirectoryClient(settings).authenticate(userName, password);
    switch (answer.status) {
    case DirectoryAnswer::Status::Accepted:
        break;
    case DirectoryAnswer::Status::Refused:
        return failedAttempt(id, attemptsBefore);
    case DirectoryAnswer::Status::Unavailable:
    case DirectoryAnswer::Status::Misconfigured:
        m_directoryProblem = answer.message;
        return Outcome::DirectoryUnavailable;
    }
    m_db.execute("UPDATE System_user_bindery SET nbr_bad_attempts = 0, last_access_datetime = GETDATE() "
                 "WHERE user_id = " +
                 id);
    loadUser(std::atol(id.c_str()));
    // The directory keeps this password: the suite's expiry and must-change rules do not apply to it.
    user.password = password;
    return Outcome::LoggedIn;
}

bool LoginComponent::loadUser(long userId) {
    auto rows = m_db.query("SELECT SUB.user_id, SUB.user_name, SUB.first_name, SUB.last_name, SUB.flag1, "
                           "SUB.is_administrator, SUB.flag2, SUB.partition_id, SP.partition_name, SUB.privilege_set1 "
                           "FROM System_user_bindery SUB LEFT JOIN System_partitions SP ON SP.partition_id = "
                           "SUB.partition_id WHERE SUB.user_id = " +
                           std::to_string(userId));
    if (!rows || rows->empty())
        return false;
    const auto& r = rows->front();
    user = LoginUser{};
    user.user_id = toLong(r[0]);
    user.user_name = text(r[1]);
    user.first_name = text(r[2]);
    user.last_name = text(r[3]);
    user.physician_id = toLong(r[4]);
    user.is_administrator = toLong(r[5]) == 1;
    user.is_trans_admin = (toLong(r[6]) & 1) != 0;
    user.is_paxlet_admin = (toLong(r[6]) & 2) != 0;
    user.Partition_ID = toLong(r[7]);
    user.Partition_Name = text(r[8]);
    // Effective system privileges: the user's own and those of every group the user belongs to.
    std::vector<std::string> sets{text(r[9])};
    m_groupIds.clear();
    if (auto groups = m_db.query("SELECT SUB.user_id, SUB.privilege_set1 FROM System_security_groups SSG, "
                                 "System_user_bindery SUB WHERE SSG.user_id = " +
                                 std::to_string(userId) + " AND SUB.user_id = SSG.group_id AND SUB.flag3 > 0")) {
        for (const auto& g : *groups) {
            m_groupIds.push_back(toLong(g[0]));
            sets.push_back(text(g[1]));
        }
    }
    user.privilegeSet = combinePrivileges(sets, 160);
    return true;
}

std::string LoginComponent::SetNewPassword(const std::string& password, const std::string& confirm) {
    if (m_policy.authenticationType == PasswordPolicy::kDirectoryAuthentication)
        return "Your password is checked by the directory server and cannot be changed here.  Change it where your "
               "directory account is kept.";
    // The built-in Administrator account keeps the administrator rule of the password check.
    const long adminRule = upper(user.user_name) == "ADMINISTRATOR" ? PasswordPolicy::kAdministratorRule : 0;
    std::string problem;
    if (!m_policy.IsPasswordOk(user.password, password, confirm, true, adminRule, problem))
        return problem;
    if (!PasswordCipher::CanWrite())
        return PasswordCipher::kNoSiteKeyMessage;
    if (password.size() > PasswordCipher::kMaxPasswordLength)
        return "The login password cannot be longer than " + std::to_string(PasswordCipher::kMaxPasswordLength) +
               " characters.  Please enter a different login password.";
    if (!m_db.execute("UPDATE System_user_bindery SET password = 0x" + PasswordCipher::encrypt(password) +
                      ", password_changed_datetime = GETDATE(), must_change_password = 0 WHERE user_id = " +
                      std::to_string(user.user_id)))
        return "The new password could not be saved.  " + m_db.lastError();
    user.password = password;
    return {};
}

std::string LoginComponent::messageFor(Outcome o, const std::string& userName) const {
    switch (o) {
    case Outcome::WrongCredentials:
        return "Invalid user name or password.  Please try again.";
    case Outcome::Disabled:
        return "The account for user " + userName + " has been disabled.  Contact your system administrator.";
    case Outcome::LockedOut:
        return "The account for user " + userName + " is locked out.  Contact your system administrator.";
    case Outcome::NowLockedOut:
        return "Too many failed log-in attempts.  The account for user " + userName + " has been locked out.";
    case Outcome::MustChangePassword:
        return "Your password must be changed before you continue.";
    case Outcome::DirectoryUnavailable:
        return "Your password could not be checked by the directory server.  " + m_directoryProblem +
               "  Please try again later or contact your system administrator.";
    case Outcome::LoggedIn:
        break;
    }
    return {};
}

int LoginComponent::Login(bool, int, const std::string&) {
    if (!connect())
        return 2;
    if (!prompt)
        return 1;
    std::string name, password, message;
    for (;;) {
        if (!prompt->askCredentials(name, password, message))
            return 1;
        Outcome o = Authenticate(name, password);
        if (o == Outcome::LoggedIn)
            return 0;
        if (o != Outcome::MustChangePassword) {
            message = messageFor(o, name);
            password.clear();
            continue;
        }
        std::string newMessage = messageFor(o, name);
        for (;;) {
            std::string pw, confirm;
            if (!prompt->askNewPassword(pw, confirm, newMessage))
                return 1;
            newMessage = SetNewPassword(pw, confirm);
            if (newMessage.empty())
                return 0;
        }
    }
}

bool LoginComponent::ChangePassword() {
    if (!prompt || user.user_id == 0)
        return false;
    std::string message;
    for (;;) {
        std::string pw, confirm;
        if (!prompt->askNewPassword(pw, confirm, message))
            return false;
        message = SetNewPassword(pw, confirm);
        if (message.empty())
            return true;
    }
}

bool LoginComponent::LoadAccountData() {
    m_accounts.clear();
    m_accountIndex.clear();
    auto accounts = m_db.query("SELECT hosp_acct_id, hosp_acct_name, email_type, is_deleted, partition_id "
                               "FROM Account_info ORDER BY hosp_acct_id");
    if (!accounts)
        return false;
    for (const auto& r : *accounts) {
        HospAccount a;
        a.hosp_acct_id = toLong(r[0]);
        a.hosp_acct_name = text(r[1]);
        a.email_type = static_cast<int>(toLong(r[2]));
        a.is_deleted = toBool(r[3]);
        a.Partition_ID = toLong(r[4]);
        a.privilegeSet = std::string(255, '\x01');
        m_accounts.push_back(std::move(a));
    }
    indexAccounts();
    if (auto types = m_db.query("SELECT hosp_acct_id, dept_id, report_type_nbr, report_name, is_deleted FROM "
                                "Reports_cfg WHERE report_version_nbr = 0 ORDER BY hosp_acct_id, dept_id, "
                                "report_type_nbr")) {
        for (const auto& r : *types) {
            int index = GetAcctIndex(toLong(r[0]));
            if (index == 0)
                continue;
            HospAccount& a = m_accounts[static_cast<size_t>(index - 1)];
            ReportTypeInfo t{toLong(r[1]), toLong(r[2]), text(r[3]), toBool(r[4])};
            if (std::find(a.Departments.begin(), a.Departments.end(), t.dept_id) == a.Departments.end())
                a.Departments.push_back(t.dept_id);
            a.ReportTypes.push_back(std::move(t));
        }
    }
    // The user's account privileges, combined with those of the user's groups.
    if (user.user_id != 0) {
        std::string ids = std::to_string(user.user_id);
        for (long g : m_groupIds)
            ids += "," + std::to_string(g);
        if (auto privs = m_db.query("SELECT hosp_acct_id, privilege_set1 FROM Privileges_accounts WHERE user_id IN (" +
                                    ids + ")")) {
            for (const auto& r : *privs) {
                int index = GetAcctIndex(toLong(r[0]));
                if (index == 0)
                    continue;
                HospAccount& a = m_accounts[static_cast<size_t>(index - 1)];
                a.privilegeSet = combinePrivileges({a.privilegeSet, text(r[1])}, 255);
            }
        }
    }
    return true;
}

int LoginComponent::GetAcctIndex(long accountId) const {
    auto it = m_accountIndex.find(accountId);
    return it == m_accountIndex.end() ? 0 : it->second;
}

void LoginComponent::indexAccounts() {
    m_accountIndex.clear();
    for (size_t i = 0; i < m_accounts.size(); ++i)
        m_accountIndex.emplace(m_accounts[i].hosp_acct_id, static_cast<int>(i) + 1); // the first of a number wins
}

bool LoginComponent::LoadUserOptions() {
    m_options.clear();
    auto rows =
        m_db.query("SELECT key_name, key_value FROM System_user_cfg WHERE user_id = " + std::to_string(user.user_id) +
                   " AND application_id = " + std::to_string(kOptionsApplication));
    if (!rows)
        return false;
    for (const auto& r : *rows)
        m_options[upper(text(r[0]))] = text(r[1]);
    return true;
}

std::string LoginComponent::GetUserOptionValue(const std::string& name, const std::string& def) const {
    auto it = m_options.find(upper(name));
    return it == m_options.end() ? def : it->second;
}

void LoginComponent::AddUserOption(const std::string& name, const std::string& value) {
    m_options[upper(name)] = value;
}

bool LoginComponent::SaveUserOptions() {
    std::string batch = "DELETE FROM System_user_cfg WHERE user_id = " + std::to_string(user.user_id) +
                        " AND application_id = " + std::to_string(kOptionsApplication) + "\n";
    for (const auto& [name, value] : m_options)
        batch += "INSERT INTO System_user_cfg (user_id, application_id, key_name, key_value, partition_id) VALUES (" +
                 std::to_string(user.user_id) + ", " + std::to_string(kOptionsApplication) + ", " +
                 SuiteConnection::quote(name) + ", " + SuiteConnection::quote(value) + ", " +
                 std::to_string(user.Partition_ID) + ")\n";
    return m_db.execute(batch);
}

std::string LoginComponent::transId() const {
    return user.user_name.substr(0, 8);
}

std::vector<std::pair<int, std::string>> LoginComponent::WorkTimeTypes() {
    std::vector<std::pair<int, std::string>> out;
    if (auto rows = m_db.query("SELECT pause_type, pause_description FROM Pause_types WHERE hosp_acct_id = -1 AND "
                               "pause_type > 0 AND work_hours_choice = 1 ORDER BY pause_type"))
        for (const auto& r : *rows)
            out.emplace_back(static_cast<int>(toLong(r[0])), text(r[1]));
    return out;
}

std::vector<WorkTimeEntry> LoginComponent::WorkTimeEntries(const std::string& day) {
    std::vector<WorkTimeEntry> out;
    auto rows = m_db.query("SELECT TA.pause_type, PT.pause_description, CONVERT(char(19), TA.start_datetime, 120), "
                           "CONVERT(char(19), TA.end_datetime, 120) FROM Trans_activity TA LEFT JOIN Pause_types PT "
                           "ON PT.pause_type = TA.pause_type AND PT.hosp_acct_id = -1 WHERE TA.trans_id = " +
                           SuiteConnection::quote(transId()) + " AND TA.start_datetime >= " +
                           SuiteConnection::quote(day + " 00:00:00") + " AND TA.start_datetime < DATEADD(day, 1, " +
                           SuiteConnection::quote(day + " 00:00:00") + ") ORDER BY TA.start_datetime");
    if (rows)
        for (const auto& r : *rows)
            out.push_back({static_cast<int>(toLong(r[0])), text(r[1]), text(r[2]), text(r[3])});
    return out;
}

std::string LoginComponent::AddWorkTime(int pauseType, const std::string& start, const std::string& end) {
    if (transId().empty())
        return "No user is logged in.";
    std::string endValue = end.empty() ? "NULL" : SuiteConnection::quote(end);
    if (!end.empty()) {
        auto order = m_db.query("SELECT CASE WHEN CONVERT(datetime, " + SuiteConnection::quote(end) +
                                ") > CONVERT(datetime, " + SuiteConnection::quote(start) + ") THEN 1 ELSE 0 END");
        if (!order)
            return "The start and end times must be valid times.";
        if (order->empty() || order->front()[0].value_or("0") != "1")
            return "The end time must be later than the start time.";
    }
    if (!m_db.execute("INSERT Trans_activity VALUES (" + SuiteConnection::quote(transId()) + ", " +
                      std::to_string(pauseType) + ", " + SuiteConnection::quote(start) + ", " + endValue + ")"))
        return "The start and end times must be valid times.";
    return {};
}

std::string LoginComponent::NameOfPC() const {
    if (const char* pinned = std::getenv("KDADMIN_WORKSTATION"); pinned && *pinned)
        return pinned;
    char buf[256] = {};
    gethostname(buf, sizeof buf - 1);
    return upper(buf);
}

bool LoginComponent::SendEmail(const EmailParameters& parameters) {
    static unsigned long sent = 0;
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char host[256] = {};
    gethostname(host, sizeof host - 1);
    const std::string messageId = std::to_string(static_cast<long long>(now)) + "." + std::to_string(getpid()) + "." +
                                  std::to_string(++sent) + "@" + (host[0] ? host : "localhost");
    EmailMessage message;
    m_lastEmailError =
        message.Compose(parameters, EmailMessage::HeaderDate(now, static_cast<int>(local.tm_gmtoff / 60)), messageId);
    if (m_lastEmailError.empty())
        m_lastEmailError = Mailer.Submit(message.text());
    if (!m_lastEmailError.empty() && parameters.p_blnShowMessages)
        platform::MsgBox(m_lastEmailError, platform::MsgButtons::OK, platform::MsgIcon::Exclamation, "Send Email");
    return m_lastEmailError.empty();
}

void LoginComponent::Logoff() {
    if (user.user_id != 0)
        m_db.execute("UPDATE System_user_bindery SET last_access_datetime = GETDATE() WHERE user_id = " +
                     std::to_string(user.user_id));
    user = LoginUser{};
    m_accounts.clear();
    m_accountIndex.clear();
    m_options.clear();
}

} // namespace suite
