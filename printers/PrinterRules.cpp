#include "PrinterRules.h"

#include "Numbers.h"
#include "Text.h"
#include "clsPrinters.h"

namespace printers {

std::optional<int> ParseFontSize(const std::string& text) {
    const auto digits = platform::parseDigits(foundation::trimText(text));
    if (!digits || *digits > 1000)
        return std::nullopt;
    return static_cast<int>(*digits);
}

PrinterCheck CheckPrinter(const clsPrinter& printer, const std::string& fontSizeText, const clsPrinters& list) {
    using foundation::trimText;
    if (trimText(printer.m_strDescription).empty())
        return {"Description cannot be blank.", PrinterField::Description};
    if (trimText(printer.m_strSummaryFont).empty())
        return {"Summary Font Name cannot be blank.", PrinterField::SummaryFont};
    if (trimText(printer.m_strPrintQueue).empty())
        return {"Print Queue cannot be blank.", PrinterField::PrintQueue};
    const auto size = ParseFontSize(fontSizeText);
    if (!size || *size < 6 || *size > 16)
        return {"Invalid Font Size.  Please choose a size between 6 and 16.", PrinterField::FontSize};
    if (printer.m_bytSaveType == 1 && trimText(printer.m_strSaveToDirectory).empty())
        return {"For Type - Print To File an Output Directory name must be specified.", PrinterField::SaveDirectory};
    PrinterCheck passed;
    passed.m_blnDuplicate = list.DescriptionTaken(printer.m_strDescription, printer.m_lngPrinterId);
    return passed;
}

} // namespace printers
