#pragma once

#include <string>

namespace physicians {

// "Last modified on " + the date in the long date form + " " + the time in the site's minutes form
// (the region's time format without seconds) + " by " + user + "."; empty when the stamp
// ('YYYY-MM-DD HH:MM:SS', as the profile load converts it) cannot be read.
std::string LastModifiedText(const std::string& stamp, const std::string& user);

} // namespace physicians
