#pragma once

#include <string>
#include <vector>

namespace users {

// One printer offered on the printer privileges screen with the edited id's own rights and the
// rights it already has through its groups.
struct clsPrinterPrivilege {
    long m_lngPrinterId = 0;
    std::string m_strName;
    bool m_blnCopyAccess = false;
    bool m_blnOriginalAccess = false;
    bool m_blnGroupCopyAccess = false;
    bool m_blnGroupOriginalAccess = false;
};

// The copy and original printing rights of one user or group per system printer.
class clsPrinterPrivileges {
public:
    static constexpr const char* kAllNewPrinters = "< All New Printers >";

    // Reads the printers of the id's partition tree (never fax printers) with the own rights and
    // those of the groups; "< All New Printers >" (printer 0) comes first.
    bool Load(long id, const std::string& name, bool isGroup, long partitionId, const std::vector<long>& groupIds,
              bool partitionsInUse);
    // Rewrites the own rights: one row per printer with at least one, then the system log line.
    bool Save();

    void SetAll(bool on);

    [[nodiscard]] static std::string LoadStatement(long id, const std::vector<long>& groupIds, long partitionId,
                                                   bool partitionsInUse);
    [[nodiscard]] std::vector<clsPrinterPrivilege>& Printers() { return m_colPrinters; }
    [[nodiscard]] const std::vector<clsPrinterPrivilege>& Printers() const { return m_colPrinters; }

private:
    clsPrinterPrivilege& printer(long printerId, const std::string& name);

    long m_lngId = 0;
    std::string m_strName;
    bool m_blnIsGroup = false;
    std::vector<clsPrinterPrivilege> m_colPrinters;
};

} // namespace users
