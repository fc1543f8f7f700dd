#pragma once

#include "PhysicianUserRequest.h"

#include <functional>
#include <vector>

class QDialog;
class QWidget;

namespace suite {
class LoginComponent;
}
namespace users {
class clsUser;
struct UserGroupEntry;
} // namespace users

// The user editor for a physician given user access in the profile editor: on the physician's
// linked user, or on a new physician user for it. The accepted user is written when the profile
// is saved; a new user is then linked back from the profile, so both sides name each other. The
// user's groups are shown and their changes written as User Management does.
class PhysicianUserEditor {
public:
    PhysicianUserEditor(suite::LoginComponent& login, std::string promptFolder);

    // Runs the editor; the accepted user, written only when the pending save is called.
    std::optional<physicians::PendingPhysicianUser> Edit(const physicians::PhysicianUserRequest& request,
                                                         QWidget* parent);

    // How the editor is run; exec() by default, replaced in tests.
    std::function<int(QDialog& editor)> runDialog;
    // "Add..." on the editor's Groups tab: the same group picker User Management uses.
    std::function<std::vector<users::UserGroupEntry>(QWidget* parent, const users::clsUser& user,
                                                     const std::vector<long>& current)>
        chooseGroups;

    static constexpr size_t kFirstNameChars = 21; // the user row's first name

private:
    suite::LoginComponent& m_login;
    std::string m_strPromptFolder;
};
