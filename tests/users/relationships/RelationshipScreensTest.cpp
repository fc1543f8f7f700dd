// The relationship type dialog, the surrogate and resident/cosigner editors, the locked reports list
// and the message dialog, driven through their controls on a fresh database.

#include "LockedReportsModel.h"
#include "RelationshipFixture.h"
#include "UA_LockedReports.h"
#include "UA_Resident_Edit.h"
#include "UA_Send_Message.h"
#include "UA_Signature_Type.h"
#include "UA_Surrogate_Edit.h"
#include "UA_View_Relations.h"
#include "clsSignatureRelationships.h"
#include "modUserStore.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTreeWidget>

using namespace users;

namespace {

class RelationshipScreens : public kdtest::RelationshipTest {
protected:
    void SetUp() override {
        RelationshipTest::SetUp();
        ASSERT_TRUE(LoadActiveUsers(&loadedUsers));
        ASSERT_TRUE(LoadGroupsIntoCollection(&loadedGroups));
        exec("INSERT INTO Signature_surrogates VALUES (1, 2, -1, NULL, NULL, GETDATE(), 0, 0, 0, NULL, NULL, NULL)");
        ASSERT_TRUE(rel.LoadSurrogates());
        ASSERT_TRUE(rel.LoadDependencies());
        recorder.shown.clear();
    }
    static QStringList comboItems(QComboBox* c) {
        QStringList out;
        for (int i = 0; i < c->count(); ++i)
            out << c->itemText(i);
        return out;
    }
    static void pick(QComboBox* c, const QString& text) {
        const int at = c->findText(text);
        ASSERT_GE(at, 0) << text.toStdString();
        c->setCurrentIndex(at);
    }
    static std::vector<std::string> texts(QTreeWidget* list) {
        std::vector<std::string> out;
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            std::string line;
            for (int c = 0; c < list->columnCount(); ++c)
                line += (c ? "|" : "") + list->topLevelItem(i)->text(c).toStdString();
            out.push_back(line);
        }
        return out;
    }
    clsUsers loadedUsers;
    clsSecurityGroups loadedGroups;
    clsSignatureRelationships rel;
};

TEST_F(RelationshipScreens, TheTypeDialogDescribesTheSurrogateChoiceAndReturnsTheChosenKind) {
    UA_Signature_Type dialog;
    EXPECT_EQ(dialog.windowTitle(), "Add Signature Relationship Type");
    EXPECT_EQ(dialog.findChild<QLabel*>("lblDescription")->text().toStdString(),
              "Select this option to allow selected physicians to sign and view for a another specified physician.  "
              "An effective date range can be specified for this type of relationship.");
    EXPECT_EQ(dialog.Selected(), UA_Signature_Type::Kind::Surrogate);
    dialog.findChild<QRadioButton*>("optCosigner")->click();
    EXPECT_EQ(dialog.Selected(), UA_Signature_Type::Kind::Cosigner);
    EXPECT_NE(dialog.findChild<QLabel*>("lblDescription")->text().toStdString().find("cosigned"), std::string::npos);
    dialog.findChild<QRadioButton*>("optResident")->click();
    EXPECT_EQ(dialog.Selected(), UA_Signature_Type::Kind::Resident);
    dialog.findChild<QRadioButton*>("optGroup")->click();
    EXPECT_EQ(dialog.Selected(), UA_Signature_Type::Kind::Group);
}

