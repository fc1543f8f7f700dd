#pragma once

#include <map>
#include <string>
#include <vector>

namespace suite {
class LoginComponent;
}

namespace accounts {

// One type of one account in the per-account type editor.
struct clsAccountType {
    int type = 0;
    int severity = 0; // suspension types only
    std::string description;
};

// The per-account form of the suspension or activity types: every account's own list, read at once
// and written back at once by deleting the accounts' rows and inserting each list again.
class clsAccountTypes {
public:
    enum class Mode { Suspension, Pause };
    static constexpr int kLastType = 255;
    static constexpr int kDescriptionLength = 50; // characters

    explicit clsAccountTypes(Mode mode) : m_mode(mode) {}
    [[nodiscard]] Mode mode() const { return m_mode; }
    // The lowest number a type of this editor may have: 11 for suspension types, 1 for activity types.
    [[nodiscard]] int FirstNumber() const { return m_mode == Mode::Suspension ? 11 : 1; }

    // Reads every account's rows, filed by the login component's account cache; rows of accounts
    // the cache does not know are left out. false after the session showed the error.
    bool Load(const suite::LoginComponent& login);
    [[nodiscard]] std::string LoadQuery() const;

    // The accounts the editor offers and writes: the live accounts of the cache, without the template.
    [[nodiscard]] const std::vector<long>& Accounts() const { return m_accounts; }
    [[nodiscard]] const std::vector<clsAccountType>& TypesOf(long account) const;
    [[nodiscard]] bool IsTypeUsed(long account, int type) const;
    // The numbers still free in the account's list, from FirstNumber() to 255.
    [[nodiscard]] std::vector<int> FreeNumbers(long account) const;

    void AddType(long account, const clsAccountType& t);
    void ChangeType(long account, int type, const std::string& description);
    void DeleteType(long account, int type);
    // Gives every account the selected account's list.
    void UseForAll(long account);

    // The delete-and-rewrite batch of the save.
    [[nodiscard]] std::string RewriteBatch() const;
    // Sends the batch all or nothing and logs it; false after the error was shown (nothing changed).
    bool Save();

private:
    Mode m_mode;
    std::vector<long> m_accounts;
    std::map<long, std::vector<clsAccountType>> m_types;
};

} // namespace accounts
