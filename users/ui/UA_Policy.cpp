#include "UA_Policy.h"

#include "DatabaseSession.h"
#include "LoginComponent.h"
#include "MessageService.h"
#include "PolicyChoices.h"
#include "UA_LDAP_Settings.h"
#include "Utf8.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace users {

namespace {

constexpr size_t kMaxNameCharacters = 30;
constexpr int kMaxDomainCharacters = 100; // string1

const char* const kWindowsNote =
    "Note: The use of Windows Authentication means that user passwords will be validated against Windows instead of "
    "Veltra Text.  Veltra Text user policy settings for password requirements do not apply when the password is "
    "validated against Windows.  Veltra Text passwords will only be used in the event a matching Windows user "
    "account is not found.  It is still recommended to apply Veltra Text passwords to users within Veltra Text, even "
    "though the passwords may never be used.  Windows Authentication is generally not recommended for "
    "transcriptionists who must be able to operate in Stand Alone mode.";
const char* const kLdapNote =
    "Note: The use of LDAP authentication means that user passwords will be validated against an LDAP server instead "
    "of Veltra Text.  Veltra Text user policy settings for password requirements do not apply when the password is "
    "validated against LDAP.";

void fill(QComboBox* box, const PolicyChoices& choices) {
    box->clear();
    for (const auto& [caption, value] : choices)
        box->addItem(QString::fromStdString(caption), QVariant::fromValue<qlonglong>(value));
}

// Selects the entry carrying value; a value no entry carries (written by another program) gets an
// entry of its own, so that saving keeps it.
void select(QComboBox* box, long value) {
    int at = box->findData(QVariant::fromValue<qlonglong>(value));
    if (at < 0) {
        box->addItem(QString::number(value), QVariant::fromValue<qlonglong>(value));
        at = box->count() - 1;
    }
    box->setCurrentIndex(at);
}

long selected(const QComboBox* box) {
    return static_cast<long>(box->currentData().toLongLong());
}

platform::MsgAnswer ask(const std::string& text, const char* title, platform::MsgButtons buttons) {
    return platform::MsgBox(text, buttons, platform::MsgIcon::Question, title);
}
void warn(const std::string& text, const char* title) {
    platform::MsgBox(text, platform::MsgButtons::OK, platform::MsgIcon::Exclamation, title);
}

} // namespace

QComboBox* UA_Policy::combo(const char* name) {
    auto* box = new QComboBox(this);
    box->setObjectName(name);
    connect(box, &QComboBox::currentIndexChanged, this, &UA_Policy::MarkDirty);
    return box;
}

QCheckBox* UA_Policy::check(const char* name, const char* caption) {
    auto* box = new QCheckBox(caption, this);
    box->setObjectName(name);
    connect(box, &QCheckBox::toggled, this, &UA_Policy::MarkDirty);
    return box;
}

