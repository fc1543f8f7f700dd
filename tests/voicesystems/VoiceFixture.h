#pragma once

#include "DatabaseSession.h"
#include "EventLog.h"
#include "MessageService.h"
#include "OdbcFixture.h"
#include "PasswordCipher.h"
#include "Schema.h"
#include "SessionHelper.h"
#include "VoiceServices.h"

#include <string>

namespace kdtest {

// A suite database with the console's session connected, and beside it the database of a remote
// voice system ("VOICE") whose facility 1 has the administrator user 1 and a SQL login for the link.
class VoiceTest : public SuiteTest {
protected:
    static constexpr const char* kAdminPassword = "voice-admin";
    static constexpr const char* kSqlUser = "vvlink";
    static constexpr const char* kSqlPassword = "vv-secret";

    void SetUp() override {
        SuiteTest::SetUp();
        createVoiceDatabase("VOICE");
        connectSession(odbc.folder(), "KALDRA");
        foundation::DatabaseSession::instance().ReadDatabaseVersion();
        auto& c = foundation::EventLog::context();
        c = foundation::LogContext{};
        c.userId = 1;
        c.userName = "ADMIN";
        c.logFolder = odbc.folder();
    }
    void TearDown() override {
        foundation::EventLog::context() = foundation::LogContext{};
        foundation::DatabaseSession::instance().DisconnectFromSQL();
    }

    void createVoiceDatabase(const std::string& name) {
        auto db = suite::createVoiceSystemDatabase(odbc.folder(), name);
        db.reset();
        OdbcConnection voice;
        ASSERT_TRUE(SQL_SUCCEEDED(voice.connect(connectionStringFor(odbc, name))));
        auto out = voice.exec("INSERT INTO vv_users (facility, user_id, user_name, password_digest, is_admin) VALUES "
                              "(1, 1, 'Voice Administrator', '" +
                              suite::VeltraServices::PasswordDigest(1, 1, kAdminPassword) + "', 1)\n" +
                              "EXEC sp_addlogin '" + kSqlUser + "', '" + kSqlPassword + "'");
        ASSERT_TRUE(SQL_SUCCEEDED(out.rc()));
    }
    // The console's connection string of a definition by properties to a voice database here.
    std::string adoString(const std::string& database) const {
        return std::string("User ID=") + kSqlUser + ";Password=" + kSqlPassword + ";Initial Catalog=" + database +
               ";Data Source=" + odbc.folder() + ";App=KDADMIN.exe";
    }
    std::string remote(const std::string& database, const std::string& sql) {
        OdbcConnection voice;
        EXPECT_TRUE(SQL_SUCCEEDED(voice.connect(connectionStringFor(odbc, database))));
        return voice.exec(sql).scalar();
    }
    // The System_log rows of an event: their first message columns, newline-separated.
    std::string logged(long eventNbr) {
        auto out = exec("SELECT msg1 FROM System_log WHERE error_code = " + std::to_string(eventNbr) +
                        " ORDER BY date_timestamp");
        std::string text;
        if (const auto* step = out.firstRows())
            for (const auto& row : step->rows)
                text += row[0].value_or("NULL") + "\n";
        return text;
    }
    // Inserts a definition row by properties, passwords scrambled as the console writes them.
    void insertDefinition(int id, const std::string& name, const std::string& database, long adminFacility = 1) {
        exec("INSERT INTO voice_systems (system_id, system_name, connection_type, server_name, database_name, "
             "user_name, password_name, connection_string, admin_user_id, admin_facility, admin_password, flag1, "
             "flag2, flag3, flag4, string1, string2, string3, date1) VALUES (" +
             std::to_string(id) + ", '" + name + "', 0, '" + odbc.folder() + "', '" + database + "', '" + kSqlUser +
             "', '" + suite::PasswordCipher::encrypt(kSqlPassword) + "', '', 1, " + std::to_string(adminFacility) +
             ", '" + suite::PasswordCipher::encrypt(kAdminPassword) + "', 0, 0, 0, 0, NULL, NULL, NULL, NULL)");
    }

    platform::MessageRecorder recorder;
};

} // namespace kdtest
