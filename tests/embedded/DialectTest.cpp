#include "OdbcFixture.h"

#include <cstdlib>

using namespace kdtest;

namespace {

class DialectTest : public EngineTest {
protected:
    void SetUp() override {
        setenv("TSQL_ENGINE_NOW", "2026-12-05 14:30:15", 1);
        EngineTest::SetUp();
        exec("SET NOCOUNT ON\n"
             "CREATE TABLE Users (user_id int NOT NULL PRIMARY KEY, user_name varchar(30) NOT NULL, "
             "partition_id int NULL, last_login datetime NULL, flags int NOT NULL DEFAULT 0)\n"
             "CREATE TABLE Partitions (partition_id int NOT NULL PRIMARY KEY, name varchar(30) NOT NULL)\n"
             "INSERT Partitions VALUES (1, 'Root')\nINSERT Partitions VALUES (2, 'Cardiology')\n"
             "INSERT Users VALUES (1, 'Admin', 1, '12/01/2026 08:00am', 5)\n"
             "INSERT Users VALUES (2, 'o''Brien', 2, '2026-12-05 23:59:59', 2)\n"
             "INSERT Users VALUES (3, 'Zed', NULL, NULL, 0)");
    }
    void TearDown() override { unsetenv("TSQL_ENGINE_NOW"); }
};

struct Case {
    const char* sql;
    const char* expected;
};

TEST_F(DialectTest, ScalarExpressionsFollowSqlServer) {
    const Case cases[] = {
        // '+' concatenates strings, adds numbers, converts a numeric string, propagates NULL
        {"SELECT 'ab' + 'cd'", "abcd"},
        {"SELECT 2 + 3", "5"},
        {"SELECT '5' + 1", "6"},
        {"SELECT 1 + '5'", "6"},
        {"SELECT ISNULL(NULL + 'x', 'null')", "null"},
        {"SELECT 7 / 2", "3"},
        {"SELECT 7 % 3", "1"},
        {"SELECT 7.0 / 2", "3.5"},
        {"SELECT 6 & 3", "2"},
        {"SELECT 6 | 3", "7"},
        {"SELECT 6 ^ 3", "5"},
        {"SELECT -(-4)", "4"},
        {"SELECT 0x1F", "1F"},
        // functions
        {"SELECT ISNULL(NULL, 'fallback')", "fallback"},
        {"SELECT COALESCE(NULL, NULL, 3)", "3"},
        {"SELECT NULLIF(4, 4)", "<NULL>"},
        {"SELECT LTRIM('   x  ') + '|'", "x  |"},
        {"SELECT RTRIM('  x   ') + '|'", "  x|"},
        {"SELECT LEN('abc   ')", "3"},
        {"SELECT DATALENGTH('abc   ')", "6"},
        {"SELECT SUBSTRING('abcdef', 2, 3)", "bcd"},
        {"SELECT LEFT('abcdef', 2) + RIGHT('abcdef', 2)", "abef"},
        {"SELECT UPPER('aBc') + LOWER('DeF')", "ABCdef"},
        {"SELECT REPLACE('Hello hello', 'HELLO', 'x')", "x x"},
        {"SELECT CHARINDEX('c', 'abcabc')", "3"},
        {"SELECT CHARINDEX('c', 'abcabc', 4)", "6"},
        {"SELECT REPLICATE('ab', 3)", "ababab"},
        {"SELECT SPACE(3) + 'x'", "   x"},
        {"SELECT STR(12.5, 6, 1)", "  12.5"},
        {"SELECT ROUND(12.345, 2)", "12.350"},
        {"SELECT ABS(-3)", "3"},
        {"SELECT ISNUMERIC('12.5')", "1"},
        {"SELECT ISNUMERIC('abc')", "0"},
        {"SELECT ISDATE('12/31/2026')", "1"},
        {"SELECT CASE WHEN 1 > 2 THEN 'a' WHEN 2 > 1 THEN 'b' ELSE 'c' END", "b"},
        {"SELECT CASE 'X' WHEN 'x' THEN 'ci' ELSE 'cs' END", "ci"},
        // dates and CONVERT styles
        {"SELECT GETDATE()", "2026-12-05 14:30:15.000"},
        {"SELECT CONVERT(varchar, GETDATE(), 101)", "12/05/2026"},
        {"SELECT CONVERT(varchar, GETDATE(), 1)", "12/05/26"},
        {"SELECT CONVERT(varchar, GETDATE(), 108)", "14:30:15"},
        {"SELECT CONVERT(varchar, GETDATE(), 8)", "14:30:15"},
        {"SELECT CONVERT(varchar, GETDATE(), 120)", "2026-12-05 14:30:15"},
        {"SELECT CONVERT(varchar, GETDATE(), 121)", "2026-12-05 14:30:15.000"},
        {"SELECT CONVERT(varchar, GETDATE(), 100)", "Dec  5 2026  2:30PM"},
        {"SELECT CONVERT(varchar, GETDATE())", "Dec  5 2026  2:30PM"},
        {"SELECT CONVERT(char(10), GETDATE(), 101)", "12/05/2026"},
        {"SELECT CONVERT(datetime, '12/05/2026 12:00am')", "2026-12-05 00:00:00.000"},
        {"SELECT CONVERT(datetime, '12/05/2026 12:30pm')", "2026-12-05 12:30:00.000"},
        {"SELECT CONVERT(datetime, '20261205')", "2026-12-05 00:00:00.000"},
        {"SELECT CONVERT(datetime, 'Dec  5 2026  2:30PM')", "2026-12-05 14:30:00.000"},
        {"SELECT CONVERT(datetime, '05/12/2026', 103)", "2026-12-05 00:00:00.000"},
        {"SELECT DATEADD(day, 1, '2026-12-31')", "2027-01-01 00:00:00.000"},
        {"SELECT DATEADD(month, 1, '2026-01-31')", "2026-02-28 00:00:00.000"},
        {"SELECT DATEADD(hh, -2, '2026-12-05 01:00')", "2026-12-04 23:00:00.000"},
        {"SELECT DATEDIFF(day, '2026-12-04 23:59', '2026-12-05 00:01')", "1"},
        {"SELECT DATEDIFF(month, '2026-01-31', '2026-02-01')", "1"},
        {"SELECT DATEDIFF(minute, '2026-12-05 10:00', '2026-12-05 11:30')", "90"},
        {"SELECT DATEPART(weekday, '2026-12-05')", "7"},
        {"SELECT YEAR(GETDATE()) * 100 + MONTH(GETDATE())", "202612"},
        {"SELECT DATENAME(month, '2026-12-05')", "December"},
        {"SELECT GETDATE() + 1", "2026-12-06 14:30:15.000"},
        // numeric conversions
        {"SELECT CONVERT(DECIMAL(4,2), '8.1')", "8.10"},
        {"SELECT CONVERT(DECIMAL(4,2), 8.125)", "8.13"},
        {"SELECT CONVERT(int, 3.99)", "3"},
        {"SELECT CAST('42' AS int) + 1", "43"},
        {"SELECT CONVERT(varchar(3), 'abcdef')", "abc"},
        {"SELECT CONVERT(varchar(2), 123)", "*"},
        {"SELECT CONVERT(binary(4), 255)", "000000FF"},
        {"SELECT CONVERT(varbinary(3), 'abc')", "616263"},
        {"SELECT CONVERT(varchar, 0x414243)", "ABC"},
        {"SELECT CONVERT(bit, 5)", "1"},
        // system values
        {"SELECT OBJECT_ID('Users') IS NOT NULL", "<none>"},
        {"SELECT CASE WHEN OBJECT_ID('dbo.Users') IS NULL THEN 'no' ELSE 'yes' END", "yes"},
        {"SELECT CASE WHEN OBJECT_ID('Nothing') IS NULL THEN 'no' ELSE 'yes' END", "no"},
        {"SELECT SERVERPROPERTY('ProductLevel')", "SP4"},
        {"SELECT DB_NAME()", "site"},
    };
    for (const auto& tc : cases) {
        auto r = exec(tc.sql);
        EXPECT_EQ(r.scalar(), tc.expected) << tc.sql << (r.allDiags().empty() ? "" : " -> " + r.allDiags()[0].text);
    }
}

TEST_F(DialectTest, QueriesOverTables) {
    const Case cases[] = {
        // alias = expr, text comparison ignores case and trailing blanks
        {"SELECT name = user_name FROM Users WHERE user_name = 'ADMIN   '", "Admin"},
        {"SELECT user_name FROM Users WHERE user_name = 'o''brien'", "o'Brien"},
        {"SELECT user_name AS 'the name' FROM Users WHERE user_id = 3", "Zed"},
        // datetime column against string literals in several forms
        {"SELECT COUNT(*) FROM Users WHERE last_login >= '12/05/2026'", "1"},
        {"SELECT COUNT(*) FROM Users WHERE last_login < '2026-12-05 00:00:00'", "1"},
        {"SELECT COUNT(*) FROM Users WHERE last_login BETWEEN '12/01/2026 12:00am' AND '12/01/2026 11:59pm'", "1"},
        {"SELECT COUNT(*) FROM Users WHERE last_login = '2026-12-01 08:00'", "1"},
        {"SELECT COUNT(*) FROM Users WHERE DATEDIFF(day, last_login, GETDATE()) = 4", "1"},
        // joins: inner, outer, comma; IN / NOT IN / EXISTS; LIKE with sets
        {"SELECT p.name FROM Users u JOIN Partitions p ON p.partition_id = u.partition_id WHERE u.user_id = 2",
         "Cardiology"},
        {"SELECT COUNT(*) FROM Users u LEFT OUTER JOIN Partitions p ON p.partition_id = u.partition_id", "3"},
        {"SELECT COUNT(*) FROM Users u RIGHT JOIN Partitions p ON p.partition_id = u.partition_id", "2"},
        {"SELECT COUNT(*) FROM Users u FULL OUTER JOIN Partitions p ON p.partition_id = u.partition_id", "3"},
        {"SELECT COUNT(*) FROM Users u, Partitions p WHERE p.partition_id = u.partition_id", "2"},
        {"SELECT COUNT(*) FROM Users WHERE partition_id IN (SELECT partition_id FROM Partitions)", "2"},
        {"SELECT COUNT(*) FROM Users WHERE user_id NOT IN (1, 2)", "1"},
        {"SELECT COUNT(*) FROM Users u WHERE EXISTS (SELECT * FROM Partitions p WHERE p.partition_id = "
         "u.partition_id AND p.name LIKE 'c%')",
         "1"},
        {"SELECT COUNT(*) FROM Users WHERE user_name LIKE '[a-c]%'", "1"},
        {"SELECT COUNT(*) FROM Users WHERE user_name LIKE '[^a]%'", "2"},
        {"SELECT COUNT(*) FROM Users WHERE user_name LIKE '_e_'", "1"},
        {"SELECT COUNT(*) FROM Users WHERE user_name LIKE 'o''%'", "1"},
        {"SELECT COUNT(*) FROM Users WHERE user_name LIKE '%!%%' ESCAPE '!'", "0"},
        // grouping, distinct, ordering by expressions, unions, TOP
        {"SELECT MAX(user_id) FROM Users", "3"},
        {"SELECT MIN(user_name) FROM Users", "Admin"},
        {"SELECT COUNT(DISTINCT partition_id) FROM Users", "2"},
        {"SELECT TOP 1 user_name FROM Users ORDER BY flags & 4 DESC, user_id", "Admin"},
        {"SELECT TOP 1 user_name FROM Users ORDER BY LEN(user_name) DESC", "o'Brien"},
        {"SELECT COUNT(*) FROM (SELECT user_id FROM Users UNION SELECT partition_id FROM Partitions) x", "3"},
        {"SELECT COUNT(*) FROM (SELECT user_id FROM Users UNION ALL SELECT partition_id FROM Partitions) x", "5"},
        {"SELECT TOP 1 partition_id FROM Users GROUP BY partition_id HAVING COUNT(*) > 0 ORDER BY partition_id DESC",
         "2"},
        {"SELECT DISTINCT TOP 1 flags & 1 FROM Users ORDER BY 1 DESC", "1"},
        {"SELECT AVG(user_id) FROM Users", "2"},
        // three-part and two-part names
        {"SELECT COUNT(*) FROM site.dbo.Users", "3"},
        {"SELECT COUNT(*) FROM dbo.Users", "3"},
        {"SELECT COUNT(*) FROM site..Users", "3"},
    };
    for (const auto& tc : cases) {
        auto r = exec(tc.sql);
        EXPECT_EQ(r.scalar(), tc.expected) << tc.sql << (r.allDiags().empty() ? "" : " -> " + r.allDiags()[0].text);
    }
}

TEST_F(DialectTest, InsertAndDeleteWithoutIntoAndFrom) {
    exec("INSERT Partitions VALUES (3, 'Radiology')");
    EXPECT_EQ(scalar("SELECT name FROM Partitions WHERE partition_id = 3"), "Radiology");
    exec("DELETE Partitions WHERE partition_id = 3");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Partitions"), "2");
}

TEST_F(DialectTest, DeleteAndUpdateThroughJoins) {
    exec("UPDATE u SET flags = flags + 10 FROM Users u JOIN Partitions p ON p.partition_id = u.partition_id "
         "WHERE p.name = 'cardiology'");
    EXPECT_EQ(scalar("SELECT flags FROM Users WHERE user_id = 2"), "12");
    EXPECT_EQ(scalar("SELECT flags FROM Users WHERE user_id = 1"), "5");
    auto r = exec("DELETE Users FROM Users u JOIN Partitions p ON p.partition_id = u.partition_id WHERE p.name = "
                  "'Root'");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Users"), "2");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Users WHERE user_id = 1"), "0");
    exec("DELETE u FROM Users u WHERE u.partition_id IS NULL");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Users"), "1");
}

TEST_F(DialectTest, InsertSelectConvertsEachValueToItsColumn) {
    exec("CREATE TABLE Copy (id int NOT NULL, label varchar(5) NULL, seen datetime NULL)");
    exec("INSERT Copy SELECT user_id, CONVERT(varchar, user_id) + 'x', '12/24/2026' FROM Users WHERE user_id < 3");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Copy WHERE seen = '2026-12-24'"), "2");
    EXPECT_EQ(scalar("SELECT label FROM Copy WHERE id = 2"), "2x");
    EXPECT_TRUE(exec("INSERT Copy SELECT user_id, user_name FROM Users").hasError(120));
}

} // namespace
