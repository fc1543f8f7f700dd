#pragma once

#include "KeyedList.h"
#include "clsUserPolicy.h"

#include <string>
#include <unordered_map>
#include <vector>

namespace users {

// The password and logon policies, each under its key (the policy id followed by "P"), with their
// database access. Failures are shown to the user by the operation that meets them.
class clsUserPolicies {
public:
    static std::string Key(long policyId) { return std::to_string(policyId) + "P"; }

    // Every policy by name, with the columns the lists and the password checks need.
    bool LoadAll();
    // The policy names for a pick list, by name: entries with the id and the name only.
    bool LoadNames();
    // Reads every column of one policy into its entry (added when missing); nullptr when it cannot
    // be read ("Retrieve Error" shown).
    clsUserPolicy* LoadPolicy(long policyId);
    // Writes a changed policy and logs it; false after the error was shown.
    bool UpdatePolicy(const clsUserPolicy& policy);
    // Gives the policy the next free id, inserts it, adds it here and logs it; false after the error was shown.
    bool InsertPolicy(clsUserPolicy& policy);
    // The name of the first user or group the policy is assigned to; empty when none (or on error).
    static std::string FirstUserOfPolicy(long policyId);
    // Deletes the policy row and the entry; false after the error was shown.
    bool DeletePolicy(long policyId);

    bool Add(clsUserPolicy policy, const std::string& key) { return m_list.Add(std::move(policy), key); }
    bool Remove(const std::string& key) { return m_list.Remove(key); }
    void Clear() { m_list.Clear(); }
    [[nodiscard]] clsUserPolicy* Item(const std::string& key) { return m_list.Item(key); }
    [[nodiscard]] size_t Count() const { return m_list.Count(); }

    [[nodiscard]] auto begin() const { return m_list.begin(); }
    [[nodiscard]] auto end() const { return m_list.end(); }

    // The statements, as sent.
    static std::string InsertStatement(const clsUserPolicy& p, long userId);
    static std::string UpdateStatement(const clsUserPolicy& p, long userId);

private:
    KeyedList<clsUserPolicy> m_list;
};

} // namespace users
