// Every output type filter by account choice and date type on a generated demo site: each row the
// log returns meets the filter's condition, the account choice and the date range, and the year's
// outputs are found by every date type.

#include "DatabaseSession.h"
#include "DemoSite.h"
#include "MessageService.h"
#include "OdbcFixture.h"
#include "SiteSession.h"
#include "clsOutputLog.h"

#include <ctime>
#include <functional>

using namespace outputlog;

namespace {

constexpr int kAccounts = 20;

LogDateTime daysAgo(int days, int hour, int minute) {
    const std::time_t t = std::time(nullptr) - static_cast<std::time_t>(days) * 86400;
    const std::tm* tm = std::localtime(&t);
    return {tm->tm_year + 1900, tm->tm_mon + 1, tm->tm_mday, hour, minute};
}

bool in(int v, std::initializer_list<int> set) {
    for (int s : set)
        if (s == v)
            return true;
    return false;
}

// The condition each filter puts on an output row; document filters return documents only.
bool meets(OutputFilter f, const OutputRow& r) {
    const int t = r.m_intOutputType, k = r.m_intKnownStatus;
    switch (f) {
    case OutputFilter::All:
        return true;
    case OutputFilter::OnlinePrinted:
        return t == 3 || t == 4;
    case OutputFilter::BatchOutputs:
        return t == 1;
    case OutputFilter::FaxOutputs:
        return t == 16 || (t >= 5 && t <= 10);
    case OutputFilter::FaxErrors:
        return k == 34 || k == 41 || (k >= 36 && k <= 39);
    case OutputFilter::ExternalOutputs:
        return t >= 200 && t <= 207;
    case OutputFilter::ExternalErrors:
        return k == 82 || k == 85 || k == 88 || (k >= 186 && k <= 198);
    case OutputFilter::EmailOutputs:
        return t == 14;
    case OutputFilter::AllFailures:
        return !in(k, {10, 11, 13, 14, 15, 16, 17, 20, 21, 22, 30, 31, 32, 33, 35, 40, 50, 51, 53, 81, 83, 84});
    case OutputFilter::BatchOriginalsUnprocessed:
    case OutputFilter::NoOutputs:
        return r.m_lngOutputId == 0;
    }
    return false;
}

TEST(OutputLogDemo, EveryFilterByAccountAndDateTypeKeepsToItsConditions) {
    kdtest::OdbcEnvironment odbc;
    const std::string site = odbc.folder() + "/demo";
    demo::createDemoSite(site, KD_DRIVER_PATH);
    demo::ScaleOptions scale;
    scale.seed = 11;
    scale.users = 50;
    scale.physicians = 50;
    scale.accounts = kAccounts;
    scale.reportTypes = 2;
    scale.logRows = 200;
    scale.logRowsOnOneDay = 20;
    scale.outputRows = 2000;
    demo::scaleDemoSite(site, scale);
    ASSERT_TRUE(kdtest::connectSiteSession(site));
    auto& session = foundation::DatabaseSession::instance();
    session.ReadDatabaseVersion();
    platform::MessageRecorder recorder;

    for (const DateType type : {DateType::Dictated, DateType::Transcribed, DateType::Output}) {
        size_t allRows = 0;
        for (int f = 0; f < static_cast<int>(OutputFilterNames().size()); ++f)
            for (const long account : {-1L, 100L}) {
                OutputQueryOptions o;
                o.m_enuFilter = static_cast<OutputFilter>(f);
                o.m_enuDateType = type;
                o.m_lngAccount = account;
                for (long a = 100; a < 100 + kAccounts; ++a)
                    o.m_colPartitionAccounts.push_back(a);
                o.m_dtmStart = daysAgo(366, 0, 0);
                o.m_dtmEnd = daysAgo(-1, 23, 59);
                o.m_intLimit = kAllRecords;
                clsOutputLog log;
                const std::string what = OutputFilterNames()[static_cast<size_t>(f)] + " / " + DateTypeHeading(type) +
                                         " / " + std::to_string(account);
                ASSERT_TRUE(log.Load(o)) << what;
                for (const auto& r : log.Rows()) {
                    ASSERT_TRUE(meets(o.m_enuFilter, r)) << what << ": output " << r.m_lngOutputId;
                    const bool accountOk = account >= 0 ? r.m_lngAccountId == account
                                                        : r.m_lngAccountId >= 100 && r.m_lngAccountId < 100 + kAccounts;
                    ASSERT_TRUE(accountOk) << what << ": account " << r.m_lngAccountId;
                }
                if (o.m_enuFilter == OutputFilter::All && account < 0)
                    allRows = log.Rows().size();
                // The site has outputs of every kind the filters look for, so no filter passes by
                // finding nothing.
                if (account < 0 && o.m_enuFilter != OutputFilter::NoOutputs) {
                    EXPECT_FALSE(log.Rows().empty()) << what;
                }
                // The chosen account's outputs are a part of all accounts' outputs, never more.
                if (account >= 0) {
                    EXPECT_LT(log.Rows().size(), 2000u) << what;
                }
            }
        // Every output of the site lies within the year, whichever date the range is on.
        EXPECT_EQ(allRows, 2000u) << DateTypeHeading(type);
    }
    EXPECT_TRUE(recorder.shown.empty());
    session.DisconnectFromSQL();
}

} // namespace
