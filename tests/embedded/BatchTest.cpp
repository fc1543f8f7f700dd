#include "OdbcFixture.h"

using namespace kdtest;

namespace {

class BatchTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        ASSERT_EQ(exec("CREATE TABLE Account_info (hosp_acct_id int NOT NULL PRIMARY KEY, acct_name varchar(40) "
                       "NOT NULL, is_deleted bit NOT NULL DEFAULT 0)")
                      .rc(),
                  SQL_SUCCESS);
    }
};

TEST_F(BatchTest, EveryStatementGivesItsResultThroughMoreResults) {
    auto r = exec("INSERT Account_info VALUES (1, 'North', 0)\n"
                  "INSERT Account_info (hosp_acct_id, acct_name) VALUES (2, 'South')\n"
                  "SELECT hosp_acct_id, acct_name FROM Account_info ORDER BY hosp_acct_id\n"
                  "UPDATE Account_info SET is_deleted = 1 WHERE hosp_acct_id > 5\n"
                  "SELECT COUNT(*) FROM Account_info");
    ASSERT_EQ(r.steps.size(), 5u);
    EXPECT_EQ(r.steps[0].columns, 0);
    EXPECT_EQ(r.steps[0].rowCount, 1);
    EXPECT_EQ(r.steps[1].rowCount, 1);
    ASSERT_EQ(r.steps[2].rows.size(), 2u);
    EXPECT_EQ(r.steps[2].rows[1][1], "South");
    EXPECT_EQ(r.steps[2].columnNames, (std::vector<std::string>{"hosp_acct_id", "acct_name"}));
    EXPECT_EQ(r.steps[3].rowCount, 0);
    EXPECT_EQ(r.steps[4].rows[0][0], "2");
}

TEST_F(BatchTest, NocountLeavesOnlyTheResultSets) {
    auto r = exec("SET NOCOUNT ON\nINSERT Account_info VALUES (1, 'North', 0)\nSELECT acct_name FROM Account_info\n"
                  "DELETE Account_info WHERE hosp_acct_id = 1\nSELECT COUNT(*) FROM Account_info");
    ASSERT_EQ(r.steps.size(), 2u);
    EXPECT_EQ(r.steps[0].rows[0][0], "North");
    EXPECT_EQ(r.steps[1].rows[0][0], "0");
}

TEST_F(BatchTest, PrintComesBackAsSuccessWithInfo01000) {
    auto r = exec("PRINT 'hello ' + 'there'");
    ASSERT_EQ(r.steps.size(), 1u);
    EXPECT_EQ(r.rc(), SQL_SUCCESS_WITH_INFO);
    ASSERT_EQ(r.steps[0].diags.size(), 1u);
    EXPECT_EQ(r.steps[0].diags[0].state, "01000");
    EXPECT_NE(r.steps[0].diags[0].text.find("hello there"), std::string::npos);
}

TEST_F(BatchTest, StatementErrorEndsOnlyThatStatement) {
    // A duplicate key ends its own INSERT; the batch goes on, as SQL Server does. (After an
    // SQLExecDirect error unixODBC answers SQLMoreResults itself, so the later rows are checked
    // through the table.)
    auto r = exec("SET NOCOUNT ON\nINSERT Account_info VALUES (1, 'North', 0)\n"
                  "INSERT Account_info VALUES (1, 'Again', 0)\nINSERT Account_info VALUES (2, 'South', 0)");
    EXPECT_EQ(r.rc(), SQL_ERROR);
    ASSERT_FALSE(r.steps[0].diags.empty());
    EXPECT_EQ(r.steps[0].diags[0].native, 2627);
    EXPECT_EQ(r.steps[0].diags[0].state, "23000");
    EXPECT_NE(r.steps[0].diags[0].text.find("Violation of PRIMARY KEY constraint"), std::string::npos);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Account_info"), "2");
    EXPECT_EQ(scalar("SELECT acct_name FROM Account_info WHERE hosp_acct_id = 1"), "North");
}

