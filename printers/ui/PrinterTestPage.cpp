#include "PrinterTestPage.h"

#include "PrintQueues.h"
#include "PrinterText.h"
#include "clsPrinterTrays.h"

#include <QFont>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryDir>

namespace printers {

void DrawTestPage(QPrinter& printer, const clsPrinter& p, const std::string& when) {
    printer.setDocName(QStringLiteral("Test Page - %1").arg(QString::fromStdString(p.m_strDescription)));
    QPainter painter(&printer);
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    QFont plain("Courier New", 11);
    painter.setFont(plain);
    const int line = painter.fontMetrics().lineSpacing();
    int y = line;
    auto write = [&](const std::string& text) {
        painter.drawText(QRect(0, y, page.width(), line), Qt::AlignLeft, QString::fromStdString(text));
        y += line;
    };
    QFont title = plain;
    title.setPointSize(16);
    title.setBold(true);
    painter.setFont(title);
    painter.drawText(QRect(0, y, page.width(), 2 * line), Qt::AlignLeft, QStringLiteral("System Printer Test Page"));
    y += 3 * line;
    painter.setFont(plain);
    write("Printer:         " + p.m_strDescription);
    write("Print Queue:     " + p.m_strPrintQueue);
    write("Type:            " + SaveTypeText(p.m_bytSaveType));
    write("Copies Bin:      " + BinText(p.m_bytDefaultBin));
    write("Originals Bin:   " + BinText(p.m_bytOrigDefaultBin));
    write("Printed:         " + when);
    y += line;
    QFont summary(QString::fromStdString(p.m_strSummaryFont), p.m_intSummarySize > 0 ? p.m_intSummarySize : 10);
    painter.setFont(summary);
    painter.drawText(QRect(0, y, page.width(), 2 * line), Qt::AlignLeft,
                     QStringLiteral("Summary font: %1 (%2)")
                         .arg(QString::fromStdString(p.m_strSummaryFont))
                         .arg(p.m_intSummarySize));
    painter.end();
}

// The page is made as a PDF and handed to the scheduler with the job options, because the tray is a
// job option the print dialog's engine has no public way to pass.
int PrintTestPage(const clsPrinter& definition, const std::string& when) {
    const std::string& queue = definition.m_strPrintQueue;
    const QPrinterInfo info = QPrinterInfo::printerInfo(QString::fromStdString(queue));
    if (info.isNull())
        return 0;
    QTemporaryDir folder;
    if (!folder.isValid())
        return -1;
    const QString file = folder.filePath(QStringLiteral("testpage.pdf"));
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
        printer.setPageSize(info.defaultPageSize());
        DrawTestPage(printer, definition, when);
    }
    std::vector<std::pair<std::string, std::string>> options;
    if (const auto source = PrinterTrays().SourceOfBin(queue, definition.m_bytDefaultBin))
        options.emplace_back("media-source", *source);
    const int job = platform::PrintQueues::PrintFile(queue, file.toStdString(),
                                                     "Test Page - " + definition.m_strDescription, options);
    return job > 0 ? job : -1;
}

} // namespace printers
