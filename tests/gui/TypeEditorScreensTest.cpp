#include "DatabaseSession.h"
#include "EventLog.h"
#include "LoginComponent.h"
#include "MessageService.h"
#include "OdbcFixture.h"
#include "SessionHelper.h"
#include "TE_Pauses.h"
#include "TE_SuspTypes.h"
#include "TE_Type_Editor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

using platform::MsgAnswer;

namespace {

// Accounts 10 and 20 made from the template, so each has its 20 system suspension types and 3
// activity types; the administrator's name goes into the log rows.
class TypeScreens : public kdtest::SuiteTest {
protected:
    void SetUp() override {
        SuiteTest::SetUp();
        exec("EXECUTE account_check 10\nEXECUTE account_check 20");
        kdtest::connectSession(odbc.folder(), "KALDRA");
        foundation::EventLog::context() = foundation::LogContext{};
        foundation::EventLog::context().userName = "admin";
        std::vector<suite::HospAccount> cache;
        for (long id : {-1L, 10L, 20L}) {
            suite::HospAccount a;
            a.hosp_acct_id = id;
            a.hosp_acct_name = "Account " + std::to_string(id);
            cache.push_back(a);
        }
        login.SetHospAccounts(cache);
    }
    void TearDown() override { foundation::DatabaseSession::instance().DisconnectFromSQL(); }

    template <typename T>
    static T* child(QWidget& w, const char* name) {
        T* c = w.findChild<T*>(name);
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    static void click(QWidget& w, const char* name) { child<QPushButton>(w, name)->click(); }
    static void type(QWidget& w, const char* name, const QString& text) {
        auto* field = child<QLineEdit>(w, name);
        field->selectAll();
        bool ascii = true;
        for (QChar c : text)
            ascii = ascii && c.unicode() < 128;
        if (ascii)
            QTest::keyClicks(field, text);
        else
            field->insert(text); // as an input method commits it
    }
    static QStringList column(QTreeWidget* list, int c) {
        QStringList out;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            out << list->topLevelItem(i)->text(c);
        return out;
    }
    static void select(QTreeWidget* list, const QString& first) {
        const auto found = list->findItems(first, Qt::MatchExactly, 0);
        ASSERT_EQ(found.size(), 1) << first.toStdString();
        list->setCurrentItem(found[0]);
    }
    std::string texts() const {
        std::string out;
        for (const auto& s : recorder.shown)
            out += s.text + " [" + s.title + "]\n";
        return out;
    }

    platform::MessageRecorder recorder;
    suite::LoginComponent login;
};

TEST_F(TypeScreens, SuspensionListShowsUserTypesAndSystemTypesOnRequest) {
    exec("INSERT Suspension_types VALUES (-1, 25, 0, 'Lab results')");
    accounts::TE_SuspTypes screen;
    screen.ShowSuspTypeList();
    auto* list = child<QTreeWidget>(screen, "lvwTypes");
    EXPECT_EQ(column(list, 0), QStringList{"25"});
    EXPECT_EQ(column(list, 1), QStringList{"Lab results (User)"});
    child<QCheckBox>(screen, "chkShowSystem")->click();
    ASSERT_EQ(list->topLevelItemCount(), 21);
    EXPECT_EQ(list->topLevelItem(0)->text(1), "Waiting for Information (System)");
    EXPECT_EQ(list->topLevelItem(20)->data(1, Qt::UserRole).toString(), "P025");
}

TEST_F(TypeScreens, AddingASuspensionTypeChecksTheDescriptionAndWritesEveryAccount) {
    accounts::TE_SuspTypes screen;
    screen.ShowSuspTypeList();
    int dialogs = 0;
    screen.runDialog = [&](QDialog& d) {
        ++dialogs;
        EXPECT_EQ(d.windowTitle(), "Add Suspension Type");
        auto* number = child<QComboBox>(d, "CBTypeNumber");
        EXPECT_EQ(number->count(), 235);
        EXPECT_EQ(number->itemText(0), "21");
        number->setCurrentIndex(number->findText("200"));
        click(d, "cmdOK"); // no description yet
        EXPECT_EQ(texts(), "Please enter an activity description. [Error]\n");
        type(d, "txtDescription", QString::fromUtf8("Alert: M\xC3\xBCller's chart"));
        click(d, "cmdOK");
        return d.result();
    };
    click(screen, "cmdAdd");
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Suspension_types WHERE suspension_type = 200 AND suspension_description = "
                     "'Alert: M\xC3\xBCller''s chart'"),
              "3"); // -1, 10 and 20
    EXPECT_EQ(column(child<QTreeWidget>(screen, "lvwTypes"), 0), QStringList{"200"});
    EXPECT_EQ(recorder.shown.size(), 1u);
}

