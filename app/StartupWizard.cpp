// The configuration wizard's steps wired to the console's own screens.

#include "AC_Dept_Acct_Mngr.h"
#include "Configuration.h"
#include "Gen_Wizard.h"
#include "General_MDI.h"
#include "LoginComponent.h"
#include "PP_Phys_List.h"
#include "PR_Printers.h"
#include "Startup.h"
#include "UA_User_Mgmt.h"
#include "clsPartition.h"
#include "clsPrinters.h"

#include <QEventLoop>
#include <QMdiSubWindow>
#include <QPushButton>

namespace app {

namespace {

// The version the console's system printer screens answer for the suite's printer component: they
// include the add-printer wizard.
constexpr const char* kSystemPrintersVersion = "4.1.0";
constexpr int kConfigurationWizard = 6;

template <typename T>
T* screenOf(QMdiSubWindow* window) {
    return window ? qobject_cast<T*>(window->widget()) : nullptr;
}

// A step's screen is a window of the workspace: the wizard asks for another only once it is closed.
void waitUntilClosed(QMdiSubWindow* window) {
    if (!window)
        return;
    QEventLoop loop;
    QObject::connect(window, &QObject::destroyed, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

bool Startup::wizardWanted() const {
    return foundation::Configuration::AffermativeValue(m_login.GetUserOptionValue("ShowWizard", "NO"));
}

void Startup::openWizard() {
    if (m_window.raiseScreen(m_wizard))
        return;
    const auto& config = foundation::Configuration::instance();
    wizard::WizardScreens screens;
    screens.addAccount = [this] {
        openAccountManager();
        if (auto* manager = screenOf<accounts::AC_Dept_Acct_Mngr>(m_accountManager)) {
            if (auto* add = manager->findChild<QPushButton*>("Insert_new_account"))
                add->click();
            waitUntilClosed(m_accountManager);
        }
    };
    screens.addUser = [this] {
        openUserManagement();
        if (auto* management = screenOf<users::UA_User_Mgmt>(m_userManagement))
            management->AddUserMain();
    };
    screens.addPrinterWizard = [this] {
        openSystemPrinters();
        if (auto* list = screenOf<printers::PR_Printers>(m_systemPrinters))
            list->BAdd_Click();
    };
    screens.showPrinterList = [this] { openSystemPrinters(); };
    // The printers the install added: for the screens that choose a printer, and in an open list.
    screens.standardInstalled = [this] {
        printers::SystemPrinters().LoadPrinters();
        if (auto* list = screenOf<printers::PR_Printers>(m_systemPrinters))
            list->DisplayConfig(m_login.user.Partition_ID, physicians::PartitionCache().size() > 1);
    };
    screens.showPhysicianList = [this] { openPhysicianList(); };
    screens.printerComponentVersion = [] { return std::string(kSystemPrintersVersion); };
    screens.showAtStartUp = [this] { return wizardWanted(); };
    screens.setShowAtStartUp = [this](bool on) { m_login.AddUserOption("ShowWizard", on ? "YES" : "NO"); };
    screens.networkRoot = config.networkRootDir;
    screens.localRoot = config.localRootDir;
    auto* screen = new wizard::Gen_Wizard(std::move(screens), m_login.user.privilege(kConfigurationWizard));
    m_wizard = m_window.openScreen(screen, wizard::Gen_Wizard::kTitle);
}

} // namespace app
