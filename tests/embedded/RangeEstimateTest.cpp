// Ranges on an indexed column: the planner reads a range that keeps few rows through the index and
// scans the table for one that keeps most of them, whatever form the bound takes.

#include "Session.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

class RangeEstimateTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("TSQL_ENGINE_NOW", "2026-12-05 10:00:00", 1);
        char pattern[] = "/tmp/kdrange-XXXXXX";
        folder = mkdtemp(pattern);
        tsql::OpenOptions o;
        o.folder = folder.string();
        o.database = "RANGES";
        o.create = true;
        session = tsql::Session::open(o);
        // 1 000 jobs, one a day back from the pinned clock; n runs 1 to 1 000; w has no index.
        run("SET NOCOUNT ON\n"
            "CREATE TABLE Jobs (id int NOT NULL PRIMARY KEY, done datetime NULL, n int NOT NULL, w int NOT NULL)\n"
            "CREATE INDEX ix_jobs_done ON Jobs (done)\n"
            "CREATE INDEX ix_jobs_n ON Jobs (n)\n"
            "DECLARE @i int\n"
            "SET @i = 1\n"
            "WHILE @i <= 1000\n"
            "BEGIN\n"
            "    INSERT Jobs VALUES (@i, DATEADD(day, -@i, GETDATE()), @i, @i)\n"
            "    SET @i = @i + 1\n"
            "END");
        sqlite3_trace_v2(session->handle(), SQLITE_TRACE_STMT, &RangeEstimateTest::traced, this);
    }
    void TearDown() override {
        session.reset();
        fs::remove_all(folder);
        unsetenv("TSQL_ENGINE_NOW");
    }

    static int traced(unsigned, void* self, void*, void* text) {
        static_cast<RangeEstimateTest*>(self)->statements.emplace_back(static_cast<const char*>(text));
        return 0;
    }

    void run(const std::string& batch) {
        const tsql::BatchResult r = session->execute(batch);
        for (const auto& item : r.items)
            ASSERT_FALSE(item.failed()) << batch;
    }

    // How SQLite reads Jobs for the last statement it ran that names it in its FROM.
    std::string planOfLastQuery() {
        for (auto s = statements.rbegin(); s != statements.rend(); ++s) {
            if (s->find("FROM \"main\".\"Jobs\" AS") == std::string::npos)
                continue;
            sqlite3_stmt* st = nullptr;
            const std::string explain = "EXPLAIN QUERY PLAN " + *s;
            if (sqlite3_prepare_v2(session->handle(), explain.c_str(), -1, &st, nullptr) != SQLITE_OK)
                return "cannot explain: " + std::string(sqlite3_errmsg(session->handle()));
            std::string plan;
            while (sqlite3_step(st) == SQLITE_ROW)
                plan += reinterpret_cast<const char*>(sqlite3_column_text(st, 3));
            sqlite3_finalize(st);
            return plan;
        }
        return "no query on Jobs";
    }

    // A range read through an index ("SEARCH"), rather than every row of the table or an index ("SCAN").
    static bool seeks(const std::string& plan) { return plan.find("SEARCH") != std::string::npos; }

    fs::path folder;
    std::unique_ptr<tsql::Session> session;
    std::vector<std::string> statements;
};

TEST_F(RangeEstimateTest, ScansForARangeKeepingMostRowsAndSeeksForANarrowOne) {
    struct Case {
        const char* where;
        bool scan;
    } cases[] = {
        {"done < DATEADD(day, -14, GETDATE())", true},  // older than two weeks: 98 %
        {"done > DATEADD(day, -14, GETDATE())", false}, // the last two weeks
        {"DATEADD(day, -14, GETDATE()) > done", true},  // the bound written first
        {"done >= '01/15/2020'", true},                 // a string converted to datetime, before every job
        {"done < '2024-03-01'", false},                 // before the oldest job
        {"n > 50", true},
        {"n >= 990", false},
        {"50 < n", true},
        {"n <= @limit", true}, // a variable's value at the time it runs
        {"n > -(-50)", true},
    };
    for (const Case& c : cases) {
        statements.clear();
        run("DECLARE @limit int\nSET @limit = 995\nSELECT COUNT(w) FROM Jobs WHERE " + std::string(c.where));
        const std::string plan = planOfLastQuery();
        EXPECT_EQ(seeks(plan), !c.scan) << c.where << ": " << plan;
    }
}

TEST_F(RangeEstimateTest, EstimatesLeaveResultsAndOtherStatementsAlone) {
    struct Case {
        const char* query;
        const char* count;
    } cases[] = {
        {"SELECT COUNT(*) FROM Jobs WHERE done < DATEADD(day, -14, GETDATE())", "986"},
        {"SELECT COUNT(*) FROM Jobs WHERE w > 50", "950"},     // no index: nothing to estimate
        {"SELECT COUNT(*) FROM Jobs WHERE n > w - 1", "1000"}, // a column on both sides
        {"SELECT COUNT(*) FROM Jobs WHERE n > (SELECT MIN(w) FROM Jobs)", "999"},
        {"SELECT COUNT(*) FROM Jobs WHERE done < DATEADD(day, 1, NULL)", "0"},
    };
    for (const Case& c : cases) {
        const tsql::BatchResult r = session->execute(c.query);
        ASSERT_FALSE(r.items.empty()) << c.query;
        auto& rows = r.items.back().rows;
        ASSERT_TRUE(rows.cursor && rows.cursor->next()) << c.query;
        EXPECT_EQ(std::string(rows.cursor->text(0)), c.count) << c.query;
    }
    // Only a range against a bound fixed for the statement is estimated.
    statements.clear();
    run("SELECT COUNT(*) FROM Jobs WHERE w > 50 OR n > w - 1");
    for (const std::string& s : statements)
        EXPECT_EQ(s.find("likelihood("), std::string::npos) << s;
}

TEST_F(RangeEstimateTest, AnIndexMadeLaterIsUsedForTheEstimate) {
    statements.clear();
    run("SELECT COUNT(*) FROM Jobs WHERE w > 50");
    EXPECT_FALSE(seeks(planOfLastQuery()));
    run("CREATE INDEX ix_jobs_w ON Jobs (w)");
    statements.clear();
    run("SELECT COUNT(*) FROM Jobs WHERE w > 990");
    EXPECT_TRUE(seeks(planOfLastQuery())) << planOfLastQuery();
    statements.clear();
    run("SELECT COUNT(*) FROM Jobs WHERE w > 50");
    bool estimated = false;
    for (const std::string& s : statements)
        estimated = estimated || s.find("likelihood(") != std::string::npos;
    EXPECT_TRUE(estimated);
}

} // namespace
