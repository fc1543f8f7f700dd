// Surrogate, resident and cosigner relationships: loading for the folders, the all-or-nothing
// rewrites with the surrogate signing rows, group surrogates, expired periods, the group relations
// and what deleting a physician user leaves.

#include "RelationView.h"
#include "RelationshipFixture.h"
#include "clsSignatureRelationships.h"
#include "modUserStore.h"

using namespace users;

namespace {

class SignatureRelationships : public kdtest::RelationshipTest {
protected:
    static clsSurrogate single(long physician, const std::string& from = "", const std::string& to = "") {
        clsSurrogate s;
        s.m_lngSurrogatePhysicianId = physician;
        s.m_strEffectiveDate = from;
        s.m_strExpireDate = to;
        return s;
    }
    static clsSurrogate group(long groupId) {
        clsSurrogate s;
        s.m_lngSurrogateGroupId = groupId;
        return s;
    }
    std::vector<std::string> surrogateRows() {
        return rows("SELECT dictator_physician_id, surrogate_physician_id, surrogate_group_id, "
                    "CONVERT(char(10), effective_date, 120), CONVERT(char(10), expire_date, 120) FROM "
                    "Signature_surrogates ORDER BY dictator_physician_id, surrogate_group_id, surrogate_physician_id");
    }
    std::vector<std::string> relationRows() {
        return rows("SELECT physician_id, related_physician_id, relationship_type, access_type, flag3, "
                    "CONVERT(char(10), expire_date, 120) FROM Signature_relationships ORDER BY physician_id, "
                    "relationship_type, related_physician_id");
    }
    clsSignatureRelationships rel;
};

TEST_F(SignatureRelationships, LoadsSurrogatesWithTheirUsersGroupsAndDates) {
    exec("INSERT INTO Signature_surrogates VALUES (1, 2, -1, '2026-01-02 03:04:05.127', NULL, GETDATE(), 0, 0, 0, "
         "NULL, NULL, NULL)\n"
         "INSERT INTO Signature_surrogates VALUES (1, 0, 400, NULL, '2027-05-06', GETDATE(), 0, 0, 0, NULL, NULL, "
         "NULL)");
    ASSERT_TRUE(rel.LoadSurrogates());
    EXPECT_EQ(session().history.back(), kSurrogatesQuery);
    ASSERT_EQ(rel.Surrogates().size(), 2u);
    const auto& a = rel.Surrogates()[0];
    EXPECT_EQ(a.m_lngDictatorUserId, 301);
    EXPECT_EQ(a.m_lngSurrogateUserId, 302);
    EXPECT_FALSE(a.IsGroup());
    EXPECT_EQ(a.m_strEffectiveDate, "2026-01-02 03:04:05.127");
    EXPECT_EQ(a.m_strExpireDate, "");
    const auto& b = rel.Surrogates()[1];
    EXPECT_TRUE(b.IsGroup());
    EXPECT_EQ(b.m_lngSurrogateGroupId, 400);
    EXPECT_EQ(b.m_strEffectiveDate, "");
    EXPECT_EQ(b.m_strExpireDate.substr(0, 10), "2027-05-06");

    users::clsUsers loadedUsers;
    ASSERT_TRUE(LoadActiveUsers(&loadedUsers));
    const auto folder = rel.Folder(clsSignatureRelationships::kSurrogateFolder, loadedUsers, {{400, "CARDIO"}});
    ASSERT_EQ(folder.size(), 1u);
    EXPECT_EQ(folder[0].dictatorName, "DRONE");
    EXPECT_EQ(folder[0].relations, (std::vector<std::string>{"DRTWO", "CARDIO (Group)"}));
}

TEST_F(SignatureRelationships, SavingSurrogatesRewritesThemWithTheirSigningRowsAndKeepsTheOwnRow) {
    exec("INSERT INTO Signature_relationships VALUES (1, 1, 2, 2, 0, NULL, NULL, 0, 0, 0, NULL, NULL, NULL)\n"
         "INSERT INTO Signature_relationships VALUES (1, 4, 2, 2, 0, NULL, NULL, 0, 0, 0, NULL, NULL, NULL)\n"
         "INSERT INTO Signature_relationships VALUES (2, 4, 2, 2, 0, NULL, NULL, 0, 0, 0, NULL, NULL, NULL)\n"
         "INSERT INTO Signature_relationships VALUES (1, 3, 1, 1, 0, NULL, NULL, 0, 0, 0, NULL, NULL, NULL)\n"
         "INSERT INTO Signature_surrogates VALUES (1, 4, -1, NULL, NULL, GETDATE(), 0, 0, 0, NULL, NULL, NULL)");
    ASSERT_TRUE(rel.LoadSurrogates());
    ASSERT_TRUE(
        rel.SaveSurrogates(1, "DRONE", {single(2, "2026-12-01 00:00:00.000", "2027-01-31 00:00:00.000")}, false));
    EXPECT_EQ(surrogateRows(), (std::vector<std::string>{"1|2|-1|2026-12-01|2027-01-31"}));
    // The old surrogate's row is gone, the own row and the other physicians' and group rows stay.
    EXPECT_EQ(relationRows(),
              (std::vector<std::string>{"1|3|1|1|0|NULL", "1|1|2|2|0|NULL", "1|2|2|2|0|2027-01-31", "2|4|2|2|0|NULL"}));
    EXPECT_TRUE(sentContaining("SET XACT_ABORT ON\r\nBEGIN TRANSACTION\r\nDECLARE @self int"));
    EXPECT_TRUE(
        sentContaining("\r\nDELETE FROM Signature_relationships WHERE physician_id = 1 AND relationship_type = 2\r\n"));
    EXPECT_EQ(logRows(), (std::vector<std::string>{
                             "20006|2|2|50|1|User DRONE surrogate relationships have been changed by MGR."}));
    ASSERT_EQ(rel.SurrogatesOf(1).size(), 1u);
    EXPECT_EQ(rel.SurrogatesOf(1)[0].m_lngSurrogatePhysicianId, 2);
}

TEST_F(SignatureRelationships, AGroupSurrogateGivesEachLivePhysicianMemberASigningRowOnce) {
    // DRTWO is a member and also a surrogate of its own; the transcriptionist and the deleted
    // physician of the group get nothing.
    ASSERT_TRUE(rel.SaveSurrogates(1, "DRONE", {single(2), group(400)}, true));
    EXPECT_EQ(surrogateRows(), (std::vector<std::string>{"1|2|-1|NULL|NULL", "1|0|400|NULL|NULL"}));
    EXPECT_EQ(relationRows(), (std::vector<std::string>{"1|2|2|2|0|NULL", "1|3|2|2|0|NULL"}));
    EXPECT_EQ(logRows(),
              (std::vector<std::string>{"20007|2|2|50|1|User DRONE surrogate relationship has been added by MGR."}));
    // The dictating physician in its own surrogate group signs through its own row, not another.
    ASSERT_TRUE(rel.SaveSurrogates(2, "DRTWO", {group(400)}, true));
    EXPECT_EQ(rows("SELECT related_physician_id FROM Signature_relationships WHERE physician_id = 2"),
              (std::vector<std::string>{"3"}));
}

TEST_F(SignatureRelationships, AnExpiredSurrogatePeriodIsStoredButNotInForce) {
    ASSERT_TRUE(rel.SaveSurrogates(
        1, "DRONE",
        {single(2, "2020-01-01 00:00:00.000", "2020-12-31 00:00:00.000"), single(3, "2020-01-01 00:00:00.000", "")},
        true));
    EXPECT_EQ(surrogateRows(), (std::vector<std::string>{"1|2|-1|2020-01-01|2020-12-31", "1|3|-1|2020-01-01|NULL"}));
    // In force: effective NULL or past, expiry NULL or future.
    EXPECT_EQ(rows("SELECT related_physician_id FROM Signature_relationships WHERE physician_id = 1 AND "
                   "(effective_date IS NULL OR effective_date <= GETDATE()) AND (expire_date IS NULL OR expire_date > "
                   "GETDATE()) ORDER BY related_physician_id"),
              (std::vector<std::string>{"3"}));
    // The pending reports of DRONE count for DRTHREE only.
    exec("INSERT Document_demographics (document_id, hosp_acct_id, report_type_nbr, physician_id, create_date) "
         "VALUES (77, 10, 1, 1, GETDATE())\nINSERT Signature_pending_phys_reports VALUES (77, 1, 1, 0)");
    EXPECT_EQ(rows("EXEC get_paxlet_inbox_summary 0, 0"), (std::vector<std::string>{"3|1"}));
}

TEST_F(SignatureRelationships, SavingNoSurrogateDeletesTheRelationship) {
    ASSERT_TRUE(rel.SaveSurrogates(1, "DRONE", {single(2)}, true));
    ASSERT_TRUE(rel.DeleteSurrogates(1, "DRONE"));
    EXPECT_TRUE(surrogateRows().empty());
    EXPECT_TRUE(relationRows().empty());
    EXPECT_TRUE(rel.SurrogatesOf(1).empty());
}

TEST_F(SignatureRelationships, AFailedSurrogateSaveLeavesEveryRowAsItWas) {
    ASSERT_TRUE(rel.SaveSurrogates(1, "DRONE", {single(4)}, true));
    const auto before = relationRows();
    // The second insert breaks a unique key after the deletes have run.
    exec("CREATE UNIQUE INDEX ux_surrogates ON Signature_surrogates (dictator_physician_id, surrogate_physician_id)");
    recorder.shown.clear();
    EXPECT_FALSE(rel.SaveSurrogates(1, "DRONE", {single(2), single(2)}, false));
    EXPECT_EQ(surrogateRows(), (std::vector<std::string>{"1|4|-1|NULL|NULL"}));
    EXPECT_EQ(relationRows(), before);
    ASSERT_FALSE(recorder.shown.empty());
    EXPECT_EQ(recorder.shown.back().text, kSurrogateSaveFailed);
    EXPECT_EQ(recorder.shown.back().title, "User Management");
    ASSERT_EQ(rel.SurrogatesOf(1).size(), 1u);
    EXPECT_EQ(rel.SurrogatesOf(1)[0].m_lngSurrogatePhysicianId, 4);
    EXPECT_EQ(logRows().size(), 1u); // only the first save's
}

TEST_F(SignatureRelationships, ResidentsAndCosignersAreSavedApartAndReadBack) {
    clsSignatureDependency cosigner;
    cosigner.m_lngCosignerPhysicianId = 2;
    cosigner.m_blnCosignerSignatureRequired = true;
    cosigner.m_lngCosignerSignatureLevel = 2;
    cosigner.m_blnDictatorSignatureRequired = false;
    cosigner.m_lngDictatorSignatureLevel = 1;
    clsSignatureDependency resident;
    resident.m_lngCosignerGroupId = 400;
    resident.m_blnCosignerSignatureRequired = true;
    resident.m_lngCosignerSignatureLevel = 3;
    resident.m_blnDictatorSignatureRequired = true;
    resident.m_strEffectiveDate = "2026-12-01 00:00:00.000";
    resident.m_strExpireDate = "2027-06-30 00:00:00.000";
    ASSERT_TRUE(rel.SaveDependencies(1, "DRONE", false, {cosigner}));
    ASSERT_TRUE(rel.SaveDependencies(1, "DRONE", true, {resident}));
    const char* q =
        "SELECT dictator_physician_id, cosigner_physician_id, cosigner_group_id, cosigner_physician_type, "
        "cosigner_signature_required, cosigner_signature_level, dictator_signature_required, "
        "dictator_signature_level, CONVERT(char(10), effective_date, 120), CONVERT(char(10), expire_date, "
        "120), CASE WHEN create_date IS NULL THEN 'no stamp' ELSE 'stamped' END FROM Signature_dependencies "
        "ORDER BY cosigner_physician_type";
    EXPECT_EQ(rows(q), (std::vector<std::string>{"1|2|-1|1|1|2|0|1|NULL|NULL|stamped",
                                                 "1|0|400|2|1|3|1|1|2026-12-01|2027-06-30|stamped"}));
    clsSignatureRelationships fresh;
    ASSERT_TRUE(fresh.LoadDependencies());
    ASSERT_EQ(fresh.DependenciesOf(1, true).size(), 1u);
    EXPECT_EQ(fresh.DependenciesOf(1, true)[0].TypeText(), "Resident-Group");
    EXPECT_EQ(fresh.DependenciesOf(1, false)[0].m_lngCosignerUserId, 302);
    EXPECT_EQ(fresh.DependenciesOf(1, false)[0].TypeText(), "Cosigner");
    // Deleting the residents leaves the cosigner.
    ASSERT_TRUE(fresh.DeleteDependencies(1, "DRONE", true));
    EXPECT_EQ(rows("SELECT cosigner_physician_type FROM Signature_dependencies"), (std::vector<std::string>{"1"}));
    EXPECT_EQ(logRows().back(), "20005|2|2|50|1|User DRONE signature relationships have been changed by MGR.");
    users::clsUsers loadedUsers;
    ASSERT_TRUE(LoadActiveUsers(&loadedUsers));
    EXPECT_TRUE(fresh.Folder(clsSignatureRelationships::kResidentFolder, loadedUsers).empty());
    const auto cos = fresh.Folder(clsSignatureRelationships::kCosignatureFolder, loadedUsers);
    ASSERT_EQ(cos.size(), 1u);
    EXPECT_EQ(cos[0].relations, (std::vector<std::string>{"DRTWO (Cosigner, Level 2)"}));
}

TEST_F(SignatureRelationships, DeletingAPhysicianUserWhoIsASurrogateRemovesItsRelationshipsOnly) {
    ASSERT_TRUE(rel.SaveSurrogates(1, "DRONE", {single(2), single(3)}, true));
    ASSERT_TRUE(rel.SaveSurrogates(4, "DRFOUR", {single(2)}, true));
    ASSERT_TRUE(rel.SaveSurrogates(2, "DRTWO", {single(3)}, true));
    users::clsUsers loadedUsers;
    ASSERT_TRUE(LoadActiveUsers(&loadedUsers));
    ASSERT_TRUE(DeleteUser(clsUsers::Key(302), loadedUsers));
    EXPECT_EQ(surrogateRows(), (std::vector<std::string>{"1|3|-1|NULL|NULL"}));
    EXPECT_EQ(relationRows(), (std::vector<std::string>{"1|3|2|2|0|NULL"}));
    ASSERT_TRUE(rel.LoadSurrogates());
    EXPECT_TRUE(rel.SurrogatesOf(4).empty());
    ASSERT_EQ(rel.SurrogatesOf(1).size(), 1u);
}

TEST_F(SignatureRelationships, GroupRelationsFollowTheMembersViewingAndSigning) {
    exec("INSERT INTO Signature_relationships VALUES (3, 2, 1, 1, 0, NULL, NULL, 0, 0, 0, NULL, NULL, NULL)\n"
         "INSERT INTO Signature_relationships VALUES (2, 3, 1, 2, 0, NULL, NULL, 0, 0, 0, NULL, NULL, NULL)\n"
         "INSERT INTO Signature_relationships VALUES (2, 4, 1, 2, 0, NULL, NULL, 0, 0, 0, NULL, NULL, NULL)\n"
         "INSERT INTO Signature_relationships VALUES (4, 2, 1, 2, 0, NULL, NULL, 0, 0, 0, NULL, NULL, NULL)");
    // DRTWO signs (as proxy), DRTHREE only views, DRONE neither; DRFOUR left the group.
    ASSERT_TRUE(UpdateGroupRelations({{2, true, true}, {3, true, false}, {1, false, false}}, {4}, true));
    EXPECT_EQ(relationRows(),
              (std::vector<std::string>{"1|2|1|2|1|NULL", "1|3|1|1|0|NULL", "2|3|1|1|0|NULL", "3|2|1|2|1|NULL"}));
    EXPECT_TRUE(UpdateGroupRelations({}, {}, false));
}

// The group editor's save: the members' viewing and signing become relations between their
// physicians; a member without a physician is left out, one who left has its relations deleted.
TEST_F(SignatureRelationships, ASavedPhysicianGroupWritesItsMembersRelations) {
    exec("INSERT INTO Signature_relationships VALUES (3, 2, 1, 1, 0, NULL, NULL, 0, 0, 0, NULL, NULL, NULL)\n"
         "INSERT INTO Signature_relationships VALUES (2, 3, 1, 2, 0, NULL, NULL, 0, 0, 0, NULL, NULL, NULL)\n"
         "INSERT INTO Signature_relationships VALUES (2, 4, 1, 2, 0, NULL, NULL, 0, 0, 0, NULL, NULL, NULL)\n"
         "INSERT INTO Signature_relationships VALUES (4, 2, 1, 2, 0, NULL, NULL, 0, 0, 0, NULL, NULL, NULL)");
    users::clsUsers loaded;
    ASSERT_TRUE(LoadActiveUsers(&loaded));
    users::clsSecurityGroup before;
    before.m_lngGroupId = 400;
    before.m_lngGroupType = users::clsSecurityGroup::kPhysicianGroup;
    before.m_lngGroupFlags = users::clsSecurityGroup::kProxyGroup;
    for (long id : {301L, 302L, 303L, 304L})
        before.AddUserId(id);
    users::clsSecurityGroup after = before;
    after.RemoveUserIdAndUserRelation(304); // DRFOUR left the group
    after.AddUserId(305);                   // TNONE has no physician
    for (long id : {302L, 303L, 305L})
        after.SetRelationValue(id, 1, true); // viewing
    for (long id : {302L, 305L})
        after.SetRelationValue(id, 2, true); // signing
    const auto stored = relationRows();
    users::clsSecurityGroup general = after;
    general.m_lngGroupType = users::clsSecurityGroup::kGeneralGroup;
    ASSERT_TRUE(WriteGroupRelations(before, general, loaded));
    EXPECT_EQ(relationRows(), stored); // not a physician group: nothing written
    ASSERT_TRUE(WriteGroupRelations(before, after, loaded));
    EXPECT_EQ(relationRows(),
              (std::vector<std::string>{"1|2|1|2|1|NULL", "1|3|1|1|0|NULL", "2|3|1|1|0|NULL", "3|2|1|2|1|NULL"}));
}

TEST_F(SignatureRelationships, AFailedGroupRelationsUpdateShowsItsMessage) {
    exec("DROP TABLE Signature_relationships");
    recorder.shown.clear();
    EXPECT_FALSE(UpdateGroupRelations({{2, true, true}, {3, true, false}}, {}, false));
    ASSERT_FALSE(recorder.shown.empty());
    EXPECT_EQ(recorder.shown.back().text, kRelationshipsUpdateFailed);
}

TEST_F(SignatureRelationships, GroupPhysiciansAreTheLivePhysicianUsersOfTheMembership) {
    std::vector<long> ids;
    ASSERT_TRUE(LoadGroupPhysicians(400, ids));
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(ids, (std::vector<long>{2, 3}));
}

struct DateCase {
    const char* stored;
    const char* literal;
};

// Names each case by its stored text in test listings instead of the bytes of its pointers.
void PrintTo(const DateCase& c, std::ostream* os) {
    *os << '"' << c.stored << '"';
}

class DateLiterals : public ::testing::TestWithParam<DateCase> {};

TEST_P(DateLiterals, AreWrittenInTheLanguageIndependentForm) {
    EXPECT_EQ(DateLiteral(GetParam().stored), GetParam().literal) << GetParam().stored;
}

INSTANTIATE_TEST_SUITE_P(Stored, DateLiterals,
                         ::testing::Values(DateCase{"2026-12-06 13:14:15.127", "'20261206 13:14:15.127'"},
                                           DateCase{"2026-12-06 13:14:15", "'20261206 13:14:15.000'"},
                                           DateCase{"2026-12-06", "'20261206 00:00:00.000'"}, DateCase{"", "NULL"},
                                           DateCase{"2026-12", "NULL"}, DateCase{"2026-12-0' OR 1=1", "NULL"},
                                           DateCase{"2026-12-06 1'; DROP", "NULL"}));

} // namespace

