#include "MessageService.h"
#include "OdbcFixture.h"
#include "PP_AddSpeechMagic.h"
#include "PP_SpeechMagic.h"
#include "SessionHelper.h"
#include "SpeechSite.h"
#include "SpeechUserModel.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>
#include <gtest/gtest.h>

using kdtest::SpeechSite;
using platform::MsgAnswer;
using namespace speech;

namespace {

class SpeechDialogs : public kdtest::SuiteTest {
protected:
    void SetUp() override {
        SuiteTest::SetUp();
        exec("INSERT Dictation_contexts VALUES (1, 'GENMED', 'General Medicine', 0)\n"
             "INSERT Dictation_contexts VALUES (2, 'RADIOLOGY', 'Radiology', 0)\n"
             "INSERT Dictation_contexts VALUES (3, 'CARDIO', 'Cardiology', 0)\n"
             "INSERT Dictation_contexts VALUES (4, 'OLDCTX', 'Retired', 1)\n"
             "INSERT Physician_profile (physician_id, first_name, last_name) VALUES (7, 'Ruth', 'Adams')\n"
             "INSERT Physician_external_ids VALUES (7, 'SM', 'RADAMS', 1, 0)\n"
             "INSERT Physician_external_ids VALUES (7, 'DVI', 'RBUSY', 2, 0)");
        kdtest::connectSession(odbc.folder(), "KALDRA");
        site.install();
        site.store(SpeechSite::demoStore());
        ASSERT_TRUE(CheckSMInstall());
    }

    void TearDown() override {
        // The speech dialogs never write to the suite's database.
        for (const auto& sql : foundation::DatabaseSession::instance().history)
            EXPECT_EQ(sql.rfind("SELECT", 0), 0u) << sql;
    }

    static void check(QListWidget* list, const std::string& text, bool on) {
        const auto items = list->findItems(QString::fromStdString(text), Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1);
        items[0]->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    }
    static std::vector<std::string> checked(QListWidget* list) {
        std::vector<std::string> out;
        for (int i = 0; i < list->count(); ++i)
            if (list->item(i)->checkState() == Qt::Checked)
                out.push_back(list->item(i)->text().toStdString());
        return out;
    }
    [[nodiscard]] std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const auto& m : messages.shown)
            out.push_back(m.text);
        return out;
    }

    SpeechSite site;
    platform::MessageRecorder messages;
};

TEST_F(SpeechDialogs, ChooserListsUsersHoldersAndTheSelectedUsersContexts) {
    PP_SpeechMagic dialog("Ruth", "Adams", "RADAMS");
    dialog.tmrLoadUsers_Timer();
    auto* users = dialog.findChild<QTreeView*>("lvwUsers");
    auto* model = users->model();
    QAbstractItemModelTester tester(model, QAbstractItemModelTester::FailureReportingMode::Warning);
    ASSERT_EQ(model->rowCount(), 3);
    EXPECT_EQ(model->index(0, 1).data().toString(), "Adams, Ruth");
    EXPECT_EQ(model->index(1, 1).data().toString(), "") << "a DVI id is no speech user";
    EXPECT_EQ(dialog.selectedUser(), "RADAMS");
    auto* contexts = dialog.findChild<QListWidget*>("lstContexts");
    EXPECT_EQ(checked(contexts), (std::vector<std::string>{"GENMED", "RADIOLOGY"}));
    EXPECT_TRUE(dialog.findChild<QPushButton*>("BOK")->isEnabled());
    EXPECT_TRUE(messages.shown.empty());

    dialog.findChild<QCheckBox*>("chkUnassigned")->setChecked(true);
    EXPECT_EQ(model->rowCount(), 2);
    dialog.findChild<QCheckBox*>("chkUnassigned")->setChecked(false);
    dialog.findChild<QLineEdit*>("txtFilter")->setText("lock");
    ASSERT_EQ(model->rowCount(), 1);
    users->setCurrentIndex(model->index(0, 0));
    EXPECT_EQ(checked(contexts), (std::vector<std::string>{"GENMED", "CARDIO"}));

    // The context list is read-only: a click is undone and explained.
    check(contexts, "RADIOLOGY", true);
    EXPECT_EQ(checked(contexts), (std::vector<std::string>{"GENMED", "CARDIO"}));
    EXPECT_EQ(texts(), std::vector<std::string>{"Add or delete ConTexts through the Properties dialog."});

    dialog.BOK_Click();
    EXPECT_EQ(dialog.chosenUserName(), "RLOCKED");
    EXPECT_EQ(messages.shown.size(), 1u) << "no restart notice without changes";
    EXPECT_NE(site.calls().find("SMDetach"), std::string::npos);
}

