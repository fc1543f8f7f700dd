// The soft delete of a user and its cascades: what each schema version removes, the
// transcriptionist record, the physician link and relationships, and failures half-way.

#include "UserFixture.h"
#include "UserStatements.h"
#include "modUserStore.h"

using namespace users;

namespace {

class UserDelete : public kdtest::UserStoreTest {
protected:
    void SetUp() override {
        UserStoreTest::SetUp();
        session().DatabaseVersion = 8.1;
        // first, last, trans_id, enabled, locked, is_admin, must_change, flag1, flag2, flag3, flag4, string1,
        // is_deleted, partition, shared, bad attempts
        addUserRow(300, "O'HARE", "'Olive', 'O''Hare', NULL, 1, 0, 0, 0, 0, 0, 0, 1, '', 0, 1, 0, 0");
        addUserRow(301, "TREF", "'T', 'Ref', 'TREF', 1, 0, 0, 0, 0, 0, 0, 1, '', 0, 1, 0, 0");
        addUserRow(302, "TFREE", "'T', 'Free', 'TFREE', 1, 0, 0, 0, 0, 0, 0, 1, '', 0, 1, 0, 0");
        addUserRow(303, "TEDIT", "'T', 'Edit', 'TEDIT', 1, 0, 0, 0, 0, 0, 0, 1, '', 0, 1, 0, 0");
        addUserRow(304, "TINC", "'T', 'Inc', 'TINC', 1, 0, 0, 0, 0, 0, 0, 1, '', 0, 1, 0, 0");
        addUserRow(310, "DRWHO", "'Wanda', 'Who', NULL, 1, 0, 0, 0, 1001, 0, 0, 1, '', 0, 1, 0, 0");
        for (const char* t : {"TREF", "TFREE", "TEDIT", "TINC"})
            exec(std::string("INSERT Trans_info (trans_id, first_name, last_name, extra3) VALUES ('") + t +
                 "', 'T', 'X', 1)\nINSERT Trans_activity VALUES ('" + t + "', 1, GETDATE(), NULL)\n" +
                 "INSERT Trans_activity VALUES ('" + t + "', 2, GETDATE(), NULL)\n" +
                 "INSERT Groups_transcriptionists VALUES (1, '" + t + "')\n" +
                 "INSERT Groups_transcriptionists VALUES (2, '" + t + "')");
        exec("INSERT Document_demographics (document_id, hosp_acct_id, report_type_nbr, trans_id, create_date) "
             "VALUES (1, 10, 1, 'TREF', GETDATE())\n"
             "INSERT Report_transcription (document_id, create_date, edit_trans_id) VALUES (2, GETDATE(), 'TEDIT')\n"
             "INSERT Trans_incentive (trans_id, hosp_acct_id, shift_date) VALUES ('TINC', 10, GETDATE())");
        exec("INSERT Physician_profile (physician_id, first_name, last_name, flag1, flag2) VALUES (1001, 'Wanda', "
             "'Who', 1, 310)\n"
             "INSERT Physician_attributes (physician_id, hosp_acct_id, elect_signature) VALUES (1001, -1, 1)\n"
             "INSERT Physician_attributes (physician_id, hosp_acct_id, elect_signature) VALUES (1002, -1, 1)\n"
             "INSERT Signature_relationships (physician_id, related_physician_id, relationship_type, access_type) "
             "VALUES (1001, 1002, 2, 2)\n"
             "INSERT Signature_relationships (physician_id, related_physician_id, relationship_type, access_type) "
             "VALUES (1002, 1001, 1, 1)\n"
             "INSERT Signature_relationships (physician_id, related_physician_id, relationship_type, access_type) "
             "VALUES (1001, 1001, 1, 2)\n"
             "INSERT Signature_relationships (physician_id, related_physician_id, relationship_type, access_type) "
             "VALUES (1002, 1003, 2, 2)\n"
             "INSERT Signature_surrogates (dictator_physician_id, surrogate_physician_id) VALUES (1001, 1002)\n"
             "INSERT Signature_surrogates (dictator_physician_id, surrogate_physician_id) VALUES (1003, 1001)\n"
             "INSERT Signature_surrogates (dictator_physician_id, surrogate_physician_id) VALUES (1003, 1002)\n"
             "INSERT Signature_dependencies (dictator_physician_id, cosigner_physician_id, cosigner_physician_type) "
             "VALUES (1001, 1002, 1)\n"
             "INSERT Signature_dependencies (dictator_physician_id, cosigner_physician_id, cosigner_physician_type) "
             "VALUES (1002, 1001, 2)\n"
             "INSERT Signature_dependencies (dictator_physician_id, cosigner_physician_id, cosigner_physician_type) "
             "VALUES (1003, 1002, 1)");
        for (long id : {300L, 399L})
            addOwnRows(id);
        ASSERT_TRUE(LoadActiveUsers(&users));
        session().history.clear();
    }

