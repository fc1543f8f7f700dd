#include "OdbcFixture.h"

using namespace kdtest;

namespace {

// Faults where the engine once answered differently from SQL Server: each case is what SQL Server
// gives for the statement as the console's screens send it.
class StrictnessTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        exec("CREATE TABLE Binders (user_id int NOT NULL PRIMARY KEY, user_name varchar(30) NOT NULL, flag1 int NULL)\n"
             "INSERT Binders VALUES (1, 'ann', 0)\n"
             "INSERT Binders VALUES (2, 'bob', 0)\n"
             "INSERT Binders VALUES (3, 'cy', 1)");
        exec("CREATE VIEW Binder_names AS SELECT user_id, user_name FROM Binders");
    }
    // The SQL Server text of the first diagnostic, after the driver's prefix; "" when none.
    static std::string firstError(const BatchOutcome& r, long* native = nullptr) {
        for (const auto& d : r.allDiags()) {
            const std::string prefix = "[SQL Server]";
            auto at = d.text.find(prefix);
            if (at == std::string::npos)
                continue;
            if (native)
                *native = d.native;
            return d.text.substr(at + prefix.size());
        }
        return {};
    }
};

TEST_F(StrictnessTest, UnknownColumnIsError207NeverAStringOnTablesViewsAndCatalogViews) {
    struct Case {
        const char* sql;
        const char* column;
    };
    const Case cases[] = {
        {"SELECT COUNT(*) FROM sysobjects WHERE bogus_col = 'bogus_col'", "bogus_col"},
        {"SELECT name, sysstatx FROM sysobjects", "sysstatx"},
        {"SELECT user_name, colour FROM Binder_names", "colour"},
        {"SELECT COUNT(*) FROM Binder_names WHERE colour = 'colour'", "colour"},
        {"SELECT n.colour FROM Binder_names n", "colour"},
        {"SELECT user_name FROM Binders WHERE colour = 'colour'", "colour"},
        {"SELECT COUNT(*) FROM (SELECT * FROM Binders) b WHERE colour = 'x'", "colour"},
        {"SELECT COUNT(*) FROM sysobjects o, Binder_names n WHERE o.name = 'Binders' AND hue = 1", "hue"},
    };
    for (const auto& c : cases) {
        auto r = exec(c.sql);
        long native = 0;
        EXPECT_EQ(r.rc(), SQL_ERROR) << c.sql;
        EXPECT_EQ(firstError(r, &native), std::string("Invalid column name '") + c.column + "'.") << c.sql;
        EXPECT_EQ(native, 207) << c.sql;
    }
}

} // namespace

namespace {

TEST_F(StrictnessTest, SysobjectsCarriesTheColumnsTheSuitesGuardsRead) {
    exec("CREATE PROCEDURE Binder_count AS SELECT COUNT(*) FROM Binders");
    struct Case {
        const char* name;
        const char* row; // type, xtype, uid, parent_obj, sysstat & 0xf
    };
    const Case cases[] = {{"Binders", "U|U|1|0|3"}, {"Binder_names", "V|V|1|0|2"}, {"Binder_count", "P|P|1|0|4"}};
    for (const auto& c : cases) {
        auto r = exec(std::string("SELECT RTRIM(type) + '|' + RTRIM(xtype) + '|' + CONVERT(varchar, uid) + '|' + "
                                  "CONVERT(varchar, parent_obj) + '|' + CONVERT(varchar, sysstat & 0xf) "
                                  "FROM sysobjects WHERE id = object_id('") +
                      c.name + "')");
        EXPECT_EQ(r.scalar(), c.row) << c.name << " " << firstError(r);
    }
}

// The guard the suite writes before every CREATE: when it fires, the CREATE after it succeeds.
TEST_F(StrictnessTest, DropIfExistsGuardFiresForProceduresTablesAndViews) {
    struct Case {
        const char* create;
        const char* guard;
    };
    const Case cases[] = {
        {"CREATE PROCEDURE Binder_count AS SELECT COUNT(*) FROM Binders",
         "IF EXISTS (SELECT * FROM sysobjects WHERE id = object_id('Binder_count') AND sysstat & 0xf = 4)\r\n"
         "DROP PROCEDURE Binder_count"},
        {"CREATE TABLE Binder_notes (user_id int NOT NULL, note varchar(40) NULL)",
         "IF EXISTS (SELECT * FROM sysobjects WHERE id = object_id('dbo.Binder_notes') AND sysstat & 0xf = 3)\r\n"
         "DROP TABLE Binder_notes"},
        {"CREATE VIEW Binder_ids AS SELECT user_id FROM Binders",
         "if exists (select * from dbo.sysobjects where id = object_id(N'[dbo].[Binder_ids]') and sysstat & 0xf = "
         "2)\r\n"
         "drop view [dbo].[Binder_ids]"},
    };
    for (const auto& c : cases) {
        auto first = exec(c.create);
        EXPECT_TRUE(SQL_SUCCEEDED(first.rc())) << c.create << " " << firstError(first);
        for (int round = 0; round < 2; ++round) {
            auto guard = exec(c.guard);
            EXPECT_TRUE(SQL_SUCCEEDED(guard.rc())) << c.guard << " " << firstError(guard);
            auto again = exec(c.create);
            EXPECT_TRUE(SQL_SUCCEEDED(again.rc())) << c.create << " " << firstError(again);
        }
    }
    // A guard of the wrong kind does not fire: the table stays.
    exec("IF EXISTS (SELECT * FROM sysobjects WHERE id = object_id('Binders') AND sysstat & 0xf = 4) "
         "DROP PROCEDURE Binders");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Binders"), "3");
}

} // namespace

