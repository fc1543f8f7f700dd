#pragma once

#include <string>
#include <vector>

namespace maintenance {

// The one row of Archive_cfg as the management query reads it: the nightly maintenance job's
// purge, file-server migration, archive and timing settings, with who changed each last.
struct ArchiveConfig {
    int purge_enabled = 0, purge_non_archived = 0, purge_log_level = 0;
    int migrate_enabled = 0, migrate_use_signed = 0;
    long migrate_min_days = 30, migrate_max_days = 30;
    std::string migrate_max12 = "01/01/1997", migrate_leftover_directory;
    int migrate_log_level = 0;
    int archive_enabled = 0, archive_max_months = 24, archive_log_level = 0;
    int update_enabled = 1, frequency = 0, hour = 2, minute = 0, day = 1;
    long flag2 = 30; // backup days
    long flag3 = 0;  // Transform data retention, days; 0 = never purged
    std::string purge_user_name, purge_time, migrate_user_name, migrate_time, archive_user_name, archive_time;
};

// One row of Archive_disks as the disk query reads it.
struct ArchiveDisk {
    long disk_nbr = 0;
    std::string disk_label, disk_location, lwt, drb, dre;
    long hosp_acct_id = -1;
    long reports = 0;
    bool is_active = false;
};

// The sections of Archive_cfg one configuration update writes.
enum class ConfigSection { All = 0, Purge = 1, Archive = 2, Migrate = 3, Timing = 4 };

// The maintenance settings: Archive_cfg in memory, read with the management query and written back
// one section at a time, so a dialog that owns one section never overwrites another's columns.
class clsMaintenanceSettings {
public:
    static const char* const kManagementQuery;
    static const char* const kDiskQuery;

    // The management query; false when it failed (the session showed the SQL error) or found no row.
    bool Load();
    // The disk query into Disks(); false when it failed.
    bool LoadDisks();
    // Writes one section (0 all, 1 purge, 2 archive, 3 migrate, 4 timing), stamping the sections
    // that record who saved them with userId and the current time.
    bool Update(int section, long userId);
    [[nodiscard]] std::string UpdateStatement(int section, long userId, const std::string& now) const;

    ArchiveConfig cfg;
    [[nodiscard]] const std::vector<ArchiveDisk>& Disks() const { return m_colDisks; }
    void SetDisks(std::vector<ArchiveDisk> disks) { m_colDisks = std::move(disks); }

private:
    std::vector<ArchiveDisk> m_colDisks;
};

} // namespace maintenance
