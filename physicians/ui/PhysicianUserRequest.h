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

// Opens the user editor on the request; the saved user's id and name, nothing when it was
// cancelled or not saved.
using OpenPhysicianUser = std::function<std::optional<std::pair<long, std::string>>(const PhysicianUserRequest&)>;

} // namespace physicians
