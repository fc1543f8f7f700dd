#include "CupsServer.h"
#include "DatabaseSession.h"
#include "MessageService.h"
#include "OR_Log_List.h"
#include "OR_Printer.h"
#include "OdbcFixture.h"
#include "PR_Add_Printer.h"
#include "PrintQueues.h"
#include "PrinterTestPage.h"
#include "RecordingOpener.h"
#include "SessionHelper.h"
#include "clsPrinterTrays.h"
#include "clsPrinters.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <cctype>
#include <optional>

using namespace outputlog;
using foundation::DatabaseSession;
using kdtest::CupsServer;
using kdtest::TestQueue;
using platform::MessageRecorder;
using platform::MsgAnswer;

namespace {

class OutputReportPrint : public kdtest::SuiteTest {
protected:
    void SetUp() override {
        KD_REQUIRE_CUPSD();
        SuiteTest::SetUp();
        exec("INSERT Account_info (hosp_acct_id, hosp_acct_name, partition_id) VALUES (1, 'North General', 0)\n"
             "INSERT Document_demographics (document_id, hosp_acct_id, report_type_nbr, patient_last, physician_id, "
             "trans_id, create_date) VALUES (1, 1, 3, 'Olsen', 7, 'MJ', '2026-03-10 09:00')\n"
             "DECLARE @n int\nSET @n = 0\nWHILE @n < 2000\nBEGIN\n"
             "INSERT Output_queue (output_identifier, document_id, hosp_acct_id, output_type, known_status, "
             "error_code, last_name, fax_nbr, output_time, output_create_timestamp) VALUES (1000 + @n, 1, 1, 8, 34, "
             "4, 'Row' + CONVERT(varchar, 1000 + @n), '5075550141', '2026-03-11 09:00', '2026-03-11 09:00')\n"
             "SET @n = @n + 1\nEND");
        kdtest::connectSession(odbc.folder(), "KALDRA");
    }
    void TearDown() override { DatabaseSession::instance().DisconnectFromSQL(); }
    static OutputLogContext context() {
        OutputLogContext c;
        c.m_colAccounts = {{1, "North General", {}}};
        c.m_udtUser = {12, "Smith"};
        c.m_blnMayResend = true;
        return c;
    }
    static void setRange(OR_Log_List& s) {
        s.findChild<QDateEdit*>("dtpStartDate")->setDate(QDate(2026, 3, 1));
        s.findChild<QDateEdit*>("dtpEndDate")->setDate(QDate(2026, 3, 31));
        s.findChild<QComboBox*>("cmbOutputType")->setCurrentIndex(static_cast<int>(OutputFilter::FaxErrors));
    }
    MessageRecorder recorder;
};

TEST_F(OutputReportPrint, NoQueueGivesItsMessage) {
    OR_Log_List s(context());
    recorder.answer(MsgAnswer::No);
    QTest::mouseClick(s.findChild<QPushButton*>("HPrint"), Qt::LeftButton);
    ASSERT_EQ(recorder.shown.size(), 2u);
    EXPECT_EQ(recorder.shown[0].text, "Preview report before printing?");
    EXPECT_EQ(recorder.shown[0].title, "Preview Report");
    EXPECT_EQ(recorder.shown[1].text, "There are no printers to select from.  Report can not be printed.");
    EXPECT_EQ(recorder.shown[1].title, "Error");
    EXPECT_FALSE(s.PrintReport("NO_SUCH_QUEUE"));
}

// Print chooses the queue in OR_Printer; without a preview the report goes straight to it.
TEST_F(OutputReportPrint, PrintAsksThenChoosesTheQueueInItsDialog) {
    TestQueue other("kdother"), queue("kdchosen");
    OR_Log_List s(context());
    setRange(s);
    QTest::mouseClick(s.findChild<QPushButton*>("HRun"), Qt::LeftButton);
    QStringList offered;
    s.runDialog = [&](QDialog& d) {
        EXPECT_EQ(d.objectName(), "OR_Printer");
        auto* names = d.findChild<QComboBox*>("cmbPrinterName");
        for (int i = 0; names && i < names->count(); ++i)
            offered << names->itemText(i);
        names->setCurrentIndex(names->findText("kdchosen"));
        return static_cast<int>(QDialog::Accepted);
    };
    recorder.answer(MsgAnswer::No);
    QTest::mouseClick(s.findChild<QPushButton*>("HPrint"), Qt::LeftButton);
    EXPECT_TRUE(offered.contains("kdchosen") && offered.contains("kdother")) << offered.join(",").toStdString();
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, "Preview report before printing?");
    const std::string file = queue.output();
    ASSERT_FALSE(file.empty());
    EXPECT_NE(CupsServer::pdfText(file).find("Report Of Fax Output Errors"), std::string::npos);
}

