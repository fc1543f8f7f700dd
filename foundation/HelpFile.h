#pragma once

#include <string>

namespace foundation {

// The console's manual: HTML pages beside the program under the help file's name, shown in the
// desktop's viewer.
class HelpFile {
public:
    static constexpr const char* kName = "ADM_MAN.CHM";
    static constexpr const char* kManual = "ADM_MAN.html";

    // Set at start-up to the program folder.
    static void setFolder(const std::string& folder);
    [[nodiscard]] static std::string manualPath();
    // Opens the manual; when it is not installed says that the help file could not be found.
    static void Show();
};

} // namespace foundation
