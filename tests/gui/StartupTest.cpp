#include "Startup.h"
#include "Configuration.h"
#include "DatabaseSession.h"
#include "DecimalCommaLocale.h"
#include "DemoSite.h"
#include "General_MDI.h"
#include "MenuTable.h"
#include "MessageService.h"
#include "OdbcFixture.h"
#include "RecordingOpener.h"
#include "StartupFixture.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableView>
#include <QThread>
#include <QTreeWidget>
#include <deque>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace mainwindow;
using platform::MessageRecorder;
using namespace kdtest;
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

TEST(TabBar, AScreenNeedingANewerDatabaseSaysSoInsteadOfComingToTheFront) {
    MessageRecorder recorder;
    auto& session = foundation::DatabaseSession::instance();
    const double kept = session.DatabaseVersion;
    General_MDI window;
    auto* users = new QWidget;
    General_MDI::requireDatabaseVersionAbove(users, 2.0085);
    QMdiSubWindow* usersWindow = window.openScreen(users, "User Management");
    QMdiSubWindow* other = window.openScreen(new QWidget, "System Log");
    window.mdiArea()->setActiveSubWindow(other);
    auto* usersTab = window.findChild<QPushButton*>("tab0");
    ASSERT_NE(usersTab, nullptr);
    for (double version : {2.0, 2.0085}) {
        session.DatabaseVersion = version;
        recorder.shown.clear();
        usersTab->click();
        ASSERT_EQ(recorder.shown.size(), 1u) << version;
        EXPECT_EQ(recorder.shown[0].text, "Database Version Not Support");
        EXPECT_EQ(window.mdiArea()->currentSubWindow(), other);
        EXPECT_FALSE(usersTab->isChecked());
    }
    session.DatabaseVersion = 2.01;
    recorder.shown.clear();
    usersTab->click();
    EXPECT_TRUE(recorder.shown.empty());
    EXPECT_EQ(window.mdiArea()->currentSubWindow(), usersWindow);
    // A screen without a version rule always comes to the front.
    session.DatabaseVersion = 2.0;
    window.findChild<QPushButton*>("tab1")->click();
    EXPECT_EQ(window.mdiArea()->currentSubWindow(), other);
    EXPECT_TRUE(recorder.shown.empty());
    session.DatabaseVersion = kept;
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
    window.runCommand("mnuHeadingsCfg");
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_NE(recorder.shown[0].text.find("\"Speech Recognition Headings Editor\" is not available yet"),
              std::string::npos)
        << recorder.shown[0].text;
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
    window.runCommand("mnuDBOptions"); // Database Management with the site's settings and disks
    EXPECT_EQ(window.tabsInUse(), 4);
    ASSERT_NE(window.findChild<QTreeWidget*>("DiskView"), nullptr);
    EXPECT_EQ(recorder.shown.size(), 1u);
    startup.shutDown();
    EXPECT_FALSE(foundation::DatabaseSession::instance().SQLConnected);
}

std::vector<std::string> fileLines(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string l; std::getline(in, l);)
        lines.push_back(l);
    return lines;
}

