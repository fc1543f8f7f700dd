#pragma once

#include "clsSecurityGroup.h"

#include <string>
#include <unordered_map>
#include <vector>

namespace users {

// The loaded security groups in load order, each under its key: the group id followed by "G".
class clsSecurityGroups {
public:
    static std::string Key(long groupId) { return std::to_string(groupId) + "G"; }

    bool Add(clsSecurityGroup group, const std::string& key);
    bool Remove(const std::string& key);
    void RemoveAll();
    [[nodiscard]] clsSecurityGroup* Item(const std::string& key);
    [[nodiscard]] size_t Count() const { return m_items.size(); }
    void Swap(clsSecurityGroups& other) noexcept;

    [[nodiscard]] std::vector<clsSecurityGroup>::const_iterator begin() const { return m_items.begin(); }
    [[nodiscard]] std::vector<clsSecurityGroup>::const_iterator end() const { return m_items.end(); }

private:
    std::vector<clsSecurityGroup> m_items;
    std::vector<std::string> m_keys;
    std::unordered_map<std::string, size_t> m_index;
};

} // namespace users