TEST_F(BatchTest, ConversionErrorAbortsTheRestOfTheBatch) {
    auto r = exec("SET NOCOUNT ON\nINSERT Account_info VALUES (1, 'North', 0)\n"
                  "INSERT Account_info VALUES ('x', 'Bad', 0)\nINSERT Account_info VALUES (2, 'South', 0)");
    EXPECT_TRUE(r.hasError(245));
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Account_info"), "1");
}

TEST_F(BatchTest, SyntaxErrorRefusesTheWholeBatch) {
    auto r = exec("INSERT Account_info VALUES (1, 'North', 0)\nSELECT FROM WHERE");
    EXPECT_EQ(r.rc(), SQL_ERROR);
    EXPECT_TRUE(r.hasError(102));
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Account_info"), "0");
}

TEST_F(BatchTest, VariablesIfElseAndExists) {
    auto r = exec("DECLARE @id int, @name varchar(40)\n"
                  "SET @id = 7\n"
                  "SET @name = 'Acct ' + CONVERT(varchar, @id)\n"
                  "IF NOT EXISTS (SELECT * FROM Account_info WHERE hosp_acct_id = @id)\n"
                  "BEGIN\n  INSERT Account_info (hosp_acct_id, acct_name) VALUES (@id, @name)\n"
                  "  PRINT 'added'\nEND\nELSE\n  PRINT 'present'\n"
                  "SELECT @name = acct_name FROM Account_info WHERE hosp_acct_id = @id\n"
                  "SELECT @name, @id * 2");
    const auto* rows = r.firstRows();
    ASSERT_NE(rows, nullptr);
    EXPECT_EQ(rows->rows[0][0], "Acct 7");
    EXPECT_EQ(rows->rows[0][1], "14");
    auto again = exec("IF EXISTS (SELECT * FROM Account_info WHERE hosp_acct_id = 7) PRINT 'present' ELSE PRINT 'x'");
    ASSERT_FALSE(again.allDiags().empty());
    EXPECT_NE(again.allDiags()[0].text.find("present"), std::string::npos);
}

TEST_F(BatchTest, SelectAssignmentKeepsTheLastRowAndAccumulates) {
    exec("INSERT Account_info VALUES (1, 'A', 0) INSERT Account_info VALUES (2, 'B', 0) "
         "INSERT Account_info VALUES (3, 'C', 0)");
    EXPECT_EQ(scalar("DECLARE @list varchar(100) SET @list = ''\n"
                     "SELECT @list = @list + CONVERT(varchar, hosp_acct_id) + ',' FROM Account_info ORDER BY "
                     "hosp_acct_id\nSELECT @list"),
              "1,2,3,");
    EXPECT_EQ(scalar("DECLARE @n varchar(10) SET @n = 'none'\n"
                     "SELECT @n = acct_name FROM Account_info WHERE hosp_acct_id = 99\nSELECT @n"),
              "none");
}

TEST_F(BatchTest, TransactionsCommitAndRollBack) {
    exec("BEGIN TRAN\nINSERT Account_info VALUES (1, 'A', 0)\nCOMMIT TRAN");
    exec("BEGIN TRANSACTION\nINSERT Account_info VALUES (2, 'B', 0)\nROLLBACK");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Account_info"), "1");
    EXPECT_EQ(scalar("BEGIN TRAN\nBEGIN TRAN\nSELECT @@TRANCOUNT"), "2");
    EXPECT_EQ(scalar("COMMIT\nSELECT @@TRANCOUNT"), "1");
    EXPECT_EQ(scalar("COMMIT\nSELECT @@TRANCOUNT"), "0");
    EXPECT_TRUE(exec("COMMIT TRAN").hasError(3902));
}

