#pragma once

#include "PasswordCipher.h"
#include "SuiteConnection.h"

#include <functional>
#include <string>

namespace suite {

// Re-keys a site: every stored password of the database (users' and groups' bindery rows, signature
// passwords, the voice systems' SQL and administrator passwords and the password part of their
// connection strings, the directory bind passwords inside the user policies' settings) and of the
// configuration file (the SQL password, the software-update password)
// is read under whichever key it was written with and written again under the site key.
//
// The database rows change in one transaction: a failure rolls all of them back, and as values under
// the old key are still read, every value stays readable whatever happens. The configuration file is
// written after the commit. Values that no key can read (damaged, or never enciphered) are left as
// they are and counted.
class SiteRekey {
public:
    struct Report {
        bool ok = false;
        std::string error;
        long loginPasswords = 0;     // System_user_bindery.password, users and groups
        long signaturePasswords = 0; // System_user_bindery.signature_password
        long voiceSystemValues = 0;  // voice_systems: password_name, admin_password, connection string
        long directoryPasswords = 0; // System_user_policies.string2: the directory's bind password
        long configurationValues = 0;
        long underOldKey = 0; // of the values rewritten, those that were under the old key
        long leftUnreadable = 0;
        long leftTooLong = 0; // directory settings that would outgrow what the console reads
        [[nodiscard]] long rewritten() const {
            return loginPasswords + signaturePasswords + voiceSystemValues + directoryPasswords + configurationValues;
        }
        [[nodiscard]] std::string summary() const;
    };

    // The most characters of a column the console reads back whole.
    static constexpr size_t kMaxSettingsCharacters = 255;

    // Statements sent per batch inside the transaction.
    static constexpr size_t kStatementsPerBatch = 500;

    // afterBatch is told how many rows have been sent so far; answering false stops the re-keying and
    // rolls back what was sent. iniPath may be empty (no configuration file to rewrite).
    static Report Run(SuiteConnection& db, const std::string& iniPath, const PasswordCipher::Key& key,
                      const std::function<bool(long)>& afterBatch = {});
};

} // namespace suite
