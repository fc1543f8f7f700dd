// The editor's save: one all-or-nothing batch, so a failure or a lost link leaves nothing half written.

#include "UserEditSave.h"
#include "DecimalCommaLocale.h"
#include "UserFixture.h"
#include "Utf8.h"
#include "modUserStore.h"

using namespace users;

namespace {

class EditorSave : public kdtest::UserStoreTest {
protected:
    void SetUp() override {
        UserStoreTest::SetUp();
        // JDOE (id 61) of partition 1 with configuration rows and privileges; the templates of partition 3.
        addUserRow(61, "JDOE", "'Jane', 'Doe', NULL, 1, 0, 0, 0, 0, 0, 0, 2, 'PROMPT.KDS', 0, 1, 0, 4");
        exec("INSERT System_user_cfg VALUES (61, 1, 'Font', 'Arial', 1)\n"
             "INSERT System_user_cfg VALUES (-1, 20, 'Font', 'Courier', 3)\n"
             "INSERT Privileges_accounts VALUES (61, 10, 'x', NULL)\n"
             "UPDATE System_user_bindery SET privilege_set1 = 'granted' WHERE user_id = 61");
        ASSERT_TRUE(LoadActiveUsers(&Users()));
        session().history.clear();
    }
    void TearDown() override {
        Users().RemoveAll();
        UserStoreTest::TearDown();
    }
    std::string jdoe(const std::string& columns) {
        return scalar("SELECT " + columns + " FROM System_user_bindery WHERE user_id = 61");
    }
    // JDOE moved to partition 3 with a new password.
    static clsUser moved(UserEditChanges& changes) {
        clsUser u;
        u.CopyClass(*Users().Item(clsUsers::Key(61)));
        changes.oldPartitionId = u.Partition_ID();
        u.Partition_ID(3);
        u.m_strPassword = "newpass9";
        changes.passwordChanged = true;
        return u;
    }
    std::string savedState() {
        return jdoe("CONVERT(varchar, partition_id) + '|' + ISNULL(privilege_set1, 'NULL') + '|' + "
                    "CONVERT(varchar, nbr_bad_attempts)") +
               "|" + scalar("SELECT COUNT(*) FROM Privileges_accounts WHERE user_id = 61") + "|" +
               scalar("SELECT CONVERT(varchar, partition_id) FROM System_user_cfg WHERE user_id = 61");
    }
};

TEST_F(EditorSave, AChangedPartitionMovesEverythingInOneTransaction) {
    UserEditChanges changes;
    clsUser u = moved(changes);
    ASSERT_TRUE(SaveChangedUser(u, changes));
    EXPECT_EQ(savedState(), "3|NULL|0|0|3");
    EXPECT_EQ(Users().Item(clsUsers::Key(61))->Partition_ID(), 3);
    // One batch for the whole save; the other statements are the log's.
    const auto& h = session().history;
    ASSERT_EQ(std::count_if(h.begin(), h.end(),
                            [](const auto& t) { return t.find("System_user_bindery") != std::string::npos; }),
              1);
    const std::string& batch = h.front();
    EXPECT_EQ(batch.rfind("SET XACT_ABORT ON\r\nBEGIN TRANSACTION\r\nUPDATE System_user_bindery SET", 0), 0u);
    EXPECT_NE(batch.find("UPDATE System_user_bindery SET password_changed_datetime = GETDATE() WHERE user_id = 61"),
              std::string::npos);
    EXPECT_NE(batch.find("DELETE FROM System_user_cfg WHERE user_id = 61 AND partition_id = 3\r\nUPDATE "
                         "System_user_cfg SET partition_id = 3 WHERE user_id = 61 AND partition_id = 1"),
              std::string::npos);
    EXPECT_NE(batch.find("COMMIT TRANSACTION"), std::string::npos);
    const auto log = logRows();
    EXPECT_NE(std::find(log.begin(), log.end(), "20004|2|2|50|1|User JDOE settings have been changed by MGR."),
              log.end());
    EXPECT_NE(std::find(log.begin(), log.end(), "20037|2|2|50|1|Login password changed for JDOE."), log.end());
}

// The link drops in the middle of the save, on the first try and on the session's retry: nothing of
// the save stays, the collection keeps the user as it was, and no change is logged.
TEST_F(EditorSave, ALostLinkDuringTheSaveLeavesNothingHalfWritten) {
    const std::string before = savedState();
    const std::string password = jdoe("password");
    UserEditChanges changes;
    clsUser u = moved(changes);
    // SET XACT_ABORT, BEGIN, the update, the stamp, the configuration delete: then the link drops.
    odbc.arrangeFault("KALDRA", "drop-link-after 5\ndrop-link-after 5");
    EXPECT_FALSE(SaveChangedUser(u, changes));
    ASSERT_FALSE(recorder.shown.empty());
    EXPECT_EQ(recorder.shown.back().text, kUpdateFailed);
    session().DisconnectFromSQL();
    kdtest::connectSession(odbc.folder(), "KALDRA");
    EXPECT_EQ(savedState(), before);
    EXPECT_EQ(jdoe("password"), password);
    EXPECT_EQ(Users().Item(clsUsers::Key(61))->Partition_ID(), 1);
    EXPECT_TRUE(logRows().empty());
    EXPECT_EQ(scalar("SELECT @@TRANCOUNT"), "0");
}

// Dropped once, the save is rolled back, sent again whole after the reconnect and applied once.
TEST_F(EditorSave, ALinkLostOnceIsRepairedAndTheSaveAppliedOnce) {
    UserEditChanges changes;
    clsUser u = moved(changes);
    odbc.arrangeFault("KALDRA", "drop-link-after 5");
    ASSERT_TRUE(SaveChangedUser(u, changes));
    EXPECT_EQ(savedState(), "3|NULL|0|0|3");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_user_cfg WHERE user_id = 61"), "1");
}

TEST_F(EditorSave, ANewUserWithMultiByteNamesAndQuotesIsStoredAsTyped) {
    std::string name;
    for (int i = 0; i < 25; ++i)
        name += "\xc3\x85\xe2\x82\xac"; // "Å€": a 2-byte and a 3-byte character
    ASSERT_EQ(platform::utf8Length(name), 50u);
    clsUser u;
    u.m_strUserName = name;
    u.m_strFirstName = "D'Arcy \xc3\x89lise";
    u.m_strLastName = "O''Neil; DROP TABLE x --";
    u.m_strPassword = "p\xc3\xa4ss";
    u.m_strTransId = platform::utf8Left(name, 8);
    u.m_strInitials = "\xc3\xa5q";
    u.m_blnEnabled = true;
    u.Partition_ID(3);
    UserEditChanges changes;
    changes.oldPartitionId = 3;
    changes.writeTransRecord = true;
    ASSERT_TRUE(SaveNewUser(u, changes));
    const std::string id = std::to_string(u.m_lngUserId);
    EXPECT_EQ(scalar("SELECT user_name FROM System_user_bindery WHERE user_id = " + id), name);
    EXPECT_EQ(scalar("SELECT first_name + '|' + last_name FROM System_user_bindery WHERE user_id = " + id),
              "D'Arcy \xc3\x89lise|O''Neil; DROP TABLE x --");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Trans_info WHERE trans_id = '" + platform::utf8Left(name, 8) + "'"), "1");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_user_cfg WHERE user_id = " + id + " AND application_id = 1"), "1");
    ASSERT_TRUE(LoadActiveUsers(&Users()));
    const clsUser* loaded = Users().Item(clsUsers::Key(u.m_lngUserId));
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->m_strPassword, "p\xc3\xa4ss");
    EXPECT_EQ(loaded->m_strLastName, "O''Neil; DROP TABLE x --");
}

