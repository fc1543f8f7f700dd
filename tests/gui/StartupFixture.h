#pragma once

#include "Configuration.h"
#include "DatabaseSession.h"
#include "DemoSite.h"
#include "General_MDI.h"
#include "LoginComponent.h"
#include "MessageService.h"
#include "OdbcFixture.h"
#include "SiteSession.h"
#include "Startup.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>

namespace kdtest {

// Start-up on a fresh demo site, with the log-in answered from a queue.
class ScriptedLogin : public suite::LoginPrompt {
public:
    std::deque<std::pair<std::string, std::string>> answers;
    bool askCredentials(std::string& u, std::string& p, const std::string&) override {
        if (answers.empty())
            return false;
        std::tie(u, p) = answers.front();
        answers.pop_front();
        return true;
    }
    bool askNewPassword(std::string&, std::string&, const std::string&) override { return false; }
};

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        kdtest::OdbcEnvironment config; // the driver for this process
        char pattern[] = "/tmp/kdstartup-XXXXXX";
        folder = mkdtemp(pattern);
        site = folder + "/site";
        demo::createDemoSite(site, KD_DRIVER_PATH);
        setenv("KDADMIN_REGISTRY_MACHINE", (site + "/registry/machine.ini").c_str(), 1);
        foundation::DatabaseSession::instance().DisconnectFromSQL();
        foundation::Configuration::instance() = foundation::Configuration{};
        // The site's data source is not in this process's ODBC files: connect by driver.
        std::ofstream ini(site + "/KALDRA.INI", std::ios::app);
        ini << "\n";
        replaceInIni("ODBCSource=KALDRA", "ODBCSource=NOT_REGISTERED_HERE");
    }
    void TearDown() override {
        foundation::DatabaseSession::instance().DisconnectFromSQL();
        unsetenv("KDADMIN_REGISTRY_MACHINE");
        std::filesystem::remove_all(folder);
    }
    void replaceInIni(const std::string& from, const std::string& to) {
        std::ifstream in(site + "/KALDRA.INI");
        std::stringstream ss;
        ss << in.rdbuf();
        std::string text = ss.str();
        if (auto at = text.find(from); at != std::string::npos)
            text.replace(at, from.size(), to);
        std::ofstream(site + "/KALDRA.INI") << text;
    }
    bool start(mainwindow::General_MDI& window, suite::LoginComponent& login) {
        app::Startup startup(window, login, prompt);
        bool ok = startup.run({"/INI=" + site + "/KALDRA.INI"}, folder, folder);
        stoppedAt = startup.stoppedAt();
        if (ok)
            startup.shutDown();
        return ok;
    }
    std::string folder, site, stoppedAt;
    ScriptedLogin prompt;
    platform::MessageRecorder recorder;
};

// A companion program that ends at once, placed where the console looks for it.
inline void placeCompanion(const std::string& path) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path) << "#!/bin/sh\nexit 0\n";
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
}

} // namespace kdtest
