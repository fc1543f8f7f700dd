#pragma once

#include "WizardSteps.h"

#include <QWidget>
#include <array>
#include <functional>
#include <string>
#include <vector>

class QCheckBox;
class QLabel;
class QPushButton;

namespace wizard {

// What the wizard's steps open; the console sets them to its own screens.
struct WizardScreens {
    std::function<void()> addAccount;        // the account manager on a new account
    std::function<void()> addUser;           // User Management's editor on a new user
    std::function<void()> addPrinterWizard;  // the system printer component's add-printer wizard
    std::function<void()> showPrinterList;   // the system printer list
    std::function<void()> showPhysicianList; // the physician list
    // The system printer component's version, e.g. "4.0.1".
    std::function<std::string()> printerComponentVersion;
    // Called after the standard configuration was installed: what the console keeps of the printers
    // is read again.
    std::function<void()> standardInstalled;
    // The print queues this workstation knows; unset: the workstation's CUPS queues.
    std::function<std::vector<std::string>()> workstationQueues;
    // The "ShowWizard" user option: read when the screen opens, written when the box changes.
    std::function<bool()> showAtStartUp;
    std::function<void(bool)> setShowAtStartUp;
    // Where the standard database is shipped and copied to.
    std::string networkRoot;
    std::string localRoot;
};

// "Configuration Wizard": the four set-up steps of a new installation in order, each with its
// number, its button and a mark when done. Without privilege 6 the step buttons are disabled.
class Gen_Wizard : public QWidget {
    Q_OBJECT
public:
    Gen_Wizard(WizardScreens screens, bool mayConfigure, QWidget* parent = nullptr);

    // Reads which steps are done and shows the marks and captions.
    void RefreshMarks();
    void cmdConfig_Click(int step);
    // Installs the standard configuration for the site's one account, then shows what was copied and
    // offers the printer list when printers have no queue.
    void cmdInstallStandard_Click();
    [[nodiscard]] const StepMarks& Marks() const { return m_marks; }

    static constexpr const char* kTitle = "Configuration Wizard";

private:
    // Opens a step's screen and, while the answer is Yes, asks to add another.
    void repeatStep(const std::function<void()>& open, const char* question);
    // The printers' mark warns of printers that cannot print from this workstation.
    void refreshPrintersWarning();

    WizardScreens m_screens;
    bool m_mayConfigure;
    StepMarks m_marks{};
    std::array<QPushButton*, kWizardSteps> cmdStep{};
    std::array<QPushButton*, kWizardSteps> cmdConfig{};
    std::array<QLabel*, kWizardSteps> cmdConfigT{};
    std::array<QLabel*, kWizardSteps> lblDone{};
    QLabel* lblPrintersWarning;
    QCheckBox* chkShowWizard;
    QPushButton* cmdInstallStandard;
    bool m_installing = false;
};

} // namespace wizard
