#include "EffectiveAccessModel.h"

namespace users {

void EffectiveAccessModel::setGrants(std::vector<EffectiveGrant> grants) {
    beginResetModel();
    m_grants = std::move(grants);
    endResetModel();
}

int EffectiveAccessModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_grants.size());
}

int EffectiveAccessModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant EffectiveAccessModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    const EffectiveGrant& g = m_grants[static_cast<size_t>(index.row())];
    switch (index.column()) {
    case Level:
        return QString::fromStdString(g.level);
    case Scope:
        return QString::fromStdString(g.scope);
    case Position:
        return g.position;
    case Privilege:
        return QString::fromStdString(g.caption);
    case Source:
        return QString::fromStdString(g.sources);
    default:
        return {};
    }
}

QVariant EffectiveAccessModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char* const kHeaders[] = {"Level", "Account / Report Type", "Position", "Privilege", "Granted By"};
    return section >= 0 && section < ColumnCount ? QVariant(kHeaders[section]) : QVariant();
}

} // namespace users
