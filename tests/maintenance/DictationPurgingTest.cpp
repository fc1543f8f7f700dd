#include "DatabaseSession.h"
#include "DecimalCommaLocale.h"
#include "DictationCriterion.h"
#include "DictationPurgeRules.h"
#include "EventLog.h"
#include "LoginComponent.h"
#include "MessageService.h"
#include "OdbcFixture.h"
#include "SessionHelper.h"
#include "clsDictationPurgings.h"

#include <cstdlib>

using namespace maintenance;
using foundation::DatabaseSession;

namespace {

void nameAccounts(suite::LoginComponent& login) {
    std::vector<suite::HospAccount> cache;
    for (auto [id, name] : {std::pair{-1L, "Template"}, {10L, "North Clinic"}, {20L, "Saint Luc"}}) {
        suite::HospAccount a;
        a.hosp_acct_id = id;
        a.hosp_acct_name = name;
        cache.push_back(a);
    }
    login.SetHospAccounts(cache);
}

using kdtest::criterion;

struct ClauseCase {
    const char* name;
    clsDictationPurging c;
    const char* clause;
    const char* description; // among two or more criteria
};

const ClauseCase kClauses[] = {
    {"department only", criterion(-1, "Cardiology", "", -1, "", 1), "(source_department = 'Cardiology'\r\n)\r\n",
     "Purge after 1 day with department equal to Cardiology"},
    {"source, quoted department and spaced work types", criterion(4, "O'Brien", "12, 15", -1, "", 2),
     "(source_type = 4\r\n AND source_department = 'O''Brien'\r\n AND source_work_type IN (12, 15)\r\n)\r\n",
     "Purge after 2 days with department equal to O'Brien work type equal to 12, 15 from Veltra Dictate"},
    {"work types only; the account is ignored", criterion(10, "", "3", 10, "1", 14),
     "(source_type = 10\r\n AND source_work_type IN (3)\r\n)\r\n",
     "Purge after 14 days with work type equal to 3 from Veltra Voyager"},
    {"account and report types", criterion(-1, "", "", 10, "1,3", 30),
     "(initial_hosp_acct_id = 10\r\n AND initial_report_type_nbr IN (1,3)\r\n)\r\n",
     "Purge after 30 days with account equal to Account North Clinic report types equal to 1,3"},
    {"account alone", criterion(7, "", "", 20, "", 9), "(source_type = 7\r\n AND initial_hosp_acct_id = 20\r\n)\r\n",
     "Purge after 9 days with account equal to Account Saint Luc from Veltra Expert SR"},
    {"any account: report types ignored by the clause", criterion(9, "", "", -1, "2", 5), "(source_type = 9\r\n)\r\n",
     "Purge after 5 days with any account report types equal to 2 from Veltra Expert"},
    {"nothing restricted", criterion(-1, "", "", -1, "", 7), "", "Purge after 7 days with any account"},
    {"unknown source code shows no source", criterion(3, "", "", -1, "", 7), "(source_type = 3\r\n)\r\n",
     "Purge after 7 days with any account"},
    {"obsolete source", criterion(1, "ER", "", -1, "", 7), "(source_type = 1\r\n AND source_department = 'ER'\r\n)\r\n",
     "Purge after 7 days with department equal to ER from SpeechMagic"},
    {"download, voice, DVI, text", criterion(5, "", "", -1, "", 7), "(source_type = 5\r\n)\r\n",
     "Purge after 7 days with any account from Veltra Download"},
    {"default", criterion(-1, "", "", -1, "", 1, 1), "", "DEFAULT - For ALL other jobs:  Purge after 1 day"},
};

TEST(DictationPurgingRecord, TypeClauseAndDescriptionFollowTheCriterionsKind) {
    suite::LoginComponent login;
    nameAccounts(login);
    for (const auto& c : kClauses) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.c.GetTypeClause(), c.clause);
        EXPECT_EQ(c.c.Description(true, login), c.description);
    }
    EXPECT_EQ(criterion(-1, "", "", -1, "", 7, 1).Description(false, login),
              "DEFAULT - For ALL jobs:  Purge after 7 days");
    for (auto [code, text] :
         {std::pair{0, " from Veltra Text"}, {2, " from DVI"}, {6, " from Veltra Voice"}, {8, ""}, {-1, ""}})
        EXPECT_EQ(clsDictationPurging::SourceText(code), text);
    EXPECT_TRUE(criterion(0, "", "", -1, "", 7).IsObsolete());
    EXPECT_FALSE(criterion(1, "", "", -1, "", 7, 1).IsObsolete());
    EXPECT_FALSE(criterion(2, "", "", -1, "", 7).IsObsolete());
}

