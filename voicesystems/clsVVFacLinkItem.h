#pragma once

#include "clsVVBrokenRules.h"

#include <functional>
#include <optional>
#include <string>

namespace voicesystems {

// One facility link: a suite account corresponds to a facility of a remote voice system
// (a voice_facility_links row, identified by system, facility and account together).
class clsVVFacLinkItem {
public:
    struct Values {
        int systemId = 0;
        long facilityId = 0;
        long hospAcctId = 0;
        int flags[4] = {0, 0, 0, 0}; // flag1: the link's name format
        bool operator==(const Values& o) const {
            return systemId == o.systemId && facilityId == o.facilityId && hospAcctId == o.hospAcctId &&
                   flags[0] == o.flags[0] && flags[1] == o.flags[1] && flags[2] == o.flags[2] && flags[3] == o.flags[3];
        }
    };

    clsVVFacLinkItem();
    static clsVVFacLinkItem FromRow(const Values& v);

    [[nodiscard]] int SystemId() const { return m_v.systemId; }
    void SetSystemId(int v);
    [[nodiscard]] long FacilityId() const { return m_v.facilityId; }
    void SetFacilityId(long v);
    [[nodiscard]] long HospAcctId() const { return m_v.hospAcctId; }
    void SetHospAcctId(long v);
    [[nodiscard]] int NameFormat() const { return m_v.flags[0]; }
    void SetNameFormat(int v);

    [[nodiscard]] bool IsNew() const { return m_isNew; }
    [[nodiscard]] bool IsDirty() const { return m_isDirty; }
    [[nodiscard]] bool IsDeleted() const { return m_isDeleted; }
    [[nodiscard]] bool IsValid() const { return m_rules.Count() == 0; }
    [[nodiscard]] bool CanBeSaved() const { return IsValid() && (IsDirty() || IsDeleted() || IsNew()); }
    void BeginEdit();
    void CancelEdit();
    // Writes the link and logs event 20050; false after the session showed the error.
    bool ApplyEdit();
    void Delete() { m_isDeleted = true; }
    [[nodiscard]] std::string GetErrString() const;

    // The statements ApplyEdit sends ("" when nothing is to be written). A changed link is the old
    // row deleted and the new one inserted, as the three key columns are what changes.
    [[nodiscard]] std::string SaveStatement() const;
    [[nodiscard]] static std::string InsertStatement(const Values& v);
    [[nodiscard]] static std::string DeleteStatement(const Values& v);
    [[nodiscard]] const Values& values() const { return m_v; }
    [[nodiscard]] const Values& original() const { return m_original; }

    std::function<void()> BrokenRule;
    std::function<void()> NoBrokenRules;

private:
    void checkRules();
    Values m_v, m_original;
    std::optional<Values> m_saved;
    bool m_savedDirty = false;
    bool m_isNew = true, m_isDirty = false, m_isDeleted = false;
    clsVVBrokenRules m_rules;
};

} // namespace voicesystems
