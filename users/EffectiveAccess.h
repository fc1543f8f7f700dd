#pragma once

#include "clsPrivileges.h"

#include <string>
#include <vector>

namespace users {

// One right a user holds, with where it comes from.
struct EffectiveGrant {
    std::string level;   // "System", "Account" or "Report Type"
    std::string scope;   // the account, or the account and report type; empty for system rights
    int position = 0;    // in the level's privilege string
    std::string caption; // the checkbox caption, or "Privilege n" for a position no checkbox edits
    std::string sources; // "Own" and/or "Group " name, joined by ", "
};

// Every right the edited user holds as the other applications see it: the user's own strings
// combined with those of its groups by the login component's rule, each with its sources. Uses
// the in-memory own privileges, so unsaved changes show. For a group: every right the group gives
// each of its members, its source being the group.
std::vector<EffectiveGrant> EffectiveAccess(const clsPrivileges& privileges);

} // namespace users
