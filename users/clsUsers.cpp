#include "clsUsers.h"

#include "Numbers.h"

#include <utility>

namespace users {

std::optional<long> clsUsers::KeyId(const std::string& key) {
    if (key.size() < 2 || key.back() != 'U')
        return std::nullopt;
    const bool negative = key.front() == '-';
    const auto digits =
        platform::parseDigits(std::string_view(key).substr(negative ? 1 : 0, key.size() - 1 - negative));
    if (!digits)
        return std::nullopt;
    return static_cast<long>(negative ? -*digits : *digits);
}

bool clsUsers::Add(clsUser user, const std::string& key) {
    const auto id = KeyId(key);
    if (!id)
        return false;
    clsUser* added = AddNew(*id);
    if (!added)
        return false;
    *added = std::move(user);
    return true;
}

clsUser* clsUsers::AddNew(long userId) {
    if (!m_index.emplace(userId, m_items.size()).second)
        return nullptr;
    m_ids.push_back(userId);
    return &m_items.emplace_back();
}

bool clsUsers::Remove(const std::string& key) {
    const auto id = KeyId(key);
    auto it = id ? m_index.find(*id) : m_index.end();
    if (it == m_index.end())
        return false;
    const size_t at = it->second;
    m_index.erase(it);
    m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(at));
    m_ids.erase(m_ids.begin() + static_cast<std::ptrdiff_t>(at));
    for (size_t i = at; i < m_ids.size(); ++i)
        m_index[m_ids[i]] = i;
    return true;
}

void clsUsers::RemoveAll() {
    m_items.clear();
    m_ids.clear();
    m_index.clear();
}

clsUser* clsUsers::Item(const std::string& key) {
    return const_cast<clsUser*>(std::as_const(*this).Item(key));
}

const clsUser* clsUsers::Item(const std::string& key) const {
    const auto id = KeyId(key);
    auto it = id ? m_index.find(*id) : m_index.end();
    return it == m_index.end() ? nullptr : &m_items[it->second];
}

void clsUsers::Swap(clsUsers& other) noexcept {
    m_items.swap(other.m_items);
    m_ids.swap(other.m_ids);
    m_index.swap(other.m_index);
}

clsUsers& Users() {
    static clsUsers users;
    return users;
}

} // namespace users
