#pragma once

#include <QAbstractTableModel>

#include <vector>

namespace users {

class clsSecurityGroup;
class clsUsers;

// The members of the edited group: user name, last and first name, partition and, for physician
// groups, the member's viewing and signing relation ("Yes"/"No"), read from and written to the group.
class GroupMembersModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { UserName, LastName, FirstName, Partition, Viewing, Signing, ColumnCount };

    GroupMembersModel(clsSecurityGroup& group, const clsUsers& users, QObject* parent = nullptr);

    // Re-reads the group's members (after members were added or removed).
    void Reload();
    void setShowRelations(bool on);
    [[nodiscard]] bool ShowRelations() const { return m_blnRelations; }
    [[nodiscard]] long UserIdAt(int row) const { return m_colRows.at(static_cast<size_t>(row)).id; }
    // Flips the viewing or signing relation of the row's member; signing includes viewing.
    void ToggleRelation(int row, int column);

    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] int columnCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    struct Row {
        long id = 0;
        QString userName, lastName, firstName, partition;
    };
    clsSecurityGroup& m_group;
    const clsUsers& m_users;
    std::vector<Row> m_colRows;
    bool m_blnRelations = false;
};

} // namespace users
