#pragma once

#include "PasswordCipher.h"

#include <string>

namespace suite {

// How a policy with directory authentication reaches its directory server, as kept in the policy
// row's string2: the fields in order, each followed by "?". The console edits it (clsLdapSettings)
// and the login component reads it, so both go through this one reader and writer.
struct DirectorySettings {
    std::string server; // host name or address, without a URL prefix
    std::string backupServer;
    std::string bindDn;       // the entry that searches for users; empty: an anonymous search
    std::string bindPassword; // plain in memory, sealed under the site key in the text
    std::string searchBase;
    std::string port = "389";
    bool useSsl = false;
    long scope = -1; // -1 or 2: the whole subtree, 0: the base entry only, 1: one level below it
    long authType = -1;
    long timeout = 10; // seconds

    bool operator==(const DirectorySettings&) const = default;

    // How the bind password stood in a text that was read.
    enum class PasswordForm {
        None,       // no password
        Sealed,     // sealed under the site key
        Scrambled,  // the fixed-key scrambling of releases before site keys: read, never written
        Unreadable, // neither: damaged, or sealed under another site's key
    };

    // The stored text. A "?" or "%" inside a value is written as "%3F" or "%25", so any value
    // survives; texts written before that are read as they stand. The bind password is sealed under
    // the process's site key; without one (or when it is too long to seal) the field is left empty,
    // so callers check PasswordCipher::CanWrite() before offering to save a password.
    [[nodiscard]] std::string toText() const;
    [[nodiscard]] std::string toTextWith(const PasswordCipher::Key& key) const;
    // Reads a stored text. Every field that is missing or unreadable keeps its default; false when
    // the text was damaged in some way (an empty text is not). form, when given, tells how the bind
    // password was stored.
    bool fromText(const std::string& text, PasswordForm* form = nullptr);
    bool fromTextWith(const PasswordCipher::Key& key, const std::string& text, PasswordForm* form = nullptr);

    // Re-keying a site: the bind password of a stored text sealed again under key, the rest of the
    // text left byte for byte. form tells what the field held; false (text unchanged) when there is
    // no password or it cannot be read.
    static bool sealPasswordAgain(const PasswordCipher::Key& key, std::string& text, PasswordForm* form = nullptr);

    // The bind password's scrambling of releases before site keys: upper-case hex digits, never
    // containing "?". Only read from stored texts (and written by tests that make such texts).
    static std::string scramble(const std::string& plain);
    // The plain password; false when the text is not a scrambled password.
    static bool unscramble(const std::string& scrambled, std::string& plain);

private:
    std::string textWith(const std::string& sealedPassword) const;
    bool readText(const std::string& text, const std::optional<PasswordCipher::Key>& key, PasswordForm* form);
};

} // namespace suite
