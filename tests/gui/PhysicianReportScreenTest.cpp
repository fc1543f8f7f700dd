#include "Configuration.h"
#include "DatabaseSession.h"
#include "DemoSite.h"
#include "LoginComponent.h"
#include "MessageService.h"
#include "OdbcFixture.h"
#include "PP_Phys_List.h"
#include "PP_Report_Selection.h"
#include "ProfileReportDocument.h"
#include "RecordingOpener.h"
#include "SiteSession.h"
#include "StartupFixture.h"
#include "clsPartition.h"
#include "modPartition.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

using namespace physicians;
namespace fs = std::filesystem;

namespace {

std::string run(const std::string& command) {
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        std::array<char, 4096> buffer{};
        while (size_t n = fread(buffer.data(), 1, buffer.size(), p))
            out.append(buffer.data(), n);
        pclose(p);
    }
    return out;
}

bool dataSourceListed() {
    const char* path = std::getenv("ODBCINI");
    std::ifstream in(path ? path : "");
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str().find(std::string("[") + kProfileReportDataSource + "]") != std::string::npos;
}

// The demo site, its physician Baker (accounts North General Inpatient and Radiology) renamed with
// letters of two and three bytes in UTF-8, and the list opened by a user of the root partition.
class PhysicianReportScreen : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::exists("/usr/bin/pdftotext"))
            GTEST_SKIP() << "poppler-utils missing: run tools/bootstrap";
        site = odbc.folder() + "/demo";
        demo::createDemoSite(site, KD_DRIVER_PATH);
        ASSERT_TRUE(kdtest::connectSiteSession(site));
        auto& s = foundation::DatabaseSession::instance();
        ASSERT_TRUE(s.RunStatement("UPDATE Physician_profile SET first_name = 'Łucja', last_name = 'Nguyễn' "
                                   "WHERE physician_id = 2"));
        foundation::Configuration::instance() = foundation::Configuration{};
        foundation::Configuration::instance().networkRootDir = site;
        login.user.user_id = 1;
        login.user.user_name = "ADMINISTRATOR";
        login.user.Partition_ID = 0;
        Partitions().login = &login;
        ASSERT_GT(LoadPartitions(), 0);
        std::vector<suite::HospAccount> accounts;
        s.SQLStatement = "SELECT hosp_acct_id, hosp_acct_name, partition_id FROM Account_info WHERE hosp_acct_id > 0";
        ASSERT_EQ(s.ExecSQL(), 1);
        while (s.FetchRow() == 1) {
            suite::HospAccount a;
            a.hosp_acct_id = s.GetColumnLong(1);
            a.hosp_acct_name = s.GetColumnText(2, 1);
            a.Partition_ID = s.GetColumnLong(3);
            a.privilegeSet = std::string(255, '\x01');
            accounts.push_back(a);
        }
        s.CloseStatement();
        login.SetHospAccounts(accounts);
        list = std::make_unique<PP_Phys_List>(login);
        list->MyShow();
        auto* box = list->findChild<QComboBox*>("CBAccount");
        box->setCurrentIndex(box->findText("North General Inpatient"));
        emit box->activated(box->currentIndex());
        list->chooseReportSettings = [this](ProfileReportOptions& o) {
            o = chosen;
            return true;
        };
        list->showReport = [this](const ProfileReportData& data) {
            listedDuringReport = dataSourceListed();
            QPrinter printer;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(QString::fromStdString(pdf()));
            PrintProfileReport(printer, data);
        };
    }
    void TearDown() override {
        list.reset();
        Partitions() = PartitionState{};
        PartitionCache().clear();
        foundation::Configuration::instance() = foundation::Configuration{};
        foundation::DatabaseSession::instance().DisconnectFromSQL();
    }
    void selectNamed(const QString& name) {
        auto* view = list->findChild<QTableView*>("lvwPhysList");
        view->clearSelection();
        for (int r = 0; r < view->model()->rowCount(); ++r)
            if (view->model()->index(r, 0).data().toString().startsWith(name))
                view->selectionModel()->select(view->model()->index(r, 0),
                                               QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    std::string pdf() const { return odbc.folder() + "/report.pdf"; }
    // The report's text; the ligatures the text engine set are read back as their letters.
    std::string reportText() {
        std::string text = run("pdftotext -enc UTF-8 -layout '" + pdf() + "' -");
        for (const auto& [ligature, letters] : {std::pair{"\xEF\xAC\x81", "fi"}, std::pair{"\xEF\xAC\x82", "fl"}})
            for (size_t at = text.find(ligature); at != std::string::npos; at = text.find(ligature, at))
                text.replace(at, 3, letters);
        return text;
    }

    kdtest::OdbcEnvironment odbc;
    std::string site;
    suite::LoginComponent login;
    platform::MessageRecorder recorder;
    kdtest::RecordingOpener opener;
    std::unique_ptr<PP_Phys_List> list;
    ProfileReportOptions chosen;
    bool listedDuringReport = false;
};

TEST_F(PhysicianReportScreen, TheSelectedPhysiciansProfileReachesThePdfWithNameAndAccounts) {
    selectNamed(QString::fromUtf8("Nguyễn"));
    list->findChild<QAction*>("tbrReport")->trigger();
    EXPECT_TRUE(listedDuringReport);
    EXPECT_FALSE(dataSourceListed());
    const std::string text = reportText();
    EXPECT_NE(text.find("Nguyễn, Łucja DO"), std::string::npos) << text;
    EXPECT_NE(text.find("North General Inpatient, North General Radiology"), std::string::npos) << text;
    EXPECT_NE(text.find("Northfield Family Practice"), std::string::npos) << text;
    EXPECT_NE(text.find("Full Report"), std::string::npos) << text;
    EXPECT_EQ(text.find("Adams"), std::string::npos) << text;
    EXPECT_NE(text.find("Total Physicians: 1"), std::string::npos) << text;
    EXPECT_TRUE(recorder.shown.empty());
}

TEST_F(PhysicianReportScreen, WithoutASelectionTheSummaryHoldsTheWholeAccount) {
    chosen.form = ProfileReportOptions::Form::Summary;
    list->findChild<QAction*>("tbrReport")->trigger();
    const std::string text = reportText();
    EXPECT_NE(text.find("Summary Report"), std::string::npos) << text;
    EXPECT_NE(text.find("Adams, Robert MD"), std::string::npos) << text; // a member of every account
    EXPECT_NE(text.find("Nguyễn, Łucja DO"), std::string::npos) << text;
    EXPECT_EQ(text.find("Chen"), std::string::npos) << text;                   // accounts 6 and 7 only
    EXPECT_EQ(text.find("Dictated but not read."), std::string::npos) << text; // no addendums in a summary
    EXPECT_NE(text.find("Total Physicians: 2"), std::string::npos) << text;

    // The text form is the list's export, without a data source.
    chosen.form = ProfileReportOptions::Form::Notepad;
    fs::remove(pdf());
    list->findChild<QAction*>("tbrReport")->trigger();
    EXPECT_FALSE(fs::exists(pdf()));
    ASSERT_EQ(opener.textFiles.size(), 1u);
    EXPECT_EQ(fs::path(opener.textFiles[0]).filename(), "NPTEMP.TXT");
}

TEST_F(PhysicianReportScreen, AnExtendedReportNeedsContentAndTheContentFollowsTheForm) {
    PP_Report_Selection dialog;
    auto* extended = dialog.findChild<QRadioButton*>("OPTExtendedReport");
    auto* content = dialog.findChild<QGroupBox*>("fraContent");
    ASSERT_TRUE(extended && content);
    EXPECT_TRUE(extended->isChecked());
    EXPECT_TRUE(content->isEnabled());
    dialog.findChild<QRadioButton*>("OPTSummaryReport")->setChecked(true);
    EXPECT_FALSE(content->isEnabled());
    extended->setChecked(true);
    for (const char* name : {"chkDemographics", "chkOutput", "chkAddendums", "chkWeighting"})
        dialog.findChild<QCheckBox*>(name)->setChecked(false);
    dialog.findChild<QPushButton*>("cmdOK")->click();
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text,
              "At least one of the items must be checked before generating an extended report.");
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    dialog.findChild<QCheckBox*>("chkWeighting")->setChecked(true);
    dialog.findChild<QPushButton*>("cmdOK")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const ProfileReportOptions o = dialog.options();
    EXPECT_TRUE(o.form == ProfileReportOptions::Form::Extended && o.weighting && !o.demographics && !o.output &&
                !o.addendums);

    // The report then leaves out what was not chosen.
    chosen = o;
    selectNamed("Adams");
    list->findChild<QAction*>("tbrReport")->trigger();
    const std::string text = reportText();
    EXPECT_NE(text.find("Adams, Robert MD"), std::string::npos) << text;
    EXPECT_NE(text.find("Weighting"), std::string::npos) << text;
    EXPECT_EQ(text.find("Dictated but not read."), std::string::npos) << text;
    EXPECT_EQ(text.find("100 Main Street"), std::string::npos) << text;
    EXPECT_NE(text.find("All Accounts"), std::string::npos) << text;
}

// The menu's "Physician List Reports..." opens the report of the physician list, which it opens first.
class PhysicianReportMenu : public kdtest::StartupTest {};

TEST_F(PhysicianReportMenu, PhysicianListReportsAsksForTheReportFormOfTheList) {
    prompt.answers = {{"MGARCIA", "demo"}};
    mainwindow::General_MDI window;
    suite::LoginComponent login;
    app::Startup startup(window, login, prompt);
    ASSERT_TRUE(startup.run({"/INI=" + site + "/KALDRA.INI"}, folder, folder));
    window.runCommand("mnuPPEditor");
    auto* list = window.findChild<PP_Phys_List*>("PP_Phys_List");
    ASSERT_NE(list, nullptr);
    int asked = 0;
    list->chooseReportSettings = [&asked](ProfileReportOptions&) {
        ++asked;
        return false;
    };
    recorder.shown.clear();
    window.runCommand("mnuImportPPList");
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(recorder.shown.empty()) << recorder.shown.front().text;
    EXPECT_FALSE(dataSourceListed());
}

} // namespace
