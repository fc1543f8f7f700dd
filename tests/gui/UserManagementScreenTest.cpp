// User Management: which users are listed, the list's columns and order, the refusals of the
// delete and edit commands, and the add and edit round trips through the real editor.

#include "UserImages.h"
#include "UserManagementFixture.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QIcon>
#include <QImage>
#include <QMenu>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>

#include <algorithm>

using kdtest::UserScreenTest;
using platform::MsgAnswer;

namespace {

class UserMgmtScreen : public UserScreenTest {
protected:
    void select(long userId) { screen->SelectUsers({userId}); }
    void run(const char* action) {
        for (const char* menu : {"mnuUserMenu", "mnuGroupMenu", "mnuRelationship", "mnuFolder"})
            if (QAction* a = screen->Menu(menu)->findChild<QAction*>(action)) {
                a->trigger();
                return;
            }
        ADD_FAILURE() << action;
    }
    std::string users(const std::string& where) {
        return scalar("SELECT COUNT(*) FROM System_user_bindery WHERE " + where);
    }
};

TEST_F(UserMgmtScreen, ListsOwnAndSubPartitionUsersAndSharedInUsersReadOnly) {
    open();
    EXPECT_EQ(screen->windowTitle(), "User Management");
    auto* tree = screen->findChild<QTreeWidget*>("tvwGroups");
    ASSERT_NE(tree, nullptr);
    std::vector<std::string> top;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        top.push_back(tree->topLevelItem(i)->text(0).toStdString());
    EXPECT_EQ(top, (std::vector<std::string>{"Administrator Groups", "General", "Transcription", "Physicians",
                                             "Surrogate Relationships", "Resident Relationships",
                                             "Cosignature Relationships"}));
    EXPECT_EQ(tree->topLevelItem(0)->childCount(), 3);
    // South's shared user is listed read only; its other user and Eleven's are not listed.
    EXPECT_EQ(listed(), (std::vector<std::string>{"ADMINISTRATOR", "DRWHO", "JDOE", "MGR", "SSHARED {RO}", "TADMIN",
                                                  "TTYPIST", "VTTECH"}));
    QAbstractItemModelTester tester(screen->userModel(), QAbstractItemModelTester::FailureReportingMode::Warning);
    auto* m = screen->userModel();
    std::vector<std::string> headers;
    for (int c = 0; c < m->columnCount(); ++c)
        headers.push_back(m->headerData(c, Qt::Horizontal).toString().toStdString());
    EXPECT_EQ(headers, (std::vector<std::string>{"User Name", "First Name", "Last Name", "Group Access", "Type",
                                                 "Pending Reports", "Partition", "Prompt Script"}));
    const int typist = m->rowOfUser(62);
    EXPECT_EQ(m->index(typist, users::UserListModel::Type).data().toString(), "Transcriptionist");
    EXPECT_EQ(m->index(typist, users::UserListModel::Partition).data().toString(), "North General");
    EXPECT_EQ(m->index(typist, users::UserListModel::GroupAccess).data().toString(), "Night Shift");
    EXPECT_EQ(m->index(m->rowOfUser(50), users::UserListModel::Type).data().toString(), "System Admin, General User");
    EXPECT_EQ(m->index(m->rowOfUser(67), users::UserListModel::Type).data().toString(), "Physician User");
    EXPECT_EQ(m->index(m->rowOfUser(68), users::UserListModel::Type).data().toString(), "Trans Admin, General User");
    EXPECT_EQ(m->index(m->rowOfUser(63), 0).data(users::UserListModel::kImageRole).toString(), "USER_BORROWED");
    EXPECT_EQ(m->index(m->rowOfUser(69), 0).data(users::UserListModel::kImageRole).toString(), "USER_TECH");
    // Every listed user has its picture beside the name, and only there.
    for (int r = 0; r < m->rowCount(); ++r) {
        EXPECT_FALSE(m->index(r, 0).data(Qt::DecorationRole).value<QIcon>().isNull()) << r;
        EXPECT_FALSE(m->index(r, users::UserListModel::Type).data(Qt::DecorationRole).isValid()) << r;
    }
}

// Each kind of user GetImage tells apart has its own picture in the list; the rows of one kind share it.
TEST(UserListPictures, EachUserKindHasItsOwnPicture) {
    const char* const keys[] = {"USER_NORMAL", "USER_SHARED", "USER_BORROWED", "USER_TECH"};
    std::vector<users::UserListRow> rows;
    for (long i = 0; i < 8; ++i) {
        users::UserListRow row;
        row.userId = i + 1;
        row.userName = QString("U%1").arg(i);
        row.imageKey = keys[i % 4];
        rows.push_back(row);
    }
    users::UserListModel model;
    model.setRows(std::move(rows));
    std::vector<QImage> pictures;
    for (long id = 1; id <= 4; ++id) {
        const auto icon = model.index(model.rowOfUser(id), 0).data(Qt::DecorationRole).value<QIcon>();
        ASSERT_FALSE(icon.isNull()) << keys[id - 1];
        pictures.push_back(icon.pixmap(16, 16).toImage());
        const auto same = model.index(model.rowOfUser(id + 4), 0).data(Qt::DecorationRole).value<QIcon>();
        EXPECT_EQ(same.cacheKey(), icon.cacheKey()) << keys[id - 1];
    }
    for (size_t i = 0; i < pictures.size(); ++i)
        for (size_t j = i + 1; j < pictures.size(); ++j)
            EXPECT_NE(pictures[i], pictures[j]) << keys[i] << " " << keys[j];
    EXPECT_NE(users::UserImages::Image("GROUP_SHARED").pixmap(16, 16).toImage(), pictures[1]);
    EXPECT_TRUE(users::UserImages::Image("SOMETHING_ELSE").isNull());
}

// The filter looks in the user name, not in the " {RO}" marker shown after a read-only user's name.
TEST(UserListFilter, TheReadOnlyMarkerIsNotPartOfTheName) {
    struct Case {
        const char* filter;
        int shown;
    } const cases[] = {{"ro", 1}, {"{ro}", 0}, {"ed {", 0}, {"shared", 1}, {"north", 2}};
    users::UserListRow shared;
    shared.userId = 1;
    shared.userName = "SHARED {RO}";
    shared.readOnly = true;
    shared.partition = "North";
    users::UserListRow own;
    own.userId = 2;
    own.userName = "BROWN";
    own.partition = "North";
    users::UserListModel model;
    model.setRows({shared, own});
    for (const Case& c : cases) {
        model.setFilterText(c.filter);
        EXPECT_EQ(model.rowCount(), c.shown) << c.filter;
    }
}

TEST_F(UserMgmtScreen, FoldersAndGroupsFillTheLists) {
    open();
    ASSERT_TRUE(screen->SelectFolder(users::UserFolder::SystemAdministrators));
    EXPECT_EQ(listed(), (std::vector<std::string>{"ADMINISTRATOR", "MGR", "VTTECH"}));
    ASSERT_TRUE(screen->SelectFolder(users::UserFolder::General));
    ASSERT_EQ(screen->groupModel()->rowCount(), 1);
    EXPECT_EQ(screen->groupModel()->index(0, 0).data().toString(), "Night Shift");
    EXPECT_EQ(screen->groupModel()->index(0, 2).data().toInt(), 3);
    ASSERT_TRUE(screen->SelectGroup(200));
    EXPECT_EQ(listed(), (std::vector<std::string>{"JDOE", "SSHARED {RO}", "TTYPIST"}));
}

TEST_F(UserMgmtScreen, PendingReportsSortAsNumbersAndTheFilterNarrowsTheList) {
    exec("UPDATE System_user_bindery SET flag1 = 8 WHERE user_id = 61\n"
         "UPDATE System_user_bindery SET flag1 = 9 WHERE user_id = 62");
    open();
    // Counts as the procedure gives them: 10 for physician 7, 9 for 8, 100 for 9.
    auto& data = const_cast<users::UserMgmtData&>(screen->Data());
    data.pendingByPhysician = {{7, 10}, {8, 9}, {9, 100}};
    screen->SelectFolder(users::UserFolder::AdministratorGroups);
    screen->userModel()->sort(users::UserListModel::PendingReports, Qt::DescendingOrder);
    const auto names = listed();
    EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 3),
              (std::vector<std::string>{"TTYPIST", "DRWHO", "JDOE"}));
    screen->SetFilterText("tYp");
    EXPECT_EQ(listed(), (std::vector<std::string>{"TTYPIST"}));
    screen->SetFilterText("north general");
    EXPECT_EQ(listed(), (std::vector<std::string>{"TTYPIST"}));
    screen->SetFilterText("");
    EXPECT_EQ(listed().size(), 8u);
}

