#include "Desktop.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace platform {

namespace {

class SystemOpener : public DesktopOpener {
public:
    bool openTextFile(const std::string& path) override { return startDetached(textEditorCommand(path)); }
    bool openDocument(const std::string& path) override { return startDetached({"xdg-open", path}); }
    // $BROWSER names one; otherwise the desktop's launchers hand web pages to its default browser.
    bool hasWebBrowser() override {
        if (const char* browser = std::getenv("BROWSER")) {
            std::istringstream words(browser);
            std::string program;
            if (words >> program)
                return programOnPath(program);
        }
        for (const char* launcher : {"x-www-browser", "sensible-browser", "xdg-open"})
            if (programOnPath(launcher))
                return true;
        return false;
    }
};

DesktopOpener* g_opener = nullptr;

} // namespace

DesktopOpener& DesktopOpener::instance() {
    static SystemOpener desktop;
    return g_opener ? *g_opener : desktop;
}

void DesktopOpener::install(DesktopOpener* opener) {
    g_opener = opener;
}

std::vector<std::string> textEditorCommand(const std::string& path) {
    std::vector<std::string> command;
    for (const char* variable : {"VISUAL", "EDITOR"}) {
        const char* value = std::getenv(variable);
        if (!value)
            continue;
        std::istringstream words(value);
        for (std::string w; words >> w;)
            command.push_back(w);
        if (!command.empty())
            break;
    }
    if (command.empty())
        command.emplace_back("xdg-open");
    command.push_back(path);
    return command;
}

bool programOnPath(const std::string& program) {
    if (program.empty())
        return false;
    if (program.find('/') != std::string::npos)
        return access(program.c_str(), X_OK) == 0;
    const char* path = std::getenv("PATH");
    std::istringstream folders(path ? path : "/usr/bin:/bin");
    for (std::string folder; std::getline(folders, folder, ':');)
        if (!folder.empty() && access((folder + "/" + program).c_str(), X_OK) == 0)
            return true;
    return false;
}

bool startDetached(const std::vector<std::string>& command) {
    if (command.empty())
        return false;
    std::vector<char*> argv;
    for (const auto& a : command)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    // The grandchild reports a failed exec through the pipe; a successful exec closes it empty.
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0)
        return false;
    const pid_t child = fork();
    if (child < 0) {
        close(report[0]);
        close(report[1]);
        return false;
    }
    if (child == 0) {
        setsid();
        const pid_t grandchild = fork();
        if (grandchild == 0)
            execvp(argv[0], argv.data());
        if (grandchild <= 0) {
            const int error = errno;
            [[maybe_unused]] ssize_t written = write(report[1], &error, sizeof error);
            _exit(127);
        }
        _exit(0);
    }
    close(report[1]);
    int status = 0;
    waitpid(child, &status, 0);
    int error = 0;
    ssize_t got;
    do
        got = read(report[0], &error, sizeof error);
    while (got < 0 && errno == EINTR);
    close(report[0]);
    return got == 0;
}

} // namespace platform
