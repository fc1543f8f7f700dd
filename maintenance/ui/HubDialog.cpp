#include "HubDialog.h"

#include "HelpFile.h"

#include <QGridLayout>
#include <QHBoxLayout>
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
    auto* buttons = new QHBoxLayout;
    BOK = new QPushButton("&OK", this);
    BOK->setObjectName("BOK");
    BOK->setDefault(true);
    BCancel = new QPushButton("&Cancel", this);
    BCancel->setObjectName("BCancel");
    cmdHelp = new QPushButton("&Help", this);
    cmdHelp->setObjectName("cmdHelp");
    buttons->addStretch();
    for (QPushButton* b : {BOK, BCancel, cmdHelp})
        buttons->addWidget(b);
    grid->addLayout(buttons, row, 0, 1, 2);
    connect(BOK, &QPushButton::clicked, this, [this] { BOK_Click(); });
    connect(BCancel, &QPushButton::clicked, this, [this] {
        m_blnOK = false;
        reject();
    });
    connect(cmdHelp, &QPushButton::clicked, this, [] { foundation::HelpFile::Show(); });
}

} // namespace maintenance
