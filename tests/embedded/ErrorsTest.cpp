#include "OdbcFixture.h"

using namespace kdtest;

namespace {

class ErrorsTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        exec("CREATE TABLE Printers (printer_id int NOT NULL PRIMARY KEY, name varchar(40) NOT NULL)\n"
             "CREATE TABLE Queues (queue_id int NOT NULL, printer_id int NULL, name varchar(20) NULL)\n"
             "INSERT Printers VALUES (1, 'Main')");
    }
};

struct ErrorCase {
    const char* sql;
    long native;
    const char* message; // the SQL Server text after the driver's prefix
};

TEST_F(ErrorsTest, ErrorsCarrySqlServerNumbersAndTexts) {
    const ErrorCase cases[] = {
        {"SELECT * FROM Nowhere", 208, "Invalid object name 'Nowhere'."},
        {"SELECT * FROM other.dbo.Printers", 208, "Invalid object name 'other.dbo.Printers'."},
        {"SELECT colour FROM Printers", 207, "Invalid column name 'colour'."},
        {"SELECT x.name FROM Printers p", 4104, "The multi-part identifier \"x.name\" could not be bound."},
        {"SELECT name FROM Printers p, Queues q", 209, "Ambiguous column name 'name'."},
        {"INSERT Printers VALUES (1, 'Again')", 2627,
         "Violation of PRIMARY KEY constraint 'PK_Printers'. Cannot insert duplicate key in object 'dbo.Printers'."},
        {"SELECT 'abc' + 1", 245, "Conversion failed when converting the varchar value 'abc' to data type int."},
        {"SELECT CONVERT(int, 'x1')", 245,
         "Conversion failed when converting the varchar value 'x1' to data type int."},
        {"INSERT Printers VALUES (2, 'a printer name that is far too long for its column')", 8152,
         "String or binary data would be truncated."},
        {"SELECT 1 / 0", 8134, "Divide by zero error encountered."},
        {"SELECT @undeclared", 137, "Must declare the scalar variable \"@UNDECLARED\"."},
        {"SELECT FROM Printers", 102, "Incorrect syntax near 'FROM'."},
        {"SELECT 'open", 105, "Unclosed quotation mark after the character string 'open'."},
        {"EXEC nothing_here", 2812, "Could not find stored procedure 'nothing_here'."},
        {"DROP TABLE Nowhere", 3701,
         "Cannot drop the table 'Nowhere', because it does not exist or you do not have permission."},
        {"CREATE TABLE Printers (a int)", 2714, "There is already an object named 'Printers' in the database."},
        {"SELECT DATEADD(fortnight, 1, GETDATE())", 155, "'fortnight' is not a recognized dateadd option."},
        // Literals past a bigint are decimals, never a crash of the engine.
        {"SELECT TOP 99999999999999999999 name FROM Printers", 1060,
         "The number of rows provided for a TOP or FETCH clauses row count parameter must be an integer."},
        {"SELECT name FROM Printers ORDER BY 99999999999999999999", 108,
         "The ORDER BY position number 99999999999999999999 is out of range of the number of items in the select "
         "list."},
    };
    for (const auto& tc : cases) {
        auto r = exec(tc.sql);
        const auto diags = r.allDiags();
        ASSERT_FALSE(diags.empty()) << tc.sql;
        const DiagRecord& d = diags[0];
        EXPECT_EQ(r.rc(), SQL_ERROR) << tc.sql;
        EXPECT_EQ(d.native, tc.native) << tc.sql << " -> " << d.text;
        const std::string prefix = "[SQL Server]";
        ASSERT_NE(d.text.find(prefix), std::string::npos) << d.text;
        EXPECT_EQ(d.text.substr(d.text.find(prefix) + prefix.size()), tc.message) << tc.sql;
    }
}

