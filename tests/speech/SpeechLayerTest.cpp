#include "DecimalCommaLocale.h"
#include "MessageService.h"
#include "SpeechCodes.h"
#include "SpeechDemo.h"
#include "SpeechSite.h"
#include "modSpeechMagic.h"

#include <cstring>
#include <dlfcn.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>

using kdtest::SpeechSite;
using namespace speech;

namespace {

struct NameCase {
    std::string (*table)(int);
    int code;
    const char* name;
};

TEST(SpeechCodes, NamesAtTheTablesEdges) {
    const NameCase cases[] = {
        {LanguageName, -1, "SM_LANGUAGE_ID_UNKNOWN"},
        {LanguageName, 1, "SM_LANGUAGE_ID_GERMAN"},
        {LanguageName, 2, "Unknown SMLANGUAGEID (2)"},
        {LanguageName, 3, "SM_LANGUAGE_ID_ENGLISH_US"},
        {LanguageName, 4, "SM_LANGUAGE_ID_FRENCH"},
        {LanguageName, 51, "SM_LANGUAGE_ID_CE"},
        {LanguageName, 58, "SM_LANGUAGE_ID_FS"},
        {LanguageName, 59, "Unknown SMLANGUAGEID (59)"},
        {LanguageName, 999, "Unknown SMLANGUAGEID (999)"},
        {LanguageName, 1000, "SM_LANGUAGE_ID_OTHER"},
        {InputChannelName, -2, "SM_ICT_INVALID"},
        {InputChannelName, 200, "SM_ICT_MOBILE_INPUT"},
        {InputChannelName, 400, "SM_ICT_WIRELESS_BLUETOOTH"},
        {InputChannelName, 1, "Unknown SMINPUTCHANNEL (1)"},
        {BandwidthName, 1, "SM_BANDWIDTH_BROAD"},
        {BandwidthName, 2, "Unknown SMBANDWIDTH (2)"},
        {ResolutionName, 2, "SM_RESOLUTION_ADVANCED"},
        {ResolutionName, -2, "Unknown SMRESOLUTION (-2)"},
        {ErrorName, 38999, ""},
        {ErrorName, 39000, "SMAPI_ERR_ALREADY_ATTACHED"},
        {ErrorName, 39031, "SMAPI_ERR_JOBS_EXIST"},
        {ErrorName, 39055, "SMAPI_ERR_SOUNDFILE_CONVERSION"},
        {ErrorName, 39056, ""},
        {ErrorName, 39059, ""},
        {ErrorName, 39060, "SMAPI_ERR_NOT_IMPACTING_USER_SETTINGS"},
        {ErrorName, 39062, ""},
        {ErrorName, 39085, "SMAPI_ERR_SERVER_SETUP_ACTIVE"},
        {ErrorName, 39086, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.table(c.code), c.name) << c.code;
}

TEST(SpeechCodes, LanguageOfTheInitialContextFirstMatchWins) {
    const std::pair<const char*, int> cases[] = {
        {"Canadian French", 4},
        {"Canada", 51},
        {"English UK Radiology", 0},
        {"French English UK", 0},
        {"English US", 3},
        {"Radiology", 3},
        {"", 3},
        {"french", 3},
    };
    for (const auto& [name, language] : cases)
        EXPECT_EQ(LanguageForContext(name), language) << name;
}

TEST(SpeechDiscovery, RootLosesTrailingSeparatorsOnlyWhenLongerThanTwo) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\SpeechMagic\\;", "C:\\SpeechMagic"},
        {"/srv/sm/;;", "/srv/sm"},
        {"C:\\", "C:"},
        {"C:", "C:"},
        {"\\;", "\\;"},
        {"/srv/sm", "/srv/sm"},
        {"", ""},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(StripRoot(in), out) << in;
}

struct Layout {
    std::vector<std::array<const char*, 3>> keys;
    const char* version;
    const char* root;
};

TEST(SpeechDiscovery, RegistryLayoutsAndVersions) {
    const char* pm = "SOFTWARE\\Philips Speech\\SpeechMagic";
    const std::string backend = std::string(pm) + "\\Backend";
    const std::string v510 = std::string(pm) + "\\5.1.0", v511 = std::string(pm) + "\\5.1.1";
    const std::string v610 = std::string(pm) + "\\6.1.0", b610 = backend + "\\6.1.0";
    const std::vector<Layout> layouts = {
        {{}, "", ""},
        {{{{backend.c_str(), "Version", "abc"}}}, "", ""},
        {{{{backend.c_str(), "Version", "5.1"}}, {{v511.c_str(), "SystemRootLocal", "/sm51b\\"}}}, "5.1", "/sm51b"},
        {{{{backend.c_str(), "Version", "5.9"}},
          {{v510.c_str(), "SystemRootLocal", "/sm51a"}},
          {{v511.c_str(), "SystemRootLocal", "/sm51b"}}},
         "5.1",
         "/sm51a"},
        {{{{pm, "Version", "6.0"}}, {{b610.c_str(), "SystemRootLocal", "/sm61;"}}}, "6.1", "/sm61"},
        {{{{"SOFTWARE\\SpeechMagic", "Version", "6.99"}}, {{v610.c_str(), "SystemRootLocal", "/a/;"}}}, "6.1", "/a"},
        {{{{"SOFTWARE\\SpeechMagic", "Version", "7"}}, {{"SOFTWARE\\SpeechMagic\\Backend", "SystemRootLocal", "/s7/"}}},
         "7.0",
         "/s7"},
        {{{{backend.c_str(), "Version", "7.0"}}, {{pm, "Version", "5.1"}}}, "7.0", ""},
    };
    SpeechSite site;
    for (const auto& layout : layouts) {
        site.clearRegistry();
        for (const auto& k : layout.keys)
            site.registry(k[0], k[1], k[2]);
        const SMInstallation found = DiscoverSMInstallation();
        EXPECT_EQ(found.version, layout.version) << (layout.keys.empty() ? "" : layout.keys[0][2]);
        EXPECT_EQ(found.root, layout.root) << (layout.keys.empty() ? "" : layout.keys[0][2]);
    }
}

TEST(SpeechDiscovery, VersionIsReadTheSameInADecimalCommaLocale) {
    kdtest::DecimalCommaLocale locale;
    KD_REQUIRE_DECIMAL_COMMA(locale);
    SpeechSite site;
    site.registry("SOFTWARE\\SpeechMagic", "Version", "6.1");
    site.registry("SOFTWARE\\Philips Speech\\SpeechMagic\\6.1.0", "SystemRootLocal", "/x");
    EXPECT_EQ(DiscoverSMInstallation().version, "6.1");
}

struct LoadCase {
    const char* what;
    SpeechSite::Library library;
    const char* version;
    const char* file;
    bool admin;
    bool usable;
    unsigned long error; // 0: none raised
};

TEST(SpeechLoading, InstallationsAndLoadFailures) {
    const LoadCase cases[] = {
        {"6.1 library", SpeechSite::Library::Application, "6.1", "SMApi.dll", true, true, 0},
        {"7.0 library", SpeechSite::Library::Application, "7.2", "SMApi.dll", true, true, 0},
        {"no admin program", SpeechSite::Library::Application, "6.1", "SMApi.dll", false, false, 0},
        {"no library", SpeechSite::Library::None, "6.1", "SMApi.dll", true, false, 0},
        {"5.1 needs SMApiv3", SpeechSite::Library::Application, "5.1", "SMApi.dll", true, false, 0},
        {"version abc", SpeechSite::Library::Application, "abc", "SMApi.dll", true, false, 0},
        {"empty file", SpeechSite::Library::Empty, "6.1", "SMApi.dll", true, false, 0x800700C1},
        {"windows dll", SpeechSite::Library::WindowsDll, "7.0", "SMApi.dll", true, false, 0x800700C1},
        {"exports missing", SpeechSite::Library::NoExports, "6.1", "SMApi.dll", true, false, 0x8007007F},
        {"5.1 empty", SpeechSite::Library::Empty, "5.1", "SMApiv3.dll", true, false, 0x800700C1},
    };
    for (const auto& c : cases) {
        SpeechSite site;
        site.install(c.version, c.library, c.file, c.admin);
        EXPECT_EQ(CheckSMInstall(), c.usable) << c.what;
        EXPECT_EQ(SpeechMagic().library.isLoaded(), c.usable) << c.what;
        const auto& error = SpeechMagic().lastError;
        EXPECT_EQ(error ? error->number : 0UL, c.error) << c.what;
        if (error) {
            EXPECT_EQ(error->source, "CheckSMInstall");
            EXPECT_FALSE(error->description.empty()) << c.what;
        }
    }
}

TEST(SpeechLoading, CompanionLibrariesWhenPresent) {
    {
        SpeechSite site;
        site.install();
        site.placeLibrary(SpeechSite::Library::Application, "SPCNew.dll");
        ASSERT_TRUE(CheckSMInstall());
        ASSERT_EQ(SpeechMagic().library.companions().size(), 1u);
        EXPECT_EQ(SpeechMagic().library.companions()[0], site.root() + "/BIN/SPCNew.dll");
    }
    SpeechSite site;
    site.install();
    site.placeLibrary(SpeechSite::Library::Empty, "SPCApi.dll");
    EXPECT_FALSE(CheckSMInstall());
    ASSERT_TRUE(SpeechMagic().lastError);
    EXPECT_EQ(SpeechMagic().lastError->number, 0x800700C1UL);
    EXPECT_FALSE(SpeechMagic().library.isLoaded());
}

TEST(SpeechLoading, Version51CopiesTheLibraryKeepingItsDate) {
    SpeechSite site;
    site.install("5.1", SpeechSite::Library::V3, "SMApiv3.dll");
    const std::string v3 = site.root() + "/BIN/SMApiv3.dll";
    const auto old = std::filesystem::last_write_time(v3) - std::chrono::hours(24 * 365 * 24);
    std::filesystem::last_write_time(v3, old);
    site.store(SpeechSite::demoStore());
    ASSERT_TRUE(CheckSMInstall());
    EXPECT_TRUE(std::filesystem::exists(site.root() + "/BIN/SMApi.dll"));
    EXPECT_EQ(std::filesystem::last_write_time(site.root() + "/BIN/SMApi.dll"), old);
    EXPECT_EQ(SpeechMagic().libraryPath, site.root() + "/BIN/SMApi.dll");
    EXPECT_LT(SpeechMagic().libraryDate, "2003-11-10");
    EXPECT_TRUE(LibraryTooOldForContextRemoval());
    platform::MessageRecorder messages;
    EXPECT_EQ(AttachSM(), 0);
    EXPECT_NE(site.calls().find("SMAttach(\"K2HOST\", 0, \"admin.LOG\") = 0"), std::string::npos) << site.calls();
}

TEST(SpeechSession, WrongAttachFormFailsTwiceAndIsShown) {
    SpeechSite site;
    site.install("6.1", SpeechSite::Library::V3, "SMApi.dll");
    ASSERT_TRUE(CheckSMInstall());
    platform::MessageRecorder messages;
    EXPECT_EQ(AttachSM(), 39018);
    EXPECT_FALSE(SpeechMagic().attached);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text,
              "Error encountered while connecting to the SpeechMagic server.  SMAttach Failed:  "
              "Error 39018 - 39018 The interface was called in a form this version does "
              "not support.");
    EXPECT_EQ(DetachSM(), 0);
    EXPECT_EQ(site.calls().find("SMDetach"), std::string::npos);
}

