// Adding, changing and restoring users: the statements, the rows, the collection and the log.

#include "UserFixture.h"
#include "UserStatements.h"
#include "Utf8.h"
#include "modUserStore.h"

#include <clocale>

using namespace users;

namespace {

class UserWrites : public kdtest::UserStoreTest {
protected:
    void SetUp() override {
        UserStoreTest::SetUp();
        // Template rows of partitions 3 and 1, and an option row of user -1 that is not a template.
        exec("INSERT System_user_cfg VALUES (-1, 20, 'Font', 'Arial', 3)\n"
             "INSERT System_user_cfg VALUES (-1, 20, 'Size', '12', 3)\n"
             "INSERT System_user_cfg VALUES (-1, 20, 'Font', 'Courier', 1)\n"
             "INSERT System_user_cfg VALUES (-1, 77, 'Other', 'x', 3)");
        session().history.clear();
    }

    static clsUser newUser(const std::string& name) {
        clsUser u;
        u.m_strUserName = name;
        u.m_strFirstName = "Pat";
        u.m_strLastName = "Quinn";
        u.m_strPassword = "secret1";
        u.m_blnEnabled = true;
        u.m_bytUserPolicy = 1;
        u.m_strPromptScript = "PROMPT.KDS";
        u.Partition_ID(3);
        return u;
    }
    std::string row(long id, const std::string& columns) {
        return scalar("SELECT " + columns + " FROM System_user_bindery WHERE user_id = " + std::to_string(id));
    }
};

TEST_F(UserWrites, InsertTakesTheNextIdCopiesTheTemplateAndLogs) {
    clsUser u = newUser("PQUINN");
    u.m_blnTransAdministrator = true;
    u.m_strSignaturePassword = "sig9";
    ASSERT_TRUE(InsertUser(u, users::Users()));
    EXPECT_EQ(u.m_lngUserId, 100);
    EXPECT_EQ(scalar("SELECT next_user_id FROM User_identifier"), "101");
    const auto& h = session().history;
    ASSERT_GE(h.size(), 3u);
    EXPECT_EQ(h[0], "SELECT user_name FROM System_user_bindery WHERE user_name = 'PQUINN'");
    EXPECT_EQ(h[1], "BEGIN TRANSACTION\r\nSELECT user_id = next_user_id FROM User_identifier WITH (UPDLOCK)\r\n"
                    "UPDATE User_identifier SET next_user_id = next_user_id + 1\r\nCOMMIT TRANSACTION");
    const std::string& insert = h[h.size() - 2];
    // The enciphered passwords differ at every write (a random nonce); the rest is exact.
    const size_t first = insert.find(", 0x");
    const size_t second = insert.find(", 0x", first + 1);
    ASSERT_NE(second, std::string::npos);
    const std::string password = insert.substr(first + 4, 60), signature = insert.substr(second + 4, 60);
    EXPECT_EQ(insert, InsertUserBatch(u, 100, password, signature));
    EXPECT_NE(insert.find("VALUES (100, 'PQUINN', 0x" + password +
                          ", 'Pat', 'Quinn', NULL, '', NULL, 0, 1, 0, 0, "
                          "GETDATE(), 0, 0, NULL, 1, NULL, NULL, 0, 1, 0, 1, 'PROMPT.KDS', NULL, NULL, 0, 3, 0, 0, 0x" +
                          signature + ")\r\nINSERT INTO System_user_cfg"),
              std::string::npos);
    EXPECT_EQ(suite::LoginComponent::DecryptedPassword(password), "secret1");
    EXPECT_EQ(suite::LoginComponent::DecryptedPassword(signature), "sig9");
    EXPECT_EQ(row(100, "CONVERT(varchar, nbr_bad_attempts) + ',' + CONVERT(varchar, can_change_password) + ',' + "
                       "CONVERT(varchar, flag2) + ',' + CONVERT(varchar, flag3) + ',' + CONVERT(varchar, "
                       "partition_id)"),
              "0,1,1,0,3");
    EXPECT_EQ(row(100, "CASE WHEN password_changed_datetime IS NULL OR last_access_datetime IS NOT NULL OR "
                       "privilege_set1 IS NOT NULL THEN 'bad' ELSE 'ok' END"),
              "ok");
    const auto cfg = exec("SELECT application_id, key_name, key_value, partition_id FROM System_user_cfg WHERE user_id "
                          "= 100 ORDER BY key_name");
    ASSERT_EQ(cfg.firstRows()->rows.size(), 2u); // partition 3's two template rows, as application 1
    EXPECT_EQ(cfg.firstRows()->rows[0][1].value_or(""), "Font");
    EXPECT_EQ(cfg.firstRows()->rows[0][2].value_or(""), "Arial");
    EXPECT_EQ(cfg.firstRows()->rows[0][0].value_or(""), "1");
    ASSERT_NE(users::Users().Item("100U"), nullptr);
    EXPECT_EQ(users::Users().Item("100U")->m_strUserName, "PQUINN");
    EXPECT_EQ(logRows(), std::vector<std::string>{"20003|2|2|50|1|User PQUINN was added by user MGR."});
    EXPECT_TRUE(recorder.shown.empty());
    users::Users().RemoveAll();
}

TEST_F(UserWrites, IdsComeOneAfterTheOtherAndAFailedAllocationWritesNothing) {
    clsUsers users;
    clsUser a = newUser("FIRST"), b = newUser("SECOND");
    ASSERT_TRUE(InsertUser(a, users));
    ASSERT_TRUE(InsertUser(b, users));
    EXPECT_EQ(a.m_lngUserId, 100);
    EXPECT_EQ(b.m_lngUserId, 101);
    EXPECT_EQ(NextUserId(), 102);
    exec("DROP TABLE User_identifier");
    recorder.shown.clear();
    session().history.clear();
    clsUser c = newUser("THIRD");
    EXPECT_FALSE(InsertUser(c, users));
    ASSERT_EQ(recorder.shown.size(), 2u);
    EXPECT_EQ(recorder.shown[0].title, "Veltra Desktop - SQL Error");
    EXPECT_EQ(recorder.shown[1].text, kAddFailed);
    for (const auto& sql : session().history)
        EXPECT_EQ(sql.find("INSERT System_user_bindery"), std::string::npos);
    EXPECT_EQ(users.Count(), 2u);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_user_bindery WHERE user_name = 'THIRD'"), "0");
}

TEST_F(UserWrites, ATakenNameIsRefusedBeforeAnyWrite) {
    addUserRow(300, "TAKEN", "'T', 'T', NULL, 1, 0, 0, 0, 0, 0, 0, 0, '', 1, 1, 0, 0"); // a deleted user
    addUserRow(301, "NIGHT GROUP", "NULL, NULL, NULL, 1, 0, 0, 0, 0, 0, 1, 0, '', 0, 1, 0, 0");
    session().history.clear();
    clsUsers users;
    for (const char* name : {"TAKEN", "taken", "NIGHT GROUP"}) {
        recorder.shown.clear();
        session().history.clear();
        clsUser u = newUser(name);
        EXPECT_FALSE(InsertUser(u, users)) << name;
        ASSERT_EQ(recorder.shown.size(), 1u);
        EXPECT_EQ(recorder.shown[0].text,
                  "The specified user name is not available.\xC2\xA0 Please specify a different "
                  "user name or contact your global system administrator for further "
                  "assistance.");
        EXPECT_EQ(recorder.shown[0].title, "User Management");
        EXPECT_EQ(session().history.size(), 1u); // the check alone
    }
    EXPECT_EQ(users.Count(), 0u);
    EXPECT_EQ(scalar("SELECT next_user_id FROM User_identifier"), "100");
    EXPECT_TRUE(logRows().empty());
}

TEST_F(UserWrites, AFailedInsertLeavesTheCollectionAsTheDatabaseIs) {
    clsUsers users;
    // The row itself is refused: a first name of 22 characters, one over the 21 the row holds.
    clsUser u = newUser("LONGNAME");
    u.m_strFirstName = std::string(22, 'x');
    EXPECT_FALSE(InsertUser(u, users));
    ASSERT_EQ(recorder.shown.size(), 2u);
    EXPECT_EQ(recorder.shown[0].title, "Veltra Desktop - SQL Error");
    EXPECT_NE(recorder.shown[0].text.find("String or binary data would be truncated."), std::string::npos);
    EXPECT_EQ(recorder.shown[1].text, "Error encountered attempting to add the user. User could not be added.");
    EXPECT_EQ(recorder.shown[1].title, "User Management");
    EXPECT_EQ(users.Count(), 0u);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_user_bindery WHERE user_name = 'LONGNAME'"), "0");
    EXPECT_TRUE(logRows().empty());

    // A password longer than the stored form holds (20 characters) is refused before any statement.
    recorder.shown.clear();
    session().history.clear();
    clsUser p = newUser("LONGPASS");
    p.m_strPassword = std::string(21, 'p');
    EXPECT_FALSE(InsertUser(p, users));
    EXPECT_EQ(shownTexts(), std::vector<std::string>{kAddFailed});
    EXPECT_EQ(session().history.size(), 1u); // the name check only: no id taken
    EXPECT_EQ(scalar("SELECT next_user_id FROM User_identifier"), "101");

    // The row goes in but the template copy fails: the user is in the database, so in the collection.
    recorder.shown.clear();
    exec("DROP TABLE System_user_cfg");
    clsUser v = newUser("HALFWAY");
    EXPECT_FALSE(InsertUser(v, users));
    EXPECT_EQ(shownTexts().back(), "Error encountered attempting to add the user. User could not be added.");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_user_bindery WHERE user_name = 'HALFWAY'"), "1");
    ASSERT_EQ(users.Count(), 1u);
    EXPECT_EQ(users.begin()->m_strUserName, "HALFWAY");
    EXPECT_EQ(logRows().size(), 1u);
}

TEST_F(UserWrites, ApostrophesAndLettersOfAnyScriptRoundTripAtTheirLimits) {
    // Each text at its column's limit in characters, with 2- and 3-byte characters.
    std::string name50;
    for (int i = 0; i < 25; ++i)
        name50 += "É€"; // 2 + 3 bytes
    std::string first21;
    for (int i = 0; i < 21; ++i)
        first21 += "ü";
    std::string last30 = "O'Sé";
    while (platform::utf8Length(last30) < 30)
        last30 += "中";
    std::string script40 = "Ñ'";
    while (platform::utf8Length(script40) < 40)
        script40 += "ş";
    ASSERT_EQ(platform::utf8Length(name50), 50u);
    clsUsers users;
    clsUser u = newUser(name50);
    u.m_strFirstName = first21;
    u.m_strLastName = last30;
    u.m_strPromptScript = script40;
    u.m_strPassword = "pässwörd'";
    ASSERT_TRUE(InsertUser(u, users)) << (recorder.shown.empty() ? "" : recorder.shown[0].text);
    clsUsers loaded;
    ASSERT_TRUE(LoadActiveUsers(&loaded));
    const clsUser* back = loaded.Item(clsUsers::Key(u.m_lngUserId));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->m_strUserName, name50);
    EXPECT_EQ(back->m_strFirstName, first21);
    EXPECT_EQ(back->m_strLastName, last30);
    EXPECT_EQ(back->m_strPromptScript, script40);
    EXPECT_EQ(back->m_strPassword, "pässwörd'");
    EXPECT_EQ(CheckUserName(name50), NameUse::Taken);
    // The log sentence is 79 characters: stored whole, whatever its bytes.
    EXPECT_EQ(logRows(), std::vector<std::string>{"20003|2|2|50|1|User " + name50 + " was added by user MGR."});
    // One character more is refused by the server.
    clsUser w = newUser(name50 + "x");
    EXPECT_FALSE(InsertUser(w, users));
    EXPECT_EQ(shownTexts().back(), "Error encountered attempting to add the user. User could not be added.");
}

