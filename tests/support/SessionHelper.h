#pragma once

#include "DatabaseSession.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <string>

namespace kdtest {

// Points the console's one database session at a database of a test folder, connected, with a
// program end that throws instead of exiting.
inline void connectSession(const std::string& folder, const std::string& database) {
    auto& s = foundation::DatabaseSession::instance();
    s.DisconnectFromSQL();
    s = foundation::DatabaseSession{};
    s.UseDriverConnect = true;
    s.ServerName = folder;
    s.DatabaseName = database;
    s.LoginName = "sa";
    s.pollIntervalMs = 10;
    s.terminateHook = [](int) { throw std::runtime_error("program ended"); };
    ASSERT_TRUE(s.ConnectToSQL());
}

} // namespace kdtest
