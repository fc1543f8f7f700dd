#include "OdbcFixture.h"

using namespace kdtest;

namespace {

// A statement as the console builds it, and a query by column name that shows where the values
// landed.
struct Landing {
    const char* what;
    std::string statement;
    std::string check;
    std::string expected;
};

class SchemaTest : public SuiteTest {};

TEST_F(SchemaTest, PositionalStatementsLandEachValueInItsColumn) {
    const Landing cases[] = {
        {"event writer's 26-value System_log row",
         "DECLARE @thetime datetime\r\nSELECT @thetime = GETDATE()\r\nINSERT System_log\r\n"
         "VALUES (@thetime, 2, 20, 101, 20001, 7, \r\n3, 4, 5, 6, 8, 0, 0, 0, 0, 0, 12, \r\n"
         "NULL, NULL, NULL, NULL, 'User JSMITH was added by user ADMINISTRATOR.', NULL, NULL, NULL, NULL)",
         "SELECT CONVERT(varchar, severity) + '|' + CONVERT(varchar, type) + '|' + CONVERT(varchar, user_id) + '|' + "
         "CONVERT(varchar, error_code) + '|' + CONVERT(varchar, hosp_acct_id) + '|' + CONVERT(varchar, schedule_id) + "
         "'|' + CONVERT(varchar, batch_nbr) + '|' + CONVERT(varchar, flag1) + '|' + CONVERT(varchar, partition_id) + "
         "'|' + msg1 + '|' + ISNULL(msg2, 'null') FROM System_log",
         "2|20|101|20001|7|3|4|5|12|User JSMITH was added by user ADMINISTRATOR.|null"},
        {"Archive_table_purging (16 values)",
         "INSERT Archive_table_purging VALUES(4, 30, 60, 90, 120, 150, 0, 0, 0, 11, 12, 13, 14, 0, NULL, NULL)",
         "SELECT CONVERT(varchar, length_output_queue) + ',' + CONVERT(varchar, length_system_log) + ',' + "
         "CONVERT(varchar, length_trans_stats) + ',' + CONVERT(varchar, length_document_info) + ',' + "
         "CONVERT(varchar, length_edit_history) + ',' + CONVERT(varchar, extra4) + ',' + CONVERT(varchar, extra5) + "
         "',' + CONVERT(varchar, extra6) + ',' + CONVERT(varchar, extra7) FROM Archive_table_purging WHERE "
         "hosp_acct_id = 4",
         "30,60,90,120,150,11,12,13,14"},
        {"System_printers (18 values) and System_printers_extended (15)",
         "DECLARE @printer_id INT\nIF EXISTS (SELECT printer_id FROM System_printers)\nSELECT @printer_id = 7\nELSE\n"
         "SELECT @printer_id = 1\nINSERT System_printers VALUES (@printer_id, 'Ward 3', 'WARD3Q', 'Courier New', 10, "
         "1, 2, 0, '', 3, 1, 'MACRO1', 4, 5, NULL, NULL, 'EnvDefault.doc', 'ENVMACRO')\n"
         "INSERT INTO System_printers_extended VALUES(@printer_id, 6, 2, 'OMACRO', 9, 0, 0, 0, 0, 0, NULL, NULL, "
         "NULL, NULL, NULL)",
         "SELECT description + '|' + print_queue + '|' + CONVERT(varchar, default_bin) + '|' + default_print_macro + "
         "'|' + CONVERT(varchar, P.flag1) + '|' + CONVERT(varchar, P.flag2) + '|' + P.string2 + '|' + P.string3 + "
         "'|' + "
         "CONVERT(varchar, E.orig_default_bin) + '|' + E.orig_default_print_macro + '|' + "
         "CONVERT(varchar, E.orig_footer_format) FROM System_printers P JOIN System_printers_extended E ON "
         "E.printer_id = P.printer_id",
         "Ward 3|WARD3Q|3|MACRO1|4|5|EnvDefault.doc|ENVMACRO|6|OMACRO|9"},
        {"System_printer_formats (7 values)",
         "INSERT System_printer_formats VALUES(3, 'Dictated by <Last, First, Title>', 0, 0, NULL, NULL, NULL)",
         "SELECT format_description FROM System_printer_formats WHERE custom_format_id = 3",
         "Dictated by <Last, First, Title>"},
        {"Privileges_accounts (4 values)",
         "INSERT Privileges_accounts VALUES(101, 5, '" + std::string(255, '\x01') + "', NULL)",
         "SELECT CONVERT(varchar, LEN(privilege_set1)) + ':' + ISNULL(privilege_set2, 'null') FROM Privileges_accounts "
         "WHERE user_id = 101 AND hosp_acct_id = 5",
         "255:null"},
        {"Privileges_report_types (11 values)",
         "INSERT Privileges_report_types VALUES(101, 5, 0, 12, '" + std::string(20, '\x02') +
             "', NULL, 0, 0, 0, NULL, NULL)",
         "SELECT CONVERT(varchar, report_type_nbr) + ':' + CONVERT(varchar, LEN(privilege_set1)) FROM "
         "Privileges_report_types WHERE user_id = 101 AND dept_id = 0",
         "12:20"},
        {"System_printer_privileges (12 values)",
         "INSERT INTO System_printer_privileges VALUES(101, 7, 1, 0, 0, 0, 0, 0, 0, 0, NULL, NULL)",
         "SELECT CONVERT(varchar, printer_id) + ':' + CONVERT(varchar, copy_access) + ':' + "
         "CONVERT(varchar, orig_access) FROM System_printer_privileges WHERE user_id = 101",
         "7:1:0"},
        {"System_security_groups (9 values)",
         "IF NOT EXISTS (SELECT * FROM System_security_groups WHERE group_id = 200 AND user_id = 101)\r\n"
         "INSERT INTO System_security_groups VALUES(200, 101, 'xy', 0, 0, 0, NULL, NULL, NULL)",
         "SELECT group_relations FROM System_security_groups WHERE group_id = 200 AND user_id = 101", "xy"},
        {"System_user_messages (7 values)",
         "INSERT INTO System_user_messages VALUES (101, 'Please call the help desk', GETDATE(), 1, 0, 0, NULL)",
         "SELECT message + '|' + CONVERT(varchar, from_user_id) FROM System_user_messages WHERE user_id = 101",
         "Please call the help desk|1"},
        {"Dictation_purge_criteria (16 values) read back with SELECT *",
         "INSERT INTO Dictation_purge_criteria VALUES('Radiology', '1,2', -1, '', 0, 0, 14, 4, 0, 0, 0, 0, NULL, "
         "NULL, NULL, NULL)",
         "SELECT source_department + '|' + source_work_types + '|' + CONVERT(varchar, nbr_days) + '|' + "
         "CONVERT(varchar, source_type) + '|' + CONVERT(varchar, default_criteria) FROM Dictation_purge_criteria",
         "Radiology|1,2|14|4|0"},
        {"Suspension_types (4 values)", "INSERT INTO Suspension_types VALUES(-1, 25, 0, 'Awaiting Lab Results')",
         "SELECT suspension_description FROM Suspension_types WHERE suspension_type = 25", "Awaiting Lab Results"},
        {"Pause_types from Account_info (6 values)",
         "INSERT INTO Pause_types\r\nSELECT hosp_acct_id, 9, 'Phone call', 2, 1, 0\r\nFROM Account_info",
         "SELECT pause_description + '|' + CONVERT(varchar, work_type) + CONVERT(varchar, work_hours_choice) + "
         "CONVERT(varchar, pause_reason_choice) FROM Pause_types WHERE pause_type = 9",
         "Phone call|210"},
        {"Physician_membership and Physician_external_ids",
         "INSERT Physician_membership VALUES(5, 3, 0, 0)\nINSERT Physician_external_ids VALUES(5, 'DVI', '7734', 2, 1)",
         "SELECT source_id + ':' + source_physician_id + ':' + CONVERT(varchar, source_type) + ':' + "
         "CONVERT(varchar, sort_order) FROM Physician_external_ids WHERE physician_id = 5",
         "DVI:7734:2:1"},
        {"Archive_disks (16 values) with the next disk number",
         "INSERT Archive_disks VALUES (1, 'First', 'D:', NULL, NULL, NULL, -1, 0, 0, 0, 0, 0, 0, NULL, NULL, NULL)\n"
         "DECLARE @new_disk_nbr int\nSELECT @new_disk_nbr = (MAX(disk_nbr) + 1)\nFROM Archive_disks\n"
         "INSERT Archive_disks\nVALUES (@new_disk_nbr, 'Disk 2', '\\\\archive\\disk2', NULL, NULL, NULL, -1, 0, 0, 1, "
         "0, 0, 0, NULL, NULL, NULL)",
         "SELECT CONVERT(varchar, disk_nbr) + '|' + disk_label + '|' + disk_location + '|' + "
         "CONVERT(varchar, is_active) + CONVERT(varchar, is_deleted) + '|' + CONVERT(varchar, reports) FROM "
         "Archive_disks WHERE is_active = 1",
         "2|Disk 2|\\\\archive\\disk2|10|0"},
        {"Signature_relationships, Signature_surrogates, Signature_dependencies",
         "INSERT INTO Signature_relationships VALUES(5, 6, 2, 2, 0, NULL, NULL, 0, 0, 0, NULL, NULL, NULL)\n"
         "INSERT INTO Signature_surrogates VALUES(5, 6, -1, '12/01/2026', NULL, GETDATE(), 0, 0, 0, NULL, NULL, NULL)\n"
         "INSERT INTO Signature_dependencies VALUES(5, 7, -1, 1, 1, 2, 0, 1, NULL, NULL, GETDATE(), 0, 0, 0, NULL, "
         "NULL, NULL)",
         "SELECT CONVERT(varchar, R.access_type) + '|' + CONVERT(varchar, S.effective_date, 101) + '|' + "
         "CONVERT(varchar, D.cosigner_signature_level) FROM Signature_relationships R, Signature_surrogates S, "
         "Signature_dependencies D WHERE R.physician_id = 5 AND S.dictator_physician_id = 5 AND "
         "D.dictator_physician_id = 5",
         "2|12/01/2026|2"},
        {"System_user_bindery insert with its column list",
         "INSERT System_user_bindery (user_id, user_name, password, first_name, last_name, description, trans_id, "
         "last_access_datetime, user_group_id, enabled, locked_out, is_administrator, password_changed_datetime, "
         "must_change_password, nbr_bad_attempts, last_attempt_datetime, can_change_password, privilege_set1, "
         "privilege_set2, flag1, flag2, flag3, flag4, string1, string2, date1, is_deleted, partition_id, is_shared, "
         "must_change_signature_password, signature_password) VALUES (101, 'JSMITH', 0x0A0B, 'John', 'O''Smith', "
         "NULL, 'JSMITH', NULL, 0, 1, 0, 0, GETDATE(), 1, 0, NULL, 1, NULL, NULL, 5, 3, 0, 2, 'PROMPT.KDS', NULL, "
         "NULL, 0, 0, 1, 0, 0x0C)",
         "SELECT user_name + '|' + last_name + '|' + CONVERT(varchar, CONVERT(binary(30), password)) + '|' + "
         "CONVERT(varchar, flag2) + CONVERT(varchar, flag4) + '|' + string1 FROM System_user_bindery WHERE user_id = "
         "101",
         ""},
    };
    for (const auto& tc : cases) {
        auto r = exec(tc.statement);
        auto diags = r.allDiags();
        EXPECT_NE(r.rc(), SQL_ERROR) << tc.what << ": " << (diags.empty() ? "" : diags[0].text);
        if (tc.expected.empty())
            continue;
        EXPECT_EQ(scalar(tc.check), tc.expected) << tc.what;
    }
    // Binary columns read as text give their bytes; as hex they give the padded value.
    EXPECT_EQ(scalar("SELECT password FROM System_user_bindery WHERE user_id = 101"), "0A0B" + std::string(56, '0'));
    EXPECT_EQ(scalar("SELECT user_name + '|' + last_name + '|' + CONVERT(varchar, flag2) + CONVERT(varchar, flag4) + "
                     "'|' + string1 FROM System_user_bindery WHERE user_id = 101"),
              "JSMITH|O'Smith|32|PROMPT.KDS");
}

TEST_F(SchemaTest, FaxResendLogRowGoesInWithItsColumnList) {
    // The output log's fax resend has 25 values in an order of its own; it names its columns.
    auto r = exec("INSERT System_log (date_timestamp, severity, type, schedule_id, hosp_acct_id, batch_nbr, "
                  "physician_id, document_id, flag2, flag3, error_code, flag4, flag5, flag6, flag1, user_id, string1, "
                  "string2, date1, string3, msg1, msg2, msg3, msg4, msg5) VALUES(GETDATE(), 7, 20, 88, 5, -1, 12, "
                  "4001, 0, 0, 21, 0, 0, 0, 0, 101, 'JSMITH', NULL, NULL, NULL, 'Fax resent to 555-0100 at 10:15', "
                  "NULL, NULL, NULL, NULL)");
    EXPECT_EQ(r.rc(), SQL_SUCCESS);
    EXPECT_EQ(scalar("SELECT CONVERT(varchar, document_id) + '|' + string1 + '|' + msg1 FROM System_log WHERE "
                     "schedule_id = 88"),
              "4001|JSMITH|Fax resent to 555-0100 at 10:15");
    // Written positionally, 25 values do not fit the 26 columns: SQL Server refuses it the same way.
    EXPECT_TRUE(exec("INSERT System_log VALUES(GETDATE(), 7, 20, 88, 5, -1, 12, 4001, 0, 0, 21, 0, 0, 0, 0, 101, "
                     "'JSMITH', NULL, NULL, NULL, 'x', NULL, NULL, NULL, NULL)")
                    .hasError(213));
}

TEST_F(SchemaTest, SiteStartsWithVersionCountersAndTemplates) {
    EXPECT_EQ(scalar("SELECT CONVERT(DECIMAL(4,2),version) FROM Database_version"), "8.10");
    EXPECT_EQ(scalar("DECLARE @id int\nSELECT user_id = next_user_id FROM User_identifier\r\n"
                     "UPDATE User_identifier SET next_user_id = next_user_id + 1"),
              "100");
    EXPECT_EQ(scalar("SELECT next_user_id FROM User_identifier"), "101");
    EXPECT_EQ(scalar("SELECT hosp_acct_name FROM Account_info WHERE hosp_acct_id = -1"), "<All New Accounts>");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Suspension_types WHERE hosp_acct_id = -1 AND suspension_type <= 20"), "20");
    EXPECT_EQ(scalar("SELECT policy_name FROM System_user_policies WHERE policy_id = 0"), "Default Policy");
    EXPECT_EQ(scalar("SELECT config_name FROM Linecount_cfg WHERE config_id = 0"), "Default");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Archive_cfg"), "1");
    EXPECT_EQ(scalar("SELECT CASE WHEN OBJECT_ID('Output_queue') IS NULL THEN 'no' ELSE 'yes' END"), "yes");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM sysobjects WHERE name = 'account_check' AND type = 'P'"), "1");
    // A physician id comes from its counter inside a transaction.
    EXPECT_EQ(scalar("BEGIN TRAN\nDECLARE @phys_id INT\nSELECT @phys_id = next_physician_id FROM Physician_identifier\n"
                     "UPDATE Physician_identifier SET next_physician_id = @phys_id + 1\nSELECT @phys_id\nCOMMIT TRAN"),
              "1");
    EXPECT_EQ(scalar("SELECT @@TRANCOUNT"), "0");
}

} // namespace

