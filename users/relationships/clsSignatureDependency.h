#pragma once

#include <string>

namespace users {

// One row of Signature_dependencies: another physician (or a group) who must also sign the
// dictating physician's reports, as cosigner or as the resident's supervisor, at a level.
class clsSignatureDependency {
public:
    // cosigner_physician_type
    static constexpr long kCosigner = 1;
    static constexpr long kResident = 2;

    long m_lngDictatorPhysicianId = 0;
    long m_lngDictatorUserId = 0;
    long m_lngCosignerPhysicianId = 0;
    long m_lngCosignerUserId = 0;
    long m_lngCosignerGroupId = -1; // -1 for a single physician
    long m_lngCosignerPhysicianType = kCosigner;
    bool m_blnCosignerSignatureRequired = false;
    long m_lngCosignerSignatureLevel = 1;
    bool m_blnDictatorSignatureRequired = false;
    long m_lngDictatorSignatureLevel = 1;
    std::string m_strEffectiveDate; // empty: NULL
    std::string m_strExpireDate;

    [[nodiscard]] bool IsGroup() const { return m_lngCosignerGroupId != -1; }
    [[nodiscard]] bool IsResident() const { return m_lngCosignerPhysicianType == kResident; }
    // The relation lists' type text: "Cosigner" or "Resident", with "-Group" for a group.
    [[nodiscard]] std::string TypeText() const {
        return std::string(IsResident() ? "Resident" : "Cosigner") + (IsGroup() ? "-Group" : "");
    }
};

} // namespace users
