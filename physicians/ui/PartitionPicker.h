#pragma once

#include <QDialog>

#include <string>

class QComboBox;
class QPushButton;

namespace physicians {

// The common body of the two partition pickers: one combo box of partition names (the id as each
// item's data), OK and Cancel. OK records true, Cancel false; both hide the dialog.
class PartitionPicker : public QDialog {
    Q_OBJECT
public:
    [[nodiscard]] bool Result() const { return m_blnOK; }

protected:
    PartitionPicker(const char* name, const QString& title, const QString& prompt, QWidget* parent);
    // The cached partitions whose ids are in the comma list, in cache order; selects the one with
    // preselectId, or the first.
    void fill(const std::string& list, long preselectId);
    [[nodiscard]] long selectedId() const;
    bool pick(); // shows the dialog modally; true when OK was pressed

private:
    void cmdOK_Click();
    void cmdCancel_Click();

    QComboBox* cboPartition;
    QPushButton* cmdOK;
    bool m_blnOK = false;
};

} // namespace physicians
