#include "DatabaseSession.h"
#include "MessageService.h"
#include "OdbcFixture.h"
#include "SessionHelper.h"
#include "clsOutputLog.h"
#include "clsOutputReportsCfg.h"

#include <algorithm>

using namespace outputlog;
using foundation::DatabaseSession;
using platform::MessageRecorder;

namespace {

class OutputLogTest : public kdtest::SuiteTest {
protected:
    void SetUp() override {
        SuiteTest::SetUp();
        exec("INSERT Account_info (hosp_acct_id, hosp_acct_name, partition_id) VALUES (1, 'North General', 0)\n"
             "INSERT Account_info (hosp_acct_id, hosp_acct_name, partition_id) VALUES (2, 'Lakeside', 0)\n"
             "INSERT Account_info (hosp_acct_id, hosp_acct_name, partition_id) VALUES (3, 'Elsewhere', 0)\n"
             "INSERT Batch_cfg (hosp_acct_id, batch_name, batch_nbr, batch_type) VALUES (1, 'Night Print', 4, 1)\n"
             "INSERT Batch_groups_cfg (hosp_acct_id, batch_nbr, group_nbr, group_name) VALUES (1, 4, 2, 'Wards')");
        document(1, 1, 3, "2026-03-10 09:00", "2026-03-11 10:00", 0, 1, "'2026-03-11 12:00'", "O'Brien");
        document(2, 2, 3, "2026-03-12 09:00", "2026-03-12 15:00", 0, 0, "NULL", "Lopez");
        document(3, 1, 5, "2026-03-12 10:00", "NULL", 0, 0, "NULL", "Chen");
        document(4, 1, 5, "2026-03-12 11:00", "NULL", 1, 0, "NULL", "Suspended");
        document(5, 1, 5, "2026-03-12 12:00", "NULL", 0, 1, "'2026-03-12 13:00'", "Processed");
        document(6, 3, 3, "2026-03-12 12:00", "NULL", 0, 0, "NULL", "Other Partition");
        output(101, 1, 1, 1, 10, 0, "'2026-03-12 08:00'", "2026-03-11 12:00", "NULL", "'MRLASER'", 0,
               "'2026-03-11 12:00'");
        output(102, 1, 1, 8, 34, 4, "'2026-03-12 09:00'", "2026-03-12 08:30", "'5075550141'", "NULL");
        output(103, 1, 1, 14, 54, 0, "NULL", "2026-03-12 10:00", "NULL", "'rec@example.org'");
        output(104, 2, 2, 3, 20, 0, "'2026-03-13 08:00'", "2026-03-12 16:00", "NULL", "'WARDPRN'");
        output(105, 2, 2, 201, 82, 0, "'2026-03-13 09:00'", "2026-03-12 16:00", "NULL", "NULL");
        output(106, 2, 2, 8, 36, 0, "'2026-03-13 10:00'", "2026-03-12 16:00", "'12'", "NULL");
        output(107, 1, 1, 4, 23, 0, "'2026-03-14 08:00'", "2026-03-12 16:00", "NULL", "'WARDPRN'");
        output(108, 2, 2, 5, 11, 0, "NULL", "2026-03-12 17:00", "'5075550199'", "NULL");
        output(109, 5, 1, 1, 10, 0, "'2026-03-12 14:00'", "2026-03-12 13:00", "NULL", "'MRLASER'", 1,
               "'2026-03-12 13:00'");
        output(110, 6, 3, 8, 34, 1, "'2026-03-12 09:00'", "2026-03-12 08:30", "'5075550100'", "NULL");
        exec("INSERT System_log (date_timestamp, severity, type, error_code, document_id) VALUES ('2026-03-12 10:00', "
             "2, 20, 100001, 3)\n"
             "INSERT System_log (date_timestamp, severity, type, error_code, document_id) VALUES ('2026-03-12 10:00', "
             "2, 20, 100002, 3)\n"
             "INSERT System_log (date_timestamp, severity, type, error_code, document_id) VALUES ('2026-03-12 10:00', "
             "2, 20, 100001, 4)\n"
             "INSERT System_log (date_timestamp, severity, type, error_code, document_id) VALUES ('2026-03-12 10:00', "
             "2, 20, 200016, 2)\n"
             "INSERT System_log (date_timestamp, severity, type, error_code, document_id) VALUES ('2026-03-12 10:00', "
             "2, 20, 100001, 2)");
        kdtest::connectSession(odbc.folder(), "KALDRA");
    }
    void TearDown() override { DatabaseSession::instance().DisconnectFromSQL(); }

