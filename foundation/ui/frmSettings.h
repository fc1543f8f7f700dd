#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;

namespace suite {
class LoginComponent;
}

namespace foundation {

// Patient search identifier settings, kept as the user's options; only a global partition
// administrator may change them.
class frmSettings : public QDialog {
    Q_OBJECT
public:
    frmSettings(suite::LoginComponent& login, QWidget* parent = nullptr);
    static const QStringList& identifierFields();

    void BOK_Click();

private:
    suite::LoginComponent& m_login;
    QComboBox* m_identifier;
    QCheckBox* m_allAccounts;
    QCheckBox* m_facility;
};

} // namespace foundation