TEST(SpeechSession, AttachRetriesFromTheProgramFolder) {
    SpeechSite site;
    site.install("7.0");
    site.store(SpeechSite::demoStore());
    site.faults("attach-needs-program-folder\n");
    ASSERT_TRUE(CheckSMInstall());
    platform::MessageRecorder messages;
    ASSERT_EQ(AttachSM(), 0);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_NE(site.localLog().find("Veltra Desktop changing current directory and drive to " + site.root() +
                                   "/BIN to accommodate SpeechMagic."),
              std::string::npos);
    EXPECT_EQ(std::filesystem::current_path(), std::filesystem::canonical(site.root() + "/BIN"));
    const std::string calls = site.calls();
    EXPECT_NE(calls.find("SMAttach(\"K2HOST\", 100, \"admin.LOG\", \"Dazud Eruzira\") = 39001\n"
                         "SMAttach(\"K2HOST\", 100, \"admin.LOG\", \"Dazud Eruzira\") = 0"),
              std::string::npos)
        << calls;
    // Nothing afterwards depends on the current directory.
    std::filesystem::current_path("/");
    std::string first;
    EXPECT_EQ(SpeechMagic().library.nextUserName(SpeechMagic().handle, "", first), 0);
    EXPECT_EQ(first, "RADAMS");
    EXPECT_EQ(DetachSM(), 0);
    EXPECT_EQ(DetachSM(), 0);
    const std::string after = site.calls();
    EXPECT_EQ(after.find("SMDetach"), after.rfind("SMDetach")) << "detached twice";
}

