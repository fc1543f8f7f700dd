#include "DirectoryClient.h"

#include "Numbers.h"

#include <ldap.h>

#include <algorithm>
#include <cctype>
#include <memory>

namespace suite {

namespace {

using Status = DirectoryAnswer::Status;

constexpr long kDefaultTimeoutSeconds = 10;
constexpr long kLongestTimeoutSeconds = 600;

std::string trimmed(const std::string& s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

bool startsWithNoCase(const std::string& s, const std::string& prefix) {
    return s.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), s.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
           });
}

// Results that mean the server could not be reached or would not serve, so the backup may be asked.
bool unreachable(int rc) {
    return rc == LDAP_SERVER_DOWN || rc == LDAP_CONNECT_ERROR || rc == LDAP_TIMEOUT || rc == LDAP_UNAVAILABLE ||
           rc == LDAP_BUSY;
}

std::string reason(int rc) {
    return ldap_err2string(rc);
}

struct LdapCloser {
    void operator()(LDAP* ld) const { ldap_unbind_ext_s(ld, nullptr, nullptr); }
};
using LdapHandle = std::unique_ptr<LDAP, LdapCloser>;

struct MessageFree {
    void operator()(LDAPMessage* m) const { ldap_msgfree(m); }
};
using LdapResult = std::unique_ptr<LDAPMessage, MessageFree>;

int simpleBind(LDAP* ld, const std::string& dn, const std::string& password) {
    berval credentials{static_cast<ber_len_t>(password.size()), const_cast<char*>(password.data())};
    return ldap_sasl_bind_s(ld, dn.empty() ? nullptr : dn.c_str(), LDAP_SASL_SIMPLE, &credentials, nullptr, nullptr,
                            nullptr);
}

DirectoryAnswer answer(Status status, std::string message, std::string dn = {}) {
    return DirectoryAnswer{status, std::move(message), std::move(dn)};
}

} // namespace

std::string DirectoryClient::escapeFilterValue(const std::string& value) {
    static const char* const hex = "0123456789abcdef";
    std::string out;
    for (char c : value) {
        if (c == '*' || c == '(' || c == ')' || c == '\\' || c == '\0') {
            const auto b = static_cast<unsigned char>(c);
            out += '\\';
            out += hex[b >> 4];
            out += hex[b & 15];
        } else {
            out += c;
        }
    }
    return out;
}

std::string DirectoryClient::userFilter(const std::string& userName) {
    const std::string v = escapeFilterValue(userName);
    return "(|(uid=" + v + ")(sAMAccountName=" + v + "))";
}

std::string DirectoryClient::uriFor(const std::string& server) const {
    std::string host = trimmed(server);
    for (const char* prefix : {"ldap://", "ldaps://"})
        if (startsWithNoCase(host, prefix))
            host.erase(0, std::string(prefix).size());
    while (!host.empty() && host.back() == '/')
        host.pop_back();
    if (host.empty())
        return {};
    const bool bracketed = host.front() == '[' && host.back() == ']';
    for (char c : bracketed ? host.substr(1, host.size() - 2) : host)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '_' || c == ':'))
            return {};
    if (!bracketed && host.find(':') != std::string::npos)
        host = "[" + host + "]"; // an IPv6 address
    long port = m_settings.useSsl ? 636 : 389;
    if (const std::string text = trimmed(m_settings.port); !text.empty()) {
        const auto digits = platform::parseDigits(text);
        if (!digits || *digits < 1 || *digits > 65535)
            return {};
        port = static_cast<long>(*digits);
    }
    return std::string(m_settings.useSsl ? "ldaps://" : "ldap://") + host + ":" + std::to_string(port);
}

std::vector<std::string> DirectoryClient::servers() const {
    std::vector<std::string> out;
    for (const std::string* s : {&m_settings.server, &m_settings.backupServer})
        if (!trimmed(*s).empty())
            out.push_back(trimmed(*s));
    return out;
}