// Opening sends a fixed set of statements however many users and members there are; choosing
// folders and groups, sorting and filtering send none.
TEST_F(UserMgmtScreen, NoStatementPerUserOnOpeningAndNoneWhileBrowsing) {
    const auto statementsToOpen = [this] {
        session().history.clear();
        screen = std::make_unique<users::UA_User_Mgmt>(login);
        EXPECT_TRUE(screen->MyShow());
        return session().history.size();
    };
    const size_t few = statementsToOpen();
    for (long id = 70; id < 95; ++id) {
        addUserRow(id, "BULK" + std::to_string(id), "'B', 'Ulk', NULL, 1, 0, 0, 0, 0, 0, 0, 0, '', 0, 1, 0, 0");
        exec("INSERT System_security_groups VALUES (200, " + std::to_string(id) + ", NULL, 0, 0, 0, NULL, NULL, NULL)");
    }
    EXPECT_EQ(statementsToOpen(), few);
    EXPECT_EQ(screen->userModel()->totalRows(), 33u);

    session().history.clear();
    ASSERT_TRUE(screen->SelectGroup(200));
    EXPECT_EQ(screen->userModel()->totalRows(), 28u);
    screen->userModel()->sort(users::UserListModel::LastName, Qt::DescendingOrder);
    screen->SetFilterText("bulk9");
    EXPECT_EQ(listed(), (std::vector<std::string>{"BULK90", "BULK91", "BULK92", "BULK93", "BULK94"}));
    ASSERT_TRUE(screen->SelectFolder(users::UserFolder::SystemAdministrators));
    ASSERT_TRUE(screen->SelectFolder(users::UserFolder::General));
    EXPECT_EQ(session().history, std::vector<std::string>{});
}

