#pragma once

#include <QDialog>

#include <string>
#include <vector>

class QLabel;
class QTreeWidget;

namespace users {

class clsUser;

// The pick list of physician users for a new signature relationship: the physician whose reports
// the relationship concerns. Captioned after the relationship kind, with its prompt.
class UA_Choose_User : public QDialog {
    Q_OBJECT
public:
    enum class Kind { Surrogate, Resident, Cosigner };

    UA_Choose_User(Kind kind, const std::vector<const clsUser*>& candidates, QWidget* parent = nullptr);

    // The chosen user's id, 0 before a choice.
    [[nodiscard]] long ChosenUserId() const { return m_lngChosenUserId; }

    static const char* Caption(Kind kind);
    static const char* Prompt(Kind kind);

private Q_SLOTS:
    void cmdOK_Click();

private:
    std::vector<long> m_userIds;
    long m_lngChosenUserId = 0;
    QLabel* m_lblPrompt = nullptr;
    QTreeWidget* m_lvwUsers = nullptr;
};

} // namespace users
