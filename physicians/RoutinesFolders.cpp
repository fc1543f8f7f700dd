#include "RoutinesFolders.h"

#include "Interaction.h"
#include "MessageService.h"
#include "PrivateProfile.h"
#include "Utilities.h"

#include <filesystem>

namespace physicians {

using platform::MsgAnswer;
using platform::MsgBox;
using platform::MsgButtons;
using platform::MsgIcon;

namespace {

std::string routinesRoot(const std::string& rootDir) {
    return rootDir + "/KALDRA/ROUTINES";
}

// The partition's own branch: the root partition's routines sit directly under ROUTINES.
std::string partitionBranch(long partition, const std::string& rootDir) {
    return partition == 0 ? routinesRoot(rootDir) : routinesRoot(rootDir) + "/PARTITION" + std::to_string(partition);
}

// Any file or subfolder counts: a folder that holds only subfolders of routines still has to move.
bool holdsEntries(const std::string& folder) {
    std::error_code ec;
    std::filesystem::directory_iterator it(folder, ec);
    return !ec && it != std::filesystem::directory_iterator();
}

} // namespace

FolderMover& RoutinesFolderMover() {
    static FolderMover mover = &foundation::MoveFolder;
    return mover;
}

std::string UserRoutinesFolder(long partition, const std::string& userName, const std::string& rootDir) {
    return partitionBranch(partition, rootDir) + "/PERSONAL/" + userName;
}

std::string PhysicianRoutinesFolder(long partition, long physicianId, const std::string& rootDir) {
    return partitionBranch(partition, rootDir) + "/PHYSICIANS/" + std::to_string(physicianId);
}

std::string AccountRoutinesFolder(long partition, long accountNumber, const std::string& rootDir) {
    return partitionBranch(partition, rootDir) + "/" + std::to_string(accountNumber);
}

std::string RoutinesIniPath(const std::string& rootDir) {
    return routinesRoot(rootDir) + "/ROUTINES.INI";
}

bool MoveUserRoutines(long oldPartition, long newPartition, const std::string& userName, const std::string& rootDir) {
    return MoveRoutinesFolder(UserRoutinesFolder(oldPartition, userName, rootDir),
                              UserRoutinesFolder(newPartition, userName, rootDir), oldPartition, newPartition, userName,
                              "user", "Pers", "User Management", rootDir, true);
}

bool MovePhysicianRoutines(long oldPartition, long newPartition, long physicianId, const std::string& rootDir) {
    return MoveRoutinesFolder(PhysicianRoutinesFolder(oldPartition, physicianId, rootDir),
                              PhysicianRoutinesFolder(newPartition, physicianId, rootDir), oldPartition, newPartition,
                              std::to_string(physicianId), "physician ID", "Phys", "Physician Profile", rootDir, true);
}

bool MoveAccountRoutines(long oldPartition, long newPartition, long accountNumber, const std::string& rootDir) {
    return MoveRoutinesFolder(AccountRoutinesFolder(oldPartition, accountNumber, rootDir),
                              AccountRoutinesFolder(newPartition, accountNumber, rootDir), oldPartition, newPartition,
                              std::to_string(accountNumber), "account #", "Acct", "Account Manager", rootDir, false);
}

bool MoveRoutinesFolder(const std::string& source, const std::string& destination, long oldPartition, long newPartition,
                        const std::string& name, const std::string& noun, const std::string& keyPart,
                        const std::string& title, const std::string& rootDir, bool showWait) {
    if (oldPartition == newPartition)
        return false;
    const std::string owner = "'routines' folder for " + noun + " " + name;
    const bool destinationExisted = foundation::FolderExists(destination);
    if (destinationExisted &&
        MsgBox("A " + owner + " already exists in the destination partition.\n\nMove the files over anyway?",
               MsgButtons::YesNoCancel, MsgIcon::Question, title) != MsgAnswer::Yes)
        return false;
    if (!foundation::FolderExists(source) || !holdsEntries(source))
        return true;

    auto& wait = platform::WaitWindow::instance();
    if (showWait)
        wait.open(title, "Routines are being transferred to the new partition. Please wait.");
    const int moved = RoutinesFolderMover()(source, destination);
    if (moved == -1) {
        // A half-made copy would only make the next attempt ask about an existing folder.
        if (!destinationExisted)
            foundation::DeleteFolder(destination);
        if (showWait)
            wait.close();
        MsgBox("The " + owner + " could not be moved to the new partition.\n\nSource --  " + source +
                   "\nDestination --  " + destination,
               MsgButtons::OK, MsgIcon::Critical, title);
        return false;
    }
    StampRoutinesUpdate(oldPartition, rootDir, keyPart);
    StampRoutinesUpdate(newPartition, rootDir, keyPart);
    if (showWait)
        wait.close();
    if (moved == 0)
        MsgBox("The " + owner +
                   " were successfully copied to the new partition, but could not be removed from the old "
                   "partition. Please manually remove this folder:\n\n" +
                   source,
               MsgButtons::OK, MsgIcon::Critical, title);
    return true;
}

void StampRoutinesUpdate(long partition, const std::string& rootDir, const std::string& keyPart) {
    const std::string file = RoutinesIniPath(rootDir);
    const std::string key = "Partition" + std::to_string(partition) + keyPart;
    if (!platform::PrivateProfile::write("Updates", key, platform::Clock::stamp(platform::Clock::now()), file))
        MsgBox("Error updating ROUTINES.INI file.\n\n" + file, MsgButtons::OK, MsgIcon::Critical, "Error");
}

} // namespace physicians
