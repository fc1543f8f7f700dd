#pragma once

#include "Interaction.h"
#include "MessageService.h"

class QWidget;

namespace platform {

// Message boxes as Qt dialogs, over the main window when there is one.
class QtMessageService : public MessageService {
public:
    MsgAnswer show(const std::string& text, MsgButtons buttons, MsgIcon icon, const std::string& title) override;
};

// The busy pointer as Qt's application override cursor.
class QtPointerService : public PointerService {
public:
    Pointer current() const override { return m_pointer; }
    void set(Pointer p) override;

private:
    Pointer m_pointer = Pointer::Normal;
};

// The shared wait window (GenXWait) for operations outside the screens.
class QtWaitWindow : public WaitWindow {
public:
    void open(const std::string& caption, const std::string& text) override;
    void close() override;
};

// Installs the Qt services; the main window, when given, is the one the wait window disables.
void installQtServices(QWidget* mainWindow = nullptr);
QWidget* mainWindow();
// Closes a screen: its frame inside the main window when it has one, else the screen itself.
void closeScreen(QWidget* screen);

} // namespace platform
