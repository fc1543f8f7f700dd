#include "clsMaintenanceHub.h"

#include "MessageService.h"

namespace maintenance {

using platform::MsgBox;
using platform::MsgButtons;
using platform::MsgIcon;

namespace {
void error(const std::string& text) {
    MsgBox(text, MsgButtons::OK, MsgIcon::Exclamation, "Error");
}
} // namespace

bool clsMaintenanceHub::Open() {
    bool ok = true;
    if (!settings.Load()) {
        error("Error retrieving management options.");
        ok = false;
    }
    if (!settings.LoadDisks()) {
        error("Error retrieving archive disk information.");
        ok = false;
    }
    return LoadPurgeTimes() && ok;
}

bool clsMaintenanceHub::LoadPurgeTimes() {
    if (purgeTimes.Load(m_accounts, m_blnCombined))
        return true;
    error("Error retrieving purging configuration.");
    return false;
}

bool clsMaintenanceHub::reread() {
    if (!settings.Load()) {
        error("Error retrieving management information.");
        return false;
    }
    if (!purgeTimes.Load(m_accounts, m_blnCombined)) {
        error("Error retrieving purging configuration.");
        return false;
    }
    return true;
}

bool clsMaintenanceHub::SavePurgeOptions(long userId) {
    if (!purgeTimes.Save()) {
        error("An error was encountered trying to save the purge settings.  \nChanges were not saved");
        return false;
    }
    if (!settings.Update(static_cast<int>(ConfigSection::Purge), userId)) {
        error("Error.  Purge Options could not be saved.");
        return false;
    }
    // The listed flags belong to the dialog that set them; the re-read starts the records afresh.
    return reread();
}

bool clsMaintenanceHub::SaveArchiveOptions(long userId) {
    if (!settings.Update(static_cast<int>(ConfigSection::Archive), userId)) {
        error("Error.  Database to Archive Options could not be saved.");
        return false;
    }
    if (!settings.Load()) {
        error("Error retrieving management information.");
        return false;
    }
    return true;
}

bool clsMaintenanceHub::saveSection(ConfigSection section, long userId, const char* failure) {
    if (!settings.Update(static_cast<int>(section), userId)) {
        error(failure);
        return false;
    }
    if (!settings.Load()) {
        error("Error retrieving management information.");
        return false;
    }
    return true;
}

bool clsMaintenanceHub::SaveMigrateOptions(long userId) {
    return saveSection(ConfigSection::Migrate, userId, "Error.  File Server To Database Options could not be saved.");
}

bool clsMaintenanceHub::SaveTimingOptions(long userId) {
    return saveSection(ConfigSection::Timing, userId, "Error.  Timing Options could not be saved.");
}

bool clsMaintenanceHub::afterDiskChange(long userId) {
    if (!settings.LoadDisks()) {
        error("Error retrieving archive disk information.");
        return false;
    }
    return ensureActiveDisk(userId);
}

bool clsMaintenanceHub::ensureActiveDisk(long userId) {
    if (!settings.cfg.archive_enabled)
        return true;
    for (const ArchiveDisk& d : settings.Disks())
        if (d.is_active)
            return true;
    error("Archiving will be disabled since there is not a current archive disk.");
    settings.cfg.archive_enabled = 0;
    return saveSection(ConfigSection::Archive, userId, "Error.  Database to Archive Options could not be saved.");
}

bool clsMaintenanceHub::SaveDisk(const clsArchiveDisk& disk, long userId) {
    if (!disk.Save()) {
        error("Error.  The archive disk could not be saved.");
        return false;
    }
    return afterDiskChange(userId);
}

bool clsMaintenanceHub::DeleteDisk(ArchiveDisk disk, long userId) {
    if (disk.reports > 0) {
        error("Error.  An archive disk with reports cannot be deleted.");
        return false;
    }
    if (MsgBox("Are you sure you want to delete the disk " + disk.disk_label + "?", MsgButtons::YesNo,
               MsgIcon::Question, "Delete Disk") != platform::MsgAnswer::Yes)
        return false;
    if (!clsArchiveDisk::Delete(disk.disk_nbr)) {
        MsgBox("Error encountered attempting to delete the disk. Disk could not be deleted", MsgButtons::OK,
               MsgIcon::Exclamation, "Disk Error");
        return false;
    }
    if (!settings.LoadDisks()) {
        error("Error retrieving archive disk information.");
        return false;
    }
    // Reports written to the disk since the list was read keep it: the statement deletes only an empty disk.
    for (const ArchiveDisk& d : settings.Disks())
        if (d.disk_nbr == disk.disk_nbr) {
            error("Error.  An archive disk with reports cannot be deleted.");
            return false;
        }
    return ensureActiveDisk(userId);
}

} // namespace maintenance
