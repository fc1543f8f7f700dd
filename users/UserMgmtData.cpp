#include "UserMgmtData.h"

#include "DatabaseSession.h"
#include "clsPartition.h"
#include "modPartition.h"

namespace users {

using foundation::DatabaseSession;

const char* const kGroupMembersQuery =
    "SELECT SUB.user_id, SSG.user_id, group_relations FROM System_user_bindery SUB, System_security_groups SSG\r\n"
    "WHERE SUB.user_id = SSG.group_id AND SUB.flag3 > 0 AND is_deleted = 0\r\n"
    "AND SSG.user_id IN (SELECT SSG.user_id FROM System_user_bindery S Where s.user_id = SSG.user_id And "
    "s.is_deleted = 0)";

const char* const kPendingReportsProcedure = "get_paxlet_inbox_summary 0, 0";

std::string PendingReportsQuery(long physicianId) {
    const std::string which = physicianId == 0 ? "> 0" : "= " + std::to_string(physicianId);
    return "SELECT SUB.flag1, COUNT(*) FROM System_user_bindery SUB, Signature_relationships SR, "
           "Signature_pending_phys_reports SPR, Document_demographics DD\r\n"
           "WHERE SUB.is_deleted = 0 AND SUB.flag3 = 0 AND SUB.flag1 " +
           which +
           "\r\n"
           "AND SR.related_physician_id = SUB.flag1 AND SR.access_type = 2 AND SR.flag3 = 0\r\n"
           "AND (SR.effective_date IS NULL OR SR.effective_date <= GETDATE())\r\n"
           "AND (SR.expire_date IS NULL OR SR.expire_date > GETDATE())\r\n"
           "AND SPR.physician_id = SR.physician_id AND DD.document_id = SPR.document_id\r\n"
           "AND (SPR.available_for_signature = 1 OR (SPR.signing_physician = 1 AND DD.suspension_type = 5))\r\n"
           "AND DD.suspension_type < 8 AND DD.suspension_type <> 2\r\n"
           "GROUP BY SUB.flag1";
}

const char* FolderCaption(UserFolder folder) {
    switch (folder) {
    case UserFolder::AdministratorGroups:
        return "Administrator Groups";
    case UserFolder::SystemAdministrators:
        return "<System Administrators>";
    case UserFolder::TranscriptionAdministrators:
        return "<Transcription Administrators>";
    case UserFolder::PhysicianAdministrators:
        return "<Physician Administrators>";
    case UserFolder::General:
        return "General";
    case UserFolder::Transcription:
        return "Transcription";
    case UserFolder::Physicians:
        return "Physicians";
    case UserFolder::SurrogateRelationships:
        return "Surrogate Relationships";
    case UserFolder::ResidentRelationships:
        return "Resident Relationships";
    case UserFolder::CosignatureRelationships:
        return "Cosignature Relationships";
    }
    return "";
}

bool IsBuiltInGroupName(const std::string& name) {
    return name.size() > 1 && name.front() == '<' && name.back() == '>';
}

std::string UserTypeText(const clsUser& u) {
    std::string text;
    if (u.m_blnSystemAdministrator)
        text += "System Admin, ";
    if (u.m_blnTransAdministrator)
        text += "Trans Admin, ";
    if (u.m_blnPaxletAdministrator)
        text += "Physician Admin, ";
    if (u.m_lngPhysicianId > 0)
        text += "Physician User";
    else if (!u.m_strTransId.empty())
        text += "Transcriptionist";
    else
        text += "General User";
    return text;
}

bool UserListedFor(const clsUser& user, long ownPartition, const std::unordered_map<long, std::string>& sharing) {
    const long p = user.Partition_ID();
    if (p == ownPartition)
        return true;
    if (const auto* partition = physicians::PartitionCache().find(p); partition && partition->Is_Under(ownPartition))
        return true;
    if (!user.Is_Shared())
        return false;
    const auto it = sharing.find(p);
    return it != sharing.end() && physicians::IsInList(it->second, std::to_string(ownPartition));
}

bool UserMgmtData::LoadMemberships() {
    auto& s = DatabaseSession::instance();
    s.SQLStatement = kGroupMembersQuery;
    if (s.ExecSQL() != 1)
        return false;
    decltype(membersOfGroup) members;
    decltype(groupsOfUser) groups;
    while (s.FetchRow() == 1) {
        const long group = s.GetColumnLong(1), user = s.GetColumnLong(2);
        members[group].push_back(user);
        groups[user].push_back(group);
    }
    membersOfGroup.swap(members);
    groupsOfUser.swap(groups);
    return true;
}

bool UserMgmtData::LoadPendingReports() {
    auto& s = DatabaseSession::instance();
    s.SQLStatement = s.VersionAtLeast(2.0645) ? std::string(kPendingReportsProcedure) : PendingReportsQuery(0);
    if (s.ExecSQL() != 1)
        return false;
    decltype(pendingByPhysician) pending;
    while (s.FetchRow() == 1)
        pending[s.GetColumnLong(1)] = s.GetColumnLong(2);
    pendingByPhysician.swap(pending);
    return true;
}

void UserMgmtData::LoadUserSharing() {
    physicians::SharingMap map;
    physicians::LoadUserSharingMap(map);
    userSharing.clear();
    for (const auto& [key, list] : map)
        if (key.rfind("ID_", 0) == 0)
            userSharing[std::stol(key.substr(3))] = list;
}

long UserMgmtData::PendingFor(const clsUser& user) const {
    if (user.m_lngPhysicianId <= 0)
        return 0;
    const auto it = pendingByPhysician.find(user.m_lngPhysicianId);
    return it == pendingByPhysician.end() ? 0 : it->second;
}

std::string UserMgmtData::GroupNamesOf(long userId, clsSecurityGroups& groups) const {
    const auto it = groupsOfUser.find(userId);
    if (it == groupsOfUser.end())
        return {};
    std::string names;
    for (long g : it->second)
        if (const clsSecurityGroup* group = groups.Item(clsSecurityGroups::Key(g)))
            names += (names.empty() ? "" : ", ") + group->m_strGroupName;
    return names;
}

} // namespace users
