#include "PrinterListExport.h"

#include "Desktop.h"
#include "Utf8.h"

#include <cstdio>
#include <fstream>

namespace printers {

namespace {

constexpr size_t kLabelWidth = 39;

// Padded by characters, so a label is as wide as the editor shows it.
std::string line(const std::string& label, const std::string& value) {
    std::string padded = label;
    const size_t width = platform::utf8Length(label);
    if (width < kLabelWidth)
        padded.append(kLabelWidth - width, ' ');
    return padded + value + "\n";
}

std::string idText(long id) {
    char text[24];
    std::snprintf(text, sizeof text, "%03ld", id);
    return text;
}

} // namespace

std::string DetailedPrinterList(const clsPrinters& list, const std::string& dateTime) {
    const auto& formats = list.Formats();
    std::string out = "Detailed Veltra Text System Printer List     " + dateTime + "\n";
    for (const auto& p : list.Printers()) {
        if (!list.SeenByPartition(p.m_lngPrinterId))
            continue;
        out += "\n" + std::string(78, '=') + "\n";
        out += "PRINTER " + idText(p.m_lngPrinterId) + ":  " + p.m_strDescription + "\n";
        out += "QUEUE:        " + p.m_strPrintQueue + "\n";
        out += "\n-COPIES AND STAT FAX-\n";
        out += line("Type:", SaveTypeText(p.m_bytSaveType));
        out += line("Output Directory:", p.m_strSaveToDirectory);
        out += line("Default Copies Bin:", BinText(p.m_bytDefaultBin));
        out += line("Default Footer Type:", FooterTypeText(p.m_bytDefaultFooterType, false));
        out += line("Designator Footer Replacement Format:", FooterFormatText(p.m_lngFlag1, formats));
        out += line("Default Copies Print Macro:", p.m_strDefaultPrintMacro);
        out += "\n-TESSALY SORT-\n";
        out += line("Summary Font:", p.m_strSummaryFont + " (" + std::to_string(p.m_intSummarySize) + ")");
        out += line("Summary Bin:", BinText(p.m_bytSummaryBin));
        out += line("Banner Bin:", BinText(p.m_bytBannerBin));
        out += "\n-ENVELOPE SETTINGS-\n";
        out += line("Envelope Template:", p.m_strEnvelopeTemplate);
        out += line("Envelope Bin:", BinText(static_cast<int>(p.m_lngFlag2)));
        out += line("Envelope Macro:", p.m_strEnvelopeMacro);
        out += "\n-ORIGINALS-\n";
        out += line("Default Originals Bin", BinText(p.m_bytOrigDefaultBin));
        out += line("Footer Replacement Format:", FooterFormatText(p.m_lngOrigFooterFormat, formats));
        out += line("Default Originals Print Macro:", p.m_strOrigPrintMacro);
    }
    return out;
}

std::string ExportDetailedList(const clsPrinters& list, const std::string& networkRoot, const std::string& dateTime) {
    const std::string path = networkRoot + "/KALDRA/NPTEMP.TXT";
    {
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        if (!file)
            return {};
        file << DetailedPrinterList(list, dateTime);
        if (!file)
            return {};
    }
    platform::DesktopOpener::instance().openTextFile(path);
    return path;
}

} // namespace printers
