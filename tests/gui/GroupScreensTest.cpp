// The group screens: the group editor with its validation, partition and sharing questions and
// member relations, the group commands of User Management, Add Groups, and the effective-access
// view of a group.

#include "CheckListModel.h"
#include "EffectiveAccessModel.h"
#include "GroupFixture.h"
#include "GroupMembersModel.h"
#include "Interaction.h"
#include "RecordingWait.h"
#include "UA_Add_Users_Groups.h"
#include "UA_Effective_Access.h"
#include "UA_Group_Edit.h"
#include "clsPrivileges.h"
#include "modGroupScreens.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

using namespace users;
using platform::MsgAnswer;

namespace {

using kdtest::RecordingWait;

class GroupScreens : public kdtest::GroupTest {
protected:
    template <typename T>
    static T* child(QWidget& w, const char* name) {
        auto* c = w.findChild<T*>(name);
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    static QStringList column(const QAbstractItemModel& m, int c) {
        QStringList out;
        for (int r = 0; r < m.rowCount(); ++r)
            out << m.index(r, c).data().toString();
        return out;
    }
    static QStringList comboItems(QComboBox* box) {
        QStringList out;
        for (int i = 0; i < box->count(); ++i)
            out << box->itemText(i);
        return out;
    }
    // The row of the sorted member list that shows user name.
    static int rowOf(QTableView* view, const QString& name) {
        for (int r = 0; r < view->model()->rowCount(); ++r)
            if (view->model()->index(r, 0).data().toString() == name)
                return r;
        return -1;
    }
};

TEST_F(GroupScreens, NewGroupEditorOffersTheTwoTypesAndTheGovernedPartitions) {
    clsSecurityGroup fresh;
    UA_Group_Edit editor(fresh, allUsers);
    EXPECT_EQ(editor.windowTitle(), "New Group");
    EXPECT_EQ(comboItems(child<QComboBox>(editor, "cboGroupType")),
              (QStringList{"General - Physician Group", "General - Transcriptionist Group"}));
    EXPECT_EQ(comboItems(child<QComboBox>(editor, "cboPartition")), (QStringList{"North", "North General"}));
    for (const char* name : {"txtGroupName", "txtDescription"})
        child<QLineEdit>(editor, name);
    for (const char* name : {"chkShare", "chkSign"})
        child<QCheckBox>(editor, name);
    for (const char* name : {"cmdAdd", "cmdRemove", "cmdOK", "cmdCancel"})
        child<QPushButton>(editor, name);
    auto* members = child<QTableView>(editor, "lvwMembers");
    QAbstractItemModelTester tester(editor.members(), QAbstractItemModelTester::FailureReportingMode::Warning);
    QStringList headers;
    for (int c = 0; c < members->model()->columnCount(); ++c)
        headers << members->model()->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(headers, (QStringList{"User Name", "Last Name", "First Name", "Partition", "Viewing", "Signing"}));
    child<QComboBox>(editor, "cboGroupType")->setCurrentIndex(1); // transcriptionists: no relations
    EXPECT_EQ(members->model()->columnCount(), 4);
}

TEST_F(GroupScreens, NameRulesStopAtTheFirstFailureAndKeepTheEditorOpen) {
    clsSecurityGroup fresh;
    UA_Group_Edit editor(fresh, allUsers);
    auto* name = child<QLineEdit>(editor, "txtGroupName");
    const std::pair<QString, std::string> cases[] = {
        {"   ", UA_Group_Edit::kBlankName},
        {"jdoe", UA_Group_Edit::kUserNameTaken},
        {"GONE", UA_Group_Edit::kUserNameTaken}, // a deleted user keeps its name
        {"Nurses", UA_Group_Edit::kGroupNameTaken},
    };
    for (const auto& [text, message] : cases) {
        recorder.shown.clear();
        name->setText(text);
        editor.cmdOK_Click();
        ASSERT_EQ(recorder.shown.size(), 1u) << text.toStdString();
        EXPECT_EQ(recorder.shown[0].text, message);
        EXPECT_EQ(recorder.shown[0].title, "Group Name");
        EXPECT_NE(editor.result(), QDialog::Accepted);
    }
    recorder.shown.clear();
    name->setText("  Night Shift ");
    editor.cmdOK_Click();
    EXPECT_TRUE(recorder.shown.empty());
    EXPECT_EQ(editor.result(), QDialog::Accepted);
    EXPECT_EQ(editor.Group().m_strGroupName, "Night Shift");
}

TEST_F(GroupScreens, AnEditedGroupKeepsItsOwnName) {
    UA_Group_Edit editor(group(70), allUsers);
    EXPECT_EQ(editor.windowTitle(), "Edit Group");
    EXPECT_FALSE(child<QComboBox>(editor, "cboGroupType")->isEnabled());
    EXPECT_EQ(child<QComboBox>(editor, "cboGroupType")->currentText(), "General");
    editor.cmdOK_Click();
    EXPECT_TRUE(recorder.shown.empty());
    EXPECT_EQ(editor.result(), QDialog::Accepted);
}

TEST_F(GroupScreens, ChangingThePartitionAsksBeforeDroppingMembers) {
    UA_Group_Edit editor(group(70), allUsers);
    auto* partition = child<QComboBox>(editor, "cboPartition");
    auto* members = child<QTableView>(editor, "lvwMembers");
    EXPECT_EQ(column(*members->model(), 0), (QStringList{"JDOE", "TJONES"}));
    recorder.answer(MsgAnswer::No);
    partition->setCurrentIndex(partition->findText("North General"));
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, UA_Group_Edit::kChangePartition);
    EXPECT_EQ(recorder.shown[0].title, "Change Partition");
    EXPECT_EQ(partition->currentText(), "North");
    EXPECT_EQ(column(*members->model(), 0), (QStringList{"JDOE", "TJONES"}));

