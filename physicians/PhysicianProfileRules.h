#pragma once

#include "MessageService.h"
#include "PhysicianProfileEdit.h"

#include <optional>
#include <string>
#include <vector>

namespace physicians {

// What the profile editor's OK checks are told about the one who presses it.
struct ProfileCheckContext {
    bool paxletAdministrator = false; // may turn off a linked user's e-signature
    bool speechMachinesInUse = false; // physicians then need an ASP id for recognition
};

// The first rule the profile breaks: its message, title, icon, and the field to focus.
struct ProfileRefusal {
    std::string text;
    std::string title;
    platform::MsgIcon icon = platform::MsgIcon::Exclamation;
    std::string field; // a ProfileFields() name, or "accounts"
};

// Checks the refusals of OK in their order (accounts for a new physician, the linked user's
// e-signature, the name, an account in the physician's partition, fax and e-mail addresses, the
// author ids with the recognition work types and speech ids, the prerequisites of recognition). An edited physician
// without accounts is not refused here: the editor asks whether to delete it.
std::optional<ProfileRefusal> CheckProfile(const PhysicianProfileEdit& edit, const ProfileCheckContext& context);

// The warning shown (and saving goes on) when a linked user's first name is longer than the user
// row holds; "" when it fits.
std::string LinkedFirstNameWarning(const PhysicianProfileEdit& edit);
inline constexpr size_t kLinkedFirstNameChars = 21;

// True for the e-mail methods that send password-protected reports.
bool PasswordProtectedEmailMethod(const std::string& method);
bool PasswordProtectedEmailWithoutPassword(const PhysicianProfileEdit& edit);

// ---- duplicate identifiers ----------------------------------------------------------------------
struct DuplicateId {
    std::string source_id, id, physicianName;
};
// The membership condition of "shares an account with these accounts": a member of all accounts
// (-1) or of one of them, consecutive account numbers written as ranges.
std::string SharedAccountsCondition(std::vector<long> accounts);
// The look-up among the other physicians sharing an account with this one; "" when there are no
// ids to look up.
std::string DuplicateIdsQuery(const PhysicianProfileEdit& edit);
// The hits; false after a failed statement (the session showed why).
bool FindDuplicateIds(const PhysicianProfileEdit& edit, std::vector<DuplicateId>& hits);
std::string DuplicateIdsQuestion(const std::vector<DuplicateId>& hits);

// ---- saving -------------------------------------------------------------------------------------
// The linked user's names, cut to the user row's widths rather than refused.
std::string LinkedUserNamesBatch(long userId, const std::string& firstName, const std::string& lastName);
// Writes the profile all or nothing, then the linked user's names; the log row follows the save.
// False when nothing was written (the session showed why; the edit is as the user left it).
bool SaveProfile(PhysicianProfileEdit& edit, const std::string& changedByUser);

} // namespace physicians
