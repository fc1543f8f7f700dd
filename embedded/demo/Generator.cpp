// Grows a demo site to a large site's size with set-based T-SQL over a numbers table. Values are
// arithmetic on the row number and the seed, so the same seed gives the same site.

#include "DemoSite.h"

#include "PasswordCipher.h"
#include "Schema.h"
#include "Session.h"
#include "SiteKey.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <stdexcept>

namespace demo {

namespace {

void run(tsql::Session& s, const std::string& script, const char* what) {
    auto errors = suite::runScript(s, script);
    if (!errors.empty())
        throw std::runtime_error(std::string(what) + ": " + errors.front());
}

std::string num(long long v) {
    return std::to_string(v);
}

} // namespace

SiteReport scaleDemoSite(const std::string& folder, const ScaleOptions& o) {
    const auto start = std::chrono::steady_clock::now();
    const std::string sql = (std::filesystem::absolute(folder) / "SQL").lexically_normal().string();
    tsql::OpenOptions open;
    open.folder = sql;
    open.database = kDatabase;
    auto s = tsql::Session::open(open);
    const std::string seed = num(o.seed);
    // A site grown from one made before site keys gets its key here.
    const auto siteKey = suite::SiteKey::LoadOrCreate(
        suite::SiteKey::PathUnder(std::filesystem::absolute(folder).lexically_normal().string()));
    if (!siteKey.ok())
        throw std::runtime_error(siteKey.message);
    suite::PasswordCipher::UseSiteKey(siteKey.key);
    const std::string password = suite::PasswordCipher::encryptWith(siteKey.key, kAdministratorPassword);

    // A numbers table 0 .. 10^k - 1, just large enough for the biggest table asked for.
    const long long needed = std::max({o.users, o.physicians, o.accounts, o.reportTypes + 1, o.logRows, o.outputRows});
    std::string from = "Gen_digits d0", value = "d0.d";
    long long scale = 10;
    for (int k = 1; scale < needed; ++k, scale *= 10) {
        from += ", Gen_digits d" + num(k);
        value += " + " + num(scale) + " * d" + num(k) + ".d";
    }
    run(*s,
        "SET NOCOUNT ON\n"
        "IF OBJECT_ID('Gen_numbers') IS NOT NULL DROP TABLE Gen_numbers\n"
        "IF OBJECT_ID('Gen_digits') IS NOT NULL DROP TABLE Gen_digits\n"
        "CREATE TABLE Gen_digits (d int NOT NULL)\n"
        "INSERT Gen_digits VALUES (0), (1), (2), (3), (4), (5), (6), (7), (8), (9)\n"
        "CREATE TABLE Gen_numbers (n int NOT NULL PRIMARY KEY)\n"
        "INSERT Gen_numbers SELECT " +
            value + " FROM " + from + "\n",
        "numbers");

    // Accounts 100 and up, each with its report types.
    run(*s,
        "SET NOCOUNT ON\n"
        "INSERT Account_info (hosp_acct_id, hosp_acct_name, hosp_acct_description, city, state, email_type, "
        "amount_per_line, partition_id, is_deleted)\n"
        "SELECT 100 + n, 'Account ' + CONVERT(varchar, 100 + n), 'Facility ' + CONVERT(varchar, (n * 31 + " +
            seed + ") % 997), 'City ' + CONVERT(varchar, n % 50), 'MN', n % 2, 0.1, 1 + (n + " + seed +
            ") % 6, CASE WHEN n % 53 = 0 THEN 1 ELSE 0 END\n"
            "FROM Gen_numbers WHERE n < " +
            num(o.accounts) +
            " AND NOT EXISTS (SELECT * FROM Account_info WHERE hosp_acct_id = 100 + n)\n"
            "INSERT Reports_cfg (hosp_acct_id, dept_id, report_type_nbr, report_version_nbr, report_name, "
            "billing_linecount_cfg, payroll_linecount_cfg)\n"
            "SELECT a.hosp_acct_id, 0, r.n, 0, 'Report type ' + CONVERT(varchar, r.n), r.n % 3, r.n % 3\n"
            "FROM Account_info a, Gen_numbers r WHERE a.hosp_acct_id >= 100 AND r.n BETWEEN 1 AND " +
            num(o.reportTypes) +
            "\n  AND NOT EXISTS (SELECT * FROM Reports_cfg c WHERE c.hosp_acct_id = a.hosp_acct_id AND "
            "c.report_type_nbr = r.n)\n",
        "accounts");

    // Users and groups up to the requested count (ids from 10000; every 40th a group).
    run(*s,
        "SET NOCOUNT ON\n"
        "DECLARE @have int\nSELECT @have = COUNT(*) FROM System_user_bindery\n"
        "INSERT System_user_bindery (user_id, user_name, password, first_name, last_name, description, enabled, "
        "locked_out, is_administrator, password_changed_datetime, must_change_password, can_change_password, "
        "privilege_set1, flag1, flag2, flag3, flag4, string1, is_deleted, partition_id, is_shared, "
        "last_access_datetime)\n"
        "SELECT 10000 + n, CASE WHEN n % 40 = 0 THEN 'GROUP' ELSE 'U' END + CONVERT(varchar, 10000 + n), "
        "CASE WHEN n % 40 = 0 THEN NULL ELSE 0x" +
            password +
            " END, "
            "CASE (n * 7 + " +
            seed +
            ") % 8 WHEN 0 THEN 'Alex' WHEN 1 THEN 'Blair' WHEN 2 THEN 'Casey' WHEN 3 THEN "
            "'Devon' WHEN 4 THEN 'Emery' WHEN 5 THEN 'Finley' WHEN 6 THEN 'Gray' ELSE 'Harper' END, "
            "CASE (n * 13 + " +
            seed +
            ") % 8 WHEN 0 THEN 'Anders' WHEN 1 THEN 'Brooks' WHEN 2 THEN 'Castillo' WHEN 3 "
            "THEN 'Dunn' WHEN 4 THEN 'Ellis' WHEN 5 THEN 'Fox' WHEN 6 THEN 'Grant' ELSE 'Hughes' END, "
            "CASE WHEN n % 40 = 0 THEN 'Generated group' ELSE NULL END, 1, CASE WHEN n % 211 = 0 THEN 1 ELSE 0 END, "
            "0, GETDATE(), 0, 1, NULL, 0, CASE WHEN n % 97 = 0 THEN 1 ELSE 0 END, "
            "CASE WHEN n % 40 = 0 THEN 1 + n % 3 ELSE 0 END, n % 3, '', CASE WHEN n % 89 = 0 THEN 1 ELSE 0 END, "
            "(n + " +
            seed + ") % 7 % 7 - CASE WHEN (n + " + seed +
            ") % 7 = 0 THEN 0 ELSE 0 END, n % 2, "
            "DATEADD(minute, -((n * 7919 + " +
            seed +
            ") % 100000), GETDATE())\n"
            "FROM Gen_numbers WHERE n < " +
            num(o.users) +
            " - @have\n"
            "UPDATE System_user_bindery SET partition_id = 6 WHERE user_id >= 10000 AND partition_id = 0 AND "
            "user_id % 2 = 1\n"
            "UPDATE User_identifier SET next_user_id = (SELECT MAX(user_id) + 1 FROM System_user_bindery)\n",
        "users");

    // Physicians with their membership and all-accounts attributes.
    run(*s,
        "SET NOCOUNT ON\n"
        "DECLARE @have int\nSELECT @have = COUNT(*) FROM Physician_profile WHERE physician_id > 0\n"
        "INSERT INTO Physician_profile (physician_id, first_name, last_name, initials, title_1, last_update, "
        "is_deleted, flag1, flag2, string1, string2, date1, partition_id, flag3)\n"
        "SELECT 1000 + n, 'First' + CONVERT(varchar, n % 500), 'Physician' + CONVERT(varchar, (n * 37 + " +
            seed +
            ") % 20000), 'FP', CASE n % 3 WHEN 0 THEN 'MD' WHEN 1 THEN 'DO' ELSE 'NP' END, GETDATE(), "
            "CASE WHEN n % 101 = 0 THEN 1 ELSE 0 END, 0, 0, 'GENERATOR', NULL, NULL, 1 + n % 6, "
            "CASE WHEN n % 59 = 0 THEN 1 ELSE 0 END\n"
            "FROM Gen_numbers WHERE n < " +
            num(o.physicians) +
            " - @have\n"
            "INSERT Physician_membership SELECT physician_id, 100 + physician_id % " +
            num(o.accounts) +
            ", 0, 0 FROM Physician_profile WHERE physician_id >= 1000\n"
            "INSERT Physician_attributes (physician_id, hosp_acct_id, dictation_id, mis_nbr_1, physician_type, "
            "elect_signature, batch_enabled, online_enabled)\n"
            "SELECT physician_id, -1, CONVERT(varchar, 50000 + physician_id), 'G' + CONVERT(varchar, physician_id), "
            "1, physician_id % 2, 1, physician_id % 3 / 2 FROM Physician_profile WHERE physician_id >= 1000\n"
            "UPDATE Physician_identifier SET next_physician_id = (SELECT MAX(physician_id) + 1 FROM "
            "Physician_profile)\n",
        "physicians");

    // System log: one busy day (yesterday) and the rest spread over a year.
    run(*s,
        "SET NOCOUNT ON\n"
        "DECLARE @day datetime\n"
        "SET @day = DATEADD(day, -1, CONVERT(datetime, CONVERT(char(10), GETDATE(), 120)))\n"
        "INSERT System_log\n"
        "SELECT CASE WHEN n < " +
            num(o.logRowsOnOneDay) +
            " THEN DATEADD(ms, (n * 863) % 86400000, @day) "
            "ELSE DATEADD(minute, -(1 + (n * 7919 + " +
            seed +
            ") % 524160), @day) END, "
            "1 + (n + " +
            seed + ") % 6, (n * 3 + " + seed +
            ") % 21, 10000 + (n * 17) % 40000, 20000 + n % 80, "
            "100 + n % " +
            num(o.accounts) +
            ", 0, n % 4, 0, 1000 + n % 20000, 100000 + n % 200000, 0, 0, 0, 0, 0, "
            "n % 7, NULL, NULL, NULL, NULL, 'Generated event ' + CONVERT(varchar, n), "
            // Up to five messages a row, as the suite's programs write long events.
            "CASE WHEN n % 5 >= 1 THEN 'Detail line 2 of event ' + CONVERT(varchar, n) END, "
            "CASE WHEN n % 5 >= 2 THEN 'Detail line 3' END, CASE WHEN n % 5 >= 3 THEN 'Detail line 4' END, "
            "CASE WHEN n % 5 >= 4 THEN 'Detail line 5' END\n"
            "FROM Gen_numbers WHERE n < " +
            num(o.logRows) + "\n",
        "system log");

    // Documents and their outputs.
    const int documents = o.outputRows / 5 > 0 ? o.outputRows / 5 : 1;
    run(*s,
        "SET NOCOUNT ON\n"
        "INSERT Document_demographics (document_id, hosp_acct_id, dept_id, report_type_nbr, patient_last, "
        "patient_first, patient_id, dictation_nbr, dictating_name, physician_id, trans_id, create_date, "
        "transcribed_date, suspension_type, orig_batch_flag, orig_record_timestamp)\n"
        "SELECT 100000 + n, 100 + n % " +
            num(o.accounts) + ", 0, 1 + n % " + num(o.reportTypes) + ", 'Patient' + CONVERT(varchar, (n * 7 + " + seed +
            ") % 90000), 'Pat', 'MRN' + CONVERT(varchar, n), "
            "CONVERT(varchar, 900000 + n), 'Physician', 1000 + n % 20000, 'MJONES', "
            "DATEADD(minute, -(n * 3 % 525600), GETDATE()), DATEADD(minute, -(n * 3 % 525600) + 30, GETDATE()), "
            "CASE WHEN n % 17 = 0 THEN 5 ELSE 0 END, n % 2, NULL\n"
            "FROM Gen_numbers WHERE n < " +
            num(documents) +
            "\n"
            "INSERT Output_queue (output_identifier, document_id, hosp_acct_id, physician_id, trans_id, create_date, "
            "output_type, flag1, output_time, known_status, error_code, first_name, last_name, batch_identifier, "
            "batch_type, batch_nbr, group_nbr, print_queue, phys_print_queue, time_to_send, fax_nbr, fax_filename, "
            "sent_by_name, record_timestamp, output_create_timestamp, copy_flag, flag3)\n"
            "SELECT 100000 + n, 100000 + n / 5, 100 + (n / 5) % " +
            num(o.accounts) +
            ", 1000 + (n / 5) % 20000, 'MJONES', NULL, "
            "CASE n % 5 WHEN 0 THEN 1 WHEN 1 THEN 3 WHEN 2 THEN 5 WHEN 3 THEN 14 ELSE 200 END, 0, "
            "DATEADD(minute, -(n / 5 * 3 % 525600) + 40, GETDATE()), "
            "CASE (n * 11 + " +
            seed +
            ") % 12 WHEN 0 THEN 34 WHEN 1 THEN 36 WHEN 2 THEN 14 WHEN 3 THEN 82 "
            "WHEN 4 THEN 186 WHEN 5 THEN 31 WHEN 6 THEN 51 WHEN 7 THEN 83 ELSE 10 END, "
            "CASE WHEN (n * 11 + " +
            seed +
            ") % 12 = 0 THEN 1 + n % 13 ELSE 0 END, 'Pat', 'Patient', NULL, "
            "CASE n % 5 WHEN 0 THEN 1 WHEN 2 THEN 3 WHEN 3 THEN 4 ELSE 0 END, NULL, NULL, 'MRLASER1', NULL, NULL, "
            "CASE WHEN n % 5 = 2 THEN '507-555-0141' ELSE NULL END, NULL, NULL, NULL, "
            "DATEADD(minute, -(n / 5 * 3 % 525600) + 35, GETDATE()), n % 2, 0\n"
            "FROM Gen_numbers WHERE n < " +
            num(o.outputRows) + "\n",
        "outputs");

    run(*s, "DROP TABLE Gen_numbers\nDROP TABLE Gen_digits\n", "clean-up");
    SiteReport report;
    report.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    report.databaseBytes = std::filesystem::file_size(tsql::Session::databasePath(sql, kDatabase));
    return report;
}

} // namespace demo
