#include "OdbcFixture.h"
#include "Schema.h"

#include <cstdlib>
#include <fstream>

using namespace kdtest;

namespace {

class ProceduresTest : public SuiteTest {
protected:
    void SetUp() override {
        setenv("TSQL_ENGINE_NOW", "2026-12-05 10:00:00", 1);
        SuiteTest::SetUp();
    }
    void TearDown() override { unsetenv("TSQL_ENGINE_NOW"); }
};

TEST_F(ProceduresTest, AccountCheckCreatesTheAccountWithItsTemplateConfiguration) {
    exec("INSERT Reports_cfg (hosp_acct_id, dept_id, report_type_nbr, report_version_nbr, report_name) "
         "VALUES (-1, 0, 1, 0, 'History and Physical')\n"
         "INSERT Privileges_accounts VALUES (101, -1, 'template', NULL)");
    auto r = exec("EXECUTE account_check 12");
    EXPECT_EQ(r.rc(), SQL_SUCCESS) << (r.allDiags().empty() ? "" : r.allDiags()[0].text);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Account_info WHERE hosp_acct_id = 12"), "1");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Suspension_types WHERE hosp_acct_id = 12"), "20");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Pause_types WHERE hosp_acct_id = 12"), "3");
    EXPECT_EQ(scalar("SELECT report_name FROM Reports_cfg WHERE hosp_acct_id = 12"), "History and Physical");
    EXPECT_EQ(scalar("SELECT privilege_set1 FROM Privileges_accounts WHERE user_id = 101 AND hosp_acct_id = 12"),
              "template");
    EXPECT_EQ(scalar("SELECT length_system_log FROM Archive_table_purging WHERE hosp_acct_id = 12"), "90");
    // Running it again leaves the account as it is; the console then fills in the details.
    exec("EXECUTE account_check 12\nUPDATE Account_info SET hosp_acct_name = 'North Clinic', partition_id = 0, "
         "is_deleted = 0 WHERE hosp_acct_id = 12");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Suspension_types WHERE hosp_acct_id = 12"), "20");
    EXPECT_EQ(scalar("SELECT hosp_acct_name FROM Account_info WHERE hosp_acct_id = 12"), "North Clinic");
    // The procedure's SET NOCOUNT ON ends with it: the caller still gets row counts.
    EXPECT_EQ(exec("UPDATE Account_info SET contact = 'x' WHERE hosp_acct_id = 12").steps.at(0).rowCount, 1);
}

TEST_F(ProceduresTest, UpdateSrHeadingConfigsFollowsTheAccountsPartition) {
    exec("SET NOCOUNT ON\nINSERT System_partitions VALUES (3, 0, 'East', 0, '/0/3/', NULL)\n"
         "EXEC account_check 12\nUPDATE Account_info SET partition_id = 3 WHERE hosp_acct_id = 12\n"
         "INSERT System_user_cfg VALUES (-1, 30, 'SRHeading12_1', 'HISTORY', 0)\n"
         "INSERT System_user_cfg VALUES (-1, 30, 'SRHeading13_1', 'OTHER', 0)");
    EXPECT_EQ(exec("EXEC update_sr_heading_configs 12").rc(), SQL_SUCCESS);
    EXPECT_EQ(scalar("SELECT partition_id FROM System_user_cfg WHERE key_name = 'SRHeading12_1'"), "3");
    EXPECT_EQ(scalar("SELECT partition_id FROM System_user_cfg WHERE key_name = 'SRHeading13_1'"), "0");
}

