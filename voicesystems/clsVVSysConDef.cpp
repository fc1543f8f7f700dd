#include "clsVVSysConDef.h"

#include "DatabaseSession.h"
#include "LoginComponent.h"
#include "MessageService.h"
#include "Numbers.h"
#include "PasswordCipher.h"
#include "Utf8.h"
#include "VVConnectionText.h"

#include <cctype>

namespace voicesystems {

using foundation::DatabaseSession;

const VVRule kVVSysConDefRules[9] = {
    {"SystemName", "The System Name field must be unique and non-blank."},
    {"ServerName", "The Server field is not properly defined."},
    {"DatabaseName", "The Database field is not properly defined."},
    {"UserName", "The SQL User field is not properly defined."},
    {"PasswordName", "The SQL Password field is not properly defined."},
    {"ConnectionString", "The Connection String field is not properly defined."},
    {"AdminUserId", "The Administrator User ID field is not properly defined."},
    {"AdminFacility", "The Administrator Facility field is not properly defined."},
    {"AdminPassword", "The Administrator Password field is not properly defined."},
};

namespace {

// Column widths of voice_systems, and the longest password the login component scrambles.
constexpr size_t kNameWidth = 50, kServerWidth = 100, kDatabaseWidth = 100, kUserWidth = 50, kStringWidth = 500;
constexpr size_t kPasswordMax = 20;

bool blank(const std::string& s) {
    return s.find_first_not_of(" \t") == std::string::npos;
}

// A ";" would end the value inside the connection string built from the properties.
bool badText(const std::string& s, size_t width) {
    return blank(s) || platform::utf8Length(s) > width || s.find(';') != std::string::npos;
}

// Only a "Password=" part is scrambled and left out of the logs, so the password must be given so.
bool hasPwdPart(const std::string& connection) {
    const std::string normal = NormaliseConnectionString(connection);
    std::string lower = ";" + normal;
    for (auto& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower.find(";pwd=") != std::string::npos;
}

std::string quoted(const std::string& s) {
    return "'" + DatabaseSession::QuoteSQL(s) + "'";
}

} // namespace

clsVVSysConDef::clsVVSysConDef() {
    wireRules();
    CheckRules();
}

clsVVSysConDef::clsVVSysConDef(const clsVVSysConDef& other)
    : BrokenRule(), NoBrokenRules(), NameTaken(), m_v(other.m_v), m_original(other.m_original), m_saved(other.m_saved),
      m_savedDirty(other.m_savedDirty), m_isNew(other.m_isNew), m_isDirty(other.m_isDirty),
      m_isDeleted(other.m_isDeleted), m_rules(other.m_rules) {
    wireRules();
}

clsVVSysConDef& clsVVSysConDef::operator=(const clsVVSysConDef& other) {
    if (this != &other) {
        m_v = other.m_v;
        m_original = other.m_original;
        m_saved = other.m_saved;
        m_savedDirty = other.m_savedDirty;
        m_isNew = other.m_isNew;
        m_isDirty = other.m_isDirty;
        m_isDeleted = other.m_isDeleted;
        m_rules = other.m_rules;
        wireRules();
    }
    return *this;
}

void clsVVSysConDef::wireRules() {
    m_rules.BrokenRule = [this] {
        if (BrokenRule)
            BrokenRule();
    };
    m_rules.NoBrokenRules = [this] {
        if (NoBrokenRules)
            NoBrokenRules();
    };
}

void clsVVSysConDef::CheckRules() {
    const bool properties = m_v.connectionType == 0;
    const bool nameTaken = NameTaken && NameTaken(m_v.systemName, this);
    m_rules.RuleBroken("SystemName",
                       blank(m_v.systemName) || platform::utf8Length(m_v.systemName) > kNameWidth || nameTaken);
    m_rules.RuleBroken("ServerName", properties && badText(m_v.serverName, kServerWidth));
    m_rules.RuleBroken("DatabaseName", properties && badText(m_v.databaseName, kDatabaseWidth));
    m_rules.RuleBroken("UserName", properties && badText(m_v.userName, kUserWidth));
    m_rules.RuleBroken("PasswordName", properties && badText(m_v.passwordName, kPasswordMax));
    bool badString = false;
    if (!properties) {
        const std::string server = GetTheServerNameToTest();
        const std::string password = ConnectionStringValue(m_v.connectionString, "password");
        badString = blank(m_v.connectionString) ||
                    (blank(server) && blank(ConnectionStringValue(m_v.connectionString, "dsn"))) ||
                    platform::utf8Length(password) > kPasswordMax || hasPwdPart(m_v.connectionString) ||
                    platform::utf8Length(storedConnectionString()) > kStringWidth;
    }
    m_rules.RuleBroken("ConnectionString", badString);
    m_rules.RuleBroken("AdminUserId", m_v.adminUserId <= 0);
    m_rules.RuleBroken("AdminFacility", m_v.adminFacility < 0);
    m_rules.RuleBroken("AdminPassword",
                       blank(m_v.adminPassword) || platform::utf8Length(m_v.adminPassword) > kPasswordMax);
}

void clsVVSysConDef::SetSystemName(const std::string& v) {
    m_v.systemName = v;
    changed();
    CheckRules();
}

void clsVVSysConDef::SetConnectionType(int v) {
    m_v.connectionType = v == 1 ? 1 : 0;
    changed();
    CheckRules();
}

void clsVVSysConDef::Setservername(const std::string& v) {
    m_v.serverName = v;
    changed();
    CheckRules();
}

void clsVVSysConDef::SetDatabaseName(const std::string& v) {
    m_v.databaseName = v;
    changed();
    CheckRules();
}

void clsVVSysConDef::SetUserName(const std::string& v) {
    m_v.userName = v;
    changed();
    CheckRules();
}

void clsVVSysConDef::SetPasswordName(const std::string& v) {
    m_v.passwordName = v;
    changed();
    CheckRules();
}

void clsVVSysConDef::SetConnectionString(const std::string& v) {
    m_v.connectionString = NormaliseConnectionString(v);
    changed();
    CheckRules();
}

void clsVVSysConDef::SetAdminUserId(long v) {
    m_v.adminUserId = v;
    changed();
    CheckRules();
}

void clsVVSysConDef::SetAdminFacility(long v) {
    m_v.adminFacility = v;
    changed();
    CheckRules();
}

void clsVVSysConDef::SetAdminPassword(const std::string& v) {
    m_v.adminPassword = v;
    changed();
    CheckRules();
}

clsVVSysConDef clsVVSysConDef::FromRow(const Values& v) {
    clsVVSysConDef d;
    d.m_v = v;
    d.m_original = v;
    d.m_isNew = false;
    d.m_isDirty = false;
    d.CheckRules();
    return d;
}

void clsVVSysConDef::BeginEdit() {
    m_saved = m_v;
    m_savedDirty = m_isDirty;
}

void clsVVSysConDef::CancelEdit() {
    if (m_saved) {
        m_v = *m_saved;
        m_isDirty = m_savedDirty;
        m_saved.reset();
    }
    m_isDeleted = false;
    CheckRules();
}

std::string clsVVSysConDef::stored(const std::string& password) {
    if (!DatabaseSession::instance().VersionAtLeast(7.57))
        return password;
    return suite::LoginComponent::EncryptedPassword(password);
}

std::string clsVVSysConDef::storedConnectionString() const {
    const std::string normal = NormaliseConnectionString(m_v.connectionString);
    if (RemovePasswordPart(normal) == normal) // no password part
        return normal;
    return ReplacePasswordValue(normal, stored(ConnectionStringValue(normal, "password")));
}

std::string clsVVSysConDef::SaveStatement() const {
    const std::string id = std::to_string(m_v.systemId);
    const bool properties = m_v.connectionType == 0;
    // Only the fields of the chosen connection type are kept; the others are written empty.
    const std::string server = properties ? m_v.serverName : "";
    const std::string database = properties ? m_v.databaseName : "";
    const std::string user = properties ? m_v.userName : "";
    const std::string password = properties ? stored(m_v.passwordName) : "";
    const std::string connection = properties ? "" : storedConnectionString();
    if (m_isDeleted)
        return m_isNew ? ""
                       : "DELETE FROM voice_systems WHERE system_id = " + id +
                             " AND system_name = " + quoted(m_original.systemName);
    if (m_isNew)
        return "INSERT INTO voice_systems (system_id, system_name, connection_type, server_name, database_name, "
               "user_name, password_name, connection_string, admin_user_id, admin_facility, admin_password, flag1, "
               "flag2, flag3, flag4, string1, string2, string3, date1)\r\nVALUES(" +
               id + ", " + quoted(m_v.systemName) + ", " + std::to_string(m_v.connectionType) + ", " + quoted(server) +
               ", " + quoted(database) + ", " + quoted(user) + ", " + quoted(password) + ", " + quoted(connection) +
               ", " + std::to_string(m_v.adminUserId) + ", " + std::to_string(m_v.adminFacility) + ", " +
               quoted(stored(m_v.adminPassword)) + ", " + std::to_string(m_v.flags[0]) + ", " +
               std::to_string(m_v.flags[1]) + ", " + std::to_string(m_v.flags[2]) + ", " +
               std::to_string(m_v.flags[3]) + ", NULL, NULL, NULL, NULL)";
    if (!m_isDirty)
        return "";
    return "UPDATE voice_systems\r\nSET connection_type =    " + std::to_string(m_v.connectionType) +
           ",\r\n    server_name =       " + quoted(server) + ",\r\n    database_name =     " + quoted(database) +
           ",\r\n    user_name =         " + quoted(user) + ",\r\n    password_name =     " + quoted(password) +
           ",\r\n    connection_string = " + quoted(connection) +
           ",\r\n    admin_user_id =     " + std::to_string(m_v.adminUserId) +
           ",\r\n    admin_facility =    " + std::to_string(m_v.adminFacility) +
           ",\r\n    admin_password =    " + quoted(stored(m_v.adminPassword)) + "\r\nWHERE system_id = " + id +
           " AND system_name = " + quoted(m_original.systemName);
}

bool clsVVSysConDef::ApplyEdit() {
    // A site without its password key file saves no password (it would be lost as an empty value).
    if (!m_isDeleted && DatabaseSession::instance().VersionAtLeast(7.57) && !suite::PasswordCipher::CanWrite()) {
        platform::MsgBox(suite::PasswordCipher::kNoSiteKeyMessage, platform::MsgButtons::OK,
                         platform::MsgIcon::Critical, "Voice Systems");
        return false;
    }
    m_saved.reset();
    const std::string sql = SaveStatement();
    if (!sql.empty()) {
        auto& s = DatabaseSession::instance();
        s.SQLStatement = sql;
        if (s.ExecSQL() != 1 || !s.FlushResults())
            return false;
    }
    if (!m_isDeleted)
        MarkOld();
    return true;
}

std::string clsVVSysConDef::GetConnectionString() const {
    if (m_v.connectionType == 1)
        return m_v.connectionString;
    return "User ID=" + m_v.userName + ";Password=" + m_v.passwordName + ";Initial Catalog=" + m_v.databaseName +
           ";Data Source=" + m_v.serverName + ";App=" + kProgramName + ".exe";
}

std::string clsVVSysConDef::GetConnectionStringSansPassword() const {
    return RemovePasswordPart(GetConnectionString());
}

std::string clsVVSysConDef::GetErrString() const {
    std::vector<std::string> messages;
    for (const auto& rule : kVVSysConDefRules)
        if (m_rules.IsBroken(rule.name))
            messages.emplace_back(rule.message);
    return VVErrString(messages);
}

std::string clsVVSysConDef::GetTheServerNameToTest() const {
    if (m_v.connectionType == 1) {
        std::string server = ConnectionStringValue(m_v.connectionString, "server");
        if (server.empty())
            server = ConnectionStringValue(m_v.connectionString, "data source");
        return ServerNameToTest(server);
    }
    return ServerNameToTest(m_v.serverName);
}

} // namespace voicesystems
