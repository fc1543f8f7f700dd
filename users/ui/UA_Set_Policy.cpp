#include "UA_Set_Policy.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace users {

UA_Set_Policy::UA_Set_Policy(QWidget* parent) : QDialog(parent) {
    setObjectName("UA_Set_Policy");
    setWindowTitle("Set User Policy");
    auto* layout = new QVBoxLayout(this);
    lblCurrentPolicy = new QLabel(this);
    lblCurrentPolicy->setObjectName("lblCurrentPolicy");
    layout->addWidget(lblCurrentPolicy);
    auto* caption = new QLabel("&User Policies:", this);
    layout->addWidget(caption);
    lstUserPolicies = new QListWidget(this);
    lstUserPolicies->setObjectName("lstUserPolicies");
    caption->setBuddy(lstUserPolicies);
    layout->addWidget(lstUserPolicies);
    auto* box = new QDialogButtonBox(this);
    cmdOK = box->addButton("&OK", QDialogButtonBox::AcceptRole);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setDefault(true);
    cmdCancel = box->addButton("&Cancel", QDialogButtonBox::RejectRole);
    cmdCancel->setObjectName("cmdCancel");
    layout->addWidget(box);

    connect(cmdOK, &QPushButton::clicked, this, &UA_Set_Policy::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &UA_Set_Policy::cmdCancel_Click);
    connect(lstUserPolicies, &QListWidget::itemDoubleClicked, this, &UA_Set_Policy::lstUserPolicies_DblClick);
    connect(lstUserPolicies, &QListWidget::currentItemChanged, this,
            [this](QListWidgetItem* current) { cmdOK->setEnabled(current != nullptr); });
    cmdOK->setEnabled(false);
}

bool UA_Set_Policy::Load(const std::vector<long>& currentPolicyIds) {
    m_lngSelectedId = -1;
    m_strSelectedName.clear();
    lstUserPolicies->clear();
    if (!m_colPolicies.LoadNames())
        return false;
    for (const auto& policy : m_colPolicies) {
        auto* item = new QListWidgetItem(QString::fromStdString(policy.m_strPolicyName), lstUserPolicies);
        item->setData(Qt::UserRole, static_cast<int>(policy.m_bytPolicyId));
    }
    // One policy for the whole selection is named and picked; different ones are "various".
    const bool same = !currentPolicyIds.empty() && std::all_of(currentPolicyIds.begin(), currentPolicyIds.end(),
                                                               [&](long id) { return id == currentPolicyIds.front(); });
    QString current = currentPolicyIds.empty() || same ? kUnknown : kVarious;
    if (same) {
        for (int i = 0; i < lstUserPolicies->count(); ++i) {
            QListWidgetItem* item = lstUserPolicies->item(i);
            if (item->data(Qt::UserRole).toInt() == currentPolicyIds.front()) {
                current = item->text();
                lstUserPolicies->setCurrentItem(item);
                break;
            }
        }
    }
    lblCurrentPolicy->setText("Current User Policy:  " + current);
    return true;
}

long UA_Set_Policy::OpenForm(const std::vector<long>& currentPolicyIds) {
    if (!Load(currentPolicyIds))
        return -1;
    return exec() == QDialog::Accepted ? m_lngSelectedId : -1;
}

void UA_Set_Policy::cmdOK_Click() {
    QListWidgetItem* item = lstUserPolicies->currentItem();
    if (!item)
        return;
    m_lngSelectedId = item->data(Qt::UserRole).toInt();
    m_strSelectedName = item->text().toStdString();
    accept();
}

void UA_Set_Policy::lstUserPolicies_DblClick(QListWidgetItem* item) {
    if (!item)
        return;
    lstUserPolicies->setCurrentItem(item);
    cmdOK_Click();
}

void UA_Set_Policy::cmdCancel_Click() {
    m_lngSelectedId = -1;
    m_strSelectedName.clear();
    reject();
}

} // namespace users
