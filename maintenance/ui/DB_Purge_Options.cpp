#include "DB_Purge_Options.h"

#include "DatabaseSession.h"
#include "DialogButtonRow.h"
#include "LoginComponent.h"
#include "MaintenanceRules.h"
#include "MessageService.h"
#include "modBackupCheck.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace maintenance {

using foundation::DatabaseSession;
using platform::MsgBox;
using platform::MsgButtons;
using platform::MsgIcon;

namespace {

struct FieldHelp {
    PurgeField field;
    const char* name;
    const char* label;
    const char* title;
    const char* description;
};

const FieldHelp kFields[] = {
    {DocumentInfo, "LDocumentInfoTime", "Document Information (months):", "Document Information",
     "Number of months before information regarding a report is purged from the database.  Purging is based on the "
     "date the report was created."},
    {Documents, "LDocumentTime", "Documents (months):", "Documents",
     "Number of months before deleting the actual documents.  If archiving is enabled then the documents will be "
     "purged from the database at that time."},
    {OutputQueue, "LOutputTime", "Output Queue (days):", "Output Queue",
     "Number of days before an output record is removed from the Output tracking portion of the database.  This "
     "includes Online Printing, Batch Printing, Faxing, etc.  This also includes Veltra Sort Batch Summary "
     "information.  Purging is based on the date the output was created.  Recommended value is 45 days.  Storing too "
     "many days will slow down the Database server and Veltra Sort operations."},
    {SystemLog, "LSystemLogTime", "System Message Log (days):", "System Message Log:",
     "Number of days before most system log messages are removed from the database.  Purging is based on the date "
     "the message was generated.  Recommended value is 30 days.  Storing too many days will slow down the Database "
     "server and retrieval of system logs.\nNOTE: Some document specific messages, such as audit events, are "
     "retained for the life of the document."},
    {EditHistory, "LHistoryTime", "Edit History Information (months):", "Edit History Information:",
     "Number of months to keep old information on reports that have been edited.  This data is used for tracking "
     "document changes.  It is recommended to configure this the same as Document Information.  This information is "
     "only stored in the database if the option is turned on at the Document Import Engine."},
    {JobStats, "LJobStatsTime", "Job Statistic Information (months):", "Job Statistic Information:",
     "Number of months to keep old demographic and statistic information for Veltra dictation jobs based on "
     "dictated date.  Only statistic information for completed jobs where the dictation source file has been purged "
     "will be deleted.  Jobs associated with unknown accounts will be purged at the value configured for <All New "
     "Accounts>."},
};

QLineEdit* box(QWidget* parent, const char* name) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setMaxLength(10000);
    return e;
}

QLabel* label(QWidget* parent, const QString& text, const char* name = "") {
    auto* l = new QLabel(text, parent);
    if (*name)
        l->setObjectName(name);
    return l;
}

} // namespace

QString ConfigTimeText(const std::string& stamp) {
    if (stamp.empty())
        return {};
    std::string s = stamp.substr(0, 19);
    auto tm = ParseStamp(s);
    if (!tm)
        return QString::fromStdString(stamp);
    char buf[96];
    const size_t n = std::strftime(buf, sizeof buf, "%A, %B %d, %Y %H:%M:%S", &*tm);
    return QString::fromStdString(std::string(buf, n));
}

