#include "GenXWait.h"

#include "QtServices.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace platform {

GenXWait::GenXWait(QWidget* parent) : QDialog(parent) {
    setObjectName("GenXWait");
    setWindowTitle("Please Wait");
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    m_label = new QLabel("Please Wait...", this);
    m_label->setObjectName("lblMessage");
    m_label->setAlignment(Qt::AlignCenter);
    m_label->setWordWrap(true);
    m_cancel = new QPushButton("&Cancel", this);
    m_cancel->setObjectName("BCancel");
    m_progress = new QProgressBar(this);
    m_progress->setObjectName("prgProgress");
    m_progress->setFormat("%v of %m");
    m_progress->hide();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addWidget(m_progress);
    layout->addWidget(m_cancel, 0, Qt::AlignCenter);
    m_cancel->hide();
    connect(m_cancel, &QPushButton::clicked, this, &GenXWait::BCancel_Click);
}

GenXWait& GenXWait::instance() {
    // Owned by the main window; made again should that window go (tests make several).
    static QPointer<GenXWait> window;
    if (!window)
        window = new GenXWait(platform::mainWindow());
    return *window;
}

void GenXWait::WaitOn(const QString& message, int cancelFlag, int left, int top) {
    const QRect screen =
        QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->geometry() : QRect(0, 0, 1024, 768);
    int x = twipsToPixels(left), y = twipsToPixels(top);
    if (left < 1 || x > screen.width())
        x = screen.width() / 2;
    if (top < 1 || y > screen.height())
        y = screen.height() / 2;
    m_label->setText(message);
    m_cancelled = false;
    m_cancel->setVisible(cancelFlag == 1);
    resize(twipsToPixels(4800), twipsToPixels(cancelFlag == 1 ? 1905 : 1365));
    move(x - width() / 2, y - height() / 2);
    if (QWidget* main = platform::mainWindow())
        main->setEnabled(false);
    setEnabled(true);
    show();
    raise();
    QApplication::processEvents();
}

void GenXWait::CancelOn() {
    m_cancel->show();
    resize(width(), twipsToPixels(1905));
}

void GenXWait::CancelOff() {
    m_cancel->hide();
    resize(width(), twipsToPixels(1365));
}

void GenXWait::WaitOff() {
    m_label->setText("Please Wait...");
    m_progress->hide();
    if (QWidget* main = platform::mainWindow())
        main->setEnabled(true);
    hide();
}

void GenXWait::SetProgress(int done, int total) {
    m_progress->setRange(0, total);
    m_progress->setValue(done);
    m_progress->show();
}

void GenXWait::setMessage(const std::string& text) {
    m_label->setText(QString::fromStdString(text));
}

void GenXWait::processEvents() {
    QApplication::processEvents();
}

void GenXWait::BCancel_Click() {
    m_cancelled = true;
}

} // namespace platform
