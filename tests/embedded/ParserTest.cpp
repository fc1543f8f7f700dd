#include "Parser.h"
#include "DateTime.h"
#include "Error.h"
#include "Functions.h"
#include "Lexer.h"

#include <gtest/gtest.h>

using namespace tsql;

namespace {

TEST(DateTimeParse, AcceptsSqlServerFormsAndRejectsImpossibleDates) {
    struct Case {
        const char* text;
        const char* canonical; // nullptr: refused
    };
    const Case cases[] = {
        {"12/05/2026", "2026-12-05 00:00:00.000"},
        {"12/05/2026 12:00am", "2026-12-05 00:00:00.000"},
        {"12/05/2026 12:00 PM", "2026-12-05 12:00:00.000"},
        {"1/2/26", "2026-01-02 00:00:00.000"},
        {"1/2/49", "2049-01-02 00:00:00.000"},
        {"1/2/50", "1950-01-02 00:00:00.000"},
        {"2026-12-05 23:59:59.997", "2026-12-05 23:59:59.997"},
        {"2026-12-05 23:59:59.5", "2026-12-05 23:59:59.500"},
        {"2026-12-05T08:09:10", "2026-12-05 08:09:10.000"},
        {"20261205 08:00", "2026-12-05 08:00:00.000"},
        {"Dec  5 2026  2:30PM", "2026-12-05 14:30:00.000"},
        {"December 5, 2026", "2026-12-05 00:00:00.000"},
        {"5 Dec 2026", "2026-12-05 00:00:00.000"},
        {"23:59", "1900-01-01 23:59:00.000"},
        {"2024-02-29", "2024-02-29 00:00:00.000"},
        {"2026-02-29", nullptr},
        {"13/01/2026", nullptr},
        {"1752-12-31", nullptr},
        {"12/05/2026 25:00", nullptr},
        {"12/05/2026 13:00pm", nullptr},
        {"yesterday", nullptr},
        {"", nullptr},
        {"2026-12", nullptr},
        {"12/05/2026 10:00 extra", nullptr},
    };
    for (const auto& tc : cases) {
        auto d = DateTime::parse(tc.text);
        if (!tc.canonical) {
            EXPECT_FALSE(d.has_value()) << tc.text;
            continue;
        }
        ASSERT_TRUE(d.has_value()) << tc.text;
        EXPECT_EQ(d->canonical(), tc.canonical) << tc.text;
    }
    EXPECT_EQ(DateTime::parse("05/12/2026", true)->canonical(), "2026-12-05 00:00:00.000");
}

TEST(DateTimeArithmetic, DiffCountsBoundariesAndAddClampsMonthEnds) {
    auto d = [](const char* t) { return *DateTime::parse(t); };
    EXPECT_EQ(dateDiff(DatePart::Year, d("2026-12-31 23:59"), d("2027-01-01")), 1);
    EXPECT_EQ(dateDiff(DatePart::Day, d("2026-12-05 00:00"), d("2026-12-05 23:59")), 0);
    EXPECT_EQ(dateDiff(DatePart::Day, d("2026-12-06"), d("2026-12-05")), -1);
    EXPECT_EQ(dateDiff(DatePart::Week, d("2026-12-05"), d("2026-12-06")), 1); // Saturday -> Sunday
    EXPECT_EQ(dateDiff(DatePart::Hour, d("2026-12-05 10:59"), d("2026-12-05 11:00")), 1);
    EXPECT_EQ(dateAdd(DatePart::Month, 1, d("2026-03-31"))->canonical(), "2026-04-30 00:00:00.000");
    EXPECT_EQ(dateAdd(DatePart::Year, 1, d("2024-02-29"))->canonical(), "2025-02-28 00:00:00.000");
    EXPECT_EQ(dateAdd(DatePart::Minute, -1, d("2026-01-01"))->canonical(), "2025-12-31 23:59:00.000");
    EXPECT_FALSE(dateAdd(DatePart::Year, 9000, d("2026-01-01")).has_value());
    EXPECT_EQ(d("2026-12-05").dayOfWeek(), 7);
    EXPECT_EQ(*d("2026-12-05 09:05").format(100), "Dec  5 2026  9:05AM");
    EXPECT_EQ(*d("2026-12-05 00:05").format(100), "Dec  5 2026 12:05AM");
    EXPECT_FALSE(d("2026-12-05").format(99).has_value());
}

TEST(LikePattern, SqlServerWildcardsCaseInsensitive) {
    struct Case {
        const char* pattern;
        const char* text;
        bool match;
    };
    const Case cases[] = {
        {"abc", "ABC", true},      {"a%", "abc", true},   {"%c", "abc", true},      {"%b%", "abc", true},
        {"a_c", "abc", true},      {"a_c", "ac", false},  {"[a-c]%", "Bob", true},  {"[^a-c]%", "bob", false},
        {"[xyz]", "y", true},      {"[xyz]", "w", false}, {"%[0-9]", "ab7", true},  {"100[%]", "100%", true},
        {"100[%]", "1000", false}, {"[", "[", true},      {"", "", true},           {"%", "", true},
        {"_", "", false},          {"%%%x", "abx", true}, {"a%b%c", "aXbYc", true}, {"a%b%c", "aXbY", false},
    };
    for (const auto& tc : cases)
        EXPECT_EQ(likeMatch(tc.pattern, tc.text, -1), tc.match) << tc.pattern << " ~ " << tc.text;
    EXPECT_TRUE(likeMatch("50!%", "50%", '!'));
    EXPECT_FALSE(likeMatch("50!%", "500", '!'));
}

TEST(Collation, CaseAndTrailingBlanksDoNotCount) {
    auto cmp = [](const std::string& a, const std::string& b) {
        return compareTsql(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()));
    };
    EXPECT_EQ(cmp("Smith", "SMITH   "), 0);
    EXPECT_EQ(cmp("", "   "), 0);
    EXPECT_LT(cmp("adams", "Baker"), 0);
    EXPECT_GT(cmp("ab", "a"), 0);
    EXPECT_NE(cmp(" a", "a"), 0); // leading blanks count
}

