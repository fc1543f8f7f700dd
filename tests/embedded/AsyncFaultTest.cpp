#include "OdbcFixture.h"

#include <chrono>
#include <thread>

using namespace kdtest;

namespace {

class AsyncFaultTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        // 2 000 rows: a two-way cross join takes a moment, a three-way one practically forever.
        exec("SET NOCOUNT ON\nCREATE TABLE N (n int NOT NULL)\nDECLARE @i int SET @i = 0\n"
             "WHILE @i < 2000 BEGIN INSERT N VALUES (@i) SET @i = @i + 1 END");
        ASSERT_EQ(scalar("SELECT COUNT(*) FROM N"), "2000");
    }

    SQLRETURN startAsync(const char* sql) {
        SQLSetStmtOption(conn.stmt(), SQL_ASYNC_ENABLE, SQL_ASYNC_ENABLE_ON);
        return SQLExecDirect(conn.stmt(), reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql)), SQL_NTS);
    }
    // Polls with the same call, as the console's wait loop does.
    SQLRETURN pollUntilDone(const char* sql, int* polls = nullptr) {
        SQLRETURN rc;
        int n = 0;
        do {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            rc = SQLExecDirect(conn.stmt(), reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql)), SQL_NTS);
            ++n;
        } while (rc == SQL_STILL_EXECUTING && n < 3000);
        if (polls)
            *polls = n;
        return rc;
    }
};

TEST_F(AsyncFaultTest, AsyncStatementReportsStillExecutingThenItsOutcome) {
    const char* sql = "SELECT COUNT(*) FROM N a, N b WHERE a.n < b.n";
    ASSERT_EQ(startAsync(sql), SQL_STILL_EXECUTING);
    EXPECT_EQ(pollUntilDone(sql), SQL_SUCCESS);
    ASSERT_EQ(SQLFetch(conn.stmt()), SQL_SUCCESS);
    char buf[64];
    SQLLEN ind;
    ASSERT_EQ(SQLGetData(conn.stmt(), 1, SQL_C_CHAR, buf, sizeof buf, &ind), SQL_SUCCESS);
    EXPECT_STREQ(buf, "1999000");
    SQLFreeStmt(conn.stmt(), SQL_CLOSE);
    // Switching async off again gives ordinary synchronous execution.
    EXPECT_EQ(exec("SELECT 1").scalar(), "1");
}

// While one statement's batch runs on its worker, the connection's other statements wait with a
// function sequence error and touch nothing; afterwards both go on.
TEST_F(AsyncFaultTest, OtherStatementsOfABusyConnectionAreRefused) {
    SQLHSTMT other = SQL_NULL_HSTMT;
    ASSERT_EQ(SQLAllocStmt(conn.dbc(), &other), SQL_SUCCESS);
    auto run = [](SQLHSTMT st, const char* sql) {
        return SQLExecDirect(st, reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql)), SQL_NTS);
    };
    ASSERT_EQ(run(other, "SELECT n FROM N WHERE n < 3 ORDER BY n\nSELECT 1"), SQL_SUCCESS);
    const char* sql = "SELECT COUNT(*) FROM N a, N b WHERE a.n < b.n";
    ASSERT_EQ(startAsync(sql), SQL_STILL_EXECUTING);
    auto state = [](SQLHSTMT st) {
        SQLCHAR s[6] = {};
        SQLINTEGER native = 0;
        SQLCHAR text[256];
        SQLSMALLINT len = 0;
        SQLError(SQL_NULL_HENV, SQL_NULL_HDBC, st, s, &native, text, sizeof text, &len);
        return std::string(reinterpret_cast<char*>(s));
    };
    char buf[32];
    SQLLEN ind = 0;
    EXPECT_EQ(SQLFetch(other), SQL_ERROR);
    EXPECT_EQ(state(other), "S1010");
    EXPECT_EQ(SQLGetData(other, 1, SQL_C_CHAR, buf, sizeof buf, &ind), SQL_ERROR);
    EXPECT_EQ(SQLMoreResults(other), SQL_ERROR);
    EXPECT_EQ(run(other, "SELECT 2"), SQL_ERROR);
    EXPECT_EQ(state(other), "S1010");
    EXPECT_EQ(pollUntilDone(sql), SQL_SUCCESS);
    // The refused calls changed nothing: the other statement's rows are all still there.
    ASSERT_EQ(SQLFetch(other), SQL_SUCCESS);
    ASSERT_EQ(SQLGetData(other, 1, SQL_C_CHAR, buf, sizeof buf, &ind), SQL_SUCCESS);
    EXPECT_STREQ(buf, "0");
    ASSERT_EQ(SQLFetch(conn.stmt()), SQL_SUCCESS);
    ASSERT_EQ(SQLGetData(conn.stmt(), 1, SQL_C_CHAR, buf, sizeof buf, &ind), SQL_SUCCESS);
    EXPECT_STREQ(buf, "1999000");
    EXPECT_EQ(SQLFreeStmt(other, SQL_DROP), SQL_SUCCESS);
}

