#include "General_MDI.h"

#include "DatabaseSession.h"
#include "MessageService.h"

#include <QAction>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>
#include <csignal>
#include <filesystem>

namespace mainwindow {

namespace fs = std::filesystem;

General_MDI::General_MDI(QWidget* parent) : QMainWindow(parent) {
    setObjectName("General_MDI");
    setWindowTitle("Veltra Desktop");
    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName("mdiArea");
    m_tabBar = new QWidget(this);
    m_tabBar->setObjectName("picTabs");
    auto* tabs = new QHBoxLayout(m_tabBar);
    tabs->setContentsMargins(2, 2, 2, 2);
    tabs->setSpacing(2);
    tabs->addStretch();
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_mdi, 1);
    layout->addWidget(m_tabBar);
    setCentralWidget(central);
    m_status = new QLabel(this);
    m_status->setObjectName("lblStatus");
    m_environment = new QLabel(this);
    m_environment->setObjectName("lblEnvironment");
    statusBar()->addWidget(m_status, 1);
    statusBar()->addPermanentWidget(m_environment);
    m_timer = new QTimer(this);
    m_timer->setObjectName("tmrMain");
    m_timer->setInterval(2000);
    connect(m_timer, &QTimer::timeout, this, &General_MDI::tmrMain_Timer);
    m_timer->start();
    connect(m_mdi, &QMdiArea::subWindowActivated, this, &General_MDI::SetActiveStatus);
    buildMenus();
    resize(1100, 720);
}

void General_MDI::buildMenus() {
    std::map<std::string, QMenu*> menus;
    for (const auto& e : menuTable()) {
        const QString caption = QString::fromStdString(e.caption);
        if (e.submenu) {
            QMenu* menu = e.parent.empty() ? menuBar()->addMenu(caption) : menus.at(e.parent)->addMenu(caption);
            menu->setObjectName(QString::fromStdString(e.name));
            menus[e.name] = menu;
            m_actions[e.name] = menu->menuAction();
            menu->menuAction()->setObjectName(QString::fromStdString(e.name));
            continue;
        }
        QMenu* parent = menus.at(e.parent);
        if (e.separatorBefore)
            parent->addSeparator();
        QAction* a = parent->addAction(caption);
        a->setObjectName(QString::fromStdString(e.name));
        const std::string name = e.name;
        connect(a, &QAction::triggered, this, [this, name] { runCommand(name); });
        m_actions[e.name] = a;
    }
    for (const char* checkable : {"mnuShowBitmap", "mnuComponentBar", "mnuSoundEffects", "mnuExtendedProfile"})
        m_actions[checkable]->setCheckable(true);
}

QAction* General_MDI::action(const std::string& name) const {
    auto it = m_actions.find(name);
    return it == m_actions.end() ? nullptr : it->second;
}

void General_MDI::armMenu(const Arming& a) {
    const bool any = a.isAdministrator || a.isTransAdmin || a.isPhysicianAdmin;
    for (const auto& e : menuTable()) {
        bool allowed = true;
        switch (e.access) {
        case Access::Everyone:
            break;
        case Access::AnyAdministrator:
            allowed = any;
            break;
        case Access::SystemAdministrator:
            allowed = a.isAdministrator;
            break;
        case Access::TransAdministrator:
            allowed = a.isAdministrator || a.isTransAdmin;
            break;
        case Access::PhysicianAdministrator:
            allowed = a.isAdministrator || a.isPhysicianAdmin;
            break;
        }
        if (e.privilege >= 0)
            allowed =
                allowed && a.privilege &&
                (a.privilege(e.privilege) || (e.alternativePrivilege >= 0 && a.privilege(e.alternativePrivilege)));
        bool present = true;
        if (!e.executable.empty()) {
            // A companion whose program is missing is not offered.
            std::string exe = e.executable;
            fs::path path;
            if (exe.rfind("\\KALDRA\\SYSTEM\\", 0) == 0)
                path = fs::path(a.systemFolder) / exe.substr(15);
            else
                path = fs::path(a.programFolder) / exe;
            present = fs::exists(path) || fs::exists(fs::path(a.systemFolder) / fs::path(path).filename());
        }
        if (e.name == "mnuPaxlet")
            present = present && a.paxletSupported;
        QAction* act = m_actions.at(e.name);
        act->setVisible(allowed && present);
        act->setEnabled(allowed && present);
    }
}

