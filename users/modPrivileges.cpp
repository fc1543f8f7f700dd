#include "modPrivileges.h"

#include "LoginComponent.h"
#include "PrivilegeTable.h"
#include "modPartition.h"

namespace users {

namespace {

const suite::LoginComponent* login() {
    return physicians::Partitions().login;
}

bool granted(int position) {
    const auto* l = login();
    return l && l->user.privilege(position);
}

} // namespace

bool IsAnyAdministrator() {
    const auto* l = login();
    return l && (l->user.is_administrator || l->user.is_paxlet_admin || l->user.is_trans_admin);
}

bool IsSystemAdministrator() {
    const auto* l = login();
    return l && l->user.is_administrator;
}

bool IsSystemAdministratorAnd(bool flag) {
    return flag && IsSystemAdministrator();
}

bool IsTransAdministratorAnd(bool flag) {
    const auto* l = login();
    return flag && l && l->user.is_trans_admin;
}

bool MayOpenPhysicianProfiles() {
    return granted(priv::PhysicianProfiles);
}

bool MayManagePhysicians() {
    return granted(priv::ManagePhysicians);
}

bool AccountAllowsMembership(long hospAcctId) {
    const auto* l = login();
    if (!l)
        return false;
    const int index = l->GetAcctIndex(hospAcctId);
    return index > 0 && l->HospAccountAt(index).privilege(priv::AccountMembership);
}

std::string PhysicianCommandRefusal(const std::string& menuName) {
    constexpr const char* kDenied = "ACCESS DENIED:  You do not have access to ";
    if (menuName == "mnuEditDefault")
        return granted(priv::EditDefaultPhysician) ? "" : std::string(kDenied) + "edit the default physician.";
    if (menuName == "mnuChangePartition")
        return MayManagePhysicians() ? "" : std::string(kDenied) + "change partition assignment.";
    if (menuName == "mnuSetDefaultPartition")
        return MayManagePhysicians() ? "" : std::string(kDenied) + "set the default partition assignment.";
    if (menuName == "mnuSetDefaultAccounts" || menuName == "mnuUnknownPhysicians")
        return MayManagePhysicians() ? "" : std::string(kDenied) + "alter the physician profile.";
    return {};
}

} // namespace users
