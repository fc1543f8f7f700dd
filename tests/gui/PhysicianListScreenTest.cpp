#include "AccountCache.h"
#include "Configuration.h"
#include "DatabaseSession.h"
#include "General_MDI.h"
#include "LoginComponent.h"
#include "MessageService.h"
#include "OdbcFixture.h"
#include "PP_Add_Phys.h"
#include "PP_Phys_List.h"
#include "PP_Phys_Search.h"
#include "PhysicianListExport.h"
#include "PhysicianListModel.h"
#include "RecordingOpener.h"
#include "SessionHelper.h"
#include "clsPartition.h"
#include "modPartition.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

using namespace physicians;
using platform::MsgAnswer;

namespace {

using kdtest::account;
using kdtest::privileges;

// Accounts Zeta (1) and Alpha (2) in partition 1, Far (5) in partition 2; physicians Adams (all
// accounts, address and fax), Baker (Zeta, linked user, e-mail), Clark (Zeta, fax and e-mail).
class PhysicianListScreen : public kdtest::SuiteTest {
protected:
    void SetUp() override {
        SuiteTest::SetUp();
        exec("INSERT System_partitions VALUES (1, 0, 'North', 0, '/0/1/', NULL)\n"
             "INSERT System_partitions VALUES (2, 0, 'South', 0, '/0/2/', NULL)\n"
             "INSERT Account_info (hosp_acct_id, hosp_acct_name, partition_id) VALUES (1, 'Zeta', 1)\n"
             "INSERT Account_info (hosp_acct_id, hosp_acct_name, partition_id) VALUES (2, 'Alpha', 1)\n"
             "INSERT Account_info (hosp_acct_id, hosp_acct_name, partition_id) VALUES (5, 'Far', 2)\n"
             "INSERT Physician_profile (physician_id, first_name, last_name, partition_id) VALUES "
             "(10, 'Rita', 'Adams', 1)\n"
             "INSERT Physician_membership VALUES (10, -1, 0, 0)\n"
             "INSERT Physician_attributes (physician_id, hosp_acct_id, dictation_id, address_1, fax_enabled_1, "
             "email_enabled, batch_enabled, elect_signature) VALUES (10, -1, '900', 'Main St', 1, 0, 0, 0)\n"
             "INSERT System_user_bindery (user_id, user_name, flag3, partition_id, enabled) VALUES "
             "(200, 'bbaker', 0, 1, 1)\n"
             "INSERT Physician_profile (physician_id, first_name, last_name, partition_id, flag2) VALUES "
             "(20, 'Ben', 'Baker', 1, 200)\n"
             "INSERT Physician_membership VALUES (20, 1, 0, 0)\n"
             "INSERT Physician_attributes (physician_id, hosp_acct_id, dictation_id, email_enabled, fax_enabled_1, "
             "batch_enabled, elect_signature) VALUES (20, -1, '80', 1, 0, 0, 0)\n"
             "INSERT Physician_profile (physician_id, first_name, last_name, partition_id) VALUES "
             "(30, 'Cora', 'Clark', 1)\n"
             "INSERT Physician_membership VALUES (30, 1, 0, 0)\n"
             "INSERT Physician_attributes (physician_id, hosp_acct_id, dictation_id, email_enabled, fax_enabled_1, "
             "batch_enabled, elect_signature) VALUES (30, -1, '1000', 1, 1, 0, 0)");
        kdtest::connectSession(odbc.folder(), "KALDRA");
        ASSERT_EQ(LoadPartitions(), 3);
        root = odbc.folder() + "/root";
        std::filesystem::create_directories(root + "/KALDRA/TEMP");
        foundation::Configuration::instance() = foundation::Configuration{};
        foundation::Configuration::instance().networkRootDir = root;
        foundation::Configuration::instance().iniPath = root + "/KALDRA.INI";
        login.SetHospAccounts({account(-1, "<All New Accounts>", 0), account(1, "Zeta", 1), account(2, "Alpha", 1),
                               account(5, "Far", 2)});
        grant({9});
        Partitions().login = &login;
        open();
    }
    void TearDown() override {
        screen.reset();
        Partitions() = PartitionState{};
        PartitionCache().clear();
        LinkedUsers() = LinkedUserActions{};
        foundation::Configuration::instance() = foundation::Configuration{};
        foundation::DatabaseSession::instance().DisconnectFromSQL();
    }
    void grant(std::initializer_list<int> granted, bool paxletAdmin = false) {
        login.user = suite::LoginUser{};
        login.user.user_id = 7;
        login.user.user_name = "admin1";
        login.user.password = "pw";
        login.user.Partition_ID = 1;
        login.user.is_paxlet_admin = paxletAdmin;
        login.user.privilegeSet = privileges(granted);
    }
    void open() {
        screen = std::make_unique<PP_Phys_List>(login);
        screen->MyShow();
    }
    template <typename T>
    T* child(const char* name) {
        T* c = screen->findChild<T*>(name);
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    void chooseAccount(const char* name) {
        auto* box = child<QComboBox>("CBAccount");
        box->setCurrentIndex(box->findText(name));
        emit box->activated(box->currentIndex());
    }
    QStringList column(int c) {
        QStringList out;
        auto* m = child<QTableView>("lvwPhysList")->model();
        for (int r = 0; r < m->rowCount(); ++r)
            out << m->index(r, c).data().toString();
        return out;
    }
    void select(std::initializer_list<int> rows) {
        auto* view = child<QTableView>("lvwPhysList");
        view->clearSelection();
        for (int r : rows)
            view->selectionModel()->select(view->model()->index(r, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    void tool(const char* name) { child<QAction>(name)->trigger(); }

    suite::LoginComponent login;
    platform::MessageRecorder recorder;
    kdtest::RecordingOpener opener;
    std::unique_ptr<PP_Phys_List> screen;
    std::string root;
};

TEST_F(PhysicianListScreen, OpensOnTheFirstVisibleAccountByNameWithItsPhysicians) {
    auto* accounts = child<QComboBox>("CBAccount");
    ASSERT_EQ(accounts->count(), 2); // Far is in another partition, -1 is no account
    EXPECT_EQ(accounts->itemText(0), "Alpha");
    EXPECT_EQ(accounts->itemText(1), "Zeta");
    EXPECT_EQ(screen->DefaultPartitionId(), 1);
    EXPECT_EQ(column(PhysicianListModel::ColName), QStringList{"Adams, Rita"});
    chooseAccount("Zeta");
    EXPECT_EQ(column(PhysicianListModel::ColName), (QStringList{"Adams, Rita", "Baker, Ben", "Clark, Cora"}));
    EXPECT_EQ(column(PhysicianListModel::ColStatus), (QStringList{"A F ", "M ", "F M "}));
    EXPECT_EQ(column(PhysicianListModel::ColPartition), (QStringList{"North", "North", "North"}));
    EXPECT_EQ(child<QLabel>("lblCount")->text(), "Number of physicians: 3");
    QAbstractItemModelTester tester(screen->model(), QAbstractItemModelTester::FailureReportingMode::Warning);
    // Dictation numbers sort as numbers, not as text.
    screen->model()->sort(PhysicianListModel::ColDictation, Qt::AscendingOrder);
    EXPECT_EQ(column(PhysicianListModel::ColDictation), (QStringList{"80", "900", "1000"}));
    screen->model()->sort(PhysicianListModel::ColName, Qt::DescendingOrder);
    EXPECT_EQ(column(PhysicianListModel::ColName), (QStringList{"Clark, Cora", "Baker, Ben", "Adams, Rita"}));
}

TEST_F(PhysicianListScreen, TheStatusFilterNarrowsTheRowsWithoutAskingTheDatabase) {
    chooseAccount("Zeta");
    auto& s = foundation::DatabaseSession::instance();
    const size_t sent = s.history.size();
    child<QPushButton>("cmdDropDown")->click();
    auto* fax = child<QComboBox>("cboStatusF");
    fax->setCurrentIndex(2); // Only
    EXPECT_EQ(column(PhysicianListModel::ColName), (QStringList{"Adams, Rita", "Clark, Cora"}));
    child<QComboBox>("cboStatusM")->setCurrentIndex(1); // Exclude
    EXPECT_EQ(column(PhysicianListModel::ColName), QStringList{"Adams, Rita"});
    EXPECT_EQ(child<QLabel>("lblStatuses")->text(), "A, E, B, F only, R, V");
    EXPECT_EQ(child<QLabel>("lblCount")->text(), "Number of physicians: 1");
    EXPECT_EQ(s.history.size(), sent);
}

TEST_F(PhysicianListScreen, WithoutPrivilege9EveryChangingCommandIsRefusedAndNothingChanges) {
    grant({});
    open();
    chooseAccount("Zeta");
    select({0, 1});
    struct Case {
        const char* tool;
        const char* text;
    };
    const Case cases[] = {
        {"tbrAdd", "ACCESS DENIED:  You do not have access to alter the physician profile."},
        {"tbrEdit", "ACCESS DENIED:  You do not have access to alter the physician profile."},
        {"tbrDelete", "ACCESS DENIED:  You do not have access to alter the physician profile."},
        {"tbrRemove", "ACCESS DENIED:  You do not have access to alter the physician profile."},
        {"tbrHide", "ACCESS DENIED:  You do not have access to alter the physician profile."},
        {"tbrDefaultAccounts", "ACCESS DENIED:  You do not have access to alter the physician profile."},
        {"tbrPartition", "ACCESS DENIED:  You do not have access to change partition assignment."},
        {"tbrDefaultPartition", "ACCESS DENIED:  You do not have access to set the default partition assignment."},
    };
    for (const auto& c : cases) {
        recorder.shown.clear();
        tool(c.tool);
        ASSERT_EQ(recorder.shown.size(), 1u) << c.tool;
        EXPECT_EQ(recorder.shown[0].text, c.text) << c.tool;
        EXPECT_EQ(recorder.shown[0].title, "Security");
        EXPECT_EQ(recorder.shown[0].icon, platform::MsgIcon::Exclamation);
    }
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Physician_profile WHERE is_deleted = 0 AND flag3 = 0"), "4");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_log"), "0");
}

TEST_F(PhysicianListScreen, DeleteAsksSkipsARefusedPaxletPhysicianAndDeletesTheRest) {
    chooseAccount("Zeta");
    select({1, 2});                  // Baker (linked user, refused) and Clark
    recorder.answer(MsgAnswer::Yes); // delete?
    recorder.answer(MsgAnswer::Yes); // skip Baker and go on
    tool("tbrDelete");
    ASSERT_EQ(recorder.shown.size(), 2u);
    EXPECT_EQ(recorder.shown[0].text, "Are you sure you want to delete the selected physicians from Veltra Text?\r\n"
                                      "   -Note that Paxlet physicians will also be removed from User Management.");
    EXPECT_EQ(recorder.shown[0].title, "Delete Physician");
    EXPECT_EQ(recorder.shown[1].text,
              "ACCESS DENIED: The physician Baker, Ben cannot be deleted because this physician is a Paxlet physician "
              "and you do not have Paxlet Administrator privileges.\r\nSkip this physician and continue with "
              "physicians you are authorized to delete?");
    EXPECT_EQ(scalar("SELECT is_deleted FROM Physician_profile WHERE physician_id = 20"), "0");
    EXPECT_EQ(scalar("SELECT is_deleted FROM Physician_profile WHERE physician_id = 30"), "1");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_log WHERE msg1 = 'A physician was deleted.'"), "1");
    EXPECT_EQ(column(PhysicianListModel::ColName), (QStringList{"Adams, Rita", "Baker, Ben"}));
}

TEST_F(PhysicianListScreen, ANoToTheSkipQuestionStopsTheCommand) {
    chooseAccount("Zeta");
    select({1, 2});
    recorder.answer(MsgAnswer::Yes);
    recorder.answer(MsgAnswer::No);
    tool("tbrDelete");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Physician_profile WHERE is_deleted = 1"), "0");
}

TEST_F(PhysicianListScreen, RemovingAMemberOfAllAccountsFromOneAccountKeepsItInTheOthers) {
    chooseAccount("Zeta");
    select({0});
    recorder.answer(MsgAnswer::Yes);
    tool("tbrRemove");
    ASSERT_FALSE(recorder.shown.empty());
    EXPECT_EQ(recorder.shown[0].text, "Are you sure you want to remove the selected physician from the account Zeta?");
    EXPECT_EQ(column(PhysicianListModel::ColName), (QStringList{"Baker, Ben", "Clark, Cora"}));
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Physician_membership WHERE physician_id = 10 AND hosp_acct_id IN (2, 5)"),
              "2");
    chooseAccount("Alpha");
    EXPECT_EQ(column(PhysicianListModel::ColName), QStringList{"Adams, Rita"});
}

TEST_F(PhysicianListScreen, HideMovesThePhysicianToTheHiddenFilter) {
    chooseAccount("Zeta");
    select({2});
    tool("tbrHide");
    EXPECT_EQ(column(PhysicianListModel::ColName), (QStringList{"Adams, Rita", "Baker, Ben"}));
    auto* hidden = child<QComboBox>("cboHiddenPhysicians");
    hidden->setCurrentIndex(1);
    emit hidden->activated(1);
    EXPECT_EQ(column(PhysicianListModel::ColName), QStringList{"Clark, Cora"});
    select({0});
    tool("tbrHide"); // a hidden selection is shown again
    EXPECT_EQ(scalar("SELECT flag3 FROM Physician_profile WHERE physician_id = 30"), "0");
}

TEST_F(PhysicianListScreen, ChangePartitionOffersTheUsersPartitionsAndSkipsPhysiciansAlreadyThere) {
    grant({9}, true);
    login.user.Partition_ID = 0;
    open();
    chooseAccount("Zeta");
    std::string offered;
    screen->chooseNewPartition = [&offered](long& partition, const std::string& list) {
        offered = list;
        partition = 2;
        return true;
    };
    select({0, 2}); // Adams (member of all: Far is in partition 2), Clark (Zeta only: refused)
    recorder.answer(MsgAnswer::Yes);
    tool("tbrPartition");
    EXPECT_EQ(offered, "0,1,2");
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text,
              "ACCESS DENIED: The partition of physician Clark, Cora cannot be changed because this physician is not "
              "a member of any accounts in the destination partition.\r\nSkip this physician and continue with "
              "physicians you are authorized to change?");
    EXPECT_EQ(scalar("SELECT partition_id FROM Physician_profile WHERE physician_id = 10"), "2");
    EXPECT_EQ(scalar("SELECT partition_id FROM Physician_profile WHERE physician_id = 30"), "1");
    EXPECT_EQ(column(PhysicianListModel::ColPartition), (QStringList{"South", "North", "North"}));

