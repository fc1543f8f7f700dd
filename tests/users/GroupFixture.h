#pragma once

#include "UserFixture.h"
#include "clsPartition.h"
#include "modSecurityGroups.h"
#include "modUserStore.h"

#include <string>
#include <vector>

namespace kdtest {

// The user store's database with users of several partitions and two groups:
//   partitions: 1 North (shares its users with 2 and 11), 3 North General under 1, 2 South (shares
//   its users with 1), 11 Eleven (shares with 1 but not its users);
//   users: 60 JDOE (1), 61 TJONES transcriptionist (3), 62 DRX physician (1), 63 SSHARED (2,
//   shared), 64 SLOCAL (2, not shared), 65 ELEVEN (11, shared), 66 ROOTY (0), 67 GONE (1, deleted);
//   groups: 70 NURSES (general, 1; members 60, 61 and the deleted 67), 71 DOCS (physicians, 1,
//   shared, proxy; member 62 with viewing and signing).
class GroupTest : public UserStoreTest {
protected:
    void SetUp() override {
        UserStoreTest::SetUp();
        exec("UPDATE System_partitions SET share_bitmask = 1 WHERE partition_id = 2\n"
             "INSERT System_partitions_shares VALUES (2, 1)\n"
             "INSERT System_partitions_shares VALUES (11, 1)\n"
             "INSERT System_partitions_shares VALUES (1, 2)");
        ASSERT_GE(physicians::LoadPartitions(), 1);
        // first, last, trans_id, enabled, locked, is_admin, must_change, flag1, flag2, flag3, flag4, string1,
        // is_deleted, partition, shared, bad attempts
        addUserRow(60, "JDOE", "'Jane', 'Doe', NULL, 1, 0, 0, 0, 0, 0, 0, 0, NULL, 0, 1, 0, 0");
        addUserRow(61, "TJONES", "'Tom', 'Jones', 'TJONES', 1, 0, 0, 0, 0, 0, 0, 0, NULL, 0, 3, 0, 0");
        addUserRow(62, "DRX", "'Xavier', 'Doctor', NULL, 1, 0, 0, 0, 501, 0, 0, 0, NULL, 0, 1, 0, 0");
        addUserRow(63, "SSHARED", "'Sam', 'Shared', NULL, 1, 0, 0, 0, 0, 0, 0, 0, NULL, 0, 2, 1, 0");
        addUserRow(64, "SLOCAL", "'Sue', 'Local', NULL, 1, 0, 0, 0, 0, 0, 0, 0, NULL, 0, 2, 0, 0");
        addUserRow(65, "ELEVEN", "'Eli', 'Even', NULL, 1, 0, 0, 0, 0, 0, 0, 0, NULL, 0, 11, 1, 0");
        addUserRow(66, "ROOTY", "'Ro', 'Oty', NULL, 1, 0, 0, 0, 0, 0, 0, 0, NULL, 0, 0, 0, 0");
        addUserRow(67, "GONE", "'Go', 'Ne', NULL, 1, 0, 0, 0, 0, 0, 0, 0, NULL, 1, 1, 0, 0");
        exec("INSERT System_user_bindery (user_id, user_name, description, flag3, flag2, nbr_bad_attempts, "
             "partition_id, is_shared) VALUES (70, 'NURSES', 'Ward nurses', 1, 0, 0, 1, 0)\n"
             "INSERT System_user_bindery (user_id, user_name, description, flag3, flag2, nbr_bad_attempts, "
             "partition_id, is_shared) VALUES (71, 'DOCS', 'Cover each other', 3, 1, 0, 1, 1)\n"
             "INSERT INTO System_security_groups VALUES (70, 60, NULL, 0, 0, 0, NULL, NULL, NULL)\n"
             "INSERT INTO System_security_groups VALUES (70, 61, NULL, 0, 0, 0, NULL, NULL, NULL)\n"
             "INSERT INTO System_security_groups VALUES (70, 67, NULL, 0, 0, 0, NULL, NULL, NULL)\n"
             "INSERT INTO System_security_groups VALUES (71, 62, CHAR(2) + CHAR(2) + REPLICATE(CHAR(1), 98), 0, 0, "
             "0, NULL, NULL, NULL)\n"
             "UPDATE User_identifier SET next_user_id = 80");
        ASSERT_TRUE(users::LoadActiveUsers(&allUsers));
        ASSERT_TRUE(users::LoadGroupsIntoCollection(&groups));
        ASSERT_TRUE(users::LoadGroupMembers(groups));
        session().history.clear();
    }

    users::clsSecurityGroup& group(long id) { return *groups.Item(users::clsSecurityGroups::Key(id)); }
    const users::clsUser& user(long id) { return *allUsers.Item(users::clsUsers::Key(id)); }

    std::vector<std::string> members(long groupId) {
        return rows("SELECT user_id FROM System_security_groups WHERE group_id = " + std::to_string(groupId) +
                    " ORDER BY user_id");
    }

    users::clsUsers allUsers;
    users::clsSecurityGroups groups;
};

} // namespace kdtest
