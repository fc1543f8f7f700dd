#pragma once

#include "clsLdapSettings.h"

#include <QDialog>

#include <memory>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace users {

// "LDAP Settings": edits a copy of a policy's directory settings; OK hands the edited copy back.
class UA_LDAP_Settings : public QDialog {
    Q_OBJECT
public:
    explicit UA_LDAP_Settings(QWidget* parent = nullptr);

    // Shows the dialog modally over a clone of settings; true when the user pressed OK.
    bool OpenForm(const clsLdapSettings& settings);
    // Loads the values without showing the dialog (OpenForm does this first).
    void Load(const clsLdapSettings& settings);
    [[nodiscard]] const clsLdapSettings& LdapSettings() const { return *m_objSettings; }
    [[nodiscard]] bool Dirty() const { return m_blnDirty; }

    // The longest stored text a policy row gives back whole.
    static constexpr size_t kMaxStoredCharacters = 255;

public Q_SLOTS:
    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdShowBindPass_Click();
    // Binds with the settings as they stand in the controls and says what each server answered.
    void cmdTestConnection_Click();

private:
    void MarkDirty();
    bool ValidateServer(QLineEdit* field);
    [[nodiscard]] clsLdapSettings EditedSettings() const;

    QLineEdit* txtServer;
    QLineEdit* txtBackupServer;
    QLineEdit* txtBindDn;
    QLineEdit* txtBindDnPass;
    QPushButton* cmdShowBindPass;
    QLineEdit* txtSearchBase;
    QLineEdit* txtPort;
    QCheckBox* chkUseSSL;
    QPushButton* cmdTestConnection;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

    std::unique_ptr<clsLdapSettings> m_objSettings = std::make_unique<clsLdapSettings>();
    bool m_blnDirty = false;
    bool m_blnLoading = false;
};

} // namespace users
