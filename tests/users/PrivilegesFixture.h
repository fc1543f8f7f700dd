#pragma once

#include "UserFixture.h"
#include "clsPartition.h"
#include "clsPrivileges.h"

#include <string>
#include <vector>

namespace kdtest {

// The user store's database with accounts of several partitions in the login's account cache, a
// user JDOE (60) of partition 1 and its group NURSES (70).
class PrivilegesTest : public UserStoreTest {
protected:
    void SetUp() override {
        UserStoreTest::SetUp();
        ASSERT_GE(physicians::LoadPartitions(), 1);
        addUserRow(60, "JDOE", "'Jane', 'Doe', NULL, 1, 0, 0, 0, 0, 0, 0, 0, NULL, 0, 1, 0, 0");
        addUserRow(70, "NURSES", "NULL, NULL, NULL, 1, 0, 0, 0, 0, 0, 1, 0, NULL, 0, 1, 0, 0");
        exec("INSERT System_security_groups (group_id, user_id) VALUES (70, 60)");
        login.SetHospAccounts({account(-1, 0, "<template>"), account(30, 1, "North One", false, true),
                               account(31, 3, "North General"), account(40, 2, "South"),
                               account(32, 1, "North Closed", true)});
        session().history.clear();
    }

    static suite::HospAccount account(long id, long partition, const std::string& name, bool deleted = false,
                                      bool withTypes = false) {
        suite::HospAccount a;
        a.hosp_acct_id = id;
        a.hosp_acct_name = name;
        a.Partition_ID = partition;
        a.is_deleted = deleted;
        a.Departments = {5};
        if (withTypes) {
            a.Departments = {5, 6};
            a.ReportTypes = {{5, 1, "H&P", false},
                             {5, 2, "Old Type", true},
                             {5, 3, "Consult", false},
                             {6, 9, "Second Department", false}};
        }
        return a;
    }

    // A batch's statements, one per line.
    static std::vector<std::string> splitLines(const std::string& batch) {
        std::vector<std::string> out;
        size_t from = 0;
        for (size_t at; (at = batch.find("\r\n", from)) != std::string::npos; from = at + 2)
            out.push_back(batch.substr(from, at - from));
        out.push_back(batch.substr(from));
        return out;
    }

    // The granted positions of a stored privilege string, as "n,n,…" with its length first.
    static std::string granted(const std::string& set) {
        std::string out = std::to_string(set.size()) + ":";
        for (size_t i = 0; i < set.size(); ++i)
            if (set[i] == '\x02')
                out += std::to_string(i) + ",";
        return out;
    }
    std::string grantedIn(const std::string& sql) {
        const auto r = exec(sql);
        const auto* s = r.firstRows();
        if (!s || s->rows.empty() || !s->rows[0][0])
            return "NULL";
        return granted(*s->rows[0][0]);
    }

    static std::string setWith(std::initializer_list<int> positions, size_t length) {
        std::string s(length, '\x01');
        for (int p : positions)
            s[static_cast<size_t>(p)] = '\x02';
        return s;
    }

    void open(users::clsPrivileges& p, long id = 60, const std::string& name = "JDOE", bool group = false) {
        p.Init(login, id, name, group, 1);
        ASSERT_TRUE(p.Load());
        ASSERT_TRUE(p.LoadGroupPrivileges());
    }
};

} // namespace kdtest