struct CheckCase {
    const char* days;
    bool sourceBased;
    std::string department, workTypes;
    const char* message;
};

const std::string kDays = "Pleaser enter a number between 1 and 9999 for the Days to Keep Sound Files.";
const std::string kOneDept = "Please enter only one department.";
const std::string kTypes = "The list of work types is not valid.  Please correct this setting.";
const std::string kEither = "Either the department field or the work types field must be set.";

const CheckCase kChecks[] = {
    {"0", true, "", "", kDays.c_str()},
    {"10000", true, "ER", "", kDays.c_str()},
    {"99999999999", false, "", "", kDays.c_str()},
    {"7,5", false, "", "", kDays.c_str()},
    {"7.5", false, "", "", kDays.c_str()},
    {"", false, "", "", kDays.c_str()},
    {"-3", false, "", "", kDays.c_str()},
    {"1", false, "", "", ""},        // account-based: nothing else is checked
    {"9999", false, "a,b", "x", ""}, // the same
    {" 30 ", true, "ER", "", ""},
    {"7", true, "ER, ICU", "1;2", kOneDept.c_str()}, // the department is checked first
    {"7", true, "", "1,,2", kTypes.c_str()},
    {"7", true, "", "1;2", kTypes.c_str()},
    {"7", true, "", "\xD9\xA3", kTypes.c_str()}, // an Arabic-Indic three
    {"7", true, "", "12, 15", ""},
    {"7", true, "", "2147483648", kTypes.c_str()},
    {"7", true, "", "   ", kEither.c_str()},
    {"7", true, "  ", "", kEither.c_str()},
    {"7", true, "O'Brien \xC3\xA9t\xC3\xA9", "", ""},
    {"7", true, std::string(50, 'x'), "", ""},
    {"7", true, std::string(49, 'x') + "\xC3\xA9", "", ""}, // 50 characters, 51 bytes
    {"7", true, std::string(51, 'x'), "", "The department cannot be longer than 50 characters."},
    {"7", true, std::string(10000, 'x'), "", "The department cannot be longer than 50 characters."},
    {"7", true, "", std::string(300, '1'), kTypes.c_str()},
};

TEST(DictationPurgingRecord, EditorChecksRunInOrderAndStopAtTheFirst) {
    for (const auto& c : kChecks) {
        SCOPED_TRACE(std::string(c.days) + "|" + c.department.substr(0, 20) + "|" + c.workTypes.substr(0, 20));
        EXPECT_EQ(DictationPurgeRules::Check(c.days, c.sourceBased, c.department, c.workTypes), c.message);
    }
}

TEST(DictationPurgingRecord, DaysAreReadTheSameUnderADecimalCommaLocale) {
    kdtest::DecimalCommaLocale locale;
    KD_REQUIRE_DECIMAL_COMMA(locale);
    EXPECT_FALSE(DictationPurgeRules::ParseDays("7,5"));
    EXPECT_EQ(DictationPurgeRules::ParseDays("75"), 75);
}

// A suite database with the session connected, the engine's clock pinned and jobs to purge.
class DictationPurging : public kdtest::SuiteTest {
protected:
    void SetUp() override {
        setenv("TSQL_ENGINE_NOW", "2026-12-05 10:00:00", 1);
        SuiteTest::SetUp();
        kdtest::connectSession(odbc.folder(), "KALDRA");
        DatabaseSession::instance().history.clear();
        nameAccounts(login);
    }
    void TearDown() override {
        DatabaseSession::instance().traceHook = nullptr;
        DatabaseSession::instance().DisconnectFromSQL();
        unsetenv("TSQL_ENGINE_NOW");
    }
    std::string rows(const std::string& sql) { return exec(sql).table(); }
    std::string criteriaRows() {
        return rows("SELECT * FROM Dictation_purge_criteria ORDER BY default_criteria, nbr_days");
    }
    // Job: id, department, work type, source, initial account, initial report type, dictated, completed.
    void job(int id, const char* dept, int workType, int source, int account, int reportType, const char* dictated,
             const char* completed, int purged = 0, int eflag3 = 0) {
        const std::string d = dept ? "'" + DatabaseSession::QuoteSQL(dept) + "'" : "NULL";
        exec("INSERT Dictation_jobs_complete VALUES (" + std::to_string(id) + ", " + d + ", " +
             std::to_string(workType) + ", " + std::to_string(source) + ", " + std::to_string(account) + ", " +
             std::to_string(reportType) + ", '" + dictated + "', '" + completed + "', " + std::to_string(purged) +
             ", " + std::to_string(eflag3) + ", " + std::to_string(account) + ", " + std::to_string(reportType) + ")");
    }
    std::string queued() {
        std::string ids;
        const auto out = exec("SELECT job_id FROM Dictation_purge_queue ORDER BY job_id");
        if (const auto* step = out.firstRows())
            for (const auto& r : step->rows)
                ids += r[0].value_or("NULL") + " ";
        return ids;
    }

