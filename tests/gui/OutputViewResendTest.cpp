#include "DatabaseSession.h"
#include "GenXWait.h"
#include "MessageService.h"
#include "OR_Log_List.h"
#include "OdbcFixture.h"
#include "SessionHelper.h"

#include <QApplication>
#include <QDateEdit>
#include <QDialog>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <fstream>

using namespace outputlog;
using foundation::DatabaseSession;
using platform::MessageRecorder;

namespace {

// The output log's View Message (the upload viewer) and the wait window around a resend of several rows.
class OutputViewResend : public kdtest::SuiteTest {
protected:
    void SetUp() override {
        SuiteTest::SetUp();
        std::ofstream(odbc.folder() + "/upload-401.xml")
            << "<ClinicalDocument>Olsen, discharge summary</ClinicalDocument>";
        exec("INSERT Account_info (hosp_acct_id, hosp_acct_name, partition_id) VALUES (1, 'North General', 0)\n"
             "INSERT Document_demographics (document_id, hosp_acct_id, report_type_nbr, patient_last, physician_id, "
             "trans_id, create_date) VALUES (1, 1, 3, 'Olsen', 7, 'MJ', '2026-03-10 09:00')");
        output(401, 203, 82, "'" + odbc.folder() + "/upload-401.xml'");
        output(402, 205, 83, "'missing-402.xml'");
        for (long id : {411, 412, 413, 414})
            output(id, 3, 20, "NULL");
        kdtest::connectSession(odbc.folder(), "KALDRA");
        DatabaseSession::instance().ReadDatabaseVersion();
        screen = std::make_unique<OR_Log_List>(context());
        screen->findChild<QDateEdit*>("dtpStartDate")->setDate(QDate(2026, 3, 1));
        screen->findChild<QDateEdit*>("dtpEndDate")->setDate(QDate(2026, 3, 31));
        screen->findChild<QRadioButton*>("DDate")->setChecked(true);
        QTest::mouseClick(screen->findChild<QPushButton*>("HRun"), Qt::LeftButton);
        ASSERT_EQ(screen->Log().Rows().size(), 6u);
    }
    void TearDown() override {
        screen.reset();
        DatabaseSession::instance().DisconnectFromSQL();
    }
    void output(long id, int type, int status, const std::string& file) {
        exec("INSERT Output_queue (output_identifier, document_id, hosp_acct_id, physician_id, trans_id, create_date, "
             "output_type, known_status, error_code, last_name, print_queue, fax_filename, sent_by_name, output_time, "
             "output_create_timestamp) VALUES (" +
             std::to_string(id) + ", 1, 1, 7, 'MJ', '2026-03-10 09:00', " + std::to_string(type) + ", " +
             std::to_string(status) + ", 0, 'Olsen', 'WARDPRN', " + file +
             ", '12^Smith', '2026-03-11 09:00', '2026-03-11 09:00')");
    }
    static OutputLogContext context() {
        OutputLogContext c;
        c.m_colAccounts = {{1, "North General", {{3, "Discharge"}}}};
        c.m_udtUser = {12, "Smith"};
        c.m_blnMayResend = true;
        return c;
    }
    int rowOf(long id) const {
        const auto& rows = screen->Log().Rows();
        for (size_t r = 0; r < rows.size(); ++r)
            if (rows[r].m_lngOutputId == id)
                return static_cast<int>(r);
        return -1;
    }
    void select(std::initializer_list<long> ids) {
        QTableView* view = screen->List();
        view->clearSelection();
        for (long id : ids) {
            const QModelIndex index = view->model()->index(rowOf(id), 0);
            view->selectionModel()->select(index, QItemSelectionModel::Select | QItemSelectionModel::Rows);
            view->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
        }
    }
    static QDialog* viewerWindow() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "frmUploadViewer" && w->isVisible())
                return qobject_cast<QDialog*>(w);
        return nullptr;
    }
    std::unique_ptr<OR_Log_List> screen;
    MessageRecorder recorder;
};

