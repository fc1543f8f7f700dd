#include "LockedReportsModel.h"

#include "LoginComponent.h"
#include "clsLockedReports.h"
#include "modPartition.h"

namespace users {

namespace {

const char* const kColumns[] = {"Username",     "Time of Lock", "Document ID", "Report Create Date",
                                "Patient Name", "Computer",     "Account",     "Report Type",
                                "Dictator"};
constexpr int kColumnCount = 9;

// The account's name from the login component's cache; its number when it is not cached.
std::string accountName(long acct) {
    const auto* login = physicians::Partitions().login;
    if (login) {
        const int at = login->GetAcctIndex(acct);
        if (at > 0 && !login->HospAccountAt(at).hosp_acct_name.empty())
            return login->HospAccountAt(at).hosp_acct_name;
    }
    return std::to_string(acct);
}

} // namespace

LockedReportsModel::LockedReportsModel(const clsLockedReports& locks, QObject* parent)
    : QAbstractTableModel(parent), m_locks(locks) {}

int LockedReportsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_locks.Count());
}

int LockedReportsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant LockedReportsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || role != Qt::DisplayRole || index.row() >= rowCount())
        return {};
    const clsLockedReport& r = m_locks.Items()[static_cast<size_t>(index.row())];
    std::string text;
    switch (index.column()) {
    case 0:
        text = r.m_strUserName;
        break;
    case 1:
        text = r.m_strLockTime;
        break;
    case 2:
        return QVariant::fromValue(static_cast<qlonglong>(r.m_lngDocumentId));
    case 3:
        text = r.m_strCreateDate;
        break;
    case 4:
        text = r.PatientName();
        break;
    case 5:
        text = r.m_strString1;
        break;
    case 6:
        text = accountName(r.m_lngHospAcctId);
        break;
    case 7:
        text = r.m_strReportName;
        break;
    case 8:
        text = r.m_strDictatingName;
        break;
    default:
        return {};
    }
    return QString::fromStdString(text);
}

QVariant LockedReportsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= kColumnCount)
        return {};
    return QString(kColumns[section]);
}

void LockedReportsModel::Reset() {
    beginResetModel();
    endResetModel();
}

} // namespace users