namespace {

class DeleteRelationships : public kdtest::RelationshipTest {};

TEST_F(DeleteRelationships, TheTreeDeleteAsksNamingTheKindAndDeletesOnYesOnly) {
    exec("INSERT INTO Signature_surrogates VALUES (1, 2, -1, NULL, NULL, GETDATE(), 0, 0, 0, NULL, NULL, NULL)\n"
         "INSERT INTO Signature_dependencies VALUES (1, 2, -1, 1, 1, 1, 0, 1, NULL, NULL, GETDATE(), 0, 0, 0, NULL, "
         "NULL, NULL)\n"
         "INSERT INTO Signature_dependencies VALUES (1, 3, -1, 2, 1, 1, 0, 1, NULL, NULL, GETDATE(), 0, 0, 0, NULL, "
         "NULL, NULL)");
    clsSignatureRelationships rel;
    ASSERT_TRUE(rel.LoadSurrogates());
    ASSERT_TRUE(rel.LoadDependencies());
    using Kind = clsSignatureRelationships::Kind;
    recorder.answer(platform::MsgAnswer::No);
    EXPECT_FALSE(rel.DeleteRelationship(Kind::Surrogate, 1, "DRONE"));
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, "Are you sure you want to delete the Surrogate Relationship for DRONE?");
    EXPECT_EQ(recorder.shown[0].title, "Delete Relationship");
    EXPECT_EQ(recorder.shown[0].buttons, platform::MsgButtons::YesNo);
    EXPECT_EQ(rows("SELECT COUNT(*) FROM Signature_surrogates"), (std::vector<std::string>{"1"}));

