#include "HelpFile.h"

#include "Desktop.h"
#include "MessageService.h"
#include "Utilities.h"

#include <filesystem>

namespace foundation {

namespace {
std::string& folder() {
    static std::string f;
    return f;
}
} // namespace

void HelpFile::setFolder(const std::string& f) {
    folder() = f;
}

std::string HelpFile::manualPath() {
    return (std::filesystem::path(folder()) / kManual).string();
}

void HelpFile::Show() {
    const std::string manual = manualPath();
    if (folder().empty() || !FileExists(manual)) {
        platform::MsgBox(std::string("The help file ") + kName + " could not be found.", platform::MsgButtons::OK,
                         platform::MsgIcon::Exclamation, "Veltra Desktop");
        return;
    }
    if (!platform::DesktopOpener::instance().openDocument(manual))
        platform::MsgBox("The help file " + manual + " could not be opened.", platform::MsgButtons::OK,
                         platform::MsgIcon::Exclamation, "Veltra Desktop");
}

} // namespace foundation
