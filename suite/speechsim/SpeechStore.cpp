#include "SpeechStore.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace speechsim {

namespace {

std::string restOfLine(std::istringstream& in) {
    std::string rest;
    std::getline(in, rest);
    const auto start = rest.find_first_not_of(' ');
    return start == std::string::npos ? std::string() : rest.substr(start);
}

bool readChannel(std::istringstream& in, Channel& c) {
    if (!(in >> c.type >> c.language >> c.bandwidth >> c.resolution))
        return false;
    c.description = restOfLine(in);
    return true;
}

void writeChannel(std::ostringstream& out, const Channel& c) {
    out << c.type << ' ' << c.language << ' ' << c.bandwidth << ' ' << c.resolution << ' ' << c.description << '\n';
}

} // namespace

std::optional<Store> Store::parse(const std::string& text, std::string* error) {
    Store store;
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream in(line);
        std::string kind;
        in >> kind;
        bool ok = true;
        if (kind == "context") {
            const std::string name = restOfLine(in);
            ok = !name.empty();
            store.contexts.push_back(name);
        } else if (kind == "channel") {
            Channel c;
            ok = readChannel(in, c);
            store.channels.push_back(c);
        } else if (kind == "user") {
            std::string name;
            User u;
            int locked = 0;
            ok = static_cast<bool>(in >> name >> u.gender >> u.language >> u.pendingDictations >> locked);
            u.purgeLocked = locked != 0;
            ok = ok && !store.users.count(name);
            store.users[name] = u;
        } else if (kind == "user-context" || kind == "user-channel") {
            std::string name;
            ok = static_cast<bool>(in >> name) && store.users.count(name);
            if (ok && kind == "user-context") {
                const std::string context = restOfLine(in);
                ok = !context.empty();
                store.users[name].contexts.push_back(context);
            } else if (ok) {
                Channel c;
                ok = readChannel(in, c);
                store.users[name].channels.push_back(c);
            }
        } else {
            ok = false;
        }
        if (!ok) {
            if (error)
                *error = "line " + std::to_string(number) + " is not understood: " + line.substr(0, 80);
            return std::nullopt;
        }
    }
    return store;
}

std::string Store::format() const {
    std::ostringstream out;
    for (const auto& c : contexts)
        out << "context " << c << '\n';
    for (const auto& c : channels) {
        out << "channel ";
        writeChannel(out, c);
    }
    for (const auto& [name, u] : users) {
        out << "user " << name << ' ' << u.gender << ' ' << u.language << ' ' << u.pendingDictations << ' '
            << (u.purgeLocked ? 1 : 0) << '\n';
        for (const auto& c : u.contexts)
            out << "user-context " << name << ' ' << c << '\n';
        for (const auto& c : u.channels) {
            out << "user-channel " << name << ' ';
            writeChannel(out, c);
        }
    }
    return out.str();
}

bool Store::hasContext(const std::string& name) const {
    return std::find(contexts.begin(), contexts.end(), name) != contexts.end();
}

const Channel* Store::offeredChannel(std::int32_t type) const {
    for (const auto& c : channels)
        if (c.type == type)
            return &c;
    return nullptr;
}

std::optional<Store> loadStoreFile(const std::string& path, std::string* error) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return Store{};
    std::ostringstream text;
    text << in.rdbuf();
    return Store::parse(text.str(), error);
}

bool saveStoreFile(const std::string& path, const Store& store) {
    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << store.format();
        out.flush();
        if (!out)
            return false;
    }
    return std::rename(temporary.c_str(), path.c_str()) == 0;
}

} // namespace speechsim
