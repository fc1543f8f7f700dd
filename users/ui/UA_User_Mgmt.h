#pragma once

#include "AdminAuthority.h"
#include "UA_User_Mgmt_Edit.h"
#include "UserMgmtData.h"
#include "UserMgmtHooks.h"
#include "clsSecurityGroups.h"
#include "clsUserPolicies.h"

#include <QWidget>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QDialog;
class QLineEdit;
class QMenu;
class QStackedWidget;
class QStandardItemModel;
class QTableView;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;

namespace suite {
class LoginComponent;
}

namespace users {

class UserListModel;
struct UserListRow;

// "User Management": the folders and groups (tvwGroups), the users of the selected one (lvwUsers)
// or the groups of a folder (lvwGroups), and every command on users, groups and relationships.
class UA_User_Mgmt : public QWidget {
    Q_OBJECT
public:
    explicit UA_User_Mgmt(suite::LoginComponent& login, QWidget* parent = nullptr);

    // Loads users, policies, groups, memberships, relationships and pending reports; false after
    // "Error retrieving users" (the caller closes the window).
    bool MyShow();

    UserMgmtHooks hooks;
    UserEditContext editContext; // the acting administrator's kinds and the site's rule 13 flag
    std::string promptFolder;    // KALDRA/PROMPTS under the network root
    std::string networkRoot;     // for the routines folders of a user that changes partition
    // Runs the modal dialogs this screen opens; tests look at the dialog instead of waiting on it.
    std::function<int(QDialog&)> runDialog;

    // Selecting in the tree: a folder's caption or a group's id.
    bool SelectFolder(UserFolder folder);
    bool SelectGroup(long groupId);
    // Selects users of the list by id (the others are unselected).
    void SelectUsers(const std::vector<long>& userIds);
    void SetFilterText(const QString& text);
    // Opens the group editor for a new group of the type; on a save the groups are read again.
    void AddGroup(long groupType);

    [[nodiscard]] UserListModel* userModel() const { return m_userModel; }
    [[nodiscard]] QStandardItemModel* groupModel() const { return m_groupModel; }
    [[nodiscard]] clsSecurityGroups& Groups() { return m_groups; }
    [[nodiscard]] const UserMgmtData& Data() const { return m_data; }
    [[nodiscard]] QMenu* Menu(const char* name) const;
    // What File > Export List writes: the focused list, or the list shown when the focus is in the
    // folder tree or the filter box.
    [[nodiscard]] QWidget* ListToExport(QWidget* focused) const;

    static constexpr const char* kOnlyOne = "Only one user can be selected to perform this operation.";
    static constexpr const char* kNoAccounts =
        "There are no accounts defined.  Please use the Account Editor to add an account.";

public Q_SLOTS:
    void AddUserMain();
    void EditUser();
    void DeleteUser();
    void UndeleteTranscriptionist();
    void AddGroupMain();
    void EditGroup();
    void DeleteGroup();
    void PrivilegesUser();
    void PrivilegesGroup();
    void PrinterPrivilegesUser();
    void PrinterPrivilegesGroup();
    void EffectiveAccessUser();
    void PhysicianProfileUser();
    void SetPolicyUser();
    void SetPolicyGroup();
    void SendMessageUser();
    void SendMessageGroup();
    void AddRelationship();
    void EditRelationship();
    void DeleteRelationship();
    void ViewAllRelationships();
    void RefreshPendingReports();
    void LockedReports();
    void UserPolicies();
    // "Import Users" (toolbar and File menu): the bulk import of a CSV file, then the lists again.
    void ImportUsers();
    void CloseMain();

private:
    void buildToolbar();
    void buildMenus();
    void fillTree();
    void tvwGroups_Changed();
    void showUsers(const std::vector<const clsUser*>& users, long groupId);
    void showGroupsOfType(long groupType);
    void showRelationships(RelationshipKind kind);
    void refreshCurrent();
    void enableCommands();
    [[nodiscard]] UserListRow rowFor(const clsUser& user, long groupId) const;
    [[nodiscard]] std::vector<clsUser*> selectedUsers() const;
    [[nodiscard]] clsUser* singleSelectedUser();
    [[nodiscard]] clsSecurityGroup* selectedGroup();
    [[nodiscard]] bool listedHere(const clsUser& user) const;
    [[nodiscard]] std::vector<UserGroupEntry> groupsOf(long userId);
    [[nodiscard]] AdminKinds actingKinds() const;
    bool editAndSave(clsUser& user, bool isNew, bool transcriptionist = false);
    void writeMemberships(long userId, const std::vector<long>& removed, const std::vector<long>& added);
    bool confirmDelete(const clsUser& user);
    void openPrivileges(long id, const std::string& name, bool isGroup, long partitionId);
    void openPrinterPrivileges(long id, const std::string& name, bool isGroup, long partitionId);
    void assignPolicy(const std::vector<long>& ids, bool groups);
    void status(const char* text);
    int run(QDialog& dialog);

    suite::LoginComponent& m_login;
    clsSecurityGroups m_groups;
    clsUserPolicies m_policies;
    UserMgmtData m_data;
    std::optional<UserFolder> m_folder; // the selected folder, when a folder is selected
    long m_lngGroupId = 0;              // the selected group, when a group is selected
    std::optional<RelationshipKind> m_relationship;

    QToolBar* m_toolbar;
    QTreeWidget* tvwGroups;
    QLineEdit* txtFilter;
    QStackedWidget* m_lists;
    QTableView* lvwUsers;
    QTableView* lvwGroups;
    QTableView* lvwRelationships;
    UserListModel* m_userModel;
    QStandardItemModel* m_groupModel;
    std::map<std::string, QAction*> m_actions;
    std::map<std::string, QMenu*> m_menus;
};

} // namespace users
