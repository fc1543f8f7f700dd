#pragma once

#include "EventLog.h"
#include "modSpeechMagic.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace kdtest {

// A temporary speech installation: a root with BIN (copies of the simulator's builds and its
// administration program), the store beside it, the machine registry keys that point at it, and a
// local log folder. Each site has its own root, so each loads its own copy of the library.
class SpeechSite {
public:
    enum class Library { Application, V3, Empty, WindowsDll, NoExports, None };

    SpeechSite() {
        char pattern[] = "/tmp/kd-speech-XXXXXX";
        m_root = ::mkdtemp(pattern);
        std::filesystem::create_directories(m_root + "/BIN");
        std::filesystem::create_directories(m_root + "/LOG");
        m_registry = m_root + "/registry.ini";
        ::setenv("KDADMIN_REGISTRY_MACHINE", m_registry.c_str(), 1);
        auto& log = foundation::EventLog::context();
        log.logFolder = m_root + "/LOG";
        log.workstation = "SPEECHWS";
        log.userName = "admin";
        char cwd[4096];
        m_cwd = ::getcwd(cwd, sizeof cwd) ? cwd : "/tmp";
    }
    ~SpeechSite() {
        speech::ResetSpeechMagic();
        if (::chdir(m_cwd.c_str()) != 0)
            (void)::chdir("/tmp");
        std::error_code ec;
        std::filesystem::remove_all(m_root, ec);
    }
    SpeechSite(const SpeechSite&) = delete;
    SpeechSite& operator=(const SpeechSite&) = delete;

    // Installs version 6.1 (or another) with the library at BIN/<file> and the admin program.
    void install(const std::string& version = "6.1", Library library = Library::Application,
                 const std::string& file = "SMApi.dll", bool admin = true) {
        placeLibrary(library, file);
        if (admin)
            std::filesystem::copy_file(std::string(KD_SPEECH_BIN) + "/SMAdmin.EXE", m_root + "/BIN/SMAdmin.EXE",
                                       std::filesystem::copy_options::overwrite_existing);
        registry("SOFTWARE\\Philips Speech\\SpeechMagic\\Backend", "Version", version);
        registry("SOFTWARE\\Philips Speech\\SpeechMagic\\6.1.0", "SystemRootLocal", m_root + "/;");
        registry("SOFTWARE\\Philips Speech\\SpeechMagic\\5.1.0", "SystemRootLocal", m_root + "/;");
        registry("SOFTWARE\\SpeechMagic\\Backend", "SystemRootLocal", m_root + "/;");
    }

    void placeLibrary(Library library, const std::string& file) {
        const std::string target = m_root + "/BIN/" + file;
        const auto copy = [&](const std::string& from) {
            std::filesystem::copy_file(from, target, std::filesystem::copy_options::overwrite_existing);
        };
        switch (library) {
        case Library::Application:
            copy(std::string(KD_SPEECH_BIN) + "/SMApi.dll");
            break;
        case Library::V3:
            copy(std::string(KD_SPEECH_BIN) + "/SMApiv3.dll");
            break;
        case Library::NoExports:
            copy(KD_SPEECH_NOEXPORTS);
            break;
        case Library::Empty:
            write(target, "");
            break;
        case Library::WindowsDll:
            write(target, std::string("MZ\x90\0\x03\0\0\0", 8) + std::string(120, '\0') + "PE");
            break;
        case Library::None:
            break;
        }
    }

    void registry(const std::string& key, const std::string& value, const std::string& data) {
        m_keys[key + "\n" + value] = data;
        std::ofstream out(m_registry, std::ios::trunc);
        std::string section;
        std::ostringstream text;
        std::map<std::string, std::vector<std::pair<std::string, std::string>>> bySection;
        for (const auto& [k, v] : m_keys)
            bySection[k.substr(0, k.find('\n'))].emplace_back(k.substr(k.find('\n') + 1), v);
        for (const auto& [s, values] : bySection) {
            out << "[" << s << "]\n";
            for (const auto& [name, data2] : values)
                out << name << "=" << data2 << "\n";
        }
    }
    void clearRegistry() {
        m_keys.clear();
        write(m_registry, "");
    }

    void store(const std::string& text) { write(m_root + "/SMSTORE.TXT", text); }
    void faults(const std::string& text) { write(m_root + "/SMSTORE.TXT.faults", text); }
    [[nodiscard]] std::string calls() const { return read(m_root + "/SMSTORE.TXT.calls"); }
    [[nodiscard]] std::string storeText() const { return read(m_root + "/SMSTORE.TXT"); }
    [[nodiscard]] std::string localLog() const { return read(foundation::EventLog::EventLogFile()); }
    [[nodiscard]] const std::string& root() const { return m_root; }

    // Three contexts, microphone, mobile and telephone channels, a user with pending dictations and
    // one the purge daemon holds.
    static std::string demoStore() {
        return "context GENMED\ncontext RADIOLOGY\ncontext CARDIO\n"
               "channel 0 3 1 1 Microphone\nchannel 200 3 0 1 Mobile recorder\nchannel 100 3 0 0 Telephone\n"
               "user RADAMS 1 3 0 0\nuser-context RADAMS GENMED\nuser-context RADAMS RADIOLOGY\n"
               "user-channel RADAMS 0 3 1 1 Microphone\n"
               "user RBUSY 2 3 4 0\nuser-context RBUSY GENMED\nuser-context RBUSY CARDIO\n"
               "user RLOCKED 1 3 0 1\nuser-context RLOCKED GENMED\nuser-context RLOCKED CARDIO\n";
    }

    static void write(const std::string& path, const std::string& text) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << text;
    }
    static std::string read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

private:
    std::string m_root;
    std::string m_registry;
    std::string m_cwd;
    std::map<std::string, std::string> m_keys;
};

} // namespace kdtest
