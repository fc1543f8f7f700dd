#pragma once

#include <string>
#include <string_view>

namespace suite {

// The login component's password scrambling: a stored password is 30 bytes, written and read as
// 60 hexadecimal digits (a binary(30) column, or a KALDRA.INI value).
//
// Layout: 4 random bytes (nonce) | 21 bytes AES-256-CTR of (length byte, password, random pad) |
// 5 bytes of HMAC-SHA256 over nonce and ciphertext. The tag makes a damaged or foreign value
// detectable, so it reads as "-1FAIL" instead of as a wrong password.
class PasswordCipher {
public:
    static constexpr size_t kMaxPasswordLength = 20;
    static constexpr size_t kStoredBytes = 30;
    static constexpr const char* kFailure = "-1FAIL";

    // 60 upper-case hex digits; empty when the password is longer than kMaxPasswordLength.
    [[nodiscard]] static std::string encrypt(std::string_view password);
    // The password, or "-1FAIL" for anything that is not an intact value of this cipher. Either
    // hex case is accepted, with or without a leading "0x", and trailing zero padding beyond the
    // 60 digits (a wider binary column) is ignored.
    [[nodiscard]] static std::string decrypt(std::string_view hex);
};

} // namespace suite
