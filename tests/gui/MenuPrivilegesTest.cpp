#include "MenuTable.h"
#include "PP_Add_Phys.h"
#include "PP_Phys_List.h"
#include "StartupFixture.h"
#include "SuiteConnection.h"

#include <QAction>
#include <QThread>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

using namespace kdtest;
using mainwindow::General_MDI;
namespace fs = std::filesystem;

namespace {

// The demo user's system privileges replaced by exactly the given positions.
void grantOnly(const std::string& site, const std::string& user, const std::set<int>& positions) {
    suite::SuiteConnection db;
    ASSERT_TRUE(db.open(kdtest::siteConnectionString(site)));
    std::string set(160, '\x01');
    for (int n : positions)
        set[static_cast<size_t>(n)] = '\x02';
    const std::string sql =
        "UPDATE System_user_bindery SET privilege_set1 = '" + set + "' WHERE user_name = '" + user + "'";
    ASSERT_TRUE(db.execute(sql)) << db.lastError();
    db.close();
}

// A companion program that writes the arguments it was started with, one a line, into a file.
void placeRecordingCompanion(const std::string& path, const std::string& record) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path) << "#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; done > \"" << record << ".tmp\"\nmv \""
                        << record << ".tmp\" \"" << record << "\"\n";
    fs::permissions(path, fs::perms::owner_all);
}

} // namespace

// Report Search needs 12, the Transcription Desktop 14, the Job Player 14 or 92 ("without
// Transcription"); the menu and the home screen's buttons follow the same arming.
TEST_F(StartupTest, TheLaunchEntriesFollowTheirSystemPrivileges) {
    const std::string system = site + "/KALDRA/SYSTEM";
    placeCompanion(folder + "/KDSEARCH.EXE");
    placeCompanion(system + "/KDEDIT.EXE");
    placeCompanion(system + "/KDPLAYER.EXE");
    struct Case {
        std::set<int> granted;
        bool search, desktop, player;
    };
    const Case cases[] = {
        {{}, false, false, false},  {{12}, true, false, false},       {{14}, false, true, true},
        {{92}, false, false, true}, {{12, 14, 92}, true, true, true}, {{11, 13, 15, 91, 93}, false, false, false},
    };
    for (const auto& tc : cases) {
        grantOnly(site, "TLEE", tc.granted);
        prompt.answers = {{"TLEE", "demo"}};
        General_MDI window;
        suite::LoginComponent login;
        app::Startup startup(window, login, prompt);
        ASSERT_TRUE(startup.run({"/INI=" + site + "/KALDRA.INI"}, folder, folder)) << startup.stoppedAt();
        std::string granted;
        for (int n : tc.granted)
            granted += std::to_string(n) + " ";
        EXPECT_EQ(window.action("mnuReportSearch")->isVisible(), tc.search) << granted;
        EXPECT_EQ(window.action("mnuTransDesktop")->isVisible(), tc.desktop) << granted;
        EXPECT_EQ(window.action("mnuJobPlayer")->isVisible(), tc.player) << granted;
        EXPECT_EQ(window.action("mnuReportSearch")->isEnabled(), tc.search) << granted;
        startup.shutDown();
    }
}