TEST_F(SpeechDialogs, IncomingNameEmptyOrUnknown) {
    {
        PP_SpeechMagic dialog("Ruth", "Adams", "");
        dialog.tmrLoadUsers_Timer();
        EXPECT_EQ(dialog.selectedUser(), "");
        EXPECT_TRUE(messages.shown.empty());
    }
    messages.answer(MsgAnswer::No);
    PP_SpeechMagic dialog("Ruth", "Adams", "RZED");
    dialog.tmrLoadUsers_Timer();
    EXPECT_EQ(texts(), std::vector<std::string>{"The specified user was not found.  \r\nDo you wish to add RZED to "
                                                "SpeechMagic?"});
    EXPECT_EQ(messages.shown[0].buttons, platform::MsgButtons::YesNo);
    dialog.reject();
    EXPECT_EQ(dialog.chosenUserName(), "");
}

TEST_F(SpeechDialogs, DeleteMarksTheEntryAndOkDoesNotReturnIt) {
    PP_SpeechMagic dialog("Ruth", "Adams", "RADAMS");
    dialog.tmrLoadUsers_Timer();
    messages.answer(MsgAnswer::No);
    dialog.cmdDelete_Click();
    EXPECT_NE(site.storeText().find("user RADAMS"), std::string::npos) << "No keeps the user";
    messages.answer(MsgAnswer::Yes);
    dialog.cmdDelete_Click();
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[1].text, "Are you sure you want to delete RADAMS?");
    EXPECT_EQ(messages.shown[1].title, "Delete SpeechMagic User");
    EXPECT_EQ(site.storeText().find("user RADAMS"), std::string::npos);
    auto* model = dialog.findChild<QTreeView*>("lvwUsers")->model();
    EXPECT_EQ(model->index(0, 0).data().toString(), SpeechUserModel::kDeleted);
    dialog.BOK_Click();
    EXPECT_EQ(dialog.chosenUserName(), "");
    EXPECT_EQ(messages.shown.back().text, "User ConTexts have been added or deleted.  It may be necessary to restart "
                                          "the \r\nConText Adaptation Server in order for these changes to take "
                                          "effect.");
    EXPECT_EQ(messages.shown.back().icon, platform::MsgIcon::Information);
}

TEST_F(SpeechDialogs, DeleteRefusedByTheLibraryIsShown) {
    PP_SpeechMagic dialog("", "", "RLOCKED");
    dialog.tmrLoadUsers_Timer();
    messages.answer(MsgAnswer::Yes);
    dialog.cmdDelete_Click();
    EXPECT_EQ(messages.shown.back().text, "Unable to delete RLOCKED. 39038 The Purge Daemon holds the lock on user "
                                          "RLOCKED.");
    EXPECT_EQ(dialog.selectedUser(), "RLOCKED");
}

TEST_F(SpeechDialogs, AttachFailureLeavesTheChooserEmptyAndNeverDetaches) {
    site.faults("fail SMAttach 39082\n");
    PP_SpeechMagic dialog("", "", "RADAMS");
    dialog.tmrLoadUsers_Timer();
    EXPECT_EQ(texts(), std::vector<std::string>{"Error encountered while connecting to the SpeechMagic server.  "
                                                "SMAttach Failed:  Error 39082 - 39082 "
                                                "SMAPI_ERR_SERVICE_NOT_RUNNING"});
    EXPECT_EQ(dialog.findChild<QLabel*>("lblStatus")->text(), "39082 SMAPI_ERR_SERVICE_NOT_RUNNING");
    EXPECT_EQ(dialog.findChild<QTreeView*>("lvwUsers")->model()->rowCount(), 0);
    EXPECT_FALSE(dialog.findChild<QPushButton*>("BOK")->isEnabled());
    dialog.reject();
    EXPECT_EQ(site.calls().find("SMDetach"), std::string::npos);
}

