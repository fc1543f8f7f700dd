#pragma once

namespace foundation {
struct Configuration;
class DatabaseSession;
} // namespace foundation

namespace app {

// A site set up before site keys has no password key file: the console says so at start-up, names
// the file, and offers to create it and write every stored password again under it. Declined (or
// failed), the console goes on reading the old values and saves no password until the file exists.
// Returns true when the site has its key file afterwards.
bool OfferSiteKey(foundation::Configuration& config, foundation::DatabaseSession& session);

} // namespace app
