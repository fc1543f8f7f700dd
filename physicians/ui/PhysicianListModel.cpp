#include "PhysicianListModel.h"

#include "Numbers.h"
#include "Text.h"
#include "modPartition.h"

#include <algorithm>

namespace physicians {

namespace {

const char* const kHeaders[PhysicianListModel::ColumnCount] = {
    "Physician Name",  "Author ID", "Dictation #", "MIS Nbr 1", "MIS Nbr 2", "Critical Alert ID",
    "Result Alert ID", "Fax Nbr",   "Group/Spec",  "Status",    "Partition"};

// Numbers compare as numbers when both cells hold one; anything else compares as text, ignoring case.
bool lessThan(const std::string& a, const std::string& b) {
    const auto na = platform::parseNumber(a);
    const auto nb = platform::parseNumber(b);
    if (na && nb)
        return *na < *nb;
    if (na != nb && (na || nb))
        return na.has_value(); // numbers before text
    return foundation::upperText(a) < foundation::upperText(b);
}

} // namespace

PhysicianListModel::PhysicianListModel(QObject* parent) : QAbstractTableModel(parent) {}

void PhysicianListModel::setRecords(const clsPhysicianSummaryRecords* records) {
    beginResetModel();
    m_records = records;
    rebuild();
    endResetModel();
}

void PhysicianListModel::setStatusFilter(const StatusFilter& filter) {
    beginResetModel();
    m_filter = filter;
    rebuild();
    endResetModel();
}

void PhysicianListModel::rebuild() {
    m_rows.clear();
    if (!m_records)
        return;
    const auto& all = m_records->records();
    m_rows.reserve(all.size());
    for (size_t i = 0; i < all.size(); ++i)
        if (!all[i].is_deleted && m_filter.Passes(all[i]))
            m_rows.push_back(i);
    if (m_sortColumn >= 0) {
        std::vector<std::string> keys(all.size());
        for (size_t i : m_rows)
            keys[i] = cellText(all[i], m_sortColumn);
        std::stable_sort(m_rows.begin(), m_rows.end(), [&](size_t a, size_t b) {
            return m_sortOrder == Qt::AscendingOrder ? lessThan(keys[a], keys[b]) : lessThan(keys[b], keys[a]);
        });
    }
}

const clsPhysicianSummaryRecord* PhysicianListModel::recordAt(int row) const {
    if (!m_records || row < 0 || static_cast<size_t>(row) >= m_rows.size())
        return nullptr;
    return &m_records->records()[m_rows[static_cast<size_t>(row)]];
}

std::vector<const clsPhysicianSummaryRecord*> PhysicianListModel::shownRecords() const {
    std::vector<const clsPhysicianSummaryRecord*> out;
    out.reserve(m_rows.size());
    for (int row = 0; row < rowCount(); ++row)
        out.push_back(recordAt(row));
    return out;
}

std::string PhysicianListModel::cellText(const clsPhysicianSummaryRecord& r, int column) {
    switch (column) {
    case ColName:
        return r.DisplayName();
    case ColAuthorId:
        return r.AuthorIdText();
    case ColDictation:
        return r.dictation_id;
    case ColMis1:
        return r.mis_nbr_1;
    case ColMis2:
        return r.mis_nbr_2;
    case ColAlert1:
        return r.string1;
    case ColFax:
        return r.fax_nbr_1;
    case ColGroup:
        return r.group_affiliation;
    case ColStatus:
        return r.StatusText();
    case ColPartition:
        return GetPartitionName(r.Partition_ID);
    default:
        return {};
    }
}

int PhysicianListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int PhysicianListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant PhysicianListModel::data(const QModelIndex& index, int role) const {
    const clsPhysicianSummaryRecord* r = index.isValid() ? recordAt(index.row()) : nullptr;
    if (!r || role != Qt::DisplayRole)
        return {};
    return QString::fromStdString(cellText(*r, index.column()));
}

QVariant PhysicianListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount)
        return {};
    return QString::fromUtf8(kHeaders[section]);
}

void PhysicianListModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= ColumnCount)
        return;
    beginResetModel();
    m_sortColumn = column;
    m_sortOrder = order;
    rebuild();
    endResetModel();
}

} // namespace physicians
