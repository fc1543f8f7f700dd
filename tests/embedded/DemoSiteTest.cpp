#include "DemoSite.h"
#include "OdbcFixture.h"
#include "PasswordCipher.h"
#include "Session.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace kdtest;
namespace fs = std::filesystem;

namespace {

std::string readFile(const fs::path& p) {
    std::ifstream in(p);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// Runs a batch through tsqlshell in a child process that uses the site's own ODBC files.
std::string throughSiteDsn(const fs::path& site, const std::string& sql, const std::string& login = "kdadmin",
                           const std::string& password = "kdadmin-demo") {
    fs::path input = site / "query.sql";
    std::ofstream(input) << sql << "\nGO\n";
    std::string cmd = "ODBCSYSINI='" + (site / "odbc").string() +
                      "' ODBCINI=/dev/null '" KD_TSQLSHELL_PATH "' 'DSN=KALDRA;UID=" + login + ";PWD=" + password +
                      "' < '" + input.string() + "' 2>&1";
    std::string out;
    FILE* p = popen(cmd.c_str(), "r");
    std::array<char, 4096> buf{};
    while (p && fgets(buf.data(), buf.size(), p))
        out += buf.data();
    if (p)
        pclose(p);
    return out;
}

class DemoSiteTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/kddemo-XXXXXX";
        folder = mkdtemp(pattern);
        site = folder / "site";
        report = demo::createDemoSite(site.string(), KD_DRIVER_PATH);
    }
    void TearDown() override { fs::remove_all(folder); }

    std::unique_ptr<tsql::Session> open() {
        tsql::OpenOptions o;
        o.folder = (site / "SQL").string();
        o.database = "KALDRA";
        return tsql::Session::open(o);
    }
    std::string scalar(tsql::Session& s, const std::string& sql) {
        auto r = s.execute(sql);
        for (const auto& item : r.items)
            if (item.kind == tsql::ResultItem::Kind::Rows) {
                auto& rows = item.rows;
                if (rows.cursor) {
                    if (!rows.cursor->next())
                        return "<none>";
                    return rows.cursor->isNull(0) ? "<NULL>" : std::string(rows.cursor->text(0));
                }
                return rows.rowCount() ? std::string(rows.text(0, 0)) : "<none>";
            }
        return "<none>";
    }

    fs::path folder, site;
    demo::SiteReport report;
};

TEST_F(DemoSiteTest, LaysOutTheNetworkRootConfigurationAndRegistry) {
    for (const char* p :
         {"KALDRA/SYSTEM", "KALDRA/LOG/KDADMIN", "KALDRA/ROUTINES",
          "KALDRA/ROUTINES/PARTITION3/PERSONAL/MJONES/NORMALCXR.TXT", "KALDRA/PROMPTS/PROMPT.KDS", "KALDRA/IMPORT",
          "KALDRA/TEMP", "KALDRA/INSTALL/FORMATS/K2STANDARD_DB.MDF", "KALDRA.INI", "odbc/odbcinst.ini", "odbc/odbc.ini",
          "registry/machine.ini", "SQL/KALDRA.mdf", "SQL/msdb.mdf"})
        EXPECT_TRUE(fs::exists(site / p)) << p;
    const std::string ini = readFile(site / "KALDRA.INI");
    for (const char* key : {"NetworkRootDir=",
                            "TerminalServerUserRootDir=",
                            "Server=",
                            "Database=KALDRA",
                            "SoftwareVersion=",
                            "Password=",
                            "ODBCSource=KALDRA",
                            "User=kdadmin",
                            "Paxlet=",
                            "K2Dictation=",
                            "InteractiveRecognition=",
                            "VoiceToText=",
                            "TrackCompletedHISReports=",
                            "DefaultPrintServer=",
                            "HideLastUser=",
                            "BrandType=",
                            "OfflineUpdateFrequency=",
                            "PasswordMsgTemplate=",
                            "ExtendedProfile=",
                            "AllowSettingSignaturePassword=",
                            "SkipBackupCheck=",
                            "LogDebug=",
                            "LogSQL=",
                            "LogSize=",
                            "DisableVVPing=",
                            "CriticalFindingsSystem="})
        EXPECT_NE(ini.find(key), std::string::npos) << key;
    // The SQL password is stored scrambled and reads back as the login's password.
    size_t at = ini.find("\nPassword=") + 10;
    EXPECT_EQ(suite::PasswordCipher::decrypt(ini.substr(at, ini.find('\n', at) - at)), "kdadmin-demo");
    EXPECT_NE(readFile(site / "registry/machine.ini").find("LocalRootDir=" + (site / "local").string()),
              std::string::npos);
    EXPECT_GT(report.databaseBytes, 100000u);
}

