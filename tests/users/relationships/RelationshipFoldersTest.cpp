// The relationship folders of User Management driven through the screen's commands: the lists, the
// add flow (type, physician, editor), delete, the relations view and a physician user's delete.

#include "RelationshipFolders.h"
#include "UA_Choose_User.h"
#include "UserManagementFixture.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>

#include <functional>

using kdtest::UserScreenTest;
using platform::MsgAnswer;
using users::RelationshipFolders;
using users::UserFolder;

namespace {

// The user management site with physician users DRONE (physician 1), DRTWO (2), DRTHREE (3, in the
// sub-partition) and DRSOUTH (4, of the partition South, not shared here); DRTWO must be cosigned
// by DRTHREE at level 2.
class RelationshipFolderScreen : public UserScreenTest {
protected:
    void SetUp() override {
        UserScreenTest::SetUp();
        addUserRow(71, "DRONE", "'Ann', 'One', NULL, 1, 0, 0, 0, 1, 0, 0, 0, '', 0, 1, 0, 0");
        addUserRow(72, "DRTWO", "'Bob', 'Two', NULL, 1, 0, 0, 0, 2, 0, 0, 0, '', 0, 1, 0, 0");
        addUserRow(73, "DRTHREE", "'Cy', 'Three', NULL, 1, 0, 0, 0, 3, 0, 0, 0, '', 0, 3, 0, 0");
        addUserRow(74, "DRSOUTH", "'Di', 'South', NULL, 1, 0, 0, 0, 4, 0, 0, 0, '', 0, 2, 0, 0");
        std::string sql;
        for (int p = 1; p <= 4; ++p)
            sql += "INSERT Physician_profile (physician_id, first_name, last_name, flag2, partition_id) VALUES (" +
                   std::to_string(p) + ", 'F', 'L', " + std::to_string(70 + p) + ", 1)\n";
        sql += "INSERT INTO Signature_dependencies VALUES(2, 3, -1, 1, 1, 2, 0, 1, NULL, NULL, GETDATE(), 0, 0, 0, "
               "NULL, NULL, NULL)";
        exec(sql);
    }
    void openWithFolders() {
        screen = std::make_unique<users::UA_User_Mgmt>(login);
        RelationshipFolders::Install(*screen);
        ASSERT_TRUE(screen->MyShow());
        recorder.shown.clear();
        session().history.clear();
    }
    void run(const char* action) {
        for (const char* menu : {"mnuUserMenu", "mnuRelationship", "mnuRelationshipFolder", "mnuFolder"})
            if (QAction* a = screen->Menu(menu)->findChild<QAction*>(action)) {
                a->trigger();
                return;
            }
        ADD_FAILURE() << action;
    }
    QTableView* relationshipView() { return screen->findChild<QTableView*>("lvwRelationships"); }
    // The shown relationship list, one "a|b|c|d" line per row.
    std::vector<std::string> folderRows() {
        std::vector<std::string> out;
        const QAbstractItemModel* m = relationshipView()->model();
        for (int r = 0; m && r < m->rowCount(); ++r) {
            std::string line;
            for (int c = 0; c < m->columnCount(); ++c)
                line += (c ? "|" : "") + m->index(r, c).data().toString().toStdString();
            out.push_back(line);
        }
        return out;
    }
    static std::vector<std::string> listed(QTreeWidget* list) {
        std::vector<std::string> out;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            out.push_back(list->topLevelItem(i)->text(0).toStdString());
        return out;
    }
    static void pickItem(QTreeWidget* list, const char* text) {
        const auto found = list->findItems(text, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << text;
        list->setCurrentItem(found.front());
    }
    static void pickMember(QDialog& d, const char* text) {
        auto* member = child<QComboBox>(d, "cboMember");
        const int at = member->findText(text);
        ASSERT_GE(at, 0) << text;
        member->setCurrentIndex(at);
        click(d, "cmdAdd");
    }
    // Runs the dialogs the next command opens through the steps, in order.
    void script(std::vector<std::function<int(QDialog&)>> steps) {
        m_steps = std::move(steps);
        m_step = 0;
        screen->runDialog = [this](QDialog& d) {
            if (m_step >= m_steps.size()) {
                ADD_FAILURE() << "unexpected dialog " << d.objectName().toStdString();
                return int(QDialog::Rejected);
            }
            return m_steps[m_step++](d);
        };
    }
    size_t stepsRun() const { return m_step; }
    // The type dialog's step: checks the preselected option, then chooses one.
    static std::function<int(QDialog&)> typeStep(const char* preselected, const char* chosen) {
        return [preselected, chosen](QDialog& d) {
            EXPECT_EQ(d.objectName(), "UA_Signature_Type");
            EXPECT_TRUE(child<QRadioButton>(d, preselected)->isChecked()) << preselected;
            child<QRadioButton>(d, chosen)->setChecked(true);
            return int(QDialog::Accepted);
        };
    }

private:
    std::vector<std::function<int(QDialog&)>> m_steps;
    size_t m_step = 0;
};

TEST_F(RelationshipFolderScreen, TheFoldersListTheLoadedRelationships) {
    openWithFolders();
    ASSERT_TRUE(screen->SelectFolder(UserFolder::CosignatureRelationships));
    QAbstractItemModelTester tester(relationshipView()->model(),
                                    QAbstractItemModelTester::FailureReportingMode::Warning);
    EXPECT_EQ(folderRows(), (std::vector<std::string>{"DRTWO|Bob|Two|DRTHREE (Cosigner, Level 2)"}));
    EXPECT_EQ(relationshipView()->model()->headerData(3, Qt::Horizontal).toString(), "Cosigners");
    ASSERT_TRUE(screen->SelectFolder(UserFolder::SurrogateRelationships));
    EXPECT_EQ(folderRows(), std::vector<std::string>{});
    EXPECT_TRUE(screen->Menu("mnuRelationshipFolder")->findChild<QAction*>("AddRelationship2")->isEnabled());
}

TEST_F(RelationshipFolderScreen, AddingASurrogateAndAResidentGoesThroughTypeChooserAndEditor) {
    openWithFolders();
    ASSERT_TRUE(screen->SelectFolder(UserFolder::SurrogateRelationships));
    script({typeStep("optSurrogate", "optSurrogate"),
            [](QDialog& d) {
                EXPECT_EQ(d.windowTitle(), "Surrogate Relationship");
                EXPECT_EQ(child<QLabel>(d, "lblPrompt")->text(),
                          "Select the Paxlet physician that needs a Surrogate Relationship");
                auto* list = child<QTreeWidget>(d, "lvwUsers");
                // Physician users of the partition and below only; DRWHO has no relationship yet.
                EXPECT_EQ(listed(list), (std::vector<std::string>{"DRONE", "DRTHREE", "DRTWO", "DRWHO"}));
                EXPECT_FALSE(child<QPushButton>(d, "cmdOK")->isEnabled());
                pickItem(list, "DRONE");
                click(d, "cmdOK");
                return d.result();
            },
            [](QDialog& d) {
                EXPECT_EQ(d.objectName(), "UA_Surrogate_Edit");
                pickMember(d, "DRTWO");
                click(d, "cmdOK");
                return d.result();
            }});
    run("AddRelationship2");
    EXPECT_EQ(stepsRun(), 3u);
    EXPECT_EQ(recorder.shown.size(), 0u);
    EXPECT_EQ(folderRows(), (std::vector<std::string>{"DRONE|Ann|One|DRTWO"}));
    EXPECT_EQ(rows("SELECT dictator_physician_id, surrogate_physician_id, surrogate_group_id FROM "
                   "Signature_surrogates"),
              (std::vector<std::string>{"1|2|-1"}));
    EXPECT_EQ(rows("SELECT physician_id, related_physician_id, relationship_type, access_type FROM "
                   "Signature_relationships"),
              (std::vector<std::string>{"1|2|2|2"}));

    // From the surrogate folder the resident kind is chosen; the folder follows what was added.
    script({typeStep("optSurrogate", "optResident"),
            [](QDialog& d) {
                EXPECT_EQ(d.windowTitle(), "Resident Relationship");
                // DRTWO already has a cosigner relationship.
                EXPECT_EQ(listed(child<QTreeWidget>(d, "lvwUsers")),
                          (std::vector<std::string>{"DRONE", "DRTHREE", "DRWHO"}));
                pickItem(child<QTreeWidget>(d, "lvwUsers"), "DRTHREE");
                click(d, "cmdOK");
                return d.result();
            },
            [](QDialog& d) {
                EXPECT_EQ(d.objectName(), "UA_Resident_Edit");
                pickMember(d, "DRONE");
                click(d, "cmdOK");
                return d.result();
            }});
    run("AddRelationship2");
    EXPECT_EQ(stepsRun(), 3u);
    EXPECT_EQ(folderRows(), (std::vector<std::string>{"DRTHREE|Cy|Three|DRONE (Resident, Level 1)"}));
    EXPECT_EQ(rows("SELECT dictator_physician_id, cosigner_physician_id, cosigner_physician_type FROM "
                   "Signature_dependencies ORDER BY dictator_physician_id"),
              (std::vector<std::string>{"2|3|1", "3|1|2"}));
    EXPECT_EQ(logRows(),
              (std::vector<std::string>{"20005|2|2|50|1|User DRTHREE signature relationships have been changed by MGR.",
                                        "20007|2|2|50|1|User DRONE surrogate relationship has been added by MGR."}));
}

TEST_F(RelationshipFolderScreen, WithEveryPhysicianTakenTheChooserIsNotOpened) {
    exec("INSERT INTO Signature_surrogates VALUES (1, 2, -1, NULL, NULL, GETDATE(), 0, 0, 0, NULL, NULL, NULL)\n"
         "INSERT INTO Signature_surrogates VALUES (2, 1, -1, NULL, NULL, GETDATE(), 0, 0, 0, NULL, NULL, NULL)\n"
         "INSERT INTO Signature_surrogates VALUES (3, 1, -1, NULL, NULL, GETDATE(), 0, 0, 0, NULL, NULL, NULL)\n"
         "INSERT INTO Signature_surrogates VALUES (7, 1, -1, NULL, NULL, GETDATE(), 0, 0, 0, NULL, NULL, NULL)");
    openWithFolders();
    ASSERT_TRUE(screen->SelectFolder(UserFolder::SurrogateRelationships));
    EXPECT_EQ(folderRows().size(), 4u);
    script({typeStep("optSurrogate", "optSurrogate")});
    run("AddRelationship2");
    EXPECT_EQ(stepsRun(), 1u);
    EXPECT_EQ(texts(), "All available Paxlet users are configured as surrogate physicians. [Add Surrogate "
                       "Relationship]\n");
}

TEST_F(RelationshipFolderScreen, DeletingTheSelectedRelationshipAsksAndLogs) {
    openWithFolders();
    screen->SelectUsers({72}); // left selected in the users list behind the folder
    ASSERT_TRUE(screen->SelectFolder(UserFolder::CosignatureRelationships));
    relationshipView()->setCurrentIndex(relationshipView()->model()->index(0, 0));
    std::string viewed;
    script({[&viewed](QDialog& d) {
        viewed = d.objectName().toStdString() + ": " + child<QLabel>(d, "lblOutward")->text().toStdString();
        return int(QDialog::Rejected);
    }});
    run("ViewAllRelationships");
    EXPECT_EQ(viewed, "UA_View_Relations: DRTWO --> Others");

    // The Delete key in the folder deletes the relationship, not the user selected behind it.
    screen->show();
    QApplication::setActiveWindow(screen.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(screen.get()));
    relationshipView()->setFocus();
    recorder.answer(MsgAnswer::No);
    QTest::keyClick(relationshipView(), Qt::Key_Delete);
    EXPECT_EQ(texts(), "Are you sure you want to delete the Cosigner Relationship for DRTWO? [Delete Relationship]\n");
    EXPECT_EQ(rows("SELECT COUNT(*) FROM Signature_dependencies"), std::vector<std::string>{"1"});
    recorder.shown.clear();
    recorder.answer(MsgAnswer::Yes);
    run("DeleteRelationship");
    EXPECT_EQ(rows("SELECT COUNT(*) FROM Signature_dependencies"), std::vector<std::string>{"0"});
    EXPECT_EQ(folderRows(), std::vector<std::string>{});
    EXPECT_EQ(logRows(),
              std::vector<std::string>{"20005|2|2|50|1|User DRTWO signature relationships have been changed by MGR."});
}

TEST_F(RelationshipFolderScreen, DeletingAPhysicianUserListsAndRemovesItsRelationships) {
    exec("INSERT INTO Signature_surrogates VALUES (1, 2, -1, NULL, NULL, GETDATE(), 0, 0, 0, NULL, NULL, NULL)\n"
         "INSERT INTO Signature_surrogates VALUES (3, 1, -1, NULL, NULL, GETDATE(), 0, 0, 0, NULL, NULL, NULL)\n"
         "INSERT INTO Signature_relationships VALUES (1, 2, 2, 2, 0, NULL, NULL, 0, 0, 0, NULL, NULL, NULL)");
    openWithFolders();
    screen->SelectUsers({72});
    recorder.answer(MsgAnswer::Yes);
    run("DeleteUser");
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text,
              "This user is a surrogate for the following users: DRONE\n"
              "This user is in a cosigner or resident relationship with the following users: DRTHREE\n"
              "\nAre you sure you want to delete user DRTWO from the entire system?");
    EXPECT_EQ(rows("SELECT dictator_physician_id, surrogate_physician_id FROM Signature_surrogates"),
              std::vector<std::string>{"3|1"});
    EXPECT_EQ(rows("SELECT COUNT(*) FROM Signature_dependencies"), std::vector<std::string>{"0"});
    EXPECT_EQ(rows("SELECT COUNT(*) FROM Signature_relationships"), std::vector<std::string>{"0"});
    // The folders show what is left, without the deleted physician.
    ASSERT_TRUE(screen->SelectFolder(UserFolder::SurrogateRelationships));
    EXPECT_EQ(folderRows(), (std::vector<std::string>{"DRTHREE|Cy|Three|DRONE"}));
    ASSERT_TRUE(screen->SelectFolder(UserFolder::CosignatureRelationships));
    EXPECT_EQ(folderRows(), std::vector<std::string>{});
}

} // namespace
