#pragma once

#include "clsPrinterPrivileges.h"

#include <QDialog>

#include <string>
#include <vector>

class QCheckBox;
class QGridLayout;

namespace users {

// The printer privileges screen: copy and original printing per system printer for one user or
// group, with the rights a user has through its groups shown read-only beside its own.
class UA_Printer_Privs : public QDialog {
    Q_OBJECT
public:
    explicit UA_Printer_Privs(QWidget* parent = nullptr);

    // Reads the printers and rights; false when they could not be read (the error was shown).
    bool LoadForm(long id, const std::string& name, bool isGroup, long partitionId, bool partitionsInUse);

    [[nodiscard]] clsPrinterPrivileges& Privileges() { return m_privileges; }
    // The own or group checkbox of a row ("chkCopies", "chkOriginals", "chkCopiesGroup",
    // "chkOriginalsGroup"); nullptr when there is no such row.
    [[nodiscard]] QCheckBox* RowBox(const char* control, int row) const;

private Q_SLOTS:
    void cmdSelectAll_Click();
    void cmdClearAll_Click();
    void cmdOK_Click();

private:
    struct Row {
        QCheckBox* copies = nullptr;
        QCheckBox* originals = nullptr;
        QCheckBox* copiesGroup = nullptr;
        QCheckBox* originalsGroup = nullptr;
    };
    void showRows();

    clsPrinterPrivileges m_privileges;
    bool m_blnIsGroup = false;
    QWidget* m_rowsHolder = nullptr;
    QGridLayout* m_grid = nullptr;
    std::vector<Row> m_rows;
};

} // namespace users