// A name one character over the column fails inside the batch: the id is used up, but no row, no
// configuration and no transcriptionist record are left behind.
TEST_F(EditorSave, AFailingStatementLeavesNoPartOfANewUser) {
    std::string name;
    for (int i = 0; i < 51; ++i)
        name += "\xc3\x85";
    clsUser u;
    u.m_strUserName = name;
    u.m_strFirstName = "Too";
    u.m_strTransId = "TOOLONG";
    u.Partition_ID(3);
    UserEditChanges changes;
    changes.oldPartitionId = 3;
    changes.writeTransRecord = true;
    const std::string users = scalar("SELECT COUNT(*) FROM System_user_bindery");
    const std::string cfg = scalar("SELECT COUNT(*) FROM System_user_cfg");
    EXPECT_FALSE(SaveNewUser(u, changes));
    EXPECT_EQ(recorder.shown.back().text, kAddFailed);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_user_bindery"), users);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_user_cfg"), cfg);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Trans_info WHERE trans_id = 'TOOLONG'"), "0");
    EXPECT_FALSE(Users().Exists(clsUsers::Key(u.m_lngUserId)));
}

// Under a decimal-comma locale the numbers of the save are still written and read as T-SQL numbers.
TEST_F(EditorSave, TheSaveIsLocaleFreeUnderADecimalComma) {
    kdtest::DecimalCommaLocale comma;
    KD_REQUIRE_DECIMAL_COMMA(comma);
    UserEditChanges changes;
    clsUser u = moved(changes);
    u.m_blnSystemAdministrator = true;
    u.m_bytUserPolicy = 12;
    ASSERT_TRUE(SaveChangedUser(u, changes));
    EXPECT_EQ(jdoe("CONVERT(varchar, is_administrator) + '|' + CONVERT(varchar, flag4)"), "1|12");
    ASSERT_TRUE(LoadActiveUsers(&Users()));
    EXPECT_TRUE(Users().Item(clsUsers::Key(61))->m_blnSystemAdministrator);
}

} // namespace

