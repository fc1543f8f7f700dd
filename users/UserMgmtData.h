#pragma once

#include "clsSecurityGroups.h"
#include "clsUser.h"
#include "clsUsers.h"

#include <string>
#include <unordered_map>
#include <vector>

namespace users {

// The folders of the user management tree that are not security groups.
enum class UserFolder {
    AdministratorGroups,
    SystemAdministrators,
    TranscriptionAdministrators,
    PhysicianAdministrators,
    General,
    Transcription,
    Physicians,
    SurrogateRelationships,
    ResidentRelationships,
    CosignatureRelationships,
};
const char* FolderCaption(UserFolder folder);

// Group types (flag3) the tree files groups under.
inline constexpr long kGeneralGroup = 1, kTranscriptionGroup = 2, kPhysicianGroup = 3;

// Built-in groups ("<System Administrators>" and the like) are named in angle brackets.
bool IsBuiltInGroupName(const std::string& name);

// "System Admin, Trans Admin, Physician Admin, " as they apply, then "Transcriptionist",
// "Physician User" or "General User".
std::string UserTypeText(const clsUser& user);

// Whether the logged-in user of partition ownPartition sees the user at all: users of that
// partition and of the partitions under it, and users shared into it by a partition that shares its
// users with it (those are read only). sharing maps "ID_" + partition to the comma list of
// partitions it shares users with.
bool UserListedFor(const clsUser& user, long ownPartition, const std::unordered_map<long, std::string>& sharing);

// What User Management holds besides the users and groups: the memberships of every group, the
// pending report counts of the physician users, the partitions' user sharing.
struct UserMgmtData {
    std::unordered_map<long, std::vector<long>> membersOfGroup; // group id -> user ids, load order
    std::unordered_map<long, std::vector<long>> groupsOfUser;   // user id -> group ids
    std::unordered_map<long, long> pendingByPhysician;          // physician id -> reports
    std::unordered_map<long, std::string> userSharing;          // partition -> partitions it shares users with

    // Every membership of every active group with one statement; members that are deleted users
    // are skipped by the statement itself.
    bool LoadMemberships();
    // The counts of reports waiting for each physician user's signature: the suite's procedure from
    // database version 2.0645 on, one grouped statement before it.
    bool LoadPendingReports();
    void LoadUserSharing();

    [[nodiscard]] long PendingFor(const clsUser& user) const;
    // The names of the groups the user belongs to, joined by ", ".
    [[nodiscard]] std::string GroupNamesOf(long userId, clsSecurityGroups& groups) const;
};

extern const char* const kGroupMembersQuery;
extern const char* const kPendingReportsProcedure;
// The grouped count of older databases; physicianId 0 counts for every physician user.
std::string PendingReportsQuery(long physicianId);

} // namespace users