TEST_F(SpeechDialogs, NotInstalledLeavesTheNameAndLoadsNothing) {
    ResetSpeechMagic();
    site.clearRegistry();
    std::string name = "RADAMS";
    bool changed = true;
    EXPECT_FALSE(PP_SpeechMagic::GetSMUser("Ruth", "Adams", name, changed));
    EXPECT_EQ(name, "RADAMS");
    EXPECT_FALSE(changed);
    EXPECT_EQ(texts(), std::vector<std::string>{"SpeechMagic is not installed on this workstation."});
    EXPECT_FALSE(SpeechMagic().library.isLoaded());
}

struct Refusal {
    const char* what;
    const char* name;
    int gender;
    const char* initial;
    std::vector<const char*> ticks;
    const char* message;
};

TEST_F(SpeechDialogs, NewUserRefusalsComeBeforeAnyCall) {
    ASSERT_EQ(AttachSM(), 0);
    const Refusal cases[] = {
        {"no name", "  ", 1, "GENMED", {"GENMED"}, "Please enter a SpeechMagic user name."},
        {"no gender", "RNEW", 0, "GENMED", {"GENMED"}, "Please select the gender of the user."},
        {"initial unchecked",
         "RNEW",
         2,
         "GENMED",
         {"CARDIO"},
         "The initial ConText must match a selected ConText in the ConText list."},
        {"nothing checked",
         "RNEW",
         2,
         "CARDIO",
         {},
         "The initial ConText must match a selected ConText in the "
         "ConText list."},
    };
    for (const auto& c : cases) {
        messages.shown.clear();
        PP_AddSpeechMagic dialog(c.name, false);
        ASSERT_TRUE(dialog.Load());
        dialog.findChild<QComboBox*>("cmbGender")->setCurrentIndex(c.gender);
        dialog.findChild<QComboBox*>("cmbConTexts")->setCurrentText(c.initial);
        for (const char* t : c.ticks)
            check(dialog.findChild<QListWidget*>("lstContexts"), t, true);
        dialog.cmdOK_Click();
        EXPECT_EQ(texts(), std::vector<std::string>{c.message}) << c.what;
        EXPECT_EQ(dialog.result(), QDialog::Rejected) << c.what;
    }
    EXPECT_EQ(site.calls().find("SMInstallUser"), std::string::npos);
    EXPECT_EQ(site.calls().find("SMEnumInputChannels2"), std::string::npos);
}

TEST_F(SpeechDialogs, NewUserWithContextsAndChannels) {
    ASSERT_EQ(AttachSM(), 0);
    PP_AddSpeechMagic dialog("RNEW", false);
    ASSERT_TRUE(dialog.Load());
    EXPECT_EQ(dialog.contexts().size(), 3u) << "deleted contexts are not offered";
    dialog.findChild<QComboBox*>("cmbGender")->setCurrentIndex(2);
    dialog.findChild<QComboBox*>("cmbConTexts")->setCurrentText("CARDIO");
    check(dialog.findChild<QListWidget*>("lstContexts"), "CARDIO", true);
    check(dialog.findChild<QListWidget*>("lstContexts"), "GENMED", true);
    dialog.findChild<QCheckBox*>("chkAdvAcoustics2")->setChecked(true);
    dialog.cmdOK_Click();
    EXPECT_TRUE(messages.shown.empty()) << texts()[0];
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(dialog.userCreated());
    EXPECT_TRUE(dialog.contextsChanged());
    const std::string store = site.storeText();
    EXPECT_NE(store.find("user RNEW 2 3 0 0\nuser-context RNEW CARDIO\nuser-context RNEW GENMED\n"
                         "user-channel RNEW 0 3 1 2 Microphone\nuser-channel RNEW 200 3 0 1 Mobile recorder\n"),
              std::string::npos)
        << store;
    EXPECT_NE(site.calls().find("SMInstallUser2("), std::string::npos);
    EXPECT_NE(site.calls().find("\"CARDIO\", channel 0/2, 2, 0, 0, 0) = 0"), std::string::npos) << site.calls();
}

