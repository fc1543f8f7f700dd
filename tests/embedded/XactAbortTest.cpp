#include "OdbcFixture.h"

#include <string>

using namespace kdtest;

namespace {

class XactAbortTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        exec("CREATE TABLE Rows_kept (id int NOT NULL PRIMARY KEY, name varchar(10) NOT NULL)\n"
             "INSERT Rows_kept VALUES (1, 'one')");
    }
    long firstNative(const BatchOutcome& r) {
        for (const auto& d : r.allDiags())
            if (d.native != 0)
                return d.native;
        return 0;
    }
    std::string count() { return scalar("SELECT COUNT(*) FROM Rows_kept"); }
};

struct Failing {
    const char* statement;
    long native;
};

const Failing kFailing[] = {
    {"INSERT Rows_kept VALUES (3, 'far too long a name')", 8152},
    {"INSERT Rows_kept VALUES (1, 'again')", 2627},
    {"INSERT Rows_kept VALUES (3, NULL)", 515},
};

// ON: the error rolls the transaction back, ends the batch and leaves @@TRANCOUNT at 0.
TEST_F(XactAbortTest, OnRollsBackTheTransactionAndEndsTheBatch) {
    for (const auto& f : kFailing) {
        auto r = exec(std::string("SET XACT_ABORT ON\r\nBEGIN TRANSACTION\r\nINSERT Rows_kept VALUES (2, 'two')\r\n") +
                      f.statement + "\r\nINSERT Rows_kept VALUES (4, 'four')\r\nCOMMIT TRANSACTION");
        EXPECT_EQ(firstNative(r), f.native) << f.statement;
        EXPECT_EQ(scalar("SELECT @@TRANCOUNT"), "0") << f.statement;
        EXPECT_EQ(count(), "1") << f.statement;
    }
}

// ON outside a transaction: what ran before stays (autocommitted), nothing after the error runs.
TEST_F(XactAbortTest, OnOutsideATransactionEndsTheBatch) {
    for (const auto& f : kFailing) {
        exec("DELETE Rows_kept WHERE id > 1");
        auto r = exec(std::string("SET XACT_ABORT ON\r\nINSERT Rows_kept VALUES (2, 'two')\r\n") + f.statement +
                      "\r\nINSERT Rows_kept VALUES (4, 'four')");
        EXPECT_EQ(firstNative(r), f.native) << f.statement;
        EXPECT_EQ(scalar("SELECT COUNT(*) FROM Rows_kept WHERE id = 2"), "1") << f.statement;
        EXPECT_EQ(scalar("SELECT COUNT(*) FROM Rows_kept WHERE id = 4"), "0") << f.statement;
    }
}

// OFF: the statement alone fails; the batch goes on and commits the rest.
TEST_F(XactAbortTest, OffKeepsStatementLevelErrors) {
    for (const auto& f : kFailing) {
        exec("DELETE Rows_kept WHERE id > 1");
        auto r = exec(std::string("SET XACT_ABORT OFF\r\nBEGIN TRANSACTION\r\nINSERT Rows_kept VALUES (2, 'two')\r\n") +
                      f.statement + "\r\nINSERT Rows_kept VALUES (4, 'four')\r\nCOMMIT TRANSACTION");
        EXPECT_EQ(firstNative(r), f.native) << f.statement;
        EXPECT_EQ(scalar("SELECT @@TRANCOUNT"), "0") << f.statement;
        EXPECT_EQ(count(), "3") << f.statement;
    }
}

// The option holds for the connection until it is switched off; RAISERROR does not end the batch.
TEST_F(XactAbortTest, OptionStaysForTheConnectionAndRaiserrorKeepsItsReach) {
    exec("SET XACT_ABORT ON");
    exec("BEGIN TRANSACTION\r\nINSERT Rows_kept VALUES (2, 'two')\r\nINSERT Rows_kept VALUES (1, 'dup')\r\n"
         "COMMIT TRANSACTION");
    EXPECT_EQ(scalar("SELECT @@TRANCOUNT"), "0");
    EXPECT_EQ(count(), "1");
    exec("BEGIN TRANSACTION\r\nINSERT Rows_kept VALUES (2, 'two')\r\nRAISERROR('checked', 16, 1)\r\n"
         "COMMIT TRANSACTION");
    EXPECT_EQ(scalar("SELECT @@TRANCOUNT"), "0");
    EXPECT_EQ(count(), "2");
}

// A link lost in the middle of a batch: the server rolls back the open transaction, ON or OFF.
TEST_F(XactAbortTest, LostLinkInTheMiddleOfABatchRollsBack) {
    for (const char* option : {"ON", "OFF"}) {
        odbc.arrangeFault("site", "drop-link-after 4");
        auto r = exec(std::string("SET XACT_ABORT ") + option +
                      "\r\nBEGIN TRANSACTION\r\nINSERT Rows_kept VALUES (2, 'two')\r\n"
                      "INSERT Rows_kept VALUES (3, 'three')\r\nINSERT Rows_kept VALUES (4, 'four')\r\n"
                      "COMMIT TRANSACTION");
        ASSERT_FALSE(r.allDiags().empty()) << option;
        EXPECT_EQ(r.allDiags().back().text.find("Communication link failure") != std::string::npos, true) << option;
        conn.disconnect();
        ASSERT_TRUE(SQL_SUCCEEDED(conn.connect(connectionStringFor(odbc, "site")))) << option;
        EXPECT_EQ(scalar("SELECT @@TRANCOUNT"), "0") << option;
        EXPECT_EQ(count(), "1") << option;
    }
    // Outside a transaction what was written before the drop stays.
    odbc.arrangeFault("site", "drop-link-after 3");
    auto r = exec("SET XACT_ABORT ON\r\nINSERT Rows_kept VALUES (2, 'two')\r\nINSERT Rows_kept VALUES (3, 'three')\r\n"
                  "INSERT Rows_kept VALUES (4, 'four')");
    ASSERT_FALSE(r.allDiags().empty());
    EXPECT_NE(r.allDiags().back().text.find("Communication link failure"), std::string::npos);
    conn.disconnect();
    ASSERT_TRUE(SQL_SUCCEEDED(conn.connect(connectionStringFor(odbc, "site"))));
    EXPECT_EQ(count(), "3");
}

} // namespace
