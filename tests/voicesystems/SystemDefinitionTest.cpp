#include "VoiceFixture.h"
#include "clsVVFacLinkItems.h"
#include "clsVVSysConDefs.h"

using namespace voicesystems;

namespace {

const char* const kHead = "Information could not be saved for the following reasons:\n\n";
const char* const kTail = "\nIf you continue to have problems please contact your system administrator for assistance.";

TEST(VoiceSystemRules, ABlankDefinitionListsEveryBrokenRuleInOrder) {
    clsVVSysConDef def;
    EXPECT_FALSE(def.IsValid());
    EXPECT_EQ(def.GetErrString(), std::string(kHead) +
                                      "-->\tThe System Name field must be unique and non-blank.\n"
                                      "-->\tThe Server field is not properly defined.\n"
                                      "-->\tThe Database field is not properly defined.\n"
                                      "-->\tThe SQL User field is not properly defined.\n"
                                      "-->\tThe SQL Password field is not properly defined.\n"
                                      "-->\tThe Administrator User ID field is not properly defined.\n"
                                      "-->\tThe Administrator Password field is not properly defined.\n" +
                                      kTail);
    def.SetConnectionType(1);
    EXPECT_EQ(def.GetErrString(), std::string(kHead) +
                                      "-->\tThe System Name field must be unique and non-blank.\n"
                                      "-->\tThe Connection String field is not properly defined.\n"
                                      "-->\tThe Administrator User ID field is not properly defined.\n"
                                      "-->\tThe Administrator Password field is not properly defined.\n" +
                                      kTail);
}

TEST(VoiceSystemRules, EachFieldRepairsOrBreaksItsOwnRule) {
    struct Case {
        const char* rule;
        std::function<void(clsVVSysConDef&)> breakIt;
    };
    const std::string long21(21, 'p');
    const Case cases[] = {
        {"SystemName", [](auto& d) { d.SetSystemName("   "); }},
        {"SystemName", [](auto& d) { d.SetSystemName(std::string(51, 'n')); }},
        {"ServerName", [](auto& d) { d.Setservername(""); }},
        {"ServerName", [](auto& d) { d.Setservername(std::string(101, 's')); }},
        {"DatabaseName", [](auto& d) { d.SetDatabaseName(" "); }},
        {"UserName", [](auto& d) { d.SetUserName(std::string(51, 'u')); }},
        {"UserName", [](auto& d) { d.SetUserName("vvlink;Server=elsewhere"); }},
        {"ServerName", [](auto& d) { d.Setservername("HOST;Database=other"); }},
        {"DatabaseName", [](auto& d) { d.SetDatabaseName("VOICE;UID=sa"); }},
        {"PasswordName", [](auto& d) { d.SetPasswordName(""); }},
        {"PasswordName", [&](auto& d) { d.SetPasswordName(long21); }},
        {"PasswordName", [](auto& d) { d.SetPasswordName("a;b"); }},
        {"AdminUserId", [](auto& d) { d.SetAdminUserId(0); }},
        {"AdminFacility", [](auto& d) { d.SetAdminFacility(-1); }},
        {"AdminPassword", [](auto& d) { d.SetAdminPassword(""); }},
        {"AdminPassword", [&](auto& d) { d.SetAdminPassword(long21); }},
    };
    for (const auto& c : cases) {
        clsVVSysConDef def;
        def.SetSystemName(std::string(50, 'n')); // 50 characters fit
        def.Setservername("HOST\\SQLEXPRESS,1433");
        def.SetDatabaseName("VOICE");
        def.SetUserName("vvlink");
        def.SetPasswordName(std::string(20, 'p'));
        def.SetAdminUserId(1);
        def.SetAdminFacility(0);
        def.SetAdminPassword("\xC3\xA9" + std::string(19, 'a')); // 20 characters, 21 bytes
        ASSERT_TRUE(def.IsValid()) << def.GetErrString();
        int broken = 0, repaired = 0;
        def.BrokenRule = [&] { ++broken; };
        def.NoBrokenRules = [&] { ++repaired; };
        c.breakIt(def);
        EXPECT_EQ(def.Rules().BrokenRules(), std::vector<std::string>{c.rule}) << c.rule;
        EXPECT_EQ(broken, 1) << c.rule;
        EXPECT_EQ(repaired, 0) << c.rule;
    }
}

TEST(VoiceSystemRules, ConnectionStringRule) {
    const std::pair<const char*, bool> cases[] = {
        {"Server=HOST;Database=V;UID=u;Password=p", true},
        {"DSN=VELTRAVOICE;UID=u;Password=p", true},
        {"Database=V;UID=u", false},
        {"   ", false},
        {"Server=HOST;Password=123456789012345678901", false}, // the password cannot be scrambled
        {"Server=HOST;UID=u;PWD=secret", false},               // it would be stored and logged as typed
        {"Server=HOST;UID=u; pwd = secret", false},
        {"Server=HOST;UID=u;Password=pwd=x", true},
    };
    for (const auto& [text, valid] : cases) {
        clsVVSysConDef def;
        def.SetConnectionType(1);
        def.SetConnectionString(text);
        EXPECT_EQ(!def.Rules().IsBroken("ConnectionString"), valid) << text;
    }
}

class VoiceSystemDefinitions : public kdtest::VoiceTest {};

TEST_F(VoiceSystemDefinitions, ANewDefinitionIsInsertedWithScrambledPasswordsAndReadBackPlain) {
    clsVVSysConDefs defs;
    ASSERT_TRUE(defs.LoadById(-1));
    clsVVSysConDef* def = defs.Add();
    ASSERT_NE(def, nullptr);
    EXPECT_EQ(def->SystemId(), 1);
    def->SetSystemName("O'Brien Voice");
    def->Setservername(odbc.folder());
    def->SetDatabaseName("VOICE");
    def->SetUserName(kSqlUser);
    def->SetPasswordName(kSqlPassword);
    def->SetAdminUserId(1);
    def->SetAdminFacility(1);
    def->SetAdminPassword(kAdminPassword);
    ASSERT_TRUE(def->IsValid());
    ASSERT_TRUE(defs.ApplyEdit());
    const std::string sql = foundation::DatabaseSession::instance().history.back();
    const std::string head = "INSERT INTO voice_systems (system_id, system_name, connection_type, server_name, "
                             "database_name, user_name, password_name, connection_string, admin_user_id, "
                             "admin_facility, admin_password, flag1, flag2, flag3, flag4, string1, string2, "
                             "string3, date1)\r\nVALUES(1, 'O''Brien Voice', 0, ";
    EXPECT_EQ(sql.substr(0, head.size()), head);
    EXPECT_EQ(sql.find(kSqlPassword), std::string::npos);
    EXPECT_EQ(sql.find(kAdminPassword), std::string::npos);
    EXPECT_NE(sql.find(", 0, 0, 0, 0, NULL, NULL, NULL, NULL)"), std::string::npos);

    const std::string stored = scalar("SELECT password_name FROM voice_systems WHERE system_id = 1");
    EXPECT_EQ(stored.size(), 60u);
    EXPECT_EQ(suite::PasswordCipher::decrypt(stored), kSqlPassword);
    EXPECT_EQ(suite::PasswordCipher::decrypt(scalar("SELECT admin_password FROM voice_systems")), kAdminPassword);

    clsVVSysConDefs again;
    ASSERT_TRUE(again.LoadById(1));
    ASSERT_EQ(again.Count(), 1);
    EXPECT_EQ(again.Item(1)->SystemName(), "O'Brien Voice");
    EXPECT_EQ(again.Item(1)->PasswordName(), kSqlPassword);
    EXPECT_EQ(again.Item(1)->AdminPassword(), kAdminPassword);
    EXPECT_FALSE(again.Item(1)->IsDirty());
    EXPECT_FALSE(again.Item(1)->IsNew());
    EXPECT_EQ(foundation::DatabaseSession::instance().history.back(),
              "SELECT system_id, system_name, connection_type, \r\nserver_name, database_name, user_name, "
              "password_name, \r\nconnection_string, admin_user_id, admin_facility, \r\nadmin_password, flag1, flag2, "
              "flag3, flag4, \r\nstring1, string2, string3, date1\r\nFROM voice_systems\r\nWHERE system_id = 1\r\n"
              "ORDER BY system_id");
}

TEST_F(VoiceSystemDefinitions, AConnectionStringKeepsOnlyItsPasswordScrambled) {
    clsVVSysConDefs defs;
    ASSERT_TRUE(defs.LoadById(-1));
    clsVVSysConDef* def = defs.Add();
    def->SetSystemName("By string");
    def->SetConnectionType(1);
    def->SetConnectionString("Server = HOST\\VOICE,1433 ; Database=VOICE;UID=vvlink;Password = it's-secret");
    def->SetAdminUserId(1);
    def->SetAdminPassword(kAdminPassword);
    ASSERT_TRUE(defs.ApplyEdit());
    const std::string stored = scalar("SELECT connection_string FROM voice_systems");
    EXPECT_EQ(stored.substr(0, 51), "Server=HOST\\VOICE,1433;Database=VOICE;UID=vvlink;Pa");
    EXPECT_EQ(stored.find("it's-secret"), std::string::npos);
    EXPECT_EQ(suite::PasswordCipher::decrypt(stored.substr(stored.find("Password=") + 9)), "it's-secret");
    EXPECT_EQ(scalar("SELECT password_name FROM voice_systems"), "");
    clsVVSysConDefs again;
    ASSERT_TRUE(again.LoadById(-1));
    EXPECT_EQ(again.Item(1)->ConnectionString(),
              "Server=HOST\\VOICE,1433;Database=VOICE;UID=vvlink;Password=it's-secret");
}

TEST_F(VoiceSystemDefinitions, UpdateCancelAndDelete) {
    insertDefinition(3, "North Voice", "VOICE");
    clsVVSysConDefs defs;
    ASSERT_TRUE(defs.LoadById(-1));
    clsVVSysConDef* def = defs.FindById(3);
    ASSERT_NE(def, nullptr);
    EXPECT_EQ(def->PasswordName(), kSqlPassword);

    def->BeginEdit();
    def->SetDatabaseName("CHANGED");
    def->SetAdminFacility(7);
    def->CancelEdit();
    EXPECT_EQ(def->DatabaseName(), "VOICE");
    EXPECT_EQ(def->AdminFacility(), 1);
    EXPECT_FALSE(def->IsDirty());

    def->BeginEdit();
    def->SetDatabaseName("VOICE2");
    ASSERT_TRUE(defs.ApplyEdit());
    const std::string update = foundation::DatabaseSession::instance().history.back();
    const std::string updateHead = "UPDATE voice_systems\r\nSET connection_type =    0,\r\n    server_name =       '";
    EXPECT_EQ(update.substr(0, updateHead.size()), updateHead);
    EXPECT_NE(update.find("    database_name =     'VOICE2',\r\n"), std::string::npos);
    EXPECT_NE(update.find("\r\nWHERE system_id = 3 AND system_name = 'North Voice'"), std::string::npos);
    EXPECT_EQ(update.find(kSqlPassword), std::string::npos);
    EXPECT_EQ(scalar("SELECT database_name FROM voice_systems WHERE system_id = 3"), "VOICE2");
    EXPECT_EQ(suite::PasswordCipher::decrypt(scalar("SELECT password_name FROM voice_systems")), kSqlPassword);

    defs.RemoveById(3);
    EXPECT_EQ(defs.Count(), 0);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM voice_systems"), "1"); // deleted only when applied
    ASSERT_TRUE(defs.ApplyEdit());
    EXPECT_EQ(foundation::DatabaseSession::instance().history.back(),
              "DELETE FROM voice_systems WHERE system_id = 3 AND system_name = 'North Voice'");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM voice_systems"), "0");
}

TEST_F(VoiceSystemDefinitions, BeforeSchemaVersion757PasswordsAreStoredAsTyped) {
    auto& session = foundation::DatabaseSession::instance();
    session.DatabaseVersion = 7.56;
    clsVVSysConDefs defs;
    ASSERT_TRUE(defs.LoadById(-1));
    clsVVSysConDef* def = defs.Add();
    def->SetSystemName("Old Site Voice");
    def->Setservername("HOST");
    def->SetDatabaseName("VOICE");
    def->SetUserName("vvlink");
    def->SetPasswordName("plain-pw");
    def->SetAdminUserId(1);
    def->SetAdminPassword("admin-pw");
    ASSERT_TRUE(defs.ApplyEdit());
    EXPECT_EQ(scalar("SELECT password_name + '/' + admin_password FROM voice_systems"), "plain-pw/admin-pw");
    clsVVSysConDefs again;
    ASSERT_TRUE(again.LoadById(-1));
    EXPECT_EQ(again.Item(1)->PasswordName(), "plain-pw");
    session.DatabaseVersion = 7.57;
    ASSERT_TRUE(again.LoadById(-1)); // read as scrambled, the plain text does not unscramble
    EXPECT_EQ(again.Item(1)->PasswordName(), "-1FAIL");
}

TEST_F(VoiceSystemDefinitions, NamesAreUniqueWithoutRegardToCase) {
    insertDefinition(1, "North Voice", "VOICE");
    clsVVSysConDefs defs;
    ASSERT_TRUE(defs.LoadById(-1));
    clsVVSysConDef* fresh = defs.Add();
    EXPECT_EQ(fresh->SystemId(), 2);
    fresh->SetSystemName("NORTH VOICE ");
    EXPECT_TRUE(fresh->Rules().IsBroken("SystemName"));
    fresh->SetSystemName("South Voice");
    EXPECT_FALSE(fresh->Rules().IsBroken("SystemName"));
    // Once the first is removed, its name is free.
    defs.RemoveById(1);
    fresh->SetSystemName("North Voice");
    EXPECT_FALSE(fresh->Rules().IsBroken("SystemName"));
}

TEST_F(VoiceSystemDefinitions, ALinkedSystemIsReportedAsLinked) {
    insertDefinition(1, "North Voice", "VOICE");
    insertDefinition(2, "South Voice", "VOICE");
    exec("INSERT INTO voice_facility_links (system_id, facility, hosp_acct_id, flag1, flag2, flag3, flag4, string1, "
         "string2, string3, date1) VALUES (2, 4, 10, 0, 0, 0, 0, NULL, NULL, NULL, NULL)");
    clsVVFacLinkItems links;
    ASSERT_TRUE(links.Load());
    EXPECT_FALSE(links.SystemLinkedToAnyFacility(1));
    EXPECT_TRUE(links.SystemLinkedToAnyFacility(2));
}

} // namespace
