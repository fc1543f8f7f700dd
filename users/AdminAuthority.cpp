#include "AdminAuthority.h"

#include "LoginComponent.h"
#include "MessageService.h"
#include "modPartition.h"

namespace users {

namespace {

std::string refusal(const std::string& own, const std::string& target) {
    return own + " administrators are not authorized to delete " + target + " administrators.";
}

// The target's kind as the refusal names it, highest first; "General" for a user of no kind.
std::string targetKind(const clsUser& t) {
    if (t.m_blnSystemAdministrator)
        return "System";
    if (t.m_blnTransAdministrator && t.m_blnPaxletAdministrator)
        return "Paxlet/Transcription";
    if (t.m_blnTransAdministrator)
        return "Transcription";
    if (t.m_blnPaxletAdministrator)
        return "Paxlet";
    return "General";
}

} // namespace

std::string AdminAuthorityRefusal(const AdminKinds& k, const clsUser& t) {
    if (k.system)
        return {};
    if (k.physician && k.transcription)
        return t.m_blnSystemAdministrator ? refusal("Paxlet/Transcription", "System") : std::string();
    if (k.physician) {
        if (t.m_blnSystemAdministrator)
            return refusal("Paxlet", "System");
        if (t.m_blnTransAdministrator)
            return refusal("Paxlet", "Transcription");
        return {};
    }
    if (k.transcription) {
        if (t.m_blnSystemAdministrator)
            return refusal("Transcription", "System");
        if (t.m_blnPaxletAdministrator)
            return refusal("Transcription", "Paxlet");
        return {};
    }
    // A user of no administrator kind acts on nobody.
    return refusal("General", targetKind(t));
}

bool AdminAuthorityCheck(const clsUser& target) {
    AdminKinds kinds;
    if (const auto* login = physicians::Partitions().login) {
        kinds.system = login->user.is_administrator;
        kinds.physician = login->user.is_paxlet_admin;
        kinds.transcription = login->user.is_trans_admin;
    }
    const std::string text = AdminAuthorityRefusal(kinds, target);
    if (text.empty())
        return true;
    platform::MsgBox(text, platform::MsgButtons::OK, platform::MsgIcon::Exclamation, "User Management");
    return false;
}

} // namespace users
