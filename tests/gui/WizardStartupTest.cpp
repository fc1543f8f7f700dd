// The configuration wizard in the console: from the menu, with privilege 6 or without, and at
// start-up once the user has asked for it.

#include "Gen_Wizard.h"
#include "StartupFixture.h"

#include <QCheckBox>
#include <QPushButton>

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

} // namespace