TEST_F(StartupTest, ExportCurrentListWritesTheFocusedListOfTheActiveScreen) {
    prompt.answers = {{"ADMINISTRATOR", "demo"}};
    kdtest::RecordingOpener opener;
    General_MDI window;
    suite::LoginComponent login;
    app::Startup startup(window, login, prompt);
    ASSERT_TRUE(startup.run({"/INI=" + site + "/KALDRA.INI"}, folder, folder));
    const std::string file = foundation::Configuration::instance().networkRootDir + "/KALDRA/NPTEMP.TXT";
    // The home dashboard holds no list.
    window.runCommand("mnuImportList");
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, "A list was not selected.  Please click on the list and reselect this option.");
    EXPECT_FALSE(fs::exists(file));

    window.runCommand("mnuAcctEditor");
    auto* accounts = window.findChild<QTreeWidget*>("lvwAccounts");
    ASSERT_NE(accounts, nullptr);
    accounts->setFocus();
    window.runCommand("mnuImportList");
    EXPECT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(opener.textFiles, std::vector<std::string>{file});
    auto lines = fileLines(file);
    ASSERT_EQ(lines.size(), 5u + 11u); // opening, heading, underline, the 11 live accounts
    EXPECT_EQ(lines[0], "List Contents");
    EXPECT_FALSE(lines[1].empty());
    EXPECT_EQ(lines[2], "");
    EXPECT_EQ(lines[3].rfind("Name", 0), 0u);
    EXPECT_NE(lines[3].find("Number"), std::string::npos);
    EXPECT_EQ(lines[4], std::string(lines[3].size(), '='));

    window.runCommand("mnuSystemLog");
    auto* log = window.findChild<QTableView*>("LogView");
    ASSERT_NE(log, nullptr);
    log->setFocus();
    log->selectRow(0);
    window.runCommand("mnuImportList");
    EXPECT_EQ(recorder.shown.size(), 1u);
    ASSERT_EQ(opener.textFiles.size(), 2u);
    lines = fileLines(file);
    ASSERT_EQ(lines.size(), 5u + static_cast<size_t>(log->model()->rowCount()));
    EXPECT_EQ(lines[3].rfind(log->model()->headerData(0, Qt::Horizontal).toString().toStdString(), 0), 0u);
    startup.shutDown();
}

// The type editors and the line-count configurations open from the menu and from the dashboard's
// buttons; without a live account both type editors refuse under their own titles.
TEST_F(StartupTest, TypeEditorsAndLineCountConfigurationsOpen) {
    prompt.answers = {{"ADMINISTRATOR", "demo"}};
    General_MDI window;
    suite::LoginComponent login;
    app::Startup startup(window, login, prompt);
    std::vector<std::string> opened;
    startup.runDialog = [&opened](QDialog& d) {
        opened.push_back(d.objectName().toStdString() + ":" + d.windowTitle().toStdString());
        return static_cast<int>(QDialog::Rejected);
    };
    ASSERT_TRUE(startup.run({"/INI=" + site + "/KALDRA.INI"}, folder, folder));
    window.runCommand("mnuSuspensionEditor");
    window.findChild<QPushButton*>("cmdPauseEditor")->click();
    EXPECT_EQ(opened,
              (std::vector<std::string>{"TE_SuspTypes:Suspension Type Editor", "TE_Pauses:Activity Type Editor"}));
    window.findChild<QPushButton*>("cmdLineCountConfigs")->click();
    auto* list = window.findChild<QListWidget*>("lstConfig");
    ASSERT_NE(list, nullptr);
    EXPECT_GE(list->count(), 1);
    EXPECT_TRUE(recorder.shown.empty()) << recorder.shown.front().text;
    startup.shutDown();

    // The same site with every account deleted.
    General_MDI second;
    suite::LoginComponent secondLogin;
    app::Startup again(second, secondLogin, prompt);
    again.runDialog = startup.runDialog;
    prompt.answers = {{"ADMINISTRATOR", "demo"}};
    {
        suite::SuiteConnection db;
        ASSERT_TRUE(db.open(kdtest::siteConnectionString(site)));
        ASSERT_TRUE(db.execute("UPDATE Account_info SET is_deleted = 1 WHERE hosp_acct_id > 0"));
    }
    ASSERT_TRUE(again.run({"/INI=" + site + "/KALDRA.INI"}, folder, folder));
    opened.clear();
    recorder.shown.clear();
    second.runCommand("mnuSuspensionEditor");
    second.runCommand("mnuPauseEditor");
    EXPECT_TRUE(opened.empty());
    ASSERT_EQ(recorder.shown.size(), 2u);
    for (const auto& shown : recorder.shown)
        EXPECT_EQ(shown.text, "There are no accounts defined.  Please use the Account Editor to add an account.");
    EXPECT_EQ(recorder.shown[0].title, "Suspension Types Editor");
    EXPECT_EQ(recorder.shown[1].title, "Pause Editor");
    again.shutDown();
}