    platform::MessageRecorder recorder;
    suite::LoginComponent login;
};

TEST_F(DictationPurging, OnlyTheDefaultGivesABlockWithoutTrailingConditionAndEachStatementIsSentAlone) {
    clsDictationPurgings p;
    ASSERT_TRUE(p.Load());
    ASSERT_EQ(p.items.size(), 1u); // an empty table gets the default of 7 days
    EXPECT_EQ(p.Descriptions(login).at(0), "DEFAULT - For ALL jobs:  Purge after 7 days");
    ASSERT_TRUE(p.Save(1, "admin"));
    const auto& h = DatabaseSession::instance().history;
    const std::string create = "CREATE PROCEDURE dbo.purge_dictation_jobs AS\r\n"
                               "INSERT INTO Dictation_purge_queue\r\n"
                               "SELECT job_id, GETDATE(), 0, 0, 0, 0, NULL, NULL, NULL\r\n"
                               "FROM Dictation_jobs_complete DJC\r\n"
                               "WHERE source_file_purged = 0 AND eflag3 = 0\r\n"
                               " AND dictated_datetime < DATEADD(day, -7, GETDATE())\r\n"
                               " AND NOT EXISTS (SELECT * FROM Dictation_purge_queue WHERE job_id = DJC.job_id)\r\n";
    const std::vector<std::string> expected = {
        clsDictationPurgings::kLoadQuery,
        "BEGIN TRANSACTION",
        "IF EXISTS (SELECT * FROM sysobjects WHERE id = object_id('dbo.purge_dictation_jobs') AND sysstat & 0xf = 4)"
        "\r\n   DROP PROCEDURE dbo.purge_dictation_jobs",
        create,
        "GRANT EXEC ON dbo.purge_dictation_jobs TO PUBLIC",
        "COMMIT TRANSACTION",
        "SET XACT_ABORT ON\r\nBEGIN TRANSACTION\r\nDELETE FROM Dictation_purge_criteria\r\n"
        "INSERT INTO Dictation_purge_criteria VALUES('', '', -1, '', 1, 1, 7, -1, 0, 0, 0, 0, NULL, NULL, NULL, NULL)"
        "\r\nCOMMIT TRANSACTION\r\nSET XACT_ABORT OFF"};
    ASSERT_GE(h.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(h.begin(), h.begin() + static_cast<long>(expected.size())), expected);
    EXPECT_EQ(criteriaRows(), ",,-1,,1,1,7,-1,0,0,0,0,NULL,NULL,NULL,NULL,|");
    EXPECT_EQ(rows("SELECT error_code, msg1 FROM System_log"),
              "20020,Dictation purging criteria changed by user admin.,|");
    EXPECT_TRUE(recorder.shown.empty());
}

struct JobCase {
    int id;
    const char* dept;
    int workType, source, account, reportType;
    const char* dictated;
    const char* completed;
    int purged, eflag3;
    bool queued; // by the rules below with the completed date
};

