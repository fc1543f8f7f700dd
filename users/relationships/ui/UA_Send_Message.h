#pragma once

#include <QDialog>

#include <string>
#include <utility>
#include <vector>

class QLabel;
class QPlainTextEdit;

namespace users {

// "Send System Message": a text the selected users, and every member of the selected groups, are
// shown at their next log-on.
class UA_Send_Message : public QDialog {
    Q_OBJECT
public:
    using Named = std::vector<std::pair<long, std::string>>; // id, name

    UA_Send_Message(long fromUserId, const Named& users, const Named& groups, QWidget* parent = nullptr);

    // The user ids the message goes to: the users, then each group's live members, once each.
    // false when a group's members could not be read.
    bool Recipients(std::vector<long>& ids) const;

private Q_SLOTS:
    void cmdSend_Click();
    void txtMessage_Change();

private:
    long m_lngFromUserId = 0;
    Named m_users;
    Named m_groups;
    QPlainTextEdit* m_txtMessage = nullptr;
    bool m_blnCutting = false;
};

} // namespace users
