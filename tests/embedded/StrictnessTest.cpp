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