// Rules: ER work types 12,15 from source 4 after 10 days; account 10 report type 3 after 20 days; an
// unrestricted rule after 90 days; the default after 40 days; an obsolete rule of source 1 after 1 day.
const JobCase kJobs[] = {
    {1, "ER", 12, 4, 20, 1, "2026-11-01", "2026-11-20", 0, 0, true},   // ER rule: 15 days old
    {2, "ER", 12, 4, 20, 1, "2026-11-01", "2026-11-30", 0, 0, false},  // ER rule: 5 days old
    {3, "ER", 13, 4, 20, 1, "2026-11-01", "2026-11-20", 0, 0, false},  // other work type: default, 15 days
    {4, "ER", 12, 5, 20, 1, "2026-11-01", "2026-11-20", 0, 0, false},  // other source: default
    {5, "ER", 15, 4, 20, 1, "2026-11-01", "2026-11-20", 1, 0, false},  // already purged
    {6, "ER", 15, 4, 20, 1, "2026-11-01", "2026-11-20", 0, 1, false},  // eflag3 set
    {7, nullptr, 1, 6, 10, 3, "2026-10-01", "2026-11-10", 0, 0, true}, // account rule: 25 days
    {8, nullptr, 1, 6, 10, 4, "2026-10-01", "2026-11-10", 0, 0, false},
    {9, nullptr, 1, 6, 20, 4, "2026-01-01", "2026-10-20", 0, 0, true},   // default: 46 days
    {10, nullptr, 1, 1, 20, 4, "2026-01-01", "2026-12-01", 0, 0, false}, // the obsolete rule is gone
    {11, "ICU", 1, 4, 20, 4, "2026-01-01", "2026-08-01", 0, 0, true},    // older than the unrestricted rule
    {12, "ER", 12, 4, 20, 1, "2026-01-01", "2026-10-01", 0, 0, false},   // queued before
};

TEST_F(DictationPurging, TheProcedureQueuesEachRulesJobsOnceAndTheSecondSaveRecreatesIt) {
    exec("DELETE FROM Dictation_purge_criteria\n"
         "INSERT Dictation_purge_criteria VALUES ('', '', -1, '', 0, 1, 40, -1, 0, 0, 0, 0, NULL, NULL, NULL, NULL)\n"
         "INSERT Dictation_purge_criteria VALUES ('', '', -1, '', 0, 0, 1, 1, 0, 0, 0, 0, NULL, NULL, NULL, NULL)\n"
         "INSERT Dictation_purge_criteria VALUES ('ER', '12,15', -1, '', 0, 0, 10, 4, 5, 6, 7, 8, 'x', NULL, NULL, "
         "NULL)\n"
         "INSERT Dictation_purge_criteria VALUES ('', '', 10, '3', 0, 0, 20, -1, 0, 0, 0, 0, NULL, NULL, NULL, NULL)\n"
         "INSERT Dictation_purge_criteria VALUES ('', '', -1, '', 0, 0, 90, -1, 0, 0, 0, 0, NULL, NULL, NULL, NULL)\n"
         "INSERT Dictation_purge_queue (job_id, queue_datetime) VALUES (12, '2026-10-30')");
    for (const auto& j : kJobs)
        job(j.id, j.dept, j.workType, j.source, j.account, j.reportType, j.dictated, j.completed, j.purged, j.eflag3);
    clsDictationPurgings p;
    ASSERT_TRUE(p.Load());
    ASSERT_EQ(p.items.size(), 5u);
    EXPECT_TRUE(p.items.back().IsDefault());
    EXPECT_EQ(p.ObsoleteWarning(login),
              "Warning:  The following purge criteria no longer have a valid or current source type.\n\n"
              "Purge after 1 day with any account from SpeechMagic\n"
              "\nUnless explicitly edited, these criteria will be removed upon saving.");
    ASSERT_TRUE(p.Save(0, "admin"));
    const std::string create = DatabaseSession::instance().history.at(3);
    // The default excludes each other kept rule's jobs, but not the unrestricted rule's empty clause.
    EXPECT_NE(create.find(" AND NOT (source_type = 4\r\n AND source_department = 'ER'\r\n AND source_work_type IN "
                          "(12,15)\r\n)\r\n AND NOT (initial_hosp_acct_id = 10\r\n AND initial_report_type_nbr IN "
                          "(3)\r\n)\r\n"),
              std::string::npos);
    EXPECT_EQ(create.find("source_type = 1"), std::string::npos);
    EXPECT_EQ(create.find("AND \r\n"), std::string::npos);
    EXPECT_EQ(criteriaRows(), "ER,12,15,-1,,0,0,10,4,5,6,7,8,NULL,NULL,NULL,NULL,|"
                              ",,10,3,0,0,20,-1,0,0,0,0,NULL,NULL,NULL,NULL,|"
                              ",,-1,,0,0,90,-1,0,0,0,0,NULL,NULL,NULL,NULL,|"
                              ",,-1,,0,1,40,-1,0,0,0,0,NULL,NULL,NULL,NULL,|");
    ASSERT_EQ(exec("EXEC purge_dictation_jobs").rc(), SQL_SUCCESS);
    std::string expected;
    for (const auto& j : kJobs)
        if (j.queued || j.id == 12)
            expected += std::to_string(j.id) + " ";
    EXPECT_EQ(queued(), expected);
    exec("EXEC purge_dictation_jobs");
    EXPECT_EQ(queued(), expected); // nothing twice

    // The second save drops the procedure and creates it again, here on the dictated date and a
    // default of 1 day: every waiting job is now old enough.
    exec("DELETE FROM Dictation_purge_queue");
    p.items.back().m_nbr_days = 1;
    ASSERT_TRUE(p.Save(1, "admin"));
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM sysobjects WHERE name = 'purge_dictation_jobs' AND sysstat & 0xf = 4"), "1");
    ASSERT_EQ(exec("EXEC purge_dictation_jobs").rc(), SQL_SUCCESS);
    EXPECT_EQ(queued(), "1 2 3 4 7 8 9 10 11 12 ");
    EXPECT_EQ(scalar("SELECT COUNT(DISTINCT date_type) FROM Dictation_purge_criteria"), "1");
}