// The management reports program is told whether the user only sees HIS deficiencies (93) and
// whether billing and payroll are open to it (13).
TEST_F(StartupTest, ManagementReportsStartWithTheSwitchesOfTheUsersPrivileges) {
    const std::string record = folder + "/arguments.txt";
    placeRecordingCompanion(folder + "/KDMGTRPT.EXE", record);
    struct Case {
        std::set<int> granted;
        const char* switches;
    };
    const Case cases[] = {
        {{}, "/PAYCODE=0\n"},
        {{13}, "/PAYCODE=1\n"},
        {{93}, "/HISONLY\n/PAYCODE=0\n"},
        {{13, 93}, "/HISONLY\n/PAYCODE=1\n"},
        {{12, 14, 92, 94}, "/PAYCODE=0\n"}, // the neighbours change nothing
    };
    for (const auto& tc : cases) {
        grantOnly(site, "TLEE", tc.granted);
        fs::remove(record);
        prompt.answers = {{"TLEE", "demo"}};
        General_MDI window;
        suite::LoginComponent login;
        app::Startup startup(window, login, prompt);
        ASSERT_TRUE(startup.run({"/INI=" + site + "/KALDRA.INI"}, folder, folder)) << startup.stoppedAt();
        ASSERT_TRUE(window.action("mnuKALDRA")->isVisible());
        window.runCommand("mnuKALDRA");
        for (int i = 0; i < 250 && !fs::exists(record); ++i)
            QThread::msleep(20);
        std::ifstream in(record);
        std::string lines, line;
        while (std::getline(in, line))
            lines += line + "\n";
        // The arguments every companion gets come first; the switches end the command line.
        EXPECT_NE(lines.find("/UNAME=TLEE\n"), std::string::npos) << lines;
        ASSERT_GE(lines.size(), std::string(tc.switches).size()) << lines;
        EXPECT_EQ(lines.substr(lines.size() - std::string(tc.switches).size()), tc.switches) << lines;
        EXPECT_EQ(lines.find("/HISONLY"), lines.rfind("/HISONLY")) << lines;
        mainwindow::CompanionLauncher::instance().forget();
        startup.shutDown();
    }
}

TEST_F(StartupTest, PhysicianCommandsAreRefusedWithoutTheirPrivilege) {
    prompt.answers = {{"TLEE", "demo"}}; // holds positions 0 to 39: 9 but not 91
    General_MDI window;
    suite::LoginComponent login;
    app::Startup startup(window, login, prompt);
    ASSERT_TRUE(startup.run({"/INI=" + site + "/KALDRA.INI"}, folder, folder));
    EXPECT_FALSE(window.action("mnuLockedReports")->isVisible()); // privilege 148 is not among them
    recorder.shown.clear();
    window.runCommand("mnuEditDefault");
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, "ACCESS DENIED:  You do not have access to edit the default physician.");
    EXPECT_EQ(recorder.shown[0].title, "Security");
    EXPECT_EQ(recorder.shown[0].icon, platform::MsgIcon::Exclamation);
    recorder.shown.clear();
    // With privilege 9 the partition command gets past the check to the physician list, which
    // then waits for a selection.
    window.runCommand("mnuChangePartition");
    for (const auto& shown : recorder.shown)
        EXPECT_EQ(shown.text.find("ACCESS DENIED"), std::string::npos) << shown.text;
    EXPECT_NE(window.findChild<QWidget*>("PP_Phys_List"), nullptr);
}

TEST_F(StartupTest, AUserHoldingThePrivilegesGetsLockedReportsAndThePhysicianCommands) {
    prompt.answers = {{"MGARCIA", "demo"}}; // a system administrator holding every position
    General_MDI window;
    suite::LoginComponent login;
    app::Startup startup(window, login, prompt);
    ASSERT_TRUE(startup.run({"/INI=" + site + "/KALDRA.INI"}, folder, folder));
    EXPECT_TRUE(window.action("mnuLockedReports")->isVisible());
    recorder.shown.clear();
    // Edit Default Physician opens the profile editor on the default physician.
    window.runCommand("mnuPPEditor");
    auto* list = window.findChild<physicians::PP_Phys_List*>("PP_Phys_List");
    ASSERT_NE(list, nullptr);
    QString caption;
    list->runEditor = [&caption](physicians::PP_Add_Phys& editor) { caption = editor.windowTitle(); };
    window.runCommand("mnuEditDefault");
    EXPECT_TRUE(recorder.shown.empty()) << recorder.shown.front().text;
    EXPECT_EQ(caption, "Edit Default Physician");
}
