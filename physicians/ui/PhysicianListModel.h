#pragma once

#include "clsPhysicianSummaryRecords.h"

#include <QAbstractTableModel>

#include <vector>

namespace physicians {

// The rows of the physician list: the summary records that pass the status filter, sorted in the
// model (text, numbers for columns whose values are numbers). The records stay in the collection;
// the model keeps only their positions.
class PhysicianListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        ColName,
        ColAuthorId,
        ColDictation,
        ColMis1,
        ColMis2,
        ColAlert1,
        ColAlert2,
        ColFax,
        ColGroup,
        ColStatus,
        ColPartition,
        ColumnCount
    };

    explicit PhysicianListModel(QObject* parent = nullptr);

    // Shows the collection's records through the filter; the collection must outlive the model's use of it.
    void setRecords(const clsPhysicianSummaryRecords* records);
    void setStatusFilter(const StatusFilter& filter);
    [[nodiscard]] const StatusFilter& statusFilter() const { return m_filter; }
    [[nodiscard]] const clsPhysicianSummaryRecord* recordAt(int row) const;
    [[nodiscard]] std::vector<const clsPhysicianSummaryRecord*> shownRecords() const;
    // The text of a cell as the list shows it.
    [[nodiscard]] static std::string cellText(const clsPhysicianSummaryRecord& r, int column);

    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] int columnCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void sort(int column, Qt::SortOrder order) override;

private:
    void rebuild();

    const clsPhysicianSummaryRecords* m_records = nullptr;
    std::vector<size_t> m_rows;
    StatusFilter m_filter;
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};

} // namespace physicians
