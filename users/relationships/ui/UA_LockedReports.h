#pragma once

#include "clsLockedReports.h"

#include <QDialog>

class QTableView;

namespace users {

class LockedReportsModel;

// "Locked Reports": the reports workstations and the document viewer hold locked in the partitions
// the administrator governs, with the release of the selected locks and a refresh.
class UA_LockedReports : public QDialog {
    Q_OBJECT
public:
    explicit UA_LockedReports(QWidget* parent = nullptr);

    // Loads the list; false when the statement failed (the session showed why).
    bool LoadList();

    [[nodiscard]] LockedReportsModel* model() const { return m_model; }
    [[nodiscard]] const clsLockedReports& Locks() const { return m_locks; }

private Q_SLOTS:
    void cmdRelease_Click();
    void cmdRefresh_Click();

private:
    clsLockedReports m_locks;
    LockedReportsModel* m_model = nullptr;
    QTableView* m_LVReports = nullptr;
};

} // namespace users
