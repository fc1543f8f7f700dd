#include "PasswordCipher.h"

#include <algorithm>
#include <cctype>
#include <gtest/gtest.h>

using suite::PasswordCipher;

namespace {

TEST(PasswordCipher, RoundTripsEveryLengthTheFormatHolds) {
    const std::string alphabet = "Aa0!' \"~\xc3\xa9";
    for (size_t n = 0; n <= PasswordCipher::kMaxPasswordLength; ++n) {
        std::string password;
        for (size_t i = 0; i < n; ++i)
            password += alphabet[i % alphabet.size()];
        std::string hex = PasswordCipher::encrypt(password);
        ASSERT_EQ(hex.size(), 60u) << n;
        EXPECT_TRUE(std::all_of(hex.begin(), hex.end(), [](char c) { return std::isxdigit(c) && !std::islower(c); }));
        EXPECT_EQ(PasswordCipher::decrypt(hex), password) << n;
    }
    EXPECT_EQ(PasswordCipher::encrypt(std::string(PasswordCipher::kMaxPasswordLength + 1, 'x')), "");
}

TEST(PasswordCipher, SamePasswordGivesDifferentStoredValues) {
    EXPECT_NE(PasswordCipher::encrypt("secret"), PasswordCipher::encrypt("secret"));
}

TEST(PasswordCipher, AcceptsEitherHexCasePrefixAndColumnPadding) {
    std::string hex = PasswordCipher::encrypt("demo");
    std::string lower = hex;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    EXPECT_EQ(PasswordCipher::decrypt(lower), "demo");
    EXPECT_EQ(PasswordCipher::decrypt("0x" + hex), "demo");
    EXPECT_EQ(PasswordCipher::decrypt(hex + "0000"), "demo");
}

TEST(PasswordCipher, DamagedOrForeignValuesReadAsFailure) {
    std::string hex = PasswordCipher::encrypt("demo");
    std::string flipped = hex;
    flipped[20] = flipped[20] == 'A' ? 'B' : 'A';
    const std::string cases[] = {
        "", "ABC", hex.substr(0, 58), flipped, std::string(60, '0'), std::string(59, 'A') + "G", hex + "FF"};
    for (const auto& c : cases)
        EXPECT_EQ(PasswordCipher::decrypt(c), "-1FAIL") << c;
}

} // namespace
