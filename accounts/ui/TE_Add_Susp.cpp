#include "TE_Add_Susp.h"

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

TE_Add_Susp::TE_Add_Susp(clsSuspensionTypes& types, QWidget* parent) : QDialog(parent), m_types(types) {
    setObjectName("TE_Add_Susp");
    CBTypeNumber = new QComboBox(this);
    CBTypeNumber->setObjectName("CBTypeNumber");
    txtDescription = new QLineEdit(this);
    txtDescription->setObjectName("txtDescription");
    txtDescription->setMaxLength(clsSuspensionTypes::kDescriptionLength);
    auto* form = new QFormLayout;
    auto* typeLabel = new QLabel("&Type:", this);
    typeLabel->setBuddy(CBTypeNumber);
    auto* descriptionLabel = new QLabel("&Description:", this);
    descriptionLabel->setBuddy(txtDescription);
    form->addRow(typeLabel, CBTypeNumber);
    form->addRow(descriptionLabel, txtDescription);
    auto* note = new QLabel("For suspension types 200 or higher a system log message is generated when a document is "
                            "assigned this suspension type. Suspension types 200-255 will generate corresponding "
                            "message codes 91000-91055 which can be used to trigger a configured alert message.",
                            this);
    note->setObjectName("lblNote");
    note->setWordWrap(true);
    cmdOK = new QPushButton("&OK", this);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton("&Cancel", this);
    cmdCancel->setObjectName("cmdCancel");
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(cmdOK, QDialogButtonBox::AcceptRole);
    buttons->addButton(cmdCancel, QDialogButtonBox::RejectRole);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(note);
    layout->addWidget(buttons);
    connect(cmdOK, &QPushButton::clicked, this, &TE_Add_Susp::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool TE_Add_Susp::EditType(const clsSuspensionType* existing) {
    m_editing.reset();
    if (existing)
        m_editing = existing->suspension_type;
    const std::vector<int> free = m_types.FreeNumbers(m_editing);
    if (free.empty()) {
        MsgBox("Maximum number of types reached.  No more can be added.", MsgButtons::OK, MsgIcon::Exclamation,
               "Suspension Type Editor");
        return false;
    }
    setWindowTitle(existing ? "Edit Suspension Type" : "Add Suspension Type");
    CBTypeNumber->clear();
    for (int n : free)
        CBTypeNumber->addItem(QString::number(n), n);
    if (existing) {
        CBTypeNumber->setCurrentIndex(CBTypeNumber->findData(existing->suspension_type));
        txtDescription->setText(QString::fromStdString(existing->suspension_description));
    }
    // The number of a type in use is what the accounts' documents refer to; only its description changes.
    CBTypeNumber->setEnabled(!existing);
    txtDescription->setFocus();
    return true;
}

void TE_Add_Susp::cmdOK_Click() {
    const std::string description = foundation::trimText(txtDescription->text().toStdString());
    if (description.empty()) {
        MsgBox("Please enter an activity description.", MsgButtons::OK, MsgIcon::Exclamation, "Error");
        txtDescription->setFocus();
        return;
    }
    const int type = CBTypeNumber->currentData().toInt();
    if (m_editing ? m_types.Change(*m_editing, description) : m_types.Add(type, description))
        accept();
}

} // namespace accounts