TEST(StartupVersions, LoginComponentVersionsCompareWithoutTheLocale) {
    kdtest::DecimalCommaLocale german;
    KD_REQUIRE_DECIMAL_COMMA(german);
    struct Case {
        const char* version;
        const char* minimum;
        bool atLeast;
    };
    const Case cases[] = {
        {"8.1", "8.0", true},     {"8.0", "8.1", false},     {"8.0", "8.0", true},       {"7.5", "8.0", false},
        {"2.006", "2.006", true}, {"2.0061", "2.006", true}, {"2.0059", "2.006", false}, {"10", "8.0", true},
        {"", "8.0", false},       {"8,1", "8.0", false}, // not a number: no version
    };
    for (const auto& tc : cases)
        EXPECT_EQ(app::Startup::versionAtLeast(tc.version, tc.minimum), tc.atLeast) << tc.version << " " << tc.minimum;
}

TEST_F(StartupTest, AboutShowsTheDatabaseVersionWithADecimalPointWhateverTheLocale) {
    prompt.answers = {{"ADMINISTRATOR", "demo"}};
    General_MDI window;
    suite::LoginComponent login;
    app::Startup startup(window, login, prompt);
    ASSERT_TRUE(startup.run({"/INI=" + site + "/KALDRA.INI"}, folder, folder));
    EXPECT_DOUBLE_EQ(foundation::DatabaseSession::instance().DatabaseVersion, 8.1);
    kdtest::DecimalCommaLocale german;
    KD_REQUIRE_DECIMAL_COMMA(german);
    window.runCommand("mnuAbout");
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, "Veltra Desktop\nVersion 8.1.0\n\nDatabase version 8.10");
    startup.shutDown();
}

std::string pcUpdates(const std::string& site) {
    suite::SuiteConnection db;
    EXPECT_TRUE(db.open(kdtest::siteConnectionString(site)));
    std::string out;
    const auto rows = db.query("SELECT update_type, flag1 FROM System_pc_updates ORDER BY update_type");
    EXPECT_TRUE(rows.has_value()) << db.lastError();
    for (const auto& row : rows.value_or(std::vector<suite::SuiteConnection::Row>{}))
        out += row.at(0).value_or("NULL") + ":" + row.at(1).value_or("NULL") + ";";
    db.close();
    return out;
}

TEST_F(StartupTest, RoutineManagerMarksTheRoutinesAsUpdated) {
    placeCompanion(folder + "/KDRTNMGR.EXE");
    prompt.answers = {{"ADMINISTRATOR", "demo"}};
    General_MDI window;
    suite::LoginComponent login;
    app::Startup startup(window, login, prompt);
    ASSERT_TRUE(startup.run({"/INI=" + site + "/KALDRA.INI"}, folder, folder));
    ASSERT_TRUE(window.action("mnuRoutines")->isVisible());
    const std::string before = pcUpdates(site);
    window.runCommand("mnuRoutines");
    const auto& history = foundation::DatabaseSession::instance().history;
    ASSERT_FALSE(history.empty());
    EXPECT_EQ(history.back(), "pc_update 2, 0");
    EXPECT_NE(pcUpdates(site).find("2:0;"), std::string::npos) << before;
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, "The routines on the network have been marked as updated.  \nAll client "
                                      "workstations that need updating will be prompted at the next login.");
    CompanionLauncher::instance().forget();
    startup.shutDown();
}

// Stands in for the suite's dictation translation table editor component.
class RecordingEditor : public app::EditorComponent {
public:
    explicit RecordingEditor(std::vector<std::string>& calls) : m_calls(calls) {}
    void ShowForm() override {
        m_calls.push_back("ShowForm " + KaldraINIFile + (KdLoginPtr ? " with login" : " without login"));
        m_calls.push_back("statements so far " +
                          std::to_string(foundation::DatabaseSession::instance().history.size()));
    }

private:
    std::vector<std::string>& m_calls;
};

