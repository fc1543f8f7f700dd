#pragma once

#include <string>

namespace users {

// One report held locked by a transcription workstation (Locked_reports) or by the document
// viewer's signature session (Signature_session_locks, lock type 3). The two timestamps are kept
// exactly as loaded (style 121 text, milliseconds included): a workstation lock is released by
// matching them.
class clsLockedReport {
public:
    static constexpr long kViewerLock = 3;

    std::string m_strTransId; // "PAXLET" for a viewer lock
    std::string m_strCreateDate;
    std::string m_strLockTime;
    long m_lngDocumentId = 0;
    long m_lngHospAcctId = 0;
    std::string m_strReportName;
    long m_lngLockType = 0;
    std::string m_strUserName;
    std::string m_strPatientFirst;
    std::string m_strPatientLast;
    std::string m_strPatientId;
    std::string m_strDictationNbr;
    std::string m_strDictatingName;
    std::string m_strString1;

    [[nodiscard]] bool IsViewerLock() const { return m_lngLockType == kViewerLock; }
    // "Last, First" as the list shows the patient; one name alone without the comma.
    [[nodiscard]] std::string PatientName() const {
        if (m_strPatientLast.empty() || m_strPatientFirst.empty())
            return m_strPatientLast + m_strPatientFirst;
        return m_strPatientLast + ", " + m_strPatientFirst;
    }
};

} // namespace users
