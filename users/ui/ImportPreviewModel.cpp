#include "ImportPreviewModel.h"

namespace users {

void ImportPreviewModel::SetPreview(const std::vector<UserImportRow>* rows) {
    beginResetModel();
    m_rows = rows;
    m_summary = nullptr;
    endResetModel();
}

void ImportPreviewModel::SetResults(const UserImportSummary* summary) {
    beginResetModel();
    m_summary = summary;
    endResetModel();
}

int ImportPreviewModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !m_rows ? 0 : static_cast<int>(m_rows->size());
}

int ImportPreviewModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ImportPreviewModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !m_rows || index.row() >= rowCount())
        return {};
    const UserImportRow& row = (*m_rows)[static_cast<size_t>(index.row())];
    const UserImportResult* result = m_summary && static_cast<size_t>(index.row()) < m_summary->results.size()
                                         ? &m_summary->results[static_cast<size_t>(index.row())]
                                         : nullptr;
    if (role == Qt::TextAlignmentRole && (index.column() == Line || index.column() == UserId))
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case Line:
        return QVariant::fromValue<qlonglong>(row.line);
    case UserName:
        return QString::fromStdString(row.userName);
    case Outcome:
        return QString::fromStdString(result ? result->outcome : ImportOutcomeText(row.outcome));
    case UserId:
        if (result && result->userId)
            return QVariant::fromValue<qlonglong>(result->userId);
        if (row.outcome == ImportOutcome::Update)
            return QVariant::fromValue<qlonglong>(row.user.m_lngUserId);
        return {};
    case Message:
        return QString::fromStdString(result ? result->message : row.message);
    default:
        return {};
    }
}

QVariant ImportPreviewModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char* const captions[] = {"Line", "User Name", "Outcome", "User ID", "Message"};
    return section >= 0 && section < ColumnCount ? QString::fromLatin1(captions[section]) : QVariant();
}

} // namespace users
