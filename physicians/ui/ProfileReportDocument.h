#pragma once

#include "ProfileReportData.h"

#include <QString>

class QPrinter;
class QWidget;

namespace physicians {

// The physician profile report laid out from its rows and formulas: the account and form in the
// heading; a summary line per physician, or per physician the profile with the sections the
// formulas do not suppress (demographics, output, addendums, weighting).
QString ProfileReportHtml(const ProfileReportData& data, const QString& printedDate);

// Prints the report on printer (a queue, or a PDF file with QPrinter::PdfFormat).
void PrintProfileReport(QPrinter& printer, const ProfileReportData& data);

// The print preview, from which the user prints or saves the report as PDF.
void PreviewProfileReport(const ProfileReportData& data, QWidget* parent);

} // namespace physicians
