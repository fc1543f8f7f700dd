#include "TE_Type_Editor.h"

#include "LoginComponent.h"
#include "MessageService.h"
#include "TE_Add_form.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace accounts {

using platform::MsgAnswer;
using platform::MsgBox;
using platform::MsgButtons;
using platform::MsgIcon;

namespace {

QPushButton* button(QWidget* parent, const char* name, const char* text) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    return b;
}

} // namespace

TE_Type_Editor::TE_Type_Editor(suite::LoginComponent& login, clsAccountTypes::Mode mode, QWidget* parent)
    : QDialog(parent), m_login(login), m_types(mode) {
    const bool suspension = mode == clsAccountTypes::Mode::Suspension;
    setObjectName("TE_Type_Editor");
    setWindowTitle(suspension ? "Suspension Types Editor" : "Pause Types Editor");
    auto* accountsLabel = new QLabel("A&ccounts", this);
    AccountList = new QListWidget(this);
    AccountList->setObjectName("AccountList");
    accountsLabel->setBuddy(AccountList);
    auto* typesLabel = new QLabel(suspension ? "User Defined &Suspension Types" : "Pause &Types", this);
    typesLabel->setObjectName("lblTypes");
    LVTypes = new QTreeWidget(this);
    LVTypes->setObjectName("LVTypes");
    LVTypes->setHeaderLabels({"Type", "Description"});
    LVTypes->setRootIsDecorated(false);
    LVTypes->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    typesLabel->setBuddy(LVTypes);
    BAdd = button(this, "BAdd", "&Add");
    BEdit = button(this, "BEdit", "&Edit");
    BDelete = button(this, "BDelete", "&Delete");
    BUseForAll = button(this, "BUseForAll", "&Use For All Accounts");
    BOK = button(this, "BOK", "&OK");
    BOK->setDefault(true);
    BCancel = button(this, "BCancel", "Cancel");

    auto* left = new QVBoxLayout;
    left->addWidget(accountsLabel);
    left->addWidget(AccountList, 1);
    auto* middle = new QVBoxLayout;
    middle->addWidget(typesLabel);
    middle->addWidget(LVTypes, 1);
    auto* right = new QVBoxLayout;
    for (QPushButton* b : {BAdd, BEdit, BDelete, BUseForAll})
        right->addWidget(b);
    right->addStretch(1);
    right->addWidget(BOK);
    right->addWidget(BCancel);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(middle, 2);
    layout->addLayout(right);

    connect(AccountList, &QListWidget::currentRowChanged, this, [this] { FillTypes(0); });
    connect(LVTypes, &QTreeWidget::itemDoubleClicked, this, [this] { BEdit_Click(); });
    connect(BAdd, &QPushButton::clicked, this, &TE_Type_Editor::BAdd_Click);
    connect(BEdit, &QPushButton::clicked, this, &TE_Type_Editor::BEdit_Click);
    connect(BDelete, &QPushButton::clicked, this, &TE_Type_Editor::BDelete_Click);
    connect(BUseForAll, &QPushButton::clicked, this, &TE_Type_Editor::BUseForAll_Click);
    connect(BOK, &QPushButton::clicked, this, &TE_Type_Editor::BOK_Click);
    connect(BCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TE_Type_Editor::EditTypes() {
    m_types.Load(m_login);
    AccountList->clear();
    for (long id : m_types.Accounts()) {
        const auto& a = m_login.HospAccountAt(m_login.GetAcctIndex(id));
        auto* item = new QListWidgetItem(QString::fromStdString(a.hosp_acct_name), AccountList);
        item->setData(Qt::UserRole, QVariant::fromValue(id));
    }
    if (AccountList->count() > 0)
        AccountList->setCurrentRow(0);
    FillTypes(0);
}

long TE_Type_Editor::SelectedAccount() const {
    const QListWidgetItem* item = AccountList->currentItem();
    return item ? item->data(Qt::UserRole).value<long>() : -1;
}

const clsAccountType* TE_Type_Editor::SelectedType() const {
    const QTreeWidgetItem* item = LVTypes->currentItem();
    if (!item)
        return nullptr;
    const int type = item->data(0, Qt::UserRole).toInt();
    for (const auto& t : m_types.TypesOf(SelectedAccount()))
        if (t.type == type)
            return &t;
    return nullptr;
}

void TE_Type_Editor::FillTypes(int select) {
    LVTypes->clear();
    const bool suspension = m_types.mode() == clsAccountTypes::Mode::Suspension;
    for (const auto& t : m_types.TypesOf(SelectedAccount())) {
        const std::string description = t.description + (suspension && t.type < 10 ? " - SYSTEM" : "");
        auto* item = new QTreeWidgetItem(LVTypes, {QString::number(t.type), QString::fromStdString(description)});
        item->setData(0, Qt::UserRole, t.type);
        if (t.type == select)
            LVTypes->setCurrentItem(item);
    }
}

void TE_Type_Editor::BAdd_Click() {
    const long account = SelectedAccount();
    if (account == -1)
        return;
    TE_Add_form form(m_types, account, this);
    if (!form.Edit(nullptr) || runDialog(form) != QDialog::Accepted)
        return;
    FillTypes(0);
}

void TE_Type_Editor::BEdit_Click() {
    const clsAccountType* t = SelectedType();
    if (!t)
        return;
    const int type = t->type;
    TE_Add_form form(m_types, SelectedAccount(), this);
    if (form.Edit(t) && runDialog(form) == QDialog::Accepted)
        FillTypes(type);
}

void TE_Type_Editor::BDelete_Click() {
    const clsAccountType* t = SelectedType();
    if (!t)
        return;
    if (MsgBox("Are you sure you want to delete type " + t->description + "?", MsgButtons::YesNo, MsgIcon::Question,
               "Delete?") != MsgAnswer::Yes)
        return;
    m_types.DeleteType(SelectedAccount(), t->type);
    FillTypes(0);
}

void TE_Type_Editor::BUseForAll_Click() {
    if (SelectedAccount() != -1)
        m_types.UseForAll(SelectedAccount());
}

void TE_Type_Editor::BOK_Click() {
    // A failed save leaves the database as it was and the lists as edited, so OK can be pressed again.
    if (m_types.Save())
        accept();
}

} // namespace accounts
