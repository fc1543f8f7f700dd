#include "PR_Add_Printer.h"

#include "HelpFile.h"
#include "MessageService.h"
#include "PR_Custom_Printers.h"
#include "PrinterCombos.h"
#include "PrinterRules.h"
#include "PrinterTestPage.h"
#include "clsPrinterTrays.h"
#include "clsPrinters.h"

#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFontDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace printers {

using platform::MsgBox;
using platform::MsgButtons;
using platform::MsgIcon;

namespace {

template <typename T>
T* named(T* widget, const char* name) {
    widget->setObjectName(name);
    return widget;
}

QLineEdit* field(const char* name, size_t limit) {
    auto* edit = named(new QLineEdit, name);
    edit->setMaxLength(static_cast<int>(limit));
    return edit;
}

std::vector<std::pair<int, std::string>> footerTypes(bool originals) {
    return {{1, FooterTypeText(1, originals)}, {2, FooterTypeText(2, originals)}, {3, FooterTypeText(3, originals)}};
}

std::string text(const QLineEdit* edit) {
    return edit->text().toStdString();
}

} // namespace

PR_Add_Printer::PR_Add_Printer(clsPrinters& list, const std::string& networkRoot, QWidget* parent)
    : QDialog(parent), m_objList(list), m_strNetworkRoot(networkRoot) {
    setObjectName("PR_Add_Printer");
    LDescription = field("LDescription", PrinterLimits::Description);
    LPrintQueue = field("LPrintQueue", PrinterLimits::PrintQueue);
    BShowPrinters = named(new QPushButton(tr("Select &Printer")), "BShowPrinters");
    SSTab1 = named(new QTabWidget, "SSTab1");

    CBSaveType = named(new QComboBox, "CBSaveType");
    FillCodes(CBSaveType, {{0, SaveTypeText(0)}, {1, SaveTypeText(1)}});
    LSaveDirectory = field("LSaveDirectory", PrinterLimits::SaveDirectory);
    CBDefaultBin = named(new QComboBox, "CBDefaultBin");
    CBDefaultFooterType = named(new QComboBox, "CBDefaultFooterType");
    cmbDesignatorFooter = named(new QComboBox, "cmbDesignatorFooter");
    LMacroName = field("LMacroName", PrinterLimits::PrintMacro);
    cmdCustomFormat = named(new QPushButton(tr("Custom &Formats...")), "cmdCustomFormat");

    LSummaryFont = named(new QLabel, "LSummaryFont");
    txtFontName = field("txtFontName", PrinterLimits::SummaryFont);
    txtFontSize = field("txtFontSize", 4);
    BShowFont = named(new QPushButton(tr("Select F&ont")), "BShowFont");
    CBBannerBin = named(new QComboBox, "CBBannerBin");
    CBSummaryBin = named(new QComboBox, "CBSummaryBin");

    cmbEnvelopeTemplate = named(new QComboBox, "cmbEnvelopeTemplate");
    cmbEnvelopeBin = named(new QComboBox, "cmbEnvelopeBin");
    txtEnvelopeMacro = field("txtEnvelopeMacro", PrinterLimits::EnvelopeMacro);

    CBDefaultOrigBin = named(new QComboBox, "CBDefaultOrigBin");
    CBDefaultOrigFooterType = named(new QComboBox, "CBDefaultOrigFooterType");
    CBOrigFooterFormat = named(new QComboBox, "CBOrigFooterFormat");
    LOrigMacroName = field("LOrigMacroName", PrinterLimits::PrintMacro);
    cmdCustomOrigFormat = named(new QPushButton(tr("Custom Fo&rmats...")), "cmdCustomOrigFormat");

    cmdOK = named(new QPushButton(tr("&OK")), "cmdOK");
    cmdCancel = named(new QPushButton(tr("&Cancel")), "cmdCancel");
    cmdHelp = named(new QPushButton(tr("&Help")), "cmdHelp");
    cmdTestPage = named(new QPushButton(tr("Print Test Pa&ge")), "cmdTestPage");
    cmdOK->setDefault(true);

    FillCodes(CBDefaultFooterType, footerTypes(false));
    FillCodes(CBDefaultOrigFooterType, footerTypes(true));

    auto* top = new QFormLayout;
    top->addRow(tr("&Description:"), LDescription);
    auto* queueRow = new QHBoxLayout;
    queueRow->addWidget(LPrintQueue);
    queueRow->addWidget(BShowPrinters);
    top->addRow(tr("Print &Queue:"), queueRow);

    auto* copies = new QWidget;
    auto* copiesForm = new QFormLayout(copies);
    copiesForm->addRow(tr("&Type:"), CBSaveType);
    copiesForm->addRow(tr("Output Directory:"), LSaveDirectory);
    copiesForm->addRow(tr("Default Copies Bin:"), CBDefaultBin);
    copiesForm->addRow(tr("Default Footer Type:"), CBDefaultFooterType);
    copiesForm->addRow(tr("Designator Footer Replacement Format:"), cmbDesignatorFooter);
    copiesForm->addRow(tr("Default Copies Print Macro:"), LMacroName);
    copiesForm->addRow(QString(), cmdCustomFormat);
    SSTab1->addTab(copies, tr("Copies and Stat Fax"));

    auto* sort = new QWidget;
    auto* sortForm = new QFormLayout(sort);
    sortForm->addRow(tr("Summary Font:"), LSummaryFont);
    sortForm->addRow(tr("Font Name:"), txtFontName);
    sortForm->addRow(tr("Font Size:"), txtFontSize);
    sortForm->addRow(QString(), BShowFont);
    sortForm->addRow(tr("Summary Bin:"), CBSummaryBin);
    sortForm->addRow(tr("Banner Bin:"), CBBannerBin);
    SSTab1->addTab(sort, tr("Sort"));

    auto* envelope = new QWidget;
    auto* envelopeForm = new QFormLayout(envelope);
    envelopeForm->addRow(tr("Envelope Template:"), cmbEnvelopeTemplate);
    envelopeForm->addRow(tr("Envelope Bin:"), cmbEnvelopeBin);
    envelopeForm->addRow(tr("Envelope Macro:"), txtEnvelopeMacro);
    SSTab1->addTab(envelope, tr("Envelopes"));

    auto* originals = new QWidget;
    auto* originalsForm = new QFormLayout(originals);
    originalsForm->addRow(tr("Default Originals Bin:"), CBDefaultOrigBin);
    originalsForm->addRow(tr("Default Footer Type:"), CBDefaultOrigFooterType);
    originalsForm->addRow(tr("Footer Replacement Format:"), CBOrigFooterFormat);
    originalsForm->addRow(tr("Default Originals Print Macro:"), LOrigMacroName);
    originalsForm->addRow(QString(), cmdCustomOrigFormat);
    SSTab1->addTab(originals, tr("Originals"));
    // Databases without the extended table keep no settings for originals.
    originals->setEnabled(clsPrinters::OriginalsInUse());

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdTestPage);
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    buttons->addWidget(cmdHelp);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(SSTab1);
    layout->addLayout(buttons);

    connect(cmdOK, &QPushButton::clicked, this, &PR_Add_Printer::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmdHelp, &QPushButton::clicked, this, [] { foundation::HelpFile::Show(); });
    connect(BShowPrinters, &QPushButton::clicked, this, &PR_Add_Printer::BShowPrinters_Click);
    connect(BShowFont, &QPushButton::clicked, this, &PR_Add_Printer::BShowFont_Click);
    connect(cmdTestPage, &QPushButton::clicked, this, &PR_Add_Printer::cmdTestPage_Click);
    connect(cmdCustomFormat, &QPushButton::clicked, this, &PR_Add_Printer::cmdCustomFormat_Click);
    connect(cmdCustomOrigFormat, &QPushButton::clicked, this, &PR_Add_Printer::cmdCustomOrigFormat_Click);
    connect(txtFontName, &QLineEdit::textChanged, this, &PR_Add_Printer::showFont);
    connect(txtFontSize, &QLineEdit::textChanged, this, &PR_Add_Printer::showFont);
    connect(CBSaveType, &QComboBox::currentIndexChanged, this, &PR_Add_Printer::enableSaveDirectory);
    connect(LPrintQueue, &QLineEdit::editingFinished, this, &PR_Add_Printer::fillBins);
    fillBins();
}

