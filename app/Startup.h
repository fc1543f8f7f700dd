#pragma once

#include "DB_MaintenanceCommands.h"
#include "EditorComponent.h"
#include "General_MDI.h"
#include "LoginComponent.h"

#include <QDialog>
#include <QMdiSubWindow>
#include <QPointer>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace users {
class UA_User_Mgmt;
}
namespace physicians {
class PP_Phys_List;
}

namespace app {

// The console's start-up in its fixed order, and the commands it wires to the menu.
class Startup {
public:
    Startup(mainwindow::General_MDI& window, suite::LoginComponent& login, suite::LoginPrompt& prompt)
        : m_window(window), m_login(login), m_prompt(prompt) {}

    // Runs the start-up; false when it stopped (the message was shown).
    bool run(const std::vector<std::string>& args, const std::string& currentDir, const std::string& programDir);
    [[nodiscard]] const std::string& stoppedAt() const { return m_stoppedAt; }
    [[nodiscard]] int activeAccounts() const { return m_activeAccounts; }
    [[nodiscard]] mainwindow::Home_Dashboard* dashboard() const { return m_dashboard; }
    [[nodiscard]] const std::string& systemFolder() const { return m_systemFolder; }

    bool runCommand(const std::string& name);
    // Creates the editor components by name; none is installed on this platform unless set here.
    std::function<std::unique_ptr<EditorComponent>(const std::string& progId)> createComponent;
    // Runs the modal type editors (tests look at the dialog instead of waiting on it).
    std::function<int(QDialog&)> runDialog = [](QDialog& d) { return d.exec(); };
    // Sets User Management's hooks to the group, relationship, message and physician screens.
    std::function<void(users::UA_User_Mgmt&)> userManagementHooks;
    void shutDown();
    static bool versionAtLeast(const std::string& version, const std::string& minimum);

private:
    bool stop(const std::string& step) {
        m_stoppedAt = step;
        return false;
    }
    mainwindow::CompanionLauncher::Result launchCompanion(const mainwindow::MenuEntry& entry);
    bool runDictationEditor();
    void markRoutinesUpdated();
    // typeName, when given, starts the log afresh showing only that type of event.
    void openSystemLog(const std::string& typeName = {});
    void openSystemPrinters();
    void openOutputTracking();
    void openAccountManager();
    void openTypeEditor(bool suspension);
    void openLineCountConfigs();
    void openUserPolicies();
    void openUserManagement();
    void wirePhysicianUsers(users::UA_User_Mgmt& screen);
    void wireLinkedUsers();
    void openStatistics();
    void openDatabaseOptions();
    void refreshDatabaseOptions();
    physicians::PP_Phys_List* openPhysicianList();
    void openWizard();
    [[nodiscard]] bool wizardWanted() const;
    void openUnknownPhysicians();
    [[nodiscard]] int countActiveAccounts() const;

    mainwindow::General_MDI& m_window;
    suite::LoginComponent& m_login;
    suite::LoginPrompt& m_prompt;
    mainwindow::CommandLine m_commandLine;
    mainwindow::Home_Dashboard* m_dashboard = nullptr;
    QPointer<QMdiSubWindow> m_systemLog; // one log screen; the menu brings it to the front
    QPointer<QMdiSubWindow> m_systemPrinters;
    QPointer<QMdiSubWindow> m_outputTracking;
    QPointer<QMdiSubWindow> m_accountManager;
    QPointer<QMdiSubWindow> m_lineCounts;
    QPointer<QMdiSubWindow> m_userPolicies;
    QPointer<QMdiSubWindow> m_userManagement;
    QPointer<QMdiSubWindow> m_statistics;
    QPointer<QMdiSubWindow> m_databaseOptions;
    std::unique_ptr<maintenance::DB_MaintenanceCommands> m_maintenance;
    QPointer<QMdiSubWindow> m_physicianList;
    QPointer<QMdiSubWindow> m_wizard;
    QPointer<QMdiSubWindow> m_unknownPhysicians;
    std::string m_stoppedAt;
    std::string m_systemFolder, m_tempFolder, m_programFolder;
    int m_activeAccounts = 0;
    bool m_running = false;
};

} // namespace app
