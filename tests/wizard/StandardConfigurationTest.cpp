// Installing the standard configuration for a new site's first account, and each way it can fail.

#include "StandardConfiguration.h"
#include "DatabaseSession.h"
#include "DemoSite.h"
#include "Gen_Wizard.h"
#include "Interaction.h"
#include "MessageService.h"
#include "OdbcFixture.h"
#include "SessionHelper.h"

#include <QPushButton>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>

using foundation::DatabaseSession;
using wizard::StandardConfiguration;
namespace fs = std::filesystem;

namespace {

// The wait window's stages as shown; at a chosen stage the database link drops.
struct StageWindow : platform::WaitWindow {
    std::function<void(const std::string&)> onStage;
    std::vector<std::string> stages;
    void open(const std::string& caption, const std::string& text) override {
        stages.push_back(caption + ": " + text);
        if (onStage)
            onStage(text);
    }
    void close() override {}
};

class StandardInstall : public kdtest::SuiteTest {
protected:
    void SetUp() override {
        SuiteTest::SetUp();
        platform::WaitWindow::install(&window);
        window.onStage = [this](const std::string& text) {
            if (text == dropLinkAt)
                odbc.arrangeFault("KALDRA", "drop-link");
        };
        kdtest::connectSession(odbc.folder(), "KALDRA");
        // Roots with blanks, an apostrophe and non-ASCII letters.
        network = odbc.folder() + "/net root's \xc3\xa9t\xc3\xa9";
        local = odbc.folder() + "/local \xe6\x9c\xac";
        fs::create_directories(network + "/KALDRA/INSTALL/FORMATS");
        fs::create_directories(local + "/KALDRA/TEMP");
        demo::createStandardDatabase(network + "/KALDRA/INSTALL/FORMATS", odbc.folder());
        ASSERT_EQ(exec("DELETE FROM Account_info WHERE hosp_acct_id > -1\n"
                       "INSERT Account_info (hosp_acct_id, hosp_acct_name, email_type, is_deleted) VALUES (7, 'First', "
                       "1, 0)\n"
                       "INSERT System_printers (printer_id, description, print_queue) VALUES (9, 'Ward', 'WARDQ')")
                      .rc(),
                  SQL_SUCCESS);
    }
    void TearDown() override {
        platform::WaitWindow::install(nullptr);
        DatabaseSession::instance().DisconnectFromSQL();
    }
    static std::string fieldsTable(const std::string& extra) {
        return "CREATE TABLE Report_fields_cfg (hosp_acct_id int NOT NULL, dept_id int NOT NULL, report_type_nbr int "
               "NOT NULL, field_nbr int NOT NULL, is_required tinyint NOT NULL DEFAULT 0, field_order smallint NOT "
               "NULL "
               "DEFAULT 0, flag1 int NOT NULL DEFAULT 0, string1 varchar(255) NULL" +
               extra + ")";
    }
    long count(const std::string& sql) { return std::stol(scalar(sql)); }
    bool attached() { return exec("SELECT COUNT(*) FROM k2standard_db.dbo.Reports_cfg").rc() == SQL_SUCCESS; }
    bool sent(const std::string& part) {
        const auto& h = DatabaseSession::instance().history;
        return std::any_of(h.begin(), h.end(), [&](const std::string& s) { return s.find(part) != std::string::npos; });
    }

