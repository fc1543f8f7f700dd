#pragma once

#include "clsPrinters.h"

#include <QWidget>

#include <functional>
#include <string>

class QPushButton;
class QTreeWidget;

namespace printers {

// The system printer list: add, change, copy, delete and the detailed list.
class PR_Printers : public QWidget {
    Q_OBJECT
public:
    // mayChange: the user is a system administrator or holds privilege 29. networkRoot: where
    // KALDRA/NPTEMP.TXT and the envelope templates are.
    PR_Printers(bool mayChange, std::string networkRoot, QWidget* parent = nullptr);

    // Loads the printers and fills the list with those the partition sees: its own, its
    // sub-partitions' and the printers of no partition. New printers join the partition. With
    // partitions in use the list names each printer's partition. False when they could not be read.
    bool DisplayConfig(long partitionId = 0, bool partitionsInUse = false);
    void FillList();
    [[nodiscard]] clsPrinters& Printers() { return m_objPrinters; }
    // The time the detailed list is stamped with (tests fix it).
    std::function<std::string()> now;

public Q_SLOTS:
    void BAdd_Click();
    void BChange_Click();
    void cmdCopyInsert_Click();
    void BDelete_Click();
    void BExport_Click();

private:
    bool allowed() const;
    const clsPrinter* selected() const;
    void edit(const clsPrinter& printer);

    bool m_blnMayChange;
    long m_lngPartitionId = 0;
    bool m_blnPartitionsInUse = false;
    std::string m_strNetworkRoot;
    clsPrinters m_objPrinters;
    QTreeWidget* LVPrinters;
    QPushButton* BAdd;
    QPushButton* BChange;
    QPushButton* cmdCopyInsert;
    QPushButton* BDelete;
    QPushButton* BExport;
    QPushButton* BOK;
    QPushButton* cmdHelp;
};

} // namespace printers
