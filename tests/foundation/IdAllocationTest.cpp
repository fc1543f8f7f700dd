#include "DatabaseSession.h"
#include "MessageService.h"
#include "OdbcFixture.h"
#include "Schema.h"
#include "SessionHelper.h"

#include <algorithm>
#include <latch>
#include <set>
#include <stdexcept>
#include <thread>

using foundation::DatabaseSession;
using platform::MessageRecorder;
using namespace kdtest;

namespace {

const std::string kSelectUserId = "SELECT user_id = next_user_id FROM User_identifier WITH (UPDLOCK)";
const std::string kAdvanceUserId = "UPDATE User_identifier SET next_user_id = next_user_id + 1";

class IdAllocationTest : public ::testing::Test {
protected:
    void SetUp() override { suite::createSuiteDatabase(odbc.folder(), "KALDRA"); }

    void connect(DatabaseSession& s) const {
        s.UseDriverConnect = true;
        s.ServerName = odbc.folder();
        s.DatabaseName = "KALDRA";
        s.LoginName = "sa";
        s.terminateHook = [](int) { throw std::runtime_error("program ended"); };
        ASSERT_TRUE(s.ConnectToSQL());
    }
    static std::string scalar(DatabaseSession& s, const std::string& sql) { return sessionScalar(s, sql); }

    OdbcEnvironment odbc;
    MessageRecorder recorder;
};

TEST_F(IdAllocationTest, SendsOneBatchAndReturnsTheReadValue) {
    DatabaseSession s;
    connect(s);
    EXPECT_EQ(s.AllocateIdentifier(kSelectUserId, kAdvanceUserId), 100);
    EXPECT_EQ(s.AllocateIdentifier(kSelectUserId, kAdvanceUserId), 101);
    ASSERT_EQ(s.history.size(), 2u);
    EXPECT_EQ(s.history[0],
              "BEGIN TRANSACTION\r\n" + kSelectUserId + "\r\n" + kAdvanceUserId + "\r\nCOMMIT TRANSACTION");
    EXPECT_EQ(scalar(s, "SELECT next_user_id FROM User_identifier"), "102");
    EXPECT_EQ(scalar(s, "SELECT @@TRANCOUNT"), "0");
    EXPECT_TRUE(recorder.shown.empty());
    s.DisconnectFromSQL();
}

TEST_F(IdAllocationTest, HoldLockHintIsAcceptedToo) {
    DatabaseSession s;
    connect(s);
    EXPECT_EQ(s.AllocateIdentifier("SELECT next_physician_id FROM Physician_identifier WITH (UPDLOCK, HOLDLOCK)",
                                   "UPDATE Physician_identifier SET next_physician_id = next_physician_id + 1"),
              1);
    EXPECT_EQ(scalar(s, "SELECT next_physician_id FROM Physician_identifier"), "2");
    EXPECT_TRUE(recorder.shown.empty());
    s.DisconnectFromSQL();
}

// Two consoles creating users at the same moment, each over its own connection to one site.
TEST_F(IdAllocationTest, TwoConnectionsAllocatingAtOnceNeverShareAnId) {
    constexpr int kPerConnection = 300;
    DatabaseSession first, second;
    connect(first);
    connect(second);
    std::vector<long long> ids[2];
    std::latch start(2);
    auto allocate = [&](DatabaseSession* s, std::vector<long long>* out) {
        start.arrive_and_wait();
        for (int i = 0; i < kPerConnection; ++i)
            out->push_back(s->AllocateIdentifier(kSelectUserId, kAdvanceUserId));
    };
    std::thread a(allocate, &first, &ids[0]);
    std::thread b(allocate, &second, &ids[1]);
    a.join();
    b.join();

    std::set<long long> distinct;
    int failures = 0;
    for (const auto& list : ids)
        for (long long id : list) {
            failures += id < 0 ? 1 : 0;
            distinct.insert(id);
        }
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(distinct.size(), 2u * kPerConnection) << "duplicate ids handed out";
    EXPECT_EQ(*distinct.begin(), 100);
    EXPECT_EQ(*distinct.rbegin(), 100 + 2 * kPerConnection - 1);
    EXPECT_EQ(scalar(first, "SELECT next_user_id FROM User_identifier"), std::to_string(100 + 2 * kPerConnection));
    EXPECT_TRUE(recorder.shown.empty());
    first.DisconnectFromSQL();
    second.DisconnectFromSQL();
}

TEST_F(IdAllocationTest, FailedUpdateShowsTheErrorAndLeavesNoTransactionOpen) {
    DatabaseSession s;
    connect(s);
    EXPECT_EQ(s.AllocateIdentifier(kSelectUserId, "UPDATE User_identifier SET next_user_id = next_user_id / 0"), -1);
    ASSERT_FALSE(recorder.shown.empty());
    EXPECT_NE(recorder.shown[0].text.find("Divide by zero error encountered."), std::string::npos);
    recorder.shown.clear();
    EXPECT_EQ(scalar(s, "SELECT @@TRANCOUNT"), "0");
    EXPECT_EQ(scalar(s, "SELECT next_user_id FROM User_identifier"), "100");
    s.DisconnectFromSQL();
}

TEST_F(IdAllocationTest, FailedSelectReturnsMinusOneAndLeavesNoTransactionOpen) {
    DatabaseSession s;
    connect(s);
    EXPECT_EQ(s.AllocateIdentifier("SELECT next_id FROM Missing_identifier WITH (UPDLOCK)", kAdvanceUserId), -1);
    ASSERT_FALSE(recorder.shown.empty());
    EXPECT_NE(recorder.shown[0].text.find("Invalid object name 'Missing_identifier'."), std::string::npos);
    recorder.shown.clear();
    EXPECT_EQ(scalar(s, "SELECT @@TRANCOUNT"), "0");
    EXPECT_EQ(scalar(s, "SELECT next_user_id FROM User_identifier"), "100");
    // The connection goes on working.
    EXPECT_EQ(s.AllocateIdentifier(kSelectUserId, kAdvanceUserId), 100);
    s.DisconnectFromSQL();
}

} // namespace
