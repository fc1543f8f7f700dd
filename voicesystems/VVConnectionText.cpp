#include "VVConnectionText.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace voicesystems {

namespace {

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

void replaceAll(std::string& s, const std::string& from, const std::string& to) {
    for (size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size()))
        s.replace(at, from.size(), to);
}

std::vector<std::string> parts(const std::string& text) {
    std::vector<std::string> out;
    size_t pos = 0;
    for (;;) {
        const size_t semi = text.find(';', pos);
        out.push_back(text.substr(pos, semi == std::string::npos ? std::string::npos : semi - pos));
        if (semi == std::string::npos)
            return out;
        pos = semi + 1;
    }
}

std::string join(const std::vector<std::string>& items) {
    std::string out;
    for (size_t i = 0; i < items.size(); ++i)
        out += (i ? ";" : "") + items[i];
    return out;
}

bool isPasswordPart(const std::string& part) {
    return lower(part).rfind("password=", 0) == 0;
}

} // namespace

std::string NormaliseConnectionString(const std::string& text) {
    std::string s = text;
    // Repeat until stable: "a  ;" needs two passes.
    for (std::string before; before != s;) {
        before = s;
        replaceAll(s, " ;", ";");
        replaceAll(s, "; ", ";");
        replaceAll(s, " =", "=");
        replaceAll(s, "= ", "=");
    }
    return s;
}

std::string ConnectionStringValue(const std::string& text, const std::string& key) {
    const std::string wanted = lower(key) + "=";
    for (const auto& part : parts(NormaliseConnectionString(text)))
        if (lower(part).rfind(wanted, 0) == 0)
            return part.substr(wanted.size());
    return "";
}

std::string ReplacePasswordValue(const std::string& text, const std::string& value) {
    auto items = parts(NormaliseConnectionString(text));
    for (auto& part : items)
        if (isPasswordPart(part)) {
            part = part.substr(0, 9) + value;
            break;
        }
    return join(items);
}

std::string RemovePasswordPart(const std::string& text) {
    auto items = parts(NormaliseConnectionString(text));
    items.erase(std::remove_if(items.begin(), items.end(), isPasswordPart), items.end());
    return join(items);
}

std::string ServerNameToTest(const std::string& server) {
    const std::string l = lower(server);
    if (l.find(".\\sqlexpress") != std::string::npos || l.find("(local)") != std::string::npos ||
        l.find("localhost") != std::string::npos)
        return "localhost";
    const size_t slash = server.find('\\');
    if (slash != std::string::npos)
        return server.substr(0, slash);
    return server.substr(0, server.find(','));
}

} // namespace voicesystems