    recorder.answer(platform::MsgAnswer::Yes);
    EXPECT_TRUE(rel.DeleteRelationship(Kind::Resident, 1, "DRONE"));
    EXPECT_EQ(recorder.shown[1].text, "Are you sure you want to delete the Resident Relationship for DRONE?");
    EXPECT_EQ(rows("SELECT cosigner_physician_id FROM Signature_dependencies"), (std::vector<std::string>{"2"}));

    recorder.answer(platform::MsgAnswer::Yes);
    EXPECT_TRUE(rel.DeleteRelationship(Kind::Signature, 1, "DRONE"));
    EXPECT_EQ(recorder.shown[2].text, "Are you sure you want to delete the Signature Relationship for DRONE?");
    EXPECT_EQ(rows("SELECT COUNT(*) FROM Signature_dependencies"), (std::vector<std::string>{"0"}));
    EXPECT_EQ(logRows().size(), 2u); // one for the resident delete, one for both kinds at once

    recorder.answer(platform::MsgAnswer::Yes);
    EXPECT_TRUE(rel.DeleteRelationship(Kind::Surrogate, 1, "DRONE"));
    EXPECT_EQ(rows("SELECT COUNT(*) FROM Signature_surrogates"), (std::vector<std::string>{"0"}));
    EXPECT_TRUE(rel.Surrogates().empty());
    EXPECT_TRUE(rel.Dependencies().empty());
}