TEST_F(StartupTest, DictationEditorMarksTheWorkTypeTableAsUpdatedAfterItsForm) {
    prompt.answers = {{"ADMINISTRATOR", "demo"}};
    General_MDI window;
    suite::LoginComponent login;
    app::Startup startup(window, login, prompt);
    ASSERT_TRUE(startup.run({"/INI=" + site + "/KALDRA.INI"}, folder, folder));
    // No editor component installed: the entry says it is not available.
    window.runCommand("mnuDictationEditor");
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_NE(recorder.shown[0].text.find("is not available yet"), std::string::npos);
    recorder.shown.clear();

    std::vector<std::string> calls;
    startup.createComponent = [&calls](const std::string& progId) -> std::unique_ptr<app::EditorComponent> {
        calls.push_back("create " + progId);
        return std::make_unique<RecordingEditor>(calls);
    };
    auto& session = foundation::DatabaseSession::instance();
    const size_t sent = session.history.size();
    window.runCommand("mnuDictationEditor");
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0], "create KDDDIEDT.clsDDIEditor");
    EXPECT_EQ(calls[1], "ShowForm " + site + "/KALDRA.INI with login");
    EXPECT_EQ(calls[2], "statements so far " + std::to_string(sent)); // the update comes after the form
    ASSERT_EQ(session.history.size(), sent + 1);
    EXPECT_EQ(session.history.back(), "pc_update 1, 0");
    EXPECT_NE(pcUpdates(site).find("1:0;"), std::string::npos);
    EXPECT_TRUE(recorder.shown.empty());

    // A failed update: the database's error, then the console's own message.
    session.SQLStatement = "DROP PROCEDURE pc_update";
    ASSERT_EQ(session.ExecSQL(), 1);
    window.runCommand("mnuDictationEditor");
    ASSERT_EQ(recorder.shown.size(), 2u);
    EXPECT_EQ(recorder.shown[0].title, "Veltra Desktop - SQL Error");
    EXPECT_EQ(recorder.shown[1].text, "Error encountered marking the dictation interface work type table as updated.");
    EXPECT_EQ(recorder.shown[1].title, "Update Error");
    startup.shutDown();
}

TEST_F(StartupTest, ReportSearchNeedsAWebBrowser) {
    placeCompanion(folder + "/KDSEARCH.EXE");
    prompt.answers = {{"MGARCIA", "demo"}}; // holds Report Search (12)
    kdtest::RecordingOpener opener;
    opener.browser = false;
    General_MDI window;
    suite::LoginComponent login;
    app::Startup startup(window, login, prompt);
    ASSERT_TRUE(startup.run({"/INI=" + site + "/KALDRA.INI"}, folder, folder));
    window.runCommand("mnuReportSearch");
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].title, "Report Search Error");
    EXPECT_FALSE(CompanionLauncher::instance().isRunning("Report Search"));
    opener.browser = true;
    window.runCommand("mnuReportSearch");
    EXPECT_EQ(recorder.shown.size(), 1u);
    CompanionLauncher::instance().forget();
    startup.shutDown();
}

TEST_F(StartupTest, ShowBitmapTogglesTheUsersOptionAndAsksForARestart) {
    prompt.answers = {{"ADMINISTRATOR", "demo"}};
    General_MDI window;
    suite::LoginComponent login;
    app::Startup startup(window, login, prompt);
    ASSERT_TRUE(startup.run({"/INI=" + site + "/KALDRA.INI"}, folder, folder));
    QAction* bitmap = window.action("mnuShowBitmap");
    const bool shown = bitmap->isChecked();
    for (bool expected : {!shown, shown}) {
        recorder.shown.clear();
        bitmap->trigger();
        EXPECT_EQ(bitmap->isChecked(), expected);
        EXPECT_EQ(login.GetUserOptionValue("ToolBarShowBitmap", ""), expected ? "YES" : "NO");
        ASSERT_EQ(recorder.shown.size(), 1u);
        EXPECT_EQ(recorder.shown[0].text,
                  "The Veltra Desktop must be restarted before this change will be completely in effect.");
    }
    startup.shutDown();
}

