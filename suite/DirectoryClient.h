#pragma once

#include "DirectorySettings.h"

#include <string>
#include <vector>

namespace suite {

// What a directory server said about a log-in or a settings test.
struct DirectoryAnswer {
    enum class Status {
        Accepted,      // the password is right (log-in) or the server answered as configured (test)
        Refused,       // unknown user or wrong password: a failed log-in attempt like any other
        Unavailable,   // no server could be reached: nobody can be checked
        Misconfigured, // a server answered but the settings do not work (bind DN, search base, address)
    };
    Status status = Status::Unavailable;
    std::string message; // a sentence for the user or the administrator
    std::string userDn;  // the entry bound as, when accepted
};

// A directory server reached through OpenLDAP's client library with a policy's directory settings.
// A log-in searches the user's entry under the search base, bound as the bind DN, then binds as that
// entry with the typed password. The backup server is asked only when the primary cannot be reached.
class DirectoryClient {
public:
    explicit DirectoryClient(DirectorySettings settings) : m_settings(std::move(settings)) {}

    [[nodiscard]] DirectoryAnswer authenticate(const std::string& userName, const std::string& password) const;

    // Binds as the bind DN and reads the search base on the server and, when set, the backup server.
    struct ServerTest {
        std::string server;
        DirectoryAnswer answer;
    };
    [[nodiscard]] std::vector<ServerTest> testConnection() const;

    // The LDAP URI for a server field ("ldap://host:389", "ldaps://[::1]:636"); empty when the
    // address or the port cannot be used.
    [[nodiscard]] std::string uriFor(const std::string& server) const;
    // The search filter that finds a log-in name: the uid of a directory or the account name of
    // a Windows domain, the name escaped so that no character of it acts as filter syntax.
    [[nodiscard]] static std::string userFilter(const std::string& userName);
    [[nodiscard]] static std::string escapeFilterValue(const std::string& value);

private:
    enum class Purpose { LogIn, Test };
    DirectoryAnswer askServer(const std::string& server, Purpose purpose, const std::string& userName,
                              const std::string& password) const;
    [[nodiscard]] std::vector<std::string> servers() const;

    DirectorySettings m_settings;
};

} // namespace suite
