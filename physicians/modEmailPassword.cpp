#include "modEmailPassword.h"

#include "LoginComponent.h"
#include "Numbers.h"
#include "Utf8.h"

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace physicians {

namespace {

void replaceAll(std::string& text, const std::string& marker, const std::string& value) {
    for (size_t at = text.find(marker); at != std::string::npos; at = text.find(marker, at + value.size()))
        text.replace(at, marker.size(), value);
}

std::set<std::string> distinctAddresses(const std::vector<std::string>& addresses) {
    std::set<std::string> out;
    for (const auto& a : addresses)
        if (!a.empty())
            out.insert(a);
    return out;
}

} // namespace

std::string EmailPasswordRefusal(const std::string& password, const std::string& confirm) {
    if (password != confirm)
        return "The two password entries do not match.  Please reconfirm your password.";
    if (!password.empty() && platform::utf8Length(password) < 6)
        return "The password must be between 6 and 12 characters.  Please enter a different password.";
    return {};
}

std::string PasswordMessageText(const std::string& rootDir, const std::string& templateName,
                                const std::string& physicianName, const std::string& password) {
    std::string text;
    if (!templateName.empty()) {
        std::ifstream in(std::filesystem::path(rootDir) / "KALDRA" / "SYSTEM" / templateName, std::ios::binary);
        std::ostringstream content;
        if (in && content << in.rdbuf())
            text = content.str();
    }
    if (text.empty())
        text = "TO: [TONAME]\r\n\r\n"
               "You have received this message because you have been set up to receive Medical Reports "
               "from the Medical Records transcription system through email.\r\n\r\n"
               "Your reports will be sent through email in a password protected format.  When "
               "opening a report you will be prompted for a password.  The following is your password.  "
               "Please keep it secure and do not share it.\r\n\r\n"
               "Password: [PASSWORD]\r\n";
    replaceAll(text, "[TONAME]", physicianName);
    replaceAll(text, "[PASSWORD]", password);
    return text;
}

std::string SendPasswordRefusal(const std::string& componentVersion, const std::string& physicianName,
                                const std::string& password, const std::string& confirm,
                                const std::vector<std::string>& addresses) {
    const auto have = platform::parseNumber(componentVersion);
    const auto need = platform::parseNumber(kMinimumMailComponentVersion);
    if (!have || !need || *have < *need)
        return "This feature is not support with the current version of KDLOGIN.DLL.  "
               "Please contact your technical support representative.";
    if (physicianName.empty() || physicianName == "<various>")
        return "No physician's name has been specified.  Password cannot be sent.";
    if (password.empty())
        return "No password has been specified.  Please specify a password.";
    if (std::string rule = EmailPasswordRefusal(password, confirm); !rule.empty())
        return rule;
    const auto distinct = distinctAddresses(addresses);
    if (distinct.empty())
        return "There is no email address configured.  Password cannot be sent.";
    if (distinct.size() > 1 || *distinct.begin() == "<various>")
        return "More than one email address has been specified for this physician.  "
               "A specific account must be selected.";
    return {};
}

std::string PasswordMailAddress(const std::vector<std::string>& addresses) {
    const auto distinct = distinctAddresses(addresses);
    return distinct.size() == 1 ? *distinct.begin() : std::string();
}

bool SendPhysicianPassword(suite::LoginComponent& login, const std::string& address, const std::string& text) {
    suite::EmailParameters p;
    p.p_strAddress1 = address;
    p.p_strSubject = kPasswordMailSubject;
    p.p_strMessage = text;
    p.p_strFromName = login.user.first_name + (login.user.first_name.empty() ? "" : " ") + login.user.last_name;
    p.p_intSendingAppId = suite::LoginComponent::kOptionsApplication;
    p.p_intMessageType = 0;
    p.p_strPCName = login.NameOfPC();
    p.p_strUserName = login.user.user_name;
    p.p_blnShowMessages = false;
    return login.SendEmail(p);
}

} // namespace physicians
