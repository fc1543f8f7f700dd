#include "AccountCache.h"
#include "DatabaseSession.h"
#include "LoginComponent.h"
#include "MessageService.h"
#include "OdbcFixture.h"
#include "PP_AddSpeechMagic.h"
#include "PP_Add_Phys.h"
#include "PP_SpeechMagic.h"
#include "SessionHelper.h"
#include "SpeechSite.h"
#include "SuitePrograms.h"
#include "clsPartition.h"
#include "modPartition.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QTreeView>

#include <chrono>
#include <filesystem>
#include <thread>

using namespace physicians;
using platform::MsgAnswer;

namespace {

using kdtest::privileges;

// An account of partition 1 with the report types Consult (3) and Discharge (7).
suite::HospAccount account(long id, const char* name) {
    suite::HospAccount a = kdtest::account(id, name, 1);
    a.ReportTypes = {{0, 3, "Consult", false}, {0, 7, "Discharge", false}};
    return a;
}

// Physician 20 in accounts Zeta (1) and Alpha (2): recognition by work type "AB", context 2 (since
// deleted) for all accounts, Alpha in evaluation mode. A speech installation knows RADAMS, RBUSY
// and RLOCKED.
class SpeechPages : public kdtest::SuiteTest {
protected:
    void SetUp() override {
        SuiteTest::SetUp();
        exec("INSERT System_partitions VALUES (1, 0, 'North', 0, '/0/1/', NULL)\n"
             "INSERT Account_info (hosp_acct_id, hosp_acct_name, partition_id) VALUES (1, 'Zeta', 1)\n"
             "INSERT Account_info (hosp_acct_id, hosp_acct_name, partition_id) VALUES (2, 'Alpha', 1)\n"
             "INSERT Dictation_contexts VALUES (1, 'GENMED', 'General Medicine', 0)\n"
             "INSERT Dictation_contexts VALUES (2, 'OLDCTX', 'Retired', 1)\n"
             "INSERT Physician_profile (physician_id, first_name, last_name, partition_id) VALUES "
             "(20, 'Ruth', 'Adams', 1)\n"
             "INSERT Physician_membership VALUES (20, 1, 0, 0)\n"
             "INSERT Physician_membership VALUES (20, 2, 0, 0)\n"
             "INSERT Physician_attributes (physician_id, hosp_acct_id, fax_enabled_1, fax_enabled_2, email_enabled) "
             "VALUES (20, -1, 0, 0, 0)\n"
             "INSERT Physician_attributes (physician_id, hosp_acct_id, fax_enabled_1, fax_enabled_2, email_enabled) "
             "VALUES (20, 2, 0, 0, 0)\n"
             "INSERT Physician_attributes_extended (physician_id, hosp_acct_id, speech_rec_enabled, "
             "speech_rec_specific_worktypes, flag1, flag2) VALUES (20, -1, 1, 'AB', 2, 0)\n"
             "INSERT Physician_attributes_extended (physician_id, hosp_acct_id, speech_rec_enabled, "
             "speech_rec_specific_worktypes, flag1, flag2) VALUES (20, 2, 1, 'AB', 2, 1)\n"
             "INSERT Physician_external_ids VALUES (20, 'Speech Magic', 'RADAMS', 1, 1)");
        kdtest::connectSession(odbc.folder(), "KALDRA");
        ASSERT_EQ(LoadPartitions(), 2);
        login.SetHospAccounts({account(1, "Zeta"), account(2, "Alpha")});
        login.user.user_id = 7;
        login.user.user_name = "admin1";
        login.user.password = "s3cret-pw";
        login.user.Partition_ID = 1;
        login.user.privilegeSet = privileges({8, 9});
        Partitions().login = &login;
        site.install();
        site.store(kdtest::SpeechSite::demoStore());
    }
    void TearDown() override {
        Partitions() = PartitionState{};
        PartitionCache().clear();
        foundation::DatabaseSession::instance().DisconnectFromSQL();
    }
    std::unique_ptr<PP_Add_Phys> open() {
        auto editor = std::make_unique<PP_Add_Phys>(login);
        EXPECT_TRUE(editor->EditPhysician(20, PP_Add_Phys::Mode::Edit));
        return editor;
    }
    template <typename T>
    static T* child(QWidget& w, const char* name) {
        T* c = w.findChild<T*>(name);
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    std::string db(const std::string& sql) {
        return kdtest::sessionScalar(foundation::DatabaseSession::instance(), sql);
    }
    void select(QWidget& editor, std::initializer_list<int> rows) {
        auto* accounts = child<QListWidget>(editor, "LBAccounts");
        accounts->clearSelection();
        for (int r : rows)
            accounts->item(r)->setSelected(true);
    }

    // Clicks cmdSMAdmin and returns the properties the speech dialog was given ("<no dialog>" when
    // none opened).
    std::map<QString, QString> speechDialogProperties(QWidget& editor) {
        std::map<QString, QString> seen{{"<no dialog>", ""}};
        QTimer::singleShot(0, [&] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* d = qobject_cast<speech::PP_AddSpeechMagic*>(w); d && d->isVisible()) {
                    seen.clear();
                    for (const QByteArray& name : d->dynamicPropertyNames())
                        seen[QString::fromLatin1(name)] = d->property(name.constData()).toString();
                    d->reject();
                }
        });
        child<QPushButton>(editor, "cmdSMAdmin")->click();
        return seen;
    }
    // A program that records its arguments (count first) and its standard input beside itself.
    static std::string recordingProgram(const std::string& folder, const std::string& name) {
        std::filesystem::create_directories(folder);
        const std::string program = folder + "/" + name;
        kdtest::SpeechSite::write(program, "#!/bin/sh\ncat > \"$0.in\"\nprintf '%s\\n' \"$#\" \"$@\" > \"$0.args\"\n");
        std::filesystem::permissions(program, std::filesystem::perms::owner_all);
        return program;
    }
    static void waitFor(const std::string& path) {
        // The program runs on its own; its record is complete once the arguments are written.
        for (int i = 0; i < 500 && !std::filesystem::exists(path); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }

    suite::LoginComponent login;
    kdtest::SpeechSite site;
    platform::MessageRecorder messages;
};

TEST_F(SpeechPages, TheChoosersNameLandsInTheFieldAndWithoutAnInstallationItsCommandsAreHidden) {
    auto editor = open();
    // The stored context was deleted: the accounts go back to the work type's default.
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "The ConText previously associated with this account and report group has "
                                      "been deleted.\r\nThe ConText will be changed to <Use Work type Default>.");
    auto* context = child<QComboBox>(*editor, "cmbDefaultContext");
    EXPECT_EQ(context->currentText(), "<Use Work Type Default>");
    EXPECT_EQ(context->count(), 2);
    EXPECT_EQ(editor->edit().Value("default_context_id"), "0");
    EXPECT_TRUE(child<QLineEdit>(*editor, "txtSpeechMachinesID")->isHidden()) << "Speech Machines is not in use";
    auto* chooser = child<QPushButton>(*editor, "cmdSMUser");
    EXPECT_FALSE(chooser->isHidden());
    EXPECT_FALSE(child<QPushButton>(*editor, "cmdSMAdmin")->isHidden());

