#pragma once

#include "clsPrinter.h"

#include <string>

class QPrinter;

namespace printers {

// One page that shows a system printer's settings, printed on its queue: the description, the
// queue, the bins for copies and originals, and a line in the summary font at its size.
void DrawTestPage(QPrinter& printer, const clsPrinter& definition, const std::string& when);

// Sends the test page to the printer's queue on this workstation; false (nothing sent) when the
// workstation has no queue of that name.
bool PrintTestPage(const clsPrinter& definition, const std::string& when);

} // namespace printers