    const size_t sent = foundation::DatabaseSession::instance().history.size();
    screen->chooseNewPartition = [](long& partition, const std::string&) {
        partition = 1;
        return true;
    };
    select({2}); // already in partition 1
    tool("tbrPartition");
    EXPECT_EQ(foundation::DatabaseSession::instance().history.size(), sent);
}

TEST_F(PhysicianListScreen, DefaultsComeFromThePickersAndAreKept) {
    screen->chooseDefaultAccounts = [](std::vector<long>& accounts) {
        accounts = {2, 5};
        return true;
    };
    tool("tbrDefaultAccounts");
    EXPECT_EQ(screen->defaults().defaultAccounts, std::vector<long>{2});
    screen->chooseDefaultPartition = [](long& partition, const std::string& list) {
        EXPECT_EQ(list, "1");
        partition = 1;
        return true;
    };
    tool("tbrDefaultPartition");
    EXPECT_EQ(screen->DefaultPartitionId(), 1);
    EXPECT_TRUE(recorder.shown.empty());
}

TEST_F(PhysicianListScreen, EditTakesExactlyOnePhysicianAndOpensTheEditorOnIt) {
    chooseAccount("Zeta");
    long opened = 0;
    screen->runEditor = [&opened](PP_Add_Phys& editor) { opened = editor.edit().physicianId(); };
    select({0, 1});
    tool("tbrEdit");
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, "Only one physician can be selected for editing.");
    EXPECT_EQ(opened, 0);
    select({1});
    tool("tbrEdit");
    EXPECT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(opened, 20); // Baker
}

