#pragma once

#include "DirectorySettings.h"

#include <memory>
#include <string>

namespace users {

// How a policy with directory authentication reaches the directory server. Kept in the policy's
// string2 as one text: the fields in order, each followed by "?". The bind password is held in
// plain in memory and scrambled in the text. The text form belongs to the suite's directory
// settings, which the login component reads the same way.
class clsLdapSettings {
public:
    [[nodiscard]] const std::string& server() const { return m_objState.server; }
    void server(const std::string& v) { m_objState.server = v; }
    [[nodiscard]] const std::string& BackupServer() const { return m_objState.backupServer; }
    void BackupServer(const std::string& v) { m_objState.backupServer = v; }
    [[nodiscard]] const std::string& BindDN() const { return m_objState.bindDn; }
    void BindDN(const std::string& v) { m_objState.bindDn = v; }
    [[nodiscard]] const std::string& BindDNPass() const { return m_objState.bindPassword; }
    void BindDNPass(const std::string& v) { m_objState.bindPassword = v; }
    [[nodiscard]] const std::string& SearchBase() const { return m_objState.searchBase; }
    void SearchBase(const std::string& v) { m_objState.searchBase = v; }
    [[nodiscard]] const std::string& Port() const { return m_objState.port; }
    void Port(const std::string& v) { m_objState.port = v; }
    [[nodiscard]] bool UseSSL() const { return m_objState.useSsl; }
    void UseSSL(bool v) { m_objState.useSsl = v; }
    [[nodiscard]] long Scope() const { return m_objState.scope; }
    void Scope(long v) { m_objState.scope = v; }
    [[nodiscard]] long AuthType() const { return m_objState.authType; }
    void AuthType(long v) { m_objState.authType = v; }
    [[nodiscard]] long Timeout() const { return m_objState.timeout; }
    void Timeout(long v) { m_objState.timeout = v; }

    [[nodiscard]] std::unique_ptr<clsLdapSettings> CreateClone() const {
        return std::make_unique<clsLdapSettings>(*this);
    }
    void CopyState(const clsLdapSettings& other) { *this = other; }
    [[nodiscard]] bool IsEqual(const clsLdapSettings& other) const { return m_objState == other.m_objState; }

    // The stored text. A "?" or "%" inside a value is written as "%3F" or "%25", so any value
    // survives; texts written before that are read as they stand.
    [[nodiscard]] std::string toString() const { return m_objState.toText(); }
    // Reads a stored text. Every field that is missing or unreadable keeps its default; false when
    // the text was damaged in some way (an empty text is not).
    bool CopyStateFromString(const std::string& text) { return m_objState.fromText(text); }

    // The bind password's reversible scrambling: upper-case hex digits, never containing "?".
    static std::string Scramble(const std::string& plain) { return suite::DirectorySettings::scramble(plain); }
    // The plain password; false when the text is not a scrambled password.
    static bool Unscramble(const std::string& scrambled, std::string& plain) {
        return suite::DirectorySettings::unscramble(scrambled, plain);
    }

    // The settings as the login component's directory client takes them.
    [[nodiscard]] const suite::DirectorySettings& State() const { return m_objState; }

private:
    suite::DirectorySettings m_objState;
};

} // namespace users
