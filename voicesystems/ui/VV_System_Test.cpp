#include "VV_System_Test.h"

#include "VoiceServices.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace voicesystems {

VV_System_Test::VV_System_Test(const clsVVSysConDef& def, QWidget* parent) : QDialog(parent) {
    setObjectName("VV_System_Test");
    setWindowTitle("Veltra Voice System Connectivity Test");
    m_tester.SetDefinition(def);
    auto* layout = new QVBoxLayout(this);
    lstResults = new QListWidget(this);
    lstResults->setObjectName("lstResults");
    lblVersion = new QLabel(
        QString::fromStdString(std::string("VIZ Component Version ") + suite::VeltraServices::Version()), this);
    lblVersion->setObjectName("lblVersion");
    cmdOkCancel = new QPushButton("Cancel", this);
    cmdOkCancel->setObjectName("cmdOkCancel");
    cmdOkCancel->setDefault(true);
    layout->addWidget(lstResults);
    layout->addWidget(lblVersion);
    layout->addWidget(cmdOkCancel, 0, Qt::AlignRight);
    connect(cmdOkCancel, &QPushButton::clicked, this, &QDialog::accept);
    resize(420, 300);
}

void VV_System_Test::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_ran)
        QTimer::singleShot(0, this, [this] { RunTests(); });
}

void VV_System_Test::add(const QString& line) {
    lstResults->addItem(line);
    lstResults->scrollToBottom();
    // The list shows each step while the next one waits on the network.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

QStringList VV_System_Test::Results() const {
    QStringList out;
    for (int i = 0; i < lstResults->count(); ++i)
        out << lstResults->item(i)->text();
    return out;
}

bool VV_System_Test::RunTests() {
    m_ran = true;
    lstResults->clear();
    add("Running connectivity tests...");
    bool ok = false;
    add("Attempting connection");
    if (!m_tester.ComputerReachable()) {
        add("Computer not responding");
    } else {
        add("Connection established");
        add("Verifying Veltra Voice Server connection");
        if (!m_tester.SqlServerReachable()) {
            add("Veltra Voice Server not responding");
        } else {
            add("Veltra Voice Server connection verified");
            add("Verifying administrator user credentials");
            ok = m_tester.AdministratorValid();
            add(ok ? "Administrator user verified" : "Administrator user not found or invalid");
        }
    }
    add(ok ? "TESTS COMPLETED SUCCESSFULLY" : "TESTS FAILED");
    cmdOkCancel->setText("OK");
    return ok;
}

} // namespace voicesystems