TEST_F(BatchTest, RowcountLimitsRowsReturnedAndAffected) {
    exec("INSERT Account_info VALUES (1, 'A', 0) INSERT Account_info VALUES (2, 'B', 0) "
         "INSERT Account_info VALUES (3, 'C', 0)");
    auto r = exec("SET ROWCOUNT 2\nSELECT hosp_acct_id FROM Account_info ORDER BY hosp_acct_id\n"
                  "UPDATE Account_info SET is_deleted = 1\nSET ROWCOUNT 0");
    ASSERT_GE(r.steps.size(), 2u);
    EXPECT_EQ(r.steps[0].rows.size(), 2u);
    EXPECT_EQ(r.steps[1].rowCount, 2);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Account_info WHERE is_deleted = 1"), "2");
    EXPECT_EQ(scalar("SELECT TOP 1 acct_name FROM Account_info ORDER BY hosp_acct_id DESC"), "C");
}

// A batch's first SELECT runs with the translation its check made; a limit set by an earlier
// batch, or a table changed since, must still show.
TEST_F(BatchTest, TheFirstSelectOfABatchFollowsTheConnectionsRowcountAndItsTables) {
    exec("INSERT Account_info VALUES (1, 'A', 0) INSERT Account_info VALUES (2, 'B', 0)");
    EXPECT_EQ(exec("SELECT hosp_acct_id FROM Account_info").steps.at(0).rows.size(), 2u);
    exec("SET ROWCOUNT 1");
    EXPECT_EQ(exec("SELECT hosp_acct_id FROM Account_info").steps.at(0).rows.size(), 1u);
    exec("SET ROWCOUNT 0");
    exec("ALTER TABLE Account_info ADD city varchar(20) NULL");
    auto r = exec("SELECT * FROM Account_info ORDER BY hosp_acct_id");
    EXPECT_EQ(r.steps.at(0).columnNames, (std::vector<std::string>{"hosp_acct_id", "acct_name", "is_deleted", "city"}));
}

TEST_F(BatchTest, LongValuesComeIn256BytePiecesWithRightTruncationInfo) {
    std::string longText(300, 'x');
    longText[299] = 'y';
    exec("CREATE TABLE Notes (n text)");
    exec("INSERT Notes VALUES ('" + longText + "')");
    ASSERT_EQ(
        SQLExecDirect(conn.stmt(), reinterpret_cast<SQLCHAR*>(const_cast<char*>("SELECT n, NULL FROM Notes")), SQL_NTS),
        SQL_SUCCESS);
    ASSERT_EQ(SQLFetch(conn.stmt()), SQL_SUCCESS);
    char buf[256];
    SQLLEN ind = 0;
    EXPECT_EQ(SQLGetData(conn.stmt(), 1, SQL_C_CHAR, buf, sizeof buf, &ind), SQL_SUCCESS_WITH_INFO);
    EXPECT_EQ(ind, 300);
    EXPECT_EQ(std::string(buf).size(), 255u);
    auto diags = conn.statementDiags();
    ASSERT_EQ(diags.size(), 1u);
    EXPECT_EQ(diags[0].state, "01004");
    EXPECT_NE(diags[0].text.find("right truncation"), std::string::npos);
    EXPECT_EQ(SQLGetData(conn.stmt(), 1, SQL_C_CHAR, buf, sizeof buf, &ind), SQL_SUCCESS);
    EXPECT_EQ(std::string(buf), std::string(44, 'x') + "y");
    EXPECT_EQ(SQLGetData(conn.stmt(), 1, SQL_C_CHAR, buf, sizeof buf, &ind), SQL_NO_DATA);
    EXPECT_EQ(SQLGetData(conn.stmt(), 2, SQL_C_CHAR, buf, sizeof buf, &ind), SQL_SUCCESS);
    EXPECT_EQ(ind, SQL_NULL_DATA);
    EXPECT_EQ(SQLFetch(conn.stmt()), SQL_NO_DATA);
    SQLFreeStmt(conn.stmt(), SQL_CLOSE);
}