TEST(SpeechSession, ErrorTextRule) {
    SpeechSite site;
    site.install();
    site.store(SpeechSite::demoStore());
    ASSERT_TRUE(CheckSMInstall());
    ASSERT_EQ(AttachSM(), 0);
    auto& lib = SpeechMagic().library;
    SMInstallRequest remove{SMInstallAction::RemoveContext, 3, 0, "GENMED", 0};
    ASSERT_EQ(lib.installUser(SpeechMagic().handle, "RLOCKED", remove), 39038);
    const std::pair<int, const char*> cases[] = {
        {0, "0 OK"},
        {39048, "39048 The user does not exist."},
        {39056, "39056 The recognition server's state changed during the call."},
        {39060, "39060 SMAPI_ERR_NOT_IMPACTING_USER_SETTINGS"},
        {39062, "39062 "},
        {39038, "39038 The Purge Daemon holds the lock on user RLOCKED."},
    };
    for (const auto& [code, text] : cases)
        EXPECT_EQ(SMErrorText(code), text);
}

TEST(SpeechSession, ChannelsAreEnumeratedAndLogged) {
    SpeechSite site;
    site.install();
    site.store(SpeechSite::demoStore());
    ASSERT_TRUE(CheckSMInstall());
    ASSERT_EQ(AttachSM(), 0);
    EnumSMInputChannels channels;
    ASSERT_EQ(channels.Enumerate(), 0);
    ASSERT_EQ(channels.channels().size(), 3u);
    ASSERT_NE(channels.find(200), nullptr);
    EXPECT_EQ(channels.find(300), nullptr);
    EXPECT_NE(site.localLog().find("Found channel: Mobile recorder - SM_ICT_MOBILE_INPUT, SM_LANGUAGE_ID_ENGLISH_US, "
                                   "SM_BANDWIDTH_NARROW, SM_RESOLUTION_HIGH"),
              std::string::npos)
        << site.localLog();
    channels.RemoveAll();
    EXPECT_TRUE(channels.channels().empty());
}

