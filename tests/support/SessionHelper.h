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

// The first column of the first row of a query run through the session; "<none>" when it gives none.
inline std::string sessionScalar(foundation::DatabaseSession& s, const std::string& sql) {
    s.SQLStatement = sql;
    if (s.ExecSQL() != 1 || s.FetchRow() != 1)
        return "<none>";
    std::string v = s.GetColumnText(1, 1);
    s.FlushResults();
    return v;
}

} // namespace kdtest
