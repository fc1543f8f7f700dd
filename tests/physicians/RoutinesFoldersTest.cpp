#include "RoutinesFolders.h"
#include "FolderSnapshot.h"
#include "Interaction.h"
#include "MessageService.h"
#include "PrivateProfile.h"
#include "RecordingWait.h"
#include "Utilities.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace physicians;
using platform::MessageRecorder;
using platform::MsgAnswer;
using platform::MsgButtons;
using platform::MsgIcon;
namespace fs = std::filesystem;

namespace {

using kdtest::RecordingWait;

// Copies but cannot remove the source, as when a file of the old folder is still open elsewhere.
int copyWithoutRemoving(const std::string& source, const std::string& destination) {
    return foundation::CopyFolder(source, destination) ? 0 : -1;
}

void writeFile(const fs::path& p, const std::string& text) {
    fs::create_directories(p.parent_path());
    std::ofstream(p) << text;
}

class RoutinesMove : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/kdroutines-XXXXXX";
        root = mkdtemp(pattern);
        fs::create_directories(root + "/KALDRA/ROUTINES");
        platform::Clock::pin(1'700'000'000); // 2023-11-14 22:13:20 UTC
        stamp = platform::Clock::stamp(1'700'000'000);
    }
    void TearDown() override {
        platform::Clock::pin(std::nullopt);
        RoutinesFolderMover() = &foundation::MoveFolder;
        fs::remove_all(root);
    }
    [[nodiscard]] std::string ini(const std::string& key) const {
        return platform::PrivateProfile::read("Updates", key, "<none>", RoutinesIniPath(root));
    }
    [[nodiscard]] std::string routines(const std::string& rest) const { return root + "/KALDRA/ROUTINES/" + rest; }

    std::string root, stamp;
    MessageRecorder recorder;
    RecordingWait wait;
};

TEST_F(RoutinesMove, FolderLayoutPerOwnerAndPartition) {
    EXPECT_EQ(UserRoutinesFolder(0, "JDOE", "/r"), "/r/KALDRA/ROUTINES/PERSONAL/JDOE");
    EXPECT_EQ(UserRoutinesFolder(3, "JDOE", "/r"), "/r/KALDRA/ROUTINES/PARTITION3/PERSONAL/JDOE");
    EXPECT_EQ(PhysicianRoutinesFolder(0, 1042, "/r"), "/r/KALDRA/ROUTINES/PHYSICIANS/1042");
    EXPECT_EQ(PhysicianRoutinesFolder(12, 1042, "/r"), "/r/KALDRA/ROUTINES/PARTITION12/PHYSICIANS/1042");
    EXPECT_EQ(AccountRoutinesFolder(0, 7, "/r"), "/r/KALDRA/ROUTINES/7");
    EXPECT_EQ(AccountRoutinesFolder(5, 7, "/r"), "/r/KALDRA/ROUTINES/PARTITION5/7");
    EXPECT_EQ(RoutinesIniPath("/r"), "/r/KALDRA/ROUTINES/ROUTINES.INI");
}

TEST_F(RoutinesMove, NothingToMoveCases) {
    // The same partition: no move, no message, and the caller treats it as "no move".
    writeFile(routines("PERSONAL/JDOE/normal.txt"), "x");
    EXPECT_FALSE(MoveUserRoutines(0, 0, "JDOE", root));
    // A physician without a folder, and one with an empty folder, go on silently.
    EXPECT_TRUE(MovePhysicianRoutines(0, 3, 1042, root));
    fs::create_directories(routines("PARTITION3/PHYSICIANS/77"));
    EXPECT_TRUE(MovePhysicianRoutines(3, 0, 77, root));
    EXPECT_TRUE(fs::exists(routines("PARTITION3/PHYSICIANS/77")));
    EXPECT_TRUE(recorder.shown.empty());
    EXPECT_TRUE(wait.events.empty());
    EXPECT_FALSE(fs::exists(RoutinesIniPath(root))); // no stamp
    EXPECT_TRUE(fs::exists(routines("PERSONAL/JDOE/normal.txt")));
}

TEST_F(RoutinesMove, UserFolderMovesWithItsSubfoldersAndBothPartitionsAreStamped) {
    writeFile(routines("PERSONAL/JDOE/normal.txt"), "Normal exam.");
    writeFile(routines("PERSONAL/JDOE/cardio/echo.txt"), "Echo.");
    writeFile(RoutinesIniPath(root), "[Update]\nLastUpdate=\n");
    ASSERT_TRUE(MoveUserRoutines(0, 3, "JDOE", root));
    EXPECT_FALSE(fs::exists(routines("PERSONAL/JDOE")));
    EXPECT_TRUE(fs::exists(routines("PARTITION3/PERSONAL/JDOE/cardio/echo.txt")));
    EXPECT_EQ(ini("Partition0Pers"), stamp);
    EXPECT_EQ(ini("Partition3Pers"), stamp);
    EXPECT_EQ(platform::PrivateProfile::read("Update", "LastUpdate", "<none>", RoutinesIniPath(root)), "");
    EXPECT_EQ(wait.events,
              (std::vector<std::string>{
                  "open User Management: Routines are being transferred to the new partition. Please wait.", "close"}));
    EXPECT_TRUE(recorder.shown.empty());
}

TEST_F(RoutinesMove, AccountMovesWithoutTheWaitWindow) {
    writeFile(routines("PARTITION5/7/a.txt"), "a");
    ASSERT_TRUE(MoveAccountRoutines(5, 6, 7, root));
    EXPECT_TRUE(fs::exists(routines("PARTITION6/7/a.txt")));
    EXPECT_EQ(ini("Partition5Acct"), stamp);
    EXPECT_EQ(ini("Partition6Acct"), stamp);
    EXPECT_TRUE(wait.events.empty());
}

TEST_F(RoutinesMove, ExistingDestinationAsksAndOnlyYesMoves) {
    writeFile(routines("PHYSICIANS/1042/old.txt"), "old");
    writeFile(routines("PARTITION3/PHYSICIANS/1042/kept.txt"), "kept");
    for (MsgAnswer answer : {MsgAnswer::No, MsgAnswer::Cancel}) {
        recorder.shown.clear();
        recorder.answer(answer);
        EXPECT_FALSE(MovePhysicianRoutines(0, 3, 1042, root));
        ASSERT_EQ(recorder.shown.size(), 1u);
        EXPECT_EQ(recorder.shown[0].text, "A 'routines' folder for physician ID 1042 already exists in the destination "
                                          "partition.\n\nMove the files over anyway?");
        EXPECT_EQ(recorder.shown[0].title, "Physician Profile");
        EXPECT_EQ(recorder.shown[0].icon, MsgIcon::Question);
        EXPECT_EQ(recorder.shown[0].buttons, MsgButtons::YesNoCancel);
        EXPECT_TRUE(fs::exists(routines("PHYSICIANS/1042/old.txt")));
        EXPECT_FALSE(fs::exists(routines("PARTITION3/PHYSICIANS/1042/old.txt")));
    }
    EXPECT_FALSE(fs::exists(RoutinesIniPath(root)));
    recorder.answer(MsgAnswer::Yes);
    EXPECT_TRUE(MovePhysicianRoutines(0, 3, 1042, root));
    EXPECT_TRUE(fs::exists(routines("PARTITION3/PHYSICIANS/1042/old.txt")));
    EXPECT_TRUE(fs::exists(routines("PARTITION3/PHYSICIANS/1042/kept.txt")));
    EXPECT_EQ(ini("Partition3Phys"), stamp);
}

TEST_F(RoutinesMove, FailedCopyKeepsTheSourceAndNamesBothPaths) {
    writeFile(routines("PERSONAL/JDOE/normal.txt"), "x");
    writeFile(routines("PARTITION3"), "a file where the partition's folder belongs");
    EXPECT_FALSE(MoveUserRoutines(0, 3, "JDOE", root));
    EXPECT_TRUE(fs::exists(routines("PERSONAL/JDOE/normal.txt")));
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, "The 'routines' folder for user JDOE could not be moved to the new partition."
                                      "\n\nSource --  " +
                                          routines("PERSONAL/JDOE") + "\nDestination --  " +
                                          routines("PARTITION3/PERSONAL/JDOE"));
    EXPECT_EQ(recorder.shown[0].icon, MsgIcon::Critical);
    EXPECT_EQ(recorder.shown[0].title, "User Management");
    EXPECT_FALSE(fs::exists(RoutinesIniPath(root)));
    ASSERT_EQ(wait.events.size(), 2u);
    EXPECT_EQ(wait.events[1], "close"); // closed before the message
}