TEST_F(UserWrites, UpdateWritesTheEditorsColumnsAndClearsTheBadAttempts) {
    addUserRow(300, "ROSS", "'Rae', 'Ross', NULL, 1, 1, 0, 1, 0, 0, 0, 1, '', 0, 1, 0, 4");
    clsUsers users;
    ASSERT_TRUE(LoadActiveUsers(&users));
    session().history.clear();
    clsUser copy;
    copy.CopyClass(*users.Item("300U"));
    copy.m_strLastName = "O'Ross";
    copy.m_blnLockedOut = false;
    copy.m_strPassword = "newpass";
    ASSERT_TRUE(UpdateUser(copy, true, false, users));
    ASSERT_EQ(session().history.size(), 4u); // the update, its log row, the stamp, its log row
    const std::string head =
        "UPDATE System_user_bindery SET first_name = 'Rae',\r\nlast_name = 'O''Ross',\r\npassword = 0x";
    EXPECT_EQ(session().history[0].substr(0, head.size()), head);
    EXPECT_EQ(session().history[2],
              "UPDATE System_user_bindery SET password_changed_datetime = GETDATE() WHERE user_id = 300");
    EXPECT_EQ(row(300, "CONVERT(varchar, nbr_bad_attempts) + ',' + CONVERT(varchar, locked_out) + ',' + last_name"),
              "0,0,O'Ross");
    EXPECT_EQ(row(300, "CASE WHEN password_changed_datetime IS NULL THEN 'no' ELSE 'yes' END"), "yes");
    EXPECT_EQ(row(300, "CASE WHEN signature_password_changed_datetime IS NULL THEN 'no' ELSE 'yes' END"), "no");
    EXPECT_EQ(users.Item("300U")->m_strLastName, "O'Ross");
    clsUsers loaded;
    ASSERT_TRUE(LoadActiveUsers(&loaded));
    EXPECT_EQ(loaded.Item("300U")->m_strPassword, "newpass");
    EXPECT_EQ(logRows(), (std::vector<std::string>{"20004|2|2|50|1|User ROSS settings have been changed by MGR.",
                                                   "20037|2|2|50|1|Login password changed for ROSS."}));

    // Saving again with nothing changed still clears a count that grew meanwhile.
    exec("UPDATE System_user_bindery SET nbr_bad_attempts = 3 WHERE user_id = 300");
    ASSERT_TRUE(UpdateUser(copy, false, true, users));
    EXPECT_EQ(row(300, "nbr_bad_attempts"), "0");
    EXPECT_EQ(row(300, "CASE WHEN signature_password_changed_datetime IS NULL THEN 'no' ELSE 'yes' END"), "yes");
    EXPECT_EQ(logRows().back(), "20038|2|2|50|1|Signature password changed for ROSS.");
}

