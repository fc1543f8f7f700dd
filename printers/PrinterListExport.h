#pragma once

#include "clsPrinters.h"

#include <string>

namespace printers {

// The detailed printer list: a title with the date and time, then each printer's settings in
// sections, labels padded to 39 characters and codes shown as text.
std::string DetailedPrinterList(const clsPrinters& list, const std::string& dateTime);
// Writes the list to KALDRA/NPTEMP.TXT under the network root and opens it in the text editor.
// Returns the file's path, or "" when it could not be written.
std::string ExportDetailedList(const clsPrinters& list, const std::string& networkRoot, const std::string& dateTime);

} // namespace printers