    // One row of each table the delete clears, for user id.
    void addOwnRows(long id) {
        const std::string u = std::to_string(id);
        exec("INSERT Privileges_accounts VALUES (" + u + ", 10, 'x', NULL)\n" +
             "INSERT Privileges_departments VALUES (" + u + ", 10, 1, 'x', NULL)\n" +
             "INSERT Privileges_report_types (user_id, hosp_acct_id, dept_id, report_type_nbr) VALUES (" + u +
             ", 10, 1, 2)\n" + "INSERT System_user_cfg VALUES (" + u + ", 1, 'Font', 'Arial', 1)\n" +
             "INSERT System_log_views VALUES (" + u + ", 1, 'Mine')\n" + "INSERT System_log_view_filters VALUES (" + u +
             ", 1, 2, '3')\n" + "INSERT System_log_view_columns VALUES (" + u + ", 1, 1, 80)\n" +
             "INSERT System_printer_privileges (user_id, printer_id) VALUES (" + u + ", 1)");
    }
    // How many rows user id still has in each table the delete clears, in the batch's order.
    std::string ownRows(long id) {
        std::string out;
        for (const char* t :
             {"Privileges_accounts", "Privileges_departments", "Privileges_report_types", "System_user_cfg",
              "System_log_view_columns", "System_log_view_filters", "System_log_views", "System_printer_privileges"})
            out += scalar(std::string("SELECT COUNT(*) FROM ") + t + " WHERE user_id = " + std::to_string(id));
        return out;
    }
    std::string transRows(const std::string& t) {
        return scalar("SELECT ISNULL((SELECT CONVERT(varchar, is_deleted) FROM Trans_info WHERE trans_id = '" + t +
                      "'), 'gone') + ',' + CONVERT(varchar, (SELECT COUNT(*) FROM Trans_activity WHERE trans_id = '" +
                      t +
                      "')) + ',' + CONVERT(varchar, (SELECT COUNT(*) FROM Groups_transcriptionists WHERE trans_id = '" +
                      t + "'))");
    }
    std::string userRow(long id) {
        return scalar("SELECT user_name + ',' + ISNULL(trans_id, 'NULL') + ',' + CONVERT(varchar, flag1) + ',' + "
                      "CONVERT(varchar, is_deleted) FROM System_user_bindery WHERE user_id = " +
                      std::to_string(id));
    }

    clsUsers users;
};

TEST_F(UserDelete, AGeneralUserKeepsItsRowAndNameAndLosesItsOwnRows) {
    ASSERT_TRUE(DeleteUser("300U", users));
    ASSERT_EQ(session().history.size(), 2u); // the delete batch and the log row: no transcriptionist, no physician
    EXPECT_EQ(session().history[0],
              "UPDATE System_user_bindery SET user_name = 'O''HARE', trans_id = NULL, flag1 = 0, is_deleted = 1 WHERE "
              "user_id = 300\r\n"
              "DELETE FROM Privileges_accounts WHERE user_id = 300\r\n"
              "DELETE FROM Privileges_departments WHERE user_id = 300\r\n"
              "DELETE FROM Privileges_report_types WHERE user_id = 300\r\n"
              "DELETE FROM System_user_cfg WHERE user_id = 300\r\n"
              "DELETE FROM System_log_view_columns WHERE user_id = 300\r\n"
              "DELETE FROM System_log_view_filters WHERE user_id = 300\r\n"
              "DELETE FROM System_log_views WHERE user_id = 300\r\n"
              "DELETE FROM System_printer_privileges WHERE user_id = 300");
    EXPECT_EQ(userRow(300), "O'HARE,NULL,0,1");
    EXPECT_EQ(ownRows(300), "00000000");
    EXPECT_EQ(ownRows(399), "11111111");
    EXPECT_EQ(users.Item("300U"), nullptr);
    EXPECT_EQ(logRows(), std::vector<std::string>{"20009|2|2|50|1|User O'HARE was deleted by user MGR."});
    EXPECT_TRUE(recorder.shown.empty());

    // The name stays taken: a new user of that name is refused with the exact text.
    clsUser again;
    again.m_strUserName = "O'HARE";
    again.m_strLastName = "O'Hare";
    again.Partition_ID(1);
    EXPECT_FALSE(InsertUser(again, users));
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text,
              "The specified user name is not available.\xC2\xA0 Please specify a different user "
              "name or contact your global system administrator for further assistance.");
    clsUsers reloaded;
    ASSERT_TRUE(LoadActiveUsers(&reloaded));
    EXPECT_EQ(reloaded.Item("300U"), nullptr);
}