    QTimer::singleShot(0, [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<speech::PP_SpeechMagic*>(w); d && d->isVisible()) {
                d->tmrLoadUsers_Timer();
                auto* users = d->findChild<QTreeView*>("lvwUsers");
                for (int r = 0; r < users->model()->rowCount(); ++r)
                    if (users->model()->index(r, 0).data().toString() == "RLOCKED")
                        users->setCurrentIndex(users->model()->index(r, 0));
                d->BOK_Click();
            }
    });
    chooser->click();
    EXPECT_EQ(child<QLineEdit>(*editor, "txtSpeechMagicUserName")->text(), "RLOCKED");
    EXPECT_EQ(editor->edit().Value("sm_user_name"), "RLOCKED");
    editor.reset();

    speech::ResetSpeechMagic();
    site.clearRegistry();
    exec("INSERT System_user_cfg (user_id, application_id, key_name, key_value) VALUES (0, 15, "
         "'SendToSpeechMachines', 'YES')");
    editor = open();
    for (const char* command : {"cmdSMUser", "cmdSMAdmin", "cmdTuner"})
        EXPECT_TRUE(child<QPushButton>(*editor, command)->isHidden()) << command;
    EXPECT_FALSE(child<QLineEdit>(*editor, "txtSpeechMachinesID")->isHidden());
}

