#include "modPartition.h"

#include "LoginComponent.h"
#include "Text.h"
#include "clsPartition.h"

namespace physicians {

namespace {

const suite::LoginUser* user() {
    const auto* login = Partitions().login;
    return login ? &login->user : nullptr;
}

// The cached account with this number; nullptr when the login holds no such account.
const suite::HospAccount* account(long acct) {
    const auto* login = Partitions().login;
    if (!login)
        return nullptr;
    const int index = login->GetAcctIndex(acct);
    if (index < 1 || index > login->NumberHospAccounts())
        return nullptr;
    return &login->HospAccountAt(index);
}

bool accountPrivilege(long acct, int n) {
    const auto* a = account(acct);
    return a && a->privilege(n);
}

bool userPrivilege(int n) {
    const auto* u = user();
    return u && u->privilege(n);
}

bool accountLive(const suite::HospAccount& a) {
    return !a.is_deleted && a.hosp_acct_id >= 0;
}

} // namespace

PartitionState& Partitions() {
    static PartitionState state;
    return state;
}

std::string GetPartitionName(long id) {
    const clsPartition* p = PartitionCache().find(id);
    return p ? p->Partition_Name() : std::string();
}

std::string QualifyWithPartition(const std::string& name, long id) {
    return GetPartitionName(id) + " \\ " + name;
}

std::string PartitionFolderName(const std::string& name, long id) {
    const std::string partition = GetPartitionName(id);
    return partition.empty() ? name : partition + "\\" + name;
}

bool IsInList(const std::string& list, const std::string& item) {
    const std::string l = foundation::upperText(foundation::trimText(list));
    const std::string i = foundation::upperText(foundation::trimText(item));
    if (l.empty() && i.empty())
        return true;
    return ("," + l + ",").find("," + i + ",") != std::string::npos;
}

bool IsRootPartitionUser() {
    const auto* u = user();
    return u && u->Partition_ID == 0;
}

bool IsGlobalAdministrator() {
    const auto* u = user();
    return u && u->is_administrator && IsRootPartitionUser();
}

bool IsGlobalTransAdministrator() {
    const auto* u = user();
    return u && u->is_trans_admin && IsRootPartitionUser();
}

bool IsAnyAdministrator() {
    const auto* u = user();
    return u && u->isAnyAdministrator();
}

bool IsGlobalAnyAdministrator() {
    return IsRootPartitionUser() && IsAnyAdministrator();
}

bool PartitionIsUnder(long partitionId, long id) {
    const clsPartition* p = PartitionCache().find(partitionId);
    return p && p->Is_Under(id);
}

bool PartitionIsSharingWith(long partitionId, long id) {
    const clsPartition* p = PartitionCache().find(partitionId);
    return p && p->Is_Sharing_With(id);
}

bool PartitionSharesUsers(long partitionId) {
    const clsPartition* p = PartitionCache().find(partitionId);
    return p && p->Get_Sharing_Option(clsPartition::kShareUsers);
}

bool PartitionSharesUsers(long partitionId, bool realPartitionOnly) {
    return (!realPartitionOnly || partitionId >= 1) && PartitionSharesUsers(partitionId);
}

bool AccountUnderUserPartition(long acct) {
    const auto* a = account(acct);
    const auto* u = user();
    return a && u && PartitionIsUnder(a->Partition_ID, u->Partition_ID);
}

bool UserAdministersAccountPartition(long acct) {
    const auto* a = account(acct);
    const auto* u = user();
    return a && u && u->is_administrator && (u->Partition_ID == 0 || u->Partition_ID == a->Partition_ID);
}

bool AccountVisibleToUser(long acct) {
    const auto* a = account(acct);
    return a && accountLive(*a) && (UserAdministersAccountPartition(acct) || AccountUnderUserPartition(acct));
}

bool AccountUnderPartition(long acct, long id) {
    const auto* a = account(acct);
    return a && accountLive(*a) && PartitionIsUnder(a->Partition_ID, id);
}

bool PhysicianUnderUserPartition() {
    const auto& physician = Partitions().physicianPartition;
    const auto* u = user();
    return physician && u && PartitionIsUnder(*physician, u->Partition_ID);
}

bool CanEditPhysicianForAccount(long acct) {
    return userPrivilege(kPrivAlterPhysicianProfiles) && AccountUnderUserPartition(acct);
}

bool CanEditAccountPhysician(long acct) {
    return userPrivilege(kPrivAlterPhysicianProfiles) &&
           (CanEditPhysicianForAccount(acct) ||
            (accountPrivilege(acct, kAcctPrivPhysicians) && PhysicianUnderUserPartition()));
}

bool CanEditCurrentPhysician(long acct) {
    return userPrivilege(kPrivAlterPhysicianProfiles) &&
           (CanEditPhysicianForAccount(acct) || PhysicianUnderUserPartition());
}

bool AccountSharedForPhysicianSearch(long acct) {
    if (CanEditPhysicianForAccount(acct) || accountPrivilege(acct, kAcctPrivPhysicians))
        return true;
    const auto* a = account(acct);
    const auto* u = user();
    const clsPartition* p = a ? PartitionCache().find(a->Partition_ID) : nullptr;
    return p && u && p->Is_Sharing_With(u->Partition_ID) &&
           p->Get_Sharing_Option(clsPartition::kShareAccountsForPhysicians);
}

} // namespace physicians