// Configure opens the chosen queue's page on its scheduler's web interface in the browser.
TEST(OutputTrackingConfigure, OpensTheChosenQueuesPage) {
    KD_REQUIRE_CUPSD();
    MessageRecorder recorder;
    kdtest::RecordingOpener opener;
    OutputLogContext c;
    OR_Log_List s(c);
    auto* button = s.findChild<QPushButton*>("HConfigure");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), "Confi&gure");

    // No queue on the workstation.
    QTest::mouseClick(button, Qt::LeftButton);
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, "There are no printers to select from.");

    TestQueue queue("kd-ward");
    std::string choose = "kd-ward";
    s.runDialog = [&](QDialog& d) {
        auto* names = d.findChild<QComboBox*>("cmbPrinterName");
        names->setCurrentIndex(names->findText(QString::fromStdString(choose)));
        return static_cast<int>(choose.empty() ? QDialog::Rejected : QDialog::Accepted);
    };
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(opener.documents, (std::vector<std::string>{"http://localhost:631/printers/kd-ward"}));
    EXPECT_EQ(recorder.shown.size(), 1u);

    choose.clear(); // Cancel
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(opener.documents.size(), 1u);
    EXPECT_EQ(recorder.shown.size(), 1u);

    choose = "kd-ward";
    opener.browser = false;
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(opener.documents.size(), 1u);
    ASSERT_EQ(recorder.shown.size(), 2u);
    EXPECT_EQ(recorder.shown[1].text, "No web browser could be started to show the configuration page of kd-ward "
                                      "(http://localhost:631/printers/kd-ward).");
    EXPECT_EQ(recorder.shown[1].title, "Configure Printer");
}

// "All records" of 2 000 faxes printed on a queue: the heading with its range, every row, and
// several pages.
TEST_F(OutputReportPrint, TheReportReachesTheQueueWithHeadingRowsAndPages) {
    TestQueue queue("kdreport");
    OR_Log_List s(context());
    setRange(s);
    s.findChild<QComboBox*>("cmbResults")->setCurrentIndex(2);
    QTest::mouseClick(s.findChild<QPushButton*>("HRun"), Qt::LeftButton);
    ASSERT_EQ(s.Log().Rows().size(), 2000u);
    const std::string heading =
        "Report Of Fax Output Errors Output Create Time:  03/01/2026 12:00 AM to 03/31/2026 12:00 PM";
    EXPECT_EQ(s.ReportHeading(), heading);
    ASSERT_TRUE(s.PrintReport("kdreport"));
    const std::string file = queue.output();
    ASSERT_FALSE(file.empty());
    // The heading may wrap on the page: compared with blanks and line ends folded to one blank.
    auto folded = [](const std::string& t) {
        std::string out;
        for (char c : t)
            if (!std::isspace(static_cast<unsigned char>(c)) || (!out.empty() && out.back() != ' '))
                out += std::isspace(static_cast<unsigned char>(c)) ? ' ' : c;
        return out;
    };
    const std::string text = folded(CupsServer::pdfText(file));
    EXPECT_NE(text.find(folded(heading)), std::string::npos) << text.substr(0, 400);
    for (const char* row : {"Row1000", "Row1999", "Row2999"})
        EXPECT_NE(text.find(row), std::string::npos) << row;
    EXPECT_NE(text.find("Failed - No Answer"), std::string::npos);
    EXPECT_GT(CupsServer::pdfPages(file), 10);
}

// The printer editor's test page goes to the queue typed in the editor, saved or not.
TEST(PrinterTestPage, OnePageWithThePrintersSettingsReachesItsQueue) {
    KD_REQUIRE_CUPSD();
    MessageRecorder recorder;
    TestQueue queue("kdtestpage");
    printers::clsPrinters list;
    printers::PR_Add_Printer editor(list, "/nowhere");
    editor.now = [] { return std::string("03/14/2026 01:05 PM"); };
    printers::clsPrinter p;
    p.m_strDescription = "Ward 4 Laser";
    p.m_strPrintQueue = "NO_SUCH_QUEUE";
    p.m_strSummaryFont = "Courier New";
    p.m_intSummarySize = 10;
    p.m_bytDefaultBin = 2;
    editor.Load(p);
    auto* button = editor.findChild<QPushButton*>("cmdTestPage");
    QTest::mouseClick(button, Qt::LeftButton);
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, "The print queue NO_SUCH_QUEUE is not installed on this workstation.");
    editor.findChild<QLineEdit*>("LPrintQueue")->setText("kdtestpage");
    QTest::mouseClick(button, Qt::LeftButton);
    ASSERT_EQ(recorder.shown.size(), 2u);
    EXPECT_EQ(recorder.shown[1].text, "A test page was sent to kdtestpage.");
    const std::string file = queue.output();
    ASSERT_FALSE(file.empty());
    EXPECT_EQ(CupsServer::pdfPages(file), 1);
    const std::string text = CupsServer::pdfText(file);
    for (const char* part : {"System Printer Test Page", "Ward 4 Laser", "kdtestpage", "Lower Paper Tray",
                             "03/14/2026 01:05 PM", "Summary font: Courier New (10)"})
        EXPECT_NE(text.find(part), std::string::npos) << part << "\n" << text;
}

