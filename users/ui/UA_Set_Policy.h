#pragma once

#include "clsUserPolicies.h"

#include <QDialog>

#include <optional>
#include <vector>

class QLabel;
class QListWidget;

namespace users {

// The policy assignment dialog: every policy in lstUserPolicies and the selection's current one
// ("<Various>" when the selected users differ, "<Unknown>" when it is not in the list).
class UA_Set_Policy : public QDialog {
    Q_OBJECT
public:
    UA_Set_Policy(clsUserPolicies& policies, const std::vector<int>& currentPolicies, QWidget* parent = nullptr);
    // The chosen policy after OK (or a double click).
    [[nodiscard]] std::optional<int> ChosenPolicy() const { return m_chosen; }
    [[nodiscard]] QString CurrentText() const;
    void cmdOK_Click();

private:
    clsUserPolicies& m_policies;
    std::optional<int> m_chosen;
    QListWidget* lstUserPolicies;
    QLabel* labCurrent;
};

} // namespace users
