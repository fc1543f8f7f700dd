#pragma once

#include <string>
#include <vector>

namespace voicesystems {

// One remote system and facility that applies to a physician, with the link's name format and the
// physician's accounts linked to it.
class clsVVFacSysAssoc {
public:
    int SystemId = 0;
    std::string SystemName;
    long FacilityId = 0;
    int NameFormat = 0;

    // From a comma-separated list of account ids ("3,17").
    void LoadAcctIds(const std::string& ids);
    void AddAcctId(long id);
    // Removes the ids of a comma-separated list; the number of ids left.
    int RemoveAcctIds(const std::string& ids);
    [[nodiscard]] int AcctIdsCount() const { return static_cast<int>(m_acctIds.size()); }
    [[nodiscard]] const std::vector<long>& AcctIds() const { return m_acctIds; }

    // The collection's key: "S" system "F" facility.
    [[nodiscard]] std::string Key() const { return KeyOf(SystemId, FacilityId); }
    [[nodiscard]] static std::string KeyOf(int systemId, long facility);

private:
    std::vector<long> m_acctIds;
};

// Decimal ids of a comma-separated list; items that are not numbers are left out.
std::vector<long> ParseIdList(const std::string& ids);

} // namespace voicesystems
