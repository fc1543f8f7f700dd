#include "Startup.h"

#include "AC_Dept_Acct_Mngr.h"
#include "Configuration.h"
#include "DB_Options.h"
#include "DB_Statistics.h"
#include "DatabaseSession.h"
#include "Desktop.h"
#include "DialogLoginPrompt.h"
#include "EventLog.h"
#include "ExportList.h"
#include "HelpFile.h"
#include "LC_Config.h"
#include "MessageService.h"
#include "Numbers.h"
#include "OR_Log_List.h"
#include "PP_Phys_List.h"
#include "PP_Unknown_Phys.h"
#include "PR_Printers.h"
#include "PhysicianUserEditor.h"
#include "RelationshipFolders.h"
#include "SL_Log_List.h"
#include "SiteKeyOffer.h"
#include "TE_Pauses.h"
#include "TE_SuspTypes.h"
#include "TE_Type_Editor.h"
#include "UA_LockedReports.h"
#include "UA_Policy.h"
#include "UA_Send_Message.h"
#include "UA_User_Mgmt.h"
#include "UserStatements.h"
#include "VV_FacilityLinks.h"
#include "clsBatchConfig.h"
#include "clsPartition.h"
#include "clsPrinterTrays.h"
#include "clsPrinters.h"
#include "clsSignatureRelationships.h"
#include "clsUser.h"
#include "frmSettings.h"
#include "frmSoftwareSettings.h"
#include "frmWorkTime.h"
#include "modBackupCheck.h"
#include "modGroupScreens.h"
#include "modPartition.h"
#include "modPhysicianList.h"
#include "modPrivileges.h"
#include "modUserStore.h"

#include <QAction>
#include <QDate>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <cstdlib>
#include <filesystem>