    void document(long id, long acct, int rt, const std::string& created, const std::string& transcribed,
                  int suspension, int origBatch, const std::string& origStamp, const std::string& last) {
        exec("INSERT Document_demographics (document_id, hosp_acct_id, report_type_nbr, patient_last, patient_first, "
             "physician_id, trans_id, create_date, transcribed_date, suspension_type, orig_batch_flag, "
             "orig_record_timestamp) VALUES (" +
             std::to_string(id) + ", " + std::to_string(acct) + ", " + std::to_string(rt) + ", '" +
             DatabaseSession::QuoteSQL(last) + "', 'Pat', 7, 'MJ', '" + created + "', " +
             (transcribed == "NULL" ? transcribed : "'" + transcribed + "'") + ", " + std::to_string(suspension) +
             ", " + std::to_string(origBatch) + ", " + origStamp + ")");
    }
    void output(long id, long doc, long acct, int type, int status, int error, const std::string& outputTime,
                const std::string& created, const std::string& fax, const std::string& queue, int copyFlag = 0,
                const std::string& record = "NULL") {
        exec("INSERT Output_queue (output_identifier, document_id, hosp_acct_id, physician_id, trans_id, create_date, "
             "output_type, flag1, output_time, known_status, error_code, batch_nbr, group_nbr, print_queue, fax_nbr, "
             "sent_by_name, record_timestamp, output_create_timestamp, copy_flag, flag3) VALUES (" +
             std::to_string(id) + ", " + std::to_string(doc) + ", " + std::to_string(acct) +
             ", 7, 'MJ', '2026-03-10 09:00', " + std::to_string(type) + ", 0, " + outputTime + ", " +
             std::to_string(status) + ", " + std::to_string(error) + ", 4, 2, " + queue + ", " + fax +
             ", '12^Smith', " + record + ", '" + created + "', " + std::to_string(copyFlag) + ", 0)");
    }

