#pragma once

#include "UserImportRun.h"

#include <QAbstractTableModel>

#include <vector>

namespace users {

// The import's lines: before the import each line's preview outcome, after it what happened.
class ImportPreviewModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Line, UserName, Outcome, UserId, Message, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    void SetPreview(const std::vector<UserImportRow>* rows);
    void SetResults(const UserImportSummary* summary);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const std::vector<UserImportRow>* m_rows = nullptr;
    const UserImportSummary* m_summary = nullptr;
};

} // namespace users
