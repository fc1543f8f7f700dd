#pragma once

#include "PhysicianUserRequest.h"

#include <functional>

class QDialog;
class QWidget;

namespace suite {
class LoginComponent;
}

// The user editor for a physician given user access in the profile editor: on the physician's
// linked user, or on a new physician user for it. A new user is linked back from the profile, so
// both sides name each other whatever the profile editor does next.
class PhysicianUserEditor {
public:
    PhysicianUserEditor(suite::LoginComponent& login, std::string promptFolder);

    std::optional<std::pair<long, std::string>> Edit(const physicians::PhysicianUserRequest& request, QWidget* parent);

    // How the editor is run; exec() by default, replaced in tests.
    std::function<int(QDialog& editor)> runDialog;

    static constexpr size_t kFirstNameChars = 21; // the user row's first name

private:
    suite::LoginComponent& m_login;
    std::string m_strPromptFolder;
};
