#include "SpeechDemo.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace tools {

namespace {

// The three dictation contexts of the demo database; microphone, mobile and telephone channels;
// RADAMS held by Dr Adams, a user with dictations still pending and one the purge daemon holds.
constexpr const char* kStore = "context GENMED\n"
                               "context RADIOLOGY\n"
                               "context CARDIO\n"
                               "channel 0 3 1 1 Microphone\n"
                               "channel 200 3 0 1 Mobile recorder\n"
                               "channel 100 3 0 0 Telephone\n"
                               "user RADAMS 1 3 0 0\n"
                               "user-context RADAMS GENMED\n"
                               "user-context RADAMS RADIOLOGY\n"
                               "user-channel RADAMS 0 3 1 1 Microphone\n"
                               "user-channel RADAMS 200 3 0 1 Mobile recorder\n"
                               "user MPENDING 2 3 12 0\n"
                               "user-context MPENDING GENMED\n"
                               "user-context MPENDING CARDIO\n"
                               "user-channel MPENDING 0 3 1 1 Microphone\n"
                               "user TLOCKED 1 0 0 1\n"
                               "user-context TLOCKED RADIOLOGY\n"
                               "user-context TLOCKED CARDIO\n"
                               "user-channel TLOCKED 0 0 1 1 Microphone\n";

} // namespace

void installSpeechDemo(const std::string& siteFolder, const std::string& simulatorBin) {
    const fs::path root = fs::path(siteFolder) / "SpeechMagic";
    fs::create_directories(root / "BIN");
    for (const char* file : {"SMApi.dll", "SMApiv3.dll", "SMAdmin.EXE"})
        fs::copy_file(fs::path(simulatorBin) / file, root / "BIN" / file, fs::copy_options::overwrite_existing);
    std::ofstream store(root / "SMSTORE.TXT", std::ios::trunc);
    store << kStore;
    std::ofstream registry(fs::path(siteFolder) / "registry" / "machine.ini", std::ios::app);
    registry << "\n[SOFTWARE\\Philips Speech\\SpeechMagic\\Backend]\nVersion=6.1\n"
             << "\n[SOFTWARE\\Philips Speech\\SpeechMagic\\6.1.0]\nSystemRootLocal=" << root.string() << "/;\n";
    if (!store || !registry)
        throw std::runtime_error("the speech simulator could not be installed in " + root.string());
}

} // namespace tools
