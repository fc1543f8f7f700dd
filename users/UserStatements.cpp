#include "UserStatements.h"

#include "DatabaseSession.h"

namespace users {

namespace {

const std::string kCrLf = "\r\n";

std::string q(const std::string& text) {
    return "'" + foundation::DatabaseSession::QuoteSQL(text) + "'";
}

std::string n(long value) {
    return std::to_string(value);
}

std::string b(bool value) {
    return value ? "1" : "0";
}

} // namespace

const char* const kActiveUsersQuery =
    "SELECT user_id, user_name, SUB.last_name, SUB.first_name, SUB.trans_id, SUB.flag1, CONVERT(binary(30), "
    "password), must_change_password, enabled, locked_out, CONVERT(char(10), last_access_datetime, 101) + ' ' + "
    "CONVERT(char(8), last_access_datetime, 108), user_group_id, SUB.flag4, is_administrator, SUB.flag2, "
    "TI.location_code, TI.mis_nbr, TI.initials, TI.dictation_id, TI.extra1, TI.extra2, SUB.string1, "
    "SP.partition_id, SP.lineage, SUB.is_shared AS shared_user, CONVERT(binary(30), SUB.signature_password), "
    "SUB.must_change_signature_password\r\n"
    "FROM System_user_bindery SUB\r\n"
    "LEFT OUTER JOIN Trans_info TI ON SUB.trans_id = TI.trans_id\r\n"
    "LEFT JOIN System_partitions SP ON SUB.partition_id = SP.partition_id\r\n"
    "WHERE SUB.flag3 = 0 AND SUB.is_deleted = 0 AND SP.delete_date IS NULL\r\n"
    "ORDER BY user_name";

const char* const kActiveGroupsQuery =
    "SELECT user_id, user_name, description, SUB.flag3, SUB.flag2, nbr_bad_attempts, SP.partition_id, SP.lineage, "
    "SUB.is_shared FROM System_user_bindery SUB LEFT JOIN System_partitions SP ON SUB.partition_id = "
    "SP.partition_id WHERE (SUB.flag3 > 0) AND (SUB.is_deleted = 0) AND (SP.delete_date IS NULL) ORDER BY user_name";

const char* const kUserNamesQuery =
    "SELECT user_id, user_name FROM System_user_bindery WHERE is_deleted = 0 AND flag3 = 0 ORDER BY user_name";

const char* const kUserIdSelect = "SELECT user_id = next_user_id FROM User_identifier WITH (UPDLOCK)";
const char* const kUserIdUpdate = "UPDATE User_identifier SET next_user_id = next_user_id + 1";

std::string UserNameCheck(const std::string& userName) {
    return "SELECT user_name FROM System_user_bindery WHERE user_name = " + q(userName);
}

std::string InsertUserBatch(const clsUser& u, long newId, const std::string& passwordHex,
                            const std::string& signatureHex) {
    const std::string partition = n(u.Partition_ID());
    return "INSERT System_user_bindery (user_id, user_name, password, first_name, last_name, description, trans_id, "
           "last_access_datetime, user_group_id, enabled, locked_out, is_administrator, password_changed_datetime, "
           "must_change_password, nbr_bad_attempts, last_attempt_datetime, can_change_password, privilege_set1, "
           "privilege_set2, flag1, flag2, flag3, flag4, string1, string2, date1, is_deleted, partition_id, is_shared, "
           "must_change_signature_password, signature_password)" +
           kCrLf + "VALUES (" + n(newId) + ", " + q(u.m_strUserName) + ", 0x" + passwordHex + ", " +
           q(u.m_strFirstName) + ", " + q(u.m_strLastName) + ", NULL, " + q(u.m_strTransId) + ", NULL, 0, " +
           b(u.m_blnEnabled) + ", " + b(u.m_blnLockedOut) + ", " + b(u.m_blnSystemAdministrator) + ", GETDATE(), " +
           b(u.m_blnMustChangePassword) + ", 0, NULL, 1, NULL, NULL, " + n(u.m_lngPhysicianId) + ", " +
           n(u.AdministratorBits()) + ", 0, " + n(u.m_bytUserPolicy) + ", " + q(u.m_strPromptScript) +
           ", NULL, NULL, 0, " + partition + ", " + b(u.Is_Shared()) + ", " + b(u.m_blnMustChangeSignaturePassword) +
           ", 0x" + signatureHex + ")" + kCrLf +
           "INSERT INTO System_user_cfg (user_id, application_id, key_name, key_value, partition_id)" + kCrLf +
           "SELECT " + n(newId) + ", 1, key_name, key_value, " + partition + kCrLf +
           "FROM System_user_cfg WHERE application_id = 20 and user_id = -1" + kCrLf +
           "AND partition_id = " + partition;
}

std::string UpdateUserStatement(const clsUser& u, const std::string& passwordHex, const std::string& signatureHex) {
    return "UPDATE System_user_bindery SET first_name = " + q(u.m_strFirstName) + "," + kCrLf +
           "last_name = " + q(u.m_strLastName) + "," + kCrLf + "password = 0x" + passwordHex + "," + kCrLf +
           "user_name = " + q(u.m_strUserName) + "," + kCrLf + "trans_id = " + q(u.m_strTransId) + "," + kCrLf +
           "is_administrator = " + b(u.m_blnSystemAdministrator) + "," + kCrLf +
           "user_group_id = " + n(u.m_lngUserGroupId) + "," + kCrLf + "enabled = " + b(u.m_blnEnabled) + "," + kCrLf +
           "locked_out = " + b(u.m_blnLockedOut) + "," + kCrLf +
           "must_change_password = " + b(u.m_blnMustChangePassword) + "," + kCrLf + "nbr_bad_attempts = 0," + kCrLf +
           "flag1 = " + n(u.m_lngPhysicianId) + "," + kCrLf + "flag2 = " + n(u.AdministratorBits()) + "," + kCrLf +
           "string1 = " + q(u.m_strPromptScript) + "," + kCrLf + "flag4 = " + n(u.m_bytUserPolicy) + "," + kCrLf +
           "partition_id = " + n(u.Partition_ID()) + "," + kCrLf + "is_shared = " + b(u.Is_Shared()) + "," + kCrLf +
           "signature_password = 0x" + signatureHex + "," + kCrLf +
           "must_change_signature_password = " + b(u.m_blnMustChangeSignaturePassword) + kCrLf +
           "WHERE user_id = " + n(u.m_lngUserId);
}

std::string DeleteUserBatch(long userId, const std::string& userName, bool logViews, bool printerPrivileges) {
    const std::string id = n(userId);
    std::string sql = "UPDATE System_user_bindery SET user_name = " + q(userName) +
                      ", trans_id = NULL, flag1 = 0, is_deleted = 1 WHERE user_id = " + id + kCrLf +
                      "DELETE FROM Privileges_accounts WHERE user_id = " + id + kCrLf +
                      "DELETE FROM Privileges_departments WHERE user_id = " + id + kCrLf +
                      "DELETE FROM Privileges_report_types WHERE user_id = " + id + kCrLf +
                      "DELETE FROM System_user_cfg WHERE user_id = " + id;
    if (logViews)
        sql += kCrLf + "DELETE FROM System_log_view_columns WHERE user_id = " + id + kCrLf +
               "DELETE FROM System_log_view_filters WHERE user_id = " + id + kCrLf +
               "DELETE FROM System_log_views WHERE user_id = " + id;
    if (printerPrivileges)
        sql += kCrLf + "DELETE FROM System_printer_privileges WHERE user_id = " + id;
    return sql;
}

std::string RetireTransInfoBatch(const std::string& transId) {
    const std::string t = q(transId);
    // The row limit serves the three look-ups; the removal runs without it, so that every activity
    // and membership row of the transcriptionist goes.
    return "SET ROWCOUNT 1" + kCrLf + "IF EXISTS (SELECT trans_id FROM Document_demographics WHERE trans_id = " + t +
           ")" + kCrLf + "OR EXISTS (SELECT edit_trans_id FROM Report_transcription WHERE edit_trans_id = " + t + ")" +
           kCrLf + "OR EXISTS (SELECT trans_id FROM Trans_incentive WHERE trans_id = " + t + ")" + kCrLf +
           "UPDATE Trans_info SET is_deleted = 1 WHERE trans_id = " + t + kCrLf + "ELSE" + kCrLf + "BEGIN" + kCrLf +
           "SET ROWCOUNT 0" + kCrLf + "DELETE Trans_activity WHERE trans_id =" + t + kCrLf +
           "DELETE Groups_transcriptionists WHERE trans_id = " + t + kCrLf + "DELETE Trans_info WHERE trans_id = " + t +
           kCrLf + "END" + kCrLf + "SET ROWCOUNT 0";
}

std::string CutPhysicianLinkBatch(long physicianId) {
    const std::string p = n(physicianId);
    return "UPDATE Physician_profile SET flag2 = 0, flag1 = 0 WHERE physician_id = " + p + kCrLf +
           "UPDATE Physician_attributes SET elect_signature = 0 WHERE physician_id = " + p;
}

std::string LinkPhysicianUserBatch(long physicianId, long userId) {
    const std::string p = n(physicianId);
    return "UPDATE Physician_profile SET flag2 = " + n(userId) + " WHERE physician_id = " + p + kCrLf +
           "UPDATE Physician_attributes SET elect_signature = 1 WHERE physician_id = " + p;
}

std::string RemovePhysicianRelationshipsBatch(long physicianId) {
    const std::string p = n(physicianId);
    return "DELETE FROM Signature_relationships WHERE (physician_id = " + p + " OR related_physician_id = " + p +
           ") AND (physician_id <> related_physician_id)" + kCrLf +
           "DELETE FROM Signature_surrogates WHERE dictator_physician_id = " + p + " OR surrogate_physician_id = " + p +
           kCrLf + "DELETE FROM Signature_dependencies WHERE dictator_physician_id = " + p +
           " OR cosigner_physician_id = " + p;
}

std::string TransInfoExistsQuery(const std::string& transId) {
    return "SELECT trans_id, is_deleted FROM Trans_info WHERE trans_id = " + q(transId);
}

namespace {

std::string transType(const clsUser& u) {
    // A physician user's record carries the physician's Document Creation ID for voice-to-text work.
    return u.m_lngPhysicianId > 0 ? "4" : "1";
}

} // namespace

std::string TransInfoUpdate(const clsUser& u) {
    return "UPDATE Trans_info SET initials = " + q(UpperAscii(u.m_strInitials)) +
           ", location_code = " + q(u.m_strLocationCode) + ", dictation_id = " + q(u.m_strDictationId) +
           ", mis_nbr = " + q(u.m_strMisNbr) + ", first_name = " + q(u.m_strFirstName) +
           ", last_name = " + q(u.m_strLastName) + ", extra1 = " + b(u.m_blnVoiceToText) +
           ", extra2 = " + n(u.Extra2Bits()) + ", extra3 = " + n(u.Partition_ID()) + ", trans_type = " + transType(u) +
           ", is_deleted = 0 WHERE trans_id = " + q(u.m_strTransId);
}

std::string TransInfoInsert(const clsUser& u) {
    return "INSERT Trans_info (trans_id, trans_type, first_name, last_name, initials, location_code, dictation_id, "
           "mis_nbr, account_disabled, supervisor, last_access, extra1, extra2, extra3, extra4, extra5, extra6, "
           "extra7, is_deleted) VALUES(" +
           q(u.m_strTransId) + ", " + transType(u) + ", " + q(u.m_strFirstName) + ", " + q(u.m_strLastName) + ", " +
           q(UpperAscii(u.m_strInitials)) + ", " + q(u.m_strLocationCode) + ", " + q(u.m_strDictationId) + ", " +
           q(u.m_strMisNbr) + ", 0, 0, NULL, " + b(u.m_blnVoiceToText) + ", " + n(u.Extra2Bits()) + ", " +
           n(u.Partition_ID()) + ", 0, 0, 0, 0, 0)";
}

std::string TransInfoUndelete(const std::string& transId) {
    return "UPDATE Trans_info SET is_deleted = 0 WHERE trans_id = " + q(transId);
}

std::string MoveUserConfigurationBatch(long userId, long oldPartition, long newPartition) {
    return "DELETE FROM System_user_cfg WHERE user_id = " + n(userId) + " AND partition_id = " + n(newPartition) +
           kCrLf + "UPDATE System_user_cfg SET partition_id = " + n(newPartition) + " WHERE user_id = " + n(userId) +
           " AND partition_id = " + n(oldPartition);
}

std::string PasswordChangedStamp(long userId, bool signature) {
    return std::string("UPDATE System_user_bindery SET ") +
           (signature ? "signature_password_changed_datetime" : "password_changed_datetime") +
           " = GETDATE() WHERE user_id = " + n(userId);
}

std::string PolicyAssignment(long userId, int policyId) {
    return "UPDATE System_user_bindery SET flag4 = " + n(policyId) + " WHERE user_id = " + n(userId);
}

std::string PrivilegeResetBatch(long userId) {
    const std::string id = n(userId);
    return "DELETE FROM System_printer_privileges WHERE user_id = " + id + kCrLf +
           "DELETE FROM Privileges_accounts WHERE user_id = " + id + kCrLf +
           "DELETE FROM Privileges_departments WHERE user_id = " + id + kCrLf +
           "DELETE FROM Privileges_report_types WHERE user_id = " + id + kCrLf +
           "UPDATE System_user_bindery SET privilege_set1 = NULL, privilege_set2 = NULL WHERE user_id = " + id;
}

std::string UpperAscii(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

} // namespace users
