#pragma once

#include "clsSMLibrary.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace speech {

// Where the speech system is installed, read from the machine's registry keys.
struct SMInstallation {
    std::string version; // "5.1", "6.1", "7.0", or "" when none was found
    std::string root;    // without trailing ";", "\" or "/"
};
SMInstallation DiscoverSMInstallation();
// A root longer than two characters loses its trailing ";", "\" and "/" characters.
std::string StripRoot(const std::string& root);

// An error raised while loading: a number, where it arose, and what it says.
struct SMLoadError {
    unsigned long number = 0;
    std::string source;
    std::string description;
    [[nodiscard]] std::string message() const;
};

// The program-wide state of the speech layer.
struct SpeechMagicState {
    std::string version;
    std::string root;
    std::string programFolder;
    std::string adminProgramPath;
    std::string libraryPath;
    std::string libraryDate; // "YYYY-MM-DD"
    std::string librarySearchFolder;
    std::uint32_t handle = 0;
    bool attached = false;
    std::optional<SMLoadError> lastError;
    clsSMLibrary library;
};
SpeechMagicState& SpeechMagic();
// Detaches, unloads the libraries and forgets the installation (tests, and a fresh discovery).
void ResetSpeechMagic();

inline constexpr unsigned long kSystemErrorBase = 0x80070000UL;
inline constexpr const char* kClientName = "K2HOST";
inline constexpr const char* kApplicationName = "Dazud Eruzira";

// Finds the installation, checks its administration program and library, and loads the library
// with its companions. False when the speech system cannot be used; a load failure is also kept in
// SpeechMagic().lastError.
bool CheckSMInstall();

// Attaches in the installed version's form, retrying once from the program folder. 0 or the code;
// a final failure has been shown.
int AttachSM();
// Detaches when attached; 0 otherwise.
int DetachSM();

// The code followed by a blank and its text: " OK" for 0, the conflict description for 39038, the
// library's text without trailing blanks, or the error table's name when the library has none.
std::string SMErrorText(int code);

// Whether the installed library predates removing contexts from the console (5.1 before 2003-11-10).
bool LibraryTooOldForContextRemoval();

// Collects the input channels the system offers, logging each one.
class EnumSMInputChannels {
public:
    void SmCallback(int callbackType, const SMChannel& channel, int result);
    void RemoveAll() { m_channels.clear(); }
    // SMEnumInputChannels2 with this object; 0 or the code.
    int Enumerate();
    [[nodiscard]] const std::vector<SMChannel>& channels() const { return m_channels; }
    [[nodiscard]] const SMChannel* find(int type) const;
    // "Found channel: " + description + " - " + the names of its type, language, bandwidth, resolution.
    static std::string Describe(const SMChannel& channel);

private:
    std::vector<SMChannel> m_channels;
};

} // namespace speech
