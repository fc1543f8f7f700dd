#pragma once

#include <string>
#include <vector>

namespace foundation {

struct NameParts {
    std::string first; // first and middle names
    std::string last;
    std::string suffix; // generational suffix and/or credentials
};

NameParts SplitFullName(const std::string& fullName);
std::string StripNameTitle(const std::string& name);
std::string StripNameSuffix(const std::string& name, std::string& suffix);
bool IsNameParticle(const std::string& word);
std::string NameField(const std::string& text, int field, char delimiter);

// Typed times ("hh:mm", hour 1-12) and dates ("MM/DD/YY"); false after the message box.
bool CheckTimeEntry(const std::string& text, const std::string& label);
bool CheckDateEntry(const std::string& text, const std::string& label);

// One ICMP echo: the IP helper's status text ("Success", "Request Timed Out", ...) or a resolver
// error text ("Host not found.", ...).
std::string PingHost(const std::string& host, int timeoutMs);

bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
// Subfolders that are plain folders: not hidden (dot names), not read-only.
std::vector<std::string> ListSubfolders(const std::string& folder);
bool CopyFolder(const std::string& source, const std::string& destination);
bool DeleteFolder(const std::string& folder);
int MoveFolder(const std::string& source, const std::string& destination); // -1, 0 or 1
std::string GetFileVersion(const std::string& path);

} // namespace foundation
