#pragma once

#include <string>

namespace users {

// The console's small privilege tests over the logged-in user (the login component's user and its
// account cache). Without a logged-in user every test is false.
bool IsAnyAdministrator();
bool IsSystemAdministrator();
bool IsSystemAdministratorAnd(bool flag);
bool IsTransAdministratorAnd(bool flag);
bool MayOpenPhysicianProfiles();               // system privilege 8
bool MayManagePhysicians();                    // system privilege 9
bool AccountAllowsMembership(long hospAcctId); // account privilege 10 of the account

// The refusal a physician menu command meets without its privilege ("ACCESS DENIED:  …", shown
// under "Security"); empty when the logged-in user may run it or the command is not one of them.
std::string PhysicianCommandRefusal(const std::string& menuName);

} // namespace users
