#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace users {

// Items in the order they were added, each under a text key, as the user store's collections
// (groups, policies) keep them.
template <typename T>
class KeyedList {
public:
    bool Add(T item, const std::string& key) {
        if (m_index.count(key))
            return false;
        m_index.emplace(key, m_items.size());
        m_keys.push_back(key);
        m_items.push_back(std::move(item));
        return true;
    }
    bool Remove(const std::string& key) {
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
    void Clear() {
        m_items.clear();
        m_keys.clear();
        m_index.clear();
    }
    [[nodiscard]] T* Item(const std::string& key) {
        auto it = m_index.find(key);
        return it == m_index.end() ? nullptr : &m_items[it->second];
    }
    [[nodiscard]] size_t Count() const { return m_items.size(); }
    void Swap(KeyedList& other) noexcept {
        m_items.swap(other.m_items);
        m_keys.swap(other.m_keys);
        m_index.swap(other.m_index);
    }
    [[nodiscard]] typename std::vector<T>::const_iterator begin() const { return m_items.begin(); }
    [[nodiscard]] typename std::vector<T>::const_iterator end() const { return m_items.end(); }

private:
    std::vector<T> m_items;
    std::vector<std::string> m_keys;
    std::unordered_map<std::string, size_t> m_index;
};

} // namespace users
