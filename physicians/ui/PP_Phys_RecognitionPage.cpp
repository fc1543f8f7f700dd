#include "PP_Phys_RecognitionPage.h"

#include "MessageService.h"
#include "PhysicianSpeechSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace physicians {

using platform::MsgAnswer;
using platform::MsgBox;
using platform::MsgButtons;
using platform::MsgIcon;

PP_Phys_RecognitionPage::PP_Phys_RecognitionPage(PhysicianProfileEdit& edit, std::function<ReportTypes()> reportTypes,
                                                 QWidget* parent)
    : QWidget(parent), m_edit(edit), m_reportTypes(std::move(reportTypes)) {
    setObjectName("PP_Phys_RecognitionPage");
    auto* form = new QFormLayout(this);
    chkSpeechRecDVIJobs = new QCheckBox("Speech recognition of dictations", this);
    chkSpeechRecDVIJobs->setObjectName("chkSpeechRecDVIJobs");
    form->addRow(chkSpeechRecDVIJobs);
    cmbWTorAcct = new QComboBox(this);
    cmbWTorAcct->setObjectName("cmbWTorAcct");
    cmbWTorAcct->addItems({"Recognition by dictation work type", "Recognition by Veltra Text account and report type"});
    form->addRow("Criteria:", cmbWTorAcct);
    txtDVIWorkTypes = new QLineEdit(this);
    txtDVIWorkTypes->setObjectName("txtDVIWorkTypes");
    form->addRow("Work Types:", txtDVIWorkTypes);
    txtSelectAccountDVI = new QLineEdit(this);
    txtSelectAccountDVI->setObjectName("txtSelectAccountDVI");
    txtSelectAccountDVI->setReadOnly(true);
    form->addRow("Account:", txtSelectAccountDVI);
    LBReportTypesDVI = new QListWidget(this);
    LBReportTypesDVI->setObjectName("LBReportTypesDVI");
    form->addRow("Report Types:", LBReportTypesDVI);
    auto* all = new QHBoxLayout;
    BReportsSelectAllDVI = new QPushButton("&Select All", this);
    BReportsSelectAllDVI->setObjectName("BReportsSelectAllDVI");
    BReportsUnSelectAllDVI = new QPushButton("&Unselect All", this);
    BReportsUnSelectAllDVI->setObjectName("BReportsUnSelectAllDVI");
    all->addWidget(BReportsSelectAllDVI);
    all->addWidget(BReportsUnSelectAllDVI);
    form->addRow(all);
    chkEvalMode = new QCheckBox("Evaluation mode", this);
    chkEvalMode->setObjectName("chkEvalMode");
    form->addRow(chkEvalMode);

    connect(chkSpeechRecDVIJobs, &QCheckBox::clicked, this, [this](bool checked) {
        if (m_blnLoading)
            return;
        chkSpeechRecDVIJobs->setTristate(false);
        m_edit.SetValue("speech_rec_enabled", checked ? "1" : "0");
    });
    connect(cmbWTorAcct, &QComboBox::activated, this, &PP_Phys_RecognitionPage::cmbWTorAcct_Click);
    connect(txtDVIWorkTypes, &QLineEdit::textEdited, this, [this](const QString& t) {
        if (!m_blnLoading)
            m_edit.SetValue("speech_rec_specific_worktypes", t.toStdString());
    });
    connect(LBReportTypesDVI, &QListWidget::itemChanged, this, &PP_Phys_RecognitionPage::reportTypeChanged);
    connect(BReportsSelectAllDVI, &QPushButton::clicked, this, [this] { BReportsSelectAllDVI_Click(true); });
    connect(BReportsUnSelectAllDVI, &QPushButton::clicked, this, [this] { BReportsSelectAllDVI_Click(false); });
    connect(chkEvalMode, &QCheckBox::clicked, this, &PP_Phys_RecognitionPage::chkEvalMode_Click);
}

void PP_Phys_RecognitionPage::Show(const QString& selectedAccounts) {
    m_blnLoading = true;
    const bool none = m_edit.selection().empty();
    txtSelectAccountDVI->setText(selectedAccounts);
    const std::string enabled = none ? "0" : m_edit.Value("speech_rec_enabled");
    chkSpeechRecDVIJobs->setTristate(enabled == kVarious);
    chkSpeechRecDVIJobs->setCheckState(enabled == kVarious ? Qt::PartiallyChecked
                                       : enabled != "0"    ? Qt::Checked
                                                           : Qt::Unchecked);
    const std::string types = none ? "" : m_edit.Value("speech_rec_specific_worktypes");
    txtDVIWorkTypes->setText(QString::fromStdString(types));
    // Work types typed for any selected account mean recognition by work type; otherwise the
    // account's report types decide.
    const bool byWorkType = types == kVarious || !SplitIdList(types).empty();
    bool anyReport = false;
    if (!byWorkType && !none)
        for (const auto& [type, name] : m_reportTypes())
            anyReport =
                anyReport || m_edit.ReportIncluded(ReportSetKind::SpeechRec, static_cast<size_t>(type)) != false;
    cmbWTorAcct->setCurrentIndex(byWorkType || !anyReport ? ByWorkType : ByReportType);
    const std::string eval = none ? "0" : m_edit.Value("speech_rec_eval_mode");
    m_strEvalPicture = eval == kVarious ? "checked_dis" : eval != "0" ? "checked" : "unchecked";
    chkEvalMode->setChecked(eval != "0");
    chkEvalMode->setProperty("picture", QString::fromStdString(m_strEvalPicture));
    m_blnLoading = false;
    showCriteria();
    showReportTypes();
}

