// Loading users and groups, and the writes of the user store, through the driver on a fresh
// suite database: the exact statements sent, the rows they leave, the messages and log rows.

#include "UserFixture.h"
#include "UserStatements.h"
#include "Utf8.h"
#include "modUserStore.h"

using namespace users;

namespace {

class UserLoad : public kdtest::UserStoreTest {
protected:
    void SetUp() override {
        UserStoreTest::SetUp();
        // first, last, trans_id, enabled, locked, is_admin, must_change, flag1, flag2, flag3, flag4, string1,
        // is_deleted, partition, shared, bad attempts
        addUserRow(200, "ALVAREZ", "'Ana', 'Álvarez', NULL, 1, 0, 1, 1, 0, 0, 0, 2, 'A.KDS', 0, 1, 0, 0");
        addUserRow(201, "BAKER", "'Bo', 'Baker', NULL, 0, 1, 2, 0, 0, 3, 0, 0, '', 0, 3, 1, 0");
        addUserRow(202, "CHEN", "'Chi', 'Chen', 'CHEN', 1, 0, 0, 0, 0, 1, 0, 0, '', 0, 2, 0, 0");
        addUserRow(203, "DUVAL", "'Dee', 'Duval', NULL, 1, 0, 0, 0, 1005, 2, 0, 0, '', 0, 11, 1, 0");
        addUserRow(204, "GONE", "'Gus', 'Gone', NULL, 1, 0, 0, 0, 0, 0, 0, 0, '', 0, 7, 0, 0");     // deleted partition
        addUserRow(205, "ERASED", "'Eve', 'Erased', NULL, 1, 0, 0, 0, 0, 0, 0, 0, '', 1, 1, 0, 0"); // deleted user
        addUserRow(206, "GROUP A", "NULL, NULL, NULL, 1, 0, 0, 0, 0, 1, 2, 0, '', 0, 1, 1, 4");     // a group
        addUserRow(207, "GROUP OLD", "NULL, NULL, NULL, 1, 0, 0, 0, 0, 1, 1, 0, '', 0, 7, 0, 0");   // in partition 7
        exec("UPDATE System_user_bindery SET description = 'Night shift' WHERE user_id = 206\n"
             "UPDATE System_user_bindery SET last_access_datetime = '2026-12-05 14:07:33', signature_password = 0x" +
             cipher("sign") +
             ", must_change_signature_password = 1 WHERE user_id = 200\n"
             "INSERT Trans_info (trans_id, trans_type, first_name, last_name, initials, location_code, dictation_id, "
             "mis_nbr, extra1, extra2, extra3) VALUES ('CHEN', 1, 'Chi', 'Chen', 'CC', 'NGH', '4101', 'T1', 1, 3, 2)");
        session().history.clear();
    }
};

TEST_F(UserLoad, ActiveUsersFollowTheColumnRules) {
    clsUsers users;
    ASSERT_TRUE(LoadActiveUsers(&users));
    ASSERT_EQ(session().history.size(), 1u);
    EXPECT_EQ(session().history[0], kActiveUsersQuery);
    EXPECT_NE(session().history[0].find("SUB.must_change_signature_password\r\nFROM System_user_bindery SUB\r\n"
                                        "LEFT OUTER JOIN Trans_info TI ON SUB.trans_id = TI.trans_id\r\n"),
              std::string::npos);
    std::vector<std::string> names;
    for (const auto& u : users)
        names.push_back(u.m_strUserName);
    // Ordered by name; not the deleted user, not the user of the deleted partition, no group.
    EXPECT_EQ(names, (std::vector<std::string>{"ALVAREZ", "BAKER", "CHEN", "DUVAL", "System Default"}));

    const clsUser* a = users.Item("200U");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->m_strFirstName, "Ana");
    EXPECT_EQ(a->m_strLastName, "Álvarez");
    EXPECT_EQ(a->m_strPassword, "pw200");
    EXPECT_EQ(a->m_strSignaturePassword, "sign");
    EXPECT_TRUE(a->m_blnMustChangeSignaturePassword);
    EXPECT_TRUE(a->m_blnEnabled);
    EXPECT_FALSE(a->m_blnLockedOut);
    EXPECT_TRUE(a->m_blnMustChangePassword);
    EXPECT_TRUE(a->m_blnSystemAdministrator);
    EXPECT_FALSE(a->m_blnTransAdministrator);
    EXPECT_EQ(a->m_bytUserPolicy, 2);
    EXPECT_EQ(a->m_strPromptScript, "A.KDS");
    EXPECT_EQ(a->m_strLastAccess, "2026-12-05 14:07");
    EXPECT_EQ(a->Partition_ID(), 1);
    EXPECT_FALSE(a->Read_Only());
    EXPECT_FALSE(a->Is_Shared());

