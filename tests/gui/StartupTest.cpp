#include "Startup.h"
#include "Configuration.h"
#include "DatabaseSession.h"
#include "DemoSite.h"
#include "General_MDI.h"
#include "MenuTable.h"
#include "MessageService.h"
#include "OdbcFixture.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QThread>
#include <QTreeWidget>
#include <deque>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace mainwindow;
using platform::MessageRecorder;
namespace fs = std::filesystem;

namespace {

TEST(EnvironmentLabel, FollowsTheDatabaseNameThenTheIniPath) {
    struct Case {
        const char* db;
        const char* ini;
        bool remote;
        const char* label;
    };
    const Case cases[] = {
        {"PROD_TST", "/srv/KALDRA.INI", false, "Test Environment"},
        {"kaldra_test", "/srv/KALDRA.INI", false, "Test Environment"},
        {"KALDRA", "/srv/TestProd/KALDRA.INI", false, "Test Production Environment"},
        {"KALDRA", "/srv/testprod/KALDRA.INI", true, "Remote - Test Production Environment"},
        {"KALDRA", "/srv/KALDRA.INI", false, "Production Environment"},
        {"KALDRA", "/srv/KALDRA.INI", true, "Remote - Production Environment"},
    };
    for (const auto& tc : cases)
        EXPECT_EQ(EnvironmentLabel(tc.db, tc.ini, tc.remote), tc.label) << tc.db << " " << tc.ini;
}

TEST(CommandLine, WordsSwitchesAndTheCompanionArguments) {
    auto words = SplitCommandLine("\"/INI=/srv/my site/KALDRA.INI\" /skipbackground  /CPU=2 /CPU=7 /NOSYSPRN");
    ASSERT_EQ(words.size(), 5u);
    EXPECT_EQ(words[0], "/INI=/srv/my site/KALDRA.INI");
    CommandLine c = CommandLine::parse(words);
    EXPECT_EQ(c.iniPath, "/srv/my site/KALDRA.INI");
    EXPECT_TRUE(c.skipBackground);
    EXPECT_TRUE(c.noSystemPrinters);
    EXPECT_EQ(c.cpu, "2"); // /CPU=7 is not one of 0-3
    CompanionArguments what;
    what.ini = what.uid = what.uname = what.wizard = what.skipBackground = what.noSystemPrinters = what.cpu = true;
    what.window = true;
    what.windowText = "Main";
    EXPECT_EQ(CompanionCommandLine(what, "/srv/KALDRA.INI", 7, "MJONES", "pw", c),
              " \"/INI=/srv/KALDRA.INI\" /UID=7 /UNAME=MJONES /WIZARD /WINDOW=Main /SKIPBACKGROUND /NOSYSPRN /CPU=2");
    CompanionArguments pw;
    pw.password = true;
    pw.scramblePassword = false;
    EXPECT_EQ(CompanionCommandLine(pw, "", 0, "", "plain", c), " /PASSWORD=plain");
}

TEST(MenuTable, EveryEntryHasItsCaptionAndObjectName) {
    General_MDI window;
    for (const auto& e : menuTable()) {
        QAction* a = window.action(e.name);
        ASSERT_NE(a, nullptr) << e.name;
        EXPECT_EQ(a->objectName().toStdString(), e.name);
        EXPECT_EQ(a->text().toStdString(), e.caption);
    }
    EXPECT_EQ(window.action("mnuExit")->text(), "E&xit");
    EXPECT_EQ(window.action("mnuPPEditor")->text(), "&Physician Profile Editor");
}

TEST(TabBar, TheHundredAndFirstScreenOpensWithoutATabButton) {
    General_MDI window;
    for (int i = 0; i < 100; ++i)
        window.openScreen(new QWidget, QString("Screen %1").arg(i));
    EXPECT_EQ(window.tabsInUse(), 100);
    QMdiSubWindow* extra = window.openScreen(new QWidget, "Screen 100");
    EXPECT_NE(extra, nullptr);
    EXPECT_EQ(window.tabsInUse(), 100);
    EXPECT_EQ(window.mdiArea()->subWindowList().size(), 101);
    // Closing a screen frees its slot for the next one.
    window.mdiArea()->subWindowList().front()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(window.tabsInUse(), 99);
    window.openScreen(new QWidget, "Screen 101");
    EXPECT_EQ(window.tabsInUse(), 100);
}

TEST(TabBar, ALongCaptionLosesItsEndAndKeepsTheWholeAsTooltip) {
    General_MDI window;
    window.resize(700, 500);
    window.show();
    for (int i = 0; i < 8; ++i)
        window.openScreen(new QWidget, "Veltra Text Account Manager");
    auto* tab = window.findChild<QPushButton*>("tab0");
    ASSERT_NE(tab, nullptr);
    EXPECT_EQ(tab->toolTip(), "Veltra Text Account Manager");
    EXPECT_TRUE(tab->text().startsWith("Ve")) << tab->text().toStdString();
    EXPECT_TRUE(tab->text().endsWith(QChar(0x2026))) << tab->text().toStdString();
    EXPECT_LE(tab->fontMetrics().horizontalAdvance(tab->text()), tab->width());
    // Screens open filling the work area.
    EXPECT_TRUE(window.mdiArea()->subWindowList().back()->isMaximized());
}

TEST(CompanionLauncher, ARunningCopyIsActivatedNotStartedTwice) {
    MessageRecorder recorder;
    char pattern[] = "/tmp/kdcompanion-XXXXXX";
    fs::path dir = mkdtemp(pattern);
    fs::path exe = dir / "KDDLS.EXE";
    fs::path count = dir / "starts";
    std::ofstream(exe) << "#!/bin/sh\necho started >> '" << count.string() << "'\nsleep 5\n";
    fs::permissions(exe, fs::perms::owner_all);
    auto& launcher = CompanionLauncher::instance();
    launcher.forget();
    EXPECT_EQ(launcher.launch(exe.string(), "Veltra Daily Linecount Summary", "/UID=1"),
              CompanionLauncher::Result::Started);
    EXPECT_EQ(launcher.launch(exe.string(), "Veltra Daily Linecount Summary", "/UID=1"),
              CompanionLauncher::Result::Activated);
    EXPECT_EQ(launcher.launch((dir / "NOPE.EXE").string(), "Nope", ""), CompanionLauncher::Result::Missing);
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, "Could not find " + (dir / "NOPE.EXE").string() + ".");
    EXPECT_EQ(recorder.shown[0].title, "Veltra Desktop");
    for (int i = 0; i < 50 && !fs::exists(count); ++i)
        QThread::msleep(20);
    std::ifstream in(count);
    int lines = 0;
    for (std::string l; std::getline(in, l);)
        ++lines;
    EXPECT_EQ(lines, 1);
    launcher.forget();
    fs::remove_all(dir);
}

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
        fs::remove_all(folder);
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
    bool start(General_MDI& window, suite::LoginComponent& login) {
        app::Startup startup(window, login, prompt);
        bool ok = startup.run({"/INI=" + site + "/KALDRA.INI"}, folder, folder);
        stoppedAt = startup.stoppedAt();
        if (ok)
            startup.shutDown();
        return ok;
    }
    std::string folder, site, stoppedAt;
    ScriptedLogin prompt;
    MessageRecorder recorder;
};

