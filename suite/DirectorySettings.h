#pragma once

#include <string>

namespace suite {

// How a policy with directory authentication reaches its directory server, as kept in the policy
// row's string2: the fields in order, each followed by "?". The console edits it (clsLdapSettings)
// and the login component reads it, so both go through this one reader and writer.
struct DirectorySettings {
    std::string server; // host name or address, without a URL prefix
    std::string backupServer;
    std::string bindDn;       // the entry that searches for users; empty: an anonymous search
    std::string bindPassword; // plain in memory, scrambled in the text
    std::string searchBase;
    std::string port = "389";
    bool useSsl = false;
    long scope = -1; // -1 or 2: the whole subtree, 0: the base entry only, 1: one level below it
    long authType = -1;
    long timeout = 10; // seconds

    bool operator==(const DirectorySettings&) const = default;

    // The stored text. A "?" or "%" inside a value is written as "%3F" or "%25", so any value
    // survives; texts written before that are read as they stand.
    [[nodiscard]] std::string toText() const;
    // Reads a stored text. Every field that is missing or unreadable keeps its default; false when
    // the text was damaged in some way (an empty text is not).
    bool fromText(const std::string& text);

    // The bind password's reversible scrambling: upper-case hex digits, never containing "?".
    static std::string scramble(const std::string& plain);
    // The plain password; false when the text is not a scrambled password.
    static bool unscramble(const std::string& scrambled, std::string& plain);
};

} // namespace suite
