#include "clsUserPolicy.h"

namespace users {

suite::PasswordPolicy clsUserPolicy::Rules() const {
    suite::PasswordPolicy p;
    p.policyId = m_bytPolicyId;
    p.permitBlankPassword = m_blnPermitBlankPassword;
    p.caseSensitive = m_blnCaseSensitivePassword;
    p.minimumLength = m_intMinimumPasswordLength;
    p.requireAlphaNumeric = m_blnRequireAlphaNumeric;
    p.allowPasswordChange = m_blnAllowPasswordChange;
    p.expirationDays = m_intPasswordExpirationDays;
    p.intruderDetection = m_blnIntruderDetectionEnabled;
    p.maximumLoginAttempts = m_intMaximumLoginAttempts;
    p.lockoutMinutes = static_cast<int>(m_lngLockoutDuration);
    p.flag3 = static_cast<int>(m_lngFlag3);
    p.signatureMinimumLength = static_cast<int>(m_lngFlag4);
    p.signatureRequireAlphaNumeric = m_lngFlag5 == 1;
    p.authenticationType = static_cast<int>(m_lngFlag2);
    p.directorySettings = m_strString2;
    return p;
}

} // namespace users