TEST_F(DictationPurging, NullDepartmentsAndAnApostropheInADepartmentReachTheProcedure) {
    clsDictationPurgings p;
    ASSERT_TRUE(p.Load());
    p.items.insert(p.items.begin(), criterion(-1, "St. Mary's \xC3\x89", "", -1, "", 3));
    job(1, "St. Mary's \xC3\x89", 1, 4, 20, 1, "2026-11-01", "2026-11-20");
    job(2, nullptr, 1, 4, 20, 1, "2026-11-01", "2026-11-20");
    ASSERT_TRUE(p.Save(0, "admin"));
    EXPECT_EQ(rows("SELECT source_department FROM Dictation_purge_criteria WHERE default_criteria = 0"),
              "St. Mary's \xC3\x89,|");
    ASSERT_EQ(exec("EXEC purge_dictation_jobs").rc(), SQL_SUCCESS);
    // A job without a department is not one the default takes: NOT (source_department = '…') is
    // unknown for it, as on any SQL Server.
    EXPECT_EQ(queued(), "1 ");
}

struct FailCase {
    const char* name;
    const char* arrangeBefore; // a statement starting with this text gets the fault line
    const char* fault;
    bool tableNamedLikeTheProcedure;
    bool procedureKept; // the regeneration failed, so the procedure saved before still runs
};

const FailCase kFailures[] = {
    {"CREATE refused: an object of that name", nullptr, nullptr, true, false},
    {"GRANT refused", "BEGIN TRANSACTION", "fail-text GRANT EXEC", false, true},
    {"link lost at CREATE, the retry finds the old procedure", "CREATE PROCEDURE", "drop-link 1", false, true},
    {"link lost in the criteria batch and on its retry", "SET XACT_ABORT ON", "drop-link-after 3\ndrop-link 1", false,
     false},
};

TEST_F(DictationPurging, AFailedSaveShowsTheMessageAndLeavesCriteriaAndProcedureAsTheyWere) {
    auto& s = DatabaseSession::instance();
    for (const auto& c : kFailures) {
        SCOPED_TRACE(c.name);
        clsDictationPurgings p;
        ASSERT_TRUE(p.Load());
        p.items.back().m_nbr_days = 5;
        if (c.tableNamedLikeTheProcedure)
            exec("CREATE TABLE purge_dictation_jobs (x int)");
        else
            ASSERT_TRUE(p.Save(0, "admin")); // a procedure of 5 days to keep
        const std::string before = criteriaRows();
        exec("DELETE FROM System_log");
        p.items.back().m_nbr_days = 60;
        p.items.insert(p.items.begin(), criterion(-1, "ER", "", -1, "", 3));
        recorder.shown.clear();
        s.traceHook = [&](int mode) {
            if (mode == 0 && c.arrangeBefore && s.SQLStatement.rfind(c.arrangeBefore, 0) == 0) {
                odbc.arrangeFault("KALDRA", c.fault);
                s.traceHook = nullptr;
            }
        };
        EXPECT_FALSE(p.Save(1, "admin"));
        s.traceHook = nullptr;
        ASSERT_FALSE(recorder.shown.empty());
        EXPECT_EQ(recorder.shown.back().text, clsDictationPurgings::kSaveFailedMessage);
        EXPECT_EQ(recorder.shown.back().icon, platform::MsgIcon::Exclamation);
        EXPECT_EQ(criteriaRows(), before);
        EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_log"), "0");
        EXPECT_EQ(scalar("SELECT @@TRANCOUNT"), "0");
        if (c.procedureKept) {
            // The procedure kept is the one saved before: 5 days on the completed date.
            // Run on the session's own connection, whose procedure catalog must follow the rollback.
            job(1, "X", 1, 4, 20, 1, "2026-12-04", "2026-11-20");
            ASSERT_TRUE(s.RunStatement("EXEC purge_dictation_jobs"));
            EXPECT_EQ(queued(), "1 ");
            exec("DELETE FROM Dictation_purge_queue\nDELETE FROM Dictation_jobs_complete");
        }
        if (c.tableNamedLikeTheProcedure)
            exec("DROP TABLE purge_dictation_jobs");
    }
}

} // namespace

