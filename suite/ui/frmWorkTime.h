#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QTreeWidget;

namespace suite {

class LoginComponent;

// The login component's work-time sheet: the logged-in user's activities of a day, and adding one.
class frmWorkTime : public QDialog {
    Q_OBJECT
public:
    frmWorkTime(LoginComponent& login, const QString& day, QWidget* parent = nullptr);
    void cmdAdd_Click();

private:
    void reload();

    LoginComponent& m_login;
    QString m_day;
    QTreeWidget* m_entries;
    QComboBox* m_type;
    QLineEdit* m_start;
    QLineEdit* m_end;
    QLabel* m_message;
};

} // namespace suite
