#include "DemoSite.h"
#include "MessageService.h"
#include "OdbcFixture.h"
#include "SiteSession.h"
#include "clsDictationPurgings.h"

#include <cstdio>
#include <filesystem>

using foundation::DatabaseSession;
namespace fs = std::filesystem;

namespace {

struct CommandRun {
    int status = -1;
    std::string output;
};

// The real kdsite binary, as the dictation processor's pass would be started on the site, with the
// site's own ODBC files (not the test's).
CommandRun runKdsite(const std::string& arguments) {
    CommandRun run;
    const std::string command = "env -u ODBCSYSINI '" KD_KDSITE_PATH "' " + arguments + " 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return run;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe))
        run.output += buffer;
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::string queuedJobIds() {
    auto& s = DatabaseSession::instance();
    s.SQLStatement = "SELECT job_id FROM Dictation_purge_queue ORDER BY job_id";
    std::string ids;
    if (s.ExecSQL() != 1)
        return "<failed>";
    while (s.FetchRow() == 1)
        ids += s.GetColumnText(1, 1) + " ";
    return ids;
}

} // namespace

// The demo's criteria are saved through the console's record, which writes the procedure on the
// site's database; kdsite then runs it as the dictation processor would, and the queue fills with
// exactly the jobs the rules select.
TEST(DictationPurgeCommand, KdsiteRunsTheSavedProcedureOnTheSiteAndTheQueueFills) {
    kdtest::OdbcEnvironment odbcConfig;
    char pattern[] = "/tmp/kdpurgecmd-XXXXXX";
    const std::string folder = ::mkdtemp(pattern), site = folder + "/site";
    demo::createDemoSite(site, KD_DRIVER_PATH);
    ASSERT_TRUE(kdtest::connectSiteSession(site));
    auto& s = DatabaseSession::instance();

    // Before any save the site has no procedure: the command says so and fails.
    CommandRun run = runKdsite("purge-dictation '" + site + "'");
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_NE(run.output.find("has no dbo.purge_dictation_jobs"), std::string::npos) << run.output;

    // Beside the demo's jobs 1 (Radiology, 20 days: the 14-day rule) and 2 (account 9 type 2, 69 days:
    // the 60-day rule): one too recent for the default's 30 days, one purged, one held by eflag3, one
    // old enough for the default, one already queued.
    s.SQLStatement = "INSERT Dictation_jobs_complete VALUES (3, 'Radiology', 5, 4, 2, 5, DATEADD(day, -9, GETDATE()), "
                     "DATEADD(day, -9, GETDATE()), 0, 0, 2, 5)\r\n"
                     "INSERT Dictation_jobs_complete VALUES (4, 'ICU', 1, 4, 1, 1, DATEADD(day, -90, GETDATE()), "
                     "DATEADD(day, -90, GETDATE()), 1, 0, 1, 1)\r\n"
                     "INSERT Dictation_jobs_complete VALUES (5, 'ICU', 1, 4, 1, 1, DATEADD(day, -90, GETDATE()), "
                     "DATEADD(day, -90, GETDATE()), 0, 1, 1, 1)\r\n"
                     "INSERT Dictation_jobs_complete VALUES (6, 'ICU', 1, 4, 1, 1, DATEADD(day, -31, GETDATE()), "
                     "DATEADD(day, -31, GETDATE()), 0, 0, 1, 1)\r\n"
                     "INSERT Dictation_jobs_complete VALUES (7, 'ICU', 1, 4, 1, 1, DATEADD(day, -40, GETDATE()), "
                     "DATEADD(day, -40, GETDATE()), 0, 0, 1, 1)\r\n"
                     "INSERT Dictation_purge_queue VALUES (7, GETDATE(), 0, 0, 0, 0, NULL, NULL, NULL)";
    ASSERT_EQ(s.ExecSQL(), 1);

    platform::MessageRecorder messages;
    maintenance::clsDictationPurgings purgings;
    ASSERT_TRUE(purgings.Load());
    ASSERT_EQ(purgings.items.size(), 3u);
    ASSERT_TRUE(purgings.Save(0, "ADMINISTRATOR"));
    EXPECT_TRUE(messages.shown.empty());

    run = runKdsite("purge-dictation '" + site + "'");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output, "Dictation purging: 3 completed jobs queued; the purge queue holds 4.\n");
    EXPECT_EQ(queuedJobIds(), "1 2 6 7 ");

    // The next pass finds every eligible job queued already.
    run = runKdsite("purge-dictation '" + site + "'");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output, "Dictation purging: 0 completed jobs queued; the purge queue holds 4.\n");

    s.DisconnectFromSQL();
    fs::remove_all(folder);
}

// The demo made by kdsite shows a site that has run a while: its criteria saved through the console's
// record (procedure written, change logged) and the dictation processor's pass run once.
TEST(DictationPurgeCommand, TheDemoComesWithItsProcedureAndAFilledQueue) {
    kdtest::OdbcEnvironment odbcConfig;
    char pattern[] = "/tmp/kdpurgedemo-XXXXXX";
    const std::string folder = ::mkdtemp(pattern), site = folder + "/site";
    const CommandRun made = runKdsite("demo '" + site + "' '" KD_DRIVER_PATH "' --no-speech");
    ASSERT_EQ(made.status, 0) << made.output;
    EXPECT_NE(made.output.find("Dictation purging: 2 completed jobs queued; the purge queue holds 2."),
              std::string::npos)
        << made.output;
    ASSERT_TRUE(kdtest::connectSiteSession(site));
    auto& s = DatabaseSession::instance();
    EXPECT_EQ(queuedJobIds(), "1 2 ");
    EXPECT_EQ(kdtest::sessionScalar(s, "SELECT COUNT(*) FROM sysobjects WHERE id = "
                                       "object_id('dbo.purge_dictation_jobs') AND sysstat & 0xf = 4"),
              "1");
    EXPECT_EQ(kdtest::sessionScalar(s, "SELECT COUNT(*) FROM System_log WHERE msg1 = "
                                       "'Dictation purging criteria changed by user ADMINISTRATOR.'"),
              "1");
    EXPECT_EQ(kdtest::sessionScalar(s, "SELECT COUNT(*) FROM Dictation_purge_criteria"), "3");
    s.DisconnectFromSQL();
    fs::remove_all(folder);
}