TEST_F(SpeechDialogs, FailureAtTheSecondContextShowsWhatWasInstalled) {
    ASSERT_EQ(AttachSM(), 0);
    site.faults("fail SMInstallUser 39056 1\n");
    PP_AddSpeechMagic dialog("RNEW", false);
    ASSERT_TRUE(dialog.Load());
    auto* list = dialog.findChild<QListWidget*>("lstContexts");
    dialog.findChild<QComboBox*>("cmbGender")->setCurrentIndex(1);
    dialog.findChild<QComboBox*>("cmbConTexts")->setCurrentText("GENMED");
    check(list, "GENMED", true);
    check(list, "RADIOLOGY", true);
    dialog.cmdOK_Click();
    EXPECT_EQ(texts(), std::vector<std::string>{"Unable to add RADIOLOGY context. 39056 The recognition server's "
                                                "state changed during the call."});
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_TRUE(dialog.userCreated());
    EXPECT_EQ(checked(list), std::vector<std::string>{"GENMED"});
    EXPECT_TRUE(dialog.findChild<QLineEdit*>("txtUserName")->isReadOnly());
    // A second OK with the same choice installs what is missing now that the user exists.
    check(list, "RADIOLOGY", true);
    dialog.cmdOK_Click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_NE(site.storeText().find("user-context RNEW RADIOLOGY"), std::string::npos);
}

TEST_F(SpeechDialogs, OverlongAndForbiddenNamesShowTheCodeAndKeepTheDialog) {
    ASSERT_EQ(AttachSM(), 0);
    const std::pair<std::string, const char*> cases[] = {
        {std::string(10000, 'N'), "Unable to add GENMED context. 39045 The name is longer than the field allows."},
        {"O'NEIL", "Unable to add GENMED context. 39019 The name contains blanks, apostrophes or characters outside "
                   "ASCII."},
        {"J\xc3\x96RG", "Unable to add GENMED context. 39019 The name contains blanks, apostrophes or characters "
                        "outside ASCII."},
    };
    for (const auto& [name, message] : cases) {
        messages.shown.clear();
        PP_AddSpeechMagic dialog(name, false);
        ASSERT_TRUE(dialog.Load());
        EXPECT_EQ(dialog.userName(), name);
        dialog.findChild<QComboBox*>("cmbGender")->setCurrentIndex(1);
        check(dialog.findChild<QListWidget*>("lstContexts"), "GENMED", true);
        dialog.cmdOK_Click();
        EXPECT_EQ(texts(), std::vector<std::string>{message});
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_FALSE(dialog.userCreated());
    }
}

struct Removal {
    const char* user;
    const char* context;
    const char* faults;
    const char* message;
};

TEST_F(SpeechDialogs, RemovalRefusals) {
    ASSERT_EQ(AttachSM(), 0);
    const Removal cases[] = {
        {"RLOCKED", "CARDIO", "",
         "Unable to remove the selected ConText for user RLOCKED: There is a conflict with the Purge Daemon or other "
         "SpeechMagic process (error 39038)."},
        {"RBUSY", "CARDIO", "",
         "Unable to remove the selected ConText for user RBUSY: There are still dictations in the SpeechMagic system "
         "for this user (error 39031)."},
        {"RADAMS", "RADIOLOGY", "fail SMInstallUser 39056 1\n",
         "Unable to remove the selected ConText for user RADAMS: SpeechMagic Error 39056: 39056 The recognition "
         "server's state changed during the call."},
    };
    for (const auto& c : cases) {
        messages.shown.clear();
        site.faults(c.faults);
        PP_AddSpeechMagic dialog(c.user, true);
        ASSERT_TRUE(dialog.Load());
        auto* list = dialog.findChild<QListWidget*>("lstContexts");
        check(list, c.context, false);
        messages.answer(MsgAnswer::Yes);
        dialog.cmdOK_Click();
        ASSERT_EQ(messages.shown.size(), 2u) << c.user;
        EXPECT_EQ(messages.shown[0].text, "Are you sure you want to remove ConTexts from " + std::string(c.user) +
                                              "?\r\nIf you choose to continue, all data related to this user and "
                                              "ConText will be deleted.");
        EXPECT_EQ(messages.shown[0].title, "Remove ConText");
        EXPECT_EQ(messages.shown[1].text, c.message);
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_EQ(checked(list).size(), 2u) << "the refused context is shown as still installed";
    }
}

TEST_F(SpeechDialogs, PropertiesRemoveAContextAfterYesOnly) {
    ASSERT_EQ(AttachSM(), 0);
    PP_AddSpeechMagic dialog("RADAMS", true);
    ASSERT_TRUE(dialog.Load());
    EXPECT_EQ(dialog.findChild<QComboBox*>("cmbGender")->currentIndex(), 1);
    auto* list = dialog.findChild<QListWidget*>("lstContexts");
    check(list, "RADIOLOGY", false);
    messages.answer(MsgAnswer::No);
    dialog.cmdOK_Click();
    EXPECT_EQ(site.calls().find("action 1"), std::string::npos);
    messages.answer(MsgAnswer::Yes);
    dialog.cmdOK_Click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(dialog.contextsChanged());
    EXPECT_EQ(site.storeText().find("user-context RADAMS RADIOLOGY"), std::string::npos);
}

