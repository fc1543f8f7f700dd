#pragma once

#include "clsPrinter.h"

#include <string>

class QPrinter;

namespace printers {

// One page that shows a system printer's settings, printed on its queue: the description, the
// queue, the bins for copies and originals, and a line in the summary font at its size.
void DrawTestPage(QPrinter& printer, const clsPrinter& definition, const std::string& when);

// Sends the test page to the printer's queue on this workstation, asking for the paper source of
// the copies bin when the queue has it. The job's id; 0 when the workstation has no queue of that
// name, -1 when the page could not be made or the scheduler refused it.
int PrintTestPage(const clsPrinter& definition, const std::string& when);

} // namespace printers