struct CallCase {
    const char* what;
    const char* faults;
    const char* user;
    SMInstallAction action;
    const char* context;
    int gender;
    int expected;
};

// The library's answers the dialogs depend on, one row per refusal.
TEST(SpeechSession, InstallAnswers) {
    const std::string longName(10000, 'A');
    const CallCase cases[] = {
        {"new user", "", "RNEW", SMInstallAction::Add, "GENMED", 1, 0},
        {"blank", "", "R NEW", SMInstallAction::Add, "GENMED", 1, 39019},
        {"apostrophe", "", "O'NEIL", SMInstallAction::Add, "GENMED", 1, 39019},
        {"non-ascii", "", "M\xc3\x9cLLER", SMInstallAction::Add, "GENMED", 1, 39019},
        {"17 characters", "", "ABCDEFGHIJKLMNOPQ", SMInstallAction::Add, "GENMED", 1, 39045},
        {"16 characters", "", "ABCDEFGHIJKLMNOP", SMInstallAction::Add, "GENMED", 1, 0},
        {"10000 characters", "", longName.c_str(), SMInstallAction::Add, "GENMED", 1, 39045},
        {"unknown context", "", "RNEW", SMInstallAction::Add, "DERMA", 1, 39004},
        {"name in use", "", "RADAMS", SMInstallAction::Add, "GENMED", 1, 39073},
        {"gender change", "", "RADAMS", SMInstallAction::Add, "CARDIO", 2, 39071},
        {"pending dictations", "", "RBUSY", SMInstallAction::RemoveContext, "CARDIO", 0, 39031},
        {"purge lock", "", "RLOCKED", SMInstallAction::RemoveUser, "", 0, 39038},
        {"unknown user", "", "RNOBODY", SMInstallAction::RemoveUser, "", 0, 39048},
        {"arranged fault", "fail SMInstallUser 39056 1\n", "RNEW2", SMInstallAction::Add, "GENMED", 1, 39056},
    };
    SpeechSite site;
    site.install();
    site.store(SpeechSite::demoStore());
    ASSERT_TRUE(CheckSMInstall());
    ASSERT_EQ(AttachSM(), 0);
    auto& s = SpeechMagic();
    for (const auto& c : cases) {
        site.faults(c.faults);
        SMInstallRequest r{c.action, 3, c.gender, c.context, 0};
        EXPECT_EQ(s.library.installUser(s.handle, c.user, r), c.expected) << c.what;
    }
    // The fault was consumed: the same call now succeeds.
    site.faults("fail SMInstallUser 39056 0\n");
    EXPECT_EQ(s.library.installUser(s.handle, "RNEW2", {SMInstallAction::Add, 3, 1, "GENMED", 0}), 0);
    SMUserProperties props;
    ASSERT_EQ(s.library.userInfo(s.handle, "RNEW", props), 0);
    EXPECT_EQ(props.contexts, std::vector<std::string>{"GENMED"});
    EXPECT_EQ(s.library.userInfo(s.handle, longName, props), 39045);
    EXPECT_EQ(s.library.installUser2(s.handle, "RNEW", {SMInstallAction::Add, 3, 1, "GENMED", 0},
                                     SMChannel{300, 3, 1, 1, "DECT"}),
              39053);
}

