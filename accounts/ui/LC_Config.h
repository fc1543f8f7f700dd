#pragma once

#include "clsLineCountConfig.h"

#include <QWidget>

#include <set>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace suite {
class LoginComponent;
}

namespace accounts {

// "Line Count Configurations": the named rule sets by which reports' lines are counted for billing
// and payroll. Lists them, edits the selected one's settings, adds a copy, renames and deletes.
class LC_Config : public QWidget {
    Q_OBJECT
public:
    explicit LC_Config(suite::LoginComponent& login, QWidget* parent = nullptr);

    // Reads the routine-weighting options, fills the list and shows the first configuration.
    void MyShow();
    // Asks to save a changed configuration; false when the user stays (or a save failed).
    bool QueryLeave();
    [[nodiscard]] bool IsChanged() const { return m_blnChanged; }
    [[nodiscard]] const clsLineCountConfig& Current() const { return m_current; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildSettingsTabs();
    void FillList(long select);
    void ShowConfig(const clsLineCountConfig& config);
    [[nodiscard]] clsLineCountConfig FormConfig() const;
    void SetChanged();
    void FocusField(int field);
    [[nodiscard]] QListWidgetItem* ItemOf(long id) const;

    void lstConfig_CurrentChanged(QListWidgetItem* current, QListWidgetItem* previous);
    void lstConfig_Renamed(QListWidgetItem* item);
    void chkCC_VBC_Click();
    void cmdAdd_Click();
    bool cmdSave_Click();
    void cmdDelete_Click();
    void WarnRoutineWeighting() const;

    suite::LoginComponent& m_login;
    clsLineCountConfig m_current;
    bool m_blnChanged = false;
    bool m_blnFilling = false;
    long m_lngBillingConfig = 0, m_lngPayrollConfig = 0;
    bool m_blnRoutineBilling = false, m_blnRoutinePayroll = false;

    QListWidget* lstConfig;
    QTabWidget* tabConfig;
    std::vector<QWidget*> m_controls; // one per LC_Settings entry
    QPlainTextEdit* txtAttributes;
    QPlainTextEdit* txtFunctions;
    QPushButton* cmdAdd;
    QPushButton* cmdSave;
    QPushButton* cmdDelete;
    QPushButton* cmdExit;
    QPushButton* cmdHelp;
};

} // namespace accounts
