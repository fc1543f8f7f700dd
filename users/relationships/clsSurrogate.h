#pragma once

#include <string>

namespace users {

// One row of Signature_surrogates: a physician (or every physician of a group) who may view and sign
// the dictating physician's reports during the effective period. Dates are kept as the database
// gives them ("YYYY-MM-DD hh:mm:ss.fff"); an empty date is NULL: no start, or no expiry.
class clsSurrogate {
public:
    long m_lngDictatorPhysicianId = 0;
    long m_lngDictatorUserId = 0; // Physician_profile.flag2 of the dictator; 0 when no user
    long m_lngSurrogatePhysicianId = 0;
    long m_lngSurrogateUserId = 0;
    long m_lngSurrogateGroupId = -1; // -1 for a single physician
    std::string m_strEffectiveDate;
    std::string m_strExpireDate;

    [[nodiscard]] bool IsGroup() const { return m_lngSurrogateGroupId != -1; }
};

} // namespace users
