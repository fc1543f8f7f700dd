#pragma once

#include <optional>
#include <string>

namespace platform {

// Private-profile INI files (KALDRA.INI, ROUTINES.INI) with the semantics the suite's programs
// rely on: section and key names compare case-insensitively, a value is read trimmed and cut to
// the buffer (a 128-byte buffer gives at most 127 characters), a missing value gives the default,
// and a write changes only its own line, keeping the rest of the file as it was.
class PrivateProfile {
public:
    static std::string read(const std::string& section, const std::string& key, const std::string& defaultValue,
                            const std::string& file, size_t bufferSize = 128);
    // value nullopt deletes the key. Returns false when the file cannot be written.
    static bool write(const std::string& section, const std::string& key, const std::optional<std::string>& value,
                      const std::string& file);
    static bool deleteSection(const std::string& section, const std::string& file);
};

} // namespace platform
