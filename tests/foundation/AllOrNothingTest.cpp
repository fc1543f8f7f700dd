#include "DatabaseSession.h"
#include "MessageService.h"
#include "OdbcFixture.h"
#include "SessionHelper.h"

#include <stdexcept>

using foundation::DatabaseSession;
using platform::MessageRecorder;
using namespace kdtest;

namespace {

// A per-account rewrite as the type editors send it: the account's rows deleted, then written again.
const std::string kRewrite = "DELETE FROM Types WHERE acct = 1\r\n"
                             "INSERT INTO Types VALUES(1, 11, 'Waiting for results')\r\n"
                             "INSERT INTO Types VALUES(1, 12, 'Dictator to review')\r\n";

class AllOrNothingTest : public ::testing::Test {
protected:
    void SetUp() override {
        odbc.createDatabase("site");
        s.UseDriverConnect = true;
        s.ServerName = odbc.folder();
        s.DatabaseName = "site";
        s.LoginName = "sa";
        s.terminateHook = [](int) { throw std::runtime_error("program ended"); };
        ASSERT_TRUE(s.ConnectToSQL());
        run("CREATE TABLE Types (acct int NOT NULL, type_nbr int NOT NULL, descr varchar(20) NOT NULL, "
            "PRIMARY KEY (acct, type_nbr))\n"
            "INSERT Types VALUES (1, 11, 'Old eleven')\n"
            "INSERT Types VALUES (1, 13, 'Old thirteen')\n"
            "INSERT Types VALUES (2, 11, 'Other account')");
        recorder.shown.clear();
        s.history.clear();
    }
    void TearDown() override { s.DisconnectFromSQL(); }
    int run(const std::string& sql) {
        s.SQLStatement = sql;
        const int r = s.ExecSQL();
        if (r == 1)
            s.FlushResults();
        return r;
    }
    std::string rows() {
        s.SQLStatement = "SELECT CONVERT(varchar, acct) + ':' + CONVERT(varchar, type_nbr) + ':' + descr FROM Types "
                         "ORDER BY acct, type_nbr";
        std::string out;
        if (s.ExecSQL() != 1)
            return "<failed>";
        while (s.FetchRow() == 1)
            out += s.GetColumnText(1, 1) + "|";
        return out;
    }
    std::string scalar(const std::string& sql) { return sessionScalar(s, sql); }

    OdbcEnvironment odbc;
    MessageRecorder recorder;
    DatabaseSession s;
    const std::string before = "1:11:Old eleven|1:13:Old thirteen|2:11:Other account|";
};

TEST_F(AllOrNothingTest, ASaveThatSucceedsIsWrappedAndApplied) {
    s.SQLStatement = kRewrite;
    EXPECT_EQ(s.ExecSQLAllOrNothing(), 1);
    EXPECT_EQ(s.SQLStatement, kRewrite); // the caller's text, for a retry or a log line
    ASSERT_EQ(s.history.size(), 1u);
    EXPECT_EQ(s.history[0],
              "SET XACT_ABORT ON\r\nBEGIN TRANSACTION\r\n" + kRewrite + "\r\nCOMMIT TRANSACTION\r\nSET XACT_ABORT OFF");
    EXPECT_EQ(rows(), "1:11:Waiting for results|1:12:Dictator to review|2:11:Other account|");
    EXPECT_EQ(scalar("SELECT @@TRANCOUNT"), "0");
    EXPECT_TRUE(recorder.shown.empty());
}

// Any error of the batch leaves every row as it was, shows the server's message once, and leaves
// neither a transaction nor XACT_ABORT behind.
TEST_F(AllOrNothingTest, AnErrorAnywhereLeavesEveryRowAsItWas) {
    struct Case {
        const char* what;
        std::string last;
        long native;
    };
    const Case cases[] = {
        {"text too long (8152)", "INSERT INTO Types VALUES(1, 14, 'a description far too long')", 8152},
        {"duplicate key (2627)", "INSERT INTO Types VALUES(2, 11, 'Duplicate')", 2627},
        {"NULL into NOT NULL (515)", "INSERT INTO Types VALUES(1, 15, NULL)", 515},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        recorder.shown.clear();
        s.SQLStatement = kRewrite + c.last;
        EXPECT_EQ(s.ExecSQLAllOrNothing(), 0);
        EXPECT_EQ(s.SQLStatement, kRewrite + c.last);
        EXPECT_EQ(rows(), before);
        EXPECT_EQ(scalar("SELECT @@TRANCOUNT"), "0");
        ASSERT_EQ(recorder.shown.size(), 1u);
        EXPECT_EQ(recorder.shown[0].title, "Veltra Desktop - SQL Error");
        // XACT_ABORT is off again: outside a transaction a failed statement leaves the earlier ones.
        EXPECT_EQ(run("INSERT INTO Types VALUES(3, 1, 'kept')\nINSERT INTO Types VALUES(3, 1, 'dup')"), 1);
        EXPECT_EQ(scalar("SELECT COUNT(*) FROM Types WHERE acct = 3"), "1");
        run("DELETE FROM Types WHERE acct = 3");
    }
}

// The same failure without the wrapper: the delete stays applied and the account loses its rows.
TEST_F(AllOrNothingTest, WithoutTheWrapperTheDeleteStays) {
    EXPECT_EQ(run(kRewrite + "INSERT INTO Types VALUES(2, 11, 'Duplicate')"), 1);
    EXPECT_NE(rows(), before);
}

// A link lost in the middle rolls the batch back; the session reconnects and sends it once more, whole.
TEST_F(AllOrNothingTest, ALostLinkMidBatchRollsBackAndTheRetryAppliesItOnce) {
    odbc.arrangeFault("site", "drop-link-after 3");
    s.SQLStatement = kRewrite;
    EXPECT_EQ(s.ExecSQLAllOrNothing(), 1);
    ASSERT_FALSE(recorder.shown.empty());
    EXPECT_EQ(recorder.shown.back().text, "Connection to SQL Server reestablished.");
    EXPECT_EQ(rows(), "1:11:Waiting for results|1:12:Dictator to review|2:11:Other account|");
    EXPECT_EQ(scalar("SELECT @@TRANCOUNT"), "0");
}

} // namespace
