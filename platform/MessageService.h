#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace platform {

enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgButtons { OK, OKCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };
enum class MsgAnswer { OK, Cancel, Yes, No, Retry, Abort, Ignore };

// Every message box of the program goes through one service: the desktop shows a dialog, tests
// record the text, title, icon and buttons and give scripted answers.
class MessageService {
public:
    virtual ~MessageService() = default;
    virtual MsgAnswer show(const std::string& text, MsgButtons buttons, MsgIcon icon, const std::string& title) = 0;

    static MessageService& instance();
    // Installs the service every MsgBox call uses (not owned); nullptr restores the default, which
    // writes the message to standard error and answers the first button.
    static void install(MessageService* service);
};

MsgAnswer MsgBox(const std::string& text, MsgButtons buttons = MsgButtons::OK, MsgIcon icon = MsgIcon::None,
                 const std::string& title = "");

// For tests: records every message and answers from a queue (the first button when it is empty).
class MessageRecorder : public MessageService {
public:
    struct Shown {
        std::string text;
        std::string title;
        MsgIcon icon;
        MsgButtons buttons;
    };

    MessageRecorder() { install(this); }
    ~MessageRecorder() override { install(nullptr); }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    MsgAnswer show(const std::string& text, MsgButtons buttons, MsgIcon icon, const std::string& title) override;
    void answer(MsgAnswer a) { m_answers.push_back(a); }

    std::vector<Shown> shown;
    // Runs while the box would be up, as the event loop of a real box does: a test observes what
    // the screens behind it show at that moment.
    std::function<void(const Shown&)> whileShown;

private:
    std::deque<MsgAnswer> m_answers;
};

} // namespace platform
