#pragma once

#include "clsPhysicianSummaryRecord.h"

#include <string>
#include <vector>

namespace physicians {

// The text of the physician list export: the heading with the date, the column headings, one line
// per physician shown, a legend line per status letter and the total.
std::string PhysicianListExportText(const std::string& date, const std::vector<const clsPhysicianSummaryRecord*>& rows);
// "KALDRA/TEMP/NPTEMP.TXT" under the network root.
std::string PhysicianListExportFile(const std::string& rootDir);

// The arguments the physician profile interface program is started with.
std::string PhysicianProfileInterfaceArguments(long userId, const std::string& userName, const std::string& password,
                                               const std::string& iniPath);
inline constexpr const char* kPhysicianProfileInterfaceTitle = "Physician Profile Interface";

} // namespace physicians
