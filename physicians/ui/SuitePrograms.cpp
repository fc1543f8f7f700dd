#include "SuitePrograms.h"

#include "Registry.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

namespace physicians {

namespace {

SuiteProgram locate(const char* key, const char* program, const char* title) {
    SuiteProgram p;
    p.title = title;
    const auto folder = platform::Registry::read(platform::Registry::Hive::LocalMachine, key, "AppPath");
    if (!folder || folder->empty()) {
        p.missing = std::string(program) + " is not installed on this workstation.";
        return p;
    }
    std::string dir = *folder;
    while (dir.size() > 1 && (dir.back() == '/' || dir.back() == '\\'))
        dir.pop_back();
    p.path = dir + "/" + program;
    if (!std::filesystem::is_regular_file(p.path) || ::access(p.path.c_str(), X_OK) != 0)
        p.missing = std::string(program) + " was not found in " + dir + ".";
    return p;
}

} // namespace

SuiteProgram FindDictationSystemProgram() {
    const auto dvi = platform::Registry::read(platform::Registry::Hive::LocalMachine, kDictationSystemKey, "AppPath");
    if (dvi && !dvi->empty())
        return locate(kDictationSystemKey, kDictationSystemProgram, "Dictation System");
    return locate(kVoiceManagerKey, kVoiceManagerProgram, "Veltra Voice Manager");
}

SuiteProgram FindTunerProgram() {
    return locate(kTunerKey, kTunerProgram, "Speech Tuner");
}

bool StartSuiteProgram(const std::vector<std::string>& command, const std::string& input) {
    if (command.empty())
        return false;
    int in[2];
    if (::pipe2(in, O_CLOEXEC) != 0)
        return false;
    // The input is small: it fits in the pipe before the program reads it.
    const bool written =
        input.empty() || ::write(in[1], input.data(), input.size()) == static_cast<ssize_t>(input.size());
    ::close(in[1]);
    if (!written) {
        ::close(in[0]);
        return false;
    }
    std::vector<char*> argv;
    for (const auto& a : command)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(in[0]);
        return false;
    }
    if (child == 0) {
        // The grandchild runs the program, so the console keeps no child to wait for.
        if (::fork() == 0) {
            ::dup2(in[0], STDIN_FILENO);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        ::_exit(0);
    }
    ::close(in[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool StartTuner(const SuiteProgram& tuner, const std::string& kaldraIni, const std::string& userName,
                const std::string& password) {
    if (!tuner.missing.empty())
        return false;
    return StartSuiteProgram({tuner.path, "KaldraINI=" + kaldraIni, "UserName=" + userName},
                             "password=" + password + "\n");
}

} // namespace physicians
