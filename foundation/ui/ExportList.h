#pragma once

class QWidget;

namespace foundation {

// Writes a list view (its visible columns and rows, padded to the column widths) or a list box (one
// entry a line) to the export file and opens it in the text editor. Without a control, the focused
// control of the active window is taken; anything that is not such a list is refused with the
// message to click on a list first.
void ExportList(QWidget* control = nullptr);

} // namespace foundation
