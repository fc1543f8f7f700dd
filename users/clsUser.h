#pragma once

#include <string>
#include <vector>

namespace users {

// One user of the suite as the console holds it: a row of System_user_bindery with flag3 = 0,
// joined to its transcriptionist record (Trans_info) when it has one. Screens edit a copy
// (CopyClass) and copy it back after a successful save.
class clsUser {
public:
    // Every field starts at its InitUser default.
    long m_lngUserId = 0;
    std::string m_strUserName;
    std::string m_strFirstName;
    std::string m_strLastName;
    std::string m_strTransId;
    long m_lngPhysicianId = 0; // flag1: the user's physician profile, 0 for none
    std::string m_strPromptScript;
    std::string m_strPassword; // plain, deciphered by the login component
    bool m_blnMustChangePassword = false;
    bool m_blnEnabled = false;
    bool m_blnLockedOut = false;
    std::string m_strLastAccess; // "YYYY-MM-DD hh:nn", empty when never logged on
    long m_lngUserGroupId = 0;
    unsigned char m_bytUserPolicy = 0; // flag4
    std::string m_strInitials;
    std::string m_strLocationCode;
    std::string m_strMisNbr;
    std::string m_strDictationId;
    bool m_blnSystemAdministrator = false;
    bool m_blnPaxletAdministrator = false; // Physician Administrator
    bool m_blnTransAdministrator = false;
    bool m_blnMustChangeSignaturePassword = false;
    std::string m_strSignaturePassword;
    bool m_blnNotPaxLet = false;
    // Working state of the signature relationship editors: the physician users and groups that
    // act as surrogates or cosigners for this user, and whether those sets still have to be read.
    std::vector<long> m_colSurrogateUserIds;
    std::vector<long> m_colSurrogateGroupId;
    std::vector<long> m_colCosignerUserIds;
    std::vector<long> m_colCosignerGroupId;
    bool m_blnSurrogateInfoPending = true;
    bool m_blnCosignerInfoPending = true;
    bool m_blnVoiceToText = false; // Trans_info.extra1
    bool m_blnExtra2Bit1 = false;  // Trans_info.extra2 AND 1
    bool m_blnExtra2Bit2 = false;  // Trans_info.extra2 AND 2

    void InitUser();
    void ResetSurrogateInfo();
    void ResetCosignerInfo();
    void CopyClass(const clsUser& source);

    [[nodiscard]] long Partition_ID() const { return m_lngPartitionId; }
    void Partition_ID(long id) { m_lngPartitionId = id; }
    // The name of the user's partition in the partition cache; empty when it is not cached.
    [[nodiscard]] std::string Partition_Name() const;
    [[nodiscard]] bool Read_Only() const { return m_blnReadOnly; }
    void Read_Only(bool value) { m_blnReadOnly = value; }
    [[nodiscard]] bool Is_Shared() const { return m_blnIsShared; }
    void Is_Shared(bool value) { m_blnIsShared = value; }

    // The list icon key: "USER_TECH", "USER_BORROWED", "USER_SHARED" or "USER_NORMAL". The key is
    // the same whether the user is listed in a group or in a folder (group).
    [[nodiscard]] std::string GetImage(bool group) const;

    // flag2 as written: 1 Transcription Administrator, 2 Physician Administrator, 3 both.
    [[nodiscard]] long AdministratorBits() const {
        return (m_blnTransAdministrator ? 1 : 0) + (m_blnPaxletAdministrator ? 2 : 0);
    }
    // Trans_info.extra2 as written: the two voice-to-text option flags as their sum.
    [[nodiscard]] long Extra2Bits() const { return (m_blnExtra2Bit1 ? 1 : 0) + (m_blnExtra2Bit2 ? 2 : 0); }

private:
    long m_lngPartitionId = -1;
    bool m_blnReadOnly = false;
    bool m_blnIsShared = false;
};

// The two built-in technical support accounts, recognised by name (any case).
bool IsTechnicianAccount(const std::string& userName);

} // namespace users
