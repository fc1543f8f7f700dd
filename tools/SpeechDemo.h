#pragma once

#include <string>

namespace tools {

// Installs the speech simulator into a demo site: <site>/SpeechMagic/BIN with the library's two
// builds and the administration program copied from simulatorBin, the store with the demo's speech
// users, and the registry keys that point at it (version 6.1, the root ending in ";").
// Throws std::runtime_error when a file cannot be copied or written.
void installSpeechDemo(const std::string& siteFolder, const std::string& simulatorBin);

} // namespace tools
