#include "SlapdServer.h"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509v3.h>

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <netinet/in.h>
#include <spawn.h>
#include <sstream>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace kdtest {

namespace fs = std::filesystem;

namespace {

std::string base64(const std::string& bytes) {
    std::string out(4 * ((bytes.size() + 2) / 3) + 1, '\0');
    const int n = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                                  reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size()));
    out.resize(static_cast<size_t>(n));
    return out;
}

// LDIF's SAFE-STRING: ASCII without NUL, CR, LF, not starting with a blank, ":" or "<".
bool safeString(const std::string& v) {
    if (!v.empty() && (v.front() == ' ' || v.front() == ':' || v.front() == '<' || v.back() == ' '))
        return false;
    for (unsigned char c : v)
        if (c == 0 || c == '\r' || c == '\n' || c >= 0x80)
            return false;
    return true;
}

std::string line(const std::string& name, const std::string& value) {
    return safeString(value) ? name + ": " + value + "\n" : name + ":: " + base64(value) + "\n";
}

// Runs a program with its output going to logFile; returns the child's pid or -1.
pid_t spawn(const std::vector<std::string>& args, const std::string& logFile) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, logFile.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    std::vector<char*> argv;
    for (const auto& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return rc == 0 ? pid : -1;
}

bool accepts(int port) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0)
        return false;
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool ok = connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    close(fd);
    return ok;
}

} // namespace

std::string SlapdServer::slapdPath() {
    for (const char* p : {"/usr/sbin/slapd", "/usr/local/libexec/slapd", "/usr/libexec/slapd"})
        if (access(p, X_OK) == 0)
            return p;
    return {};
}

int SlapdServer::closedPort() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    int port = 0;
    if (fd >= 0 && bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 &&
        getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) == 0)
        port = ntohs(addr.sin_port);
    if (fd >= 0)
        close(fd);
    return port;
}

std::string SlapdServer::ssha(const std::string& password, const std::string& salt) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    const std::string input = password + salt;
    EVP_Digest(input.data(), input.size(), digest, &length, EVP_sha1(), nullptr);
    return "{SSHA}" + base64(std::string(reinterpret_cast<char*>(digest), length) + salt);
}

std::string SlapdServer::ldif(const std::vector<Entry>& entries) {
    std::string out;
    for (const auto& e : entries) {
        out += line("dn", e.dn);
        for (const auto& [name, value] : e.attributes)
            out += line(name, value);
        out += "\n";
    }
    return out;
}

std::string SlapdServer::readLog() const {
    std::ifstream in(m_folder + "/slapd.log");
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// A self-signed certificate for 127.0.0.1 (P-256 key, one day) in cert.pem and key.pem.
bool SlapdServer::writeCertificate(std::string& error) const {
    EVP_PKEY* key = EVP_EC_gen("P-256");
    X509* cert = X509_new();
    bool ok = key && cert;
    if (ok) {
        X509_set_version(cert, 2);
        ASN1_INTEGER_set(X509_get_serialNumber(cert), 1);
        X509_gmtime_adj(X509_getm_notBefore(cert), -3600);
        X509_gmtime_adj(X509_getm_notAfter(cert), 86400);
        X509_set_pubkey(cert, key);
        X509_NAME* name = X509_get_subject_name(cert);
        X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>("127.0.0.1"), -1,
                                   -1, 0);
        X509_set_issuer_name(cert, name);
        X509V3_CTX ctx;
        X509V3_set_ctx(&ctx, cert, cert, nullptr, nullptr, 0);
        for (const auto& [nid, value] :
             {std::pair{NID_subject_alt_name, "IP:127.0.0.1"}, std::pair{NID_basic_constraints, "critical,CA:TRUE"}}) {
            X509_EXTENSION* ext = X509V3_EXT_conf_nid(nullptr, &ctx, nid, value);
            ok = ok && ext && X509_add_ext(cert, ext, -1);
            X509_EXTENSION_free(ext);
        }
        ok = ok && X509_sign(cert, key, EVP_sha256()) > 0;
    }
    if (ok) {
        FILE* c = fopen((m_folder + "/cert.pem").c_str(), "w");
        FILE* k = fopen((m_folder + "/key.pem").c_str(), "w");
        ok = c && k && PEM_write_X509(c, cert) && PEM_write_PrivateKey(k, key, nullptr, nullptr, 0, nullptr, nullptr);
        if (c)
            fclose(c);
        if (k)
            fclose(k);
    }
    X509_free(cert);
    EVP_PKEY_free(key);
    if (!ok)
        error = "the test certificate could not be made";
    return ok;
}

