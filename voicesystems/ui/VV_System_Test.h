#pragma once

#include "clsVVSysConTester.h"

#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;

namespace voicesystems {

// The connectivity test of one definition: computer, database server and administrator, each
// reported in the results list; a failure ends the sequence.
class VV_System_Test : public QDialog {
    Q_OBJECT
public:
    explicit VV_System_Test(const clsVVSysConDef& def, QWidget* parent = nullptr);

    // Runs the tests (the dialog starts them itself when shown); true when all passed.
    bool RunTests();
    [[nodiscard]] clsVVSysConTester& Tester() { return m_tester; }
    [[nodiscard]] QStringList Results() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void add(const QString& line);

    clsVVSysConTester m_tester;
    bool m_ran = false;
    QListWidget* lstResults;
    QLabel* lblVersion;
    QPushButton* cmdOkCancel;
};

} // namespace voicesystems