TEST_F(RelationshipScreens, TheSurrogateEditorChecksThePeriodAndSavesTheList) {
    UA_Surrogate_Edit editor(rel, loadedUsers, loadedGroups);
    editor.LoadForm(1, "DRONE", false);
    EXPECT_EQ(editor.windowTitle(), "Edit Surrogate Signature Relationship");
    EXPECT_EQ(editor.findChild<QLabel*>("lblCaption")->text(),
              "The following physicians can view and sign reports for DRONE.");
    auto* list = editor.findChild<QTreeWidget*>("lvwSurrogates");
    EXPECT_EQ(texts(list), (std::vector<std::string>{"DRTWO|Physician||"}));
    // Neither the physician itself, nor one taken, nor one of a partition out of sight.
    auto* member = editor.findChild<QComboBox*>("cboMember");
    EXPECT_EQ(comboItems(member), (QStringList{"DRTHREE", "CARDIO (Group)"}));
    pick(member, "CARDIO (Group)");
    editor.findChild<QPushButton*>("cmdAdd")->click();
    EXPECT_EQ(comboItems(member), (QStringList{"DRTHREE"}));
    EXPECT_EQ(list->currentItem()->text(0), "CARDIO");
    editor.findChild<QCheckBox*>("chkStartDate")->setChecked(true);
    editor.findChild<QDateEdit*>("dtpStartDate")->setDate(QDate(2026, 12, 10));
    editor.findChild<QCheckBox*>("chkExpireDate")->setChecked(true);
    editor.findChild<QDateEdit*>("dtpExpireDate")->setDate(QDate(2026, 12, 10));
    editor.findChild<QPushButton*>("cmdOK")->click();
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text,
              "The Expiration Date must be greater than the Start Date.  Please adjust the dates.");
    EXPECT_EQ(recorder.shown[0].title, "Error");
    EXPECT_EQ(editor.result(), QDialog::Rejected);
    EXPECT_EQ(rows("SELECT COUNT(*) FROM Signature_surrogates"), (std::vector<std::string>{"1"}));
    editor.findChild<QDateEdit*>("dtpExpireDate")->setDate(QDate(2027, 1, 31));
    EXPECT_EQ(texts(list)[1], "CARDIO|Group|2026-12-10|2027-01-31");
    editor.findChild<QPushButton*>("cmdOK")->click();
    EXPECT_EQ(editor.result(), QDialog::Accepted);
    EXPECT_EQ(rows("SELECT surrogate_physician_id, surrogate_group_id, CONVERT(char(10), effective_date, 120), "
                   "CONVERT(char(10), expire_date, 120) FROM Signature_surrogates ORDER BY surrogate_group_id"),
              (std::vector<std::string>{"2|-1|NULL|NULL", "0|400|2026-12-10|2027-01-31"}));
    EXPECT_EQ(logRows().back(), "20006|2|2|50|1|User DRONE surrogate relationships have been changed by MGR.");
}

// Tab runs from the list through the choice and the row's details to the buttons in both editors.
TEST_F(RelationshipScreens, TheEditorsTabFromTheListThroughTheDetailsToTheButtons) {
    const auto chain = [](QWidget& dialog, const char* list) {
        std::vector<std::string> names;
        QWidget* w = dialog.findChild<QWidget*>(list);
        for (int i = 0; w && i < 40 && w->objectName() != "cmdCancel"; ++i, w = w->nextInFocusChain())
            if ((w->focusPolicy() & Qt::TabFocus) && !w->objectName().isEmpty() && !w->objectName().startsWith("qt_"))
                names.push_back(w->objectName().toStdString());
        names.push_back(w ? w->objectName().toStdString() : "");
        return names;
    };
    UA_Surrogate_Edit surrogates(rel, loadedUsers, loadedGroups);
    EXPECT_EQ(chain(surrogates, "lvwSurrogates"),
              (std::vector<std::string>{"lvwSurrogates", "cboMember", "cmdAdd", "cmdRemove", "chkStartDate",
                                        "dtpStartDate", "chkExpireDate", "dtpExpireDate", "cmdOK", "cmdCancel"}));
    UA_Resident_Edit residents(rel, loadedUsers, loadedGroups);
    EXPECT_EQ(
        chain(residents, "lvwCosigners"),
        (std::vector<std::string>{"lvwCosigners", "cboMember", "cmdAdd", "cmdRemove", "cboCosignerLevel",
                                  "chkCosignerRequired", "cboDictatorLevel", "chkDictatorRequired", "chkStartDate",
                                  "dtpStartDate", "chkExpireDate", "dtpExpireDate", "cmdOK", "cmdCancel"}));
}

TEST_F(RelationshipScreens, SavingTheSurrogateEditorEmptyAsksAndDeletes) {
    UA_Surrogate_Edit editor(rel, loadedUsers, loadedGroups);
    editor.LoadForm(1, "DRONE", false);
    auto* list = editor.findChild<QTreeWidget*>("lvwSurrogates");
    list->setCurrentItem(list->topLevelItem(0));
    editor.findChild<QPushButton*>("cmdRemove")->click();
    EXPECT_EQ(list->topLevelItemCount(), 0);
    recorder.answer(platform::MsgAnswer::Cancel);
    editor.findChild<QPushButton*>("cmdOK")->click();
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text,
              "No surrogates have been specified. This surrogate relationship will be deleted.");
    EXPECT_EQ(recorder.shown[0].title, "Save Surrogate Relationship");
    EXPECT_EQ(rows("SELECT COUNT(*) FROM Signature_surrogates"), (std::vector<std::string>{"1"}));
    recorder.answer(platform::MsgAnswer::OK);
    editor.findChild<QPushButton*>("cmdOK")->click();
    EXPECT_EQ(editor.result(), QDialog::Accepted);
    EXPECT_EQ(rows("SELECT COUNT(*) FROM Signature_surrogates"), (std::vector<std::string>{"0"}));
}