TEST_F(ProceduresTest, InboxSummaryCountsReportsAwaitingEachPhysiciansSignature) {
    exec("SET NOCOUNT ON\n"
         // physician users 201 (physician 10) and 202 (physician 11)
         "INSERT System_user_bindery (user_id, user_name, flag1, partition_id) VALUES (201, 'DRADAMS', 10, 0)\n"
         "INSERT System_user_bindery (user_id, user_name, flag1, partition_id) VALUES (202, 'DRBAKER', 11, 0)\n"
         // 10 signs for itself and for 12; 11 signs for itself, and its relationship to 12 has expired
         "INSERT Signature_relationships VALUES (10, 10, 2, 2, 0, NULL, NULL, 0, 0, 0, NULL, NULL, NULL)\n"
         "INSERT Signature_relationships VALUES (12, 10, 2, 2, 0, NULL, NULL, 0, 0, 0, NULL, NULL, NULL)\n"
         "INSERT Signature_relationships VALUES (11, 11, 2, 2, 0, NULL, NULL, 0, 0, 0, NULL, NULL, NULL)\n"
         "INSERT Signature_relationships VALUES (12, 11, 2, 2, 0, NULL, '12/01/2026', 0, 0, 0, NULL, NULL, NULL)\n"
         "INSERT Document_demographics (document_id, hosp_acct_id, report_type_nbr, create_date, suspension_type) "
         "VALUES (1, 1, 1, GETDATE(), 0)\n"
         "INSERT Document_demographics (document_id, hosp_acct_id, report_type_nbr, create_date, suspension_type) "
         "VALUES (2, 1, 1, GETDATE(), 0)\n"
         "INSERT Document_demographics (document_id, hosp_acct_id, report_type_nbr, create_date, suspension_type) "
         "VALUES (3, 1, 1, GETDATE(), 2)\n"
         "INSERT Document_demographics (document_id, hosp_acct_id, report_type_nbr, create_date, suspension_type) "
         "VALUES (4, 1, 1, GETDATE(), 5)\n"
         "INSERT Signature_pending_phys_reports VALUES (1, 10, 1, 0)\n"
         "INSERT Signature_pending_phys_reports VALUES (2, 12, 1, 0)\n"
         "INSERT Signature_pending_phys_reports VALUES (3, 11, 1, 0)\n"
         "INSERT Signature_pending_phys_reports VALUES (4, 11, 0, 1)");
    auto r = exec("get_paxlet_inbox_summary 0, 0");
    const auto* rows = r.firstRows();
    ASSERT_NE(rows, nullptr);
    ASSERT_EQ(rows->rows.size(), 2u);
    EXPECT_EQ(rows->rows[0][0], "10");
    EXPECT_EQ(rows->rows[0][1], "2"); // its own report and physician 12's
    EXPECT_EQ(rows->rows[1][0], "11");
    EXPECT_EQ(rows->rows[1][1], "1"); // type 2 is excluded, type 5 counts for the signing physician
    EXPECT_EQ(exec("EXEC get_paxlet_inbox_summary 11, 0").firstRows()->rows.size(), 1u);
}

TEST_F(ProceduresTest, FaxResendBatchRequeuesAttachmentsAndLogs) {
    exec("SET NOCOUNT ON\n"
         "INSERT Output_queue (output_identifier, document_id, hosp_acct_id, physician_id, trans_id, create_date, "
         "output_type, known_status, output_create_timestamp) VALUES (1, 50, 3, 10, 'MJONES', '12/04/2026', 5, 34, "
         "GETDATE())\n"
         "INSERT Output_queue (output_identifier, document_id, hosp_acct_id, output_type, known_status, "
         "output_create_timestamp) VALUES (2, 50, 3, 16, 38, GETDATE())");
    auto r =
        exec("BEGIN TRANSACTION\nDECLARE @trans_id varchar(8), @create_date varchar(22), @hosp_acct_id int, "
             "@physician_id int, @document_id int\n"
             "SELECT @trans_id = trans_id, @create_date = convert(char(22), create_date, 120), @hosp_acct_id = "
             "hosp_acct_id, \n       @physician_id = physician_id, @document_id = document_id\n"
             "FROM Output_queue WHERE output_identifier = 1\n"
             "UPDATE Output_queue\nSET fax_filename = NULL,\n    known_status = 21,\n    output_type = 5,\n"
             "    sent_by_name = '101^JSMITH',\n    fax_nbr = '555-0100',\n    record_timestamp = GETDATE(),\n"
             "    output_time = NULL, time_to_send = NULL, error_code = 0, flag3 = 21\nWHERE output_identifier = 1\n"
             "EXEC send_attachment_faxes 1, @trans_id, @create_date, @document_id, @hosp_acct_id, @physician_id, "
             "'555-0100', 'resend', 21\n"
             "EXEC upload_requested_audit 1, 101, 21, 'JSMITH'\nCOMMIT TRANSACTION");
    EXPECT_NE(r.rc(), SQL_ERROR) << (r.allDiags().empty() ? "" : r.allDiags()[0].text);
    EXPECT_EQ(scalar("SELECT CONVERT(varchar, known_status) + '|' + fax_nbr FROM Output_queue WHERE "
                     "output_identifier = 2"),
              "21|555-0100");
    EXPECT_EQ(scalar("SELECT msg1 FROM System_log WHERE schedule_id = 1"), "External upload requested again by JSMITH");
    EXPECT_EQ(scalar("SELECT @@TRANCOUNT"), "0");
}