UA_Policy::UA_Policy(suite::LoginComponent& login, QWidget* parent) : QWidget(parent), m_login(login) {
    setObjectName("UA_Policy");
    setWindowTitle("User Policies");

    lstConfig = new QListWidget(this);
    lstConfig->setObjectName("lstConfig");
    txtPolicyName = new QLineEdit(this);
    txtPolicyName->setObjectName("txtPolicyName");
    connect(txtPolicyName, &QLineEdit::textEdited, this, &UA_Policy::MarkDirty);

    chkPermitBlankPassword = check("chkPermitBlankPassword", "Disallow &Blank Passwords");
    chkCaseSensitive = check("chkCaseSensitive", "Passwords Are Case &Sensitive");
    cmbMinPasswordLength = combo("cmbMinPasswordLength");
    chkNumericAlpha = check("chkNumericAlpha", "Passwords Require Both &Numeric(0-9) and Alpha(A-Z) Characters");
    chkRequireSymbolChars = check("chkRequireSymbolChars", "Require At Least One S&ymbol Character");
    chkRequireUpperAndLowerCase = check("chkRequireUpperAndLowerCase", "Require &Upper/Lower Case");
    chkAllowPasswordChange = check("chkAllowPasswordChange", "User Is Allowed To &Change Their Password");
    cmbPasswordExpiration = combo("cmbPasswordExpiration");
    cmbMaxPasswordHistory = combo("cmbMaxPasswordHistory");
    chkIntruderDetection = check("chkIntruderDetection", "Enable &Intruder Detection");
    cmbLoginAttempts = combo("cmbLoginAttempts");
    cmbLockoutDuration = combo("cmbLockoutDuration");
    cmbAuthentication = combo("cmbAuthentication");
    txtDomain = new QLineEdit(this);
    txtDomain->setObjectName("txtDomain");
    txtDomain->setMaxLength(kMaxDomainCharacters);
    connect(txtDomain, &QLineEdit::textEdited, this, &UA_Policy::MarkDirty);
    cmdLdapSettings = new QPushButton("LDAP Se&ttings...", this);
    cmdLdapSettings->setObjectName("cmdLdapSettings");
    labAuthenticationNote = new QLabel(this);
    labAuthenticationNote->setObjectName("labAuthenticationNote");
    labAuthenticationNote->setWordWrap(true);
    cmbSignaturePassword = combo("cmbSignaturePassword");
    cmbSignaturePasswordExpiration = combo("cmbSignaturePasswordExpiration");
    cmbMinSignaturePasswordLength = combo("cmbMinSignaturePasswordLength");
    chkSignaturePaswordRequiredAlphaNumeric =
        check("chkSignaturePaswordRequiredAlphaNumeric", "Require Alpha/Nu&meric");
    cmbMaxSignaturePasswordAttempts = combo("cmbMaxSignaturePasswordAttempts");
    labWarning = new QLabel(this);
    labWarning->setObjectName("labWarning");
    cmdAdd = new QPushButton("&New", this);
    cmdAdd->setObjectName("cmdAdd");
    cmdSave = new QPushButton("S&ave", this);
    cmdSave->setObjectName("cmdSave");
    cmdDelete = new QPushButton("&Delete", this);
    cmdDelete->setObjectName("cmdDelete");
    cmdClose = new QPushButton("C&lose", this);
    cmdClose->setObjectName("cmdClose");

    const auto labelled = [this](QGridLayout* grid, int row, const char* caption, QWidget* field) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(field);
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1);
    };
    auto* password = new QGroupBox("Login Password", this);
    auto* pg = new QGridLayout(password);
    pg->addWidget(chkPermitBlankPassword, 0, 0, 1, 2);
    pg->addWidget(chkCaseSensitive, 1, 0, 1, 2);
    labelled(pg, 2, "Minimum &Length:", cmbMinPasswordLength);
    pg->addWidget(chkNumericAlpha, 3, 0, 1, 2);
    pg->addWidget(chkRequireSymbolChars, 4, 0, 1, 2);
    pg->addWidget(chkRequireUpperAndLowerCase, 5, 0, 1, 2);
    pg->addWidget(chkAllowPasswordChange, 6, 0, 1, 2);
    labelled(pg, 7, "Password &Expiration:", cmbPasswordExpiration);
    labelled(pg, 8, "Password &History:", cmbMaxPasswordHistory);

    auto* logon = new QGroupBox("Login", this);
    auto* lg = new QGridLayout(logon);
    lg->addWidget(chkIntruderDetection, 0, 0, 1, 2);
    labelled(lg, 1, "Login Attem&pts:", cmbLoginAttempts);
    labelled(lg, 2, "Lockout Du&ration:", cmbLockoutDuration);
    labelled(lg, 3, "Authentication T&ype:", cmbAuthentication);
    labelled(lg, 4, "Authenticating Domain        (blank for default):", txtDomain);
    lg->addWidget(cmdLdapSettings, 5, 1);
    lg->addWidget(labAuthenticationNote, 6, 0, 1, 2);

    auto* signature = new QGroupBox("Signature Password", this);
    auto* sg = new QGridLayout(signature);
    labelled(sg, 0, "Signature &Password:", cmbSignaturePassword);
    labelled(sg, 1, "Signature Password E&xpiration:", cmbSignaturePasswordExpiration);
    labelled(sg, 2, "Minimum Si&gnature Password Length:", cmbMinSignaturePasswordLength);
    sg->addWidget(chkSignaturePaswordRequiredAlphaNumeric, 3, 0, 1, 2);
    labelled(sg, 4, "Maximum Signature Password Attempts:", cmbMaxSignaturePasswordAttempts);

    auto* nameRow = new QGridLayout;
    labelled(nameRow, 0, "P&olicy Name:", txtPolicyName);
    auto* editor = new QVBoxLayout;
    editor->addLayout(nameRow);
    editor->addWidget(password);
    editor->addWidget(logon);
    editor->addWidget(signature);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {cmdAdd, cmdSave, cmdDelete, cmdClose})
        buttons->addWidget(b);
    auto* left = new QVBoxLayout;
    auto* listLabel = new QLabel("User &Policies:", this);
    listLabel->setBuddy(lstConfig);
    left->addWidget(listLabel);
    left->addWidget(lstConfig);
    auto* body = new QHBoxLayout;
    body->addLayout(left);
    body->addLayout(editor, 1);
    auto* top = new QVBoxLayout(this);
    top->addWidget(labWarning);
    top->addLayout(body);
    top->addLayout(buttons);

    m_blnLoading = true;
    fill(cmbMinPasswordLength, LengthChoices());
    fill(cmbPasswordExpiration, ExpirationChoices());
    fill(cmbMaxPasswordHistory, PasswordHistoryChoices());
    fill(cmbLoginAttempts, LoginAttemptChoices());
    fill(cmbLockoutDuration, LockoutDurationChoices());
    fill(cmbAuthentication, AuthenticationChoices(foundation::DatabaseSession::instance().VersionGreaterThan(7.03)));
    fill(cmbSignaturePassword, SignaturePasswordModeChoices());
    fill(cmbSignaturePasswordExpiration, ExpirationChoices());
    fill(cmbMinSignaturePasswordLength, LengthChoices());
    fill(cmbMaxSignaturePasswordAttempts, SignatureAttemptChoices());
    m_blnLoading = false;

    connect(cmdAdd, &QPushButton::clicked, this, &UA_Policy::cmdAdd_Click);
    connect(cmdSave, &QPushButton::clicked, this, &UA_Policy::cmdSave_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &UA_Policy::cmdDelete_Click);
    connect(cmdLdapSettings, &QPushButton::clicked, this, &UA_Policy::cmdLdapSettings_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);
    connect(lstConfig, &QListWidget::currentRowChanged, this, &UA_Policy::lstConfig_Click);
}

