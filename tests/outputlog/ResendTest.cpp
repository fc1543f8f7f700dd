#include "DatabaseSession.h"
#include "MessageService.h"
#include "OdbcFixture.h"
#include "SessionHelper.h"
#include "clsOutputLog.h"

using namespace outputlog;
using foundation::DatabaseSession;
using platform::MessageRecorder;

namespace {

class ResendTest : public kdtest::SuiteTest {
protected:
    void SetUp() override {
        SuiteTest::SetUp();
        exec("INSERT Account_info (hosp_acct_id, hosp_acct_name, partition_id) VALUES (1, 'North General', 0)\n"
             "INSERT Document_demographics (document_id, hosp_acct_id, report_type_nbr, patient_last, physician_id, "
             "trans_id, create_date) VALUES (1, 1, 3, 'Olsen', 7, 'MJ', '2026-03-10 09:00')");
        output(201, 8, 34, "'5075550141'", "NULL");
        output(202, 5, 36, "'5075550142'", "NULL");
        output(203, 14, 54, "NULL", "'rec@example.org'");
        output(204, 3, 20, "NULL", "'WARDPRN'");
        output(205, 203, 82, "NULL", "NULL");
        // The fax's attachment, which send_attachment_faxes requeues with it.
        output(206, 16, 34, "'5075550141'", "NULL");
        kdtest::connectSession(odbc.folder(), "KALDRA");
        setVersion("8.10");
        OutputQueryOptions o;
        o.m_colPartitionAccounts = {1};
        o.m_enuDateType = DateType::Dictated;
        o.m_dtmStart = {2026, 3, 1, 0, 0};
        o.m_dtmEnd = {2026, 3, 31, 0, 0};
        ASSERT_TRUE(log.Load(o));
        ASSERT_EQ(log.Rows().size(), 6u);
    }
    void TearDown() override { DatabaseSession::instance().DisconnectFromSQL(); }

    void setVersion(const std::string& version) {
        exec("UPDATE Database_version SET version = " + version);
        DatabaseSession::instance().ReadDatabaseVersion();
    }
    void output(long id, int type, int status, const std::string& fax, const std::string& queue) {
        exec("INSERT Output_queue (output_identifier, document_id, hosp_acct_id, physician_id, trans_id, create_date, "
             "output_type, known_status, error_code, print_queue, fax_nbr, fax_filename, output_time, "
             "output_create_timestamp, flag3) VALUES (" +
             std::to_string(id) + ", 1, 1, 7, 'MJ', '2026-03-10 09:00', " + std::to_string(type) + ", " +
             std::to_string(status) + ", 4, " + queue + ", " + fax + ", 'old.tif', '2026-03-12 09:00', '2026-03-12 " +
             "08:00:" + std::to_string(id % 60) + "', 0)");
    }
    size_t indexOf(long id) const {
        for (size_t i = 0; i < log.Rows().size(); ++i)
            if (log.Rows()[i].m_lngOutputId == id)
                return i;
        return SIZE_MAX;
    }
    std::string state(long id) {
        return scalar(
            "SELECT CONVERT(varchar, known_status) + '/' + CONVERT(varchar, output_type) + '/' + "
            "ISNULL(fax_nbr, '-') + '/' + ISNULL(print_queue, '-') + '/' + ISNULL(sent_by_name, '-') + '/' + "
            "CONVERT(varchar, flag3) + '/' + CONVERT(varchar, error_code) + '/' + ISNULL(fax_filename, '-') "
            "+ '/' + ISNULL(CONVERT(varchar, output_time), '-') FROM Output_queue WHERE output_identifier = " +
            std::to_string(id));
    }
    static ResendRequest request(ResendKind kind, const std::string& destination = "", bool priority = false) {
        ResendRequest r;
        r.m_enuKind = kind;
        r.m_strDestination = destination;
        r.m_blnPriority = priority;
        r.m_udtUser = {12, "O'Neill"};
        r.m_strWhen = "03/14/2026 1:05 PM";
        return r;
    }

