#pragma once

#include "AdminCommand.h"

#include <iosfwd>
#include <string>

namespace app {

// Logs in as the console does (start-up with the given user, the password from the file or the
// terminal) and runs the command on the same code as the screens: progress on err, the result on
// out. Returns the command's exit code.
int RunAdminCommand(const AdminCommand& command, const std::string& currentDir, const std::string& programDir,
                    std::ostream& out, std::ostream& err);

} // namespace app
