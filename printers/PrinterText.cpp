#include "PrinterText.h"

namespace printers {

const std::vector<std::pair<int, std::string>>& PaperBinNames() {
    static const std::vector<std::pair<int, std::string>> names = {
        {0, "Automatically Select"},
        {1, "Upper Paper Tray"},
        {2, "Lower Paper Tray"},
        {3, "Middle Paper Tray"},
        {4, "Manual Paper Feed"},
        {5, "Envelope Feeder"},
        {6, "Envelope, Manual Feed"},
        {7, "Auto Select"},
        {8, "Tractor Feeder"},
        {9, "Small Paper Feeder"},
        {10, "Large Paper Bin"},
        {11, "Large Capacity"},
        {14, "Cassette"},
        {15, "Form Source"},
    };
    return names;
}

std::string BinText(int code) {
    if (code < 0)
        return "NONE";
    for (const auto& [number, name] : PaperBinNames())
        if (number == code)
            return name;
    return "Bin: " + std::to_string(code);
}

std::string FooterTypeText(int code, bool originals) {
    switch (code) {
    case 1:
        return originals ? "Use Replacement Text" : "Replace With Designator Text";
    case 2:
        return "Leave Footer As Is";
    case 3:
        return "Clear Footer Text";
    default:
        return "UNKNOWN";
    }
}

const std::vector<std::pair<int, std::string>>& FooterFormatNames() {
    static const std::vector<std::pair<int, std::string>> names = {
        {0, "Copy for <Designator>"},
        {1, "Copy For <Designator>"},
        {2, "COPY FOR <Designator>"},
        {3, "<Designator>"},
        {4, "<Designator> Copy"},
        {5, "<Designator> COPY"},
        {6, "Original"},
        {7, "Medical Records"},
    };
    return names;
}

// The built-in formats come first: a custom format whose id is also a built-in code is only reached
// through ids above 7, which is what new custom formats get.
std::string FooterFormatText(long code, const std::vector<clsCustomFormat>& customs) {
    for (const auto& [number, name] : FooterFormatNames())
        if (number == code)
            return name;
    for (size_t i = 0; i < customs.size(); ++i)
        if (customs[i].m_lngFormatId == code)
            return "CUSTOM " + std::to_string(i + 1) + ":  " + customs[i].m_strDescription;
    return "UNKNOWN";
}

std::string SaveTypeText(int code) {
    return code == 1 ? "Print To File" : "Standard Output";
}

bool HasPlaceholder(const std::string& text) {
    return text.find(kPlaceholderLastFirst) != std::string::npos ||
           text.find(kPlaceholderFirstLast) != std::string::npos;
}

} // namespace printers