TEST_F(RelationshipScreens, TheResidentEditorWritesLevelsAndRequiredFlags) {
    UA_Resident_Edit editor(rel, loadedUsers, loadedGroups);
    editor.LoadForm(3, "DRTHREE", true);
    EXPECT_EQ(editor.windowTitle(), "Edit Resident Relationship");
    auto* member = editor.findChild<QComboBox*>("cboMember");
    EXPECT_EQ(comboItems(member), (QStringList{"DRONE", "DRTWO", "CARDIO (Group)"}));
    pick(member, "DRTWO");
    editor.findChild<QPushButton*>("cmdAdd")->click();
    editor.findChild<QComboBox*>("cboCosignerLevel")->setCurrentIndex(1);
    editor.findChild<QCheckBox*>("chkDictatorRequired")->setChecked(true);
    editor.findChild<QComboBox*>("cboDictatorLevel")->setCurrentIndex(2);
    auto* list = editor.findChild<QTreeWidget*>("lvwCosigners");
    EXPECT_EQ(texts(list), (std::vector<std::string>{"DRTWO|Resident|Level 2|Yes|Level 3|Yes||"}));
    editor.findChild<QPushButton*>("cmdOK")->click();
    EXPECT_EQ(editor.result(), QDialog::Accepted);
    EXPECT_EQ(rows("SELECT dictator_physician_id, cosigner_physician_id, cosigner_group_id, cosigner_physician_type, "
                   "cosigner_signature_required, cosigner_signature_level, dictator_signature_required, "
                   "dictator_signature_level FROM Signature_dependencies"),
              (std::vector<std::string>{"3|2|-1|2|1|2|1|3"}));
    EXPECT_EQ(logRows().back(), "20005|2|2|50|1|User DRTHREE signature relationships have been changed by MGR.");
}

// OK stops at the first row whose period ends before it starts, selects that row and writes nothing.
TEST_F(RelationshipScreens, TheCosignerEditorStopsAtTheRowWhosePeriodEndsTooEarly) {
    UA_Resident_Edit editor(rel, loadedUsers, loadedGroups);
    editor.LoadForm(3, "DRTHREE", false);
    auto* member = editor.findChild<QComboBox*>("cboMember");
    pick(member, "DRTWO");
    editor.findChild<QPushButton*>("cmdAdd")->click();
    editor.findChild<QCheckBox*>("chkStartDate")->setChecked(true);
    editor.findChild<QDateEdit*>("dtpStartDate")->setDate(QDate(2026, 12, 10));
    editor.findChild<QCheckBox*>("chkExpireDate")->setChecked(true);
    editor.findChild<QDateEdit*>("dtpExpireDate")->setDate(QDate(2026, 12, 9));
    pick(member, "CARDIO (Group)");
    editor.findChild<QPushButton*>("cmdAdd")->click();
    auto* list = editor.findChild<QTreeWidget*>("lvwCosigners");
    ASSERT_EQ(list->indexOfTopLevelItem(list->currentItem()), 1);
    editor.findChild<QPushButton*>("cmdOK")->click();
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text,
              "The Expiration Date must be greater than the Start Date.  Please adjust the dates.");
    EXPECT_EQ(list->indexOfTopLevelItem(list->currentItem()), 0);
    EXPECT_EQ(editor.result(), QDialog::Rejected);
    EXPECT_EQ(rows("SELECT COUNT(*) FROM Signature_dependencies"), (std::vector<std::string>{"0"}));
}

