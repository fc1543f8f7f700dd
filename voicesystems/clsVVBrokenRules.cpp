#include "clsVVBrokenRules.h"

#include <algorithm>

namespace voicesystems {

void clsVVBrokenRules::RuleBroken(const std::string& rule, bool broken) {
    const auto it = std::find(m_rules.begin(), m_rules.end(), rule);
    const int before = Count();
    if (broken && it == m_rules.end())
        m_rules.push_back(rule);
    else if (!broken && it != m_rules.end())
        m_rules.erase(it);
    if (before == 0 && Count() > 0 && BrokenRule)
        BrokenRule();
    else if (before > 0 && Count() == 0 && NoBrokenRules)
        NoBrokenRules();
}

bool clsVVBrokenRules::IsBroken(const std::string& rule) const {
    return std::find(m_rules.begin(), m_rules.end(), rule) != m_rules.end();
}

void clsVVBrokenRules::Clear() {
    const bool had = !m_rules.empty();
    m_rules.clear();
    if (had && NoBrokenRules)
        NoBrokenRules();
}

std::string VVErrString(const std::vector<std::string>& messages) {
    std::string text = "Information could not be saved for the following reasons:\n\n";
    for (const auto& m : messages)
        text += "-->\t" + m + "\n";
    return text + "\nIf you continue to have problems please contact your system administrator for assistance.";
}

} // namespace voicesystems
