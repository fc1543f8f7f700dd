#include "UserEditSave.h"

#include "DatabaseSession.h"
#include "EventLog.h"
#include "GroupStatements.h"
#include "LoginComponent.h"
#include "MessageService.h"
#include "PasswordCipher.h"
#include "UserStatements.h"
#include "modPartition.h"
#include "modUserStore.h"

namespace users {

namespace {

using foundation::DatabaseSession;
using foundation::EventLog;

constexpr const char* kTitle = "User Management";
constexpr const char* kCrLf = "\r\n";
constexpr int kUserAdministration = 2; // System_log type
constexpr int kInfo = 2;

enum Event : long {
    UserAdded = 20003,
    UserSettingsChanged = 20004,
    LoginPasswordChanged = 20037,
    SignaturePasswordChanged = 20038,
    SignaturePasswordReset = 20046,
};

std::string currentUserName() {
    const auto* login = physicians::Partitions().login;
    return login ? login->user.user_name : std::string();
}

void record(long event, const std::string& text) {
    EventLog::LogEvent(EventLog::SystemLog, kUserAdministration, kInfo, event, 0, 0, 0, 0, 0, -1, 0, text);
}

void fail(const char* text) {
    platform::MsgBox(text, platform::MsgButtons::OK, platform::MsgIcon::Critical, kTitle);
}

// The transcriptionist record, updated when it exists and created otherwise, inside the batch.
std::string transRecord(const clsUser& user) {
    return "IF EXISTS (SELECT trans_id FROM Trans_info WHERE trans_id = '" +
           DatabaseSession::QuoteSQL(user.m_strTransId) + "')" + kCrLf + TransInfoUpdate(user) + kCrLf + "ELSE" +
           kCrLf + TransInfoInsert(user);
}

void logPasswordChanges(const clsUser& user, const UserEditChanges& changes) {
    if (changes.passwordChanged)
        record(LoginPasswordChanged, "Login password changed for " + user.m_strUserName + ".");
    if (changes.signaturePasswordChanged)
        record(SignaturePasswordChanged, "Signature password changed for " + user.m_strUserName + ".");
    if (changes.mustChangeChanged)
        record(LoginPasswordChanged, "Veltra password reset for " + user.m_strUserName + ".");
    if (changes.mustChangeSignatureChanged)
        record(SignaturePasswordReset, "Signature password reset for " + user.m_strUserName + ".");
}

// Every save writes both stored passwords again; a site without its key file saves none, and says why.
bool canStorePasswords() {
    if (suite::PasswordCipher::CanWrite())
        return true;
    fail(suite::PasswordCipher::kNoSiteKeyMessage);
    return false;
}

bool runAllOrNothing(const std::string& batch) {
    auto& s = DatabaseSession::instance();
    s.SQLStatement = batch;
    return s.ExecSQLAllOrNothing() == 1;
}

} // namespace

std::string EditorSaveBatch(const clsUser& user, bool isNew, long newId, const UserEditChanges& changes,
                            const std::string& passwordHex, const std::string& signatureHex) {
    std::string batch;
    const auto add = [&batch](const std::string& statements) {
        if (!batch.empty())
            batch += kCrLf;
        batch += statements;
    };
    if (isNew) {
        add(InsertUserBatch(user, newId, passwordHex, signatureHex));
        if (user.m_lngPhysicianId > 0)
            add(LinkPhysicianUserBatch(user.m_lngPhysicianId, newId));
    } else {
        add(UpdateUserStatement(user, passwordHex, signatureHex));
        if (changes.passwordChanged)
            add(PasswordChangedStamp(user.m_lngUserId, false));
        if (changes.signaturePasswordChanged)
            add(PasswordChangedStamp(user.m_lngUserId, true));
        if (changes.oldPartitionId != user.Partition_ID()) {
            add(MoveUserConfigurationBatch(user.m_lngUserId, changes.oldPartitionId, user.Partition_ID()));
            add(PrivilegeResetBatch(user.m_lngUserId));
            if (user.m_lngPhysicianId > 0) {
                add("UPDATE Physician_profile SET partition_id = " + std::to_string(user.Partition_ID()) +
                    " WHERE physician_id = " + std::to_string(user.m_lngPhysicianId));
                add(RemovePhysicianRelationshipsBatch(user.m_lngPhysicianId));
            }
        }
        // A user who is no longer a physician user leaves the profile without a user, so that the
        // profile's user access and a later delete of the physician no longer reach this user.
        if (changes.oldPhysicianId > 0 && user.m_lngPhysicianId != changes.oldPhysicianId)
            add(CutPhysicianLinkBatch(changes.oldPhysicianId));
    }
    if (changes.writeTransRecord && !user.m_strTransId.empty())
        add(transRecord(user));
    for (long g : changes.groupsLeft)
        add(RemoveMemberStatement(g, newId));
    for (long g : changes.groupsJoined)
        add(AddMemberStatement(g, newId, ""));
    return batch;
}

bool SaveNewUser(clsUser& user, const UserEditChanges& changes, clsUsers& collection) {
    if (!canStorePasswords())
        return false;
    switch (CheckUserName(user.m_strUserName)) {
    case NameUse::Free:
        break;
    case NameUse::Taken:
        platform::MsgBox(kNameTaken, platform::MsgButtons::OK, platform::MsgIcon::Exclamation, kTitle);
        return false;
    case NameUse::Failed:
        fail(kAddFailed);
        return false;
    }
    const std::string password = suite::LoginComponent::EncryptedPassword(user.m_strPassword);
    const std::string signature = suite::LoginComponent::EncryptedPassword(user.m_strSignaturePassword);
    if (password.empty() || signature.empty()) {
        fail(kAddFailed);
        return false;
    }
    const long id = NextUserId();
    if (id < 0 || !runAllOrNothing(EditorSaveBatch(user, true, id, changes, password, signature))) {
        fail(kAddFailed);
        return false;
    }
    user.m_lngUserId = id;
    collection.Add(user, clsUsers::Key(id));
    record(UserAdded, "User " + user.m_strUserName + " was added by user " + currentUserName() + ".");
    return true;
}

bool SaveChangedUser(const clsUser& user, const UserEditChanges& changes, clsUsers& collection) {
    if (!canStorePasswords())
        return false;
    const std::string password = suite::LoginComponent::EncryptedPassword(user.m_strPassword);
    const std::string signature = suite::LoginComponent::EncryptedPassword(user.m_strSignaturePassword);
    if (password.empty() || signature.empty() ||
        !runAllOrNothing(EditorSaveBatch(user, false, user.m_lngUserId, changes, password, signature))) {
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
    logPasswordChanges(user, changes);
    return true;
}

} // namespace users