namespace {

// One statement over some hundred thousand rows takes long enough for the clock to move on;
// every GETDATE() of it still gives the same instant. The next statement reads the clock again.
TEST_F(StrictnessTest, GetdateIsReadOncePerStatement) {
    exec("CREATE TABLE Digits (d int NOT NULL)\n"
         "INSERT Digits VALUES (0) INSERT Digits VALUES (1) INSERT Digits VALUES (2) INSERT Digits VALUES (3)\n"
         "INSERT Digits VALUES (4) INSERT Digits VALUES (5) INSERT Digits VALUES (6) INSERT Digits VALUES (7)\n"
         "INSERT Digits VALUES (8) INSERT Digits VALUES (9)");
    auto r = exec("SELECT DATEDIFF(ms, MIN(GETDATE()), MAX(GETDATE())), COUNT(*) "
                  "FROM Digits a, Digits b, Digits c, Digits d, Digits e, Digits f");
    ASSERT_NE(r.firstRows(), nullptr) << firstError(r);
    EXPECT_EQ(r.firstRows()->rows[0][1].value_or(""), "1000000");
    EXPECT_EQ(r.firstRows()->rows[0][0].value_or(""), "0");
    // Inserted by one statement, the rows carry one timestamp.
    exec("CREATE TABLE Stamps (d int NOT NULL, at datetime NOT NULL DEFAULT GETDATE(), too datetime NULL)\n"
         "INSERT Stamps (d, too) SELECT a.d, GETDATE() FROM Digits a, Digits b, Digits c, Digits d, Digits e");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Stamps WHERE at <> too"), "0");
    EXPECT_EQ(scalar("SELECT COUNT(DISTINCT at) FROM Stamps"), "1");
}

} // namespace

namespace {

TEST_F(StrictnessTest, ScalarSubqueryWithSeveralRowsIsError512) {
    const std::string text = "Subquery returned more than 1 value. This is not permitted when the subquery follows =, "
                             "!=, <, <= , >, >= or when the subquery is used as an expression.";
    const char* refused[] = {
        "SELECT x = (SELECT user_name FROM Binders WHERE flag1 = 0)",
        "SELECT user_id FROM Binders WHERE user_name = (SELECT user_name FROM Binders WHERE flag1 = 0)",
        "SELECT b.user_id, (SELECT n.user_name FROM Binder_names n WHERE n.user_id >= b.user_id) FROM Binders b",
        "DECLARE @n varchar(30)\r\nSET @n = (SELECT user_name FROM Binders)",
        "UPDATE Binders SET flag1 = (SELECT user_id FROM Binders WHERE flag1 = 0) WHERE user_id = 3",
    };
    for (const char* sql : refused) {
        auto r = exec(sql);
        long native = 0;
        EXPECT_EQ(firstError(r, &native), text) << sql;
        EXPECT_EQ(native, 512) << sql;
    }
    EXPECT_EQ(scalar("SELECT flag1 FROM Binders WHERE user_id = 3"), "1");
    // One row, no row, TOP 1 and aggregates stay as they were.
    EXPECT_EQ(scalar("SELECT x = (SELECT user_name FROM Binders WHERE flag1 = 1)"), "cy");
    EXPECT_EQ(scalar("SELECT x = (SELECT user_name FROM Binders WHERE flag1 = 7)"), "<NULL>");
    EXPECT_EQ(scalar("SELECT x = (SELECT TOP 1 user_name FROM Binders ORDER BY user_id DESC)"), "cy");
    EXPECT_EQ(scalar("SELECT x = (SELECT COUNT(*) FROM Binders)"), "3");
    EXPECT_EQ(scalar("SELECT b.user_name FROM Binders b WHERE b.user_id = (SELECT n.user_id FROM Binder_names n "
                     "WHERE n.user_name = b.user_name) AND b.flag1 = 1"),
              "cy");
    // A statement-level error: the batch goes on.
    exec("SELECT x = (SELECT user_name FROM Binders)\r\nINSERT Binders VALUES (4, 'dee', 2)");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Binders"), "4");
}

} // namespace

