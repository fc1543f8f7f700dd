#pragma once

#include <memory>
#include <string>

namespace users {

// How a policy with directory authentication reaches the directory server. Kept in the policy's
// string2 as one text: the fields in order, each followed by "?". The bind password is held in
// plain in memory and scrambled in the text.
class clsLdapSettings {
public:
    [[nodiscard]] const std::string& server() const { return m_strServer; }
    void server(const std::string& v) { m_strServer = v; }
    [[nodiscard]] const std::string& BackupServer() const { return m_strBackupServer; }
    void BackupServer(const std::string& v) { m_strBackupServer = v; }
    [[nodiscard]] const std::string& BindDN() const { return m_strBindDN; }
    void BindDN(const std::string& v) { m_strBindDN = v; }
    [[nodiscard]] const std::string& BindDNPass() const { return m_strBindDNPass; }
    void BindDNPass(const std::string& v) { m_strBindDNPass = v; }
    [[nodiscard]] const std::string& SearchBase() const { return m_strSearchBase; }
    void SearchBase(const std::string& v) { m_strSearchBase = v; }
    [[nodiscard]] const std::string& Port() const { return m_strPort; }
    void Port(const std::string& v) { m_strPort = v; }
    [[nodiscard]] bool UseSSL() const { return m_blnUseSSL; }
    void UseSSL(bool v) { m_blnUseSSL = v; }
    [[nodiscard]] long Scope() const { return m_lngScope; }
    void Scope(long v) { m_lngScope = v; }
    [[nodiscard]] long AuthType() const { return m_lngAuthType; }
    void AuthType(long v) { m_lngAuthType = v; }
    [[nodiscard]] long Timeout() const { return m_lngTimeout; }
    void Timeout(long v) { m_lngTimeout = v; }

    [[nodiscard]] std::unique_ptr<clsLdapSettings> CreateClone() const {
        return std::make_unique<clsLdapSettings>(*this);
    }
    void CopyState(const clsLdapSettings& other) { *this = other; }
    [[nodiscard]] bool IsEqual(const clsLdapSettings& other) const;

    // The stored text. A "?" or "%" inside a value is written as "%3F" or "%25", so any value
    // survives; texts written before that are read as they stand.
    [[nodiscard]] std::string toString() const;
    // Reads a stored text. Every field that is missing or unreadable keeps its default; false when
    // the text was damaged in some way (an empty text is not).
    bool CopyStateFromString(const std::string& text);

    // The bind password's reversible scrambling: upper-case hex digits, never containing "?".
    static std::string Scramble(const std::string& plain);
    // The plain password; false when the text is not a scrambled password.
    static bool Unscramble(const std::string& scrambled, std::string& plain);

private:
    std::string m_strServer;
    std::string m_strBackupServer;
    std::string m_strBindDN;
    std::string m_strBindDNPass;
    std::string m_strSearchBase;
    std::string m_strPort = "389";
    bool m_blnUseSSL = false;
    long m_lngScope = -1;
    long m_lngAuthType = -1;
    long m_lngTimeout = 10;
};

} // namespace users
