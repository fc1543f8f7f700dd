#include "OR_Printer.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrinterInfo>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace outputlog {

OR_Printer::OR_Printer(QWidget* parent) : QDialog(parent) {
    setObjectName("OR_Printer");
    setWindowTitle(tr("Select Printer"));
    cmbPrinterName = new QComboBox;
    cmbPrinterName->setObjectName("cmbPrinterName");
    cmdOK = new QPushButton(tr("&OK"));
    cmdOK->setObjectName("cmdOK");
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(tr("&Cancel"));
    cmdCancel->setObjectName("cmdCancel");
    auto* label = new QLabel(tr("&Printer:"));
    label->setBuddy(cmbPrinterName);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(cmbPrinterName);
    layout->addLayout(buttons);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

std::string OR_Printer::SelectPrinter(const std::function<int(QDialog&)>& run) {
    cmbPrinterName->clear();
    cmbPrinterName->addItems(QPrinterInfo::availablePrinterNames());
    if (cmbPrinterName->count() == 0)
        return {};
    cmbPrinterName->setCurrentIndex(std::max(0, cmbPrinterName->findText(QPrinterInfo::defaultPrinterName())));
    const int result = run ? run(*this) : exec();
    return result == QDialog::Accepted ? PrinterName() : std::string();
}

std::string OR_Printer::PrinterName() const {
    return cmbPrinterName->currentText().toStdString();
}

} // namespace outputlog
