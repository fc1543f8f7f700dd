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
// Subfolders that are plain folders: real folders (not links to one), not hidden (dot names), not
// read-only. The copy, delete and move walk only these, so they never leave the tree they are given.
std::vector<std::string> ListSubfolders(const std::string& folder);
// The plain files and subfolders; false for a source that is not a real folder, a destination that
// is the source or lies inside it, a read-only destination, or a link in the way in the destination.
bool CopyFolder(const std::string& source, const std::string& destination);
// Removes the tree only when it holds nothing but plain files and listed subfolders; a tree with a
// link, a hidden or a read-only folder anywhere is left untouched and gives false.
bool DeleteFolder(const std::string& folder);
int MoveFolder(const std::string& source, const std::string& destination); // -1, 0 or 1
std::string GetFileVersion(const std::string& path);

} // namespace foundation