DB_Purge_Options::DB_Purge_Options(clsMaintenanceHub& hub, const suite::LoginUser& user, bool k2Dictation,
                                   QWidget* parent)
    : QDialog(parent), m_hub(hub), m_user(user), m_blnK2Dictation(k2Dictation) {
    setObjectName("DB_Purge_Options");
    setWindowTitle("Database Purging Options");
    auto* root = new QVBoxLayout(this);
    root->addWidget(label(this, "These options REQUIRE daily backups of the database and file server.", "lblBanner"));

    auto* top = new QHBoxLayout;
    AccountList = new QListWidget(this);
    AccountList->setObjectName("AccountList");
    top->addWidget(AccountList, 1);

    auto* grid = new QGridLayout;
    LOutputTime = box(this, "LOutputTime");
    LSystemLogTime = box(this, "LSystemLogTime");
    LDocumentInfoTime = box(this, "LDocumentInfoTime");
    LDocumentTime = box(this, "LDocumentTime");
    LHistoryTime = box(this, "LHistoryTime");
    LJobStatsTime = box(this, "LJobStatsTime");
    int row = 0;
    for (const auto& f : kFields) {
        auto* e = findChild<QLineEdit*>(f.name);
        grid->addWidget(label(this, f.label), row, 0);
        grid->addWidget(e, row++, 1);
        e->installEventFilter(this);
        const PurgeField field = f.field;
        connect(e, &QLineEdit::textEdited, this, [this, field](const QString& t) { boxEdited(field, t); });
    }
    lblPatient_Desc = label(this, "Patient ADT records:", "lblPatient_Desc");
    lblPatient_Time = label(this, "Enter values 1-99:", "lblPatient_Time");
    txtPtTime = box(this, "txtPtTime");
    lblVisit_Desc = label(this, "Visit ADT records:", "lblVisit_Desc");
    lblVisit_Time = label(this, "Enter values 1-99:", "lblVisit_Time");
    txtVisitTime = box(this, "txtVisitTime");
    for (QLineEdit* e : {txtPtTime, txtVisitTime})
        e->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), e));
    grid->addWidget(lblPatient_Desc, row, 0);
    grid->addWidget(txtPtTime, row, 1);
    grid->addWidget(lblPatient_Time, row++, 2);
    grid->addWidget(lblVisit_Desc, row, 0);
    grid->addWidget(txtVisitTime, row, 1);
    grid->addWidget(lblVisit_Time, row++, 2);
    connect(txtPtTime, &QLineEdit::textEdited, this, [this](const QString& t) {
        if (m_intTemplateIndex > 0)
            m_hub.purgeTimes.At(m_intTemplateIndex).set(PatientAdt, t.toStdString());
    });
    connect(txtVisitTime, &QLineEdit::textEdited, this, [this](const QString& t) {
        if (m_intTemplateIndex > 0)
            m_hub.purgeTimes.At(m_intTemplateIndex).set(VisitAdt, t.toStdString());
    });
    top->addLayout(grid, 2);
    root->addLayout(top);

    BSetDefault = new QPushButton("Use Settings For All Accounts", this);
    BSetDefault->setObjectName("BSetDefault");
    root->addWidget(BSetDefault);
    LDataLabel = label(this, "", "LDataLabel");
    LDataDescription = label(this, "", "LDataDescription");
    LDataDescription->setWordWrap(true);
    root->addWidget(LDataLabel);
    root->addWidget(LDataDescription);

    auto* global = new QGridLayout;
    CHKEnabled = new QCheckBox("Enable Purging", this);
    CHKEnabled->setObjectName("CHKEnabled");
    CBLogLevel = new QComboBox(this);
    CBLogLevel->setObjectName("CBLogLevel");
    txtTransformDays = box(this, "txtTransformDays");
    global->addWidget(CHKEnabled, 0, 0);
    global->addWidget(label(this, "Logging Detail:"), 0, 1);
    global->addWidget(CBLogLevel, 0, 2);
    global->addWidget(label(this, "Veltra Transform Data Purging:", "labTransform1"), 1, 0);
    global->addWidget(txtTransformDays, 1, 1);
    global->addWidget(label(this, "days (0 = no purging)", "labTransform2"), 1, 2);
    lblK2Dictation = label(this, "Veltra Dictation Sound File Purging:", "lblK2Dictation");
    cmdConfigureDictationPurging = new QPushButton("Configure...", this);
    cmdConfigureDictationPurging->setObjectName("cmdConfigureDictationPurging");
    global->addWidget(lblK2Dictation, 2, 0);
    global->addWidget(cmdConfigureDictationPurging, 2, 1);
    global->addWidget(label(this, "Last Configuration Change"), 3, 0);
    global->addWidget(label(this, "By User:"), 4, 0);
    LConfigUser = label(this, "", "LConfigUser");
    global->addWidget(LConfigUser, 4, 1, 1, 2);
    global->addWidget(label(this, "Time:"), 5, 0);
    LConfigTime = label(this, "", "LConfigTime");
    global->addWidget(LConfigTime, 5, 1, 1, 2);
    root->addLayout(global);

    auto* previewRow = new QHBoxLayout;
    cmdPreview = new QPushButton("&Preview", this);
    cmdPreview->setObjectName("cmdPreview");
    lblPreview = label(this, "", "lblPreview");
    lblPreview->setWordWrap(true);
    previewRow->addWidget(cmdPreview);
    previewRow->addWidget(lblPreview, 1);
    root->addLayout(previewRow);

    const DialogButtonRow buttons = MakeDialogButtonRow(
        this, "&Help   (F1)", [this] { BOK_Click(); }, [this] { BCancel_Click(); });
    BOK = buttons.BOK;
    BCancel = buttons.BCancel;
    cmdHelp = buttons.cmdHelp;
    root->addLayout(buttons.layout);

    connect(AccountList, &QListWidget::currentRowChanged, this, [this] { AccountList_Click(); });
    connect(BSetDefault, &QPushButton::clicked, this, [this] { BSetDefault_Click(); });
    connect(cmdPreview, &QPushButton::clicked, this, [this] { cmdPreview_Click(); });
    connect(cmdConfigureDictationPurging, &QPushButton::clicked, this, [this] {
        if (configureDictationPurging)
            configureDictationPurging();
    });
}

