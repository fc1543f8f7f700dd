#include "OutputReport.h"

#include "OutputListModel.h"

#include <QPrinter>
#include <QTextDocument>

namespace outputlog {

void PrintOutputReport(QPrinter& printer, const std::string& heading, const std::vector<OutputRow>& rows) {
    // Account, type, time, status, patient and destination: what fits a portrait page.
    static const int columns[] = {0, 1, 2, 3, 5, 15};
    QString html = "<h3>" + QString::fromStdString(heading).toHtmlEscaped() + "</h3><table cellspacing=\"2\"><tr>";
    OutputListModel headings;
    for (int c : columns)
        html += "<th align=\"left\">" + headings.headerData(c, Qt::Horizontal).toString().toHtmlEscaped() + "</th>";
    html += "</tr>";
    for (const auto& row : rows) {
        html += "<tr>";
        for (int c : columns)
            html += "<td>" + OutputListModel::cellText(row, c).toHtmlEscaped() + "</td>";
        html += "</tr>";
    }
    html += "</table>";
    QTextDocument document;
    document.setHtml(html);
    document.print(&printer);
}

} // namespace outputlog
