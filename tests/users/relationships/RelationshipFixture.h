#pragma once

#include "../UserFixture.h"
#include "clsPartition.h"

#include <string>

namespace kdtest {

// The user store's test site with physicians: physician users DRONE (physician 1), DRTWO (2),
// DRTHREE (3), DRFOUR (4, partition 2), a transcriptionist TNONE, a deleted physician user DRGONE
// (5) and a physician group CARDIO (id 400) holding DRTWO, DRTHREE, TNONE and DRGONE. Accounts 10
// (partition 1), 11 (partition 3) and 20 (partition 2); the logged-in MGR of partition 1 governs 1
// and 3.
class RelationshipTest : public UserStoreTest {
protected:
    void SetUp() override {
        UserStoreTest::SetUp();
        session().DatabaseVersion = 8.1;
        // first, last, trans_id, enabled, locked, is_admin, must_change, flag1, flag2, flag3, flag4, string1,
        // is_deleted, partition, shared, bad attempts
        addUserRow(301, "DRONE", "'Ann', 'One', NULL, 1, 0, 0, 0, 1, 0, 0, 1, '', 0, 1, 0, 0");
        addUserRow(302, "DRTWO", "'Bob', 'Two', NULL, 1, 0, 0, 0, 2, 0, 0, 1, '', 0, 1, 0, 0");
        addUserRow(303, "DRTHREE", "'Cy', 'Three', NULL, 1, 0, 0, 0, 3, 0, 0, 1, '', 0, 3, 0, 0");
        addUserRow(304, "DRFOUR", "'Di', 'Four', NULL, 1, 0, 0, 0, 4, 0, 0, 1, '', 0, 2, 0, 0");
        addUserRow(305, "TNONE", "'Ty', 'None', 'TNONE', 1, 0, 0, 0, 0, 0, 0, 1, '', 0, 1, 0, 0");
        addUserRow(306, "DRGONE", "'Gus', 'Gone', NULL, 1, 0, 0, 0, 5, 0, 0, 1, '', 1, 1, 0, 0");
        addUserRow(400, "CARDIO", "NULL, NULL, NULL, 1, 0, 0, 0, 0, 0, 3, 1, '', 0, 1, 0, 0");
        std::string sql;
        for (int p = 1; p <= 5; ++p)
            sql += "INSERT Physician_profile (physician_id, first_name, last_name, flag2, partition_id) VALUES (" +
                   std::to_string(p) + ", 'F', 'L', " + std::to_string(300 + p + (p == 5 ? 1 : 0)) + ", 1)\n";
        for (int member : {302, 303, 305, 306})
            sql += "INSERT INTO System_security_groups VALUES (400, " + std::to_string(member) +
                   ", NULL, 0, 0, 0, NULL, NULL, NULL)\n";
        sql += "INSERT Account_info (hosp_acct_id, hosp_acct_name, partition_id) VALUES (10, 'Ten', 1)\n"
               "INSERT Account_info (hosp_acct_id, hosp_acct_name, partition_id) VALUES (11, 'Eleven', 3)\n"
               "INSERT Account_info (hosp_acct_id, hosp_acct_name, partition_id) VALUES (20, 'Twenty', 2)";
        const auto r = exec(sql);
        ASSERT_TRUE(SQL_SUCCEEDED(r.rc()));
        ASSERT_GT(physicians::LoadPartitions(), 0);
        std::vector<suite::HospAccount> accounts(3);
        accounts[0].hosp_acct_id = 10;
        accounts[0].Partition_ID = 1;
        accounts[1].hosp_acct_id = 11;
        accounts[1].Partition_ID = 3;
        accounts[2].hosp_acct_id = 20;
        accounts[2].Partition_ID = 2;
        login.SetHospAccounts(accounts);
        session().history.clear();
    }

    // Whether the session sent a statement holding text.
    static bool sentContaining(const std::string& text) {
        for (const auto& h : session().history)
            if (h.find(text) != std::string::npos)
                return true;
        return false;
    }
    static bool sent(const std::string& text) {
        for (const auto& h : session().history)
            if (h == text)
                return true;
        return false;
    }
};

} // namespace kdtest