// The test page asks the scheduler for the copies bin's paper source: a named tray by its IPP name,
// a tray of the queue's own by the queue's keyword; "Automatically Select" and a bin the queue lacks
// leave the choice to the queue.
TEST(PrinterTestPage, TheJobAsksForTheCopiesBinsTray) {
    KD_REQUIRE_CUPSD();
    TestQueue queue("kdtraypage");
    printers::PrinterTrays().Clear();
    const auto& trays = printers::PrinterTrays().Trays("kdtraypage");
    ASSERT_TRUE(trays.has_value());
    ASSERT_EQ(trays->back().m_intCode, printers::kFirstQueueBin);
    struct Case {
        int bin;
        std::optional<std::string> source;
    } const cases[] = {
        {2, "bottom"},     {4, "manual"},     {printers::kFirstQueueBin, trays->back().m_strKeyword},
        {0, std::nullopt}, {8, std::nullopt}, // a tractor feed the queue does not have
    };
    for (const auto& c : cases) {
        printers::clsPrinter p;
        p.m_strDescription = "Tray " + std::to_string(c.bin);
        p.m_strPrintQueue = "kdtraypage";
        p.m_bytDefaultBin = c.bin;
        const int job = printers::PrintTestPage(p, "now");
        ASSERT_GT(job, 0) << c.bin;
        EXPECT_EQ(platform::PrintQueues::JobAttribute(job, "media-source"), c.source) << c.bin;
        EXPECT_EQ(platform::PrintQueues::JobAttribute(job, "job-name"), "Test Page - " + p.m_strDescription);
    }
}

// The editor's bin lists offer the trays of the queue as the workstation knows it and the whole
// table for a queue it does not know; a stored bin the queue lacks stays chosen either way.
TEST(PrinterEditorTrays, BinListsFollowTheQueue) {
    KD_REQUIRE_CUPSD();
    MessageRecorder recorder;
    TestQueue queue("kdbins");
    printers::PrinterTrays().Clear();
    printers::clsPrinters list;
    printers::PR_Add_Printer editor(list, "/nowhere");
    printers::clsPrinter p;
    p.m_strDescription = "Ward 4 Laser";
    p.m_strPrintQueue = "kdbins";
    p.m_bytDefaultBin = 16;
    p.m_bytBannerBin = 7;
    editor.Load(p);
    auto items = [](QComboBox* box) {
        QStringList texts;
        for (int i = 0; i < box->count(); ++i)
            texts << box->itemText(i);
        return texts;
    };
    auto* copies = editor.findChild<QComboBox*>("CBDefaultBin");
    auto* banner = editor.findChild<QComboBox*>("CBBannerBin");
    EXPECT_EQ(items(copies), (QStringList{"Automatically Select", "Upper Paper Tray", "Lower Paper Tray",
                                          "Manual Paper Feed", "Bin: 16"}));
    EXPECT_EQ(copies->currentText(), "Bin: 16");
    EXPECT_FALSE(copies->itemData(copies->currentIndex(), Qt::ToolTipRole).toString().isEmpty());
    EXPECT_EQ(banner->count(), 6);
    EXPECT_EQ(banner->currentText(), "Auto Select");

    auto* queueField = editor.findChild<QLineEdit*>("LPrintQueue");
    queueField->setText("NO_SUCH_QUEUE");
    Q_EMIT queueField->editingFinished();
    EXPECT_EQ(copies->count(), static_cast<int>(printers::PaperBinNames().size()) + 1);
    EXPECT_EQ(copies->currentText(), "Bin: 16");
    EXPECT_EQ(banner->count(), static_cast<int>(printers::PaperBinNames().size()));
    EXPECT_EQ(banner->currentText(), "Auto Select");
    const printers::clsPrinter saved = editor.Collect();
    EXPECT_EQ(saved.m_bytDefaultBin, 16);
    EXPECT_EQ(saved.m_bytBannerBin, 7);
    EXPECT_TRUE(recorder.shown.empty());
    printers::PrinterTrays().Clear();
}

} // namespace
