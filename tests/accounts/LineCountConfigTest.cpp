#include "DatabaseSession.h"
#include "EventLog.h"
#include "LC_Settings.h"
#include "MessageService.h"
#include "OdbcFixture.h"
#include "SessionHelper.h"
#include "Utf8.h"
#include "clsLineCountConfig.h"

using namespace accounts;
using foundation::DatabaseSession;

namespace {

std::string repeat(const std::string& piece, size_t n) {
    std::string out;
    for (size_t i = 0; i < n; ++i)
        out += piece;
    return out;
}

// A configuration every check accepts: the table's defaults.
clsLineCountConfig valid() {
    clsLineCountConfig c;
    c.config_name = "Radiology";
    for (auto [column, value] : {std::pair{"lc_line_length", "65"},
                                 {"lc_nbr_divisions", "1"},
                                 {"cc_line_length", "65"},
                                 {"cc_nbr_divisions", "1"},
                                 {"pc_page_length", "55"},
                                 {"pc_nbr_divisions", "1"},
                                 {"lc_weight_value", "100"},
                                 {"cc_weight_value", "100"},
                                 {"pc_weight_value", "100"}})
        c.values[static_cast<size_t>(LC_SettingIndex(column))] = value;
    return c;
}

std::string invalid(const char* name, const char* range) {
    return std::string("Configuration cannot be saved.  The ") + name + " setting is invalid.  Valid values are " +
           range + ".";
}

TEST(LineCountSettings, TheTableFollowsTheColumnsOfTheSave) {
    ASSERT_EQ(LC_SettingCount(), 30u);
    EXPECT_STREQ(LC_SettingsBegin()[0].column, "lc_line_length");
    EXPECT_EQ(LC_SettingIndex("flag1"), 10);
    EXPECT_EQ(LC_SettingIndex("flag5"), 12);
    EXPECT_EQ(LC_SettingIndex("cc_line_length"), 13);
    EXPECT_EQ(LC_SettingIndex("flag6"), 25);
    EXPECT_EQ(LC_SettingIndex("pc_weight_value"), 29);
    EXPECT_EQ(LC_SettingIndex("nope"), -1);
    EXPECT_FALSE(valid().Validate().has_value());
}

// Each limit and its neighbours on both sides, for every setting with a range.
TEST(LineCountSettings, EveryRangeAcceptsItsLimitsAndRefusesTheirNeighbours) {
    struct Range {
        const char* column;
        const char* name;
        const char* range;
        long low, high;
    } const ranges[] = {
        {"lc_line_length", "Line Length", "1 to 255", 1, 255},
        {"lc_nbr_divisions", "Line Divisions", "1 to 255", 1, 255},
        {"cc_line_length", "Character Line Length", "1 to 255", 1, 255},
        {"cc_nbr_divisions", "Character Line Divisions", "1 to 255", 1, 255},
        {"pc_page_length", "Page Length", "1 to 255", 1, 255},
        {"pc_nbr_divisions", "Page Divisions", "1 to 255", 1, 255},
        {"lc_weight_value", "Line Weight", "-32000 to 32000", -32000, 32000},
        {"cc_weight_value", "Character Line Weight", "-32000 to 32000", -32000, 32000},
        {"pc_weight_value", "Page Weight", "-32000 to 32000", -32000, 32000},
        {"flag1", "Line Routine Adjustment Percent", "0 to 100", 0, 100},
        {"flag2", "Character Routine Adjustment Percent", "0 to 100", 0, 100},
        {"flag3", "Back-end Speech Rec Adj. Percent", "0 to 100", 0, 100},
        {"flag4", "Back-end Speech Rec Adj. Percent", "0 to 100", 0, 100},
        {"flag5", "Veltra Expert Line Adj. Percent", "0 to 100", 0, 100},
        {"flag6", "Veltra Expert Character Adj. Percent", "0 to 100", 0, 100},
    };
    for (const auto& r : ranges) {
        for (long v : {r.low - 1, r.low, r.low + 1, r.high - 1, r.high, r.high + 1}) {
            clsLineCountConfig c = valid();
            c.values[static_cast<size_t>(LC_SettingIndex(r.column))] = std::to_string(v);
            const auto rule = c.Validate();
            const bool inside = v >= r.low && v <= r.high;
            SCOPED_TRACE(std::string(r.column) + " = " + std::to_string(v));
            if (inside) {
                EXPECT_FALSE(rule.has_value());
                continue;
            }
            ASSERT_TRUE(rule.has_value());
            EXPECT_EQ(rule->message, invalid(r.name, r.range));
            EXPECT_EQ(rule->title, "Invalid Entry");
            EXPECT_EQ(rule->field, LC_SettingIndex(r.column));
        }
    }
}

TEST(LineCountSettings, OnlyWholeNumbersInAsciiDigits) {
    const std::pair<const char*, bool> cases[] = {
        {"65", true},
        {" 65 ", true},
        {"065", true},
        {"", false},
        {"  ", false},
        {"6 5", false},
        {"65.0", false},
        {"6,5", false},
        {"abc", false},
        {"+65", false},
        {"--1", false},
        {"-", false},
        {"1e2", false},
        {"\xD9\xA6\xD9\xA5", false},         // Arabic-Indic 65
        {"\xEF\xBC\x96\xEF\xBC\x95", false}, // fullwidth 65
        {"99999999999999999999", false},
    };
    const size_t index = static_cast<size_t>(LC_SettingIndex("lc_line_length"));
    for (const auto& [text, ok] : cases)
        EXPECT_EQ(clsLineCountConfig::ParseSetting(index, text).has_value(), ok) << "'" << text << "'";
    EXPECT_EQ(clsLineCountConfig::ParseSetting(static_cast<size_t>(LC_SettingIndex("lc_weight_value")), "-32000"),
              -32000);
}

TEST(LineCountSettings, ValidationStopsAtTheFirstRuleInTheScreensOrder) {
    clsLineCountConfig c = valid();
    c.values[static_cast<size_t>(LC_SettingIndex("pc_page_length"))] = "0";
    c.values[static_cast<size_t>(LC_SettingIndex("cc_line_length"))] = "0";
    c.values[static_cast<size_t>(LC_SettingIndex("flag5"))] = "101";
    c.config_name = "";
    c.attributes = std::string(766, 'a');
    // Lines before characters before pages; the name and the codes after every setting.
    const char* expected[] = {"Veltra Expert Line Adj. Percent", "Character Line Length", "Page Length"};
    const char* columns[] = {"flag5", "cc_line_length", "pc_page_length"};
    for (int i = 0; i < 3; ++i) {
        const auto rule = c.Validate();
        ASSERT_TRUE(rule.has_value());
        EXPECT_NE(rule->message.find(expected[i]), std::string::npos) << rule->message;
        c.values[static_cast<size_t>(LC_SettingIndex(columns[i]))] = "1";
    }
    auto rule = c.Validate();
    ASSERT_TRUE(rule.has_value());
    EXPECT_EQ(rule->message, "The configuration name is not set.  Configuration cannot be saved.");
    EXPECT_EQ(rule->title, "Save Error");
    c.config_name = "   ";
    EXPECT_EQ(c.Validate()->field, clsLCRule::Name);
    c.config_name = "X";
    c.functions = std::string(766, 'f');
    rule = c.Validate();
    EXPECT_EQ(rule->message, "The RTF Attribute Codes text is too long.  The maximum number of characters is 765.");
    c.attributes.clear();
    rule = c.Validate();
    EXPECT_EQ(rule->message, "The RTF Function Codes text is too long.  The maximum number of characters is 765.");
    EXPECT_EQ(rule->field, clsLCRule::Functions);
}

// Limits count characters: 765 two- or three-byte letters are 765, not 1530 or 2295.
TEST(LineCountSettings, CodesAreCutIntoPiecesOfCharacters) {
    for (const std::string& letter : {std::string("a"), std::string("\xC3\xA9"), std::string("\xE2\x82\xAC")}) {
        SCOPED_TRACE(letter);
        clsLineCountConfig c = valid();
        c.attributes = repeat(letter, 765);
        EXPECT_FALSE(c.Validate().has_value());
        const auto pieces = clsLineCountConfig::SplitPieces(c.attributes);
        for (const auto& piece : pieces) {
            ASSERT_TRUE(piece.has_value());
            EXPECT_EQ(platform::utf8Length(*piece), 255u);
        }
        c.attributes += letter;
        EXPECT_TRUE(c.Validate().has_value());
        const auto short_ = clsLineCountConfig::SplitPieces(repeat(letter, 256));
        EXPECT_EQ(platform::utf8Length(*short_[0]), 255u);
        EXPECT_EQ(*short_[1], letter);
        EXPECT_FALSE(short_[2].has_value());
    }
    for (const auto& piece : clsLineCountConfig::SplitPieces(""))
        EXPECT_FALSE(piece.has_value());
}

TEST(LineCountSettings, InUseMessageEndsInReportOrReports) {
    EXPECT_EQ(clsLineCountConfig::InUseMessage(1),
              "This configuration can not be deleted.  It is currently referenced by 1 report.");
    EXPECT_EQ(clsLineCountConfig::InUseMessage(2),
              "This configuration can not be deleted.  It is currently referenced by 2 reports.");
    EXPECT_EQ(clsLineCountConfig::InUseMessage(11),
              "This configuration can not be deleted.  It is currently referenced by 11 reports.");
}

class LineCountRecords : public kdtest::SuiteTest {
protected:
    void SetUp() override {
        SuiteTest::SetUp();
        kdtest::connectSession(odbc.folder(), "KALDRA");
        foundation::EventLog::context() = foundation::LogContext{};
        foundation::EventLog::context().userName = "admin";
        DatabaseSession::instance().history.clear();
    }
    void TearDown() override { DatabaseSession::instance().DisconnectFromSQL(); }
    std::string lastLog() {
        return scalar("SELECT TOP 1 CONVERT(varchar, error_code) + ' ' + msg1 FROM System_log ORDER BY date_timestamp "
                      "DESC, error_code DESC");
    }
    platform::MessageRecorder recorder;
};

TEST_F(LineCountRecords, ANewConfigurationIsInsertedByNameThenUpdatedWhole) {
    clsLineCountConfig c = valid();
    c.config_name = repeat("\xC3\xBC", 30); // 30 characters, 60 bytes
    c.values[static_cast<size_t>(LC_SettingIndex("lc_weight_value"))] = "-32000";
    c.values[static_cast<size_t>(LC_SettingIndex("cc_weight_value"))] = "32000";
    c.values[static_cast<size_t>(LC_SettingIndex("flag6"))] = "100";
    c.values[static_cast<size_t>(LC_SettingIndex("cc_blank_lines"))] = "3";
    c.attributes = repeat("\xE2\x82\xAC", 255) + repeat("b", 255) + " \\b0 "; // the third piece keeps its blanks
    c.functions = "\\par";
    ASSERT_TRUE(c.Save()) << (recorder.shown.empty() ? "" : recorder.shown[0].text);
    EXPECT_EQ(c.config_id, 1);
    const auto& h = DatabaseSession::instance().history;
    ASSERT_GE(h.size(), 3u);
    EXPECT_EQ(h[0], "SELECT MAX(config_id) + 1 FROM Linecount_cfg");
    EXPECT_EQ(h[1], "INSERT INTO Linecount_cfg (config_id, config_name) VALUES (1, '" + c.config_name + "')");
    const std::string head = "UPDATE Linecount_cfg \r\nSET config_name = '" + c.config_name + "', \r\nlc_line_length";
    EXPECT_EQ(h[2].substr(0, head.size()), head);
    EXPECT_NE(h[2].find("\r\nflag5 = 0, \r\ncc_line_length = 65, "), std::string::npos);
    EXPECT_NE(h[2].find("\r\nattribute_set3 = ' \\b0 ', \r\nfunction_set1 = '\\par', \r\nfunction_set2 = NULL, "
                        "\r\nfunction_set3 = NULL\r\nWHERE config_id = 1"),
              std::string::npos);
    EXPECT_EQ(scalar("SELECT CONVERT(varchar, lc_weight_value) + '|' + CONVERT(varchar, cc_weight_value) + '|' + "
                     "CONVERT(varchar, flag6) + '|' + CONVERT(varchar, cc_blank_lines) FROM Linecount_cfg WHERE "
                     "config_id = 1"),
              "-32000|32000|100|3");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Linecount_cfg WHERE config_id = 1 AND function_set2 IS NULL AND "
                     "function_set3 IS NULL AND attribute_set3 IS NOT NULL"),
              "1");
    EXPECT_EQ(lastLog(), "20025 Line count configuration " + c.config_name + " updated.");
    const auto back = clsLineCountConfig::Load(1);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->config_name, c.config_name);
    for (size_t i = 0; i < back->values.size(); ++i)
        EXPECT_EQ(clsLineCountConfig::ParseSetting(i, back->values[i]),
                  clsLineCountConfig::ParseSetting(i, c.values[i]))
            << LC_SettingsBegin()[i].column;
    EXPECT_EQ(back->attributes, c.attributes);
    EXPECT_EQ(back->functions, c.functions);
    EXPECT_TRUE(recorder.shown.empty());
}