    std::string network, local, dropLinkAt;
    StageWindow window;
    platform::MessageRecorder recorder;
};

TEST_F(StandardInstall, CopiesTheStandardRowsUnderTheAccountAndCleansUp) {
    ASSERT_EQ(StandardConfiguration::OfferedAccount(), 7);
    const long fieldsBefore = count("SELECT COUNT(*) FROM System_fields");
    const auto report = StandardConfiguration::Install(7, network, local);
    ASSERT_TRUE(report.ok) << report.message;
    EXPECT_TRUE(recorder.shown.empty());
    EXPECT_EQ(count("SELECT COUNT(*) FROM Reports_cfg WHERE hosp_acct_id = 7"), 3);
    EXPECT_EQ(scalar("SELECT report_name FROM Reports_cfg WHERE hosp_acct_id = 7 AND report_type_nbr = 2"),
              "Consultation");
    EXPECT_EQ(count("SELECT COUNT(*) FROM Report_outputs_cfg WHERE hosp_acct_id = 7"), 1);
    EXPECT_EQ(count("SELECT COUNT(*) FROM Report_fields_cfg WHERE hosp_acct_id = 7 AND field_nbr = 201"), 1);
    EXPECT_EQ(count("SELECT COUNT(*) FROM System_fields"), fieldsBefore + 1);
    EXPECT_EQ(scalar("SELECT field_name FROM System_fields WHERE field_nbr = 201"), "Referring Physician");
    // Only the missing printer is added, and every queue is blank afterwards.
    EXPECT_EQ(count("SELECT COUNT(*) FROM System_printers"), 2);
    EXPECT_EQ(count("SELECT COUNT(*) FROM System_printers WHERE print_queue <> ''"), 0);
    EXPECT_EQ(report.printersAdded, 1);
    EXPECT_EQ(report.fieldsAdded, 1);
    EXPECT_EQ(report.blankQueues, (std::vector<std::string>{"Standard Printer", "Ward"}));
    EXPECT_NE(report.summary().find("Reports_cfg: 3 rows"), std::string::npos) << report.summary();
    EXPECT_FALSE(attached());
    EXPECT_FALSE(fs::exists(StandardConfiguration::TemporaryPath(local)));
    const std::string caption = std::string(StandardConfiguration::kCaption) + ": ";
    EXPECT_EQ(window.stages, (std::vector<std::string>{
                                 caption + "Copying sample database...", caption + "Attaching database...",
                                 caption + "Copying report formats...", caption + "Removing temporary files..."}));
    // The attach statement carried the quoted path.
    EXPECT_TRUE(sent("sp_attach_single_file_db @dbname = 'k2standard_db', @physname = '" +
                     DatabaseSession::QuoteSQL(StandardConfiguration::TemporaryPath(local)) + "'"));
    // Installed again: the account's report rows are replaced, not doubled.
    ASSERT_TRUE(StandardConfiguration::Install(7, network, local).ok);
    EXPECT_EQ(count("SELECT COUNT(*) FROM Reports_cfg WHERE hosp_acct_id = 7"), 3);
}

TEST_F(StandardInstall, OfferedOnlyForASingleAccountWithEmailTypeOne) {
    ASSERT_EQ(exec("UPDATE Account_info SET email_type = 0 WHERE hosp_acct_id = 7").rc(), SQL_SUCCESS);
    EXPECT_EQ(StandardConfiguration::OfferedAccount(), std::nullopt);
    ASSERT_EQ(exec("UPDATE Account_info SET email_type = 1 WHERE hosp_acct_id = 7\n"
                   "INSERT Account_info (hosp_acct_id, hosp_acct_name, email_type, is_deleted) VALUES (8, 'Second', "
                   "1, 0)")
                  .rc(),
              SQL_SUCCESS);
    EXPECT_EQ(StandardConfiguration::OfferedAccount(), std::nullopt);
}

// Each failure: its message, nothing attached afterwards, and whether anything was copied.
TEST_F(StandardInstall, EachFailureSaysWhyAndLeavesNothingAttached) {
    const std::string source = StandardConfiguration::SourcePath(network);
    const std::string failed = StandardConfiguration::kFailed;
    const struct {
        const char* name;
        std::function<void()> arrange;
        std::string message; // the start of the message shown
        bool attachSent;
        std::function<void()> restore;
    } cases[] = {
        {"no standard database", [&] { fs::rename(source, source + ".away"); },
         "Error.  Unable to find standard report database " + source, false,
         [&] { fs::rename(source + ".away", source); }},
        {"a folder in its place",
         [&] {
             fs::rename(source, source + ".away");
             fs::create_directory(source);
         },
         "Error.  Unable to find standard report database " + source, false,
         [&] {
             fs::remove(source);
             fs::rename(source + ".away", source);
         }},
        {"a left-over copy that cannot be deleted",
         [&] { fs::create_directories(StandardConfiguration::TemporaryPath(local) + "/inside"); },
         failed + "\n\nError.  Local standard database already exists and cannot be deleted.  ", false,
         [&] { fs::remove_all(StandardConfiguration::TemporaryPath(local)); }},
        {"no local TEMP folder", [&] { fs::remove_all(local + "/KALDRA/TEMP"); },
         failed + "\n\nCould not copy the standard database to the local temporary directory.  ", false,
         [&] { fs::create_directories(local + "/KALDRA/TEMP"); }},
        {"an empty standard file",
         [&] {
             fs::rename(source, source + ".away");
             std::ofstream(source).close();
         },
         failed + "\n\n", true,
         [&] {
             fs::remove(source);
             fs::rename(source + ".away", source);
         }},
        {"a lost link as the copying starts", [&] { dropLinkAt = "Copying report formats..."; }, failed + "\n\n", true,
         [&] { dropLinkAt.clear(); }},
        {"a report table missing", [&] { ASSERT_EQ(exec("DROP TABLE Report_fields_cfg").rc(), SQL_SUCCESS); },
         failed + "\n\nError.  The table Report_fields_cfg could not be read.  ", false,
         [&] { ASSERT_EQ(exec(fieldsTable("")).rc(), SQL_SUCCESS); }},
        // The live table has a column the standard one lacks: its copy fails after the first two.
        {"a statement failing mid-copy",
         [&] { ASSERT_EQ(exec("DROP TABLE Report_fields_cfg\n" + fieldsTable(", extra int NULL")).rc(), SQL_SUCCESS); },
         failed + "\n\n", true,
         [&] { ASSERT_EQ(exec("DROP TABLE Report_fields_cfg\n" + fieldsTable("")).rc(), SQL_SUCCESS); }},
    };
    for (const auto& c : cases) {
        recorder.shown.clear();
        DatabaseSession::instance().history.clear();
        c.arrange();
        const auto report = StandardConfiguration::Install(7, network, local);
        EXPECT_FALSE(report.ok) << c.name;
        ASSERT_FALSE(recorder.shown.empty()) << c.name;
        EXPECT_EQ(recorder.shown.back().text.rfind(c.message, 0), 0u) << c.name << ": " << recorder.shown.back().text;
        EXPECT_EQ(recorder.shown.back().title, StandardConfiguration::kCaption) << c.name;
        EXPECT_EQ(sent("sp_attach_single_file_db"), c.attachSent) << c.name;
        EXPECT_FALSE(attached()) << c.name;
        c.restore();
    }
    // The failing statement came after two report tables: those stayed copied, the printers did not.
    EXPECT_EQ(count("SELECT COUNT(*) FROM Reports_cfg WHERE hosp_acct_id = 7"), 3);
    EXPECT_EQ(count("SELECT COUNT(*) FROM Report_outputs_cfg WHERE hosp_acct_id = 7"), 1);
    EXPECT_EQ(count("SELECT COUNT(*) FROM System_printers"), 1);
    // Nothing stayed attached, so the install now succeeds.
    recorder.shown.clear();
    EXPECT_TRUE(StandardConfiguration::Install(7, network, local).ok) << recorder.shown.size();
}

// From the wizard: offered for the one account, run once, then the summary with the printer list.
TEST_F(StandardInstall, TheWizardOffersTheInstallAndOpensThePrinterListAfterwards) {
    std::vector<std::string> opened;
    wizard::WizardScreens screens;
    screens.networkRoot = network;
    screens.localRoot = local;
    screens.showPrinterList = [&] { opened.push_back("printer list"); };
    wizard::Gen_Wizard w(screens, true);
    auto* install = w.findChild<QPushButton*>("cmdInstallStandard");
    ASSERT_NE(install, nullptr);
    EXPECT_TRUE(install->isEnabled());
    bool enabledWhileRunning = true;
    window.onStage = [&](const std::string&) { enabledWhileRunning = enabledWhileRunning && w.isEnabled(); };
    recorder.answer(platform::MsgAnswer::Yes);
    install->click();
    EXPECT_FALSE(enabledWhileRunning);
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_NE(recorder.shown[0].text.find("Printers added: 1"), std::string::npos) << recorder.shown[0].text;
    EXPECT_NE(recorder.shown[0].text.find("\n    Standard Printer"), std::string::npos);
    EXPECT_EQ(opened, (std::vector<std::string>{"printer list"}));
    EXPECT_EQ(count("SELECT COUNT(*) FROM Reports_cfg WHERE hosp_acct_id = 7"), 3);
    // Without privilege 6 it is not offered.
    wizard::Gen_Wizard refused(screens, false);
    EXPECT_FALSE(refused.findChild<QPushButton*>("cmdInstallStandard")->isEnabled());
}

} // namespace
