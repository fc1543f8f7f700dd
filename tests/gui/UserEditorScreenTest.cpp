// The user editor's real controls: each check's message, tab and focused field, the character
// limits of the boxes, and the rules that act while editing.

#include "UserManagementFixture.h"
#include "Utf8.h"

#include <QApplication>
#include <QTreeWidget>

#include <filesystem>
#include <fstream>

using kdtest::UserScreenTest;
using platform::MsgAnswer;

namespace {

class UserEditorScreen : public UserScreenTest {
protected:
    void SetUp() override {
        UserScreenTest::SetUp();
        ASSERT_TRUE(users::LoadActiveUsers(&users::Users()));
        ASSERT_TRUE(policies.LoadAll());
    }
    // The editor on JDOE (or a new user), shown so that focus moves as it does for the user.
    void edit(long userId, bool isNew = false) {
        users::UserEditContext context{true, true};
        editor = std::make_unique<users::UA_User_Mgmt_Edit>(policies, context);
        editor->promptFolder = promptFolder;
        users::clsUser user;
        if (!isNew)
            user.CopyClass(*users::Users().Item(users::clsUsers::Key(userId)));
        else
            user.Partition_ID(1);
        editor->LoadForm(user, isNew, {});
        editor->show();
        QApplication::setActiveWindow(editor.get());
        recorder.shown.clear();
    }
    void ok() { editor->cmdOK_Click(); }
    std::string focused() const {
        QWidget* w = editor->focusWidget();
        return w ? w->objectName().toStdString() : std::string();
    }
    int tab() const { return editor->findChild<QTabWidget*>("TABUser")->currentIndex(); }

