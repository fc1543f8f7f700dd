#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

namespace kdtest {

// Every entry under a folder, links not followed, by relative path: "folder", "link -> target",
// or a file's content. Two snapshots compare equal when nothing under the folder changed.
inline std::map<std::string, std::string> snapshot(const std::string& folder) {
    namespace fs = std::filesystem;
    std::map<std::string, std::string> out;
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(folder, ec)))
        return out;
    for (auto it = fs::recursive_directory_iterator(folder, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        const std::string rel = fs::relative(it->path(), folder).string();
        const fs::file_status st = it->symlink_status(ec);
        if (fs::is_symlink(st)) {
            out[rel] = "link -> " + fs::read_symlink(it->path(), ec).string();
        } else if (fs::is_directory(st)) {
            out[rel] = "folder";
        } else {
            std::ifstream in(it->path());
            out[rel] = std::string(std::istreambuf_iterator<char>(in), {});
        }
    }
    return out;
}

// The snapshot without the entries at or under the given relative paths.
inline std::map<std::string, std::string> snapshotExcept(const std::string& folder,
                                                         std::initializer_list<std::string> left) {
    auto out = snapshot(folder);
    for (auto it = out.begin(); it != out.end();) {
        bool skip = false;
        for (const auto& l : left)
            skip = skip || it->first == l || it->first.rfind(l + "/", 0) == 0;
        it = skip ? out.erase(it) : std::next(it);
    }
    return out;
}

} // namespace kdtest