bool DB_Purge_Options::EditPurgeOptions(const std::function<int(QDialog&)>& run) {
    FillDialog();
    run(*this);
    return m_blnOK;
}

void DB_Purge_Options::FillDialog() {
    m_blnOK = false;
    const auto& accounts = m_hub.Accounts();
    const bool combined = m_hub.CombinedInterfaceDB();
    const bool withTemplate = DatabaseSession::instance().VersionGreaterThan(2.015);
    AccountList->blockSignals(true);
    AccountList->clear();
    m_intTemplateIndex = accounts.GetAcctIndex(-1);
    for (int i = 1; i <= accounts.NumberHospAccounts() && i <= m_hub.purgeTimes.Count(); ++i) {
        const auto& a = accounts.HospAccountAt(i);
        QString text;
        if (a.hosp_acct_id == -1 && withTemplate)
            text = "<All New Accounts>";
        else if (a.hosp_acct_id > -1 && !a.is_deleted)
            text = QString::fromStdString(a.hosp_acct_name);
        else
            continue;
        auto* item = new QListWidgetItem(text, AccountList);
        item->setData(Qt::UserRole, i);
        m_hub.purgeTimes.At(i).listed = true;
    }
    AccountList->blockSignals(false);
    if (AccountList->count() == 1)
        AccountList->setCurrentRow(0);
    showRecord(selectedIndex());

    const auto& cfg = m_hub.settings.cfg;
    CBLogLevel->clear();
    CBLogLevel->addItems({"Normal", "Extended"});
    CBLogLevel->setCurrentIndex(cfg.purge_log_level != 0 ? 1 : 0);
    CHKEnabled->setChecked(cfg.purge_enabled != 0);
    txtTransformDays->setText(QString::number(cfg.flag3));
    for (QWidget* w : std::initializer_list<QWidget*>{txtPtTime, txtVisitTime, lblPatient_Desc, lblPatient_Time,
                                                      lblVisit_Desc, lblVisit_Time})
        w->setEnabled(combined);
    if (m_intTemplateIndex > 0) {
        const auto& t = m_hub.purgeTimes.At(m_intTemplateIndex);
        txtPtTime->setText(QString::fromStdString(t.value[PatientAdt]));
        txtVisitTime->setText(QString::fromStdString(t.value[VisitAdt]));
    }
    LConfigUser->setText(QString::fromStdString(cfg.purge_user_name));
    LConfigTime->setText(ConfigTimeText(cfg.purge_time));
    cmdConfigureDictationPurging->setEnabled(m_blnK2Dictation);
    lblK2Dictation->setEnabled(m_blnK2Dictation);
}

int DB_Purge_Options::selectedIndex() const {
    const QListWidgetItem* item = AccountList->currentItem();
    return item ? item->data(Qt::UserRole).toInt() : 0;
}

void DB_Purge_Options::selectAccount(int index) {
    for (int r = 0; r < AccountList->count(); ++r)
        if (AccountList->item(r)->data(Qt::UserRole).toInt() == index)
            AccountList->setCurrentRow(r);
}

void DB_Purge_Options::showRecord(int index) {
    for (const auto& f : kFields) {
        auto* e = findChild<QLineEdit*>(f.name);
        e->setText(index > 0 ? QString::fromStdString(m_hub.purgeTimes.At(index).value[f.field]) : QString());
        e->setEnabled(index > 0);
    }
    lblPreview->clear();
}

void DB_Purge_Options::AccountList_Click() {
    showRecord(selectedIndex());
}

