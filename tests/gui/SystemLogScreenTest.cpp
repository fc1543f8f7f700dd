#include "DatabaseSession.h"
#include "Interaction.h"
#include "LogListModel.h"
#include "LoginComponent.h"
#include "MessageService.h"
#include "OdbcFixture.h"
#include "SL_Log_List.h"
#include "SessionHelper.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include <ctime>

using systemlog::SL_Log_List;

namespace {

class SystemLogScreen : public kdtest::SuiteTest {
protected:
    void SetUp() override {
        SuiteTest::SetUp();
        exec("INSERT Account_info (hosp_acct_id, hosp_acct_name, partition_id) VALUES (1, 'North General', 0)\n"
             "INSERT System_user_bindery (user_id, user_name, flag3, partition_id, enabled) VALUES (101, 'MJONES', "
             "0, 0, 1)\n"
             "INSERT System_user_bindery (user_id, user_name, flag3, partition_id, enabled) VALUES (90, 'DEFAULT', 0, "
             "0, 1)\n"
             "INSERT System_user_bindery (user_id, user_name, flag3, partition_id, enabled) VALUES (91, 'PAXLET', 0, "
             "0, 1)\n"
             "INSERT Batch_cfg (hosp_acct_id, batch_name, batch_nbr, batch_type, is_deleted, flag1) VALUES (1, "
             "'Print', 4, 1, 0, 1)\n"
             // Today: a sort event in batch 4 with two messages, and a user event; yesterday: nothing.
             "INSERT System_log (date_timestamp, severity, type, user_id, hosp_acct_id, batch_nbr, flag1, msg1, msg2) "
             "VALUES ('03/10/2026 11:59:58', 2, 1, 101, 1, 4, 0, 'Sorted 12 reports', 'Batch closed')\n"
             "INSERT System_log (date_timestamp, severity, type, user_id, hosp_acct_id, batch_nbr, flag1, msg1) "
             "VALUES ('03/10/2026 11:59:59', 4, 2, 1, 1, 0, 0, 'User MJONES unlocked')");
        // The screen opens on "today": noon of the day the rows above were written.
        std::tm noon{};
        noon.tm_year = 2026 - 1900;
        noon.tm_mon = 2;
        noon.tm_mday = 10;
        noon.tm_hour = 12;
        noon.tm_isdst = -1;
        platform::Clock::pin(std::mktime(&noon));
        kdtest::connectSession(odbc.folder(), "KALDRA");
        suite::HospAccount north;
        north.hosp_acct_id = 1;
        north.hosp_acct_name = "North General";
        suite::HospAccount closed = north;
        closed.hosp_acct_id = 2;
        closed.hosp_acct_name = "Closed";
        closed.is_deleted = true;
        login.SetHospAccounts({north, closed});
    }
    void TearDown() override {
        platform::Clock::pin(std::nullopt);
        foundation::DatabaseSession::instance().traceHook = nullptr;
        foundation::DatabaseSession::instance().DisconnectFromSQL();
    }
    static inline const QDate kToday{2026, 3, 10};