TEST_F(StartupTest, StartsLoggedInWithDashboardLabelAndArmedMenu) {
    prompt.answers = {{"ADMINISTRATOR", "demo"}};
    General_MDI window;
    suite::LoginComponent login;
    app::Startup startup(window, login, prompt);
    ASSERT_TRUE(startup.run({"/INI=" + site + "/KALDRA.INI"}, folder, folder))
        << startup.stoppedAt() << (recorder.shown.empty() ? "" : ": " + recorder.shown[0].text);
    EXPECT_EQ(window.windowTitle(), "Veltra Desktop");
    EXPECT_EQ(window.findChild<QLabel*>("lblEnvironment")->text(), "Production Environment");
    EXPECT_EQ(startup.activeAccounts(), 11);
    EXPECT_EQ(window.tabsInUse(), 1); // the home dashboard
    EXPECT_TRUE(window.action("mnuDBOptions")->isVisible());
    EXPECT_FALSE(window.action("mnuDailyLineCount")->isVisible()); // no companion program on the demo site
    auto* tile = window.findChild<QPushButton*>("tileLockedOut");
    ASSERT_NE(tile, nullptr);
    EXPECT_TRUE(tile->text().endsWith("1"));
    EXPECT_TRUE(recorder.shown.empty());
    // A screen that is not built yet says so; an implemented command opens.
    window.runCommand("mnuOutputReports");
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_NE(recorder.shown[0].text.find("\"Output Tracking\" is not available yet"), std::string::npos);
    window.runCommand("mnuSystemLog");
    window.runCommand("mnuSystemLog"); // the second time brings the same screen to the front
    EXPECT_EQ(window.tabsInUse(), 2);
    auto* log = window.findChild<QLabel*>("lblMessages");
    ASSERT_NE(log, nullptr);
    EXPECT_TRUE(log->text().startsWith("Messages: "));
    window.runCommand("mnuAcctEditor");
    EXPECT_EQ(window.tabsInUse(), 3);
    auto* accounts = window.findChild<QTreeWidget*>("lvwAccounts");
    ASSERT_NE(accounts, nullptr);
    EXPECT_EQ(accounts->topLevelItemCount(), 11); // every live account of the site for the root administrator
    EXPECT_EQ(window.findChild<QTreeWidget*>("lvwDelAccounts")->topLevelItemCount(), 1);
    EXPECT_EQ(recorder.shown.size(), 1u);
    startup.shutDown();
    EXPECT_FALSE(foundation::DatabaseSession::instance().SQLConnected);
}

