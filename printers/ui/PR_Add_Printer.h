#pragma once

#include "clsPrinter.h"

#include <QDialog>

#include <functional>
#include <string>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace printers {

class clsPrinters;

// The printer editor, "Add Printer" or "Edit Printer - " + description: the queue, the summary
// font, and on tabs the settings for copies, the sort, envelopes and originals.
class PR_Add_Printer : public QDialog {
    Q_OBJECT
public:
    PR_Add_Printer(clsPrinters& list, const std::string& networkRoot, QWidget* parent = nullptr);

    // Fills the editor from the printer (id 0 for a new one) and shows it modally; true when the
    // printer was saved.
    bool EditPrinter(const clsPrinter& printer);
    // Fills the controls without showing the dialog (EditPrinter does this first).
    void Load(const clsPrinter& printer);
    [[nodiscard]] clsPrinter Collect() const;
    // The time the test page is stamped with (tests fix it).
    std::function<std::string()> now;

public Q_SLOTS:
    void cmdOK_Click();
    void BShowPrinters_Click();
    void BShowFont_Click();
    void cmdTestPage_Click();
    void cmdCustomFormat_Click();
    void cmdCustomOrigFormat_Click();

private:
    void fillFormatLists(long copies, long originals);
    void fillBins();
    void showFont();
    void enableSaveDirectory();

    clsPrinters& m_objList;
    std::string m_strNetworkRoot;
    long m_lngPrinterId = 0;
    long m_lngPartitionId = 0; // where the printer's originals row goes when the save adds it

    QLineEdit* LDescription;
    QLineEdit* LPrintQueue;
    QPushButton* BShowPrinters;
    QTabWidget* SSTab1;
    QComboBox* CBSaveType;
    QLineEdit* LSaveDirectory;
    QComboBox* CBDefaultBin;
    QComboBox* CBDefaultFooterType;
    QComboBox* cmbDesignatorFooter;
    QLineEdit* LMacroName;
    QPushButton* cmdCustomFormat;
    QLabel* LSummaryFont;
    QLineEdit* txtFontName;
    QLineEdit* txtFontSize;
    QPushButton* BShowFont;
    QComboBox* CBBannerBin;
    QComboBox* CBSummaryBin;
    QComboBox* cmbEnvelopeTemplate;
    QComboBox* cmbEnvelopeBin;
    QLineEdit* txtEnvelopeMacro;
    QComboBox* CBDefaultOrigBin;
    QComboBox* CBDefaultOrigFooterType;
    QComboBox* CBOrigFooterFormat;
    QLineEdit* LOrigMacroName;
    QPushButton* cmdCustomOrigFormat;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
    QPushButton* cmdHelp;
    QPushButton* cmdTestPage;
};

} // namespace printers
