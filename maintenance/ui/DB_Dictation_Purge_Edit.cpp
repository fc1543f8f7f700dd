#include "DB_Dictation_Purge_Edit.h"

#include "DictationPurgeRules.h"
#include "LoginComponent.h"
#include "MessageService.h"
#include "Text.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace maintenance {

namespace {

struct SourceEntry {
    int code;
    const char* text;
};

const SourceEntry kSources[] = {{-1, "<Any>"},         {4, "Veltra Dictate"},   {5, "Veltra Download"},
                                {6, "Veltra Voice"},   {7, "Veltra Expert SR"}, {9, "Veltra Expert"},
                                {10, "Veltra Voyager"}};

template <typename W>
W* named(W* w, const char* name) {
    w->setObjectName(name);
    return w;
}

} // namespace

DB_Dictation_Purge_Edit::DB_Dictation_Purge_Edit(clsDictationPurging& criterion, bool adding,
                                                 const suite::LoginComponent& accounts, QWidget* parent)
    : QDialog(parent), m_criterion(criterion), m_accounts(accounts) {
    setObjectName("DB_Dictation_Purge_Edit");
    setWindowTitle(adding ? "Add Dictation Purging Criteria" : "Edit Dictation Purging Criteria");
    auto* root = new QVBoxLayout(this);
    auto* top = new QFormLayout;
    cmbSourceType = named(new QComboBox(this), "cmbSourceType");
    for (const auto& s : kSources)
        cmbSourceType->addItem(s.text, s.code);
    txtNbrDays = named(new QLineEdit(this), "txtNbrDays");
    txtNbrDays->setMaxLength(10000);
    top->addRow("Source Type:", cmbSourceType);
    top->addRow("Days To Keep Sound Files:", txtNbrDays);
    root->addLayout(top);

    optSource = named(new QRadioButton("Base Purging on Source Department and Work Type", this), "optSource");
    root->addWidget(optSource);
    auto* source = new QFormLayout;
    txtDepartment = named(new QLineEdit(this), "txtDepartment");
    txtDepartment->setMaxLength(10000);
    txtWorkTypes = named(new QLineEdit(this), "txtWorkTypes");
    txtWorkTypes->setMaxLength(10000);
    source->addRow("Department:", txtDepartment);
    source->addRow("", new QLabel("Leave blank for any department.", this));
    source->addRow("Work Type(s):", txtWorkTypes);
    source->addRow("", new QLabel("Leave blank for any work type.  Separate multiple work types by commas.", this));
    root->addLayout(source);

    optK2 = named(new QRadioButton("Base Purging on Veltra Text Account and Report Type", this), "optK2");
    root->addWidget(optK2);
    auto* account = new QFormLayout;
    cmbAccount = named(new QComboBox(this), "cmbAccount");
    lstReportTypes = named(new QListWidget(this), "lstReportTypes");
    lstReportTypes->setSelectionMode(QAbstractItemView::MultiSelection);
    account->addRow("Account:", cmbAccount);
    account->addRow("Report Types:", lstReportTypes);
    root->addLayout(account);

    auto* buttons = new QHBoxLayout;
    cmdOK = named(new QPushButton("OK", this), "cmdOK");
    cmdOK->setDefault(true);
    cmdCancel = named(new QPushButton("Cancel", this), "cmdCancel");
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    root->addLayout(buttons);

    FillAccounts();
    const int sourceIndex = cmbSourceType->findData(criterion.m_source_type);
    // A source the editor no longer offers shows no entry: OK keeps it unless another is chosen.
    cmbSourceType->setCurrentIndex(sourceIndex);
    txtNbrDays->setText(QString::number(criterion.m_nbr_days));
    txtDepartment->setText(QString::fromStdString(criterion.m_source_department));
    txtWorkTypes->setText(QString::fromStdString(criterion.m_source_work_types));
    cmbAccount->setCurrentIndex(std::max(0, cmbAccount->findData(static_cast<qlonglong>(criterion.m_hosp_acct_id))));
    FillReportTypes();
    bool anySelected = false;
    if (!criterion.m_report_types.empty()) {
        const QStringList numbers = QString::fromStdString(criterion.m_report_types).split(',');
        for (int i = 1; i < lstReportTypes->count(); ++i) {
            QListWidgetItem* item = lstReportTypes->item(i);
            if (numbers.contains(item->data(Qt::UserRole).toString())) {
                item->setSelected(true);
                anySelected = true;
            }
        }
    }
    if (!anySelected)
        lstReportTypes->item(0)->setSelected(true);
    SetOption(adding || criterion.IsSourceBased());

    if (criterion.IsDefault())
        for (QWidget* w : std::initializer_list<QWidget*>{cmbSourceType, optSource, optK2, txtDepartment, txtWorkTypes,
                                                          cmbAccount, lstReportTypes})
            w->setEnabled(false);

    connect(optSource, &QRadioButton::clicked, this, [this] { SetOption(true); });
    connect(optK2, &QRadioButton::clicked, this, [this] { SetOption(false); });
    connect(cmbAccount, &QComboBox::currentIndexChanged, this, [this] { FillReportTypes(); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void DB_Dictation_Purge_Edit::FillAccounts() {
    cmbAccount->addItem("<All Accounts>", qlonglong{-1});
    for (int i = 1; i <= m_accounts.NumberHospAccounts(); ++i) {
        const suite::HospAccount& a = m_accounts.HospAccountAt(i);
        if (!a.is_deleted && a.hosp_acct_id != -1)
            cmbAccount->addItem(QString::fromStdString(a.hosp_acct_name), static_cast<qlonglong>(a.hosp_acct_id));
    }
}

void DB_Dictation_Purge_Edit::FillReportTypes() {
    lstReportTypes->clear();
    lstReportTypes->addItem("<All Report Types>");
    const long account = cmbAccount->currentData().toLongLong();
    const int index = account == -1 ? 0 : m_accounts.GetAcctIndex(account);
    if (index < 1)
        return;
    for (const suite::ReportTypeInfo& r : m_accounts.HospAccountAt(index).ReportTypes) {
        if (r.is_deleted)
            continue;
        auto* item = new QListWidgetItem(
            QString::fromStdString(r.report_name) + " (" + QString::number(r.report_type_nbr) + ")", lstReportTypes);
        item->setData(Qt::UserRole, QString::number(r.report_type_nbr));
    }
}

void DB_Dictation_Purge_Edit::SetOption(bool source) {
    optSource->setChecked(source);
    optK2->setChecked(!source);
    txtDepartment->setEnabled(source);
    txtWorkTypes->setEnabled(source);
    cmbAccount->setEnabled(!source);
    lstReportTypes->setEnabled(!source);
}

void DB_Dictation_Purge_Edit::cmdOK_Click() {
    const std::string days = txtNbrDays->text().toStdString();
    const bool source = optSource->isChecked() && !m_criterion.IsDefault();
    const std::string message = DictationPurgeRules::Check(days, source, txtDepartment->text().toStdString(),
                                                           txtWorkTypes->text().toStdString());
    if (!message.empty()) {
        platform::MsgBox(message, platform::MsgButtons::OK, platform::MsgIcon::None);
        return;
    }
    m_criterion.m_nbr_days = *DictationPurgeRules::ParseDays(days);
    if (m_criterion.IsDefault()) {
        accept();
        return;
    }
    if (cmbSourceType->currentIndex() >= 0)
        m_criterion.m_source_type = cmbSourceType->currentData().toInt();
    if (source) {
        m_criterion.m_source_department = foundation::trimText(txtDepartment->text().toStdString());
        m_criterion.m_source_work_types = foundation::trimText(txtWorkTypes->text().toStdString());
        m_criterion.m_hosp_acct_id = -1;
        m_criterion.m_report_types.clear();
    } else {
        m_criterion.m_source_department.clear();
        m_criterion.m_source_work_types.clear();
        m_criterion.m_hosp_acct_id = static_cast<long>(cmbAccount->currentData().toLongLong());
        std::string numbers;
        if (!lstReportTypes->item(0)->isSelected())
            for (int i = 1; i < lstReportTypes->count(); ++i)
                if (lstReportTypes->item(i)->isSelected())
                    numbers += (numbers.empty() ? "" : ",") +
                               lstReportTypes->item(i)->data(Qt::UserRole).toString().toStdString();
        m_criterion.m_report_types = numbers;
    }
    accept();
}

bool DB_Dictation_Purge_Edit::EditPurgingCriteria(clsDictationPurging& criterion, bool adding,
                                                  const suite::LoginComponent& accounts, QWidget* parent,
                                                  const std::function<int(QDialog&)>& run) {
    clsDictationPurging edited = criterion;
    DB_Dictation_Purge_Edit dialog(edited, adding, accounts, parent);
    if (run(dialog) != QDialog::Accepted)
        return false;
    criterion = edited;
    return true;
}

} // namespace maintenance
