#include "VV_FacilityLinks.h"

#include "LoginComponent.h"
#include "VV_FacilityLink_Edit.h"
#include "VV_Systems.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace voicesystems {

VV_FacilityLinks::VV_FacilityLinks(const suite::LoginComponent& login, QWidget* parent)
    : QDialog(parent), m_login(login) {
    setObjectName("VV_FacilityLinks");
    setWindowTitle("Veltra Voice Facility Links");
    lvwFacilityLinks = new QTreeWidget(this);
    lvwFacilityLinks->setObjectName("lvwFacilityLinks");
    lvwFacilityLinks->setRootIsDecorated(false);
    lvwFacilityLinks->setHeaderLabels({"Veltra Voice System", "Facility", "Account"});
    lvwFacilityLinks->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    cmdAdd = new QPushButton("&Add...", this);
    cmdAdd->setObjectName("cmdAdd");
    cmdEdit = new QPushButton("&Edit...", this);
    cmdEdit->setObjectName("cmdEdit");
    cmdDelete = new QPushButton("&Delete", this);
    cmdDelete->setObjectName("cmdDelete");
    cmdSystems = new QPushButton("Voice &Systems...", this);
    cmdSystems->setObjectName("cmdSystems");
    cmdOK = new QPushButton("&OK", this);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton("&Cancel", this);
    cmdCancel->setObjectName("cmdCancel");

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lvwFacilityLinks);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {cmdAdd, cmdEdit, cmdDelete, cmdSystems})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    layout->addLayout(buttons);

    connect(cmdAdd, &QPushButton::clicked, this, [this] { cmdAdd_Click(); });
    connect(cmdEdit, &QPushButton::clicked, this, [this] { cmdEdit_Click(); });
    connect(cmdDelete, &QPushButton::clicked, this, [this] { cmdDelete_Click(); });
    connect(cmdSystems, &QPushButton::clicked, this, [this] { cmdSystems_Click(); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(lvwFacilityLinks, &QTreeWidget::itemDoubleClicked, this, [this] { cmdEdit_Click(); });
    resize(520, 320);
}

bool VV_FacilityLinks::MyShow() {
    const bool loaded = m_defs.LoadById(-1) && m_links.Load();
    fillList();
    return loaded;
}

void VV_FacilityLinks::fillList() {
    const int row = lvwFacilityLinks->currentIndex().row();
    lvwFacilityLinks->clear();
    m_rows = m_links.NewEnum();
    for (const clsVVFacLinkItem* link : m_rows) {
        const clsVVSysConDef* def = m_defs.FindById(link->SystemId());
        std::string account;
        // Deleted accounts are left out of the names; such a link shows its account number.
        if (int i = m_login.GetAcctIndex(link->HospAcctId()); i > 0 && !m_login.HospAccountAt(i).is_deleted)
            account = m_login.HospAccountAt(i).hosp_acct_name;
        else
            account = std::to_string(link->HospAcctId());
        lvwFacilityLinks->addTopLevelItem(
            new QTreeWidgetItem({QString::fromStdString(def ? def->SystemName() : std::to_string(link->SystemId())),
                                 QString::number(link->FacilityId()), QString::fromStdString(account)}));
    }
    if (lvwFacilityLinks->topLevelItemCount() > 0)
        lvwFacilityLinks->setCurrentItem(
            lvwFacilityLinks->topLevelItem(std::clamp(row, 0, lvwFacilityLinks->topLevelItemCount() - 1)));
}

clsVVFacLinkItem* VV_FacilityLinks::selected() const {
    const int row = lvwFacilityLinks->currentIndex().row();
    return row >= 0 && row < static_cast<int>(m_rows.size()) ? m_rows[static_cast<size_t>(row)] : nullptr;
}

bool VV_FacilityLinks::edit(clsVVFacLinkItem& item, bool isNew) {
    VV_FacilityLink_Edit::Choices systems, accounts;
    for (const clsVVSysConDef* def : m_defs.NewEnum())
        systems.emplace_back(def->SystemId(), def->SystemName());
    for (int i = 1; i <= m_login.NumberHospAccounts(); ++i) {
        const auto& a = m_login.HospAccountAt(i);
        if (a.hosp_acct_id > 0 && !a.is_deleted)
            accounts.emplace_back(a.hosp_acct_id, a.hosp_acct_name);
    }
    item.BeginEdit();
    VV_FacilityLink_Edit screen(m_links, item, isNew, systems, accounts, this);
    if (runDialog(screen) == QDialog::Accepted)
        return true;
    item.CancelEdit();
    return false;
}

void VV_FacilityLinks::cmdAdd_Click() {
    clsVVFacLinkItem* item = m_links.Add();
    if (!edit(*item, true))
        m_links.Remove(item);
    fillList();
}

void VV_FacilityLinks::cmdEdit_Click() {
    if (clsVVFacLinkItem* item = selected()) {
        edit(*item, item->IsNew());
        fillList();
    }
}

void VV_FacilityLinks::cmdDelete_Click() {
    if (clsVVFacLinkItem* item = selected()) {
        m_links.Remove(item);
        fillList();
    }
}

void VV_FacilityLinks::cmdSystems_Click() {
    VV_Systems systems(this);
    systems.MyShow();
    if (runDialog(systems) == QDialog::Accepted) {
        m_defs.LoadById(-1);
        fillList();
    }
}

void VV_FacilityLinks::cmdOK_Click() {
    if (m_links.ApplyEdit())
        accept();
}

} // namespace voicesystems
