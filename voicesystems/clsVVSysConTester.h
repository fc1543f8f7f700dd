#pragma once

#include "clsVVSysConDef.h"

#include <functional>
#include <string>

namespace voicesystems {

// Checks that a remote voice system can be reached: its computer answers a ping, its database
// accepts a connection, and its administrator's credentials are valid.
class clsVVSysConTester {
public:
    void SetDefinition(const clsVVSysConDef& def) { m_def = def; }

    // Pings the server's computer (500 ms, up to three times); true at the first "Success".
    bool ComputerReachable();
    // A trial connection with the definition's connection string (30-second connection and
    // 60-second command time-outs); the string without password and the state are logged.
    bool SqlServerReachable();
    // Asks the voice services component for the administrator of the definition's facility.
    bool AdministratorValid();

    [[nodiscard]] const std::string& LastError() const { return m_error; }

    // The ping used, swappable so a test can stand for a network without the host.
    std::function<std::string(const std::string& host, int timeoutMs)> ping;

    static constexpr int kPingTimeoutMs = 500;
    static constexpr int kPingAttempts = 3;

private:
    clsVVSysConDef m_def;
    std::string m_error;
};

} // namespace voicesystems
