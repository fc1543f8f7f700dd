#include "TE_Add_Pause.h"

#include "MessageService.h"
#include "Text.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace accounts {

using platform::MsgBox;
using platform::MsgButtons;
using platform::MsgIcon;

namespace {

QComboBox* yesNo(QWidget* parent, const char* name) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->addItem("Yes", 1);
    box->addItem("No", 0);
    return box;
}

} // namespace

TE_Add_Pause::TE_Add_Pause(clsPauseTypes& types, QWidget* parent) : QDialog(parent), m_types(types) {
    setObjectName("TE_Add_Pause");
    txtDescription = new QLineEdit(this);
    txtDescription->setObjectName("txtDescription");
    txtDescription->setMaxLength(clsPauseTypes::kDescriptionLength);
    cmbCountAsWork = new QComboBox(this);
    cmbCountAsWork->setObjectName("cmbCountAsWork");
    for (int w = 0; w <= 2; ++w)
        cmbCountAsWork->addItem(clsPauseTypes::WorkTypeName(w), w);
    cmbWorkChoice = yesNo(this, "cmbWorkChoice");
    cmbPauseChoice = yesNo(this, "cmbPauseChoice");
    cmdOK = new QPushButton("&OK", this);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton("&Cancel", this);
    cmdCancel->setObjectName("cmdCancel");
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(cmdOK, QDialogButtonBox::AcceptRole);
    buttons->addButton(cmdCancel, QDialogButtonBox::RejectRole);

    auto* layout = new QVBoxLayout(this);
    const std::pair<const char*, QWidget*> rows[] = {
        {"&Description:", txtDescription},
        {"&What type of work should this activity be categorized as?", cmbCountAsWork},
        {"Show this type as a choice on the Work &Hours Activity Sheet.", cmbWorkChoice},
        {"Show this type in the list of reasons for &pausing the Transcription Desktop.", cmbPauseChoice},
    };
    for (const auto& [caption, field] : rows) {
        auto* label = new QLabel(caption, this);
        label->setWordWrap(true);
        label->setBuddy(field);
        layout->addWidget(label);
        layout->addWidget(field);
    }
    layout->addWidget(buttons);
    connect(cmdOK, &QPushButton::clicked, this, &TE_Add_Pause::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TE_Add_Pause::EditType(const clsPauseType* existing) {
    m_blnNew = existing == nullptr;
    m_type = existing ? *existing : clsPauseType{};
    if (m_blnNew)
        m_type.pause_type = m_types.NextNumber();
    setWindowTitle(m_blnNew ? "Add Activity Type" : "Edit Activity Type");
    txtDescription->setText(QString::fromStdString(m_type.pause_description));
    cmbCountAsWork->setCurrentIndex(std::max(0, cmbCountAsWork->findData(m_type.work_type)));
    cmbWorkChoice->setCurrentIndex(cmbWorkChoice->findData(m_type.work_hours_choice == 1 ? 1 : 0));
    cmbPauseChoice->setCurrentIndex(cmbPauseChoice->findData(m_type.pause_reason_choice == 1 ? 1 : 0));
    txtDescription->setFocus();
}

void TE_Add_Pause::cmdOK_Click() {
    const std::string description = foundation::trimText(txtDescription->text().toStdString());
    if (description.empty()) {
        MsgBox("Please enter an activity description.", MsgButtons::OK, MsgIcon::Exclamation, "Error");
        txtDescription->setFocus();
        return;
    }
    clsPauseType t = m_type;
    t.pause_description = description;
    t.work_type = cmbCountAsWork->currentData().toInt();
    t.work_hours_choice = cmbWorkChoice->currentData().toInt();
    t.pause_reason_choice = cmbPauseChoice->currentData().toInt();
    if (m_blnNew ? m_types.Add(t) : m_types.Change(t))
        accept();
}

} // namespace accounts
