#include "DialogButtonRow.h"

#include "HelpFile.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

namespace maintenance {

DialogButtonRow MakeDialogButtonRow(QDialog* dialog, const char* helpCaption, std::function<void()> onOK,
                                    std::function<void()> onCancel) {
    DialogButtonRow row{new QHBoxLayout, new QPushButton("&OK", dialog), new QPushButton("&Cancel", dialog),
                        new QPushButton(helpCaption, dialog)};
    row.BOK->setObjectName("BOK");
    row.BOK->setDefault(true);
    row.BCancel->setObjectName("BCancel");
    row.cmdHelp->setObjectName("cmdHelp");
    row.layout->addStretch();
    for (QPushButton* b : {row.BOK, row.BCancel, row.cmdHelp})
        row.layout->addWidget(b);
    QObject::connect(row.BOK, &QPushButton::clicked, dialog, std::move(onOK));
    QObject::connect(row.BCancel, &QPushButton::clicked, dialog, std::move(onCancel));
    QObject::connect(row.cmdHelp, &QPushButton::clicked, dialog, [] { foundation::HelpFile::Show(); });
    return row;
}

} // namespace maintenance
