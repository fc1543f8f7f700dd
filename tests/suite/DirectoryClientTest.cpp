#include "DirectoryClient.h"
#include "TestDirectory.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <functional>
#include <ldap.h>
#include <netinet/in.h>
#include <ostream>
#include <sys/socket.h>
#include <unistd.h>

using kdtest::SlapdServer;
using kdtest::TestDirectory;
using suite::DirectoryAnswer;
using suite::DirectoryClient;
using suite::DirectorySettings;
using Status = DirectoryAnswer::Status;

namespace suite {
void PrintTo(Status s, std::ostream* os) {
    static const char* const names[] = {"Accepted", "Refused", "Unavailable", "Misconfigured"};
    *os << names[static_cast<int>(s)];
}
} // namespace suite

namespace {

// A loopback port that accepts connections and never answers, as a hung server does.
class SilentServer {
public:
    SilentServer() {
        m_fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof addr;
        if (bind(m_fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 && listen(m_fd, 8) == 0 &&
            getsockname(m_fd, reinterpret_cast<sockaddr*>(&addr), &len) == 0)
            m_port = ntohs(addr.sin_port);
    }
    ~SilentServer() { close(m_fd); }
    SilentServer(const SilentServer&) = delete;
    SilentServer& operator=(const SilentServer&) = delete;
    [[nodiscard]] int port() const { return m_port; }

private:
    int m_fd = -1;
    int m_port = 0;
};

class DirectoryClientTest : public kdtest::DirectoryServerTest {
protected:
    // The settings of a site whose directory is the test server.
    static DirectorySettings settings() { return TestDirectory::settings(*server); }
};

TEST_F(DirectoryClientTest, LogInsAgainstTheDirectory) {
    struct Case {
        const char* what;
        std::string name, password;
        std::function<void(DirectorySettings&)> change;
        Status expected;
        std::string messagePart;
    };
    const auto same = [](DirectorySettings&) {};
    const std::string people = TestDirectory::kPeople;
    const Case cases[] = {
        {"right password", "jdoe", TestDirectory::kJdoePassword, same, Status::Accepted, ""},
        {"name in other letter case", "JDOE", TestDirectory::kJdoePassword, same, Status::Accepted, ""},
        {"wrong password", "jdoe", "Wrong-Pass1", same, Status::Refused, "Invalid credentials"},
        {"password in other letter case", "jdoe", "right-pass1", same, Status::Refused, "Invalid credentials"},
        {"blank password is never an unauthenticated bind", "jdoe", "", same, Status::Refused, "needs a user name"},
        {"unknown name", "nobody", "x", same, Status::Refused, "No directory entry"},
        {"2- and 3-byte characters, hashed password", TestDirectory::kMuellerName, TestDirectory::kMuellerPassword,
         same, Status::Accepted, ""},
        {"2- and 3-byte password wrong in one letter's case", TestDirectory::kMuellerName,
         "p\xc3\xa4sswort\xe2\x82\xac"
         "9",
         same, Status::Refused, "Invalid credentials"},
        {"CJK name and password", TestDirectory::kWangName, TestDirectory::kWangPassword, same, Status::Accepted, ""},
        {"a name that is filter syntax finds nobody", "*", TestDirectory::kJdoePassword, same, Status::Refused,
         "No directory entry"},
        {"an injected filter finds nobody", "jdoe)(uid=*", TestDirectory::kJdoePassword, same, Status::Refused,
         "No directory entry"},
        {"one name, two entries", "twin", "twin-pass", same, Status::Misconfigured, "More than one"},
        {"the twin in the search base only", "twin", "twin-pass", [&](DirectorySettings& s) { s.searchBase = people; },
         Status::Accepted, ""},
        {"wrong search base", "jdoe", TestDirectory::kJdoePassword,
         [](DirectorySettings& s) { s.searchBase = "ou=nowhere,dc=kaldra,dc=test"; }, Status::Misconfigured,
         "does not exist"},
        {"search base of another tree", "jdoe", TestDirectory::kJdoePassword,
         [](DirectorySettings& s) { s.searchBase = "dc=other,dc=test"; }, Status::Misconfigured, ""},
        {"no search base", "jdoe", TestDirectory::kJdoePassword, [](DirectorySettings& s) { s.searchBase = " "; },
         Status::Misconfigured, "No search base"},
        {"wrong bind password", "jdoe", TestDirectory::kJdoePassword,
         [](DirectorySettings& s) { s.bindPassword = "nope"; }, Status::Misconfigured, "refused the bind DN"},
        {"anonymous search", "jdoe", TestDirectory::kJdoePassword,
         [](DirectorySettings& s) { s.bindDn.clear(), s.bindPassword.clear(); }, Status::Accepted, ""},
        {"scope 0: only the base entry is searched", "jdoe", TestDirectory::kJdoePassword,
         [&](DirectorySettings& s) { s.searchBase = people, s.scope = 0; }, Status::Refused, "No directory entry"},
        {"scope 1: one level below the base", "jdoe", TestDirectory::kJdoePassword,
         [&](DirectorySettings& s) { s.searchBase = people, s.scope = 1; }, Status::Accepted, ""},
        {"scope 1 does not reach two levels down", "jdoe", TestDirectory::kJdoePassword,
         [](DirectorySettings& s) { s.scope = 1; }, Status::Refused, "No directory entry"},
        {"no server", "jdoe", TestDirectory::kJdoePassword, [](DirectorySettings& s) { s.server.clear(); },
         Status::Misconfigured, "No directory server"},
        {"server with the URL prefix", "jdoe", TestDirectory::kJdoePassword,
         [](DirectorySettings& s) { s.server = "LDAP://127.0.0.1"; }, Status::Accepted, ""},
        {"unusable address", "jdoe", TestDirectory::kJdoePassword,
         [](DirectorySettings& s) { s.server = "127.0.0.1/x y"; }, Status::Misconfigured, "cannot be used"},
        {"unusable port", "jdoe", TestDirectory::kJdoePassword, [](DirectorySettings& s) { s.port = "38x"; },
         Status::Misconfigured, "cannot be used"},
        {"unreachable primary, backup answers", "jdoe", TestDirectory::kJdoePassword,
         [](DirectorySettings& s) { s.server = "127.0.0.2", s.backupServer = "127.0.0.1"; }, Status::Accepted, ""},
        {"unreachable primary, backup refuses the password", "jdoe", "Wrong-Pass1",
         [](DirectorySettings& s) { s.server = "127.0.0.2", s.backupServer = "127.0.0.1"; }, Status::Refused,
         "Invalid credentials"},
        {"nothing reachable", "jdoe", TestDirectory::kJdoePassword,
         [](DirectorySettings& s) {
             s.port = std::to_string(SlapdServer::closedPort());
             s.backupServer = "127.0.0.2";
         },
         Status::Unavailable, "could not be reached"},
        {"SSL asked of a server without it", "jdoe", TestDirectory::kJdoePassword,
         [](DirectorySettings& s) { s.useSsl = true; }, Status::Unavailable, "could not be reached"},
    };
    for (const auto& c : cases) {
        DirectorySettings s = settings();
        c.change(s);
        const DirectoryAnswer a = DirectoryClient(s).authenticate(c.name, c.password);
        EXPECT_EQ(a.status, c.expected) << c.what << ": " << a.message;
        EXPECT_NE(a.message.find(c.messagePart), std::string::npos) << c.what << ": " << a.message;
        if (c.expected == Status::Accepted) {
            EXPECT_NE(a.userDn.find(",dc=kaldra,dc=test"), std::string::npos) << c.what;
        }
    }
}

TEST_F(DirectoryClientTest, TheFoundEntryIsTheOneBoundAs) {
    const DirectoryAnswer a = DirectoryClient(settings()).authenticate("jdoe", TestDirectory::kJdoePassword);
    ASSERT_EQ(a.status, Status::Accepted) << a.message;
    EXPECT_EQ(a.userDn, std::string("uid=jdoe,") + TestDirectory::kPeople);
    // The password of one entry does not open another.
    EXPECT_EQ(DirectoryClient(settings()).authenticate(TestDirectory::kWangName, TestDirectory::kJdoePassword).status,
              Status::Refused);
}

TEST_F(DirectoryClientTest, AServerThatDoesNotAnswerIsLeftAfterTheTimeout) {
    SilentServer silent;
    ASSERT_NE(silent.port(), 0);
    DirectorySettings s = settings();
    s.port = std::to_string(silent.port());
    s.timeout = 1;
    const DirectoryAnswer a = DirectoryClient(s).authenticate("jdoe", TestDirectory::kJdoePassword);
    EXPECT_EQ(a.status, Status::Unavailable) << a.message;
    EXPECT_NE(a.message.find("127.0.0.1"), std::string::npos) << a.message;
}

TEST_F(DirectoryClientTest, TestConnectionBindsAndFindsTheSearchBaseOnEachServer) {
    DirectorySettings s = settings();
    s.backupServer = "127.0.0.2";
    auto results = DirectoryClient(s).testConnection();
    ASSERT_EQ(results.size(), 2u);
    EXPECT_EQ(results[0].server, "127.0.0.1");
    EXPECT_EQ(results[0].answer.status, Status::Accepted) << results[0].answer.message;
    EXPECT_EQ(results[1].server, "127.0.0.2");
    EXPECT_EQ(results[1].answer.status, Status::Unavailable) << results[1].answer.message;

    s.backupServer.clear();
    s.searchBase = "ou=nowhere,dc=kaldra,dc=test";
    results = DirectoryClient(s).testConnection();
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].answer.status, Status::Misconfigured);
    EXPECT_NE(results[0].answer.message.find("does not exist"), std::string::npos) << results[0].answer.message;