// The bins offered are the trays of the queue as this workstation knows it, or the whole bin table
// for a queue it does not know; each list keeps the bin chosen before, even one the queue lacks.
void PR_Add_Printer::fillBins() {
    const std::string queue = text(LPrintQueue);
    auto& trays = PrinterTrays();
    const auto choices = trays.BinChoices(queue);
    const auto& known = trays.Trays(queue);
    for (QComboBox* bins : {CBDefaultBin, CBBannerBin, CBSummaryBin, cmbEnvelopeBin, CBDefaultOrigBin}) {
        const int chosen = SelectedCode(bins);
        FillCodes(bins, choices);
        for (int i = 0; known && i < bins->count(); ++i)
            for (const auto& tray : *known)
                if (tray.m_intCode == bins->itemData(i).toInt())
                    bins->setItemData(i, QString::fromStdString(tray.m_strQueueName), Qt::ToolTipRole);
        SelectCode(bins, chosen, BinText(chosen));
    }
}

void PR_Add_Printer::fillFormatLists(long copies, long originals) {
    std::vector<std::pair<int, std::string>> formats = FooterFormatNames();
    for (const auto& f : m_objList.Formats())
        formats.emplace_back(static_cast<int>(f.m_lngFormatId), FooterFormatText(f.m_lngFormatId, m_objList.Formats()));
    FillCodes(cmbDesignatorFooter, formats);
    FillCodes(CBOrigFooterFormat, formats);
    SelectCode(cmbDesignatorFooter, copies, FooterFormatText(copies, m_objList.Formats()));
    SelectCode(CBOrigFooterFormat, originals, FooterFormatText(originals, m_objList.Formats()));
}

