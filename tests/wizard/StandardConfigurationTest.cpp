// Installing the standard configuration for a new site's first account, and each way it can fail.

#include "StandardConfiguration.h"
#include "DatabaseSession.h"
#include "DemoSite.h"
#include "Gen_Wizard.h"
#include "Interaction.h"
#include "MessageService.h"
#include "NewSiteFixture.h"
#include "Session.h"

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

// A new installation under a root with blanks, an apostrophe and non-ASCII letters, with its first
// account (7, with a report type of its own), a printer, and a custom field the standard database
// also has, under another name.
class StandardInstall : public kdtest::NewSiteTest {
protected:
    std::string siteName() const override { return "net root's \xc3\xa9t\xc3\xa9 \xe6\x9c\xac"; }
    void SetUp() override {
        NewSiteTest::SetUp();
        platform::WaitWindow::install(&window);
        window.onStage = [this](const std::string& text) {
            if (text == dropLinkAt)
                std::ofstream(tsql::Session::databasePath(site + "/SQL", "KALDRA") + ".faults", std::ios::app)
                    << "drop-link\n";
        };
        network = site;
        local = site + "/local";
        ASSERT_EQ(exec("EXECUTE account_check 7\n"
                       "UPDATE Account_info SET hosp_acct_name = 'First', email_type = 1 WHERE hosp_acct_id = 7\n"
                       "INSERT Reports_cfg (hosp_acct_id, dept_id, report_type_nbr, report_version_nbr, report_name) "
                       "VALUES (7, 0, 99, 0, 'Existing')\n"
                       "INSERT System_fields VALUES (202, 'Local Name', 0, 60, 0, NULL)\n"
                       "INSERT System_printers (printer_id, description, print_queue) VALUES (9, 'Ward', 'WARDQ')")
                      .rc(),
                  SQL_SUCCESS);
    }
    void TearDown() override {
        platform::WaitWindow::install(nullptr);
        NewSiteTest::TearDown();
    }
    static std::string fieldsTable(const std::string& extra) {
        return "CREATE TABLE Report_fields_cfg (hosp_acct_id int NOT NULL, dept_id int NOT NULL, report_type_nbr int "
               "NOT NULL, field_nbr int NOT NULL, is_required tinyint NOT NULL DEFAULT 0, field_order smallint NOT "
               "NULL "
               "DEFAULT 0, flag1 int NOT NULL DEFAULT 0, string1 varchar(255) NULL" +
               extra + ")";
    }
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
    const auto report = StandardConfiguration::Install(7, network, local);
    ASSERT_TRUE(report.ok) << report.message;
    EXPECT_TRUE(recorder.shown.empty());
    EXPECT_FALSE(attached());
    EXPECT_FALSE(fs::exists(StandardConfiguration::TemporaryPath(local)));
    EXPECT_FALSE(fs::exists(StandardConfiguration::TemporaryLogPath(local)));
    const std::string caption = std::string(StandardConfiguration::kCaption) + ": ";
    EXPECT_EQ(window.stages, (std::vector<std::string>{
                                 caption + "Copying sample database...", caption + "Attaching database...",
                                 caption + "Copying report formats...", caption + "Removing temporary files..."}));
    EXPECT_TRUE(sent("sp_attach_single_file_db @dbname = 'k2standard_db', @physname = '" +
                     DatabaseSession::QuoteSQL(StandardConfiguration::TemporaryPath(local)) + "'"));
    EXPECT_TRUE(sent("sp_detach_db k2standard_db"));

