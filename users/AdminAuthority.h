#pragma once

#include "clsUser.h"

#include <string>

namespace users {

// The administrator kinds of the acting (logged-in) user.
struct AdminKinds {
    bool system = false;
    bool physician = false; // "Paxlet"
    bool transcription = false;
};

// The refusal text when an administrator of kinds may not act on target; empty when it may.
std::string AdminAuthorityRefusal(const AdminKinds& kinds, const clsUser& target);

// Whether the logged-in user (the login component's is_administrator, is_trans_admin and
// is_paxlet_admin) may delete or edit target; a refusal is shown under "User Management".
bool AdminAuthorityCheck(const clsUser& target);

} // namespace users
