#include "UserListModel.h"

#include "UserImages.h"

#include <algorithm>

namespace users {

namespace {
const char* const kHeaders[] = {"User Name", "First Name",      "Last Name", "Group Access",
                                "Type",      "Pending Reports", "Partition", "Prompt Script"};

// The row's user name, names and partition folded to lower case, as the filter compares them. Names
// are mostly ASCII, whose folding is A-Z to a-z; any other character folds the whole text the full way.
QString foldedFilterText(const UserListRow& r) {
    // The " {RO}" marker of a read-only user is no part of the name a filter looks for.
    constexpr QStringView kMarker = u" {RO}";
    const QStringView name = r.readOnly && r.userName.endsWith(kMarker)
                                 ? QStringView(r.userName).chopped(kMarker.size())
                                 : QStringView(r.userName);
    QString text;
    text.reserve(name.size() + r.firstName.size() + r.lastName.size() + r.partition.size() + 3);
    text.append(name)
        .append(u'\n')
        .append(r.firstName)
        .append(u'\n')
        .append(r.lastName)
        .append(u'\n')
        .append(r.partition);
    for (QChar& c : text) {
        const char16_t u = c.unicode();
        if (u >= 0x80)
            return text.toCaseFolded();
        if (u >= 'A' && u <= 'Z')
            c = QChar(static_cast<char16_t>(u + ('a' - 'A')));
    }
    return text;
}
} // namespace

UserListModel::UserListModel(QObject* parent) : QAbstractTableModel(parent) {}

void UserListModel::setRows(std::vector<UserListRow> rows) {
    beginResetModel();
    m_rows = std::move(rows);
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

// The folded texts the filter looks in are made when a filter is first typed, not for every row of
// every list shown: most lists are never filtered.
void UserListModel::applyFilter() {
    m_shown.clear();
    m_shown.reserve(m_rows.size());
    for (int i = 0; i < static_cast<int>(m_rows.size()); ++i) {
        UserListRow& r = m_rows[static_cast<size_t>(i)];
        if (!m_filter.isEmpty() && r.filterText.isEmpty())
            r.filterText = foldedFilterText(r);
        if (m_filter.isEmpty() || r.filterText.contains(m_filter))
            m_shown.push_back(i);
    }
}

bool UserListModel::updateRow(const UserListRow& row) {
    const int at = rowOfUser(row.userId);
    if (at < 0)
        return false;
    UserListRow& held = m_rows[static_cast<size_t>(m_shown[static_cast<size_t>(at)])];
    held = row;
    held.filterText.clear(); // made again when a filter next looks at it
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
    case Qt::DecorationRole:
        // The picture of the user's kind beside the name; one icon per kind is shared by all rows.
        if (index.column() == UserName)
            return UserImages::Image(r->imageKey);
        return {};
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
    // Rows usually come in the order shown (users are loaded by name): one pass finds that, and a
    // stable sort of rows already in order would leave them as they are.
    if (m_sortOrder == Qt::AscendingOrder) {
        if (!std::is_sorted(m_rows.begin(), m_rows.end(), less))
            std::stable_sort(m_rows.begin(), m_rows.end(), less);
    } else {
        const auto greater = [&less](const auto& a, const auto& b) { return less(b, a); };
        if (!std::is_sorted(m_rows.begin(), m_rows.end(), greater))
            std::stable_sort(m_rows.begin(), m_rows.end(), greater);
    }
}

} // namespace users