TEST_F(UserDelete, OlderSchemasKeepTheRowsNewerOnesRemove) {
    struct Case {
        double version;
        const char* rowsLeft; // as ownRows: accounts, departments, report types, cfg, 3 log views, printers
    } const cases[] = {
        {2.0, "00001111"},    {2.018, "00001111"},  {2.019, "00000001"}, {2.05, "00000001"},
        {2.0534, "00000001"}, {2.0535, "00000000"}, {2.06, "00000000"},  {8.1, "00000000"},
    };
    long id = 500;
    for (const auto& c : cases) {
        ++id;
        addUserRow(id, "V" + std::to_string(id), "'V', 'V', NULL, 1, 0, 0, 0, 0, 0, 0, 1, '', 0, 1, 0, 0");
        addOwnRows(id);
        ASSERT_TRUE(LoadActiveUsers(&users));
        session().DatabaseVersion = c.version;
        ASSERT_TRUE(DeleteUser(clsUsers::Key(id), users)) << c.version;
        EXPECT_EQ(ownRows(id), c.rowsLeft) << "version " << c.version;
    }
    EXPECT_EQ(ownRows(399), "11111111");
}

TEST_F(UserDelete, AReferencedTranscriptionistIsOnlyMarkedDeleted) {
    struct Case {
        const char* key;
        const char* transId;
        const char* after; // Trans_info is_deleted (or gone), activity rows, memberships
    } const cases[] = {
        {"301U", "TREF", "1,2,2"},  // a document names it
        {"303U", "TEDIT", "1,2,2"}, // it edited a report
        {"304U", "TINC", "1,2,2"},  // it has incentive lines
        {"302U", "TFREE", "gone,0,0"},
    };
    for (const auto& c : cases) {
        session().history.clear();
        ASSERT_TRUE(DeleteUser(c.key, users)) << c.transId;
        EXPECT_EQ(transRows(c.transId), c.after) << c.transId;
        ASSERT_EQ(session().history.size(), 3u);
        EXPECT_EQ(session().history[1], RetireTransInfoBatch(c.transId));
    }
    EXPECT_EQ(session().history[1],
              "SET ROWCOUNT 1\r\n"
              "IF EXISTS (SELECT trans_id FROM Document_demographics WHERE trans_id = 'TFREE')\r\n"
              "OR EXISTS (SELECT edit_trans_id FROM Report_transcription WHERE edit_trans_id = "
              "'TFREE')\r\n"
              "OR EXISTS (SELECT trans_id FROM Trans_incentive WHERE trans_id = 'TFREE')\r\n"
              "UPDATE Trans_info SET is_deleted = 1 WHERE trans_id = 'TFREE'\r\n"
              "ELSE\r\n"
              "BEGIN\r\n"
              "SET ROWCOUNT 0\r\n"
              "DELETE Trans_activity WHERE trans_id ='TFREE'\r\n"
              "DELETE Groups_transcriptionists WHERE trans_id = 'TFREE'\r\n"
              "DELETE Trans_info WHERE trans_id = 'TFREE'\r\n"
              "END\r\n"
              "SET ROWCOUNT 0");
    EXPECT_EQ(userRow(301), "TREF,NULL,0,1");
    // The row limit was lifted again: a later statement sees every row.
    session().SQLStatement = "SELECT trans_id FROM Trans_activity";
    ASSERT_EQ(session().ExecSQL(), 1);
    int rows = 0;
    while (session().FetchRow() == 1)
        ++rows;
    EXPECT_EQ(rows, 6);
}

