#pragma once

#include "clsDictationPurging.h"

#include <QDialog>
#include <functional>

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace suite {
class LoginComponent;
}

namespace maintenance {

// "Add/Edit Dictation Purging Criteria": one criterion, based either on the source department and
// work types or on the account and report types. The default criterion only changes its days.
class DB_Dictation_Purge_Edit : public QDialog {
    Q_OBJECT
public:
    DB_Dictation_Purge_Edit(clsDictationPurging& criterion, bool adding, const suite::LoginComponent& accounts,
                            QWidget* parent = nullptr);

    // Shows the editor (through run, so tests drive it); true when OK took the values.
    static bool EditPurgingCriteria(clsDictationPurging& criterion, bool adding, const suite::LoginComponent& accounts,
                                    QWidget* parent, const std::function<int(QDialog&)>& run);

    void cmdOK_Click();

private:
    void FillAccounts();
    void FillReportTypes();
    void SetOption(bool source);

    clsDictationPurging& m_criterion;
    const suite::LoginComponent& m_accounts;

    QComboBox* cmbSourceType;
    QLineEdit* txtNbrDays;
    QRadioButton* optSource;
    QRadioButton* optK2;
    QLineEdit* txtDepartment;
    QLineEdit* txtWorkTypes;
    QComboBox* cmbAccount;
    QListWidget* lstReportTypes;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
};

} // namespace maintenance
