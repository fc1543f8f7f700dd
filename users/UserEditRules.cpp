#include "UserEditRules.h"

#include "PasswordCipher.h"
#include "Text.h"
#include "Utf8.h"
#include "clsUser.h"

namespace users {

namespace {

UserEditFailure failure(int rule, std::string message, std::string control, UserTab tab) {
    return UserEditFailure{rule, std::move(message), std::move(control), tab};
}

// A question answered No: the editor stays open on the field, without a further message.
UserEditFailure declined(int rule, std::string control, UserTab tab) {
    return UserEditFailure{rule, std::string(), std::move(control), tab};
}

// What a password box stands for: the stored password while it still holds the placeholder.
std::string effective(const std::string& box, const std::string& stored) {
    return PasswordUnchanged(box) ? stored : box;
}

std::string technicianQuestion(const std::string& name, const char* what, const char* question) {
    return "The " + name + " user is used for Veltra Text Technical Support.  " + what +
           " for this user may affect Technical Support's ability to work on system problems and assist with "
           "configuration changes.  \n\n" +
           question;
}

} // namespace

bool PasswordUnchanged(const std::string& box) {
    return box == kPasswordPlaceholder;
}

size_t RefusedUserNameCharacter(const std::string& text) {
    return text.find_first_of("\\/:*?\"<>| ");
}

std::string PartitionChangeEffects(bool paxlet, bool transcriptionist) {
    std::string text = "Changing the user's partition will have the following effects:\n";
    text += "- The user's privileges will be reset.\n";
    if (paxlet) {
        text += "- The physician profile's partition will be changed to match the user's partition.\n";
        text += "- All physician relationships for the physician profile will be removed.\n";
    }
    if (transcriptionist)
        text += "- The user's default work pool assignment will be reset.\n";
    text += "Do you wish to continue?";
    return text;
}

std::optional<std::string> ShorterPromptScriptName(const std::string& name, const UserEditPrompts& prompts) {
    std::string text = "The report creation prompt script name is too long.  The maximum number of characters allowed "
                       "for a script name is 40.  Please rename the script below or select Cancel to select a "
                       "different prompt script:";
    std::optional<std::string> renamed = prompts.rename ? prompts.rename(text, name) : std::nullopt;
    while (renamed && !renamed->empty()) {
        // The folder lists only "*.KDS" files: a name typed without the ending gets it.
        const std::string upper = foundation::upperText(*renamed);
        if (upper.size() < 4 || upper.compare(upper.size() - 4, 4, ".KDS") != 0)
            *renamed += ".KDS";
        if (platform::utf8Length(*renamed) <= kMaxPromptScriptCharacters)
            return renamed;
        text = "The report creation prompt script name is still too long.  The maximum number of characters allowed "
               "for a script name is 40.  Select OK to rename the prompt script or Cancel to select a different "
               "prompt script.";
        renamed = prompts.rename(text, *renamed);
    }
    return std::nullopt;
}

std::optional<UserEditFailure> CheckUserEdit(UserEditForm& f, const UserEditContext& context,
                                             const UserEditPrompts& prompts) {
    const auto ask = [&](const std::string& text, const std::string& title) {
        return prompts.ask ? prompts.ask(text, title) : false;
    };
    // 1, 2
    if (f.userName.empty())
        return failure(1, "User Name cannot be blank.", "txtUserName", UserTab::General);
    if (f.firstName.find_first_not_of(' ') == std::string::npos &&
        f.lastName.find_first_not_of(' ') == std::string::npos)
        return failure(2, "The first and last name cannot both be blank.", "txtFirstName", UserTab::General);
    // 3, 4, 5
    if (f.password != f.confirmPassword)
        return failure(3, "Veltra Password and Confirm Veltra Password fields do not match", "txtPassword",
                       UserTab::General);
    if (!f.mustChangeSignaturePassword && f.signaturePassword != f.confirmSignaturePassword)
        return failure(4, "Signature Password and Confirm Signature Password fields do not match!",
                       "txtSignaturePassword", UserTab::Security);
    const bool logonChanged = !PasswordUnchanged(f.password);
    // A user who never had a signature password and still has none has not changed it.
    const bool signatureChanged =
        !PasswordUnchanged(f.signaturePassword) &&
        !(f.signaturePassword.empty() && f.confirmSignaturePassword.empty() && f.storedSignaturePassword.empty());
    if (logonChanged || signatureChanged) {
        const std::string logon = effective(f.password, f.storedPassword);
        const std::string signature = effective(f.signaturePassword, f.storedSignaturePassword);
        if (!signature.empty() && signature == logon)
            return failure(5, "Signature Password and Veltra Password fields must be different!",
                           "txtSignaturePassword", UserTab::Security);
    }
    // 6
    if (f.userName.find(' ') != std::string::npos)
        return failure(6, "User name cannot contain any spaces", "txtUserName", UserTab::General);
    if (f.userName.find('\\') != std::string::npos)
        return failure(6, "User name cannot contain backslash characters", "txtUserName", UserTab::General);
    if (f.userName.find('/') != std::string::npos)
        return failure(6, "User name cannot contain forward slash characters", "txtUserName", UserTab::General);
    if (f.userName.find('\'') != std::string::npos)
        return failure(6, "User name cannot contain any single quote characters", "txtUserName", UserTab::General);
    // 7
    if (!f.partitionId)
        return failure(7, "Partition cannot be blank", "cboPartition", UserTab::Security);
    // 8
    if (f.voiceToText) {
        if (f.promptScript.empty())
            return failure(8, "Report creation prompt script is not set.  User settings cannot be saved.",
                           "cmbPromptScript", UserTab::UserInfo);
        if (platform::utf8Length(f.promptScript) > kMaxPromptScriptCharacters) {
            const std::optional<std::string> renamed = ShorterPromptScriptName(f.promptScript, prompts);
            if (!renamed)
                return declined(8, "cmbPromptScript", UserTab::UserInfo);
            f.promptScript = *renamed;
        }
    }
    // 9
    if (!f.isNew && IsTechnicianAccount(f.storedUserName)) {
        if (logonChanged && !ask(technicianQuestion(f.storedUserName, "Changing the password",
                                                    "Are you sure you want to change the password?"),
                                 "Change Password"))
            return declined(9, "txtPassword", UserTab::General);
        if (foundation::upperText(f.userName) != foundation::upperText(f.storedUserName) &&
            !ask(technicianQuestion(f.storedUserName, "Changing the user name",
                                    "Are you sure you want to change the user name?"),
                 "Change User Name"))
            return declined(9, "txtUserName", UserTab::General);
    }
    // 10: the policy check; first whether the store can hold the password at all.
    if (logonChanged) {
        if (f.password.size() > suite::PasswordCipher::kMaxPasswordLength)
            return failure(10, kPasswordTooLong, "txtPassword", UserTab::General);
        std::string message;
        const clsUserPolicy fallback;
        const clsUserPolicy& policy = f.policy ? *f.policy : fallback;
        if (!policy.IsPasswordOk("", f.password, f.confirmPassword, false, policy.m_bytPolicyId, message))
            return failure(10, message, "txtPassword", UserTab::General);
    }
    // 11
    if (signatureChanged && !f.mustChangeSignaturePassword) {
        if (f.signaturePassword.size() > suite::PasswordCipher::kMaxPasswordLength)
            return failure(11, kSignatureTooLong, "txtSignaturePassword", UserTab::Security);
        std::string message;
        const clsUserPolicy fallback;
        const clsUserPolicy& policy = f.policy ? *f.policy : fallback;
        if (!policy.IsSignaturePasswordOk("", f.signaturePassword, f.confirmSignaturePassword, false, message))
            return failure(11, message, "txtSignaturePassword", UserTab::Security);
    }
    // 12
    if (!f.existingTransId.empty() && (f.transcriptionist || f.voiceToText) &&
        foundation::upperText(platform::utf8Left(f.userName, 8)) != foundation::upperText(f.existingTransId)) {
        const char* which = f.transcriptionist ? "Transcriptionist ID" : "Document Creation ID";
        return failure(12,
                       std::string("The first 8 characters of the user name must match the existing ") + which +
                           ".\nPlease change the user name.",
                       "txtUserName", UserTab::General);
    }
    // 13
    if (!context.actingSystemAdministrator && !context.allowGeneralUsers && !f.transcriptionist && !f.paxlet &&
        !f.voiceToText)
        return failure(13, "The user must be configured as either a Transcriptionist or Physician User.",
                       "chkTranscriptionist", UserTab::General);
    // 14
    if (!f.isNew && *f.partitionId != f.storedPartitionId &&
        !ask(PartitionChangeEffects(f.paxlet, f.transcriptionist), "Partition Change"))
        return declined(14, "cboPartition", UserTab::Security);
    return std::nullopt;
}

} // namespace users
