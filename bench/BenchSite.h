#pragma once

#include "DatabaseSession.h"
#include "DemoSite.h"
#include "PasswordCipher.h"
#include "SiteKey.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <unistd.h>

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

// The site a benchmark runs on. "--site <folder>" (taken out of the arguments) names a site made
// with "kdsite demo" and "kdsite scale"; a folder that does not exist yet is made and grown to
// `options` there and kept, so that later runs (and a profiler) can reuse it. Without the option a
// site grown to `options` is made in a temporary folder, removed when this object goes.
class BenchSite {
public:
    BenchSite(int& argc, char** argv, const std::string& tag, const demo::ScaleOptions& options) {
        for (int i = 1; i + 1 < argc; ++i)
            if (std::strcmp(argv[i], "--site") == 0) {
                m_site = argv[i + 1];
                for (int j = i; j + 2 <= argc; ++j)
                    argv[j] = argv[j + 2];
                argc -= 2;
                break;
            }
        if (m_site.empty()) {
            m_temporary = makeSite(tag, options);
            m_site = m_temporary + "/site";
        } else if (!std::filesystem::exists(m_site)) {
            std::cout << "Generating the site in " << m_site << "\n";
            demo::createDemoSite(m_site, KD_DRIVER_PATH);
            demo::scaleDemoSite(m_site, options);
        } else {
            adoptKeptSite();
        }
    }
    ~BenchSite() {
        if (!m_temporary.empty()) {
            std::error_code ec;
            std::filesystem::remove_all(m_temporary, ec);
        }
    }
    BenchSite(const BenchSite&) = delete;
    BenchSite& operator=(const BenchSite&) = delete;

    [[nodiscard]] const std::string& path() const { return m_site; }

private:
    // A kept site names the driver of the build that made it, which may be gone or older than this
    // one: its driver entry is pointed at this build's driver. Its stored passwords are read with
    // the site's key, as the console loads it at start-up (generating a site loads it already).
    void adoptKeptSite() const {
        const std::string ini = m_site + "/odbc/odbcinst.ini";
        std::ifstream in(ini);
        std::string line, text;
        while (std::getline(in, line)) {
            if (line.rfind("Driver=", 0) == 0)
                line = std::string("Driver=") + KD_DRIVER_PATH;
            else if (line.rfind("Setup=", 0) == 0)
                line = std::string("Setup=") + KD_DRIVER_PATH;
            text += line + "\n";
        }
        in.close();
        std::ofstream(ini) << text;
        const auto key = suite::SiteKey::Load(suite::SiteKey::PathUnder(m_site));
        if (key.ok())
            suite::PasswordCipher::UseSiteKey(key.key);
        else
            std::cout << "The site's password key could not be read: " << key.message << "\n";
    }

    std::string m_site;
    std::string m_temporary; // the generated site's folder, when there was no --site
};

// The process's resident memory in KB, for the memory figures of a loaded screen or collection.
inline long residentKb() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
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
