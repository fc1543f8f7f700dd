#pragma once

#include <string>

namespace users {

// One security group as the user store reads it: a row of System_user_bindery with flag3 > 0.
// Membership and relation values are added by the group editor.
class clsSecurityGroup {
public:
    long m_lngGroupId = 0;
    std::string m_strGroupName;
    std::string m_strDescription;
    long m_lngGroupType = 0;      // flag3
    long m_lngGroupFlags = 0;     // flag2: the group's kind flags
    long m_lngGroupAttribute = 0; // nbr_bad_attempts, which a group row uses for its own attribute

    [[nodiscard]] long Partition_ID() const { return m_lngPartitionId; }
    void Partition_ID(long id) { m_lngPartitionId = id; }
    [[nodiscard]] bool Read_Only() const { return m_blnReadOnly; }
    void Read_Only(bool value) { m_blnReadOnly = value; }
    [[nodiscard]] bool Is_Shared() const { return m_blnIsShared; }
    void Is_Shared(bool value) { m_blnIsShared = value; }

private:
    long m_lngPartitionId = -1;
    bool m_blnReadOnly = false;
    bool m_blnIsShared = false;
};

} // namespace users
