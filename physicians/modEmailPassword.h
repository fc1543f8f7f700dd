#pragma once

#include <string>
#include <vector>

namespace suite {
class LoginComponent;
}

namespace physicians {

// The password a physician's password-protected report mails open with, and mailing it to the
// physician. An empty password means the output distributor's default one.

// The dialog's rules: "" or the message of the first rule broken.
std::string EmailPasswordRefusal(const std::string& password, const std::string& confirm);

inline constexpr const char* kPasswordMailSubject = "Medical Reports - Password Information";
inline constexpr const char* kMinimumMailComponentVersion = "2.030";

// The mail text: the template file when one is configured and can be read (KALDRA/SYSTEM under the
// network root), the built-in text otherwise; "[TONAME]" and "[PASSWORD]" replaced.
std::string PasswordMessageText(const std::string& rootDir, const std::string& templateName,
                                const std::string& physicianName, const std::string& password);

// "" when the password may be mailed, or the refusal: the login component's version, the name
// (empty or "<various>"), the password and its rules, then the address (none, or several that
// differ among the selected accounts).
std::string SendPasswordRefusal(const std::string& componentVersion, const std::string& physicianName,
                                const std::string& password, const std::string& confirm,
                                const std::vector<std::string>& addresses);

// The address the mail goes to: the one non-empty address of the accounts.
std::string PasswordMailAddress(const std::vector<std::string>& addresses);

// Hands the mail to the login component's SendEmail; true when it was taken.
bool SendPhysicianPassword(suite::LoginComponent& login, const std::string& address, const std::string& text);

} // namespace physicians
