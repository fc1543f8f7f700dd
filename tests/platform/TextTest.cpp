#include "DecimalCommaLocale.h"
#include "Numbers.h"
#include "Utf8.h"

#include <gtest/gtest.h>
#include <string>

namespace {

using kdtest::DecimalCommaLocale;

TEST(Numbers, FormatAndParseIgnoreTheLocale) {
    DecimalCommaLocale german;
    KD_REQUIRE_DECIMAL_COMMA(german);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f", 0.5);
    ASSERT_STREQ(buf, "0,5") << "the locale really uses a decimal comma";

    EXPECT_EQ(platform::formatFixed(0.1, 4), "0.1000");
    EXPECT_EQ(platform::formatFixed(1234567.126, 2), "1234567.13");
    EXPECT_EQ(platform::formatFixed(-2.5, 0), "-2");
    EXPECT_EQ(platform::formatNumber(8.1), "8.1");
    EXPECT_EQ(platform::parseNumber("8.10"), 8.1);
    EXPECT_EQ(platform::parseNumber(" -0.25 "), -0.25);
    EXPECT_EQ(platform::parseNumber("+3"), 3.0);
    EXPECT_EQ(platform::parseNumber(".5"), 0.5);
}

TEST(Numbers, ParseRefusesWhatIsNotANumber) {
    for (const char* text : {"", " ", "8,10", "1e3", "abc", "1.2.3", "--1", "+", "0x10", "\xEF\xBC\x93", "12a"})
        EXPECT_FALSE(platform::parseNumber(text).has_value()) << text;
}

TEST(Numbers, DigitsAreAsciiOnly) {
    struct Case {
        const char* text;
        std::optional<long long> value;
    };
    const Case cases[] = {
        {"30", 30},
        {"000", 0},
        {"0042", 42},
        {"\xEF\xBC\x93\xEF\xBC\x90", std::nullopt}, // fullwidth "30"
        {"\xD9\xA3", std::nullopt},                 // Arabic-Indic three
        {"", std::nullopt},
        {" 1", std::nullopt},
        {"-1", std::nullopt},
        {"+1", std::nullopt},
        {"1.0", std::nullopt},
        {"99999999999999999999", std::nullopt}, // beyond a 64-bit number
    };
    for (const auto& c : cases)
        EXPECT_EQ(platform::parseDigits(c.text), c.value) << c.text;
}

TEST(Utf8, CutsNeverSplitACharacter) {
    const std::string e = "\xC3\xA9";        // é, 2 bytes
    const std::string han = "\xE6\xBC\xA2";  // 漢, 3 bytes
    const std::string mixed = "a" + e + han; // 3 characters, 6 bytes
    EXPECT_EQ(platform::utf8Length(mixed), 3u);
    EXPECT_EQ(platform::utf8Left(mixed, 0), "");
    EXPECT_EQ(platform::utf8Left(mixed, 1), "a");
    EXPECT_EQ(platform::utf8Left(mixed, 2), "a" + e);
    EXPECT_EQ(platform::utf8Left(mixed, 3), mixed);
    EXPECT_EQ(platform::utf8Left(mixed, 10), mixed);
    std::string many;
    for (int i = 0; i < 100; ++i)
        many += han;
    EXPECT_EQ(platform::utf8Length(platform::utf8Left(many, 87)), 87u);
    EXPECT_EQ(platform::utf8Left(many, 87).size(), 87u * 3);
}

} // namespace
