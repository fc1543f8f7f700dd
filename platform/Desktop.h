#pragma once

#include <string>
#include <vector>

namespace platform {

// Opens files with the desktop's programs: text files in the text editor that stands in for
// Notepad, other documents (the console's manual) in the desktop's viewer. Tests install a
// recorder so that nothing is started.
class DesktopOpener {
public:
    virtual ~DesktopOpener() = default;
    // false when no program could be started
    virtual bool openTextFile(const std::string& path) = 0;
    virtual bool openDocument(const std::string& path) = 0;
    // Whether the workstation has a web browser for the programs that show their pages in one.
    virtual bool hasWebBrowser() = 0;

    static DesktopOpener& instance();
    static void install(DesktopOpener* opener); // not owned; nullptr restores the desktop's own
};

// The program and arguments that open a text file: $VISUAL, else $EDITOR (either may carry
// arguments of its own, separated by blanks), else xdg-open; the path comes last.
std::vector<std::string> textEditorCommand(const std::string& path);

// Whether a program of that name is found on PATH (or at that path) and may be run.
bool programOnPath(const std::string& program);

// Starts a program without waiting for it and without keeping it as a child; false when it could
// not be started.
bool startDetached(const std::vector<std::string>& command);

} // namespace platform
