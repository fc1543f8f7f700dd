#include "PP_Choose_Phys.h"

#include "LoginComponent.h"
#include "MessageService.h"
#include "PhysicianListModel.h"
#include "modPartition.h"
#include "modPhysicianList.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace physicians {

PP_Choose_Phys::PP_Choose_Phys(const suite::LoginComponent& login, QWidget* parent)
    : QDialog(parent), m_login(login), m_model(new PhysicianListModel(this)) {
    setObjectName("PP_Choose_Phys");
    setWindowTitle("Choose Physician");
    auto* layout = new QVBoxLayout(this);
    auto* prompt = new QLabel("Select the physician profile the new physician user is linked to.", this);
    layout->addWidget(prompt);
    auto* accountRow = new QHBoxLayout;
    auto* lblAccount = new QLabel("Acc&ount:", this);
    CBAccount = new QComboBox(this);
    CBAccount->setObjectName("CBAccount");
    lblAccount->setBuddy(CBAccount);
    accountRow->addWidget(lblAccount);
    accountRow->addWidget(CBAccount, 1);
    layout->addLayout(accountRow);

    lvwPhysList = new QTableView(this);
    lvwPhysList->setObjectName("lvwPhysList");
    lvwPhysList->setModel(m_model);
    lvwPhysList->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvwPhysList->setSelectionMode(QAbstractItemView::SingleSelection);
    lvwPhysList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvwPhysList->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    lvwPhysList->setSortingEnabled(true);
    lvwPhysList->verticalHeader()->setVisible(false);
    // What tells physicians apart; the output columns say nothing about who the user is.
    for (int c : {PhysicianListModel::ColAlert1, PhysicianListModel::ColAlert2, PhysicianListModel::ColFax,
                  PhysicianListModel::ColStatus})
        lvwPhysList->setColumnHidden(c, true);
    layout->addWidget(lvwPhysList, 1);
    lblCount = new QLabel(this);
    lblCount->setObjectName("lblCount");
    layout->addWidget(lblCount);

    auto* buttons = new QDialogButtonBox(this);
    cmdOK = buttons->addButton("&OK", QDialogButtonBox::AcceptRole);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setDefault(true);
    cmdOK->setEnabled(false);
    cmdCancel = buttons->addButton("&Cancel", QDialogButtonBox::RejectRole);
    cmdCancel->setObjectName("cmdCancel");
    layout->addWidget(buttons);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(CBAccount, &QComboBox::currentIndexChanged, this, [this] { ShowAccount(); });
    connect(lvwPhysList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &PP_Choose_Phys::selectionChanged);
    connect(lvwPhysList, &QTableView::doubleClicked, this, [this] {
        if (Chosen())
            accept();
    });
    resize(640, 420);
}

bool PP_Choose_Phys::IsCandidate(const clsPhysicianSummaryRecord& r, long ownPartition) {
    return PhysicianMayGetUser(r, ownPartition);
}

bool PP_Choose_Phys::LoadForm() {
    std::vector<const suite::HospAccount*> accounts;
    for (int i = 1; i <= m_login.NumberHospAccounts(); ++i)
        if (const auto& a = m_login.HospAccountAt(i);
            a.hosp_acct_id > 0 && !a.is_deleted && AccountVisibleToUser(a.hosp_acct_id))
            accounts.push_back(&a);
    std::sort(accounts.begin(), accounts.end(),
              [](const auto* a, const auto* b) { return a->hosp_acct_name < b->hosp_acct_name; });
    const QSignalBlocker block(CBAccount);
    CBAccount->clear();
    for (const auto* a : accounts)
        CBAccount->addItem(QString::fromStdString(a->hosp_acct_name), static_cast<qlonglong>(a->hosp_acct_id));
    if (accounts.empty()) {
        // A physician user is made from a physician profile, and profiles are reached through an account.
        platform::MsgBox(kNoAccountText, platform::MsgButtons::OK, platform::MsgIcon::Exclamation, "Add User");
        return false;
    }
    return ShowAccount();
}

bool PP_Choose_Phys::ShowAccount() {
    m_model->setRecords(nullptr);
    cmdOK->setEnabled(false);
    if (CBAccount->currentIndex() < 0)
        return false;
    clsPhysicianSummaryRecords all;
    const long account = static_cast<long>(CBAccount->currentData().toLongLong());
    if (!RetrievePhysicians(account, HiddenFilter::VisibleOnly, all))
        return false;
    m_records.RemoveAll();
    for (const auto& r : all.records())
        if (IsCandidate(r, m_login.user.Partition_ID))
            m_records.Add(r);
    m_model->setRecords(&m_records);
    lblCount->setText(m_records.Count() == 0 ? QString("No physician of this account is without a user.")
                                             : QString("%1 physician(s) without a user").arg(m_records.Count()));
    return true;
}

const clsPhysicianSummaryRecord* PP_Choose_Phys::Chosen() const {
    const QModelIndexList rows = lvwPhysList->selectionModel()->selectedRows();
    return rows.size() == 1 ? m_model->recordAt(rows.front().row()) : nullptr;
}

void PP_Choose_Phys::selectionChanged() {
    cmdOK->setEnabled(Chosen() != nullptr);
}

} // namespace physicians
