#pragma once

#include <functional>
#include <string>
#include <vector>

namespace voicesystems {

// The broken validation rules of one record, by rule name. The owner hears when the first rule
// breaks (BrokenRule) and when the last one is repaired (NoBrokenRules).
class clsVVBrokenRules {
public:
    // Marks the rule broken (true) or repaired (false).
    void RuleBroken(const std::string& rule, bool broken);
    [[nodiscard]] int Count() const { return static_cast<int>(m_rules.size()); }
    [[nodiscard]] const std::vector<std::string>& BrokenRules() const { return m_rules; }
    [[nodiscard]] bool IsBroken(const std::string& rule) const;
    void Clear();

    std::function<void()> BrokenRule;
    std::function<void()> NoBrokenRules;

private:
    std::vector<std::string> m_rules;
};

// "Information could not be saved for the following reasons:", the rule lines and the closing advice.
std::string VVErrString(const std::vector<std::string>& messages);

} // namespace voicesystems
