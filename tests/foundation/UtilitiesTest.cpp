#include "Utilities.h"
#include "FolderSnapshot.h"
#include "MessageService.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace foundation;
using kdtest::snapshot;
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
    // Hidden and read-only folders are not part of the tree that is copied.
    EXPECT_FALSE(fs::exists(dst + "/.hidden"));
    EXPECT_FALSE(fs::exists(dst + "/readonly"));
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
    fs::remove_all(src + "/.hidden");
    EXPECT_EQ(MoveFolder(src, root + "/moved"), 1);
    EXPECT_FALSE(fs::exists(src));
    EXPECT_TRUE(fs::exists(root + "/moved/locked.txt"));
    EXPECT_TRUE(DeleteFolder(root + "/moved"));
    EXPECT_FALSE(fs::exists(root + "/moved"));
    EXPECT_FALSE(DeleteFolder(root + "/moved"));
}

// Files and a folder outside the trees under test, reached from inside them only through links.
class FolderLinkTest : public FolderTest {
protected:
    void SetUp() override {
        FolderTest::SetUp();
        fs::permissions(src + "/readonly", fs::perms::owner_all);
        fs::remove_all(src + "/.hidden");
        outside = root + "/outside";
        fs::create_directories(outside + "/inner");
        std::ofstream(outside + "/keep.txt") << "keep";
        std::ofstream(outside + "/inner/deep.txt") << "deep";
        before = snapshot(outside);
    }
    std::string outside;
    std::map<std::string, std::string> before;
};

TEST_F(FolderLinkTest, LinksAreNeitherListedNorCopied) {
    fs::create_directory_symlink(outside, src + "/linked");
    fs::create_symlink(outside + "/keep.txt", src + "/keep-link.txt");
    EXPECT_EQ(ListSubfolders(src), (std::vector<std::string>{"readonly", "sub"}));
    ASSERT_TRUE(CopyFolder(src, root + "/copy"));
    const auto copied = snapshot(root + "/copy");
    EXPECT_EQ(copied.count("linked"), 0u);
    EXPECT_EQ(copied.count("keep-link.txt"), 0u);
    EXPECT_EQ(copied.count("sub/deeper/c.txt"), 1u);
    EXPECT_EQ(snapshot(outside), before);
}

TEST_F(FolderLinkTest, UnwalkedEntriesKeepTheWholeTreeAndMoveReportsCopiedButNotRemoved) {
    struct Case {
        const char* what;
        void (*make)(const std::string& folder, const std::string& outside);
    };
    const Case cases[] = {
        {"link to a folder",
         [](const std::string& f, const std::string& o) { fs::create_directory_symlink(o, f + "/linked"); }},
        {"link to a file",
         [](const std::string& f, const std::string& o) { fs::create_symlink(o + "/keep.txt", f + "/k.txt"); }},
        {"dangling link", [](const std::string& f, const std::string&) { fs::create_symlink("/nowhere", f + "/d"); }},
        {"hidden folder", [](const std::string& f, const std::string&) { fs::create_directory(f + "/.cache"); }},
        {"read-only folder",
         [](const std::string& f, const std::string&) {
             fs::create_directory(f + "/frozen");
             std::ofstream(f + "/frozen/x.txt") << "x";
             fs::permissions(f + "/frozen", fs::perms::owner_read | fs::perms::owner_exec);
         }},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.what);
        const std::string tree = root + "/tree", moved = root + "/moved";
        fs::create_directories(tree + "/sub/deeper");
        std::ofstream(tree + "/a.txt") << "a";
        std::ofstream(tree + "/sub/deeper/c.txt") << "c";
        tc.make(tree + "/sub/deeper", outside);
        const auto treeBefore = snapshot(tree);
        EXPECT_FALSE(DeleteFolder(tree));
        EXPECT_EQ(snapshot(tree), treeBefore);
        EXPECT_EQ(MoveFolder(tree, moved), 0);
        EXPECT_EQ(snapshot(tree), treeBefore);
        EXPECT_EQ(snapshot(moved).count("sub/deeper/c.txt"), 1u);
        EXPECT_EQ(snapshot(outside), before);
        std::error_code ec;
        fs::permissions(tree + "/sub/deeper/frozen", fs::perms::owner_all, ec);
        fs::remove_all(tree);
        fs::remove_all(moved);
    }
}