General_MDI::~General_MDI() {
    // The screens die with the window's children, after the tab slots are gone: they must not
    // free their slots then.
    for (const Slot& s : m_slots)
        if (s.window)
            disconnect(s.window, nullptr, this, nullptr);
}

QMdiSubWindow* General_MDI::openScreen(QWidget* screen, const QString& title) {
    screen->setWindowTitle(title);
    QMdiSubWindow* window = m_mdi->addSubWindow(screen);
    window->setAttribute(Qt::WA_DeleteOnClose);
    const int slot = AddTabButton(window);
    if (slot >= 0)
        connect(window, &QObject::destroyed, this, [this, slot] { DeleteTabButton(slot); });
    // Screens open filling the work area; the tab bar switches between them.
    window->showMaximized();
    return window;
}

bool General_MDI::raiseScreen(QMdiSubWindow* window) {
    if (!window)
        return false;
    m_mdi->setActiveSubWindow(window);
    return true;
}

int General_MDI::AddTabButton(QMdiSubWindow* window) {
    for (int i = 0; i < kTabSlots; ++i) {
        Slot& s = m_slots[static_cast<size_t>(i)];
        if (s.inUse)
            continue;
        s.inUse = true;
        s.window = window;
        s.caption = window ? window->windowTitle() : QString();
        s.button = new QPushButton(m_tabBar);
        s.button->setToolTip(s.caption);
        s.button->setObjectName(QString("tab%1").arg(i));
        s.button->setCheckable(true);
        connect(s.button, &QPushButton::clicked, this, [this, i] { tabButton_Click(i); });
        static_cast<QHBoxLayout*>(m_tabBar->layout())->insertWidget(m_tabBar->layout()->count() - 1, s.button);
        s.button->show();
        ResizeTabs();
        return i;
    }
    return -1;
}

namespace {
constexpr const char* kVersionAboveProperty = "kdDatabaseVersionAbove";
}

void General_MDI::requireDatabaseVersionAbove(QWidget* screen, double version) {
    screen->setProperty(kVersionAboveProperty, version);
}

void General_MDI::tabButton_Click(int slot) {
    QMdiSubWindow* w = m_slots[static_cast<size_t>(slot)].window;
    if (!w)
        return;
    const QVariant needed = w->widget() ? w->widget()->property(kVersionAboveProperty) : QVariant();
    if (needed.isValid() && !foundation::DatabaseSession::instance().VersionGreaterThan(needed.toDouble())) {
        platform::MsgBox("Database Version Not Support", platform::MsgButtons::OK, platform::MsgIcon::Exclamation,
                         "Veltra Desktop");
        SetActiveStatus(m_mdi->currentSubWindow()); // the refused button does not stay pressed
        return;
    }
    m_mdi->setActiveSubWindow(w);
}

void General_MDI::DeleteTabButton(int slot) {
    if (slot < 0 || slot >= kTabSlots)
        return;
    Slot& s = m_slots[static_cast<size_t>(slot)];
    if (s.button)
        s.button->deleteLater();
    s = Slot{};
    ResizeTabs();
}

void General_MDI::SetActiveStatus(QMdiSubWindow* active) {
    for (auto& s : m_slots)
        if (s.inUse && s.button)
            s.button->setChecked(s.window == active);
}

void General_MDI::ResizeTabs() {
    const int n = tabsInUse();
    if (n == 0)
        return;
    // 2000 twips a button when all fit, else the bar's width shared equally.
    const int natural = 2000 / 15;
    const int width = natural * n <= m_tabBar->width() ? natural : std::max(24, m_tabBar->width() / n);
    for (auto& s : m_slots) {
        if (!s.inUse || !s.button)
            continue;
        s.button->setFixedWidth(width);
        // A caption too long for the button loses its end, not both ends.
        const int room = std::max(0, width - 2 * s.button->style()->pixelMetric(QStyle::PM_ButtonMargin) - 4);
        s.button->setText(s.button->fontMetrics().elidedText(s.caption, Qt::ElideRight, room));
    }
}

int General_MDI::tabsInUse() const {
    int n = 0;
    for (const auto& s : m_slots)
        n += s.inUse ? 1 : 0;
    return n;
}

