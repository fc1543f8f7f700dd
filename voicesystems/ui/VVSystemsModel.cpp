#include "VVSystemsModel.h"

namespace voicesystems {

VVSystemsModel::VVSystemsModel(clsVVSysConDefs& defs, QObject* parent) : QAbstractTableModel(parent), m_defs(defs) {
    Refresh();
}

void VVSystemsModel::Refresh() {
    beginResetModel();
    m_rows = m_defs.NewEnum();
    endResetModel();
}

clsVVSysConDef* VVSystemsModel::Definition(int row) const {
    return row >= 0 && row < static_cast<int>(m_rows.size()) ? m_rows[static_cast<size_t>(row)] : nullptr;
}

void VVSystemsModel::SetStatus(int systemId, const QString& reachability, const QString& administrator) {
    m_status[systemId] = {reachability, administrator};
    for (int row = 0; row < rowCount(); ++row)
        if (m_rows[static_cast<size_t>(row)]->SystemId() == systemId)
            Q_EMIT dataChanged(index(row, Reachability), index(row, Administrator), {Qt::DisplayRole});
}

int VVSystemsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int VVSystemsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant VVSystemsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || role != Qt::DisplayRole || index.row() >= rowCount())
        return {};
    const clsVVSysConDef* def = m_rows[static_cast<size_t>(index.row())];
    auto status = m_status.find(def->SystemId());
    switch (index.column()) {
    case Name:
        return QString::fromStdString(def->SystemName());
    case Server:
        return QString::fromStdString(def->ConnectionType() == 1 ? def->GetTheServerNameToTest() : def->servername());
    case Reachability:
        return status == m_status.end() ? QString("Unknown") : status->second.first;
    case Administrator:
        return status == m_status.end() ? QString() : status->second.second;
    default:
        return {};
    }
}

QVariant VVSystemsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char* const names[] = {"System Name", "Server", "Status", "Administrator"};
    return section >= 0 && section < ColumnCount ? QString(names[section]) : QVariant();
}

} // namespace voicesystems
