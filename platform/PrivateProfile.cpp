#include "PrivateProfile.h"

#include <cctype>
#include <fstream>
#include <sstream>
#include <vector>

namespace platform {

namespace {

std::string trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos)
        return {};
    size_t e = s.find_last_not_of(" \t\r\n");
    return s.substr(b, e - b + 1);
}

bool same(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

struct Lines {
    std::vector<std::string> lines;
    bool crlf = false;
};

Lines load(const std::string& file) {
    Lines out;
    std::ifstream in(file, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
            out.crlf = true;
        }
        out.lines.push_back(line);
    }
    return out;
}

bool save(const std::string& file, const Lines& l) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    for (const auto& line : l.lines)
        out << line << (l.crlf ? "\r\n" : "\n");
    return static_cast<bool>(out);
}

// "[name]" -> name; empty when the line is no section header.
std::optional<std::string> sectionOf(const std::string& line) {
    std::string t = trim(line);
    if (t.size() < 2 || t.front() != '[')
        return std::nullopt;
    size_t close = t.find(']');
    if (close == std::string::npos)
        return std::nullopt;
    return trim(t.substr(1, close - 1));
}

std::optional<std::pair<std::string, std::string>> entryOf(const std::string& line) {
    std::string t = trim(line);
    if (t.empty() || t[0] == ';' || t[0] == '#' || t[0] == '[')
        return std::nullopt;
    size_t eq = t.find('=');
    if (eq == std::string::npos)
        return std::nullopt;
    return std::make_pair(trim(t.substr(0, eq)), trim(t.substr(eq + 1)));
}

} // namespace

std::string PrivateProfile::read(const std::string& section, const std::string& key, const std::string& defaultValue,
                                 const std::string& file, size_t bufferSize) {
    std::optional<std::string> found;
    bool inSection = false;
    std::ifstream in(file, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (auto s = sectionOf(line)) {
            inSection = same(*s, section);
            continue;
        }
        if (!inSection)
            continue;
        if (auto e = entryOf(line); e && same(e->first, key)) {
            found = e->second;
            break;
        }
    }
    std::string value = found ? *found : trim(defaultValue);
    // A value written in double quotes is read without them.
    if (found && value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    if (bufferSize == 0)
        return {};
    if (value.size() > bufferSize - 1)
        value.resize(bufferSize - 1);
    return value;
}

bool PrivateProfile::write(const std::string& section, const std::string& key, const std::optional<std::string>& value,
                           const std::string& file) {
    Lines l = load(file);
    // Values are single lines: a line break would end the value and start a stray line.
    std::string v = value.value_or("");
    for (auto& c : v)
        if (c == '\r' || c == '\n')
            c = ' ';
    int sectionLine = -1, lastInSection = -1;
    bool inSection = false;
    for (size_t i = 0; i < l.lines.size(); ++i) {
        if (auto s = sectionOf(l.lines[i])) {
            inSection = same(*s, section);
            if (inSection && sectionLine < 0) {
                sectionLine = static_cast<int>(i);
                lastInSection = static_cast<int>(i);
            }
            continue;
        }
        if (!inSection)
            continue;
        if (!trim(l.lines[i]).empty())
            lastInSection = static_cast<int>(i);
        if (auto e = entryOf(l.lines[i]); e && same(e->first, key)) {
            if (value)
                l.lines[i] = e->first + "=" + v;
            else
                l.lines.erase(l.lines.begin() + static_cast<long>(i));
            return save(file, l);
        }
    }
    if (!value)
        return true;
    if (sectionLine < 0) {
        if (!l.lines.empty() && !trim(l.lines.back()).empty())
            l.lines.emplace_back();
        l.lines.push_back("[" + section + "]");
        l.lines.push_back(key + "=" + v);
    } else {
        l.lines.insert(l.lines.begin() + lastInSection + 1, key + "=" + v);
    }
    return save(file, l);
}

bool PrivateProfile::deleteSection(const std::string& section, const std::string& file) {
    Lines l = load(file);
    std::vector<std::string> kept;
    bool inSection = false;
    for (const auto& line : l.lines) {
        if (auto s = sectionOf(line))
            inSection = same(*s, section);
        if (!inSection)
            kept.push_back(line);
    }
    l.lines = std::move(kept);
    return save(file, l);
}

} // namespace platform
