#include "PP_Password.h"

#include "Configuration.h"
#include "LoginComponent.h"
#include "MessageService.h"
#include "modEmailPassword.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace physicians {

using platform::MsgBox;
using platform::MsgButtons;
using platform::MsgIcon;

namespace {
constexpr const char* kTitle = "Email Password";
constexpr int kMaxPasswordLength = 12;
} // namespace

PP_Password::PP_Password(suite::LoginComponent& login, QWidget* parent) : QDialog(parent), m_login(login) {
    setObjectName("PP_Password");
    setWindowTitle(kTitle);
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    txtPassword = new QLineEdit(this);
    txtPassword->setObjectName("txtPassword");
    txtConfirmPassword = new QLineEdit(this);
    txtConfirmPassword->setObjectName("txtConfirmPassword");
    for (QLineEdit* e : {txtPassword, txtConfirmPassword}) {
        e->setEchoMode(QLineEdit::Password);
        e->setMaxLength(kMaxPasswordLength);
    }
    form->addRow("&Password:", txtPassword);
    form->addRow("&Confirm Password:", txtConfirmPassword);
    layout->addLayout(form);
    auto* buttons = new QDialogButtonBox(this);
    cmdSendPassword = buttons->addButton("&Send Password...", QDialogButtonBox::ActionRole);
    cmdSendPassword->setObjectName("cmdSendPassword");
    cmdOK = buttons->addButton("&OK", QDialogButtonBox::AcceptRole);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setDefault(true);
    cmdCancel = buttons->addButton("&Cancel", QDialogButtonBox::RejectRole);
    cmdCancel->setObjectName("cmdCancel");
    layout->addWidget(buttons);
    connect(cmdOK, &QPushButton::clicked, this, &PP_Password::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmdSendPassword, &QPushButton::clicked, this, &PP_Password::cmdSendPassword_Click);
}

void PP_Password::prepare(const std::string& current, const std::string& physicianName,
                          const std::vector<std::string>& addresses) {
    m_strPhysicianName = physicianName;
    m_colAddresses = addresses;
    txtPassword->setText(QString::fromStdString(current));
    txtConfirmPassword->setText(QString::fromStdString(current));
}

std::string PP_Password::GetPassword(const std::string& current, const std::string& physicianName,
                                     const std::vector<std::string>& addresses, bool& ok) {
    prepare(current, physicianName, addresses);
    ok = exec() == QDialog::Accepted;
    return ok ? password() : current;
}

std::string PP_Password::password() const {
    return txtPassword->text().toStdString();
}

bool PP_Password::refused(const std::string& refusal) {
    if (refusal.empty())
        return false;
    MsgBox(refusal, MsgButtons::OK, MsgIcon::Exclamation, kTitle);
    if (refusal.find("password entries") != std::string::npos || refusal.find("characters") != std::string::npos) {
        txtConfirmPassword->clear();
        txtPassword->setFocus();
        txtPassword->selectAll();
    }
    return true;
}

void PP_Password::cmdOK_Click() {
    if (refused(EmailPasswordRefusal(password(), txtConfirmPassword->text().toStdString())))
        return;
    accept();
}

void PP_Password::cmdSendPassword_Click() {
    if (refused(SendPasswordRefusal(m_login.version, m_strPhysicianName, password(),
                                    txtConfirmPassword->text().toStdString(), m_colAddresses)))
        return;
    const auto& config = foundation::Configuration::instance();
    const std::string address = PasswordMailAddress(m_colAddresses);
    const std::string text =
        PasswordMessageText(config.networkRootDir, config.passwordMsgTemplate, m_strPhysicianName, password());
    if (SendPhysicianPassword(m_login, address, text))
        MsgBox("The password has been sent to " + address, MsgButtons::OK, MsgIcon::Information, "Password Sent");
    else
        MsgBox("An error occurred.  The password could not be sent.", MsgButtons::OK, MsgIcon::Critical, "Error");
}

} // namespace physicians
