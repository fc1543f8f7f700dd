#include "UserListModel.h"

#include <algorithm>

namespace users {

namespace {
const char* const kHeaders[] = {"User Name", "First Name",      "Last Name", "Group Access",
                                "Type",      "Pending Reports", "Partition", "Prompt Script"};
} // namespace

UserListModel::UserListModel(QObject* parent) : QAbstractTableModel(parent) {}

void UserListModel::setRows(std::vector<UserListRow> rows) {
    beginResetModel();
    m_rows = std::move(rows);
    for (auto& r : m_rows)
        if (r.filterText.isEmpty())
            r.filterText = (r.userName + '\n' + r.firstName + '\n' + r.lastName + '\n' + r.partition).toCaseFolded();
    // The user's chosen order is kept across folder changes.
    sortRows();
    applyFilter();
    endResetModel();
}

void UserListModel::setFilterText(const QString& text) {
    const QString folded = text.trimmed().toCaseFolded();
    if (folded == m_filter)
        return;
    beginResetModel();
    m_filter = folded;
    applyFilter();
    endResetModel();
}

void UserListModel::applyFilter() {
    m_shown.clear();
    m_shown.reserve(m_rows.size());
    for (int i = 0; i < static_cast<int>(m_rows.size()); ++i)
        if (m_filter.isEmpty() || m_rows[static_cast<size_t>(i)].filterText.contains(m_filter))
            m_shown.push_back(i);
}

bool UserListModel::updateRow(const UserListRow& row) {
    const int at = rowOfUser(row.userId);
    if (at < 0)
        return false;
    UserListRow& held = m_rows[static_cast<size_t>(m_shown[static_cast<size_t>(at)])];
    held = row;
    held.filterText =
        (held.userName + '\n' + held.firstName + '\n' + held.lastName + '\n' + held.partition).toCaseFolded();
    Q_EMIT dataChanged(index(at, 0), index(at, Count - 1));
    return true;
}

bool UserListModel::removeUser(long userId) {
    const auto it = std::find_if(m_rows.begin(), m_rows.end(), [userId](const auto& r) { return r.userId == userId; });
    if (it == m_rows.end())
        return false;
    beginResetModel();
    m_rows.erase(it);
    applyFilter();
    endResetModel();
    return true;
}

void UserListModel::setPending(const std::function<long(long userId)>& pendingOf) {
    for (auto& r : m_rows)
        r.pendingReports = pendingOf(r.userId);
    if (!m_shown.empty())
        Q_EMIT dataChanged(index(0, PendingReports), index(static_cast<int>(m_shown.size()) - 1, PendingReports));
}

const UserListRow* UserListModel::rowAt(int row) const {
    if (row < 0 || row >= static_cast<int>(m_shown.size()))
        return nullptr;
    return &m_rows[static_cast<size_t>(m_shown[static_cast<size_t>(row)])];
}

int UserListModel::rowOfUser(long userId) const {
    for (int i = 0; i < static_cast<int>(m_shown.size()); ++i)
        if (m_rows[static_cast<size_t>(m_shown[static_cast<size_t>(i)])].userId == userId)
            return i;
    return -1;
}

int UserListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_shown.size());
}

int UserListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Count;
}

const QString& UserListModel::text(const UserListRow& r, int column) const {
    switch (column) {
    case FirstName:
        return r.firstName;
    case LastName:
        return r.lastName;
    case GroupAccess:
        return r.groupAccess;
    case Type:
        return r.type;
    case Partition:
        return r.partition;
    case PromptScript:
        return r.promptScript;
    default:
        return r.userName;
    }
}

QVariant UserListModel::data(const QModelIndex& index, int role) const {
    const UserListRow* r = index.isValid() ? rowAt(index.row()) : nullptr;
    if (!r)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        if (index.column() == PendingReports)
            return r->pendingReports > 0 ? QString::number(r->pendingReports) : QString();
        return text(*r, index.column());
    case Qt::TextAlignmentRole:
        if (index.column() == PendingReports)
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    case kUserIdRole:
        return QVariant::fromValue<qlonglong>(r->userId);
    case kImageRole:
        return r->imageKey;
    case kReadOnlyRole:
        return r->readOnly;
    default:
        return {};
    }
}

QVariant UserListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < Count)
        return QString::fromLatin1(kHeaders[section]);
    return {};
}

void UserListModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= Count)
        return;
    m_sortColumn = column;
    m_sortOrder = order;
    beginResetModel();
    sortRows();
    applyFilter();
    endResetModel();
}

void UserListModel::sortRows() {
    const int column = m_sortColumn;
    const auto less = [this, column](const UserListRow& a, const UserListRow& b) {
        if (column == PendingReports) // a count, not a text: 9 before 10
            return a.pendingReports < b.pendingReports;
        return QString::compare(text(a, column), text(b, column), Qt::CaseInsensitive) < 0;
    };
    if (m_sortOrder == Qt::AscendingOrder)
        std::stable_sort(m_rows.begin(), m_rows.end(), less);
    else
        std::stable_sort(m_rows.begin(), m_rows.end(), [&less](const auto& a, const auto& b) { return less(b, a); });
}

} // namespace users
