#pragma once

#include "DatabaseSession.h"
#include "DemoSite.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <iostream>
#include <string>

namespace kdbench {

// A site whose other tables stay small while a benchmark scales the one it measures.
inline demo::ScaleOptions smallSite() {
    demo::ScaleOptions o;
    o.seed = 7;
    o.users = 200;
    o.physicians = 200;
    o.accounts = 20;
    o.reportTypes = 2;
    o.logRows = 1000;
    o.logRowsOnOneDay = 100;
    o.outputRows = 1000;
    return o;
}

// A demo site grown to `options` in a new temporary folder, which is returned; the site itself is
// the folder's "site".
inline std::string makeSite(const std::string& tag, const demo::ScaleOptions& options) {
    std::string pattern = "/tmp/" + tag + "-XXXXXX";
    const std::string folder = mkdtemp(pattern.data());
    demo::createDemoSite(folder + "/site", KD_DRIVER_PATH);
    demo::scaleDemoSite(folder + "/site", options);
    return folder;
}

// Connects the console's one session to a demo site, as the console does at start-up.
inline void connectSession(const std::string& site) {
    setenv("ODBCSYSINI", (site + "/odbc").c_str(), 1);
    auto& s = foundation::DatabaseSession::instance();
    s.UseDriverConnect = true;
    s.ServerName = site + "/SQL";
    s.DatabaseName = demo::kDatabase;
    s.LoginName = demo::kSqlLogin;
    s.Password = demo::kSqlPassword;
    if (!s.ConnectToSQL()) {
        std::cerr << "cannot connect to the site in " << site << "\n";
        std::exit(1);
    }
}

// The baseline of a load: every column of every row read through the session as text, nothing
// kept. Returns the number of rows.
inline long fetchAllColumns(const std::string& sql, int columns) {
    auto& s = foundation::DatabaseSession::instance();
    long rows = 0;
    s.SQLStatement = sql;
    s.ExecSQL();
    while (s.FetchRow() == 1) {
        for (int c = 1; c <= columns; ++c)
            benchmark::DoNotOptimize(s.GetColumnText(c, 1));
        ++rows;
    }
    return rows;
}

} // namespace kdbench