TEST_F(StartupTest, HelpOpensTheManualBesideTheProgramOrSaysItIsMissing) {
    prompt.answers = {{"ADMINISTRATOR", "demo"}};
    kdtest::RecordingOpener opener;
    General_MDI window;
    suite::LoginComponent login;
    app::Startup startup(window, login, prompt);
    ASSERT_TRUE(startup.run({"/INI=" + site + "/KALDRA.INI"}, folder, folder)); // the program folder
    window.runCommand("mnuAdminHelp");
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, "The help file ADM_MAN.CHM could not be found.");
    EXPECT_TRUE(opener.documents.empty());
    std::ofstream(folder + "/ADM_MAN.html") << "<html><body>Veltra Desktop Help</body></html>\n";
    window.runCommand("mnuAdminHelp");
    EXPECT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(opener.documents, std::vector<std::string>{folder + "/ADM_MAN.html"});
    opener.answer = false; // no viewer on the desktop
    window.runCommand("mnuAdminHelp");
    ASSERT_EQ(recorder.shown.size(), 2u);
    EXPECT_EQ(recorder.shown[1].text, "The help file " + folder + "/ADM_MAN.html could not be opened.");
    startup.shutDown();
}

TEST(Manual, IsBuiltBesideTheProgramAndDescribesTheMenusScreens) {
    std::ifstream in(KD_MANUAL_PATH);
    ASSERT_TRUE(in.good()) << KD_MANUAL_PATH;
    std::stringstream ss;
    ss << in.rdbuf();
    const std::string manual = ss.str();
    EXPECT_NE(manual.find("<title>Veltra Desktop Help</title>"), std::string::npos);
    for (const char* entry : {"mnuSystemLog", "mnuAcctEditor", "mnuImportList", "mnuPassword", "mnuEditWorkTime",
                              "mnuPatientSearchIdentifiers", "mnuSoftwareUpdates", "mnuRoutines", "mnuDictationEditor",
                              "mnuShowBitmap", "mnuReportSearch", "mnuLocalRequest"}) {
        std::string caption;
        for (char c : findEntry(entry)->caption)
            if (c != '&')
                caption += c;
        if (caption.size() > 3 && caption.compare(caption.size() - 3, 3, "...") == 0)
            caption.resize(caption.size() - 3);
        EXPECT_NE(manual.find(caption), std::string::npos) << entry << ": " << caption;
    }
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
        ASSERT_TRUE(db.open(kdtest::siteConnectionString(site)));
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

// File > User Management opens the screen over the site's users; an older database is refused.
TEST_F(StartupTest, UserManagementOpensTheScreenOnTheSiteUsers) {
    prompt.answers = {{"ADMINISTRATOR", "demo"}};
    General_MDI window;
    suite::LoginComponent login;
    app::Startup startup(window, login, prompt);
    ASSERT_TRUE(startup.run({"/INI=" + site + "/KALDRA.INI"}, folder, folder));
    recorder.shown.clear();
    window.runCommand("mnuUserManagement");
    EXPECT_TRUE(recorder.shown.empty()) << recorder.shown.front().text;
    QMdiSubWindow* front = window.mdiArea()->currentSubWindow();
    ASSERT_NE(front, nullptr);
    EXPECT_EQ(front->widget()->objectName(), "UA_User_Mgmt");
    auto* list = front->widget()->findChild<QTableView*>("lvwUsers");
    ASSERT_NE(list, nullptr);
    bool mjones = false;
    for (int r = 0; r < list->model()->rowCount(); ++r)
        mjones = mjones || list->model()->index(r, 0).data().toString() == "MJONES";
    EXPECT_TRUE(mjones);
    // A second choice brings the open screen to the front instead of a second copy.
    const int open = static_cast<int>(window.mdiArea()->subWindowList().size());
    window.runCommand("mnuUserManagement");
    EXPECT_EQ(static_cast<int>(window.mdiArea()->subWindowList().size()), open);

    foundation::DatabaseSession::instance().DatabaseVersion = 2.0085;
    front->close();
    recorder.shown.clear();
    window.runCommand("mnuUserManagement");
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, "Database Version Not Supported.");
}

