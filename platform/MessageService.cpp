#include "MessageService.h"

#include <iostream>

namespace platform {

namespace {

MsgAnswer firstButton(MsgButtons b) {
    switch (b) {
    case MsgButtons::YesNo:
    case MsgButtons::YesNoCancel:
        return MsgAnswer::Yes;
    case MsgButtons::RetryCancel:
        return MsgAnswer::Retry;
    case MsgButtons::AbortRetryIgnore:
        return MsgAnswer::Abort;
    default:
        return MsgAnswer::OK;
    }
}

class ConsoleService : public MessageService {
public:
    MsgAnswer show(const std::string& text, MsgButtons buttons, MsgIcon, const std::string& title) override {
        std::cerr << (title.empty() ? "" : title + ": ") << text << "\n";
        return firstButton(buttons);
    }
};

MessageService* g_service = nullptr;

} // namespace

MessageService& MessageService::instance() {
    static ConsoleService fallback;
    return g_service ? *g_service : fallback;
}

void MessageService::install(MessageService* service) {
    g_service = service;
}

MsgAnswer MsgBox(const std::string& text, MsgButtons buttons, MsgIcon icon, const std::string& title) {
    return MessageService::instance().show(text, buttons, icon, title);
}

MsgAnswer MessageRecorder::show(const std::string& text, MsgButtons buttons, MsgIcon icon, const std::string& title) {
    shown.push_back({text, title, icon, buttons});
    if (whileShown)
        whileShown(shown.back());
    if (m_answers.empty())
        return firstButton(buttons);
    MsgAnswer a = m_answers.front();
    m_answers.pop_front();
    return a;
}

} // namespace platform
