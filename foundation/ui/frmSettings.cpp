#include "frmSettings.h"

#include "EventLog.h"
#include "LoginComponent.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace foundation {

const QStringList& frmSettings::identifierFields() {
    static const QStringList fields = {"Patient ID", "Medical Record Number", "Account Number",
                                       "Patient Name and Birth Date", "Social Security Number"};
    return fields;
}

frmSettings::frmSettings(suite::LoginComponent& login, QWidget* parent) : QDialog(parent), m_login(login) {
    setObjectName("frmSettings");
    setWindowTitle("Patient Search Identifier");
    const bool globalAdministrator = login.user.is_administrator && login.user.Partition_ID == 0;
    QString text = "These settings determine how the system will search and link in other reports for patient focus "
                   "functionality.  The settings control the database fields that identify a unique patient across "
                   "reports.";
    if (!globalAdministrator)
        text += " You must be a global partition administrator to change these settings.";
    auto* explanation = new QLabel(text, this);
    explanation->setObjectName("lblExplanation");
    explanation->setWordWrap(true);
    m_identifier = new QComboBox(this);
    m_identifier->setObjectName("cboUniqueIdentifier");
    m_identifier->addItems(identifierFields());
    m_allAccounts = new QCheckBox("Search &all accounts", this);
    m_allAccounts->setObjectName("chkPFSearchAllAccounts");
    m_facility = new QCheckBox("Include the &facility ID", this);
    m_facility->setObjectName("chkPFIncludeFacilityID");

    bool ok = false;
    const int index = QString::fromStdString(login.GetUserOptionValue("PFIdentifierField", "0")).toInt(&ok);
    m_identifier->setCurrentIndex(ok && index >= 0 && index < m_identifier->count() ? index : 0);
    m_allAccounts->setChecked(login.GetUserOptionValue("PFSearchAllAccounts", "0") == "1");
    m_facility->setChecked(login.GetUserOptionValue("PFIncludeFacilityID", "0") == "1");
    for (QWidget* w :
         {static_cast<QWidget*>(m_identifier), static_cast<QWidget*>(m_allAccounts), static_cast<QWidget*>(m_facility)})
        w->setEnabled(globalAdministrator);

    auto* form = new QFormLayout;
    form->addRow("&Unique identifier:", m_identifier);
    form->addRow(m_allAccounts);
    form->addRow(m_facility);
    auto* box = new QDialogButtonBox(this);
    QPushButton* okButton = box->addButton("&OK", QDialogButtonBox::AcceptRole);
    okButton->setObjectName("BOK");
    okButton->setEnabled(globalAdministrator);
    box->addButton("&Cancel", QDialogButtonBox::RejectRole)->setObjectName("BCancel");
    connect(box, &QDialogButtonBox::accepted, this, &frmSettings::BOK_Click);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(explanation);
    layout->addLayout(form);
    layout->addWidget(box);
}

void frmSettings::BOK_Click() {
    m_login.AddUserOption("PFIdentifierField", std::to_string(m_identifier->currentIndex()));
    m_login.AddUserOption("PFSearchAllAccounts", m_allAccounts->isChecked() ? "1" : "0");
    m_login.AddUserOption("PFIncludeFacilityID", m_facility->isChecked() ? "1" : "0");
    m_login.SaveUserOptions();
    EventLog::LogEvent(EventLog::SystemLog, 2, 2, 20046, 0, 0, 0, 0, 0, -1, 0,
                       "Patient search identifier has been changed by " + m_login.user.user_name + ".");
    accept();
}

} // namespace foundation
