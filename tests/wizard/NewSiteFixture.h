#pragma once

#include "OdbcFixture.h"
#include "SiteSession.h"

#include <gtest/gtest.h>
#include <string>

namespace kdtest {

// A new installation's site made by the demo generator, with the console's session and a plain
// ODBC connection on its database. Subclasses may name the site's folder (its network root).
class NewSiteTest : public ::testing::Test {
protected:
    void SetUp() override {
        site = odbc.folder() + "/" + siteName();
        demo::createNewSite(site, KD_DRIVER_PATH);
        ASSERT_TRUE(SQL_SUCCEEDED(conn.connect(siteConnectionString(site))));
        ASSERT_TRUE(connectSiteSession(site)); // the console's session, logged in as the site's SQL login
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