TEST(SpeechSession, DamagedStoreIsACodeNotACrash) {
    SpeechSite site;
    site.install();
    site.store("context GENMED\nuser RADAMS x\n");
    ASSERT_TRUE(CheckSMInstall());
    platform::MessageRecorder messages;
    EXPECT_EQ(AttachSM(), 39012);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find("39012 The user store could not be read: line 2 is not understood"),
              std::string::npos)
        << messages.shown[0].text;
}

} // namespace

namespace {

// The demo site's installation: found through its registry keys (root ending in ";"), with the
// demo's users and the refusals the dialogs show.
TEST(SpeechDemo, DemoInstallationIsUsable) {
    SpeechSite site;
    std::filesystem::create_directories(site.root() + "/demo/registry");
    tools::installSpeechDemo(site.root() + "/demo", KD_SPEECH_BIN);
    ::setenv("KDADMIN_REGISTRY_MACHINE", (site.root() + "/demo/registry/machine.ini").c_str(), 1);
    ASSERT_TRUE(CheckSMInstall());
    EXPECT_EQ(SpeechMagic().root, site.root() + "/demo/SpeechMagic");
    EXPECT_EQ(SpeechMagic().version, "6.1");
    ASSERT_EQ(AttachSM(), 0);
    auto& s = SpeechMagic();
    std::vector<std::string> users;
    std::string name;
    for (std::string previous; s.library.nextUserName(s.handle, previous, name) == 0; previous = name)
        users.push_back(name);
    EXPECT_EQ(users, (std::vector<std::string>{"MPENDING", "RADAMS", "TLOCKED"}));
    SMInstallRequest remove{SMInstallAction::RemoveContext, 3, 0, "CARDIO", 0};
    EXPECT_EQ(s.library.installUser(s.handle, "MPENDING", remove), 39031);
    EXPECT_EQ(s.library.installUser(s.handle, "TLOCKED", remove), 39038);
}

} // namespace

namespace {

// What the simulator guarantees whoever calls it: texts cut to the buffer given, calls from another
// thread refused, and a store changed on disk seen by the next call.
TEST(SpeechSimulator, BuffersThreadsAndStoreChanges) {
    SpeechSite site;
    site.install();
    site.store(SpeechSite::demoStore());
    ASSERT_TRUE(CheckSMInstall());
    ASSERT_EQ(AttachSM(), 0);
    void* module = ::dlopen((site.root() + "/BIN/SMApi.dll").c_str(), RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(module, nullptr);
    using ErrorTextFn = std::int32_t (*)(std::uint32_t, std::int32_t, std::int32_t, char*);
    auto errorText = reinterpret_cast<ErrorTextFn>(::dlsym(module, "SMGetErrorText"));
    char buffer[16];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(errorText(SpeechMagic().handle, 39048, 8, buffer), 0);
    EXPECT_STREQ(buffer, "The use");
    EXPECT_EQ(buffer[8], '#') << "written past the size given";
    ::dlclose(module);

    auto& s = SpeechMagic();
    int fromOtherThread = 0;
    std::thread([&] {
        std::string next;
        fromOtherThread = s.library.nextUserName(s.handle, "", next);
    }).join();
    EXPECT_EQ(fromOtherThread, 39046);

    site.store("context GENMED\nuser AFIRST 1 3 0 0\n");
    std::string first;
    ASSERT_EQ(s.library.nextUserName(s.handle, "", first), 0);
    EXPECT_EQ(first, "AFIRST");
    std::string context;
    EXPECT_EQ(s.library.nextContextName(s.handle, "GENMED", context), 39044);
}

} // namespace
