// Security groups: the record's membership and relations, who may join a group, loading the
// members, and adding, changing and deleting groups with the rows and log lines that go with them.

#include "GroupFixture.h"
#include "GroupStatements.h"

using namespace users;

namespace {

class SecurityGroup : public kdtest::GroupTest {};

TEST(SecurityGroupRecord, RelationStringsGiveTheAccess) {
    const std::string no(100, '\x01');
    auto with = [&](int position) {
        std::string r = no;
        r[static_cast<size_t>(position - 1)] = '\x02';
        return r;
    };
    const std::pair<std::string, clsSecurityGroup::AccessType> cases[] = {
        {"", clsSecurityGroup::NoAccess},
        {no, clsSecurityGroup::NoAccess},
        {with(1), clsSecurityGroup::ViewingAccess},
        {with(2), clsSecurityGroup::SigningAccess},
        {"\x02\x02", clsSecurityGroup::SigningAccess},
        {"\x02", clsSecurityGroup::ViewingAccess},
        {with(3), clsSecurityGroup::NoAccess},
        {"AB", clsSecurityGroup::NoAccess},
    };
    for (const auto& [relations, access] : cases)
        EXPECT_EQ(clsSecurityGroup::GetRAccessType(relations), access) << relations.size();
}

TEST(SecurityGroupRecord, MembersKeepTheirOrderAndRelations) {
    clsSecurityGroup g;
    EXPECT_TRUE(g.AddUserId(5));
    EXPECT_TRUE(g.AddUserId(3));
    EXPECT_FALSE(g.AddUserId(5));
    EXPECT_TRUE(g.AddUserId(9));
    g.SetRelationValue(3, clsSecurityGroup::kSigning, true);
    EXPECT_EQ(g.GetUserRelation(3).size(), 100u);
    EXPECT_EQ(g.GetUserRelation(3).substr(0, 3), std::string("\x01\x02\x01"));
    EXPECT_TRUE(g.SigningEnabledForUserId(3));
    EXPECT_FALSE(g.ViewingEnabledForUserId(5));
    g.SetRelationValue(3, 101, true); // out of range: nothing
    EXPECT_EQ(g.GetUserRelation(3).size(), 100u);
    EXPECT_EQ(g.UserIdsCount(), 3);
    EXPECT_EQ(g.GetUserId(2), 3);
    EXPECT_EQ(g.GetUserId(0), 0);
    EXPECT_EQ(g.GetUserId(4), 0);
    EXPECT_TRUE(g.RemoveUserIdAndUserRelationByIndex(2));
    EXPECT_FALSE(g.RemoveUserIdAndUserRelationByIndex(3));
    EXPECT_EQ(g.UserIds(), (std::vector<long>{5, 9}));
    EXPECT_EQ(g.GetUserRelation(3), "");
    EXPECT_FALSE(g.IsMember(3));
    EXPECT_TRUE(g.AddUserId(3)); // back as a plain member
    EXPECT_EQ(g.GetAccessType(3), clsSecurityGroup::NoAccess);
}

TEST(SecurityGroupRecord, BuiltInGroupsByNameOrSystemMark) {
    const std::tuple<std::string, long, bool> cases[] = {
        {"<System Administrators>", 0, true},
        {"<Transcription Administrators>", 0, true},
        {"<system administrators>", 0, false},
        {"Coders", 1, true},
        {"Coders", 2, false},
        {"Coders", 0, false},
    };
    for (const auto& [name, attribute, builtIn] : cases) {
        clsSecurityGroup g;
        g.m_strGroupName = name;
        g.m_lngGroupAttribute = attribute;
        EXPECT_EQ(g.IsBuiltIn(), builtIn) << name << attribute;
    }
}

TEST_F(SecurityGroup, WhoMayJoinFollowsPartitionsSharingAndGroupType) {
    struct Case {
        long user;
        long type;
        bool groupShared;
        bool may;
    };
    const Case cases[] = {
        {60, clsSecurityGroup::kGeneralGroup, false, true},        // the group's partition
        {61, clsSecurityGroup::kGeneralGroup, false, true},        // a partition under it
        {63, clsSecurityGroup::kGeneralGroup, true, true},         // shared into it by a user-sharing partition
        {63, clsSecurityGroup::kGeneralGroup, false, false},       // ... but the group is not shared
        {64, clsSecurityGroup::kGeneralGroup, true, false},        // that partition's user is not shared
        {65, clsSecurityGroup::kGeneralGroup, true, false},        // its partition does not share users
        {66, clsSecurityGroup::kGeneralGroup, true, false},        // the root is above the group
        {60, clsSecurityGroup::kPhysicianGroup, false, false},     // not a physician user
        {62, clsSecurityGroup::kPhysicianGroup, false, true},      //
        {61, clsSecurityGroup::kTranscriptionGroup, false, true},  //
        {60, clsSecurityGroup::kTranscriptionGroup, false, false}, // not a transcriptionist
    };
    for (const auto& c : cases) {
        clsSecurityGroup g;
        g.m_lngGroupType = c.type;
        g.Partition_ID(1);
        g.Is_Shared(c.groupShared);
        EXPECT_EQ(UserMayJoinGroup(user(c.user), g), c.may) << c.user << " type " << c.type;
    }
}

TEST_F(SecurityGroup, OfferedMembersLeaveOutMembersAndUsersThatMayNotJoin) {
    std::vector<std::string> names;
    for (const clsUser* u : OfferedMembers(group(70), allUsers))
        names.push_back(u->m_strUserName);
    EXPECT_EQ(names, (std::vector<std::string>{"DRX"})); // JDOE and TJONES are members; GONE is deleted
    group(70).Is_Shared(true);
    names.clear();
    for (const clsUser* u : OfferedMembers(group(70), allUsers))
        names.push_back(u->m_strUserName);
    EXPECT_EQ(names, (std::vector<std::string>{"DRX", "SSHARED"}));
}

TEST_F(SecurityGroup, RemoveInvalidGroupDropsMembersThatNoLongerFit) {
    clsSecurityGroup g = group(70);
    g.Partition_ID(3); // JDOE (partition 1) is above North General now
    const std::vector<const clsUser*> held{&user(60), &user(61)};
    EXPECT_EQ(g.RemoveInvalidGroup(held), std::vector<long>{60});
    EXPECT_EQ(g.UserIds(), std::vector<long>{61});
}

TEST_F(SecurityGroup, LoadingMembersSkipsDeletedUsersAndReadsRelations) {
    EXPECT_EQ(group(70).UserIds(), (std::vector<long>{60, 61}));
    EXPECT_EQ(group(70).GetUserRelation(60), "");
    EXPECT_TRUE(group(71).SigningEnabledForUserId(62));
    EXPECT_EQ(group(71).GetUserRelation(62).size(), 100u);
    EXPECT_TRUE(group(71).IsProxyGroup());
    EXPECT_EQ(group(71).Partition_Name(), "North (S)");
    EXPECT_EQ(group(70).Partition_Name(), "North");
    ASSERT_EQ(session().history.size(), 0u);
    ASSERT_TRUE(LoadGroupMembers(groups)); // a second load replaces, never doubles
    EXPECT_EQ(session().history.front(), kAllGroupMembersQuery);
    EXPECT_EQ(group(70).UserIds(), (std::vector<long>{60, 61}));
}

TEST_F(SecurityGroup, NameCheckTellsGroupsFromUsersWhateverTheCase) {
    const std::pair<std::string, GroupNameUse> cases[] = {
        {"nurses", GroupNameUse::Group}, {"JDOE", GroupNameUse::User},  {"jdoe ", GroupNameUse::User},
        {"GONE", GroupNameUse::User},    {"O'NEW", GroupNameUse::Free}, {"DOCS", GroupNameUse::Free},
    };
    for (const auto& [name, use] : cases)
        EXPECT_EQ(CheckGroupName(name, 71), use) << name; // 71 is the group being renamed
}

TEST_F(SecurityGroup, NewGroupTakesTheNextUserIdAndWritesItsRowMembersAndLog) {
    clsSecurityGroup g;
    g.m_strGroupName = "Night 'Shift'";
    g.m_strDescription = "Caf\xc3\xa9 crew";
    g.m_lngGroupType = clsSecurityGroup::kPhysicianGroup;
    g.m_lngGroupFlags = clsSecurityGroup::kProxyGroup;
    g.Partition_ID(3);
    g.Is_Shared(true);
    g.AddUserId(62);
    g.SetRelationValue(62, clsSecurityGroup::kViewing, true);
    g.AddUserId(60);
    ASSERT_TRUE(InsertGroup(g, groups));
    EXPECT_EQ(g.m_lngGroupId, 80);
    EXPECT_EQ(scalar("SELECT next_user_id FROM User_identifier"), "81");
    EXPECT_EQ(rows("SELECT user_name, description, flag3, flag2, nbr_bad_attempts, partition_id, is_shared, "
                   "password, first_name, last_name, trans_id, is_deleted, enabled FROM System_user_bindery WHERE "
                   "user_id = 80"),
              std::vector<std::string>{"Night 'Shift'|Caf\xc3\xa9 crew|3|1|0|3|1|NULL|NULL|NULL|NULL|0|1"});
    EXPECT_EQ(rows("SELECT user_id, LEFT(group_relations, 2), LEN(group_relations), flag1, flag2, flag3 FROM "
                   "System_security_groups WHERE group_id = 80 ORDER BY user_id"),
              (std::vector<std::string>{"60|NULL|NULL|0|0|0", "62|\x02\x01|100|0|0|0"}));
    ASSERT_NE(groups.Item("80G"), nullptr);
    EXPECT_EQ(groups.Item("80G")->UserIdsCount(), 2);
    EXPECT_EQ(logRows(), std::vector<std::string>{"20011|2|2|50|1|Group Night 'Shift' was added by user MGR."});
    EXPECT_TRUE(recorder.shown.empty());
}

TEST_F(SecurityGroup, RenameAndDescribeWriteTheGroupRowOnly) {
    clsSecurityGroup g = group(70);
    g.m_strGroupName = "WARD NURSES";
    g.m_strDescription = "All wards";
    ASSERT_TRUE(UpdateGroup(g, groups));
    ASSERT_EQ(session().history.size(), 2u); // the update and the log; no membership statement
    EXPECT_EQ(session().history[0], "UPDATE System_user_bindery SET user_name = 'WARD NURSES', description = 'All "
                                    "wards', flag2 = 0, nbr_bad_attempts = 0, partition_id = 1, is_shared = 0 WHERE "
                                    "user_id = 70");
    EXPECT_EQ(rows("SELECT user_name, description FROM System_user_bindery WHERE user_id = 70"),
              std::vector<std::string>{"WARD NURSES|All wards"});
    EXPECT_EQ(members(70), (std::vector<std::string>{"60", "61", "67"}));
    EXPECT_EQ(group(70).m_strGroupName, "WARD NURSES");
    EXPECT_EQ(logRows(), std::vector<std::string>{"20012|2|2|50|1|Group WARD NURSES has been modified by MGR."});
}

TEST_F(SecurityGroup, MembershipChangesSendOneStatementEach) {
    clsSecurityGroup g = group(71);
    g.AddUserId(60);                                           // added
    g.SetRelationValue(62, clsSecurityGroup::kSigning, false); // relations changed
    ASSERT_TRUE(UpdateGroup(g, groups));
    ASSERT_EQ(session().history.size(), 4u);
    // In member order: DRX's changed relations, then the new member.
    EXPECT_EQ(session().history[1].substr(0, 103),
              "IF EXISTS (SELECT * FROM System_security_groups WHERE group_id = 71 AND user_id = 62)\r\nUPDATE "
              "System_se");
    EXPECT_EQ(session().history[2], "IF NOT EXISTS (SELECT * FROM System_security_groups WHERE group_id = 71 AND "
                                    "user_id = 60)\r\nINSERT INTO System_security_groups VALUES(71, 60, NULL, 0, 0, "
                                    "0, NULL, NULL, NULL)");
    EXPECT_EQ(rows("SELECT user_id, LEFT(group_relations, 2) FROM System_security_groups WHERE group_id = 71 ORDER "
                   "BY user_id"),
              (std::vector<std::string>{"60|NULL", "62|\x02\x01"}));

    session().history.clear();
    g = group(71);
    g.RemoveUserIdAndUserRelation(62);
    ASSERT_TRUE(UpdateGroup(g, groups));
    ASSERT_EQ(session().history.size(), 3u);
    EXPECT_EQ(session().history[1], "DELETE FROM System_security_groups WHERE group_id = 71 AND user_id = 62");
    EXPECT_EQ(members(71), std::vector<std::string>{"60"});
    EXPECT_EQ(group(71).UserIds(), std::vector<long>{60});
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_user_bindery WHERE user_id = 62"), "1");
}

TEST_F(SecurityGroup, AFailedMembershipStatementLeavesTheGroupAsTheDatabaseIs) {
    clsSecurityGroup g = group(70);
    g.AddUserId(62);
    g.AddUserId(66);
    g.AddUserRelation(66, std::string(101, '\x01')); // longer than the column: refused by the server
    g.RemoveUserIdAndUserRelation(60);
    EXPECT_FALSE(UpdateGroup(g, groups));
    EXPECT_EQ(members(70), (std::vector<std::string>{"61", "62", "67"}));
    EXPECT_EQ(group(70).UserIds(), (std::vector<long>{61, 62}));
    ASSERT_FALSE(recorder.shown.empty());
    EXPECT_EQ(recorder.shown.back().text, kGroupUpdateFailed);
    EXPECT_EQ(recorder.shown.back().title, "User Management");
}

TEST_F(SecurityGroup, ARefusedGroupRowChangesNothing) {
    clsSecurityGroup g = group(70);
    g.m_strGroupName = std::string(51, 'N'); // longer than user_name
    g.AddUserId(62);
    EXPECT_FALSE(UpdateGroup(g, groups));
    EXPECT_EQ(group(70).m_strGroupName, "NURSES");
    EXPECT_EQ(members(70), (std::vector<std::string>{"60", "61", "67"}));
    EXPECT_TRUE(logRows().empty());
    EXPECT_EQ(recorder.shown.back().text, kGroupUpdateFailed);

    clsSecurityGroup fresh;
    fresh.m_strGroupName = std::string(51, 'N');
    fresh.m_lngGroupType = 1;
    fresh.Partition_ID(1);
    const size_t before = groups.Count();
    EXPECT_FALSE(InsertGroup(fresh, groups));
    EXPECT_EQ(groups.Count(), before);
    EXPECT_TRUE(logRows().empty());
}

TEST_F(SecurityGroup, DeleteRemovesExactlyTheGroupsRowsAndLeavesItsUsers) {
    for (long id : {70L, 71L, 60L}) {
        const std::string u = std::to_string(id);
        exec("INSERT Privileges_accounts VALUES (" + u + ", 10, 'x', NULL)\n" +
             "INSERT Privileges_departments VALUES (" + u + ", 10, 1, 'x', NULL)\n" +
             "INSERT Privileges_report_types (user_id, hosp_acct_id, dept_id, report_type_nbr) VALUES (" + u +
             ", 10, 1, 2)\n" + "INSERT System_printer_privileges (user_id, printer_id) VALUES (" + u + ", 1)\n" +
             "INSERT Signature_surrogates (dictator_physician_id, surrogate_physician_id, surrogate_group_id) "
             "VALUES (501, 502, " +
             u + ")\n" +
             "INSERT Signature_dependencies (dictator_physician_id, cosigner_physician_id, cosigner_group_id, "
             "cosigner_physician_type) VALUES (501, 502, " +
             u + ", 1)\n" + "INSERT System_user_cfg VALUES (" + u + ", 1, 'Font', 'Arial', 1)");
    }
    auto counts = [&](long id) {
        const std::string u = std::to_string(id);
        std::string out;
        for (const std::string& sql : {"SELECT COUNT(*) FROM System_security_groups WHERE group_id = " + u,
                                       "SELECT COUNT(*) FROM Privileges_accounts WHERE user_id = " + u,
                                       "SELECT COUNT(*) FROM Privileges_departments WHERE user_id = " + u,
                                       "SELECT COUNT(*) FROM Privileges_report_types WHERE user_id = " + u,
                                       "SELECT COUNT(*) FROM System_printer_privileges WHERE user_id = " + u,
                                       "SELECT COUNT(*) FROM Signature_surrogates WHERE surrogate_group_id = " + u,
                                       "SELECT COUNT(*) FROM Signature_dependencies WHERE cosigner_group_id = " + u,
                                       "SELECT COUNT(*) FROM System_user_cfg WHERE user_id = " + u,
                                       "SELECT COUNT(*) FROM System_user_bindery WHERE user_id = " + u})
            out += scalar(sql);
        return out;
    };
    const std::string usersBefore = rows("SELECT * FROM System_user_bindery WHERE flag3 = 0 ORDER BY user_id").front();
    const size_t userCount = rows("SELECT * FROM System_user_bindery WHERE flag3 = 0").size();
    EXPECT_EQ(counts(70), "311111111");
    ASSERT_TRUE(DeleteGroup("70G", groups));
    EXPECT_EQ(session().history.front(), DeleteGroupBatch(70));
    EXPECT_EQ(counts(70), "000000010"); // a group has no configuration rows of its own to remove
    EXPECT_EQ(counts(71), "111111111");
    EXPECT_EQ(counts(60), "011111111");
    EXPECT_EQ(rows("SELECT * FROM System_user_bindery WHERE flag3 = 0 ORDER BY user_id").front(), usersBefore);
    EXPECT_EQ(rows("SELECT * FROM System_user_bindery WHERE flag3 = 0").size(), userCount);
    EXPECT_EQ(groups.Item("70G"), nullptr);
    EXPECT_EQ(logRows(), std::vector<std::string>{"20013|2|2|50|1|Group NURSES was deleted by user MGR."});
}

TEST_F(SecurityGroup, ADeleteThatFailsHalfWayKeepsTheGroupWithWhatIsLeft) {
    exec("DROP TABLE Signature_dependencies");
    EXPECT_FALSE(DeleteGroup("70G", groups));
    ASSERT_NE(groups.Item("70G"), nullptr);
    EXPECT_EQ(group(70).UserIdsCount(), 0); // the membership rows went before the failure
    EXPECT_TRUE(members(70).empty());
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_user_bindery WHERE user_id = 70"), "1");
    EXPECT_EQ(recorder.shown.back().text, kGroupDeleteFailed);
    EXPECT_TRUE(logRows().empty());
}

TEST_F(SecurityGroup, UserEditorGroupsJoinAndLeave) {
    ASSERT_TRUE(SaveUserGroups(60, {70}, {71}, groups));
    EXPECT_EQ(members(70), (std::vector<std::string>{"61", "67"}));
    EXPECT_EQ(members(71), (std::vector<std::string>{"60", "62"}));
    EXPECT_FALSE(group(70).IsMember(60));
    EXPECT_TRUE(group(71).IsMember(60));
    session().history.clear();
    ASSERT_TRUE(SaveUserGroups(60, {71}, {71}, groups));
    EXPECT_TRUE(session().history.empty());
}

TEST_F(SecurityGroup, RelationshipNamesForTheDeleteQuestion) {
    exec("INSERT Physician_profile (physician_id, first_name, last_name) VALUES (501, 'Ann', 'Able')\n"
         "INSERT Physician_profile (physician_id, first_name, last_name) VALUES (503, 'Cy', 'Cole')\n"
         "INSERT Signature_surrogates (dictator_physician_id, surrogate_physician_id, surrogate_group_id) VALUES "
         "(501, 0, 71)\n"
         "INSERT Signature_dependencies (dictator_physician_id, cosigner_physician_id, cosigner_group_id, "
         "cosigner_physician_type) VALUES (503, 0, 71, 1)");
    std::vector<std::string> surrogate, cosigner;
    ASSERT_TRUE(GroupRelationshipNames(71, surrogate, cosigner));
    EXPECT_EQ(surrogate, std::vector<std::string>{"Able, Ann"});
    EXPECT_EQ(cosigner, std::vector<std::string>{"Cole, Cy"});
    ASSERT_TRUE(GroupRelationshipNames(70, surrogate, cosigner));
    EXPECT_TRUE(surrogate.empty());
    EXPECT_TRUE(cosigner.empty());
}

} // namespace