TEST_F(ProceduresTest, PcUpdateStampsTheUpdateKind) {
    EXPECT_EQ(exec("pc_update 2, 0").rc(), SQL_SUCCESS);
    setenv("TSQL_ENGINE_NOW", "2026-12-06 08:00:00", 1);
    exec("pc_update 2, 0");
    EXPECT_EQ(scalar("SELECT CONVERT(varchar, update_datetime, 120) FROM System_pc_updates WHERE update_type = 2"),
              "2026-12-06 08:00:00");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_pc_updates"), "1");
}

TEST_F(ProceduresTest, GeneratedPurgeProcedureQueuesOldCompletedJobs) {
    exec("SET NOCOUNT ON\n"
         "INSERT Dictation_jobs_complete (job_id, source_department, source_work_type, dictated_datetime, date1) "
         "VALUES (1, 'Radiology', 3, '11/01/2026', '11/01/2026')\n"
         "INSERT Dictation_jobs_complete (job_id, source_department, source_work_type, dictated_datetime, date1) "
         "VALUES (2, 'Cardiology', 3, '11/01/2026', '11/01/2026')\n"
         "INSERT Dictation_jobs_complete (job_id, source_department, source_work_type, dictated_datetime, date1) "
         "VALUES (3, 'Radiology', 3, '12/04/2026', '12/04/2026')");
    ASSERT_EQ(exec("CREATE PROCEDURE dbo.purge_dictation_jobs AS\r\n"
                   "INSERT INTO Dictation_purge_queue\r\nSELECT job_id, GETDATE(), 0, 0, 0, 0, NULL, NULL, NULL\r\n"
                   "FROM Dictation_jobs_complete DJC\r\nWHERE source_file_purged = 0 AND eflag3 = 0\r\n"
                   " AND date1 < DATEADD(day, -7, GETDATE())\r\n"
                   " AND NOT EXISTS (SELECT * FROM Dictation_purge_queue WHERE job_id = DJC.job_id)\r\n"
                   " AND (source_department = 'Radiology'\r\n)\r\n")
                  .rc(),
              SQL_SUCCESS);
    exec("EXEC purge_dictation_jobs");
    exec("EXEC purge_dictation_jobs");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Dictation_purge_queue"), "1");
    EXPECT_EQ(scalar("SELECT job_id FROM Dictation_purge_queue"), "1");
    EXPECT_EQ(exec("DROP PROCEDURE dbo.purge_dictation_jobs").rc(), SQL_SUCCESS);
}

// A criterion by account and report types restricts on the job's initial account and type.
TEST_F(ProceduresTest, GeneratedPurgeProcedureSelectsByInitialAccountAndReportType) {
    exec("SET NOCOUNT ON\n"
         "INSERT Dictation_jobs_complete (job_id, hosp_acct_id, report_type_nbr, initial_hosp_acct_id, "
         "initial_report_type_nbr, dictated_datetime, date1) VALUES (1, 3, 5, 2, 5, '11/01/2026', '11/01/2026')\n"
         "INSERT Dictation_jobs_complete (job_id, hosp_acct_id, report_type_nbr, initial_hosp_acct_id, "
         "initial_report_type_nbr, dictated_datetime, date1) VALUES (2, 2, 5, 3, 5, '11/01/2026', '11/01/2026')\n"
         "INSERT Dictation_jobs_complete (job_id, hosp_acct_id, report_type_nbr, initial_hosp_acct_id, "
         "initial_report_type_nbr, dictated_datetime, date1) VALUES (3, 2, 7, 2, 7, '11/01/2026', '11/01/2026')");
    auto created =
        exec("CREATE PROCEDURE dbo.purge_dictation_jobs AS\r\n"
             "INSERT INTO Dictation_purge_queue\r\nSELECT job_id, GETDATE(), 0, 0, 0, 0, NULL, NULL, NULL\r\n"
             "FROM Dictation_jobs_complete DJC\r\nWHERE source_file_purged = 0 AND eflag3 = 0\r\n"
             " AND date1 < DATEADD(day, -7, GETDATE())\r\n"
             " AND NOT EXISTS (SELECT * FROM Dictation_purge_queue WHERE job_id = DJC.job_id)\r\n"
             " AND (initial_hosp_acct_id = 2\r\n AND initial_report_type_nbr IN (5,6)\r\n)\r\n");
    ASSERT_EQ(created.rc(), SQL_SUCCESS) << (created.allDiags().empty() ? "" : created.allDiags()[0].text);
    exec("EXEC purge_dictation_jobs");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Dictation_purge_queue"), "1");
    EXPECT_EQ(scalar("SELECT job_id FROM Dictation_purge_queue"), "1");
}

