#pragma once

#include "clsPhysicianSummaryRecord.h"
#include "clsPhysicianSummaryRecords.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace physicians {

// ---- who may change physicians --------------------------------------------------------------
inline constexpr const char* kDeniedAlterPhysician =
    "ACCESS DENIED:  You do not have access to alter the physician profile.";
inline constexpr const char* kDeniedChangePartition =
    "ACCESS DENIED:  You do not have access to change partition assignment.";
inline constexpr const char* kDeniedDefaultPartition =
    "ACCESS DENIED:  You do not have access to set the default partition assignment.";
inline constexpr const char* kSecurityTitle = "Security";

enum class ListCommand {
    Add,
    Edit,
    Delete,
    Hide,
    RemoveFromAccount,
    ChangePartition,
    SetDefaultPartition,
    SetDefaultAccounts,
    SetExtendedProfile
};
// "" when the logged-in user holds privilege 9; otherwise the command's access-denied text.
std::string ListCommandRefusal(ListCommand command);

// ---- lists of the logged-in user's accounts and partitions (comma lists, no blanks, no repeats)
std::string HospAccountsVisibleToUser();
std::string ListOfPotentialChangePartitionIdsByAcct();
std::string ListOfPotentialDefaultPartitionIdsByAcct();

// What the physician screens do for a physician's linked user through the user store, which sits
// above this library: delete the user with its physician, and after a partition change remove the
// user's signature relationships and reset its privileges. Unset hooks do nothing.
struct LinkedUserActions {
    std::function<bool(long userId)> deleteUser;
    std::function<bool(long userId)> afterPartitionChange;
};
LinkedUserActions& LinkedUsers();

// The accounts the physician is a member of with their partitions (-1 for a member of all).
std::vector<std::pair<long, long>> PhysicianAccountPartitions(long physicianId);

// ---- linking a new physician user ------------------------------------------------------------
// Whether a physician of the list may be linked to a new user made by someone of ownPartition: it
// has no user yet and belongs to that partition or one under it, where the user is placed.
bool PhysicianMayGetUser(const clsPhysicianSummaryRecord& physician, long ownPartition);
// The physicians of every account visible to the logged-in user, each once, as the chooser of a new
// physician user lists them (visible profiles only); false after a failure the session showed.
bool RetrievePhysiciansOfVisibleAccounts(clsPhysicianSummaryRecords& list);

// ---- delete from every account -----------------------------------------------------------------
// "" or the refusal (without the closing question) for one physician of the selection.
std::string DeleteRefusal(const clsPhysicianSummaryRecord& r, const std::vector<long>& accounts);
std::string DeletePhysicianBatch(long physicianId);
// Deletes the physician (all or nothing), its linked user, and logs it.
bool DeletePhysician(const clsPhysicianSummaryRecord& r);

// ---- remove from one account ---------------------------------------------------------------------
inline constexpr const char* kMustRemainMember = "ACCESS DENIED: The physician must remain a member of at least one "
                                                 "account in their partition or sub partition.";
// "" or kMustRemainMember: some account would remain but none of them under the physician's partition.
std::string RemoveFromAccountRefusal(const clsPhysicianSummaryRecord& r, long account);
std::string RemoveFromAccountBatch(long physicianId, long account, const std::string& userName);
// Removes the physician from the account (all or nothing) and logs it; is_deleted of the record
// follows the profile (the last account marks it deleted).
bool RemovePhysicianFromAccount(clsPhysicianSummaryRecord& r, long account, const std::string& userName);

// ---- hide --------------------------------------------------------------------------------------
bool SetPhysicianHidden(clsPhysicianSummaryRecord& r, bool hidden, const std::string& userName);

// ---- change partition -----------------------------------------------------------------------------
// "" or the refusal (without the closing question) for moving one physician to newPartition.
std::string ChangePartitionRefusal(const clsPhysicianSummaryRecord& r, long newPartition,
                                   const std::vector<long>& accounts);
std::string ChangePartitionBatch(const clsPhysicianSummaryRecord& r, long newPartition, const std::string& userName);
// The warning lines for a selection with linked users, or "" when none has one.
std::string ChangePartitionWarning(const std::vector<const clsPhysicianSummaryRecord*>& selection);
enum class PartitionChange { Unchanged, Changed, Failed };
// Moves the physician: nothing when it is already there; otherwise the batch, the linked user's
// follow-up, the routines folder, and the log. The record takes the new partition only when the
// routines folder moved.
PartitionChange ChangePhysicianPartition(clsPhysicianSummaryRecord& r, long newPartition, const std::string& userName,
                                         const std::string& rootDir);

// ---- defaults for new physicians ---------------------------------------------------------------
struct PhysicianListDefaults {
    long DefaultPartitionId = 0;
    std::vector<long> defaultAccounts; // accounts new physicians become members of
    bool extendedProfile = false;      // new physicians start with the extended (per-account) profile
};
// Keeps only the chosen accounts visible to the user, stores them and logs the change; the refusal
// text when the user may not, "" otherwise.
std::string SetDefaultAccounts(PhysicianListDefaults& defaults, const std::vector<long>& chosen);
std::string SetExtendedProfile(PhysicianListDefaults& defaults, bool extended);
// The partition must be one of ListOfPotentialDefaultPartitionIdsByAcct.
std::string SetDefaultPartition(PhysicianListDefaults& defaults, long partition);

} // namespace physicians
