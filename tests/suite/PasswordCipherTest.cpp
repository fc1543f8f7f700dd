#include "PasswordCipher.h"
#include "TestSiteKey.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <gtest/gtest.h>
#include <openssl/evp.h>
#include <openssl/hmac.h>
#include <unordered_set>

using suite::PasswordCipher;
using Origin = PasswordCipher::Origin;

namespace {

std::vector<unsigned char> bytes(const std::string& hex) {
    std::vector<unsigned char> out;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        out.push_back(static_cast<unsigned char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return out;
}

std::string repeat(const std::string& unit, size_t n) {
    std::string s;
    for (size_t i = 0; i < n; ++i)
        s += unit;
    return s;
}

PasswordCipher::Key otherKey() {
    PasswordCipher::Key k{};
    for (size_t i = 0; i < k.size(); ++i)
        k[i] = static_cast<unsigned char>(i * 7 + 1);
    return k;
}

// Restores the test program's site key however a test ends.
struct SiteKeyRestorer {
    ~SiteKeyRestorer() { PasswordCipher::UseSiteKey(testsupport::TestSiteKey()); }
};

// Lengths 0 to the most the stored form holds, in characters of one, two and three bytes.
TEST(PasswordCipher, RoundTripsEveryLengthInOneTwoAndThreeByteCharacters) {
    struct Alphabet {
        const char* name;
        std::string unit; // one character
        size_t maxCharacters;
    };
    const Alphabet alphabets[] = {{"ASCII", "a", 20},
                                  {"quotes", "'", 20},
                                  {"two-byte", "\xc3\xa9", 10},      // é
                                  {"three-byte", "\xe2\x82\xac", 6}, // €
                                  {"mixed", "a\xc3\xa9\xe2\x82\xac", 3}};
    for (const auto& a : alphabets) {
        for (size_t n = 0; n <= a.maxCharacters; ++n) {
            const std::string password = repeat(a.unit, n);
            ASSERT_TRUE(PasswordCipher::Fits(password));
            const std::string hex = PasswordCipher::encrypt(password);
            ASSERT_EQ(hex.size(), 60u) << a.name << " " << n;
            EXPECT_TRUE(
                std::all_of(hex.begin(), hex.end(), [](char c) { return std::isxdigit(c) && !std::islower(c); }));
            Origin origin = Origin::Unreadable;
            EXPECT_EQ(PasswordCipher::decrypt(hex, &origin), password) << a.name << " " << n;
            EXPECT_EQ(origin, Origin::SiteKey);
        }
        // One character more does not fit: refused, never cut inside a character.
        const std::string tooLong = repeat(a.unit, a.maxCharacters + 1);
        EXPECT_FALSE(PasswordCipher::Fits(tooLong)) << a.name;
        EXPECT_EQ(PasswordCipher::encrypt(tooLong), "") << a.name;
    }
}

TEST(PasswordCipher, EqualPasswordsStoredTwiceDiffer) {
    for (const std::string& p : {std::string(), std::string("secret"), std::string(20, 'x')})
        EXPECT_NE(PasswordCipher::encrypt(p), PasswordCipher::encrypt(p)) << p;
}

TEST(PasswordCipher, AcceptsEitherHexCasePrefixAndColumnPadding) {
    std::string hex = PasswordCipher::encrypt("demo");
    std::string lower = hex;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    EXPECT_EQ(PasswordCipher::decrypt(lower), "demo");
    EXPECT_EQ(PasswordCipher::decrypt("0x" + hex), "demo");
    EXPECT_EQ(PasswordCipher::decrypt(hex + "0000"), "demo");
}

TEST(PasswordCipher, DamagedValuesReadAsFailure) {
    const std::string hex = PasswordCipher::encrypt("demo");
    const std::string old = PasswordCipher::encryptUnderOldKey("demo");
    const std::string cases[] = {"",
                                 "ABC",
                                 hex.substr(0, 58),
                                 hex.substr(0, 59), // odd number of digits
                                 hex + "F",
                                 hex + "FF",
                                 std::string(60, '0'),
                                 std::string(59, 'A') + "G",
                                 hex.substr(0, 10) + "zz" + hex.substr(12),
                                 "0x" + hex.substr(2)};
    for (const auto& c : cases)
        EXPECT_EQ(PasswordCipher::decrypt(c), "-1FAIL") << c;
    // Every single flipped bit, in values under either key.
    for (const std::string& value : {hex, old}) {
        for (size_t digit = 0; digit < 60; ++digit) {
            for (int bit = 0; bit < 4; ++bit) {
                std::string flipped = value;
                const int v = std::stoi(value.substr(digit, 1), nullptr, 16) ^ (1 << bit);
                flipped[digit] = "0123456789ABCDEF"[v];
                Origin origin = Origin::SiteKey;
                EXPECT_EQ(PasswordCipher::decrypt(flipped, &origin), "-1FAIL") << digit << ":" << bit;
                EXPECT_EQ(origin, Origin::Unreadable);
            }
        }
    }
}

TEST(PasswordCipher, OldValuesAreReadAndTheTagTellsWhichKey) {
    const std::string old = PasswordCipher::encryptUnderOldKey("legacy!");
    ASSERT_EQ(old.size(), 60u);
    Origin origin = Origin::Unreadable;
    EXPECT_EQ(PasswordCipher::decrypt(old, &origin), "legacy!");
    EXPECT_EQ(origin, Origin::OldKey);
    const std::string fresh = PasswordCipher::encrypt("legacy!");
    EXPECT_EQ(PasswordCipher::decrypt(fresh, &origin), "legacy!");
    EXPECT_EQ(origin, Origin::SiteKey);
}

TEST(PasswordCipher, WithoutASiteKeyOldValuesAreReadAndNothingIsWritten) {
    SiteKeyRestorer restore;
    const std::string underSiteKey = PasswordCipher::encrypt("site");
    const std::string old = PasswordCipher::encryptUnderOldKey("old");
    PasswordCipher::UseOldKeyOnly();
    EXPECT_FALSE(PasswordCipher::CanWrite());
    EXPECT_EQ(PasswordCipher::encrypt("anything"), "");
    EXPECT_EQ(PasswordCipher::decrypt(old), "old");
    EXPECT_EQ(PasswordCipher::decrypt(underSiteKey), "-1FAIL");
}

TEST(PasswordCipher, AnotherSitesValuesReadAsFailure) {
    const std::string foreign = PasswordCipher::encryptWith(otherKey(), "theirs");
    EXPECT_EQ(PasswordCipher::decryptWith(otherKey(), foreign), "theirs");
    EXPECT_EQ(PasswordCipher::decrypt(foreign), "-1FAIL");
    EXPECT_EQ(PasswordCipher::decryptWith(otherKey(), PasswordCipher::encrypt("ours")), "-1FAIL");
}

// An independent reading of the documented layout: keys derived from the site key with HMAC-SHA256,
// AES-256-CTR from the counter block salt | tag | zeros, tag = HMAC over salt and plain bytes.
std::string referenceDecrypt(const PasswordCipher::Key& key, const std::vector<unsigned char>& stored) {
    unsigned char encKey[32], macKey[32];
    unsigned int len = 0;
    HMAC(EVP_sha256(), key.data(), 32, reinterpret_cast<const unsigned char*>("encrypt"), 7, encKey, &len);
    HMAC(EVP_sha256(), key.data(), 32, reinterpret_cast<const unsigned char*>("authenticate"), 12, macKey, &len);
    unsigned char iv[16] = {};
    std::memcpy(iv, stored.data(), 4);
    std::memcpy(iv + 4, stored.data() + 25, 5);
    unsigned char plain[21];
    int outLen = 0;
    EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
    EVP_DecryptInit_ex(ctx, EVP_aes_256_ctr(), nullptr, encKey, iv);
    EVP_DecryptUpdate(ctx, plain, &outLen, stored.data() + 4, 21);
    EVP_CIPHER_CTX_free(ctx);
    unsigned char input[25], mac[32];
    std::memcpy(input, stored.data(), 4);
    std::memcpy(input + 4, plain, 21);
    HMAC(EVP_sha256(), macKey, 32, input, 25, mac, &len);
    if (std::memcmp(mac, stored.data() + 25, 5) != 0 || plain[0] > 20)
        return "tag mismatch";
    return std::string(reinterpret_cast<char*>(plain + 1), plain[0]);
}

TEST(PasswordCipher, StoredFormIsTheSyntheticInitialValueLayout) {
    for (const std::string& p : {std::string(), std::string("demo"), std::string(20, 'z')})
        EXPECT_EQ(referenceDecrypt(otherKey(), bytes(PasswordCipher::encryptWith(otherKey(), p))), p);
}

// 200 000 values of one password length: the counter block of each value (salt and tag, then the
// block counter) is never that of another, so no keystream is used twice.
TEST(PasswordCipher, NoTwoOf200000ValuesShareACounterBlock) {
    constexpr size_t kValues = 200000;
    std::unordered_set<std::string> blocks;
    blocks.reserve(kValues);
    for (size_t i = 0; i < kValues; ++i) {
        const std::string hex = PasswordCipher::encrypt("samelength");
        ASSERT_EQ(hex.size(), 60u);
        // salt: digits 0..7, tag: digits 50..59; the counter's low bytes start at zero for each value
        // and the 21 bytes take two blocks, so distinct salt and tag means distinct blocks.
        ASSERT_TRUE(blocks.insert(hex.substr(0, 8) + hex.substr(50, 10)).second) << "repeated at value " << i;
    }
    EXPECT_EQ(blocks.size(), kValues);
}

} // namespace

namespace {

// A settings text's secret: any length up to the limit, in characters of one to three bytes.
TEST(SealedText, RoundTripsUpToItsLimitAndRefusesBeyondIt) {
    const struct {
        const char* name;
        std::string text;
        bool fits;
    } cases[] = {
        {"empty", "", true},
        {"one byte", "x", true},
        {"at the limit, ASCII", std::string(PasswordCipher::kMaxSealedText, 'a'), true},
        {"one beyond", std::string(PasswordCipher::kMaxSealedText + 1, 'a'), false},
        {"at the limit, 2-byte", repeat("\xc3\xa4", PasswordCipher::kMaxSealedText / 2), true},
        {"170 3-byte characters", repeat("\xe2\x82\xac", PasswordCipher::kMaxSealedText / 3), true},
        {"one 3-byte character too many", repeat("\xe2\x82\xac", PasswordCipher::kMaxSealedText / 3 + 1), false},
        {"separators and zero bytes", std::string("a?b%c\0d", 7), true},
    };
    for (const auto& c : cases) {
        const std::string sealed = PasswordCipher::sealText(c.text);
        if (!c.fits) {
            EXPECT_EQ(sealed, "") << c.name;
            continue;
        }
        ASSERT_FALSE(sealed.empty()) << c.name;
        EXPECT_EQ(sealed[0], PasswordCipher::kSealedTextMark) << c.name;
        EXPECT_EQ(sealed.find_first_not_of("0123456789ABCDEF", 1), std::string::npos) << c.name;
        EXPECT_EQ(PasswordCipher::openText(sealed), c.text) << c.name;
        EXPECT_NE(PasswordCipher::sealText(c.text), sealed) << c.name; // a new salt every time
        EXPECT_EQ(PasswordCipher::openTextWith(otherKey(), sealed), std::nullopt) << c.name;
    }
}

TEST(SealedText, EveryFlippedBitAndEveryCutReadsAsNothing) {
    const std::string sealed = PasswordCipher::sealText("B1nd-Pw");
    for (size_t i = 1; i < sealed.size(); ++i)
        for (int bit = 0; bit < 4; ++bit) {
            std::string damaged = sealed;
            const int digit = std::stoi(damaged.substr(i, 1), nullptr, 16) ^ (1 << bit);
            damaged[i] = "0123456789ABCDEF"[digit];
            EXPECT_EQ(PasswordCipher::openText(damaged), std::nullopt) << i << "/" << bit;
        }
    for (size_t cut = 0; cut < sealed.size(); ++cut)
        EXPECT_EQ(PasswordCipher::openText(sealed.substr(0, cut)), std::nullopt) << cut;
    EXPECT_EQ(PasswordCipher::openText(sealed.substr(1)), std::nullopt);           // without its mark
    EXPECT_EQ(PasswordCipher::openText(sealed + "00"), std::nullopt);              // a byte more
    EXPECT_EQ(PasswordCipher::openText("K" + std::string(48, 'Z')), std::nullopt); // not hex
}

TEST(SealedText, WithoutASiteKeyNothingIsSealedOrOpened) {
    const std::string sealed = PasswordCipher::sealText("B1nd-Pw");
    SiteKeyRestorer restore;
    PasswordCipher::UseOldKeyOnly();
    EXPECT_EQ(PasswordCipher::sealText("B1nd-Pw"), "");
    EXPECT_EQ(PasswordCipher::openText(sealed), std::nullopt);
    EXPECT_EQ(PasswordCipher::openTextWith(testsupport::TestSiteKey(), sealed), "B1nd-Pw");
}

} // namespace