TEST_F(UserWrites, AFailedUpdateChangesNeitherRowNorCollection) {
    addUserRow(300, "ROSS", "'Rae', 'Ross', NULL, 1, 0, 0, 0, 0, 0, 0, 1, '', 0, 1, 0, 2");
    clsUsers users;
    ASSERT_TRUE(LoadActiveUsers(&users));
    clsUser copy;
    copy.CopyClass(*users.Item("300U"));
    copy.m_strFirstName = std::string(31, 'r');
    EXPECT_FALSE(UpdateUser(copy, true, true, users));
    EXPECT_EQ(shownTexts().back(), "Error encountered attempting to update the user. User could not be updated.");
    EXPECT_EQ(users.Item("300U")->m_strFirstName, "Rae");
    EXPECT_EQ(row(300, "first_name + ',' + CONVERT(varchar, nbr_bad_attempts)"), "Rae,2");
    copy.m_strFirstName = "Rita";
    copy.m_strSignaturePassword = std::string(21, 's'); // longer than the stored form holds
    session().history.clear();
    EXPECT_FALSE(UpdateUser(copy, false, true, users));
    EXPECT_TRUE(session().history.empty());
    EXPECT_EQ(shownTexts().back(), kUpdateFailed);
    EXPECT_EQ(users.Item("300U")->m_strFirstName, "Rae");
    EXPECT_TRUE(logRows().empty());
}

