#include "Utilities.h"

#include "EventLog.h"
#include "MessageService.h"
#include "Text.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <netdb.h>
#include <netinet/ip_icmp.h>
#include <poll.h>
#include <sstream>
#include <sys/socket.h>
#include <unistd.h>

namespace foundation {

namespace fs = std::filesystem;

namespace {

std::string upper(const std::string& s) {
    return upperText(s);
}
std::string trim(const std::string& s) {
    return trimText(s);
}

std::vector<std::string> words(const std::string& s) {
    std::vector<std::string> out;
    std::istringstream in(s);
    for (std::string w; in >> w;)
        out.push_back(w);
    return out;
}

std::string join(const std::vector<std::string>& w) {
    std::string out;
    for (const auto& x : w)
        out += (out.empty() ? "" : " ") + x;
    return out;
}

bool digits(const std::string& s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isdigit(c); });
}

void invalid(const std::string& label) {
    platform::MsgBox("Invalid " + label + " entered!  Please enter again.", platform::MsgButtons::OK,
                     platform::MsgIcon::Exclamation, "Date Error");
}

} // namespace

bool IsNameParticle(const std::string& word) {
    static const char* particles[] = {"VON", "MC", "DE", "DEL", "LE", "ST", "ST.", "DU", "LA", "DI", "EL"};
    const std::string u = upper(word);
    return std::any_of(std::begin(particles), std::end(particles), [&](const char* p) { return u == p; });
}

std::string StripNameTitle(const std::string& name) {
    const std::string u = upper(name);
    for (const char* t : {"DR ", "MR ", "MS "})
        if (u.compare(0, 3, t) == 0)
            return name.substr(3);
    for (const char* t : {"DR. ", "MR. ", "MS. ", "MRS "})
        if (u.compare(0, 4, t) == 0)
            return name.substr(4);
    if (u.compare(0, 4, "MRS.") == 0)
        return name.size() > 5 ? name.substr(5) : std::string();
    return name;
}

std::string StripNameSuffix(const std::string& name, std::string& suffix) {
    std::vector<std::string> w = words(name);
    suffix.clear();
    if (w.size() > 1) {
        const std::string last = upper(w.back());
        for (const char* s : {"JR", "JR.", "SR", "SR.", "II", "III", "IV"})
            if (last == s) {
                suffix = w.back();
                w.pop_back();
                return join(w);
            }
    }
    return join(w);
}

NameParts SplitFullName(const std::string& fullName) {
    NameParts parts;
    std::string name = trim(fullName);
    if (name.empty())
        return parts;
    std::string credentials;
    if (size_t comma = name.find(','); comma != std::string::npos) {
        credentials = trim(NameField(name, 2, ','));
        const std::string third = trim(NameField(name, 3, ','));
        if (!third.empty())
            credentials += ", " + third;
        name = trim(NameField(name, 1, ','));
    }
    name = trim(StripNameTitle(name));
    std::string generational;
    name = StripNameSuffix(name, generational);
    if (!generational.empty() && !credentials.empty())
        parts.suffix = generational + ", " + credentials;
    else
        parts.suffix = generational.empty() ? credentials : generational;
    const std::vector<std::string> w = words(name);
    if (w.size() == 1) {
        parts.last = w[0];
        return parts;
    }
    std::vector<std::string> first, last;
    for (size_t i = 0; i < w.size(); ++i) {
        if (IsNameParticle(w[i]) || i + 1 == w.size() || !last.empty())
            last.push_back(w[i]);
        else
            first.push_back(w[i]);
    }
    parts.first = join(first);
    parts.last = join(last);
    return parts;
}

