#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <QVariant>

#include <vector>

namespace physicians {

// The rows of the unknown-physician screens: texts as shown, each with the key its column sorts by
// (a number for counts and ids, "yyyymmdd" for dates, the text otherwise). Sorting re-orders the
// rows in memory; nothing is read again.
class UnknownPhysicianModel : public QAbstractTableModel {
    Q_OBJECT
public:
    struct Row {
        QStringList texts;
        std::vector<QVariant> keys; // one a column
    };

    explicit UnknownPhysicianModel(QStringList headers, QObject* parent = nullptr);

    void setRows(std::vector<Row> rows);
    [[nodiscard]] const Row& rowAt(int row) const { return m_rows.at(static_cast<size_t>(row)); }

    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] int columnCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation,
                                      int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    QStringList m_headers;
    std::vector<Row> m_rows;
};

} // namespace physicians
