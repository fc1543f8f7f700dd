#include "PR_Custom_Printers.h"

#include "PR_Add_Format.h"
#include "clsPrinters.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace printers {

PR_Custom_Printers::PR_Custom_Printers(clsPrinters& list, QWidget* parent) : QDialog(parent), m_objList(list) {
    setObjectName("PR_Custom_Printers");
    setWindowTitle("Custom Footer Formats");
    lvwFormats = new QTreeWidget;
    lvwFormats->setObjectName("lvwFormats");
    lvwFormats->setRootIsDecorated(false);
    lvwFormats->setHeaderLabels({tr("Format"), tr("Footer Text")});
    cmdAdd = new QPushButton(tr("&Add"));
    cmdAdd->setObjectName("cmdAdd");
    cmdEdit = new QPushButton(tr("&Edit"));
    cmdEdit->setObjectName("cmdEdit");
    cmdClose = new QPushButton(tr("&Close"));
    cmdClose->setObjectName("cmdClose");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdAdd);
    buttons->addWidget(cmdEdit);
    buttons->addStretch();
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lvwFormats);
    layout->addLayout(buttons);
    connect(cmdAdd, &QPushButton::clicked, this, &PR_Custom_Printers::cmdAdd_Click);
    connect(cmdEdit, &QPushButton::clicked, this, &PR_Custom_Printers::cmdEdit_Click);
    connect(lvwFormats, &QTreeWidget::itemDoubleClicked, this, &PR_Custom_Printers::cmdEdit_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);
}

void PR_Custom_Printers::Fill() {
    lvwFormats->clear();
    const auto& formats = m_objList.Formats();
    for (size_t i = 0; i < formats.size(); ++i) {
        auto* item = new QTreeWidgetItem(
            lvwFormats, {QStringLiteral("CUSTOM %1").arg(i + 1), QString::fromStdString(formats[i].m_strDescription)});
        item->setData(0, Qt::UserRole, static_cast<qlonglong>(formats[i].m_lngFormatId));
    }
    cmdEdit->setEnabled(!formats.empty());
}

void PR_Custom_Printers::ShowForm() {
    Fill();
    exec();
}

void PR_Custom_Printers::edit(long formatId, const std::string& text) {
    PR_Add_Format editor(this);
    if (!editor.EditFormat(text))
        return;
    m_objList.SaveFormat(formatId, editor.Text());
    Fill();
}

void PR_Custom_Printers::cmdAdd_Click() {
    edit(0, "");
}

void PR_Custom_Printers::cmdEdit_Click() {
    const QTreeWidgetItem* item = lvwFormats->currentItem();
    if (!item)
        return;
    edit(static_cast<long>(item->data(0, Qt::UserRole).toLongLong()), item->text(1).toStdString());
}

} // namespace printers
