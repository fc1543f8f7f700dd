#pragma once

#include <string>

namespace physicians {

// The dictation routines (text blocks) of a user, a physician or an account live in a folder of
// their partition under the network root; when the owner changes partition the folder follows it,
// and ROUTINES.INI is stamped so the routine-distribution programs pick the change up.

std::string UserRoutinesFolder(long partition, const std::string& userName, const std::string& rootDir);
std::string PhysicianRoutinesFolder(long partition, long physicianId, const std::string& rootDir);
std::string AccountRoutinesFolder(long partition, long accountNumber, const std::string& rootDir);
std::string RoutinesIniPath(const std::string& rootDir);

// Each returns true when the caller may go on with the partition change.
bool MoveUserRoutines(long oldPartition, long newPartition, const std::string& userName, const std::string& rootDir);
bool MovePhysicianRoutines(long oldPartition, long newPartition, long physicianId, const std::string& rootDir);
bool MoveAccountRoutines(long oldPartition, long newPartition, long accountNumber, const std::string& rootDir);

// The move itself, with its question, wait window, stamps and messages; keyPart names the owner
// kind in the stamp ("Pers", "Phys", "Acct").
bool MoveRoutinesFolder(const std::string& source, const std::string& destination, long oldPartition, long newPartition,
                        const std::string& name, const std::string& noun, const std::string& keyPart,
                        const std::string& title, const std::string& rootDir, bool showWait);

// The recursive folder move the routines follow with: -1 the copy failed, 0 copied but the source
// could not be removed, 1 moved. foundation::MoveFolder unless replaced (tests stage the rare
// outcomes with it).
using FolderMover = int (*)(const std::string& source, const std::string& destination);
FolderMover& RoutinesFolderMover();

// [Updates] Partition<n><keyPart> = local "yyyy-mm-dd hh:mm:ss" in ROUTINES.INI.
void StampRoutinesUpdate(long partition, const std::string& rootDir, const std::string& keyPart);

} // namespace physicians
