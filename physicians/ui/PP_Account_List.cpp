#include "PP_Account_List.h"

#include "LoginComponent.h"
#include "modPartition.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace physicians {

PP_Account_List::PP_Account_List(const suite::LoginComponent& login, Mode mode, QWidget* parent)
    : QDialog(parent), m_login(login) {
    setObjectName("PP_Account_List");
    const bool defaults = mode == Mode::DefaultAccounts;
    setWindowTitle(defaults ? "Default Accounts" : "Add Accounts");
    auto* layout = new QVBoxLayout(this);
    lblPrompt = new QLabel(defaults ? "Select accounts for new physicians." : "Select accounts to be added.", this);
    lblPrompt->setObjectName("lblPrompt");
    layout->addWidget(lblPrompt);
    lstAccounts = new QListWidget(this);
    lstAccounts->setObjectName("lstAccounts");
    layout->addWidget(lstAccounts);
    auto* buttons = new QDialogButtonBox(this);
    cmdOK = buttons->addButton(defaults ? "&OK" : "&Add Accounts", QDialogButtonBox::AcceptRole);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setDefault(true);
    cmdCancel = buttons->addButton("&Cancel", QDialogButtonBox::RejectRole);
    cmdCancel->setObjectName("cmdCancel");
    layout->addWidget(buttons);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void PP_Account_List::fill(const std::vector<long>& checked) {
    lstAccounts->clear();
    std::vector<const suite::HospAccount*> accounts;
    for (int i = 1; i <= m_login.NumberHospAccounts(); ++i)
        if (const auto& a = m_login.HospAccountAt(i); AccountVisibleToUser(a.hosp_acct_id))
            accounts.push_back(&a);
    std::sort(accounts.begin(), accounts.end(),
              [](const auto* a, const auto* b) { return a->hosp_acct_name < b->hosp_acct_name; });
    for (const auto* a : accounts) {
        auto* item = new QListWidgetItem(QString::fromStdString(a->hosp_acct_name), lstAccounts);
        item->setData(Qt::UserRole, static_cast<qlonglong>(a->hosp_acct_id));
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        const bool on = std::find(checked.begin(), checked.end(), a->hosp_acct_id) != checked.end();
        item->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    }
}

std::vector<long> PP_Account_List::chosen() const {
    std::vector<long> out;
    for (int i = 0; i < lstAccounts->count(); ++i)
        if (lstAccounts->item(i)->checkState() == Qt::Checked)
            out.push_back(static_cast<long>(lstAccounts->item(i)->data(Qt::UserRole).toLongLong()));
    return out;
}

std::vector<long> PP_Account_List::Add(const std::vector<long>& checked, bool& ok) {
    fill(checked);
    ok = exec() == QDialog::Accepted;
    return ok ? chosen() : std::vector<long>{};
}

} // namespace physicians
