#include "modUserStore.h"

#include "DatabaseSession.h"
#include "EventLog.h"
#include "LoginComponent.h"
#include "MessageService.h"
#include "Numbers.h"
#include "PasswordCipher.h"
#include "UserStatements.h"
#include "modPartition.h"

namespace users {

using foundation::DatabaseSession;
using foundation::EventLog;

const char* const kAddFailed = "Error encountered attempting to add the user. User could not be added.";
const char* const kUpdateFailed = "Error encountered attempting to update the user. User could not be updated.";
const char* const kDeleteFailed = "Error encountered attempting to delete the user. User could not be deleted";
const char* const kNameTaken = "The specified user name is not available.\u00a0 Please specify a different user name "
                               "or contact your global system administrator for further assistance.";
const char* const kMoveConfigurationFailed =
    "Error encountered attempting to copy user specific configuration settings.";
const char* const kPolicyFailed = "Error encountered setting user policy.";

namespace {

constexpr const char* kTitle = "User Management";
constexpr int kUserAdministration = 2; // System_log type
constexpr int kInfo = 2;

enum Event : long {
    UserAdded = 20003,
    UserSettingsChanged = 20004,
    UserDeleted = 20009,
    UserUndeleted = 20010,
    LoginPasswordChanged = 20037,
    SignaturePasswordChanged = 20038,
};

DatabaseSession& session() {
    return DatabaseSession::instance();
}

const suite::LoginUser* loggedIn() {
    const auto* login = physicians::Partitions().login;
    return login ? &login->user : nullptr;
}

std::string currentUserName() {
    const auto* u = loggedIn();
    return u ? u->user_name : std::string();
}

void fail(const char* text) {
    platform::MsgBox(text, platform::MsgButtons::OK, platform::MsgIcon::Critical, kTitle);
}

// A site without its password key file reads passwords but saves none.
bool canStorePasswords() {
    if (suite::PasswordCipher::CanWrite())
        return true;
    fail(suite::PasswordCipher::kNoSiteKeyMessage);
    return false;
}

void record(long event, const std::string& text) {
    EventLog::LogEvent(EventLog::SystemLog, kUserAdministration, kInfo, event, 0, 0, 0, 0, 0, -1, 0, text);
}

// Runs the statement text; true when it and every statement after it in the batch succeeded.
bool run(const std::string& sql) {
    return foundation::DatabaseSession::instance().RunStatement(sql);
}

enum class RowState { Active, Deleted, Missing, Unknown };

// Where a user row stands after a failed write, so the collection can follow the database.
RowState userRowState(long userId) {
    auto& s = session();
    s.SQLStatement = "SELECT is_deleted FROM System_user_bindery WHERE user_id = " + std::to_string(userId);
    if (s.ExecSQL() != 1)
        return RowState::Unknown;
    if (s.FetchRow() != 1)
        return RowState::Missing;
    const long deleted = s.GetColumnLong(1);
    s.CloseStatement();
    return deleted == 0 ? RowState::Active : RowState::Deleted;
}

// A stored password column as the login component deciphers it; a NULL column is no password.
std::string decipher(const std::string& hex) {
    if (hex.empty())
        return {};
    return suite::LoginComponent::DecryptedPassword(hex.substr(0, 60));
}

// A user or group of another partition that is neither the logged-in user's nor below it.
bool readOnlyFor(long partitionId, const std::string& lineage) {
    const auto* u = loggedIn();
    const long own = u ? u->Partition_ID : 0;
    return lineage.find("/" + std::to_string(own) + "/") == std::string::npos && partitionId != own;
}

// The new row, its configuration copy, the collection and the log, once the name is known free.
bool insertWithNewId(clsUser& user, clsUsers& collection, long event, const std::string& logText) {
    if (!canStorePasswords())
        return false;
    const std::string password = suite::LoginComponent::EncryptedPassword(user.m_strPassword);
    const std::string signature = suite::LoginComponent::EncryptedPassword(user.m_strSignaturePassword);
    if (password.empty() || signature.empty()) { // longer than the stored form can hold
        fail(kAddFailed);
        return false;
    }
    const long id = NextUserId();
    if (id < 0) {
        fail(kAddFailed);
        return false;
    }
    const bool ok = run(InsertUserBatch(user, id, password, signature));
    if (!ok && userRowState(id) != RowState::Active) {
        fail(kAddFailed);
        return false;
    }
    user.m_lngUserId = id;
    collection.Add(user, clsUsers::Key(id));
    record(event, logText);
    if (!ok) // the row is in, a later statement of the batch failed
        fail(kAddFailed);
    return ok;
}

// The name check before an insert; false after its message.
bool nameIsFree(const std::string& userName) {
    switch (CheckUserName(userName)) {
    case NameUse::Free:
        return true;
    case NameUse::Taken:
        platform::MsgBox(kNameTaken, platform::MsgButtons::OK, platform::MsgIcon::Exclamation, kTitle);
        return false;
    case NameUse::Failed:
        break;
    }
    fail(kAddFailed);
    return false;
}

} // namespace

std::string FormatLastAccess(const std::string& c) {
    // MM/DD/YYYY HH:MM:SS
    if (c.size() < 16 || c[2] != '/' || c[5] != '/' || c[10] != ' ')
        return c;
    return c.substr(6, 4) + "-" + c.substr(0, 2) + "-" + c.substr(3, 2) + " " + c.substr(11, 5);
}

bool LoadActiveUsers(clsUsers* collection) {
    auto& s = session();
    s.SQLStatement = kActiveUsersQuery;
    if (s.ExecSQL() != 1)
        return false;
    clsUsers loaded;
    if (collection)
        loaded.Reserve(collection->Count());
    while (s.FetchRow() == 1) {
        if (!collection)
            continue;
        const long id = s.GetColumnLong(1);
        clsUser* added = loaded.AddNew(id);
        if (!added)
            continue;
        clsUser& u = *added;
        u.m_lngUserId = id;
        u.m_strUserName = s.GetColumnText(2, 1);
        u.m_strLastName = s.GetColumnText(3, 1);
        u.m_strFirstName = s.GetColumnText(4, 1);
        u.m_strTransId = s.GetColumnText(5, 1);
        u.m_lngPhysicianId = s.GetColumnLong(6);
        u.m_strPassword = decipher(s.GetColumnText(7, 1));
        u.m_blnMustChangePassword = s.GetColumnLong(8) == 1;
        u.m_blnEnabled = s.GetColumnLong(9) == 1;
        u.m_blnLockedOut = s.GetColumnLong(10) == 1;
        u.m_strLastAccess = FormatLastAccess(s.GetColumnText(11, 1));
        u.m_lngUserGroupId = s.GetColumnLong(12);
        u.m_bytUserPolicy = static_cast<unsigned char>(s.GetColumnLong(13));
        u.m_blnSystemAdministrator = platform::parseNumber(s.GetColumnText(14, 1)).value_or(0) == 1.0;
        const long kinds = s.GetColumnLong(15);
        u.m_blnPaxletAdministrator = kinds == 2 || kinds == 3;
        u.m_blnTransAdministrator = kinds == 1 || kinds == 3;
        u.m_strLocationCode = s.GetColumnText(16, 1);
        u.m_strMisNbr = s.GetColumnText(17, 1);
        u.m_strInitials = s.GetColumnText(18, 1);
        u.m_strDictationId = s.GetColumnText(19, 1);
        u.m_blnVoiceToText = s.GetColumnLong(20) == 1;
        const long extra2 = s.GetColumnLong(21);
        u.m_blnExtra2Bit1 = (extra2 & 1) != 0;
        u.m_blnExtra2Bit2 = (extra2 & 2) != 0;
        u.m_strPromptScript = s.GetColumnText(22, 1);
        u.Partition_ID(s.GetColumnLong(23));
        u.Read_Only(readOnlyFor(u.Partition_ID(), s.GetColumnText(24, 1)));
        u.Is_Shared(s.GetColumnLong(25) > 0);
        u.m_strSignaturePassword = decipher(s.GetColumnText(26, 1));
        u.m_blnMustChangeSignaturePassword = s.GetColumnLong(27) == 1;
    }
    if (collection)
        collection->Swap(loaded);
    return true;
}

bool LoadGroupsIntoCollection(clsSecurityGroups* collection) {
    auto& s = session();
    s.SQLStatement = kActiveGroupsQuery;
    if (s.ExecSQL() != 1)
        return false;
    clsSecurityGroups loaded;
    while (s.FetchRow() == 1) {
        if (!collection)
            continue;
        clsSecurityGroup g;
        g.m_lngGroupId = s.GetColumnLong(1);
        g.m_strGroupName = s.GetColumnText(2, 1);
        g.m_strDescription = s.GetColumnText(3, 1);
        g.m_lngGroupType = s.GetColumnLong(4);
        g.m_lngGroupFlags = s.GetColumnLong(5);
        g.m_lngGroupAttribute = s.GetColumnLong(6);
        g.Partition_ID(s.GetColumnLong(7));
        g.Read_Only(readOnlyFor(g.Partition_ID(), s.GetColumnText(8, 1)));
        g.Is_Shared(s.GetColumnLong(9) > 0);
        const std::string key = clsSecurityGroups::Key(g.m_lngGroupId);
        loaded.Add(std::move(g), key);
    }
    if (collection)
        collection->Swap(loaded);
    return true;
}

bool LoadUserNames(std::vector<std::pair<long, std::string>>& names) {
    auto& s = session();
    s.SQLStatement = kUserNamesQuery;
    if (s.ExecSQL() != 1)
        return false;
    std::vector<std::pair<long, std::string>> loaded;
    while (s.FetchRow() == 1)
        loaded.emplace_back(s.GetColumnLong(1), s.GetColumnText(2, 1));
    names.swap(loaded);
    return true;
}

NameUse CheckUserName(const std::string& userName) {
    auto& s = session();
    s.SQLStatement = UserNameCheck(userName);
    if (s.ExecSQL() != 1)
        return NameUse::Failed;
    if (s.FetchRow() != 1)
        return NameUse::Free;
    s.CloseStatement();
    return NameUse::Taken;
}

bool InsertUser(clsUser& user, clsUsers& collection) {
    if (!nameIsFree(user.m_strUserName))
        return false;
    return insertWithNewId(user, collection, UserAdded,
                           "User " + user.m_strUserName + " was added by user " + currentUserName() + ".");
}

bool UpdateUser(const clsUser& user, bool passwordChanged, bool signaturePasswordChanged, clsUsers& collection) {
    if (!canStorePasswords())
        return false;
    const std::string password = suite::LoginComponent::EncryptedPassword(user.m_strPassword);
    const std::string signature = suite::LoginComponent::EncryptedPassword(user.m_strSignaturePassword);
    if (password.empty() || signature.empty() || !run(UpdateUserStatement(user, password, signature))) {
        fail(kUpdateFailed);
        return false;
    }
    const std::string key = clsUsers::Key(user.m_lngUserId);
    if (clsUser* held = collection.Item(key))
        held->CopyClass(user);
    else
        collection.Add(user, key);
    record(UserSettingsChanged,
           "User " + user.m_strUserName + " settings have been changed by " + currentUserName() + ".");
    bool ok = true;
    if (passwordChanged)
        ok = StampPasswordChanged(user, false) && ok;
    if (signaturePasswordChanged)
        ok = StampPasswordChanged(user, true) && ok;
    return ok;
}

bool DeleteUser(const std::string& key, clsUsers& collection) {
    const clsUser* held = collection.Item(key);
    if (!held)
        return false;
    const clsUser user = *held;
    auto& s = session();
    const std::string logText = "User " + user.m_strUserName + " was deleted by user " + currentUserName() + ".";
    bool ok =
        run(DeleteUserBatch(user.m_lngUserId, user.m_strUserName, s.VersionAtLeast(2.019), s.VersionAtLeast(2.0535)));
    if (ok && !user.m_strTransId.empty())
        ok = run(RetireTransInfoBatch(user.m_strTransId));
    if (ok && user.m_lngPhysicianId > 0)
        ok = run(CutPhysicianLinkBatch(user.m_lngPhysicianId)) &&
             run(RemovePhysicianRelationshipsBatch(user.m_lngPhysicianId));
    if (ok) {
        collection.Remove(key);
        record(UserDeleted, logText);
        return true;
    }
    // The statements before the failing one stay applied: once the row itself is marked deleted
    // the user is gone from the lists, and the log says so.
    const RowState state = userRowState(user.m_lngUserId);
    if (state == RowState::Deleted || state == RowState::Missing) {
        collection.Remove(key);
        record(UserDeleted, logText);
    }
    fail(kDeleteFailed);
    return false;
}

bool WriteTranscriptionistRecord(const clsUser& user) {
    auto& s = session();
    s.SQLStatement = TransInfoExistsQuery(user.m_strTransId);
    if (s.ExecSQL() != 1)
        return false;
    const bool exists = s.FetchRow() == 1;
    if (exists)
        s.CloseStatement();
    return run(exists ? TransInfoUpdate(user) : TransInfoInsert(user));
}

bool UndeleteTranscriptionist(clsUser& user, clsUsers& collection) {
    // No name check here: the transcriptionist's deleted user row keeps its name, and would refuse
    // every restore. The new row takes the name again beside the deleted one.
    if (!run(TransInfoUndelete(user.m_strTransId))) {
        fail(kAddFailed);
        return false;
    }
    return insertWithNewId(user, collection, UserUndeleted,
                           "User " + user.m_strUserName + " has been undeleted by " + currentUserName() + ".");
}

bool MoveUserConfiguration(long userId, long oldPartition, long newPartition) {
    if (run(MoveUserConfigurationBatch(userId, oldPartition, newPartition)))
        return true;
    fail(kMoveConfigurationFailed);
    return false;
}

bool StampPasswordChanged(const clsUser& user, bool signature) {
    if (!run(PasswordChangedStamp(user.m_lngUserId, signature)))
        return false;
    if (signature)
        record(SignaturePasswordChanged, "Signature password changed for " + user.m_strUserName + ".");
    else
        record(LoginPasswordChanged, "Login password changed for " + user.m_strUserName + ".");
    return true;
}

bool AssignUserPolicy(long userId, int policyId, const std::string& policyName, clsUsers& collection) {
    if (!run(PolicyAssignment(userId, policyId))) {
        fail(kPolicyFailed);
        return false;
    }
    clsUser* held = collection.Item(clsUsers::Key(userId));
    if (held)
        held->m_bytUserPolicy = static_cast<unsigned char>(policyId);
    const std::string name = held ? held->m_strUserName : std::to_string(userId);
    record(UserSettingsChanged,
           "User policy set to " + policyName + " for user " + name + " by user " + currentUserName() + ".");
    return true;
}

bool ResetUserPrivileges(long userId) {
    return run(PrivilegeResetBatch(userId));
}

long NextUserId() {
    return static_cast<long>(session().AllocateIdentifier(kUserIdSelect, kUserIdUpdate));
}

} // namespace users
