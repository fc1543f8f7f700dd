#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>

namespace physicians {

// What the profile editor hands to the user editor when user access is given to a physician.
struct PhysicianUserRequest {
    long physicianId = 0;
    long userId = 0; // the linked user; 0 for a new physician user
    std::string firstName, lastName;
    long partitionId = 0;
};

// A user accepted in the user editor and not written yet: the profile editor saves it when the
// physician is saved, so that Cancel leaves no user behind. save() writes the user (and its groups),
// links the physician to it, and gives its id and name; nothing when it was not saved.
struct PendingPhysicianUser {
    std::function<std::optional<std::pair<long, std::string>>()> save;
};

// Opens the user editor on the request; nothing when it was cancelled.
using OpenPhysicianUser = std::function<std::optional<PendingPhysicianUser>(const PhysicianUserRequest&)>;

} // namespace physicians