    recorder.answer(MsgAnswer::Yes);
    partition->setCurrentIndex(partition->findText("North General"));
    EXPECT_EQ(recorder.shown.size(), 2u);
    EXPECT_EQ(column(*members->model(), 0), QStringList{"TJONES"});
    partition->setCurrentIndex(partition->findText("North")); // nobody to drop: no question
    EXPECT_EQ(recorder.shown.size(), 2u);
    editor.cmdOK_Click();
    EXPECT_EQ(editor.Group().Partition_ID(), 1);
    EXPECT_EQ(editor.Group().UserIds(), std::vector<long>{61});
}

TEST_F(GroupScreens, ChangingTheSharingAsksBeforeDroppingSharedInUsers) {
    group(70).Is_Shared(true);
    group(70).AddUserId(63); // SSHARED, shared into North by South
    UA_Group_Edit editor(group(70), allUsers);
    auto* share = child<QCheckBox>(editor, "chkShare");
    ASSERT_TRUE(share->isChecked());
    recorder.answer(MsgAnswer::No);
    share->click();
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, UA_Group_Edit::kChangeSharing);
    EXPECT_EQ(recorder.shown[0].title, "Group Sharing");
    EXPECT_TRUE(share->isChecked());
    EXPECT_EQ(editor.members()->rowCount(), 3);
    recorder.answer(MsgAnswer::Yes);
    share->click();
    EXPECT_FALSE(share->isChecked());
    EXPECT_EQ(column(*editor.members(), 0), (QStringList{"JDOE", "TJONES"}));
}

TEST_F(GroupScreens, PhysicianGroupRelationsToggleAndTheProxyWarning) {
    UA_Group_Edit editor(group(71), allUsers);
    auto* members = child<QTableView>(editor, "lvwMembers");
    EXPECT_EQ(column(*members->model(), GroupMembersModel::Viewing), QStringList{"Yes"});
    EXPECT_EQ(column(*members->model(), GroupMembersModel::Signing), QStringList{"Yes"});
    const int row = rowOf(members, "DRX");
    Q_EMIT members->doubleClicked(members->model()->index(row, GroupMembersModel::Viewing)); // no view: no signing
    EXPECT_EQ(column(*members->model(), GroupMembersModel::Signing), QStringList{"No"});
    Q_EMIT members->doubleClicked(members->model()->index(row, GroupMembersModel::Signing)); // signing: viewing too
    EXPECT_EQ(column(*members->model(), GroupMembersModel::Viewing), QStringList{"Yes"});
    Q_EMIT members->doubleClicked(members->model()->index(row, GroupMembersModel::Signing));
    ASSERT_TRUE(child<QCheckBox>(editor, "chkSign")->isChecked());
    editor.cmdOK_Click();
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, "Warning.  The proxy group setting has been set but no members have been "
                                      "enabled for signature.  No proxy relationships will be defined.");
    EXPECT_EQ(editor.result(), QDialog::Accepted);
    EXPECT_TRUE(editor.Group().IsProxyGroup());
    EXPECT_EQ(editor.Group().GetAccessType(62), clsSecurityGroup::ViewingAccess);
}

