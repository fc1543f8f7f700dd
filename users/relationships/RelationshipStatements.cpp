#include "RelationshipStatements.h"

namespace users {

namespace {

const std::string kCrLf = "\r\n";

std::string n(long value) {
    return std::to_string(value);
}

std::string b(bool value) {
    return value ? "1" : "0";
}

// The relation row where `related` may act for `physician` through a group.
std::string groupRowCondition(long physician, long related) {
    return "physician_id = " + n(physician) + " AND related_physician_id = " + n(related) +
           " AND relationship_type = 1";
}

} // namespace

const char* const kSurrogatesQuery =
    "SELECT dictator_physician_id,\r\n"
    "dictator_user_id = (SELECT flag2 FROM Physician_profile WHERE physician_id = dictator_physician_id),\r\n"
    "surrogate_physician_id,\r\n"
    "surrogate_user_id = (SELECT flag2 FROM Physician_profile WHERE physician_id = surrogate_physician_id),\r\n"
    "surrogate_group_id,\r\n"
    "effective_date,\r\n"
    "expire_date\r\n"
    "FROM Signature_surrogates";

const char* const kDependenciesQuery =
    "SELECT dictator_physician_id,\r\n"
    "dictator_user_id = (SELECT flag2 FROM Physician_profile WHERE physician_id = dictator_physician_id),\r\n"
    "cosigner_physician_id,\r\n"
    "cosigner_user_id = (SELECT flag2 FROM Physician_profile WHERE physician_id = cosigner_physician_id),\r\n"
    "cosigner_group_id,\r\n"
    "cosigner_physician_type,\r\n"
    "cosigner_signature_required,\r\n"
    "cosigner_signature_level,\r\n"
    "dictator_signature_required,\r\n"
    "dictator_signature_level,\r\n"
    "effective_date,\r\n"
    "expire_date\r\n"
    "FROM Signature_dependencies";

std::string DateLiteral(const std::string& date) {
    // Only the digits and the time are taken from the stored form, so nothing but a date reaches SQL.
    if (date.size() < 10)
        return "NULL";
    std::string digits;
    for (size_t i = 0; i < 10; ++i)
        if (date[i] >= '0' && date[i] <= '9')
            digits += date[i];
    if (digits.size() != 8)
        return "NULL";
    std::string time = "00:00:00.000";
    if (date.size() >= 19 && date[10] == ' ') {
        time = date.substr(11, 8);
        time += date.size() >= 23 && date[19] == '.' ? date.substr(19, 4) : ".000";
    }
    for (char c : time)
        if (!((c >= '0' && c <= '9') || c == ':' || c == '.'))
            return "NULL";
    return "'" + digits + " " + time + "'";
}

std::string SurrogateSaveBatch(long dictatorPhysicianId, const std::vector<clsSurrogate>& surrogates) {
    const std::string p = n(dictatorPhysicianId);
    std::string sql = "DECLARE @self int" + kCrLf +
                      "SELECT @self = COUNT(*) FROM Signature_relationships WHERE physician_id = " + p +
                      " AND related_physician_id = " + p + " AND relationship_type = 2" + kCrLf +
                      "DELETE FROM Signature_surrogates WHERE dictator_physician_id = " + p + kCrLf +
                      "DELETE FROM Signature_relationships WHERE physician_id = " + p + " AND relationship_type = 2" +
                      kCrLf + "IF @self > 0 INSERT INTO Signature_relationships VALUES(" + p + ", " + p +
                      ", 2, 2, 0, NULL, NULL, 0, 0, 0, NULL, NULL, NULL)";
    for (const auto& s : surrogates) {
        const std::string eff = DateLiteral(s.m_strEffectiveDate);
        const std::string exp = DateLiteral(s.m_strExpireDate);
        sql += kCrLf + "INSERT INTO Signature_surrogates VALUES(" + p + ", " +
               n(s.IsGroup() ? 0 : s.m_lngSurrogatePhysicianId) + ", " + n(s.m_lngSurrogateGroupId) + ", " + eff +
               ", " + exp + ", GETDATE(), 0, 0, 0, NULL, NULL, NULL)";
    }
    for (const auto& s : surrogates) {
        const std::string eff = DateLiteral(s.m_strEffectiveDate);
        const std::string exp = DateLiteral(s.m_strExpireDate);
        if (!s.IsGroup()) {
            const std::string r = n(s.m_lngSurrogatePhysicianId);
            sql += kCrLf + "IF NOT EXISTS (SELECT * FROM Signature_relationships WHERE physician_id = " + p +
                   " AND related_physician_id = " + r + " AND relationship_type = 2)" + kCrLf +
                   "INSERT INTO Signature_relationships VALUES(" + p + ", " + r + ", 2, 2, 0, " + eff + ", " + exp +
                   ", 0, 0, 0, NULL, NULL, NULL)";
            continue;
        }
        // Every physician member of the group, once, the dictating physician left out.
        sql += kCrLf + "INSERT INTO Signature_relationships" + kCrLf + "SELECT DISTINCT " + p +
               ", SUB.flag1, 2, 2, 0, " + eff + ", " + exp + ", 0, 0, 0, NULL, NULL, NULL" + kCrLf +
               "FROM System_security_groups SSG, System_user_bindery SUB" + kCrLf +
               "WHERE SSG.group_id = " + n(s.m_lngSurrogateGroupId) +
               " AND SUB.user_id = SSG.user_id AND SUB.flag3 = 0 AND SUB.is_deleted = 0" + kCrLf +
               "AND SUB.flag1 > 0 AND SUB.flag1 <> " + p + kCrLf +
               "AND NOT EXISTS (SELECT * FROM Signature_relationships SR WHERE SR.physician_id = " + p +
               " AND SR.related_physician_id = SUB.flag1 AND SR.relationship_type = 2)";
    }
    return sql;
}

std::string DependencySaveBatch(long dictatorPhysicianId, const std::vector<clsSignatureDependency>& dependencies) {
    const std::string p = n(dictatorPhysicianId);
    std::string sql = "DELETE FROM Signature_dependencies WHERE dictator_physician_id = " + p;
    for (const auto& d : dependencies)
        sql += kCrLf + "INSERT INTO Signature_dependencies VALUES(" + p + ", " +
               n(d.IsGroup() ? 0 : d.m_lngCosignerPhysicianId) + ", " + n(d.m_lngCosignerGroupId) + ", " +
               n(d.m_lngCosignerPhysicianType) + ", " + b(d.m_blnCosignerSignatureRequired) + ", " +
               n(d.m_lngCosignerSignatureLevel) + ", " + b(d.m_blnDictatorSignatureRequired) + ", " +
               n(d.m_lngDictatorSignatureLevel) + ", " + DateLiteral(d.m_strEffectiveDate) + ", " +
               DateLiteral(d.m_strExpireDate) + ", GETDATE(), 0, 0, 0, NULL, NULL, NULL)";
    return sql;
}

std::string GroupRelationsBatch(const std::vector<GroupMemberRelation>& members, const std::vector<long>& withdrawn,
                                bool proxy) {
    std::string sql;
    auto add = [&sql](const std::string& line) { sql += (sql.empty() ? "" : kCrLf) + line; };
    for (const auto& actor : members)
        for (const auto& other : members) {
            if (actor.physicianId == other.physicianId)
                continue;
            const std::string where = groupRowCondition(other.physicianId, actor.physicianId);
            if (!actor.viewing && !actor.signing) {
                add("DELETE FROM Signature_relationships WHERE " + where);
                continue;
            }
            const std::string access = actor.signing ? "2" : "1";
            const std::string flag3 = actor.signing && proxy ? "1" : "0";
            add("IF EXISTS (SELECT * FROM Signature_relationships WHERE " + where + ")");
            add("UPDATE Signature_relationships SET access_type = " + access + ", flag3 = " + flag3 + " WHERE " +
                where);
            add("ELSE");
            add("INSERT INTO Signature_relationships VALUES(" + n(other.physicianId) + ", " + n(actor.physicianId) +
                ", 1, " + access + ", " + flag3 + ", NULL, NULL, 0, 0, 0, NULL, NULL, NULL)");
        }
    for (long gone : withdrawn)
        for (const auto& m : members) {
            if (m.physicianId == gone)
                continue;
            add("DELETE FROM Signature_relationships WHERE " + groupRowCondition(m.physicianId, gone));
            add("DELETE FROM Signature_relationships WHERE " + groupRowCondition(gone, m.physicianId));
        }
    return sql;
}

std::string GroupPhysiciansQuery(long groupId) {
    return "SELECT DISTINCT SUB.flag1 FROM System_security_groups SSG, System_user_bindery SUB WHERE SSG.group_id = " +
           n(groupId) + " AND SUB.user_id = SSG.user_id AND SUB.flag3 = 0 AND SUB.is_deleted = 0 AND SUB.flag1 > 0";
}

std::string GroupUsersQuery(long groupId) {
    return "SELECT SSG.user_id FROM System_security_groups SSG, System_user_bindery SUB WHERE SSG.group_id = " +
           n(groupId) + " AND SUB.user_id = SSG.user_id AND SUB.flag3 = 0 AND SUB.is_deleted = 0 ORDER BY SSG.user_id";
}

} // namespace users
