#pragma once

#include <QDialog>

class QGridLayout;
class QLabel;
class QPushButton;

namespace maintenance {

// What the Database Management screen's settings dialogs share: a grid, field labels whose mnemonic
// moves to their field, and the OK, Cancel and Help row. OK runs the dialog's checks (BOK_Click),
// Cancel closes it without taking anything, Help opens the help file.
class HubDialog : public QDialog {
    Q_OBJECT
protected:
    HubDialog(const char* objectName, const char* title, QWidget* parent);

    QLabel* label(const char* text, QWidget* buddy);
    // The button row at the grid's row, across both columns; made where it is called, so that the
    // buttons come after the fields in the tab order.
    void addButtonRow(int row);
    virtual void BOK_Click() = 0;

    QGridLayout* grid;
    bool m_blnOK = false;
    QPushButton* BOK = nullptr;
    QPushButton* BCancel = nullptr;
    QPushButton* cmdHelp = nullptr;
};

} // namespace maintenance
