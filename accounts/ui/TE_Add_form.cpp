#include "TE_Add_form.h"

#include "MessageService.h"
#include "Text.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace accounts {

using platform::MsgBox;
using platform::MsgButtons;
using platform::MsgIcon;

TE_Add_form::TE_Add_form(clsAccountTypes& types, long account, QWidget* parent)
    : QDialog(parent), m_types(types), m_account(account) {
    setObjectName("TE_Add_form");
    CBTypeNumber = new QComboBox(this);
    CBTypeNumber->setObjectName("CBTypeNumber");
    txtDescription = new QLineEdit(this);
    txtDescription->setObjectName("txtDescription");
    txtDescription->setMaxLength(clsAccountTypes::kDescriptionLength);
    auto* typeLabel = new QLabel("&Type:", this);
    typeLabel->setBuddy(CBTypeNumber);
    auto* descriptionLabel = new QLabel("&Description:", this);
    descriptionLabel->setBuddy(txtDescription);
    auto* form = new QFormLayout;
    form->addRow(typeLabel, CBTypeNumber);
    form->addRow(descriptionLabel, txtDescription);
    BOK = new QPushButton("&OK", this);
    BOK->setObjectName("BOK");
    BOK->setDefault(true);
    BCancel = new QPushButton("&Cancel", this);
    BCancel->setObjectName("BCancel");
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(BOK, QDialogButtonBox::AcceptRole);
    buttons->addButton(BCancel, QDialogButtonBox::RejectRole);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    connect(BOK, &QPushButton::clicked, this, &TE_Add_form::BOK_Click);
    connect(BCancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool TE_Add_form::Edit(const clsAccountType* existing) {
    m_existing = existing;
    CBTypeNumber->clear();
    if (existing) {
        CBTypeNumber->addItem(QString::number(existing->type), existing->type);
        txtDescription->setText(QString::fromStdString(existing->description));
    } else {
        const std::vector<int> free = m_types.FreeNumbers(m_account);
        if (free.empty()) {
            MsgBox("Maximum number of types reached.  No more can be added.", MsgButtons::OK, MsgIcon::Exclamation,
                   "Type Editor");
            return false;
        }
        for (int n : free)
            CBTypeNumber->addItem(QString::number(n), n);
    }
    CBTypeNumber->setEnabled(!existing);
    setWindowTitle(existing ? "Edit Type" : "Add Type");
    txtDescription->setFocus();
    return true;
}

void TE_Add_form::BOK_Click() {
    const std::string description = foundation::trimText(txtDescription->text().toStdString());
    if (description.empty()) {
        MsgBox("Description cannot be blank.  Please enter a description.", MsgButtons::OK, MsgIcon::Exclamation,
               "Invalid Entry");
        txtDescription->setFocus();
        return;
    }
    if (m_existing) {
        m_types.ChangeType(m_account, m_existing->type, description);
    } else {
        const int type = CBTypeNumber->currentData().toInt();
        if (m_types.IsTypeUsed(m_account, type))
            return;
        m_types.AddType(m_account, clsAccountType{type, 0, description});
    }
    accept();
}

} // namespace accounts