    // The shipped file itself, attached under another name, tells what should have arrived.
    ASSERT_EQ(exec("sp_attach_single_file_db @dbname = 'shipped', @physname = '" +
                   DatabaseSession::QuoteSQL(StandardConfiguration::SourcePath(network)) + "'")
                  .rc(),
              SQL_SUCCESS);
    // Every standard report row under the account, with its further columns; the account's own
    // report type replaced, the template rows (-1) not copied.
    const struct {
        const char* table;
        const char* match;
    } tables[] = {
        {"Reports_cfg", "S.report_type_nbr = L.report_type_nbr AND S.report_name = L.report_name"},
        {"Report_outputs_cfg", "S.report_type_nbr = L.report_type_nbr AND S.output_nbr = L.output_nbr AND "
                               "S.output_type = L.output_type AND S.printer_id = L.printer_id"},
        {"Report_fields_cfg", "S.report_type_nbr = L.report_type_nbr AND S.field_nbr = L.field_nbr AND "
                              "S.field_order = L.field_order"},
    };
    ASSERT_EQ(report.rowsCopied.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        const std::string t = tables[i].table;
        const long shipped = count("SELECT COUNT(*) FROM shipped.dbo." + t + " WHERE hosp_acct_id > -1");
        EXPECT_GT(shipped, 0) << t;
        EXPECT_EQ(count("SELECT COUNT(*) FROM " + t + " WHERE hosp_acct_id = 7"), shipped) << t;
        EXPECT_EQ(count("SELECT COUNT(*) FROM " + t + " L JOIN shipped.dbo." + t + " S ON " + tables[i].match +
                        " WHERE L.hosp_acct_id = 7 AND S.hosp_acct_id > -1"),
                  shipped)
            << t;
        EXPECT_EQ(count("SELECT COUNT(*) FROM " + t + " WHERE hosp_acct_id <> 7"), 0) << t;
        EXPECT_EQ(report.rowsCopied[i], (std::pair<std::string, long>{t, shipped}));
    }
    // Custom fields only (above 200), and only those the site lacked: 202 keeps the site's name.
    EXPECT_EQ(count("SELECT COUNT(*) FROM System_fields WHERE field_nbr <= 200"), 0);
    const long custom = count("SELECT COUNT(*) FROM shipped.dbo.System_fields WHERE field_nbr > 200");
    EXPECT_EQ(count("SELECT COUNT(*) FROM System_fields"), custom);
    EXPECT_EQ(scalar("SELECT field_name FROM System_fields WHERE field_nbr = 202"), "Local Name");
    EXPECT_EQ(report.fieldsAdded, custom - 1);
    // Every standard printer with its originals row, the site's own kept, and every queue blank.
    const long printers = count("SELECT COUNT(*) FROM shipped.dbo.System_printers");
    EXPECT_EQ(count("SELECT COUNT(*) FROM System_printers"), printers + 1);
    EXPECT_EQ(count("SELECT COUNT(*) FROM System_printers_extended"), printers);
    EXPECT_EQ(scalar("SELECT description FROM System_printers WHERE printer_id = 9"), "Ward");
    EXPECT_EQ(count("SELECT COUNT(*) FROM System_printers WHERE print_queue <> ''"), 0);
    EXPECT_EQ(report.printersAdded, printers);
    EXPECT_EQ(report.blankQueues.size(), static_cast<size_t>(printers + 1));
    EXPECT_NE(report.summary().find("Reports_cfg: " + std::to_string(report.rowsCopied[0].second) + " rows"),
              std::string::npos)
        << report.summary();
    ASSERT_EQ(exec("sp_detach_db shipped").rc(), SQL_SUCCESS);
    // Installed again: the account's report rows are replaced, not doubled.
    ASSERT_TRUE(StandardConfiguration::Install(7, network, local).ok);
    EXPECT_EQ(count("SELECT COUNT(*) FROM Reports_cfg WHERE hosp_acct_id = 7"), report.rowsCopied[0].second);
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
        bool copyingBegan; // the account's report rows were deleted and copying began
        std::function<void()> restore;
    } cases[] = {
        {"no standard database", [&] { fs::rename(source, source + ".away"); },
         "Error.  Unable to find standard report database " + source, false, false,
         [&] { fs::rename(source + ".away", source); }},
        {"a folder in its place",
         [&] {
             fs::rename(source, source + ".away");
             fs::create_directory(source);
         },
         "Error.  Unable to find standard report database " + source, false, false,
         [&] {
             fs::remove(source);
             fs::rename(source + ".away", source);
         }},
        {"a left-over copy that cannot be deleted",
         [&] { fs::create_directories(StandardConfiguration::TemporaryPath(local) + "/inside"); },
         failed + "\n\nError.  Local standard database already exists and cannot be deleted.  ", false, false,
         [&] { fs::remove_all(StandardConfiguration::TemporaryPath(local)); }},
        {"no local TEMP folder", [&] { fs::remove_all(local + "/KALDRA/TEMP"); },
         failed + "\n\nCould not copy the standard database to the local temporary directory.  ", false, false,
         [&] { fs::create_directories(local + "/KALDRA/TEMP"); }},
        {"an empty standard file",
         [&] {
             fs::rename(source, source + ".away");
             std::ofstream(source).close();
         },
         failed + "\n\n", true, false,
         [&] {
             fs::remove(source);
             fs::rename(source + ".away", source);
         }},
        {"a file that is not a database",
         [&] {
             fs::rename(source, source + ".away");
             std::ofstream(source) << std::string(8192, 'x');
         },
         failed + "\n\n", true, false,
         [&] {
             fs::remove(source);
             fs::rename(source + ".away", source);
         }},
        {"a lost link as the copying starts", [&] { dropLinkAt = "Copying report formats..."; }, failed + "\n\n", true,
         true, [&] { dropLinkAt.clear(); }},
        {"a report table missing", [&] { ASSERT_EQ(exec("DROP TABLE Report_fields_cfg").rc(), SQL_SUCCESS); },
         failed + "\n\nError.  The table Report_fields_cfg could not be read.  ", false, false,
         [&] { ASSERT_EQ(exec(fieldsTable("")).rc(), SQL_SUCCESS); }},
        // The live table has a column the standard one lacks: its copy fails after the first two.
        {"a statement failing mid-copy",
         [&] { ASSERT_EQ(exec("DROP TABLE Report_fields_cfg\n" + fieldsTable(", extra int NULL")).rc(), SQL_SUCCESS); },
         failed + "\n\n", true, true,
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
        EXPECT_EQ(sent("DELETE FROM Reports_cfg WHERE hosp_acct_id = 7"), c.copyingBegan) << c.name;
        // Before the copying began nothing of the account changed.
        if (!c.copyingBegan) {
            EXPECT_EQ(scalar("SELECT report_name FROM Reports_cfg WHERE hosp_acct_id = 7"), "Existing") << c.name;
        }
        EXPECT_FALSE(attached()) << c.name;
        EXPECT_FALSE(fs::exists(StandardConfiguration::TemporaryPath(local)) &&
                     fs::is_regular_file(StandardConfiguration::TemporaryPath(local)))
            << c.name;
        c.restore();
    }
    // The failing statement came after two report tables: those stayed copied, the fields and
    // printers did not.
    EXPECT_EQ(count("SELECT COUNT(*) FROM Reports_cfg WHERE hosp_acct_id = 7"), demo::StandardContent{}.reportTypes);
    EXPECT_EQ(count("SELECT COUNT(*) FROM Report_outputs_cfg WHERE hosp_acct_id = 7"), demo::StandardContent{}.outputs);
    EXPECT_EQ(count("SELECT COUNT(*) FROM Report_fields_cfg"), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM System_printers"), 1);
    EXPECT_EQ(count("SELECT COUNT(*) FROM System_fields"), 1);
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
    EXPECT_NE(recorder.shown[0].text.find("Printers added: " + std::to_string(demo::StandardContent{}.printers)),
              std::string::npos)
        << recorder.shown[0].text;
    EXPECT_NE(recorder.shown[0].text.find("\n    Standard Printer"), std::string::npos);
    EXPECT_EQ(opened, (std::vector<std::string>{"printer list"}));
    EXPECT_EQ(count("SELECT COUNT(*) FROM Reports_cfg WHERE hosp_acct_id = 7"), demo::StandardContent{}.reportTypes);
    // Without privilege 6 it is not offered.
    wizard::Gen_Wizard refused(screens, false);
    EXPECT_FALSE(refused.findChild<QPushButton*>("cmdInstallStandard")->isEnabled());
}

} // namespace
