#include "PasswordCipher.h"

#include <array>
#include <cctype>
#include <cstring>
#include <openssl/evp.h>
#include <openssl/hmac.h>
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

bool crypt(const unsigned char* nonce, const unsigned char* in, unsigned char* out) {
    static const auto key = derive("encrypt");
    unsigned char iv[16] = {};
    std::memcpy(iv, nonce, kNonce);
    EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
    int len = 0, tail = 0;
    bool ok = ctx && EVP_EncryptInit_ex(ctx, EVP_aes_256_ctr(), nullptr, key.data(), iv) == 1 &&
              EVP_EncryptUpdate(ctx, out, &len, in, static_cast<int>(kBody)) == 1 &&
              EVP_EncryptFinal_ex(ctx, out + len, &tail) == 1;
    EVP_CIPHER_CTX_free(ctx);
    return ok;
}

void tag(const unsigned char* data, unsigned char* out) {
    static const auto key = derive("authenticate");
    unsigned char mac[EVP_MAX_MD_SIZE];
    unsigned int len = 0;
    HMAC(EVP_sha256(), key.data(), static_cast<int>(key.size()), data, kNonce + kBody, mac, &len);
    std::memcpy(out, mac, kTag);
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
    tag(stored, stored + kNonce + kBody);
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
    tag(stored, expected);
    if (CRYPTO_memcmp(expected, stored + kNonce + kBody, kTag) != 0)
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
