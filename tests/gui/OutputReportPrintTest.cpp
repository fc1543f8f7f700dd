#include "DatabaseSession.h"
#include "MessageService.h"
#include "OR_Log_List.h"
#include "OdbcFixture.h"
#include "SessionHelper.h"

#include <QComboBox>
#include <QDateEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <array>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

using namespace outputlog;
using foundation::DatabaseSession;
using platform::MessageRecorder;
using platform::MsgAnswer;

namespace {

namespace fs = std::filesystem;

std::string run(const std::string& command) {
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        std::array<char, 4096> buffer{};
        while (size_t n = fread(buffer.data(), 1, buffer.size(), p))
            out.append(buffer.data(), n);
        pclose(p);
    }
    return out;
}

// A CUPS scheduler of the test's own: a temporary configuration, its own socket (CUPS_SERVER) and
// file-device queues whose output lands in the folder.
class PrivateCups {
public:
    explicit PrivateCups(const std::string& folder) : m_folder(folder) {
        for (const char* d : {"spool", "cache", "log", "state", "out"})
            fs::create_directories(m_folder + "/" + d);
        std::ofstream(m_folder + "/cupsd.conf") << "Listen " << socket() << "\nLogLevel warn\n"
                                                << "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n";
        std::ofstream(m_folder + "/cups-files.conf")
            << "FileDevice Yes\nServerRoot " << m_folder << "\nRequestRoot " << m_folder << "/spool\nCacheDir "
            << m_folder << "/cache\nStateDir " << m_folder << "/state\nTempDir " << m_folder << "/spool\nErrorLog "
            << m_folder << "/log/error_log\nAccessLog " << m_folder << "/log/access_log\nPageLog " << m_folder
            << "/log/page_log\nSandboxing Relaxed\n";
        // The scheduler drops to the lp user when started as root; it must be able to write there.
        if (geteuid() == 0)
            run("chown -R lp " + m_folder);
        const std::string conf = m_folder + "/cupsd.conf", files = m_folder + "/cups-files.conf";
        char* argv[] = {const_cast<char*>("cupsd"),
                        const_cast<char*>("-f"),
                        const_cast<char*>("-c"),
                        const_cast<char*>(conf.c_str()),
                        const_cast<char*>("-s"),
                        const_cast<char*>(files.c_str()),
                        nullptr};
        if (posix_spawn(&m_pid, "/usr/sbin/cupsd", nullptr, nullptr, argv, environ) != 0)
            m_pid = 0;
        setenv("CUPS_SERVER", socket().c_str(), 1);
        for (int i = 0; i < 100 && m_pid && !ready(); ++i)
            usleep(50000);
    }
    ~PrivateCups() {
        if (m_pid) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
        }
        unsetenv("CUPS_SERVER");
    }
    [[nodiscard]] bool ready() const { return run("lpstat -r 2>&1").find("is running") != std::string::npos; }
    [[nodiscard]] std::string socket() const { return m_folder + "/cups.sock"; }

private:
    std::string m_folder;
    pid_t m_pid = 0;
};

class OutputReportPrint : public kdtest::SuiteTest {
protected:
    void SetUp() override {
        if (!fs::exists("/usr/sbin/cupsd") || !fs::exists("/usr/bin/pdftotext"))
            GTEST_SKIP() << "cups-daemon or poppler-utils missing: run tools/bootstrap";
        SuiteTest::SetUp();
        exec("INSERT Account_info (hosp_acct_id, hosp_acct_name, partition_id) VALUES (1, 'North General', 0)\n"
             "INSERT Document_demographics (document_id, hosp_acct_id, report_type_nbr, patient_last, physician_id, "
             "trans_id, create_date) VALUES (1, 1, 3, 'Olsen', 7, 'MJ', '2026-03-10 09:00')\n"
             "DECLARE @n int\nSET @n = 0\nWHILE @n < 2000\nBEGIN\n"
             "INSERT Output_queue (output_identifier, document_id, hosp_acct_id, output_type, known_status, "
             "error_code, last_name, fax_nbr, output_time, output_create_timestamp) VALUES (1000 + @n, 1, 1, 8, 34, "
             "4, 'Row' + CONVERT(varchar, 1000 + @n), '5075550141', '2026-03-11 09:00', '2026-03-11 09:00')\n"
             "SET @n = @n + 1\nEND");
        kdtest::connectSession(odbc.folder(), "KALDRA");
    }
    void TearDown() override { DatabaseSession::instance().DisconnectFromSQL(); }
    static OutputLogContext context() {
        OutputLogContext c;
        c.m_colAccounts = {{1, "North General", {}}};
        c.m_udtUser = {12, "Smith"};
        c.m_blnMayResend = true;
        return c;
    }
    MessageRecorder recorder;
};

TEST_F(OutputReportPrint, NoQueueGivesItsMessage) {
    PrivateCups cups(odbc.folder() + "/cups");
    ASSERT_TRUE(cups.ready());
    OR_Log_List s(context());
    recorder.answer(MsgAnswer::No);
    QTest::mouseClick(s.findChild<QPushButton*>("HPrint"), Qt::LeftButton);
    ASSERT_EQ(recorder.shown.size(), 2u);
    EXPECT_EQ(recorder.shown[0].text, "Preview report before printing?");
    EXPECT_EQ(recorder.shown[0].title, "Preview Report");
    EXPECT_EQ(recorder.shown[1].text, "There are no printers to select from.  Report can not be printed.");
    EXPECT_EQ(recorder.shown[1].title, "Error");
    EXPECT_FALSE(s.PrintReport("NO_SUCH_QUEUE"));

    s.findChild<QDateEdit*>("dtpStartDate")->setDate(QDate(2026, 3, 1));
    s.findChild<QDateEdit*>("dtpEndDate")->setDate(QDate(2026, 3, 31));
    s.findChild<QComboBox*>("cmbOutputType")->setCurrentIndex(static_cast<int>(OutputFilter::FaxErrors));
    EXPECT_EQ(s.ReportHeading(),
              "Report Of Fax Output Errors Output Create Time:  03/01/2026 12:00 AM to 03/31/2026 12:00 PM");
}

} // namespace
