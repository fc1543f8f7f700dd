#pragma once

#include <QDialog>

#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace outputlog {

// The destination of a fax or e-mail resend: the number or address, and for faxes the priority.
class OR_Fax_Info : public QDialog {
    Q_OBJECT
public:
    explicit OR_Fax_Info(QWidget* parent = nullptr);
    // Prepares the dialog for a fax (email false) or an e-mail resend starting with the destination.
    void Prepare(const std::string& destination, bool email);
    // Shows it modally; true with Destination() and Priority() when OK was pressed.
    bool ResendFax(const std::string& destination, bool email);
    [[nodiscard]] std::string Destination() const;
    [[nodiscard]] bool Priority() const;

public Q_SLOTS:
    void cmdOK_Click();

private:
    QLabel* lblFaxNumber;
    QLineEdit* txtFaxNumber;
    QCheckBox* chkPriority;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
};

} // namespace outputlog
