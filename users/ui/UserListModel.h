#pragma once

#include <QAbstractTableModel>
#include <QString>

#include <functional>
#include <vector>

namespace users {

// One line of the user list, its texts made once when the list is filled.
struct UserListRow {
    long userId = 0;
    QString userName; // with " {RO}" for a user shown read only
    QString firstName, lastName, groupAccess, type, partition, promptScript;
    long pendingReports = 0;
    QString imageKey;
    bool readOnly = false;
    QString filterText; // user name, first and last name and partition, folded to lower case; made when
                        // a filter first looks at the row
};

// The users of the selected folder or group (lvwUsers): the columns "User Name", "First Name",
// "Last Name", "Group Access", "Type", "Pending Reports", "Partition", "Prompt Script". Sorting
// and the type-to-filter text are applied here, over the rows in memory.
class UserListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { UserName, FirstName, LastName, GroupAccess, Type, PendingReports, Partition, PromptScript, Count };
    static constexpr int kUserIdRole = Qt::UserRole + 1;
    static constexpr int kImageRole = Qt::UserRole + 2;
    static constexpr int kReadOnlyRole = Qt::UserRole + 3;

    explicit UserListModel(QObject* parent = nullptr);

    void setRows(std::vector<UserListRow> rows);
    // Shows only the rows whose user name, names or partition contain the text (any case).
    void setFilterText(const QString& text);
    // Replaces the row of the user, if shown; false when it is not in the list.
    bool updateRow(const UserListRow& row);
    bool removeUser(long userId);
    // New pending report counts: pendingOf(userId) for every row, in one pass.
    void setPending(const std::function<long(long userId)>& pendingOf);

    [[nodiscard]] const UserListRow* rowAt(int row) const;
    [[nodiscard]] int rowOfUser(long userId) const;
    [[nodiscard]] size_t totalRows() const { return m_rows.size(); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    void applyFilter();
    void sortRows();
    [[nodiscard]] const QString& text(const UserListRow& row, int column) const;

    std::vector<UserListRow> m_rows; // in the sort order
    std::vector<int> m_shown;        // rows passing the filter, in that order
    QString m_filter;
    int m_sortColumn = UserName;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};

} // namespace users
