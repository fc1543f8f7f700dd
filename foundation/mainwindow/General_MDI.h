#pragma once

#include "MenuTable.h"

#include <QMainWindow>
#include <array>
#include <functional>
#include <map>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QPushButton;
class QTimer;

namespace mainwindow {

// What the menu is armed from after the log-in.
struct Arming {
    bool isAdministrator = false, isTransAdmin = false, isPhysicianAdmin = false;
    std::string systemFolder;  // companion programs "\KALDRA\SYSTEM\..." are looked up here
    std::string programFolder; // ... and the others here
    bool paxletSupported = false;
    std::function<bool(int)> privilege; // the logged-in user's system privilege n
};

// The main window: the menu of every screen and companion program, the screens inside an MDI
// area, a bar of up to 100 tab buttons (one per open screen), the status bar.
class General_MDI : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int kTabSlots = 100;

    explicit General_MDI(QWidget* parent = nullptr);
    ~General_MDI() override;

    void armMenu(const Arming& arming);
    [[nodiscard]] QAction* action(const std::string& name) const;

    // Opens a screen inside the main window with its tab button (when a slot is free).
    QMdiSubWindow* openScreen(QWidget* screen, const QString& title);
    // Brings an open screen to the front; false when there is none (window is null).
    bool raiseScreen(QMdiSubWindow* window);
    int AddTabButton(QMdiSubWindow* window); // the slot taken, -1 when all 100 are in use
    void DeleteTabButton(int slot);
    void SetActiveStatus(QMdiSubWindow* active);
    void ResizeTabs();
    void SetStatusBar(const QString& text);
    void setEnvironmentLabel(const QString& label);
    [[nodiscard]] int tabsInUse() const;
    [[nodiscard]] QMdiArea* mdiArea() const { return m_mdi; }

    // Runs a menu entry's command: the application's handler first, then the window's own ones.
    void runCommand(const std::string& name);
    std::function<bool(const std::string& name)> commandHandler;
    std::function<void()> onClose; // exit: options, log-off, disconnect

    static void notAvailableYet(const std::string& caption);
    // Marks a screen that needs a database version above `version`: its tab button then refuses
    // with "Database Version Not Support" on an older database.
    static void requireDatabaseVersionAbove(QWidget* screen, double version);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void tmrMain_Timer();
    void tabButton_Click(int slot);

    QMdiArea* m_mdi;
    QWidget* m_tabBar;
    QLabel* m_status;
    QLabel* m_environment;
    QTimer* m_timer;
    std::map<std::string, QAction*> m_actions;
    struct Slot {
        bool inUse = false;
        QPushButton* button = nullptr;
        QMdiSubWindow* window = nullptr;
        QString caption; // the full caption; the button shows as much of it as fits
    };
    std::array<Slot, kTabSlots> m_slots;
};

// Starts companion programs; a running copy (by window title) is brought to the front instead.
class CompanionLauncher {
public:
    enum class Result { Started, Activated, Missing, Failed };
    static CompanionLauncher& instance();
    Result launch(const std::string& executable, const std::string& windowTitle, const std::string& arguments);
    [[nodiscard]] bool isRunning(const std::string& windowTitle) const;
    void forget(); // tests

private:
    std::map<std::string, long long> m_running; // window title -> process id
};

// The home screen: category buttons that run the menu's commands, and the site's health tiles.
class Home_Dashboard : public QWidget {
    Q_OBJECT
public:
    explicit Home_Dashboard(General_MDI& main, QWidget* parent = nullptr);
    // Re-reads the tiles; returns false when no category button is enabled (the caller tells the user).
    bool refresh(const std::string& databaseName);
    [[nodiscard]] int enabledButtons() const;

private:
    General_MDI& m_main;
    std::vector<std::pair<QPushButton*, std::string>> m_buttons;
    std::map<std::string, QPushButton*> m_tiles;
};

} // namespace mainwindow
