#include "UA_LDAP_Settings.h"

#include "PasswordCipher.h"

#include "DirectoryClient.h"
#include "Interaction.h"
#include "MessageService.h"
#include "Utf8.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <vector>

namespace users {

namespace {

constexpr const char* kCaption = "LDAP Settings";
constexpr const char* kPrefix = "LDAP://";

} // namespace

UA_LDAP_Settings::UA_LDAP_Settings(QWidget* parent) : QDialog(parent) {
    setObjectName("UA_LDAP_Settings");
    setWindowTitle(kCaption);
    auto* grid = new QGridLayout(this);
    int row = 0;
    const auto field = [&](const char* name, const char* caption) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(name);
        auto* label = new QLabel(caption, this);
        label->setBuddy(edit);
        grid->addWidget(label, row, 0);
        grid->addWidget(edit, row, 1);
        ++row;
        connect(edit, &QLineEdit::textChanged, this, &UA_LDAP_Settings::MarkDirty);
        return edit;
    };
    txtServer = field("txtServer", "&Server:");
    txtBackupServer = field("txtBackupServer", "&Backup Server:");
    txtBindDn = field("txtBindDn", "Bind &DN:");
    txtBindDnPass = field("txtBindDnPass", "Bind DN &Password:");
    txtBindDnPass->setEchoMode(QLineEdit::Password);
    txtBindDnPass->setStyleSheet("lineedit-password-character: 42"); // masked with "*"
    cmdShowBindPass = new QPushButton("Show", this);
    cmdShowBindPass->setObjectName("cmdShowBindPass");
    cmdShowBindPass->setAutoDefault(false);
    grid->addWidget(cmdShowBindPass, row - 1, 2);
    txtSearchBase = field("txtSearchBase", "Search B&ase:");
    txtPort = field("txtPort", "P&ort:");
    chkUseSSL = new QCheckBox("&Use SSL", this);
    chkUseSSL->setObjectName("chkUseSSL");
    grid->addWidget(chkUseSSL, row++, 1);
    connect(chkUseSSL, &QCheckBox::toggled, this, &UA_LDAP_Settings::MarkDirty);

    cmdTestConnection = new QPushButton("&Test Connection", this);
    cmdTestConnection->setObjectName("cmdTestConnection");
    cmdTestConnection->setAutoDefault(false);
    grid->addWidget(cmdTestConnection, row++, 1, Qt::AlignLeft);

    auto* box = new QDialogButtonBox(this);
    cmdOK = box->addButton("&OK", QDialogButtonBox::AcceptRole);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setDefault(true);
    cmdCancel = box->addButton("&Cancel", QDialogButtonBox::RejectRole);
    cmdCancel->setObjectName("cmdCancel");
    grid->addWidget(box, row, 0, 1, 3);

    connect(cmdOK, &QPushButton::clicked, this, &UA_LDAP_Settings::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &UA_LDAP_Settings::cmdCancel_Click);
    connect(cmdShowBindPass, &QPushButton::clicked, this, &UA_LDAP_Settings::cmdShowBindPass_Click);
    connect(cmdTestConnection, &QPushButton::clicked, this, &UA_LDAP_Settings::cmdTestConnection_Click);
    connect(txtServer, &QLineEdit::editingFinished, this, [this] { ValidateServer(txtServer); });
    connect(txtBackupServer, &QLineEdit::editingFinished, this, [this] { ValidateServer(txtBackupServer); });
}

void UA_LDAP_Settings::Load(const clsLdapSettings& settings) {
    m_objSettings = settings.CreateClone();
    m_blnLoading = true;
    txtServer->setText(QString::fromStdString(settings.server()));
    txtBackupServer->setText(QString::fromStdString(settings.BackupServer()));
    txtBindDn->setText(QString::fromStdString(settings.BindDN()));
    txtBindDnPass->setText(QString::fromStdString(settings.BindDNPass()));
    txtSearchBase->setText(QString::fromStdString(settings.SearchBase()));
    txtPort->setText(QString::fromStdString(settings.Port()));
    chkUseSSL->setChecked(settings.UseSSL());
    m_blnLoading = false;
    m_blnDirty = false;
    setWindowTitle(kCaption);
}

