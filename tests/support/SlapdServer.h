#pragma once

#include <gtest/gtest.h>

#include <string>
#include <sys/types.h>
#include <utility>
#include <vector>

namespace kdtest {

// A private directory server for a test program: the system's slapd with a configuration, a database
// and a loopback port of its own, loaded with entries through slapadd before it starts and stopped
// (its folder removed) at the end. The system's own slapd service is never used.
class SlapdServer {
public:
    struct Entry {
        std::string dn;
        std::vector<std::pair<std::string, std::string>> attributes; // name, value (UTF-8), in order
    };

    static constexpr const char* kSuffix = "dc=kaldra,dc=test";
    static constexpr const char* kRootDn = "cn=admin,dc=kaldra,dc=test";

    SlapdServer() = default;
    SlapdServer(const SlapdServer&) = delete;
    SlapdServer& operator=(const SlapdServer&) = delete;
    ~SlapdServer() { stop(); }

    // The slapd program, or "" when the package is not installed.
    static std::string slapdPath();
    // Starts the server listening on 127.0.0.1 with the suffix entry and the given entries; false
    // with the reason (and slapd's own output) in error. withTls: it also listens for LDAP over SSL
    // on tlsPort() with a self-signed certificate for 127.0.0.1 (certificateFile()).
    bool start(const std::vector<Entry>& entries, std::string& error, bool withTls = false);
    void stop();

    [[nodiscard]] int port() const { return m_port; }
    [[nodiscard]] int tlsPort() const { return m_tlsPort; }
    [[nodiscard]] std::string certificateFile() const { return m_folder + "/cert.pem"; }
    [[nodiscard]] bool running() const { return m_pid > 0; }
    // A port on 127.0.0.1 on which nothing listens.
    static int closedPort();
    // A salted SHA-1 password value as slapd stores hashed passwords: "{SSHA}" and base64.
    static std::string ssha(const std::string& password, const std::string& salt);
    // The LDIF text of the entries; non-ASCII values base64-encoded as LDIF requires.
    static std::string ldif(const std::vector<Entry>& entries);

private:
    std::string readLog() const;
    bool writeCertificate(std::string& error) const;

    std::string m_folder;
    pid_t m_pid = -1;
    int m_port = 0;
    int m_tlsPort = 0;
};

} // namespace kdtest

// Skips the test, saying why, when slapd is not installed.
#define KD_REQUIRE_SLAPD()                                                                                             \
    if (kdtest::SlapdServer::slapdPath().empty())                                                                      \
    GTEST_SKIP() << "slapd is not installed: run tools/bootstrap (it installs slapd and ldap-utils)"