    s = settings();
    s.bindPassword = "nope";
    results = DirectoryClient(s).testConnection();
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].answer.status, Status::Misconfigured);

    s.server.clear();
    results = DirectoryClient(s).testConnection();
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].answer.message, "No directory server is set.");
}

// LDAP over SSL against a server with a self-signed certificate for 127.0.0.1. Which certificates
// are trusted is the site's OpenLDAP client configuration (TLS_CACERT); the test sets it for the
// process the way that configuration would.
class DirectoryClientSslTest : public kdtest::DirectoryServerTest {
protected:
    static void SetUpTestSuite() {
        startServer(true);
        if (!server)
            return;
        char* previous = nullptr;
        ldap_get_option(nullptr, LDAP_OPT_X_TLS_CACERTFILE, &previous);
        systemTrust = previous ? previous : "";
        ldap_memfree(previous);
    }
    static void TearDownTestSuite() {
        if (server)
            trust(systemTrust);
        DirectoryServerTest::TearDownTestSuite();
    }
    void SetUp() override {
        DirectoryServerTest::SetUp();
        if (ready())
            trust(server->certificateFile());
    }
    static void trust(const std::string& file) {
        ldap_set_option(nullptr, LDAP_OPT_X_TLS_CACERTFILE, file.empty() ? nullptr : file.c_str());
        int isServer = 0;
        ldap_set_option(nullptr, LDAP_OPT_X_TLS_NEWCTX, &isServer);
    }
    static DirectorySettings settings() { return TestDirectory::settings(*server, true); }

