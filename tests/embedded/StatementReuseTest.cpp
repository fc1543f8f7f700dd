// A batch sent again with the same text runs from what the connection kept of it (its parse, check,
// translation and prepared statement): it must still see every change made since, by this
// connection or another, and start afresh however its last run ended.

#include "Session.h"
#include "StatementCache.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

class StatementReuseTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/kdreuse-XXXXXX";
        folder = mkdtemp(pattern);
        first = open(true);
        second = open(false);
        run(*first, "SET NOCOUNT ON\nCREATE TABLE Items (id int NOT NULL PRIMARY KEY, name varchar(20) NULL)\n"
                    "INSERT Items VALUES (1, 'one')\nINSERT Items VALUES (2, 'two')\nINSERT Items VALUES (3, 'three')");
    }
    void TearDown() override {
        first.reset();
        second.reset();
        fs::remove_all(folder);
    }

    std::unique_ptr<tsql::Session> open(bool create) {
        tsql::OpenOptions o;
        o.folder = folder.string();
        o.database = "REUSE";
        o.create = create;
        return tsql::Session::open(o);
    }

    static void run(tsql::Session& s, const std::string& batch) {
        for (const auto& item : s.execute(batch).items)
            ASSERT_FALSE(item.failed()) << batch;
    }

    // The batch's rows, a line each, columns joined by '|'; or the first error's number and text.
    static std::string rows(tsql::Session& s, const std::string& batch, size_t limit = 100) {
        tsql::BatchResult r = s.execute(batch);
        std::string out;
        for (auto& item : r.items) {
            for (const auto& m : item.messages)
                if (m.isError())
                    return "error " + std::to_string(m.number) + ": " + m.text;
            if (item.kind != tsql::ResultItem::Kind::Rows || !item.rows.cursor)
                continue;
            try {
                for (size_t n = 0; n < limit && item.rows.cursor->next(); ++n) {
                    for (size_t c = 0; c < item.rows.columns.size(); ++c)
                        out += (c ? "|" : "") + std::string(item.rows.cursor->text(c));
                    out += "\n";
                }
            } catch (const tsql::Error& e) { // a later row's error comes with the fetch
                return out + "error " + std::to_string(e.number()) + ": " + e.what();
            }
        }
        return out;
    }

    fs::path folder;
    std::unique_ptr<tsql::Session> first, second;
};

constexpr const char* kAll = "SELECT * FROM Items ORDER BY id";

TEST_F(StatementReuseTest, SeesChangesMadeSinceItsLastRun) {
    struct Step {
        const char* by; // the connection that changes something before the query runs again
        const char* change;
        const char* expected;
    } steps[] = {
        {"", "", "1|one\n2|two\n3|three\n"},
        {"second", "UPDATE Items SET name = 'uno' WHERE id = 1", "1|uno\n2|two\n3|three\n"},
        {"first", "ALTER TABLE Items ADD code int NULL", "1|uno|\n2|two|\n3|three|\n"},
        {"second", "UPDATE Items SET code = 7", "1|uno|7\n2|two|7\n3|three|7\n"},
        {"second",
         "DROP TABLE Items\nCREATE TABLE Items (id int NOT NULL, note varchar(5) NULL)\n"
         "INSERT Items VALUES (9, 'nine')",
         "9|nine\n"},
        {"second", "DROP TABLE Items", "error 208: Invalid object name 'Items'."},
        {"first", "CREATE TABLE Items (id int NOT NULL)\nINSERT Items VALUES (4)", "4\n"},
    };
    for (const Step& step : steps) {
        if (*step.by)
            run(std::string(step.by) == "first" ? *first : *second, step.change);
        EXPECT_EQ(rows(*first, kAll), step.expected) << "after: " << step.change;
    }
}

TEST_F(StatementReuseTest, SeesATableMadeAgainInOneBatchWithOtherColumns) {
    run(*first, "CREATE TABLE #picked (id int NOT NULL)\nINSERT #picked VALUES (2)");
    const char* picked = "SELECT * FROM #picked";
    EXPECT_EQ(rows(*first, picked), "2\n");
    run(*first, "DROP TABLE #picked\nCREATE TABLE #picked (id int NOT NULL, name varchar(9) NULL)\n"
                "INSERT #picked VALUES (3, 'three')");
    EXPECT_EQ(rows(*first, picked), "3|three\n");
}

