#include "RelationView.h"

#include "DatabaseSession.h"

namespace users {

namespace {

std::string n(long value) {
    return std::to_string(value);
}

// The name columns of the other side: its physician user's name, else the profile's names.
std::string nameOf(const std::string& user, const std::string& last, const std::string& first) {
    if (!user.empty())
        return user;
    return first.empty() ? last : last + ", " + first;
}

std::string day(const std::string& date) {
    return date.size() >= 10 ? date.substr(0, 10) : std::string();
}

// Which of the two physician columns names the other side of a relation row.
std::string relationsQuery(long physicianId, const char* self, const char* other) {
    const std::string p = n(physicianId);
    return std::string("SELECT SUB.user_name, PP.last_name, PP.first_name, SR.relationship_type, SR.access_type, "
                       "SR.flag3, SR.effective_date, SR.expire_date\r\n"
                       "FROM Signature_relationships SR\r\n"
                       "JOIN Physician_profile PP ON PP.physician_id = SR.") +
           other +
           "\r\n"
           "LEFT JOIN System_user_bindery SUB ON SUB.flag1 = SR." +
           other +
           " AND SUB.flag3 = 0 AND SUB.is_deleted = 0\r\n"
           "WHERE SR." +
           self + " = " + p + " AND SR." + other + " <> " + p + "\r\nORDER BY PP.last_name, PP.first_name";
}

bool readRelations(std::vector<RelationViewRow>& out) {
    auto& s = foundation::DatabaseSession::instance();
    if (s.ExecSQL() != 1)
        return false;
    while (s.FetchRow() == 1) {
        RelationViewRow r;
        const std::string user = s.GetColumnText(1, 1);
        const std::string last = s.GetColumnText(2, 1);
        const std::string first = s.GetColumnText(3, 1);
        r.name = nameOf(user, last, first);
        r.type = s.GetColumnLong(4) == 1 ? "Group" : "Surrogate";
        const long access = s.GetColumnLong(5);
        r.access = AccessText(access, s.GetColumnLong(6));
        r.start = day(s.GetColumnText(7, 1));
        r.expire = day(s.GetColumnText(8, 1));
        out.push_back(std::move(r));
    }
    return true;
}

bool readDependencies(std::vector<RelationViewRow>& out) {
    auto& s = foundation::DatabaseSession::instance();
    if (s.ExecSQL() != 1)
        return false;
    while (s.FetchRow() == 1) {
        RelationViewRow r;
        const std::string user = s.GetColumnText(1, 1);
        const std::string last = s.GetColumnText(2, 1);
        const std::string first = s.GetColumnText(3, 1);
        const std::string group = s.GetColumnText(4, 1);
        const bool isGroup = s.GetColumnLong(5) != -1;
        r.name = !group.empty() ? group : nameOf(user, last, first);
        r.type = std::string(s.GetColumnLong(6) == 2 ? "Resident" : "Cosigner") + (isGroup ? "-Group" : "");
        r.required = s.GetColumnLong(7) != 0 ? "Yes" : "No";
        r.level = "Level " + n(s.GetColumnLong(8));
        r.start = day(s.GetColumnText(9, 1));
        r.expire = day(s.GetColumnText(10, 1));
        out.push_back(std::move(r));
    }
    return true;
}

} // namespace

std::string AccessText(long accessType, long flag3) {
    if (accessType == 1)
        return "Viewing Only";
    return flag3 == 1 ? "Signing-Proxy" : "Signing";
}

std::string RelationsOutwardQuery(long physicianId) {
    return relationsQuery(physicianId, "related_physician_id", "physician_id");
}

std::string RelationsInwardQuery(long physicianId) {
    return relationsQuery(physicianId, "physician_id", "related_physician_id");
}

std::string DependenciesOutwardQuery(long physicianId) {
    // The dictating physicians this one cosigns for, itself or as a member of the cosigner group.
    const std::string p = n(physicianId);
    return "SELECT SUB.user_name, PP.last_name, PP.first_name, NULL, SD.cosigner_group_id, "
           "SD.cosigner_physician_type, SD.cosigner_signature_required, SD.cosigner_signature_level, "
           "SD.effective_date, SD.expire_date\r\n"
           "FROM Signature_dependencies SD\r\n"
           "JOIN Physician_profile PP ON PP.physician_id = SD.dictator_physician_id\r\n"
           "LEFT JOIN System_user_bindery SUB ON SUB.flag1 = SD.dictator_physician_id AND SUB.flag3 = 0 AND "
           "SUB.is_deleted = 0\r\n"
           "WHERE SD.cosigner_physician_id = " +
           p +
           "\r\nOR SD.cosigner_group_id IN (SELECT SSG.group_id FROM System_security_groups SSG, System_user_bindery "
           "M WHERE M.user_id = SSG.user_id AND M.flag1 = " +
           p + " AND M.flag3 = 0 AND M.is_deleted = 0)\r\nORDER BY PP.last_name, PP.first_name";
}

std::string DependenciesInwardQuery(long physicianId) {
    // Who must also sign this physician's reports: a physician or a group.
    return "SELECT SUB.user_name, PP.last_name, PP.first_name, G.user_name, SD.cosigner_group_id, "
           "SD.cosigner_physician_type, SD.cosigner_signature_required, SD.cosigner_signature_level, "
           "SD.effective_date, SD.expire_date\r\n"
           "FROM Signature_dependencies SD\r\n"
           "LEFT JOIN Physician_profile PP ON PP.physician_id = SD.cosigner_physician_id\r\n"
           "LEFT JOIN System_user_bindery SUB ON SUB.flag1 = SD.cosigner_physician_id AND SD.cosigner_physician_id > 0 "
           "AND SUB.flag3 = 0 AND SUB.is_deleted = 0\r\n"
           "LEFT JOIN System_user_bindery G ON G.user_id = SD.cosigner_group_id AND G.flag3 > 0\r\n"
           "WHERE SD.dictator_physician_id = " +
           n(physicianId) + "\r\nORDER BY PP.last_name, G.user_name";
}

bool LoadRelationView(long physicianId, std::vector<RelationViewRow>& outward, std::vector<RelationViewRow>& inward) {
    auto& s = foundation::DatabaseSession::instance();
    std::vector<RelationViewRow> out, in;
    s.SQLStatement = RelationsOutwardQuery(physicianId);
    if (!readRelations(out))
        return false;
    s.SQLStatement = DependenciesOutwardQuery(physicianId);
    if (!readDependencies(out))
        return false;
    s.SQLStatement = RelationsInwardQuery(physicianId);
    if (!readRelations(in))
        return false;
    s.SQLStatement = DependenciesInwardQuery(physicianId);
    if (!readDependencies(in))
        return false;
    outward.swap(out);
    inward.swap(in);
    return true;
}

} // namespace users
