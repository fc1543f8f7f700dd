#pragma once

#include <optional>
#include <string>

namespace platform {

// The workstation's settings store, standing in for the Windows registry. Each hive is an INI
// file: a section per key path ("SOFTWARE\\ODBC\\ODBC.INI\\KALDRA"), an entry per value. The files
// are $KDADMIN_REGISTRY_MACHINE and $KDADMIN_REGISTRY_USER, by default /etc/kdadmin/registry.ini
// and ~/.config/kdadmin/registry.ini.
class Registry {
public:
    enum class Hive { LocalMachine, CurrentUser };

    static std::string hiveFile(Hive hive);
    static std::optional<std::string> read(Hive hive, const std::string& keyPath, const std::string& valueName);
    static bool write(Hive hive, const std::string& keyPath, const std::string& valueName, const std::string& value);
};

} // namespace platform
