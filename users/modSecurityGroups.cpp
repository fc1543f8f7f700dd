#include "modSecurityGroups.h"

#include "DatabaseSession.h"
#include "EventLog.h"
#include "GroupStatements.h"
#include "LoginComponent.h"
#include "MessageService.h"
#include "modPartition.h"
#include "modUserStore.h"

#include <algorithm>
#include <unordered_map>

namespace users {

using foundation::DatabaseSession;
using foundation::EventLog;

const char* const kGroupUpdateFailed = "Error encountered attempting to update the group.  Group could not be updated.";
const char* const kGroupDeleteFailed = "Error encountered attempting to delete the group. Group could not be deleted.";

namespace {

constexpr const char* kTitle = "User Management";
constexpr int kUserAdministration = 2; // System_log type
constexpr int kInfo = 2;

enum Event : long { GroupAdded = 20011, GroupModified = 20012, GroupDeleted = 20013 };

DatabaseSession& session() {
    return DatabaseSession::instance();
}

std::string currentUserName() {
    const auto* login = physicians::Partitions().login;
    return login ? login->user.user_name : std::string();
}

void fail(const char* text) {
    platform::MsgBox(text, platform::MsgButtons::OK, platform::MsgIcon::Critical, kTitle);
}

void record(long event, const std::string& text) {
    EventLog::LogEvent(EventLog::SystemLog, kUserAdministration, kInfo, event, 0, 0, 0, 0, 0, -1, 0, text);
}

bool run(const std::string& sql) {
    return session().RunStatement(sql);
}

// Runs each statement in turn; false at the first that fails.
bool runEach(const std::vector<std::string>& statements) {
    return std::all_of(statements.begin(), statements.end(), [](const std::string& s) { return run(s); });
}

// Reads "SELECT member, relations" rows of the open statement into the group.
void readMembers(clsSecurityGroup& group) {
    auto& s = session();
    while (s.FetchRow() == 1) {
        const long member = s.GetColumnLong(1);
        group.AddUserId(member);
        group.AddUserRelation(member, s.GetColumnText(2, 1));
    }
}

} // namespace

clsSecurityGroups& SecurityGroups() {
    static clsSecurityGroups groups;
    return groups;
}

std::string GroupAddedText(const std::string& group) {
    return "Group " + group + " was added by user " + currentUserName() + ".";
}

std::string GroupModifiedText(const std::string& group) {
    return "Group " + group + " has been modified by " + currentUserName() + ".";
}

std::string GroupDeletedText(const std::string& group) {
    return "Group " + group + " was deleted by user " + currentUserName() + ".";
}

bool LoadGroupMembers(clsSecurityGroups& groups) {
    auto& s = session();
    s.SQLStatement = kAllGroupMembersQuery;
    if (s.ExecSQL() != 1)
        return false;
    // Members are collected apart and put in place only once every row is read.
    std::unordered_map<long, clsSecurityGroup> read;
    while (s.FetchRow() == 1) {
        const long groupId = s.GetColumnLong(1);
        const long member = s.GetColumnLong(2);
        clsSecurityGroup& g = read[groupId];
        g.AddUserId(member);
        g.AddUserRelation(member, s.GetColumnText(3, 1));
    }
    for (const auto& held : groups) {
        clsSecurityGroup* g = groups.Item(clsSecurityGroups::Key(held.m_lngGroupId));
        clsSecurityGroup fresh = *g;
        fresh.RemoveAllUserIds();
        if (auto it = read.find(g->m_lngGroupId); it != read.end())
            for (long member : it->second.UserIds()) {
                fresh.AddUserId(member);
                fresh.AddUserRelation(member, it->second.GetUserRelation(member));
            }
        *g = std::move(fresh);
    }
    return true;
}

bool ReloadGroupMembers(clsSecurityGroup& group) {
    auto& s = session();
    s.SQLStatement = GroupMembersQuery(group.m_lngGroupId);
    if (s.ExecSQL() != 1)
        return false;
    clsSecurityGroup fresh = group;
    fresh.RemoveAllUserIds();
    readMembers(fresh);
    group = std::move(fresh);
    return true;
}

GroupNameUse CheckGroupName(const std::string& name, long exceptId) {
    auto& s = session();
    s.SQLStatement = GroupNameCheck(name);
    if (s.ExecSQL() != 1)
        return GroupNameUse::Failed;
    GroupNameUse use = GroupNameUse::Free;
    while (s.FetchRow() == 1) {
        if (s.GetColumnLong(1) == exceptId)
            continue;
        if (s.GetColumnLong(2) > 0)
            use = GroupNameUse::Group;
        else if (use == GroupNameUse::Free)
            use = GroupNameUse::User;
    }
    return use;
}

std::vector<std::string> MembershipChanges(const clsSecurityGroup& before, const clsSecurityGroup& after) {
    std::vector<std::string> out;
    const long g = after.m_lngGroupId;
    for (long member : before.UserIds())
        if (!after.IsMember(member))
            out.push_back(RemoveMemberStatement(g, member));
    for (long member : after.UserIds()) {
        const std::string relations = after.GetUserRelation(member);
        if (!before.IsMember(member))
            out.push_back(AddMemberStatement(g, member, relations));
        else if (before.GetUserRelation(member) != relations)
            out.push_back(SaveRelationsStatement(g, member, relations));
    }
    return out;
}

bool InsertGroup(clsSecurityGroup& group, clsSecurityGroups& collection) {
    const long id = NextUserId();
    if (id < 0 || !run(InsertGroupStatement(group, id))) {
        fail(kGroupUpdateFailed);
        return false;
    }
    group.m_lngGroupId = id;
    clsSecurityGroup none;
    none.m_lngGroupId = id;
    const bool ok = runEach(MembershipChanges(none, group));
    if (!ok)
        ReloadGroupMembers(group);
    collection.Add(group, clsSecurityGroups::Key(id));
    record(GroupAdded, GroupAddedText(group.m_strGroupName));
    if (!ok)
        fail(kGroupUpdateFailed);
    return ok;
}

bool UpdateGroup(const clsSecurityGroup& edited, clsSecurityGroups& collection) {
    const std::string key = clsSecurityGroups::Key(edited.m_lngGroupId);
    clsSecurityGroup* held = collection.Item(key);
    if (!run(UpdateGroupStatement(edited))) {
        fail(kGroupUpdateFailed);
        return false;
    }
    clsSecurityGroup before;
    before.m_lngGroupId = edited.m_lngGroupId;
    if (held)
        before = *held;
    else
        ReloadGroupMembers(before);
    clsSecurityGroup saved = edited;
    const bool ok = runEach(MembershipChanges(before, edited));
    if (!ok)
        ReloadGroupMembers(saved);
    if (held)
        *held = saved;
    else
        collection.Add(saved, key);
    record(GroupModified, GroupModifiedText(edited.m_strGroupName));
    if (!ok)
        fail(kGroupUpdateFailed);
    return ok;
}

bool DeleteGroup(const std::string& key, clsSecurityGroups& collection) {
    const clsSecurityGroup* held = collection.Item(key);
    if (!held)
        return false;
    const clsSecurityGroup group = *held;
    if (run(DeleteGroupBatch(group.m_lngGroupId))) {
        collection.Remove(key);
        record(GroupDeleted, GroupDeletedText(group.m_strGroupName));
        return true;
    }
    // The statements before the failing one stay applied; once the row itself is gone, so is the group.
    auto& s = session();
    s.SQLStatement = "SELECT user_id FROM System_user_bindery WHERE user_id = " + std::to_string(group.m_lngGroupId);
    if (s.ExecSQL() == 1) {
        if (s.FetchRow() == 1) {
            s.CloseStatement();
            if (clsSecurityGroup* g = collection.Item(key))
                ReloadGroupMembers(*g);
        } else {
            collection.Remove(key);
            record(GroupDeleted, GroupDeletedText(group.m_strGroupName));
        }
    }
    fail(kGroupDeleteFailed);
    return false;
}

bool SaveUserGroups(long userId, const std::vector<long>& before, const std::vector<long>& after,
                    clsSecurityGroups& collection) {
    auto contains = [](const std::vector<long>& ids, long id) {
        return std::find(ids.begin(), ids.end(), id) != ids.end();
    };
    for (long g : before)
        if (!contains(after, g)) {
            if (!run(RemoveMemberStatement(g, userId)))
                return false;
            if (clsSecurityGroup* held = collection.Item(clsSecurityGroups::Key(g)))
                held->RemoveUserIdAndUserRelation(userId);
        }
    for (long g : after)
        if (!contains(before, g)) {
            if (!run(AddMemberStatement(g, userId, "")))
                return false;
            if (clsSecurityGroup* held = collection.Item(clsSecurityGroups::Key(g)))
                held->AddUserId(userId);
        }
    return true;
}

std::vector<const clsUser*> OfferedMembers(const clsSecurityGroup& group, const clsUsers& users) {
    std::vector<const clsUser*> out;
    for (const clsUser& u : users)
        if (!group.IsMember(u.m_lngUserId) && UserMayJoinGroup(u, group))
            out.push_back(&u);
    return out;
}

bool LoadGroupMemberNames(long groupId, std::vector<GroupMemberName>& members) {
    auto& s = session();
    s.SQLStatement = GroupMemberNamesQuery(groupId);
    if (s.ExecSQL() != 1)
        return false;
    std::vector<GroupMemberName> read;
    while (s.FetchRow() == 1)
        read.push_back({s.GetColumnLong(1), s.GetColumnText(2, 1), s.GetColumnText(3, 1), s.GetColumnText(4, 1),
                        s.GetColumnLong(5)});
    members.swap(read);
    return true;
}

bool GroupRelationshipNames(long groupId, std::vector<std::string>& surrogateFor,
                            std::vector<std::string>& cosignerFor) {
    auto& s = session();
    for (auto* names : {&surrogateFor, &cosignerFor}) {
        s.SQLStatement = names == &surrogateFor ? GroupSurrogateForQuery(groupId) : GroupCosignerForQuery(groupId);
        if (s.ExecSQL() != 1)
            return false;
        names->clear();
        while (s.FetchRow() == 1)
            names->push_back(s.GetColumnText(1, 1));
    }
    return true;
}

} // namespace users
