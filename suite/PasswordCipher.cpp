#include "PasswordCipher.h"

#include <cctype>
#include <cstring>
#include <mutex>
#include <openssl/core_names.h>
#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/hmac.h>
#include <openssl/params.h>
#include <openssl/rand.h>
#include <optional>

namespace suite {

namespace {

constexpr size_t kSalt = 4;
constexpr size_t kBody = 21;
constexpr size_t kTag = 5;
static_assert(kSalt + kBody + kTag == PasswordCipher::kStoredBytes);
static_assert(PasswordCipher::kMaxPasswordLength + 1 == kBody);

// The scrambling secret of releases before site keys; values under it are only read.
constexpr std::string_view kOldSecret = "KDLogin password store v1 / administration console";

using Key = PasswordCipher::Key;

std::array<unsigned char, 32> derive(const unsigned char* secret, size_t secretSize, std::string_view label) {
    std::array<unsigned char, 32> key{};
    unsigned int len = 0;
    HMAC(EVP_sha256(), secret, static_cast<int>(secretSize), reinterpret_cast<const unsigned char*>(label.data()),
         label.size(), key.data(), &len);
    return key;
}

// A keyed cipher and MAC context, made once per thread and key and only restarted for each value:
// fetching the algorithms and keying them again for every password made reading a list of tens of
// thousands of users several times slower than the reading itself.
struct KeyedContexts {
    EVP_CIPHER_CTX* cipher = nullptr;
    EVP_MAC* mac = nullptr;
    EVP_MAC_CTX* macCtx = nullptr;
    bool ready = false;

    KeyedContexts(const unsigned char* secret, size_t secretSize) {
        const auto encryptKey = derive(secret, secretSize, "encrypt");
        const auto macKey = derive(secret, secretSize, "authenticate");
        cipher = EVP_CIPHER_CTX_new();
        mac = EVP_MAC_fetch(nullptr, "HMAC", nullptr);
        macCtx = mac ? EVP_MAC_CTX_new(mac) : nullptr;
        char digest[] = "SHA256";
        const OSSL_PARAM params[] = {OSSL_PARAM_construct_utf8_string(OSSL_MAC_PARAM_DIGEST, digest, 0),
                                     OSSL_PARAM_construct_end()};
        ready = cipher && macCtx &&
                EVP_EncryptInit_ex(cipher, EVP_aes_256_ctr(), nullptr, encryptKey.data(), nullptr) == 1 &&
                EVP_MAC_init(macCtx, macKey.data(), macKey.size(), params) == 1;
        OPENSSL_cleanse(const_cast<unsigned char*>(encryptKey.data()), encryptKey.size());
        OPENSSL_cleanse(const_cast<unsigned char*>(macKey.data()), macKey.size());
    }
    ~KeyedContexts() {
        EVP_MAC_CTX_free(macCtx);
        EVP_MAC_free(mac);
        EVP_CIPHER_CTX_free(cipher);
    }
    KeyedContexts(const KeyedContexts&) = delete;
    KeyedContexts& operator=(const KeyedContexts&) = delete;

