#include "OdbcFixture.h"

using namespace kdtest;

namespace {

class TypesTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        ASSERT_EQ(exec("CREATE TABLE System_log (log_id int IDENTITY(1,1) NOT NULL, log_date datetime NOT NULL "
                       "DEFAULT GETDATE(), event_nbr smallint NOT NULL, severity tinyint NULL, user_name "
                       "varchar(10) NULL, code char(4) NULL, pwd binary(6) NULL, amount decimal(6,2) NULL)")
                      .rc(),
                  SQL_SUCCESS);
    }
};

TEST_F(TypesTest, VarcharLengthIsEnforcedUnlessAnsiWarningsIsOff) {
    auto r = exec("INSERT System_log (event_nbr, user_name) VALUES (1, '12345678901')");
    EXPECT_EQ(r.rc(), SQL_ERROR);
    ASSERT_FALSE(r.allDiags().empty());
    EXPECT_EQ(r.allDiags()[0].native, 8152);
    EXPECT_EQ(r.allDiags()[0].state, "22001");
    EXPECT_NE(r.allDiags()[0].text.find("String or binary data would be truncated."), std::string::npos);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_log"), "0");

    exec("INSERT System_log (event_nbr, user_name) VALUES (1, '1234567890')"); // exactly the width
    exec("SET ANSI_WARNINGS OFF\nINSERT System_log (event_nbr, user_name) VALUES (2, 'abcdefghijKLM')\n"
         "SET ANSI_WARNINGS ON");
    EXPECT_EQ(scalar("SELECT user_name FROM System_log WHERE event_nbr = 2"), "abcdefghij");
    EXPECT_EQ(exec("UPDATE System_log SET user_name = 'way too long now' WHERE event_nbr = 2").rc(), SQL_ERROR);
    EXPECT_EQ(scalar("SELECT user_name FROM System_log WHERE event_nbr = 2"), "abcdefghij");
}

TEST_F(TypesTest, CharIsPaddedBinaryIsPaddedAndShownInHex) {
    exec("INSERT System_log (event_nbr, code, pwd) VALUES (1, 'ab', 0x0AFF)");
    EXPECT_EQ(scalar("SELECT code + '|' FROM System_log"), "ab  |");
    EXPECT_EQ(scalar("SELECT pwd FROM System_log"), "0AFF00000000");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_log WHERE code = 'AB'"), "1");
}

TEST_F(TypesTest, DatetimeLiteralsAreStoredInOneFormAndReadBackAsOdbcText) {
    const char* forms[] = {"12/05/2026 12:00am",      "2026-12-05 00:00:00", "20261205",  "Dec  5 2026 12:00AM",
                           "2026-12-05T00:00:00.000", "12-05-2026",          "5 Dec 2026"};
    int n = 0;
    for (const char* f : forms)
        exec("INSERT System_log (event_nbr, log_date) VALUES (" + std::to_string(++n) + ", '" + f + "')");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_log WHERE log_date = '2026-12-05'"), std::to_string(n));
    EXPECT_EQ(scalar("SELECT MIN(log_date) FROM System_log"), "2026-12-05 00:00:00.000");
    auto bad = exec("INSERT System_log (event_nbr, log_date) VALUES (99, '2026-02-30')");
    EXPECT_TRUE(bad.hasError(241));
    EXPECT_TRUE(exec("SELECT COUNT(*) FROM System_log WHERE log_date > 'yesterday'").hasError(241));
}

TEST_F(TypesTest, DefaultsAndIdentityFillOmittedColumns) {
    setenv("TSQL_ENGINE_NOW", "2026-12-05 09:15:00", 1);
    exec("INSERT System_log (event_nbr) VALUES (10)");
    exec("INSERT System_log (event_nbr) VALUES (11)");
    unsetenv("TSQL_ENGINE_NOW");
    EXPECT_EQ(scalar("SELECT MAX(log_id) FROM System_log"), "2");
    EXPECT_EQ(scalar("SELECT log_date FROM System_log WHERE log_id = 1"), "2026-12-05 09:15:00.000");
    EXPECT_EQ(scalar("INSERT System_log (event_nbr) VALUES (12)\nSELECT @@IDENTITY"), "3");
    // A deleted identity is never handed out again.
    exec("DELETE System_log WHERE log_id = 3");
    EXPECT_EQ(scalar("INSERT System_log (event_nbr) VALUES (13)\nSELECT SCOPE_IDENTITY()"), "4");
}

