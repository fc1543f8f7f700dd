#include "GroupStatements.h"

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

std::string relationsValue(const std::string& relations) {
    return relations.empty() ? std::string("NULL") : q(relations);
}

std::string insertMember(long groupId, long userId, const std::string& relations) {
    return "INSERT INTO System_security_groups VALUES(" + n(groupId) + ", " + n(userId) + ", " +
           relationsValue(relations) + ", 0, 0, 0, NULL, NULL, NULL)";
}

std::string memberCondition(long groupId, long userId) {
    return "(SELECT * FROM System_security_groups WHERE group_id = " + n(groupId) + " AND user_id = " + n(userId) + ")";
}

} // namespace

const char* const kAllGroupMembersQuery =
    "SELECT SUB.user_id, SSG.user_id, group_relations FROM System_user_bindery SUB, System_security_groups SSG\r\n"
    "WHERE SUB.user_id = SSG.group_id AND SUB.flag3 > 0 AND is_deleted = 0\r\n"
    "AND SSG.user_id IN (SELECT SSG.user_id FROM System_user_bindery S Where s.user_id = SSG.user_id And "
    "s.is_deleted = 0)";

std::string GroupMembersQuery(long groupId) {
    return "SELECT SSG.user_id, SSG.group_relations FROM System_security_groups SSG, System_user_bindery S\r\n"
           "WHERE SSG.group_id = " +
           n(groupId) + " AND S.user_id = SSG.user_id AND S.is_deleted = 0";
}

std::string GroupMemberNamesQuery(long groupId) {
    return "SELECT S.user_id, S.user_name, S.last_name, S.first_name, S.partition_id FROM System_security_groups "
           "SSG, System_user_bindery S\r\nWHERE SSG.group_id = " +
           n(groupId) + " AND S.user_id = SSG.user_id AND S.is_deleted = 0 AND S.flag3 = 0 ORDER BY S.user_name";
}

std::string GroupNameCheck(const std::string& name) {
    return "SELECT user_id, flag3 FROM System_user_bindery WHERE user_name = " + q(name) + " ORDER BY flag3 DESC";
}

std::string InsertGroupStatement(const clsSecurityGroup& g, long newId) {
    return "INSERT System_user_bindery (user_id, user_name, password, first_name, last_name, description, trans_id, "
           "last_access_datetime, user_group_id, enabled, locked_out, is_administrator, password_changed_datetime, "
           "must_change_password, nbr_bad_attempts, last_attempt_datetime, can_change_password, privilege_set1, "
           "privilege_set2, flag1, flag2, flag3, flag4, string1, string2, date1, is_deleted, partition_id, is_shared, "
           "must_change_signature_password, signature_password)" +
           kCrLf + "VALUES (" + n(newId) + ", " + q(g.m_strGroupName) + ", NULL, NULL, NULL, " + q(g.m_strDescription) +
           ", NULL, NULL, 0, 1, 0, 0, GETDATE(), 0, " + n(g.m_lngGroupAttribute) + ", NULL, 1, NULL, NULL, 0, " +
           n(g.m_lngGroupFlags) + ", " + n(g.m_lngGroupType) + ", 0, NULL, NULL, NULL, 0, " + n(g.Partition_ID()) +
           ", " + b(g.Is_Shared()) + ", 0, NULL)";
}

std::string UpdateGroupStatement(const clsSecurityGroup& g) {
    return "UPDATE System_user_bindery SET user_name = " + q(g.m_strGroupName) +
           ", description = " + q(g.m_strDescription) + ", flag2 = " + n(g.m_lngGroupFlags) +
           ", nbr_bad_attempts = " + n(g.m_lngGroupAttribute) + ", partition_id = " + n(g.Partition_ID()) +
           ", is_shared = " + b(g.Is_Shared()) + " WHERE user_id = " + n(g.m_lngGroupId);
}

std::string DeleteGroupBatch(long groupId) {
    const std::string g = n(groupId);
    return "DELETE FROM System_security_groups WHERE group_id = " + g + kCrLf +
           "DELETE FROM Privileges_accounts WHERE user_id = " + g + kCrLf +
           "DELETE FROM Privileges_departments WHERE user_id = " + g + kCrLf +
           "DELETE FROM Privileges_report_types WHERE user_id = " + g + kCrLf +
           "DELETE FROM System_printer_privileges WHERE user_id = " + g + kCrLf +
           "DELETE FROM Signature_surrogates WHERE surrogate_group_id = " + g + kCrLf +
           "DELETE FROM Signature_dependencies WHERE cosigner_group_id = " + g + kCrLf +
           "DELETE FROM System_user_bindery WHERE user_id = " + g;
}

std::string AddMemberStatement(long groupId, long userId, const std::string& relations) {
    return "IF NOT EXISTS " + memberCondition(groupId, userId) + kCrLf + insertMember(groupId, userId, relations);
}

std::string SaveRelationsStatement(long groupId, long userId, const std::string& relations) {
    return "IF EXISTS " + memberCondition(groupId, userId) + kCrLf +
           "UPDATE System_security_groups SET group_relations = " + relationsValue(relations) +
           " WHERE group_id = " + n(groupId) + " AND user_id = " + n(userId) + kCrLf + "ELSE" + kCrLf +
           insertMember(groupId, userId, relations);
}

std::string RemoveMemberStatement(long groupId, long userId) {
    return "DELETE FROM System_security_groups WHERE group_id = " + n(groupId) + " AND user_id = " + n(userId);
}

std::string GroupSurrogateForQuery(long groupId) {
    return "SELECT DISTINCT PP.last_name + ', ' + PP.first_name FROM Signature_surrogates SS, Physician_profile PP "
           "WHERE SS.surrogate_group_id = " +
           n(groupId) + " AND PP.physician_id = SS.dictator_physician_id";
}

std::string GroupCosignerForQuery(long groupId) {
    return "SELECT DISTINCT PP.last_name + ', ' + PP.first_name FROM Signature_dependencies SD, Physician_profile PP "
           "WHERE SD.cosigner_group_id = " +
           n(groupId) + " AND PP.physician_id = SD.dictator_physician_id";
}

} // namespace users
