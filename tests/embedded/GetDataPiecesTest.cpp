#include "OdbcFixture.h"

#include <cstring>

using namespace kdtest;

namespace {

// Reads every column of every row of the current result in pieces of `bufLen` bytes (the
// terminator included), checking the driver's protocol on the way: 01004 with the remaining
// length while the value does not fit, SQL_SUCCESS for the last piece, SQL_NO_DATA after it.
struct PieceReader {
    SQLHSTMT stmt;
    SQLLEN bufLen;

    std::optional<std::string> column(SQLUSMALLINT col, std::string& problems) {
        std::string value;
        std::vector<char> buf(static_cast<size_t>(bufLen) + 8, '\x7f');
        bool first = true;
        SQLLEN expectedRemaining = -1;
        for (int piece = 0; piece < 10000; ++piece) {
            SQLLEN ind = 0;
            const SQLRETURN rc = SQLGetData(stmt, col, SQL_C_CHAR, buf.data(), bufLen, &ind);
            if (rc == SQL_NO_DATA) {
                problems += "no data before the value ended; ";
                return value;
            }
            if (ind == SQL_NULL_DATA) {
                if (!first)
                    problems += "NULL after a piece; ";
                if (SQLGetData(stmt, col, SQL_C_CHAR, buf.data(), bufLen, &ind) != SQL_NO_DATA)
                    problems += "NULL read twice; ";
                return std::nullopt;
            }
            if (expectedRemaining >= 0 && ind != expectedRemaining)
                problems += "indicator " + std::to_string(ind) + " where " + std::to_string(expectedRemaining) +
                            " bytes remained; ";
            const size_t got = std::strlen(buf.data());
            if (buf[static_cast<size_t>(bufLen)] != '\x7f')
                problems += "wrote past the buffer; ";
            value.append(buf.data(), got);
            first = false;
            if (rc == SQL_SUCCESS) {
                if (static_cast<size_t>(ind) != got)
                    problems +=
                        "last piece's indicator " + std::to_string(ind) + " for " + std::to_string(got) + " bytes; ";
                if (SQLGetData(stmt, col, SQL_C_CHAR, buf.data(), bufLen, &ind) != SQL_NO_DATA)
                    problems += "no SQL_NO_DATA after the last piece; ";
                return value;
            }
            if (rc != SQL_SUCCESS_WITH_INFO) {
                problems += "return code " + std::to_string(rc) + "; ";
                return value;
            }
            SQLCHAR state[6] = {};
            SQLINTEGER native = 0;
            SQLCHAR text[256];
            SQLSMALLINT len = 0;
            SQLGetDiagRec(SQL_HANDLE_STMT, stmt, 1, state, &native, text, sizeof text, &len);
            if (std::string(reinterpret_cast<char*>(state)) != "01004")
                problems += std::string("state ") + reinterpret_cast<char*>(state) + "; ";
            if (got != static_cast<size_t>(bufLen) - 1)
                problems +=
                    "a piece of " + std::to_string(got) + " bytes in a buffer of " + std::to_string(bufLen) + "; ";
            expectedRemaining = ind - static_cast<SQLLEN>(got);
        }
        problems += "endless pieces; ";
        return value;
    }
};

class GetDataPieces : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        ASSERT_EQ(exec("CREATE TABLE Kinds (id int NOT NULL, i int NULL, vc varchar(40) NULL, ch char(6) NULL, "
                       "dt datetime NULL, dec decimal(10,3) NULL, fl float NULL, bin binary(4) NULL, "
                       "vb varbinary(8) NULL, b bit NULL, m money NULL)\n"
                       "INSERT Kinds VALUES (1, -2147483648, 'plain', 'ab', '2026-12-05 23:59:59.997', "
                       "-1234567.125, 0.1, 0x0A0B, 0xDEADBEEF, 1, 12.5)\n"
                       "INSERT Kinds VALUES (2, 42, '\xC3\xA9t\xC3\xA9 \xC3\xA0 G\xC3\xB6ttingen', "
                       "'\xC3\xA9\xC3\xA9', '1900-01-01', 0, -2.5E10, 0x00, 0x, 0, 0)\n"
                       "INSERT Kinds VALUES (3, 0, '\xE6\xBC\xA2\xE5\xAD\x97\xE6\xBC\xA2\xE5\xAD\x97x', "
                       "'\xE6\xBC\xA2', '2000-02-29 12:00:00', 0.001, 1E-5, NULL, NULL, NULL, NULL)\n"
                       "INSERT Kinds VALUES (4, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL)")
                      .rc(),
                  SQL_SUCCESS);
    }
};

