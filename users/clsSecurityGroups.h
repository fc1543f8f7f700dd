#pragma once

#include "KeyedList.h"
#include "clsSecurityGroup.h"

#include <string>
#include <utility>

namespace users {

// The loaded security groups in load order, each under its key: the group id followed by "G".
class clsSecurityGroups {
public:
    static std::string Key(long groupId) { return std::to_string(groupId) + "G"; }

    bool Add(clsSecurityGroup group, const std::string& key) { return m_list.Add(std::move(group), key); }
    bool Remove(const std::string& key) { return m_list.Remove(key); }
    void RemoveAll() { m_list.Clear(); }
    [[nodiscard]] clsSecurityGroup* Item(const std::string& key) { return m_list.Item(key); }
    [[nodiscard]] size_t Count() const { return m_list.Count(); }
    void Swap(clsSecurityGroups& other) noexcept { m_list.Swap(other.m_list); }

    [[nodiscard]] auto begin() const { return m_list.begin(); }
    [[nodiscard]] auto end() const { return m_list.end(); }

private:
    KeyedList<clsSecurityGroup> m_list;
};

} // namespace users