// Rows arriving in order are left as they are, rows out of order are sorted (equal keys keep their
// order), and the filter folds letters outside ASCII as well.
TEST(UserListModelOrder, SortsWhatIsOutOfOrderAndFoldsEveryLetter) {
    const auto row = [](long id, const char* name, const char* last) {
        users::UserListRow r;
        r.userId = id;
        r.userName = QString::fromUtf8(name);
        r.lastName = QString::fromUtf8(last);
        return r;
    };
    const auto ids = [](const users::UserListModel& m) {
        std::vector<long> out;
        for (int i = 0; i < m.rowCount(); ++i)
            out.push_back(m.rowAt(i)->userId);
        return out;
    };
    users::UserListModel m;
    m.setRows({row(1, "adams", "X"), row(2, "Baker", "Y"), row(3, "carter", "X")});
    EXPECT_EQ(ids(m), (std::vector<long>{1, 2, 3}));
    m.setRows({row(1, "carter", "X"), row(2, "ADAMS", "Y"), row(3, "baker", "X"), row(4, "Adams", "Z")});
    EXPECT_EQ(ids(m), (std::vector<long>{2, 4, 3, 1}));
    m.sort(users::UserListModel::LastName, Qt::DescendingOrder);
    EXPECT_EQ(ids(m), (std::vector<long>{4, 2, 3, 1}));
    m.setRows({row(5, "\xc3\x89MILE", "\xc3\x96ZT\xc3\x9cRK"), row(6, "EMIL", "Ost")});
    m.setFilterText(QString::fromUtf8("\xc3\xa9mi"));
    EXPECT_EQ(ids(m), (std::vector<long>{5}));
    m.setFilterText(QString::fromUtf8("\xc3\xb6zt\xc3\xbc"));
    EXPECT_EQ(ids(m), (std::vector<long>{5}));
    m.setFilterText("emil");
    EXPECT_EQ(ids(m), (std::vector<long>{6}));
}

