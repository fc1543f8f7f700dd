#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace suite {

// The login component's log-in dialog: user name, password, the last refusal, OK and Cancel.
class frmLogin : public QDialog {
    Q_OBJECT
public:
    explicit frmLogin(const QString& applicationName, QWidget* parent = nullptr);

    void setMessage(const QString& message);
    void setUserName(const QString& name);
    [[nodiscard]] QString userName() const;
    [[nodiscard]] QString password() const;

private:
    void cmdOK_Click();

    QLineEdit* m_user;
    QLineEdit* m_password;
    QLabel* m_message;
};

// Asks for a new logon password twice.
class frmChangePassword : public QDialog {
    Q_OBJECT
public:
    explicit frmChangePassword(QWidget* parent = nullptr);

    void setMessage(const QString& message);
    [[nodiscard]] QString newPassword() const;
    [[nodiscard]] QString confirmPassword() const;

private:
    QLineEdit* m_new;
    QLineEdit* m_confirm;
    QLabel* m_message;
};

} // namespace suite