TEST(Lexer, TokensCommentsAndQuoting) {
    auto t = tokenize("SELECT [my col], N'it''s', 0xab /* a /* nested */ comment */ -- line\n @v, @@ROWCOUNT, 1.5e3");
    std::vector<std::string> texts;
    for (const auto& tok : t)
        texts.push_back(tok.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"SELECT", "my col", ",", "it's", ",", "AB", "@v", ",", "@@ROWCOUNT", ",",
                                               "1.5e3", ""}));
    EXPECT_TRUE(t[3].national);
    EXPECT_EQ(t[10].kind, TokenKind::Float);
    try {
        tokenize("SELECT 'abc");
        FAIL() << "unclosed string accepted";
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), 105);
    }
    try {
        tokenize("SELECT 1 /* open");
        FAIL() << "unclosed comment accepted";
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), 113);
    }
}

TEST(Parser, BatchesSplitWithoutSeparatorsAndCompileErrorsName102) {
    auto b = parseBatch("DECLARE @a int SET @a = 1 IF @a = 1 BEGIN SELECT 1 END ELSE SELECT 2 PRINT 'x'");
    ASSERT_EQ(b.size(), 4u);
    EXPECT_EQ(b[2]->kind, StatementKind::If);
    EXPECT_EQ(b[2]->body.size(), 2u);
    const char* bad[] = {"SELECT * FROM t LIMIT 5",
                         "SELECT a FROM t WHERE",
                         "UPDATE t SET",
                         "SELECT 1 +",
                         "INSERT t",
                         "IF 1 = 1",
                         "BEGIN SELECT 1",
                         "SELECT CASE END",
                         "CREATE TABLE t (a int"};
    for (const char* sql : bad) {
        try {
            parseBatch(sql);
            ADD_FAILURE() << "accepted: " << sql;
        } catch (const Error& e) {
            EXPECT_EQ(e.number(), 102) << sql;
            EXPECT_EQ(e.scope(), ErrorScope::Compile);
        }
    }
}

} // namespace
