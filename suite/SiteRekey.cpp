#include "SiteRekey.h"

#include "DirectorySettings.h"
#include "PrivateProfile.h"
#include "Utf8.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace suite {

namespace {

std::string text(const std::optional<std::string>& v) {
    return v.value_or("");
}

struct Rewrite {
    const PasswordCipher::Key& key;
    SiteRekey::Report& report;

    // The value under the site key, or nullopt when no key reads it (left as it is).
    std::optional<std::string> operator()(const std::string& stored) {
        PasswordCipher::Origin origin = PasswordCipher::Origin::Unreadable;
        const std::string plain = PasswordCipher::decryptWith(key, stored, &origin);
        if (origin == PasswordCipher::Origin::Unreadable) {
            ++report.leftUnreadable;
            return std::nullopt;
        }
        std::string again = PasswordCipher::encryptWith(key, plain);
        if (again.empty()) {
            ++report.leftUnreadable;
            return std::nullopt;
        }
        if (origin == PasswordCipher::Origin::OldKey)
            ++report.underOldKey;
        return again;
    }
};

// The stored password of a bindery column: binary(30) read as hexadecimal text (a wider column
// would give trailing zeros, which the cipher ignores).
std::string binaryValue(const std::optional<std::string>& v) {
    return v ? v->substr(0, 60) : std::string();
}

// The "password=" part of a voice system's connection string, stored normalised (no blanks around
// ";" and "="): its position and length, or npos.
std::pair<size_t, size_t> passwordValue(const std::string& cs) {
    size_t start = 0;
    while (start <= cs.size()) {
        size_t end = cs.find(';', start);
        if (end == std::string::npos)
            end = cs.size();
        const std::string part = cs.substr(start, end - start);
        const size_t eq = part.find('=');
        if (eq != std::string::npos) {
            std::string name = part.substr(0, eq);
            std::transform(name.begin(), name.end(), name.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
            if (name == "password")
                return {start + eq + 1, end - start - eq - 1};
        }
        start = end + 1;
    }
    return {std::string::npos, 0};
}

} // namespace

std::string SiteRekey::Report::summary() const {
    std::string s = std::to_string(rewritten()) + " stored passwords written under the site key (" +
                    std::to_string(loginPasswords) + " log-in, " + std::to_string(signaturePasswords) + " signature, " +
                    std::to_string(voiceSystemValues) + " voice system, " + std::to_string(directoryPasswords) +
                    " directory, " + std::to_string(configurationValues) + " configuration file); " +
                    std::to_string(underOldKey) + " were under the old key.";
    if (leftUnreadable > 0)
        s +=
            " " + std::to_string(leftUnreadable) + " values could not be read with any key and were left as they were.";
    if (leftTooLong > 0)
        s += " " + std::to_string(leftTooLong) +
             " directory settings would grow beyond the 255 characters the console reads and were left as they were; "
             "shorten them and enter the bind password again.";
    return s;
}

SiteRekey::Report SiteRekey::Run(SuiteConnection& db, const std::string& iniPath, const PasswordCipher::Key& key,
                                 const std::function<bool(long)>& afterBatch) {
    Report report;
    Rewrite rewrite{key, report};
    std::vector<std::string> statements;

    const auto bindery = db.query("SELECT user_id, password, signature_password FROM System_user_bindery");
    if (!bindery) {
        report.error = db.lastError();
        return report;
    }
    for (const auto& r : *bindery) {
        std::string set;
        if (r[1]) {
            if (auto v = rewrite(binaryValue(r[1]))) {
                set = "password = 0x" + *v;
                ++report.loginPasswords;
            }
        }
        if (r[2]) {
            if (auto v = rewrite(binaryValue(r[2]))) {
                set += (set.empty() ? "" : ", ") + std::string("signature_password = 0x") + *v;
                ++report.signaturePasswords;
            }
        }
        if (!set.empty())
            statements.push_back("UPDATE System_user_bindery SET " + set + " WHERE user_id = " + text(r[0]));
    }

    const auto voice =
        db.query("SELECT system_id, password_name, connection_string, admin_password FROM voice_systems");
    if (!voice) {
        report.error = db.lastError();
        return report;
    }
    for (const auto& r : *voice) {
        std::string set;
        auto column = [&](const char* name, const std::optional<std::string>& v) {
            if (!v || v->empty())
                return;
            if (auto again = rewrite(*v)) {
                set += (set.empty() ? "" : ", ") + std::string(name) + " = " + SuiteConnection::quote(*again);
                ++report.voiceSystemValues;
            }
        };
        column("password_name", r[1]);
        column("admin_password", r[3]);
        std::string cs = text(r[2]);
        const auto [at, length] = passwordValue(cs);
        if (at != std::string::npos && length > 0) {
            if (auto again = rewrite(cs.substr(at, length))) {
                cs.replace(at, length, *again);
                set += (set.empty() ? "" : ", ") + std::string("connection_string = ") + SuiteConnection::quote(cs);
                ++report.voiceSystemValues;
            }
        }
        if (!set.empty())
            statements.push_back("UPDATE voice_systems SET " + set + " WHERE system_id = " + text(r[0]));
    }

    const auto policies = db.query("SELECT policy_id, string2 FROM System_user_policies");
    if (!policies) {
        report.error = db.lastError();
        return report;
    }
    for (const auto& r : *policies) {
        std::string settings = text(r[1]);
        DirectorySettings::PasswordForm form = DirectorySettings::PasswordForm::None;
        const bool sealed = DirectorySettings::sealPasswordAgain(key, settings, &form);
        if (sealed && platform::utf8Length(settings) > kMaxSettingsCharacters) {
            ++report.leftTooLong;
        } else if (sealed) {
            statements.push_back("UPDATE System_user_policies SET string2 = " + SuiteConnection::quote(settings) +
                                 " WHERE policy_id = " + text(r[0]));
            ++report.directoryPasswords;
            if (form == DirectorySettings::PasswordForm::Scrambled)
                ++report.underOldKey;
        } else if (form == DirectorySettings::PasswordForm::Unreadable) {
            ++report.leftUnreadable;
        }
    }

    if (!db.execute("SET XACT_ABORT ON\nBEGIN TRANSACTION")) {
        report.error = db.lastError();
        return report;
    }
    long sent = 0;
    for (size_t first = 0; first < statements.size(); first += kStatementsPerBatch) {
        std::string batch;
        const size_t last = std::min(statements.size(), first + kStatementsPerBatch);
        for (size_t i = first; i < last; ++i)
            batch += statements[i] + "\n";
        const bool sentOk = db.execute(batch);
        sent = static_cast<long>(last);
        const bool goOn = sentOk && (!afterBatch || afterBatch(sent));
        if (!goOn) {
            report.error = sentOk ? "The re-keying was stopped; nothing was changed." : db.lastError();
            db.execute("IF @@TRANCOUNT > 0 ROLLBACK TRANSACTION");
            return report;
        }
    }
    if (!db.execute("COMMIT TRANSACTION")) {
        report.error = db.lastError();
        db.execute("IF @@TRANCOUNT > 0 ROLLBACK TRANSACTION");
        return report;
    }

    if (!iniPath.empty()) {
        for (const char* section : {"System", "Updater"}) {
            const std::string stored = platform::PrivateProfile::read(section, "Password", "", iniPath);
            if (stored.empty())
                continue;
            if (auto again = rewrite(stored)) {
                if (!platform::PrivateProfile::write(section, "Password", *again, iniPath)) {
                    report.error = "The configuration file " + iniPath + " could not be written.";
                    return report;
                }
                ++report.configurationValues;
            }
        }
    }
    report.ok = true;
    return report;
}

} // namespace suite
