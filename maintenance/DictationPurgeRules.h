#pragma once

#include <optional>
#include <string>

namespace maintenance {

// The dictation purging editor's checks, without the window.
namespace DictationPurgeRules {

constexpr size_t kDepartmentLimit = 50; // characters, as the column holds
constexpr size_t kWorkTypesLimit = 255; // characters

// Days to keep sound files: ASCII digits (blanks around allowed), 1 to 9999.
std::optional<long> ParseDays(const std::string& text);
// A comma-separated list of work-type numbers, blanks around each allowed, each a 32-bit number.
bool ValidWorkTypes(const std::string& text);
// The first failing check's message, in the editor's order; "" when the criterion may be taken.
// sourceBased: the department and work-type option is selected.
std::string Check(const std::string& days, bool sourceBased, const std::string& department,
                  const std::string& workTypes);

} // namespace DictationPurgeRules
} // namespace maintenance