    static OutputQueryOptions options(OutputFilter filter, long account, DateType type) {
        OutputQueryOptions o;
        o.m_enuFilter = filter;
        o.m_lngAccount = account;
        o.m_colPartitionAccounts = {1, 2};
        o.m_enuDateType = type;
        o.m_dtmStart = {2026, 3, 1, 0, 0};
        o.m_dtmEnd = {2026, 3, 31, 23, 59};
        o.m_intLimit = kAllRecords;
        return o;
    }
    static std::vector<long> ids(const clsOutputLog& log, bool documents = false) {
        std::vector<long> out;
        for (const auto& r : log.Rows())
            out.push_back(documents ? r.m_lngDocumentId : r.m_lngOutputId);
        std::sort(out.begin(), out.end());
        return out;
    }
    MessageRecorder recorder;
};

TEST_F(OutputLogTest, EachFilterByAccountChoice) {
    using V = std::vector<long>;
    struct Case {
        OutputFilter filter;
        long account;
        V expected;
        bool documents = false;
    } const cases[] = {
        {OutputFilter::All, -1, {101, 102, 103, 104, 105, 106, 107, 108, 109}},
        {OutputFilter::All, 1, {101, 102, 103, 107, 109}},
        {OutputFilter::All, 3, {110}},
        {OutputFilter::OnlinePrinted, -1, {104, 107}},
        {OutputFilter::BatchOutputs, 1, {101, 109}},
        {OutputFilter::BatchOutputs, 2, {}},
        {OutputFilter::FaxOutputs, -1, {102, 106, 108}},
        {OutputFilter::FaxErrors, -1, {102, 106}},
        {OutputFilter::FaxErrors, 2, {106}},
        {OutputFilter::ExternalOutputs, -1, {105}},
        {OutputFilter::ExternalErrors, -1, {105}},
        {OutputFilter::EmailOutputs, -1, {103}},
        {OutputFilter::AllFailures, -1, {102, 103, 105, 106, 107}},
        {OutputFilter::BatchOriginalsUnprocessed, -1, {1}, true},
        {OutputFilter::BatchOriginalsUnprocessed, 2, {}, true},
        {OutputFilter::NoOutputs, -1, {3}, true},
        {OutputFilter::NoOutputs, 2, {}, true},
    };
    for (const auto& c : cases) {
        clsOutputLog log;
        ASSERT_TRUE(log.Load(options(c.filter, c.account, DateType::Dictated)));
        EXPECT_EQ(ids(log, c.documents), c.expected)
            << OutputFilterNames()[static_cast<int>(c.filter)] << " account " << c.account;
    }
    EXPECT_TRUE(recorder.shown.empty());
}

TEST_F(OutputLogTest, DateTypesChooseTheirColumn) {
    using V = std::vector<long>;
    struct Case {
        DateType type;
        LogDateTime from, to;
        V expected;
    } const cases[] = {
        // Dictated on the 10th: document 1's outputs only.
        {DateType::Dictated, {2026, 3, 10, 0, 0}, {2026, 3, 10, 23, 59}, {101, 102, 103, 107}},
        {DateType::Transcribed, {2026, 3, 12, 12, 0}, {2026, 3, 12, 15, 0}, {104, 105, 106, 108}},
        {DateType::Transcribed, {2026, 3, 12, 12, 0}, {2026, 3, 12, 14, 59}, {}},
        // Output time on the 12th, or the creation time for outputs without one (103, 108).
        {DateType::Output, {2026, 3, 12, 0, 0}, {2026, 3, 12, 23, 59}, {101, 102, 103, 108, 109}},
        {DateType::Output, {2026, 3, 12, 9, 0}, {2026, 3, 12, 10, 0}, {102, 103}},
        {DateType::Output, {2026, 3, 13, 0, 0}, {2026, 3, 13, 9, 0}, {104, 105}},
    };
    for (const auto& c : cases) {
        OutputQueryOptions o = options(OutputFilter::All, -1, c.type);
        o.m_dtmStart = c.from;
        o.m_dtmEnd = c.to;
        clsOutputLog log;
        ASSERT_TRUE(log.Load(o));
        EXPECT_EQ(ids(log), c.expected) << DateTypeHeading(c.type) << " " << UsDateTime(c.from);
    }
}

TEST_F(OutputLogTest, RowsCarryNamesAndTheLimitIsSetBack) {
    OutputQueryOptions o = options(OutputFilter::BatchOutputs, 1, DateType::Dictated);
    clsOutputLog log;
    ASSERT_TRUE(log.Load(o));
    ASSERT_EQ(log.Rows().size(), 2u);
    const OutputRow& r = log.Rows().back(); // oldest creation last
    EXPECT_EQ(r.m_lngOutputId, 101);
    EXPECT_EQ(r.m_strAccountName, "North General");
    EXPECT_EQ(r.m_strBatchName, "Night Print");
    EXPECT_EQ(r.m_strGroupName, "Wards");
    EXPECT_EQ(r.m_strLastName, "");
    EXPECT_EQ(r.m_strSentByName, "12^Smith");
    EXPECT_EQ(r.m_strPrintQueue, "MRLASER");

    o = options(OutputFilter::All, -1, DateType::Dictated);
    o.m_intLimit = 2;
    ASSERT_TRUE(log.Load(o));
    EXPECT_EQ(log.Rows().size(), 2u);
    EXPECT_NE(DatabaseSession::instance().history.back().find("SET ROWCOUNT 0"), std::string::npos);
    EXPECT_EQ(kdtest::sessionScalar(DatabaseSession::instance(), "SELECT COUNT(*) FROM Output_queue"), "10");
}

TEST_F(OutputLogTest, CriteriaWithQuotesAndNumbers) {
    OutputQueryOptions o = options(OutputFilter::All, -1, DateType::Dictated);
    o.m_colCriteria = {{"Patient Last Name", "dd.patient_last", 0, "", "O'Br"}};
    clsOutputLog log;
    ASSERT_TRUE(log.Load(o));
    EXPECT_EQ(ids(log), (std::vector<long>{101, 102, 103, 107}));
    o.m_colCriteria = {{"Report Type", "dd.report_type_nbr", 7, "", "5"}};
    ASSERT_TRUE(log.Load(o));
    EXPECT_EQ(ids(log), (std::vector<long>{109}));
    o.m_colCriteria = {{"Patient Last Name", "dd.patient_last", 0, "", std::string(10000, '\'')}};
    ASSERT_TRUE(log.Load(o));
    EXPECT_TRUE(log.Rows().empty());
    EXPECT_TRUE(recorder.shown.empty());
}

TEST_F(OutputLogTest, AFailedQueryShowsItsMessageAndAnEmptyList) {
    clsOutputLog log;
    ASSERT_TRUE(log.Load(options(OutputFilter::All, -1, DateType::Dictated)));
    ASSERT_FALSE(log.Rows().empty());
    exec("DROP TABLE Batch_groups_cfg");
    EXPECT_FALSE(log.Load(options(OutputFilter::All, -1, DateType::Dictated)));
    EXPECT_TRUE(log.Rows().empty());
    ASSERT_FALSE(recorder.shown.empty());
    EXPECT_EQ(recorder.shown.back().text, "Error encountered retrieving the outputs.");
    EXPECT_EQ(kdtest::sessionScalar(DatabaseSession::instance(), "SELECT COUNT(*) FROM Output_queue"), "10");
}

TEST_F(OutputLogTest, PerUserFiltersAreRewrittenWhole) {
    clsOutputReportsCfg cfg;
    EXPECT_FALSE(cfg.Read(42));
    cfg.m_lngAccount = 2;
    cfg.m_lngReportType = 3;
    cfg.m_intFilter = 5;
    cfg.m_intDateType = 0;
    cfg.m_intLimit = 25;
    cfg.m_blnHasDates = true;
    cfg.m_dtmStart = {2026, 3, 1, 0, 0};
    cfg.m_dtmEnd = {2026, 3, 2, 12, 0};
    cfg.m_colCriterionFields = {2, 0, 0, 1};
    ASSERT_TRUE(cfg.Write(42));
    cfg.m_intFilter = 6;
    ASSERT_TRUE(cfg.Write(42));
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Output_reports_cfg WHERE user_id = 42"), "1");
    clsOutputReportsCfg back;
    ASSERT_TRUE(back.Read(42));
    EXPECT_EQ(back.m_lngAccount, 2);
    EXPECT_EQ(back.m_lngReportType, 3);
    EXPECT_EQ(back.m_intFilter, 6);
    EXPECT_EQ(back.m_intDateType, 0);
    EXPECT_EQ(back.m_intLimit, 25);
    ASSERT_TRUE(back.m_blnHasDates);
    EXPECT_EQ(UsDateTime(back.m_dtmEnd), "03/02/2026 12:00 PM");
    EXPECT_EQ(back.m_colCriterionFields, (std::vector<long>{2, 0, 0, 1}));

    exec("DROP TABLE Output_reports_cfg");
    EXPECT_FALSE(cfg.Write(42));
    EXPECT_EQ(recorder.shown.back().text, "Error encountered accessing the Output_reports_cfg database table.");
}

} // namespace