TEST_F(UserMgmtScreen, RefreshPendingReportsRunsTheSuiteProcedure) {
    open(); // the site's database is of version 8.1

    run("RefreshPendingReports");
    ASSERT_FALSE(session().history.empty());
    EXPECT_EQ(session().history.front(), "get_paxlet_inbox_summary 0, 0");
}

// The keys of the list: Insert adds, Enter (either key) edits the selected user, Delete asks to
// delete it (answered No here), F5 reads the pending reports again.
TEST_F(UserMgmtScreen, TheListKeysRunTheirCommands) {
    open();
    screen->show();
    QApplication::setActiveWindow(screen.get());
    auto* list = screen->findChild<QTableView*>("lvwUsers");
    struct Key {
        Qt::Key key;
        const char* dialog; // the dialog the key opens, or none
        const char* shown;  // the message it shows, or none
        const char* sent;   // the statement it sends, or none
    };
    const Key keys[] = {
        {Qt::Key_Insert, "UA_User_Type", "", ""},
        {Qt::Key_Return, "UA_User_Mgmt_Edit", "", ""},
        {Qt::Key_Enter, "UA_User_Mgmt_Edit", "", ""},
        {Qt::Key_Delete, "", "This user is a member of the following groups: Night Shift", ""},
        {Qt::Key_F5, "", "", "get_paxlet_inbox_summary 0, 0"},
    };
    for (const auto& k : keys) {
        SCOPED_TRACE(k.key);
        select(61);
        list->setFocus();
        std::string opened;
        screen->runDialog = [&opened](QDialog& d) {
            opened = d.objectName().toStdString();
            return int(QDialog::Rejected);
        };
        recorder.shown.clear();
        recorder.answer(MsgAnswer::No);
        session().history.clear();
        QTest::keyClick(list, k.key);
        EXPECT_EQ(opened, k.dialog);
        EXPECT_EQ(recorder.shown.empty() ? "" : recorder.shown.front().text.substr(0, 58), k.shown);
        if (*k.sent) {
            EXPECT_EQ(session().history.empty() ? "" : session().history.front(), k.sent);
        }
    }
    EXPECT_EQ(users("user_id = 61 AND is_deleted = 0"), "1");
}

struct Refusal {
    const char* what;
    long userId;
    const char* text;
    const char* title;
};

// The users that are never deleted, whoever asks, and the refusals that come before the question.
TEST_F(UserMgmtScreen, UndeletableUsersAreRefusedWithTheirMessage) {
    open();
    const Refusal refusals[] = {
        {"shared in", 63, "Shared users cannot be deleted", "Shared User"},
        {"logged-in user", 50, "The current user cannot be deleted!", "User Management"},
        {"built-in administrator", 66, "The Administrator user cannot be deleted", "User Management"},
    };
    for (const auto& r : refusals) {
        recorder.shown.clear();
        select(r.userId);
        run("DeleteUser");
        EXPECT_EQ(texts(), std::string(r.text) + " [" + r.title + "]\n") << r.what;
        EXPECT_EQ(users("is_deleted = 1"), "0") << r.what;
    }
}

TEST_F(UserMgmtScreen, ATranscriptionAdministratorMayNotDeleteASystemAdministrator) {
    login.user.is_administrator = false;
    login.user.is_trans_admin = true;
    open();
    select(66);
    run("DeleteUser");
    EXPECT_EQ(texts(), "Transcription administrators are not authorized to delete System administrators. [User "
                       "Management]\n");
}

