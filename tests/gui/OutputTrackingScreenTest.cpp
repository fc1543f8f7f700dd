#include "DatabaseSession.h"
#include "GenXWait.h"
#include "MessageService.h"
#include "OR_Fax_Info.h"
#include "OR_Log_List.h"
#include "OdbcFixture.h"
#include "OutputListModel.h"
#include "SessionHelper.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QTimeEdit>

using namespace outputlog;
using foundation::DatabaseSession;
using platform::MessageRecorder;

namespace {

class OutputTrackingScreen : public kdtest::SuiteTest {
protected:
    void SetUp() override {
        SuiteTest::SetUp();
        exec("INSERT Account_info (hosp_acct_id, hosp_acct_name, partition_id) VALUES (1, 'North General', 0)\n"
             "INSERT Account_info (hosp_acct_id, hosp_acct_name, partition_id) VALUES (2, 'Lakeside', 0)\n"
             "INSERT Document_demographics (document_id, hosp_acct_id, report_type_nbr, patient_last, physician_id, "
             "trans_id, create_date) VALUES (1, 1, 3, 'Olsen', 7, 'MJ', '2026-03-10 09:00')\n"
             "INSERT Document_demographics (document_id, hosp_acct_id, report_type_nbr, patient_last, physician_id, "
             "trans_id, create_date) VALUES (2, 2, 4, 'Lopez', 7, 'MJ', '2026-03-10 10:00')");
        output(301, 1, 8, 34, 4, "'5075550141'");
        output(302, 1, 3, 20, 0, "NULL");
        output(303, 2, 4, 23, 0, "NULL");
        output(304, 1, 3, 21, 0, "NULL");
        kdtest::connectSession(odbc.folder(), "KALDRA");
        DatabaseSession::instance().ReadDatabaseVersion();
    }
    void TearDown() override { DatabaseSession::instance().DisconnectFromSQL(); }
    void output(long id, long doc, int type, int status, int error, const std::string& fax) {
        exec("INSERT Output_queue (output_identifier, document_id, hosp_acct_id, physician_id, trans_id, create_date, "
             "output_type, known_status, error_code, fax_nbr, sent_by_name, output_time, output_create_timestamp) "
             "VALUES (" +
             std::to_string(id) + ", " + std::to_string(doc) + ", " + std::to_string(doc) +
             ", 7, 'MJ', '2026-03-10 09:00', " + std::to_string(type) + ", " + std::to_string(status) + ", " +
             std::to_string(error) + ", " + fax + ", '12^Smith', '2026-03-11 0" + std::to_string(id % 10) +
             ":00', '2026-03-11 0" + std::to_string(id % 10) + ":00')");
    }
    static OutputLogContext context(bool mayResend) {
        OutputLogContext c;
        c.m_colAccounts = {{1, "North General", {{3, "Discharge"}}}, {2, "Lakeside", {{4, "Consult"}}}};
        c.m_colFields = {{1, "Patient Last Name", "dd.patient_last", "", 0},
                         {9, "Report Type", "dd.report_type_nbr", "", 7}};
        c.m_udtUser = {12, "Smith"};
        c.m_blnMayResend = mayResend;
        return c;
    }
    template <typename T>
    static T* child(QWidget& w, const char* name) {
        T* c = w.findChild<T*>(name);
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    static void setRange(QWidget& w) {
        child<QDateEdit>(w, "dtpStartDate")->setDate(QDate(2026, 3, 1));
        child<QDateEdit>(w, "dtpEndDate")->setDate(QDate(2026, 3, 31));
        child<QRadioButton>(w, "DDate")->setChecked(true);
    }
    static void selectIds(OR_Log_List& s, std::initializer_list<long> ids) {
        QTableView* view = s.List();
        view->clearSelection();
        for (long id : ids)
            for (size_t r = 0; r < s.Log().Rows().size(); ++r)
                if (s.Log().Rows()[r].m_lngOutputId == id)
                    view->selectionModel()->select(view->model()->index(static_cast<int>(r), 0),
                                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    MessageRecorder recorder;
};

TEST_F(OutputTrackingScreen, RunsTheFiltersShowsTextsAndKeepsTheUsersChoices) {
    OR_Log_List s(context(true));
    EXPECT_EQ(child<QTimeEdit>(s, "dtpStartTime")->time(), QTime(0, 0));
    EXPECT_EQ(child<QTimeEdit>(s, "dtpEndTime")->time(), QTime(12, 0));
    setRange(s);
    child<QComboBox>(s, "HAInput")->setCurrentIndex(1);
    EXPECT_EQ(child<QComboBox>(s, "RTInput")->itemText(0), "<All For Account North General >");
    EXPECT_EQ(child<QComboBox>(s, "RTInput")->itemText(1), "Discharge (3)");
    QTest::mouseClick(child<QPushButton>(s, "HRun"), Qt::LeftButton);
    EXPECT_EQ(child<QLabel>(s, "lblStatus")->text(), "3 records found");
    QAbstractItemModelTester tester(s.List()->model(), QAbstractItemModelTester::FailureReportingMode::Warning);
    const auto* model = s.List()->model();
    EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), "Account Name");
    EXPECT_EQ(model->headerData(15, Qt::Horizontal).toString(), "Destination");
    // Newest first: 304, 302, 301.
    EXPECT_EQ(model->index(2, 3).data().toString(), "Failed - No Answer");
    EXPECT_EQ(model->index(2, 1).data().toString(), "Fax Output");
    EXPECT_EQ(model->index(2, 15).data().toString(), "5075550141");
    EXPECT_EQ(model->index(2, 0).data(Qt::ToolTipRole).toString(), "Sent by Smith (12)");
    EXPECT_EQ(model->index(0, 3).data().toString(), "Not Printed Yet");

    child<QComboBox>(s, "cmbOutputType")->setCurrentIndex(static_cast<int>(OutputFilter::FaxOutputs));
    QTest::mouseClick(child<QPushButton>(s, "HRun"), Qt::LeftButton);
    EXPECT_EQ(child<QLabel>(s, "lblStatus")->text(), "1 records found");
    child<QComboBox>(s, "HAInput")->setCurrentIndex(2);
    child<QComboBox>(s, "CBInput0")->setCurrentIndex(1);
    child<QLineEdit>(s, "CBText0")->setText("P");
    QTest::mouseClick(child<QPushButton>(s, "HRun"), Qt::LeftButton);
    EXPECT_EQ(child<QLabel>(s, "lblStatus")->text(), "No Items Found");
    EXPECT_TRUE(recorder.shown.empty());

    // The next opening starts from these choices. The criterion's field comes back without its text,
    // so the list waits for it instead of refusing on opening.
    OR_Log_List again(context(true));
    again.MyShow();
    EXPECT_TRUE(recorder.shown.empty());
    EXPECT_EQ(child<QComboBox>(again, "CBInput0")->currentIndex(), 1);
    EXPECT_EQ(child<QLabel>(again, "lblStatus")->text(), "");
    EXPECT_EQ(child<QComboBox>(again, "HAInput")->currentText(), "Lakeside");
    EXPECT_EQ(child<QComboBox>(again, "cmbOutputType")->currentText(), "Fax Outputs Only");
    EXPECT_TRUE(child<QRadioButton>(again, "DDate")->isChecked());
    EXPECT_EQ(child<QDateEdit>(again, "dtpEndDate")->date(), QDate(2026, 3, 31));
}

TEST_F(OutputTrackingScreen, RefusesBadRangesAndNumberCriteriaBeforeTheQuery) {
    OR_Log_List s(context(true));
    setRange(s);
    child<QDateEdit>(s, "dtpEndDate")->setDate(QDate(2026, 2, 1));
    const size_t sent = DatabaseSession::instance().history.size();
    QTest::mouseClick(child<QPushButton>(s, "HRun"), Qt::LeftButton);
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, "The start date is later than the end date.");
    setRange(s);
    child<QComboBox>(s, "CBInput2")->setCurrentIndex(2);
    child<QLineEdit>(s, "CBText2")->setText("3 OR 1=1");
    QTest::mouseClick(child<QPushButton>(s, "HRun"), Qt::LeftButton);
    ASSERT_EQ(recorder.shown.size(), 2u);
    EXPECT_EQ(recorder.shown[1].text, "The value for Report Type must be a whole number.");
    // A field without its text, then a text without its field.
    child<QLineEdit>(s, "CBText2")->setText(" ");
    QTest::mouseClick(child<QPushButton>(s, "HRun"), Qt::LeftButton);
    ASSERT_EQ(recorder.shown.size(), 3u);
    EXPECT_EQ(recorder.shown[2].text, "Please configure all outputs.");
    child<QLineEdit>(s, "CBText2")->setText("4");
    child<QLineEdit>(s, "CBText3")->setText("Smith");
    QTest::mouseClick(child<QPushButton>(s, "HRun"), Qt::LeftButton);
    ASSERT_EQ(recorder.shown.size(), 4u);
    EXPECT_EQ(recorder.shown[3].text, "Please configure all outputs.");
    EXPECT_EQ(DatabaseSession::instance().history.size(), sent);
    child<QLineEdit>(s, "CBText3")->clear();
    QTest::mouseClick(child<QPushButton>(s, "HRun"), Qt::LeftButton);
    EXPECT_EQ(child<QLabel>(s, "lblStatus")->text(), "1 records found");
}

// The query runs under the wait window saying "Generating Report..."; a query that fails leaves the
// list empty with its message.
TEST_F(OutputTrackingScreen, AFailedQueryRunsUnderTheWaitWindowAndEmptiesTheList) {
    OR_Log_List s(context(true));
    setRange(s);
    QTest::mouseClick(child<QPushButton>(s, "HRun"), Qt::LeftButton);
    ASSERT_FALSE(s.Log().Rows().empty());
    exec("DROP TABLE Output_queue");
    auto& wait = platform::GenXWait::instance();
    QStringList waiting;
    recorder.whileShown = [&](const MessageRecorder::Shown&) {
        if (wait.isVisible())
            for (const QLabel* label : wait.findChildren<QLabel*>())
                waiting << label->text();
    };
    QTest::mouseClick(child<QPushButton>(s, "HRun"), Qt::LeftButton);
    ASSERT_FALSE(recorder.shown.empty());
    EXPECT_EQ(recorder.shown.back().text, "Error encountered retrieving the outputs.");
    EXPECT_TRUE(waiting.contains("Generating Report...")) << waiting.join("|").toStdString();
    EXPECT_TRUE(s.Log().Rows().empty());
    EXPECT_EQ(child<QLabel>(s, "lblStatus")->text(), "No Items Found");
    EXPECT_FALSE(wait.isVisible());
}

TEST_F(OutputTrackingScreen, ResendRefusesAMixAndRequeuesOnlineOutputs) {
    OR_Log_List s(context(true));
    setRange(s);
    QTest::mouseClick(child<QPushButton>(s, "HRun"), Qt::LeftButton);
    ASSERT_EQ(s.Log().Rows().size(), 4u);
    selectIds(s, {301, 302});
    QTest::mouseClick(child<QPushButton>(s, "HResend"), Qt::LeftButton);
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text.rfind("A mix of output types", 0), 0u);
    selectIds(s, {302, 304});
    QTest::mouseClick(child<QPushButton>(s, "HResend"), Qt::LeftButton);
    ASSERT_EQ(recorder.shown.size(), 2u);
    EXPECT_EQ(recorder.shown[1].text.rfind("Some of the records selected cannot be resent.", 0), 0u);
    selectIds(s, {302, 303});
    QTest::mouseClick(child<QPushButton>(s, "HResend"), Qt::LeftButton);
    EXPECT_EQ(recorder.shown.size(), 2u);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Output_queue WHERE known_status = 22 AND sent_by_name = '12^Smith'"), "2");
    int resubmitted = 0;
    for (int r = 0; r < s.List()->model()->rowCount(); ++r)
        resubmitted += s.List()->model()->index(r, 3).data().toString() == "Resubmitted" ? 1 : 0;
    EXPECT_EQ(resubmitted, 2);
}

