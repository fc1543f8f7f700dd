#include "OR_Fax_Info.h"

#include "MessageService.h"
#include "OutputResend.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace outputlog {

OR_Fax_Info::OR_Fax_Info(QWidget* parent) : QDialog(parent) {
    setObjectName("OR_Fax_Info");
    lblFaxNumber = new QLabel;
    lblFaxNumber->setObjectName("lblFaxNumber");
    txtFaxNumber = new QLineEdit;
    txtFaxNumber->setObjectName("txtFaxNumber");
    txtFaxNumber->setMaxLength(100);
    lblFaxNumber->setBuddy(txtFaxNumber);
    chkPriority = new QCheckBox(tr("&Priority"));
    chkPriority->setObjectName("chkPriority");
    cmdOK = new QPushButton(tr("&OK"));
    cmdOK->setObjectName("cmdOK");
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(tr("&Cancel"));
    cmdCancel->setObjectName("cmdCancel");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblFaxNumber);
    layout->addWidget(txtFaxNumber);
    layout->addWidget(chkPriority);
    layout->addLayout(buttons);
    connect(cmdOK, &QPushButton::clicked, this, &OR_Fax_Info::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    Prepare("", false);
}

void OR_Fax_Info::Prepare(const std::string& destination, bool email) {
    setWindowTitle(email ? "Resend Email" : "Resend Fax");
    lblFaxNumber->setText(email ? "Email Address:" : "Fax &Number:");
    chkPriority->setVisible(!email);
    chkPriority->setChecked(false);
    txtFaxNumber->setText(QString::fromStdString(destination));
    txtFaxNumber->setMaxLength(email ? 100 : 30);
}

bool OR_Fax_Info::ResendFax(const std::string& destination, bool email) {
    Prepare(destination, email);
    return exec() == QDialog::Accepted;
}

std::string OR_Fax_Info::Destination() const {
    return txtFaxNumber->text().trimmed().toStdString();
}

bool OR_Fax_Info::Priority() const {
    return chkPriority->isVisible() && chkPriority->isChecked();
}

void OR_Fax_Info::cmdOK_Click() {
    if (!ValidDestination(txtFaxNumber->text().toStdString())) {
        platform::MsgBox("Please enter a valid fax number.", platform::MsgButtons::OK, platform::MsgIcon::Exclamation,
                         "Fax Number Error");
        txtFaxNumber->setFocus();
        return;
    }
    accept();
}

} // namespace outputlog