namespace {

// A physician user's profile points back at the user: a new physician user links its profile (user
// access on), and a user who stops being a physician user leaves the profile without a user, so
// that a later delete of the physician cannot take the user with it.
TEST_F(EditorSave, ThePhysicianProfileFollowsTheUsersPhysicianLink) {
    exec("INSERT Physician_profile (physician_id, first_name, last_name, flag2, partition_id) VALUES (8, 'Priya', "
         "'Shah', 0, 1)\n"
         "INSERT Physician_attributes (physician_id, hosp_acct_id, elect_signature) VALUES (8, -1, 0)\n"
         "INSERT Physician_attributes (physician_id, hosp_acct_id, elect_signature) VALUES (8, 9, 0)");
    const auto profile = [this] {
        return scalar("SELECT CONVERT(varchar, flag2) FROM Physician_profile WHERE physician_id = 8") + "|" +
               scalar("SELECT CONVERT(varchar, MIN(elect_signature)) + CONVERT(varchar, MAX(elect_signature)) FROM "
                      "Physician_attributes WHERE physician_id = 8");
    };
    clsUser u;
    u.m_strUserName = "DRSHAH";
    u.m_strFirstName = "Priya";
    u.m_lngPhysicianId = 8;
    u.m_blnEnabled = true;
    u.Partition_ID(1);
    UserEditChanges added;
    added.oldPartitionId = 1;
    ASSERT_TRUE(SaveNewUser(u, added));
    const std::string id = std::to_string(u.m_lngUserId);
    EXPECT_EQ(profile(), id + "|11");
    EXPECT_EQ(scalar("SELECT flag1 FROM System_user_bindery WHERE user_id = " + id), "8");

    clsUser general;
    general.CopyClass(*Users().Item(clsUsers::Key(u.m_lngUserId)));
    general.m_lngPhysicianId = 0;
    UserEditChanges changed;
    changed.oldPartitionId = 1;
    changed.oldPhysicianId = 8;
    ASSERT_TRUE(SaveChangedUser(general, changed));
    EXPECT_EQ(profile(), "0|00");
    EXPECT_EQ(scalar("SELECT flag1 FROM System_user_bindery WHERE user_id = " + id), "0");
}

} // namespace