TEST_F(BatchTest, ProceduresTakeParametersDefaultsOutputAndReturn) {
    ASSERT_EQ(exec("CREATE PROCEDURE account_add @id int, @name varchar(40) = 'Unnamed', @count int OUTPUT AS\n"
                   "IF @id < 0\nBEGIN\n  RAISERROR('Bad account %d', 16, 1, @id)\n  RETURN 1\nEND\n"
                   "INSERT Account_info (hosp_acct_id, acct_name) VALUES (@id, @name)\n"
                   "SELECT @count = COUNT(*) FROM Account_info\nRETURN 0")
                  .rc(),
              SQL_SUCCESS);
    auto r = exec("DECLARE @rc int, @c int\nEXEC @rc = account_add 5, @count = @c OUTPUT\nSELECT @rc, @c");
    ASSERT_NE(r.firstRows(), nullptr);
    EXPECT_EQ(r.firstRows()->rows[0][0], "0");
    EXPECT_EQ(r.firstRows()->rows[0][1], "1");
    EXPECT_EQ(scalar("SELECT acct_name FROM Account_info WHERE hosp_acct_id = 5"), "Unnamed");
    // RAISERROR ends the statement only: the procedure returns 1 and the batch records it.
    auto bad = exec("DECLARE @rc int, @c int\nEXEC @rc = account_add -3, 'x', @c OUTPUT\n"
                    "INSERT Account_info (hosp_acct_id, acct_name) VALUES (100 + @rc, 'returned')");
    EXPECT_TRUE(bad.hasError(50000));
    EXPECT_NE(bad.allDiags().at(0).text.find("Bad account -3"), std::string::npos);
    EXPECT_EQ(scalar("SELECT acct_name FROM Account_info WHERE hosp_acct_id = 101"), "returned");
    EXPECT_TRUE(exec("EXEC account_add").hasError(201));
    EXPECT_TRUE(exec("EXEC no_such_proc").hasError(2812));
    EXPECT_TRUE(exec("CREATE PROCEDURE account_add AS SELECT 1").hasError(2714));
    EXPECT_EQ(exec("DROP PROCEDURE account_add").rc(), SQL_SUCCESS);
    EXPECT_TRUE(exec("EXEC account_add 1").hasError(2812));
}

TEST_F(BatchTest, CreateProcedureMustStartTheBatch) {
    EXPECT_TRUE(exec("SELECT 1\nCREATE PROCEDURE p AS SELECT 2").hasError(111));
}

TEST_F(BatchTest, GrantIsAccepted) {
    exec("CREATE PROCEDURE p AS SELECT 2");
    EXPECT_EQ(exec("GRANT EXECUTE ON p TO public").rc(), SQL_SUCCESS);
    EXPECT_EQ(scalar("p"), "2"); // a bare procedure name runs it when it starts the batch
}

TEST_F(BatchTest, WhileLoopsWithBreak) {
    EXPECT_EQ(scalar("DECLARE @i int, @sum int\nSELECT @i = 0, @sum = 0\nWHILE @i < 100\nBEGIN\n"
                     "  SET @i = @i + 1\n  IF @i > 10 BREAK\n  SET @sum = @sum + @i\nEND\nSELECT @sum"),
              "55");
}

TEST_F(BatchTest, DynamicSqlRunsInItsOwnScope) {
    EXPECT_EQ(scalar("DECLARE @t varchar(100)\nSET @t = 'SELECT COUNT(*) FROM Account_info'\nEXEC (@t)"), "0");
    EXPECT_TRUE(exec("DECLARE @x int\nEXEC ('SELECT @x')").hasError(137));
}

} // namespace

