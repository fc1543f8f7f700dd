#pragma once

#include <string>
#include <utility>
#include <vector>

namespace printers {

struct clsCustomFormat {
    long m_lngFormatId = 0;
    std::string m_strDescription;
};

// The paper sources a printer definition names, in list order: the tray names the printer
// screens offer.
const std::vector<std::pair<int, std::string>>& PaperBinNames();
// A bin code as text: a named source, "Bin: n" for a source of the queue's own, "NONE" for none
// (a negative code).
std::string BinText(int code);
// Footer handling; code 1 reads differently for originals.
std::string FooterTypeText(int code, bool originals);
const std::vector<std::pair<int, std::string>>& FooterFormatNames();
// A footer format as text: the built-in formats, "CUSTOM n:  text" for the n-th custom format
// (from 1), else "UNKNOWN".
std::string FooterFormatText(long code, const std::vector<clsCustomFormat>& customs);
std::string SaveTypeText(int code); // "Standard Output" / "Print To File"
// The designator placeholders a custom footer may hold once.
inline constexpr const char* kPlaceholderLastFirst = "<Last, First, Title>";
inline constexpr const char* kPlaceholderFirstLast = "<First Last, Title>";
bool HasPlaceholder(const std::string& text);

} // namespace printers
