#include "UA_Group_Edit.h"

#include "GroupMembersModel.h"
#include "LoginComponent.h"
#include "MessageService.h"
#include "UA_Add_Users_Groups.h"
#include "clsPartition.h"
#include "clsUsers.h"
#include "modPartition.h"
#include "modSecurityGroups.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <set>

namespace users {

namespace {

constexpr int kMaxNameCharacters = 50;         // user_name
constexpr int kMaxDescriptionCharacters = 100; // description

using platform::MsgAnswer;
using platform::MsgBox;
using platform::MsgButtons;
using platform::MsgIcon;

QPushButton* button(const char* name, const char* caption, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

// The partitions the logged-in user governs: its own and those under it, in cache order.
std::vector<const physicians::clsPartition*> offeredPartitions() {
    std::vector<const physicians::clsPartition*> out;
    const auto* login = physicians::Partitions().login;
    const long own = login ? login->user.Partition_ID : 0;
    for (const auto& p : physicians::PartitionCache())
        if (p.Is_Under(own))
            out.push_back(&p);
    return out;
}

} // namespace

UA_Group_Edit::UA_Group_Edit(const clsSecurityGroup& group, const clsUsers& users, QWidget* parent)
    : QDialog(parent), m_group(group), m_users(users) {
    setObjectName("UA_Group_Edit");
    setWindowTitle(IsNew() ? "New Group" : "Edit Group");

    m_txtGroupName = new QLineEdit(QString::fromStdString(m_group.m_strGroupName), this);
    m_txtGroupName->setObjectName("txtGroupName");
    m_txtGroupName->setMaxLength(kMaxNameCharacters);
    m_txtDescription = new QLineEdit(QString::fromStdString(m_group.m_strDescription), this);
    m_txtDescription->setObjectName("txtDescription");
    m_txtDescription->setMaxLength(kMaxDescriptionCharacters);

    m_cboGroupType = new QComboBox(this);
    m_cboGroupType->setObjectName("cboGroupType");
    m_cboGroupType->addItem(kGeneralPhysician, QVariant::fromValue<qlonglong>(clsSecurityGroup::kPhysicianGroup));
    m_cboGroupType->addItem(kGeneralTranscriptionist,
                            QVariant::fromValue<qlonglong>(clsSecurityGroup::kTranscriptionGroup));
    if (IsNew() && m_group.m_lngGroupType <= 0)
        m_group.m_lngGroupType = clsSecurityGroup::kPhysicianGroup;
    int typeAt = m_cboGroupType->findData(QVariant::fromValue<qlonglong>(m_group.m_lngGroupType));
    if (typeAt < 0) { // a general group another program made: shown as its tree folder names it
        m_cboGroupType->addItem("General", QVariant::fromValue<qlonglong>(m_group.m_lngGroupType));
        typeAt = m_cboGroupType->count() - 1;
    }
    m_cboGroupType->setCurrentIndex(typeAt);
    m_cboGroupType->setEnabled(IsNew()); // the type is not written by a change of the group

    m_cboPartition = new QComboBox(this);
    m_cboPartition->setObjectName("cboPartition");
    for (const auto* p : offeredPartitions())
        m_cboPartition->addItem(QString::fromStdString(p->Partition_Name()),
                                QVariant::fromValue<qlonglong>(p->Partition_ID()));
    if (IsNew() && m_group.Partition_ID() < 0) {
        const auto* login = physicians::Partitions().login;
        m_group.Partition_ID(login ? login->user.Partition_ID : 0);
    }
    int partitionAt = m_cboPartition->findData(QVariant::fromValue<qlonglong>(m_group.Partition_ID()));
    if (partitionAt < 0) {
        m_cboPartition->addItem(QString::fromStdString(physicians::GetPartitionName(m_group.Partition_ID())),
                                QVariant::fromValue<qlonglong>(m_group.Partition_ID()));
        partitionAt = m_cboPartition->count() - 1;
    }
    m_cboPartition->setCurrentIndex(partitionAt);
    m_lngShownPartition = m_group.Partition_ID();

    m_chkShare = new QCheckBox("&Share with other partitions", this);
    m_chkShare->setObjectName("chkShare");
    m_chkShare->setChecked(m_group.Is_Shared());
    m_chkSign = new QCheckBox("&Proxy group (signing members sign as proxy)", this);
    m_chkSign->setObjectName("chkSign");
    m_chkSign->setChecked(m_group.IsProxyGroup());

    m_members = new GroupMembersModel(m_group, m_users, this);
    m_sorted = new QSortFilterProxyModel(this);
    m_sorted->setSourceModel(m_members);
    m_sorted->setSortCaseSensitivity(Qt::CaseInsensitive);
    m_lvwMembers = new QTableView(this);
    m_lvwMembers->setObjectName("lvwMembers");
    m_lvwMembers->setModel(m_sorted);
    m_lvwMembers->setSortingEnabled(true);
    m_lvwMembers->sortByColumn(GroupMembersModel::UserName, Qt::AscendingOrder);
    m_lvwMembers->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_lvwMembers->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_lvwMembers->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_lvwMembers->horizontalHeader()->setStretchLastSection(true);
    m_lvwMembers->verticalHeader()->hide();

    auto* add = button("cmdAdd", "&Add...", this);
    auto* remove = button("cmdRemove", "&Remove", this);
    auto* ok = button("cmdOK", "OK", this);
    ok->setDefault(true);
    auto* cancel = button("cmdCancel", "Cancel", this);

    connect(add, &QPushButton::clicked, this, &UA_Group_Edit::cmdAdd_Click);
    connect(remove, &QPushButton::clicked, this, &UA_Group_Edit::cmdRemove_Click);
    connect(ok, &QPushButton::clicked, this, &UA_Group_Edit::cmdOK_Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_cboGroupType, &QComboBox::currentIndexChanged, this, &UA_Group_Edit::cboGroupType_Click);
    connect(m_cboPartition, &QComboBox::currentIndexChanged, this, &UA_Group_Edit::cboPartition_Click);
    connect(m_chkShare, &QCheckBox::clicked, this, &UA_Group_Edit::chkShare_Click);
    connect(m_lvwMembers, &QTableView::doubleClicked, this, &UA_Group_Edit::lvwMembers_DblClick);

    auto* grid = new QGridLayout;
    auto row = [&](int r, const char* caption, QWidget* field) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(field);
        grid->addWidget(label, r, 0);
        grid->addWidget(field, r, 1);
    };
    row(0, "Group &Name:", m_txtGroupName);
    row(1, "&Description:", m_txtDescription);
    row(2, "Group &Type:", m_cboGroupType);
    row(3, "Par&tition:", m_cboPartition);
    grid->addWidget(m_chkShare, 4, 1);
    grid->addWidget(m_chkSign, 5, 1);
    auto* memberLabel = new QLabel("&Members:", this);
    memberLabel->setBuddy(m_lvwMembers);
    auto* memberButtons = new QHBoxLayout;
    memberButtons->addWidget(add);
    memberButtons->addWidget(remove);
    memberButtons->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(memberLabel);
    layout->addWidget(m_lvwMembers);
    layout->addLayout(memberButtons);
    layout->addLayout(buttons);
    setTabOrder(m_txtGroupName, m_txtDescription);
    setTabOrder(m_txtDescription, m_cboGroupType);
    setTabOrder(m_cboGroupType, m_cboPartition);
    setTabOrder(m_cboPartition, m_chkShare);
    setTabOrder(m_chkShare, m_chkSign);
    setTabOrder(m_chkSign, m_lvwMembers);
    setTabOrder(m_lvwMembers, add);
    setTabOrder(add, remove);
    setTabOrder(remove, ok);
    setTabOrder(ok, cancel);
    applyType();
    resize(640, 520);
}

void UA_Group_Edit::applyType() {
    const bool physician = m_group.IsPhysicianGroup();
    m_chkSign->setVisible(physician);
    m_members->setShowRelations(physician);
}

std::vector<const clsUser*> UA_Group_Edit::heldMembers() const {
    std::vector<const clsUser*> out;
    for (long id : m_group.UserIds())
        if (const clsUser* u = m_users.Item(clsUsers::Key(id)))
            out.push_back(u);
    return out;
}

bool UA_Group_Edit::wouldDropMembers(const clsSecurityGroup& candidate) const {
    const auto held = heldMembers();
    return std::any_of(held.begin(), held.end(), [&](const clsUser* u) { return !UserMayJoinGroup(*u, candidate); });
}

void UA_Group_Edit::cboGroupType_Click() {
    m_group.m_lngGroupType = static_cast<long>(m_cboGroupType->currentData().toLongLong());
    // Members of the other kind cannot stay in the group.
    m_group.RemoveInvalidGroup(heldMembers());
    m_members->Reload();
    applyType();
}

void UA_Group_Edit::cboPartition_Click() {
    const long chosen = static_cast<long>(m_cboPartition->currentData().toLongLong());
    if (chosen == m_lngShownPartition)
        return;
    clsSecurityGroup candidate = m_group;
    candidate.Partition_ID(chosen);
    if (wouldDropMembers(candidate) &&
        MsgBox(kChangePartition, MsgButtons::YesNo, MsgIcon::Question, "Change Partition") != MsgAnswer::Yes) {
        QSignalBlocker block(m_cboPartition);
        m_cboPartition->setCurrentIndex(m_cboPartition->findData(QVariant::fromValue<qlonglong>(m_lngShownPartition)));
        return;
    }
    m_lngShownPartition = chosen;
    m_group.Partition_ID(chosen);
    m_group.RemoveInvalidGroup(heldMembers());
    m_members->Reload();
}

void UA_Group_Edit::chkShare_Click() {
    clsSecurityGroup candidate = m_group;
    candidate.Is_Shared(m_chkShare->isChecked());
    if (wouldDropMembers(candidate) &&
        MsgBox(kChangeSharing, MsgButtons::YesNo, MsgIcon::Question, "Group Sharing") != MsgAnswer::Yes) {
        m_chkShare->setChecked(m_group.Is_Shared());
        return;
    }
    m_group.Is_Shared(m_chkShare->isChecked());
    m_group.RemoveInvalidGroup(heldMembers());
    m_members->Reload();
}

void UA_Group_Edit::lvwMembers_DblClick(const QModelIndex& index) {
    const QModelIndex source = m_sorted->mapToSource(index);
    m_members->ToggleRelation(source.row(), source.column());
}

void UA_Group_Edit::cmdAdd_Click() {
    UA_Add_Users_Groups picker(UA_Add_Users_Groups::Mode::Users, this);
    picker.LoadUsers(OfferedMembers(m_group, m_users));
    if (picker.Offered() == 0) {
        MsgBox(UA_Add_Users_Groups::kNoUsersLeft, MsgButtons::OK, MsgIcon::Information, "Add Users");
        return;
    }
    if (picker.exec() != QDialog::Accepted)
        return;
    const auto chosen = picker.CheckedIds();
    if (chosen.empty())
        return;
    for (long id : chosen)
        m_group.AddUserId(id);
    m_members->Reload();
}

void UA_Group_Edit::cmdRemove_Click() {
    std::set<long> chosen;
    for (const QModelIndex& i : m_lvwMembers->selectionModel()->selectedRows())
        chosen.insert(m_members->UserIdAt(m_sorted->mapToSource(i).row()));
    if (chosen.empty())
        return;
    for (long id : chosen)
        m_group.RemoveUserIdAndUserRelation(id);
    m_members->Reload();
}

void UA_Group_Edit::cmdOK_Click() {
    const std::string name = m_txtGroupName->text().trimmed().toStdString();
    auto refuse = [this](const char* text) {
        MsgBox(text, MsgButtons::OK, MsgIcon::Exclamation, "Group Name");
        m_txtGroupName->setFocus();
        m_txtGroupName->selectAll();
    };
    if (name.empty()) {
        refuse(kBlankName);
        return;
    }
    switch (CheckGroupName(name, m_group.m_lngGroupId)) {
    case GroupNameUse::Group:
        refuse(kGroupNameTaken);
        return;
    case GroupNameUse::User:
        refuse(kUserNameTaken);
        return;
    case GroupNameUse::Failed: // the session has shown the error
        return;
    case GroupNameUse::Free:
        break;
    }
    const bool proxy = m_group.IsPhysicianGroup() && m_chkSign->isChecked();
    if (proxy) {
        const auto& ids = m_group.UserIds();
        if (std::none_of(ids.begin(), ids.end(), [&](long id) { return m_group.SigningEnabledForUserId(id); }))
            MsgBox(kNoSigningMembers, MsgButtons::OK, MsgIcon::Exclamation, windowTitle().toStdString());
    }
    m_group.m_strGroupName = name;
    m_group.m_strDescription = m_txtDescription->text().trimmed().toStdString();
    m_group.m_lngGroupFlags = proxy ? (m_group.m_lngGroupFlags | clsSecurityGroup::kProxyGroup)
                                    : (m_group.m_lngGroupFlags & ~clsSecurityGroup::kProxyGroup);
    m_group.Is_Shared(m_chkShare->isChecked());
    m_group.Partition_ID(m_lngShownPartition);
    accept();
}

} // namespace users
