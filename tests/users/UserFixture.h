#pragma once

#include "DatabaseSession.h"
#include "EventLog.h"
#include "LoginComponent.h"
#include "MessageService.h"
#include "OdbcFixture.h"
#include "SessionHelper.h"
#include "clsPartition.h"
#include "modPartition.h"

#include <string>
#include <vector>

namespace kdtest {

// A fresh suite database with a few partitions, the console's session connected to it, and a
// logged-in administrator (MGR, id 50) of partition 1.
class UserStoreTest : public SuiteTest {
protected:
    void SetUp() override {
        SuiteTest::SetUp();
        exec("INSERT System_partitions VALUES (1, 0, 'North', 1, '/0/1/', NULL)\n"
             "INSERT System_partitions VALUES (2, 0, 'South', 0, '/0/2/', NULL)\n"
             "INSERT System_partitions VALUES (3, 1, 'North General', 0, '/0/1/3/', NULL)\n"
             "INSERT System_partitions VALUES (11, 0, 'Eleven', 0, '/0/11/', NULL)\n"
             "INSERT System_partitions VALUES (7, 0, 'Closed', 0, '/0/7/', '2025-06-30')");
        login.user.user_id = 50;
        login.user.user_name = "MGR";
        login.user.Partition_ID = 1;
        login.user.is_administrator = true;
        physicians::Partitions().login = &login;
        auto& log = foundation::EventLog::context();
        log = foundation::LogContext{};
        log.userId = 50;
        log.partitionId = 1;
        connectSession(odbc.folder(), "KALDRA");
        session().history.clear();
    }
    void TearDown() override {
        session().DisconnectFromSQL();
        physicians::Partitions().login = nullptr;
    }

    static foundation::DatabaseSession& session() { return foundation::DatabaseSession::instance(); }
    static std::string cipher(const std::string& plain) { return suite::LoginComponent::EncryptedPassword(plain); }

    // Adds a user row the way other programs of the suite leave one.
    void addUserRow(long id, const std::string& name, const std::string& values) {
        const auto r =
            exec("INSERT System_user_bindery (user_id, user_name, password, first_name, last_name, trans_id, "
                 "enabled, locked_out, is_administrator, must_change_password, flag1, flag2, flag3, flag4, "
                 "string1, is_deleted, partition_id, is_shared, nbr_bad_attempts) VALUES (" +
                 std::to_string(id) + ", '" + foundation::DatabaseSession::QuoteSQL(name) + "', 0x" +
                 cipher("pw" + std::to_string(id)) + ", " + values + ")");
        ASSERT_TRUE(SQL_SUCCEEDED(r.rc())) << name;
    }

    // The texts of the shown messages, in order.
    std::vector<std::string> shownTexts() const {
        std::vector<std::string> out;
        for (const auto& m : recorder.shown)
            out.push_back(m.text);
        return out;
    }
    // The rows of a query through the test's own connection, each as "a|b|c", NULL as "NULL".
    std::vector<std::string> rows(const std::string& sql) { return exec(sql).lines(); }
    // The System_log rows (event, type, severity, user, partition, text), by event number.
    std::vector<std::string> logRows() {
        return exec("SELECT error_code, type, severity, user_id, partition_id, msg1 FROM System_log ORDER BY "
                    "error_code, msg1")
            .lines();
    }

    suite::LoginComponent login;
    platform::MessageRecorder recorder;
};

} // namespace kdtest
