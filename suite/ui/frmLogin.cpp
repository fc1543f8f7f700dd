#include "frmLogin.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace suite {

namespace {

QLineEdit* field(QWidget* parent, const char* name, bool secret) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setMaxLength(50);
    if (secret)
        e->setEchoMode(QLineEdit::Password);
    return e;
}

QLabel* messageLabel(QWidget* parent) {
    auto* l = new QLabel(parent);
    l->setObjectName("lblMessage");
    l->setWordWrap(true);
    l->setStyleSheet("color: #a00000;");
    l->hide();
    return l;
}

QDialogButtonBox* buttons(QDialog* d) {
    auto* box = new QDialogButtonBox(d);
    QPushButton* ok = box->addButton("&OK", QDialogButtonBox::AcceptRole);
    ok->setObjectName("cmdOK");
    ok->setDefault(true);
    QPushButton* cancel = box->addButton("&Cancel", QDialogButtonBox::RejectRole);
    cancel->setObjectName("cmdCancel");
    QObject::connect(box, &QDialogButtonBox::rejected, d, &QDialog::reject);
    return box;
}

} // namespace

frmLogin::frmLogin(const QString& applicationName, QWidget* parent) : QDialog(parent) {
    setObjectName("frmLogin");
    setWindowTitle(applicationName.isEmpty() ? QString("Log In") : applicationName + " - Log In");
    m_user = field(this, "txtUserName", false);
    m_password = field(this, "txtPassword", true);
    m_message = messageLabel(this);
    auto* form = new QFormLayout;
    form->addRow("&User Name:", m_user);
    form->addRow("&Password:", m_password);
    auto* box = buttons(this);
    connect(box, &QDialogButtonBox::accepted, this, &frmLogin::cmdOK_Click);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_message);
    layout->addWidget(box);
    m_user->setFocus();
}

void frmLogin::cmdOK_Click() {
    if (m_user->text().trimmed().isEmpty()) {
        setMessage("Please enter your user name.");
        m_user->setFocus();
        return;
    }
    accept();
}

void frmLogin::setMessage(const QString& message) {
    m_message->setText(message);
    m_message->setVisible(!message.isEmpty());
}

void frmLogin::setUserName(const QString& name) {
    m_user->setText(name);
    if (!name.isEmpty())
        m_password->setFocus();
}

QString frmLogin::userName() const {
    return m_user->text().trimmed();
}
QString frmLogin::password() const {
    return m_password->text();
}

frmChangePassword::frmChangePassword(QWidget* parent) : QDialog(parent) {
    setObjectName("frmChangePassword");
    setWindowTitle("Change Password");
    m_new = field(this, "txtNewPassword", true);
    m_confirm = field(this, "txtConfirmPassword", true);
    m_message = messageLabel(this);
    auto* form = new QFormLayout;
    form->addRow("&New Password:", m_new);
    form->addRow("&Confirm Password:", m_confirm);
    auto* box = buttons(this);
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_message);
    layout->addWidget(box);
}

void frmChangePassword::setMessage(const QString& message) {
    m_message->setText(message);
    m_message->setVisible(!message.isEmpty());
}

QString frmChangePassword::newPassword() const {
    return m_new->text();
}
QString frmChangePassword::confirmPassword() const {
    return m_confirm->text();
}

} // namespace suite