TEST_F(UserWrites, TranscriptionistRecordIsInsertedThenUpdated) {
    clsUser u = newUser("TWRIGHT");
    u.m_strTransId = "TWRIGHT";
    u.m_strInitials = "tw";
    u.m_strLocationCode = "NGH";
    u.m_strDictationId = "4200";
    u.m_strMisNbr = "M'1";
    u.m_blnVoiceToText = true;
    u.m_blnExtra2Bit2 = true;
    ASSERT_TRUE(WriteTranscriptionistRecord(u));
    EXPECT_EQ(session().history[0], "SELECT trans_id, is_deleted FROM Trans_info WHERE trans_id = 'TWRIGHT'");
    EXPECT_EQ(session().history[1],
              "INSERT Trans_info (trans_id, trans_type, first_name, last_name, initials, location_code, dictation_id, "
              "mis_nbr, account_disabled, supervisor, last_access, extra1, extra2, extra3, extra4, extra5, extra6, "
              "extra7, is_deleted) VALUES('TWRIGHT', 1, 'Pat', 'Quinn', 'TW', 'NGH', '4200', 'M''1', 0, 0, NULL, 1, 2, "
              "3, 0, 0, 0, 0, 0)");
    const std::string cols = "SELECT CONVERT(varchar, trans_type) + ',' + initials + ',' + mis_nbr + ',' + "
                             "CONVERT(varchar, extra2) + ',' + CONVERT(varchar, extra3) + ',' + CONVERT(varchar, "
                             "is_deleted) FROM Trans_info WHERE trans_id = 'TWRIGHT'";
    EXPECT_EQ(scalar(cols), "1,TW,M'1,2,3,0");
    exec("UPDATE Trans_info SET is_deleted = 1 WHERE trans_id = 'TWRIGHT'");
    u.m_lngPhysicianId = 1200; // now a physician user: type 4
    u.m_blnExtra2Bit1 = true;
    u.m_strInitials = "twx";
    ASSERT_TRUE(WriteTranscriptionistRecord(u));
    EXPECT_EQ(session().history.back(),
              "UPDATE Trans_info SET initials = 'TWX', location_code = 'NGH', dictation_id = '4200', mis_nbr = 'M''1', "
              "first_name = 'Pat', last_name = 'Quinn', extra1 = 1, extra2 = 3, extra3 = 3, trans_type = 4, "
              "is_deleted = 0 WHERE trans_id = 'TWRIGHT'");
    EXPECT_EQ(scalar(cols), "4,TWX,M'1,3,3,0");
}