TEST_F(DeleteRelationships, AFailedDeleteSaysSoAndKeepsTheRows) {
    exec("INSERT INTO Signature_surrogates VALUES (1, 2, -1, NULL, NULL, GETDATE(), 0, 0, 0, NULL, NULL, NULL)");
    clsSignatureRelationships rel;
    ASSERT_TRUE(rel.LoadSurrogates());
    exec("DROP TABLE Signature_relationships");
    recorder.answer(platform::MsgAnswer::Yes);
    EXPECT_FALSE(rel.DeleteRelationship(clsSignatureRelationships::Kind::Surrogate, 1, "DRONE"));
    EXPECT_EQ(recorder.shown.back().text,
              "Error encountered attempting to delete the surrogate relationship.  Information not saved.");
    EXPECT_EQ(rows("SELECT COUNT(*) FROM Signature_surrogates"), (std::vector<std::string>{"1"}));
    EXPECT_EQ(rel.Surrogates().size(), 1u);
}

} // namespace

namespace {

class RelationViews : public kdtest::RelationshipTest {};

std::vector<std::string> lines(const std::vector<RelationViewRow>& rows) {
    std::vector<std::string> out;
    for (const auto& r : rows)
        out.push_back(r.name + "|" + r.type + "|" + r.access + "|" + r.level + "|" + r.required + "|" + r.start + "|" +
                      r.expire);
    return out;
}

TEST_F(RelationViews, ShowBothDirectionsWithGroupCosignersAndWithoutTheOwnRow) {
    exec("UPDATE Physician_profile SET last_name = 'Zed', first_name = 'Zoe' WHERE physician_id = 1\n"
         "INSERT INTO Signature_relationships VALUES (1, 2, 2, 2, 0, NULL, '2027-01-31', 0, 0, 0, NULL, NULL, NULL)\n"
         "INSERT INTO Signature_relationships VALUES (2, 2, 2, 2, 0, NULL, NULL, 0, 0, 0, NULL, NULL, NULL)\n"
         "INSERT INTO Signature_relationships VALUES (3, 2, 1, 1, 0, NULL, NULL, 0, 0, 0, NULL, NULL, NULL)\n"
         "INSERT INTO Signature_relationships VALUES (2, 3, 1, 2, 1, NULL, NULL, 0, 0, 0, NULL, NULL, NULL)\n"
         // DRTWO cosigns for DRONE through the CARDIO group; DRFOUR is DRTWO's resident supervisor.
         "INSERT INTO Signature_dependencies VALUES (1, 0, 400, 1, 1, 2, 0, 1, '2026-12-01', NULL, GETDATE(), 0, 0, "
         "0, NULL, NULL, NULL)\n"
         "INSERT INTO Signature_dependencies VALUES (2, 4, -1, 2, 0, 3, 1, 1, NULL, NULL, GETDATE(), 0, 0, 0, NULL, "
         "NULL, NULL)");
    std::vector<RelationViewRow> outward, inward;
    ASSERT_TRUE(LoadRelationView(2, outward, inward));
    EXPECT_EQ(lines(outward),
              (std::vector<std::string>{"DRTHREE|Group|Viewing Only||||", "DRONE|Surrogate|Signing||||2027-01-31",
                                        "DRONE|Cosigner-Group||Level 2|Yes|2026-12-01|"}));
    EXPECT_EQ(lines(inward),
              (std::vector<std::string>{"DRTHREE|Group|Signing-Proxy||||", "DRFOUR|Resident||Level 3|No||"}));
}

} // namespace
