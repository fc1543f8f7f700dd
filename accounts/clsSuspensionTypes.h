#pragma once

#include <optional>
#include <string>
#include <vector>

namespace accounts {

// One report suspension type as the editors show it: the template account's (-1) row, which every
// account carries alike.
struct clsSuspensionType {
    int suspension_type = 0;
    int suspension_severity = 0;
    std::string suspension_description;
    [[nodiscard]] bool IsSystem() const;
};

// The suspension types of all accounts, kept alike: read from the template account, every change
// written to every account at once.
class clsSuspensionTypes {
public:
    static constexpr int kFirstUserType = 21; // 1 .. 20 are the system's own
    static constexpr int kLastType = 255;
    static constexpr int kDescriptionLength = 50; // characters

    // false after the session showed the error
    bool Load();
    [[nodiscard]] const std::vector<clsSuspensionType>& Types() const { return m_types; }
    [[nodiscard]] const clsSuspensionType* Find(int type) const;
    // The numbers a new type may take (21 .. 255, not in use), plus `own` when editing that type.
    [[nodiscard]] std::vector<int> FreeNumbers(std::optional<int> own = std::nullopt) const;

    static std::string ListQuery();
    static std::string InsertStatement(int type, const std::string& description);
    static std::string UpdateStatement(int type, const std::string& description);
    static std::string DeleteStatement(int type);

    // Each writes, logs the change and reloads; false after the session showed the error.
    bool Add(int type, const std::string& description);
    bool Change(int type, const std::string& description);
    bool Remove(int type);

private:
    std::vector<clsSuspensionType> m_types;
};

} // namespace accounts
