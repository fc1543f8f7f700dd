#include "AccountCache.h"
#include "Configuration.h"
#include "DatabaseSession.h"
#include "EventLog.h"
#include "LoginComponent.h"
#include "MessageService.h"
#include "OdbcFixture.h"
#include "PP_Phys_List.h"
#include "PP_Unknown_Details.h"
#include "PP_Unknown_Phys.h"
#include "RecordingOpener.h"
#include "SessionHelper.h"
#include "StartupFixture.h"
#include "UnknownPhysicianModel.h"
#include "clsPartition.h"
#include "modPartition.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QCheckBox>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QTableView>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>

using namespace physicians;
using platform::MsgAnswer;

namespace {

using kdtest::account;
using kdtest::privileges;

// Accounts North (1) and Inner (2) under the user's partition 1, Far (5) in partition 2. "DR WHO" has
// two reports in North and one in Far; "O'BRIEN" one in Inner; "HIDDEN" one in Far only.
class UnknownPhysiciansScreen : public kdtest::SuiteTest {
protected:
    void SetUp() override {
        SuiteTest::SetUp();
        exec("INSERT System_partitions VALUES (1, 0, 'North', 0, '/0/1/', NULL)\n"
             "INSERT System_partitions VALUES (2, 0, 'South', 0, '/0/2/', NULL)\n"
             "INSERT System_partitions VALUES (3, 1, 'Inner', 0, '/0/1/3/', NULL)\n"
             "INSERT Account_info (hosp_acct_id, hosp_acct_name, partition_id) VALUES (1, 'North', 1)\n"
             "INSERT Account_info (hosp_acct_id, hosp_acct_name, partition_id) VALUES (2, 'Inner', 3)\n"
             "INSERT Account_info (hosp_acct_id, hosp_acct_name, partition_id) VALUES (5, 'Far', 2)\n"
             "INSERT Reports_cfg (hosp_acct_id, dept_id, report_type_nbr, report_version_nbr, report_name) VALUES "
             "(1, 0, 3, 1, 'Discharge')\n"
             "INSERT System_user_bindery (user_id, user_name, flag3, partition_id, enabled) VALUES "
             "(300, 'tjones', 0, 1, 1)\n"
             "INSERT System_user_bindery (user_id, user_name, flag3, partition_id, enabled) VALUES "
             "(301, 'zsmith', 0, 1, 1)\n"
             "INSERT Document_demographics (document_id, hosp_acct_id, dept_id, report_type_nbr, patient_last, "
             "patient_first, patient_id, create_date, transcribed_date) VALUES "
             "(11, 1, 0, 3, 'Lane', 'Lois', 'P11', '2026-11-01', '2026-11-02 10:00:00')\n"
             "INSERT Document_demographics (document_id, hosp_acct_id, dept_id, report_type_nbr, patient_last, "
             "patient_first, patient_id, create_date, transcribed_date) VALUES "
             "(12, 1, 0, 4, 'Kent', 'Clark', 'P12', '2026-01-01', '2026-01-15 09:00:00')\n"
             "INSERT Document_demographics (document_id, hosp_acct_id, dept_id, report_type_nbr, patient_last, "
             "patient_first, patient_id, create_date, transcribed_date) VALUES "
             "(14, 5, 0, 3, 'Far', 'Away', 'P14', '2026-11-01', '2026-11-03 10:00:00')\n"
             "INSERT Physician_unknowns VALUES ('DR WHO', 300, 1, 11, '2026-12-01 08:15:00')\n"
             "INSERT Physician_unknowns VALUES ('DR WHO', 301, 1, 12, '2026-12-03 17:40:05')\n"
             "INSERT Physician_unknowns VALUES ('DR WHO', 300, 5, 14, '2026-12-04 10:00:00')\n"
             "INSERT Physician_unknowns VALUES ('O''BRIEN', 300, 2, 13, '2026-11-30 09:00:00')\n"
             "INSERT Physician_unknowns VALUES ('HIDDEN', 300, 5, 14, '2026-11-30 09:00:00')\n"
             "UPDATE Archive_cfg SET flag5 = 1");
        kdtest::connectSession(odbc.folder(), "KALDRA");
        ASSERT_EQ(LoadPartitions(), 4);
        root = odbc.folder() + "/root";
        std::filesystem::create_directories(root + "/KALDRA");
        foundation::Configuration::instance() = foundation::Configuration{};
        foundation::Configuration::instance().networkRootDir = root;
        login.SetHospAccounts({account(1, "North", 1), account(2, "Inner", 3), account(5, "Far", 2)});
        grant({9}, true);
        Partitions().login = &login;
        foundation::EventLog::context().dateFormat = "%d.%m.%Y";
        screen = std::make_unique<PP_Unknown_Phys>(login);
        // The dialog lives while it is shown: the test looks at it then.
        screen->runDetails = [this](QWidget& d) {
            ++detailsShown;
            if (inspectDetails)
                inspectDetails(static_cast<PP_Unknown_Details&>(d));
        };
        screen->show(); // the list is read on the timer once the window is up
        QApplication::processEvents();
    }
    void TearDown() override {
        screen.reset();
        foundation::EventLog::context() = foundation::LogContext{};
        Partitions() = PartitionState{};
        PartitionCache().clear();
        foundation::Configuration::instance() = foundation::Configuration{};
        foundation::DatabaseSession::instance().DisconnectFromSQL();
    }
    void grant(std::initializer_list<int> granted, bool administrator) {
        login.user = suite::LoginUser{};
        login.user.user_id = 7;
        login.user.user_name = "admin1";
        login.user.Partition_ID = 1;
        login.user.is_administrator = administrator;
        login.user.privilegeSet = privileges(granted);
    }
    template <typename T>
    T* child(const char* name) {
        T* c = screen->findChild<T*>(name);
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    QTableView* list() { return child<QTableView>("lvwPhysicians"); }
    std::vector<std::string> column(const QAbstractItemModel* m, int c) {
        std::vector<std::string> out;
        for (int r = 0; r < m->rowCount(); ++r)
            out.push_back(m->index(r, c).data().toString().toStdString());
        return out;
    }
    void select(std::initializer_list<const char*> values) {
        auto* view = list();
        view->clearSelection();
        for (const char* v : values)
            for (int r = 0; r < view->model()->rowCount(); ++r)
                if (view->model()->index(r, 0).data().toString() == QString::fromUtf8(v)) {
                    view->selectionModel()->select(view->model()->index(r, 0),
                                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
                    view->selectionModel()->setCurrentIndex(view->model()->index(r, 0), QItemSelectionModel::NoUpdate);
                }
    }
    void click(const char* name) { child<QPushButton>(name)->click(); }
    std::string logged(const std::string& where) {
        return scalar("SELECT COUNT(*) FROM System_log WHERE error_code = 20030 AND " + where);
    }

    suite::LoginComponent login;
    platform::MessageRecorder recorder;
    std::unique_ptr<PP_Unknown_Phys> screen;
    std::function<void(PP_Unknown_Details&)> inspectDetails;
    int detailsShown = 0;
    std::string root;
};

TEST_F(UnknownPhysiciansScreen, ListsTheValuesOfVisibleAccountsAndSortsCountsAsNumbers) {
    QAbstractItemModelTester tester(screen->model(), QAbstractItemModelTester::FailureReportingMode::Warning);
    const QAbstractItemModel* m = list()->model();
    // "HIDDEN" and the report of "DR WHO" in Far belong to an account the user does not see.
    ASSERT_EQ(column(m, 0), (std::vector<std::string>{"DR WHO", "O'BRIEN"}));
    EXPECT_EQ(column(m, 1)[0], "zsmith");
    EXPECT_EQ(column(m, 2)[0], "12/03/2026");
    EXPECT_EQ(column(m, 3)[0], "17:40:05");
    EXPECT_EQ(column(m, 4), (std::vector<std::string>{"2", "1"}));
    EXPECT_TRUE(child<QCheckBox>("chkLogging")->isChecked());
    EXPECT_TRUE(child<QCheckBox>("chkLogging")->isEnabled());
    list()->sortByColumn(4, Qt::AscendingOrder);
    EXPECT_EQ(column(m, 0).front(), "O'BRIEN");
    list()->sortByColumn(2, Qt::AscendingOrder); // 11/30/2026 before 12/04/2026
    EXPECT_EQ(column(m, 0).back(), "DR WHO");
    EXPECT_TRUE(recorder.shown.empty());
}

TEST_F(UnknownPhysiciansScreen, DetailsListTheReportsOfAccountsUnderTheUsersPartitionInTheRegionsDateFormat) {
    inspectDetails = [this](PP_Unknown_Details& details) {
        EXPECT_EQ(details.windowTitle(), "Report Details: DR WHO");
        const QAbstractItemModel* m = details.model();
        // Document 14 lies in Far, outside the user's partition.
        ASSERT_EQ(column(m, 0), (std::vector<std::string>{"11", "12"}));
        EXPECT_EQ(column(m, 1), (std::vector<std::string>{"Lane", "Kent"}));
        EXPECT_EQ(column(m, 3)[0], "P11");
        EXPECT_EQ(column(m, 4), (std::vector<std::string>{"02.11.2026", "15.01.2026"}));
        EXPECT_EQ(column(m, 5), (std::vector<std::string>{"tjones", "zsmith"}));
        EXPECT_EQ(column(m, 6)[0], "North");
        EXPECT_EQ(column(m, 7), (std::vector<std::string>{"Discharge", ""}));
        // Dates sort by value, not by their day-first text.
        details.findChild<QTableView*>("lvwDetails")->sortByColumn(4, Qt::AscendingOrder);
        EXPECT_EQ(column(m, 0), (std::vector<std::string>{"12", "11"}));
    };
    select({"DR WHO"});
    click("cmdDetails");
    EXPECT_EQ(detailsShown, 1);
    // A value with an apostrophe reaches the statement quoted.
    inspectDetails = [this](PP_Unknown_Details& details) {
        EXPECT_EQ(details.windowTitle(), "Report Details: O'BRIEN");
        EXPECT_EQ(details.model()->rowCount(), 0); // document 13 has no demographics
    };
    select({"O'BRIEN"});
    click("cmdDetails");
    EXPECT_EQ(detailsShown, 2);
    EXPECT_TRUE(recorder.shown.empty());
}

TEST_F(UnknownPhysiciansScreen, DeleteRemovesTheSelectedValuesAndLogsEach) {
    select({"DR WHO", "O'BRIEN"});
    click("cmdDelete");
    EXPECT_EQ(list()->model()->rowCount(), 0);
    EXPECT_EQ(scalar("SELECT value FROM Physician_unknowns"), "HIDDEN"); // every report of a value goes
    EXPECT_EQ(logged("msg1 = 'An unknown physician was deleted.' AND msg2 = 'Value: O''BRIEN'"), "1");
    EXPECT_EQ(logged("msg1 = 'An unknown physician was deleted.'"), "2");
    // A failing statement is shown and nothing is logged for it.
    exec("INSERT Physician_unknowns VALUES ('LATE', 300, 1, 11, '2026-12-05 08:00:00')");
    ASSERT_TRUE(screen->ShowUnknownPhysicians());
    exec("DROP TABLE Physician_unknowns");
    select({"LATE"});
    click("cmdDelete");
    // The session's error box, then the screen's message.
    ASSERT_GE(recorder.shown.size(), 2u);
    EXPECT_EQ(recorder.shown[1].text, "Failed to delete the unknown physician.");
    EXPECT_EQ(logged("msg1 = 'An unknown physician was deleted.'"), "2");
}

TEST_F(UnknownPhysiciansScreen, ClearingIsRefusedWithoutPrivilege9BeforeTheQuestion) {
    grant({}, true);
    click("cmdClear");
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, "ACCESS DENIED:  You do not have access to alter the physician profile.");
    EXPECT_EQ(recorder.shown[0].title, "Security");
    EXPECT_EQ(list()->model()->rowCount(), 2);
    grant({9}, true);
    recorder.answer(MsgAnswer::No);
    click("cmdClear");
    EXPECT_EQ(recorder.shown[1].text, "Are you sure you want to delete the entire list?");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Physician_unknowns"), "5");
    recorder.answer(MsgAnswer::Yes);
    click("cmdClear");
    EXPECT_EQ(list()->model()->rowCount(), 0);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Physician_unknowns"), "0");
    EXPECT_EQ(logged("msg1 = 'The unknown physician list was cleared.'"), "1");
}

TEST_F(UnknownPhysiciansScreen, OnlyAnAdministratorSwitchesLoggingWhichIsFlag5) {
    auto* chk = child<QCheckBox>("chkLogging");
    chk->click();
    EXPECT_EQ(scalar("SELECT flag5 FROM Archive_cfg"), "0");
    EXPECT_EQ(logged("msg1 = 'Logging of unknown physicians was turned off.'"), "1");
    chk->click();
    EXPECT_EQ(scalar("SELECT flag5 FROM Archive_cfg"), "1");
    grant({9}, false);
    screen->ShowUnknownPhysicians();
    EXPECT_FALSE(chk->isEnabled());
    EXPECT_TRUE(chk->isChecked());
}

TEST_F(UnknownPhysiciansScreen, AddingAPhysicianTakesTheValueOutOfTheLogOnlyWhenOneWasCreated) {
    std::vector<std::string> asked;
    bool created = false;
    screen->addPhysician = [&](const std::string& value) {
        asked.push_back(value);
        return created;
    };
    select({"O'BRIEN"});
    click("cmdAdd");
    EXPECT_EQ(list()->model()->rowCount(), 2);
    created = true;
    click("cmdAdd");
    EXPECT_EQ(asked, (std::vector<std::string>{"O'BRIEN", "O'BRIEN"}));
    EXPECT_EQ(column(list()->model(), 0), (std::vector<std::string>{"DR WHO"}));
    // Through the physician list: privilege 9 first, then the editor.
    PP_Phys_List physicians(login);
    physicians.MyShow();
    std::vector<std::string> edited;
    physicians.openEditorForUnknown = [&](const std::string& v) {
        edited.push_back(v);
        return true;
    };
    grant({}, true);
    EXPECT_FALSE(physicians.AddPhysicianUnknown("DR WHO"));
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, "ACCESS DENIED:  You do not have access to alter the physician profile.");
    grant({9}, true);
    EXPECT_TRUE(physicians.AddPhysicianUnknown("DR WHO"));
    EXPECT_EQ(edited, (std::vector<std::string>{"DR WHO"}));
}

TEST_F(UnknownPhysiciansScreen, MoreThanTenThousandValuesListTheFirstTenThousand) {
    exec("CREATE TABLE Digits (d int NOT NULL)\n"
         "INSERT Digits VALUES (0)\nINSERT Digits VALUES (1)\nINSERT Digits VALUES (2)\nINSERT Digits VALUES (3)\n"
         "INSERT Digits VALUES (4)\nINSERT Digits VALUES (5)\nINSERT Digits VALUES (6)\nINSERT Digits VALUES (7)\n"
         "INSERT Digits VALUES (8)\nINSERT Digits VALUES (9)\n"
         "INSERT INTO Physician_unknowns SELECT 'V' + CONVERT(varchar(10), 10000 + A.d * 1000 + B.d * 100 + C.d * 10 "
         "+ D.d), 300, 1, 1, GETDATE() FROM Digits A, Digits B, Digits C, Digits D");
    ASSERT_TRUE(screen->ShowUnknownPhysicians());
    const QAbstractItemModel* m = list()->model();
    ASSERT_EQ(m->rowCount(), 10000);
    EXPECT_EQ(m->index(9999, 0).data().toString(), "V19997"); // two values before the V's
    kdtest::RecordingOpener opener;
    click("BExport");
    ASSERT_EQ(opener.textFiles.size(), 1u);
    std::ifstream in(opener.textFiles[0]);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("V19997"), std::string::npos);
    EXPECT_EQ(text.str().find("V19998"), std::string::npos);
}

class UnknownPhysiciansMenu : public kdtest::StartupTest {};

TEST_F(UnknownPhysiciansMenu, TheMenuEntryOpensTheLogOfTheDemoSite) {
    prompt.answers = {{"MGARCIA", "demo"}};
    mainwindow::General_MDI window;
    suite::LoginComponent login;
    app::Startup startup(window, login, prompt);
    ASSERT_TRUE(startup.run({"/INI=" + site + "/KALDRA.INI"}, folder, folder));
    window.show();
    recorder.shown.clear();
    window.runCommand("mnuUnknownPhysicians");
    window.runCommand("mnuUnknownPhysicians"); // the second time brings the same screen to the front
    QApplication::processEvents();
    EXPECT_TRUE(recorder.shown.empty()) << recorder.shown[0].text;
    const auto screens = window.findChildren<PP_Unknown_Phys*>();
    ASSERT_EQ(screens.size(), 1);
    EXPECT_EQ(screens[0]->model()->rowCount(), 2); // "9999" and "DR HOUSE"
    startup.shutDown();
}

} // namespace
