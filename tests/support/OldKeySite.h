#pragma once

#include "PasswordCipher.h"
#include "PrivateProfile.h"
#include "SiteKey.h"
#include "SuiteConnection.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace kdtest {

// Turns a demo site into one set up before sites had key files: every stored password (bindery
// passwords and signature passwords, the voice systems' values and connection-string password, the
// configuration file's two) written again under the old built-in key, and the key file removed.
// The values are read with the process's key; an empty column stays empty.
inline void MakeSiteFromBeforeKeys(suite::SuiteConnection& db, const std::string& siteRoot) {
    using suite::PasswordCipher;
    auto old = [](const std::string& v) {
        return v.empty() ? v : PasswordCipher::encryptUnderOldKey(PasswordCipher::decrypt(v));
    };
    std::string batch;
    auto rows = db.query("SELECT user_id, password, signature_password FROM System_user_bindery");
    ASSERT_TRUE(rows) << db.lastError();
    for (const auto& r : *rows)
        for (int c : {1, 2})
            if (r[c])
                batch += "UPDATE System_user_bindery SET " + std::string(c == 1 ? "password" : "signature_password") +
                         " = 0x" + old(r[c]->substr(0, 60)) + " WHERE user_id = " + *r[0] + "\n";
    rows = db.query("SELECT system_id, password_name, admin_password, connection_string FROM voice_systems");
    ASSERT_TRUE(rows) << db.lastError();
    for (const auto& r : *rows) {
        std::string cs = r[3].value_or("");
        if (const size_t at = cs.find("Password="); at != std::string::npos) {
            const size_t end = std::min(cs.find(';', at), cs.size());
            cs.replace(at + 9, end - at - 9, old(cs.substr(at + 9, end - at - 9)));
        }
        batch += "UPDATE voice_systems SET password_name = '" + old(r[1].value_or("")) + "', admin_password = '" +
                 old(r[2].value_or("")) + "', connection_string = " + suite::SuiteConnection::quote(cs) +
                 " WHERE system_id = " + *r[0] + "\n";
    }
    ASSERT_TRUE(db.execute(batch)) << db.lastError();
    const std::string ini = siteRoot + "/KALDRA.INI";
    for (const char* section : {"System", "Updater"})
        platform::PrivateProfile::write(section, "Password",
                                        old(platform::PrivateProfile::read(section, "Password", "", ini, 1024)), ini);
    std::filesystem::remove(suite::SiteKey::PathUnder(siteRoot));
    PasswordCipher::UseOldKeyOnly();
}

} // namespace kdtest
