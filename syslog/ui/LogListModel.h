#pragma once

#include "clsLogDay.h"

#include <QAbstractTableModel>

namespace systemlog {

// The log list over the day's rows in memory: one line per non-empty message, the row's columns
// on its first line. A busy day has 100 000 rows, so nothing is copied per cell.
class LogListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit LogListModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    // Shows the lines of day that pass filter; day must outlive the next call.
    void setLines(const clsLogDay* day, std::vector<LogLine> lines);
    [[nodiscard]] int lineCount() const { return static_cast<int>(m_lines.size()); }
    // The tab-separated text of a line, as copied to the clipboard.
    [[nodiscard]] QString lineText(int line) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    [[nodiscard]] QString cell(const LogLine& line, int column) const;

    const clsLogDay* m_day = nullptr;
    std::vector<LogLine> m_lines;
    bool m_batchColumn = false;
};

} // namespace systemlog
