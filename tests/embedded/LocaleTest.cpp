#include "OdbcFixture.h"

#include <clocale>
#include <string>

using namespace kdtest;

namespace {

// The driver runs inside the console's process, where the toolkit adopts the user's LC_NUMERIC.
// Numbers the engine writes and reads keep their decimal point under a decimal-comma locale.
class LocaleTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        m_saved = std::setlocale(LC_NUMERIC, nullptr);
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "fr_FR.utf8"}) {
            if (std::setlocale(LC_NUMERIC, name) && std::localeconv()->decimal_point[0] == ',')
                return;
        }
        std::setlocale(LC_NUMERIC, m_saved.c_str());
        GTEST_SKIP() << "No decimal-comma locale installed (tools/bootstrap creates de_DE.UTF-8).";
    }
    void TearDown() override { std::setlocale(LC_NUMERIC, m_saved.c_str()); }

    std::string m_saved;
};

TEST_F(LocaleTest, NumbersKeepTheirDecimalPointUnderADecimalCommaLocale) {
    ASSERT_EQ(std::localeconv()->decimal_point[0], ',');
    exec("CREATE TABLE Rates (id int NOT NULL, amount decimal(10,4) NULL, ratio float NULL, price money NULL)\n"
         "INSERT Rates VALUES (1, 0.12, 0.5, 12.5)");
    struct Case {
        const char* sql;
        const char* expected;
    };
    const Case cases[] = {
        {"SELECT CONVERT(varchar, 0.12)", "0.12"},
        {"SELECT amount FROM Rates", "0.1200"},
        {"SELECT price FROM Rates", "12.5000"},
        {"SELECT ratio FROM Rates", "0.5"},
        {"SELECT CONVERT(varchar, ratio * 3) FROM Rates", "1.5"},
        {"SELECT CONVERT(varchar, ratio / 4) FROM Rates", "0.125"},
        {"SELECT CONVERT(decimal(10,2), '1.25')", "1.25"},
        {"SELECT CONVERT(varchar, CONVERT(float, '2.5') * 2)", "5"},
        {"SELECT CONVERT(varchar, CONVERT(float, ' +2.5e1'))", "25"},
        {"SELECT 'Amount ' + CONVERT(varchar, 1.5)", "Amount 1.5"},
        {"SELECT STR(3.14159, 6, 2)", "  3.14"},
        {"SELECT CONVERT(varchar, 1.0E-3)", "0.001"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(scalar(c.sql), c.expected) << c.sql;
}

TEST_F(LocaleTest, DoublesReadThroughTheDriverParseThePoint) {
    ASSERT_EQ(std::localeconv()->decimal_point[0], ',');
    SQLHSTMT st = conn.stmt();
    std::string sql = "SELECT CONVERT(varchar, 2.75)";
    ASSERT_TRUE(SQL_SUCCEEDED(SQLExecDirect(st, reinterpret_cast<SQLCHAR*>(sql.data()), SQL_NTS)));
    ASSERT_EQ(SQLFetch(st), SQL_SUCCESS);
    double v = 0;
    SQLLEN ind = 0;
    ASSERT_TRUE(SQL_SUCCEEDED(SQLGetData(st, 1, SQL_C_DOUBLE, &v, sizeof v, &ind)));
    EXPECT_DOUBLE_EQ(v, 2.75);
    SQLFreeStmt(st, SQL_CLOSE);
}

TEST_F(LocaleTest, SpaceUsedWritesMegabytesWithAPoint) {
    auto r = exec("EXEC sp_spaceused");
    const auto* rows = r.firstRows();
    ASSERT_NE(rows, nullptr);
    ASSERT_FALSE(rows->rows.empty());
    std::string size;
    for (size_t c = 0; c < rows->columnNames.size(); ++c)
        if (rows->columnNames[c] == "database_size")
            size = rows->rows[0][c].value_or("");
    ASSERT_NE(size.find(" MB"), std::string::npos) << size;
    EXPECT_EQ(size.find(','), std::string::npos) << size;
    EXPECT_NE(size.find('.'), std::string::npos) << size;
}

} // namespace
