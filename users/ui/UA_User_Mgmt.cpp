#include "UA_User_Mgmt.h"

#include "DatabaseSession.h"
#include "LoginComponent.h"
#include "MessageService.h"
#include "RoutinesFolders.h"
#include "Text.h"
#include "UA_Effective_Access.h"
#include "UA_Printer_Privs.h"
#include "UA_Privileges_New.h"
#include "UA_Set_Policy.h"
#include "UA_User_Type.h"
#include "UserGroupMemberships.h"
#include "UserImages.h"
#include "UserListModel.h"
#include "clsPartition.h"
#include "modPartition.h"
#include "modUserStore.h"

#include <QAction>
#include <QHeaderView>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QShortcut>
#include <QSplitter>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QTableView>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <unordered_map>

namespace users {

using foundation::DatabaseSession;
using platform::MsgAnswer;
using platform::MsgBox;
using platform::MsgButtons;
using platform::MsgIcon;

namespace {

constexpr const char* kTitle = "User Management";
constexpr int kFolderRole = Qt::UserRole + 1; // the UserFolder of a folder item
constexpr int kGroupRole = Qt::UserRole + 2;  // the group id of a group item

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

// The texts many rows have in common (partition, type, picture key), made once per fill and shared
// by the rows, so that a list of tens of thousands of users converts and holds each of them once.
struct SharedRowTexts {
    std::unordered_map<long, QString> partitions;
    std::unordered_map<std::string, QString> types, images;

