#include "VV_System_Edit.h"

#include "MessageService.h"
#include "Numbers.h"
#include "VVConnectionText.h"
#include "VV_System_Test.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace voicesystems {

using platform::MsgBox;
using platform::MsgButtons;
using platform::MsgIcon;

namespace {

QLineEdit* field(QWidget* parent, const char* name, const std::string& text) {
    auto* e = new QLineEdit(QString::fromStdString(text), parent);
    e->setObjectName(name);
    return e;
}

std::string text(const QLineEdit* e) {
    return e->text().toStdString();
}

long number(const QLineEdit* e) {
    auto n = platform::parseDigits(e->text().toStdString());
    return n && *n <= 2147483647 ? static_cast<long>(*n) : (e->text().isEmpty() ? 0 : -1);
}

} // namespace

VV_System_Edit::VV_System_Edit(clsVVSysConDef& def, bool isNew, QWidget* parent) : QDialog(parent), m_def(def) {
    setObjectName("VV_System_Edit");
    setWindowTitle(isNew ? "Add Veltra Voice System" : "Edit Veltra Voice System");

    txtSystemName = field(this, "txtSystemName", def.SystemName());
    // The name identifies the row an update writes to, so an existing definition keeps it.
    txtSystemName->setReadOnly(!isNew);
    optConnectionProperties = new QRadioButton("Connect using &properties", this);
    optConnectionProperties->setObjectName("optConnectionProperties");
    optConnectionString = new QRadioButton("Connect using a connection &string", this);
    optConnectionString->setObjectName("optConnectionString");
    (def.ConnectionType() == 1 ? optConnectionString : optConnectionProperties)->setChecked(true);
    txtServer = field(this, "txtServer", def.servername());
    txtDatabase = field(this, "txtDatabase", def.DatabaseName());
    txtSqlUser = field(this, "txtSqlUser", def.UserName());
    txtSqlPassword = field(this, "txtSqlPassword", isNew && def.PasswordName().empty() ? "" : kPlaceholder);
    txtSqlPassword->setEchoMode(QLineEdit::Password);
    std::string connection = def.ConnectionString();
    if (RemovePasswordPart(connection) != NormaliseConnectionString(connection)) {
        m_connectionPassword = ConnectionStringValue(connection, "password");
        connection = ReplacePasswordValue(connection, kPlaceholder);
    }
    txtConnectionString = field(this, "txtConnectionString", connection);
    txtAdminUser = field(this, "txtAdminUser", def.AdminUserId() > 0 ? std::to_string(def.AdminUserId()) : "");
    txtAdminFacility = field(this, "txtAdminFacility", isNew ? "" : std::to_string(def.AdminFacility()));
    txtAdminPassword = field(this, "txtAdminPassword", isNew && def.AdminPassword().empty() ? "" : kPlaceholder);
    txtAdminPassword->setEchoMode(QLineEdit::Password);
    auto* digits = new QRegularExpressionValidator(QRegularExpression("[0-9]*"), this);
    for (QLineEdit* e : {txtAdminUser, txtAdminFacility}) {
        e->setValidator(digits);
        e->setMaxLength(9);
    }

    auto* layout = new QVBoxLayout(this);
    auto* top = new QFormLayout;
    top->addRow("System &Name:", txtSystemName);
    layout->addLayout(top);

    auto* connectionBox = new QGroupBox("Veltra Voice Server Connection", this);
    auto* connectionForm = new QFormLayout(connectionBox);
    connectionForm->addRow(optConnectionProperties);
    connectionForm->addRow("Se&rver:", txtServer);
    connectionForm->addRow("&Database:", txtDatabase);
    connectionForm->addRow("S&QL User:", txtSqlUser);
    connectionForm->addRow("SQL Pass&word:", txtSqlPassword);
    connectionForm->addRow(optConnectionString);
    connectionForm->addRow("Connection Strin&g:", txtConnectionString);
    layout->addWidget(connectionBox);

    auto* adminBox = new QGroupBox("Veltra Voice Administrator", this);
    auto* adminForm = new QFormLayout(adminBox);
    adminForm->addRow("Administrator &User ID:", txtAdminUser);
    adminForm->addRow("User &Facility:", txtAdminFacility);
    adminForm->addRow("Administrator P&assword:", txtAdminPassword);
    layout->addWidget(adminBox);

    cmdTestConnection = new QPushButton("&Test Connection", this);
    cmdTestConnection->setObjectName("cmdTestConnection");
    cmdOK = new QPushButton("&OK", this);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton("&Cancel", this);
    cmdCancel->setObjectName("cmdCancel");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdTestConnection);
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    layout->addLayout(buttons);

    connect(optConnectionProperties, &QRadioButton::toggled, this, [this] { optConnection_Click(); });
    connect(cmdTestConnection, &QPushButton::clicked, this, [this] { cmdTestConnection_Click(); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    optConnection_Click();
    (isNew ? txtSystemName : static_cast<QLineEdit*>(txtServer))->setFocus();
}

void VV_System_Edit::optConnection_Click() {
    const bool properties = optConnectionProperties->isChecked();
    for (QLineEdit* e : {txtServer, txtDatabase, txtSqlUser, txtSqlPassword})
        e->setEnabled(properties);
    txtConnectionString->setEnabled(!properties);
}

void VV_System_Edit::readFields(clsVVSysConDef& def) {
    if (!txtSystemName->isReadOnly())
        def.SetSystemName(text(txtSystemName));
    def.SetConnectionType(optConnectionString->isChecked() ? 1 : 0);
    def.Setservername(text(txtServer));
    def.SetDatabaseName(text(txtDatabase));
    def.SetUserName(text(txtSqlUser));
    if (text(txtSqlPassword) != kPlaceholder)
        def.SetPasswordName(text(txtSqlPassword));
    std::string connection = text(txtConnectionString);
    if (ConnectionStringValue(connection, "password") == kPlaceholder)
        connection = ReplacePasswordValue(connection, m_connectionPassword);
    def.SetConnectionString(connection);
    def.SetAdminUserId(number(txtAdminUser));
    def.SetAdminFacility(number(txtAdminFacility));
    if (text(txtAdminPassword) != kPlaceholder)
        def.SetAdminPassword(text(txtAdminPassword));
}

void VV_System_Edit::focusFirstBroken() {
    const std::pair<const char*, QLineEdit*> fields[] = {
        {"SystemName", txtSystemName}, {"ServerName", txtServer},           {"DatabaseName", txtDatabase},
        {"UserName", txtSqlUser},      {"PasswordName", txtSqlPassword},    {"ConnectionString", txtConnectionString},
        {"AdminUserId", txtAdminUser}, {"AdminFacility", txtAdminFacility}, {"AdminPassword", txtAdminPassword},
    };
    for (const auto& [rule, edit] : fields)
        if (m_def.Rules().IsBroken(rule)) {
            edit->setFocus();
            edit->selectAll();
            return;
        }
}

void VV_System_Edit::cmdOK_Click() {
    const QString facility = txtAdminFacility->text();
    if (facility.size() > 1 && facility.startsWith('0')) {
        MsgBox("Leading zeros in the User Facility will be stripped when saved\nto the database.", MsgButtons::OK,
               MsgIcon::Exclamation, "Invalid Entry");
        txtAdminFacility->setText(QString::number(number(txtAdminFacility)));
    }
    if (facility.isEmpty())
        txtAdminFacility->setText("0");
    readFields(m_def);
    if (!m_def.IsValid()) {
        MsgBox(m_def.GetErrString(), MsgButtons::OK, MsgIcon::Exclamation, "Invalid Entries");
        focusFirstBroken();
        return;
    }
    accept();
}

void VV_System_Edit::cmdTestConnection_Click() {
    clsVVSysConDef trial = m_def;
    readFields(trial);
    VV_System_Test test(trial, this);
    runDialog(test);
}

} // namespace voicesystems
