#pragma once

#include "DatabaseSession.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <string>

namespace kdtest {

// Resets the console's one database session to connect by driver to the database of a server folder,
// polling briefly, with a program end that throws instead of exiting; not yet connected.
inline foundation::DatabaseSession& resetSession(const std::string& server, const std::string& database,
                                                 const std::string& login, const std::string& password) {
    auto& s = foundation::DatabaseSession::instance();
    s.DisconnectFromSQL();
    s = foundation::DatabaseSession{};
    s.UseDriverConnect = true;
    s.ServerName = server;
    s.DatabaseName = database;
    s.LoginName = login;
    s.Password = password;
    s.pollIntervalMs = 10;
    s.terminateHook = [](int) { throw std::runtime_error("program ended"); };
    return s;
}

// Points the console's one database session at a database of a test folder, connected.
inline void connectSession(const std::string& folder, const std::string& database) {
    ASSERT_TRUE(resetSession(folder, database, "sa", "").ConnectToSQL());
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
