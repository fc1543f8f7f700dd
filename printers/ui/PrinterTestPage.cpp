#include "PrinterTestPage.h"

#include "PrinterText.h"

#include <QFont>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

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

bool PrintTestPage(const clsPrinter& definition, const std::string& when) {
    const QPrinterInfo info = QPrinterInfo::printerInfo(QString::fromStdString(definition.m_strPrintQueue));
    if (info.isNull())
        return false;
    QPrinter printer(info);
    DrawTestPage(printer, definition, when);
    return true;
}

} // namespace printers
