#pragma once

#include "clsVVSysConDef.h"

#include <QDialog>

#include <functional>

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace voicesystems {

// Adds or edits one connection definition. Passwords show a fixed placeholder; the stored value
// changes only when the user types a new one.
class VV_System_Edit : public QDialog {
    Q_OBJECT
public:
    VV_System_Edit(clsVVSysConDef& def, bool isNew, QWidget* parent = nullptr);

    static constexpr const char* kPlaceholder = "********";

    // Opens a dialog of this screen (the connectivity test); tests replace it to drive the dialog.
    std::function<int(QDialog&)> runDialog = [](QDialog& d) { return d.exec(); };

    void cmdOK_Click();
    void cmdTestConnection_Click();

private:
    void optConnection_Click();
    // Copies the fields into def; false after the leading-zeros notice was refused.
    void readFields(clsVVSysConDef& def);
    void focusFirstBroken();

    clsVVSysConDef& m_def;
    std::string m_connectionPassword; // the stored connection string's password, behind the placeholder
    QLineEdit* txtSystemName;
    QRadioButton* optConnectionProperties;
    QRadioButton* optConnectionString;
    QLineEdit* txtServer;
    QLineEdit* txtDatabase;
    QLineEdit* txtSqlUser;
    QLineEdit* txtSqlPassword;
    QLineEdit* txtConnectionString;
    QLineEdit* txtAdminUser;
    QLineEdit* txtAdminFacility;
    QLineEdit* txtAdminPassword;
    QPushButton* cmdTestConnection;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
};

} // namespace voicesystems