TEST_F(UserWrites, UndeleteRestoresTheRecordWithANewUserRowBesideTheDeletedOne) {
    // The transcriptionist was deleted through the console: its user row is kept, name and all.
    addUserRow(150, "KOCONNOR", "'Kay', 'O''Connor', NULL, 1, 0, 0, 0, 0, 0, 0, 1, '', 1, 3, 0, 0");
    exec("INSERT Trans_info (trans_id, trans_type, first_name, last_name, initials, is_deleted, extra3) "
         "VALUES ('KOCONNOR', 1, 'Kay', 'O''Connor', 'KO', 1, 3)");
    session().history.clear();
    clsUsers users;
    clsUser u = newUser("KOCONNOR");
    u.m_strTransId = "KOCONNOR";
    u.m_strFirstName = "Kay";
    u.m_strLastName = "O'Connor";
    ASSERT_TRUE(UndeleteTranscriptionist(u, users));
    EXPECT_EQ(session().history[0], "UPDATE Trans_info SET is_deleted = 0 WHERE trans_id = 'KOCONNOR'");
    EXPECT_EQ(scalar("SELECT is_deleted FROM Trans_info WHERE trans_id = 'KOCONNOR'"), "0");
    EXPECT_EQ(row(100, "user_name + ',' + trans_id + ',' + last_name + ',' + CONVERT(varchar, is_deleted)"),
              "KOCONNOR,KOCONNOR,O'Connor,0");
    EXPECT_EQ(row(150, "is_deleted"), "1");
    ASSERT_NE(users.Item("100U"), nullptr);
    EXPECT_EQ(logRows(), std::vector<std::string>{"20010|2|2|50|1|User KOCONNOR has been undeleted by MGR."});
    clsUsers loaded;
    ASSERT_TRUE(LoadActiveUsers(&loaded));
    ASSERT_NE(loaded.Item("100U"), nullptr);
    EXPECT_EQ(loaded.Item("100U")->m_strInitials, "KO");
    EXPECT_EQ(loaded.Item("150U"), nullptr);

    // A failed restore of the record adds no user.
    exec("DROP TABLE Trans_info");
    clsUser again = newUser("NOBODY");
    again.m_strTransId = "NOBODY";
    EXPECT_FALSE(UndeleteTranscriptionist(again, users));
    EXPECT_EQ(recorder.shown.back().text, kAddFailed);
    EXPECT_EQ(users.Count(), 1u);
    EXPECT_EQ(scalar("SELECT next_user_id FROM User_identifier"), "101");
}

TEST_F(UserWrites, ConfigurationMovesToTheNewPartition) {
    exec("INSERT System_user_cfg VALUES (300, 1, 'Font', 'Old', 1)\n"
         "INSERT System_user_cfg VALUES (300, 1, 'Size', '10', 1)\n"
         "INSERT System_user_cfg VALUES (300, 1, 'Font', 'Stale', 3)\n"
         "INSERT System_user_cfg VALUES (301, 1, 'Font', 'Other', 1)");
    ASSERT_TRUE(MoveUserConfiguration(300, 1, 3));
    EXPECT_EQ(session().history.back(), MoveUserConfigurationBatch(300, 1, 3));
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_user_cfg WHERE user_id = 300 AND partition_id = 3"), "2");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_user_cfg WHERE key_value = 'Stale'"), "0");
    EXPECT_EQ(scalar("SELECT partition_id FROM System_user_cfg WHERE user_id = 301"), "1");
    exec("DROP TABLE System_user_cfg");
    EXPECT_FALSE(MoveUserConfiguration(300, 3, 1));
    EXPECT_EQ(recorder.shown.back().text, "Error encountered attempting to copy user specific configuration settings.");
    EXPECT_EQ(recorder.shown.back().title, "User Management");
}