void PR_Add_Printer::Load(const clsPrinter& p) {
    m_lngPrinterId = p.m_lngPrinterId;
    m_lngPartitionId = p.m_lngPartitionId;
    setWindowTitle(p.m_lngPrinterId == 0 ? QStringLiteral("Add Printer")
                                         : QString::fromStdString("Edit Printer - " + p.m_strDescription));
    LDescription->setText(QString::fromStdString(p.m_strDescription));
    LPrintQueue->setText(QString::fromStdString(p.m_strPrintQueue));
    fillBins();
    SelectCode(CBSaveType, p.m_bytSaveType, SaveTypeText(p.m_bytSaveType));
    LSaveDirectory->setText(QString::fromStdString(p.m_strSaveToDirectory));
    SelectCode(CBDefaultBin, p.m_bytDefaultBin, BinText(p.m_bytDefaultBin));
    SelectCode(CBDefaultFooterType, p.m_bytDefaultFooterType, FooterTypeText(p.m_bytDefaultFooterType, false));
    LMacroName->setText(QString::fromStdString(p.m_strDefaultPrintMacro));
    txtFontName->setText(QString::fromStdString(p.m_strSummaryFont));
    txtFontSize->setText(QString::number(p.m_intSummarySize));
    SelectCode(CBBannerBin, p.m_bytBannerBin, BinText(p.m_bytBannerBin));
    SelectCode(CBSummaryBin, p.m_bytSummaryBin, BinText(p.m_bytSummaryBin));
    // The envelope templates are the ENV*.DOC files of the site's system folder.
    cmbEnvelopeTemplate->clear();
    const QDir system(QString::fromStdString(m_strNetworkRoot + "/KALDRA/SYSTEM"));
    for (const QString& file : system.entryList({"ENV*.DOC", "Env*.doc", "env*.doc"}, QDir::Files, QDir::Name))
        if (cmbEnvelopeTemplate->findText(file) < 0)
            cmbEnvelopeTemplate->addItem(file);
    const QString envelope =
        QString::fromStdString(p.m_strEnvelopeTemplate.empty() ? "EnvDefault.doc" : p.m_strEnvelopeTemplate);
    if (cmbEnvelopeTemplate->findText(envelope) < 0)
        cmbEnvelopeTemplate->addItem(envelope);
    cmbEnvelopeTemplate->setCurrentIndex(cmbEnvelopeTemplate->findText(envelope));
    SelectCode(cmbEnvelopeBin, p.m_lngFlag2, BinText(static_cast<int>(p.m_lngFlag2)));
    txtEnvelopeMacro->setText(QString::fromStdString(p.m_strEnvelopeMacro));
    SelectCode(CBDefaultOrigBin, p.m_bytOrigDefaultBin, BinText(p.m_bytOrigDefaultBin));
    SelectCode(CBDefaultOrigFooterType, p.m_bytOrigFooterType, FooterTypeText(p.m_bytOrigFooterType, true));
    LOrigMacroName->setText(QString::fromStdString(p.m_strOrigPrintMacro));
    fillFormatLists(p.m_lngFlag1, p.m_lngOrigFooterFormat);
    enableSaveDirectory();
    showFont();
}