TEST_F(AsyncFaultTest, AsyncErrorsArriveAtTheFinalPoll) {
    const char* sql = "SELECT * FROM NoSuchTable";
    ASSERT_EQ(startAsync(sql), SQL_STILL_EXECUTING);
    EXPECT_EQ(pollUntilDone(sql), SQL_ERROR);
    auto diags = conn.statementDiags();
    ASSERT_FALSE(diags.empty());
    EXPECT_EQ(diags[0].native, 208);
}

TEST_F(AsyncFaultTest, CancelInterruptsALongStatement) {
    const char* cases[] = {"SELECT COUNT(*) FROM N a, N b, N c",
                           "DECLARE @i int SET @i = 0 WHILE 1 = 1 SET @i = @i + 1"};
    for (const char* sql : cases) {
        ASSERT_EQ(startAsync(sql), SQL_STILL_EXECUTING) << sql;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_EQ(SQLExecDirect(conn.stmt(), reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql)), SQL_NTS),
                  SQL_STILL_EXECUTING);
        EXPECT_EQ(SQLCancel(conn.stmt()), SQL_SUCCESS);
        EXPECT_EQ(pollUntilDone(sql), SQL_ERROR) << sql;
        auto diags = conn.statementDiags();
        ASSERT_FALSE(diags.empty());
        EXPECT_EQ(diags[0].state, "S1008");
        EXPECT_NE(diags[0].text.find("Operation canceled"), std::string::npos);
        // The connection stays usable.
        EXPECT_EQ(exec("SELECT COUNT(*) FROM N").scalar(), "2000");
    }
}

TEST_F(AsyncFaultTest, LostLinkFailsLikeANetworkDropUntilReconnected) {
    odbc.arrangeFault("site", "drop-link 1");
    auto r = exec("SELECT COUNT(*) FROM N");
    EXPECT_EQ(r.rc(), SQL_ERROR);
    auto diags = r.allDiags();
    ASSERT_EQ(diags.size(), 2u);
    EXPECT_EQ(diags[0].state, "08S01");
    EXPECT_NE(diags[0].text.find("TCP Provider: Error code 0x68"), std::string::npos);
    EXPECT_EQ(diags[1].state, "08S01");
    EXPECT_NE(diags[1].text.find("Communication link failure"), std::string::npos);
    // The dead link stays dead for this connection.
    EXPECT_EQ(exec("SELECT 1").rc(), SQL_ERROR);
    // A new connection works, and the fault was used up.
    ASSERT_TRUE(SQL_SUCCEEDED(conn.connect(connectionStringFor(odbc, "site"))));
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM N"), "2000");
}

TEST_F(AsyncFaultTest, ReconnectCanBeRefusedThenAccepted) {
    odbc.arrangeFault("site", "drop-link 1");
    odbc.arrangeFault("site", "refuse-connect 1");
    EXPECT_EQ(exec("SELECT 1").rc(), SQL_ERROR);
    OdbcConnection again;
    EXPECT_EQ(again.connect(connectionStringFor(odbc, "site")), SQL_ERROR);
    ASSERT_FALSE(again.connectDiags().empty());
    EXPECT_EQ(again.connectDiags()[0].state, "08001");
    EXPECT_TRUE(SQL_SUCCEEDED(again.connect(connectionStringFor(odbc, "site"))));
    EXPECT_EQ(again.exec("SELECT COUNT(*) FROM N").scalar(), "2000");
}

TEST_F(AsyncFaultTest, TwoConnectionsShareTheFile) {
    OdbcConnection other;
    ASSERT_TRUE(SQL_SUCCEEDED(other.connect(connectionStringFor(odbc, "site"))));
    exec("BEGIN TRAN\nINSERT N VALUES (-1)");
    // The other connection reads the last committed state while the transaction is open.
    EXPECT_EQ(other.exec("SELECT COUNT(*) FROM N").scalar(), "2000");
    exec("COMMIT");
    EXPECT_EQ(other.exec("SELECT COUNT(*) FROM N").scalar(), "2001");
    // Tables made on one connection are seen by the other without reconnecting.
    exec("CREATE TABLE Later (x varchar(5))");
    EXPECT_EQ(other.exec("INSERT Later VALUES ('abcdefg')").allDiags().at(0).native, 8152);
}

} // namespace