void PP_Phys_RecognitionPage::showCriteria() {
    const bool byWorkType = cmbWTorAcct->currentIndex() == ByWorkType;
    txtDVIWorkTypes->setEnabled(m_blnEditable && byWorkType);
    for (QWidget* w : std::initializer_list<QWidget*>{LBReportTypesDVI, BReportsSelectAllDVI, BReportsUnSelectAllDVI})
        w->setEnabled(m_blnEditable && !byWorkType);
    chkEvalMode->setEnabled(m_blnEditable && m_strEvalPicture != "checked_dis");
}

void PP_Phys_RecognitionPage::showReportTypes() {
    m_blnLoading = true;
    LBReportTypesDVI->clear();
    const bool none = m_edit.selection().empty();
    for (const auto& [type, name] : m_reportTypes()) {
        auto* item = new QListWidgetItem(QString::fromStdString(name), LBReportTypesDVI);
        item->setData(Qt::UserRole, static_cast<qlonglong>(type));
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        const std::optional<bool> on = none
                                           ? std::optional<bool>(false)
                                           : m_edit.ReportIncluded(ReportSetKind::SpeechRec, static_cast<size_t>(type));
        item->setCheckState(!on ? Qt::PartiallyChecked : *on ? Qt::Checked : Qt::Unchecked);
    }
    m_blnLoading = false;
}

void PP_Phys_RecognitionPage::reportTypeChanged(QListWidgetItem* item) {
    if (m_blnLoading)
        return;
    const Qt::CheckState state = item->checkState();
    if (state == Qt::PartiallyChecked)
        return;
    m_edit.SetReportIncluded(ReportSetKind::SpeechRec, static_cast<size_t>(item->data(Qt::UserRole).toLongLong()),
                             state == Qt::Checked);
}

void PP_Phys_RecognitionPage::BReportsSelectAllDVI_Click(bool on) {
    m_edit.SetAllReports(ReportSetKind::SpeechRec, on);
    showReportTypes();
}

// Moving to account and report types drops the work types, once the user agrees.
void PP_Phys_RecognitionPage::cmbWTorAcct_Click(int index) {
    if (m_blnLoading)
        return;
    const std::string types = m_edit.Value("speech_rec_specific_worktypes");
    if (index == ByReportType && (types == kVarious || !SplitIdList(types).empty())) {
        if (MsgBox("Updating the physician using Account/Report Type criteria to determine speech recognition will "
                   "remove the work type criteria.\r\nDo you wish to continue?",
                   MsgButtons::YesNo, MsgIcon::Question, "Speech Recognition") != MsgAnswer::Yes) {
            m_blnLoading = true;
            cmbWTorAcct->setCurrentIndex(ByWorkType);
            m_blnLoading = false;
            return;
        }
        m_edit.SetValue("speech_rec_specific_worktypes", "");
        txtDVIWorkTypes->clear();
    }
    showCriteria();
}

void PP_Phys_RecognitionPage::chkEvalMode_Click() {
    if (m_blnLoading || m_strEvalPicture == "checked_dis")
        return;
    const bool on = chkEvalMode->isChecked();
    m_edit.SetValue("speech_rec_eval_mode", on ? "1" : "0");
    m_strEvalPicture = on ? "checked" : "unchecked";
    chkEvalMode->setProperty("picture", QString::fromStdString(m_strEvalPicture));
}

void PP_Phys_RecognitionPage::SetEditable(bool accounts) {
    m_blnEditable = accounts;
    chkSpeechRecDVIJobs->setEnabled(accounts);
    cmbWTorAcct->setEnabled(accounts);
    showCriteria();
}

bool PP_Phys_RecognitionPage::Focus(const std::string& field) {
    const std::pair<const char*, QWidget*> controls[] = {
        {"speech_rec_specific_worktypes", txtDVIWorkTypes},
        {"speech_rec_enabled", chkSpeechRecDVIJobs},
        {"speech_rec_eval_mode", chkEvalMode},
    };
    for (const auto& [name, control] : controls)
        if (field == name) {
            control->setFocus();
            return true;
        }
    return false;
}

} // namespace physicians