    template <typename T>
    T* child(QWidget& w, const char* name) {
        T* c = w.findChild<T*>(name);
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    static QStringList items(QComboBox* box) {
        QStringList out;
        for (int i = 0; i < box->count(); ++i)
            out << box->itemText(i);
        return out;
    }
    static QString cell(QTableView* view, int row, int column) {
        return view->model()->index(row, column).data().toString();
    }

    suite::LoginComponent login;
    platform::MessageRecorder recorder;
};

TEST_F(SystemLogScreen, ShowsTodayWithTheFiltersFilled) {
    SL_Log_List screen(login);
    QAbstractItemModelTester tester(const_cast<systemlog::LogListModel*>(&screen.Model()),
                                    QAbstractItemModelTester::FailureReportingMode::Warning);
    screen.MyShow(1);
    EXPECT_EQ(screen.LoadCount(), 1);
    EXPECT_EQ(child<QDateEdit>(screen, "dtpLogDate")->date(), kToday);
    EXPECT_EQ(items(child<QComboBox>(screen, "CBAccounts")), (QStringList{"<All Accounts>", "North General"}));
    // DEFAULT and PAXLET are not offered.
    EXPECT_EQ(items(child<QComboBox>(screen, "CBUsers")), (QStringList{"<All Users>", "MJONES", "System Default"}));
    EXPECT_EQ(items(child<QComboBox>(screen, "CBLogType")).size(), 15);
    EXPECT_EQ(child<QLabel>(screen, "lblMessages")->text(), "Messages: 3");
    auto* view = child<QTableView>(screen, "LogView");
    EXPECT_EQ(view->model()->columnCount(), 5); // no batch column outside type 1
    // Newest first: the user event, then the sort event's two lines.
    EXPECT_EQ(cell(view, 0, 0), "WARN");
    EXPECT_EQ(cell(view, 0, 4), "User MJONES unlocked");
    EXPECT_EQ(cell(view, 1, 2), "MJONES");
    EXPECT_EQ(cell(view, 1, 3), "North General");
    EXPECT_EQ(cell(view, 2, 0), ""); // a continuation line carries only its message
    EXPECT_EQ(cell(view, 2, 4), "Batch closed");
    EXPECT_TRUE(recorder.shown.empty());
}

TEST_F(SystemLogScreen, UserAndTextFiltersRefillWithoutAStatement) {
    SL_Log_List screen(login);
    screen.MyShow(1);
    auto& session = foundation::DatabaseSession::instance();
    const size_t sent = session.history.size();
    auto* users = child<QComboBox>(screen, "CBUsers");
    users->setCurrentIndex(users->findText("MJONES"));
    EXPECT_EQ(child<QLabel>(screen, "lblMessages")->text(), "Messages: 2");
    child<QLineEdit>(screen, "txtSearch")->setText("nothing like this");
    EXPECT_EQ(child<QLabel>(screen, "lblMessages")->text(), "Messages: 0");
    EXPECT_EQ(cell(child<QTableView>(screen, "LogView"), 0, 0), "No Messages Found");
    EXPECT_EQ(session.history.size(), sent);
    EXPECT_EQ(screen.LoadCount(), 1);
}

TEST_F(SystemLogScreen, SortTypeWithAnAccountOffersItsBatchesAndTheBatchColumn) {
    SL_Log_List screen(login);
    screen.MyShow(1);
    auto* types = child<QComboBox>(screen, "CBLogType");
    types->setCurrentIndex(types->findText("Tessaly Sort"));
    EXPECT_EQ(screen.LoadCount(), 2);
    auto* batches = child<QComboBox>(screen, "CBBatches");
    EXPECT_EQ(items(batches), QStringList{"<All Batches>"}); // no account chosen yet
    child<QComboBox>(screen, "CBAccounts")->setCurrentIndex(1);
    EXPECT_EQ(items(batches), (QStringList{"<All Batches>", "Print", "None"}));
    auto* view = child<QTableView>(screen, "LogView");
    EXPECT_EQ(view->model()->headerData(4, Qt::Horizontal).toString(), "Batch");
    EXPECT_EQ(cell(view, 0, 4), "Print");
    batches->setCurrentIndex(2); // "None": rows without a batch
    EXPECT_EQ(child<QLabel>(screen, "lblMessages")->text(), "Messages: 0");
    EXPECT_EQ(screen.LoadCount(), 2);
}

TEST_F(SystemLogScreen, DayButtonsHeaderOrderAndCopy) {
    SL_Log_List screen(login);
    screen.MyShow(1);
    // The busy pointer is up while the day is read, and down again afterwards.
    std::vector<platform::Pointer> whileReading;
    foundation::DatabaseSession::instance().traceHook = [&whileReading](int mode) {
        if (mode == 0)
            whileReading.push_back(platform::PointerService::instance().current());
    };
    child<QPushButton>(screen, "BReverse")->click();
    EXPECT_EQ(whileReading, std::vector<platform::Pointer>{platform::Pointer::Busy});
    foundation::DatabaseSession::instance().traceHook = nullptr;
    EXPECT_EQ(child<QDateEdit>(screen, "dtpLogDate")->date(), kToday.addDays(-1));
    EXPECT_EQ(child<QLabel>(screen, "lblMessages")->text(), "Messages: 0");
    EXPECT_EQ(platform::PointerService::instance().current(), platform::Pointer::Normal);
    child<QPushButton>(screen, "BForward")->click();
    EXPECT_EQ(screen.LoadCount(), 3);
    auto* view = child<QTableView>(screen, "LogView");
    view->horizontalHeader()->sectionClicked(1); // oldest first now, without a new query
    EXPECT_EQ(screen.LoadCount(), 3);
    EXPECT_EQ(cell(view, 0, 4), "Sorted 12 reports");
    child<QAction>(screen, "HUpdate")->trigger(); // a refresh reads in the new order
    EXPECT_EQ(screen.LoadCount(), 4);
    EXPECT_EQ(cell(view, 0, 4), "Sorted 12 reports");
    view->selectRow(0);
    child<QAction>(screen, "mnuCopy")->trigger();
    EXPECT_TRUE(QApplication::clipboard()->text().startsWith("INFO\t"));
    EXPECT_TRUE(QApplication::clipboard()->text().endsWith("\tSorted 12 reports\n"));
}

// A failing read shows its box; the list behind it must not report lines of rows it no longer holds.
TEST_F(SystemLogScreen, AFailedReadNeverShowsLinesItDoesNotHold) {
    SL_Log_List screen(login);
    screen.MyShow(1);
    auto* view = child<QTableView>(screen, "LogView");
    ASSERT_EQ(view->model()->rowCount(), 3);
    exec("DROP TABLE System_log");
    int rowsWhileShown = -1;
    QString firstCell;
    recorder.whileShown = [&](const platform::MessageRecorder::Shown&) {
        rowsWhileShown = view->model()->rowCount();
        firstCell = cell(view, 0, 0);
    };
    child<QAction>(screen, "HUpdate")->trigger();
    recorder.whileShown = nullptr;
    ASSERT_FALSE(recorder.shown.empty());
    EXPECT_EQ(rowsWhileShown, 1);
    EXPECT_EQ(firstCell, "No Messages Found");
    EXPECT_EQ(child<QLabel>(screen, "lblMessages")->text(), "Messages: 0");
}

} // namespace
