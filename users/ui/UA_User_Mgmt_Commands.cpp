// The commands of User Management on users, groups, policies and relationships.
#include "DatabaseSession.h"
#include "LoginComponent.h"
#include "MessageService.h"
#include "RoutinesFolders.h"
#include "Text.h"
#include "UA_Effective_Access.h"
#include "UA_Printer_Privs.h"
#include "UA_Privileges_New.h"
#include "UA_Set_Policy.h"
#include "UA_User_Mgmt.h"
#include "UA_User_Mgmt_Undelete.h"
#include "UA_User_Type.h"
#include "UserGroupMemberships.h"
#include "UserListModel.h"
#include "clsPartition.h"
#include "modPartition.h"
#include "modUserStore.h"

#include <QStackedWidget>
#include <QTableView>

namespace users {

using foundation::DatabaseSession;
using platform::MsgAnswer;
using platform::MsgBox;
using platform::MsgButtons;
using platform::MsgIcon;

namespace {

constexpr const char* kTitle = "User Management";

bool sameName(const std::string& a, const char* b) {
    return foundation::upperText(foundation::trimText(a)) == b;
}

std::string joined(const std::vector<std::string>& names) {
    std::string out;
    for (const auto& n : names)
        out += (out.empty() ? "" : ", ") + n;
    return out;
}

} // namespace

// ---- users -----------------------------------------------------------------------------------

void UA_User_Mgmt::AddUserMain() {
    UA_User_Type choice(bool(hooks.choosePhysician), this);
    if (run(choice) != QDialog::Accepted)
        return;
    clsUser user;
    user.m_blnEnabled = true;
    user.Partition_ID(m_login.user.Partition_ID);
    if (choice.Chosen() == UA_User_Type::Kind::Physician && !hooks.choosePhysician(this, user))
        return;
    user.m_blnNotPaxLet = user.m_lngPhysicianId <= 0;
    editAndSave(user, true, choice.Chosen() == UA_User_Type::Kind::Transcriptionist);
}

void UA_User_Mgmt::EditUser() {
    clsUser* user = singleSelectedUser();
    if (!user)
        return;
    if (user->Read_Only()) {
        MsgBox("Shared users cannot be edited", MsgButtons::OK, MsgIcon::Exclamation, "Shared User");
        return;
    }
    if (!AdminAuthorityCheck(*user))
        return;
    clsUser copy;
    copy.CopyClass(*user);
    editAndSave(copy, false);
}

// Opens the editor on the copy and, on OK, writes it with its group changes, then shows it.
bool UA_User_Mgmt::editAndSave(clsUser& user, bool isNew, bool transcriptionist) {
    UA_User_Mgmt_Edit editor(m_policies, editContext, this);
    editor.promptFolder = promptFolder;
    editor.chooseGroups = hooks.chooseGroups;
    const std::vector<UserGroupEntry> groups = isNew ? std::vector<UserGroupEntry>{} : groupsOf(user.m_lngUserId);
    editor.LoadForm(user, isNew, groups);
    if (transcriptionist)
        editor.SetTranscriptionist();
    if (run(editor) != QDialog::Accepted)
        return false;
    clsUser edited;
    edited.CopyClass(editor.EditedUser());
    edited.m_strUserName = foundation::upperText(edited.m_strUserName);
    UserEditChanges changes = editor.Changes();
    const long oldPartition = changes.oldPartitionId;
    if (!isNew && oldPartition != edited.Partition_ID() && !networkRoot.empty() &&
        !physicians::MoveUserRoutines(oldPartition, edited.Partition_ID(), edited.m_strUserName, networkRoot)) {
        // The routines stay where they are, and so does the user.
        edited.Partition_ID(oldPartition);
        changes.oldPartitionId = oldPartition;
    }
    const bool saved = isNew ? SaveNewUser(edited, changes) : SaveChangedUser(edited, changes);
    if (!saved) {
        if (!isNew)
            MsgBox("The user was not saved.", MsgButtons::OK, MsgIcon::Exclamation, kTitle);
        return false;
    }
    writeMemberships(edited.m_lngUserId, editor.RemovedGroups(), editor.AddedGroups());
    if (edited.m_lngUserId == m_login.user.user_id) {
        // The login component's copy of the logged-in user follows the edit.
        m_login.user.user_name = edited.m_strUserName;
        m_login.user.password = edited.m_strPassword;
        m_login.user.first_name = edited.m_strFirstName;
        m_login.user.last_name = edited.m_strLastName;
        m_login.user.is_administrator = edited.m_blnSystemAdministrator;
    }
    if (const clsUser* held = Users().Item(clsUsers::Key(edited.m_lngUserId))) {
        const UserListRow row = rowFor(*held, m_lngGroupId);
        if (!m_userModel->updateRow(row))
            refreshCurrent();
    }
    return true;
}

void UA_User_Mgmt::writeMemberships(long userId, const std::vector<long>& removed, const std::vector<long>& added) {
    if ((removed.empty() && added.empty()) || !WriteUserMemberships(userId, removed, added))
        return;
    m_data.LoadMemberships();
}

bool UA_User_Mgmt::confirmDelete(const clsUser& user) {
    std::string lines;
    if (const auto groups = groupsOf(user.m_lngUserId); !groups.empty()) {
        std::vector<std::string> names;
        for (const auto& g : groups)
            names.push_back(g.name);
        lines += "This user is a member of the following groups: " + joined(names) + "\n";
    }
    if (hooks.relationshipLinesForDelete)
        for (const auto& line : hooks.relationshipLinesForDelete(user.m_lngUserId))
            lines += line + "\n";
    const std::string text = lines.empty() ? "Delete " + user.m_strUserName + "?"
                                           : lines + "\nAre you sure you want to delete user " + user.m_strUserName +
                                                 " from the entire system?";
    return MsgBox(text, MsgButtons::YesNo, MsgIcon::Question, "Delete User") == MsgAnswer::Yes;
}

void UA_User_Mgmt::DeleteUser() {
    clsUser* user = singleSelectedUser();
    if (!user)
        return;
    const auto refuse = [](const std::string& text, const char* title) {
        MsgBox(text, MsgButtons::OK, MsgIcon::Exclamation, title);
    };
    if (user->Read_Only())
        return refuse("Shared users cannot be deleted", "Shared User");
    if (!AdminAuthorityCheck(*user))
        return;
    if (user->m_lngUserId == m_login.user.user_id)
        return refuse("The current user cannot be deleted!", kTitle);
    if (sameName(user->m_strUserName, "ADMINISTRATOR"))
        return refuse("The Administrator user cannot be deleted", kTitle);
    if (user->m_lngUserId == -1)
        return refuse("The System Default user cannot be deleted", kTitle);
    if (IsTechnicianAccount(user->m_strUserName) &&
        MsgBox("The " + user->m_strUserName +
                   " user is used for Veltra Text Technical Support.  Deleting this user may affect Technical "
                   "Support's ability to work on system problems and assist with configuration changes.  \n\nAre you "
                   "sure you want to delete this user?",
               MsgButtons::YesNo, MsgIcon::Question, "Delete User") != MsgAnswer::Yes)
        return;
    auto& s = DatabaseSession::instance();
    const std::string id = std::to_string(user->m_lngUserId);
    if (s.VersionAtLeast(2.008)) {
        s.SQLStatement = "SET ROWCOUNT 1\r\nSELECT * FROM Transform_sessions WHERE orig_processor_user_id = " + id +
                         " OR   source_user_id = " + id + "\r\nSET ROWCOUNT 0";
        if (s.ExecSQL() != 1)
            return refuse("Error encountered check Veltra Transform tables for references.", kTitle);
        const bool referenced = s.FetchBatchRow() == 1;
        s.FlushResults();
        if (referenced)
            return refuse("This user is referenced in a Veltra Transform session and cannot be deleted until the "
                          "related sessions have been deleted first.",
                          kTitle);
    }
    if (!confirmDelete(*user))
        return;
    const long userId = user->m_lngUserId;
    const auto groups = groupsOf(userId);
    if (!users::DeleteUser(clsUsers::Key(userId)))
        return;
    std::vector<long> removed;
    for (const auto& g : groups)
        removed.push_back(g.groupId);
    writeMemberships(userId, removed, {});
    if (hooks.removeUserRelationships)
        hooks.removeUserRelationships(userId);
    m_userModel->removeUser(userId);
}

// A deleted transcriptionist of this partition or below comes back as a new user, then shown.
void UA_User_Mgmt::UndeleteTranscriptionist() {
    UA_User_Mgmt_Undelete dialog(m_login.user.Partition_ID, Users(), this);
    if (!dialog.LoadList() || run(dialog) != QDialog::Accepted)
        return;
    refreshCurrent();
    SelectUsers({dialog.RestoredUserId()});
}

// ---- groups ----------------------------------------------------------------------------------

void UA_User_Mgmt::AddGroupMain() {
    AddGroup(m_folder == UserFolder::Transcription ? kTranscriptionGroup
             : m_folder == UserFolder::Physicians  ? kPhysicianGroup
                                                   : kGeneralGroup);
}

void UA_User_Mgmt::AddGroup(long groupType) {
    if (hooks.editGroup && hooks.editGroup(this, 0, groupType) && LoadGroupsIntoCollection(&m_groups) &&
        m_data.LoadMemberships())
        refreshCurrent();
}

void UA_User_Mgmt::EditGroup() {
    const clsSecurityGroup* group = selectedGroup();
    if (!group || !hooks.editGroup)
        return;
    if (hooks.editGroup(this, group->m_lngGroupId, group->m_lngGroupType) && LoadGroupsIntoCollection(&m_groups) &&
        m_data.LoadMemberships())
        refreshCurrent();
}

void UA_User_Mgmt::DeleteGroup() {
    const clsSecurityGroup* group = selectedGroup();
    if (!group || !hooks.deleteGroup)
        return;
    const long id = group->m_lngGroupId;
    if (!hooks.deleteGroup(this, id))
        return;
    m_groups.Remove(clsSecurityGroups::Key(id));
    m_data.LoadMemberships();
    if (m_lngGroupId == id)
        m_lngGroupId = 0;
    refreshCurrent();
}

// ---- privileges and policies -----------------------------------------------------------------

void UA_User_Mgmt::openPrivileges(long id, const std::string& name, bool isGroup, long partitionId) {
    int accounts = 0;
    for (int i = 1; i <= m_login.NumberHospAccounts(); ++i)
        accounts += m_login.HospAccountAt(i).hosp_acct_id > 0 && !m_login.HospAccountAt(i).is_deleted ? 1 : 0;
    if (accounts == 0) {
        MsgBox(kNoAccounts, MsgButtons::OK, MsgIcon::Exclamation, kTitle);
        return;
    }
    UA_Privileges_New screen(m_login, actingKinds(), this);
    if (screen.LoadForm(id, name, isGroup, partitionId))
        run(screen);
}

void UA_User_Mgmt::openPrinterPrivileges(long id, const std::string& name, bool isGroup, long partitionId) {
    UA_Printer_Privs screen(this);
    if (screen.LoadForm(id, name, isGroup, partitionId, physicians::PartitionCache().size() > 1))
        run(screen);
}

void UA_User_Mgmt::PrivilegesUser() {
    if (clsUser* u = singleSelectedUser())
        openPrivileges(u->m_lngUserId, u->m_strUserName, false, u->Partition_ID());
}

void UA_User_Mgmt::PrivilegesGroup() {
    if (const clsSecurityGroup* g = selectedGroup())
        openPrivileges(g->m_lngGroupId, g->m_strGroupName, true, g->Partition_ID());
}

void UA_User_Mgmt::PrinterPrivilegesUser() {
    if (clsUser* u = singleSelectedUser())
        openPrinterPrivileges(u->m_lngUserId, u->m_strUserName, false, u->Partition_ID());
}

void UA_User_Mgmt::PrinterPrivilegesGroup() {
    if (const clsSecurityGroup* g = selectedGroup())
        openPrinterPrivileges(g->m_lngGroupId, g->m_strGroupName, true, g->Partition_ID());
}

// What the user may do and why, read from the stored privileges without opening the editor.
void UA_User_Mgmt::EffectiveAccessUser() {
    clsUser* u = singleSelectedUser();
    if (!u)
        return;
    UA_Privileges_New screen(m_login, actingKinds(), this);
    if (!screen.LoadForm(u->m_lngUserId, u->m_strUserName, false, u->Partition_ID()))
        return;
    UA_Effective_Access view(screen.Privileges(), this);
    run(view);
}

// The physician profile of a physician user, in the profile editor. The editor may delete the user
// (user access taken away), so the list is shown again from the collection afterwards.
void UA_User_Mgmt::PhysicianProfileUser() {
    const clsUser* u = singleSelectedUser();
    if (!u || u->m_lngPhysicianId <= 0 || !hooks.openPhysician)
        return;
    hooks.openPhysician(this, u->m_lngPhysicianId);
    refreshCurrent();
}

void UA_User_Mgmt::assignPolicy(const std::vector<long>& ids, bool groups) {
    std::vector<int> current;
    for (long id : ids) {
        if (groups)
            current.push_back(0);
        else if (const clsUser* u = Users().Item(clsUsers::Key(id)))
            current.push_back(u->m_bytUserPolicy);
    }
    UA_Set_Policy dialog(m_policies, groups ? std::vector<int>{} : current, this);
    if (run(dialog) != QDialog::Accepted || !dialog.ChosenPolicy())
        return;
    const int policy = *dialog.ChosenPolicy();
    const clsUserPolicy* p = m_policies.Item(clsUserPolicies::Key(policy));
    const std::string name = p ? p->m_strPolicyName : std::to_string(policy);
    for (long id : ids)
        if (!AssignUserPolicy(id, policy, name))
            break;
}

void UA_User_Mgmt::SetPolicyUser() {
    std::vector<long> ids;
    for (const clsUser* u : selectedUsers())
        ids.push_back(u->m_lngUserId);
    if (!ids.empty())
        assignPolicy(ids, false);
}

// A group's policy is given to every member of the group.
void UA_User_Mgmt::SetPolicyGroup() {
    const clsSecurityGroup* g = selectedGroup();
    if (!g)
        return;
    const auto it = m_data.membersOfGroup.find(g->m_lngGroupId);
    if (it != m_data.membersOfGroup.end() && !it->second.empty())
        assignPolicy(it->second, false);
}

void UA_User_Mgmt::UserPolicies() {
    if (hooks.openUserPolicies)
        hooks.openUserPolicies(this);
    if (m_policies.LoadAll())
        refreshCurrent();
}

// ---- messages, locked reports, relationships -------------------------------------------------

void UA_User_Mgmt::SendMessageUser() {
    std::vector<long> ids;
    for (const clsUser* u : selectedUsers())
        ids.push_back(u->m_lngUserId);
    if (hooks.sendMessage && !ids.empty())
        hooks.sendMessage(this, ids);
}

void UA_User_Mgmt::SendMessageGroup() {
    const clsSecurityGroup* g = selectedGroup();
    if (!g || !hooks.sendMessage)
        return;
    const auto it = m_data.membersOfGroup.find(g->m_lngGroupId);
    if (it != m_data.membersOfGroup.end())
        hooks.sendMessage(this, it->second);
}

void UA_User_Mgmt::LockedReports() {
    if (hooks.lockedReports)
        hooks.lockedReports(this);
}

void UA_User_Mgmt::AddRelationship() {
    if (m_relationship && hooks.addRelationship && hooks.addRelationship(this, *m_relationship))
        showRelationships(*m_relationship);
}

void UA_User_Mgmt::EditRelationship() {
    const int row = lvwRelationships->currentIndex().row();
    if (m_relationship && hooks.editRelationship && hooks.editRelationship(this, *m_relationship, row))
        showRelationships(*m_relationship);
}

void UA_User_Mgmt::DeleteRelationship() {
    const int row = lvwRelationships->currentIndex().row();
    if (m_relationship && hooks.deleteRelationship && hooks.deleteRelationship(this, *m_relationship, row))
        showRelationships(*m_relationship);
}

void UA_User_Mgmt::ViewAllRelationships() {
    if (!hooks.viewAllRelationships)
        return;
    // In a relationship folder the row's dictating physician user, else the one selected user.
    if (m_relationship) {
        const QModelIndex at = lvwRelationships->currentIndex();
        if (at.isValid())
            hooks.viewAllRelationships(this, static_cast<long>(at.siblingAtColumn(0).data(Qt::UserRole).toLongLong()));
        return;
    }
    const auto users = selectedUsers();
    hooks.viewAllRelationships(this, users.size() == 1 ? users.front()->m_lngUserId : 0);
}

void UA_User_Mgmt::RefreshPendingReports() {
    status("Retrieving Pending Reports...");
    if (m_data.LoadPendingReports())
        m_userModel->setPending([this](long userId) {
            const clsUser* u = Users().Item(clsUsers::Key(userId));
            return u ? m_data.PendingFor(*u) : 0;
        });
    status("");
}

void UA_User_Mgmt::CloseMain() {
    if (QWidget* frame = parentWidget(); frame && frame->inherits("QMdiSubWindow"))
        frame->close();
    else
        close();
}

} // namespace users
