#include "clsSignatureRelationships.h"

#include "DatabaseSession.h"
#include "EventLog.h"
#include "LoginComponent.h"
#include "MessageService.h"
#include "clsUsers.h"
#include "modPartition.h"

#include <algorithm>

namespace users {

using foundation::DatabaseSession;
using foundation::EventLog;

const char* const kSurrogateSaveFailed =
    "Error encountered attempting to save the surrogate relationship.  Information not saved.";
const char* const kDependencySaveFailed =
    "Error encountered attempting to save the signature relationship.  Information not saved.";
const char* const kRelationshipsUpdateFailed =
    "Error encountered attempting to update the Signature relationships table.";
const char* const kSurrogateDeleteFailed =
    "Error encountered attempting to delete the surrogate relationship.  Information not saved.";
const char* const kDependencyDeleteFailed =
    "Error encountered attempting to delete the signature relationship.  Information not saved.";

namespace {

constexpr const char* kTitle = "User Management";
constexpr int kUserAdministration = 2; // System_log type
constexpr int kInfo = 2;

enum Event : long {
    SignatureRelationshipsChanged = 20005,
    SurrogateRelationshipsChanged = 20006,
    SurrogateRelationshipAdded = 20007,
};

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

// A date column as held: "" for NULL, else the driver's "YYYY-MM-DD hh:mm:ss.fff".
std::string dateColumn(int column) {
    return session().GetColumnText(column, 1);
}

// The physician's user: by the user id read with the row, else (a row written here, which carries
// only the physician) by the physician id.
const clsUser* physicianUser(const clsUsers& users, long userId, long physicianId) {
    if (const clsUser* u = users.Item(clsUsers::Key(userId)))
        return u;
    if (physicianId > 0)
        for (const clsUser& u : users)
            if (u.m_lngPhysicianId == physicianId)
                return &u;
    return nullptr;
}

std::string userName(const clsUsers& users, long userId, long physicianId) {
    if (const clsUser* u = physicianUser(users, userId, physicianId))
        return u->m_strUserName;
    return "#" + std::to_string(physicianId);
}

std::string groupName(const std::vector<std::pair<long, std::string>>& groups, long groupId) {
    for (const auto& [id, name] : groups)
        if (id == groupId)
            return name;
    return "#" + std::to_string(groupId);
}

} // namespace

bool clsSignatureRelationships::LoadSurrogates() {
    auto& s = session();
    s.SQLStatement = kSurrogatesQuery;
    if (s.ExecSQL() != 1)
        return false;
    std::vector<clsSurrogate> loaded;
    while (s.FetchRow() == 1) {
        clsSurrogate r;
        r.m_lngDictatorPhysicianId = s.GetColumnLong(1);
        r.m_lngDictatorUserId = s.GetColumnLong(2);
        r.m_lngSurrogatePhysicianId = s.GetColumnLong(3);
        r.m_lngSurrogateUserId = s.GetColumnLong(4);
        r.m_lngSurrogateGroupId = s.GetColumnLong(5);
        r.m_strEffectiveDate = dateColumn(6);
        r.m_strExpireDate = dateColumn(7);
        loaded.push_back(std::move(r));
    }
    m_colSurrogates.swap(loaded);
    return true;
}

bool clsSignatureRelationships::LoadDependencies() {
    auto& s = session();
    s.SQLStatement = kDependenciesQuery;
    if (s.ExecSQL() != 1)
        return false;
    std::vector<clsSignatureDependency> loaded;
    while (s.FetchRow() == 1) {
        clsSignatureDependency d;
        d.m_lngDictatorPhysicianId = s.GetColumnLong(1);
        d.m_lngDictatorUserId = s.GetColumnLong(2);
        d.m_lngCosignerPhysicianId = s.GetColumnLong(3);
        d.m_lngCosignerUserId = s.GetColumnLong(4);
        d.m_lngCosignerGroupId = s.GetColumnLong(5);
        d.m_lngCosignerPhysicianType = s.GetColumnLong(6);
        d.m_blnCosignerSignatureRequired = s.GetColumnLong(7) != 0;
        d.m_lngCosignerSignatureLevel = s.GetColumnLong(8);
        d.m_blnDictatorSignatureRequired = s.GetColumnLong(9) != 0;
        d.m_lngDictatorSignatureLevel = s.GetColumnLong(10);
        d.m_strEffectiveDate = dateColumn(11);
        d.m_strExpireDate = dateColumn(12);
        loaded.push_back(std::move(d));
    }
    m_colDependencies.swap(loaded);
    return true;
}

std::vector<clsSurrogate> clsSignatureRelationships::SurrogatesOf(long dictatorPhysicianId) const {
    std::vector<clsSurrogate> out;
    for (const auto& s : m_colSurrogates)
        if (s.m_lngDictatorPhysicianId == dictatorPhysicianId)
            out.push_back(s);
    return out;
}

std::vector<clsSignatureDependency> clsSignatureRelationships::DependenciesOf(long dictatorPhysicianId,
                                                                              bool resident) const {
    std::vector<clsSignatureDependency> out;
    for (const auto& d : m_colDependencies)
        if (d.m_lngDictatorPhysicianId == dictatorPhysicianId && d.IsResident() == resident)
            out.push_back(d);
    return out;
}

std::vector<RelationshipFolderEntry>
clsSignatureRelationships::Folder(const std::string& folderName, const clsUsers& users,
                                  const std::vector<std::pair<long, std::string>>& groups) const {
    std::vector<RelationshipFolderEntry> out;
    auto entryFor = [&out, &users](long physicianId, long userId) -> RelationshipFolderEntry& {
        for (auto& e : out)
            if (e.dictatorPhysicianId == physicianId)
                return e;
        const clsUser* u = physicianUser(users, userId, physicianId);
        out.push_back({physicianId, u ? u->m_lngUserId : userId, userName(users, userId, physicianId), {}});
        return out.back();
    };
    if (folderName == kSurrogateFolder) {
        for (const auto& s : m_colSurrogates)
            entryFor(s.m_lngDictatorPhysicianId, s.m_lngDictatorUserId)
                .relations.push_back(s.IsGroup()
                                         ? groupName(groups, s.m_lngSurrogateGroupId) + " (Group)"
                                         : userName(users, s.m_lngSurrogateUserId, s.m_lngSurrogatePhysicianId));
        return out;
    }
    const bool resident = folderName == kResidentFolder;
    if (!resident && folderName != kCosignatureFolder)
        return out;
    for (const auto& d : m_colDependencies)
        if (d.IsResident() == resident)
            entryFor(d.m_lngDictatorPhysicianId, d.m_lngDictatorUserId)
                .relations.push_back(
                    (d.IsGroup() ? groupName(groups, d.m_lngCosignerGroupId)
                                 : userName(users, d.m_lngCosignerUserId, d.m_lngCosignerPhysicianId)) +
                    " (" + d.TypeText() + ", Level " + std::to_string(d.m_lngCosignerSignatureLevel) + ")");
    return out;
}

bool clsSignatureRelationships::writeSurrogates(long dictatorPhysicianId, const std::string& userName,
                                                const std::vector<clsSurrogate>& rows, bool added,
                                                const char* failure) {
    auto& s = session();
    s.SQLStatement = SurrogateSaveBatch(dictatorPhysicianId, rows);
    if (s.ExecSQLAllOrNothing() != 1) {
        fail(failure);
        return false;
    }
    std::erase_if(m_colSurrogates, [dictatorPhysicianId](const clsSurrogate& r) {
        return r.m_lngDictatorPhysicianId == dictatorPhysicianId;
    });
    for (auto r : rows) {
        r.m_lngDictatorPhysicianId = dictatorPhysicianId;
        m_colSurrogates.push_back(std::move(r));
    }
    if (added)
        record(SurrogateRelationshipAdded,
               "User " + userName + " surrogate relationship has been added by " + currentUserName() + ".");
    else
        record(SurrogateRelationshipsChanged,
               "User " + userName + " surrogate relationships have been changed by " + currentUserName() + ".");
    return true;
}

bool clsSignatureRelationships::SaveSurrogates(long dictatorPhysicianId, const std::string& userName,
                                               const std::vector<clsSurrogate>& rows, bool added) {
    return writeSurrogates(dictatorPhysicianId, userName, rows, added && !rows.empty(), kSurrogateSaveFailed);
}

bool clsSignatureRelationships::DeleteSurrogates(long dictatorPhysicianId, const std::string& userName) {
    return writeSurrogates(dictatorPhysicianId, userName, {}, false, kSurrogateDeleteFailed);
}

bool clsSignatureRelationships::DeleteRelationship(Kind kind, long dictatorPhysicianId, const std::string& userName) {
    const char* what = kind == Kind::Surrogate  ? "Surrogate Relationship"
                       : kind == Kind::Resident ? "Resident Relationship"
                       : kind == Kind::Cosigner ? "Cosigner Relationship"
                                                : "Signature Relationship";
    if (platform::MsgBox(std::string("Are you sure you want to delete the ") + what + " for " + userName + "?",
                         platform::MsgButtons::YesNo, platform::MsgIcon::Question,
                         "Delete Relationship") != platform::MsgAnswer::Yes)
        return false;
    switch (kind) {
    case Kind::Surrogate:
        return DeleteSurrogates(dictatorPhysicianId, userName);
    case Kind::Resident:
    case Kind::Cosigner:
        return DeleteDependencies(dictatorPhysicianId, userName, kind == Kind::Resident);
    case Kind::Signature:
        break;
    }
    return storeDependencies(dictatorPhysicianId, userName, {}, kDependencyDeleteFailed);
}

bool clsSignatureRelationships::writeDependencies(long dictatorPhysicianId, const std::string& userName, bool resident,
                                                  const std::vector<clsSignatureDependency>& rows,
                                                  const char* failure) {
    // The table is written per dictating physician, so the rows of the other kind go back in too.
    std::vector<clsSignatureDependency> all = DependenciesOf(dictatorPhysicianId, !resident);
    for (auto r : rows) {
        r.m_lngDictatorPhysicianId = dictatorPhysicianId;
        r.m_lngCosignerPhysicianType = resident ? clsSignatureDependency::kResident : clsSignatureDependency::kCosigner;
        all.push_back(std::move(r));
    }
    return storeDependencies(dictatorPhysicianId, userName, all, failure);
}

bool clsSignatureRelationships::storeDependencies(long dictatorPhysicianId, const std::string& userName,
                                                  const std::vector<clsSignatureDependency>& all, const char* failure) {
    auto& s = session();
    s.SQLStatement = DependencySaveBatch(dictatorPhysicianId, all);
    if (s.ExecSQLAllOrNothing() != 1) {
        fail(failure);
        return false;
    }
    std::erase_if(m_colDependencies, [dictatorPhysicianId](const clsSignatureDependency& d) {
        return d.m_lngDictatorPhysicianId == dictatorPhysicianId;
    });
    m_colDependencies.insert(m_colDependencies.end(), all.begin(), all.end());
    record(SignatureRelationshipsChanged,
           "User " + userName + " signature relationships have been changed by " + currentUserName() + ".");
    return true;
}

bool clsSignatureRelationships::SaveDependencies(long dictatorPhysicianId, const std::string& userName, bool resident,
                                                 const std::vector<clsSignatureDependency>& rows) {
    return writeDependencies(dictatorPhysicianId, userName, resident, rows, kDependencySaveFailed);
}

bool clsSignatureRelationships::DeleteDependencies(long dictatorPhysicianId, const std::string& userName,
                                                   bool resident) {
    return writeDependencies(dictatorPhysicianId, userName, resident, {}, kDependencyDeleteFailed);
}

bool UpdateGroupRelations(const std::vector<GroupMemberRelation>& members, const std::vector<long>& withdrawn,
                          bool proxy) {
    const std::string batch = GroupRelationsBatch(members, withdrawn, proxy);
    if (batch.empty())
        return true;
    auto& s = session();
    s.SQLStatement = batch;
    if (s.ExecSQLAllOrNothing() == 1)
        return true;
    fail(kRelationshipsUpdateFailed);
    return false;
}

bool WriteGroupRelations(const clsSecurityGroup& before, const clsSecurityGroup& after, const clsUsers& users) {
    if (!after.IsPhysicianGroup())
        return true;
    const auto physicianOf = [&users](long userId) -> long {
        const clsUser* u = users.Item(clsUsers::Key(userId));
        return u ? u->m_lngPhysicianId : 0;
    };
    std::vector<GroupMemberRelation> members;
    for (long userId : after.UserIds())
        if (const long physician = physicianOf(userId); physician > 0)
            members.push_back(
                {physician, after.ViewingEnabledForUserId(userId), after.SigningEnabledForUserId(userId)});
    std::vector<long> withdrawn;
    for (long userId : before.UserIds())
        if (!after.IsMember(userId))
            if (const long physician = physicianOf(userId); physician > 0)
                withdrawn.push_back(physician);
    return UpdateGroupRelations(members, withdrawn, after.IsProxyGroup());
}

bool LoadGroupPhysicians(long groupId, std::vector<long>& physicianIds) {
    auto& s = session();
    s.SQLStatement = GroupPhysiciansQuery(groupId);
    if (s.ExecSQL() != 1)
        return false;
    std::vector<long> loaded;
    while (s.FetchRow() == 1)
        loaded.push_back(s.GetColumnLong(1));
    physicianIds.swap(loaded);
    return true;
}

} // namespace users
