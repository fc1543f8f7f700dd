#include "PR_Printers.h"

#include "HelpFile.h"
#include "MessageService.h"
#include "PR_Add_Printer.h"
#include "PrinterListExport.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace printers {

using platform::MsgBox;
using platform::MsgButtons;
using platform::MsgIcon;

PR_Printers::PR_Printers(bool mayChange, std::string networkRoot, QWidget* parent)
    : QWidget(parent), m_blnMayChange(mayChange), m_strNetworkRoot(std::move(networkRoot)) {
    setObjectName("PR_Printers");
    setWindowTitle("System Printers");
    now = [] { return QDateTime::currentDateTime().toString("MM/dd/yyyy hh:mm:ss AP").toStdString(); };
    LVPrinters = new QTreeWidget;
    LVPrinters->setObjectName("LVPrinters");
    LVPrinters->setRootIsDecorated(false);
    LVPrinters->setHeaderLabels({tr("Description"), tr("Print Queue"), tr("Type")});
    auto button = [this](const QString& caption, const char* name) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        return b;
    };
    BAdd = button(tr("&Add"), "BAdd");
    BChange = button(tr("C&hange"), "BChange");
    cmdCopyInsert = button(tr("Co&py"), "cmdCopyInsert");
    BDelete = button(tr("&Delete"), "BDelete");
    BExport = button(tr("&Export"), "BExport");
    BOK = button(tr("&OK"), "BOK");
    cmdHelp = button(tr("He&lp"), "cmdHelp");
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {BAdd, BChange, cmdCopyInsert, BDelete, BExport})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(BOK);
    buttons->addWidget(cmdHelp);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(LVPrinters, 1);
    layout->addLayout(buttons);

    connect(BAdd, &QPushButton::clicked, this, &PR_Printers::BAdd_Click);
    connect(BChange, &QPushButton::clicked, this, &PR_Printers::BChange_Click);
    connect(cmdCopyInsert, &QPushButton::clicked, this, &PR_Printers::cmdCopyInsert_Click);
    connect(BDelete, &QPushButton::clicked, this, &PR_Printers::BDelete_Click);
    connect(BExport, &QPushButton::clicked, this, &PR_Printers::BExport_Click);
    connect(LVPrinters, &QTreeWidget::itemDoubleClicked, this, &PR_Printers::BChange_Click);
    connect(BOK, &QPushButton::clicked, this, &QWidget::close);
    connect(cmdHelp, &QPushButton::clicked, this, [] { foundation::HelpFile::Show(); });
}

bool PR_Printers::DisplayConfig(long partitionId, bool partitionsInUse) {
    m_lngPartitionId = partitionId;
    m_blnPartitionsInUse = partitionsInUse;
    QStringList headers{tr("Description"), tr("Print Queue"), tr("Type")};
    if (partitionsInUse)
        headers << tr("Partition");
    LVPrinters->setHeaderLabels(headers);
    LVPrinters->setColumnCount(static_cast<int>(headers.size()));
    const bool loaded = m_objPrinters.LoadPrinters();
    FillList();
    return loaded;
}

void PR_Printers::FillList() {
    const QString key =
        LVPrinters->currentItem() ? LVPrinters->currentItem()->data(0, Qt::UserRole).toString() : QString();
    LVPrinters->clear();
    // Every load (a save or delete reads the list again) forgets the partitions, so they are read here.
    m_objPrinters.ReadPartitions(m_lngPartitionId);
    for (const auto& p : m_objPrinters.Printers()) {
        if (!m_objPrinters.SeenByPartition(p.m_lngPrinterId))
            continue;
        QStringList cells{QString::fromStdString(p.m_strDescription), QString::fromStdString(p.m_strPrintQueue),
                          p.m_bytSaveType == 1 ? "Print to File" : "Standard Output"};
        if (m_blnPartitionsInUse)
            cells << QString::fromStdString(m_objPrinters.PartitionName(p.m_lngPrinterId));
        auto* item = new QTreeWidgetItem(LVPrinters, cells);
        item->setData(0, Qt::UserRole, QString::fromStdString(p.Key()));
        item->setData(1, Qt::UserRole, static_cast<qlonglong>(p.m_lngPrinterId));
        if (item->data(0, Qt::UserRole).toString() == key)
            LVPrinters->setCurrentItem(item);
    }
    if (!LVPrinters->currentItem() && LVPrinters->topLevelItemCount() > 0)
        LVPrinters->setCurrentItem(LVPrinters->topLevelItem(0));
}

bool PR_Printers::allowed() const {
    if (m_blnMayChange)
        return true;
    MsgBox("ACCESS DENIED:  You do not have access to change printers.", MsgButtons::OK, MsgIcon::Exclamation,
           "Security");
    return false;
}

const clsPrinter* PR_Printers::selected() const {
    const QTreeWidgetItem* item = LVPrinters->currentItem();
    return item ? m_objPrinters.Find(static_cast<long>(item->data(1, Qt::UserRole).toLongLong())) : nullptr;
}

void PR_Printers::edit(const clsPrinter& printer) {
    PR_Add_Printer editor(m_objPrinters, m_strNetworkRoot, this);
    editor.EditPrinter(printer);
    FillList();
}

void PR_Printers::BAdd_Click() {
    if (!allowed())
        return;
    clsPrinter printer;
    printer.m_lngPartitionId = m_lngPartitionId;
    edit(printer);
}

void PR_Printers::BChange_Click() {
    if (!allowed())
        return;
    if (const clsPrinter* p = selected()) {
        clsPrinter printer = *p;
        // A printer without its originals row gets one on save, in the partition it is edited from.
        if (!printer.m_blnHasOriginals)
            printer.m_lngPartitionId = m_lngPartitionId;
        edit(printer);
    }
}

void PR_Printers::cmdCopyInsert_Click() {
    if (!allowed())
        return;
    const clsPrinter* p = selected();
    if (!p)
        return;
    clsPrinter copy = *p;
    copy.m_lngPrinterId = 0;
    copy.m_lngInUseBatch = copy.m_lngInUseGroup = 0;
    copy.m_lngPartitionId = m_lngPartitionId;
    copy.m_strDescription = "Copy of " + p->m_strDescription;
    edit(copy);
}

void PR_Printers::BDelete_Click() {
    if (!allowed())
        return;
    if (const clsPrinter* p = selected()) {
        m_objPrinters.DeletePrinter(p->m_lngPrinterId);
        FillList();
    }
}

void PR_Printers::BExport_Click() {
    if (MsgBox("Would you like to export a detailed list?", MsgButtons::YesNo, MsgIcon::Question, "Export") !=
        platform::MsgAnswer::Yes)
        return;
    if (ExportDetailedList(m_objPrinters, m_strNetworkRoot, now()).empty())
        MsgBox("Unable to write " + m_strNetworkRoot + "/KALDRA/NPTEMP.TXT.", MsgButtons::OK, MsgIcon::Exclamation,
               "Export");
}

} // namespace printers
