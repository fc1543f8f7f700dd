#pragma once

#include <QDialog>

#include <functional>
#include <string>

class QComboBox;
class QPushButton;

namespace outputlog {

// The small dialog that chooses one of the printers installed on the workstation, for printing the
// output report or for configuring the printer.
class OR_Printer : public QDialog {
    Q_OBJECT
public:
    explicit OR_Printer(QWidget* parent = nullptr);
    // Lists the workstation's printers, the default one chosen, and shows the dialog through run
    // (modal by default); the chosen printer's name, or "" when there is none or Cancel was pressed.
    std::string SelectPrinter(const std::function<int(QDialog&)>& run = {});
    [[nodiscard]] std::string PrinterName() const;

private:
    QComboBox* cmbPrinterName;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
};

} // namespace outputlog
