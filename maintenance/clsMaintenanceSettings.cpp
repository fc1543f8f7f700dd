#include "clsMaintenanceSettings.h"

#include "DatabaseSession.h"
#include "HubDialogRules.h"
#include "Interaction.h"

namespace maintenance {

using foundation::DatabaseSession;

const char* const clsMaintenanceSettings::kManagementQuery =
    "SELECT purge_enabled, purge_non_archived, purge_log_level, migrate_enabled, migrate_use_signed, "
    "migrate_min_days, migrate_max_days, migrate_max12 = CONVERT(char(20), migrate_max12_date, 101), "
    "migrate_leftover_directory, migrate_log_level, archive_enabled, archive_max_months, archive_log_level, "
    "update_enabled, frequency, hour, minute, day, flag2, flag3,\n"
    "purge_user_name = (SELECT user_name FROM System_user_bindery WHERE user_id = AC.purge_last_user_id),\n"
    "purge_time = CONVERT(char(25), purge_last_time, 120),\n"
    "migrate_user_name = (SELECT user_name FROM System_user_bindery WHERE user_id = AC.migrate_last_user_id),\n"
    "migrate_time = CONVERT(char(25), migrate_last_time),\n"
    "archive_user_name = (SELECT user_name FROM System_user_bindery WHERE user_id = AC.archive_last_user_id),\n"
    "archive_time = CONVERT(char(25), archive_last_time, 120)\n"
    "FROM Archive_cfg AC";

const char* const clsMaintenanceSettings::kDiskQuery =
    "SELECT disk_nbr, disk_label, disk_location, lwt = CONVERT(char(20), last_write_time, 101), "
    "drb = CONVERT(char(20), date_range_begin, 101), dre = CONVERT(char(20), date_range_end, 101), hosp_acct_id, "
    "reports, is_active FROM Archive_disks WHERE is_deleted = 0 ORDER BY disk_label";

bool clsMaintenanceSettings::Load() {
    auto& s = DatabaseSession::instance();
    s.SQLStatement = kManagementQuery;
    if (s.ExecSQL() != 1)
        return false;
    if (s.FetchRow() != 1) {
        s.CloseStatement();
        return false;
    }
    ArchiveConfig c;
    auto num = [&](int col) { return static_cast<int>(s.GetColumnLong(col)); };
    c.purge_enabled = num(1);
    c.purge_non_archived = num(2);
    c.purge_log_level = num(3);
    c.migrate_enabled = num(4);
    c.migrate_use_signed = num(5);
    c.migrate_min_days = s.GetColumnLong(6);
    c.migrate_max_days = s.GetColumnLong(7);
    c.migrate_max12 = s.GetColumnText(8, 1);
    if (c.migrate_max12.empty())
        c.migrate_max12 = "01/01/1997";
    c.migrate_leftover_directory = s.GetColumnText(9, 1);
    c.migrate_log_level = num(10);
    c.archive_enabled = num(11);
    c.archive_max_months = num(12);
    c.archive_log_level = num(13);
    c.update_enabled = num(14);
    c.frequency = num(15);
    c.hour = num(16);
    c.minute = num(17);
    c.day = num(18);
    c.flag2 = s.GetColumnLong(19);
    if (c.flag2 < 1)
        c.flag2 = 30;
    c.flag3 = s.GetColumnLong(20);
    c.purge_user_name = s.GetColumnText(21, 1);
    c.purge_time = s.GetColumnText(22, 1);
    c.migrate_user_name = s.GetColumnText(23, 1);
    c.migrate_time = s.GetColumnText(24, 1);
    c.archive_user_name = s.GetColumnText(25, 1);
    c.archive_time = s.GetColumnText(26, 1);
    s.CloseStatement();
    cfg = c;
    return true;
}

bool clsMaintenanceSettings::LoadDisks() {
    auto& s = DatabaseSession::instance();
    s.SQLStatement = kDiskQuery;
    if (s.ExecSQL() != 1)
        return false;
    std::vector<ArchiveDisk> disks;
    while (s.FetchRow() == 1) {
        ArchiveDisk d;
        d.disk_nbr = s.GetColumnLong(1);
        d.disk_label = s.GetColumnText(2, 1);
        d.disk_location = s.GetColumnText(3, 1);
        d.lwt = s.GetColumnText(4, 1);
        d.drb = s.GetColumnText(5, 1);
        d.dre = s.GetColumnText(6, 1);
        d.hosp_acct_id = s.GetColumnLong(7);
        d.reports = s.GetColumnLong(8);
        d.is_active = s.GetColumnLong(9) != 0;
        disks.push_back(std::move(d));
    }
    m_colDisks = std::move(disks);
    return true;
}

std::string clsMaintenanceSettings::UpdateStatement(int section, long userId, const std::string& now) const {
    const std::string sep = ", \n";
    const std::string user = std::to_string(userId);
    const std::string stamp = "'" + now + "'";
    auto n = [](long v) { return std::to_string(v); };
    auto purge = [&] {
        return "purge_enabled      = " + n(cfg.purge_enabled) + sep +
               "purge_non_archived = " + n(cfg.purge_non_archived) + sep +
               "purge_log_level    = " + n(cfg.purge_log_level) + sep + "purge_last_user_id = " + user + sep +
               "flag3              = " + n(cfg.flag3) + sep + "purge_last_time    = " + stamp;
    };
    auto archive = [&] {
        return "archive_enabled     = " + n(cfg.archive_enabled) + sep +
               "archive_max_months  = " + n(cfg.archive_max_months) + sep +
               "archive_log_level   = " + n(cfg.archive_log_level) + sep + "archive_last_user_id = " + user + sep +
               "archive_last_time   = " + stamp;
    };
    // The install date is kept as MM/DD/YYYY (as the screen shows it and the load reads it); it is
    // written unseparated, which the server reads the same under any language or date format.
    const std::string installDate = UnseparatedDate(cfg.migrate_max12);
    auto migrate = [&] {
        return "migrate_use_signed    = " + n(cfg.migrate_use_signed) + sep +
               "migrate_min_days      = " + n(cfg.migrate_min_days) + sep +
               "migrate_max_days      = " + n(cfg.migrate_max_days) + sep + "migrate_max12_date   = '" +
               DatabaseSession::QuoteSQL(installDate.empty() ? cfg.migrate_max12 : installDate) + "'" + sep +
               "migrate_leftover_directory = '" + DatabaseSession::QuoteSQL(cfg.migrate_leftover_directory) + "'" +
               sep + "migrate_log_level     = " + n(cfg.migrate_log_level) + sep + "migrate_last_user_id  = " + user +
               sep + "migrate_last_time     = " + stamp + sep + "migrate_enabled       = " + n(cfg.migrate_enabled);
    };
    auto timing = [&] {
        return "update_enabled = " + n(cfg.update_enabled) + sep + "frequency     = " + n(cfg.frequency) + sep +
               "hour          = " + n(cfg.hour) + sep + "minute        = " + n(cfg.minute) + sep +
               "day           = " + n(cfg.day) + sep + "flag2         = " + n(cfg.flag2);
    };
    std::string set;
    switch (static_cast<ConfigSection>(section)) {
    case ConfigSection::All:
        set = purge() + sep + archive() + sep + migrate() + sep + timing();
        break;
    case ConfigSection::Purge:
        set = purge();
        break;
    case ConfigSection::Archive:
        set = archive();
        break;
    case ConfigSection::Migrate:
        set = migrate();
        break;
    case ConfigSection::Timing:
        set = timing();
        break;
    default:
        return "";
    }
    return "UPDATE Archive_cfg\nSET " + set;
}

bool clsMaintenanceSettings::Update(int section, long userId) {
    // "yyyymmdd hh:mm:ss": a datetime text the server reads the same under any language or date format.
    std::string now = platform::Clock::stamp(platform::Clock::now());
    now.erase(7, 1).erase(4, 1);
    const std::string sql = UpdateStatement(section, userId, now);
    if (sql.empty())
        return false;
    return DatabaseSession::instance().RunStatement(sql);
}

} // namespace maintenance