TEST_F(DemoSiteTest, OpensThroughTheDataSourceItRegisters) {
    std::string out = throughSiteDsn(site, "SELECT 'users', COUNT(*) FROM System_user_bindery WHERE flag3 = 0 AND "
                                           "is_deleted = 0 AND user_id > 0");
    EXPECT_NE(out.find("users"), std::string::npos) << out;
    EXPECT_NE(out.find("users 15"), std::string::npos) << out;
    EXPECT_NE(throughSiteDsn(site, "SELECT 1", "kdadmin", "wrong").find("Login failed for user 'kdadmin'."),
              std::string::npos);
}

TEST_F(DemoSiteTest, HoldsABelievableSite) {
    auto s = open();
    EXPECT_EQ(scalar(*s, "SELECT MAX(LEN(lineage) - LEN(REPLACE(lineage, '/', ''))) - 1 FROM System_partitions"),
              "4"); // root, region, hospital, department group
    EXPECT_EQ(scalar(*s, "SELECT COUNT(*) FROM System_partitions_shares"), "2");
    EXPECT_EQ(scalar(*s, "SELECT COUNT(*) FROM Account_info WHERE hosp_acct_id > 0 AND is_deleted = 0"), "11");
    EXPECT_EQ(scalar(*s, "SELECT MIN(n) FROM (SELECT COUNT(*) AS n FROM Reports_cfg WHERE hosp_acct_id > 0 GROUP BY "
                         "hosp_acct_id) x"),
              "6");
    // ADMINISTRATOR's password is the documented one, in the login component's form.
    std::string hex = scalar(*s, "SELECT CONVERT(binary(30), password) FROM System_user_bindery WHERE user_name = "
                                 "'ADMINISTRATOR'");
    EXPECT_EQ(suite::PasswordCipher::decrypt(hex.substr(0, 60)), "demo");
    EXPECT_EQ(scalar(*s, "SELECT COUNT(*) FROM System_user_bindery WHERE user_name IN ('VTTECH', 'VTSUPPORT')"), "2");
    EXPECT_EQ(scalar(*s, "SELECT COUNT(DISTINCT flag2) FROM System_user_bindery WHERE flag3 = 0 AND flag2 > 0"), "3");
    EXPECT_EQ(scalar(*s, "SELECT COUNT(*) FROM System_user_bindery WHERE flag3 > 0"), "4");
    EXPECT_EQ(scalar(*s, "SELECT COUNT(*) FROM Trans_info WHERE is_deleted = 1 AND trans_type = 1"), "1");
    // Outputs in every status the output log knows, and several days of log.
    EXPECT_EQ(scalar(*s, "SELECT COUNT(DISTINCT known_status) FROM Output_queue"), "47");
    EXPECT_EQ(scalar(*s, "SELECT CASE WHEN DATEDIFF(day, MIN(date_timestamp), MAX(date_timestamp)) >= 6 THEN 'days' "
                         "ELSE 'short' END FROM System_log"),
              "days");
    EXPECT_EQ(scalar(*s, "SELECT COUNT(DISTINCT severity) FROM System_log"), "5");
    EXPECT_EQ(scalar(*s, "SELECT CASE WHEN DATEDIFF(hour, MAX(backup_finish_date), GETDATE()) < 48 THEN 'recent' "
                         "ELSE 'old' END FROM msdb.dbo.backupset WHERE type = 'D'"),
              "recent");
    EXPECT_EQ(scalar(*s, "SELECT COUNT(*) FROM Linecount_cfg"), "3");
    EXPECT_EQ(scalar(*s, "SELECT COUNT(*) FROM Dictation_purge_criteria WHERE default_criteria = 1"), "1");
}