TEST_F(TypeScreens, WithEveryUserNumberTakenAddIsRefused) {
    exec("DECLARE @t int\nSET @t = 21\nWHILE @t <= 255\nBEGIN\nINSERT Suspension_types VALUES (-1, @t, 0, 'T')\n"
         "SET @t = @t + 1\nEND");
    accounts::TE_SuspTypes screen;
    screen.ShowSuspTypeList();
    bool opened = false;
    screen.runDialog = [&opened](QDialog&) {
        opened = true;
        return 0;
    };
    click(screen, "cmdAdd");
    EXPECT_FALSE(opened);
    EXPECT_EQ(texts(), "Maximum number of types reached.  No more can be added. [Suspension Type Editor]\n");
}

TEST_F(TypeScreens, SystemSuspensionTypesAreNeitherChangedNorDeleted) {
    exec("INSERT Suspension_types SELECT hosp_acct_id, 21, 0, 'Coding query' FROM Account_info");
    accounts::TE_SuspTypes screen;
    screen.ShowSuspTypeList();
    child<QCheckBox>(screen, "chkShowSystem")->click();
    auto* list = child<QTreeWidget>(screen, "lvwTypes");
    screen.runDialog = [](QDialog&) {
        ADD_FAILURE() << "no dialog for a system type";
        return 0;
    };
    select(list, "20");
    click(screen, "cmdEdit");
    click(screen, "cmdDelete");
    EXPECT_EQ(texts(), "System suspension types cannot be changed. [Suspension Type Editor]\n"
                       "System suspension types cannot be deleted from the system. [Suspension Type Editor]\n");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Suspension_types WHERE suspension_type = 20"), "3");
    recorder.shown.clear();
    select(list, "21");
    recorder.answer(MsgAnswer::No);
    click(screen, "cmdDelete");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Suspension_types WHERE suspension_type = 21"), "3");
    recorder.answer(MsgAnswer::Yes);
    click(screen, "cmdDelete");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Suspension_types WHERE suspension_type = 21"), "0");
    ASSERT_EQ(recorder.shown.size(), 2u);
    EXPECT_EQ(recorder.shown[1].text, "Are you sure you would like to delete suspension type 'Coding query' (21)?");
    EXPECT_EQ(recorder.shown[1].title, "Delete Suspension Type");
    EXPECT_EQ(scalar("SELECT msg1 FROM System_log WHERE error_code = 20063"),
              "Suspension type 'Coding query' (21) deleted by admin.");
}

TEST_F(TypeScreens, EditingAUserSuspensionTypeChangesItsDescriptionEverywhere) {
    exec("INSERT Suspension_types SELECT hosp_acct_id, 30, 0, 'Old text' FROM Account_info");
    accounts::TE_SuspTypes screen;
    screen.ShowSuspTypeList();
    screen.runDialog = [&](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Edit Suspension Type");
        auto* number = child<QComboBox>(d, "CBTypeNumber");
        EXPECT_EQ(number->currentText(), "30");
        EXPECT_FALSE(number->isEnabled());
        EXPECT_EQ(child<QLineEdit>(d, "txtDescription")->text(), "Old text");
        type(d, "txtDescription", "New text");
        click(d, "cmdOK");
        return d.result();
    };
    auto* list = child<QTreeWidget>(screen, "lvwTypes");
    emit list->itemDoubleClicked(list->topLevelItem(0), 0);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Suspension_types WHERE suspension_type = 30 AND suspension_description = "
                     "'New text'"),
              "3");
    EXPECT_EQ(column(list, 1), QStringList{"New text (User)"});
    EXPECT_TRUE(recorder.shown.empty());
}