// The backup warning at start-up: a site whose history was removed warns an administrator once and
// logs event 20040; SkipBackupCheck turns the check off; the demo's own history (a full backup last
// night) warns nobody.
TEST_F(StartupTest, BackupWarningAtStartUp) {
    auto messages = [&](const std::string& title) {
        int n = 0;
        for (const auto& m : recorder.shown)
            n += m.title == title ? 1 : 0;
        return n;
    };
    auto events = [&] {
        kdtest::OdbcConnection c;
        EXPECT_TRUE(SQL_SUCCEEDED(c.connect("Driver={SQL Server};Server=" + site + "/SQL;Database=KALDRA;")));
        return std::stol(c.exec("SELECT COUNT(*) FROM System_log WHERE error_code = 20040").scalar());
    };
    const long before = events();
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        if (round == 1) {
            kdtest::OdbcConnection c;
            ASSERT_TRUE(SQL_SUCCEEDED(c.connect("Driver={SQL Server};Server=" + site + "/SQL;Database=KALDRA;")));
            c.exec("DELETE msdb.dbo.backupset");
        }
        if (round == 2)
            replaceInIni("SkipBackupCheck=NO", "SkipBackupCheck=YES");
        recorder.shown.clear();
        prompt.answers = {{"ADMINISTRATOR", "demo"}};
        General_MDI window;
        suite::LoginComponent login;
        ASSERT_TRUE(start(window, login));
        EXPECT_EQ(messages("SQL Database Backup Warning"), round == 1 ? 1 : 0);
    }
    EXPECT_EQ(events(), before + 1);
}

// The Statistics entry is wired to its screen and asks for privilege 5, which the demo's
// administrator does not hold.
TEST_F(StartupTest, StatisticsFromTheMenuNeedPrivilegeFive) {
    prompt.answers = {{"ADMINISTRATOR", "demo"}};
    General_MDI window;
    suite::LoginComponent login;
    app::Startup startup(window, login, prompt);
    ASSERT_TRUE(startup.run({"/INI=" + site + "/KALDRA.INI"}, folder, folder));
    ASSERT_FALSE(login.user.privilege(5));
    recorder.shown.clear();
    ASSERT_TRUE(startup.runCommand("mnuDBStats"));
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, "ACCESS DENIED:  You do not have access to view database statistics.");
    EXPECT_EQ(recorder.shown[0].title, "Security");
    EXPECT_EQ(window.findChild<QWidget*>("DB_Statistics"), nullptr);
    startup.shutDown();
}

TEST_F(StartupTest, ThePhysicianProfileEditorEntryOpensThePhysicianListOnce) {
    prompt.answers = {{"ADMINISTRATOR", "demo"}};
    General_MDI window;
    suite::LoginComponent login;
    app::Startup startup(window, login, prompt);
    ASSERT_TRUE(startup.run({"/INI=" + site + "/KALDRA.INI"}, folder, folder)) << startup.stoppedAt();
    window.runCommand("mnuPPEditor");
    window.runCommand("mnuPPEditor"); // the second time brings the same screen to the front
    EXPECT_EQ(window.tabsInUse(), 2);
    auto* accounts = window.findChild<QComboBox*>("CBAccount");
    ASSERT_NE(accounts, nullptr);
    EXPECT_GT(accounts->count(), 0);
    auto* list = window.findChild<QTableView*>("lvwPhysList");
    ASSERT_NE(list, nullptr);
    EXPECT_GT(list->model()->rowCount(), 0); // the demo site's physicians of the first account
    EXPECT_TRUE(recorder.shown.empty()) << recorder.shown[0].text;
    startup.shutDown();
}
