#include "LogListModel.h"

namespace systemlog {

void LogListModel::setLines(const clsLogDay* day, std::vector<LogLine> lines) {
    beginResetModel();
    m_day = day;
    m_lines = std::move(lines);
    m_batchColumn = day && day->BatchColumn();
    endResetModel();
}

int LogListModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid())
        return 0;
    return m_lines.empty() ? 1 : static_cast<int>(m_lines.size()); // "No Messages Found" stands alone
}

int LogListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : (m_batchColumn ? 6 : 5);
}

QVariant LogListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char* const withBatch[] = {"Type", "Time Stamp", "User", "Account", "Batch", "Message"};
    static const char* const plain[] = {"Type", "Time Stamp", "User", "Account", "Message"};
    if (section < 0 || section >= columnCount())
        return {};
    return QString(m_batchColumn ? withBatch[section] : plain[section]);
}

QString LogListModel::cell(const LogLine& line, int column) const {
    const LogRow& r = m_day->Rows()[line.row];
    const int message = m_batchColumn ? 5 : 4;
    if (column == message)
        return QString::fromStdString(r.messages[line.message]);
    if (!line.first)
        return {};
    switch (column) {
    case 0:
        return QString::fromStdString(SeverityName(r.severity));
    case 1:
        return QString::fromStdString(r.time);
    case 2:
        return QString::fromStdString(r.userName);
    case 3:
        return QString::fromStdString(r.accountName);
    case 4:
        return QString::fromStdString(r.batchName);
    default:
        return {};
    }
}

QVariant LogListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || role != Qt::DisplayRole)
        return {};
    if (m_lines.empty())
        return index.column() == 0 ? QVariant(QString("No Messages Found")) : QVariant();
    return cell(m_lines[static_cast<size_t>(index.row())], index.column());
}

QString LogListModel::lineText(int line) const {
    if (m_lines.empty())
        return "No Messages Found";
    QStringList cells;
    for (int c = 0; c < columnCount(); ++c)
        cells << cell(m_lines[static_cast<size_t>(line)], c);
    return cells.join('\t');
}

} // namespace systemlog