TEST_F(FolderLinkTest, AFolderGivenAsALinkIsNeitherDeletedNorCopiedThrough) {
    const std::string alias = root + "/alias";
    fs::create_directory_symlink(outside, alias);
    EXPECT_FALSE(DeleteFolder(alias));
    EXPECT_EQ(MoveFolder(alias, root + "/moved"), -1);
    EXPECT_FALSE(fs::exists(root + "/moved"));
    EXPECT_TRUE(fs::is_symlink(alias));
    EXPECT_EQ(snapshot(outside), before);
}

TEST_F(FolderLinkTest, LinksInTheDestinationAreNotWrittenThrough) {
    const std::string dst = root + "/dst";
    fs::create_directories(dst);
    fs::create_directory_symlink(outside, dst + "/sub");
    EXPECT_FALSE(CopyFolder(src, dst));
    EXPECT_EQ(snapshot(outside), before);
    fs::remove(dst + "/sub");
    fs::create_symlink(outside + "/keep.txt", dst + "/a.txt");
    EXPECT_FALSE(CopyFolder(src, dst));
    EXPECT_EQ(snapshot(outside), before);
}

TEST_F(FolderTest, ADestinationInsideTheSourceIsRefusedBeforeAnythingIsWritten) {
    fs::create_directory_symlink(src, root + "/alias");
    const auto srcBefore = snapshot(src);
    for (const std::string& dst : {src, src + "/", src + "/inner", src + "/sub/deeper/inner", src + "/../src/inner",
                                   root + "/alias/inner", src + "/sub/../inner"}) {
        SCOPED_TRACE(dst);
        EXPECT_FALSE(CopyFolder(src, dst));
        EXPECT_EQ(MoveFolder(src, dst), -1);
        EXPECT_EQ(snapshot(src), srcBefore);
    }
    // A sibling whose name merely starts like the source is outside it.
    EXPECT_TRUE(CopyFolder(src + "/sub", src + "/subcopy"));
    EXPECT_TRUE(fs::exists(src + "/subcopy/deeper/c.txt"));
}

TEST_F(FolderTest, AReadOnlyDestinationTakesNothingAndTheSourceStays) {
    const std::string parent = root + "/frozen";
    fs::create_directories(parent + "/existing");
    fs::permissions(parent, fs::perms::owner_read | fs::perms::owner_exec);
    fs::permissions(parent + "/existing", fs::perms::owner_read | fs::perms::owner_exec);
    fs::permissions(src + "/readonly", fs::perms::owner_all);
    fs::remove_all(src + "/.hidden");
    const auto srcBefore = snapshot(src), parentBefore = snapshot(parent);
    for (const std::string& dst : {parent, parent + "/new", parent + "/new/deeper", parent + "/existing"}) {
        SCOPED_TRACE(dst);
        EXPECT_FALSE(CopyFolder(src, dst));
        EXPECT_EQ(MoveFolder(src, dst), -1);
        EXPECT_EQ(snapshot(src), srcBefore);
        EXPECT_EQ(snapshot(parent), parentBefore);
    }
}

TEST(PingHost, ResolverAndLoopbackAnswers) {
    EXPECT_EQ(PingHost("no-such-host.invalid", 500), "Host not found.");
    const std::string loopback = PingHost("127.0.0.1", 1000);
    EXPECT_TRUE(loopback == "Success" || loopback == "Request Timed Out") << loopback;
}

} // namespace
