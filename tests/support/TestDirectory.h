#pragma once

#include "DirectorySettings.h"
#include "SlapdServer.h"

#include <string>
#include <vector>

namespace kdtest {

// The small directory the log-in tests run against: a reader account that searches, people with
// plain, hashed and non-ASCII names and passwords, and one log-in name held by two entries.
struct TestDirectory {
    static constexpr const char* kPeople = "ou=people,dc=kaldra,dc=test";
    static constexpr const char* kReaderDn = "cn=reader,ou=service,dc=kaldra,dc=test";
    static constexpr const char* kReaderPassword = "reader-pass";
    static constexpr const char* kJdoePassword = "Right-Pass1";
    // ü is two bytes in UTF-8, € three.
    static constexpr const char* kMuellerName = "m\xc3\xbcller";
    static constexpr const char* kMuellerPassword = "P\xc3\xa4sswort\xe2\x82\xac"
                                                    "9";
    // Two CJK characters, three bytes each.
    static constexpr const char* kWangName = "\xe7\x8e\x8b\xe8\x8a\xb3";
    static constexpr const char* kWangPassword = "\xe5\xaf\x86\xe7\xa0\x81Secret";

    // The settings of a site whose directory is `server`, searching as the reader account; `ssl`
    // reaches it over LDAP over SSL.
    static suite::DirectorySettings settings(const SlapdServer& server, bool ssl = false) {
        suite::DirectorySettings s;
        s.server = "127.0.0.1";
        s.port = std::to_string(ssl ? server.tlsPort() : server.port());
        s.useSsl = ssl;
        s.bindDn = kReaderDn;
        s.bindPassword = kReaderPassword;
        s.searchBase = SlapdServer::kSuffix;
        s.timeout = 5;
        return s;
    }

    static std::vector<SlapdServer::Entry> entries() {
        const auto person = [](const std::string& ou, const std::string& uid, const std::string& cn,
                               const std::string& password) {
            return SlapdServer::Entry{
                "uid=" + uid + ",ou=" + ou + ",dc=kaldra,dc=test",
                {{"objectClass", "inetOrgPerson"}, {"uid", uid}, {"cn", cn}, {"sn", cn}, {"userPassword", password}}};
        };
        const auto unit = [](const std::string& ou) {
            return SlapdServer::Entry{"ou=" + ou + ",dc=kaldra,dc=test",
                                      {{"objectClass", "organizationalUnit"}, {"ou", ou}}};
        };
        return {
            unit("people"),
            unit("service"),
            unit("elsewhere"),
            {kReaderDn,
             {{"objectClass", "organizationalRole"},
              {"objectClass", "simpleSecurityObject"},
              {"cn", "reader"},
              {"userPassword", kReaderPassword}}},
            person("people", "jdoe", "John Doe", kJdoePassword),
            person("people", kMuellerName, "J\xc3\xbcrgen M\xc3\xbcller",
                   SlapdServer::ssha(kMuellerPassword, "s4lt-k3y")),
            person("people", kWangName, kWangName, kWangPassword),
            person("people", "twin", "Twin One", "twin-pass"),
            person("elsewhere", "twin", "Twin Two", "twin-pass"),
        };
    }
};

// Tests against one private slapd holding the test directory, started once for the test suite. A
// test is skipped where slapd is not installed; a subclass's SetUp calls this one first and returns
// when the test is skipped or has failed.
class DirectoryServerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { startServer(false); }
    static void TearDownTestSuite() {
        delete server;
        server = nullptr;
    }
    void SetUp() override {
        KD_REQUIRE_SLAPD();
        ASSERT_TRUE(server && server->running()) << startError;
    }
    [[nodiscard]] bool ready() const { return !IsSkipped() && !HasFatalFailure(); }
    // withTls: the server also answers LDAP over SSL.
    static void startServer(bool withTls) {
        if (SlapdServer::slapdPath().empty())
            return;
        server = new SlapdServer;
        startError.clear();
        server->start(TestDirectory::entries(), startError, withTls);
    }

    static inline SlapdServer* server = nullptr;
    static inline std::string startError;
};

} // namespace kdtest