TEST_F(LineCountRecords, ExactlyThreeFullPiecesOf765Characters) {
    clsLineCountConfig c = valid();
    c.attributes = repeat("\xC3\xA9", 765);
    ASSERT_TRUE(c.Save());
    EXPECT_EQ(scalar("SELECT CONVERT(varchar, LEN(attribute_set1)) + '|' + CONVERT(varchar, LEN(attribute_set2)) + "
                     "'|' + CONVERT(varchar, LEN(attribute_set3)) FROM Linecount_cfg WHERE config_id = 1"),
              "255|255|255");
    EXPECT_EQ(clsLineCountConfig::Load(1)->attributes, c.attributes);
}

TEST_F(LineCountRecords, ReferencesCountBillingAndPayrollAndDeleteLogs) {
    clsLineCountConfig c = valid();
    ASSERT_TRUE(c.Save());
    EXPECT_EQ(clsLineCountConfig::ReferenceCount(1), 0);
    exec("INSERT Reports_cfg (hosp_acct_id, dept_id, report_type_nbr, report_version_nbr, report_name, "
         "billing_linecount_cfg, payroll_linecount_cfg) VALUES (10, 1, 1, 0, 'H&P', 1, 0)");
    EXPECT_EQ(clsLineCountConfig::ReferenceCount(1), 1);
    exec("INSERT Reports_cfg (hosp_acct_id, dept_id, report_type_nbr, report_version_nbr, report_name, "
         "billing_linecount_cfg, payroll_linecount_cfg) VALUES (10, 1, 2, 0, 'Consult', 0, 1)");
    EXPECT_EQ(clsLineCountConfig::ReferenceCount(1), 2);
    EXPECT_EQ(
        DatabaseSession::instance().history.back(),
        "SELECT count(*) FROM Reports_cfg \r\nWHERE payroll_linecount_cfg = 1 OR \r\n      billing_linecount_cfg = 1");
    ASSERT_TRUE(c.Delete());
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Linecount_cfg WHERE config_id = 1"), "0");
    EXPECT_EQ(lastLog(), "20028 Line count configuration Radiology deleted.");
}

TEST_F(LineCountRecords, AnUnknownConfigurationCannotBeRetrieved) {
    EXPECT_FALSE(clsLineCountConfig::Load(42).has_value());
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, "Error.  Could not retrieve configuration.");
    EXPECT_EQ(recorder.shown[0].title, "Retrieve Error");
    std::vector<std::pair<long, std::string>> list;
    ASSERT_TRUE(clsLineCountConfig::LoadList(list));
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0], (std::pair<long, std::string>{0, "Default"}));
}

} // namespace
