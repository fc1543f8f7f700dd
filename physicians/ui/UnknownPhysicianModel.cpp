#include "UnknownPhysicianModel.h"

#include <algorithm>

namespace physicians {

UnknownPhysicianModel::UnknownPhysicianModel(QStringList headers, QObject* parent)
    : QAbstractTableModel(parent), m_headers(std::move(headers)) {}

void UnknownPhysicianModel::setRows(std::vector<Row> rows) {
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

int UnknownPhysicianModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int UnknownPhysicianModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_headers.size());
}

QVariant UnknownPhysicianModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    const Row& r = m_rows[static_cast<size_t>(index.row())];
    if (role == Qt::DisplayRole)
        return index.column() < r.texts.size() ? r.texts[index.column()] : QString();
    if (role == Qt::UserRole)
        return static_cast<size_t>(index.column()) < r.keys.size() ? r.keys[static_cast<size_t>(index.column())]
                                                                   : QVariant();
    return {};
}

QVariant UnknownPhysicianModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < m_headers.size())
        return m_headers[section];
    return QAbstractTableModel::headerData(section, orientation, role);
}

void UnknownPhysicianModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= columnCount())
        return;
    const auto col = static_cast<size_t>(column);
    const auto key = [this, col](size_t row) -> const QVariant& {
        static const QVariant none;
        const Row& r = m_rows[row];
        return col < r.keys.size() ? r.keys[col] : none;
    };
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<size_t> byPosition(m_rows.size()); // new position -> old row
    for (size_t i = 0; i < byPosition.size(); ++i)
        byPosition[i] = i;
    std::stable_sort(byPosition.begin(), byPosition.end(), [&](size_t a, size_t b) {
        const auto c = QVariant::compare(key(a), key(b));
        return order == Qt::AscendingOrder ? c == QPartialOrdering::Less : c == QPartialOrdering::Greater;
    });
    std::vector<Row> sorted;
    sorted.reserve(m_rows.size());
    std::vector<int> newRow(m_rows.size());
    for (size_t i = 0; i < byPosition.size(); ++i) {
        sorted.push_back(std::move(m_rows[byPosition[i]]));
        newRow[byPosition[i]] = static_cast<int>(i);
    }
    m_rows = std::move(sorted);
    // Selections follow their rows.
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    for (const QModelIndex& i : before)
        after.push_back(index(newRow[static_cast<size_t>(i.row())], i.column()));
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

} // namespace physicians
