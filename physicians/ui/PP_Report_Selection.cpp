#include "PP_Report_Selection.h"

#include "MessageService.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace physicians {

using Form = ProfileReportOptions::Form;

PP_Report_Selection::PP_Report_Selection(QWidget* parent) : QDialog(parent) {
    setObjectName("PP_Report_Selection");
    setWindowTitle("Physician Profile Report");
    auto* layout = new QVBoxLayout(this);
    auto* fraForm = new QGroupBox("Report", this);
    fraForm->setObjectName("fraForm");
    auto* formLayout = new QVBoxLayout(fraForm);
    OPTSummaryReport = new QRadioButton("&Summary Report", fraForm);
    OPTSummaryReport->setObjectName("OPTSummaryReport");
    OPTExtendedReport = new QRadioButton("&Extended Report", fraForm);
    OPTExtendedReport->setObjectName("OPTExtendedReport");
    OPTNotepad = new QRadioButton("&Text List (Notepad)", fraForm);
    OPTNotepad->setObjectName("OPTNotepad");
    for (auto* o : {OPTSummaryReport, OPTExtendedReport, OPTNotepad}) {
        formLayout->addWidget(o);
        connect(o, &QRadioButton::toggled, this, &PP_Report_Selection::formChanged);
    }
    layout->addWidget(fraForm);

    fraContent = new QGroupBox("Extended Report Contents", this);
    fraContent->setObjectName("fraContent");
    auto* contentLayout = new QVBoxLayout(fraContent);
    chkDemographics = new QCheckBox("&Demographics", fraContent);
    chkDemographics->setObjectName("chkDemographics");
    chkOutput = new QCheckBox("O&utput Settings", fraContent);
    chkOutput->setObjectName("chkOutput");
    chkAddendums = new QCheckBox("&Addendums", fraContent);
    chkAddendums->setObjectName("chkAddendums");
    chkWeighting = new QCheckBox("&Weighting", fraContent);
    chkWeighting->setObjectName("chkWeighting");
    for (auto* c : {chkDemographics, chkOutput, chkAddendums, chkWeighting})
        contentLayout->addWidget(c);
    layout->addWidget(fraContent);

    auto* buttons = new QDialogButtonBox(this);
    cmdOK = buttons->addButton("&OK", QDialogButtonBox::AcceptRole);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setDefault(true);
    cmdCancel = buttons->addButton("&Cancel", QDialogButtonBox::RejectRole);
    cmdCancel->setObjectName("cmdCancel");
    layout->addWidget(buttons);
    connect(cmdOK, &QPushButton::clicked, this, &PP_Report_Selection::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    setOptions(ProfileReportOptions{});
}

ProfileReportOptions PP_Report_Selection::options() const {
    ProfileReportOptions o;
    o.form = OPTSummaryReport->isChecked() ? Form::Summary : OPTNotepad->isChecked() ? Form::Notepad : Form::Extended;
    o.demographics = chkDemographics->isChecked();
    o.output = chkOutput->isChecked();
    o.addendums = chkAddendums->isChecked();
    o.weighting = chkWeighting->isChecked();
    return o;
}

void PP_Report_Selection::setOptions(const ProfileReportOptions& o) {
    OPTSummaryReport->setChecked(o.form == Form::Summary);
    OPTExtendedReport->setChecked(o.form == Form::Extended);
    OPTNotepad->setChecked(o.form == Form::Notepad);
    chkDemographics->setChecked(o.demographics);
    chkOutput->setChecked(o.output);
    chkAddendums->setChecked(o.addendums);
    chkWeighting->setChecked(o.weighting);
    formChanged();
}

// The content choice belongs to the extended report only.
void PP_Report_Selection::formChanged() {
    fraContent->setEnabled(OPTExtendedReport->isChecked());
}

void PP_Report_Selection::cmdOK_Click() {
    if (const std::string refusal = options().Refusal(); !refusal.empty()) {
        platform::MsgBox(refusal, platform::MsgButtons::OK, platform::MsgIcon::Exclamation, "Physician Profile Report");
        chkDemographics->setFocus();
        return;
    }
    accept();
}

ProfileReportOptions PP_Report_Selection::ChooseReportSettings(const ProfileReportOptions& start, bool& ok) {
    setOptions(start);
    ok = exec() == QDialog::Accepted;
    return options();
}

} // namespace physicians