void UA_Policy::MyShow() {
    m_blnReadOnly = !m_login.user.is_administrator;
    labWarning->setText(m_blnReadOnly ? "Read Only Access for Non-System Administrators" : "");
    LoadList(-1);
    show();
}

void UA_Policy::LoadList(long selectId) {
    m_blnLoading = true;
    lstConfig->clear();
    m_intShownRow = -1;
    m_colPolicies.LoadNames();
    int row = 0;
    for (const clsUserPolicy& p : m_colPolicies) {
        auto* item = new QListWidgetItem(QString::fromStdString(p.m_strPolicyName), lstConfig);
        item->setData(Qt::UserRole, static_cast<int>(p.m_bytPolicyId));
        if (p.m_bytPolicyId == selectId)
            row = lstConfig->count() - 1;
    }
    m_blnLoading = false;
    m_blnNew = false;
    m_blnDirty = false;
    if (lstConfig->count() > 0)
        lstConfig->setCurrentRow(row); // shows it
    else
        EnableControls();
}

void UA_Policy::lstConfig_Click() {
    if (m_blnLoading)
        return;
    const int row = lstConfig->currentRow();
    if (row == m_intShownRow)
        return;
    QListWidgetItem* item = lstConfig->item(row);
    if (!item)
        return;
    const int pickedId = item->data(Qt::UserRole).toInt();
    const bool listChanged = m_blnNew || m_blnDirty; // a new entry to drop, or a name that may have changed
    if (!QuerySave()) {
        m_blnLoading = true;
        lstConfig->setCurrentRow(m_intShownRow);
        m_blnLoading = false;
        return;
    }
    if (listChanged) {
        LoadList(pickedId); // shows the picked policy
        return;
    }
    const clsUserPolicy* p = m_colPolicies.LoadPolicy(pickedId);
    m_intShownRow = row;
    if (p)
        ShowPolicy(*p);
}

void UA_Policy::ShowPolicy(const clsUserPolicy& policy) {
    m_objPolicy = policy;
    m_blnLoading = true;
    txtPolicyName->setText(QString::fromStdString(policy.m_strPolicyName));
    chkPermitBlankPassword->setChecked(!policy.m_blnPermitBlankPassword);
    chkCaseSensitive->setChecked(policy.m_blnCaseSensitivePassword);
    select(cmbMinPasswordLength, policy.m_intMinimumPasswordLength);
    chkNumericAlpha->setChecked(policy.m_blnRequireAlphaNumeric);
    chkRequireSymbolChars->setChecked(policy.RequireSymbolChars());
    chkRequireUpperAndLowerCase->setChecked(policy.RequireUpperAndLowerCase());
    chkAllowPasswordChange->setChecked(policy.m_blnAllowPasswordChange);
    select(cmbPasswordExpiration, policy.m_intPasswordExpirationDays);
    select(cmbMaxPasswordHistory, policy.m_lngFlag7);
    chkIntruderDetection->setChecked(policy.m_blnIntruderDetectionEnabled);
    select(cmbLoginAttempts, policy.m_intMaximumLoginAttempts);
    select(cmbLockoutDuration, policy.m_lngLockoutDuration);
    select(cmbAuthentication, policy.m_lngFlag2);
    txtDomain->setText(QString::fromStdString(policy.m_strString1));
    select(cmbSignaturePassword, policy.m_intSignaturePasswordMode);
    select(cmbSignaturePasswordExpiration, policy.m_intSignaturePasswordExpirationDays);
    select(cmbMinSignaturePasswordLength, policy.m_lngFlag4);
    chkSignaturePaswordRequiredAlphaNumeric->setChecked(policy.m_lngFlag5 == 1);
    select(cmbMaxSignaturePasswordAttempts, policy.m_lngFlag6);
    m_blnLoading = false;
    m_blnDirty = false;
    EnableControls();
}