namespace {

TEST_F(DictationPurging, TheDryRunCountsEachUnsavedRulesJobsAsTheProcedureWouldAndKeepsNothing) {
    exec("DELETE FROM Dictation_purge_criteria\n"
         "INSERT Dictation_purge_criteria VALUES ('', '', -1, '', 0, 1, 40, -1, 0, 0, 0, 0, NULL, NULL, NULL, NULL)\n"
         "INSERT Dictation_purge_criteria VALUES ('', '', -1, '', 0, 0, 1, 1, 0, 0, 0, 0, NULL, NULL, NULL, NULL)\n"
         "INSERT Dictation_purge_criteria VALUES ('ER', '12,15', -1, '', 0, 0, 10, 4, 0, 0, 0, 0, NULL, NULL, NULL, "
         "NULL)\n"
         "INSERT Dictation_purge_criteria VALUES ('', '', 10, '3', 0, 0, 20, -1, 0, 0, 0, 0, NULL, NULL, NULL, NULL)\n"
         "INSERT Dictation_purge_criteria VALUES ('', '', -1, '', 0, 0, 90, -1, 0, 0, 0, 0, NULL, NULL, NULL, NULL)\n"
         "INSERT Dictation_purge_queue (job_id, queue_datetime) VALUES (12, '2026-10-30')");
    for (const auto& j : kJobs)
        job(j.id, j.dept, j.workType, j.source, j.account, j.reportType, j.dictated, j.completed, j.purged, j.eflag3);
    clsDictationPurgings p;
    ASSERT_TRUE(p.Load());
    auto countOf = [&](const std::vector<long>& counts, auto pick) {
        for (size_t i = 0; i < p.items.size(); ++i)
            if (pick(p.items[i]))
                return counts[i];
        ADD_FAILURE() << "no such rule";
        return -2L;
    };
    auto er = [](const clsDictationPurging& c) { return c.m_source_department == "ER"; };
    auto account = [](const clsDictationPurging& c) { return c.m_hosp_acct_id == 10; };
    auto obsolete = [](const clsDictationPurging& c) { return c.IsObsolete(); };
    const auto counts = p.DryRun();
    ASSERT_TRUE(counts.has_value());
    ASSERT_EQ(counts->size(), p.items.size());
    EXPECT_EQ(countOf(*counts, er), 1);
    EXPECT_EQ(countOf(*counts, account), 1);
    EXPECT_EQ(countOf(*counts, obsolete), -1);
    long total = 0;
    for (long c : *counts)
        total += c > 0 ? c : 0;
    EXPECT_EQ(total, 4); // jobs 1, 7, 9 and 11, as the procedure queues them
    EXPECT_EQ(queued(), "12 ");
    EXPECT_EQ(scalar("SELECT @@TRANCOUNT"), "0");

    // An unsaved change counts at once: at 30 days the ER rule's job is too young, and the default
    // leaves it to that rule.
    for (auto& c : p.items)
        if (er(c))
            c.m_nbr_days = 30;
    const auto changed = p.DryRun();
    ASSERT_TRUE(changed.has_value());
    EXPECT_EQ(countOf(*changed, er), 0);
    EXPECT_EQ(queued(), "12 ");

    // The procedure, saved and run, queues what the dry run counted.
    ASSERT_TRUE(p.Save(0, "admin"));
    ASSERT_EQ(exec("EXEC purge_dictation_jobs").rc(), SQL_SUCCESS);
    EXPECT_EQ(queued(), "7 9 11 12 ");

    // A link lost in the middle: no counts, and nothing of the inserts is kept.
    exec("DELETE FROM Dictation_purge_queue WHERE job_id <> 12");
    odbc.arrangeFault("KALDRA", "drop-link-after 6\ndrop-link-after 6");
    EXPECT_FALSE(p.DryRun().has_value());
    EXPECT_EQ(queued(), "12 ");
}

} // namespace
