#pragma once

#include "ProfileReportSelection.h"

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QPushButton;
class QRadioButton;

namespace physicians {

// The form of the physician profile report: a summary, an extended report with the chosen content,
// or the list as text in the editor.
class PP_Report_Selection : public QDialog {
    Q_OBJECT
public:
    explicit PP_Report_Selection(QWidget* parent = nullptr);

    // Shows the dialog starting from options; ok tells whether the user went ahead.
    ProfileReportOptions ChooseReportSettings(const ProfileReportOptions& options, bool& ok);

    // The controls' choice as it stands.
    [[nodiscard]] ProfileReportOptions options() const;
    void setOptions(const ProfileReportOptions& options);
    // OK: refuses an extended report without content (the dialog stays open), else accepts.
    void cmdOK_Click();

private:
    void formChanged();

    QRadioButton* OPTSummaryReport;
    QRadioButton* OPTExtendedReport;
    QRadioButton* OPTNotepad;
    QGroupBox* fraContent;
    QCheckBox* chkDemographics;
    QCheckBox* chkOutput;
    QCheckBox* chkAddendums;
    QCheckBox* chkWeighting;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
};

} // namespace physicians
