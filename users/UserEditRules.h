#pragma once

#include "clsUserPolicy.h"

#include <functional>
#include <optional>
#include <string>

namespace users {

// The tabs of the user editor, in their order on the screen.
enum class UserTab { General = 0, Security, UserInfo, Admin, Groups, VoiceToText };

// A stored password is never shown: both boxes hold this text until the administrator types.
inline constexpr const char* kPasswordPlaceholder = "________";
// The longest prompt script name the user row keeps (string1).
inline constexpr size_t kMaxPromptScriptCharacters = 40;
inline constexpr const char* kDefaultPromptScript = "PROMPT.KDS";
// The login component's stored form holds a password of limited size; one that does not fit is
// refused before anything is written.
inline constexpr const char* kPasswordTooLong =
    "The Veltra Password is too long to be stored.  Please enter a shorter password.";
inline constexpr const char* kSignatureTooLong =
    "The Signature Password is too long to be stored.  Please enter a shorter password.";

// What the editor's boxes hold when OK is pressed, and what they held when the user was loaded.
struct UserEditForm {
    bool isNew = true;
    std::string userName, firstName, lastName;
    std::string password, confirmPassword;                   // the placeholder when untouched
    std::string signaturePassword, confirmSignaturePassword; // likewise
    bool mustChangeSignaturePassword = false;
    bool transcriptionist = false, paxlet = false, voiceToText = false;
    std::optional<long> partitionId; // nothing chosen: blank
    std::string promptScript;
    const clsUserPolicy* policy = nullptr; // the one chosen in cmbUserPolicy

    // As loaded.
    std::string storedUserName, storedPassword, storedSignaturePassword;
    std::string existingTransId; // the user's Transcriptionist ID or Document Creation ID, empty for none
    long storedPartitionId = -1;
};

// Who is editing and what the site allows.
struct UserEditContext {
    bool actingSystemAdministrator = false;
    bool allowGeneralUsers = true; // the site-wide start-up flag of rule 13
    // The site's [AdminDesktop] AllowSettingSignaturePassword: without it the signature password
    // boxes keep what is stored.
    bool allowSettingSignaturePassword = true;
};

// The first rule an edit breaks: its message (title "Error"), the control to focus and its tab.
// An empty message is a question the administrator answered No: the editor just stays open.
struct UserEditFailure {
    int rule = 0;
    std::string message;
    std::string control;
    UserTab tab = UserTab::General;
};

// The editor's questions and the rename box of an over-long prompt script; tests script them.
struct UserEditPrompts {
    // A Yes/No question; true for Yes.
    std::function<bool(const std::string& text, const std::string& title)> ask;
    // The rename box: the new name, or nothing for Cancel.
    std::function<std::optional<std::string>(const std::string& text, const std::string& current)> rename;
};

[[nodiscard]] bool PasswordUnchanged(const std::string& box);

// Runs the editor's OK checks in their fixed order and stops at the first failure. A renamed
// prompt script is written back into form.promptScript.
std::optional<UserEditFailure> CheckUserEdit(UserEditForm& form, const UserEditContext& context,
                                             const UserEditPrompts& prompts);

// Asks for a shorter name while a prompt script's name is over 40 characters: the name typed (".KDS"
// added when it lacks that ending), or nothing for Cancel or an empty name.
std::optional<std::string> ShorterPromptScriptName(const std::string& name, const UserEditPrompts& prompts);

// The first character the user name box refuses (backslash, slash, colon, asterisk, question mark,
// double quote, angle brackets, bar, space), or npos.
size_t RefusedUserNameCharacter(const std::string& text);

// The message listing what a partition change does to an existing user (rule 14).
std::string PartitionChangeEffects(bool paxlet, bool transcriptionist);

} // namespace users
