#pragma once

#include "Interaction.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace platform {

// The wait window shown around long work: a message, optionally a Cancel button (BCancel), the
// main window disabled while it is up. Positions and heights are in twips, as the screens give them.
class GenXWait : public QDialog, public WaitIndicator {
    Q_OBJECT
public:
    explicit GenXWait(QWidget* parent = nullptr);

    static GenXWait& instance();

    void WaitOn(const QString& message, int cancelFlag, int left, int top);
    void CancelOn();
    void CancelOff();
    [[nodiscard]] int IsCancelled() const { return m_cancelled ? 1 : 0; }
    void WaitOff();
    // A progress bar with the count under the message, for work of a known size; WaitOff hides it.
    void SetProgress(int done, int total);

    // WaitIndicator
    bool isCancelled() const override { return m_cancelled; }
    void setMessage(const std::string& text) override;
    void processEvents() override;

    static int twipsToPixels(int twips) { return twips / 15; }

private:
    void BCancel_Click();

    QLabel* m_label;
    QPushButton* m_cancel;
    QProgressBar* m_progress;
    bool m_cancelled = false;
};

} // namespace platform