TEST_F(GroupScreens, AddGroupMainCreatesTheGroupWithThePickedMembers) {
    RecordingWait wait;
    QStringList offered;
    QTimer::singleShot(0, [&] {
        auto* editor = qobject_cast<UA_Group_Edit*>(QApplication::activeModalWidget());
        ASSERT_NE(editor, nullptr);
        editor->findChild<QLineEdit*>("txtGroupName")->setText("Night O'Clock");
        editor->findChild<QLineEdit*>("txtDescription")->setText("Late shift");
        editor->findChild<QComboBox*>("cboGroupType")->setCurrentIndex(1); // transcriptionists
        QTimer::singleShot(0, [&] {
            auto* picker = qobject_cast<UA_Add_Users_Groups*>(QApplication::activeModalWidget());
            ASSERT_NE(picker, nullptr);
            EXPECT_EQ(picker->windowTitle(), "Add Users");
            offered = column(*picker->model(), 0);
            picker->model()->setAllChecked(true);
            picker->findChild<QPushButton*>("cmdOK")->click();
        });
        editor->findChild<QPushButton*>("cmdAdd")->click();
        editor->findChild<QPushButton*>("cmdOK")->click();
    });
    const long id = AddGroupMain(nullptr, allUsers, groups);
    EXPECT_EQ(offered, QStringList{"TJONES"}); // the only transcriptionist under North
    ASSERT_EQ(id, 80);
    EXPECT_EQ(rows("SELECT user_name, description, flag3, partition_id FROM System_user_bindery WHERE user_id = 80"),
              std::vector<std::string>{"Night O'Clock|Late shift|2|1"});
    EXPECT_EQ(members(80), std::vector<std::string>{"61"});
    EXPECT_EQ(logRows(), std::vector<std::string>{"20011|2|2|50|1|Group Night O'Clock was added by user MGR."});
    EXPECT_EQ(wait.events,
              (std::vector<std::string>{"open User Management: Saving Group Information...Please Wait.", "close"}));
}

TEST_F(GroupScreens, CancelledEditorsSaveNothing) {
    RecordingWait wait;
    for (int i = 0; i < 2; ++i) {
        QTimer::singleShot(0, [&] {
            auto* editor = qobject_cast<UA_Group_Edit*>(QApplication::activeModalWidget());
            ASSERT_NE(editor, nullptr);
            editor->findChild<QLineEdit*>("txtGroupName")->setText("Changed");
            editor->findChild<QPushButton*>("cmdCancel")->click();
        });
        if (i == 0)
            EXPECT_EQ(AddGroupMain(nullptr, allUsers, groups), 0);
        else
            EXPECT_FALSE(EditGroup(nullptr, 70, allUsers, groups));
    }
    EXPECT_TRUE(wait.events.empty());
    EXPECT_TRUE(session().history.empty());
    EXPECT_EQ(group(70).m_strGroupName, "NURSES");
}

TEST_F(GroupScreens, EditGroupSavesTheChangesThroughTheStore) {
    QTimer::singleShot(0, [&] {
        auto* editor = qobject_cast<UA_Group_Edit*>(QApplication::activeModalWidget());
        ASSERT_NE(editor, nullptr);
        editor->findChild<QLineEdit*>("txtDescription")->setText("Day wards");
        auto* members = editor->findChild<QTableView*>("lvwMembers");
        members->selectRow(rowOf(members, "JDOE"));
        editor->findChild<QPushButton*>("cmdRemove")->click();
        editor->findChild<QPushButton*>("cmdOK")->click();
    });
    ASSERT_TRUE(EditGroup(nullptr, 70, allUsers, groups));
    EXPECT_EQ(scalar("SELECT description FROM System_user_bindery WHERE user_id = 70"), "Day wards");
    EXPECT_EQ(members(70), (std::vector<std::string>{"61", "67"}));
    EXPECT_EQ(logRows(), std::vector<std::string>{"20012|2|2|50|1|Group NURSES has been modified by MGR."});
}

TEST_F(GroupScreens, BuiltInAndSharedGroupsAreNeitherEditedNorDeleted) {
    group(70).m_lngGroupAttribute = clsSecurityGroup::kSystemCreated;
    group(71).Read_Only(true);
    EXPECT_FALSE(EditGroup(nullptr, 70, allUsers, groups));
    EXPECT_FALSE(DeleteGroupMain(nullptr, 70, groups));
    EXPECT_FALSE(EditGroup(nullptr, 71, allUsers, groups));
    EXPECT_FALSE(DeleteGroupMain(nullptr, 71, groups));
    ASSERT_EQ(recorder.shown.size(), 4u);
    const std::pair<std::string, std::string> expected[] = {
        {"This group cannot be edited because it is a built-in group.", "Edit Group"},
        {"NURSES is a built-in group.  Built-in groups cannot be deleted.", "Delete Group"},
        {"Shared groups cannot be edited", "Shared Group"},
        {"Shared groups cannot be deleted", "Shared Groups"},
    };
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(recorder.shown[i].text, expected[i].first);
        EXPECT_EQ(recorder.shown[i].title, expected[i].second);
    }
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_user_bindery WHERE user_id IN (70, 71)"), "2");
}

