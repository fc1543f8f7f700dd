#pragma once

#include <QDialog>

#include <string>
#include <vector>

class QLineEdit;
class QPushButton;

namespace suite {
class LoginComponent;
}

namespace physicians {

// The password of a physician's password-protected e-mail reports, entered twice, and mailing it
// to the physician. An empty password leaves the output distributor's default in force.
class PP_Password : public QDialog {
    Q_OBJECT
public:
    explicit PP_Password(suite::LoginComponent& login, QWidget* parent = nullptr);

    // Shows the dialog for the physician (name as the editor shows it, "<various>" for several)
    // with the e-mail addresses of the selected accounts; returns the password, ok false on Cancel.
    std::string GetPassword(const std::string& current, const std::string& physicianName,
                            const std::vector<std::string>& addresses, bool& ok);

    // Fills the dialog without showing it (GetPassword does this first).
    void prepare(const std::string& current, const std::string& physicianName,
                 const std::vector<std::string>& addresses);
    [[nodiscard]] std::string password() const;

    void cmdOK_Click();
    void cmdSendPassword_Click();

private:
    [[nodiscard]] bool refused(const std::string& refusal);

    suite::LoginComponent& m_login;
    std::string m_strPhysicianName;
    std::vector<std::string> m_colAddresses;
    QLineEdit* txtPassword;
    QLineEdit* txtConfirmPassword;
    QPushButton* cmdSendPassword;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
};

} // namespace physicians