TEST_F(RelationshipScreens, TheLockedReportsListReleasesTheSelectedLocksAndRefreshes) {
    exec("INSERT Locked_reports VALUES ('TNONE', '2026-12-05 08:00:00.123', '2026-12-05 09:30:15.123', 501, 10, 4, "
         "1, 305, 'Kurt', 'O''Neil', 'MRN1', '7001', 'One, Ann', 'NGH-TR-04')\n"
         "INSERT Locked_reports VALUES ('TNONE', '2026-12-05 06:00:00', '2026-12-05 06:10:00', 503, 20, 4, 1, 305, "
         "'Out', 'Side', 'MRN3', '7003', 'Four, Di', '')");
    UA_LockedReports screen;
    ASSERT_TRUE(screen.LoadList());
    QAbstractItemModelTester tester(screen.model(), QAbstractItemModelTester::FailureReportingMode::Warning);
    EXPECT_EQ(screen.windowTitle(), "Locked Reports");
    auto* model = screen.model();
    ASSERT_EQ(model->columnCount(), 9);
    QStringList headers;
    for (int c = 0; c < 9; ++c)
        headers << model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    EXPECT_EQ(headers, (QStringList{"Username", "Time of Lock", "Document ID", "Report Create Date", "Patient Name",
                                    "Computer", "Account", "Report Type", "Dictator"}));
    ASSERT_EQ(model->rowCount(), 1);
    QStringList row;
    for (int c = 0; c < 9; ++c)
        row << model->data(model->index(0, c)).toString();
    EXPECT_EQ(row, (QStringList{"TNONE", "2026-12-05 09:30:15.123", "501", "2026-12-05 08:00:00.123", "O'Neil, Kurt",
                                "NGH-TR-04", "10", "", "One, Ann"}));
    exec("INSERT Signature_session_locks VALUES (601, 3, '2026-12-05 10:00:00')\n"
         "INSERT Document_demographics (document_id, hosp_acct_id, report_type_nbr, create_date) VALUES (601, 11, 4, "
         "'2026-12-04')");
    screen.findChild<QPushButton*>("cmdRefresh")->click();
    ASSERT_EQ(model->rowCount(), 2);
    auto* view = screen.findChild<QTableView*>("LVReports");
    view->selectAll();
    screen.findChild<QPushButton*>("cmdRelease")->click();
    EXPECT_EQ(model->rowCount(), 0);
    EXPECT_EQ(rows("SELECT document_id FROM Locked_reports"), (std::vector<std::string>{"503"}));
    EXPECT_EQ(rows("SELECT COUNT(*) FROM Signature_session_locks"), (std::vector<std::string>{"0"}));
    EXPECT_EQ(logRows().size(), 2u);
}

TEST_F(RelationshipScreens, TheMessageDialogSendsToUsersAndGroupMembersOnce) {
    UA_Send_Message dialog(50, {{302, "DRTWO"}, {301, "DRONE"}}, {{400, "CARDIO"}});
    EXPECT_EQ(dialog.findChild<QLabel*>("lblRecipients")->text(), "To: DRTWO, DRONE, CARDIO (Group)");
    EXPECT_EQ(dialog.findChild<QLabel*>("lblInfo")->text(),
              "The above message will be presented to the selected users the next time they login to Veltra Text.");
    dialog.findChild<QPushButton*>("cmdSend")->click();
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, "A blank message cannot be sent.  Please enter a message.");
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    auto* text = dialog.findChild<QPlainTextEdit*>("txtMessage");
    text->setPlainText(QString(10000, QChar('a')));
    EXPECT_EQ(text->toPlainText().size(), 1000);
    text->setPlainText("It's done");
    dialog.findChild<QPushButton*>("cmdSend")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(rows("SELECT user_id, message FROM System_user_messages ORDER BY user_id"),
              (std::vector<std::string>{"301|It's done", "302|It's done", "303|It's done", "305|It's done"}));
}

} // namespace

namespace {

TEST_F(RelationshipScreens, TheRelationsViewListsBothDirections) {
    exec("INSERT INTO Signature_relationships VALUES (1, 2, 2, 2, 0, NULL, NULL, 0, 0, 0, NULL, NULL, NULL)");
    UA_View_Relations view;
    ASSERT_TRUE(view.LoadForm(2, "DRTWO"));
    EXPECT_EQ(view.findChild<QLabel*>("lblOutward")->text(), "DRTWO --> Others");
    EXPECT_EQ(view.findChild<QLabel*>("lblInward")->text(), "Others --> DRTWO");
    EXPECT_EQ(texts(view.findChild<QTreeWidget*>("lvwOutward")),
              (std::vector<std::string>{"DRONE|Surrogate|Signing||||"}));
    EXPECT_TRUE(texts(view.findChild<QTreeWidget*>("lvwInward")).empty());
}

} // namespace