TEST_F(PhysicianListScreen, ExportWritesTheShownRowsToTheTempFolderAndOpensIt) {
    chooseAccount("Zeta");
    child<QComboBox>("cboStatusM")->setCurrentIndex(2); // only e-mail: Baker, Clark
    tool("tbrExport");
    const std::string file = root + "/KALDRA/TEMP/NPTEMP.TXT";
    ASSERT_EQ(opener.textFiles, std::vector<std::string>{file});
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    const std::string t = text.str();
    EXPECT_EQ(t.rfind("Physician Profile List - ", 0), 0u);
    EXPECT_NE(t.find("Last Name"), std::string::npos);
    EXPECT_NE(t.find("Group Affiliation"), std::string::npos);
    EXPECT_NE(t.find("Baker"), std::string::npos);
    EXPECT_NE(t.find("Clark"), std::string::npos);
    EXPECT_EQ(t.find("Adams"), std::string::npos);
    EXPECT_NE(t.find("M=Email Enabled\r\n"), std::string::npos);
    EXPECT_NE(t.find("Total Physicians: 2\r\n"), std::string::npos);
}

TEST_F(PhysicianListScreen, TheProfileInterfaceIsLookedForInTheSystemFolder) {
    child<QPushButton>("cmdKdPPI")->click();
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, "Could not find " + root + "/KALDRA/SYSTEM/KDPPI.EXE.");
    EXPECT_EQ(PhysicianProfileInterfaceArguments(7, "admin1", "pw", "/site/KALDRA.INI"),
              " /UID=7 /UNAME=admin1 /PASSWORD=pw /INI=\"/site/KALDRA.INI\" /SHOWLOG /SKIPBACKGROUND");
}

