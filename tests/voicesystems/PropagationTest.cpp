#include "VoiceFixture.h"
#include "clsVVUserEditor.h"

using namespace voicesystems;
using suite::VeltraServices;
using suite::VeltraUser;

namespace {

// Physician 501, Jane Carter, has account 10. Account 10 is linked to facility 1 of North Voice
// (database VOICE) and to facility 3 of South Voice (database VOICE2).
class Propagation : public kdtest::VoiceTest {
protected:
    void SetUp() override {
        VoiceTest::SetUp();
        createVoiceDatabase("VOICE2");
        insertDefinition(1, "North Voice", "VOICE");
        insertDefinition(2, "South Voice", "VOICE2");
        exec("INSERT INTO voice_facility_links (system_id, facility, hosp_acct_id, flag1, flag2, flag3, flag4, "
             "string1, string2, string3, date1) VALUES (1, 1, 10, 0, 0, 0, 0, NULL, NULL, NULL, NULL)\n"
             "INSERT INTO voice_facility_links (system_id, facility, hosp_acct_id, flag1, flag2, flag3, flag4, "
             "string1, string2, string3, date1) VALUES (2, 3, 10, 1, 0, 0, 0, NULL, NULL, NULL, NULL)");
    }
    void existsIn(const std::string& database, long facility) {
        VeltraServices vs;
        vs.SetConnection(adoString(database), 1, 1, kAdminPassword);
        VeltraUser u;
        u.UserId = 501;
        u.Facility = facility;
        u.UserName = "Carter, Jane";
        ASSERT_EQ(vs.AddVeltraUser(u, "pw"), "OK");
    }
    std::string remoteUser(const std::string& database, long facility) {
        return remote(database,
                      "SELECT user_name FROM vv_users WHERE user_id = 501 AND facility = " + std::to_string(facility));
    }
    void start() {
        ASSERT_TRUE(editor.EditVVUser(501, "Jane", "Carter", "10"));
        ASSERT_EQ(editor.PrefetchVvUserDataForAllSysFacAssoc(), std::vector<std::string>{});
    }
    clsVVUserEditor editor;
};

TEST_F(Propagation, DisablingALinkAndSavingRemovesTheRemoteUserAndLogsOneEvent) {
    existsIn("VOICE", 1);
    start();
    EXPECT_EQ(editor.VVFacSysAssocsCount(), 2);
    EXPECT_TRUE(editor.IsLinkEnabled(1, 1));
    EXPECT_FALSE(editor.IsLinkEnabled(2, 3));
    editor.SetLinkEnabled(1, 1, false);
    EXPECT_EQ(editor.SaveAll(), 0);
    EXPECT_EQ(remoteUser("VOICE", 1), "<none>");
    EXPECT_EQ(logged(20048), "Physician Carter, Jane removed from North Voice, Facility 1 by user ADMIN.\n");
    EXPECT_TRUE(recorder.shown.empty());
    EXPECT_EQ(editor.SaveAll(), 0); // nothing changed since: nothing sent, nothing logged
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_log WHERE error_code = 20048"), "1");
}

TEST_F(Propagation, EnablingAddsAndChangedSettingsUpdate) {
    existsIn("VOICE", 1);
    start();
    editor.SetLinkEnabled(2, 3, true);
    editor.SetGain(1, 1, 4);
    editor.SetUserEmail(1, 1, "jane@clinic.example");
    editor.SetPasswordAll("new-pass");
    EXPECT_EQ(editor.SaveAll(), 0);
    EXPECT_EQ(remoteUser("VOICE2", 3), "Jane Carter"); // South Voice's link names first name first
    EXPECT_EQ(remote("VOICE", "SELECT gain FROM vv_users WHERE user_id = 501"), "4");
    EXPECT_EQ(remote("VOICE2", "SELECT password_digest FROM vv_users WHERE user_id = 501"),
              VeltraServices::PasswordDigest(3, 501, "new-pass"));
    EXPECT_EQ(remote("VOICE", "SELECT password_digest FROM vv_users WHERE user_id = 501"),
              VeltraServices::PasswordDigest(1, 501, "new-pass"));
    EXPECT_EQ(logged(20048), "Physician Carter, Jane updated on North Voice, Facility 1 by user ADMIN.\n"
                             "Physician Carter, Jane added to South Voice, Facility 3 by user ADMIN.\n");
}

TEST_F(Propagation, ARefusedRemoteDatabaseShowsItsErrorAndTheOtherAssociationsGoOn) {
    existsIn("VOICE", 1);
    existsIn("VOICE2", 3);
    start();
    editor.SetLinkEnabled(1, 1, false);
    editor.SetLinkEnabled(2, 3, false);
    odbc.arrangeFault("VOICE2", "refuse-connect 1");
    EXPECT_EQ(editor.SaveAll(), 1);
    ASSERT_EQ(recorder.shown.size(), 1u);
    const std::string head =
        "An error was encountered while trying to remove from Veltra Voice system:\n\n--> \tSouth Voice, "
        "Facility 3.\n[Embedded][SQL Server Driver]";
    EXPECT_EQ(recorder.shown[0].text.substr(0, head.size()), head);
    EXPECT_NE(recorder.shown[0].text.find("SQL Server does not exist or access denied.\nIf you continue to have "
                                          "problems please contact your system administrator or\nCorvane technical "
                                          "support representative for assistance.\nContinued edits to users in this "
                                          "Veltra Voice system and facility will not be successful."),
              std::string::npos);
    EXPECT_EQ(recorder.shown[0].icon, platform::MsgIcon::Exclamation);
    EXPECT_EQ(remoteUser("VOICE", 1), "<none>");
    EXPECT_EQ(remoteUser("VOICE2", 3), "Carter, Jane");
    EXPECT_EQ(logged(20048), "Physician Carter, Jane removed from North Voice, Facility 1 by user ADMIN.\n");
    // The failed one is still pending and goes through once the remote database answers.
    EXPECT_EQ(editor.SaveAll(), 0);
    EXPECT_EQ(remoteUser("VOICE2", 3), "<none>");
}

TEST_F(Propagation, RemovingFromAllSystemsAndTheCandidatesForRemoval) {
    existsIn("VOICE", 1);
    existsIn("VOICE2", 3);
    start();
    EXPECT_EQ(editor.DisplayCandidatesForRemoval(), "North Voice, Facility 1 would not be a cadidate for deletion.\n"
                                                    "South Voice, Facility 3 would not be a cadidate for deletion.\n");
    editor.RemoveAccts("10");
    EXPECT_EQ(editor.DisplayCandidatesForRemoval(), "North Voice, Facility 1 would be a cadidate for deletion.\n"
                                                    "South Voice, Facility 3 would be a cadidate for deletion.\n");
    EXPECT_EQ(editor.RemoveVeltraUserFromAllSystems(), 0);
    EXPECT_EQ(remoteUser("VOICE", 1), "<none>");
    EXPECT_EQ(remoteUser("VOICE2", 3), "<none>");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_log WHERE error_code = 20048"), "2");
}

TEST_F(Propagation, AFailedReadLeavesThatAssociationAlone) {
    odbc.arrangeFault("VOICE", "refuse-connect 1");
    ASSERT_TRUE(editor.EditVVUser(501, "Jane", "Carter", "10"));
    auto failures = editor.PrefetchVvUserDataForAllSysFacAssoc();
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_NE(failures[0].find("SQL Server does not exist or access denied."), std::string::npos);
    EXPECT_EQ(editor.UserData(1, 1), nullptr);
    editor.SetLinkEnabled(1, 1, true); // unknown state: nothing is sent for it
    editor.SetLinkEnabled(2, 3, true);
    EXPECT_EQ(editor.SaveAll(), 0);
    EXPECT_EQ(remoteUser("VOICE", 1), "<none>");
    EXPECT_EQ(remoteUser("VOICE2", 3), "Jane Carter");
}

} // namespace

namespace {

TEST_F(Propagation, APasswordResetReachesEveryEnabledLinkAndIsLogged) {
    existsIn("VOICE", 1);
    start();
    EXPECT_EQ(editor.ResetPasswordAll("fresh", true), "OK");
    EXPECT_EQ(remote("VOICE", "SELECT password_digest FROM vv_users WHERE user_id = 501"),
              VeltraServices::PasswordDigest(1, 501, "fresh"));
    EXPECT_EQ(remote("VOICE", "SELECT must_change FROM vv_users WHERE user_id = 501"), "1");
    EXPECT_EQ(remoteUser("VOICE2", 3), "<none>"); // not linked there: nothing is created
    EXPECT_EQ(logged(20052),
              "Veltra Voice password reset for Carter, Jane on North Voice, Facility 1 by user ADMIN.\n");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_log WHERE msg1 LIKE '%fresh%'"), "0");
    odbc.arrangeFault("VOICE", "refuse-connect 1");
    EXPECT_NE(editor.ResetPasswordAll("other", false).find("SQL Server does not exist or access denied."),
              std::string::npos);
}

} // namespace
