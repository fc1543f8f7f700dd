#include "UA_Set_Policy.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace users {

UA_Set_Policy::UA_Set_Policy(clsUserPolicies& policies, const std::vector<int>& current, QWidget* parent)
    : QDialog(parent), m_policies(policies) {
    setObjectName("UA_Set_Policy");
    setWindowTitle("Set User Policy");
    auto* layout = new QVBoxLayout(this);
    labCurrent = new QLabel(this);
    labCurrent->setObjectName("labCurrent");
    lstUserPolicies = new QListWidget(this);
    lstUserPolicies->setObjectName("lstUserPolicies");
    for (const clsUserPolicy& p : m_policies) {
        auto* item = new QListWidgetItem(QString::fromStdString(p.m_strPolicyName), lstUserPolicies);
        item->setData(Qt::UserRole, static_cast<int>(p.m_bytPolicyId));
    }
    QString currentText;
    const bool same = !current.empty() &&
                      std::all_of(current.begin(), current.end(), [&current](int p) { return p == current.front(); });
    if (!same) {
        currentText = current.empty() ? "<Unknown>" : "<Various>";
    } else if (const clsUserPolicy* p = m_policies.Item(clsUserPolicies::Key(current.front()))) {
        currentText = QString::fromStdString(p->m_strPolicyName);
        for (int i = 0; i < lstUserPolicies->count(); ++i)
            if (lstUserPolicies->item(i)->data(Qt::UserRole).toInt() == current.front())
                lstUserPolicies->setCurrentRow(i);
    } else {
        currentText = "<Unknown>";
    }
    labCurrent->setText("Current Policy: " + currentText);
    layout->addWidget(labCurrent);
    layout->addWidget(lstUserPolicies);
    auto* buttons = new QDialogButtonBox(this);
    auto* ok = buttons->addButton("&OK", QDialogButtonBox::AcceptRole);
    ok->setObjectName("cmdOK");
    auto* cancel = buttons->addButton("&Cancel", QDialogButtonBox::RejectRole);
    cancel->setObjectName("cmdCancel");
    layout->addWidget(buttons);
    connect(ok, &QPushButton::clicked, this, &UA_Set_Policy::cmdOK_Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(lstUserPolicies, &QListWidget::itemDoubleClicked, this, [this] { cmdOK_Click(); });
}

QString UA_Set_Policy::CurrentText() const {
    return labCurrent->text().mid(QString("Current Policy: ").size());
}

void UA_Set_Policy::cmdOK_Click() {
    const QListWidgetItem* item = lstUserPolicies->currentItem();
    if (!item)
        return;
    m_chosen = item->data(Qt::UserRole).toInt();
    accept();
}

} // namespace users