TEST_F(UserDelete, APhysicianUserLosesItsProfileLinkAndRelationships) {
    ASSERT_TRUE(DeleteUser("310U", users));
    ASSERT_EQ(session().history.size(), 4u);
    EXPECT_EQ(session().history[1], "UPDATE Physician_profile SET flag2 = 0, flag1 = 0 WHERE physician_id = 1001\r\n"
                                    "UPDATE Physician_attributes SET elect_signature = 0 WHERE physician_id = 1001");
    EXPECT_EQ(session().history[2],
              "DELETE FROM Signature_relationships WHERE (physician_id = 1001 OR related_physician_id = 1001) AND "
              "(physician_id <> related_physician_id)\r\n"
              "DELETE FROM Signature_surrogates WHERE dictator_physician_id = 1001 OR surrogate_physician_id = 1001\r\n"
              "DELETE FROM Signature_dependencies WHERE dictator_physician_id = 1001 OR cosigner_physician_id = 1001");
    EXPECT_EQ(userRow(310), "DRWHO,NULL,0,1");
    EXPECT_EQ(scalar("SELECT CONVERT(varchar, flag1) + ',' + CONVERT(varchar, flag2) FROM Physician_profile WHERE "
                     "physician_id = 1001"),
              "0,0");
    EXPECT_EQ(scalar("SELECT SUM(elect_signature) FROM Physician_attributes"), "1"); // 1002 keeps its own
    const auto rel = exec("SELECT physician_id, related_physician_id FROM Signature_relationships ORDER BY 1, 2");
    ASSERT_EQ(rel.firstRows()->rows.size(), 2u); // the row to itself and the unrelated one
    EXPECT_EQ(rel.firstRows()->rows[0][1].value_or(""), "1001");
    EXPECT_EQ(rel.firstRows()->rows[1][1].value_or(""), "1003");
    EXPECT_EQ(scalar("SELECT CONVERT(varchar, dictator_physician_id) + '>' + CONVERT(varchar, surrogate_physician_id) "
                     "FROM Signature_surrogates"),
              "1003>1002");
    EXPECT_EQ(scalar("SELECT CONVERT(varchar, dictator_physician_id) + '>' + CONVERT(varchar, cosigner_physician_id) "
                     "FROM Signature_dependencies"),
              "1003>1002");
}

TEST_F(UserDelete, AFailureLaterInTheCascadeLeavesTheEarlierStatementsApplied) {
    exec("DROP TABLE Trans_incentive");
    EXPECT_FALSE(DeleteUser("302U", users));
    const auto texts = shownTexts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(recorder.shown[0].title, "Veltra Desktop - SQL Error");
    EXPECT_NE(texts[0].find("Trans_incentive"), std::string::npos);
    EXPECT_EQ(texts[1], "Error encountered attempting to delete the user. User could not be deleted");
    EXPECT_EQ(recorder.shown[1].title, "User Management");
    // The user row was deleted by the first batch: the collection and the log follow the database.
    EXPECT_EQ(userRow(302), "TFREE,NULL,0,1");
    EXPECT_EQ(transRows("TFREE"), "0,2,2");
    EXPECT_EQ(users.Item("302U"), nullptr);
    EXPECT_EQ(logRows(), std::vector<std::string>{"20009|2|2|50|1|User TFREE was deleted by user MGR."});
}

TEST_F(UserDelete, AFailureInsideTheFirstBatchStopsItThere) {
    exec("DROP TABLE System_log_view_filters");
    EXPECT_FALSE(DeleteUser("300U", users));
    EXPECT_EQ(shownTexts().back(), "Error encountered attempting to delete the user. User could not be deleted");
    EXPECT_NE(shownTexts().front().find("System_log_view_filters"), std::string::npos);
    // Before the failing statement: applied; the failing one and those after it: not run.
    EXPECT_EQ(userRow(300), "O'HARE,NULL,0,1");
    EXPECT_EQ(scalar("SELECT (SELECT COUNT(*) FROM Privileges_accounts WHERE user_id = 300) + (SELECT COUNT(*) FROM "
                     "System_log_view_columns WHERE user_id = 300)"),
              "0");
    EXPECT_EQ(scalar("SELECT (SELECT COUNT(*) FROM System_log_views WHERE user_id = 300) + (SELECT COUNT(*) FROM "
                     "System_printer_privileges WHERE user_id = 300)"),
              "2");
    EXPECT_EQ(users.Item("300U"), nullptr);
}

TEST_F(UserDelete, ALinkLostForGoodLeavesTheUserWhereItWas) {
    odbc.arrangeFault("KALDRA", "drop-link 2"); // the batch and its one retry
    EXPECT_FALSE(DeleteUser("300U", users));
    EXPECT_EQ(shownTexts().back(), "Error encountered attempting to delete the user. User could not be deleted");
    EXPECT_EQ(userRow(300), "O'HARE,NULL,0,0");
    EXPECT_EQ(ownRows(300), "11111111");
    ASSERT_NE(users.Item("300U"), nullptr);
    EXPECT_TRUE(logRows().empty());
}

TEST_F(UserDelete, ALinkLostOnceIsRepairedAndTheDeleteGoesThrough) {
    odbc.arrangeFault("KALDRA", "drop-link 1");
    ASSERT_TRUE(DeleteUser("300U", users));
    EXPECT_EQ(shownTexts(), std::vector<std::string>{"Connection to SQL Server reestablished."});
    EXPECT_EQ(userRow(300), "O'HARE,NULL,0,1");
    EXPECT_EQ(users.Item("300U"), nullptr);
}

} // namespace
