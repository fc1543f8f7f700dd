#include "TE_SuspTypes.h"

#include "HelpFile.h"
#include "MessageService.h"
#include "TE_Add_Susp.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace accounts {

using platform::MsgAnswer;
using platform::MsgBox;
using platform::MsgButtons;
using platform::MsgIcon;

namespace {

constexpr const char* kTitle = "Suspension Type Editor";

QPushButton* button(QWidget* parent, const char* name, const char* text) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    return b;
}

} // namespace

TE_SuspTypes::TE_SuspTypes(QWidget* parent) : QDialog(parent) {
    setObjectName("TE_SuspTypes");
    setWindowTitle(kTitle);
    auto* heading = new QLabel("Report Suspension Types", this);
    heading->setObjectName("lblHeading");
    lvwTypes = new QTreeWidget(this);
    lvwTypes->setObjectName("lvwTypes");
    lvwTypes->setHeaderLabels({"Type", "Description"});
    lvwTypes->setRootIsDecorated(false);
    lvwTypes->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    heading->setBuddy(lvwTypes);
    chkShowSystem = new QCheckBox("Show &System Types", this);
    chkShowSystem->setObjectName("chkShowSystem");
    cmdAdd = button(this, "cmdAdd", "&Add");
    cmdEdit = button(this, "cmdEdit", "&Edit");
    cmdDelete = button(this, "cmdDelete", "&Delete");
    cmdOK = button(this, "cmdOK", "&OK");
    cmdOK->setDefault(true);
    cmdHelp = button(this, "cmdHelp", "&Help");
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {cmdAdd, cmdEdit, cmdDelete})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdHelp);
    auto* listColumn = new QVBoxLayout;
    listColumn->addWidget(heading);
    listColumn->addWidget(lvwTypes, 1);
    listColumn->addWidget(chkShowSystem);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(listColumn, 1);
    layout->addLayout(buttons);

    connect(chkShowSystem, &QCheckBox::toggled, this,
            [this] { FillList(Selected() ? Selected()->suspension_type : 0); });
    connect(lvwTypes, &QTreeWidget::itemDoubleClicked, this, [this] { cmdEdit_Click(); });
    connect(cmdAdd, &QPushButton::clicked, this, &TE_SuspTypes::cmdAdd_Click);
    connect(cmdEdit, &QPushButton::clicked, this, &TE_SuspTypes::cmdEdit_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &TE_SuspTypes::cmdDelete_Click);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdHelp, &QPushButton::clicked, this, [] { foundation::HelpFile::Show(); });
}

void TE_SuspTypes::ShowSuspTypeList() {
    m_types.Load();
    FillList(0);
}

void TE_SuspTypes::FillList(int select) {
    lvwTypes->clear();
    for (const auto& t : m_types.Types()) {
        if (t.IsSystem() && !chkShowSystem->isChecked())
            continue;
        auto* item = new QTreeWidgetItem(
            lvwTypes, {QString::number(t.suspension_type),
                       QString::fromStdString(t.suspension_description + (t.IsSystem() ? " (System)" : " (User)"))});
        item->setData(0, Qt::UserRole, t.suspension_type);
        item->setData(1, Qt::UserRole, QString("P%1").arg(t.suspension_type, 3, 10, QLatin1Char('0')));
        if (t.suspension_type == select)
            lvwTypes->setCurrentItem(item);
    }
    if (!lvwTypes->currentItem() && lvwTypes->topLevelItemCount() > 0)
        lvwTypes->setCurrentItem(lvwTypes->topLevelItem(0));
}

const clsSuspensionType* TE_SuspTypes::Selected() const {
    const QTreeWidgetItem* item = lvwTypes->currentItem();
    return item ? m_types.Find(item->data(0, Qt::UserRole).toInt()) : nullptr;
}

void TE_SuspTypes::cmdAdd_Click() {
    TE_Add_Susp dialog(m_types, this);
    if (!dialog.EditType(nullptr) || runDialog(dialog) != QDialog::Accepted)
        return;
    int newest = 0;
    for (const auto& t : m_types.Types())
        newest = std::max(newest, t.suspension_type);
    FillList(newest);
}

void TE_SuspTypes::cmdEdit_Click() {
    const clsSuspensionType* t = Selected();
    if (!t)
        return;
    if (t->IsSystem()) {
        MsgBox("System suspension types cannot be changed.", MsgButtons::OK, MsgIcon::Exclamation, kTitle);
        return;
    }
    const int type = t->suspension_type;
    TE_Add_Susp dialog(m_types, this);
    if (!dialog.EditType(t) || runDialog(dialog) != QDialog::Accepted)
        return;
    FillList(type);
}

void TE_SuspTypes::cmdDelete_Click() {
    const clsSuspensionType* t = Selected();
    if (!t)
        return;
    if (t->IsSystem()) {
        MsgBox("System suspension types cannot be deleted from the system.", MsgButtons::OK, MsgIcon::Exclamation,
               kTitle);
        return;
    }
    if (MsgBox("Are you sure you would like to delete suspension type '" + t->suspension_description + "' (" +
                   std::to_string(t->suspension_type) + ")?",
               MsgButtons::YesNo, MsgIcon::Question, "Delete Suspension Type") != MsgAnswer::Yes)
        return;
    m_types.Remove(t->suspension_type);
    FillList(0);
}

} // namespace accounts