TEST_F(UserWrites, PolicyAssignmentAndPrivilegeReset) {
    addUserRow(300, "ROSS", "'Rae', 'Ross', NULL, 1, 0, 0, 0, 0, 0, 0, 1, '', 0, 1, 0, 0");
    exec("UPDATE System_user_bindery SET privilege_set1 = 'ab', privilege_set2 = 'cd' WHERE user_id = 300\n"
         "INSERT System_printer_privileges (user_id, printer_id) VALUES (300, 1)\n"
         "INSERT Privileges_accounts VALUES (300, 10, 'x', NULL)\n"
         "INSERT Privileges_accounts VALUES (301, 10, 'x', NULL)\n"
         "INSERT Privileges_departments VALUES (300, 10, 1, 'x', NULL)\n"
         "INSERT Privileges_report_types (user_id, hosp_acct_id, dept_id, report_type_nbr) VALUES (300, 10, 1, 2)");
    clsUsers users;
    ASSERT_TRUE(LoadActiveUsers(&users));
    ASSERT_TRUE(AssignUserPolicy(300, 2, "Directory Log-in", users));
    EXPECT_EQ(session().history[1], "UPDATE System_user_bindery SET flag4 = 2 WHERE user_id = 300");
    EXPECT_EQ(row(300, "flag4"), "2");
    EXPECT_EQ(users.Item("300U")->m_bytUserPolicy, 2);
    EXPECT_EQ(logRows(), std::vector<std::string>{
                             "20004|2|2|50|1|User policy set to Directory Log-in for user ROSS by user MGR."});
    ASSERT_TRUE(ResetUserPrivileges(300));
    EXPECT_EQ(session().history.back(), PrivilegeResetBatch(300));
    EXPECT_EQ(row(300, "ISNULL(privilege_set1, 'null') + ISNULL(privilege_set2, 'null')"), "nullnull");
    EXPECT_EQ(scalar("SELECT (SELECT COUNT(*) FROM System_printer_privileges) + (SELECT COUNT(*) FROM "
                     "Privileges_departments) + (SELECT COUNT(*) FROM Privileges_report_types)"),
              "0");
    EXPECT_EQ(scalar("SELECT user_id FROM Privileges_accounts"), "301");
    exec("DROP TABLE System_user_bindery");
    EXPECT_FALSE(AssignUserPolicy(300, 1, "Clinical Staff", users));
    EXPECT_EQ(recorder.shown.back().text, "Error encountered setting user policy.");
    EXPECT_EQ(users.Item("300U")->m_bytUserPolicy, 2);
}

// The user's locale may write numbers with a decimal comma and group digits; SQL text and the
// values read back must not follow it.
TEST_F(UserWrites, ADecimalCommaLocaleChangesNoStatementAndNoValue) {
    clsUser u = newUser("LOCALE");
    u.m_lngPhysicianId = 1234567;
    u.m_lngUserGroupId = 1000000;
    u.m_blnSystemAdministrator = true;
    u.m_lngUserId = 4321;
    const std::string before = InsertUserBatch(u, 1234567, "AA", "BB") + UpdateUserStatement(u, "AA", "BB") +
                               DeleteUserBatch(1234567, "LOCALE", true, true) + PolicyAssignment(1234567, 255);
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "tools/bootstrap generates de_DE.UTF-8";
    const std::string during = InsertUserBatch(u, 1234567, "AA", "BB") + UpdateUserStatement(u, "AA", "BB") +
                               DeleteUserBatch(1234567, "LOCALE", true, true) + PolicyAssignment(1234567, 255);
    clsUsers users;
    const bool inserted = InsertUser(u, users);
    clsUsers loaded;
    const bool read = LoadActiveUsers(&loaded);
    std::setlocale(LC_ALL, previous.c_str());
    EXPECT_EQ(during, before);
    ASSERT_TRUE(inserted);
    ASSERT_TRUE(read);
    const clsUser* back = loaded.Item(clsUsers::Key(u.m_lngUserId));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->m_lngPhysicianId, 1234567);
    EXPECT_TRUE(back->m_blnSystemAdministrator);
    EXPECT_EQ(back->m_strPassword, "secret1");
}

} // namespace