TEST_F(SpeechPages, ASpeechUserWithASpaceIsRefusedOnItsPageBeforeAnyWriteOrSpeechCall) {
    auto editor = open();
    messages.shown.clear();
    auto* name = child<QLineEdit>(*editor, "txtSpeechMagicUserName");
    name->setText("R ADAMS");
    emit name->textEdited(name->text());
    const size_t statements = foundation::DatabaseSession::instance().history.size();
    const std::string calls = site.calls();
    editor->BOK_Click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "The SpeechMagic user name cannot contain spaces.");
    EXPECT_EQ(messages.shown[0].title, "Invalid Entry");
    EXPECT_EQ(child<QTabWidget>(*editor, "tabPages")->currentWidget()->objectName(), "PP_Phys_DictationPage");
    for (size_t i = statements; i < foundation::DatabaseSession::instance().history.size(); ++i)
        EXPECT_EQ(foundation::DatabaseSession::instance().history[i].rfind("SELECT", 0), 0u);
    EXPECT_EQ(site.calls(), calls);
    EXPECT_EQ(name->text(), "R ADAMS");
}

TEST_F(SpeechPages, CriteriaDropWorkTypesOnlyOnYesAndEvalModeShowsDifferingAccounts) {
    auto editor = open();
    auto* criteria = child<QComboBox>(*editor, "cmbWTorAcct");
    auto* types = child<QLineEdit>(*editor, "txtDVIWorkTypes");
    auto* eval = child<QCheckBox>(*editor, "chkEvalMode");
    EXPECT_EQ(criteria->currentIndex(), 0);
    EXPECT_EQ(types->text(), "AB");
    EXPECT_EQ(eval->property("picture").toString(), "checked_dis"); // Alpha only
    EXPECT_FALSE(eval->isEnabled());
    select(*editor, {1});
    EXPECT_EQ(eval->property("picture").toString(), "checked");
    EXPECT_TRUE(eval->isEnabled());
    select(*editor, {0});
    EXPECT_EQ(eval->property("picture").toString(), "unchecked");
    select(*editor, {0, 1});

    messages.shown.clear();
    messages.answer(MsgAnswer::No);
    criteria->setCurrentIndex(1);
    emit criteria->activated(1);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Updating the physician using Account/Report Type criteria to determine speech "
                                      "recognition will remove the work type criteria.\r\nDo you wish to continue?");
    EXPECT_EQ(criteria->currentIndex(), 0);
    EXPECT_EQ(editor->edit().Value("speech_rec_specific_worktypes"), "AB");

    messages.answer(MsgAnswer::Yes);
    criteria->setCurrentIndex(1);
    emit criteria->activated(1);
    EXPECT_EQ(criteria->currentIndex(), 1);
    EXPECT_EQ(editor->edit().Value("speech_rec_specific_worktypes"), "");
    EXPECT_TRUE(child<QListWidget>(*editor, "LBReportTypesDVI")->isEnabled());
    child<QPushButton>(*editor, "BReportsSelectAllDVI")->click();
    editor->BOK_Click();
    EXPECT_TRUE(editor->saved());
    EXPECT_EQ(db("SELECT COUNT(*) FROM Physician_attributes_extended WHERE physician_id = 20 AND "
                 "speech_rec_includes = 0x" +
                 std::string(64, 'F') + " AND speech_rec_specific_worktypes = ''"),
              "2");
}

TEST_F(SpeechPages, CheckIdsReadsTheSpeechUserNowAndARefusedAttachLeavesTheSaveStanding) {
    auto editor = open();
    messages.shown.clear();
    auto* check = child<QPushButton>(*editor, "cmdCheckIds");
    check->click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "No other physician sharing an account has these IDs.\r\n\r\nSpeechMagic user "
                                      "RADAMS exists with the ConTexts: GENMED, RADIOLOGY.");
    EXPECT_FALSE(speech::SpeechMagic().attached) << "detached after the look-up";

    messages.shown.clear();
    site.faults("fail SMAttach 39082\n");
    check->click();
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[0].text, "Error encountered while connecting to the SpeechMagic server.  SMAttach "
                                      "Failed:  Error 39082 - 39082 SMAPI_ERR_SERVICE_NOT_RUNNING");
    EXPECT_EQ(messages.shown[1].text, "No other physician sharing an account has these IDs.\r\n");
    const std::string calls = site.calls();
    editor->BOK_Click();
    EXPECT_TRUE(editor->saved()) << "saving makes no speech call";
    EXPECT_EQ(site.calls(), calls);
}