    users::clsUserPolicies policies;
    std::unique_ptr<users::UA_User_Mgmt_Edit> editor;
    std::string promptFolder;
};

struct ScreenCase {
    const char* what;
    void (*enter)(QWidget&);
    const char* message;
    const char* focus;
    int tab;
};

const ScreenCase kScreenCases[] = {
    {"blank name", [](QWidget& d) { UserScreenTest::type(d, "txtUserName", ""); }, "User Name cannot be blank.",
     "txtUserName", 0},
    {"no names",
     [](QWidget& d) {
         UserScreenTest::type(d, "txtFirstName", "");
         UserScreenTest::type(d, "txtLastName", "");
     },
     "The first and last name cannot both be blank.", "txtFirstName", 0},
    {"password mismatch",
     [](QWidget& d) {
         UserScreenTest::type(d, "txtPassword", "abc123");
         UserScreenTest::type(d, "txtConfirmPassword", "abc124");
     },
     "Veltra Password and Confirm Veltra Password fields do not match", "txtPassword", 0},
    {"signature mismatch",
     [](QWidget& d) {
         UserScreenTest::type(d, "txtSignaturePassword", "sig123");
         UserScreenTest::type(d, "txtConfirmSignaturePassword", "sig999");
     },
     "Signature Password and Confirm Signature Password fields do not match!", "txtSignaturePassword", 1},
    {"signature equals the stored logon password",
     [](QWidget& d) {
         UserScreenTest::type(d, "txtSignaturePassword", "pw61");
         UserScreenTest::type(d, "txtConfirmSignaturePassword", "pw61");
     },
     "Signature Password and Veltra Password fields must be different!", "txtSignaturePassword", 1},
    {"name with a trailing space set from outside the box",
     [](QWidget& d) { UserScreenTest::child<QLineEdit>(d, "txtUserName")->setText("JDOE "); },
     "User name cannot contain any spaces", "txtUserName", 0},
    {"policy",
     [](QWidget& d) {
         UserScreenTest::child<QComboBox>(d, "cmbUserPolicy")->setCurrentText("Strict");
         UserScreenTest::type(d, "txtPassword", "abc");
         UserScreenTest::type(d, "txtConfirmPassword", "abc");
     },
     "Your login password must be at least 6 characters long.  Please enter a different login password.", "txtPassword",
     0},
};

TEST_F(UserEditorScreen, EachCheckShowsItsMessageOnItsTabWithTheFieldFocused) {
    for (const auto& c : kScreenCases) {
        edit(61);
        editor->findChild<QTabWidget*>("TABUser")->setCurrentIndex(3); // away from every field
        c.enter(*editor);
        ok();
        ASSERT_EQ(recorder.shown.size(), 1u) << c.what;
        EXPECT_EQ(recorder.shown[0].text, c.message) << c.what;
        EXPECT_EQ(recorder.shown[0].title, "Error") << c.what;
        EXPECT_EQ(tab(), c.tab) << c.what;
        EXPECT_EQ(focused(), c.focus) << c.what;
        EXPECT_NE(editor->result(), QDialog::Accepted) << c.what;
    }
}

TEST_F(UserEditorScreen, TheNameBoxRefusesTheCharactersALogOnNameCannotHold) {
    edit(0, true);
    auto* name = child<QLineEdit>(*editor, "txtUserName");
    for (const char* c : {"\\", "/", ":", "*", "?", "\"", "<", ">", "|", " "}) {
        name->clear();
        name->insert("AB");
        name->insert(c);
        name->insert("CD");
        EXPECT_EQ(name->text().toStdString(), "ABCD") << c;
    }
    name->clear();
    name->insert("O'BRIEN"); // the box takes it; the check refuses it
    EXPECT_EQ(name->text(), "O'BRIEN");
    type(*editor, "txtFirstName", "Pat");
    ok();
    EXPECT_EQ(texts(), "User name cannot contain any single quote characters [Error]\n");
}

// Limits are characters: 50 for the name and 30 for first and last names, whatever their bytes.
TEST_F(UserEditorScreen, NameLimitsCountCharactersOfTwoAndThreeBytes) {
    edit(0, true);
    const QString threeByte = QString::fromUtf8("\xe2\x82\xac"), twoByte = QString::fromUtf8("\xc3\xa9");
    auto* name = child<QLineEdit>(*editor, "txtUserName");
    name->insert(threeByte.repeated(51));
    EXPECT_EQ(name->text().size(), 50);
    auto* first = child<QLineEdit>(*editor, "txtFirstName");
    first->insert(twoByte.repeated(22)); // the user row's first name holds 21 characters
    EXPECT_EQ(first->text().size(), 21);
    EXPECT_EQ(platform::utf8Length(first->text().toStdString()), 21u);
    EXPECT_EQ(first->text().toStdString().size(), 42u);
    auto* password = child<QLineEdit>(*editor, "txtPassword");
    password->insert(QString("a").repeated(25));
    EXPECT_EQ(password->text().size(), 20);
    child<QLineEdit>(*editor, "txtConfirmPassword")->insert(QString("a").repeated(25));
    ok();
    EXPECT_EQ(editor->result(), QDialog::Accepted) << texts();
    EXPECT_EQ(editor->EditedUser().m_strUserName, threeByte.repeated(50).toStdString());
}

// The stored form of a password holds 20 bytes: 10 two-byte characters fit, 11 are refused before
// anything is written.
TEST_F(UserEditorScreen, APasswordTheStoreCannotHoldIsRefused) {
    edit(61);
    const QString twoByte = QString::fromUtf8("\xc3\xa9");
    type(*editor, "txtPassword", twoByte.repeated(11).toStdString());
    type(*editor, "txtConfirmPassword", twoByte.repeated(11).toStdString());
    ok();
    EXPECT_EQ(texts(), std::string(users::kPasswordTooLong) + " [Error]\n");
    recorder.shown.clear();
    type(*editor, "txtPassword", twoByte.repeated(10).toStdString());
    type(*editor, "txtConfirmPassword", twoByte.repeated(10).toStdString());
    ok();
    EXPECT_EQ(editor->result(), QDialog::Accepted) << texts();
    EXPECT_TRUE(editor->Changes().passwordChanged);
}

TEST_F(UserEditorScreen, ThePhysicianUserBoxRemovesEveryAdministratorKind) {
    edit(50);
    check(*editor, "chkTransAdmin", true);
    check(*editor, "chkPaxletAdmin", true);
    check(*editor, "chkPaxlet", true);
    EXPECT_EQ(texts(), "Physician users cannot be Administrators.  This user will no longer be an Administrator. "
                       "[Edit User]\n");
    for (const char* box : {"chkSystemAdmin", "chkTransAdmin", "chkPaxletAdmin"})
        EXPECT_FALSE(child<QCheckBox>(*editor, box)->isChecked()) << box;
}

TEST_F(UserEditorScreen, OnlyAGeneralSystemAdministratorHasTheAdminTab) {
    users::UserEditContext context{false, true};
    users::UA_User_Mgmt_Edit dialog(policies, context);
    dialog.LoadForm(*users::Users().Item(users::clsUsers::Key(61)), false, {});
    EXPECT_FALSE(dialog.findChild<QTabWidget*>("TABUser")->isTabEnabled(3));
    edit(66); // the built-in Administrator keeps its flag
    EXPECT_FALSE(child<QCheckBox>(*editor, "chkSystemAdmin")->isEnabled());
}

TEST_F(UserEditorScreen, AMissingPromptScriptIsResetWithAMessage) {
    promptFolder = (std::filesystem::path(odbc.folder()) / "PROMPTS").string();
    std::filesystem::create_directories(promptFolder);
    std::ofstream(promptFolder + "/PROMPT.KDS") << "prompt";
    std::ofstream(promptFolder + "/CARDIO.kds") << "prompt";
    exec("UPDATE System_user_bindery SET string1 = 'GONE.KDS' WHERE user_id = 61");
    ASSERT_TRUE(users::LoadActiveUsers(&users::Users()));
    users::UserEditContext context{true, true};
    users::UA_User_Mgmt_Edit dialog(policies, context);
    dialog.promptFolder = promptFolder;
    dialog.LoadForm(*users::Users().Item(users::clsUsers::Key(61)), false, {});
    EXPECT_EQ(texts(), "Report creation prompt script GONE.KDS could not be found.  Prompt script has been reset. "
                       "[Edit User]\n");
    auto* scripts = child<QComboBox>(dialog, "cmbPromptScript");
    EXPECT_EQ(scripts->currentText(), "PROMPT.KDS");
    EXPECT_EQ(scripts->count(), 3); // the empty choice, CARDIO.kds, PROMPT.KDS
}

// Choosing a script whose name the user row cannot hold asks for a shorter name until one fits and
// renames the file, so that the name saved is a script that exists; Cancel, or a name another script
// already has, keeps the script chosen before.
TEST_F(UserEditorScreen, AnOverLongPromptScriptIsRenamedInTheFolderWhenChosen) {
    namespace fs = std::filesystem;
    promptFolder = (fs::path(odbc.folder()) / "PROMPTS").string();
    fs::create_directories(promptFolder);
    const std::string longName = std::string(41, 'C') + ".KDS";
    std::ofstream(promptFolder + "/PROMPT.KDS") << "prompt";
    std::ofstream(promptFolder + "/" + longName) << "cardiology";
    struct Case {
        const char* what;
        std::vector<std::optional<std::string>> answers;
        const char* chosen;
        bool renamed;
        const char* messages;
    };
    const Case cases[] = {
        {"cancelled", {std::nullopt}, "", false, ""},
        {"taken by another script",
         {std::string("PROMPT.KDS")},
         "",
         false,
         "The report creation prompt script CCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCC.KDS could not be renamed to "
         "PROMPT.KDS. [Error]\n"},
        {"still too long, then short", {std::string(40, 'D'), std::string("CARDIO")}, "CARDIO.KDS", true, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        edit(61);
        size_t asked = 0;
        std::vector<std::string> asks;
        editor->prompts.rename = [&](const std::string& text, const std::string&) {
            asks.push_back(text.substr(0, 60));
            return asked < c.answers.size() ? c.answers[asked++] : std::nullopt;
        };
        auto* scripts = child<QComboBox>(*editor, "cmbPromptScript");
        const int at = scripts->findText(QString::fromStdString(longName));
        ASSERT_GE(at, 0);
        scripts->setCurrentIndex(at);
        Q_EMIT scripts->activated(at);
        EXPECT_EQ(asked, c.answers.size());
        ASSERT_FALSE(asks.empty());
        EXPECT_EQ(asks.front(), "The report creation prompt script name is too long.  The max");
        if (asks.size() > 1) {
            EXPECT_EQ(asks[1], "The report creation prompt script name is still too long.  T");
        }
        EXPECT_EQ(texts(), c.messages);
        EXPECT_EQ(scripts->currentText().toStdString(), c.chosen);
        EXPECT_EQ(fs::exists(promptFolder + "/" + longName), !c.renamed);
        EXPECT_EQ(fs::exists(promptFolder + "/CARDIO.KDS"), c.renamed);
    }
    ok();
    EXPECT_EQ(editor->EditedUser().m_strPromptScript, "CARDIO.KDS");
}

// Without [AdminDesktop] AllowSettingSignaturePassword the signature boxes cannot be typed in: they
// keep the placeholder, which saves the stored signature password unchanged.
TEST_F(UserEditorScreen, ASiteThatForbidsSettingSignaturePasswordsKeepsTheStoredOne) {
    for (bool allowed : {true, false}) {
        users::UserEditContext context{true, true, allowed};
        users::UA_User_Mgmt_Edit dialog(policies, context);
        dialog.LoadForm(*users::Users().Item(users::clsUsers::Key(61)), false, {});
        EXPECT_EQ(child<QLineEdit>(dialog, "txtSignaturePassword")->isEnabled(), allowed);
        EXPECT_EQ(child<QLineEdit>(dialog, "txtConfirmSignaturePassword")->isEnabled(), allowed);
        EXPECT_EQ(child<QLineEdit>(dialog, "txtSignaturePassword")->text(), "________");
    }
}

TEST_F(UserEditorScreen, ABuiltInGroupCannotBeLeft) {
    edit(61);
    editor->LoadForm(*users::Users().Item(users::clsUsers::Key(61)), false,
                     {{201, "<Transcription Administrators>", "built in", true}, {200, "Night Shift", "", false}});
    auto* groups = child<QTreeWidget>(*editor, "lvwMembers");
    groups->setCurrentItem(groups->topLevelItem(0));
    click(*editor, "cmdRemove");
    EXPECT_EQ(texts(), "User cannot be removed from built-in group <Transcription Administrators>. [Remove Group]\n");
    groups->setCurrentItem(groups->topLevelItem(1));
    click(*editor, "cmdRemove");
    EXPECT_EQ(groups->topLevelItemCount(), 1);
    ok();
    EXPECT_EQ(editor->RemovedGroups(), std::vector<long>{200});
}

TEST_F(UserEditorScreen, ChangingThePartitionOfAGroupMemberAsksAndNoKeepsIt) {
    edit(61);
    editor->LoadForm(*users::Users().Item(users::clsUsers::Key(61)), false, {{200, "Night Shift", "", false}});
    std::vector<std::string> asked;
    editor->prompts.ask = [&asked](const std::string& text, const std::string& title) {
        asked.push_back(title + ": " + text);
        return false;
    };
    auto* partition = child<QComboBox>(*editor, "cboPartition");
    const QString before = partition->currentText();
    partition->setCurrentText("North General");
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], "Partition Change: Changing the partition will result in the user being removed from "
                        "assigned User Management Groups. Do you wish to continue?");
    EXPECT_EQ(partition->currentText(), before);
}

} // namespace