    clsOutputLog log;
    MessageRecorder recorder;
};

TEST_F(ResendTest, EachKindIsRequeuedWithItsNewStatus) {
    struct Case {
        long id;
        ResendRequest req;
        const char* after;
    } const cases[] = {
        {201, request(ResendKind::Fax, "", true), "40/9/5075550141/-/12^O'Neill/21/0/-/-"},
        {202, request(ResendKind::Fax, "555-0100"), "40/8/555-0100/-/12^O'Neill/21/0/-/-"},
        {203, request(ResendKind::Email, "new@example.org"), "53/14/-/new@example.org/12^O'Neill/21/0/-/-"},
        {204, request(ResendKind::Online), "22/3//WARDPRN/12^O'Neill/21/0/-/-"},
        {205, request(ResendKind::External), "81/203//-/12^O'Neill/21/0/-/-"},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(log.Resend({indexOf(c.id)}, c.req), 1) << c.id;
        EXPECT_EQ(state(c.id), c.after) << c.id;
        EXPECT_TRUE(log.Rows()[indexOf(c.id)].m_blnResubmitted);
    }
    EXPECT_TRUE(recorder.shown.empty());
    EXPECT_EQ(scalar("SELECT phys_print_queue FROM Output_queue WHERE output_identifier = 203"), "new@example.org");
    // The two fax resends each wrote their log row and requeued the attachment; the upload its audit.
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_log WHERE type = 20 AND severity = 7 AND error_code = 21"), "2");
    EXPECT_EQ(scalar("SELECT msg1 FROM System_log WHERE schedule_id = 202 AND severity = 7"),
              "Fax resent to 555-0100 at 03/14/2026 1:05 PM");
    EXPECT_EQ(scalar("SELECT string1 + '/' + CONVERT(varchar, user_id) + '/' + CONVERT(varchar, hosp_acct_id) + '/' "
                     "+ CONVERT(varchar, document_id) FROM System_log WHERE schedule_id = 202 AND severity = 7"),
              "O'Neill/12/1/1");
    EXPECT_EQ(scalar("SELECT CONVERT(varchar, known_status) + fax_nbr FROM Output_queue WHERE output_identifier = 206"),
              "21555-0100");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_log WHERE schedule_id = 205 AND msg1 LIKE 'External upload%'"), "1");
}

TEST_F(ResendTest, TheFaxBatchIsTheStatementsInOrderInOneTransaction) {
    ASSERT_EQ(log.Resend({indexOf(201)}, request(ResendKind::Fax, "<Various>")), 1);
    const std::string& sent = DatabaseSession::instance().history.back();
    const size_t begin = sent.find("BEGIN TRANSACTION"), select = sent.find("SELECT @trans_id = trans_id"),
                 insert = sent.find("INSERT System_log ("), update = sent.find("UPDATE Output_queue"),
                 exec = sent.find("EXEC send_attachment_faxes 201, @trans_id, @create_date, @document_id, "
                                  "@hosp_acct_id, @physician_id, '5075550141', 'Fax resent to 5075550141 at "
                                  "03/14/2026 1:05 PM', 21"),
                 commit = sent.find("COMMIT TRANSACTION");
    EXPECT_EQ(sent.find("SET XACT_ABORT ON"), 0u);
    EXPECT_LT(begin, select);
    EXPECT_LT(select, insert);
    EXPECT_LT(insert, update);
    EXPECT_LT(update, exec);
    EXPECT_LT(exec, commit);
    EXPECT_NE(commit, std::string::npos);
    EXPECT_EQ(state(201), "40/8/5075550141/-/12^O'Neill/21/0/-/-");
}

TEST_F(ResendTest, VersionGatesTheProcedureStatusAndTheUploadAudit) {
    setVersion("5.07");
    ASSERT_EQ(log.Resend({indexOf(201)}, request(ResendKind::Fax)), 1);
    EXPECT_NE(DatabaseSession::instance().history.back().find("at 03/14/2026 1:05 PM'\r\nCOMMIT"), std::string::npos);
    setVersion("5.24");
    ASSERT_EQ(log.Resend({indexOf(205)}, request(ResendKind::External)), 1);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_log WHERE schedule_id = 205"), "0");
    setVersion("5.25");
    ASSERT_EQ(log.Resend({indexOf(205)}, request(ResendKind::External)), 1);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_log WHERE schedule_id = 205"), "1");
}

TEST_F(ResendTest, AMissingProcedureLeavesNothingOfTheRowWritten) {
    exec("DROP PROCEDURE send_attachment_faxes");
    const std::string before = state(201);
    EXPECT_EQ(log.Resend({indexOf(201), indexOf(202)}, request(ResendKind::Fax, "555-0100")), 0);
    EXPECT_EQ(state(201), before);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_log"), "0");
    EXPECT_EQ(kdtest::sessionScalar(DatabaseSession::instance(), "SELECT @@TRANCOUNT"), "0");
    ASSERT_FALSE(recorder.shown.empty());
    EXPECT_EQ(recorder.shown.back().text, "Error encountered updating the Output Queue.");
    EXPECT_EQ(recorder.shown.back().title, "Update Error");
    EXPECT_FALSE(log.Rows()[indexOf(201)].m_blnResubmitted);
    // The second row was not tried after the failure.
    EXPECT_EQ(scalar("SELECT CONVERT(varchar, known_status) FROM Output_queue WHERE output_identifier = 202"), "36");
}

TEST_F(ResendTest, ALostLinkMidResendIsRepairedAndEachRowWrittenOnce) {
    for (const char* fault : {"drop-link 1", "drop-link-after 3"}) {
        SCOPED_TRACE(fault);
        exec("DELETE System_log\nUPDATE Output_queue SET known_status = 34 WHERE output_identifier IN (201, 202)");
        for (auto& r : log.Rows())
            r.m_blnResubmitted = false;
        odbc.arrangeFault("KALDRA", fault);
        EXPECT_EQ(log.Resend({indexOf(201), indexOf(202)}, request(ResendKind::Fax, "555-0100")), 2);
        EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_log WHERE severity = 7"), "2");
        EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_log WHERE schedule_id = 201"), "1");
        EXPECT_EQ(state(201), "40/8/555-0100/-/12^O'Neill/21/0/-/-");
        EXPECT_EQ(state(202), "40/8/555-0100/-/12^O'Neill/21/0/-/-");
    }
}

TEST_F(ResendTest, CancellingStopsBeforeTheNextRow) {
    int asked = 0;
    EXPECT_EQ(log.Resend({indexOf(204), indexOf(201)}, request(ResendKind::Online), [&] { return ++asked > 1; }), 1);
    EXPECT_TRUE(log.Rows()[indexOf(204)].m_blnResubmitted);
    EXPECT_FALSE(log.Rows()[indexOf(201)].m_blnResubmitted);
}

TEST_F(ResendTest, LongAndQuotedDestinationsStayInTheirColumns) {
    std::string paste;
    for (int i = 0; i < 5000; ++i)
        paste += "\xc3\xa9'";
    ASSERT_EQ(log.Resend({indexOf(202)}, request(ResendKind::Fax, paste)), 1);
    ASSERT_EQ(log.Resend({indexOf(203)}, request(ResendKind::Email, paste)), 1);
    EXPECT_TRUE(recorder.shown.empty());
    EXPECT_EQ(scalar("SELECT CONVERT(varchar, LEN(fax_nbr)) FROM Output_queue WHERE output_identifier = 202"), "30");
    EXPECT_EQ(scalar("SELECT CONVERT(varchar, LEN(print_queue)) FROM Output_queue WHERE output_identifier = 203"),
              "100");
}

} // namespace
