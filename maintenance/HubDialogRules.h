#pragma once

#include "MaintenanceRules.h"

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace maintenance {

// The OK checks of the Database Management screen's own dialogs (file server, timing, archive disk),
// as pure functions: each returns the first failing rule, or what the dialog stores in memory.

// File server to database, days first: numeric, within the archive months (28 days a month), at least 6.
// A value from 6 to 29 days passes with warnVeltraSort set: the dialog asks OK/Cancel before going on.
struct MigrateDays {
    long days = 0;
    bool warnVeltraSort = false;
};
std::variant<RuleFailure, MigrateDays> CheckMigrateDays(const std::string& daysText, int archiveMaxMonths);
extern const char* const kVeltraSortWarning;

// Then the leftover directory (not blank, at most 255 characters) and the install date (a real
// MM/DD/YYYY date). The directory is stored without a trailing "\".
struct MigrateRest {
    std::string directory;
    std::string installDate;
};
std::variant<RuleFailure, MigrateRest> CheckMigrateRest(const std::string& directory, const std::string& installDate);
// A calendar date written MM/DD/YYYY within the server's datetime years (1753 to 9999).
bool IsValidUsDate(const std::string& text);
// The same date as the server reads a date literal whatever its language and date format: 'YYYYMMDD'.
// "" when the text (blanks around ignored) is not such a date.
std::string UnseparatedDate(const std::string& usDate);

// Timing: the time as typed ("h:mm" or "hh:mm", 1 to 12), am or pm, the weekday list position
// (0 "<Every Day>", 1 Sunday ... 7 Saturday), "Never", update statistics and the backup days.
struct TimingEntry {
    std::string timeText;
    bool pm = false;
    int weekday = 0;
    bool never = false;
    bool updateStats = false;
    std::string backupDaysText;
};
struct TimingValues {
    int hour = 0, minute = 0, frequency = 0, day = 1, update_enabled = 0;
    long flag2 = 30;
};
std::variant<RuleFailure, TimingValues> CheckTiming(const TimingEntry& entry, int storedDay);

// Archive disk editor: label and location trimmed, then checked in order; `editing` is the number of
// the disk being changed (0 for a new one), which the label need not differ from.
struct DiskEntry {
    std::string label;
    std::string location;
};
std::variant<RuleFailure, DiskEntry> CheckDiskEntry(const std::string& label, const std::string& location,
                                                    const std::vector<ArchiveDisk>& disks, long editing);
// A drive letter with a colon ("E:\ARCHIVE"), a network path ("\\server\share") or an absolute folder.
bool IsDiskLocationForm(const std::string& location);

// Whether an archive can be written at the location: the folder exists and takes a probe file. A network
// path is looked up among the CIFS shares mounted here (mountsFile lists them as /proc/mounts does); a
// drive letter cannot be checked here and counts as not reachable, so the user is asked.
bool DiskLocationReachable(const std::string& location, const std::string& mountsFile = "/proc/mounts");
// The local folder a network path is mounted at, or empty when no mounted share holds it.
std::string MountedSharePath(const std::string& uncPath, const std::string& mountsFile);

} // namespace maintenance