void DB_Purge_Options::boxEdited(PurgeField field, const QString& text) {
    const int index = selectedIndex();
    if (index > 0)
        m_hub.purgeTimes.At(index).set(field, text.toStdString());
}

bool DB_Purge_Options::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn)
        for (const auto& f : kFields)
            if (watched->objectName() == f.name) {
                LDataLabel->setText(f.title);
                LDataDescription->setText(QString("\n") + f.description);
            }
    return QDialog::eventFilter(watched, event);
}

void DB_Purge_Options::BSetDefault_Click() {
    if (auto f = CheckPurgeNumbers(m_hub.purgeTimes)) {
        MsgBox(f->message, MsgButtons::OK, f->icon, f->title);
        if (f->selectAccount > 0)
            selectAccount(f->selectAccount);
        return;
    }
    for (int i = 1; i <= m_hub.purgeTimes.Count(); ++i)
        for (const auto& f : kFields)
            m_hub.purgeTimes.At(i).set(f.field, findChild<QLineEdit*>(f.name)->text().toStdString());
}

void DB_Purge_Options::BOK_Click() {
    if (!m_user.privilege(4)) {
        MsgBox("ACCESS DENIED:  You do not have access to change database purging options.", MsgButtons::OK,
               MsgIcon::Exclamation, "Security");
        return;
    }
    if (auto f = CheckPurgeTimes(m_hub.purgeTimes, m_hub.settings.cfg, m_hub.CombinedInterfaceDB())) {
        if (!f->focusControl.empty()) {
            auto* e = findChild<QLineEdit*>(QString::fromStdString(f->focusControl));
            if (!f->resetText.empty()) {
                e->setText(QString::fromStdString(f->resetText));
                e->selectAll();
            }
            MsgBox(f->message, MsgButtons::OK, f->icon, f->title);
            e->setFocus();
            return;
        }
        MsgBox(f->message, MsgButtons::OK, f->icon, f->title);
        if (f->selectAccount > 0)
            selectAccount(f->selectAccount);
        return;
    }
    const auto transform = ParseTransformDays(txtTransformDays->text().toStdString());
    if (!transform) {
        MsgBox(kTransformDaysMessage, MsgButtons::OK, MsgIcon::Exclamation, "Invalid Entry");
        txtTransformDays->setFocus();
        return;
    }
    auto& cfg = m_hub.settings.cfg;
    cfg.purge_enabled = CHKEnabled->isChecked() ? 1 : 0;
    cfg.purge_log_level = CBLogLevel->currentIndex() > 0 ? 1 : 0;
    cfg.flag3 = *transform;
    m_blnOK = true;
    accept();
}

void DB_Purge_Options::BCancel_Click() {
    m_blnOK = false;
    reject();
}

void DB_Purge_Options::cmdPreview_Click() {
    const int index = selectedIndex();
    if (index < 1)
        return;
    const auto& t = m_hub.purgeTimes.At(index);
    const auto output = t.number(OutputQueue), log = t.number(SystemLog), info = t.number(DocumentInfo);
    if (!output || !log || !info) {
        lblPreview->setText("Enter valid times to see what they would purge.");
        return;
    }
    const std::string account = t.hosp_acct_id == -1 ? "" : " AND hosp_acct_id = " + std::to_string(t.hosp_acct_id);
    auto& s = DatabaseSession::instance();
    s.SQLStatement = "SELECT (SELECT COUNT(*) FROM Output_queue WHERE output_create_timestamp < DATEADD(day, -" +
                     std::to_string(*output) + ", GETDATE())" + account +
                     "),\n(SELECT COUNT(*) FROM System_log WHERE date_timestamp < DATEADD(day, -" +
                     std::to_string(*log) + ", GETDATE())" + account +
                     "),\n(SELECT COUNT(*) FROM Document_demographics WHERE create_date < DATEADD(month, -" +
                     std::to_string(*info) + ", GETDATE())" + account + ")";
    if (s.ExecSQL() != 1 || s.FetchRow() != 1) {
        lblPreview->setText("Unknown");
        return;
    }
    const QString text =
        QString("Older than these times: %1 output records, %2 system log messages, %3 document "
                "information records.")
            .arg(QString::fromStdString(s.GetColumnText(1, 1)), QString::fromStdString(s.GetColumnText(2, 1)),
                 QString::fromStdString(s.GetColumnText(3, 1)));
    s.CloseStatement();
    lblPreview->setText(text);
}

} // namespace maintenance
