// The configuration wizard in the console: from the menu, with privilege 6 or without, and at
// start-up once the user has asked for it.

#include "Gen_Wizard.h"
#include "StartupFixture.h"
#include "clsPrinters.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

namespace {

using kdtest::StartupTest;

TEST_F(StartupTest, TheWizardOpensFromTheMenuWithItsStepsFollowingPrivilegeSix) {
    const struct {
        const char* user;
        bool enabled;
    } cases[] = {{"MGARCIA", true}, {"TLEE", true}, {"ADMINISTRATOR", false}};
    for (const auto& c : cases) {
        prompt.answers = {{c.user, "demo"}};
        mainwindow::General_MDI window;
        suite::LoginComponent login;
        app::Startup startup(window, login, prompt);
        ASSERT_TRUE(startup.run({"/INI=" + site + "/KALDRA.INI"}, folder, folder)) << c.user;
        EXPECT_EQ(window.findChild<wizard::Gen_Wizard*>(), nullptr) << c.user; // not asked for at start-up
        recorder.shown.clear();
        window.runCommand("mnuConfigWizard");
        EXPECT_TRUE(recorder.shown.empty()) << c.user << ": " << recorder.shown[0].text;
        auto* w = window.findChild<wizard::Gen_Wizard*>();
        ASSERT_NE(w, nullptr) << c.user;
        // The demo site has accounts, users, printers and physicians: every step is done.
        EXPECT_EQ(w->Marks(), (wizard::StepMarks{true, true, true, true})) << c.user;
        EXPECT_EQ(w->findChild<QPushButton*>("cmdConfig_0")->text(), "Add Accounts");
        for (int i = 0; i < wizard::kWizardSteps; ++i)
            EXPECT_EQ(w->findChild<QPushButton*>(QString("cmdConfig_%1").arg(i))->isEnabled(), c.enabled) << c.user;
        // The menu again brings the one wizard to the front.
        window.runCommand("mnuConfigWizard");
        EXPECT_EQ(window.findChildren<wizard::Gen_Wizard*>().size(), 1u);
        startup.shutDown();
    }
}

TEST_F(StartupTest, TheWizardOpensAtStartUpOnceTheUserAsksForIt) {
    {
        prompt.answers = {{"MGARCIA", "demo"}};
        mainwindow::General_MDI window;
        suite::LoginComponent login;
        app::Startup startup(window, login, prompt);
        ASSERT_TRUE(startup.run({"/INI=" + site + "/KALDRA.INI"}, folder, folder));
        window.runCommand("mnuConfigWizard");
        auto* w = window.findChild<wizard::Gen_Wizard*>();
        ASSERT_NE(w, nullptr);
        auto* box = w->findChild<QCheckBox*>("chkShowWizard");
        EXPECT_FALSE(box->isChecked());
        box->click();
        // The physician step opens the physician list.
        w->cmdConfig_Click(static_cast<int>(wizard::WizardStep::Physicians));
        EXPECT_NE(window.findChild<QWidget*>("PP_Phys_List"), nullptr);
        startup.shutDown();
    }
    prompt.answers = {{"MGARCIA", "demo"}};
    mainwindow::General_MDI window;
    suite::LoginComponent login;
    app::Startup startup(window, login, prompt);
    ASSERT_TRUE(startup.run({"/INI=" + site + "/KALDRA.INI"}, folder, folder));
    auto* w = window.findChild<wizard::Gen_Wizard*>();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->findChild<QCheckBox*>("chkShowWizard")->isChecked());
    startup.shutDown();
}

} // namespace

namespace {

// The console on a new installation's site: the administrator is shown the wizard at log-in with
// no step done and the steps open to it; nothing is offered to install before an account exists.
class NewInstallationStartup : public kdtest::StartupTest {
protected:
    void SetUp() override {
        StartupTest::SetUp();
        demo::createNewSite(site, KD_DRIVER_PATH);
        replaceInIni("ODBCSource=KALDRA", "ODBCSource=NOT_REGISTERED_HERE");
    }
};

TEST_F(NewInstallationStartup, TheWizardGreetsTheAdministratorWithEveryStepOpen) {
    prompt.answers = {{"ADMINISTRATOR", "demo"}};
    mainwindow::General_MDI window;
    suite::LoginComponent login;
    app::Startup startup(window, login, prompt);
    ASSERT_TRUE(startup.run({"/INI=" + site + "/KALDRA.INI"}, folder, folder));
    auto* w = window.findChild<wizard::Gen_Wizard*>();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->Marks(), (wizard::StepMarks{false, false, false, false}));
    for (int i = 0; i < wizard::kWizardSteps; ++i)
        EXPECT_TRUE(w->findChild<QPushButton*>(QString("cmdConfig_%1").arg(i))->isEnabled()) << i;
    EXPECT_TRUE(w->findChild<QCheckBox*>("chkShowWizard")->isChecked());
    EXPECT_TRUE(w->findChild<QPushButton*>("cmdInstallStandard")->isHidden());
    startup.shutDown();
}

// The install from the wizard on the new site: the printer list already open and the console's own
// printer list show the printers it added, every one without a queue.
TEST_F(NewInstallationStartup, AfterTheInstallTheOpenPrinterListShowsTheNewPrinters) {
    prompt.answers = {{"ADMINISTRATOR", "demo"}};
    mainwindow::General_MDI window;
    suite::LoginComponent login;
    app::Startup startup(window, login, prompt);
    ASSERT_TRUE(startup.run({"/INI=" + site + "/KALDRA.INI"}, folder, folder));
    auto& session = foundation::DatabaseSession::instance();
    session.SQLStatement = "EXECUTE account_check 1\r\nUPDATE Account_info SET hosp_acct_name = 'First', "
                           "email_type = 1 WHERE hosp_acct_id = 1";
    ASSERT_EQ(session.ExecSQL(), 1);
    session.CloseStatement();
    window.runCommand("mnuSystemPrinters");
    auto* list = window.findChild<QTreeWidget*>("LVPrinters");
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->topLevelItemCount(), 0);
    auto* w = window.findChild<wizard::Gen_Wizard*>();
    ASSERT_NE(w, nullptr);
    w->RefreshMarks();
    auto* install = w->findChild<QPushButton*>("cmdInstallStandard");
    ASSERT_TRUE(install->isEnabled());
    recorder.shown.clear();
    recorder.answer(platform::MsgAnswer::Yes); // open the printer list
    install->click();
    ASSERT_EQ(recorder.shown.size(), 1u);
    const int printers = demo::StandardContent{}.printers;
    EXPECT_NE(recorder.shown[0].text.find("Printers added: " + std::to_string(printers)), std::string::npos)
        << recorder.shown[0].text;
    EXPECT_EQ(list->topLevelItemCount(), printers);
    EXPECT_EQ(printers::SystemPrinters().Count(), static_cast<size_t>(printers));
    // The printers' mark now warns that none of them has a queue.
    EXPECT_EQ(w->findChild<QLabel*>("lblDone_2")->text(), "Done (!)");
    startup.shutDown();
}

} // namespace