namespace app {

namespace fs = std::filesystem;
using foundation::Configuration;
using foundation::DatabaseSession;
using foundation::EventLog;
using platform::MsgBox;
using platform::MsgButtons;
using platform::MsgIcon;

namespace {

// The group picker of the user editor's Groups tab, in User Management and in the profile editor:
// the groups chosen to add, read fresh with the program-wide users and groups.
std::vector<users::UserGroupEntry> chooseUserGroups(QWidget* parent, const users::clsUser& user,
                                                    const std::vector<long>& current) {
    std::vector<users::UserGroupEntry> chosen;
    std::vector<long> ids = current;
    if (!users::LoadUsersAndGroups() || !users::AddUserGroups(parent, user, ids))
        return chosen;
    for (size_t i = current.size(); i < ids.size(); ++i)
        if (const users::clsSecurityGroup* g = users::SecurityGroups().Item(users::clsSecurityGroups::Key(ids[i])))
            chosen.push_back({g->m_lngGroupId, g->m_strGroupName, g->m_strDescription, g->IsBuiltIn()});
    return chosen;
}

} // namespace

// The login component's versions are decimal numbers ("8.1", "2.006") written with a decimal point
// whatever the locale; a text that is no number counts as no version at all.
bool Startup::versionAtLeast(const std::string& version, const std::string& minimum) {
    const auto have = platform::parseNumber(version), need = platform::parseNumber(minimum);
    return have && need && *have >= *need;
}

bool Startup::run(const std::vector<std::string>& args, const std::string& currentDir, const std::string& programDir) {
    auto& config = Configuration::instance();
    auto& session = DatabaseSession::instance();
    m_programFolder = programDir;
    // 1. The region component: the workstation's date and time formats for the SQL trace.
    auto& log = EventLog::context();
    log.dateFormat = suite::RegionComponent::toStrftime(suite::RegionComponent::DateFormat());
    log.timeFormat = suite::RegionComponent::toStrftime(suite::RegionComponent::TimeFormat());
    // 2.
    platform::PointerService::instance().set(platform::Pointer::Busy);
    m_commandLine = mainwindow::CommandLine::parse(args);
    // 3. The development switch names a fixed configuration path.
    std::vector<std::string> search = args;
    if (m_commandLine.dev) {
        const char* dev = std::getenv("KDADMIN_DEV_INI");
        search.push_back(std::string("/INI=") + (dev && *dev ? dev : "/srv/kaldra/dev/KALDRA.INI"));
    }
    if (!config.LocateKaldraINI(search, currentDir, programDir))
        return stop("locate");
    // 4.
    if (!versionAtLeast(m_login.version, "8.0")) {
        MsgBox("KDLOGIN.DLL version is incorrect.  Version 8.0.0 or higher is required.  Please contact your System "
               "Administrator for assistance.",
               MsgButtons::OK, MsgIcon::Critical, "Incompatible KDLOGIN.DLL");
        return stop("login version");
    }
    // 5., 6.
    m_login.UseOfflineDB = false;
    if (!config.ReadKaldraINI())
        return stop("configuration");
    config.ReadRegistry();
    if (config.remoteOnline) {
        config.logFolder = (fs::path(config.localRootDir) / "KALDRA" / "LOG" / "KDADMIN").string();
        std::error_code ec;
        fs::create_directories(config.logFolder, ec);
    }
    const bool branded = config.brandType == "1";
    config.applicationTitle = branded ? "Veltra Desktop" : "Kaldra Administration Desktop";
    session.ApplicationTitle = "Veltra Desktop";
    // 7.
    m_login.KALDRAIniFileName = config.iniPath;
    m_login.ApplicationName = branded ? "Veltra Desktop" : "Kaldra Administration Desktop";
    m_login.ApplicationVersion = "8.1.0";
    m_login.SQLDBName = config.databaseName;
    m_login.SQLPassword = config.sqlPassword;
    m_login.SQLUserName = config.sqlUserName;
    m_login.SQLServerName = config.serverName;
    m_login.ODBCSource = config.useDriverConnect ? std::string() : config.dataSourceName;
    m_login.HideLastUser = config.hideLastUser;
    const bool above2006 = !versionAtLeast("2.006", m_login.version);
    if (above2006)
        m_login.NetworkRootDir = config.networkRootDir;
    const std::string base = config.remoteOnline ? config.localRootDir : config.networkRootDir;
    m_systemFolder = (fs::path(base) / "KALDRA" / "SYSTEM").string();
    m_tempFolder = (fs::path(config.terminalServerSupport
                                 ? (config.terminalServerUserRootDir.empty() ? config.localRootDir
                                                                             : config.terminalServerUserRootDir)
                                 : config.localRootDir) /
                    "KALDRA" / "TEMP")
                       .string();
    // 8.
    m_login.prompt = &m_prompt;
    const int result = m_login.Login(true, 0, "");
    if (result == 2) {
        session.ShowConnectError();
        return stop("login unreachable");
    }
    if (result != 0)
        return stop("login cancelled");
    // 9.
    if (!session.ConnectToSQL())
        return stop("connect");
    EventLog::AttachToSession();
    OfferSiteKey(config, session);
    session.ReadDatabaseVersion();
    bool paxlet = config.paxlet;
    if (paxlet && !above2006) {
        MsgBox("Paxlet support has been disabled because the KDLOGIN program does not support it.", MsgButtons::OK,
               MsgIcon::Information, session.ApplicationTitle);
        paxlet = false;
    } else if (paxlet && session.VersionAtMost(2.0085)) {
        MsgBox("Paxlet support has been disabled because the database version does not support it.", MsgButtons::OK,
               MsgIcon::Information, session.ApplicationTitle);
        paxlet = false;
    }
    // 10.
    if (physicians::LoadPartitions() < 1) {
        MsgBox("Failed to load partition information", MsgButtons::OK, MsgIcon::Critical, session.ApplicationTitle);
        return stop("partitions");
    }
    physicians::Partitions().login = &m_login;
    // 11.
    const auto& user = m_login.user;
    mainwindow::Arming arming;
    arming.isAdministrator = user.is_administrator;
    arming.isTransAdmin = user.is_trans_admin;
    arming.isPhysicianAdmin = user.is_paxlet_admin;
    arming.systemFolder = m_systemFolder;
    arming.programFolder = programDir;
    arming.paxletSupported = paxlet;
    arming.privilege = [this](int n) { return m_login.user.privilege(n); };
    m_window.armMenu(arming);
    log.userId = static_cast<int>(user.user_id);
    log.partitionId = static_cast<int>(user.Partition_ID);
    log.userName = user.user_name;
    log.workstation = m_login.NameOfPC();
    log.logFolder = config.logFolder;
    log.logDebug = config.logDebug;
    log.logSQL = config.logSQL;
    log.logSize = config.logSize;
    log.iniRead = config.iniRead;
    EventLog::PrepareTraceFile();
    // 12., 13.
    m_login.LoadUserOptions();
    m_login.LoadAccountData();
    m_login.DisconnectSQL();
    m_activeAccounts = countActiveAccounts();
    m_window.action("mnuShowBitmap")
        ->setChecked(Configuration::AffermativeValue(m_login.GetUserOptionValue("ToolBarShowBitmap", "")));
    // 14. The system printers with their originals settings and custom footer formats, for the
    // screens that choose a printer, and the tray names of the workstation queues they print on.
    // A failed read is shown and logged; start-up goes on without them.
    printers::SystemPrinters().LoadPrinters();
    printers::PrinterTrays().LoadTrayNames(printers::SystemPrinters());
    // 15.
    m_window.setWindowTitle(QString::fromStdString(branded ? "Veltra Desktop" : "Kaldra Administration Desktop"));
    m_window.setEnvironmentLabel(
        QString::fromStdString(mainwindow::EnvironmentLabel(config.databaseName, config.iniPath, config.remoteOnline)));
    m_window.SetStatusBar(QString::fromStdString(user.first_name + " " + user.last_name + " (" + user.user_name +
                                                 ")  " + user.Partition_Name));
    m_window.commandHandler = [this](const std::string& name) { return runCommand(name); };
    m_window.onClose = [this] { shutDown(); };
    m_dashboard = new mainwindow::Home_Dashboard(m_window);
    QMdiSubWindow* home = m_window.openScreen(m_dashboard, branded ? "Home" : "Home - Kaldra");
    home->showMaximized();
    if (!m_dashboard->refresh(config.databaseName))
        MsgBox("You have not been granted access to any user applications.  Please contact your system administrator.",
               MsgButtons::OK, MsgIcon::Exclamation, "Access Denied");
    // 16., 17.
    platform::PointerService::instance().set(platform::Pointer::Normal);
    m_maintenance =
        std::make_unique<maintenance::DB_MaintenanceCommands>(m_login, config.combinedInterfaceDB, config.k2Dictation);
    m_maintenance->runDialog = [this](QDialog& d) { return runDialog(d); };
    if (user.is_administrator && !users::IsTechnicianAccount(user.user_name) && !config.remoteOnline &&
        !config.skipBackupCheck)
        maintenance::DatabaseBackupCheck(session.DatabaseName);
    foundation::HelpFile::setFolder(programDir);
    wireLinkedUsers();
    // After the home dashboard: the configuration wizard, when the user asked for it at start-up.
    if (wizardWanted())
        openWizard();
    m_running = true;
    return true;
}

mainwindow::CompanionLauncher::Result Startup::launchCompanion(const mainwindow::MenuEntry& e) {
    std::string exe = e.executable;
    fs::path path = exe.rfind("\\KALDRA\\SYSTEM\\", 0) == 0 ? fs::path(m_systemFolder) / exe.substr(15)
                                                            : fs::path(m_programFolder) / exe;
    if (!fs::exists(path) && fs::exists(fs::path(m_systemFolder) / path.filename()))
        path = fs::path(m_systemFolder) / path.filename();
    mainwindow::CompanionArguments what;
    what.ini = what.uid = what.uname = what.password = what.skipBackground = what.cpu = true;
    what.cpu = !m_commandLine.cpu.empty();
    const auto& config = Configuration::instance();
    std::string args = mainwindow::CompanionCommandLine(what, config.iniPath, m_login.user.user_id,
                                                        m_login.user.user_name, m_login.user.password, m_commandLine);
    if (e.name == "mnuKALDRA")
        args += mainwindow::ManagementReportSwitches([this](int n) { return m_login.user.privilege(n); });
    if (e.name == "mnuSynchronizeTestDatabase" && !fs::exists(path)) {
        MsgBox("The Veltra Configuration Copier (KDCFGCPY.EXE) is not available.  Please contact your technical "
               "support representative.",
               MsgButtons::OK, MsgIcon::Exclamation, "Veltra Desktop");
        return mainwindow::CompanionLauncher::Result::Missing;
    }
    // Report Search shows its reports as web pages.
    if (e.name == "mnuReportSearch" && !platform::DesktopOpener::instance().hasWebBrowser()) {
        MsgBox("Report Search needs a web browser, and none was found on this workstation.  Please contact your "
               "System Administrator.",
               MsgButtons::OK, MsgIcon::Exclamation, "Report Search Error");
        return mainwindow::CompanionLauncher::Result::Failed;
    }
    return mainwindow::CompanionLauncher::instance().launch(path.string(), e.windowTitle, args);
}

// The workstations compare the stamps pc_update writes at their next log-in and fetch what changed.
void Startup::markRoutinesUpdated() {
    auto& session = DatabaseSession::instance();
    session.SQLStatement = "pc_update 2, 0";
    if (session.ExecSQL() != 1)
        return;
    session.FlushResults();
    MsgBox("The routines on the network have been marked as updated.  \nAll client workstations that need updating "
           "will be prompted at the next login.",
           MsgButtons::OK, MsgIcon::Information, "Veltra Desktop");
}

bool Startup::runDictationEditor() {
    std::unique_ptr<EditorComponent> editor = createComponent ? createComponent("KDDDIEDT.clsDDIEditor") : nullptr;
    if (!editor)
        return false;
    editor->KaldraINIFile = Configuration::instance().iniPath;
    editor->KdLoginPtr = &m_login;
    editor->ShowForm();
    auto& session = DatabaseSession::instance();
    session.SQLStatement = "pc_update 1, 0";
    if (session.ExecSQL() == 1)
        session.FlushResults();
    else
        MsgBox("Error encountered marking the dictation interface work type table as updated.", MsgButtons::OK,
               MsgIcon::Exclamation, "Update Error");
    return true;
}

bool Startup::runCommand(const std::string& name) {
    auto& session = DatabaseSession::instance();
    const mainwindow::MenuEntry* entry = mainwindow::findEntry(name);
    if (!entry)
        return false;
    if (!entry->executable.empty()) {
        using Result = mainwindow::CompanionLauncher::Result;
        const Result result = launchCompanion(*entry);
        if (name == "mnuRoutines" && (result == Result::Started || result == Result::Activated))
            markRoutinesUpdated();
        return true;
    }
    // The physician commands need their privileges before anything opens.
    if (const std::string refusal = users::PhysicianCommandRefusal(name); !refusal.empty()) {
        MsgBox(refusal, MsgButtons::OK, MsgIcon::Exclamation, "Security");
        return true;
    }
    if (name == "mnuSoftwareUpdates") {
        foundation::frmSoftwareSettings(QString::fromStdString(Configuration::instance().iniPath), &m_window).exec();
    } else if (name == "mnuPatientSearchIdentifiers") {
        m_login.connect();
        foundation::frmSettings(m_login, &m_window).exec();
    } else if (name == "mnuPassword") {
        m_login.connect();
        m_login.ChangePassword();
    } else if (name == "mnuEditWorkTime") {
        m_login.connect();
        suite::frmWorkTime(m_login, QDate::currentDate().toString("yyyy-MM-dd"), &m_window).exec();
    } else if (name == "mnuUserManagement" || name == "mnuUAUndelete" || name == "mnuLockedReports" ||
               name == "mnuSendMessage" || name == "mnuImportUsers") {
        if (!session.VersionGreaterThan(2.0085)) {
            MsgBox(name == "mnuUserManagement" ? "Database Version Not Supported." : "Database Version Not Supported",
                   MsgButtons::OK, MsgIcon::Exclamation, "Veltra Desktop");
            return true;
        }
        if (name == "mnuLockedReports") {
            users::UA_LockedReports screen(&m_window);
            screen.LoadList();
            screen.exec();
            return true;
        }
        if (name == "mnuSendMessage")
            return false;
        openUserManagement();
        // The restored transcriptionist and the imported users are shown in User Management, which
        // holds the users.
        if ((name == "mnuUAUndelete" || name == "mnuImportUsers") && m_userManagement)
            if (auto* screen = qobject_cast<users::UA_User_Mgmt*>(m_userManagement->widget()))
                name == "mnuImportUsers" ? screen->ImportUsers() : screen->UndeleteTranscriptionist();
    } else if (name == "mnuAcctEditor") {
        if (m_login.user.is_administrator)
            openAccountManager();
        else
            MsgBox("Only user System Administrators can edit Veltra Text accounts.", MsgButtons::OK,
                   MsgIcon::Exclamation, "Veltra Desktop");
    } else if (name == "mnuSuspensionEditor" || name == "mnuPauseEditor") {
        openTypeEditor(name == "mnuSuspensionEditor");
    } else if (name == "mnuLineCountConfigs") {
        openLineCountConfigs();
    } else if (name == "mnuImportList") {
        // The list the user last clicked in the screen in front.
        QMdiSubWindow* front = m_window.mdiArea()->currentSubWindow();
        QWidget* focused = front ? front->focusWidget() : nullptr;
        if (auto* userScreen = front ? qobject_cast<users::UA_User_Mgmt*>(front->widget()) : nullptr)
            focused = userScreen->ListToExport(focused);
        foundation::ExportList(focused);
    } else if (name == "mnuLocalRequest") {
        if (MsgBox("Do you want to update all local configuration files?", MsgButtons::YesNo, MsgIcon::Question,
                   "Veltra Desktop") == platform::MsgAnswer::Yes) {
            session.SQLStatement = "INSERT System_offline_db_updates (request_datetime, user_id, workstation, flag1) "
                                   "VALUES (GETDATE(), " +
                                   std::to_string(m_login.user.user_id) + ", '" +
                                   DatabaseSession::QuoteSQL(m_login.NameOfPC()) + "', 0)";
            if (session.ExecSQL() == 1)
                session.FlushResults();
        }
    } else if (name == "mnuDictationEditor") {
        return runDictationEditor();
    } else if (name == "mnuShowBitmap") {
        // The background is laid out at start-up, so the choice is kept for the next run.
        const bool show = m_window.action(name)->isChecked();
        m_login.AddUserOption("ToolBarShowBitmap", show ? "YES" : "NO");
        MsgBox("The Veltra Desktop must be restarted before this change will be completely in effect.", MsgButtons::OK,
               MsgIcon::Information, "Veltra Desktop");
    } else if (name == "mnuSystemLog") {
        openSystemLog();
    } else if (name == "mnuSystemPrinters") {
        openSystemPrinters();
    } else if (name == "mnuOutputReports") {
        openOutputTracking();
    } else if (name == "mnuVeltraVoiceLinks") {
        voicesystems::VV_FacilityLinks links(m_login, &m_window);
        if (links.MyShow())
            links.exec();
    } else if (name == "mnuUserPolicies") {
        openUserPolicies();
    } else if (name == "mnuDBPurge" && m_maintenance) {
        m_maintenance->PurgeOptions(&m_window);
    } else if (name == "mnuDBArchive" && m_maintenance) {
        m_maintenance->ArchiveOptions(&m_window);
    } else if (name == "mnuDBStats" && m_maintenance) {
        openStatistics();
    } else if (name == "mnuDBOptions" && m_maintenance) {
        openDatabaseOptions();
    } else if (name == "mnuARTime" && m_maintenance) {
        m_maintenance->TimingOptions(&m_window);
        refreshDatabaseOptions();
    } else if (name == "mnuDBFilePurge" && m_maintenance) {
        m_maintenance->FileServerOptions(&m_window);
        refreshDatabaseOptions();
    } else if (name == "mnuPPEditor") {
        openPhysicianList();
    } else if (name == "mnuPhysicianSearch") {
        openPhysicianList()->PhysSearchShow();
    } else if (name == "mnuChangePartition") {
        openPhysicianList()->ChangePartitionAssignment();
    } else if (name == "mnuSetDefaultPartition") {
        openPhysicianList()->SetDefaultPartitionAssignment();
    } else if (name == "mnuEditDefault") {
        openPhysicianList()->EditDefaultPhysician();
    } else if (name == "mnuSetDefaultAccounts") {
        openPhysicianList()->SetDefaultAccounts();
    } else if (name == "mnuImportPPList") {
        openPhysicianList()->GenerateReport();
    } else if (name == "mnuUnknownPhysicians") {
        openUnknownPhysicians();
    } else if (name == "mnuExtendedProfile") {
        openPhysicianList()->SetExtendedProfile(m_window.action(name)->isChecked());
    } else if (name == "mnuConfigWizard") {
        openWizard();
    } else if (name == "mnuAbout") {
        MsgBox("Veltra Desktop\nVersion 8.1.0\n\nDatabase version " + platform::formatFixed(session.DatabaseVersion, 2),
               MsgButtons::OK, MsgIcon::Information, "About Veltra Desktop");
    } else if (name == "mnuAdminHelp") {
        foundation::HelpFile::Show();
    } else {
        return false;
    }
    return true;
}

int Startup::countActiveAccounts() const {
    int active = 0;
    for (int i = 1; i <= m_login.NumberHospAccounts(); ++i) {
        const auto& a = m_login.HospAccountAt(i);
        active += a.hosp_acct_id > 0 && !a.is_deleted ? 1 : 0;
    }
    return active;
}

void Startup::openAccountManager() {
    if (m_window.raiseScreen(m_accountManager))
        return;
    auto* screen = new accounts::AC_Dept_Acct_Mngr(m_login);
    m_accountManager = m_window.openScreen(screen, "Veltra Text Account Manager");
    // The other screens count the live accounts from the cache the manager reloads after each write.
    QObject::connect(screen, &QObject::destroyed, &m_window, [this] { m_activeAccounts = countActiveAccounts(); });
    screen->MyShow();
}

// Both type editors need an account to write their types to.
void Startup::openTypeEditor(bool suspension) {
    if (m_activeAccounts == 0) {
        MsgBox("There are no accounts defined.  Please use the Account Editor to add an account.", MsgButtons::OK,
               MsgIcon::Exclamation, suspension ? "Suspension Types Editor" : "Pause Editor");
        return;
    }
    if (suspension) {
        accounts::TE_SuspTypes editor(&m_window);
        editor.ShowSuspTypeList();
        runDialog(editor);
    } else if (DatabaseSession::instance().VersionAtMost(2.0015)) {
        // Databases of that age keep a separate list of activity types per account.
        accounts::TE_Type_Editor editor(m_login, accounts::clsAccountTypes::Mode::Pause, &m_window);
        editor.EditTypes();
        runDialog(editor);
    } else {
        accounts::TE_Pauses editor(&m_window);
        editor.ShowPauseTypeList();
        runDialog(editor);
    }
}

void Startup::openLineCountConfigs() {
    if (m_window.raiseScreen(m_lineCounts))
        return;
    auto* screen = new accounts::LC_Config(m_login);
    m_lineCounts = m_window.openScreen(screen, "Line Count Configurations");
    screen->MyShow();
}

void Startup::openUserPolicies() {
    if (m_window.raiseScreen(m_userPolicies))
        return;
    auto* screen = new users::UA_Policy(m_login);
    m_userPolicies = m_window.openScreen(screen, "User Policies");
    screen->MyShow();
}

// The physician screens delete a physician's linked user with it, and after a partition change take
// away the user's signature relationships and privileges, through the user store.
void Startup::wireLinkedUsers() {
    users::GroupSaved() = users::WriteGroupRelations;
    physicians::LinkedUsers().deleteUser = [](long userId) {
        users::clsUsers& all = users::Users();
        return users::LoadActiveUsers(&all) && users::DeleteUser(users::clsUsers::Key(userId), all);
    };
    physicians::LinkedUsers().afterPartitionChange = [](long userId) {
        users::clsUsers& all = users::Users();
        if (!users::LoadActiveUsers(&all))
            return false;
        const users::clsUser* user = all.Item(users::clsUsers::Key(userId));
        if (!user)
            return false;
        auto& session = DatabaseSession::instance();
        session.SQLStatement = users::RemovePhysicianRelationshipsBatch(user->m_lngPhysicianId);
        return session.ExecSQLAllOrNothing() == 1 && users::ResetUserPrivileges(userId);
    };
}

void Startup::openUserManagement() {
    if (m_window.raiseScreen(m_userManagement))
        return;
    auto* screen = new users::UA_User_Mgmt(m_login);
    const auto& config = Configuration::instance();
    screen->promptFolder = (fs::path(config.networkRootDir) / "KALDRA" / "PROMPTS").string();
    screen->networkRoot = config.networkRootDir;
    screen->editContext.allowGeneralUsers = config.allowGeneralUsers;
    screen->editContext.allowSettingSignaturePassword = config.allowSettingSignaturePassword;
    screen->hooks.status = [this](const QString& text) { m_window.SetStatusBar(text); };
    screen->hooks.openUserPolicies = [this](QWidget*) { openUserPolicies(); };
    // A message goes to the chosen users (a group's live members already expanded), named as the
    // user store reads them now.
    screen->hooks.sendMessage = [this](QWidget* parent, const std::vector<long>& ids) {
        users::clsUsers& all = users::Users();
        if (!users::LoadActiveUsers(&all)) {
            MsgBox("Error retrieving users", MsgButtons::OK, MsgIcon::Critical, "User Management");
            return;
        }
        users::UA_Send_Message::Named named;
        for (long id : ids)
            if (const users::clsUser* u = all.Item(users::clsUsers::Key(id)))
                named.emplace_back(id, u->m_strUserName);
        users::UA_Send_Message(m_login.user.user_id, named, {}, parent).exec();
    };
    screen->hooks.lockedReports = [](QWidget* parent) {
        users::UA_LockedReports locks(parent);
        locks.LoadList();
        locks.exec();
    };
    // The group screens work on the program-wide users and groups, read fresh with their members.
    screen->hooks.editGroup = [](QWidget* parent, long groupId, long) {
        if (!users::LoadUsersAndGroups())
            return false;
        return groupId == 0 ? users::AddGroupMain(parent) != 0 : users::EditGroup(parent, groupId);
    };
    screen->hooks.deleteGroup = [](QWidget* parent, long groupId) {
        return users::LoadUsersAndGroups() && users::DeleteGroupMain(parent, groupId);
    };
    screen->hooks.chooseGroups = chooseUserGroups;
    users::RelationshipFolders::Install(*screen);
    wirePhysicianUsers(*screen);
    if (userManagementHooks)
        userManagementHooks(*screen);
    m_userManagement = m_window.openScreen(screen, "User Management");
    mainwindow::General_MDI::requireDatabaseVersionAbove(screen, 2.0085);
    if (!screen->MyShow() && m_userManagement)
        m_userManagement->close();
}

void Startup::openStatistics() {
    if (m_window.raiseScreen(m_statistics))
        return;
    auto* screen = m_maintenance->NewStatistics(Configuration::instance().networkRootDir);
    if (!screen)
        return;
    m_statistics = m_window.openScreen(screen, "Database Statistics");
    screen->onClose = [this] {
        if (m_statistics)
            m_statistics->close();
    };
    screen->onBackedUp = [this] {
        if (m_dashboard)
            m_dashboard->refresh(Configuration::instance().databaseName);
    };
    screen->Gather();
}

physicians::PP_Phys_List* Startup::openPhysicianList() {
    if (m_window.raiseScreen(m_physicianList))
        return qobject_cast<physicians::PP_Phys_List*>(m_physicianList->widget());
    auto* screen = new physicians::PP_Phys_List(m_login);
    screen->statusHandler = [this](const QString& text) { m_window.SetStatusBar(text); };
    // User access given in the profile editor continues in the user editor.
    screen->openUserEditor = [this, screen](const physicians::PhysicianUserRequest& request) {
        PhysicianUserEditor editor(
            m_login, (fs::path(Configuration::instance().networkRootDir) / "KALDRA" / "PROMPTS").string());
        editor.chooseGroups = chooseUserGroups;
        return editor.Edit(request, screen);
    };
    m_physicianList = m_window.openScreen(screen, "Physician Profiles");
    screen->MyShow();
    return screen;
}

void Startup::openDatabaseOptions() {
    if (m_window.raiseScreen(m_databaseOptions))
        return;
    auto* screen = new maintenance::DB_Options(*m_maintenance, m_login);
    if (!screen->MyShow()) {
        delete screen;
        return;
    }
    m_databaseOptions = m_window.openScreen(screen, "Database Management");
    screen->openStatistics = [this] { openStatistics(); };
    screen->openMaintenanceLog = [this] { openSystemLog("Database Management"); };
    screen->onClose = [this] {
        if (m_databaseOptions)
            m_databaseOptions->close();
    };
}

// A setting changed from the menu shows on the open Database Management screen at once.
void Startup::refreshDatabaseOptions() {
    if (m_databaseOptions)
        if (auto* screen = qobject_cast<maintenance::DB_Options*>(m_databaseOptions->widget()))
            screen->ShowSettings();
}

void Startup::openUnknownPhysicians() {
    if (m_window.raiseScreen(m_unknownPhysicians))
        return;
    auto* screen = new physicians::PP_Unknown_Phys(m_login);
    screen->addPhysician = [this](const std::string& value) { return openPhysicianList()->AddPhysicianUnknown(value); };
    m_unknownPhysicians = m_window.openScreen(screen, "Manage Unknown Physicians");
}

void Startup::openSystemLog(const std::string& typeName) {
    // The suite's separate log viewer component does not exist on this platform: the built-in screen.
    if (m_window.raiseScreen(m_systemLog)) {
        if (typeName.empty())
            return;
        if (auto* screen = qobject_cast<systemlog::SL_Log_List*>(m_systemLog->widget())) {
            screen->MyShow(m_login.user.user_id);
            screen->SetFilterType(typeName);
        }
        return;
    }
    auto* screen = new systemlog::SL_Log_List(m_login);
    m_systemLog = m_window.openScreen(screen, "System Log");
    screen->MyShow(m_login.user.user_id);
    if (!typeName.empty())
        screen->SetFilterType(typeName);
}

// The suite's system printer component is this console's own printer screens. Changing printers
// needs the administrator flag or privilege 29; the list itself is open to every administrator.
void Startup::openSystemPrinters() {
    if (m_window.raiseScreen(m_systemPrinters))
        return;
    constexpr int kSystemPrinterManagement = 29;
    auto* screen = new printers::PR_Printers(
        m_login.user.is_administrator || m_login.user.privilege(kSystemPrinterManagement), m_login.NetworkRootDir);
    m_systemPrinters = m_window.openScreen(screen, "System Printers");
    screen->DisplayConfig(m_login.user.Partition_ID, physicians::PartitionCache().size() > 1);
}

// View, print and resend need privilege 135; the accounts are those of the user's account cache.
void Startup::openOutputTracking() {
    if (m_window.raiseScreen(m_outputTracking))
        return;
    constexpr int kOutputTracking = 135;
    outputlog::OutputLogContext context;
    for (int i = 1; i <= m_login.NumberHospAccounts(); ++i) {
        const auto& a = m_login.HospAccountAt(i);
        if (a.hosp_acct_id <= 0 || a.is_deleted)
            continue;
        outputlog::OutputLogContext::Account account{a.hosp_acct_id, a.hosp_acct_name, {}};
        for (const auto& t : a.ReportTypes)
            account.m_colReportTypes.push_back({t.report_type_nbr, t.report_name});
        context.m_colAccounts.push_back(std::move(account));
    }
    for (const auto& f : accounts::LoadBatchFields({1, 2}))
        context.m_colFields.push_back(
            {f.batch_field_nbr, f.batch_field_name, "dd." + f.sql_field_name, f.custom_operation, f.field_type});
    context.m_udtUser = {m_login.user.user_id, m_login.user.user_name};
    context.m_blnMayResend = m_login.user.privilege(kOutputTracking);
    context.m_strIniFile = Configuration::instance().iniPath;
    auto* screen = new outputlog::OR_Log_List(std::move(context));
    m_outputTracking = m_window.openScreen(screen, "Output Tracking");
    screen->MyShow();
}

void Startup::shutDown() {
    if (!m_running)
        return;
    m_running = false;
    if (m_login.connect()) {
        m_login.SaveUserOptions();
        m_login.Logoff();
        m_login.DisconnectSQL();
    }
    DatabaseSession::instance().DisconnectFromSQL();
}

} // namespace app
