#include "GroupMembersModel.h"

#include "clsSecurityGroup.h"
#include "clsUsers.h"

namespace users {

GroupMembersModel::GroupMembersModel(clsSecurityGroup& group, const clsUsers& users, QObject* parent)
    : QAbstractTableModel(parent), m_group(group), m_users(users) {
    Reload();
}

void GroupMembersModel::Reload() {
    beginResetModel();
    m_colRows.clear();
    m_colRows.reserve(m_group.UserIds().size());
    for (long id : m_group.UserIds()) {
        Row r;
        r.id = id;
        if (const clsUser* u = m_users.Item(clsUsers::Key(id))) {
            r.userName = QString::fromStdString(u->m_strUserName);
            r.lastName = QString::fromStdString(u->m_strLastName);
            r.firstName = QString::fromStdString(u->m_strFirstName);
            r.partition = QString::fromStdString(u->Partition_Name());
        } else {
            r.userName = QString::number(id); // a member the loaded users do not hold (a deleted partition's)
        }
        m_colRows.push_back(std::move(r));
    }
    endResetModel();
}

void GroupMembersModel::setShowRelations(bool on) {
    if (on == m_blnRelations)
        return;
    beginResetModel();
    m_blnRelations = on;
    endResetModel();
}

void GroupMembersModel::ToggleRelation(int row, int column) {
    if (!m_blnRelations || row < 0 || row >= rowCount() || (column != Viewing && column != Signing))
        return;
    const long id = UserIdAt(row);
    if (column == Signing) {
        const bool on = !m_group.SigningEnabledForUserId(id);
        m_group.SetRelationValue(id, clsSecurityGroup::kSigning, on);
        if (on)
            m_group.SetRelationValue(id, clsSecurityGroup::kViewing, true);
    } else {
        const bool on = !m_group.ViewingEnabledForUserId(id);
        m_group.SetRelationValue(id, clsSecurityGroup::kViewing, on);
        if (!on)
            m_group.SetRelationValue(id, clsSecurityGroup::kSigning, false);
    }
    Q_EMIT dataChanged(index(row, Viewing), index(row, Signing));
}

int GroupMembersModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_colRows.size());
}

int GroupMembersModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : (m_blnRelations ? ColumnCount : Viewing);
}

QVariant GroupMembersModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount() ||
        (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    const Row& r = m_colRows[static_cast<size_t>(index.row())];
    switch (index.column()) {
    case UserName:
        return r.userName;
    case LastName:
        return r.lastName;
    case FirstName:
        return r.firstName;
    case Partition:
        return r.partition;
    case Viewing:
        return m_group.ViewingEnabledForUserId(r.id) ? "Yes" : "No";
    case Signing:
        return m_group.SigningEnabledForUserId(r.id) ? "Yes" : "No";
    default:
        return {};
    }
}

QVariant GroupMembersModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= columnCount())
        return {};
    static const char* const kHeaders[] = {"User Name", "Last Name", "First Name", "Partition", "Viewing", "Signing"};
    return kHeaders[section];
}

} // namespace users