TEST_F(OutputTrackingScreen, ResendNeedsPrivilege135) {
    OR_Log_List s(context(false));
    EXPECT_FALSE(child<QPushButton>(s, "HResend")->isEnabled());
    EXPECT_TRUE(child<QPushButton>(s, "HRun")->isEnabled());
}

TEST_F(OutputTrackingScreen, FaxDialogWantsThreeCharacters) {
    OR_Fax_Info dialog;
    dialog.Prepare("<Various>", false);
    EXPECT_EQ(dialog.windowTitle(), "Resend Fax");
    EXPECT_EQ(child<QLineEdit>(dialog, "txtFaxNumber")->text(), "<Various>");
    struct Case {
        const char* number;
        bool accepted;
    } const cases[] = {{"12", false}, {" 12 ", false}, {"123", true}};
    for (const auto& c : cases) {
        recorder.shown.clear();
        dialog.setResult(QDialog::Rejected);
        child<QLineEdit>(dialog, "txtFaxNumber")->setText(c.number);
        QTest::mouseClick(child<QPushButton>(dialog, "cmdOK"), Qt::LeftButton);
        EXPECT_EQ(dialog.result() == QDialog::Accepted, c.accepted) << c.number;
        if (!c.accepted) {
            ASSERT_EQ(recorder.shown.size(), 1u);
            EXPECT_EQ(recorder.shown[0].text, "Please enter a valid fax number.");
            EXPECT_EQ(recorder.shown[0].title, "Fax Number Error");
        }
    }
    dialog.Prepare("a@b.c", true);
    EXPECT_EQ(dialog.windowTitle(), "Resend Email");
    EXPECT_FALSE(dialog.Priority());
}

} // namespace