    bool crypt(const unsigned char* iv, const unsigned char* in, unsigned char* out, size_t size = kBody) {
        int len = 0, tail = 0;
        return ready && EVP_EncryptInit_ex(cipher, nullptr, nullptr, nullptr, iv) == 1 &&
               EVP_EncryptUpdate(cipher, out, &len, in, static_cast<int>(size)) == 1 &&
               EVP_EncryptFinal_ex(cipher, out + len, &tail) == 1;
    }
    // The first outSize bytes of the HMAC over the two pieces.
    bool tag(const unsigned char* a, size_t aSize, const unsigned char* b, size_t bSize, unsigned char* out,
             size_t outSize = kTag) {
        unsigned char full[EVP_MAX_MD_SIZE];
        size_t len = 0;
        // A null key restarts the MAC with the key it was made with.
        if (!ready || EVP_MAC_init(macCtx, nullptr, 0, nullptr) != 1 || EVP_MAC_update(macCtx, a, aSize) != 1 ||
            EVP_MAC_update(macCtx, b, bSize) != 1 || EVP_MAC_final(macCtx, full, &len, sizeof full) != 1 ||
            len < outSize)
            return false;
        std::memcpy(out, full, outSize);
        return true;
    }
};

KeyedContexts& oldContexts() {
    thread_local KeyedContexts c(reinterpret_cast<const unsigned char*>(kOldSecret.data()), kOldSecret.size());
    return c;
}

// The contexts of the site key last used on this thread; a different key makes new ones.
KeyedContexts& siteContexts(const Key& key) {
    thread_local std::optional<Key> keyed;
    thread_local std::optional<KeyedContexts> c;
    if (!keyed || CRYPTO_memcmp(keyed->data(), key.data(), key.size()) != 0) {
        c.reset();
        c.emplace(key.data(), key.size());
        keyed = key;
    }
    return *c;
}

std::mutex g_keyMutex;
std::optional<Key> g_siteKey;

std::optional<Key> processKey() {
    std::lock_guard lock(g_keyMutex);
    return g_siteKey;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string toHex(const unsigned char* bytes, size_t n) {
    static const char* digits = "0123456789ABCDEF";
    std::string hex;
    hex.reserve(2 * n);
    for (size_t i = 0; i < n; ++i) {
        hex += digits[bytes[i] >> 4];
        hex += digits[bytes[i] & 15];
    }
    return hex;
}

bool fromHex(std::string_view hex, unsigned char* stored) {
    if (hex.size() >= 2 && hex[0] == '0' && (hex[1] == 'x' || hex[1] == 'X'))
        hex.remove_prefix(2);
    while (hex.size() > PasswordCipher::kStoredBytes * 2 && hex.back() == '0')
        hex.remove_suffix(1);
    if (hex.size() != PasswordCipher::kStoredBytes * 2)
        return false;
    for (size_t i = 0; i < PasswordCipher::kStoredBytes; ++i) {
        int hi = hexValue(hex[2 * i]), lo = hexValue(hex[2 * i + 1]);
        if (hi < 0 || lo < 0)
            return false;
        stored[i] = static_cast<unsigned char>(hi * 16 + lo);
    }
    return true;
}

// The length byte, the password and random bytes after it.
bool padded(std::string_view password, unsigned char* plain) {
    if (!PasswordCipher::Fits(password) || RAND_bytes(plain, kBody) != 1)
        return false;
    plain[0] = static_cast<unsigned char>(password.size());
    std::memcpy(plain + 1, password.data(), password.size());
    return true;
}

std::optional<std::string> unpadded(const unsigned char* plain) {
    const size_t len = plain[0];
    if (len > PasswordCipher::kMaxPasswordLength)
        return std::nullopt;
    return std::string(reinterpret_cast<const char*>(plain + 1), len);
}

// salt | tag | seven zero bytes: the counter block of the value's first 16 bytes.
void counterBlock(const unsigned char* salt, const unsigned char* tag, unsigned char* iv) {
    std::memset(iv, 0, 16);
    std::memcpy(iv, salt, kSalt);
    std::memcpy(iv + kSalt, tag, kTag);
}

std::optional<std::string> openUnderSiteKey(const Key& key, const unsigned char* stored) {
    KeyedContexts& c = siteContexts(key);
    const unsigned char* salt = stored;
    const unsigned char* tag = stored + kSalt + kBody;
    unsigned char iv[16], plain[kBody], expected[kTag];
    counterBlock(salt, tag, iv);
    if (!c.crypt(iv, stored + kSalt, plain) || !c.tag(salt, kSalt, plain, kBody, expected) ||
        CRYPTO_memcmp(expected, tag, kTag) != 0)
        return std::nullopt;
    auto out = unpadded(plain);
    OPENSSL_cleanse(plain, sizeof plain);
    return out;
}

std::optional<std::string> openUnderOldKey(const unsigned char* stored) {
    KeyedContexts& c = oldContexts();
    unsigned char expected[kTag];
    if (!c.tag(stored, kSalt, stored + kSalt, kBody, expected) ||
        CRYPTO_memcmp(expected, stored + kSalt + kBody, kTag) != 0)
        return std::nullopt;
    unsigned char iv[16] = {}, plain[kBody];
    std::memcpy(iv, stored, kSalt);
    if (!c.crypt(iv, stored + kSalt, plain))
        return std::nullopt;
    auto out = unpadded(plain);
    OPENSSL_cleanse(plain, sizeof plain);
    return out;
}

std::string decryptUnder(const std::optional<Key>& key, std::string_view hex, PasswordCipher::Origin* origin) {
    if (origin)
        *origin = PasswordCipher::Origin::Unreadable;
    unsigned char stored[PasswordCipher::kStoredBytes];
    if (!fromHex(hex, stored))
        return PasswordCipher::kFailure;
    if (key) {
        if (auto plain = openUnderSiteKey(*key, stored)) {
            if (origin)
                *origin = PasswordCipher::Origin::SiteKey;
            return *plain;
        }
    }
    if (auto plain = openUnderOldKey(stored)) {
        if (origin)
            *origin = PasswordCipher::Origin::OldKey;
        return *plain;
    }
    return PasswordCipher::kFailure;
}

// A sealed settings text: 8 random bytes (salt) | 16-byte tag | the text under AES-256-CTR with the
// tag as its counter block. The tag is an HMAC over a label byte, the salt and the plain text, so a
// text never shares a keystream with a stored password nor, short of a 64-bit salt and a 128-bit tag
// both repeating, with another text.
constexpr size_t kTextSalt = 8;
constexpr size_t kTextTag = 16;
constexpr unsigned char kTextLabel = 'T';

bool textTag(KeyedContexts& c, const unsigned char* salt, const unsigned char* plain, size_t size, unsigned char* out) {
    unsigned char labelled[1 + kTextSalt];
    labelled[0] = kTextLabel;
    std::memcpy(labelled + 1, salt, kTextSalt);
    return c.tag(labelled, sizeof labelled, plain, size, out, kTextTag);
}

std::optional<std::string> openSealedText(const Key& key, std::string_view sealed) {
    if (sealed.empty() || sealed[0] != PasswordCipher::kSealedTextMark)
        return std::nullopt;
    sealed.remove_prefix(1);
    if (sealed.size() % 2 != 0 || sealed.size() / 2 < kTextSalt + kTextTag ||
        sealed.size() / 2 > kTextSalt + kTextTag + PasswordCipher::kMaxSealedText)
        return std::nullopt;
    std::string bytes(sealed.size() / 2, '\0');
    for (size_t i = 0; i < bytes.size(); ++i) {
        const int hi = hexValue(sealed[2 * i]), lo = hexValue(sealed[2 * i + 1]);
        if (hi < 0 || lo < 0)
            return std::nullopt;
        bytes[i] = static_cast<char>(hi * 16 + lo);
    }
    const auto* stored = reinterpret_cast<const unsigned char*>(bytes.data());
    const size_t size = bytes.size() - kTextSalt - kTextTag;
    std::string plain(size, '\0');
    auto* out = reinterpret_cast<unsigned char*>(plain.data());
    KeyedContexts& c = siteContexts(key);
    unsigned char expected[kTextTag];
    if (!c.crypt(stored + kTextSalt, stored + kTextSalt + kTextTag, out, size) ||
        !textTag(c, stored, out, size, expected) || CRYPTO_memcmp(expected, stored + kTextSalt, kTextTag) != 0) {
        OPENSSL_cleanse(plain.data(), plain.size());
        return std::nullopt;
    }
    return plain;
}

} // namespace

void PasswordCipher::UseSiteKey(const Key& key) {
    std::lock_guard lock(g_keyMutex);
    g_siteKey = key;
}

void PasswordCipher::UseOldKeyOnly() {
    std::lock_guard lock(g_keyMutex);
    g_siteKey.reset();
}

bool PasswordCipher::CanWrite() {
    return processKey().has_value();
}

std::string PasswordCipher::encrypt(std::string_view password) {
    const auto key = processKey();
    return key ? encryptWith(*key, password) : std::string();
}

std::string PasswordCipher::decrypt(std::string_view hex, Origin* origin) {
    return decryptUnder(processKey(), hex, origin);
}

std::string PasswordCipher::encryptWith(const Key& key, std::string_view password) {
    unsigned char stored[kStoredBytes], plain[kBody], iv[16];
    if (!padded(password, plain) || RAND_bytes(stored, kSalt) != 1)
        return {};
    KeyedContexts& c = siteContexts(key);
    unsigned char* tag = stored + kSalt + kBody;
    bool ok = c.tag(stored, kSalt, plain, kBody, tag);
    if (ok) {
        counterBlock(stored, tag, iv);
        ok = c.crypt(iv, plain, stored + kSalt);
    }
    OPENSSL_cleanse(plain, sizeof plain);
    return ok ? toHex(stored, kStoredBytes) : std::string();
}

std::string PasswordCipher::decryptWith(const Key& key, std::string_view hex, Origin* origin) {
    return decryptUnder(key, hex, origin);
}

std::string PasswordCipher::sealTextWith(const Key& key, std::string_view text) {
    if (text.size() > kMaxSealedText)
        return {};
    std::string bytes(kTextSalt + kTextTag + text.size(), '\0');
    auto* stored = reinterpret_cast<unsigned char*>(bytes.data());
    KeyedContexts& c = siteContexts(key);
    const auto* plain = reinterpret_cast<const unsigned char*>(text.data());
    const bool ok = RAND_bytes(stored, kTextSalt) == 1 && textTag(c, stored, plain, text.size(), stored + kTextSalt) &&
                    c.crypt(stored + kTextSalt, plain, stored + kTextSalt + kTextTag, text.size());
    return ok ? kSealedTextMark + toHex(stored, bytes.size()) : std::string();
}

std::optional<std::string> PasswordCipher::openTextWith(const Key& key, std::string_view sealed) {
    return openSealedText(key, sealed);
}

std::string PasswordCipher::sealText(std::string_view text) {
    const auto key = processKey();
    return key ? sealTextWith(*key, text) : std::string();
}

std::optional<std::string> PasswordCipher::openText(std::string_view sealed) {
    const auto key = processKey();
    return key ? openSealedText(*key, sealed) : std::nullopt;
}

std::string PasswordCipher::encryptUnderOldKey(std::string_view password) {
    unsigned char stored[kStoredBytes], plain[kBody], iv[16] = {};
    if (!padded(password, plain) || RAND_bytes(stored, kSalt) != 1)
        return {};
    KeyedContexts& c = oldContexts();
    std::memcpy(iv, stored, kSalt);
    const bool ok =
        c.crypt(iv, plain, stored + kSalt) && c.tag(stored, kSalt, stored + kSalt, kBody, stored + kSalt + kBody);
    OPENSSL_cleanse(plain, sizeof plain);
    return ok ? toHex(stored, kStoredBytes) : std::string();
}

} // namespace suite