namespace {

// A number written straight against a keyword starting with E reads as a float with an exponent;
// what follows is then a stray name, and the whole batch is refused before anything runs.
TEST_F(StrictnessTest, NumberRunIntoAKeywordIsReadAsSqlServerReadsIt) {
    auto r = exec("IF EXISTS (SELECT * FROM Binders WHERE user_id = 1)\r\n"
                  "UPDATE Binders SET flag1 = 5 WHERE flag1 = 0 AND user_id = 1ELSE\r\n"
                  "INSERT Binders VALUES (1, 'again', 5)");
    long native = 0;
    EXPECT_EQ(firstError(r, &native), "Incorrect syntax near 'LSE'.");
    EXPECT_EQ(native, 102);
    EXPECT_EQ(scalar("SELECT flag1 FROM Binders WHERE user_id = 1"), "0");
    // Separated by a line break the same pieces run.
    r = exec("IF EXISTS (SELECT * FROM Binders WHERE user_id = 1)\r\n"
             "UPDATE Binders SET flag1 = 5 WHERE flag1 = 0 AND user_id = 1\r\nELSE\r\n"
             "INSERT Binders VALUES (1, 'again', 5)");
    EXPECT_TRUE(SQL_SUCCEEDED(r.rc())) << firstError(r);
    EXPECT_EQ(scalar("SELECT flag1 FROM Binders WHERE user_id = 1"), "5");
    // The float itself, with and without exponent digits.
    EXPECT_EQ(scalar("SELECT CASE WHEN 113E = 113 THEN 'float 113' END"), "float 113");
    EXPECT_EQ(scalar("SELECT CASE WHEN 1.5e2 = 150 THEN 'float 150' END"), "float 150");
    // Other keywords may touch a number, as SQL Server allows.
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Binders WHERE user_id = 1AND flag1 = 5"), "1");
}

} // namespace

