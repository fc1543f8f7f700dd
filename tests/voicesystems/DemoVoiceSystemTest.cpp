#include "DemoSite.h"
#include "OdbcFixture.h"
#include "PasswordCipher.h"
#include "VVConnectionText.h"
#include "VoiceServices.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

// The demo's linked voice system works with the credentials its definition holds: a newcomer's
// connectivity test and propagation reach a real remote database.
TEST(DemoVoiceSystem, TheDefinitionReachesTheRemoteDatabaseWithItsStoredCredentials) {
    kdtest::OdbcEnvironment odbc;
    const std::string folder = odbc.folder() + "/demo";
    demo::createDemoSite(folder, KD_DRIVER_PATH);
    const std::string sql = folder + "/SQL";

    std::ifstream ini(folder + "/odbc/odbc.ini");
    std::stringstream text;
    text << ini.rdbuf();
    EXPECT_NE(text.str().find("[VELTRAVOICE]\nDriver=SQL Server\nServer=" + sql + "\nDatabase=VOICE\n"),
              std::string::npos);

    kdtest::OdbcConnection site;
    ASSERT_TRUE(SQL_SUCCEEDED(site.connect("Driver={SQL Server};Server=" + sql + ";Database=KALDRA")));
    const auto outcome = site.exec("SELECT connection_type, connection_string, admin_user_id, admin_facility, "
                                   "admin_password FROM voice_systems WHERE system_id = 1");
    const auto* row = outcome.firstRows();
    ASSERT_NE(row, nullptr);
    ASSERT_EQ(row->rows.size(), 1u);
    const auto& r = row->rows[0];
    EXPECT_EQ(*r[0], "1");
    const std::string stored = *r[1];
    EXPECT_EQ(stored.find(demo::kVoiceSqlPassword), std::string::npos);
    const std::string password =
        suite::PasswordCipher::decrypt(voicesystems::ConnectionStringValue(stored, "password"));
    EXPECT_EQ(password, demo::kVoiceSqlPassword);
    EXPECT_EQ(voicesystems::RemovePasswordPart(stored), "DSN=VELTRAVOICE;Server=localhost;UID=vvlink");
    const std::string adminPassword = suite::PasswordCipher::decrypt(*r[4]);
    EXPECT_EQ(adminPassword, demo::kVoiceAdminPassword);
    // A physician's remote user id is the physician's id: the administrator must sit in a facility no
    // account links to, or linking physician 1 would edit (or remove) the administrator.
    const auto links =
        site.exec("SELECT COUNT(*) FROM voice_facility_links WHERE system_id = 1 AND facility = " + *r[3]);
    ASSERT_NE(links.firstRows(), nullptr);
    EXPECT_EQ(*links.firstRows()->rows.at(0)[0], "0");

    // The data source names this folder; the test's driver manager reaches the same file directly.
    suite::VeltraServices services;
    services.SetConnection("Server=" + sql + ";Database=VOICE;UID=vvlink;Password=" + password, std::stol(*r[2]),
                           std::stol(*r[3]), adminPassword);
    EXPECT_EQ(services.VerifyAdministrator(), "OK");
    suite::VeltraUser chen;
    bool found = false;
    EXPECT_EQ(services.GetSpecificVeltraUser(1, 3, chen, found), "OK");
    EXPECT_TRUE(found);
    EXPECT_EQ(chen.UserName, "Chen, Wei");
    // The physician with speech recognition is a user of the linked voice system too.
    suite::VeltraUser adams;
    EXPECT_EQ(services.GetSpecificVeltraUser(1, 1, adams, found), "OK");
    EXPECT_TRUE(found);
    EXPECT_EQ(adams.UserName, "Adams, Robert");
    EXPECT_EQ(site.exec("SELECT COUNT(*) FROM Physician_attributes_extended PAE, Physician_membership PM "
                        "WHERE PAE.physician_id = 1 AND PAE.speech_rec_enabled = 1 AND PM.physician_id = 1 "
                        "AND PM.hosp_acct_id = -1")
                  .scalar(),
              "1");
    EXPECT_EQ(site.exec("SELECT COUNT(*) FROM voice_facility_links WHERE system_id = 1 AND facility = 1 AND "
                        "hosp_acct_id IN (SELECT hosp_acct_id FROM Physician_membership WHERE physician_id = 3)")
                  .scalar(),
              "1");
}

} // namespace
