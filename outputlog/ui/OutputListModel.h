#pragma once

#include "OutputRow.h"

#include <QAbstractTableModel>

#include <vector>

namespace outputlog {

// The outputs of the last query as the list shows them: codes as text, the sender by name, and
// "Resubmitted" in the status of rows resent from here.
class OutputListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit OutputListModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}
    void setRows(const std::vector<OutputRow>* rows);
    void rowsChanged(); // the rows' contents changed in place (after a resend)

    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] int columnCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation,
                                      int role = Qt::DisplayRole) const override;
    [[nodiscard]] static QString cellText(const OutputRow& row, int column);

private:
    const std::vector<OutputRow>* m_rows = nullptr;
};

} // namespace outputlog
