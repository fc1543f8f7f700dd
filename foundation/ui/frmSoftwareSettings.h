#pragma once

#include <QDialog>

class QLineEdit;

namespace foundation {

// Software update settings: the [Updater] section of KALDRA.INI (user name, scrambled password,
// time-out in seconds).
class frmSoftwareSettings : public QDialog {
    Q_OBJECT
public:
    explicit frmSoftwareSettings(const QString& iniPath, QWidget* parent = nullptr);
    static constexpr int kDefaultTimeout = 60;

    void BOK_Click();

private:
    QString m_ini;
    QLineEdit* m_user;
    QLineEdit* m_password;
    QLineEdit* m_confirm;
    QLineEdit* m_timeout;
};

} // namespace foundation
