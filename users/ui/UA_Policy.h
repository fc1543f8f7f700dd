#pragma once

#include "clsLdapSettings.h"
#include "clsUserPolicies.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace suite {
class LoginComponent;
}

namespace users {

// "User Policies": the list of password and logon policies and the editor of the selected one.
// Only a general system administrator may change them; others see them read only.
class UA_Policy : public QWidget {
    Q_OBJECT
public:
    explicit UA_Policy(suite::LoginComponent& login, QWidget* parent = nullptr);

    // Loads the list and shows the first policy.
    void MyShow();
    [[nodiscard]] bool IsDirty() const { return m_blnDirty; }
    // Asks to save a changed policy; false when the user wants to stay on it.
    bool QuerySave();

public Q_SLOTS:
    void cmdAdd_Click();
    void cmdSave_Click();
    void cmdDelete_Click();
    void cmdLdapSettings_Click();
    void lstConfig_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QComboBox* combo(const char* name);
    QCheckBox* check(const char* name, const char* caption);
    void LoadList(long selectId);
    void ShowPolicy(const clsUserPolicy& policy);
    void CollectPolicy();
    void EnableControls();
    void MarkDirty();
    bool SavePolicy();

    suite::LoginComponent& m_login;
    clsUserPolicies m_colPolicies;
    clsUserPolicy m_objPolicy; // the policy being edited
    bool m_blnNew = false;
    bool m_blnDirty = false;
    bool m_blnLoading = false;
    bool m_blnReadOnly = false;
    int m_intShownRow = -1;

    QListWidget* lstConfig;
    QLineEdit* txtPolicyName;
    QCheckBox* chkPermitBlankPassword;
    QCheckBox* chkCaseSensitive;
    QComboBox* cmbMinPasswordLength;
    QCheckBox* chkNumericAlpha;
    QCheckBox* chkRequireSymbolChars;
    QCheckBox* chkRequireUpperAndLowerCase;
    QCheckBox* chkAllowPasswordChange;
    QComboBox* cmbPasswordExpiration;
    QComboBox* cmbMaxPasswordHistory;
    QCheckBox* chkIntruderDetection;
    QComboBox* cmbLoginAttempts;
    QComboBox* cmbLockoutDuration;
    QComboBox* cmbAuthentication;
    QLineEdit* txtDomain;
    QPushButton* cmdLdapSettings;
    QLabel* labAuthenticationNote;
    QComboBox* cmbSignaturePassword;
    QComboBox* cmbSignaturePasswordExpiration;
    QComboBox* cmbMinSignaturePasswordLength;
    QCheckBox* chkSignaturePaswordRequiredAlphaNumeric;
    QComboBox* cmbMaxSignaturePasswordAttempts;
    QLabel* labWarning;
    QPushButton* cmdAdd;
    QPushButton* cmdSave;
    QPushButton* cmdDelete;
    QPushButton* cmdClose;
};

} // namespace users