TEST_F(ProceduresTest, StandardDatabaseIsAttachedCopiedFromAndDetached) {
    {
        auto standard = suite::createSuiteDatabase(odbc.folder() + "/TEMP", "K2STANDARD_DB");
        standard->execute("INSERT Reports_cfg (hosp_acct_id, dept_id, report_type_nbr, report_version_nbr, "
                          "report_name) VALUES (1, 0, 4, 0, 'Discharge Summary')\n"
                          "INSERT System_fields VALUES (201, 'Custom Field', 0, 20, 0, NULL)");
    }
    const std::string path = odbc.folder() + "/TEMP/K2STANDARD_DB.mdf";
    auto attach = exec("sp_attach_single_file_db @dbname = 'k2standard_db', @physname = '" + path + "'");
    EXPECT_EQ(attach.rc(), SQL_SUCCESS) << (attach.allDiags().empty() ? "" : attach.allDiags()[0].text);
    exec("DELETE FROM Reports_cfg WHERE hosp_acct_id = 9\r\nINSERT INTO Reports_cfg\r\n"
         "SELECT 9, dept_id, report_type_nbr, report_version_nbr, report_name, billing_linecount_cfg, "
         "payroll_linecount_cfg, is_deleted, flag1, string1\r\nFROM k2standard_db.dbo.Reports_cfg\r\n"
         "WHERE hosp_acct_id > -1");
    exec("INSERT INTO System_fields\r\nSELECT * FROM k2standard_db.dbo.System_fields DBS\r\nWHERE field_nbr > 200\r\n"
         "AND  NOT EXISTS (SELECT * FROM System_fields WHERE field_nbr = DBS.field_nbr)");
    EXPECT_EQ(scalar("SELECT report_name FROM Reports_cfg WHERE hosp_acct_id = 9"), "Discharge Summary");
    EXPECT_EQ(scalar("SELECT field_name FROM System_fields WHERE field_nbr = 201"), "Custom Field");
    EXPECT_EQ(exec("sp_detach_db k2standard_db").rc(), SQL_SUCCESS);
    EXPECT_TRUE(exec("SELECT * FROM k2standard_db.dbo.Reports_cfg").hasError(208));
}

// A file without a database header is refused, an empty one included, and nothing is attached.
TEST_F(ProceduresTest, AFileThatIsNoDatabaseIsNotAttached) {
    const struct {
        const char* name;
        std::string content;
        long error;
    } cases[] = {{"empty", "", 5172}, {"text", std::string(8192, 'x'), 0}};
    for (const auto& c : cases) {
        const std::string path = odbc.folder() + "/" + c.name + ".mdf";
        std::ofstream(path) << c.content;
        auto attach = exec("sp_attach_single_file_db @dbname = 'k2standard_db', @physname = '" + path + "'");
        EXPECT_EQ(attach.rc(), SQL_ERROR) << c.name;
        if (c.error) {
            EXPECT_TRUE(attach.hasError(c.error)) << c.name;
        }
        EXPECT_TRUE(exec("SELECT * FROM k2standard_db.dbo.Reports_cfg").hasError(208)) << c.name;
    }
}

