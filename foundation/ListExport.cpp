#include "ListExport.h"

#include "Configuration.h"
#include "Desktop.h"
#include "EventLog.h"
#include "Interaction.h"
#include "MessageService.h"
#include "Utf8.h"

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <fstream>

namespace foundation {

namespace fs = std::filesystem;

namespace {

std::string opening(const std::string& date) {
    return "List Contents\n" + date + "\n\n";
}

} // namespace

std::string FitToWidth(const std::string& text, int width) {
    std::string flat = text;
    for (char& c : flat)
        if (c == '\n' || c == '\r' || c == '\t')
            c = ' ';
    const size_t chars = width > 0 ? static_cast<size_t>(width) : 0;
    std::string cut = platform::utf8Left(flat, chars);
    cut.append(chars - platform::utf8Length(cut), ' ');
    return cut;
}

std::string ListViewExportText(const std::string& date, const std::vector<ListColumn>& columns,
                               const std::vector<std::vector<std::string>>& items) {
    std::string text = opening(date);
    size_t total = 0;
    for (const auto& c : columns) {
        text += FitToWidth(c.header, c.width);
        total += static_cast<size_t>(std::max(c.width, 0));
    }
    text += "\n" + std::string(total, '=') + "\n";
    for (const auto& item : items) {
        for (size_t i = 0; i < columns.size(); ++i)
            text += FitToWidth(i < item.size() ? item[i] : std::string(), columns[i].width);
        text += "\n";
    }
    return text;
}

std::string ListBoxExportText(const std::string& date, const std::vector<std::string>& entries) {
    std::string text = opening(date);
    for (const auto& e : entries)
        text += e + "\n";
    return text;
}

std::string ListExportDate() {
    const std::time_t t = platform::Clock::now();
    std::tm local{};
    localtime_r(&t, &local);
    char buf[64];
    const size_t n = std::strftime(buf, sizeof buf, EventLog::context().dateFormat.c_str(), &local);
    return std::string(buf, n);
}

std::string ListExportFile() {
    return (fs::path(Configuration::instance().networkRootDir) / "KALDRA" / "NPTEMP.TXT").string();
}

bool WriteListExport(const std::string& text) {
    return WriteListExportTo(ListExportFile(), text);
}

bool WriteListExportTo(const std::string& file, const std::string& text) {
    std::error_code ec;
    fs::remove(file, ec);
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out << text;
        if (!out.flush()) {
            platform::MsgBox("The list could not be written to " + file + ".", platform::MsgButtons::OK,
                             platform::MsgIcon::Exclamation, "Error");
            return false;
        }
    }
    if (!platform::DesktopOpener::instance().openTextFile(file)) {
        platform::MsgBox("Could not find a text editor to open " + file + ".", platform::MsgButtons::OK,
                         platform::MsgIcon::Exclamation, "Veltra Desktop");
        return false;
    }
    return true;
}

} // namespace foundation