namespace {

struct CompileCase {
    const char* batch;
    long native;
    const char* message;
};

// Errors SQL Server finds while compiling refuse the whole batch: nothing before them runs.
TEST_F(StrictnessTest, CompileErrorsRefuseTheWholeBatchBeforeAnyStatementRuns) {
    const CompileCase cases[] = {
        {"PRINT 'before'\r\nBEGIN TRANSACTION\r\nINSERT Binders VALUES (9, 'nine')", 213,
         "Column name or number of supplied values does not match table definition."},
        {"BEGIN TRANSACTION\r\nINSERT Binders VALUES (9, 'nine', 1)\r\nSELECT colour FROM Binders", 207,
         "Invalid column name 'colour'."},
        {"INSERT Binders VALUES (9, 'nine', 1)\r\nIF 1 = 0\r\nSELECT colour FROM Binder_names", 207,
         "Invalid column name 'colour'."},
        {"INSERT Binders VALUES (9, 'nine', 1)\r\nUPDATE Binders SET colour = 1 WHERE user_id = 9", 207,
         "Invalid column name 'colour'."},
        {"INSERT Binders VALUES (9, 'nine', 1)\r\nDELETE Binders WHERE colour = 1", 207,
         "Invalid column name 'colour'."},
        {"DECLARE @n int\r\nINSERT Binders VALUES (9, 'nine', 1)\r\nSELECT @n = COUNT(*) FROM Binders WHERE hue = 1",
         207, "Invalid column name 'hue'."},
        {"INSERT Binders VALUES (9, 'nine', 1)\r\nINSERT Binders (user_id, colour) VALUES (10, 1)", 207,
         "Invalid column name 'colour'."},
        {"INSERT Binders VALUES (9, 'nine', 1)\r\nINSERT Binders (user_id, user_name) SELECT user_id FROM Binders", 120,
         "The select list for the INSERT statement contains fewer items than the insert list. The number of SELECT "
         "values must match the number of INSERT columns."},
        {"BEGIN TRANSACTION\r\nINSERT Binders VALUES (9, 'nine', 1)\r\nSELECT FROM Binders", 102,
         "Incorrect syntax near 'FROM'."},
    };
    for (const auto& c : cases) {
        auto r = exec(c.batch);
        long native = 0;
        EXPECT_EQ(firstError(r, &native), c.message) << c.batch;
        EXPECT_EQ(native, c.native) << c.batch;
        for (const auto& d : r.allDiags())
            EXPECT_EQ(d.text.find("before"), std::string::npos) << c.batch;
        EXPECT_EQ(scalar("SELECT @@TRANCOUNT"), "0") << c.batch;
        EXPECT_EQ(scalar("SELECT COUNT(*) FROM Binders"), "3") << c.batch;
    }
}

// Tables that do not exist when the batch starts are resolved when their statement runs.
TEST_F(StrictnessTest, NamesOfMissingTablesStayDeferredToTheirStatement) {
    auto r = exec("INSERT Binders VALUES (9, 'nine', 1)\r\nSELECT * FROM Not_yet");
    long native = 0;
    EXPECT_EQ(firstError(r, &native), "Invalid object name 'Not_yet'.");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Binders"), "4");
    r = exec("CREATE TABLE Fresh (a int NOT NULL)\r\nINSERT Fresh VALUES (1)\r\nSELECT a FROM Fresh");
    EXPECT_EQ(r.scalar(), "1") << firstError(r);
    r = exec("ALTER TABLE Fresh ADD b int NULL\r\nUPDATE Fresh SET b = 2\r\nSELECT b FROM Fresh");
    EXPECT_EQ(r.scalar(), "2") << firstError(r);
}

// A batch that stops inside the transaction it opened: a conversion error rolls the transaction
// back; a deferred name error ends the batch and leaves it open, as SQL Server does.
TEST_F(StrictnessTest, BatchEndingWithAnErrorInsideItsTransaction) {
    auto r = exec("BEGIN TRANSACTION\r\nINSERT Binders VALUES (9, 'nine', 1)\r\nSELECT CONVERT(int, 'abc')\r\n"
                  "INSERT Binders VALUES (10, 'ten', 1)\r\nCOMMIT TRANSACTION");
    long native = 0;
    firstError(r, &native);
    EXPECT_EQ(native, 245);
    EXPECT_EQ(scalar("SELECT @@TRANCOUNT"), "0");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Binders"), "3");

    r = exec("BEGIN TRANSACTION\r\nINSERT Binders VALUES (9, 'nine', 1)\r\nSELECT * FROM Not_yet\r\n"
             "COMMIT TRANSACTION");
    firstError(r, &native);
    EXPECT_EQ(native, 208);
    EXPECT_EQ(scalar("SELECT @@TRANCOUNT"), "1");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Binders"), "4");
    exec("ROLLBACK TRANSACTION");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Binders"), "3");
    // A statement-level error leaves the transaction to the batch, which commits it.
    r = exec("BEGIN TRANSACTION\r\nINSERT Binders VALUES (1, 'dup', 1)\r\nINSERT Binders VALUES (9, 'nine', 1)\r\n"
             "COMMIT TRANSACTION");
    EXPECT_EQ(scalar("SELECT @@TRANCOUNT"), "0");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Binders"), "4");
}

TEST_F(StrictnessTest, CreateProcedureChecksColumnsOfExistingTablesOnly) {
    auto r = exec("CREATE PROCEDURE Binder_hue @id int AS\r\nSELECT hue FROM Binders WHERE user_id = @id");
    long native = 0;
    EXPECT_EQ(firstError(r, &native), "Invalid column name 'hue'.");
    EXPECT_EQ(native, 207);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM sysobjects WHERE name = 'Binder_hue'"), "0");
    r = exec("CREATE PROCEDURE Binder_upd @id int AS\r\nUPDATE Binders SET hue = 1 WHERE user_id = @id");
    EXPECT_EQ(firstError(r, &native), "Invalid column name 'hue'.");
    // A table that does not exist yet is resolved when the procedure runs.
    r = exec("CREATE PROCEDURE Later_rows @id int AS\r\nDECLARE @n int\r\n"
             "SELECT @n = COUNT(*) FROM Later WHERE id = @id\r\nSELECT user_name FROM Binders WHERE user_id = @id");
    EXPECT_TRUE(SQL_SUCCEEDED(r.rc())) << firstError(r);
    r = exec("EXEC Later_rows 1");
    EXPECT_EQ(firstError(r, &native), "Invalid object name 'Later'.");
    exec("CREATE TABLE Later (id int NOT NULL)");
    EXPECT_EQ(exec("EXEC Later_rows 1").steps.back().rows.size(), 1u);
}

} // namespace