TEST_F(TypesTest, PositionalInsertSkipsTheIdentityColumn) {
    EXPECT_EQ(exec("INSERT System_log VALUES ('2026-12-05', 7, 1, 'me', 'abcd', 0x01, 12.5)").rc(), SQL_SUCCESS);
    EXPECT_EQ(scalar("SELECT CONVERT(varchar, log_id) + ':' + user_name FROM System_log"), "1:me");
    EXPECT_EQ(scalar("SELECT amount FROM System_log"), "12.50");
    EXPECT_TRUE(exec("INSERT System_log VALUES ('2026-12-05', 7)").hasError(213));
    EXPECT_TRUE(exec("INSERT System_log (log_id, event_nbr) VALUES (50, 1)").hasError(544));
    EXPECT_EQ(exec("SET IDENTITY_INSERT System_log ON\nINSERT System_log (log_id, event_nbr) VALUES (50, 1)\n"
                   "SET IDENTITY_INSERT System_log OFF")
                  .rc(),
              SQL_SUCCESS);
    EXPECT_EQ(scalar("INSERT System_log (event_nbr) VALUES (2)\nSELECT @@IDENTITY"), "51");
}

TEST_F(TypesTest, IntegerRangesAndNotNullAreChecked) {
    EXPECT_TRUE(exec("INSERT System_log (event_nbr, severity) VALUES (1, 300)").hasError(220));
    EXPECT_TRUE(exec("INSERT System_log (event_nbr) VALUES (70000)").hasError(220));
    auto r = exec("INSERT System_log (user_name) VALUES ('x')");
    EXPECT_TRUE(r.hasError(515));
    EXPECT_EQ(r.allDiags().at(0).state, "23000");
    EXPECT_EQ(exec("INSERT System_log (event_nbr, severity) VALUES ('12', '255')").rc(), SQL_SUCCESS);
}

TEST_F(TypesTest, ComparisonsIgnoreCaseAndTrailingBlanks) {
    exec("INSERT System_log (event_nbr, user_name) VALUES (1, 'Smith')");
    exec("INSERT System_log (event_nbr, user_name) VALUES (2, 'smith  ')");
    exec("INSERT System_log (event_nbr, user_name) VALUES (3, 'adams')");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_log WHERE user_name = 'SMITH'"), "2");
    EXPECT_EQ(scalar("SELECT COUNT(DISTINCT user_name) FROM System_log"), "2");
    EXPECT_EQ(scalar("SELECT TOP 1 user_name FROM System_log ORDER BY user_name"), "adams");
    EXPECT_EQ(scalar("DECLARE @n varchar(10) SET @n = 'SMITH' IF @n = 'smith ' SELECT 'same' ELSE SELECT 'diff'"),
              "same");
}

TEST_F(TypesTest, ResultColumnsDescribeTheirSqlServerTypes) {
    exec("INSERT System_log (event_nbr) VALUES (1)");
    ASSERT_EQ(SQLExecDirect(conn.stmt(),
                            reinterpret_cast<SQLCHAR*>(const_cast<char*>(
                                "SELECT log_id, log_date, user_name, amount, pwd, COUNT(*) AS n FROM System_log "
                                "GROUP BY log_id, log_date, user_name, amount, pwd")),
                            SQL_NTS),
              SQL_SUCCESS);
    const SQLSMALLINT expected[] = {SQL_INTEGER, SQL_TIMESTAMP, SQL_VARCHAR, SQL_DECIMAL, SQL_BINARY, SQL_INTEGER};
    for (SQLUSMALLINT c = 1; c <= 6; ++c) {
        SQLCHAR name[64];
        SQLSMALLINT nameLen, type, digits, nullable;
        SQLULEN size;
        ASSERT_EQ(SQLDescribeCol(conn.stmt(), c, name, sizeof name, &nameLen, &type, &size, &digits, &nullable),
                  SQL_SUCCESS);
        EXPECT_EQ(type, expected[c - 1]) << "column " << c << " " << name;
        if (c == 3) {
            EXPECT_EQ(size, 10u);
        }
    }
    SQLFreeStmt(conn.stmt(), SQL_CLOSE);
}

} // namespace

namespace {

// A decimal, numeric or money value converted to text keeps its type's scale, as SQL Server writes it.
TEST_F(TypesTest, ExactNumbersConvertedToTextKeepTheirScale) {
    exec("CREATE TABLE Rates (amount decimal(10,4) NULL, whole numeric(5,0) NULL, price money NULL)\n"
         "INSERT Rates VALUES (0.12, 42, 12.5)");
    struct Case {
        const char* sql;
        const char* expected;
    };
    const Case cases[] = {
        {"SELECT CONVERT(varchar, amount) FROM Rates", "0.1200"},
        {"SELECT CONVERT(varchar(20), whole) FROM Rates", "42"},
        {"SELECT CONVERT(varchar, price) FROM Rates", "12.50"},
        {"SELECT CAST(amount AS varchar(10)) FROM Rates", "0.1200"},
        {"SELECT CONVERT(varchar, 1.50)", "1.50"},
        {"SELECT CONVERT(varchar, CONVERT(decimal(8,3), 1.5))", "1.500"},
        {"SELECT 'Amount ' + CONVERT(varchar, amount) FROM Rates", "Amount 0.1200"},
        {"SELECT ISNULL(CONVERT(varchar, CONVERT(decimal(6,2), NULL)), 'none')", "none"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(scalar(c.sql), c.expected) << c.sql;
}

} // namespace
