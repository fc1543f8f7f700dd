#include "clsUser.h"

#include "LoginComponent.h"
#include "Text.h"
#include "clsPartition.h"
#include "modPartition.h"

namespace users {

void clsUser::InitUser() {
    *this = clsUser();
}

void clsUser::ResetSurrogateInfo() {
    m_colSurrogateUserIds.clear();
    m_colSurrogateGroupId.clear();
}

void clsUser::ResetCosignerInfo() {
    m_colCosignerUserIds.clear();
    m_colCosignerGroupId.clear();
}

void clsUser::CopyClass(const clsUser& source) {
    if (this != &source)
        *this = source;
}

std::string clsUser::Partition_Name() const {
    return physicians::GetPartitionName(m_lngPartitionId);
}

std::string clsUser::GetImage(bool) const {
    if (m_lngUserId < 2 || IsTechnicianAccount(m_strUserName))
        return "USER_TECH";
    const auto* login = physicians::Partitions().login;
    // Partitions are in use once the installation has more than its root.
    if (login && physicians::PartitionCache().size() > 1) {
        if (m_lngPartitionId != login->user.Partition_ID)
            return "USER_BORROWED";
        if (m_blnIsShared)
            return "USER_SHARED";
    }
    return "USER_NORMAL";
}

bool IsTechnicianAccount(const std::string& userName) {
    const std::string name = foundation::upperText(foundation::trimText(userName));
    return name == "VTTECH" || name == "VTSUPPORT";
}

} // namespace users
