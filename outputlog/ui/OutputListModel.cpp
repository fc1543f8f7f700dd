#include "OutputListModel.h"

#include "OutputResend.h"
#include "OutputText.h"

namespace outputlog {

namespace {

const char* const kHeadings[] = {"Account Name",     "Output Type",   "Output Time",  "Known Status",
                                 "First Name",       "Last Name",     "Batch Name",   "Group Name",
                                 "Batch Identifier", "Batch Type",    "Time To Send", "Fax Number",
                                 "Temp File Name",   "Email Address", "Print Queue",  "Destination"};
constexpr int kColumns = 16;

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace

void OutputListModel::setRows(const std::vector<OutputRow>* rows) {
    beginResetModel();
    m_rows = rows;
    endResetModel();
}

void OutputListModel::rowsChanged() {
    if (rowCount() > 0)
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, kColumns - 1));
}

int OutputListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !m_rows ? 0 : static_cast<int>(m_rows->size());
}

int OutputListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

QString OutputListModel::cellText(const OutputRow& r, int column) {
    const bool email = KindOf(r.m_intOutputType) == ResendKind::Email;
    switch (column) {
    case 0:
        return q(r.m_strAccountName);
    case 1:
        return q(OutputTypeText(r.m_intOutputType, r.m_intFlag1));
    case 2:
        return q(r.m_strOutputTime);
    case 3:
        return r.m_blnResubmitted ? QStringLiteral("Resubmitted")
                                  : q(KnownStatusText(r.m_intKnownStatus, r.m_intErrorCode));
    case 4:
        return q(r.m_strFirstName);
    case 5:
        return q(r.m_strLastName);
    case 6:
        return q(r.m_strBatchName);
    case 7:
        return q(r.m_strGroupName);
    case 8:
        return r.m_lngBatchIdentifier ? QString::number(r.m_lngBatchIdentifier) : QString();
    case 9:
        return q(BatchTypeText(r.m_intBatchType));
    case 10:
        return q(r.m_strTimeToSend);
    case 11:
        return q(r.m_strFaxNbr);
    case 12:
        return q(r.m_strFaxFilename);
    case 13:
        return email ? q(r.m_strPrintQueue) : QString();
    case 14:
        return email ? QString() : q(r.m_strPrintQueue);
    case 15: // where the output goes: the fax number, the address, or the physician's own queue
        if (KindOf(r.m_intOutputType) == ResendKind::Fax)
            return q(r.m_strFaxNbr);
        return q(email ? r.m_strPrintQueue : r.m_strPhysPrintQueue);
    default:
        return {};
    }
}

QVariant OutputListModel::data(const QModelIndex& index, int role) const {
    if (!m_rows || !index.isValid() || index.row() >= rowCount())
        return {};
    const OutputRow& row = (*m_rows)[static_cast<size_t>(index.row())];
    if (role == Qt::DisplayRole)
        return cellText(row, index.column());
    if (role == Qt::ToolTipRole && !row.m_strSentByName.empty())
        return QString::fromStdString("Sent by " + SentByNameText(row.m_strSentByName, SentByForm::NameAndId));
    return {};
}

QVariant OutputListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= kColumns)
        return {};
    return QString::fromLatin1(kHeadings[section]);
}

} // namespace outputlog