TEST_F(StatementReuseTest, StartsAfreshWhateverEndedItsLastRun) {
    EXPECT_EQ(rows(*first, kAll, 1), "1|one\n"); // the client stopped reading after one row
    EXPECT_EQ(rows(*first, kAll), "1|one\n2|two\n3|three\n");
    run(*first, "SET ROWCOUNT 2");
    EXPECT_EQ(rows(*first, kAll), "1|one\n2|two\n");
    run(*first, "SET ROWCOUNT 0");
    EXPECT_EQ(rows(*first, kAll), "1|one\n2|two\n3|three\n");
    // A run cut off by an error: a conversion fails on the third row.
    const char* converts = "SELECT CONVERT(int, CASE WHEN id < 3 THEN '5' ELSE name END) FROM Items ORDER BY id";
    EXPECT_EQ(rows(*first, converts).substr(0, 14), "5\n5\nerror 245:");
    run(*first, "UPDATE Items SET name = '6' WHERE id = 3");
    EXPECT_EQ(rows(*first, converts), "5\n5\n6\n");
}

TEST_F(StatementReuseTest, ACursorMayOutliveItsConnection) {
    tsql::BatchResult open = first->execute(kAll);
    ASSERT_EQ(open.items.size(), 1u);
    ASSERT_TRUE(open.items[0].rows.cursor && open.items[0].rows.cursor->next());
    first.reset(); // the connection closes while the client still holds the rows
    open.items.clear();
    first = this->open(false);
    EXPECT_EQ(rows(*first, kAll), "1|one\n2|two\n3|three\n");
}

TEST_F(StatementReuseTest, TheClockIsReadAgainAtEveryRun) {
    setenv("TSQL_ENGINE_NOW", "2026-12-05 10:00:00", 1);
    EXPECT_EQ(rows(*first, "SELECT GETDATE()"), "2026-12-05 10:00:00.000\n");
    setenv("TSQL_ENGINE_NOW", "2026-12-06 11:30:00", 1);
    EXPECT_EQ(rows(*first, "SELECT GETDATE()"), "2026-12-06 11:30:00.000\n");
    unsetenv("TSQL_ENGINE_NOW");
}

// A full cache lets go of the statement left unused longest, never of one just used, and never
// hands out a statement prepared for tables that have changed since.
TEST(StatementCacheTest, KeepsTheMostRecentlyUsedStatementsOfTheCurrentTables) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(":memory:", &db), SQLITE_OK);
    auto prepared = [&](size_t n) {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, ("SELECT " + std::to_string(n)).c_str(), -1, &st, nullptr);
        return st;
    };
    {
        tsql::StatementCache cache;
        const size_t full = tsql::StatementCache::kMaxIdle;
        for (size_t n = 0; n < full; ++n)
            cache.give(prepared(n), 1);
        sqlite3_stmt* first = cache.take("SELECT 0", 1);
        ASSERT_NE(first, nullptr);
        cache.give(first, 1);          // "SELECT 0" is now the most recently used
        cache.give(prepared(full), 1); // one more: "SELECT 1" goes
        EXPECT_EQ(cache.idleCount(), full);
        EXPECT_EQ(cache.take("SELECT 1", 1), nullptr);
        sqlite3_stmt* kept = cache.take("SELECT 0", 1);
        EXPECT_NE(kept, nullptr);
        cache.give(kept, 1);
        EXPECT_EQ(cache.take("SELECT 0", 2), nullptr); // the tables moved on: prepared afresh
        EXPECT_EQ(cache.take("SELECT 0", 1), nullptr); // and the old one is gone
        sqlite3_stmt* twin = prepared(full);
        cache.give(twin, 1); // a second statement of a text already kept is finalized
        EXPECT_EQ(cache.idleCount(), full - 1);
        cache.close();
        cache.give(prepared(7), 1);
        EXPECT_EQ(cache.idleCount(), 0u);
    }
    EXPECT_EQ(sqlite3_next_stmt(db, nullptr), nullptr); // every statement was finalized
    sqlite3_close(db);
}

} // namespace
