#pragma once

#include "clsPrinter.h"

#include <optional>
#include <string>

namespace printers {

class clsPrinters;

// The editor fields a failed check sends the user back to.
enum class PrinterField { None, Description, SummaryFont, PrintQueue, FontSize, SaveDirectory };

struct PrinterCheck {
    std::string m_strMessage; // empty when every check passed
    PrinterField m_enuField = PrinterField::None;
    bool m_blnDuplicate = false; // the description is another printer's: ask before saving
};

// A font size as typed: a whole number in ASCII digits, blanks around it allowed. "10,5", "10.5" and
// an empty field are no size at all, whatever the workstation's number format.
std::optional<int> ParseFontSize(const std::string& text);

// The editor's checks in order; the first failing one gives its message and field. The duplicate
// description is not a failure but a question, reported by m_blnDuplicate after the others pass.
PrinterCheck CheckPrinter(const clsPrinter& printer, const std::string& fontSizeText, const clsPrinters& list);

} // namespace printers
