#include "DB_MaintenanceCommands.h"

#include "DB_Database_Archive.h"
#include "DB_Dictation_Purging.h"
#include "DB_Disk_Edit.h"
#include "DB_FileServer_Database.h"
#include "DB_Purge_Options.h"
#include "DB_Statistics.h"
#include "DB_Timing.h"
#include "Interaction.h"
#include "LoginComponent.h"
#include "MessageService.h"

#include <filesystem>

namespace maintenance {

using platform::MsgBox;
using platform::MsgButtons;
using platform::MsgIcon;

bool DB_MaintenanceCommands::openHub() {
    if (m_hub)
        return true;
    auto hub = std::make_unique<clsMaintenanceHub>(m_login, m_blnCombined);
    if (!hub->Open())
        return false;
    m_hub = std::move(hub);
    return true;
}

void DB_MaintenanceCommands::PurgeOptions(QWidget* parent) {
    int accounts = 0;
    for (int i = 1; i <= m_login.NumberHospAccounts(); ++i)
        accounts += m_login.HospAccountAt(i).hosp_acct_id > -1 && !m_login.HospAccountAt(i).is_deleted ? 1 : 0;
    if (accounts == 0) {
        MsgBox("There are no accounts defined.  Please use the Account Editor to add an account.", MsgButtons::OK,
               MsgIcon::Exclamation, "Database Management");
        return;
    }
    if (!openHub())
        return;
    // The cache may have grown since the times were read: a new account gets its record.
    if (m_hub->purgeTimes.Count() != m_login.NumberHospAccounts() && !m_hub->LoadPurgeTimes())
        return;
    DB_Purge_Options dialog(*m_hub, m_login.user, m_blnK2Dictation, parent);
    dialog.configureDictationPurging = configureDictationPurging;
    if (!dialog.configureDictationPurging)
        dialog.configureDictationPurging = [this, &dialog] { DictationPurging(&dialog); };
    if (!dialog.EditPurgeOptions(runDialog))
        return;
    platform::BusyPointer busy;
    m_hub->SavePurgeOptions(m_login.user.user_id);
}

bool DB_MaintenanceCommands::DictationPurging(QWidget* parent) {
    DB_Dictation_Purging screen(m_login, m_login.user.user_name, parent);
    screen.runEditor = runDialog;
    return screen.ConfigureDictationPurging(runDialog);
}

void DB_MaintenanceCommands::ArchiveOptions(QWidget* parent) {
    if (!openHub())
        return;
    DB_Database_Archive dialog(*m_hub, m_login.user, parent);
    if (!dialog.EditArchiveOptions(runDialog))
        return;
    platform::BusyPointer busy;
    m_hub->SaveArchiveOptions(m_login.user.user_id);
}

DB_Statistics* DB_MaintenanceCommands::NewStatistics(const std::string& networkRoot) {
    if (!m_login.user.privilege(5)) {
        MsgBox("ACCESS DENIED:  You do not have access to view database statistics.", MsgButtons::OK,
               MsgIcon::Exclamation, "Security");
        return nullptr;
    }
    const std::filesystem::path kaldra = std::filesystem::path(networkRoot) / "KALDRA";
    return new DB_Statistics((kaldra / "IMPORT").string(), (kaldra / "BACKUP").string(), m_login.user.privilege(4));
}

bool DB_MaintenanceCommands::mayChange(const char* what) const {
    if (m_login.user.privilege(4))
        return true;
    MsgBox(std::string("ACCESS DENIED:  You do not have access to change ") + what + ".", MsgButtons::OK,
           MsgIcon::Exclamation, "Security");
    return false;
}

void DB_MaintenanceCommands::FileServerOptions(QWidget* parent) {
    if (!mayChange("file server configurations") || !openHub())
        return;
    DB_FileServer_Database dialog(*m_hub, parent);
    if (!dialog.EditMigrateOptions(runDialog))
        return;
    platform::BusyPointer busy;
    m_hub->SaveMigrateOptions(m_login.user.user_id);
}

void DB_MaintenanceCommands::TimingOptions(QWidget* parent) {
    if (!mayChange("general database management options") || !openHub())
        return;
    DB_Timing dialog(*m_hub, parent);
    if (!dialog.EditTimeOption(runDialog))
        return;
    platform::BusyPointer busy;
    m_hub->SaveTimingOptions(m_login.user.user_id);
}

void DB_MaintenanceCommands::editDisk(QWidget* parent, const ArchiveDisk* disk) {
    DB_Disk_Edit dialog(m_hub->settings.Disks(), parent);
    if (!dialog.EditDisk(disk, runDialog))
        return;
    platform::BusyPointer busy;
    m_hub->SaveDisk(dialog.Disk(), m_login.user.user_id);
}

void DB_MaintenanceCommands::AddDisk(QWidget* parent) {
    if (!mayChange("archive disks") || !openHub())
        return;
    editDisk(parent, nullptr);
}

void DB_MaintenanceCommands::EditDisk(QWidget* parent, long diskNbr) {
    if (!mayChange("archive disks") || !openHub())
        return;
    for (const ArchiveDisk& d : m_hub->settings.Disks())
        if (d.disk_nbr == diskNbr) {
            const ArchiveDisk disk = d; // the list is read again by the save
            editDisk(parent, &disk);
            return;
        }
}

void DB_MaintenanceCommands::DeleteDisk(long diskNbr) {
    if (!mayChange("archive disks") || !openHub())
        return;
    for (const ArchiveDisk& d : m_hub->settings.Disks())
        if (d.disk_nbr == diskNbr) {
            const ArchiveDisk disk = d;
            m_hub->DeleteDisk(disk, m_login.user.user_id);
            return;
        }
}

} // namespace maintenance
