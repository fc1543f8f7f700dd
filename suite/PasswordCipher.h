#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace suite {

// The login component's password scrambling: a stored password is 30 bytes, written and read as
// 60 hexadecimal digits (a binary(30) column, or a KALDRA.INI value).
//
// Layout under a site key: 4 random bytes (salt) | 21 bytes AES-256-CTR of (length byte, password,
// random pad) | 5-byte tag. The tag is an HMAC-SHA256 over the salt and the plain 21 bytes, and the
// counter block is the salt followed by the tag: a keystream is used again only when salt and tag
// (72 bits) both repeat, and a changed bit anywhere makes the tag fail, so a damaged or foreign
// value reads as "-1FAIL" instead of as a wrong password.
//
// Values written before sites had their own key were enciphered under a key built into the
// program (4-byte nonce | ciphertext | HMAC over both). They are still read — the tag tells which
// key a value was written with — but never written any more.
//
// The process holds one site key (installed at start-up from the site's key file). Without one,
// values under the old key are read and no password is written: encrypt() answers "".
class PasswordCipher {
public:
    static constexpr size_t kMaxPasswordLength = 20; // bytes of UTF-8
    static constexpr size_t kStoredBytes = 30;
    static constexpr size_t kKeyBytes = 32;
    static constexpr const char* kFailure = "-1FAIL";
    // Shown when a password is to be saved and the process has no site key.
    static constexpr const char* kNoSiteKeyMessage =
        "No password can be saved until this site has its password key file.  Start the program again and let it "
        "create the key file, or run \"kdsite rekey\" on the site.";
    using Key = std::array<unsigned char, kKeyBytes>;

    enum class Origin { SiteKey, OldKey, Unreadable };

    // The site key for every later encrypt and decrypt of this process.
    static void UseSiteKey(const Key& key);
    // No site key: old values are read, nothing is written.
    static void UseOldKeyOnly();
    [[nodiscard]] static bool CanWrite();
    [[nodiscard]] static bool Fits(std::string_view password) { return password.size() <= kMaxPasswordLength; }

    // 60 upper-case hex digits under the site key; empty when the password does not fit or the
    // process has no site key.
    [[nodiscard]] static std::string encrypt(std::string_view password);
    // The password, or "-1FAIL" for anything that is not an intact value under the site key or the
    // old key. Either hex case is accepted, with or without a leading "0x", and trailing zero
    // padding beyond the 60 digits (a wider binary column) is ignored. origin, when given, tells
    // which key the value was written with.
    [[nodiscard]] static std::string decrypt(std::string_view hex, Origin* origin = nullptr);

    // The same with a given key instead of the process's one (site set-up and re-keying).
    [[nodiscard]] static std::string encryptWith(const Key& key, std::string_view password);
    [[nodiscard]] static std::string decryptWith(const Key& key, std::string_view hex, Origin* origin = nullptr);

    // A secret kept inside a settings text (a directory's bind password) rather than in a column of
    // its own: any length up to kMaxSealedText bytes, written as kSealedTextMark followed by
    // upper-case hex digits, so it never holds a settings separator. Empty when the text is too long
    // or the process has no site key; open answers nullopt for anything that is not an intact text
    // sealed under the key.
    static constexpr size_t kMaxSealedText = 512;
    static constexpr char kSealedTextMark = 'K';
    [[nodiscard]] static std::string sealText(std::string_view text);
    [[nodiscard]] static std::optional<std::string> openText(std::string_view sealed);
    [[nodiscard]] static std::string sealTextWith(const Key& key, std::string_view text);
    [[nodiscard]] static std::optional<std::string> openTextWith(const Key& key, std::string_view sealed);

    // A value as releases before site keys wrote it, under the built-in key. Only for making such
    // values in tests and for reading; the console never writes one.
    [[nodiscard]] static std::string encryptUnderOldKey(std::string_view password);
};

} // namespace suite
