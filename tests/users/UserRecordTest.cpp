// The user record, its collection, the statement texts and the administrator authority rule:
// everything that needs no database.

#include "AdminAuthority.h"
#include "LoginComponent.h"
#include "MessageService.h"
#include "UserStatements.h"
#include "clsPartition.h"
#include "clsUser.h"
#include "clsUsers.h"
#include "modPartition.h"
#include "modUserStore.h"

#include <gtest/gtest.h>

using namespace users;

namespace {

TEST(UserRecord, InitUserRestoresEveryDefault) {
    clsUser u;
    u.m_lngUserId = 7;
    u.m_strUserName = "X";
    u.m_strPassword = "p";
    u.m_blnEnabled = true;
    u.m_bytUserPolicy = 3;
    u.m_blnSystemAdministrator = true;
    u.m_colSurrogateUserIds = {1, 2};
    u.m_colCosignerGroupId = {9};
    u.m_blnSurrogateInfoPending = false;
    u.m_blnCosignerInfoPending = false;
    u.m_blnExtra2Bit2 = true;
    u.Partition_ID(4);
    u.Read_Only(true);
    u.Is_Shared(true);
    u.InitUser();
    EXPECT_EQ(u.m_lngUserId, 0);
    EXPECT_EQ(u.m_strUserName, "");
    EXPECT_EQ(u.m_strPassword, "");
    EXPECT_FALSE(u.m_blnEnabled);
    EXPECT_EQ(u.m_bytUserPolicy, 0);
    EXPECT_FALSE(u.m_blnSystemAdministrator);
    EXPECT_TRUE(u.m_colSurrogateUserIds.empty());
    EXPECT_TRUE(u.m_colCosignerGroupId.empty());
    EXPECT_TRUE(u.m_blnSurrogateInfoPending); // the two working-state flags start true
    EXPECT_TRUE(u.m_blnCosignerInfoPending);
    EXPECT_FALSE(u.m_blnExtra2Bit2);
    EXPECT_EQ(u.Partition_ID(), -1);
    EXPECT_FALSE(u.Read_Only());
    EXPECT_FALSE(u.Is_Shared());
}

TEST(UserRecord, ResetsEmptyOnlyTheirOwnWorkingSets) {
    clsUser u;
    u.m_colSurrogateUserIds = {1};
    u.m_colSurrogateGroupId = {2};
    u.m_colCosignerUserIds = {3};
    u.m_colCosignerGroupId = {4};
    u.ResetSurrogateInfo();
    EXPECT_TRUE(u.m_colSurrogateUserIds.empty());
    EXPECT_TRUE(u.m_colSurrogateGroupId.empty());
    EXPECT_EQ(u.m_colCosignerUserIds, std::vector<long>{3});
    u.ResetCosignerInfo();
    EXPECT_TRUE(u.m_colCosignerUserIds.empty());
    EXPECT_TRUE(u.m_colCosignerGroupId.empty());
}

TEST(UserRecord, CopyClassCopiesFieldsAndProperties) {
    clsUser a;
    a.m_lngUserId = 12;
    a.m_strUserName = "O'BRIEN";
    a.m_strSignaturePassword = "sig";
    a.m_blnVoiceToText = true;
    a.m_colSurrogateGroupId = {5};
    a.Partition_ID(3);
    a.Read_Only(true);
    a.Is_Shared(true);
    clsUser b;
    b.CopyClass(a);
    EXPECT_EQ(b.m_lngUserId, 12);
    EXPECT_EQ(b.m_strUserName, "O'BRIEN");
    EXPECT_EQ(b.m_strSignaturePassword, "sig");
    EXPECT_TRUE(b.m_blnVoiceToText);
    EXPECT_EQ(b.m_colSurrogateGroupId, std::vector<long>{5});
    EXPECT_EQ(b.Partition_ID(), 3);
    EXPECT_TRUE(b.Read_Only());
    EXPECT_TRUE(b.Is_Shared());
    b.CopyClass(b); // onto itself: unchanged
    EXPECT_EQ(b.m_strUserName, "O'BRIEN");
}

class UserImages : public ::testing::Test {
protected:
    void SetUp() override {
        auto& cache = physicians::PartitionCache();
        cache.clear();
        cache.add(physicians::clsPartition(0, -1, "Root", 0, "/0/"));
        cache.add(physicians::clsPartition(3, 0, "North", 0, "/0/3/"));
        login.user.Partition_ID = 3;
        physicians::Partitions().login = &login;
    }
    void TearDown() override {
        physicians::Partitions().login = nullptr;
        physicians::PartitionCache().clear();
    }
    suite::LoginComponent login;
};

TEST_F(UserImages, KeysByIdNamePartitionAndSharing) {
    struct Case {
        long id;
        const char* name;
        long partition;
        bool shared;
        const char* key;
    } const cases[] = {
        {-1, "System Default", 3, false, "USER_TECH"}, {0, "ANYONE", 3, false, "USER_TECH"},
        {1, "ADMINISTRATOR", 3, false, "USER_TECH"},   {2, "SOMEONE", 3, false, "USER_NORMAL"},
        {300, "vttech", 3, false, "USER_TECH"},        {301, "VTSUPPORT", 0, true, "USER_TECH"},
        {302, "JDOE", 0, false, "USER_BORROWED"},      {303, "JDOE", 0, true, "USER_BORROWED"},
        {304, "JDOE", 3, true, "USER_SHARED"},         {305, "JDOE", 3, false, "USER_NORMAL"},
    };
    for (const auto& c : cases) {
        clsUser u;
        u.m_lngUserId = c.id;
        u.m_strUserName = c.name;
        u.Partition_ID(c.partition);
        u.Is_Shared(c.shared);
        EXPECT_EQ(u.GetImage(false), c.key) << c.id << " " << c.name;
        EXPECT_EQ(u.GetImage(true), c.key) << c.id << " " << c.name;
    }
    EXPECT_EQ(clsUser().Partition_Name(), ""); // partition -1 is not cached
    clsUser north;
    north.Partition_ID(3);
    EXPECT_EQ(north.Partition_Name(), "North");
    // With the root alone, partitions are not in use: nobody is borrowed or shared.
    physicians::PartitionCache().clear();
    physicians::PartitionCache().add(physicians::clsPartition(0, -1, "Root", 0, "/0/"));
    clsUser other;
    other.m_lngUserId = 500;
    other.Partition_ID(3);
    other.Is_Shared(true);
    EXPECT_EQ(other.GetImage(false), "USER_NORMAL");
}

TEST(UserCollection, KeyedByIdAndUInLoadOrder) {
    clsUsers c;
    clsUser a, b, d;
    a.m_lngUserId = 10;
    b.m_lngUserId = 2;
    d.m_lngUserId = 33;
    EXPECT_EQ(clsUsers::Key(10), "10U");
    EXPECT_EQ(clsUsers::Key(-1), "-1U");
    ASSERT_TRUE(c.Add(a, "10U"));
    ASSERT_TRUE(c.Add(b, "2U"));
    ASSERT_TRUE(c.Add(d, "33U"));
    EXPECT_FALSE(c.Add(b, "2U")); // a taken key is refused
    for (const char* notAKey : {"2", "U", "2u", "x2U", "2 U", "", "-U", "٢U"})
        EXPECT_FALSE(c.Add(b, notAKey)) << notAKey;
    EXPECT_EQ(clsUsers::KeyId("-1U"), -1);
    EXPECT_EQ(clsUsers::KeyId("0042U"), 42);
    EXPECT_EQ(c.Count(), 3u);
    ASSERT_TRUE(c.Remove("10U"));
    EXPECT_FALSE(c.Remove("10U"));
    EXPECT_EQ(c.Item("10U"), nullptr);
    ASSERT_NE(c.Item("33U"), nullptr); // the index follows the removal
    EXPECT_EQ(c.Item("33U")->m_lngUserId, 33);
    EXPECT_EQ(c.Item("2U")->m_lngUserId, 2);
    std::vector<long> order;
    for (const auto& u : c)
        order.push_back(u.m_lngUserId);
    EXPECT_EQ(order, (std::vector<long>{2, 33}));
    c.RemoveAll();
    EXPECT_EQ(c.Count(), 0u);
    EXPECT_EQ(c.Item("2U"), nullptr);
}

TEST(UserStatementText, InsertWritesEveryColumnInOrderAndCopiesTheTemplate) {
    clsUser u;
    u.m_strUserName = "O'NEIL";
    u.m_strFirstName = "Seán";
    u.m_strLastName = "O'Neil";
    u.m_strTransId = "O'NEIL";
    u.m_blnEnabled = true;
    u.m_blnMustChangePassword = true;
    u.m_lngPhysicianId = 0;
    u.m_blnTransAdministrator = true;
    u.m_blnPaxletAdministrator = true;
    u.m_bytUserPolicy = 2;
    u.m_strPromptScript = "PROMPT.KDS";
    u.Partition_ID(3);
    u.Is_Shared(true);
    EXPECT_EQ(InsertUserBatch(u, 140, "AB", "CD"),
              "INSERT System_user_bindery (user_id, user_name, password, first_name, last_name, description, trans_id, "
              "last_access_datetime, user_group_id, enabled, locked_out, is_administrator, password_changed_datetime, "
              "must_change_password, nbr_bad_attempts, last_attempt_datetime, can_change_password, privilege_set1, "
              "privilege_set2, flag1, flag2, flag3, flag4, string1, string2, date1, is_deleted, partition_id, "
              "is_shared, must_change_signature_password, signature_password)\r\n"
              "VALUES (140, 'O''NEIL', 0xAB, 'Seán', 'O''Neil', NULL, 'O''NEIL', NULL, 0, 1, 0, 0, GETDATE(), 1, 0, "
              "NULL, 1, NULL, NULL, 0, 3, 0, 2, 'PROMPT.KDS', NULL, NULL, 0, 3, 1, 0, 0xCD)\r\n"
              "INSERT INTO System_user_cfg (user_id, application_id, key_name, key_value, partition_id)\r\n"
              "SELECT 140, 1, key_name, key_value, 3\r\n"
              "FROM System_user_cfg WHERE application_id = 20 and user_id = -1\r\n"
              "AND partition_id = 3");
}

TEST(UserStatementText, UpdateHasOneColumnPerLineAndClearsTheBadAttempts) {
    clsUser u;
    u.m_lngUserId = 104;
    u.m_strUserName = "MJONES";
    u.m_strFirstName = "Mary";
    u.m_strLastName = "Jones";
    u.m_strTransId = "MJONES";
    u.m_lngUserGroupId = 6;
    u.m_blnEnabled = true;
    u.m_blnPaxletAdministrator = true;
    u.m_lngPhysicianId = 1001;
    u.m_bytUserPolicy = 1;
    u.m_strPromptScript = "";
    u.Partition_ID(3);
    u.m_blnMustChangeSignaturePassword = true;
    EXPECT_EQ(UpdateUserStatement(u, "11", "22"), "UPDATE System_user_bindery SET first_name = 'Mary',\r\n"
                                                  "last_name = 'Jones',\r\n"
                                                  "password = 0x11,\r\n"
                                                  "user_name = 'MJONES',\r\n"
                                                  "trans_id = 'MJONES',\r\n"
                                                  "is_administrator = 0,\r\n"
                                                  "user_group_id = 6,\r\n"
                                                  "enabled = 1,\r\n"
                                                  "locked_out = 0,\r\n"
                                                  "must_change_password = 0,\r\n"
                                                  "nbr_bad_attempts = 0,\r\n"
                                                  "flag1 = 1001,\r\n"
                                                  "flag2 = 2,\r\n"
                                                  "string1 = '',\r\n"
                                                  "flag4 = 1,\r\n"
                                                  "partition_id = 3,\r\n"
                                                  "is_shared = 0,\r\n"
                                                  "signature_password = 0x22,\r\n"
                                                  "must_change_signature_password = 1\r\n"
                                                  "WHERE user_id = 104");
}

TEST(UserStatementText, DeleteBatchFollowsTheSchemaVersion) {
    const std::string head = "UPDATE System_user_bindery SET user_name = 'D''ARCY', trans_id = NULL, flag1 = 0, "
                             "is_deleted = 1 WHERE user_id = 9\r\n"
                             "DELETE FROM Privileges_accounts WHERE user_id = 9\r\n"
                             "DELETE FROM Privileges_departments WHERE user_id = 9\r\n"
                             "DELETE FROM Privileges_report_types WHERE user_id = 9\r\n"
                             "DELETE FROM System_user_cfg WHERE user_id = 9";
    const std::string views = "\r\nDELETE FROM System_log_view_columns WHERE user_id = 9\r\n"
                              "DELETE FROM System_log_view_filters WHERE user_id = 9\r\n"
                              "DELETE FROM System_log_views WHERE user_id = 9";
    const std::string printers = "\r\nDELETE FROM System_printer_privileges WHERE user_id = 9";
    EXPECT_EQ(DeleteUserBatch(9, "D'ARCY", false, false), head);
    EXPECT_EQ(DeleteUserBatch(9, "D'ARCY", true, false), head + views);
    EXPECT_EQ(DeleteUserBatch(9, "D'ARCY", true, true), head + views + printers);
}

TEST(UserStatementText, SmallStatements) {
    EXPECT_EQ(UserNameCheck("O'Hara"), "SELECT user_name FROM System_user_bindery WHERE user_name = 'O''Hara'");
    EXPECT_EQ(MoveUserConfigurationBatch(12, 1, 3),
              "DELETE FROM System_user_cfg WHERE user_id = 12 AND partition_id = 3\r\n"
              "UPDATE System_user_cfg SET partition_id = 3 WHERE user_id = 12 AND partition_id = 1");
    EXPECT_EQ(PasswordChangedStamp(12, false),
              "UPDATE System_user_bindery SET password_changed_datetime = GETDATE() WHERE user_id = 12");
    EXPECT_EQ(PasswordChangedStamp(12, true),
              "UPDATE System_user_bindery SET signature_password_changed_datetime = GETDATE() WHERE user_id = 12");
    EXPECT_EQ(PolicyAssignment(12, 2), "UPDATE System_user_bindery SET flag4 = 2 WHERE user_id = 12");
    EXPECT_EQ(PrivilegeResetBatch(12),
              "DELETE FROM System_printer_privileges WHERE user_id = 12\r\n"
              "DELETE FROM Privileges_accounts WHERE user_id = 12\r\n"
              "DELETE FROM Privileges_departments WHERE user_id = 12\r\n"
              "DELETE FROM Privileges_report_types WHERE user_id = 12\r\n"
              "UPDATE System_user_bindery SET privilege_set1 = NULL, privilege_set2 = NULL WHERE user_id = 12");
    EXPECT_EQ(std::string(kUserNamesQuery),
              "SELECT user_id, user_name FROM System_user_bindery WHERE is_deleted = 0 AND flag3 = 0 ORDER BY "
              "user_name");
}

TEST(UserStatementText, LastAccessAsTheListShowsIt) {
    EXPECT_EQ(FormatLastAccess("12/05/2026 14:07:33"), "2026-12-05 14:07");
    EXPECT_EQ(FormatLastAccess("01/31/1999 00:00:00"), "1999-01-31 00:00");
    EXPECT_EQ(FormatLastAccess(""), "");
}

TEST(UserStatementText, InitialsUpperCaseOnlyAscii) {
    EXPECT_EQ(UpperAscii("mj"), "MJ");
    EXPECT_EQ(UpperAscii("éa"), "éA"); // the multi-byte letter is kept intact, never cut or changed byte-wise
}

// Every pair of administrator kinds: the acting user's kinds against the target's.
TEST(AdminAuthority, EveryPairOfKinds) {
    enum Kind { None, Trans, Phys, Both, Sys };
    const char* names[] = {"none", "trans", "phys", "both", "sys"};
    auto actor = [](Kind k) {
        AdminKinds a;
        a.system = k == Sys;
        a.transcription = k == Trans || k == Both;
        a.physician = k == Phys || k == Both;
        return a;
    };
    auto target = [](Kind k) {
        clsUser u;
        u.m_blnSystemAdministrator = k == Sys;
        u.m_blnTransAdministrator = k == Trans || k == Both;
        u.m_blnPaxletAdministrator = k == Phys || k == Both;
        return u;
    };
    const std::string allowed;
    auto no = [](const char* own, const char* kind) {
        return std::string(own) + " administrators are not authorized to delete " + kind + " administrators.";
    };
    // rows: actor None, Trans, Phys, Both, Sys; columns: target None, Trans, Phys, Both, Sys
    const std::string expected[5][5] = {
        {no("General", "General"), no("General", "Transcription"), no("General", "Paxlet"),
         no("General", "Paxlet/Transcription"), no("General", "System")},
        {allowed, allowed, no("Transcription", "Paxlet"), no("Transcription", "Paxlet"), no("Transcription", "System")},
        {allowed, no("Paxlet", "Transcription"), allowed, no("Paxlet", "Transcription"), no("Paxlet", "System")},
        {allowed, allowed, allowed, allowed, no("Paxlet/Transcription", "System")},
        {allowed, allowed, allowed, allowed, allowed},
    };
    for (int a = None; a <= Sys; ++a)
        for (int t = None; t <= Sys; ++t)
            EXPECT_EQ(AdminAuthorityRefusal(actor(Kind(a)), target(Kind(t))), expected[a][t])
                << names[a] << " acting on " << names[t];
}

TEST(AdminAuthority, CheckReadsTheLoginAndShowsTheRefusal) {
    suite::LoginComponent login;
    login.user.is_trans_admin = true;
    physicians::Partitions().login = &login;
    platform::MessageRecorder recorder;
    clsUser target;
    target.m_blnPaxletAdministrator = true;
    EXPECT_FALSE(AdminAuthorityCheck(target));
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text,
              "Transcription administrators are not authorized to delete Paxlet administrators.");
    EXPECT_EQ(recorder.shown[0].title, "User Management");
    login.user.is_administrator = true;
    EXPECT_TRUE(AdminAuthorityCheck(target));
    EXPECT_EQ(recorder.shown.size(), 1u);
    physicians::Partitions().login = nullptr;
}

} // namespace
