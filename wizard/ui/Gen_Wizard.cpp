#include "Gen_Wizard.h"

#include "MessageService.h"
#include "PrinterQueueCheck.h"
#include "StandardConfiguration.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPrinterInfo>
#include <QPushButton>
#include <QVBoxLayout>

namespace wizard {

namespace {

struct StepText {
    const char* caption;
    const char* description;
};

constexpr std::array<StepText, kWizardSteps> kSteps = {{
    {"Accounts", "Create the departments and accounts of the site."},
    {"Users", "Add the administrators, transcriptionists and other users."},
    {"Printers", "Add the system printers reports are printed on."},
    {"Physicians", "Add the physicians who dictate."},
}};

} // namespace

Gen_Wizard::Gen_Wizard(WizardScreens screens, bool mayConfigure, QWidget* parent)
    : QWidget(parent), m_screens(std::move(screens)), m_mayConfigure(mayConfigure) {
    setObjectName("Gen_Wizard");
    setWindowTitle(kTitle);
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel("Bring a new installation into use in this order.  A mark shows a step that is done.");
    intro->setWordWrap(true);
    layout->addWidget(intro);
    auto* grid = new QGridLayout;
    for (int i = 0; i < kWizardSteps; ++i) {
        const auto step = static_cast<size_t>(i);
        cmdStep[step] = new QPushButton(QString::number(i + 1));
        cmdStep[step]->setObjectName(QString("cmdStep_%1").arg(i));
        cmdConfig[step] = new QPushButton(kSteps[step].caption);
        cmdConfig[step]->setObjectName(QString("cmdConfig_%1").arg(i));
        cmdConfigT[step] = new QLabel(kSteps[step].description);
        cmdConfigT[step]->setObjectName(QString("cmdConfigT_%1").arg(i));
        cmdConfigT[step]->setWordWrap(true);
        lblDone[step] = new QLabel;
        lblDone[step]->setObjectName(QString("lblDone_%1").arg(i));
        lblDone[step]->setMinimumWidth(fontMetrics().horizontalAdvance("Done") + 8);
        grid->addWidget(cmdStep[step], i, 0);
        grid->addWidget(cmdConfig[step], i, 1);
        if (static_cast<WizardStep>(i) == WizardStep::Printers) {
            lblPrintersWarning = new QLabel;
            lblPrintersWarning->setObjectName("lblPrintersWarning");
            lblPrintersWarning->setStyleSheet("color: #b04000");
            lblPrintersWarning->setVisible(false);
            auto* cell = new QVBoxLayout;
            cell->addWidget(cmdConfigT[step]);
            cell->addWidget(lblPrintersWarning);
            grid->addLayout(cell, i, 2);
        } else {
            grid->addWidget(cmdConfigT[step], i, 2);
        }
        grid->addWidget(lblDone[step], i, 3);
        for (QPushButton* b : {cmdStep[step], cmdConfig[step]}) {
            b->setEnabled(m_mayConfigure);
            connect(b, &QPushButton::clicked, this, [this, i] { cmdConfig_Click(i); });
        }
    }
    grid->setColumnStretch(2, 1);
    layout->addLayout(grid);
    chkShowWizard = new QCheckBox("&Show this wizard when the program starts");
    chkShowWizard->setObjectName("chkShowWizard");
    chkShowWizard->setChecked(m_screens.showAtStartUp && m_screens.showAtStartUp());
    connect(chkShowWizard, &QCheckBox::toggled, this, [this](bool on) {
        if (m_screens.setShowAtStartUp)
            m_screens.setShowAtStartUp(on);
    });
    layout->addWidget(chkShowWizard);
    cmdInstallStandard = new QPushButton("Install &Standard Configuration");
    cmdInstallStandard->setObjectName("cmdInstallStandard");
    cmdInstallStandard->setToolTip(
        "Copies the standard report formats, fields and printers for the site's first account.");
    connect(cmdInstallStandard, &QPushButton::clicked, this, &Gen_Wizard::cmdInstallStandard_Click);
    layout->addWidget(cmdInstallStandard, 0, Qt::AlignLeft);
    layout->addStretch(1);
    RefreshMarks();
}

void Gen_Wizard::RefreshMarks() {
    if (const auto marks = ReadStepMarks())
        m_marks = *marks;
    for (size_t i = 0; i < kWizardSteps; ++i)
        lblDone[i]->setText(m_marks[i] ? "Done" : "");
    refreshPrintersWarning();
    cmdConfig[static_cast<size_t>(WizardStep::Accounts)]->setText(
        m_marks[static_cast<size_t>(WizardStep::Accounts)] ? "Add Accounts" : kSteps[0].caption);
    const bool offered = m_mayConfigure && !m_installing && StandardConfiguration::OfferedAccount().has_value();
    cmdInstallStandard->setVisible(offered || m_installing);
    cmdInstallStandard->setEnabled(offered);
}

void Gen_Wizard::refreshPrintersWarning() {
    QLabel* mark = lblDone[static_cast<size_t>(WizardStep::Printers)];
    std::string warning;
    if (m_marks[static_cast<size_t>(WizardStep::Printers)]) {
        std::vector<std::string> queues;
        if (m_screens.workstationQueues) {
            queues = m_screens.workstationQueues();
        } else {
            for (const QString& name : QPrinterInfo::availablePrinterNames())
                queues.push_back(name.toStdString());
        }
        if (const auto problems = ReadPrinterQueueProblems(queues))
            warning = PrinterQueueWarning(*problems);
    }
    if (!warning.empty())
        mark->setText("Done (!)");
    mark->setToolTip(QString::fromStdString(warning));
    lblPrintersWarning->setText(QString::fromStdString(warning));
    lblPrintersWarning->setVisible(!warning.empty());
}

void Gen_Wizard::cmdInstallStandard_Click() {
    if (m_installing || !m_mayConfigure)
        return;
    const auto account = StandardConfiguration::OfferedAccount();
    if (!account)
        return;
    // The install turns the event loop for its wait window: nothing of the wizard may start meanwhile.
    m_installing = true;
    setEnabled(false);
    const auto report = StandardConfiguration::Install(*account, m_screens.networkRoot, m_screens.localRoot);
    setEnabled(true);
    m_installing = false;
    RefreshMarks();
    if (!report.ok)
        return;
    if (m_screens.standardInstalled)
        m_screens.standardInstalled();
    if (report.blankQueues.empty()) {
        platform::MsgBox(report.summary(), platform::MsgButtons::OK, platform::MsgIcon::Information, kTitle);
        return;
    }
    if (platform::MsgBox(report.summary() + "\n\nOpen the printer list now?", platform::MsgButtons::YesNo,
                         platform::MsgIcon::Question, kTitle) == platform::MsgAnswer::Yes &&
        m_screens.showPrinterList)
        m_screens.showPrinterList();
}

void Gen_Wizard::repeatStep(const std::function<void()>& open, const char* question) {
    if (!open)
        return;
    do {
        open();
        RefreshMarks();
    } while (platform::MsgBox(question, platform::MsgButtons::YesNo, platform::MsgIcon::Question, kTitle) ==
             platform::MsgAnswer::Yes);
}

void Gen_Wizard::cmdConfig_Click(int step) {
    if (!m_mayConfigure || step < 0 || step >= kWizardSteps)
        return;
    switch (static_cast<WizardStep>(step)) {
    case WizardStep::Accounts:
        repeatStep(m_screens.addAccount, "Would you like to add another account?");
        break;
    case WizardStep::Users:
        repeatStep(m_screens.addUser, "Would you like to add another user?");
        break;
    case WizardStep::Printers: {
        const std::string version = m_screens.printerComponentVersion ? m_screens.printerComponentVersion() : "";
        if (VersionAbove(version, "4.0.0")) {
            repeatStep(m_screens.addPrinterWizard, "Would you like to add another printer?");
        } else {
            platform::MsgBox(std::string("Unable to add new system printers through the wizard.") + "\n" +
                                 "Please upgrade the System Printers library (KdSysPrn.DLL) " +
                                 " or add printers without using the wizard.",
                             platform::MsgButtons::OK, platform::MsgIcon::Exclamation, kTitle);
            if (m_screens.showPrinterList)
                m_screens.showPrinterList();
        }
        break;
    }
    case WizardStep::Physicians:
        if (m_screens.showPhysicianList)
            m_screens.showPhysicianList();
        break;
    }
    RefreshMarks();
}

} // namespace wizard
