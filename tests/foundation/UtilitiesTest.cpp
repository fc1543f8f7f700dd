#include "Utilities.h"
#include "MessageService.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace foundation;
namespace fs = std::filesystem;

namespace {

TEST(SplitFullName, TitlesParticlesSuffixesAndCredentials) {
    struct Case {
        const char* full;
        const char* first;
        const char* last;
        const char* suffix;
    };
    const Case cases[] = {
        {"John Smith", "John", "Smith", ""},
        {"Smith", "", "Smith", ""},
        {"Ludwig von Beethoven III", "Ludwig", "von Beethoven", "III"},
        {"Dr. Mary Ann de la Cruz Jr., MD, PhD", "Mary Ann", "de la Cruz", "Jr., MD, PhD"},
        {"  Robert   Adams , MD ", "Robert", "Adams", "MD"},
        {"MRS Jane Doe", "Jane", "Doe", ""},
        {"Mrs. Jane Doe", "Jane", "Doe", ""},
        {"Mrs.Jane Doe", "ane", "Doe", ""}, // "MRS." and the character after it go
        {"Ms Ann Lee Sr.", "Ann", "Lee", "Sr."},
        {"Jr", "", "Jr", ""}, // a lone word is the last name even when it looks like a suffix
        {"", "", "", ""},
        {"Anna St. James", "Anna", "St. James", ""},
    };
    for (const auto& tc : cases) {
        NameParts p = SplitFullName(tc.full);
        EXPECT_EQ(p.first, tc.first) << tc.full;
        EXPECT_EQ(p.last, tc.last) << tc.full;
        EXPECT_EQ(p.suffix, tc.suffix) << tc.full;
    }
    EXPECT_EQ(NameField("a,b,,d", 2, ','), "b");
    EXPECT_EQ(NameField("a,b,,d", 3, ','), "");
    EXPECT_EQ(NameField("a,b,,d", 4, ','), "d");
    EXPECT_EQ(NameField("a,b", 5, ','), "");
}

TEST(EntryChecks, DatesAndTimesWithTheirMessage) {
    platform::MessageRecorder recorder;
    const std::pair<const char*, bool> dates[] = {
        {"02/29/00", true},  {"02/29/19", false}, {"13/01/21", false}, {"04/31/21", false}, {"04/30/21", true},
        {"02/29/96", true},  {"02/29/20", true},  {"02/29/21", false}, {"1/1/21", false},   {"12/31/99", true},
        {"12/3 /99", false}, {"ab/cd/ef", false}, {"", false}};
    for (const auto& [text, valid] : dates)
        EXPECT_EQ(CheckDateEntry(text, "Start Date"), valid) << text;
    const std::pair<const char*, bool> times[] = {{"12:60", false},  {"00:30", false}, {"9:30", false},
                                                  {"09:30", true},   {"12:59", true},  {"13:00", false},
                                                  {"01:00 ", false}, {"1 :00", false}};
    for (const auto& [text, valid] : times)
        EXPECT_EQ(CheckTimeEntry(text, "Start Time"), valid) << text;
    ASSERT_FALSE(recorder.shown.empty());
    EXPECT_EQ(recorder.shown[0].text, "Invalid Start Date entered!  Please enter again.");
    EXPECT_EQ(recorder.shown[0].title, "Date Error");
    EXPECT_EQ(recorder.shown.back().text, "Invalid Start Time entered!  Please enter again.");
}

class FolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/kdfolders-XXXXXX";
        root = mkdtemp(pattern);
        src = root + "/src";
        fs::create_directories(src + "/sub/deeper");
        fs::create_directories(src + "/.hidden");
        fs::create_directories(src + "/readonly");
        std::ofstream(src + "/a.txt") << "a";
        std::ofstream(src + "/sub/b.txt") << "b";
        std::ofstream(src + "/sub/deeper/c.txt") << "c";
        std::ofstream(src + "/locked.txt") << "locked";
        fs::permissions(src + "/locked.txt", fs::perms::owner_read);
        std::ofstream(src + "/readonly/r.txt") << "r";
        fs::permissions(src + "/readonly", fs::perms::owner_read | fs::perms::owner_exec);
    }
    void TearDown() override {
        std::error_code ec;
        for (auto& e : fs::recursive_directory_iterator(root, ec))
            fs::permissions(e.path(), fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(root, ec);
    }
    std::string root, src;
};

TEST_F(FolderTest, ListsPlainSubfoldersOnly) {
    EXPECT_EQ(ListSubfolders(src), std::vector<std::string>{"sub"});
    EXPECT_TRUE(ListSubfolders(root + "/missing").empty());
    EXPECT_TRUE(FolderExists(src));
    EXPECT_FALSE(FolderExists(src + "/a.txt"));
    EXPECT_TRUE(FileExists(src + "/a.txt"));
    EXPECT_FALSE(FileExists(src));
    EXPECT_FALSE(FileExists(""));
}

TEST_F(FolderTest, CopyKeepsTreesReadOnlyMarksAndOverwritesAnExistingDestination) {
    const std::string dst = root + "/deep/er/dst";
    fs::create_directories(dst);
    std::ofstream(dst + "/locked.txt") << "old";
    fs::permissions(dst + "/locked.txt", fs::perms::owner_read);
    ASSERT_TRUE(CopyFolder(src, dst));
    EXPECT_TRUE(fs::exists(dst + "/sub/deeper/c.txt"));
    std::ifstream locked(dst + "/locked.txt");
    std::string content;
    locked >> content;
    EXPECT_EQ(content, "locked");
    EXPECT_EQ(fs::status(dst + "/locked.txt").permissions() & fs::perms::owner_write, fs::perms::none);
    EXPECT_FALSE(CopyFolder(root + "/missing", root + "/x"));
}

TEST_F(FolderTest, MoveReportsWhatHappened) {
    EXPECT_EQ(MoveFolder(root + "/missing", root + "/nowhere"), -1);
    fs::permissions(src + "/readonly", fs::perms::owner_all); // copyable and removable
    EXPECT_EQ(MoveFolder(src, root + "/moved"), 1);
    EXPECT_FALSE(fs::exists(src));
    EXPECT_TRUE(fs::exists(root + "/moved/locked.txt"));
    EXPECT_TRUE(DeleteFolder(root + "/moved"));
    EXPECT_FALSE(fs::exists(root + "/moved"));
    EXPECT_FALSE(DeleteFolder(root + "/moved"));
}

TEST(PingHost, ResolverAndLoopbackAnswers) {
    EXPECT_EQ(PingHost("no-such-host.invalid", 500), "Host not found.");
    const std::string loopback = PingHost("127.0.0.1", 1000);
    EXPECT_TRUE(loopback == "Success" || loopback == "Request Timed Out") << loopback;
}

} // namespace
