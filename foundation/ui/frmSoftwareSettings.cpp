#include "frmSoftwareSettings.h"

#include "EventLog.h"
#include "MessageService.h"
#include "PasswordCipher.h"
#include "PrivateProfile.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace foundation {

using platform::MsgBox;
using platform::MsgButtons;
using platform::MsgIcon;
using platform::PrivateProfile;

frmSoftwareSettings::frmSoftwareSettings(const QString& iniPath, QWidget* parent) : QDialog(parent), m_ini(iniPath) {
    setObjectName("frmSoftwareSettings");
    setWindowTitle("Software Update Settings");
    auto make = [this](const char* name, bool secret) {
        auto* e = new QLineEdit(this);
        e->setObjectName(name);
        if (secret)
            e->setEchoMode(QLineEdit::Password);
        return e;
    };
    m_user = make("txtUserName", false);
    m_password = make("txtPassword", true);
    m_confirm = make("txtConfirmPassword", true);
    m_timeout = make("txtTimeout", false);
    m_password->setMaxLength(static_cast<int>(suite::PasswordCipher::kMaxPasswordLength));
    m_confirm->setMaxLength(static_cast<int>(suite::PasswordCipher::kMaxPasswordLength));
    auto* form = new QFormLayout;
    form->addRow("&User Name:", m_user);
    form->addRow("&Password:", m_password);
    form->addRow("&Confirm Password:", m_confirm);
    form->addRow("&Timeout (seconds):", m_timeout);
    auto* box = new QDialogButtonBox(this);
    QPushButton* ok = box->addButton("&OK", QDialogButtonBox::AcceptRole);
    ok->setObjectName("BOK");
    ok->setDefault(true);
    box->addButton("&Cancel", QDialogButtonBox::RejectRole)->setObjectName("BCancel");
    connect(box, &QDialogButtonBox::accepted, this, &frmSoftwareSettings::BOK_Click);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(box);

    const std::string ini = m_ini.toStdString();
    m_user->setText(QString::fromStdString(PrivateProfile::read("Updater", "UserName", "", ini)));
    const std::string stored = PrivateProfile::read("Updater", "Password", "", ini);
    if (stored.size() >= 21) {
        const std::string plain = suite::PasswordCipher::decrypt(stored);
        if (plain == suite::PasswordCipher::kFailure) {
            MsgBox("The current password in the INI file is corrupt.  The password will need to be reset.",
                   MsgButtons::OK, MsgIcon::Critical, "Software Update Settings");
        } else {
            m_password->setText(QString::fromStdString(plain));
            m_confirm->setText(QString::fromStdString(plain));
        }
    }
    bool numeric = false;
    const int timeout = QString::fromStdString(PrivateProfile::read("Updater", "Timeout", "", ini)).toInt(&numeric);
    m_timeout->setText(QString::number(numeric && timeout >= 10 && timeout <= 180 ? timeout : kDefaultTimeout));
}

void frmSoftwareSettings::BOK_Click() {
    if (m_password->text().isEmpty()) {
        MsgBox("Please enter a password.  A password is required.", MsgButtons::OK, MsgIcon::Exclamation,
               "Software Update Settings");
        m_password->setFocus();
        return;
    }
    if (m_password->text() != m_confirm->text()) {
        MsgBox("The password and confirm password entries do not match.  Please reenter the password.", MsgButtons::OK,
               MsgIcon::Exclamation, "Software Update Settings");
        m_confirm->setFocus();
        return;
    }
    bool numeric = false;
    m_timeout->text().trimmed().toInt(&numeric);
    if (!numeric) {
        MsgBox("The timeout setting is invalid.  Please reenter the timeout value.", MsgButtons::OK,
               MsgIcon::Exclamation, "Software Update Settings");
        m_timeout->setFocus();
        return;
    }
    if (!suite::PasswordCipher::CanWrite()) {
        MsgBox(suite::PasswordCipher::kNoSiteKeyMessage, MsgButtons::OK, MsgIcon::Critical, "Software Update Settings");
        return;
    }
    const std::string ini = m_ini.toStdString();
    PrivateProfile::write("Updater", "UserName", m_user->text().toStdString(), ini);
    PrivateProfile::write("Updater", "Password", suite::PasswordCipher::encrypt(m_password->text().toStdString()), ini);
    PrivateProfile::write("Updater", "Timeout", m_timeout->text().trimmed().toStdString(), ini);
    EventLog::LogEvent(EventLog::SystemLog, 0, 2, 20016, 0, 0, 0, 0, 0, -1, 0, "Software Update settings saved.");
    accept();
}

} // namespace foundation