clsPrinter PR_Add_Printer::Collect() const {
    clsPrinter p;
    p.m_lngPrinterId = m_lngPrinterId;
    p.m_lngPartitionId = m_lngPartitionId;
    p.m_strDescription = text(LDescription);
    p.m_strPrintQueue = text(LPrintQueue);
    p.m_strSummaryFont = text(txtFontName);
    p.m_intSummarySize = ParseFontSize(text(txtFontSize)).value_or(0);
    p.m_bytBannerBin = SelectedCode(CBBannerBin);
    p.m_bytSummaryBin = SelectedCode(CBSummaryBin);
    p.m_bytSaveType = SelectedCode(CBSaveType);
    p.m_strSaveToDirectory = text(LSaveDirectory);
    p.m_bytDefaultBin = SelectedCode(CBDefaultBin);
    p.m_bytDefaultFooterType = SelectedCode(CBDefaultFooterType);
    p.m_strDefaultPrintMacro = text(LMacroName);
    p.m_lngFlag1 = SelectedCode(cmbDesignatorFooter);
    p.m_lngFlag2 = SelectedCode(cmbEnvelopeBin);
    p.m_strEnvelopeTemplate = cmbEnvelopeTemplate->currentText().toStdString();
    p.m_strEnvelopeMacro = text(txtEnvelopeMacro);
    p.m_bytOrigDefaultBin = SelectedCode(CBDefaultOrigBin);
    p.m_bytOrigFooterType = SelectedCode(CBDefaultOrigFooterType);
    p.m_strOrigPrintMacro = text(LOrigMacroName);
    p.m_lngOrigFooterFormat = SelectedCode(CBOrigFooterFormat);
    return p;
}

bool PR_Add_Printer::EditPrinter(const clsPrinter& printer) {
    Load(printer);
    return exec() == QDialog::Accepted;
}

