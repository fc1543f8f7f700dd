#include "HubDialogRules.h"

#include "Numbers.h"
#include "Text.h"
#include "Utf8.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace maintenance {

namespace {

RuleFailure failure(const std::string& message, const std::string& focus, const std::string& title = "Invalid Entry") {
    RuleFailure f;
    f.message = message;
    f.title = title;
    f.focusControl = focus;
    return f;
}

std::string trimmed(const std::string& s) {
    return foundation::trimText(s);
}

// A count typed into a digits-only box, within the int column it is stored in.
std::optional<long> intDigits(const std::string& text) {
    const auto v = platform::parseDigits(trimmed(text));
    if (!v || *v > INT_MAX)
        return std::nullopt;
    return static_cast<long>(*v);
}

bool leapYear(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

// /proc/mounts writes blanks and backslashes in names as octal escapes ("\040").
std::string unescapeMountField(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 3 < s.size() && std::isdigit(static_cast<unsigned char>(s[i + 1])) &&
            std::isdigit(static_cast<unsigned char>(s[i + 2])) && std::isdigit(static_cast<unsigned char>(s[i + 3]))) {
            out += static_cast<char>((s[i + 1] - '0') * 64 + (s[i + 2] - '0') * 8 + (s[i + 3] - '0'));
            i += 3;
        } else {
            out += s[i];
        }
    }
    return out;
}

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

bool folderTakesProbe(const std::filesystem::path& folder) {
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec))
        return false;
    const auto probe = folder / (".kdadmin-probe-" + std::to_string(::getpid()));
    {
        std::ofstream out(probe, std::ios::binary);
        if (!out || !(out << "probe") || !out.flush())
            return false;
    }
    return std::filesystem::remove(probe, ec);
}

} // namespace

const char* const kVeltraSortWarning =
    "Warning:  For sites using Veltra Sort (batch printing) the minimum recommended days on the file server is 30.  "
    "Press OK to continue or Cancel to change the \nvalue.";

std::variant<RuleFailure, MigrateDays> CheckMigrateDays(const std::string& daysText, int archiveMaxMonths) {
    const auto days = intDigits(daysText);
    if (!days)
        return failure("Invalid value entered for number for maximum days.", "LMaxDays");
    if (static_cast<long long>(archiveMaxMonths) * 28 < *days)
        return failure("The maximum amount of time to leave documents on the file server is greater than the number "
                       "of months before archiving.  Either decrease the number of maximum days here or increase the "
                       "number of months before archiving reports - under \nArchive Options.",
                       "LMaxDays");
    if (*days < 6)
        return failure("The maximum days cannot be set lower than 6 days.", "LMaxDays");
    return MigrateDays{*days, *days < 30};
}

bool IsValidUsDate(const std::string& text) {
    if (text.size() != 10 || text[2] != '/' || text[5] != '/')
        return false;
    const auto m = platform::parseDigits(text.substr(0, 2));
    const auto d = platform::parseDigits(text.substr(3, 2));
    const auto y = platform::parseDigits(text.substr(6, 4));
    if (!m || !d || !y || *m < 1 || *m > 12 || *y < 1753 || *d < 1)
        return false;
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const long long last = *m == 2 && leapYear(static_cast<int>(*y)) ? 29 : kDays[*m - 1];
    return *d <= last;
}

std::string UnseparatedDate(const std::string& usDate) {
    const std::string date = trimmed(usDate); // the load reads it as char(20), blank-padded
    if (!IsValidUsDate(date))
        return "";
    return date.substr(6, 4) + date.substr(0, 2) + date.substr(3, 2);
}

std::variant<RuleFailure, MigrateRest> CheckMigrateRest(const std::string& directory, const std::string& installDate) {
    std::string dir = trimmed(directory);
    if (dir.empty())
        return failure("The leftover directory cannot be blank.  Please enter a directory.", "LDirectory");
    while (dir.size() > 1 && dir.back() == '\\')
        dir.pop_back();
    if (platform::utf8Length(dir) > 255)
        return failure("The leftover directory cannot be longer than 255 characters.", "LDirectory");
    const std::string date = trimmed(installDate);
    if (!IsValidUsDate(date))
        return failure("The Kaldra 1.2 Install Date is not a valid date.  Please enter it as MM/DD/YYYY.",
                       "MMax12Date");
    return MigrateRest{dir, date};
}

