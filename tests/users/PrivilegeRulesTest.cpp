#include "LoginComponent.h"
#include "modPartition.h"
#include "modPrivileges.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

namespace {

std::string granting(std::initializer_list<int> positions, size_t length) {
    std::string set(length, '\x01');
    for (int p : positions)
        set[static_cast<size_t>(p)] = '\x02';
    return set;
}

class PrivilegeRules : public ::testing::Test {
protected:
    void SetUp() override { physicians::Partitions().login = &login; }
    void TearDown() override { physicians::Partitions().login = nullptr; }
    void user(std::initializer_list<int> granted, bool admin = false, bool trans = false, bool paxlet = false) {
        login.user = suite::LoginUser{};
        login.user.privilegeSet = granting(granted, 160);
        login.user.is_administrator = admin;
        login.user.is_trans_admin = trans;
        login.user.is_paxlet_admin = paxlet;
    }
    suite::LoginComponent login;
};

TEST_F(PrivilegeRules, PhysicianCommandsNeedTheirPrivileges) {
    struct Case {
        std::initializer_list<int> granted;
        const char* command;
        const char* refusal;
    };
    const Case cases[] = {
        {{}, "mnuEditDefault", "ACCESS DENIED:  You do not have access to edit the default physician."},
        {{9}, "mnuEditDefault", "ACCESS DENIED:  You do not have access to edit the default physician."},
        {{91}, "mnuEditDefault", ""},
        {{8}, "mnuChangePartition", "ACCESS DENIED:  You do not have access to change partition assignment."},
        {{9}, "mnuChangePartition", ""},
        {{91},
         "mnuSetDefaultPartition",
         "ACCESS DENIED:  You do not have access to set the default partition assignment."},
        {{9}, "mnuSetDefaultPartition", ""},
        {{10}, "mnuSetDefaultAccounts", "ACCESS DENIED:  You do not have access to alter the physician profile."},
        {{9}, "mnuUnknownPhysicians", ""},
        {{}, "mnuUnknownPhysicians", "ACCESS DENIED:  You do not have access to alter the physician profile."},
        {{}, "mnuPhysicianSearch", ""}, // not one of the guarded commands
    };
    for (const auto& c : cases) {
        user(c.granted);
        EXPECT_EQ(users::PhysicianCommandRefusal(c.command), c.refusal) << c.command;
    }
    physicians::Partitions().login = nullptr;
    EXPECT_NE(users::PhysicianCommandRefusal("mnuEditDefault"), ""); // nobody logged in
}

TEST_F(PrivilegeRules, AdministratorKindsAndPhysicianTests) {
    user({8}, false, true, false);
    EXPECT_TRUE(users::IsAnyAdministrator());
    EXPECT_FALSE(users::IsSystemAdministrator());
    EXPECT_FALSE(users::IsSystemAdministratorAnd(true));
    EXPECT_TRUE(users::IsTransAdministratorAnd(true));
    EXPECT_FALSE(users::IsTransAdministratorAnd(false));
    EXPECT_TRUE(users::MayOpenPhysicianProfiles());
    EXPECT_FALSE(users::MayManagePhysicians());
    user({9}, false, false, true);
    EXPECT_TRUE(users::IsAnyAdministrator());
    EXPECT_FALSE(users::MayOpenPhysicianProfiles());
    EXPECT_TRUE(users::MayManagePhysicians());
    user({}, true);
    EXPECT_TRUE(users::IsSystemAdministratorAnd(true));
    EXPECT_FALSE(users::IsSystemAdministratorAnd(false));
    user({});
    EXPECT_FALSE(users::IsAnyAdministrator());
}

TEST_F(PrivilegeRules, AccountMembershipIsAccountPositionTen) {
    suite::HospAccount open, closed;
    open.hosp_acct_id = 30;
    open.privilegeSet = granting({10}, 255);
    closed.hosp_acct_id = 31;
    closed.privilegeSet = granting({9, 11}, 255);
    login.SetHospAccounts({open, closed});
    EXPECT_TRUE(users::AccountAllowsMembership(30));
    EXPECT_FALSE(users::AccountAllowsMembership(31));
    EXPECT_FALSE(users::AccountAllowsMembership(99)); // not cached
}

} // namespace
