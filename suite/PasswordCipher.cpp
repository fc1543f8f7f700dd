#include "PasswordCipher.h"

#include <array>
#include <cctype>
#include <cstring>
#include <openssl/core_names.h>
#include <openssl/evp.h>
#include <openssl/hmac.h>
#include <openssl/params.h>
#include <openssl/rand.h>

namespace suite {

namespace {

constexpr size_t kNonce = 4;
constexpr size_t kBody = 21;
constexpr size_t kTag = 5;
static_assert(kNonce + kBody + kTag == PasswordCipher::kStoredBytes);

// The suite's fixed scrambling secret; the encryption and MAC keys are derived from it.
constexpr std::string_view kSecret = "KDLogin password store v1 / administration console";

std::array<unsigned char, 32> derive(std::string_view label) {
    std::array<unsigned char, 32> key{};
    unsigned int len = 0;
    HMAC(EVP_sha256(), kSecret.data(), static_cast<int>(kSecret.size()),
         reinterpret_cast<const unsigned char*>(label.data()), label.size(), key.data(), &len);
    return key;
}

// The keyed cipher and MAC contexts are made once per thread and only restarted for each value:
// fetching the algorithms and keying them again for every password made reading a list of tens
// of thousands of users several times slower than the reading itself.
struct KeyedContexts {
    EVP_CIPHER_CTX* cipher = nullptr;
    EVP_MAC* mac = nullptr;
    EVP_MAC_CTX* macCtx = nullptr;
    bool ready = false;

    KeyedContexts() {
        const auto encryptKey = derive("encrypt");
        const auto macKey = derive("authenticate");
        cipher = EVP_CIPHER_CTX_new();
        mac = EVP_MAC_fetch(nullptr, "HMAC", nullptr);
        macCtx = mac ? EVP_MAC_CTX_new(mac) : nullptr;
        char digest[] = "SHA256";
        const OSSL_PARAM params[] = {OSSL_PARAM_construct_utf8_string(OSSL_MAC_PARAM_DIGEST, digest, 0),
                                     OSSL_PARAM_construct_end()};
        ready = cipher && macCtx &&
                EVP_EncryptInit_ex(cipher, EVP_aes_256_ctr(), nullptr, encryptKey.data(), nullptr) == 1 &&
                EVP_MAC_init(macCtx, macKey.data(), macKey.size(), params) == 1;
    }
    ~KeyedContexts() {
        EVP_MAC_CTX_free(macCtx);
        EVP_MAC_free(mac);
        EVP_CIPHER_CTX_free(cipher);
    }
    KeyedContexts(const KeyedContexts&) = delete;
    KeyedContexts& operator=(const KeyedContexts&) = delete;
};

KeyedContexts& contexts() {
    thread_local KeyedContexts c;
    return c;
}

bool crypt(const unsigned char* nonce, const unsigned char* in, unsigned char* out) {
    KeyedContexts& c = contexts();
    unsigned char iv[16] = {};
    std::memcpy(iv, nonce, kNonce);
    int len = 0, tail = 0;
    return c.ready && EVP_EncryptInit_ex(c.cipher, nullptr, nullptr, nullptr, iv) == 1 &&
           EVP_EncryptUpdate(c.cipher, out, &len, in, static_cast<int>(kBody)) == 1 &&
           EVP_EncryptFinal_ex(c.cipher, out + len, &tail) == 1;
}

bool tag(const unsigned char* data, unsigned char* out) {
    KeyedContexts& c = contexts();
    unsigned char mac[EVP_MAX_MD_SIZE];
    size_t len = 0;
    // A null key restarts the MAC with the key it was made with.
    if (!c.ready || EVP_MAC_init(c.macCtx, nullptr, 0, nullptr) != 1 ||
        EVP_MAC_update(c.macCtx, data, kNonce + kBody) != 1 || EVP_MAC_final(c.macCtx, mac, &len, sizeof mac) != 1 ||
        len < kTag)
        return false;
    std::memcpy(out, mac, kTag);
    return true;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

std::string PasswordCipher::encrypt(std::string_view password) {
    if (password.size() > kMaxPasswordLength)
        return {};
    unsigned char stored[kStoredBytes];
    unsigned char plain[kBody];
    RAND_bytes(stored, kNonce);
    RAND_bytes(plain, kBody);
    plain[0] = static_cast<unsigned char>(password.size());
    std::memcpy(plain + 1, password.data(), password.size());
    if (!crypt(stored, plain, stored + kNonce))
        return {};
    if (!tag(stored, stored + kNonce + kBody))
        return {};
    static const char* digits = "0123456789ABCDEF";
    std::string hex;
    for (unsigned char b : stored) {
        hex += digits[b >> 4];
        hex += digits[b & 15];
    }
    return hex;
}

std::string PasswordCipher::decrypt(std::string_view hex) {
    if (hex.size() >= 2 && hex[0] == '0' && (hex[1] == 'x' || hex[1] == 'X'))
        hex.remove_prefix(2);
    while (hex.size() > kStoredBytes * 2 && hex.back() == '0')
        hex.remove_suffix(1);
    if (hex.size() != kStoredBytes * 2)
        return kFailure;
    unsigned char stored[kStoredBytes];
    for (size_t i = 0; i < kStoredBytes; ++i) {
        int hi = hexValue(hex[2 * i]), lo = hexValue(hex[2 * i + 1]);
        if (hi < 0 || lo < 0)
            return kFailure;
        stored[i] = static_cast<unsigned char>(hi * 16 + lo);
    }
    unsigned char expected[kTag];
    if (!tag(stored, expected) || CRYPTO_memcmp(expected, stored + kNonce + kBody, kTag) != 0)
        return kFailure;
    unsigned char plain[kBody];
    if (!crypt(stored, stored + kNonce, plain))
        return kFailure;
    size_t len = plain[0];
    if (len > kMaxPasswordLength)
        return kFailure;
    return std::string(reinterpret_cast<char*>(plain + 1), len);
}

} // namespace suite
