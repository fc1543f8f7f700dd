#pragma once

#include "OutputRow.h"

#include <string>
#include <vector>

class QPrinter;

namespace outputlog {

// The printed list: the title with the date range, then one line per output with the list's
// columns. Pages break where the text engine puts them.
void PrintOutputReport(QPrinter& printer, const std::string& heading, const std::vector<OutputRow>& rows);

} // namespace outputlog
