#pragma once

#include <optional>
#include <string>

namespace suite {
class LoginComponent;
}

namespace physicians {

// What the partition predicates read of the program's state: the login component (the logged-in
// user and its account cache) and the partition of the physician record the physician screens
// hold. Start-up sets the login after the log-in; the physician screens set and clear the record's
// partition as they load and drop a record.
struct PartitionState {
    const suite::LoginComponent* login = nullptr;
    std::optional<long> physicianPartition;
};
PartitionState& Partitions();

// ---- names -------------------------------------------------------------------------------
// The cached partition's name; empty for an id that is not cached (a deleted partition).
std::string GetPartitionName(long id);
// "partition \ name": account names in the account lists of the profile and privilege editors.
std::string QualifyWithPartition(const std::string& name, long id);
// "partition\name" for tree keys and labels; name alone when the partition has no name.
std::string PartitionFolderName(const std::string& name, long id);

// Trims both, ignores case: true when item is one of the comma list's entries (or both are empty).
// Only the ends are trimmed, so lists must be built without blanks after the commas.
bool IsInList(const std::string& list, const std::string& item);

// ---- the logged-in user ------------------------------------------------------------------
bool IsRootPartitionUser();
bool IsGlobalAdministrator();
bool IsGlobalTransAdministrator();
bool IsAnyAdministrator();
bool IsGlobalAnyAdministrator();

// ---- partitions by id (false for ids that are not cached) --------------------------------
bool PartitionIsUnder(long partitionId, long id);
bool PartitionIsSharingWith(long partitionId, long id);
bool PartitionSharesUsers(long partitionId);
bool PartitionSharesUsers(long partitionId, bool realPartitionOnly); // also requires an id of 1 or more

// ---- hospital accounts, by account number (false for accounts that are not cached) -------
bool AccountUnderUserPartition(long acct);
bool UserAdministersAccountPartition(long acct);
bool AccountVisibleToUser(long acct);
bool AccountUnderPartition(long acct, long id);
bool PhysicianUnderUserPartition();

// ---- physician permissions ---------------------------------------------------------------
constexpr int kPrivAlterPhysicianProfiles = 9; // system privilege
constexpr int kAcctPrivPhysicians = 10;        // the user's per-account physician privilege

bool CanEditPhysicianForAccount(long acct);
bool CanEditAccountPhysician(long acct);
bool CanEditCurrentPhysician(long acct);
bool AccountSharedForPhysicianSearch(long acct);

} // namespace physicians
