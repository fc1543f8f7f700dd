#include "PP_Phys_Search.h"

#include "General_MDI.h"
#include "MessageService.h"
#include "PhysicianListModel.h"
#include "PhysicianSearch.h"
#include "modPhysicianList.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <set>

namespace physicians {

using platform::MsgBox;
using platform::MsgButtons;
using platform::MsgIcon;

PP_Phys_Search::PP_Phys_Search(long account, QWidget* parent)
    : QDialog(parent), m_lngAccount(account), m_model(new PhysicianListModel(this)) {
    setObjectName("PP_Phys_Search");
    setWindowTitle("Physician Search");
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    auto* label = new QLabel("&Name:", this);
    txtSearch = new QLineEdit(this);
    txtSearch->setObjectName("txtSearch");
    label->setBuddy(txtSearch);
    cmdSearch = new QPushButton("&Search", this);
    cmdSearch->setObjectName("cmdSearch");
    cmdSearch->setDefault(true);
    row->addWidget(label);
    row->addWidget(txtSearch, 1);
    row->addWidget(cmdSearch);
    layout->addLayout(row);
    lvwResults = new QTableView(this);
    lvwResults->setObjectName("lvwResults");
    lvwResults->setModel(m_model);
    lvwResults->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvwResults->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvwResults->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    lvwResults->setSortingEnabled(true);
    lvwResults->verticalHeader()->setVisible(false);
    // The search shows the name, the author id, the two MIS numbers and the partition.
    for (int c = 0; c < PhysicianListModel::ColumnCount; ++c)
        lvwResults->setColumnHidden(c, c != PhysicianListModel::ColName && c != PhysicianListModel::ColAuthorId &&
                                           c != PhysicianListModel::ColMis1 && c != PhysicianListModel::ColMis2 &&
                                           c != PhysicianListModel::ColPartition);
    layout->addWidget(lvwResults, 1);
    auto* buttons = new QHBoxLayout;
    cmdEdit = new QPushButton("&Edit", this);
    cmdEdit->setObjectName("cmdEdit");
    cmdAdd = new QPushButton("&Add to Account", this);
    cmdAdd->setObjectName("cmdAdd");
    cmdClose = new QPushButton("&Close", this);
    cmdClose->setObjectName("cmdClose");
    buttons->addStretch(1);
    buttons->addWidget(cmdEdit);
    buttons->addWidget(cmdAdd);
    buttons->addWidget(cmdClose);
    layout->addLayout(buttons);
    connect(cmdSearch, &QPushButton::clicked, this, &PP_Phys_Search::cmdSearch_Click);
    connect(cmdEdit, &QPushButton::clicked, this, &PP_Phys_Search::EditPhysician);
    connect(cmdAdd, &QPushButton::clicked, this, &PP_Phys_Search::cmdAdd_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);
    openEditor = [](const std::vector<long>&) { mainwindow::General_MDI::notAvailableYet("Physician Profile Editor"); };
}

void PP_Phys_Search::cmdSearch_Click() {
    m_model->setRecords(nullptr);
    SearchPhysicians(txtSearch->text().toStdString(), m_found);
    m_model->setRecords(&m_found);
}

std::vector<const clsPhysicianSummaryRecord*> PP_Phys_Search::selectedRecords() const {
    std::set<int> rows;
    for (const QModelIndex& i : lvwResults->selectionModel()->selectedRows())
        rows.insert(i.row());
    std::vector<const clsPhysicianSummaryRecord*> out;
    for (int r : rows)
        if (const auto* rec = m_model->recordAt(r))
            out.push_back(rec);
    return out;
}

void PP_Phys_Search::EditPhysician() {
    if (const std::string refusal = ListCommandRefusal(ListCommand::Edit); !refusal.empty()) {
        MsgBox(refusal, MsgButtons::OK, MsgIcon::Exclamation, kSecurityTitle);
        return;
    }
    const auto selection = selectedRecords();
    if (selection.size() != 1) {
        MsgBox("Only one physician can be selected for editing.", MsgButtons::OK, MsgIcon::Exclamation,
               "Physician Profile");
        return;
    }
    openEditor({selection.front()->physician_id});
}

void PP_Phys_Search::cmdAdd_Click() {
    if (const std::string refusal = ListCommandRefusal(ListCommand::Add); !refusal.empty()) {
        MsgBox(refusal, MsgButtons::OK, MsgIcon::Exclamation, kSecurityTitle);
        return;
    }
    const auto selection = selectedRecords();
    if (selection.size() != 1) {
        MsgBox("Only one physician can be selected for adding.", MsgButtons::OK, MsgIcon::Exclamation,
               "Physician Profile");
        return;
    }
    if (m_lngAccount < 0)
        return;
    if (AddPhysicianToAccount(*selection.front(), m_lngAccount) && onAdded)
        onAdded();
}

} // namespace physicians
