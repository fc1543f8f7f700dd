#include "UA_Add_Users_Groups.h"

#include "CheckListModel.h"
#include "clsSecurityGroups.h"
#include "clsUser.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace users {

UA_Add_Users_Groups::UA_Add_Users_Groups(Mode mode, QWidget* parent) : QDialog(parent) {
    setObjectName("UA_Add_Users_Groups");
    setWindowTitle(mode == Mode::Groups ? "Add Groups" : "Add Users");
    m_model =
        new CheckListModel(mode == Mode::Groups ? QStringList{"Group Name", "Description"}
                                                : QStringList{"User Name", "Last Name", "First Name", "Partition"},
                           this);
    auto* sorted = new QSortFilterProxyModel(this);
    sorted->setSourceModel(m_model);
    sorted->setSortCaseSensitivity(Qt::CaseInsensitive);
    m_lvwList = new QTableView(this);
    m_lvwList->setObjectName("lvwList");
    m_lvwList->setModel(sorted);
    m_lvwList->setSortingEnabled(true);
    m_lvwList->sortByColumn(0, Qt::AscendingOrder);
    m_lvwList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_lvwList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_lvwList->horizontalHeader()->setStretchLastSection(true);
    m_lvwList->verticalHeader()->hide();

    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("cmdOK");
    ok->setDefault(true);
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setObjectName("cmdCancel");
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_lvwList);
    layout->addLayout(buttons);
    setTabOrder(m_lvwList, ok);
    setTabOrder(ok, cancel);
    resize(520, 420);
}

void UA_Add_Users_Groups::LoadGroups(const clsUser& user, const std::vector<long>& userGroups,
                                     const clsSecurityGroups& groups) {
    std::vector<CheckListModel::Row> rows;
    for (const clsSecurityGroup& g : groups) {
        if (std::find(userGroups.begin(), userGroups.end(), g.m_lngGroupId) != userGroups.end() || g.IsBuiltIn() ||
            !UserMayJoinGroup(user, g))
            continue;
        rows.push_back({g.m_lngGroupId,
                        {QString::fromStdString(g.m_strGroupName), QString::fromStdString(g.m_strDescription)},
                        false});
    }
    m_model->setRows(std::move(rows));
}

void UA_Add_Users_Groups::LoadUsers(const std::vector<const clsUser*>& offered) {
    std::vector<CheckListModel::Row> rows;
    rows.reserve(offered.size());
    for (const clsUser* u : offered)
        rows.push_back({u->m_lngUserId,
                        {QString::fromStdString(u->m_strUserName), QString::fromStdString(u->m_strLastName),
                         QString::fromStdString(u->m_strFirstName), QString::fromStdString(u->Partition_Name())},
                        false});
    m_model->setRows(std::move(rows));
}

int UA_Add_Users_Groups::Offered() const {
    return m_model->rowCount();
}

std::vector<long> UA_Add_Users_Groups::CheckedIds() const {
    return m_model->CheckedIds();
}

} // namespace users
