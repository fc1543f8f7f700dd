#include "UA_User_Type.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace users {

UA_User_Type::UA_User_Type(bool physicianAllowed, QWidget* parent) : QDialog(parent) {
    setObjectName("UA_User_Type");
    setWindowTitle("Add User");
    auto* layout = new QVBoxLayout(this);
    optPaxlet = new QRadioButton("&Physician", this);
    optPaxlet->setObjectName("optPaxlet");
    optPaxlet->setEnabled(physicianAllowed);
    optTranscription = new QRadioButton("&Transcriptionist", this);
    optTranscription->setObjectName("optTranscription");
    optGeneralUser = new QRadioButton("&General User", this);
    optGeneralUser->setObjectName("optGeneralUser");
    optGeneralUser->setChecked(true);
    layout->addWidget(optPaxlet);
    layout->addWidget(optTranscription);
    layout->addWidget(optGeneralUser);
    auto* buttons = new QDialogButtonBox(this);
    auto* ok = buttons->addButton("&OK", QDialogButtonBox::AcceptRole);
    ok->setObjectName("cmdOK");
    ok->setDefault(true);
    auto* cancel = buttons->addButton("&Cancel", QDialogButtonBox::RejectRole);
    cancel->setObjectName("cmdCancel");
    layout->addWidget(buttons);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

UA_User_Type::Kind UA_User_Type::Chosen() const {
    if (optPaxlet->isChecked())
        return Kind::Physician;
    return optTranscription->isChecked() ? Kind::Transcriptionist : Kind::GeneralUser;
}

} // namespace users