namespace {

// The report-type sets have 256 elements, written as 64 hexadecimal digits (32 bytes).
TEST_F(SchemaTest, ReportTypeSetsHoldAll256Elements) {
    const std::string all = std::string(64, 'F');
    const std::string some = "8" + std::string(62, '0') + "1";
    auto r = exec("INSERT Physician_attributes (physician_id, hosp_acct_id, fax_includes_1, fax_includes_2, "
                  "batch_includes, online_includes, email_includes) VALUES (7, -1, 0x" +
                  all + ", 0x" + some + ", 0x" + all + ", 0x" + some + ", 0x" + all +
                  ")\r\nINSERT Physician_attributes_extended (physician_id, hosp_acct_id, speech_rec_includes) "
                  "VALUES (7, -1, 0x" +
                  some + ")");
    ASSERT_TRUE(SQL_SUCCEEDED(r.rc())) << (r.allDiags().empty() ? "" : r.allDiags()[0].text);
    auto rows = exec("SELECT fax_includes_1, fax_includes_2, batch_includes, online_includes, email_includes "
                     "FROM Physician_attributes WHERE physician_id = 7");
    ASSERT_NE(rows.firstRows(), nullptr);
    const auto& row = rows.firstRows()->rows.at(0);
    EXPECT_EQ(row.at(0).value_or(""), all);
    EXPECT_EQ(row.at(1).value_or(""), some);
    EXPECT_EQ(row.at(2).value_or(""), all);
    EXPECT_EQ(row.at(3).value_or(""), some);
    EXPECT_EQ(row.at(4).value_or(""), all);
    EXPECT_EQ(scalar("SELECT speech_rec_includes FROM Physician_attributes_extended WHERE physician_id = 7"), some);
    // One byte more is still refused.
    EXPECT_TRUE(
        exec("UPDATE Physician_attributes SET email_includes = 0x" + all + "00 WHERE physician_id = 7").hasError(8152));
}

} // namespace
