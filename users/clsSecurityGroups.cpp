#include "clsSecurityGroups.h"

namespace users {

bool clsSecurityGroups::Add(clsSecurityGroup group, const std::string& key) {
    if (m_index.count(key))
        return false;
    m_index.emplace(key, m_items.size());
    m_keys.push_back(key);
    m_items.push_back(std::move(group));
    return true;
}

bool clsSecurityGroups::Remove(const std::string& key) {
    auto it = m_index.find(key);
    if (it == m_index.end())
        return false;
    const size_t at = it->second;
    m_index.erase(it);
    m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(at));
    m_keys.erase(m_keys.begin() + static_cast<std::ptrdiff_t>(at));
    for (size_t i = at; i < m_keys.size(); ++i)
        m_index[m_keys[i]] = i;
    return true;
}

void clsSecurityGroups::RemoveAll() {
    m_items.clear();
    m_keys.clear();
    m_index.clear();
}

clsSecurityGroup* clsSecurityGroups::Item(const std::string& key) {
    auto it = m_index.find(key);
    return it == m_index.end() ? nullptr : &m_items[it->second];
}

void clsSecurityGroups::Swap(clsSecurityGroups& other) noexcept {
    m_items.swap(other.m_items);
    m_keys.swap(other.m_keys);
    m_index.swap(other.m_index);
}

} // namespace users
