#pragma once

#include <string>
#include <vector>

namespace physicians {

// A suite program found through the workstation's registry store: its path, or why it cannot be
// started (the reason its button shows).
struct SuiteProgram {
    std::string path;
    std::string missing; // "" when the program is there and may be run
    std::string title;   // the window title it is started under
};

// The registry keys (machine hive) whose value "AppPath" names the folder of each program.
inline constexpr const char* kDictationSystemKey = "SOFTWARE\\Kaldra\\DVI";
inline constexpr const char* kDictationSystemProgram = "DVIADMIN.EXE";
inline constexpr const char* kVoiceManagerKey = "SOFTWARE\\Veltra\\Veltra Voice";
inline constexpr const char* kVoiceManagerProgram = "VELTRAVOICE.EXE";
inline constexpr const char* kTunerKey = "SOFTWARE\\Kaldra\\KDTUNEXT";
inline constexpr const char* kTunerProgram = "KDTUNEXT.EXE";

// The dictation device system's own program when that system is installed, otherwise the voice
// system manager.
SuiteProgram FindDictationSystemProgram();
SuiteProgram FindTunerProgram();

// Starts a program without waiting for it; `input` is written to its standard input, so that a
// password never appears on a command line. False when it could not be started.
bool StartSuiteProgram(const std::vector<std::string>& command, const std::string& input);

// Starts the tuner for the logged-in user: the configuration file and user name as arguments,
// the password on standard input.
bool StartTuner(const SuiteProgram& tuner, const std::string& kaldraIni, const std::string& userName,
                const std::string& password);

} // namespace physicians
