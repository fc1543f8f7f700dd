#include "PhysicianListExport.h"

#include "ListExport.h"

#include <filesystem>
#include <utility>

namespace physicians {

namespace {
// Column headings and widths in characters; a field longer than its column is cut.
const std::pair<const char*, int> kColumns[] = {{"Last Name", 20},  {"First Name", 15},        {"Title", 8},
                                                {"Dict. Nbr.", 11}, {"MIS Nbr 1", 11},         {"MIS Nbr 2", 11},
                                                {"Fax Number", 14}, {"Group Affiliation", 20}, {"Status", 14}};
} // namespace

std::string PhysicianListExportText(const std::string& date,
                                    const std::vector<const clsPhysicianSummaryRecord*>& rows) {
    const std::string crlf = "\r\n";
    std::string text = "Physician Profile List - " + date + crlf + crlf;
    std::string heading;
    for (const auto& [name, width] : kColumns)
        heading += foundation::FitToWidth(name, width) + " ";
    text += heading + crlf + std::string(heading.size(), '=') + crlf;
    for (const clsPhysicianSummaryRecord* r : rows) {
        const std::string fields[] = {r->last_name, r->first_name, r->title_1,           r->dictation_id, r->mis_nbr_1,
                                      r->mis_nbr_2, r->fax_nbr_1,  r->group_affiliation, r->StatusText()};
        std::string line;
        for (size_t i = 0; i < std::size(kColumns); ++i)
            line += foundation::FitToWidth(fields[i], kColumns[i].second) + " ";
        text += line + crlf;
    }
    text += crlf;
    for (const char* p = kStatusLetters; *p; ++p) {
        const std::string label = StatusLabel(*p);
        text += std::string(1, *p) + "=" + label.substr(label.find(" - ") + 3) + crlf;
    }
    text += crlf + "Total Physicians: " + std::to_string(rows.size()) + crlf;
    return text;
}

std::string PhysicianListExportFile(const std::string& rootDir) {
    return (std::filesystem::path(rootDir) / "KALDRA" / "TEMP" / "NPTEMP.TXT").string();
}

std::string PhysicianProfileInterfaceArguments(long userId, const std::string& userName, const std::string& password,
                                               const std::string& iniPath) {
    return " /UID=" + std::to_string(userId) + " /UNAME=" + userName + " /PASSWORD=" + password + " /INI=\"" + iniPath +
           "\"" + " /SHOWLOG" + " /SKIPBACKGROUND";
}

} // namespace physicians