bool UA_LDAP_Settings::OpenForm(const clsLdapSettings& settings) {
    Load(settings);
    return exec() == QDialog::Accepted;
}

void UA_LDAP_Settings::MarkDirty() {
    if (m_blnLoading || m_blnDirty)
        return;
    m_blnDirty = true;
    setWindowTitle(QString(kCaption) + " *");
}

bool UA_LDAP_Settings::ValidateServer(QLineEdit* field) {
    if (!field->text().left(7).startsWith(kPrefix, Qt::CaseInsensitive))
        return true;
    platform::MsgBox("The LDAP URL protocol prefix is not required when entering server address.  Removing.",
                     platform::MsgButtons::OK, platform::MsgIcon::Exclamation, kCaption);
    field->setText(field->text().mid(7));
    return false;
}

void UA_LDAP_Settings::cmdShowBindPass_Click() {
    const bool masked = txtBindDnPass->echoMode() == QLineEdit::Password;
    txtBindDnPass->setEchoMode(masked ? QLineEdit::Normal : QLineEdit::Password);
    cmdShowBindPass->setText(masked ? "Hide" : "Show");
}

clsLdapSettings UA_LDAP_Settings::EditedSettings() const {
    clsLdapSettings edited = *m_objSettings; // Scope, AuthType and Timeout keep their values
    edited.server(txtServer->text().trimmed().toStdString());
    edited.BackupServer(txtBackupServer->text().trimmed().toStdString());
    edited.BindDN(txtBindDn->text().toStdString());
    edited.BindDNPass(txtBindDnPass->text().toStdString());
    edited.SearchBase(txtSearchBase->text().toStdString());
    edited.Port(txtPort->text().trimmed().toStdString());
    edited.UseSSL(chkUseSSL->isChecked());
    return edited;
}

void UA_LDAP_Settings::cmdTestConnection_Click() {
    ValidateServer(txtServer);
    ValidateServer(txtBackupServer);
    std::vector<suite::DirectoryClient::ServerTest> results;
    {
        platform::BusyPointer busy;
        results = suite::DirectoryClient(EditedSettings().State()).testConnection();
    }
    bool allAnswered = true;
    std::string lines;
    for (const auto& r : results) {
        allAnswered = allAnswered && r.answer.status == suite::DirectoryAnswer::Status::Accepted;
        lines += "\n" + r.answer.message;
    }
    if (allAnswered)
        platform::MsgBox("The connection to the directory succeeded." + lines, platform::MsgButtons::OK,
                         platform::MsgIcon::Information, kCaption);
    else
        platform::MsgBox("The connection to the directory failed." + lines, platform::MsgButtons::OK,
                         platform::MsgIcon::Exclamation, kCaption);
}

void UA_LDAP_Settings::cmdOK_Click() {
    ValidateServer(txtServer);
    ValidateServer(txtBackupServer);
    const clsLdapSettings edited = EditedSettings();
    // The bind password is sealed under the site's key; a site without its key file saves none.
    if (!edited.BindDNPass().empty() && !suite::PasswordCipher::CanWrite()) {
        platform::MsgBox(suite::PasswordCipher::kNoSiteKeyMessage, platform::MsgButtons::OK,
                         platform::MsgIcon::Critical, kCaption);
        return;
    }
    // The policy row gives back only so much of its stored text; a longer one would be cut.
    if (edited.BindDNPass().size() > suite::PasswordCipher::kMaxSealedText ||
        platform::utf8Length(edited.toString()) > kMaxStoredCharacters) {
        platform::MsgBox("The LDAP settings are too long to be stored.  Please shorten the server names, the bind DN, "
                         "its password or the search base.",
                         platform::MsgButtons::OK, platform::MsgIcon::Exclamation, kCaption);
        return;
    }
    m_objSettings->CopyState(edited);
    accept();
}

void UA_LDAP_Settings::cmdCancel_Click() {
    reject();
}

} // namespace users
