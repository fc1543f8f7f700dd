#pragma once

#include "SuiteConnection.h"

#include <string>
#include <utility>
#include <vector>

namespace suite {

// One user of a remote voice system, as the system keeps it for a facility.
struct VeltraUser {
    long UserId = 0;
    long Facility = 0;
    std::string UserName;
    bool AllowDictate = true, AllowListen = true, AllowOpenTasks = true, Suspended = false, AllowRouteChange = false;
    int Gain = 0, NumOpenTasks = 1, PauseAlertInterval = 0, AccelFactor = 0, AutoBackInc = 0, FFInc = 0, RewInc = 0;
    long SecurityGroup = 0, ConfigurationGroup = 0;
    std::string Address, Email, Fax, Notes, Pager, Telephone;

    bool operator==(const VeltraUser&) const = default;
};

using NamedGroups = std::vector<std::pair<long, std::string>>;

// The voice services component (COMVeltraServices.VeltraServices): reaches a remote voice system
// through that system's own database and acts there as the definition's facility administrator.
// Every call connects, checks the administrator's credentials, does its work and disconnects;
// it answers "OK" or the text of the error met.
class VeltraServices {
public:
    static constexpr const char* kOK = "OK";

    [[nodiscard]] static std::string Version() { return "8.1.0"; }

    // The definition to act on: its connection string (the ADO form the console builds, or an ODBC
    // string), and the administrator's user id, facility and plain password.
    void SetConnection(const std::string& connectionString, long adminUserId, long adminFacility,
                       const std::string& adminPassword);
    // The ADO-style string rewritten for the ODBC driver manager: "Data Source" becomes Server,
    // "Initial Catalog" Database, "User ID" UID, "Password" PWD; Provider and App are dropped;
    // without Driver or DSN the "SQL Server" driver is named.
    [[nodiscard]] static std::string OdbcConnectionString(const std::string& connectionString);
    // The digest the remote system keeps instead of a password.
    [[nodiscard]] static std::string PasswordDigest(long facility, long userId, const std::string& password);

    std::string VerifyAdministrator();
    // "OK" with found telling whether the user exists in the facility; user filled when found.
    std::string GetSpecificVeltraUser(long facility, long userId, VeltraUser& user, bool& found);
    std::string AddVeltraUser(const VeltraUser& user, const std::string& password);
    // An empty password leaves the user's password as it is.
    std::string UpdateVeltraUser(const VeltraUser& user, const std::string& password);
    std::string RemoveVeltraUser(long facility, long userId);
    std::string SetVeltraUserPassword(long facility, long userId, const std::string& password, bool mustChange);
    std::string GetNamedSecurityGroups(NamedGroups& groups);
    std::string GetNamedConfigGroups(NamedGroups& groups);

    // Time-outs of the remote connection, in seconds.
    static constexpr int kConnectionTimeout = 30;
    static constexpr int kCommandTimeout = 60;

private:
    std::string connect(); // "OK" once connected and the administrator is valid
    std::string run(const std::string& sql);
    std::string groups(const std::string& table, NamedGroups& out);

    SuiteConnection m_db;
    std::string m_connectionString;
    long m_adminUserId = 0, m_adminFacility = 0;
    std::string m_adminPassword;
};

} // namespace suite
