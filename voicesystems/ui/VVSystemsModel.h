#pragma once

#include "clsVVSysConDefs.h"

#include <QAbstractTableModel>

#include <map>

namespace voicesystems {

// The definitions of the voice systems list with their two status columns.
class VVSystemsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Name, Server, Reachability, Administrator, ColumnCount };

    explicit VVSystemsModel(clsVVSysConDefs& defs, QObject* parent = nullptr);

    // Re-reads the live definitions of the collection.
    void Refresh();
    [[nodiscard]] clsVVSysConDef* Definition(int row) const;
    // Status texts of a system: "Reachable" / "Unreachable" / "Unknown", "Valid" / "Invalid" / "".
    void SetStatus(int systemId, const QString& reachability, const QString& administrator);

    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] int columnCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    clsVVSysConDefs& m_defs;
    std::vector<clsVVSysConDef*> m_rows;
    std::map<int, std::pair<QString, QString>> m_status;
};

} // namespace voicesystems
