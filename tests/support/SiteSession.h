#pragma once

#include "DemoSite.h"
#include "SessionHelper.h"

#include <string>

namespace kdtest {

// A site made by the demo generator keeps its database under <site>/SQL; the console and plain
// connections reach it with the site's SQL login.

// The connection string for a plain ODBC connection to the site's database.
inline std::string siteConnectionString(const std::string& site) {
    return "Driver={SQL Server};Server=" + site + "/SQL;Database=" + demo::kDatabase + ";UID=" + demo::kSqlLogin +
           ";PWD=" + demo::kSqlPassword + ";";
}

// Points the console's one database session at the site's database and connects; false when it cannot.
[[nodiscard]] inline bool connectSiteSession(const std::string& site) {
    return resetSession(site + "/SQL", demo::kDatabase, demo::kSqlLogin, demo::kSqlPassword).ConnectToSQL();
}

} // namespace kdtest