    static inline std::string systemTrust;
};

TEST_F(DirectoryClientSslTest, LogInsOverSsl) {
    struct Case {
        const char* what;
        std::function<void(DirectorySettings&)> change;
        const char* password;
        Status expected;
    };
    const Case cases[] = {
        {"right password", [](DirectorySettings&) {}, TestDirectory::kJdoePassword, Status::Accepted},
        {"wrong password", [](DirectorySettings&) {}, "Wrong-Pass1", Status::Refused},
        {"plain LDAP to the SSL port", [](DirectorySettings& s) { s.useSsl = false; }, TestDirectory::kJdoePassword,
         Status::Unavailable},
        {"unreachable primary, SSL backup",
         [](DirectorySettings& s) { s.server = "127.0.0.2", s.backupServer = "127.0.0.1"; },
         TestDirectory::kJdoePassword, Status::Accepted},
    };
    for (const auto& c : cases) {
        DirectorySettings s = settings();
        c.change(s);
        const DirectoryAnswer a = DirectoryClient(s).authenticate("jdoe", c.password);
        EXPECT_EQ(a.status, c.expected) << c.what << ": " << a.message;
    }
    const auto results = DirectoryClient(settings()).testConnection();
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].answer.status, Status::Accepted) << results[0].answer.message;
}

TEST_F(DirectoryClientSslTest, AnUntrustedCertificateIsNotAccepted) {
    trust(systemTrust); // the system's authorities do not know the test server's certificate
    const DirectoryAnswer a = DirectoryClient(settings()).authenticate("jdoe", TestDirectory::kJdoePassword);
    EXPECT_EQ(a.status, Status::Unavailable) << a.message;
}

TEST(DirectoryClientText, UrisFromTheServerFields) {
    struct Case {
        const char* server;
        const char* port;
        bool ssl;
        const char* uri;
    };
    const Case cases[] = {
        {"ldap1.example.org", "389", false, "ldap://ldap1.example.org:389"},
        {" ldap1.example.org ", " 1389 ", false, "ldap://ldap1.example.org:1389"},
        {"LDAP://dc1.corp.local", "389", false, "ldap://dc1.corp.local:389"},
        {"ldaps://dc1.corp.local/", "636", true, "ldaps://dc1.corp.local:636"},
        {"10.0.0.2", "", false, "ldap://10.0.0.2:389"},
        {"10.0.0.2", "", true, "ldaps://10.0.0.2:636"},
        {"::1", "389", false, "ldap://[::1]:389"},
        {"[fe80::1]", "389", false, "ldap://[fe80::1]:389"},
        {"", "389", false, ""},
        {"host name", "389", false, ""},
        {"host/path", "389", false, ""},
        {"h\xc3\xb6st", "389", false, ""},
        {"host", "0", false, ""},
        {"host", "65536", false, ""},
        {"host", "-1", false, ""},
        {"host", "3 89", false, ""},
    };
    for (const auto& c : cases) {
        DirectorySettings s;
        s.port = c.port;
        s.useSsl = c.ssl;
        EXPECT_EQ(DirectoryClient(s).uriFor(c.server), c.uri) << c.server << " / " << c.port;
    }
}

TEST(DirectoryClientText, FilterValuesAreEscaped) {
    EXPECT_EQ(DirectoryClient::escapeFilterValue("jdoe"), "jdoe");
    EXPECT_EQ(DirectoryClient::escapeFilterValue("a*b(c)d\\e"), "a\\2ab\\28c\\29d\\5ce");
    EXPECT_EQ(DirectoryClient::escapeFilterValue(std::string("x\0y", 3)), "x\\00y");
    EXPECT_EQ(DirectoryClient::escapeFilterValue("O'Brien m\xc3\xbcller"), "O'Brien m\xc3\xbcller");
    EXPECT_EQ(DirectoryClient::userFilter("a*"), "(|(uid=a\\2a)(sAMAccountName=a\\2a))");
}

} // namespace
