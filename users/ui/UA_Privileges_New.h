#pragma once

#include "AdminAuthority.h"
#include "PrivilegeTable.h"
#include "clsPrivileges.h"

#include <QDialog>

#include <map>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QListView;
class QPushButton;
class QStandardItemModel;
class QTabWidget;

namespace suite {
class LoginComponent;
}

namespace users {

// The privileges screen: system, account and report type privileges of one user or security
// group, with the privileges a user holds through its groups shown read-only beside its own.
class UA_Privileges_New : public QDialog {
    Q_OBJECT
public:
    UA_Privileges_New(const suite::LoginComponent& login, const AdminKinds& kinds, QWidget* parent = nullptr);

    // Prepares the screen for the id; false (after the message) when the acting administrator may
    // use none of the system privilege sub-tabs or the privileges could not be read.
    bool LoadForm(long id, const std::string& name, bool isGroup, long partitionId);

    [[nodiscard]] clsPrivileges& Privileges() { return m_privileges; }
    // The read-only indicator beside a checkbox: what the user holds through its groups.
    [[nodiscard]] QCheckBox* GroupIndicator(const std::string& control) const;

    static constexpr const char* kNoSubTab =
        "Unable to display privileges dialog.  You do not have privileges to view or modify privileges.";

private Q_SLOTS:
    void BOK_Click();
    void cmdClearAll_Click();
    void BSetDefault_Click();
    void BSetAllAccountTrans_Click();
    void BSetReportDefault_Click();
    void BSetAllReportGeneral_Click();
    void BSetAllRptAcctTrans_Click();
    void BSetAllRptAcctGen_Click();
    void cmdEffectiveAccess_Click();

private:
    enum class Level { System, Account, ReportType };
    struct Box {
        const PrivilegeEntry* entry = nullptr;
        Level level = Level::System;
        QCheckBox* own = nullptr;
        QCheckBox* group = nullptr;
    };

    QWidget* buildSystemTab();
    QWidget* buildAccountTab();
    QWidget* buildReportTypeTab();
    QWidget* boxPage(Level level, std::span<const PrivilegeEntry> table, PrivilegeTab tab,
                     const std::vector<QPushButton*>& buttons);
    void box_Toggled(Box& box, bool checked);
    void applyDependencies(Level level);
    [[nodiscard]] bool enabledByParents(Level level, const PrivilegeEntry& e) const;
    void showSystem();
    void showAccount();
    void showReportTypes();
    void fillReportTypeList();
    void enforceGroupRestriction();
    [[nodiscard]] int currentAccount() const;
    [[nodiscard]] int currentReportAccount() const;
    [[nodiscard]] std::vector<int> selectedSlots() const;
    void copyReportPositions(std::initializer_list<int> positions, bool allAccounts);

    const suite::LoginComponent& m_login;
    AdminKinds m_kinds;
    clsPrivileges m_privileges;
    bool m_blnLoading = false;

    std::map<std::string, Box> m_boxes; // by control name
    QTabWidget* m_tabs = nullptr;
    QTabWidget* m_systemTabs = nullptr;
    QListView* m_lvwAccounts = nullptr;
    QStandardItemModel* m_accountModel = nullptr;
    QComboBox* m_CBAccounts = nullptr;
    QListView* m_ReportTypeList = nullptr;
    QStandardItemModel* m_reportModel = nullptr;
};

} // namespace users