TEST_F(ProceduresTest, StatisticsBatchGivesDatabaseAndTableResultSets) {
    exec("SET NOCOUNT ON\nINSERT System_log (date_timestamp, severity, type) VALUES (GETDATE(), 2, 1)\n"
         "INSERT System_log (date_timestamp, severity, type) VALUES (GETDATE(), 2, 1)");
    auto r = exec("EXEC sp_spaceused\nEXEC sp_spaceused Document_demographics\nEXEC sp_spaceused Output_queue\n"
                  "EXEC sp_spaceused Report_transcription\nEXEC sp_spaceused System_log\n"
                  "EXEC sp_spaceused Dictation_jobs_complete");
    ASSERT_EQ(r.steps.size(), 7u); // the database form gives two result sets
    EXPECT_EQ(r.steps[0].columnNames,
              (std::vector<std::string>{"database_name", "database_size", "unallocated space"}));
    EXPECT_EQ(r.steps[0].rows[0][0], "KALDRA");
    EXPECT_NE(r.steps[0].rows[0][1]->find(" MB"), std::string::npos);
    EXPECT_EQ(r.steps[5].columnNames.at(1), "rows");
    EXPECT_EQ(r.steps[5].rows[0][0], "System_log");
    EXPECT_EQ(r.steps[5].rows[0][1], "2");
    EXPECT_TRUE(exec("EXEC sp_spaceused No_such_table").hasError(15009));

    auto help = exec("EXEC sp_helpdb 'KALDRA'");
    ASSERT_EQ(help.steps.size(), 2u);
    ASSERT_EQ(help.steps[1].rows.size(), 2u);
    const auto& files = help.steps[1];
    EXPECT_EQ(files.rows[0][7], "data only");
    EXPECT_NE(files.rows[0][2]->find(".mdf"), std::string::npos);
    EXPECT_NE(files.rows[1][2]->find(".ldf"), std::string::npos);
    EXPECT_EQ(files.rows[1][7], "log only");
    EXPECT_NE(files.rows[0][4]->find(" KB"), std::string::npos);
}

TEST_F(ProceduresTest, BackupHistoryComesFromAnAttachedMsdb) {
    {
        tsql::OpenOptions o;
        o.folder = odbc.folder();
        o.database = "msdb";
        o.create = true;
        auto msdb = tsql::Session::open(o);
        msdb->execute("CREATE TABLE backupset (backup_set_id int IDENTITY(1,1), database_name varchar(128), "
                      "backup_finish_date datetime, type char(1), backup_size numeric(20,0))\n"
                      "INSERT backupset (database_name, backup_finish_date, type, backup_size) "
                      "VALUES ('KALDRA', '2026-12-04 23:15:00', 'D', 1048576)\n"
                      "INSERT backupset (database_name, backup_finish_date, type, backup_size) "
                      "VALUES ('KALDRA', '2026-12-05 01:00:00', 'L', 4096)");
    }
    OdbcConnection fresh; // msdb beside the database is attached when connecting
    ASSERT_TRUE(SQL_SUCCEEDED(fresh.connect(connectionStringFor(odbc, "KALDRA"))));
    EXPECT_EQ(fresh
                  .exec("SELECT CONVERT(char(30), max(backup_finish_date), 120) FROM msdb.dbo.backupset \n"
                        "WHERE (type = 'D') AND database_name = 'KALDRA'\n      AND backup_size > 0")
                  .scalar(),
              "2026-12-04 23:15:00           ");
}

} // namespace

namespace {

// Procedures live in a bookkeeping table whose changes do not move SQLite's schema version, so a
// connection that was open before another one created or dropped a procedure must still see it.
TEST_F(ProceduresTest, ProcedureChangesOfAnotherConnectionAreSeen) {
    OdbcConnection other;
    ASSERT_TRUE(SQL_SUCCEEDED(other.connect(connectionStringFor(odbc, "KALDRA"))));
    ASSERT_EQ(other.exec("EXEC pc_update 1").rc(), SQL_SUCCESS);

    ASSERT_EQ(exec("DROP PROCEDURE pc_update").rc(), SQL_SUCCESS);
    const auto dropped = other.exec("EXEC pc_update 1");
    EXPECT_EQ(dropped.rc(), SQL_ERROR);
    EXPECT_TRUE(dropped.hasError(2812));

    ASSERT_EQ(exec("CREATE PROCEDURE pc_probe AS SELECT 'new'").rc(), SQL_SUCCESS);
    EXPECT_EQ(other.exec("EXEC pc_probe").scalar(), "new");
    ASSERT_EQ(exec("DROP PROCEDURE pc_probe").rc(), SQL_SUCCESS);
    ASSERT_EQ(exec("CREATE PROCEDURE pc_probe AS SELECT 'changed'").rc(), SQL_SUCCESS);
    EXPECT_EQ(other.exec("EXEC pc_probe").scalar(), "changed");
}

} // namespace
