#pragma once

#include "clsAccount.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace suite {
class LoginComponent;
}

namespace accounts {

// The account manager: the accounts of the user's partition and those below it (active and
// deleted), and the form of the selected account with its save checks, delete and undelete.
class AC_Dept_Acct_Mngr : public QWidget {
    Q_OBJECT
public:
    explicit AC_Dept_Acct_Mngr(suite::LoginComponent& login, QWidget* parent = nullptr);

    // Fills the partitions and the lists and shows the first account.
    void MyShow();
    // Asks to save a changed account; false when the user stays (Cancel, or a save that failed).
    bool QueryLeave();

    [[nodiscard]] bool IsChanged() const { return m_blnChanged; }
    [[nodiscard]] long CurrentAccount() const { return m_blnNew ? -1 : m_current.hosp_acct_id; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void FillLists(long select);
    void ShowAccount(long id);
    void ClearForm();
    void SetNewMode(bool isNew);
    void SelectShownAccount();
    [[nodiscard]] clsAccount FormAccount() const;
    void SetChanged() {
        if (!m_blnFilling)
            m_blnChanged = true;
    }

    void lvw_ItemClicked(QTreeWidgetItem* item);
    void Insert_new_account_Click();
    void Delete_existing_account_Click();
    void Undelete_account_Click();
    bool Save_button_Click();
    void cmdHospID_Click();
    void Text0_Edited(const QString& text);
    void txtHospIDFilter_Edited(const QString& text);
    void txtUploadTypeFilter_Change(const QString& text);
    bool CheckNumberDuringEntry();
    bool WriteNew(const clsAccount& a);
    bool WriteChanged(const clsAccount& a);
    void CheckIncentiveLock();
    void FollowRoutines(const clsAccount& a, bool isNew);
    void ReloadAccountCache();

    suite::LoginComponent& m_login;
    clsAccount m_current;
    bool m_blnNew = false;
    bool m_blnChanged = false;
    bool m_blnFilling = false;

    QTabWidget* tabAccounts;
    QTreeWidget* lvwAccounts;
    QTreeWidget* lvwDelAccounts;
    std::vector<QLineEdit*> Text; // Text0 .. Text11
    QComboBox* cmbIncentiveMethod;
    QLineEdit* TextBox16;
    QComboBox* cboPartition;
    QLineEdit* txtHospIDFilter;
    QLineEdit* txtUploadTypeFilter;
    QPushButton* cmdHospID;
    QPushButton* Insert_new_account;
    QPushButton* Delete_existing_account;
    QPushButton* Undelete_account;
    QPushButton* Save_button;
    QPushButton* cmdComplete;
    QPushButton* BOK;
    QPushButton* cmdHelp;
};

} // namespace accounts
