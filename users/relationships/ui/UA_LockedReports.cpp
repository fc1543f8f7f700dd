#include "UA_LockedReports.h"

#include "LockedReportsModel.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace users {

UA_LockedReports::UA_LockedReports(QWidget* parent) : QDialog(parent) {
    setObjectName("UA_LockedReports");
    setWindowTitle("Locked Reports");
    m_model = new LockedReportsModel(m_locks, this);
    m_LVReports = new QTableView(this);
    m_LVReports->setObjectName("LVReports");
    m_LVReports->setModel(m_model);
    m_LVReports->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_LVReports->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_LVReports->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_LVReports->verticalHeader()->hide();
    m_LVReports->horizontalHeader()->setStretchLastSection(true);

    auto* release = new QPushButton("&Unlock", this);
    release->setObjectName("cmdRelease");
    auto* refresh = new QPushButton("&Refresh", this);
    refresh->setObjectName("cmdRefresh");
    auto* close = new QPushButton("&Close", this);
    close->setObjectName("cmdClose");
    for (QPushButton* b : {release, refresh, close})
        b->setAutoDefault(false);
    connect(release, &QPushButton::clicked, this, &UA_LockedReports::cmdRelease_Click);
    connect(refresh, &QPushButton::clicked, this, &UA_LockedReports::cmdRefresh_Click);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(release);
    buttons->addWidget(refresh);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_LVReports, 1);
    layout->addLayout(buttons);
    resize(900, 420);
}

bool UA_LockedReports::LoadList() {
    const bool ok = m_locks.Load();
    m_model->Reset();
    return ok;
}

void UA_LockedReports::cmdRelease_Click() {
    std::vector<int> rows;
    for (const QModelIndex& index : m_LVReports->selectionModel()->selectedRows())
        rows.push_back(index.row());
    // From the bottom up, so the rows still to release keep their places.
    std::sort(rows.rbegin(), rows.rend());
    for (int row : rows)
        m_locks.Release(static_cast<size_t>(row));
    m_model->Reset();
}

void UA_LockedReports::cmdRefresh_Click() {
    LoadList();
}

} // namespace users
