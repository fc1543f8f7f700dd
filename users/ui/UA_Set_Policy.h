#pragma once

#include "clsUserPolicies.h"

#include <QDialog>

#include <string>
#include <vector>

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace users {

// "Set User Policy": picks the policy for the users or groups selected in User Management, which
// writes it. Shows what the selection follows now.
class UA_Set_Policy : public QDialog {
    Q_OBJECT
public:
    explicit UA_Set_Policy(QWidget* parent = nullptr);

    // Lists every policy and shows the current policy of the selection (the policy ids of the
    // selected users); false when the list cannot be read.
    bool Load(const std::vector<long>& currentPolicyIds);
    // Load, then modal: the chosen policy id, or -1 after Cancel.
    long OpenForm(const std::vector<long>& currentPolicyIds);

    [[nodiscard]] long SelectedPolicyId() const { return m_lngSelectedId; }
    [[nodiscard]] const std::string& SelectedPolicyName() const { return m_strSelectedName; }

    static constexpr const char* kVarious = "<Various>";
    static constexpr const char* kUnknown = "<Unknown>";

public Q_SLOTS:
    void cmdOK_Click();
    void cmdCancel_Click();
    void lstUserPolicies_DblClick(QListWidgetItem* item);

private:
    QListWidget* lstUserPolicies;
    QLabel* lblCurrentPolicy;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

    clsUserPolicies m_colPolicies;
    long m_lngSelectedId = -1;
    std::string m_strSelectedName;
};

} // namespace users
