#include "QtServices.h"

#include "GenXWait.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>

namespace platform {

namespace {

QPointer<QWidget> g_mainWindow;

} // namespace

QWidget* mainWindow() {
    return g_mainWindow.data();
}

void closeScreen(QWidget* screen) {
    QWidget* frame = screen->parentWidget();
    if (frame && frame->inherits("QMdiSubWindow"))
        frame->close();
    else
        screen->close();
}

MsgAnswer QtMessageService::show(const std::string& text, MsgButtons buttons, MsgIcon icon, const std::string& title) {
    QMessageBox box(g_mainWindow.data());
    box.setObjectName("msgBox");
    box.setWindowTitle(QString::fromStdString(title));
    box.setText(QString::fromStdString(text));
    switch (icon) {
    case MsgIcon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case MsgIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case MsgIcon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case MsgIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MsgIcon::None:
        break;
    }
    QMessageBox::StandardButtons set;
    switch (buttons) {
    case MsgButtons::OK:
        set = QMessageBox::Ok;
        break;
    case MsgButtons::OKCancel:
        set = QMessageBox::Ok | QMessageBox::Cancel;
        break;
    case MsgButtons::YesNo:
        set = QMessageBox::Yes | QMessageBox::No;
        break;
    case MsgButtons::YesNoCancel:
        set = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        break;
    case MsgButtons::RetryCancel:
        set = QMessageBox::Retry | QMessageBox::Cancel;
        break;
    case MsgButtons::AbortRetryIgnore:
        set = QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
        break;
    }
    box.setStandardButtons(set);
    // The override cursor would otherwise hide that the box waits for an answer.
    const bool busy = QApplication::overrideCursor() != nullptr;
    if (busy)
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    const int answer = box.exec();
    if (busy)
        QApplication::restoreOverrideCursor();
    switch (answer) {
    case QMessageBox::Cancel:
        return MsgAnswer::Cancel;
    case QMessageBox::Yes:
        return MsgAnswer::Yes;
    case QMessageBox::No:
        return MsgAnswer::No;
    case QMessageBox::Retry:
        return MsgAnswer::Retry;
    case QMessageBox::Abort:
        return MsgAnswer::Abort;
    case QMessageBox::Ignore:
        return MsgAnswer::Ignore;
    default:
        return MsgAnswer::OK;
    }
}

void QtPointerService::set(Pointer p) {
    if (p == m_pointer)
        return;
    if (p == Pointer::Busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        while (QApplication::overrideCursor())
            QApplication::restoreOverrideCursor();
    m_pointer = p;
}

void QtWaitWindow::open(const std::string& caption, const std::string& text) {
    GenXWait& wait = GenXWait::instance();
    wait.setWindowTitle(QString::fromStdString(caption));
    wait.WaitOn(QString::fromStdString(text), 0, 0, 0);
    wait.repaint();
    QApplication::processEvents();
}

void QtWaitWindow::close() {
    GenXWait& wait = GenXWait::instance();
    wait.WaitOff();
    wait.setWindowTitle("Please Wait");
}

void installQtServices(QWidget* main) {
    static QtMessageService messages;
    static QtPointerService pointer;
    static QtWaitWindow wait;
    g_mainWindow = main;
    MessageService::install(&messages);
    PointerService::install(&pointer);
    WaitWindow::install(&wait);
}

} // namespace platform
