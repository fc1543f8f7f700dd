#pragma once

#include "clsMaintenanceHub.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace suite {
struct LoginUser;
}

namespace maintenance {

// "Database Purging Options": the retention times of each account and the global purge settings.
// It edits the hub's memory only; the caller writes after OK.
class DB_Purge_Options : public QDialog {
    Q_OBJECT
public:
    DB_Purge_Options(clsMaintenanceHub& hub, const suite::LoginUser& user, bool k2Dictation, QWidget* parent = nullptr);

    // Fills the dialog, shows it modally (through run, so tests drive it) and tells whether OK closed it.
    bool EditPurgeOptions(const std::function<int(QDialog&)>& run = [](QDialog& d) { return d.exec(); });
    [[nodiscard]] bool OKPressed() const { return m_blnOK; }
    // Opens the dictation sound-file purging rules.
    std::function<void()> configureDictationPurging;

    // Counts, for the selected account, the rows older than the times shown (nothing is written).
    void cmdPreview_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FillDialog();
    void AccountList_Click();
    void BSetDefault_Click();
    void BOK_Click();
    void BCancel_Click();
    void showRecord(int index);
    void boxEdited(PurgeField field, const QString& text);
    [[nodiscard]] int selectedIndex() const;
    void selectAccount(int index);

    clsMaintenanceHub& m_hub;
    const suite::LoginUser& m_user;
    bool m_blnK2Dictation;
    bool m_blnOK = false;
    int m_intTemplateIndex = 0;

    QListWidget* AccountList;
    QLineEdit* LOutputTime;
    QLineEdit* LSystemLogTime;
    QLineEdit* LDocumentInfoTime;
    QLineEdit* LDocumentTime;
    QLineEdit* LHistoryTime;
    QLineEdit* LJobStatsTime;
    QLineEdit* txtPtTime;
    QLineEdit* txtVisitTime;
    QLabel* lblPatient_Desc;
    QLabel* lblPatient_Time;
    QLabel* lblVisit_Desc;
    QLabel* lblVisit_Time;
    QCheckBox* CHKEnabled;
    QComboBox* CBLogLevel;
    QLineEdit* txtTransformDays;
    QLabel* LConfigUser;
    QLabel* LConfigTime;
    QLabel* LDataLabel;
    QLabel* LDataDescription;
    QLabel* lblK2Dictation;
    QLabel* lblPreview;
    QPushButton* BSetDefault;
    QPushButton* cmdConfigureDictationPurging;
    QPushButton* cmdPreview;
    QPushButton* BOK;
    QPushButton* BCancel;
    QPushButton* cmdHelp;
};

// The last-change time as the dialogs show it: the regional long date, a blank and the time.
QString ConfigTimeText(const std::string& stamp);

} // namespace maintenance
