#include "CheckListModel.h"

namespace users {

void CheckListModel::setRows(std::vector<Row> rows) {
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

std::vector<long> CheckListModel::CheckedIds() const {
    std::vector<long> out;
    for (const auto& r : m_rows)
        if (r.checked)
            out.push_back(r.id);
    return out;
}

void CheckListModel::setAllChecked(bool on) {
    for (auto& r : m_rows)
        r.checked = on;
    if (!m_rows.empty())
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, 0), {Qt::CheckStateRole});
}

int CheckListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int CheckListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_headers.size());
}

QVariant CheckListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    const Row& r = m_rows[static_cast<size_t>(index.row())];
    if (role == Qt::CheckStateRole && index.column() == 0 && m_checkable)
        return r.checked ? Qt::Checked : Qt::Unchecked;
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return index.column() < r.texts.size() ? r.texts[index.column()] : QString();
    return {};
}

bool CheckListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!m_checkable || !index.isValid() || index.column() != 0 || role != Qt::CheckStateRole ||
        index.row() >= rowCount())
        return false;
    m_rows[static_cast<size_t>(index.row())].checked = value.toInt() == Qt::Checked;
    Q_EMIT dataChanged(index, index, {Qt::CheckStateRole});
    return true;
}

Qt::ItemFlags CheckListModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == 0 && m_checkable)
        f |= Qt::ItemIsUserCheckable;
    return f;
}

QVariant CheckListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= columnCount())
        return {};
    return m_headers[section];
}

} // namespace users
