#include "PR_Add_Format.h"

#include "MessageService.h"
#include "PrinterText.h"
#include "Text.h"
#include "clsPrinter.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace printers {

using platform::MsgBox;
using platform::MsgButtons;
using platform::MsgIcon;

PR_Add_Format::PR_Add_Format(QWidget* parent) : QDialog(parent) {
    setObjectName("PR_Add_Format");
    setWindowTitle("Add Custom Footer Format");
    txtFormat = new QLineEdit;
    txtFormat->setObjectName("txtFormat");
    txtFormat->setMaxLength(static_cast<int>(PrinterLimits::FormatDescription));
    cmdInsertFirst = new QPushButton(tr("Insert <&Last, First, Title>"));
    cmdInsertFirst->setObjectName("cmdInsertFirst");
    cmdInsertLast = new QPushButton(tr("Insert <&First Last, Title>"));
    cmdInsertLast->setObjectName("cmdInsertLast");
    cmdOK = new QPushButton(tr("&OK"));
    cmdOK->setObjectName("cmdOK");
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(tr("&Cancel"));
    cmdCancel->setObjectName("cmdCancel");

    auto* label = new QLabel(tr("Footer &Text:"));
    label->setBuddy(txtFormat);
    auto* inserts = new QHBoxLayout;
    inserts->addWidget(cmdInsertFirst);
    inserts->addWidget(cmdInsertLast);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(txtFormat);
    layout->addLayout(inserts);
    layout->addLayout(buttons);

    connect(cmdInsertFirst, &QPushButton::clicked, this, &PR_Add_Format::cmdInsertFirst_Click);
    connect(cmdInsertLast, &QPushButton::clicked, this, &PR_Add_Format::cmdInsertLast_Click);
    connect(cmdOK, &QPushButton::clicked, this, &PR_Add_Format::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void PR_Add_Format::Load(const std::string& text) {
    txtFormat->setText(QString::fromStdString(text));
}

std::string PR_Add_Format::Text() const {
    return txtFormat->text().toStdString();
}

bool PR_Add_Format::EditFormat(const std::string& text) {
    Load(text);
    return exec() == QDialog::Accepted;
}

void PR_Add_Format::insert(const char* placeholder) {
    if (HasPlaceholder(Text())) {
        MsgBox("Designator has already been inserted into the custom footer.  Please clear the entry first.",
               MsgButtons::OK, MsgIcon::Exclamation, "Error");
        return;
    }
    txtFormat->insert(QString::fromUtf8(placeholder));
    txtFormat->setFocus();
}

void PR_Add_Format::cmdInsertFirst_Click() {
    insert(kPlaceholderLastFirst);
}
void PR_Add_Format::cmdInsertLast_Click() {
    insert(kPlaceholderFirstLast);
}

void PR_Add_Format::cmdOK_Click() {
    if (foundation::trimText(Text()).empty()) {
        MsgBox("Please enter a value for the custom format", MsgButtons::OK, MsgIcon::Exclamation, "Error");
        txtFormat->setFocus();
        return;
    }
    accept();
}

} // namespace printers