TEST_F(UserMgmtScreen, DeletingAGroupMemberListsItsGroupsAndSoftDeletes) {
    open();
    select(61);
    recorder.answer(MsgAnswer::Yes);
    run("DeleteUser");
    ASSERT_FALSE(recorder.shown.empty());
    EXPECT_EQ(recorder.shown.front().text, "This user is a member of the following groups: Night Shift\n\nAre you sure "
                                           "you want to delete user JDOE from the entire system?");
    EXPECT_EQ(users("user_id = 61 AND is_deleted = 1"), "1");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_security_groups WHERE user_id = 61"), "0");
    EXPECT_EQ(screen->userModel()->rowOfUser(61), -1);
    const auto log = logRows();
    EXPECT_NE(std::find(log.begin(), log.end(), "20009|2|2|50|1|User JDOE was deleted by user MGR."), log.end());
}

TEST_F(UserMgmtScreen, TheTechnicianAccountAsksFirstAndNoKeepsIt) {
    open();
    select(69);
    recorder.answer(MsgAnswer::No);
    run("DeleteUser");
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].title, "Delete User");
    EXPECT_NE(recorder.shown[0].text.find("Are you sure you want to delete this user?"), std::string::npos);
    EXPECT_EQ(users("user_id = 69 AND is_deleted = 0"), "1");
}

TEST_F(UserMgmtScreen, ASharedInUserCannotBeEdited) {
    open();
    select(63);
    screen->runDialog = [](QDialog&) {
        ADD_FAILURE() << "no editor for a shared user";
        return 0;
    };
    run("EditUser");
    EXPECT_EQ(texts(), "Shared users cannot be edited [Shared User]\n");
}

TEST_F(UserMgmtScreen, OnlyOneUserForTheOneUserCommands) {
    open();
    screen->SelectUsers({61, 62});
    run("EditUser");
    EXPECT_EQ(texts(), "Only one user can be selected to perform this operation. [User Management]\n");
}

TEST_F(UserMgmtScreen, EditingWithThePlaceholderKeepsThePasswordAndClearsTheBadAttempts) {
    open();
    select(61);
    screen->runDialog = [](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Edit User");
        EXPECT_EQ(child<QLineEdit>(d, "txtPassword")->text(), "________");
        type(d, "txtLastName", "Doe-Smith");
        click(d, "cmdOK");
        return d.result();
    };
    run("EditUser");
    EXPECT_EQ(scalar("SELECT last_name + '|' + CONVERT(varchar, nbr_bad_attempts) FROM System_user_bindery WHERE "
                     "user_id = 61"),
              "Doe-Smith|0");
    // Written again under a fresh nonce, the stored password still reads as the old one.
    users::clsUsers reloaded;
    ASSERT_TRUE(users::LoadActiveUsers(&reloaded));
    EXPECT_EQ(reloaded.Item(users::clsUsers::Key(61))->m_strPassword, "pw61");
    const int row = screen->userModel()->rowOfUser(61);
    EXPECT_EQ(screen->userModel()->index(row, users::UserListModel::LastName).data().toString(), "Doe-Smith");
}

TEST_F(UserMgmtScreen, AddingAGeneralUserWritesTheRowAndTheLog) {
    open();
    int step = 0;
    screen->runDialog = [&step](QDialog& d) {
        if (step++ == 0) {
            EXPECT_EQ(d.objectName(), "UA_User_Type");
            child<QRadioButton>(d, "optGeneralUser")->setChecked(true);
            return int(QDialog::Accepted);
        }
        EXPECT_EQ(d.windowTitle(), "Add User");
        type(d, "txtUserName", "nnew");
        type(d, "txtFirstName", "Nora");
        type(d, "txtPassword", "abc123");
        type(d, "txtConfirmPassword", "abc123");
        click(d, "cmdOK");
        return d.result();
    };
    run("AddUserMain");
    EXPECT_EQ(texts(), "");
    EXPECT_EQ(users("user_name = 'NNEW' AND partition_id = 1 AND user_id = 300"), "1");
    ASSERT_TRUE(users::Users().Exists(users::clsUsers::Key(300)));
    EXPECT_EQ(users::Users().Item(users::clsUsers::Key(300))->m_strPassword, "abc123");
    const auto log = logRows();
    EXPECT_NE(std::find(log.begin(), log.end(), "20003|2|2|50|1|User NNEW was added by user MGR."), log.end());
}

