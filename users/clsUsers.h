#pragma once

#include "clsUser.h"

#include <deque>
#include <optional>
#include <string>
#include <unordered_map>

namespace users {

// The loaded users, in load order, each under its key: the user id followed by "U". Item
// pointers stay valid through Add; Remove and RemoveAll invalidate them. The users are kept in a
// deque so that growing a list of tens of thousands never moves the ones already loaded.
class clsUsers {
public:
    static std::string Key(long userId) { return std::to_string(userId) + "U"; }
    // The user id a key names; nullopt for a text that is not a key.
    static std::optional<long> KeyId(const std::string& key);

    // false when the key is taken or is not a key (the collection is left as it was).
    bool Add(clsUser user, const std::string& key);
    // A new default user added under the key of userId, to be filled in place; nullptr when taken.
    clsUser* AddNew(long userId);
    bool Remove(const std::string& key);
    void RemoveAll();
    [[nodiscard]] clsUser* Item(const std::string& key);
    [[nodiscard]] const clsUser* Item(const std::string& key) const;
    [[nodiscard]] bool Exists(const std::string& key) const { return Item(key) != nullptr; }
    [[nodiscard]] size_t Count() const { return m_items.size(); }
    void Reserve(size_t n) { m_index.reserve(n); }
    void Swap(clsUsers& other) noexcept;

    [[nodiscard]] std::deque<clsUser>::const_iterator begin() const { return m_items.begin(); }
    [[nodiscard]] std::deque<clsUser>::const_iterator end() const { return m_items.end(); }
    [[nodiscard]] std::deque<clsUser>::iterator begin() { return m_items.begin(); }
    [[nodiscard]] std::deque<clsUser>::iterator end() { return m_items.end(); }

private:
    std::deque<clsUser> m_items;
    std::deque<long> m_ids;                   // the key of each item, as its id
    std::unordered_map<long, size_t> m_index; // id -> position
};

// The program-wide collection of active users.
clsUsers& Users();

} // namespace users