void PR_Add_Printer::cmdOK_Click() {
    const clsPrinter p = Collect();
    const PrinterCheck check = CheckPrinter(p, text(txtFontSize), m_objList);
    if (!check.m_strMessage.empty()) {
        MsgBox(check.m_strMessage, MsgButtons::OK, MsgIcon::Exclamation, "Error");
        QWidget* focus = nullptr;
        switch (check.m_enuField) {
        case PrinterField::Description:
            focus = LDescription;
            break;
        case PrinterField::SummaryFont:
            focus = txtFontName;
            break;
        case PrinterField::PrintQueue:
            focus = LPrintQueue;
            break;
        case PrinterField::FontSize:
            focus = txtFontSize;
            break;
        case PrinterField::SaveDirectory:
            focus = LSaveDirectory;
            break;
        case PrinterField::None:
            break;
        }
        if (focus) {
            for (int i = 0; i < SSTab1->count(); ++i)
                if (SSTab1->widget(i)->isAncestorOf(focus))
                    SSTab1->setCurrentIndex(i);
            focus->setFocus();
        }
        return;
    }
    if (check.m_blnDuplicate &&
        MsgBox("A printer with the same description has already been defined.  Would you still like to add this "
               "printer?",
               MsgButtons::YesNo, MsgIcon::Question, "Add Printer") != platform::MsgAnswer::Yes) {
        LDescription->setFocus();
        return;
    }
    if (m_objList.SavePrinter(p))
        accept();
    else
        reject(); // the list was read again: the screen behind shows what the database holds
}

void PR_Add_Printer::BShowPrinters_Click() {
    const QStringList names = QPrinterInfo::availablePrinterNames();
    if (names.isEmpty()) {
        MsgBox("There are no printers to select from.", MsgButtons::OK, MsgIcon::Exclamation, "Select Printer");
        return;
    }
    bool ok = false;
    const QString chosen =
        QInputDialog::getItem(this, tr("Select Printer"), tr("Printer:"), names,
                              static_cast<int>(std::max<qsizetype>(0, names.indexOf(LPrintQueue->text()))), false, &ok);
    if (!ok)
        return;
    LPrintQueue->setText(chosen);
    fillBins();
}

// One page to the queue as the editor shows it now, saved or not, so the settings can be tried first.
void PR_Add_Printer::cmdTestPage_Click() {
    const clsPrinter p = Collect();
    if (p.m_strPrintQueue.empty()) {
        MsgBox("Print Queue cannot be blank.", MsgButtons::OK, MsgIcon::Exclamation, "Error");
        LPrintQueue->setFocus();
        return;
    }
    const std::string when = now ? now() : QDateTime::currentDateTime().toString("MM/dd/yyyy hh:mm AP").toStdString();
    const int job = PrintTestPage(p, when);
    if (job == 0) {
        MsgBox("The print queue " + p.m_strPrintQueue + " is not installed on this workstation.", MsgButtons::OK,
               MsgIcon::Exclamation, "Print Test Page");
        return;
    }
    if (job < 0) {
        MsgBox("The test page could not be sent to " + p.m_strPrintQueue + ".", MsgButtons::OK, MsgIcon::Exclamation,
               "Print Test Page");
        return;
    }
    MsgBox("A test page was sent to " + p.m_strPrintQueue + ".", MsgButtons::OK, MsgIcon::Information,
           "Print Test Page");
}

void PR_Add_Printer::BShowFont_Click() {
    bool ok = false;
    QFont initial(txtFontName->text(), ParseFontSize(text(txtFontSize)).value_or(10));
    const QFont font = QFontDialog::getFont(&ok, initial, this, tr("Select Font"));
    if (!ok)
        return;
    txtFontName->setText(font.family());
    txtFontSize->setText(QString::number(font.pointSize()));
}

void PR_Add_Printer::showFont() {
    LSummaryFont->setText(txtFontName->text() + " (" + txtFontSize->text() + ")");
}

void PR_Add_Printer::enableSaveDirectory() {
    LSaveDirectory->setEnabled(SelectedCode(CBSaveType) == 1);
}

void PR_Add_Printer::cmdCustomFormat_Click() {
    PR_Custom_Printers formats(m_objList, this);
    formats.ShowForm();
    fillFormatLists(SelectedCode(cmbDesignatorFooter), SelectedCode(CBOrigFooterFormat));
}

void PR_Add_Printer::cmdCustomOrigFormat_Click() {
    cmdCustomFormat_Click();
}

} // namespace printers
