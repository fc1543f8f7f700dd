#include "Registry.h"

#include "PrivateProfile.h"

#include <cstdlib>
#include <filesystem>

namespace platform {

std::string Registry::hiveFile(Hive hive) {
    const char* env = std::getenv(hive == Hive::LocalMachine ? "KDADMIN_REGISTRY_MACHINE" : "KDADMIN_REGISTRY_USER");
    if (env && *env)
        return env;
    if (hive == Hive::LocalMachine)
        return "/etc/kdadmin/registry.ini";
    const char* config = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    std::filesystem::path base = config && *config ? config : std::filesystem::path(home ? home : ".") / ".config";
    return (base / "kdadmin" / "registry.ini").string();
}

std::optional<std::string> Registry::read(Hive hive, const std::string& keyPath, const std::string& valueName) {
    // A sentinel default tells a missing value from an empty one.
    static const std::string missing = "\x01missing\x01";
    std::string v = PrivateProfile::read(keyPath, valueName, missing, hiveFile(hive), 4096);
    if (v == missing)
        return std::nullopt;
    return v;
}

bool Registry::write(Hive hive, const std::string& keyPath, const std::string& valueName, const std::string& value) {
    std::filesystem::path file = hiveFile(hive);
    std::error_code ec;
    std::filesystem::create_directories(file.parent_path(), ec);
    return PrivateProfile::write(keyPath, valueName, value, file.string());
}

} // namespace platform
