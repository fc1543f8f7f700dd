#include "SiteKey.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

using suite::SiteKey;
namespace fs = std::filesystem;

namespace {

class SiteKeyTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/kdsitekey-XXXXXX";
        root = mkdtemp(pattern);
        path = SiteKey::PathUnder(root);
    }
    void TearDown() override { fs::remove_all(root); }
    void writeKey(const std::string& content, fs::perms mode) {
        fs::create_directories(fs::path(path).parent_path());
        std::ofstream(path, std::ios::binary) << content;
        fs::permissions(path, mode, fs::perm_options::replace);
    }
    static fs::perms modeOf(const std::string& p) { return fs::status(p).permissions(); }
    std::string root, path;
};

TEST_F(SiteKeyTest, LivesUnderTheNetworkRootsSystemFolder) {
    EXPECT_EQ(path, root + "/KALDRA/SYSTEM/KDPASSWD.KEY");
}

TEST_F(SiteKeyTest, CreatedWith32RandomBytesForItsOwnerOnly) {
    const mode_t before = ::umask(0); // even with nothing masked the file is owner-only
    const auto created = SiteKey::Create(path);
    ::umask(before);
    ASSERT_TRUE(created.ok()) << created.message;
    EXPECT_EQ(fs::file_size(path), 32u);
    EXPECT_EQ(modeOf(path), fs::perms::owner_read | fs::perms::owner_write);
    const auto loaded = SiteKey::Load(path);
    ASSERT_TRUE(loaded.ok()) << loaded.message;
    EXPECT_EQ(loaded.key, created.key);
    // A second site gets another key.
    const std::string other = SiteKey::PathUnder(root + "/other");
    const auto second = SiteKey::Create(other);
    ASSERT_TRUE(second.ok());
    EXPECT_NE(second.key, created.key);
}

TEST_F(SiteKeyTest, AnExistingKeyFileIsNeverReplaced) {
    ASSERT_TRUE(SiteKey::Create(path).ok());
    const auto first = SiteKey::Load(path);
    const auto again = SiteKey::Create(path);
    EXPECT_EQ(again.status, SiteKey::Status::Refused);
    EXPECT_EQ(again.message, "The password key file " + path + " cannot be created: File exists.");
    EXPECT_EQ(SiteKey::Load(path).key, first.key);
    const auto reused = SiteKey::LoadOrCreate(path);
    ASSERT_TRUE(reused.ok());
    EXPECT_EQ(reused.key, first.key);
}

TEST_F(SiteKeyTest, MissingFileIsReportedWithItsName) {
    const auto r = SiteKey::Load(path);
    EXPECT_EQ(r.status, SiteKey::Status::Missing);
    EXPECT_EQ(r.message, "The password key file " + path + " does not exist.");
}

TEST_F(SiteKeyTest, BadKeyFilesAreRefusedWithAClearMessage) {
    using P = fs::perms;
    const P owner = P::owner_read | P::owner_write;
    struct Case {
        const char* name;
        std::string content;
        P mode;
        std::string why;
    };
    const std::string holds = " A key file holds exactly 32 bytes.";
    const std::string writable = "can be changed by users other than its owner. Make it writable by its owner only "
                                 "(chmod 600) and start the program again.";
    const Case cases[] = {
        {"empty", "", owner, "is empty." + holds},
        {"one byte", "k", owner, "is too short (1 bytes)." + holds},
        {"31 bytes", std::string(31, 'k'), owner, "is too short (31 bytes)." + holds},
        {"33 bytes", std::string(33, 'k'), owner, "is too long." + holds},
        {"world-writable", std::string(32, 'k'), owner | P::others_write, writable},
        {"group-writable", std::string(32, 'k'), owner | P::group_write | P::group_read, writable},
        {"writable by all", std::string(32, 'k'), P::all, writable},
    };
    for (const auto& c : cases) {
        writeKey(c.content, c.mode);
        const auto r = SiteKey::Load(path);
        EXPECT_EQ(r.status, SiteKey::Status::Refused) << c.name;
        EXPECT_EQ(r.message, "The password key file " + path + " " + c.why) << c.name;
        fs::remove(path);
    }
    // Readable by others is allowed: only writing by others is refused.
    writeKey(std::string(32, 'k'), owner | P::group_read | P::others_read);
    EXPECT_TRUE(SiteKey::Load(path).ok());
}

TEST_F(SiteKeyTest, UnreadablePlacesAreRefused) {
    fs::create_directories(path); // a folder where the file should be
    auto r = SiteKey::Load(path);
    EXPECT_EQ(r.status, SiteKey::Status::Refused);
    EXPECT_EQ(r.message, "The password key file " + path + " is not a file.");
    fs::remove_all(fs::path(root) / "KALDRA");
    fs::create_directories(fs::path(root) / "KALDRA");
    std::ofstream(fs::path(root) / "KALDRA" / "SYSTEM") << "a file, not a folder";
    r = SiteKey::Load(path);
    EXPECT_EQ(r.status, SiteKey::Status::Refused);
    EXPECT_EQ(r.message, "The password key file " + path + " cannot be read: Not a directory.");
    const auto created = SiteKey::Create(path);
    EXPECT_EQ(created.status, SiteKey::Status::Refused);
    EXPECT_EQ(created.message, "The password key file " + path + " cannot be created: Not a directory.");
}

} // namespace