    static const QString& of(std::unordered_map<std::string, QString>& texts, const std::string& text) {
        auto it = texts.find(text);
        if (it == texts.end())
            it = texts.emplace(text, q(text)).first;
        return it->second;
    }
    const QString& partition(const clsUser& u) {
        auto it = partitions.find(u.Partition_ID());
        if (it == partitions.end())
            it = partitions.emplace(u.Partition_ID(), q(u.Partition_Name())).first;
        return it->second;
    }
};

UserListRow listRow(const clsUser& u, long groupId, clsSecurityGroups& groups, const UserMgmtData& data,
                    SharedRowTexts& shared) {
    UserListRow r;
    r.userId = u.m_lngUserId;
    r.readOnly = u.Read_Only();
    r.userName = q(u.m_strUserName) + (r.readOnly ? " {RO}" : "");
    r.firstName = q(u.m_strFirstName);
    r.lastName = q(u.m_strLastName);
    if (groupId) {
        if (const clsSecurityGroup* g = groups.Item(clsSecurityGroups::Key(groupId)))
            r.groupAccess = q(g->m_strGroupName);
    } else {
        r.groupAccess = q(data.GroupNamesOf(u.m_lngUserId, groups));
    }
    r.type = SharedRowTexts::of(shared.types, UserTypeText(u));
    r.pendingReports = data.PendingFor(u);
    r.partition = shared.partition(u);
    r.promptScript = q(u.m_strPromptScript);
    r.imageKey = SharedRowTexts::of(shared.images, u.GetImage(groupId != 0));
    return r;
}

} // namespace

UA_User_Mgmt::UA_User_Mgmt(suite::LoginComponent& login, QWidget* parent) : QWidget(parent), m_login(login) {
    setObjectName("UA_User_Mgmt");
    setWindowTitle(kTitle);
    runDialog = [](QDialog& d) { return d.exec(); };
    editContext.actingSystemAdministrator = login.user.is_administrator;
    auto* layout = new QVBoxLayout(this);
    m_toolbar = new QToolBar(this);
    m_toolbar->setObjectName("tbrUsers");
    layout->addWidget(m_toolbar);
    auto* split = new QSplitter(this);
    tvwGroups = new QTreeWidget(split);
    tvwGroups->setObjectName("tvwGroups");
    tvwGroups->setHeaderHidden(true);
    tvwGroups->setContextMenuPolicy(Qt::CustomContextMenu);
    auto* right = new QWidget(split);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    txtFilter = new QLineEdit(right);
    txtFilter->setObjectName("txtFilter");
    txtFilter->setPlaceholderText("Filter by user name, name or partition");
    txtFilter->setClearButtonEnabled(true);
    rightLayout->addWidget(txtFilter);
    m_lists = new QStackedWidget(right);
    m_userModel = new UserListModel(this);
    m_groupModel = new QStandardItemModel(0, 3, this);
    m_groupModel->setHorizontalHeaderLabels({"Group Name", "Description", "Users"});
    const auto makeView = [this](const char* name, QAbstractItemModel* model) {
        auto* view = new QTableView(m_lists);
        view->setObjectName(name);
        view->setModel(model);
        view->setSelectionBehavior(QAbstractItemView::SelectRows);
        view->setSortingEnabled(true);
        view->verticalHeader()->hide();
        view->horizontalHeader()->setStretchLastSection(true);
        view->setContextMenuPolicy(Qt::CustomContextMenu);
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        m_lists->addWidget(view);
        return view;
    };
    lvwUsers = makeView("lvwUsers", m_userModel);
    lvwUsers->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lvwUsers->sortByColumn(UserListModel::UserName, Qt::AscendingOrder);
    lvwGroups = makeView("lvwGroups", m_groupModel);
    lvwGroups->setSelectionMode(QAbstractItemView::SingleSelection);
    lvwGroups->sortByColumn(0, Qt::AscendingOrder);
    lvwRelationships = makeView("lvwRelationships", nullptr);
    lvwRelationships->setSortingEnabled(false);
    rightLayout->addWidget(m_lists);
    split->setStretchFactor(1, 3);
    layout->addWidget(split);
    buildToolbar();
    buildMenus();

    connect(tvwGroups, &QTreeWidget::currentItemChanged, this, [this] { tvwGroups_Changed(); });
    connect(txtFilter, &QLineEdit::textChanged, this, [this](const QString& t) { m_userModel->setFilterText(t); });
    connect(lvwUsers, &QTableView::doubleClicked, this, [this] { EditUser(); });
    connect(lvwGroups, &QTableView::doubleClicked, this, [this] { EditGroup(); });
    connect(lvwRelationships, &QTableView::doubleClicked, this, [this] { EditRelationship(); });
    const auto popup = [this](QTableView* view, const char* menu) {
        connect(view, &QWidget::customContextMenuRequested, this, [this, view, menu](const QPoint& at) {
            enableCommands();
            m_menus[menu]->popup(view->viewport()->mapToGlobal(at));
        });
    };
    popup(lvwUsers, "mnuUserMenu");
    popup(lvwGroups, "mnuGroupMenu");
    popup(lvwRelationships, "mnuRelationship");
    connect(tvwGroups, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        enableCommands();
        QMenu* menu = m_relationship ? m_menus["mnuRelationshipFolder"]
                      : m_lngGroupId ? m_menus["mnuGroupMenu"]
                                     : m_menus["mnuFolder"];
        menu->popup(tvwGroups->viewport()->mapToGlobal(at));
    });
    // Insert adds, Enter edits, Delete deletes, F5 refreshes.
    const auto key = [this](QKeySequence seq, auto slot) {
        auto* sc = new QShortcut(seq, this, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
        connect(sc, &QShortcut::activated, this, slot);
    };
    key(QKeySequence(Qt::Key_Insert), [this] { m_lngGroupId || m_folder ? AddUserMain() : AddRelationship(); });
    // In a relationship folder they act on the relationship, never on the users list hidden behind it.
    for (const Qt::Key enter : {Qt::Key_Return, Qt::Key_Enter})
        key(QKeySequence(enter), [this] {
            m_relationship ? EditRelationship() : lvwGroups->hasFocus() ? EditGroup() : EditUser();
        });
    key(QKeySequence(Qt::Key_Delete), [this] {
        m_relationship ? DeleteRelationship() : lvwGroups->hasFocus() ? DeleteGroup() : DeleteUser();
    });
    key(QKeySequence(Qt::Key_F5), [this] { RefreshPendingReports(); });
}

void UA_User_Mgmt::buildToolbar() {
    const std::pair<const char*, const char*> buttons[] = {{"HAdd", "&Add User"},
                                                           {"HEdit", "&Edit User"},
                                                           {"HDelete", "&Delete User"},
                                                           {"HPrivs", "&Privileges"},
                                                           {"HPrinterPrivs", "P&rinter Privileges"},
                                                           {"HAddGroup", "Add &Group"},
                                                           {"HImport", "&Import Users"},
                                                           {"HClose", "&Close"}};
    for (const auto& [name, caption] : buttons) {
        QAction* a = m_toolbar->addAction(caption);
        a->setObjectName(name);
        m_actions[name] = a;
    }
    connect(m_actions["HAdd"], &QAction::triggered, this, &UA_User_Mgmt::AddUserMain);
    connect(m_actions["HEdit"], &QAction::triggered, this, &UA_User_Mgmt::EditUser);
    connect(m_actions["HDelete"], &QAction::triggered, this, &UA_User_Mgmt::DeleteUser);
    connect(m_actions["HPrivs"], &QAction::triggered, this,
            [this] { m_lists->currentWidget() == lvwGroups ? PrivilegesGroup() : PrivilegesUser(); });
    connect(m_actions["HPrinterPrivs"], &QAction::triggered, this,
            [this] { m_lists->currentWidget() == lvwGroups ? PrinterPrivilegesGroup() : PrinterPrivilegesUser(); });
    connect(m_actions["HAddGroup"], &QAction::triggered, this, &UA_User_Mgmt::AddGroupMain);
    connect(m_actions["HImport"], &QAction::triggered, this, &UA_User_Mgmt::ImportUsers);
    connect(m_actions["HClose"], &QAction::triggered, this, &UA_User_Mgmt::CloseMain);
}

void UA_User_Mgmt::buildMenus() {
    struct Entry {
        const char* menu;
        const char* name;
        const char* caption;
        void (UA_User_Mgmt::*slot)();
    };
    const Entry entries[] = {
        {"mnuUserMenu", "AddUserMain", "&Add User...", &UA_User_Mgmt::AddUserMain},
        {"mnuUserMenu", "EditUser", "&Edit User...", &UA_User_Mgmt::EditUser},
        {"mnuUserMenu", "DeleteUser", "&Delete User", &UA_User_Mgmt::DeleteUser},
        {"mnuUserMenu", "PrivilegesUser", "Privileges Editor", &UA_User_Mgmt::PrivilegesUser},
        {"mnuUserMenu", "PrinterPrivilegesUser", "P&rinter Privileges...", &UA_User_Mgmt::PrinterPrivilegesUser},
        {"mnuUserMenu", "EffectiveAccessUser", "Effective Access...", &UA_User_Mgmt::EffectiveAccessUser},
        {"mnuUserMenu", "PhysicianProfileUser", "P&hysician Profile...", &UA_User_Mgmt::PhysicianProfileUser},
        {"mnuUserMenu", "SetPolicyUser", "Set &Policy...", &UA_User_Mgmt::SetPolicyUser},
        {"mnuUserMenu", "SendMessageUser", "&Send Message...", &UA_User_Mgmt::SendMessageUser},
        {"mnuUserMenu", "RefreshPendingReports", "Refresh Pending Reports", &UA_User_Mgmt::RefreshPendingReports},
        {"mnuUserMenu", "LockedReports", "Loc&ked Reports...", &UA_User_Mgmt::LockedReports},
        {"mnuUserMenu", "UserPolicies", "User P&olicies...", &UA_User_Mgmt::UserPolicies},
        {"mnuGroupMenu", "AddGroupMain", "Add new group", &UA_User_Mgmt::AddGroupMain},
        {"mnuGroupMenu", "EditGroup", "&Edit Group...", &UA_User_Mgmt::EditGroup},
        {"mnuGroupMenu", "DeleteGroup", "&Delete Group", &UA_User_Mgmt::DeleteGroup},
        {"mnuGroupMenu", "PrivilegesGroup", "Privileges Editor", &UA_User_Mgmt::PrivilegesGroup},
        {"mnuGroupMenu", "PrinterPrivilegesGroup", "P&rinter Privileges...", &UA_User_Mgmt::PrinterPrivilegesGroup},
        {"mnuGroupMenu", "SetPolicyGroup", "Set &Policy...", &UA_User_Mgmt::SetPolicyGroup},
        {"mnuGroupMenu", "SendMessageGroup", "&Send Message...", &UA_User_Mgmt::SendMessageGroup},
        {"mnuRelationship", "AddRelationship", "&Add Relationship", &UA_User_Mgmt::AddRelationship},
        {"mnuRelationship", "EditRelationship", "&Edit Relationship", &UA_User_Mgmt::EditRelationship},
        {"mnuRelationship", "DeleteRelationship", "&Delete Relationship", &UA_User_Mgmt::DeleteRelationship},
        {"mnuRelationship", "ViewAllRelationships", "&View All Relationships", &UA_User_Mgmt::ViewAllRelationships},
        {"mnuFolder", "AddGroupMain2", "Add new group", &UA_User_Mgmt::AddGroupMain},
        {"mnuFolder", "AddUserMain2", "&Add User...", &UA_User_Mgmt::AddUserMain},
        {"mnuFolder", "UndeleteTranscriptionist", "&Undelete a Transcriptionist...",
         &UA_User_Mgmt::UndeleteTranscriptionist},
        {"mnuRelationshipFolder", "AddRelationship2", "Add new relationship", &UA_User_Mgmt::AddRelationship},
    };
    for (const auto& e : entries) {
        QMenu*& menu = m_menus[e.menu];
        if (!menu) {
            menu = new QMenu(this);
            menu->setObjectName(e.menu);
        }
        QAction* a = menu->addAction(e.caption);
        a->setObjectName(e.name);
        m_actions[e.name] = a;
        connect(a, &QAction::triggered, this, e.slot);
    }
}

QMenu* UA_User_Mgmt::Menu(const char* name) const {
    const auto it = m_menus.find(name);
    return it == m_menus.end() ? nullptr : it->second;
}

QWidget* UA_User_Mgmt::ListToExport(QWidget* focused) const {
    for (QWidget* w = focused; w; w = w->parentWidget())
        if (w == lvwUsers || w == lvwGroups || w == lvwRelationships)
            return w;
    return m_lists->currentWidget();
}

void UA_User_Mgmt::status(const char* text) {
    if (hooks.status)
        hooks.status(QString::fromLatin1(text));
}

int UA_User_Mgmt::run(QDialog& dialog) {
    return runDialog ? runDialog(dialog) : dialog.exec();
}

bool UA_User_Mgmt::MyShow() {
    const auto fail = [this] {
        MsgBox("Error retrieving users", MsgButtons::OK, MsgIcon::Critical, kTitle);
        status("");
        return false;
    };
    status("Retrieving Users...");
    if (!LoadActiveUsers(&Users()))
        return fail();
    status("Retrieving Policies...");
    if (!m_policies.LoadAll())
        return fail();
    status("Retrieving Groups...");
    if (!LoadGroupsIntoCollection(&m_groups))
        return fail();
    status("Retrieving Group Members...");
    if (!m_data.LoadMemberships())
        return fail();
    m_data.LoadUserSharing();
    if (hooks.loadRelationships && !hooks.loadRelationships())
        return fail();
    status("Retrieving Pending Reports...");
    if (!m_data.LoadPendingReports())
        return fail();
    fillTree();
    status("");
    return true;
}

// ---- the tree and the lists ------------------------------------------------------------------

bool UA_User_Mgmt::listedHere(const clsUser& user) const {
    return UserListedFor(user, m_login.user.Partition_ID, m_data.userSharing);
}

void UA_User_Mgmt::fillTree() {
    const QSignalBlocker block(tvwGroups);
    const std::optional<UserFolder> folder = m_folder;
    const long group = m_lngGroupId;
    const std::optional<RelationshipKind> relationship = m_relationship;
    tvwGroups->clear();
    const auto addFolder = [this](QTreeWidgetItem* parent, UserFolder f) {
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tvwGroups);
        item->setText(0, FolderCaption(f));
        item->setData(0, kFolderRole, static_cast<int>(f));
        return item;
    };
    QTreeWidgetItem* admins = addFolder(nullptr, UserFolder::AdministratorGroups);
    addFolder(admins, UserFolder::SystemAdministrators);
    addFolder(admins, UserFolder::TranscriptionAdministrators);
    addFolder(admins, UserFolder::PhysicianAdministrators);
    const std::pair<UserFolder, long> typed[] = {{UserFolder::General, kGeneralGroup},
                                                 {UserFolder::Transcription, kTranscriptionGroup},
                                                 {UserFolder::Physicians, kPhysicianGroup}};
    for (const auto& [f, type] : typed) {
        QTreeWidgetItem* parent = addFolder(nullptr, f);
        for (const clsSecurityGroup& g : m_groups) {
            if (g.m_lngGroupType != type || IsBuiltInGroupName(g.m_strGroupName))
                continue;
            auto* item = new QTreeWidgetItem(parent);
            item->setText(0, q(physicians::PartitionFolderName(g.m_strGroupName, g.Partition_ID())));
            item->setData(0, kGroupRole, QVariant::fromValue<qlonglong>(g.m_lngGroupId));
            item->setIcon(0, UserImages::Image(q(g.GetImage())));
        }
    }
    addFolder(nullptr, UserFolder::SurrogateRelationships);
    addFolder(nullptr, UserFolder::ResidentRelationships);
    addFolder(nullptr, UserFolder::CosignatureRelationships);
    tvwGroups->expandItem(admins);
    m_folder.reset();
    m_lngGroupId = 0;
    m_relationship.reset();
    if (group && SelectGroup(group))
        return;
    if (relationship)
        SelectFolder(relationship == RelationshipKind::Surrogate  ? UserFolder::SurrogateRelationships
                     : relationship == RelationshipKind::Resident ? UserFolder::ResidentRelationships
                                                                  : UserFolder::CosignatureRelationships);
    else
        SelectFolder(folder.value_or(UserFolder::AdministratorGroups));
}

