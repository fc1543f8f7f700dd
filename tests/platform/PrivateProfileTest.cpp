#include "PrivateProfile.h"
#include "MessageService.h"
#include "Registry.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

using platform::PrivateProfile;
namespace fs = std::filesystem;

namespace {

class IniTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/kdini-XXXXXX";
        dir = mkdtemp(pattern);
        file = dir + "/KALDRA.INI";
    }
    void TearDown() override { fs::remove_all(dir); }
    void put(const std::string& text) { std::ofstream(file, std::ios::binary) << text; }
    std::string contents() {
        std::ifstream in(file, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    std::string dir, file;
};

TEST_F(IniTest, ReadsWithWindowsSemantics) {
    put("; comment\r\n[System]\r\nNetworkRootDir = \\\\server\\share\\ \r\nUser=sa\r\nQuoted=\"  spaced  \"\r\n"
        "Long=" +
        std::string(200, 'x') + "\r\n[Other]\r\nUser=other\r\n");
    struct Case {
        const char* section;
        const char* key;
        const char* def;
        std::string expected;
    };
    const Case cases[] = {
        {"System", "User", "", "sa"},
        {"SYSTEM", "user", "", "sa"}, // names compare case-insensitively
        {"Other", "User", "", "other"},
        {"System", "NetworkRootDir", "", "\\\\server\\share\\"},
        {"System", "Quoted", "", "  spaced  "},    // quotes keep inner blanks
        {"System", "Missing", "  dflt  ", "dflt"}, // defaults are trimmed too
        {"Nowhere", "User", "x", "x"},
        {"System", "Long", "", std::string(127, 'x')}, // a 128-byte buffer holds 127 characters
    };
    for (const auto& tc : cases)
        EXPECT_EQ(PrivateProfile::read(tc.section, tc.key, tc.def, file), tc.expected) << tc.section << "/" << tc.key;
    EXPECT_EQ(PrivateProfile::read("System", "Long", "", file, 300), std::string(200, 'x'));
    EXPECT_EQ(PrivateProfile::read("System", "User", "d", dir + "/none.ini"), "d");
}

TEST_F(IniTest, WritesChangeOnlyTheirLineAndKeepTheRest) {
    put("; keep me\r\n[System]\r\nUser=sa\r\n\r\n[Updater]\r\nUserName=old\r\nTimeout=60\r\n");
    ASSERT_TRUE(PrivateProfile::write("updater", "USERNAME", std::string("new"), file));
    ASSERT_TRUE(PrivateProfile::write("Updater", "Password", std::string("ABC"), file));
    ASSERT_TRUE(PrivateProfile::write("Fresh", "Key", std::string("v"), file));
    ASSERT_TRUE(PrivateProfile::write("System", "User", std::nullopt, file));
    EXPECT_EQ(contents(), "; keep me\r\n[System]\r\n\r\n[Updater]\r\nUserName=new\r\nTimeout=60\r\nPassword=ABC\r\n"
                          "\r\n[Fresh]\r\nKey=v\r\n");
    // A value cannot break the file into extra lines.
    ASSERT_TRUE(PrivateProfile::write("Fresh", "Key", std::string("a\nInjected=1"), file));
    EXPECT_EQ(PrivateProfile::read("Fresh", "Injected", "none", file), "none");
    ASSERT_TRUE(PrivateProfile::write("New", "K", std::string("v"), dir + "/created.ini"));
    EXPECT_EQ(PrivateProfile::read("new", "k", "", dir + "/created.ini"), "v");
}

TEST_F(IniTest, RegistryHivesAreFilesNamedByEnvironment) {
    setenv("KDADMIN_REGISTRY_MACHINE", (dir + "/machine.ini").c_str(), 1);
    setenv("KDADMIN_REGISTRY_USER", (dir + "/sub/user.ini").c_str(), 1);
    using platform::Registry;
    const std::string key = "SOFTWARE\\Corvane and Company\\Tessaly Report 2.0 for Windows\\2.0";
    EXPECT_FALSE(Registry::read(Registry::Hive::LocalMachine, key, "LocalRootDir").has_value());
    ASSERT_TRUE(Registry::write(Registry::Hive::LocalMachine, key, "LocalRootDir", "/srv/kaldra"));
    ASSERT_TRUE(Registry::write(Registry::Hive::CurrentUser, key, "RemoteOnline", ""));
    EXPECT_EQ(Registry::read(Registry::Hive::LocalMachine, key, "localrootdir"), "/srv/kaldra");
    EXPECT_EQ(Registry::read(Registry::Hive::CurrentUser, key, "RemoteOnline"), "");
    EXPECT_FALSE(Registry::read(Registry::Hive::CurrentUser, key, "LocalRootDir").has_value());
    unsetenv("KDADMIN_REGISTRY_MACHINE");
    unsetenv("KDADMIN_REGISTRY_USER");
}

TEST(MessageRecorder, RecordsAndAnswersInOrder) {
    using namespace platform;
    MessageRecorder rec;
    rec.answer(MsgAnswer::No);
    EXPECT_EQ(MsgBox("Delete?", MsgButtons::YesNo, MsgIcon::Question, "Delete User"), MsgAnswer::No);
    EXPECT_EQ(MsgBox("Again?", MsgButtons::YesNo, MsgIcon::Question, "Delete User"), MsgAnswer::Yes);
    ASSERT_EQ(rec.shown.size(), 2u);
    EXPECT_EQ(rec.shown[0].text, "Delete?");
    EXPECT_EQ(rec.shown[0].title, "Delete User");
    EXPECT_EQ(rec.shown[0].icon, MsgIcon::Question);
}

} // namespace