std::string NameField(const std::string& text, int field, char delimiter) {
    if (field < 1)
        return {};
    size_t start = 0;
    for (int i = 1; i < field; ++i) {
        size_t next = text.find(delimiter, start);
        if (next == std::string::npos)
            return {};
        start = next + 1;
    }
    size_t end = text.find(delimiter, start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

bool CheckTimeEntry(const std::string& text, const std::string& label) {
    bool ok = text.size() >= 5 && text.find(' ') == std::string::npos && digits(text.substr(0, 2)) &&
              digits(text.substr(3, 2));
    if (ok) {
        int hour = std::stoi(text.substr(0, 2)), minute = std::stoi(text.substr(3, 2));
        ok = hour >= 1 && hour <= 12 && minute >= 0 && minute <= 59;
    }
    if (!ok)
        invalid(label);
    return ok;
}

bool CheckDateEntry(const std::string& text, const std::string& label) {
    bool ok = text.size() >= 8 && text.find(' ') == std::string::npos && digits(text.substr(0, 2)) &&
              digits(text.substr(3, 2)) && digits(text.substr(6, 2));
    if (ok) {
        int month = std::stoi(text.substr(0, 2)), day = std::stoi(text.substr(3, 2)), yy = std::stoi(text.substr(6, 2));
        int year = yy >= 20 ? 1900 + yy : 2000 + yy;
        bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
        int most = 31;
        if (month == 4 || month == 6 || month == 9 || month == 11)
            most = 30;
        else if (month == 2)
            most = leap ? 29 : 28;
        ok = month >= 1 && month <= 12 && day >= 1 && day <= most;
    }
    if (!ok)
        invalid(label);
    return ok;
}

std::string PingHost(const std::string& host, int timeoutMs) {
    std::string status;
    in_addr address{};
    if (inet_pton(AF_INET, host.c_str(), &address) != 1) {
        addrinfo hints{};
        hints.ai_family = AF_INET;
        addrinfo* found = nullptr;
        int rc = getaddrinfo(host.c_str(), nullptr, &hints, &found);
        if (rc != 0 || !found) {
            status = rc == EAI_NONAME || rc == EAI_NODATA ? "Host not found."
                     : rc == EAI_AGAIN                    ? "Nonauthoritative host not found."
                     : rc == EAI_FAIL                     ? "This is a nonrecoverable error."
                                                          : "Unknown error.";
            EventLog::LogEvent(EventLog::SystemLog, 0, 6, 20052, 0, 0, 0, 0, 0, -1, 0, "Ping " + host + ": " + status);
            return status;
        }
        address = reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr;
        freeaddrinfo(found);
    }
    // An unprivileged ICMP datagram socket needs no root; without it the system ping answers.
    int sock = socket(AF_INET, SOCK_DGRAM, IPPROTO_ICMP);
    if (sock >= 0) {
        icmphdr request{};
        request.type = ICMP_ECHO;
        request.un.echo.sequence = htons(1);
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_addr = address;
        if (sendto(sock, &request, sizeof request, 0, reinterpret_cast<sockaddr*>(&to), sizeof to) < 0) {
            status = "Destination Host Unreachable";
        } else {
            pollfd p{sock, POLLIN, 0};
            if (poll(&p, 1, timeoutMs) > 0) {
                icmphdr reply{};
                status = recv(sock, &reply, sizeof reply, 0) >= static_cast<ssize_t>(sizeof reply) &&
                                 reply.type == ICMP_ECHOREPLY
                             ? "Success"
                             : "Unknown Response";
            } else {
                status = "Request Timed Out";
            }
        }
        close(sock);
    } else {
        char text[INET_ADDRSTRLEN];
        inet_ntop(AF_INET, &address, text, sizeof text);
        const int seconds = std::max(1, (timeoutMs + 999) / 1000);
        const std::string cmd = "ping -c 1 -W " + std::to_string(seconds) + " " + text + " > /dev/null 2>&1";
        status = std::system(cmd.c_str()) == 0 ? "Success" : "Request Timed Out";
    }
    EventLog::LogEvent(EventLog::SystemLog, 0, 6, 20052, 0, 0, 0, 0, 0, -1, 0, "Ping " + host + ": " + status);
    return status;
}

bool FileExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::exists(path, ec) && !fs::is_directory(path, ec);
}

bool FolderExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::is_directory(path, ec);
}

