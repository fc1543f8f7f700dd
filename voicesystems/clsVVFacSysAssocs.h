#pragma once

#include "clsVVFacSysAssoc.h"

#include <memory>
#include <string>
#include <vector>

namespace voicesystems {

// The systems and facilities that apply to a set of accounts, keyed by system and facility, in the
// order of system name and facility.
class clsVVFacSysAssocs {
public:
    static constexpr const char* kBadKey = "Key value invalid";
    static constexpr const char* kBadKeySource = "VoiceFacilitySystemAssociations.VoiceFacilitySystemLink";

    [[nodiscard]] int Count() const { return static_cast<int>(m_items.size()); }
    [[nodiscard]] std::vector<clsVVFacSysAssoc*> NewEnum();
    // By 1-based position or by key; nullptr and LastError() set to kBadKey for a bad key.
    [[nodiscard]] clsVVFacSysAssoc* Item(int index);
    [[nodiscard]] clsVVFacSysAssoc* Item(const std::string& key);
    [[nodiscard]] clsVVFacSysAssoc* FindByIds(int systemId, long facility);
    bool Remove(const std::string& key); // false (kBadKey) for a key not in the collection
    void RemoveAll() { m_items.clear(); }
    [[nodiscard]] const std::string& LastError() const { return m_error; }

    // The associations of the accounts of a comma-separated id list, replacing what was loaded.
    bool LoadByAccts(const std::string& ids);
    // Adds the associations of further accounts.
    bool AddByAccts(const std::string& ids);
    [[nodiscard]] static std::string LoadStatement(const std::string& ids);

private:
    std::vector<std::unique_ptr<clsVVFacSysAssoc>> m_items;
    std::string m_error;
};

} // namespace voicesystems