// The values as SQL Server's drivers hand them out as character data, recorded from the driver
// before its fetch path was reworked; every row read in pieces of every size must give them.
TEST_F(GetDataPieces, EveryTypeReadsTheSameInAnyPieceSize) {
    using Row = std::vector<std::optional<std::string>>;
    const std::vector<Row> expected = {
        {"1", "-2147483648", "plain", "ab    ", "2026-12-05 23:59:59.997", "-1234567.125", "0.1", "0A0B0000",
         "DEADBEEF", "1", "12.5000"},
        {"2", "42", "\xC3\xA9t\xC3\xA9 \xC3\xA0 G\xC3\xB6ttingen", "\xC3\xA9\xC3\xA9    ", "1900-01-01 00:00:00.000",
         "0.000", "-25000000000", "00000000", "", "0", "0.0000"},
        {"3", "0", "\xE6\xBC\xA2\xE5\xAD\x97\xE6\xBC\xA2\xE5\xAD\x97x", "\xE6\xBC\xA2     ", "2000-02-29 12:00:00.000",
         "0.001", "1e-05", std::nullopt, std::nullopt, std::nullopt, std::nullopt},
        {"4", std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt,
         std::nullopt, std::nullopt, std::nullopt},
    };
    // The streamed path (the batch's last result set) and the stored one (a result set before it).
    const char* const batches[] = {
        "SELECT * FROM Kinds ORDER BY id",
        "SELECT * FROM Kinds ORDER BY id\nSELECT 1",
    };
    // 2 leaves room for one byte: every multi-byte character is split at the buffer's edge.
    for (const char* batch : batches) {
        for (SQLLEN bufLen : {2, 3, 4, 5, 7, 16, 256}) {
            SCOPED_TRACE(std::string(batch) + " / buffer " + std::to_string(bufLen));
            SQLFreeStmt(conn.stmt(), SQL_CLOSE);
            ASSERT_TRUE(SQL_SUCCEEDED(SQLExecDirect(conn.stmt(), (SQLCHAR*)batch, SQL_NTS)));
            PieceReader reader{conn.stmt(), bufLen};
            std::vector<Row> rows;
            std::string problems;
            while (SQLFetch(conn.stmt()) == SQL_SUCCESS) {
                Row row;
                for (SQLUSMALLINT c = 1; c <= 11; ++c)
                    row.push_back(reader.column(c, problems));
                rows.push_back(row);
            }
            EXPECT_EQ(problems, "");
            ASSERT_EQ(rows.size(), expected.size());
            for (size_t r = 0; r < rows.size(); ++r)
                for (size_t c = 0; c < 11; ++c)
                    EXPECT_EQ(rows[r][c], expected[r][c]) << "row " << r + 1 << " column " << c + 1;
        }
    }
}

// A column read in part and left: the next column starts whole, and the row after it too.
TEST_F(GetDataPieces, LeavingAColumnHalfReadMovesOnCleanly) {
    ASSERT_TRUE(SQL_SUCCEEDED(
        SQLExecDirect(conn.stmt(), (SQLCHAR*)"SELECT vc, ch FROM Kinds WHERE id IN (1, 3) ORDER BY id", SQL_NTS)));
    char buf[4];
    SQLLEN ind = 0;
    ASSERT_EQ(SQLFetch(conn.stmt()), SQL_SUCCESS);
    EXPECT_EQ(SQLGetData(conn.stmt(), 1, SQL_C_CHAR, buf, sizeof buf, &ind), SQL_SUCCESS_WITH_INFO);
    EXPECT_STREQ(buf, "pla");
    char whole[64];
    EXPECT_EQ(SQLGetData(conn.stmt(), 2, SQL_C_CHAR, whole, sizeof whole, &ind), SQL_SUCCESS);
    EXPECT_STREQ(whole, "ab    ");
    ASSERT_EQ(SQLFetch(conn.stmt()), SQL_SUCCESS);
    EXPECT_EQ(SQLGetData(conn.stmt(), 1, SQL_C_CHAR, whole, sizeof whole, &ind), SQL_SUCCESS);
    EXPECT_STREQ(whole, "\xE6\xBC\xA2\xE5\xAD\x97\xE6\xBC\xA2\xE5\xAD\x97x");
    EXPECT_EQ(ind, 13);
}

} // namespace