DirectoryAnswer DirectoryClient::askServer(const std::string& server, Purpose purpose, const std::string& userName,
                                           const std::string& password) const {
    const std::string uri = uriFor(server);
    if (uri.empty())
        return answer(Status::Misconfigured, "The directory server address \"" + server + "\" or the port \"" +
                                                 m_settings.port + "\" cannot be used.");
    LDAP* raw = nullptr;
    if (const int rc = ldap_initialize(&raw, uri.c_str()); rc != LDAP_SUCCESS || !raw)
        return answer(Status::Misconfigured,
                      "The directory server address \"" + server + "\" cannot be used: " + reason(rc) + ".");
    LdapHandle ld(raw);

    const long seconds =
        m_settings.timeout > 0 ? std::min(m_settings.timeout, kLongestTimeoutSeconds) : kDefaultTimeoutSeconds;
    timeval limit{seconds, 0};
    const int version = LDAP_VERSION3;
    ldap_set_option(ld.get(), LDAP_OPT_PROTOCOL_VERSION, &version);
    ldap_set_option(ld.get(), LDAP_OPT_REFERRALS, LDAP_OPT_OFF);
    ldap_set_option(ld.get(), LDAP_OPT_NETWORK_TIMEOUT, &limit);
    ldap_set_option(ld.get(), LDAP_OPT_TIMEOUT, &limit);

    int rc = simpleBind(ld.get(), m_settings.bindDn, m_settings.bindPassword);
    if (unreachable(rc))
        return answer(Status::Unavailable,
                      "The directory server " + server + " could not be reached: " + reason(rc) + ".");
    if (rc != LDAP_SUCCESS)
        return answer(Status::Misconfigured,
                      "The directory server " + server + " refused the bind DN " +
                          (m_settings.bindDn.empty() ? std::string("(anonymous)") : m_settings.bindDn) + ": " +
                          reason(rc) + ".");

    const bool test = purpose == Purpose::Test;
    const int scope = test                    ? LDAP_SCOPE_BASE
                      : m_settings.scope == 0 ? LDAP_SCOPE_BASE
                      : m_settings.scope == 1 ? LDAP_SCOPE_ONELEVEL
                                              : LDAP_SCOPE_SUBTREE;
    const std::string filter = test ? "(objectClass=*)" : userFilter(userName);
    char noAttributes[] = LDAP_NO_ATTRS; // only the entries' names are needed
    char* attributes[] = {noAttributes, nullptr};
    LDAPMessage* found = nullptr;
    rc = ldap_search_ext_s(ld.get(), m_settings.searchBase.c_str(), scope, filter.c_str(), attributes, 0, nullptr,
                           nullptr, &limit, 2, &found);
    LdapResult result(found);
    if (unreachable(rc))
        return answer(Status::Unavailable,
                      "The directory server " + server + " could not be reached: " + reason(rc) + ".");
    if (rc == LDAP_NO_SUCH_OBJECT)
        return answer(Status::Misconfigured, "The search base " + m_settings.searchBase +
                                                 " does not exist on the directory server " + server + ".");
    const int entries = result ? ldap_count_entries(ld.get(), result.get()) : 0;
    if (rc == LDAP_SIZELIMIT_EXCEEDED || entries > 1)
        return answer(Status::Misconfigured, "More than one directory entry under " + m_settings.searchBase +
                                                 " has the log-in name " + userName + ".");
    if (rc != LDAP_SUCCESS)
        return answer(Status::Misconfigured, "The directory server " + server + " could not search under " +
                                                 m_settings.searchBase + ": " + reason(rc) + ".");
    if (test)
        return answer(Status::Accepted, "The directory server " + server +
                                            " accepted the bind DN and has the search base " + m_settings.searchBase +
                                            ".");
    if (entries == 0)
        return answer(Status::Refused,
                      "No directory entry under " + m_settings.searchBase + " has the log-in name " + userName + ".");

    char* dnText = ldap_get_dn(ld.get(), ldap_first_entry(ld.get(), result.get()));
    const std::string dn = dnText ? dnText : "";
    ldap_memfree(dnText);
    rc = simpleBind(ld.get(), dn, password);
    if (rc == LDAP_SUCCESS)
        return answer(Status::Accepted, {}, dn);
    if (unreachable(rc))
        return answer(Status::Unavailable,
                      "The directory server " + server + " could not be reached: " + reason(rc) + ".");
    return answer(Status::Refused,
                  "The directory server " + server + " refused the password of " + dn + ": " + reason(rc) + ".");
}

DirectoryAnswer DirectoryClient::authenticate(const std::string& userName, const std::string& password) const {
    // A simple bind with an empty password is an unauthenticated bind that servers accept: never a log-in.
    if (userName.empty() || password.empty())
        return answer(Status::Refused, "A directory log-in needs a user name and a password.");
    const auto hosts = servers();
    if (hosts.empty())
        return answer(Status::Misconfigured, "No directory server is set in the user policy.");
    if (trimmed(m_settings.searchBase).empty())
        return answer(Status::Misconfigured, "No search base is set in the user policy's directory settings.");
    std::string notReached;
    for (const auto& host : hosts) {
        DirectoryAnswer a = askServer(host, Purpose::LogIn, userName, password);
        if (a.status != Status::Unavailable)
            return a;
        notReached += (notReached.empty() ? "" : "  ") + a.message;
    }
    return answer(Status::Unavailable, notReached);
}

std::vector<DirectoryClient::ServerTest> DirectoryClient::testConnection() const {
    std::vector<ServerTest> out;
    const auto hosts = servers();
    if (hosts.empty()) {
        out.push_back({"", answer(Status::Misconfigured, "No directory server is set.")});
        return out;
    }
    for (const auto& host : hosts)
        out.push_back({host, trimmed(m_settings.searchBase).empty()
                                 ? answer(Status::Misconfigured, "No search base is set.")
                                 : askServer(host, Purpose::Test, {}, {})});
    return out;
}

} // namespace suite