bool SlapdServer::start(const std::vector<Entry>& entries, std::string& error, bool withTls) {
    stop();
    const std::string slapd = slapdPath();
    if (slapd.empty()) {
        error = "slapd is not installed";
        return false;
    }
    char pattern[] = "/tmp/kdslapd-XXXXXX";
    if (!mkdtemp(pattern)) {
        error = "no temporary folder";
        return false;
    }
    m_folder = pattern;
    fs::create_directory(m_folder + "/db");
    if (withTls && !writeCertificate(error))
        return false;
    const std::string conf = m_folder + "/slapd.conf";
    {
        std::ofstream out(conf);
        if (withTls)
            out << "TLSCertificateFile " << m_folder << "/cert.pem\nTLSCertificateKeyFile " << m_folder << "/key.pem\n";
        out << "include /etc/ldap/schema/core.schema\n"
               "include /etc/ldap/schema/cosine.schema\n"
               "include /etc/ldap/schema/inetorgperson.schema\n"
               "pidfile "
            << m_folder << "/slapd.pid\nargsfile " << m_folder
            << "/slapd.args\n"
               "modulepath /usr/lib/ldap\n"
               "moduleload back_mdb\n"
               "database mdb\n"
               "maxsize 10485760\n"
               "suffix \""
            << kSuffix << "\"\nrootdn \"" << kRootDn
            << "\"\nrootpw root-secret\n"
               "directory "
            << m_folder
            << "/db\n"
               "access to attrs=userPassword by anonymous auth by self read by * none\n"
               "access to * by * read\n";
    }
    std::vector<Entry> all{{kSuffix,
                            {{"objectClass", "dcObject"},
                             {"objectClass", "organization"},
                             {"dc", "kaldra"},
                             {"o", "Kaldra test directory"}}}};
    all.insert(all.end(), entries.begin(), entries.end());
    std::ofstream(m_folder + "/entries.ldif") << ldif(all);

    const std::string log = m_folder + "/slapd.log";
    const pid_t add = spawn(
        {slapd.substr(0, slapd.rfind('/') + 1) + "slapadd", "-q", "-f", conf, "-l", m_folder + "/entries.ldif"}, log);
    int status = 0;
    if (add < 0 || waitpid(add, &status, 0) != add || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        error = "slapadd failed: " + readLog();
        return false;
    }
    // The port is picked free just before slapd binds it; another program could take it in between,
    // so a start that fails is tried again on a new port.
    for (int attempt = 0; attempt < 3; ++attempt) {
        m_port = closedPort();
        std::string urls = "ldap://127.0.0.1:" + std::to_string(m_port) + "/";
        if (withTls) {
            m_tlsPort = closedPort();
            urls += " ldaps://127.0.0.1:" + std::to_string(m_tlsPort) + "/";
        }
        m_pid = spawn({slapd, "-d", "0", "-h", urls, "-f", conf}, log);
        if (m_pid < 0)
            break;
        for (int wait = 0; wait < 400; ++wait) {
            if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_pid = -1;
                break;
            }
            if (accepts(m_port) && (!withTls || accepts(m_tlsPort)))
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
        }
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, &status, 0);
            m_pid = -1;
        }
    }
    error = "slapd did not start: " + readLog();
    return false;
}

void SlapdServer::stop() {
    if (m_pid > 0) {
        kill(m_pid, SIGTERM);
        int status = 0;
        bool ended = false;
        for (int wait = 0; wait < 400 && !ended; ++wait) {
            ended = waitpid(m_pid, &status, WNOHANG) == m_pid;
            if (!ended)
                std::this_thread::sleep_for(std::chrono::milliseconds(25));
        }
        if (!ended) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, &status, 0);
        }
        m_pid = -1;
    }
    if (!m_folder.empty()) {
        std::error_code ec;
        fs::remove_all(m_folder, ec);
        m_folder.clear();
    }
}

} // namespace kdtest
