#include "clsVVSysConTester.h"

#include "EventLog.h"
#include "SuiteConnection.h"
#include "Utilities.h"
#include "VVLog.h"
#include "VoiceServices.h"

namespace voicesystems {

using foundation::EventLog;

namespace {
void debug(const std::string& text) {
    VVLog(0, 6, 20052, -1, text);
}
} // namespace

bool clsVVSysConTester::ComputerReachable() {
    const std::string host = m_def.GetTheServerNameToTest();
    for (int attempt = 0; attempt < kPingAttempts; ++attempt) {
        m_error = ping ? ping(host, kPingTimeoutMs) : foundation::PingHost(host, kPingTimeoutMs);
        if (m_error == "Success")
            return true;
    }
    return false;
}

bool clsVVSysConTester::SqlServerReachable() {
    suite::SuiteConnection trial;
    trial.setTimeouts(suite::VeltraServices::kConnectionTimeout, suite::VeltraServices::kCommandTimeout);
    const bool open = trial.open(suite::VeltraServices::OdbcConnectionString(m_def.GetConnectionString()));
    m_error = open ? "" : trial.lastError();
    debug("SQL Server connection string: " + m_def.GetConnectionStringSansPassword());
    debug(std::string("SQL Server connection state: ") + (open ? "1" : "0"));
    trial.close();
    return open;
}

bool clsVVSysConTester::AdministratorValid() {
    suite::VeltraServices services;
    services.SetConnection(m_def.GetConnectionString(), m_def.AdminUserId(), m_def.AdminFacility(),
                           m_def.AdminPassword());
    const std::string answer = services.VerifyAdministrator();
    const std::string call = "VerifyAdministrator(" + m_def.GetConnectionStringSansPassword() + ", " +
                             std::to_string(m_def.AdminUserId()) + ", " + std::to_string(m_def.AdminFacility()) + ")";
    debug(call + " returned " + answer);
    if (answer == suite::VeltraServices::kOK) {
        m_error.clear();
        return true;
    }
    m_error = answer;
    VVLog(2, 3, 20051, -1,
          "Veltra Voice System " + m_def.SystemName() + " (" + m_def.GetConnectionStringSansPassword() +
              ") returned an error verifying credentials for user " + std::to_string(m_def.AdminUserId()) + ": " +
              answer);
    return false;
}

} // namespace voicesystems