void General_MDI::SetStatusBar(const QString& text) {
    m_status->setText(text);
}
void General_MDI::setEnvironmentLabel(const QString& label) {
    m_environment->setText(label);
}

void General_MDI::tmrMain_Timer() {
    SetActiveStatus(m_mdi->activeSubWindow());
}

void General_MDI::notAvailableYet(const std::string& caption) {
    std::string name;
    for (char c : caption)
        if (c != '&')
            name += c;
    platform::MsgBox("\"" + name + "\" is not available yet in this version of the Veltra Desktop.",
                     platform::MsgButtons::OK, platform::MsgIcon::Information, "Veltra Desktop");
}

void General_MDI::runCommand(const std::string& name) {
    if (commandHandler && commandHandler(name))
        return;
    if (name == "mnuExit") {
        close();
    } else if (name == "mnuTileHoriz" || name == "mnuTileVertical") {
        m_mdi->tileSubWindows();
    } else if (name == "mnuCascade") {
        m_mdi->cascadeSubWindows();
    } else if (const MenuEntry* e = findEntry(name)) {
        notAvailableYet(e->caption);
    }
}

void General_MDI::closeEvent(QCloseEvent* event) {
    if (onClose)
        onClose();
    event->accept();
}

// ---- companion programs ----------------------------------------------------------------------

CompanionLauncher& CompanionLauncher::instance() {
    static CompanionLauncher launcher;
    return launcher;
}

bool CompanionLauncher::isRunning(const std::string& title) const {
    auto it = m_running.find(title);
    return it != m_running.end() && ::kill(static_cast<pid_t>(it->second), 0) == 0;
}

void CompanionLauncher::forget() {
    m_running.clear();
}

CompanionLauncher::Result CompanionLauncher::launch(const std::string& executable, const std::string& title,
                                                    const std::string& arguments) {
    platform::PointerService::instance().set(platform::Pointer::Busy);
    struct Reset {
        ~Reset() { platform::PointerService::instance().set(platform::Pointer::Normal); }
    } reset;
    if (!title.empty() && isRunning(title)) {
        // Bring the running copy's window to the front where the desktop allows it.
        QProcess::startDetached("xdotool", {"search", "--name", QString::fromStdString(title), "windowactivate"});
        return Result::Activated;
    }
    if (!fs::exists(executable)) {
        platform::MsgBox("Could not find " + executable + ".", platform::MsgButtons::OK, platform::MsgIcon::Exclamation,
                         "Veltra Desktop");
        return Result::Missing;
    }
    QStringList args;
    for (const auto& w : SplitCommandLine(arguments))
        args << QString::fromStdString(w);
    qint64 pid = 0;
    if (!QProcess::startDetached(QString::fromStdString(executable), args, QString(), &pid))
        return Result::Failed;
    if (!title.empty())
        m_running[title] = pid;
    return Result::Started;
}

// ---- home dashboard --------------------------------------------------------------------------