TEST_F(OutputViewResend, ViewShowsAnUploadReadOnlyAndSaysWhenItCannot) {
    QPushButton* view = screen->findChild<QPushButton*>("HView");
    ASSERT_TRUE(view->isEnabled());
    // Not an upload: nothing to view.
    select({411});
    QTest::mouseClick(view, Qt::LeftButton);
    EXPECT_EQ(viewerWindow(), nullptr);
    EXPECT_TRUE(recorder.shown.empty());

    select({401});
    QTest::mouseClick(view, Qt::LeftButton);
    QDialog* window = viewerWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(recorder.shown.empty());
    EXPECT_EQ(window->findChild<QLabel*>("lblValue0")->text(), "401");
    EXPECT_EQ(window->findChild<QLabel*>("lblValue2")->text(), "North General");
    EXPECT_EQ(window->findChild<QLabel*>("lblValue4")->text(), "82");
    auto* content = window->findChild<QPlainTextEdit*>("txtContent");
    EXPECT_TRUE(content->isReadOnly());
    EXPECT_EQ(content->toPlainText(), "<ClinicalDocument>Olsen, discharge summary</ClinicalDocument>");
    window->close();
    QApplication::processEvents();

    // A temp file that is gone is said in the view; an output gone from the queue cannot be viewed.
    select({402});
    QTest::mouseClick(view, Qt::LeftButton);
    ASSERT_NE(viewerWindow(), nullptr);
    EXPECT_TRUE(viewerWindow()
                    ->findChild<QPlainTextEdit*>("txtContent")
                    ->toPlainText()
                    .endsWith("missing-402.xml is not available."));
    viewerWindow()->close();
    QApplication::processEvents();
    exec("DELETE Output_queue WHERE output_identifier = 401");
    select({401});
    QTest::mouseClick(view, Qt::LeftButton);
    EXPECT_EQ(viewerWindow(), nullptr);
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, "Unable to display Upload Viewer");
    EXPECT_EQ(recorder.shown[0].title, "Error");
}

// Cancel pressed while the second of four rows is due: the first row is requeued and shown as
// resubmitted, no further UPDATE is sent, and the other rows keep their state.
TEST_F(OutputViewResend, CancellingALongResendStopsBeforeTheNextRow) {
    auto& session = DatabaseSession::instance();
    auto& wait = platform::GenXWait::instance();
    auto updates = [&] {
        return std::count_if(session.history.begin(), session.history.end(),
                             [](const std::string& s) { return s.find("UPDATE Output_queue") != std::string::npos; });
    };
    session.history.clear();
    bool sawCancel = false;
    QTimer clicker;
    QObject::connect(&clicker, &QTimer::timeout, [&] {
        auto* cancel = wait.findChild<QPushButton*>("BCancel");
        if (wait.isVisible() && cancel->isVisible() && updates() == 1 && !sawCancel) {
            sawCancel = true;
            QTest::mouseClick(cancel, Qt::LeftButton);
        }
    });
    clicker.start(0);
    select({411, 412, 413, 414});
    QTest::mouseClick(screen->findChild<QPushButton*>("HResend"), Qt::LeftButton);
    clicker.stop();
    EXPECT_TRUE(sawCancel);
    EXPECT_EQ(updates(), 1);
    EXPECT_FALSE(wait.isVisible());
    EXPECT_TRUE(recorder.shown.empty());
    // The one row sent is the first in list order; the list marks it and only it.
    long sent = 0;
    for (const auto& row : screen->Log().Rows())
        if (row.m_lngOutputId > 410 && sent == 0)
            sent = row.m_lngOutputId;
    EXPECT_EQ(scalar("SELECT known_status FROM Output_queue WHERE output_identifier = " + std::to_string(sent)), "22");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Output_queue WHERE output_identifier BETWEEN 411 AND 414 AND known_status "
                     "= 20 AND sent_by_name = '12^Smith' AND output_time IS NOT NULL"),
              "3");
    const auto* model = screen->List()->model();
    for (long id : {411, 412, 413, 414})
        EXPECT_EQ(model->index(rowOf(id), 3).data().toString() == "Resubmitted", id == sent) << id;
}

} // namespace