namespace {

TEST_F(BatchTest, ALaterRowsErrorArrivesAtFetchTheFirstRowsAtExecution) {
    exec("SET NOCOUNT ON\nCREATE TABLE D (n int)\nINSERT D VALUES (1)\nINSERT D VALUES (2)\nINSERT D VALUES (0)");
    // The first row fails while the statement executes.
    EXPECT_TRUE(exec("SELECT 10 / n FROM D ORDER BY n").hasError(8134));
    // A later row fails when it is fetched, after the good rows came (no ORDER BY: a sort would
    // compute every row up front).
    ASSERT_EQ(
        SQLExecDirect(conn.stmt(), reinterpret_cast<SQLCHAR*>(const_cast<char*>("SELECT 10 / n FROM D")), SQL_NTS),
        SQL_SUCCESS);
    EXPECT_EQ(SQLFetch(conn.stmt()), SQL_SUCCESS);
    EXPECT_EQ(SQLFetch(conn.stmt()), SQL_SUCCESS);
    EXPECT_EQ(SQLFetch(conn.stmt()), SQL_ERROR);
    auto diags = conn.statementDiags();
    ASSERT_FALSE(diags.empty());
    EXPECT_EQ(diags[0].native, 8134);
    SQLFreeStmt(conn.stmt(), SQL_CLOSE);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM D"), "3");
}

// A batch prepares some statements more than once (an IF's condition when the batch is checked and
// again when it runs, a loop's statements on every pass): each run sees the rows and variable
// values of that moment.
TEST_F(BatchTest, StatementsRunAgainInOneBatchSeeCurrentRowsAndVariables) {
    auto r = exec("SET NOCOUNT ON\n"
                  "INSERT Account_info VALUES (5, 'Five', 0)\n"
                  "IF EXISTS (SELECT hosp_acct_id FROM Account_info WHERE hosp_acct_id = 5) SELECT 'seen' "
                  "ELSE SELECT 'missed'\n"
                  "DECLARE @i int\nSET @i = 1\n"
                  "WHILE @i <= 3\nBEGIN\n"
                  "    IF EXISTS (SELECT hosp_acct_id FROM Account_info WHERE hosp_acct_id = @i % 2)\n"
                  "        UPDATE Account_info SET acct_name = acct_name + 'x' WHERE hosp_acct_id = @i % 2\n"
                  "    ELSE\n"
                  "        INSERT Account_info VALUES (@i % 2, 'A', 0)\n"
                  "    SET @i = @i + 1\n"
                  "END\n"
                  "SELECT hosp_acct_id, acct_name FROM Account_info ORDER BY hosp_acct_id");
    ASSERT_EQ(r.rc(), SQL_SUCCESS);
    ASSERT_EQ(r.steps.size(), 2u);
    EXPECT_EQ(r.steps[0].rows[0][0], "seen");
    EXPECT_EQ(r.steps[1].rows,
              (std::vector<std::vector<std::optional<std::string>>>{{"0", "A"}, {"1", "Ax"}, {"5", "Five"}}));
}

// Another connection's DDL shows from this connection's next statement: SQLite's tables and the
// declared T-SQL types the engine keeps beside them (varchar(5) enforced below).
TEST_F(BatchTest, SchemaChangesOfAnotherConnectionShowAtTheNextStatement) {
    ASSERT_EQ(exec("SELECT COUNT(*) FROM Account_info").rc(), SQL_SUCCESS);
    OdbcConnection other;
    ASSERT_TRUE(SQL_SUCCEEDED(other.connect(connectionStringFor(odbc, "site"))));
    ASSERT_EQ(other.exec("ALTER TABLE Account_info ADD note varchar(5) NULL").rc(), SQL_SUCCESS);
    ASSERT_EQ(other.exec("CREATE TABLE Later (id int NOT NULL)").rc(), SQL_SUCCESS);

    EXPECT_EQ(exec("INSERT Account_info (hosp_acct_id, acct_name, note) VALUES (1, 'North', 'abcde')\n"
                   "INSERT Later VALUES (1)")
                  .rc(),
              SQL_SUCCESS);
    EXPECT_TRUE(exec("UPDATE Account_info SET note = 'abcdef'").hasError(8152));
    EXPECT_EQ(scalar("SELECT note FROM Account_info"), "abcde");
}

} // namespace