Home_Dashboard::Home_Dashboard(General_MDI& main, QWidget* parent) : QWidget(parent), m_main(main) {
    setObjectName("Home_Dashboard");
    auto* layout = new QVBoxLayout(this);
    auto* health = new QGroupBox("Site Health", this);
    health->setObjectName("fraHealth");
    auto* tiles = new QHBoxLayout(health);
    const std::pair<const char*, const char*> tileDefs[] = {{"tileBackup", "mnuDBStats"},
                                                            {"tileFailedOutputs", "mnuOutputReports"},
                                                            {"tileLockedOut", "mnuUserManagement"},
                                                            {"tileLockedReports", "mnuLockedReports"},
                                                            {"tileUnknownPhysicians", "mnuUnknownPhysicians"}};
    for (const auto& [tile, command] : tileDefs) {
        auto* b = new QPushButton(health);
        b->setObjectName(tile);
        b->setMinimumHeight(64);
        const std::string cmd = command;
        connect(b, &QPushButton::clicked, this, [this, cmd] { m_main.runCommand(cmd); });
        tiles->addWidget(b);
        m_tiles[tile] = b;
    }
    layout->addWidget(health);
    const std::pair<const char*, std::vector<const char*>> categories[] = {
        {"Applications",
         {"mnuUserManagement", "mnuPPEditor", "mnuAcctEditor", "mnuTransDesktop", "mnuSTATSort", "mnuReportSearch",
          "mnuDictationConsole", "mnuPaxlet", "mnuTransform", "mnuIncentive"}},
        {"Reporting Tools", {"mnuOutputReports", "mnuSystemLog", "mnuKALDRA", "mnuDailyLineCount", "mnuImportPPList"}},
        {"System Management",
         {"mnuDBOptions", "mnuDBStats", "mnuSystemPrinters", "mnuLineCountConfigs", "mnuSuspensionEditor",
          "mnuPauseEditor", "mnuUserPolicies", "mnuSoftwareUpdates", "mnuConfigWizard", "mnuPatientSearchIdentifiers"}},
    };
    auto* row = new QHBoxLayout;
    for (const auto& [title, entries] : categories) {
        auto* box = new QGroupBox(title, this);
        box->setObjectName(QString("fra") + QString(title).remove(' '));
        auto* grid = new QVBoxLayout(box);
        for (const char* name : entries) {
            const MenuEntry* e = findEntry(name);
            auto* b = new QPushButton(QString::fromStdString(e->caption), box);
            b->setObjectName(QString("cmd") + QString(name).mid(3));
            const std::string cmd = name;
            connect(b, &QPushButton::clicked, this, [this, cmd] { m_main.runCommand(cmd); });
            grid->addWidget(b);
            m_buttons.emplace_back(b, name);
        }
        grid->addStretch();
        row->addWidget(box);
    }
    layout->addLayout(row, 1);
}

int Home_Dashboard::enabledButtons() const {
    int n = 0;
    for (const auto& [button, name] : m_buttons)
        n += button->isEnabled() ? 1 : 0;
    return n;
}

bool Home_Dashboard::refresh(const std::string& databaseName) {
    for (const auto& [button, name] : m_buttons) {
        QAction* a = m_main.action(name);
        button->setEnabled(a && a->isEnabled());
        button->setVisible(a && a->isVisible());
    }
    auto& s = foundation::DatabaseSession::instance();
    // Each tile is one quiet query: a site without msdb or a table shows "—" rather than an error.
    auto figure = [&s](const std::string& sql) -> std::string {
        s.SQLStatement = sql;
        s.ExecSQLNoRetry(true);
        std::string value;
        if (s.FetchRow() == 1)
            value = s.GetColumnText(1, 1);
        s.CloseStatement();
        return value.empty() ? "\u2014" : value;
    };
    const std::string hours = figure(
        "SELECT DATEDIFF(hour, MAX(backup_finish_date), GETDATE()) FROM msdb.dbo.backupset WHERE (type = 'D') AND "
        "database_name = '" +
        foundation::DatabaseSession::QuoteSQL(databaseName) + "' AND backup_size > 0");
    m_tiles["tileBackup"]->setText(
        QString::fromStdString("Last full backup\n" + (hours == "\u2014" ? hours : hours + " hours ago")));
    m_tiles["tileFailedOutputs"]->setText(QString::fromStdString(
        "Failed outputs (7 days)\n" +
        figure("SELECT COUNT(*) FROM Output_queue WHERE known_status NOT IN (10, 11, 13, 14, 15, 16, 17, 20, 21, 22, "
               "30, 31, 32, 33, 35, 40, 50, 51, 53, 81, 83, 84) AND output_create_timestamp >= DATEADD(day, -7, "
               "GETDATE())")));
    m_tiles["tileLockedOut"]->setText(QString::fromStdString(
        "Locked-out users\n" +
        figure("SELECT COUNT(*) FROM System_user_bindery WHERE locked_out = 1 AND is_deleted = 0 AND flag3 = 0")));
    m_tiles["tileLockedReports"]->setText(QString::fromStdString(
        "Locked reports\n" + figure("SELECT (SELECT COUNT(*) FROM Locked_reports) + (SELECT COUNT(*) FROM "
                                    "Signature_session_locks)")));
    m_tiles["tileUnknownPhysicians"]->setText(QString::fromStdString(
        "Unknown physicians\n" + figure("SELECT COUNT(DISTINCT value) FROM Physician_unknowns")));
    return enabledButtons() > 0;
}

} // namespace mainwindow