// The demo's rows are in the form the console itself writes them.
TEST_F(DemoSiteTest, DemoRowsAreWhatTheConsoleWrites) {
    auto s = open();
    // Directory settings: ten fields, each followed by "?", bind name and password left empty.
    EXPECT_EQ(scalar(*s, "SELECT string2 FROM System_user_policies WHERE policy_id = 2"),
              "ldap.example.org????ou=staff,dc=example,dc=org?389?False?-1?-1?10?");
    // Every printer has its extended row, as the printer editor writes both.
    EXPECT_EQ(scalar(*s, "SELECT COUNT(*) FROM System_printers SP WHERE NOT EXISTS (SELECT * FROM "
                         "System_printers_extended SPE WHERE SPE.printer_id = SP.printer_id)"),
              "0");
    // Report-type sets are written whole: 32 bytes.
    EXPECT_EQ(scalar(*s, "SELECT COUNT(*) FROM Physician_attributes WHERE DATALENGTH(fax_includes_1) <> 32 OR "
                         "DATALENGTH(batch_includes) <> 32 OR DATALENGTH(online_includes) <> 32 OR "
                         "DATALENGTH(email_includes) <> 32"),
              "0");
    EXPECT_EQ(scalar(*s, "SELECT COUNT(*) FROM Physician_attributes_extended WHERE DATALENGTH(speech_rec_includes) "
                         "<> 32"),
              "0");
    // Completed jobs carry the account and report type they were dictated under.
    EXPECT_EQ(scalar(*s, "SELECT COUNT(*) FROM Dictation_jobs_complete WHERE initial_hosp_acct_id IS NULL OR "
                         "initial_report_type_nbr IS NULL"),
              "0");
}

TEST_F(DemoSiteTest, RecreatingGivesAFreshSiteAndAForeignFolderIsRefused) {
    {
        auto s = open();
        s->execute("DELETE FROM Account_info WHERE hosp_acct_id = 1");
    }
    demo::createDemoSite(site.string(), KD_DRIVER_PATH);
    auto s = open();
    EXPECT_EQ(scalar(*s, "SELECT hosp_acct_name FROM Account_info WHERE hosp_acct_id = 1"), "North General Inpatient");

    fs::path foreign = folder / "foreign";
    fs::create_directories(foreign);
    std::ofstream(foreign / "keep.txt") << "not a demo site";
    EXPECT_THROW(demo::createDemoSite(foreign.string(), KD_DRIVER_PATH), std::runtime_error);
    EXPECT_TRUE(fs::exists(foreign / "keep.txt"));
}

TEST_F(DemoSiteTest, GeneratorGrowsTheSiteDeterministically) {
    demo::ScaleOptions o;
    o.seed = 42;
    o.users = 400;
    o.physicians = 150;
    o.accounts = 20;
    o.reportTypes = 5;
    o.logRows = 3000;
    o.logRowsOnOneDay = 1000;
    o.outputRows = 1000;
    demo::scaleDemoSite(site.string(), o);
    auto s = open();
    EXPECT_EQ(scalar(*s, "SELECT COUNT(*) FROM System_user_bindery"), "400");
    EXPECT_EQ(scalar(*s, "SELECT COUNT(*) FROM Physician_profile WHERE physician_id > 0"), "150");
    EXPECT_EQ(scalar(*s, "SELECT COUNT(*) FROM Account_info WHERE hosp_acct_id >= 100"), "20");
    EXPECT_EQ(scalar(*s, "SELECT COUNT(*) FROM Reports_cfg WHERE hosp_acct_id >= 100"), "100");
    EXPECT_EQ(scalar(*s, "SELECT COUNT(*) FROM System_log WHERE date_timestamp >= DATEADD(day, -1, CONVERT(datetime, "
                         "CONVERT(char(10), GETDATE(), 120))) AND date_timestamp < CONVERT(datetime, "
                         "CONVERT(char(10), GETDATE(), 120)) AND msg1 LIKE 'Generated%'"),
              "1000");
    EXPECT_EQ(scalar(*s, "SELECT COUNT(*) FROM Output_queue WHERE output_identifier >= 100000"), "1000");
    const std::string fingerprint =
        scalar(*s, "SELECT CONVERT(varchar, SUM(severity * 7 + type)) + '/' + CONVERT(varchar, SUM(hosp_acct_id)) "
                   "FROM System_log WHERE msg1 LIKE 'Generated%'");
    s.reset();

    // The same seed on a fresh site gives the same rows.
    demo::createDemoSite(site.string(), KD_DRIVER_PATH);
    demo::scaleDemoSite(site.string(), o);
    auto again = open();
    EXPECT_EQ(scalar(*again, "SELECT CONVERT(varchar, SUM(severity * 7 + type)) + '/' + CONVERT(varchar, "
                             "SUM(hosp_acct_id)) FROM System_log WHERE msg1 LIKE 'Generated%'"),
              fingerprint);
}

} // namespace