TEST_F(ErrorsTest, SqliteDialectIsRefusedAsSqlServerRefusesIt) {
    const ErrorCase cases[] = {
        {"SELECT * FROM Printers LIMIT 1", 102, "Incorrect syntax near '1'."},
        {"SELECT name || 'x' FROM Printers", 102, "Incorrect syntax near '|'."},
        {"SELECT IFNULL(name, 'x') FROM Printers", 195, "'IFNULL' is not a recognized built-in function name."},
        {"SELECT datetime('now')", 195, "'DATETIME' is not a recognized built-in function name."},
        {"SELECT \"quoted\" FROM Printers", 207, "Invalid column name 'quoted'."},
        {"CREATE TABLE T2 (id int PRIMARY KEY AUTOINCREMENT)", 102, "Incorrect syntax near 'AUTOINCREMENT'."},
        {"SELECT name FROM Printers WHERE printer_id == 1", 102, "Incorrect syntax near '='."},
        {"INSERT OR REPLACE INTO Printers VALUES (1, 'x')", 102, "Incorrect syntax near 'OR'."},
        {"SELECT typeof(name) FROM Printers", 195, "'TYPEOF' is not a recognized built-in function name."},
        {"PRAGMA table_info(Printers)", 102, "Incorrect syntax near '('."},
        {"SELECT OBJECT_ID('Printers') IS NOT NULL", 102, "Incorrect syntax near 'IS'."},
    };
    for (const auto& tc : cases) {
        auto r = exec(tc.sql);
        const auto diags = r.allDiags();
        ASSERT_FALSE(diags.empty()) << tc.sql;
        const DiagRecord& d = diags[0];
        EXPECT_EQ(d.native, tc.native) << tc.sql << " -> " << d.text;
        EXPECT_NE(d.text.find(tc.message), std::string::npos) << tc.sql << " -> " << d.text;
        if (tc.native != 207) {
            EXPECT_EQ(d.state, "37000") << tc.sql; // ODBC 2 syntax/access class
        }
    }
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Printers"), "1");
}

TEST_F(ErrorsTest, HostileTextEndsInADiagnosticNotACrash) {
    const char* inputs[] = {"",
                            ";;;",
                            "SELECT",
                            "SELECT ((((((1",
                            "/* never closed",
                            "SELECT [unclosed",
                            "BEGIN",
                            "IF",
                            "CASE WHEN",
                            "SELECT * FROM Printers WHERE name LIKE '['",
                            "DECLARE @x int SET @x = (SELECT printer_id FROM Printers) SELECT @x",
                            "SELECT 0x",
                            "SELECT 1e",
                            "EXEC ('EXEC (''SELECT 1'')')",
                            "SELECT CONVERT(varchar, 'x', 999)",
                            "SELECT '\xff\xfe' + N'\xc3\xa9'"};
    for (const char* sql : inputs) {
        auto r = exec(sql);
        EXPECT_FALSE(r.steps.empty()) << sql;
    }
    EXPECT_EQ(scalar("SELECT name FROM Printers WHERE name LIKE '[M]%'"), "Main");
}

TEST_F(ErrorsTest, QuotesInValuesNeverBreakTheStatement) {
    const char* names[] = {"O'Brien", "''", "'; DROP TABLE Printers --", "Zoë Ångström", "a\"b", "[x]", "50%_off"};
    int id = 10;
    for (const char* n : names) {
        std::string quoted;
        for (const char* p = n; *p; ++p)
            quoted += *p == '\'' ? std::string("''") : std::string(1, *p);
        ASSERT_EQ(exec("INSERT Printers VALUES (" + std::to_string(++id) + ", '" + quoted + "')").rc(), SQL_SUCCESS)
            << n;
        EXPECT_EQ(scalar("SELECT name FROM Printers WHERE printer_id = " + std::to_string(id)), n);
    }
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Printers"), "8");
    // Lengths count characters: twenty accented letters fit a varchar(20).
    exec("CREATE TABLE Short (v varchar(20))");
    EXPECT_EQ(exec("INSERT Short VALUES ('éééééééééééééééééééé')").rc(), SQL_SUCCESS);
    EXPECT_EQ(scalar("SELECT LEN(v) FROM Short"), "20");
}

} // namespace
