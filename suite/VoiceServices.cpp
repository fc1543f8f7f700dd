#include "VoiceServices.h"

#include <openssl/sha.h>

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace suite {

namespace {

std::string upper(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return s;
}

std::string trimmed(const std::string& s) {
    const size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos)
        return "";
    return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

std::string q(const std::string& text) {
    return SuiteConnection::quote(text);
}

std::string num(long value) {
    return std::to_string(value);
}

std::string flag(bool value) {
    return value ? "1" : "0";
}

std::string textOrNull(const std::string& text) {
    return text.empty() ? "NULL" : q(text);
}

long toLong(const std::optional<std::string>& v) {
    if (!v || v->empty())
        return 0;
    try {
        return std::stol(*v);
    } catch (...) {
        return 0;
    }
}

const char* const kUserColumns = "user_id, facility, user_name, allow_dictate, allow_listen, allow_open_tasks, "
                                 "suspended, allow_route_change, gain, num_open_tasks, pause_alert_interval, "
                                 "accel_factor, auto_back_inc, ff_inc, rew_inc, security_group, configuration_group, "
                                 "address, email, fax, notes, pager, telephone";

} // namespace

void VeltraServices::SetConnection(const std::string& connectionString, long adminUserId, long adminFacility,
                                   const std::string& adminPassword) {
    m_connectionString = connectionString;
    m_adminUserId = adminUserId;
    m_adminFacility = adminFacility;
    m_adminPassword = adminPassword;
}

std::string VeltraServices::OdbcConnectionString(const std::string& connectionString) {
    std::string out;
    bool named = false;
    size_t pos = 0;
    while (pos <= connectionString.size()) {
        size_t semi = connectionString.find(';', pos);
        if (semi == std::string::npos)
            semi = connectionString.size();
        const std::string part = connectionString.substr(pos, semi - pos);
        pos = semi + 1;
        const size_t eq = part.find('=');
        if (eq == std::string::npos)
            continue;
        const std::string key = upper(trimmed(part.substr(0, eq)));
        const std::string value = trimmed(part.substr(eq + 1));
        std::string odbcKey;
        if (key == "DATA SOURCE" || key == "SERVER" || key == "ADDRESS" || key == "ADDR")
            odbcKey = "Server";
        else if (key == "INITIAL CATALOG" || key == "DATABASE")
            odbcKey = "Database";
        else if (key == "USER ID" || key == "UID")
            odbcKey = "UID";
        else if (key == "PASSWORD" || key == "PWD")
            odbcKey = "PWD";
        else if (key == "DRIVER" || key == "DSN") {
            odbcKey = key == "DSN" ? "DSN" : "Driver";
            named = true;
        } else if (key == "PROVIDER" || key == "APP")
            continue;
        else
            odbcKey = trimmed(part.substr(0, eq));
        out += odbcKey + "=" + value + ";";
    }
    return named ? out : "Driver={SQL Server};" + out;
}

std::string VeltraServices::PasswordDigest(long facility, long userId, const std::string& password) {
    const std::string material = num(facility) + ":" + num(userId) + ":" + password;
    unsigned char digest[SHA256_DIGEST_LENGTH];
    SHA256(reinterpret_cast<const unsigned char*>(material.data()), material.size(), digest);
    std::string hex;
    char two[3];
    for (unsigned char b : digest) {
        std::snprintf(two, sizeof two, "%02X", b);
        hex += two;
    }
    return hex;
}

std::string VeltraServices::connect() {
    m_db.setTimeouts(kConnectionTimeout, kCommandTimeout);
    if (!m_db.open(OdbcConnectionString(m_connectionString)))
        return m_db.lastError().empty() ? "Unable to connect to the Veltra Voice database." : m_db.lastError();
    auto rows = m_db.query("SELECT password_digest FROM vv_users WHERE facility = " + num(m_adminFacility) +
                           " AND user_id = " + num(m_adminUserId) + " AND is_admin = 1");
    if (!rows) {
        std::string error = m_db.lastError();
        m_db.close();
        return error;
    }
    if (rows->empty() || !rows->front()[0] ||
        *rows->front()[0] != PasswordDigest(m_adminFacility, m_adminUserId, m_adminPassword)) {
        m_db.close();
        return "Invalid administrator credentials for user " + num(m_adminUserId) + " in facility " +
               num(m_adminFacility) + ".";
    }
    return kOK;
}

std::string VeltraServices::run(const std::string& sql) {
    std::string answer = connect();
    if (answer != kOK)
        return answer;
    if (!m_db.execute(sql))
        answer = m_db.lastError();
    m_db.close();
    return answer;
}

std::string VeltraServices::VerifyAdministrator() {
    std::string answer = connect();
    m_db.close();
    return answer;
}

std::string VeltraServices::GetSpecificVeltraUser(long facility, long userId, VeltraUser& user, bool& found) {
    found = false;
    std::string answer = connect();
    if (answer != kOK)
        return answer;
    auto rows = m_db.query(std::string("SELECT ") + kUserColumns + " FROM vv_users WHERE facility = " + num(facility) +
                           " AND user_id = " + num(userId));
    if (!rows) {
        answer = m_db.lastError();
    } else if (!rows->empty()) {
        const auto& r = rows->front();
        auto text = [&](size_t i) { return r[i].value_or(""); };
        auto on = [&](size_t i) { return toLong(r[i]) != 0; };
        auto n = [&](size_t i) { return static_cast<int>(toLong(r[i])); };
        user = VeltraUser{};
        user.UserId = toLong(r[0]);
        user.Facility = toLong(r[1]);
        user.UserName = text(2);
        user.AllowDictate = on(3);
        user.AllowListen = on(4);
        user.AllowOpenTasks = on(5);
        user.Suspended = on(6);
        user.AllowRouteChange = on(7);
        user.Gain = n(8);
        user.NumOpenTasks = n(9);
        user.PauseAlertInterval = n(10);
        user.AccelFactor = n(11);
        user.AutoBackInc = n(12);
        user.FFInc = n(13);
        user.RewInc = n(14);
        user.SecurityGroup = toLong(r[15]);
        user.ConfigurationGroup = toLong(r[16]);
        user.Address = text(17);
        user.Email = text(18);
        user.Fax = text(19);
        user.Notes = text(20);
        user.Pager = text(21);
        user.Telephone = text(22);
        found = true;
    }
    m_db.close();
    return answer;
}

std::string VeltraServices::AddVeltraUser(const VeltraUser& u, const std::string& password) {
    const std::string digest = password.empty() ? "NULL" : q(PasswordDigest(u.Facility, u.UserId, password));
    return run("IF EXISTS (SELECT user_id FROM vv_users WHERE facility = " + num(u.Facility) +
               " AND user_id = " + num(u.UserId) +
               ")\n"
               "    RAISERROR ('The user already exists in this facility.', 16, 1)\n"
               "ELSE\n"
               "    INSERT INTO vv_users (" +
               kUserColumns + ", password_digest, modified)\n    VALUES (" + num(u.UserId) + ", " + num(u.Facility) +
               ", " + q(u.UserName) + ", " + flag(u.AllowDictate) + ", " + flag(u.AllowListen) + ", " +
               flag(u.AllowOpenTasks) + ", " + flag(u.Suspended) + ", " + flag(u.AllowRouteChange) + ", " +
               num(u.Gain) + ", " + num(u.NumOpenTasks) + ", " + num(u.PauseAlertInterval) + ", " + num(u.AccelFactor) +
               ", " + num(u.AutoBackInc) + ", " + num(u.FFInc) + ", " + num(u.RewInc) + ", " + num(u.SecurityGroup) +
               ", " + num(u.ConfigurationGroup) + ", " + textOrNull(u.Address) + ", " + textOrNull(u.Email) + ", " +
               textOrNull(u.Fax) + ", " + textOrNull(u.Notes) + ", " + textOrNull(u.Pager) + ", " +
               textOrNull(u.Telephone) + ", " + digest + ", GETDATE())");
}

std::string VeltraServices::UpdateVeltraUser(const VeltraUser& u, const std::string& password) {
    const std::string where = " WHERE facility = " + num(u.Facility) + " AND user_id = " + num(u.UserId);
    return run("IF NOT EXISTS (SELECT user_id FROM vv_users" + where +
               ")\n"
               "    RAISERROR ('The user does not exist in this facility.', 16, 1)\n"
               "ELSE\n"
               "    UPDATE vv_users SET user_name = " +
               q(u.UserName) + ", allow_dictate = " + flag(u.AllowDictate) + ", allow_listen = " + flag(u.AllowListen) +
               ", allow_open_tasks = " + flag(u.AllowOpenTasks) + ", suspended = " + flag(u.Suspended) +
               ", allow_route_change = " + flag(u.AllowRouteChange) + ", gain = " + num(u.Gain) +
               ", num_open_tasks = " + num(u.NumOpenTasks) + ", pause_alert_interval = " + num(u.PauseAlertInterval) +
               ", accel_factor = " + num(u.AccelFactor) + ", auto_back_inc = " + num(u.AutoBackInc) +
               ", ff_inc = " + num(u.FFInc) + ", rew_inc = " + num(u.RewInc) +
               ", security_group = " + num(u.SecurityGroup) + ", configuration_group = " + num(u.ConfigurationGroup) +
               ", address = " + textOrNull(u.Address) + ", email = " + textOrNull(u.Email) +
               ", fax = " + textOrNull(u.Fax) + ", notes = " + textOrNull(u.Notes) +
               ", pager = " + textOrNull(u.Pager) + ", telephone = " + textOrNull(u.Telephone) +
               (password.empty() ? "" : ", password_digest = " + q(PasswordDigest(u.Facility, u.UserId, password))) +
               ", modified = GETDATE()" + where);
}

std::string VeltraServices::RemoveVeltraUser(long facility, long userId) {
    const std::string where = " WHERE facility = " + num(facility) + " AND user_id = " + num(userId);
    return run("IF NOT EXISTS (SELECT user_id FROM vv_users" + where +
               ")\n"
               "    RAISERROR ('The user does not exist in this facility.', 16, 1)\n"
               "ELSE\n"
               "    DELETE FROM vv_users" +
               where);
}

std::string VeltraServices::SetVeltraUserPassword(long facility, long userId, const std::string& password,
                                                  bool mustChange) {
    const std::string where = " WHERE facility = " + num(facility) + " AND user_id = " + num(userId);
    return run("IF NOT EXISTS (SELECT user_id FROM vv_users" + where +
               ")\n"
               "    RAISERROR ('The user does not exist in this facility.', 16, 1)\n"
               "ELSE\n"
               "    UPDATE vv_users SET password_digest = " +
               q(PasswordDigest(facility, userId, password)) + ", must_change = " + flag(mustChange) +
               ", modified = GETDATE()" + where);
}

std::string VeltraServices::groups(const std::string& table, NamedGroups& out) {
    out.clear();
    std::string answer = connect();
    if (answer != kOK)
        return answer;
    auto rows = m_db.query("SELECT group_id, group_name FROM " + table + " ORDER BY group_name");
    if (!rows)
        answer = m_db.lastError();
    else
        for (const auto& r : *rows)
            out.emplace_back(toLong(r[0]), r[1].value_or(""));
    m_db.close();
    return answer;
}

std::string VeltraServices::GetNamedSecurityGroups(NamedGroups& groups) {
    return this->groups("vv_security_groups", groups);
}

std::string VeltraServices::GetNamedConfigGroups(NamedGroups& groups) {
    return this->groups("vv_config_groups", groups);
}

} // namespace suite
