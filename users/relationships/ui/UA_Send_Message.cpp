#include "UA_Send_Message.h"

#include "Utf8.h"
#include "modUserMessages.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QVBoxLayout>

#include <algorithm>

namespace users {

UA_Send_Message::UA_Send_Message(long fromUserId, const Named& users, const Named& groups, QWidget* parent)
    : QDialog(parent), m_lngFromUserId(fromUserId), m_users(users), m_groups(groups) {
    setObjectName("UA_Send_Message");
    setWindowTitle("Send System Message");
    std::string to;
    for (const auto& [id, name] : m_users)
        to += (to.empty() ? "" : ", ") + name;
    for (const auto& [id, name] : m_groups)
        to += (to.empty() ? "" : ", ") + name + " (Group)";
    auto* recipients = new QLabel(QString::fromStdString("To: " + to), this);
    recipients->setObjectName("lblRecipients");
    recipients->setWordWrap(true);
    m_txtMessage = new QPlainTextEdit(this);
    m_txtMessage->setObjectName("txtMessage");
    m_txtMessage->setAccessibleName("Message");
    m_txtMessage->setTabChangesFocus(true);
    auto* info = new QLabel(
        "The above message will be presented to the selected users the next time they login to Veltra Text.", this);
    info->setObjectName("lblInfo");
    info->setWordWrap(true);
    auto* send = new QPushButton("&Send", this);
    send->setObjectName("cmdSend");
    send->setDefault(true);
    auto* cancel = new QPushButton("&Cancel", this);
    cancel->setObjectName("cmdCancel");
    connect(send, &QPushButton::clicked, this, &UA_Send_Message::cmdSend_Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_txtMessage, &QPlainTextEdit::textChanged, this, &UA_Send_Message::txtMessage_Change);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(send);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(recipients);
    layout->addWidget(m_txtMessage, 1);
    layout->addWidget(info);
    layout->addLayout(buttons);
    resize(480, 320);
}

// The message column holds kMessageMaxChars characters: typing or pasting more keeps the first ones.
void UA_Send_Message::txtMessage_Change() {
    if (m_blnCutting)
        return;
    const std::string text = m_txtMessage->toPlainText().toStdString();
    if (platform::utf8Length(text) <= kMessageMaxChars)
        return;
    m_blnCutting = true;
    m_txtMessage->setPlainText(QString::fromStdString(platform::utf8Left(text, kMessageMaxChars)));
    m_txtMessage->moveCursor(QTextCursor::End);
    m_blnCutting = false;
}

bool UA_Send_Message::Recipients(std::vector<long>& ids) const {
    std::vector<long> out;
    auto add = [&out](long id) {
        if (std::find(out.begin(), out.end(), id) == out.end())
            out.push_back(id);
    };
    for (const auto& entry : m_users)
        add(entry.first);
    for (const auto& entry : m_groups) {
        std::vector<long> members;
        if (!LoadGroupMemberIds(entry.first, members))
            return false;
        for (long id : members)
            add(id);
    }
    ids.swap(out);
    return true;
}

void UA_Send_Message::cmdSend_Click() {
    const std::string text = m_txtMessage->toPlainText().toStdString();
    std::vector<long> ids;
    // A blank text is refused before the groups are read.
    if (text.find_first_not_of(" \t\r\n") != std::string::npos && !Recipients(ids))
        return;
    if (SendUserMessage(ids, m_lngFromUserId, text))
        accept();
    else
        m_txtMessage->setFocus();
}

} // namespace users
