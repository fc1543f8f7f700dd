#pragma once

#include <QAbstractTableModel>
#include <QStringList>

#include <vector>

namespace users {

// Rows to pick from: each an id, its texts and (when checkable) a check box in the first column.
class CheckListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    struct Row {
        long id = 0;
        QStringList texts;
        bool checked = false;
    };

    // Without checkable the rows are only shown.
    CheckListModel(QStringList headers, QObject* parent = nullptr, bool checkable = true)
        : QAbstractTableModel(parent), m_headers(std::move(headers)), m_checkable(checkable) {}

    void setRows(std::vector<Row> rows);
    [[nodiscard]] std::vector<long> CheckedIds() const;
    void setAllChecked(bool on);

    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] int columnCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    [[nodiscard]] Qt::ItemFlags flags(const QModelIndex& index) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QStringList m_headers;
    std::vector<Row> m_rows;
    bool m_checkable = true;
};

} // namespace users