void UA_Policy::CollectPolicy() {
    m_objPolicy.m_strPolicyName = txtPolicyName->text().trimmed().toStdString();
    m_objPolicy.m_blnPermitBlankPassword = !chkPermitBlankPassword->isChecked();
    m_objPolicy.m_blnCaseSensitivePassword = chkCaseSensitive->isChecked();
    m_objPolicy.m_intMinimumPasswordLength = static_cast<int>(selected(cmbMinPasswordLength));
    m_objPolicy.m_blnRequireAlphaNumeric = chkNumericAlpha->isChecked();
    m_objPolicy.m_lngFlag3 =
        clsUserPolicy::GenerateFlag3Value(chkRequireUpperAndLowerCase->isChecked(), chkRequireSymbolChars->isChecked());
    m_objPolicy.m_blnAllowPasswordChange = chkAllowPasswordChange->isChecked();
    m_objPolicy.m_intPasswordExpirationDays = static_cast<int>(selected(cmbPasswordExpiration));
    m_objPolicy.m_lngFlag7 = selected(cmbMaxPasswordHistory);
    m_objPolicy.m_blnIntruderDetectionEnabled = chkIntruderDetection->isChecked();
    m_objPolicy.m_intMaximumLoginAttempts = static_cast<int>(selected(cmbLoginAttempts));
    m_objPolicy.m_lngLockoutDuration = selected(cmbLockoutDuration);
    m_objPolicy.m_lngFlag2 = selected(cmbAuthentication);
    m_objPolicy.m_strString1 = txtDomain->text().toStdString();
    m_objPolicy.m_intSignaturePasswordMode = static_cast<int>(selected(cmbSignaturePassword));
    m_objPolicy.m_intSignaturePasswordExpirationDays = static_cast<int>(selected(cmbSignaturePasswordExpiration));
    m_objPolicy.m_lngFlag4 = selected(cmbMinSignaturePasswordLength);
    m_objPolicy.m_lngFlag5 = chkSignaturePaswordRequiredAlphaNumeric->isChecked() ? 1 : 0;
    m_objPolicy.m_lngFlag6 = selected(cmbMaxSignaturePasswordAttempts);
}

void UA_Policy::EnableControls() {
    const bool edit = !m_blnReadOnly && lstConfig->count() > 0;
    for (QWidget* w : findChildren<QWidget*>())
        if (w != labWarning && w != cmdClose && w != lstConfig && !qobject_cast<QLabel*>(w) &&
            !qobject_cast<QGroupBox*>(w))
            w->setEnabled(edit);
    cmdAdd->setEnabled(!m_blnReadOnly && lstConfig->count() > 0);
    lstConfig->setEnabled(true);
    cmdClose->setEnabled(true);
    if (!edit)
        return;
    const bool composition = chkPermitBlankPassword->isChecked();
    chkNumericAlpha->setEnabled(composition);
    chkRequireSymbolChars->setEnabled(composition);
    cmbMinPasswordLength->setEnabled(composition);
    chkRequireUpperAndLowerCase->setEnabled(chkCaseSensitive->isChecked());
    cmbLoginAttempts->setEnabled(chkIntruderDetection->isChecked());
    cmbLockoutDuration->setEnabled(chkIntruderDetection->isChecked());
    cmbPasswordExpiration->setEnabled(chkAllowPasswordChange->isChecked());
    const long auth = selected(cmbAuthentication);
    txtDomain->setEnabled(auth == clsUserPolicy::Windows);
    cmdLdapSettings->setEnabled(auth == clsUserPolicy::Ldap);
    labAuthenticationNote->setText(auth == clsUserPolicy::Windows ? kWindowsNote
                                   : auth == clsUserPolicy::Ldap  ? kLdapNote
                                                                  : "");
}

void UA_Policy::MarkDirty() {
    if (m_blnLoading)
        return;
    m_blnDirty = true;
    EnableControls();
}

