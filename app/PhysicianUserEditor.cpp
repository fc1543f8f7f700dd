#include "PhysicianUserEditor.h"

#include "DatabaseSession.h"
#include "LoginComponent.h"
#include "MessageService.h"
#include "Text.h"
#include "UA_User_Mgmt_Edit.h"
#include "UserEditSave.h"
#include "UserGroupMemberships.h"
#include "Utf8.h"
#include "modUserStore.h"

#include <memory>

using platform::MsgBox;
using platform::MsgButtons;
using platform::MsgIcon;

PhysicianUserEditor::PhysicianUserEditor(suite::LoginComponent& login, std::string promptFolder)
    : m_login(login), m_strPromptFolder(std::move(promptFolder)) {
    runDialog = [](QDialog& d) { return d.exec(); };
}

std::optional<physicians::PendingPhysicianUser>
PhysicianUserEditor::Edit(const physicians::PhysicianUserRequest& request, QWidget* parent) {
    users::clsUsers& all = users::Users();
    users::clsUserPolicies policies;
    if (!users::LoadActiveUsers(&all) || !policies.LoadAll()) {
        MsgBox("Error retrieving users", MsgButtons::OK, MsgIcon::Critical, "User Management");
        return std::nullopt;
    }
    users::clsUser user;
    const users::clsUser* linked = request.userId > 0 ? all.Item(users::clsUsers::Key(request.userId)) : nullptr;
    const bool isNew = linked == nullptr;
    if (linked) {
        user.CopyClass(*linked);
    } else {
        user.m_blnEnabled = true;
        user.m_lngPhysicianId = request.physicianId;
        user.m_blnNotPaxLet = false;
        user.Partition_ID(request.partitionId);
        user.m_strFirstName = platform::utf8Left(request.firstName, kFirstNameChars);
        user.m_strLastName = request.lastName;
    }
    std::vector<users::UserGroupEntry> groups;
    if (!isNew && !users::LoadUserGroupEntries(user.m_lngUserId, groups)) {
        MsgBox("Error retrieving users", MsgButtons::OK, MsgIcon::Critical, "User Management");
        return std::nullopt;
    }
    users::UserEditContext context;
    context.actingSystemAdministrator = m_login.user.is_administrator;
    users::UA_User_Mgmt_Edit editor(policies, context, parent);
    editor.promptFolder = m_strPromptFolder;
    editor.chooseGroups = chooseGroups;
    editor.LoadForm(user, isNew, groups);
    if (runDialog(editor) != QDialog::Accepted)
        return std::nullopt;
    auto edited = std::make_shared<users::clsUser>();
    edited->CopyClass(editor.EditedUser());
    edited->m_strUserName = foundation::upperText(edited->m_strUserName);
    physicians::PendingPhysicianUser pending;
    pending.save = [edited, isNew, changes = editor.Changes(), removed = editor.RemovedGroups(),
                    added = editor.AddedGroups(),
                    physicianId = request.physicianId]() -> std::optional<std::pair<long, std::string>> {
        if (!(isNew ? users::SaveNewUser(*edited, changes) : users::SaveChangedUser(*edited, changes)))
            return std::nullopt;
        if (isNew && !foundation::DatabaseSession::instance().RunStatement(
                         "UPDATE Physician_profile SET flag2 = " + std::to_string(edited->m_lngUserId) +
                         " WHERE physician_id = " + std::to_string(physicianId)))
            return std::nullopt;
        // The memberships follow the saved user; a failed write leaves the user saved and linked.
        users::WriteUserMemberships(edited->m_lngUserId, removed, added);
        return std::make_pair(edited->m_lngUserId, edited->m_strUserName);
    };
    return pending;
}