namespace {

[[nodiscard]] bool readOnly(fs::perms p) {
    return (p & fs::perms::owner_write) == fs::perms::none;
}

// A folder itself, not a link to one.
[[nodiscard]] bool realFolder(const fs::path& path) {
    std::error_code ec;
    return fs::is_directory(fs::symlink_status(path, ec));
}

// The path's parts after resolving links and "." / ".." in the part that exists.
std::vector<std::string> resolvedParts(const std::string& path) {
    std::error_code ec;
    fs::path resolved = fs::weakly_canonical(fs::absolute(path, ec), ec);
    std::vector<std::string> parts;
    for (const auto& p : resolved)
        if (!p.empty())
            parts.push_back(p.string());
    return parts;
}

// True when `inner` is `outer` or lies anywhere below it.
[[nodiscard]] bool sameOrInside(const std::string& inner, const std::string& outer) {
    const auto in = resolvedParts(inner), out = resolvedParts(outer);
    return in.size() >= out.size() && std::equal(out.begin(), out.end(), in.begin());
}

// The destination may be written when its deepest existing level is a folder that is not read-only.
[[nodiscard]] bool writableDestination(const fs::path& destination) {
    std::error_code ec;
    fs::path level = fs::absolute(destination, ec).lexically_normal();
    while (!fs::exists(fs::symlink_status(level, ec)) && level.has_relative_path())
        level = level.parent_path();
    const fs::file_status st = fs::status(level, ec);
    return !ec && fs::is_directory(st) && !readOnly(st.permissions());
}

bool copyTree(const std::string& source, const std::string& destination) {
    std::error_code ec;
    if (fs::exists(fs::symlink_status(destination, ec))) {
        // An existing level is written into only when it is a plain, writable folder of the tree.
        if (!realFolder(destination) || readOnly(fs::status(destination, ec).permissions()))
            return false;
    } else if (!fs::create_directory(destination, ec)) {
        return false;
    }
    for (const std::string& name : ListSubfolders(source))
        if (!copyTree(source + "/" + name, destination + "/" + name))
            return false;
    for (const auto& e : fs::directory_iterator(source, ec)) {
        const fs::file_status st = e.symlink_status(ec);
        if (!fs::is_regular_file(st))
            continue; // links and devices are not part of the tree
        const fs::path target = fs::path(destination) / e.path().filename();
        const fs::file_status existing = fs::symlink_status(target, ec);
        if (fs::exists(existing)) {
            if (!fs::is_regular_file(existing))
                return false; // never written through a link, never over a folder
            // An existing read-only copy is replaced, keeping the source's read-only mark.
            fs::permissions(target, fs::perms::owner_write, fs::perm_options::add, ec);
        }
        fs::copy_file(e.path(), target, fs::copy_options::overwrite_existing, ec);
        if (ec)
            return false;
        fs::permissions(target, st.permissions(), ec);
    }
    return !ec;
}

// Whether every entry of the tree is one the delete walk removes: plain folders and files only.
[[nodiscard]] bool removableTree(const std::string& folder) {
    std::error_code ec;
    if (!realFolder(folder) || readOnly(fs::symlink_status(folder, ec).permissions()))
        return false;
    const std::vector<std::string> listed = ListSubfolders(folder);
    for (const auto& e : fs::directory_iterator(folder, ec)) {
        const fs::file_status st = e.symlink_status(ec);
        if (fs::is_regular_file(st))
            continue;
        const std::string name = e.path().filename().string();
        if (!fs::is_directory(st) || !std::binary_search(listed.begin(), listed.end(), name) ||
            !removableTree(e.path().string()))
            return false;
    }
    return !ec;
}

bool removeTree(const std::string& folder) {
    std::error_code ec;
    for (const std::string& name : ListSubfolders(folder))
        if (!removeTree(folder + "/" + name))
            return false;
    for (const auto& e : fs::directory_iterator(folder, ec)) {
        if (!fs::is_regular_file(e.symlink_status(ec)))
            continue;
        fs::remove(e.path(), ec);
        if (ec)
            return false;
    }
    return !ec && fs::remove(folder, ec) && !ec;
}

} // namespace

std::vector<std::string> ListSubfolders(const std::string& folder) {
    std::vector<std::string> out;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(folder, ec)) {
        const std::string name = e.path().filename().string();
        const fs::file_status st = e.symlink_status(ec);
        // A link to a folder is not a folder of this tree; hidden and read-only folders are left alone.
        if (!fs::is_directory(st) || name.empty() || name[0] == '.' || readOnly(st.permissions()))
            continue;
        out.push_back(name);
    }
    std::sort(out.begin(), out.end());
    return out;
}

bool CopyFolder(const std::string& source, const std::string& destination) {
    if (!realFolder(source))
        return false;
    // A copy into the source itself would copy its own copy without end.
    if (sameOrInside(destination, source))
        return false;
    if (!writableDestination(destination))
        return false;
    std::error_code ec;
    const fs::path parent = fs::absolute(destination, ec).lexically_normal().parent_path();
    fs::create_directories(parent, ec);
    if (ec)
        return false;
    return copyTree(source, destination);
}

bool DeleteFolder(const std::string& folder) {
    // A tree holding anything the walk does not cover (links, hidden or read-only folders) cannot be
    // removed as a whole; it is then left exactly as it is.
    if (!removableTree(folder))
        return false;
    return removeTree(folder);
}

int MoveFolder(const std::string& source, const std::string& destination) {
    int result = -1;
    if (CopyFolder(source, destination)) {
        result = 0;
        if (DeleteFolder(source))
            result = 1;
    }
    return result;
}

std::string GetFileVersion(const std::string& path) {
    // Programs on Linux carry no version resource; the suite ships "<program>.version" beside them.
    std::ifstream in(path + ".version");
    std::string v;
    std::getline(in, v);
    return trim(v);
}

} // namespace foundation