bool UA_Policy::QuerySave() {
    if (!m_blnDirty || m_blnReadOnly)
        return true;
    const std::string name = txtPolicyName->text().toStdString();
    const auto answer = ask("The current user policy " + name + " is not saved.  Save it now?", "Save User Policy?",
                            platform::MsgButtons::YesNoCancel);
    if (answer == platform::MsgAnswer::Cancel)
        return false;
    if (answer == platform::MsgAnswer::Yes)
        return SavePolicy();
    m_blnDirty = false;
    return true;
}

void UA_Policy::closeEvent(QCloseEvent* event) {
    if (QuerySave())
        event->accept();
    else
        event->ignore();
}

void UA_Policy::cmdAdd_Click() {
    if (m_blnNew || lstConfig->count() == 0 || m_blnReadOnly)
        return;
    if (!QuerySave())
        return;
    CollectPolicy();
    clsUserPolicy copy = m_objPolicy;
    copy.m_strPolicyName = "Copy of " + m_objPolicy.m_strPolicyName;
    m_blnLoading = true;
    auto* item = new QListWidgetItem(QString::fromStdString(copy.m_strPolicyName), lstConfig);
    item->setData(Qt::UserRole, -1);
    lstConfig->setCurrentItem(item);
    m_intShownRow = lstConfig->row(item);
    m_blnLoading = false;
    ShowPolicy(copy);
    m_blnNew = true;
    m_blnDirty = true;
    txtPolicyName->setFocus();
    txtPolicyName->selectAll();
}

bool UA_Policy::SavePolicy() {
    CollectPolicy();
    const std::string& name = m_objPolicy.m_strPolicyName;
    if (name.empty()) {
        warn("The user policy name is not set.  User policy cannot be saved.", "Save Error");
        txtPolicyName->setFocus();
        return false;
    }
    if (platform::utf8Length(name) > kMaxNameCharacters) {
        warn("The user policy name cannot exceed 30 characters.  Please choose a different name.", "Invalid Name");
        txtPolicyName->setFocus();
        return false;
    }
    const QString folded = QString::fromStdString(name).toCaseFolded();
    for (const clsUserPolicy& other : m_colPolicies)
        if ((m_blnNew || other.m_bytPolicyId != m_objPolicy.m_bytPolicyId) &&
            QString::fromStdString(other.m_strPolicyName).trimmed().toCaseFolded() == folded) {
            warn("The user policy name " + name +
                     " is already in use by another user policy.  User policy name cannot be changed.",
                 "Invalid Name");
            txtPolicyName->setFocus();
            return false;
        }
    const bool ok = m_blnNew ? m_colPolicies.InsertPolicy(m_objPolicy) : m_colPolicies.UpdatePolicy(m_objPolicy);
    if (!ok)
        return false;
    m_blnNew = false;
    m_blnDirty = false;
    return true;
}

void UA_Policy::cmdSave_Click() {
    if (m_blnReadOnly || lstConfig->count() == 0)
        return;
    if (SavePolicy())
        LoadList(m_objPolicy.m_bytPolicyId);
}

void UA_Policy::cmdDelete_Click() {
    if (m_blnReadOnly || lstConfig->count() == 0)
        return;
    const std::string name = m_objPolicy.m_strPolicyName;
    if (m_blnNew) { // never saved: nothing to delete in the database
        m_blnDirty = false;
        m_blnNew = false;
        LoadList(-1);
        return;
    }
    if (m_objPolicy.m_bytPolicyId == 0) {
        warn("This is the default user policy.  It can not be deleted.", "Delete Error");
        return;
    }
    const std::string user = clsUserPolicies::FirstUserOfPolicy(m_objPolicy.m_bytPolicyId);
    if (!user.empty()) {
        warn("This user policy can not be deleted.  It is currently used by user " + user + ".", "In Use");
        return;
    }
    if (ask("Are you sure you wish to delete the user policy " + name + "?", "Delete Configuration",
            platform::MsgButtons::YesNo) != platform::MsgAnswer::Yes)
        return;
    if (m_colPolicies.DeletePolicy(m_objPolicy.m_bytPolicyId)) {
        m_blnDirty = false;
        LoadList(-1);
    }
}

void UA_Policy::cmdLdapSettings_Click() {
    clsLdapSettings settings;
    settings.CopyStateFromString(m_objPolicy.m_strString2); // what cannot be read starts from its default
    UA_LDAP_Settings dialog(this);
    if (!dialog.OpenForm(settings))
        return;
    m_objPolicy.m_strString2 = dialog.LdapSettings().toString();
    MarkDirty();
}

} // namespace users
