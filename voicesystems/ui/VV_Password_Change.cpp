#include "VV_Password_Change.h"

#include "MessageService.h"
#include "clsVVUserEditor.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace voicesystems {

using platform::MsgBox;
using platform::MsgButtons;
using platform::MsgIcon;

VV_Password_Change::VV_Password_Change(clsVVUserEditor& editor, QWidget* parent) : QDialog(parent), m_editor(editor) {
    setObjectName("VV_Password_Change");
    setWindowTitle("Veltra Voice Password");
    txtNewPassword = new QLineEdit(this);
    txtNewPassword->setObjectName("txtNewPassword");
    txtNewPassword->setEchoMode(QLineEdit::Password);
    txtConfirmPassword = new QLineEdit(this);
    txtConfirmPassword->setObjectName("txtConfirmPassword");
    txtConfirmPassword->setEchoMode(QLineEdit::Password);
    SSCheckMustChange = new QCheckBox("User &must change password at next log-in", this);
    SSCheckMustChange->setObjectName("SSCheckMustChange");
    cmdOK = new QPushButton("&OK", this);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton("&Cancel", this);
    cmdCancel->setObjectName("cmdCancel");

    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    form->addRow("&New Password:", txtNewPassword);
    form->addRow("Con&firm Password:", txtConfirmPassword);
    form->addRow(SSCheckMustChange);
    layout->addLayout(form);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    layout->addLayout(buttons);
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool VV_Password_Change::ShowMe() {
    return exec() == QDialog::Accepted;
}

void VV_Password_Change::cmdOK_Click() {
    if (txtNewPassword->text() != txtConfirmPassword->text()) {
        MsgBox("New Password and Confirm Password fields do not match.  Please re-enter.", MsgButtons::OK,
               MsgIcon::Exclamation, "Veltra Voice Password");
        txtConfirmPassword->clear();
        txtNewPassword->selectAll();
        txtNewPassword->setFocus();
        return;
    }
    if (m_editor.ResetPasswordAll(txtNewPassword->text().toStdString(), SSCheckMustChange->isChecked()) != "OK") {
        MsgBox("An error was encountered trying to save the password.  The new password was not saved.", MsgButtons::OK,
               MsgIcon::Exclamation, "Save Error");
        return;
    }
    accept();
}

} // namespace voicesystems
