#pragma once

#include <QAbstractTableModel>

namespace users {

class clsLockedReports;

// The nine columns of the locked reports list over the loaded locks.
class LockedReportsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit LockedReportsModel(const clsLockedReports& locks, QObject* parent = nullptr);

    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] int columnCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Call after the locks were loaded or released.
    void Reset();

private:
    const clsLockedReports& m_locks;
};

} // namespace users