TEST_F(RoutinesMove, HalfMadeCopyIsRemovedWhenTheDestinationWasNew) {
    RoutinesFolderMover() = [](const std::string&, const std::string& destination) {
        fs::create_directories(destination + "/partial");
        return -1;
    };
    writeFile(routines("PARTITION5/7/a.txt"), "a");
    EXPECT_FALSE(MoveAccountRoutines(5, 0, 7, root));
    EXPECT_FALSE(fs::exists(routines("7")));
    EXPECT_TRUE(fs::exists(routines("PARTITION5/7/a.txt")));
}

TEST_F(RoutinesMove, CopiedButNotRemovedAsksForManualRemovalAndStampsBoth) {
    RoutinesFolderMover() = &copyWithoutRemoving;
    writeFile(routines("PARTITION2/PHYSICIANS/1042/old.txt"), "old");
    EXPECT_TRUE(MovePhysicianRoutines(2, 0, 1042, root));
    EXPECT_TRUE(fs::exists(routines("PHYSICIANS/1042/old.txt")));
    EXPECT_EQ(ini("Partition2Phys"), stamp);
    EXPECT_EQ(ini("Partition0Phys"), stamp);
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text,
              "The 'routines' folder for physician ID 1042 were successfully copied to the new partition, but could "
              "not be removed from the old partition. Please manually remove this folder:\n\n" +
                  routines("PARTITION2/PHYSICIANS/1042"));
    EXPECT_EQ(recorder.shown[0].icon, MsgIcon::Critical);
    EXPECT_EQ(recorder.shown[0].title, "Physician Profile");
    EXPECT_EQ(wait.events.back(), "close");
}