TEST_F(SpeechDialogs, OldLibraryCannotRemoveContexts) {
    ResetSpeechMagic();
    SpeechSite old;
    old.install("5.1", SpeechSite::Library::V3, "SMApiv3.dll");
    old.store(SpeechSite::demoStore());
    const std::string v3 = old.root() + "/BIN/SMApiv3.dll";
    std::filesystem::last_write_time(v3, std::filesystem::last_write_time(v3) - std::chrono::hours(24 * 365 * 24));
    ASSERT_TRUE(CheckSMInstall());
    ASSERT_EQ(AttachSM(), 0);
    PP_AddSpeechMagic dialog("RADAMS", true);
    ASSERT_TRUE(dialog.Load());
    check(dialog.findChild<QListWidget*>("lstContexts"), "RADIOLOGY", false);
    dialog.cmdOK_Click();
    EXPECT_EQ(texts(), std::vector<std::string>{"Please use the SpeechMagic Administration Utility to uninstall "
                                                "ConTexts."});
    EXPECT_EQ(messages.shown[0].icon, platform::MsgIcon::Information);
    EXPECT_EQ(old.calls().find("SMInstallUser"), std::string::npos);
}

} // namespace

namespace {

TEST_F(SpeechDialogs, LostLinkWhileContextsLoadIsRepaired) {
    ASSERT_EQ(AttachSM(), 0);
    odbc.arrangeFault("KALDRA", "drop-link 1");
    PP_AddSpeechMagic dialog("RNEW", false);
    dialog.Load();
    std::vector<std::string> loaded;
    for (const auto& c : dialog.contexts())
        loaded.push_back(c.m_strConTextName);
    EXPECT_EQ(loaded, (std::vector<std::string>{"GENMED", "RADIOLOGY", "CARDIO"}));
    EXPECT_EQ(texts(), std::vector<std::string>{"Connection to SQL Server reestablished."});
    EXPECT_EQ(dialog.findChild<QListWidget*>("lstContexts")->count(), 3);
}

} // namespace

namespace {

// Opened by the profile editor without the chooser: the dialog attaches for itself and detaches
// when it closes; without an installation it says so and opens nothing.
TEST_F(SpeechDialogs, UserPropertiesOnItsOwnAttachesAndDetaches) {
    bool changed = true;
    QTimer::singleShot(0, [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "PP_AddSpeechMagic" && w->isVisible())
                static_cast<QDialog*>(w)->reject();
    });
    PP_AddSpeechMagic::UserProperties("RADAMS", changed);
    EXPECT_FALSE(changed);
    EXPECT_FALSE(SpeechMagic().attached);
    const std::string calls = site.calls();
    EXPECT_NE(calls.find("SMAttach("), std::string::npos);
    EXPECT_NE(calls.find("SMGetUserInfo("), std::string::npos);
    EXPECT_NE(calls.find("SMDetach("), std::string::npos);

    ResetSpeechMagic();
    site.clearRegistry();
    std::string created;
    EXPECT_FALSE(PP_AddSpeechMagic::AddSMUser("RNEW", created, changed));
    EXPECT_EQ(texts(), std::vector<std::string>{"SpeechMagic is not installed on this workstation."});
    EXPECT_EQ(created, "");
}

} // namespace

namespace {

TEST_F(SpeechDialogs, UnloadableLibraryIsAClearMessage) {
    ResetSpeechMagic();
    site.placeLibrary(SpeechSite::Library::WindowsDll, "SMApi.dll");
    std::string name = "RADAMS";
    bool changed = false;
    EXPECT_FALSE(PP_SpeechMagic::GetSMUser("Ruth", "Adams", name, changed));
    EXPECT_EQ(name, "RADAMS");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text.rfind("CheckSMInstall: Error 0x800700C1 - ", 0), 0u) << messages.shown[0].text;
    EXPECT_EQ(messages.shown[0].icon, platform::MsgIcon::Critical);
}

} // namespace