TEST_F(StartupTest, ATranscriptionistSeesNoAdministratorEntries) {
    prompt.answers = {{"MJONES", "demo"}};
    General_MDI window;
    suite::LoginComponent login;
    app::Startup startup(window, login, prompt);
    ASSERT_TRUE(startup.run({"/INI=" + site + "/KALDRA.INI"}, folder, folder));
    EXPECT_FALSE(window.action("mnuDBOptions")->isVisible());
    EXPECT_FALSE(window.action("mnuUserManagement")->isVisible());
    EXPECT_TRUE(window.action("mnuOutputReports")->isVisible());
    EXPECT_TRUE(startup.dashboard()->enabledButtons() > 0);
    startup.shutDown();
}

TEST_F(StartupTest, EachFailureStopsWithItsMessage) {
    General_MDI window;
    {
        suite::LoginComponent login;
        app::Startup startup(window, login, prompt);
        EXPECT_FALSE(startup.run({}, folder + "/nowhere", folder + "/nowhere"));
        EXPECT_EQ(startup.stoppedAt(), "locate");
        EXPECT_EQ(recorder.shown.back().text,
                  "The KALDRA.INI configuration file could not be located.  Contact your system administrator.");
    }
    {
        suite::LoginComponent old;
        old.version = "7.5";
        EXPECT_FALSE(start(window, old));
        EXPECT_EQ(stoppedAt, "login version");
        EXPECT_EQ(recorder.shown.back().title, "Incompatible KDLOGIN.DLL");
    }
    {
        suite::LoginComponent login;
        EXPECT_FALSE(start(window, login)); // nobody answers the log-in: cancelled
        EXPECT_EQ(stoppedAt, "login cancelled");
    }
    {
        replaceInIni("Database=KALDRA", "Database=MISSING");
        suite::LoginComponent login;
        prompt.answers = {{"ADMINISTRATOR", "demo"}};
        EXPECT_FALSE(start(window, login));
        EXPECT_EQ(stoppedAt, "login unreachable");
        EXPECT_EQ(recorder.shown.back().title, "Connect Error");
        replaceInIni("Database=MISSING", "Database=KALDRA");
    }
    {
        suite::SuiteConnection db;
        ASSERT_TRUE(
            db.open("Driver={SQL Server};Server=" + site + "/SQL;Database=KALDRA;UID=kdadmin;PWD=kdadmin-demo"));
        db.execute("UPDATE System_partitions SET delete_date = GETDATE()");
        db.close();
        suite::LoginComponent login;
        prompt.answers = {{"ADMINISTRATOR", "demo"}};
        EXPECT_FALSE(start(window, login));
        EXPECT_EQ(stoppedAt, "partitions");
        EXPECT_EQ(recorder.shown.back().text, "Failed to load partition information");
    }
    {
        replaceInIni("NetworkRootDir=", "OldNetworkRootDir=");
        suite::LoginComponent login;
        EXPECT_FALSE(start(window, login));
        EXPECT_EQ(stoppedAt, "configuration");
        EXPECT_EQ(recorder.shown.back().text,
                  "Error - NetworkRootDir was not specified in the KALDRA.INI Configuration file.");
    }
}

} // namespace