TEST_F(GroupScreens, DeleteAsksWithTheGroupsRelationshipsFirst) {
    exec("INSERT Physician_profile (physician_id, first_name, last_name) VALUES (501, 'Ann', 'Able')\n"
         "INSERT Signature_surrogates (dictator_physician_id, surrogate_physician_id, surrogate_group_id) VALUES "
         "(501, 0, 71)");
    recorder.answer(MsgAnswer::No);
    EXPECT_FALSE(DeleteGroupMain(nullptr, 71, groups));
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, "This group is a surrogate for the following users: Able, Ann\n\nAre you sure "
                                      "you want to delete group DOCS?  Note that this action will not delete the "
                                      "group members.");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_security_groups WHERE group_id = 71"), "1");
    recorder.answer(MsgAnswer::Yes);
    EXPECT_TRUE(DeleteGroupMain(nullptr, 71, groups));
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_user_bindery WHERE user_id = 71"), "0");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Signature_surrogates WHERE surrogate_group_id = 71"), "0");
    EXPECT_EQ(logRows(), std::vector<std::string>{"20013|2|2|50|1|Group DOCS was deleted by user MGR."});
}

TEST_F(GroupScreens, AddGroupsOffersTheGroupsTheUserMayStillJoin) {
    std::vector<long> drx = GroupsOfUser(62, groups);
    ASSERT_EQ(drx, std::vector<long>{71});
    QStringList offered;
    QTimer::singleShot(0, [&] {
        auto* picker = qobject_cast<UA_Add_Users_Groups*>(QApplication::activeModalWidget());
        ASSERT_NE(picker, nullptr);
        EXPECT_EQ(picker->windowTitle(), "Add Groups");
        offered = column(*picker->model(), 0);
        picker->model()->setAllChecked(true);
        picker->findChild<QPushButton*>("cmdOK")->click();
    });
    ASSERT_TRUE(AddUserGroups(nullptr, user(62), drx, groups));
    EXPECT_EQ(offered, QStringList{"NURSES"});
    EXPECT_EQ(drx, (std::vector<long>{71, 70}));
    EXPECT_TRUE(members(70).size() == 3u); // nothing written until the user editor's OK

    std::vector<long> jdoe = GroupsOfUser(60, groups); // NURSES already; DOCS takes physicians only
    EXPECT_FALSE(AddUserGroups(nullptr, user(60), jdoe, groups));
    ASSERT_FALSE(recorder.shown.empty());
    EXPECT_EQ(recorder.shown.back().text,
              "The user is already a member of all available groups.  There are no groups to add.");
}

TEST_F(GroupScreens, EffectiveAccessOfAGroupListsItsMembersAndWhatItGrantsThem) {
    exec("UPDATE System_user_bindery SET privilege_set1 = REPLICATE(CHAR(1), 12) + CHAR(2) + REPLICATE(CHAR(1), 147) "
         "WHERE user_id = 70");
    suite::HospAccount allNew;
    allNew.hosp_acct_id = -1;
    allNew.hosp_acct_name = "<template>";
    login.SetHospAccounts({allNew});
    clsPrivileges p;
    p.Init(login, 70, "NURSES", true, 1);
    ASSERT_TRUE(p.Load());
    UA_Effective_Access view(p);
    ASSERT_NE(view.memberModel(), nullptr);
    QAbstractItemModelTester tester(view.memberModel(), QAbstractItemModelTester::FailureReportingMode::Warning);
    EXPECT_EQ(column(*view.memberModel(), 0), (QStringList{"JDOE", "TJONES"})); // the deleted GONE is left out
    EXPECT_EQ(column(*view.memberModel(), 3), (QStringList{"North", "North General"}));
    EXPECT_EQ(view.findChild<QLabel*>("lblMembers")->text(), "&Members (2), each granted the rights below:");
    ASSERT_EQ(view.model()->grants().size(), 1u);
    EXPECT_EQ(view.model()->grants()[0].position, 12);
    EXPECT_EQ(view.model()->grants()[0].sources, "Group NURSES");

    clsPrivileges u;
    u.Init(login, 60, "JDOE", false, 1);
    ASSERT_TRUE(u.Load());
    UA_Effective_Access userView(u);
    EXPECT_EQ(userView.memberModel(), nullptr);
    EXPECT_EQ(userView.findChild<QTableView*>("lvwMembers"), nullptr);
}

} // namespace