TEST_F(SpeechPages, TheTunerGetsItsArgumentsAndThePasswordOnlyOnItsInput) {
    const std::string folder = site.root() + "/TUNER";
    const std::string program = recordingProgram(folder, kTunerProgram);
    auto editor = open();
    EXPECT_FALSE(child<QPushButton>(*editor, "cmdTuner")->isEnabled()) << "not registered yet";
    EXPECT_EQ(child<QPushButton>(*editor, "cmdTuner")->toolTip(), "KDTUNEXT.EXE is not installed on this workstation.");
    site.registry(kTunerKey, "AppPath", folder);
    login.KALDRAIniFileName = "/site/KALDRA.INI";
    const SuiteProgram tuner = FindTunerProgram();
    ASSERT_EQ(tuner.missing, "");
    ASSERT_TRUE(StartTuner(tuner, login.KALDRAIniFileName, login.user.user_name, login.user.password));
    waitFor(program + ".args");
    EXPECT_EQ(kdtest::SpeechSite::read(program + ".args"), "2\nKaldraINI=/site/KALDRA.INI\nUserName=admin1\n");
    EXPECT_EQ(kdtest::SpeechSite::read(program + ".in"), "password=s3cret-pw\n");
    std::filesystem::remove(program);
    EXPECT_EQ(FindTunerProgram().missing, "KDTUNEXT.EXE was not found in " + folder + ".");
}

TEST_F(SpeechPages, TheSpeechDialogGetsVariousWhenTheSelectedAccountsContextsDiffer) {
    auto editor = open();
    auto* context = child<QComboBox>(*editor, "cmbDefaultContext");
    select(*editor, {0}); // Zeta takes GENMED, Alpha keeps the work type's default
    context->setCurrentIndex(1);
    emit context->activated(1);
    select(*editor, {0, 1});
    auto properties = speechDialogProperties(*editor);
    EXPECT_EQ(properties["ConText"], "VARIOUS");
    EXPECT_EQ(properties["SpeechMagicID"], "RADAMS");
    EXPECT_EQ(properties["PhysicianID"], "20");
    EXPECT_EQ(properties["UserName"], "admin1");
    for (const auto& [name, value] : properties)
        EXPECT_NE(value, "s3cret-pw") << name.toStdString();
    select(*editor, {0});
    EXPECT_EQ(speechDialogProperties(*editor)["ConText"], "GENMED");
    select(*editor, {1});
    EXPECT_EQ(speechDialogProperties(*editor)["ConText"], "");
}

TEST_F(SpeechPages, TheDictationSystemButtonStartsItsProgramWithoutAPasswordOrSaysWhyNot) {
    auto editor = open();
    EXPECT_FALSE(child<QPushButton>(*editor, "cmdDVI")->isEnabled());
    EXPECT_EQ(child<QPushButton>(*editor, "cmdDVI")->toolTip(),
              "VELTRAVOICE.EXE is not installed on this workstation.");
    const std::string manager = site.root() + "/VOICEMGR";
    std::filesystem::create_directories(manager);
    site.registry(kVoiceManagerKey, "AppPath", manager + "\\");
    editor = open();
    EXPECT_FALSE(child<QPushButton>(*editor, "cmdDVI")->isEnabled());
    EXPECT_EQ(child<QPushButton>(*editor, "cmdDVI")->toolTip(),
              QString::fromStdString("VELTRAVOICE.EXE was not found in " + manager + "."));

    // The dictation device system's own program comes first when that system is installed.
    const std::string folder = site.root() + "/DVI";
    const std::string program = recordingProgram(folder, kDictationSystemProgram);
    site.registry(kDictationSystemKey, "AppPath", folder);
    editor = open();
    auto* dvi = child<QPushButton>(*editor, "cmdDVI");
    ASSERT_TRUE(dvi->isEnabled());
    EXPECT_EQ(dvi->toolTip(), "");
    messages.shown.clear();
    dvi->click();
    waitFor(program + ".args");
    EXPECT_EQ(kdtest::SpeechSite::read(program + ".args"), "0\n") << "nothing on its command line";
    EXPECT_EQ(kdtest::SpeechSite::read(program + ".in"), "");
    EXPECT_TRUE(messages.shown.empty());

    std::filesystem::remove(program);
    dvi->click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "DVIADMIN.EXE was not found in " + folder + ".");
    EXPECT_EQ(messages.shown[0].title, "Dictation System");
}

} // namespace
