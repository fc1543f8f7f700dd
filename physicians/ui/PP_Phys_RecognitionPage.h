#pragma once

#include "PhysicianProfileEdit.h"

#include <QWidget>

#include <functional>
#include <string>
#include <utility>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace physicians {

// The profile editor's Recognition page: per account whether dictations are recognised, by work
// type or by account and report type, and the evaluation mode.
class PP_Phys_RecognitionPage : public QWidget {
    Q_OBJECT
public:
    using ReportTypes = std::vector<std::pair<long, std::string>>;
    enum Criteria { ByWorkType = 0, ByReportType = 1 };

    PP_Phys_RecognitionPage(PhysicianProfileEdit& edit, std::function<ReportTypes()> reportTypes,
                            QWidget* parent = nullptr);

    // Fills the controls from the selected accounts; `selectedAccounts` is shown as it stands.
    void Show(const QString& selectedAccounts);
    void SetEditable(bool accounts);
    bool Focus(const std::string& field);

    // The picture of the evaluation mode box: "checked", "unchecked" or "checked_dis" (set for
    // some of the selected accounts, not for all).
    [[nodiscard]] std::string evalModePicture() const { return m_strEvalPicture; }

    void cmbWTorAcct_Click(int index);
    void chkEvalMode_Click();
    void BReportsSelectAllDVI_Click(bool on);

private:
    void showReportTypes();
    void showCriteria();
    void reportTypeChanged(QListWidgetItem* item);

    PhysicianProfileEdit& m_edit;
    std::function<ReportTypes()> m_reportTypes;
    bool m_blnLoading = false;
    bool m_blnEditable = true;
    std::string m_strEvalPicture = "unchecked";
    QCheckBox* chkSpeechRecDVIJobs;
    QComboBox* cmbWTorAcct;
    QLineEdit* txtDVIWorkTypes;
    QLineEdit* txtSelectAccountDVI;
    QListWidget* LBReportTypesDVI;
    QPushButton* BReportsSelectAllDVI;
    QPushButton* BReportsUnSelectAllDVI;
    QCheckBox* chkEvalMode;
};

} // namespace physicians
