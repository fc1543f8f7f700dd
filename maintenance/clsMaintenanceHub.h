#pragma once

#include "clsArchiveDisk.h"
#include "clsMaintenanceSettings.h"
#include "clsPurgeTimes.h"

namespace suite {
class LoginComponent;
}

namespace maintenance {

// What the Database Management screen does around its settings dialogs: reads Archive_cfg, the
// archive disks and the purge times, and after a dialog's OK writes back the section it owns and
// reads again. The in-memory copies live as long as the hub, so edits made in a dialog closed
// with Cancel are still there when it is opened again.
class clsMaintenanceHub {
public:
    clsMaintenanceHub(const suite::LoginComponent& accounts, bool combinedInterfaceDB)
        : m_accounts(accounts), m_blnCombined(combinedInterfaceDB) {}

    // The management query, the disks and the purge times, each failure with its message.
    bool Open();
    bool LoadPurgeTimes(); // "Error retrieving purging configuration." on failure
    // The per-account batch, then the purge section of Archive_cfg, then the re-read.
    bool SavePurgeOptions(long userId);
    // The archive section, then the re-read.
    bool SaveArchiveOptions(long userId);
    // The migrate (file server) section, then the re-read.
    bool SaveMigrateOptions(long userId);
    // The timing section, then the re-read.
    bool SaveTimingOptions(long userId);
    // A disk added or changed, or one deleted after its refusal and question; then the disks are read
    // again and archiving is switched off (and written) when it is on without an active disk.
    bool SaveDisk(const clsArchiveDisk& disk, long userId);
    // The disk is taken by value: it may be one of settings.Disks(), which the re-read replaces.
    bool DeleteDisk(ArchiveDisk disk, long userId);

    clsMaintenanceSettings settings;
    clsPurgeTimes purgeTimes;
    [[nodiscard]] const suite::LoginComponent& Accounts() const { return m_accounts; }
    [[nodiscard]] bool CombinedInterfaceDB() const { return m_blnCombined; }

private:
    bool reread();
    bool saveSection(ConfigSection section, long userId, const char* failure);
    bool afterDiskChange(long userId);
    bool ensureActiveDisk(long userId);
    const suite::LoginComponent& m_accounts;
    bool m_blnCombined;
};

} // namespace maintenance
