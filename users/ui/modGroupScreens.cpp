#include "modGroupScreens.h"

#include "Interaction.h"
#include "MessageService.h"
#include "UA_Add_Users_Groups.h"
#include "UA_Group_Edit.h"
#include "modUserStore.h"

namespace users {

namespace {

using platform::MsgAnswer;
using platform::MsgBox;
using platform::MsgButtons;
using platform::MsgIcon;

constexpr const char* kSaving = "Saving Group Information...Please Wait.";

// The wait window for the length of a save.
class Saving {
public:
    Saving() { platform::WaitWindow::instance().open("User Management", kSaving); }
    ~Saving() { platform::WaitWindow::instance().close(); }
    Saving(const Saving&) = delete;
    Saving& operator=(const Saving&) = delete;
};

std::string joined(const std::vector<std::string>& names) {
    std::string out;
    for (const auto& n : names)
        out += (out.empty() ? "" : ", ") + n;
    return out;
}

} // namespace

GroupSavedHook& GroupSaved() {
    static GroupSavedHook hook;
    return hook;
}

long AddGroupMain(QWidget* parent, const clsUsers& users, clsSecurityGroups& groups) {
    clsSecurityGroup fresh;
    UA_Group_Edit editor(fresh, users, parent);
    if (editor.exec() != QDialog::Accepted)
        return 0;
    clsSecurityGroup group = editor.Group();
    Saving saving;
    InsertGroup(group, groups); // a failure has been shown; a group whose row went in stays listed
    const clsSecurityGroup* saved = groups.Item(clsSecurityGroups::Key(group.m_lngGroupId));
    if (!saved)
        return 0;
    if (GroupSaved())
        GroupSaved()(clsSecurityGroup(), *saved, users);
    return group.m_lngGroupId;
}

bool EditGroup(QWidget* parent, long groupId, const clsUsers& users, clsSecurityGroups& groups) {
    const clsSecurityGroup* held = groups.Item(clsSecurityGroups::Key(groupId));
    if (!held)
        return false;
    if (held->IsBuiltIn()) {
        MsgBox("This group cannot be edited because it is a built-in group.", MsgButtons::OK, MsgIcon::Exclamation,
               "Edit Group");
        return false;
    }
    if (held->Read_Only()) {
        MsgBox("Shared groups cannot be edited", MsgButtons::OK, MsgIcon::Exclamation, "Shared Group");
        return false;
    }
    const clsSecurityGroup before = *held;
    UA_Group_Edit editor(before, users, parent);
    if (editor.exec() != QDialog::Accepted)
        return false;
    Saving saving;
    if (!UpdateGroup(editor.Group(), groups))
        return false;
    if (GroupSaved())
        GroupSaved()(before, editor.Group(), users);
    return true;
}

bool DeleteGroupMain(QWidget*, long groupId, clsSecurityGroups& groups) {
    const std::string key = clsSecurityGroups::Key(groupId);
    const clsSecurityGroup* held = groups.Item(key);
    if (!held)
        return false;
    if (held->IsBuiltIn()) {
        MsgBox(held->m_strGroupName + " is a built-in group.  Built-in groups cannot be deleted.", MsgButtons::OK,
               MsgIcon::Exclamation, "Delete Group");
        return false;
    }
    if (held->Read_Only()) {
        MsgBox("Shared groups cannot be deleted", MsgButtons::OK, MsgIcon::Exclamation, "Shared Groups");
        return false;
    }
    std::vector<std::string> surrogateFor, cosignerFor;
    if (!GroupRelationshipNames(groupId, surrogateFor, cosignerFor)) {
        MsgBox(kGroupDeleteFailed, MsgButtons::OK, MsgIcon::Critical, "User Management");
        return false;
    }
    std::string question;
    if (!surrogateFor.empty())
        question += "This group is a surrogate for the following users: " + joined(surrogateFor) + "\n\n";
    if (!cosignerFor.empty())
        question +=
            "This group is in a cosigner or resident relationship with the following users: " + joined(cosignerFor) +
            "\n\n";
    question += "Are you sure you want to delete group " + held->m_strGroupName +
                "?  Note that this action will not delete the group members.";
    if (MsgBox(question, MsgButtons::YesNo, MsgIcon::Question, "Delete Group") != MsgAnswer::Yes)
        return false;
    return DeleteGroup(key, groups);
}

bool AddUserGroups(QWidget* parent, const clsUser& user, std::vector<long>& userGroups,
                   const clsSecurityGroups& groups) {
    UA_Add_Users_Groups picker(UA_Add_Users_Groups::Mode::Groups, parent);
    picker.LoadGroups(user, userGroups, groups);
    if (picker.Offered() == 0) {
        MsgBox(UA_Add_Users_Groups::kNoGroupsLeft, MsgButtons::OK, MsgIcon::Information, "Add Groups");
        return false;
    }
    if (picker.exec() != QDialog::Accepted)
        return false;
    const auto chosen = picker.CheckedIds();
    userGroups.insert(userGroups.end(), chosen.begin(), chosen.end());
    return !chosen.empty();
}

std::vector<long> GroupsOfUser(long userId, const clsSecurityGroups& groups) {
    std::vector<long> out;
    for (const clsSecurityGroup& g : groups)
        if (g.IsMember(userId))
            out.push_back(g.m_lngGroupId);
    return out;
}

bool LoadUsersAndGroups(clsUsers& users, clsSecurityGroups& groups) {
    if (LoadActiveUsers(&users) && LoadGroupsIntoCollection(&groups) && LoadGroupMembers(groups))
        return true;
    MsgBox("Error retrieving users", MsgButtons::OK, MsgIcon::Critical, "User Management");
    return false;
}

} // namespace users