TEST_F(RoutinesMove, ALinkInsideStaysWithTheWholeOldFolderAndNothingBehindItChanges) {
    writeFile(root + "/elsewhere/shared/common.txt", "shared text");
    writeFile(routines("PERSONAL/JDOE/normal.txt"), "Normal exam.");
    writeFile(routines("PERSONAL/JDOE/cardio/echo.txt"), "Echo.");
    fs::create_directory_symlink(root + "/elsewhere/shared", routines("PERSONAL/JDOE/cardio/shared"));
    const auto before = kdtest::snapshotExcept(root, {"KALDRA/ROUTINES/ROUTINES.INI"});
    EXPECT_TRUE(MoveUserRoutines(0, 3, "JDOE", root));
    // The plain files were copied; the old folder, link included, is left for the administrator.
    EXPECT_EQ(kdtest::snapshot(routines("PARTITION3/PERSONAL/JDOE")),
              (std::map<std::string, std::string>{
                  {"cardio", "folder"}, {"cardio/echo.txt", "Echo."}, {"normal.txt", "Normal exam."}}));
    EXPECT_EQ(kdtest::snapshotExcept(root, {"KALDRA/ROUTINES/ROUTINES.INI", "KALDRA/ROUTINES/PARTITION3"}), before);
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text,
              "The 'routines' folder for user JDOE were successfully copied to the new partition, but could not be "
              "removed from the old partition. Please manually remove this folder:\n\n" +
                  routines("PERSONAL/JDOE"));
    EXPECT_EQ(ini("Partition0Pers"), stamp);
    EXPECT_EQ(ini("Partition3Pers"), stamp);
}

TEST_F(RoutinesMove, AReadOnlyDestinationTakesNothingAndTheOldFolderStays) {
    writeFile(routines("PERSONAL/JDOE/normal.txt"), "Normal exam.");
    writeFile(routines("PARTITION3/PERSONAL/OTHER/kept.txt"), "kept");
    fs::permissions(routines("PARTITION3/PERSONAL"), fs::perms::owner_read | fs::perms::owner_exec);
    const auto before = kdtest::snapshot(root);
    EXPECT_FALSE(MoveUserRoutines(0, 3, "JDOE", root));
    EXPECT_EQ(kdtest::snapshot(root), before); // no copy, no stamp
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, "The 'routines' folder for user JDOE could not be moved to the new partition."
                                      "\n\nSource --  " +
                                          routines("PERSONAL/JDOE") + "\nDestination --  " +
                                          routines("PARTITION3/PERSONAL/JDOE"));
    fs::permissions(routines("PARTITION3/PERSONAL"), fs::perms::owner_all);
}

TEST_F(RoutinesMove, UnwritableStampFileIsReportedAndTheMoveStillCounts) {
    writeFile(routines("PERSONAL/JDOE/normal.txt"), "x");
    fs::create_directories(RoutinesIniPath(root)); // a folder where the file should be
    EXPECT_TRUE(MoveUserRoutines(0, 4, "JDOE", root));
    EXPECT_TRUE(fs::exists(routines("PARTITION4/PERSONAL/JDOE/normal.txt")));
    ASSERT_EQ(recorder.shown.size(), 2u); // once for the old partition, once for the new
    for (const auto& shown : recorder.shown) {
        EXPECT_EQ(shown.text, "Error updating ROUTINES.INI file.\n\n" + RoutinesIniPath(root));
        EXPECT_EQ(shown.title, "Error");
        EXPECT_EQ(shown.icon, MsgIcon::Critical);
    }
}

} // namespace
