#include "HubDialog.h"

#include "DialogButtonRow.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace maintenance {

HubDialog::HubDialog(const char* objectName, const char* title, QWidget* parent)
    : QDialog(parent), grid(new QGridLayout(this)) {
    setObjectName(objectName);
    if (*title)
        setWindowTitle(title);
}

QLabel* HubDialog::label(const char* text, QWidget* buddy) {
    auto* l = new QLabel(text, this);
    l->setBuddy(buddy);
    return l;
}

void HubDialog::addButtonRow(int row) {
    const DialogButtonRow buttons = MakeDialogButtonRow(
        this, "&Help", [this] { BOK_Click(); },
        [this] {
            m_blnOK = false;
            reject();
        });
    BOK = buttons.BOK;
    BCancel = buttons.BCancel;
    cmdHelp = buttons.cmdHelp;
    grid->addLayout(buttons.layout, row, 0, 1, 2);
}

} // namespace maintenance
