#pragma once

#include "clsSignatureDependency.h"
#include "clsSurrogate.h"

#include <string>
#include <vector>

namespace users {

// The statements of the signature relationship tables, built without touching the database.

extern const char* const kSurrogatesQuery;
extern const char* const kDependenciesQuery;

// A stored date ("YYYY-MM-DD hh:mm:ss[.fff]") as a datetime literal in the form SQL Server reads the
// same under every language setting ('YYYYMMDD hh:mm:ss.fff'); NULL for an empty date.
std::string DateLiteral(const std::string& date);

// The dictating physician's surrogates written again: the surrogate rows and the surrogate signing
// rows of Signature_relationships (type 2, access 2; a group surrogate gives one row per physician
// member). The physician's own signing row (physician_id = related_physician_id) is kept.
std::string SurrogateSaveBatch(long dictatorPhysicianId, const std::vector<clsSurrogate>& surrogates);
// The dictating physician's cosigner and resident rows written again.
std::string DependencySaveBatch(long dictatorPhysicianId, const std::vector<clsSignatureDependency>& dependencies);

// One physician member of a physician group and how it may act for the other members.
struct GroupMemberRelation {
    long physicianId = 0;
    bool viewing = false;
    bool signing = false;
};
// The group relations (type 1) between the members: for each ordered pair, the row where the
// second may act for the first is updated or inserted with its access (2 signing, 1 viewing; flag3 1
// when signing as proxy), or deleted when the member neither views nor signs. Rows between a
// withdrawn member and the members are deleted both ways.
std::string GroupRelationsBatch(const std::vector<GroupMemberRelation>& members, const std::vector<long>& withdrawn,
                                bool proxy);

// The physician members of a group: physician users (flag1) of its membership rows.
std::string GroupPhysiciansQuery(long groupId);
// The active users of a group's membership rows.
std::string GroupUsersQuery(long groupId);

} // namespace users
