#pragma once

#include "EffectiveAccess.h"

#include <QAbstractTableModel>

#include <vector>

namespace users {

// The rights of the effective access view: level, account or report type, position, privilege
// and source, one row per granted right.
class EffectiveAccessModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Level, Scope, Position, Privilege, Source, ColumnCount };

    explicit EffectiveAccessModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    void setGrants(std::vector<EffectiveGrant> grants);
    [[nodiscard]] const std::vector<EffectiveGrant>& grants() const { return m_grants; }

    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] int columnCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<EffectiveGrant> m_grants;
};

} // namespace users
