#include "TE_Pauses.h"

#include "HelpFile.h"
#include "MessageService.h"
#include "TE_Add_Pause.h"

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

QPushButton* button(QWidget* parent, const char* name, const char* text) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    return b;
}

QString yesNo(int choice) {
    return choice == 1 ? "Yes" : "No";
}

} // namespace

TE_Pauses::TE_Pauses(QWidget* parent) : QDialog(parent) {
    setObjectName("TE_Pauses");
    setWindowTitle("Activity Type Editor");
    auto* heading = new QLabel("Transcriptionist Activity Types", this);
    heading->setObjectName("lblHeading");
    lvwTypes = new QTreeWidget(this);
    lvwTypes->setObjectName("lvwTypes");
    lvwTypes->setHeaderLabels({"Type", "Description", "Work Type", "Activity Type Choice", "Pause Type Choice"});
    lvwTypes->setRootIsDecorated(false);
    lvwTypes->header()->setSectionResizeMode(1, QHeaderView::Stretch);
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
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(listColumn, 1);
    layout->addLayout(buttons);

    connect(lvwTypes, &QTreeWidget::itemDoubleClicked, this, [this] { cmdEdit_Click(); });
    connect(cmdAdd, &QPushButton::clicked, this, &TE_Pauses::cmdAdd_Click);
    connect(cmdEdit, &QPushButton::clicked, this, &TE_Pauses::cmdEdit_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &TE_Pauses::cmdDelete_Click);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdHelp, &QPushButton::clicked, this, [] { foundation::HelpFile::Show(); });
}

void TE_Pauses::ShowPauseTypeList() {
    m_types.Load();
    FillList(0);
}

void TE_Pauses::FillList(int select) {
    lvwTypes->clear();
    for (const auto& t : m_types.Types()) {
        auto* item =
            new QTreeWidgetItem(lvwTypes, {QString::number(t.pause_type), QString::fromStdString(t.pause_description),
                                           clsPauseTypes::WorkTypeName(t.work_type), yesNo(t.work_hours_choice),
                                           yesNo(t.pause_reason_choice)});
        item->setData(0, Qt::UserRole, t.pause_type);
        item->setData(1, Qt::UserRole, QString("P%1").arg(t.pause_type, 3, 10, QLatin1Char('0')));
        if (t.pause_type == select)
            lvwTypes->setCurrentItem(item);
    }
    if (!lvwTypes->currentItem() && lvwTypes->topLevelItemCount() > 0)
        lvwTypes->setCurrentItem(lvwTypes->topLevelItem(0));
}

const clsPauseType* TE_Pauses::Selected() const {
    const QTreeWidgetItem* item = lvwTypes->currentItem();
    return item ? m_types.Find(item->data(0, Qt::UserRole).toInt()) : nullptr;
}

void TE_Pauses::cmdAdd_Click() {
    TE_Add_Pause dialog(m_types, this);
    dialog.EditType(nullptr);
    const int number = m_types.NextNumber();
    if (runDialog(dialog) == QDialog::Accepted)
        FillList(number);
}

void TE_Pauses::cmdEdit_Click() {
    const clsPauseType* t = Selected();
    if (!t)
        return;
    const int type = t->pause_type;
    TE_Add_Pause dialog(m_types, this);
    dialog.EditType(t);
    if (runDialog(dialog) == QDialog::Accepted)
        FillList(type);
}

void TE_Pauses::cmdDelete_Click() {
    const clsPauseType* t = Selected();
    if (!t)
        return;
    if (m_types.Types().size() <= 1) {
        MsgBox("The last activity type cannot be deleted.  At least one must exist.", MsgButtons::OK,
               MsgIcon::Exclamation, "Delete Error");
        return;
    }
    const int type = t->pause_type;
    const std::string description = t->pause_description;
    const auto reference = clsPauseTypes::IsReferenced(type);
    if (reference == clsPauseTypes::Reference::Failed)
        return;
    if (reference == clsPauseTypes::Reference::Referenced) {
        MsgBox("This activity type is already referenced and cannot be deleted.", MsgButtons::OK, MsgIcon::Exclamation,
               "Delete Error");
        return;
    }
    if (MsgBox("Are you sure you would like to delete activity type '" + description + "' (" + std::to_string(type) +
                   ")?",
               MsgButtons::YesNo, MsgIcon::Question, "Delete Activity Type") != MsgAnswer::Yes)
        return;
    m_types.Remove(type);
    FillList(0);
}

} // namespace accounts
