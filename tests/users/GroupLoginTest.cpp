// Membership changes as the suite's other programs see them: the effective privileges the login
// component gives a member at a fresh log-in.

#include "GroupFixture.h"

using namespace users;

namespace {

class GroupLogin : public kdtest::GroupTest {
protected:
    void SetUp() override {
        GroupTest::SetUp();
        // Own: 0; NURSES (70): 12; DOCS (71): 40.
        exec("UPDATE System_user_bindery SET privilege_set1 = CHAR(2) + REPLICATE(CHAR(1), 159) WHERE user_id = 60\n"
             "UPDATE System_user_bindery SET privilege_set1 = REPLICATE(CHAR(1), 12) + CHAR(2) + REPLICATE(CHAR(1), "
             "147) WHERE user_id = 70\n"
             "UPDATE System_user_bindery SET privilege_set1 = REPLICATE(CHAR(1), 40) + CHAR(2) + REPLICATE(CHAR(1), "
             "119) WHERE user_id = 71");
    }

    // JDOE's granted positions among 0, 12 and 40 after a log-in of its own.
    std::string freshLogIn() {
        suite::LoginComponent member;
        member.SQLServerName = odbc.folder();
        member.SQLDBName = "KALDRA";
        member.SQLUserName = "sa";
        EXPECT_TRUE(member.connect());
        EXPECT_EQ(member.Authenticate("JDOE", "pw60"), suite::LoginComponent::Outcome::LoggedIn);
        std::string out;
        for (int n : {0, 12, 40})
            if (member.user.privilege(n))
                out += (out.empty() ? "" : ",") + std::to_string(n);
        member.DisconnectSQL();
        return out;
    }
};

TEST_F(GroupLogin, JoiningAndLeavingAGroupChangesTheMembersPrivileges) {
    EXPECT_EQ(freshLogIn(), "0,12");

    clsSecurityGroup docs = group(71);
    docs.m_lngGroupType = clsSecurityGroup::kGeneralGroup;
    docs.AddUserId(60);
    ASSERT_TRUE(UpdateGroup(docs, groups));
    EXPECT_EQ(members(71), (std::vector<std::string>{"60", "62"}));
    EXPECT_EQ(freshLogIn(), "0,12,40");

    clsSecurityGroup nurses = group(70);
    nurses.RemoveUserIdAndUserRelation(60);
    ASSERT_TRUE(UpdateGroup(nurses, groups));
    EXPECT_EQ(members(70), (std::vector<std::string>{"61", "67"}));
    EXPECT_EQ(freshLogIn(), "0,40");
}

TEST_F(GroupLogin, DeletingAGroupTakesItsPrivilegesFromItsMembers) {
    ASSERT_TRUE(DeleteGroup("70G", groups));
    EXPECT_EQ(freshLogIn(), "0");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_user_bindery WHERE user_id = 60 AND is_deleted = 0"), "1");
}

TEST_F(GroupLogin, AddingTheUserFromTheUserEditorGrantsAtTheNextLogIn) {
    ASSERT_TRUE(SaveUserGroups(60, {70}, {70, 71}, groups));
    EXPECT_EQ(freshLogIn(), "0,12,40");
}

} // namespace
