#include "modSpeechMagic.h"

#include "EventLog.h"
#include "MessageService.h"
#include "Numbers.h"
#include "Registry.h"
#include "SpeechCodes.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace speech {

namespace {

std::string readMachine(const std::string& key, const std::string& value) {
    return platform::Registry::read(platform::Registry::Hive::LocalMachine, key, value).value_or("");
}

std::string hex(unsigned long n) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%lX", n);
    return buffer;
}

std::string fileDate(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return {};
    const std::time_t t = st.st_mtime;
    std::tm local{};
    localtime_r(&t, &local);
    char buffer[16];
    std::strftime(buffer, sizeof buffer, "%Y-%m-%d", &local);
    return buffer;
}

bool raise(unsigned long number, const std::string& description) {
    SpeechMagic().lastError = SMLoadError{number, "CheckSMInstall", description};
    return false;
}

} // namespace

std::string StripRoot(const std::string& root) {
    std::string r = root;
    if (r.size() > 2)
        while (!r.empty() && (r.back() == ';' || r.back() == '\\' || r.back() == '/'))
            r.pop_back();
    return r;
}

SMInstallation DiscoverSMInstallation() {
    SMInstallation found;
    std::string version = readMachine("SOFTWARE\\Philips Speech\\SpeechMagic\\Backend", "Version");
    if (version.empty())
        version = readMachine("SOFTWARE\\Philips Speech\\SpeechMagic", "Version");
    if (version.empty())
        version = readMachine("SOFTWARE\\SpeechMagic", "Version");
    const auto number = platform::parseNumber(version);
    if (!number)
        return found;
    std::string root;
    if (*number < 6.0) {
        found.version = "5.1";
        root = readMachine("SOFTWARE\\Philips Speech\\SpeechMagic\\5.1.0", "SystemRootLocal");
        if (root.empty())
            root = readMachine("SOFTWARE\\Philips Speech\\SpeechMagic\\5.1.1", "SystemRootLocal");
    } else if (*number < 7.0) {
        found.version = "6.1";
        root = readMachine("SOFTWARE\\Philips Speech\\SpeechMagic\\6.1.0", "SystemRootLocal");
        if (root.empty())
            root = readMachine("SOFTWARE\\Philips Speech\\SpeechMagic\\Backend\\6.1.0", "SystemRootLocal");
    } else {
        found.version = "7.0";
        root = readMachine("SOFTWARE\\SpeechMagic\\Backend", "SystemRootLocal");
    }
    found.root = StripRoot(root);
    return found;
}

std::string SMLoadError::message() const {
    return source + ": Error 0x" + hex(number) + " - " + description;
}

SpeechMagicState& SpeechMagic() {
    static SpeechMagicState state;
    return state;
}

void ResetSpeechMagic() {
    DetachSM();
    SpeechMagicState& s = SpeechMagic();
    s.library.unload();
    s.version.clear();
    s.root.clear();
    s.programFolder.clear();
    s.adminProgramPath.clear();
    s.libraryPath.clear();
    s.libraryDate.clear();
    s.librarySearchFolder.clear();
    s.handle = 0;
    s.attached = false;
    s.lastError.reset();
}

