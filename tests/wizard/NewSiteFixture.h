#pragma once

#include "DatabaseSession.h"
#include "DemoSite.h"
#include "OdbcFixture.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <string>

namespace kdtest {

// A new installation's site made by the demo generator, with the console's session and a plain
// ODBC connection on its database. Subclasses may name the site's folder (its network root).
class NewSiteTest : public ::testing::Test {
protected:
    void SetUp() override {
        site = odbc.folder() + "/" + siteName();
        demo::createNewSite(site, KD_DRIVER_PATH);
        ASSERT_TRUE(
            SQL_SUCCEEDED(conn.connect("Driver={SQL Server};Server=" + site + "/SQL;Database=" + demo::kDatabase +
                                       ";UID=" + demo::kSqlLogin + ";PWD=" + demo::kSqlPassword + ";")));
        // The console's session, logged in as the site's SQL login.
        auto& s = foundation::DatabaseSession::instance();
        s.DisconnectFromSQL();
        s = foundation::DatabaseSession{};
        s.UseDriverConnect = true;
        s.ServerName = site + "/SQL";
        s.DatabaseName = demo::kDatabase;
        s.LoginName = demo::kSqlLogin;
        s.Password = demo::kSqlPassword;
        s.pollIntervalMs = 10;
        s.terminateHook = [](int) { throw std::runtime_error("program ended"); };
        ASSERT_TRUE(s.ConnectToSQL());
    }
    void TearDown() override { foundation::DatabaseSession::instance().DisconnectFromSQL(); }
    [[nodiscard]] virtual std::string siteName() const { return "site"; }

    BatchOutcome exec(const std::string& sql) { return conn.exec(sql); }
    std::string scalar(const std::string& sql) { return conn.exec(sql).scalar(); }
    long count(const std::string& sql) { return std::stol(scalar(sql)); }

    OdbcEnvironment odbc;
    OdbcConnection conn;
    std::string site;
};

} // namespace kdtest
