#pragma once

#include <string>
#include <vector>

namespace foundation {

// The text file a list is exported to and opened from in the text editor.
struct ListColumn {
    std::string header;
    int width = 1; // characters
};

// "List Contents", the date and an empty line, then the heading line of the columns, each header
// cut or padded to its column's width, a line of "=" as wide as the heading, and one line per item
// with each text cut or padded the same way.
std::string ListViewExportText(const std::string& date, const std::vector<ListColumn>& columns,
                               const std::vector<std::vector<std::string>>& items);
// The same opening lines, then one entry a line.
std::string ListBoxExportText(const std::string& date, const std::vector<std::string>& entries);

// A text cut or padded with blanks to `width` characters; line breaks and tabs become blanks so
// that an item stays on its line.
std::string FitToWidth(const std::string& text, int width);

// Today's date in the region's date format.
std::string ListExportDate();
// "KALDRA/NPTEMP.TXT" under the network root.
std::string ListExportFile();
// Replaces the export file with the text and opens it in the text editor; a failure is shown.
bool WriteListExport(const std::string& text);
// The same for a list that has a file of its own.
bool WriteListExportTo(const std::string& file, const std::string& text);

} // namespace foundation