TEST_F(TypeScreens, ActivityTypesListAddAndTheirDeleteRules) {
    accounts::TE_Pauses screen;
    screen.ShowPauseTypeList();
    auto* list = child<QTreeWidget>(screen, "lvwTypes");
    EXPECT_EQ(column(list, 1), (QStringList{"Break", "Meeting", "Training"}));
    EXPECT_EQ(column(list, 2), (QStringList{"Non-work", "Other", "Other"}));
    EXPECT_EQ(column(list, 4), (QStringList{"Yes", "Yes", "No"}));
    screen.runDialog = [&](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Add Activity Type");
        type(d, "txtDescription", "Phone");
        child<QComboBox>(d, "cmbCountAsWork")->setCurrentIndex(1);
        child<QComboBox>(d, "cmbPauseChoice")->setCurrentIndex(1); // "No"
        click(d, "cmdOK");
        return d.result();
    };
    click(screen, "cmdAdd");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Pause_types WHERE pause_type = 4 AND pause_description = 'Phone' AND "
                     "work_type = 1 AND work_hours_choice = 1 AND pause_reason_choice = 0"),
              "3");
    EXPECT_EQ(list->currentItem()->text(0), "4");

    // A type one Trans_activity row refers to stays.
    exec("INSERT Trans_activity VALUES ('JS', 2, '2026-12-01 08:00:00', NULL)");
    select(list, "2");
    click(screen, "cmdDelete");
    EXPECT_EQ(texts(), "This activity type is already referenced and cannot be deleted. [Delete Error]\n");
    recorder.shown.clear();
    select(list, "3");
    recorder.answer(MsgAnswer::Yes);
    click(screen, "cmdDelete");
    EXPECT_EQ(texts(), "Are you sure you would like to delete activity type 'Training' (3)? [Delete Activity Type]\n");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Pause_types WHERE pause_type = 3"), "0");

    // The last one stays too.
    exec("DELETE FROM Pause_types WHERE pause_type <> 1");
    screen.ShowPauseTypeList();
    recorder.shown.clear();
    click(screen, "cmdDelete");
    EXPECT_EQ(texts(), "The last activity type cannot be deleted.  At least one must exist. [Delete Error]\n");
}

TEST_F(TypeScreens, PerAccountEditorWritesEveryAccountAllOrNothing) {
    accounts::TE_Type_Editor editor(login, accounts::clsAccountTypes::Mode::Suspension);
    editor.EditTypes();
    EXPECT_EQ(editor.windowTitle(), "Suspension Types Editor");
    auto* accountsList = child<QListWidget>(editor, "AccountList");
    ASSERT_EQ(accountsList->count(), 2); // the template is not an account to edit
    EXPECT_EQ(accountsList->item(0)->text(), "Account 10");
    auto* types = child<QTreeWidget>(editor, "LVTypes");
    EXPECT_EQ(types->topLevelItemCount(), 10); // 11 .. 20
    editor.runDialog = [&](QDialog& d) {
        auto* number = child<QComboBox>(d, "CBTypeNumber");
        EXPECT_EQ(number->itemText(0), "21"); // 11 .. 20 are taken in this account
        click(d, "BOK");
        EXPECT_EQ(texts(), "Description cannot be blank.  Please enter a description. [Invalid Entry]\n");
        type(d, "txtDescription", "Per account");
        click(d, "BOK");
        return d.result();
    };
    click(editor, "BAdd");
    EXPECT_EQ(types->topLevelItemCount(), 11);
    recorder.shown.clear();
    click(editor, "BUseForAll");
    const std::string before = scalar("SELECT COUNT(*) FROM Suspension_types");
    // The link drops before the batch's last INSERT, on the first try and on the session's retry.
    const int inserts = 2 * 11;
    const std::string stop = "drop-link-after " + std::to_string(2 + 1 + inserts - 1);
    odbc.arrangeFault("KALDRA", stop + "\n" + stop);
    click(editor, "BOK");
    EXPECT_NE(editor.result(), QDialog::Accepted);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Suspension_types"), before);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Suspension_types WHERE suspension_type = 21"), "0");
    click(editor, "BOK");
    EXPECT_EQ(editor.result(), QDialog::Accepted);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Suspension_types WHERE suspension_type = 21 AND suspension_description = "
                     "'Per account'"),
              "2");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Suspension_types WHERE hosp_acct_id = -1"), "20");
}

TEST_F(TypeScreens, PerAccountEditorRefusesAFullAccountAndDeletesInMemory) {
    exec("DECLARE @t int\nSET @t = 4\nWHILE @t <= 255\nBEGIN\nINSERT Pause_types (hosp_acct_id, pause_type, "
         "pause_description) VALUES (10, @t, 'T')\nSET @t = @t + 1\nEND");
    accounts::TE_Type_Editor editor(login, accounts::clsAccountTypes::Mode::Pause);
    editor.EditTypes();
    EXPECT_EQ(editor.windowTitle(), "Pause Types Editor");
    editor.runDialog = [](QDialog&) {
        ADD_FAILURE() << "no free number";
        return 0;
    };
    click(editor, "BAdd");
    EXPECT_EQ(texts(), "Maximum number of types reached.  No more can be added. [Type Editor]\n");
    recorder.shown.clear();
    auto* types = child<QTreeWidget>(editor, "LVTypes");
    select(types, "2");
    recorder.answer(MsgAnswer::Yes);
    click(editor, "BDelete");
    EXPECT_EQ(texts(), "Are you sure you want to delete type Meeting? [Delete?]\n");
    EXPECT_EQ(types->topLevelItemCount(), 254);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Pause_types WHERE hosp_acct_id = 10 AND pause_type = 2"), "1");
}

} // namespace
