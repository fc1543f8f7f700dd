#include "UA_User_Mgmt_Edit.h"
#include "UserFieldLimits.h"

#include "Desktop.h"
#include "LoginComponent.h"
#include "MessageService.h"
#include "PasswordCipher.h"
#include "Text.h"
#include "Utf8.h"
#include "clsPartition.h"
#include "modPartition.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>

namespace users {

namespace fs = std::filesystem;
using platform::MsgAnswer;
using platform::MsgBox;
using platform::MsgButtons;
using platform::MsgIcon;

namespace {

QString q(const std::string& s) {
    return QString::fromStdString(s);
}
std::string s(const QString& q) {
    return q.toStdString();
}

QLineEdit* lineEdit(QWidget* parent, const char* name, int maxChars, bool password = false) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setMaxLength(maxChars);
    if (password)
        e->setEchoMode(QLineEdit::Password);
    return e;
}

QCheckBox* checkBox(QWidget* parent, const char* name, const char* caption) {
    auto* c = new QCheckBox(QString::fromUtf8(caption), parent);
    c->setObjectName(name);
    return c;
}

} // namespace

UA_User_Mgmt_Edit::UA_User_Mgmt_Edit(clsUserPolicies& policies, const UserEditContext& context, QWidget* parent)
    : QDialog(parent), m_policies(policies), m_context(context) {
    setObjectName("UA_User_Mgmt_Edit");
    auto* layout = new QVBoxLayout(this);
    TABUser = new QTabWidget(this);
    TABUser->setObjectName("TABUser");
    const char* tabs[] = {"General", "Security", "User Info", "Admin", "Groups", "Voice To Text"};
    for (const char* caption : tabs) {
        auto* page = new QWidget(TABUser);
        page->setObjectName(QString("tab") + QString(caption).remove(' '));
        TABUser->addTab(page, caption);
    }
    buildGeneralTab(TABUser->widget(0));
    buildSecurityTab(TABUser->widget(1));
    buildUserInfoTab(TABUser->widget(2));
    buildAdminTab(TABUser->widget(3));
    buildGroupsTab(TABUser->widget(4));
    buildVoiceTab(TABUser->widget(5));
    layout->addWidget(TABUser);
    auto* buttons = new QDialogButtonBox(this);
    cmdOK = buttons->addButton("&OK", QDialogButtonBox::AcceptRole);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setDefault(true);
    cmdCancel = buttons->addButton("&Cancel", QDialogButtonBox::RejectRole);
    cmdCancel->setObjectName("cmdCancel");
    layout->addWidget(buttons);
    connect(cmdOK, &QPushButton::clicked, this, &UA_User_Mgmt_Edit::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    prompts.ask = [](const std::string& text, const std::string& title) {
        return MsgBox(text, MsgButtons::YesNo, MsgIcon::Question, title) == MsgAnswer::Yes;
    };
    prompts.rename = [this](const std::string& text, const std::string& current) -> std::optional<std::string> {
        bool ok = false;
        const QString name = QInputDialog::getText(this, windowTitle(), q(text), QLineEdit::Normal, q(current), &ok);
        if (!ok)
            return std::nullopt;
        return s(name);
    };
}

void UA_User_Mgmt_Edit::buildGeneralTab(QWidget* tab) {
    auto* form = new QFormLayout(tab);
    txtUserName = lineEdit(tab, "txtUserName", kUserNameChars);
    // Refuses what a log-on name may not hold: \ / : * ? " < > | and the space.
    txtUserName->setValidator(new QRegularExpressionValidator(QRegularExpression(R"([^\\/:*?"<>| ]*)"), txtUserName));
    txtPassword = lineEdit(tab, "txtPassword", static_cast<int>(suite::PasswordCipher::kMaxPasswordLength), true);
    txtConfirmPassword =
        lineEdit(tab, "txtConfirmPassword", static_cast<int>(suite::PasswordCipher::kMaxPasswordLength), true);
    txtFirstName = lineEdit(tab, "txtFirstName", kFirstNameChars);
    txtLastName = lineEdit(tab, "txtLastName", kNameChars);
    labUserId = new QLabel(tab);
    labUserId->setObjectName("labUserId");
    form->addRow("&User Name:", txtUserName);
    form->addRow("&Veltra Password:", txtPassword);
    form->addRow("Confirm Veltra &Password:", txtConfirmPassword);
    form->addRow("&First Name:", txtFirstName);
    form->addRow("&Last Name:", txtLastName);
    form->addRow(labUserId);
    auto* types = new QGroupBox("User Type", tab);
    auto* row = new QHBoxLayout(types);
    chkTranscriptionist = checkBox(types, "chkTranscriptionist", "Transcriptionist");
    chkPaxlet = checkBox(types, "chkPaxlet", "Physician User");
    chkVoiceToText = checkBox(types, "chkVoiceToText", "Veltra Expert");
    row->addWidget(chkTranscriptionist);
    row->addWidget(chkPaxlet);
    row->addWidget(chkVoiceToText);
    form->addRow(types);
    connect(chkPaxlet, &QCheckBox::toggled, this, &UA_User_Mgmt_Edit::chkPaxlet_Click);
    for (QCheckBox* box : {chkTranscriptionist, chkPaxlet, chkVoiceToText})
        connect(box, &QCheckBox::toggled, this, [this, box](bool on) { userType_Changed(box, on); });
}

void UA_User_Mgmt_Edit::buildSecurityTab(QWidget* tab) {
    auto* form = new QFormLayout(tab);
    chkMustChangePassword = checkBox(tab, "chkMustChangePassword", "Must Change Password at Next Logon");
    chkAccountDisabled = checkBox(tab, "chkAccountDisabled", "Account Disabled");
    chkLockedOut = checkBox(tab, "chkLockedOut", "Account Locked Out");
    labLastAccess = new QLabel(tab);
    labLastAccess->setObjectName("labLastAccess");
    cmbUserPolicy = new QComboBox(tab);
    cmbUserPolicy->setObjectName("cmbUserPolicy");
    cboPartition = new QComboBox(tab);
    cboPartition->setObjectName("cboPartition");
    chkShare = checkBox(tab, "chkShare", "Share with other partitions");
    txtSignaturePassword =
        lineEdit(tab, "txtSignaturePassword", static_cast<int>(suite::PasswordCipher::kMaxPasswordLength), true);
    txtConfirmSignaturePassword =
        lineEdit(tab, "txtConfirmSignaturePassword", static_cast<int>(suite::PasswordCipher::kMaxPasswordLength), true);
    chkMustChangeSignaturePassword =
        checkBox(tab, "chkMustChangeSignaturePassword", "Must Change Signature Password at Next Logon (Reset)");
    form->addRow(chkMustChangePassword);
    form->addRow(chkAccountDisabled);
    form->addRow(chkLockedOut);
    form->addRow("Last Logon:", labLastAccess);
    form->addRow("User &Policy:", cmbUserPolicy);
    form->addRow("Pa&rtition:", cboPartition);
    form->addRow(chkShare);
    form->addRow("&Signature Password:", txtSignaturePassword);
    form->addRow("Confirm Signature Password:", txtConfirmSignaturePassword);
    form->addRow(chkMustChangeSignaturePassword);
    connect(cboPartition, &QComboBox::currentIndexChanged, this, &UA_User_Mgmt_Edit::cboPartition_Changed);
    connect(chkShare, &QCheckBox::toggled, this, &UA_User_Mgmt_Edit::chkShare_Click);
}

void UA_User_Mgmt_Edit::buildUserInfoTab(QWidget* tab) {
    auto* form = new QFormLayout(tab);
    txtInitials = lineEdit(tab, "txtInitials", kInitialsChars);
    txtLocationCode = lineEdit(tab, "txtLocationCode", kLocationChars);
    txtDictationID = lineEdit(tab, "txtDictationID", kDictationChars);
    txtMISNbr = lineEdit(tab, "txtMISNbr", kMisChars);
    labTransID = new QLabel(tab);
    labTransID->setObjectName("labTransID");
    cmbPromptScript = new QComboBox(tab);
    cmbPromptScript->setObjectName("cmbPromptScript");
    cmdEditScript = new QPushButton("&Edit Script...", tab);
    cmdEditScript->setObjectName("cmdEditScript");
    form->addRow("&Initials:", txtInitials);
    form->addRow("L&ocation Code:", txtLocationCode);
    form->addRow("&Dictation ID:", txtDictationID);
    form->addRow("MIS Number:", txtMISNbr);
    form->addRow("Transcriptionist ID:", labTransID);
    auto* script = new QHBoxLayout;
    script->addWidget(cmbPromptScript, 1);
    script->addWidget(cmdEditScript);
    form->addRow("Veltra Expert Prompt Script:", script);
    connect(cmdEditScript, &QPushButton::clicked, this, &UA_User_Mgmt_Edit::cmdEditScript_Click);
    connect(cmbPromptScript, &QComboBox::activated, this, &UA_User_Mgmt_Edit::cmbPromptScript_Click);
}

void UA_User_Mgmt_Edit::buildAdminTab(QWidget* tab) {
    auto* box = new QVBoxLayout(tab);
    chkSystemAdmin = checkBox(tab, "chkSystemAdmin", "General System Administrator (Full Access)");
    chkTransAdmin = checkBox(tab, "chkTransAdmin", "Transcription Administrator");
    chkPaxletAdmin = checkBox(tab, "chkPaxletAdmin", "Physician Administrator");
    box->addWidget(chkSystemAdmin);
    box->addWidget(chkTransAdmin);
    box->addWidget(chkPaxletAdmin);
    box->addStretch();
}

void UA_User_Mgmt_Edit::buildGroupsTab(QWidget* tab) {
    auto* box = new QVBoxLayout(tab);
    lvwMembers = new QTreeWidget(tab);
    lvwMembers->setObjectName("lvwMembers");
    lvwMembers->setHeaderLabels({"User Name", "Description"});
    lvwMembers->setRootIsDecorated(false);
    box->addWidget(lvwMembers);
    auto* row = new QHBoxLayout;
    cmdAdd = new QPushButton("Add...", tab);
    cmdAdd->setObjectName("cmdAdd");
    cmdRemove = new QPushButton("Remove", tab);
    cmdRemove->setObjectName("cmdRemove");
    row->addStretch();
    row->addWidget(cmdAdd);
    row->addWidget(cmdRemove);
    box->addLayout(row);
    connect(cmdAdd, &QPushButton::clicked, this, &UA_User_Mgmt_Edit::cmdAdd_Click);
    connect(cmdRemove, &QPushButton::clicked, this, &UA_User_Mgmt_Edit::cmdRemove_Click);
}

void UA_User_Mgmt_Edit::buildVoiceTab(QWidget* tab) {
    auto* form = new QFormLayout(tab);
    labPhysTransId = new QLabel(tab);
    labPhysTransId->setObjectName("labPhysTransId");
    form->addRow("Document Creation ID:", labPhysTransId);
    auto* voice = new QHBoxLayout;
    optMale = new QRadioButton("&Male", tab);
    optMale->setObjectName("optMale");
    optFemale = new QRadioButton("F&emale", tab);
    optFemale->setObjectName("optFemale");
    voice->addWidget(optMale);
    voice->addWidget(optFemale);
    form->addRow("Voice Profile Template:", voice);
}

void UA_User_Mgmt_Edit::LoadForm(const clsUser& user, bool isNew, const std::vector<UserGroupEntry>& groups) {
    m_blnLoading = true;
    m_objUser.CopyClass(user);
    m_blnNew = isNew;
    m_groups = groups;
    m_loadedGroups = groups;
    setWindowTitle(isNew ? "Add User" : "Edit User");
    txtUserName->setText(q(user.m_strUserName));
    // A stored password is never shown.
    const QString placeholder = QString::fromLatin1(kPasswordPlaceholder);
    txtPassword->setText(isNew ? QString() : placeholder);
    txtConfirmPassword->setText(isNew ? QString() : placeholder);
    txtSignaturePassword->setText(isNew ? QString() : placeholder);
    txtConfirmSignaturePassword->setText(isNew ? QString() : placeholder);
    txtFirstName->setText(q(user.m_strFirstName));
    txtLastName->setText(q(user.m_strLastName));
    labUserId->setText(isNew ? "User ID: NEW" : "User ID: " + QString::number(user.m_lngUserId));
    chkVoiceToText->setChecked(user.m_blnVoiceToText);
    chkPaxlet->setChecked(user.m_lngPhysicianId > 0);
    chkTranscriptionist->setChecked(!user.m_strTransId.empty() && !user.m_blnVoiceToText && user.m_lngPhysicianId <= 0);
    chkMustChangePassword->setChecked(user.m_blnMustChangePassword);
    chkAccountDisabled->setChecked(!isNew && !user.m_blnEnabled);
    chkLockedOut->setChecked(user.m_blnLockedOut);
    labLastAccess->setText(q(user.m_strLastAccess));
    chkMustChangeSignaturePassword->setChecked(user.m_blnMustChangeSignaturePassword);
    // A site that does not let administrators set signature passwords keeps the stored one.
    txtSignaturePassword->setEnabled(m_context.allowSettingSignaturePassword);
    txtConfirmSignaturePassword->setEnabled(m_context.allowSettingSignaturePassword);

    cmbUserPolicy->clear();
    for (const clsUserPolicy& policy : m_policies)
        cmbUserPolicy->addItem(q(policy.m_strPolicyName), static_cast<int>(policy.m_bytPolicyId));
    cmbUserPolicy->setCurrentIndex(std::max(0, cmbUserPolicy->findData(static_cast<int>(user.m_bytUserPolicy))));

    // The partitions the logged-in user may place users in: its own and those under it.
    cboPartition->clear();
    const auto* login = physicians::Partitions().login;
    const long own = login ? login->user.Partition_ID : 0;
    for (const auto& p : physicians::PartitionCache())
        if (p.Is_Under(own))
            cboPartition->addItem(q(p.Partition_Name()), QVariant::fromValue<qlonglong>(p.Partition_ID()));
    const long partition = isNew && user.Partition_ID() < 0 ? own : user.Partition_ID();
    cboPartition->setCurrentIndex(cboPartition->findData(QVariant::fromValue<qlonglong>(partition)));
    m_intPartitionIndex = cboPartition->currentIndex();
    chkShare->setChecked(user.Is_Shared());

    txtInitials->setText(q(user.m_strInitials));
    txtLocationCode->setText(q(user.m_strLocationCode));
    txtDictationID->setText(q(user.m_strDictationId));
    txtMISNbr->setText(q(user.m_strMisNbr));
    labTransID->setText(q(user.m_strTransId));
    labPhysTransId->setText(user.m_blnVoiceToText ? q(user.m_strTransId) : QString());
    optFemale->setChecked(user.m_blnExtra2Bit1);
    optMale->setChecked(!user.m_blnExtra2Bit1);
    fillPromptScripts();
    m_intScriptIndex = cmbPromptScript->currentIndex();

    chkSystemAdmin->setChecked(user.m_blnSystemAdministrator);
    chkTransAdmin->setChecked(user.m_blnTransAdministrator);
    chkPaxletAdmin->setChecked(user.m_blnPaxletAdministrator);
    // The built-in Administrator and the technical support accounts keep their administrator flag.
    const bool builtIn = foundation::upperText(foundation::trimText(user.m_strUserName)) == "ADMINISTRATOR" ||
                         IsTechnicianAccount(user.m_strUserName);
    chkSystemAdmin->setEnabled(!builtIn);
    TABUser->setTabEnabled(static_cast<int>(UserTab::Admin), m_context.actingSystemAdministrator);
    fillGroups();
    enableTabs();
    TABUser->setCurrentIndex(0);
    m_blnLoading = false;
}

void UA_User_Mgmt_Edit::SetTranscriptionist() {
    m_blnLoading = true;
    chkTranscriptionist->setChecked(true);
    m_blnLoading = false;
    enableTabs();
}

void UA_User_Mgmt_Edit::listPromptScripts() {
    cmbPromptScript->clear();
    cmbPromptScript->addItem(QString());
    std::vector<std::string> names;
    std::error_code ec;
    if (!promptFolder.empty())
        for (const auto& entry : fs::directory_iterator(promptFolder, ec)) {
            const std::string name = entry.path().filename().string();
            if (entry.is_regular_file() && foundation::upperText(entry.path().extension().string()) == ".KDS")
                names.push_back(name);
        }
    std::sort(names.begin(), names.end());
    for (const auto& n : names)
        cmbPromptScript->addItem(q(n));
}

void UA_User_Mgmt_Edit::fillPromptScripts() {
    listPromptScripts();
    const std::string current = m_objUser.m_strPromptScript;
    if (current.empty())
        return;
    const int at = cmbPromptScript->findText(q(current), Qt::MatchFixedString);
    if (at >= 0) {
        cmbPromptScript->setCurrentIndex(at);
        return;
    }
    MsgBox("Report creation prompt script " + current + " could not be found.  Prompt script has been reset.",
           MsgButtons::OK, MsgIcon::Exclamation, "Edit User");
    cmbPromptScript->setCurrentIndex(
        std::max(0, cmbPromptScript->findText(kDefaultPromptScript, Qt::MatchFixedString)));
}

void UA_User_Mgmt_Edit::fillGroups() {
    lvwMembers->clear();
    for (const auto& g : m_groups) {
        auto* item = new QTreeWidgetItem(lvwMembers, {q(g.name), q(g.description)});
        item->setData(0, Qt::UserRole, QVariant::fromValue<qlonglong>(g.groupId));
    }
}

// The User Info tab is for transcriptionists and voice-to-text users, the Voice To Text tab for the
// latter only.
void UA_User_Mgmt_Edit::enableTabs() {
    const bool trans = chkTranscriptionist->isChecked() || chkVoiceToText->isChecked();
    TABUser->setTabEnabled(static_cast<int>(UserTab::UserInfo), trans);
    TABUser->setTabEnabled(static_cast<int>(UserTab::VoiceToText), chkVoiceToText->isChecked());
}

void UA_User_Mgmt_Edit::chkPaxlet_Click(bool checked) {
    if (m_blnLoading || !checked)
        return;
    if (chkSystemAdmin->isChecked() || chkTransAdmin->isChecked() || chkPaxletAdmin->isChecked()) {
        MsgBox(kPhysicianNotAdmin, MsgButtons::OK, MsgIcon::Exclamation, s(windowTitle()));
        chkSystemAdmin->setChecked(false);
        chkTransAdmin->setChecked(false);
        chkPaxletAdmin->setChecked(false);
    }
}

void UA_User_Mgmt_Edit::userType_Changed(QCheckBox* box, bool checked) {
    if (m_blnLoading)
        return;
    const bool customMember = std::any_of(m_groups.begin(), m_groups.end(), [](const auto& g) { return !g.builtIn; });
    if (customMember) {
        const bool yes = prompts.ask("This user is a member of one or more custom groups.  This action will remove "
                                     "the user from these groups.  Continue anyway?",
                                     "Change User Type?");
        if (!yes) {
            m_blnLoading = true;
            box->setChecked(!checked);
            m_blnLoading = false;
            return;
        }
        std::erase_if(m_groups, [](const auto& g) { return !g.builtIn; });
        fillGroups();
    }
    enableTabs();
}

void UA_User_Mgmt_Edit::cboPartition_Changed(int index) {
    if (m_blnLoading || index == m_intPartitionIndex)
        return;
    const bool member = std::any_of(m_groups.begin(), m_groups.end(), [](const auto& g) { return !g.builtIn; });
    if (member && !prompts.ask("Changing the partition will result in the user being removed from assigned User "
                               "Management Groups. Do you wish to continue?",
                               "Partition Change")) {
        m_blnLoading = true;
        cboPartition->setCurrentIndex(m_intPartitionIndex);
        m_blnLoading = false;
        return;
    }
    if (member) {
        std::erase_if(m_groups, [](const auto& g) { return !g.builtIn; });
        fillGroups();
    }
    m_intPartitionIndex = index;
}

void UA_User_Mgmt_Edit::chkShare_Click(bool checked) {
    if (m_blnLoading)
        return;
    const bool member = std::any_of(m_groups.begin(), m_groups.end(), [](const auto& g) { return !g.builtIn; });
    if (!member)
        return;
    if (!prompts.ask("Changing the sharing relationship will remove this user from all invalid User Management Group "
                     "assignments. Do you wish to continue?",
                     "User Sharing")) {
        m_blnLoading = true;
        chkShare->setChecked(!checked);
        m_blnLoading = false;
        return;
    }
    std::erase_if(m_groups, [](const auto& g) { return !g.builtIn; });
    fillGroups();
}

void UA_User_Mgmt_Edit::cmdAdd_Click() {
    if (!chooseGroups)
        return;
    std::vector<long> current;
    for (const auto& g : m_groups)
        current.push_back(g.groupId);
    for (const auto& g : chooseGroups(this, m_objUser, current))
        if (std::none_of(m_groups.begin(), m_groups.end(), [&g](const auto& h) { return h.groupId == g.groupId; }))
            m_groups.push_back(g);
    fillGroups();
}

void UA_User_Mgmt_Edit::cmdRemove_Click() {
    QTreeWidgetItem* item = lvwMembers->currentItem();
    if (!item)
        return;
    const long id = item->data(0, Qt::UserRole).toLongLong();
    const auto it = std::find_if(m_groups.begin(), m_groups.end(), [id](const auto& g) { return g.groupId == id; });
    if (it == m_groups.end())
        return;
    if (it->builtIn) {
        MsgBox("User cannot be removed from built-in group " + it->name + ".", MsgButtons::OK, MsgIcon::Exclamation,
               "Remove Group");
        return;
    }
    m_groups.erase(it);
    fillGroups();
}

void UA_User_Mgmt_Edit::cmdEditScript_Click() {
    const std::string name = s(cmbPromptScript->currentText());
    if (name.empty() || promptFolder.empty())
        return;
    const fs::path script = fs::path(promptFolder) / name;
    std::error_code ec;
    fs::copy_file(script, fs::path(script.string() + ".BAK"), fs::copy_options::overwrite_existing, ec);
    platform::DesktopOpener::instance().openTextFile(script.string());
}

// A script whose name the user row cannot hold is renamed on the spot, or the choice goes back.
void UA_User_Mgmt_Edit::cmbPromptScript_Click(int index) {
    const std::string name = s(cmbPromptScript->itemText(index));
    if (platform::utf8Length(name) <= kMaxPromptScriptCharacters) {
        m_intScriptIndex = index;
        return;
    }
    const std::optional<std::string> renamed = ShorterPromptScriptName(name, prompts);
    if (!renamed || !renamePromptScript(name, *renamed))
        cmbPromptScript->setCurrentIndex(m_intScriptIndex);
}

bool UA_User_Mgmt_Edit::renamePromptScript(const std::string& from, const std::string& to) {
    const fs::path folder(promptFolder);
    std::error_code ec;
    bool renamed = !promptFolder.empty() && !fs::exists(folder / to, ec);
    if (renamed) {
        fs::rename(folder / from, folder / to, ec);
        renamed = !ec;
    }
    if (!renamed) {
        MsgBox("The report creation prompt script " + from + " could not be renamed to " + to + ".", MsgButtons::OK,
               MsgIcon::Exclamation, "Error");
        return false;
    }
    listPromptScripts();
    cmbPromptScript->setCurrentIndex(std::max(0, cmbPromptScript->findText(q(to), Qt::MatchFixedString)));
    m_intScriptIndex = cmbPromptScript->currentIndex();
    return true;
}

std::vector<long> UA_User_Mgmt_Edit::RemovedGroups() const {
    std::vector<long> out;
    for (const auto& g : m_loadedGroups)
        if (std::none_of(m_groups.begin(), m_groups.end(), [&g](const auto& h) { return h.groupId == g.groupId; }))
            out.push_back(g.groupId);
    return out;
}

std::vector<long> UA_User_Mgmt_Edit::AddedGroups() const {
    std::vector<long> out;
    for (const auto& g : m_groups)
        if (std::none_of(m_loadedGroups.begin(), m_loadedGroups.end(),
                         [&g](const auto& h) { return h.groupId == g.groupId; }))
            out.push_back(g.groupId);
    return out;
}

UserEditForm UA_User_Mgmt_Edit::collectForm() const {
    UserEditForm f;
    f.isNew = m_blnNew;
    f.userName = s(txtUserName->text());
    f.firstName = s(txtFirstName->text());
    f.lastName = s(txtLastName->text());
    f.password = s(txtPassword->text());
    f.confirmPassword = s(txtConfirmPassword->text());
    f.signaturePassword = s(txtSignaturePassword->text());
    f.confirmSignaturePassword = s(txtConfirmSignaturePassword->text());
    f.mustChangeSignaturePassword = chkMustChangeSignaturePassword->isChecked();
    f.transcriptionist = chkTranscriptionist->isChecked();
    f.paxlet = chkPaxlet->isChecked();
    f.voiceToText = chkVoiceToText->isChecked();
    if (cboPartition->currentIndex() >= 0)
        f.partitionId = cboPartition->currentData().toLongLong();
    f.promptScript = s(cmbPromptScript->currentText());
    const int policyId = cmbUserPolicy->currentIndex() >= 0 ? cmbUserPolicy->currentData().toInt() : 0;
    f.policy = m_policies.Item(clsUserPolicies::Key(policyId));
    f.storedUserName = m_objUser.m_strUserName;
    f.storedPassword = m_objUser.m_strPassword;
    f.storedSignaturePassword = m_objUser.m_strSignaturePassword;
    f.existingTransId = m_blnNew ? std::string() : m_objUser.m_strTransId;
    f.storedPartitionId = m_objUser.Partition_ID();
    return f;
}

void UA_User_Mgmt_Edit::showFailure(const UserEditFailure& failure) {
    TABUser->setCurrentIndex(static_cast<int>(failure.tab));
    if (!failure.message.empty())
        MsgBox(failure.message, MsgButtons::OK, MsgIcon::Exclamation, "Error");
    if (auto* field = findChild<QWidget*>(q(failure.control)))
        field->setFocus(Qt::OtherFocusReason);
}

void UA_User_Mgmt_Edit::cmdOK_Click() {
    UserEditForm form = collectForm();
    const std::string chosenScript = form.promptScript;
    if (const auto failure = CheckUserEdit(form, m_context, prompts)) {
        showFailure(*failure);
        return;
    }
    // A script renamed by the checks is renamed in the folder too, so that the name saved exists.
    if (form.promptScript != chosenScript && !renamePromptScript(chosenScript, form.promptScript)) {
        showFailure(UserEditFailure{8, std::string(), "cmbPromptScript", UserTab::UserInfo});
        return;
    }
    applyForm(form);
    accept();
}

void UA_User_Mgmt_Edit::applyForm(const UserEditForm& f) {
    clsUser& u = m_objUser;
    const bool oldMustChange = u.m_blnMustChangePassword;
    const bool oldMustChangeSignature = u.m_blnMustChangeSignaturePassword;
    m_changes = UserEditChanges{};
    m_changes.oldPartitionId = m_blnNew ? *f.partitionId : u.Partition_ID();
    u.m_strUserName = f.userName;
    if (!PasswordUnchanged(f.password)) {
        m_changes.passwordChanged = !m_blnNew || !f.password.empty();
        u.m_strPassword = f.password;
    }
    if (!PasswordUnchanged(f.signaturePassword)) {
        m_changes.signaturePasswordChanged = !m_blnNew || !f.signaturePassword.empty();
        u.m_strSignaturePassword = f.signaturePassword;
    }
    u.m_strFirstName = f.firstName;
    u.m_strLastName = f.lastName;
    u.m_blnMustChangePassword = chkMustChangePassword->isChecked();
    u.m_blnEnabled = !chkAccountDisabled->isChecked();
    u.m_blnLockedOut = chkLockedOut->isChecked();
    u.m_bytUserPolicy = static_cast<unsigned char>(f.policy ? f.policy->m_bytPolicyId : 0);
    u.Partition_ID(*f.partitionId);
    u.Is_Shared(chkShare->isChecked());
    u.m_blnMustChangeSignaturePassword = f.mustChangeSignaturePassword;
    u.m_blnVoiceToText = f.voiceToText;
    u.m_blnNotPaxLet = !f.paxlet;
    u.m_strPromptScript = f.promptScript;
    if (f.transcriptionist || f.voiceToText) {
        u.m_strTransId = platform::utf8Left(foundation::upperText(f.userName), 8);
        u.m_strInitials = s(txtInitials->text());
        u.m_strLocationCode = s(txtLocationCode->text());
        u.m_strDictationId = s(txtDictationID->text());
        u.m_strMisNbr = s(txtMISNbr->text());
        u.m_blnExtra2Bit1 = optFemale->isChecked();
        m_changes.writeTransRecord = true;
    }
    m_changes.oldPhysicianId = m_blnNew ? 0 : u.m_lngPhysicianId;
    if (!f.paxlet)
        u.m_lngPhysicianId = 0;
    u.m_blnSystemAdministrator = chkSystemAdmin->isChecked();
    u.m_blnPaxletAdministrator = chkPaxletAdmin->isChecked();
    u.m_blnTransAdministrator = chkTransAdmin->isChecked();
    m_changes.mustChangeChanged = !m_blnNew && oldMustChange != u.m_blnMustChangePassword;
    m_changes.mustChangeSignatureChanged = !m_blnNew && oldMustChangeSignature != u.m_blnMustChangeSignaturePassword;
}

} // namespace users