    const clsUser* b = users.Item("201U");
    ASSERT_NE(b, nullptr);
    EXPECT_FALSE(b->m_blnSystemAdministrator); // is_administrator 2 is not an administrator
    EXPECT_TRUE(b->m_blnTransAdministrator);   // flag2 3: both kinds
    EXPECT_TRUE(b->m_blnPaxletAdministrator);
    EXPECT_FALSE(b->m_blnEnabled);
    EXPECT_TRUE(b->m_blnLockedOut);
    EXPECT_EQ(b->m_strLastAccess, ""); // never logged on
    EXPECT_EQ(b->m_strSignaturePassword, "");
    EXPECT_FALSE(b->Read_Only()); // partition 3 is below the logged-in user's partition 1
    EXPECT_TRUE(b->Is_Shared());

    const clsUser* c = users.Item("202U");
    ASSERT_NE(c, nullptr);
    EXPECT_TRUE(c->m_blnTransAdministrator);
    EXPECT_FALSE(c->m_blnPaxletAdministrator);
    EXPECT_EQ(c->m_strTransId, "CHEN");
    EXPECT_EQ(c->m_strInitials, "CC");
    EXPECT_EQ(c->m_strLocationCode, "NGH");
    EXPECT_EQ(c->m_strDictationId, "4101");
    EXPECT_EQ(c->m_strMisNbr, "T1");
    EXPECT_TRUE(c->m_blnVoiceToText);
    EXPECT_TRUE(c->m_blnExtra2Bit1);
    EXPECT_TRUE(c->m_blnExtra2Bit2);
    EXPECT_TRUE(c->Read_Only()); // a sibling partition

    const clsUser* d = users.Item("203U");
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->m_lngPhysicianId, 1005);
    EXPECT_TRUE(d->m_blnPaxletAdministrator);
    EXPECT_FALSE(d->m_blnTransAdministrator);
    EXPECT_TRUE(d->Read_Only()); // lineage /0/11/ does not hold /1/
    EXPECT_TRUE(recorder.shown.empty());
}

TEST_F(UserLoad, AFailedLoadKeepsWhatWasLoaded) {
    clsUsers users;
    ASSERT_TRUE(LoadActiveUsers(&users));
    const size_t before = users.Count();
    exec("DROP TABLE Trans_info");
    EXPECT_FALSE(LoadActiveUsers(&users));
    EXPECT_EQ(users.Count(), before);
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].title, "Veltra Desktop - SQL Error");
    EXPECT_NE(recorder.shown[0].text.find("Trans_info"), std::string::npos);
}

TEST_F(UserLoad, GroupsAndPickListNames) {
    clsSecurityGroups groups;
    ASSERT_TRUE(LoadGroupsIntoCollection(&groups));
    EXPECT_EQ(session().history.back(), kActiveGroupsQuery);
    ASSERT_EQ(groups.Count(), 1u); // not the group of the deleted partition
    const clsSecurityGroup* g = groups.Item("206G");
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->m_strGroupName, "GROUP A");
    EXPECT_EQ(g->m_strDescription, "Night shift");
    EXPECT_EQ(g->m_lngGroupType, 2);
    EXPECT_EQ(g->m_lngGroupFlags, 1);
    EXPECT_EQ(g->m_lngGroupAttribute, 4);
    EXPECT_EQ(g->Partition_ID(), 1);
    EXPECT_TRUE(g->Is_Shared());
    EXPECT_FALSE(g->Read_Only());

    std::vector<std::pair<long, std::string>> names;
    ASSERT_TRUE(LoadUserNames(names));
    EXPECT_EQ(session().history.back(), kUserNamesQuery);
    std::vector<std::string> got;
    for (const auto& [id, name] : names)
        got.push_back(std::to_string(id) + " " + name);
    // The pick list does not filter partitions: the user of the deleted partition is offered too.
    EXPECT_EQ(got, (std::vector<std::string>{"200 ALVAREZ", "201 BAKER", "202 CHEN", "203 DUVAL", "204 GONE",
                                             "-1 System Default"}));
}

TEST_F(UserLoad, NameCheckSeesEveryRowWhateverTheCase) {
    struct Case {
        const char* name;
        NameUse use;
    } const cases[] = {
        {"ALVAREZ", NameUse::Taken}, {"alvarez", NameUse::Taken}, {"ERASED", NameUse::Taken},
        {"GROUP A", NameUse::Taken}, {"O'NEIL", NameUse::Free},   {"ALVAREZ2", NameUse::Free},
        {"GONE", NameUse::Taken},    {"Ünlü", NameUse::Free},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CheckUserName(c.name), c.use) << c.name;
    EXPECT_EQ(session().history[4], "SELECT user_name FROM System_user_bindery WHERE user_name = 'O''NEIL'");
    exec("DROP TABLE System_user_bindery");
    EXPECT_EQ(CheckUserName("X"), NameUse::Failed);
}

} // namespace