TEST_F(PhysicianListScreen, SearchFindsByNameAndAddsOnePhysicianToTheListsAccount) {
    exec("INSERT Physician_profile (physician_id, first_name, last_name, partition_id) VALUES (40, 'Dan', 'Dunn', 2)\n"
         "INSERT Physician_membership VALUES (40, 5, 0, 0)\n"
         "INSERT Physician_attributes (physician_id, hosp_acct_id, dictation_id) VALUES (40, -1, '4001')");
    PartitionCache().item(2).Set_Sharing_Partitions_String("1");
    PartitionCache().item(2).Set_Sharing_Option(clsPartition::kShareAccountsForPhysicians, true);
    chooseAccount("Alpha");
    PP_Phys_Search search(screen->currentAccount());
    search.onAdded = [this] { screen->RetrievePhysicians(); };
    search.findChild<QLineEdit*>("txtSearch")->setText("n");
    search.findChild<QPushButton*>("cmdSearch")->click();
    auto* results = search.findChild<QTableView*>("lvwResults");
    ASSERT_EQ(results->model()->rowCount(), 2);
    EXPECT_EQ(results->model()->index(0, PhysicianListModel::ColName).data().toString(), "Baker, Ben");
    EXPECT_EQ(results->model()->index(1, PhysicianListModel::ColName).data().toString(), "Dunn, Dan");
    EXPECT_EQ(results->model()->index(1, PhysicianListModel::ColPartition).data().toString(), "South");
    EXPECT_FALSE(results->isColumnHidden(PhysicianListModel::ColMis2));
    EXPECT_TRUE(results->isColumnHidden(PhysicianListModel::ColStatus));
    EXPECT_EQ(
        scalar("SELECT COUNT(*) FROM System_log WHERE msg1 = 'User admin1 searched for n from other partitions.'"),
        "1");

    results->selectAll();
    search.findChild<QPushButton*>("cmdAdd")->click();
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, "Only one physician can be selected for adding.");
    results->clearSelection();
    results->selectionModel()->select(results->model()->index(1, 0),
                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
    search.findChild<QPushButton*>("cmdAdd")->click();
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Physician_membership WHERE physician_id = 40 AND hosp_acct_id = 2"), "1");
    EXPECT_EQ(column(PhysicianListModel::ColName), (QStringList{"Adams, Rita", "Dunn, Dan"}));
}

} // namespace
