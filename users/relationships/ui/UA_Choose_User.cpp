#include "UA_Choose_User.h"

#include "clsUser.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace users {

const char* UA_Choose_User::Caption(Kind kind) {
    switch (kind) {
    case Kind::Surrogate:
        return "Surrogate Relationship";
    case Kind::Resident:
        return "Resident Relationship";
    case Kind::Cosigner:
        break;
    }
    return "Cosigner Relationship";
}

const char* UA_Choose_User::Prompt(Kind kind) {
    switch (kind) {
    case Kind::Surrogate:
        return "Select the Paxlet physician that needs a Surrogate Relationship";
    case Kind::Resident:
        return "Select the Paxlet physician (Resident) for the Resident Relationship";
    case Kind::Cosigner:
        break;
    }
    return "Select the Paxlet physician (Dictator) for the Cosigner Relationship";
}

UA_Choose_User::UA_Choose_User(Kind kind, const std::vector<const clsUser*>& candidates, QWidget* parent)
    : QDialog(parent) {
    setObjectName("UA_Choose_User");
    setWindowTitle(Caption(kind));
    m_lblPrompt = new QLabel(Prompt(kind), this);
    m_lblPrompt->setObjectName("lblPrompt");
    m_lblPrompt->setWordWrap(true);
    m_lvwUsers = new QTreeWidget(this);
    m_lvwUsers->setObjectName("lvwUsers");
    m_lvwUsers->setHeaderLabels({"User Name", "First Name", "Last Name", "Partition"});
    m_lvwUsers->setRootIsDecorated(false);
    m_lvwUsers->header()->setStretchLastSection(true);
    m_lblPrompt->setBuddy(m_lvwUsers);
    m_userIds.reserve(candidates.size());
    for (const clsUser* u : candidates) {
        auto* item = new QTreeWidgetItem(m_lvwUsers);
        item->setText(0, QString::fromStdString(u->m_strUserName));
        item->setText(1, QString::fromStdString(u->m_strFirstName));
        item->setText(2, QString::fromStdString(u->m_strLastName));
        item->setText(3, QString::fromStdString(u->Partition_Name()));
        m_userIds.push_back(u->m_lngUserId);
    }
    auto* ok = new QPushButton("&OK", this);
    ok->setObjectName("cmdOK");
    ok->setDefault(true);
    ok->setEnabled(false);
    auto* cancel = new QPushButton("&Cancel", this);
    cancel->setObjectName("cmdCancel");
    connect(ok, &QPushButton::clicked, this, &UA_Choose_User::cmdOK_Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_lvwUsers, &QTreeWidget::currentItemChanged, this,
            [ok](QTreeWidgetItem* current) { ok->setEnabled(current != nullptr); });
    connect(m_lvwUsers, &QTreeWidget::itemDoubleClicked, this, &UA_Choose_User::cmdOK_Click);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_lblPrompt);
    layout->addWidget(m_lvwUsers, 1);
    layout->addLayout(buttons);
    resize(460, 360);
}

void UA_Choose_User::cmdOK_Click() {
    const int at = m_lvwUsers->indexOfTopLevelItem(m_lvwUsers->currentItem());
    if (at < 0)
        return;
    m_lngChosenUserId = m_userIds[static_cast<size_t>(at)];
    accept();
}

} // namespace users