std::variant<RuleFailure, TimingValues> CheckTiming(const TimingEntry& entry, int storedDay) {
    const std::string days = trimmed(entry.backupDaysText);
    const auto backup = platform::parseDigits(days);
    if (!backup || *backup > INT_MAX)
        return failure("Backup Days is invalid", "LBackupDays");
    if (*backup < 1)
        return failure("The number of backup days must be greater than zero.", "LBackupDays");
    const std::string time = trimmed(entry.timeText);
    const auto colon = time.find(':');
    const auto h = colon == std::string::npos ? std::nullopt : platform::parseDigits(time.substr(0, colon));
    const auto m = colon == std::string::npos ? std::nullopt : platform::parseDigits(time.substr(colon + 1));
    if (!h || !m || colon > 2 || time.size() - colon - 1 != 2 || *h < 1 || *h > 12 || *m > 59)
        return failure("The time is not valid.  Please enter the time as hh:mm, from 1:00 to 12:59.", "MHour");
    TimingValues v;
    v.hour = static_cast<int>(*h % 12) + (entry.pm ? 12 : 0);
    v.minute = static_cast<int>(*m);
    v.day = entry.weekday >= 1 && entry.weekday <= 7 ? entry.weekday : storedDay;
    v.frequency = entry.never ? 2 : (entry.weekday >= 1 && entry.weekday <= 7 ? 1 : 0);
    v.update_enabled = entry.updateStats ? 1 : 0;
    v.flag2 = static_cast<long>(*backup);
    return v;
}

bool IsDiskLocationForm(const std::string& location) {
    if (platform::utf8Length(location) < 3)
        return false;
    return location[platform::utf8Offset(location, 1)] == ':' || location.rfind("\\\\", 0) == 0 ||
           location.front() == '/';
}

std::variant<RuleFailure, DiskEntry> CheckDiskEntry(const std::string& label, const std::string& location,
                                                    const std::vector<ArchiveDisk>& disks, long editing) {
    DiskEntry e{trimmed(label), trimmed(location)};
    if (e.label.empty())
        return failure("Disk Label cannot be blank.", "LDiskLabel", "Error");
    if (e.location.empty())
        return failure("Disk Location cannot be blank.", "LDiskLocation", "Error");
    // The server compares labels without regard to (ASCII) case, and the column keeps 50 characters of them.
    const std::string key = lower(platform::utf8Left(e.label, 50));
    for (const ArchiveDisk& d : disks)
        if (d.disk_nbr != editing && lower(platform::utf8Left(d.disk_label, 50)) == key)
            return failure("Another archive disk already exists with the label " + e.label, "LDiskLabel", "Error");
    if (!IsDiskLocationForm(e.location))
        return failure("The Disk Location is invalid.  Please enter a new location.", "LDiskLocation", "Error");
    if (platform::utf8Length(e.label) > 50)
        return failure("The Disk Label cannot be longer than 50 characters.", "LDiskLabel", "Error");
    if (platform::utf8Length(e.location) > 255)
        return failure("The Disk Location cannot be longer than 255 characters.", "LDiskLocation", "Error");
    return e;
}

std::string MountedSharePath(const std::string& uncPath, const std::string& mountsFile) {
    // "\\server\share\rest" -> "//server/share" and "rest"
    std::string path = uncPath;
    std::replace(path.begin(), path.end(), '\\', '/');
    if (path.rfind("//", 0) != 0)
        return {};
    const size_t serverEnd = path.find('/', 2);
    if (serverEnd == std::string::npos || serverEnd == 2)
        return {};
    const size_t shareEnd = path.find('/', serverEnd + 1);
    const std::string share = lower(path.substr(0, shareEnd));
    const std::string rest = shareEnd == std::string::npos ? "" : path.substr(shareEnd + 1);
    if (share.size() <= serverEnd + 1)
        return {};
    std::ifstream in(mountsFile);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string source, target, type;
        if (!(fields >> source >> target >> type) || (type != "cifs" && type != "smb3"))
            continue;
        source = unescapeMountField(source);
        std::replace(source.begin(), source.end(), '\\', '/');
        while (source.size() > 2 && source.back() == '/')
            source.pop_back();
        if (lower(source) == share)
            return (std::filesystem::path(unescapeMountField(target)) / rest).string();
    }
    return {};
}

bool DiskLocationReachable(const std::string& location, const std::string& mountsFile) {
    if (location.rfind("\\\\", 0) == 0) {
        const std::string local = MountedSharePath(location, mountsFile);
        return !local.empty() && folderTakesProbe(local);
    }
    if (!location.empty() && location.front() == '/')
        return folderTakesProbe(location);
    return false; // a drive letter names no folder on this system
}

} // namespace maintenance