bool CheckSMInstall() {
    SpeechMagicState& s = SpeechMagic();
    s.lastError.reset();
    const SMInstallation found = DiscoverSMInstallation();
    if (found.version.empty() || found.root.empty())
        return false;
    const std::string bin = found.root + "/BIN";
    const std::string library = bin + (found.version == "5.1" ? "/SMApiv3.dll" : "/SMApi.dll");
    const std::string admin = bin + "/SMAdmin.EXE";
    if (!fs::exists(library) || !fs::exists(admin))
        return false;
    const std::string loaded = bin + "/SMApi.dll";
    if (found.version == "5.1" && !fs::exists(loaded)) {
        std::error_code ec;
        fs::copy_file(library, loaded, ec);
        if (!ec)
            fs::last_write_time(loaded, fs::last_write_time(library, ec), ec);
        if (!fs::exists(loaded))
            return false;
    }
    if (s.library.isLoaded() && s.libraryPath == loaded)
        return true;
    s.version = found.version;
    s.root = found.root;
    s.programFolder = bin;
    s.adminProgramPath = admin;
    s.libraryPath = loaded;
    s.libraryDate = fileDate(loaded);
    if (::access(bin.c_str(), X_OK) != 0)
        return raise(static_cast<unsigned long>(errno), "Dll search directory could not be set. System error code: 0x" +
                                                            hex(static_cast<unsigned long>(errno)));
    s.librarySearchFolder = bin;
    std::string detail;
    if (const unsigned long failure = s.library.load(loaded, &detail); failure != 0)
        return raise(kSystemErrorBase + failure, detail);
    for (const char* companion : {"/SPCApi.dll", "/SPCNew.dll"}) {
        const std::string path = bin + companion;
        if (!fs::exists(path))
            continue;
        if (const unsigned long failure = s.library.loadCompanion(path, &detail); failure != 0) {
            s.library.unload();
            return raise(kSystemErrorBase + failure, detail);
        }
    }
    return true;
}

int AttachSM() {
    SpeechMagicState& s = SpeechMagic();
    if (s.attached)
        return 0;
    const bool applicationForm = s.version != "5.1";
    const std::string log = foundation::EventLog::context().userName + ".LOG";
    std::uint32_t handle = 0;
    int result = s.library.attach(applicationForm, kClientName, log, kApplicationName, handle);
    if (result != 0) {
        foundation::EventLog::AppendToEventFile("Veltra Desktop changing current directory and drive to " +
                                                    s.programFolder + " to accommodate SpeechMagic.",
                                                4);
        if (::chdir(s.programFolder.c_str()) == 0)
            result = s.library.attach(applicationForm, kClientName, log, kApplicationName, handle);
    }
    if (result != 0) {
        platform::MsgBox("Error encountered while connecting to the SpeechMagic server.  SMAttach Failed:  Error " +
                             std::to_string(result) + " - " + SMErrorText(result),
                         platform::MsgButtons::OK, platform::MsgIcon::Exclamation);
        return result;
    }
    s.handle = handle;
    s.attached = true;
    return 0;
}

int DetachSM() {
    SpeechMagicState& s = SpeechMagic();
    if (!s.attached)
        return 0;
    const int result = s.library.detach(s.handle);
    s.attached = false;
    s.handle = 0;
    return result;
}

std::string SMErrorText(int code) {
    SpeechMagicState& s = SpeechMagic();
    std::string text;
    if (code == 0) {
        text = "OK";
    } else if (code == kErrProcessConflict) {
        text = s.library.lastConflictInfo(s.handle);
    } else {
        text = s.library.errorText(s.handle, code);
        while (!text.empty() && text.back() == ' ')
            text.pop_back();
        if (text.empty())
            text = ErrorName(code);
    }
    return std::to_string(code) + " " + text;
}

bool LibraryTooOldForContextRemoval() {
    const SpeechMagicState& s = SpeechMagic();
    return s.version == "5.1" && !s.libraryDate.empty() && s.libraryDate < "2003-11-10";
}

void EnumSMInputChannels::SmCallback(int callbackType, const SMChannel& channel, int /*result*/) {
    if (callbackType != 12)
        return;
    foundation::EventLog::AppendToEventFile(Describe(channel), 6);
    m_channels.push_back(channel);
}

int EnumSMInputChannels::Enumerate() {
    SpeechMagicState& s = SpeechMagic();
    return s.library.enumInputChannels(s.handle, [this](int type, const SMChannel& c) { SmCallback(type, c, 0); });
}

const SMChannel* EnumSMInputChannels::find(int type) const {
    for (const auto& c : m_channels)
        if (c.type == type)
            return &c;
    return nullptr;
}

std::string EnumSMInputChannels::Describe(const SMChannel& c) {
    return "Found channel: " + c.description + " - " + InputChannelName(c.type) + ", " + LanguageName(c.language) +
           ", " + BandwidthName(c.bandwidth) + ", " + ResolutionName(c.resolution);
}

} // namespace speech
