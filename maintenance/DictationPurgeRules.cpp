#include "DictationPurgeRules.h"

#include "Numbers.h"
#include "Text.h"
#include "Utf8.h"

#include <limits>

namespace maintenance::DictationPurgeRules {

std::optional<long> ParseDays(const std::string& text) {
    const std::string trimmed = foundation::trimText(text);
    if (trimmed.size() > 9)
        return std::nullopt;
    auto n = platform::parseDigits(trimmed);
    if (!n || *n < 1 || *n > 9999)
        return std::nullopt;
    return static_cast<long>(*n);
}

bool ValidWorkTypes(const std::string& text) {
    size_t start = 0;
    while (true) {
        const size_t comma = text.find(',', start);
        const std::string entry = foundation::trimText(text.substr(start, comma - start));
        auto n = platform::parseDigits(entry);
        if (entry.size() > 10 || !n || *n > std::numeric_limits<int>::max())
            return false;
        if (comma == std::string::npos)
            return true;
        start = comma + 1;
    }
}

std::string Check(const std::string& days, bool sourceBased, const std::string& department,
                  const std::string& workTypes) {
    if (!ParseDays(days))
        return "Pleaser enter a number between 1 and 9999 for the Days to Keep Sound Files.";
    if (!sourceBased)
        return "";
    const std::string dept = foundation::trimText(department);
    const std::string types = foundation::trimText(workTypes);
    if (dept.find(',') != std::string::npos)
        return "Please enter only one department.";
    if (!types.empty() && (platform::utf8Length(types) > kWorkTypesLimit || !ValidWorkTypes(types)))
        return "The list of work types is not valid.  Please correct this setting.";
    if (dept.empty() && types.empty())
        return "Either the department field or the work types field must be set.";
    if (platform::utf8Length(dept) > kDepartmentLimit)
        return "The department cannot be longer than 50 characters.";
    return "";
}

} // namespace maintenance::DictationPurgeRules
