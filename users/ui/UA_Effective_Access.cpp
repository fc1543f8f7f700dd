#include "UA_Effective_Access.h"

#include "CheckListModel.h"
#include "EffectiveAccessModel.h"
#include "clsPrivileges.h"
#include "modPartition.h"
#include "modSecurityGroups.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

namespace users {

UA_Effective_Access::UA_Effective_Access(const clsPrivileges& privileges, QWidget* parent) : QDialog(parent) {
    setObjectName("UA_Effective_Access");
    setWindowTitle(QString::fromStdString("Effective Access: " + privileges.Name()));
    m_model = new EffectiveAccessModel(this);
    m_model->setGrants(EffectiveAccess(privileges));
    m_filter = new QSortFilterProxyModel(this);
    m_filter->setSourceModel(m_model);
    m_filter->setFilterKeyColumn(-1); // any column
    m_filter->setFilterCaseSensitivity(Qt::CaseInsensitive);

    m_txtFilter = new QLineEdit(this);
    m_txtFilter->setObjectName("txtFilter");
    auto* filterLabel = new QLabel("&Filter:", this);
    filterLabel->setBuddy(m_txtFilter);
    connect(m_txtFilter, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_filter->setFilterFixedString(text); });

    m_lvwAccess = new QTableView(this);
    m_lvwAccess->setObjectName("lvwAccess");
    m_lvwAccess->setModel(m_filter);
    m_lvwAccess->setSortingEnabled(true);
    m_lvwAccess->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_lvwAccess->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_lvwAccess->horizontalHeader()->setStretchLastSection(true);
    m_lvwAccess->sortByColumn(-1, Qt::AscendingOrder);

    auto* copy = new QPushButton("&Copy", this);
    copy->setObjectName("cmdCopy");
    copy->setAutoDefault(false);
    auto* close = new QPushButton("Close", this);
    close->setObjectName("cmdClose");
    close->setDefault(true);
    connect(copy, &QPushButton::clicked, this, &UA_Effective_Access::cmdCopy_Click);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto* top = new QHBoxLayout;
    top->addWidget(filterLabel);
    top->addWidget(m_txtFilter);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(copy);
    bottom->addStretch();
    bottom->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    QTableView* members = nullptr;
    if (privileges.IsGroup()) {
        m_members = new CheckListModel({"User Name", "Last Name", "First Name", "Partition"}, this, false);
        std::vector<GroupMemberName> names;
        LoadGroupMemberNames(privileges.Id(), names); // a failure has been shown; the list stays empty
        std::vector<CheckListModel::Row> rows;
        rows.reserve(names.size());
        for (const auto& m : names)
            rows.push_back({m.userId,
                            {QString::fromStdString(m.userName), QString::fromStdString(m.lastName),
                             QString::fromStdString(m.firstName),
                             QString::fromStdString(physicians::GetPartitionName(m.partitionId))},
                            false});
        m_members->setRows(std::move(rows));
        members = new QTableView(this);
        members->setObjectName("lvwMembers");
        members->setModel(m_members);
        members->setSelectionBehavior(QAbstractItemView::SelectRows);
        members->setEditTriggers(QAbstractItemView::NoEditTriggers);
        members->horizontalHeader()->setStretchLastSection(true);
        auto* membersLabel =
            new QLabel(QString("&Members (%1), each granted the rights below:").arg(m_members->rowCount()), this);
        membersLabel->setObjectName("lblMembers");
        membersLabel->setBuddy(members);
        layout->addWidget(membersLabel);
        layout->addWidget(members, 1);
    }
    layout->addLayout(top);
    layout->addWidget(m_lvwAccess, 2);
    layout->addLayout(bottom);
    if (members)
        setTabOrder(members, m_txtFilter);
    setTabOrder(m_txtFilter, m_lvwAccess);
    setTabOrder(m_lvwAccess, copy);
    setTabOrder(copy, close);
    resize(760, 480);
}

QString UA_Effective_Access::VisibleText() const {
    QStringList lines;
    QStringList header;
    for (int c = 0; c < m_filter->columnCount(); ++c)
        header << m_filter->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    lines << header.join('\t');
    for (int r = 0; r < m_filter->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < m_filter->columnCount(); ++c)
            cells << m_filter->index(r, c).data().toString();
        lines << cells.join('\t');
    }
    return lines.join('\n') + '\n';
}

void UA_Effective_Access::cmdCopy_Click() {
    QApplication::clipboard()->setText(VisibleText());
}

} // namespace users