TEST_F(UserMgmtScreen, OpensThePrivilegeScreensForTheSelectedUser) {
    suite::HospAccount north;
    north.hosp_acct_id = 10;
    north.hosp_acct_name = "North Hospital";
    north.Partition_ID = 1;
    north.Departments = {5};
    login.SetHospAccounts({north});
    open();
    select(61);
    std::vector<std::string> opened;
    screen->runDialog = [&opened](QDialog& d) {
        opened.push_back(d.objectName().toStdString() + ": " + d.windowTitle().toStdString());
        return 0;
    };
    run("PrivilegesUser");
    run("PrinterPrivilegesUser");
    EXPECT_EQ(opened, (std::vector<std::string>{"UA_Privileges_New: User Privileges: JDOE",
                                                "UA_Printer_Privs: System Printer Privileges: JDOE"}));
}

} // namespace

namespace {

// Deleted transcriptionists of North and its sub-partition are offered; South's and a live one are not.
TEST_F(UserMgmtScreen, UndeletingATranscriptionistOffersThePartitionsOwnAndRestoresTheChosenOne) {
    exec("INSERT Trans_info (trans_id, trans_type, first_name, last_name, initials, extra3, is_deleted) VALUES "
         "('KGONE', 1, 'Kay', 'O''Gone', 'KG', 3, 1)\n"
         "INSERT Trans_info (trans_id, trans_type, first_name, last_name, initials, extra3, is_deleted) VALUES "
         "('SGONE', 1, 'Sue', 'Gone', 'SG', 2, 1)\n"
         "INSERT Trans_info (trans_id, trans_type, first_name, last_name, initials, extra3, is_deleted) VALUES "
         "('VGONE', 4, 'Val', 'Voice', 'VG', 1, 1)");
    open();
    std::vector<std::string> offered;
    screen->runDialog = [&offered](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Undelete a Transcriptionist");
        auto* list = child<QTreeWidget>(d, "lvwTranscriptionists");
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            offered.push_back(list->topLevelItem(i)->text(0).toStdString() + "|" +
                              list->topLevelItem(i)->text(2).toStdString() + "|" +
                              list->topLevelItem(i)->text(7).toStdString());
        if (list->topLevelItemCount() > 0)
            list->setCurrentItem(list->topLevelItem(0));
        click(d, "cmdOK");
        return d.result();
    };
    run("UndeleteTranscriptionist");
    EXPECT_EQ(texts(), "");
    EXPECT_EQ(offered, std::vector<std::string>{"KGONE|O'Gone|North General"});
    EXPECT_EQ(scalar("SELECT is_deleted FROM Trans_info WHERE trans_id = 'KGONE'"), "0");
    EXPECT_EQ(users("user_name = 'KGONE' AND trans_id = 'KGONE' AND partition_id = 3 AND is_deleted = 0"), "1");
    ASSERT_TRUE(users::Users().Exists(users::clsUsers::Key(300)));
    const auto log = logRows();
    EXPECT_NE(std::find(log.begin(), log.end(), "20010|2|2|50|1|User KGONE has been undeleted by MGR."), log.end());

    // Nothing left to restore: the message, and no list.
    offered.clear();
    run("UndeleteTranscriptionist");
    EXPECT_EQ(texts(), "There are no transcriptionists available to undelete. [Error]\n");
    EXPECT_TRUE(offered.empty());
}

} // namespace
