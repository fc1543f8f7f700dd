#pragma once

#include "clsDictationPurgings.h"

#include <QDialog>
#include <functional>

class QComboBox;
class QPushButton;
class QTreeWidget;

namespace suite {
class LoginComponent;
}

namespace maintenance {

// "Dictation Purging Criteria": the list of purging rules for completed dictation jobs, the date
// the ages are measured from, and the save that regenerates the purge procedure.
class DB_Dictation_Purging : public QDialog {
    Q_OBJECT
public:
    DB_Dictation_Purging(const suite::LoginComponent& accounts, std::string userName, QWidget* parent = nullptr);

    // Loads the criteria, shows the list (through run) and tells whether they were saved.
    bool ConfigureDictationPurging(const std::function<int(QDialog&)>& run = [](QDialog& d) { return d.exec(); });
    // How the editor is shown; tests drive it.
    std::function<int(QDialog&)> runEditor = [](QDialog& d) { return d.exec(); };

    void cmdAdd_Click();
    void cmdEdit_Click();
    void cmdDelete_Click();
    void cmdOK_Click();
    void cmdDryRun_Click();
    void cmdCancel_Click();
    [[nodiscard]] clsDictationPurgings& Criteria() { return m_criteria; }

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void FillList();

    const suite::LoginComponent& m_accounts;
    std::string m_strUserName;
    clsDictationPurgings m_criteria;
    bool m_blnChanged = false;
    bool m_blnSaved = false;
    bool m_blnWarned = false;

    QTreeWidget* lvwPurgeCriteria;
    QComboBox* cmbDateType;
    QPushButton* cmdAdd;
    QPushButton* cmdEdit;
    QPushButton* cmdDelete;
    QPushButton* cmdDryRun;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
};

} // namespace maintenance