bool UA_User_Mgmt::SelectFolder(UserFolder folder) {
    for (QTreeWidgetItemIterator it(tvwGroups); *it; ++it)
        if ((*it)->data(0, kFolderRole).isValid() && (*it)->data(0, kFolderRole).toInt() == static_cast<int>(folder)) {
            tvwGroups->setCurrentItem(*it);
            tvwGroups_Changed();
            return true;
        }
    return false;
}

bool UA_User_Mgmt::SelectGroup(long groupId) {
    for (QTreeWidgetItemIterator it(tvwGroups); *it; ++it)
        if ((*it)->data(0, kGroupRole).isValid() && (*it)->data(0, kGroupRole).toLongLong() == groupId) {
            tvwGroups->setCurrentItem(*it);
            tvwGroups_Changed();
            return true;
        }
    return false;
}

void UA_User_Mgmt::SetFilterText(const QString& text) {
    txtFilter->setText(text);
}

void UA_User_Mgmt::SelectUsers(const std::vector<long>& ids) {
    lvwUsers->clearSelection();
    for (long id : ids)
        if (const int row = m_userModel->rowOfUser(id); row >= 0)
            lvwUsers->selectionModel()->select(m_userModel->index(row, 0),
                                               QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

void UA_User_Mgmt::tvwGroups_Changed() {
    QTreeWidgetItem* item = tvwGroups->currentItem();
    m_folder.reset();
    m_lngGroupId = 0;
    m_relationship.reset();
    if (!item)
        return;
    if (item->data(0, kGroupRole).isValid()) {
        m_lngGroupId = static_cast<long>(item->data(0, kGroupRole).toLongLong());
        std::vector<const clsUser*> members;
        const auto it = m_data.membersOfGroup.find(m_lngGroupId);
        if (it != m_data.membersOfGroup.end())
            for (long id : it->second)
                if (const clsUser* u = Users().Item(clsUsers::Key(id)); u && listedHere(*u))
                    members.push_back(u);
        showUsers(members, m_lngGroupId);
        enableCommands();
        return;
    }
    const auto folder = static_cast<UserFolder>(item->data(0, kFolderRole).toInt());
    m_folder = folder;
    switch (folder) {
    case UserFolder::General:
        showGroupsOfType(kGeneralGroup);
        break;
    case UserFolder::Transcription:
        showGroupsOfType(kTranscriptionGroup);
        break;
    case UserFolder::Physicians:
        showGroupsOfType(kPhysicianGroup);
        break;
    case UserFolder::SurrogateRelationships:
        showRelationships(RelationshipKind::Surrogate);
        break;
    case UserFolder::ResidentRelationships:
        showRelationships(RelationshipKind::Resident);
        break;
    case UserFolder::CosignatureRelationships:
        showRelationships(RelationshipKind::Cosignature);
        break;
    default: {
        // The administrator folders list the users of their kind; the top folder every user shown here.
        std::vector<const clsUser*> users;
        for (const clsUser& u : Users()) {
            if (!listedHere(u))
                continue;
            const bool take = folder == UserFolder::SystemAdministrators          ? u.m_blnSystemAdministrator
                              : folder == UserFolder::TranscriptionAdministrators ? u.m_blnTransAdministrator
                              : folder == UserFolder::PhysicianAdministrators     ? u.m_blnPaxletAdministrator
                                                                                  : true;
            if (take)
                users.push_back(&u);
        }
        showUsers(users, 0);
    }
    }
    enableCommands();
}

UserListRow UA_User_Mgmt::rowFor(const clsUser& u, long groupId) const {
    SharedRowTexts shared;
    return listRow(u, groupId, const_cast<clsSecurityGroups&>(m_groups), m_data, shared);
}

void UA_User_Mgmt::showUsers(const std::vector<const clsUser*>& users, long groupId) {
    std::vector<UserListRow> rows;
    rows.reserve(users.size());
    SharedRowTexts shared;
    for (const clsUser* u : users)
        rows.push_back(listRow(*u, groupId, m_groups, m_data, shared));
    m_userModel->setRows(std::move(rows));
    m_userModel->setFilterText(txtFilter->text());
    m_lists->setCurrentWidget(lvwUsers);
    txtFilter->setEnabled(true);
}

void UA_User_Mgmt::showGroupsOfType(long type) {
    m_groupModel->removeRows(0, m_groupModel->rowCount());
    for (const clsSecurityGroup& g : m_groups) {
        if (g.m_lngGroupType != type || IsBuiltInGroupName(g.m_strGroupName))
            continue;
        const auto it = m_data.membersOfGroup.find(g.m_lngGroupId);
        auto* name = new QStandardItem(q(g.m_strGroupName) + (g.Read_Only() ? " {RO}" : ""));
        name->setData(QVariant::fromValue<qlonglong>(g.m_lngGroupId), Qt::UserRole);
        name->setIcon(UserImages::Image(q(g.GetImage())));
        auto* count = new QStandardItem;
        count->setData(static_cast<int>(it == m_data.membersOfGroup.end() ? 0 : it->second.size()), Qt::DisplayRole);
        m_groupModel->appendRow({name, new QStandardItem(q(g.m_strDescription)), count});
    }
    m_lists->setCurrentWidget(lvwGroups);
    txtFilter->setEnabled(false);
}

void UA_User_Mgmt::showRelationships(RelationshipKind kind) {
    m_folder.reset();
    m_relationship = kind;
    lvwRelationships->setModel(hooks.relationshipList ? hooks.relationshipList(kind) : nullptr);
    m_lists->setCurrentWidget(lvwRelationships);
    txtFilter->setEnabled(false);
}

void UA_User_Mgmt::refreshCurrent() {
    fillTree();
}

void UA_User_Mgmt::enableCommands() {
    const bool users = m_lists->currentWidget() == lvwUsers;
    const bool relationship = m_relationship.has_value();
    for (const char* name : {"EditUser", "DeleteUser", "PrivilegesUser", "PrinterPrivilegesUser", "EffectiveAccessUser",
                             "SetPolicyUser", "HEdit", "HDelete"})
        m_actions[name]->setEnabled(users);
    m_actions["SendMessageUser"]->setEnabled(users && bool(hooks.sendMessage));
    const auto chosen = selectedUsers();
    m_actions["PhysicianProfileUser"]->setEnabled(bool(hooks.openPhysician) && chosen.size() == 1 &&
                                                  chosen.front()->m_lngPhysicianId > 0);
    m_actions["SendMessageGroup"]->setEnabled(bool(hooks.sendMessage));
    m_actions["LockedReports"]->setEnabled(bool(hooks.lockedReports));
    for (const char* name : {"AddGroupMain", "AddGroupMain2", "HAddGroup", "EditGroup"})
        m_actions[name]->setEnabled(bool(hooks.editGroup));
    m_actions["DeleteGroup"]->setEnabled(bool(hooks.deleteGroup));
    m_actions["AddRelationship"]->setEnabled(relationship && bool(hooks.addRelationship));
    m_actions["AddRelationship2"]->setEnabled(relationship && bool(hooks.addRelationship));
    m_actions["EditRelationship"]->setEnabled(relationship && bool(hooks.editRelationship));
    m_actions["DeleteRelationship"]->setEnabled(relationship && bool(hooks.deleteRelationship));
    m_actions["ViewAllRelationships"]->setEnabled(bool(hooks.viewAllRelationships));
}

std::vector<clsUser*> UA_User_Mgmt::selectedUsers() const {
    std::vector<clsUser*> out;
    if (m_lists->currentWidget() != lvwUsers)
        return out;
    for (const QModelIndex& index : lvwUsers->selectionModel()->selectedRows())
        if (const UserListRow* r = m_userModel->rowAt(index.row()))
            if (clsUser* u = Users().Item(clsUsers::Key(r->userId)))
                out.push_back(u);
    return out;
}

clsUser* UA_User_Mgmt::singleSelectedUser() {
    const auto users = selectedUsers();
    if (users.size() > 1)
        MsgBox(kOnlyOne, MsgButtons::OK, MsgIcon::Exclamation, kTitle);
    return users.size() == 1 ? users.front() : nullptr;
}

clsSecurityGroup* UA_User_Mgmt::selectedGroup() {
    if (m_lngGroupId)
        return m_groups.Item(clsSecurityGroups::Key(m_lngGroupId));
    if (m_lists->currentWidget() != lvwGroups)
        return nullptr;
    const QModelIndex index = lvwGroups->currentIndex();
    if (!index.isValid())
        return nullptr;
    const long id = static_cast<long>(m_groupModel->index(index.row(), 0).data(Qt::UserRole).toLongLong());
    return m_groups.Item(clsSecurityGroups::Key(id));
}

std::vector<UserGroupEntry> UA_User_Mgmt::groupsOf(long userId) {
    return UserGroupEntries(userId, m_data, m_groups);
}

AdminKinds UA_User_Mgmt::actingKinds() const {
    return AdminKinds{m_login.user.is_administrator, m_login.user.is_paxlet_admin, m_login.user.is_trans_admin};
}

} // namespace users
