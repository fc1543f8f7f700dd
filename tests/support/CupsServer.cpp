#include "CupsServer.h"

#include <array>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace kdtest {

namespace {

namespace fs = std::filesystem;

std::string g_folder;

// A PostScript-level description with the four paper sources the printer screens name, which
// declares that the device takes PDF as it is: the scheduler's pdftopdf is the only filter, and the
// file receives the PDF pages.
constexpr const char* kPpd = R"ppd(*PPD-Adobe: "4.3"
*FormatVersion: "4.3"
*FileVersion: "1.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "KDTRAYS.PPD"
*Manufacturer: "Test"
*Product: "(Tray Printer)"
*ModelName: "Tray Printer"
*ShortNickName: "Tray Printer"
*NickName: "Tray Printer"
*PSVersion: "(3010.000) 0"
*LanguageLevel: "3"
*ColorDevice: False
*DefaultColorSpace: Gray
*FileSystem: False
*Throughput: "1"
*cupsFilter2: "application/vnd.cups-pdf application/pdf 0 -"
*OpenUI *PageSize/Media Size: PickOne
*OrderDependency: 10 AnySetup *PageSize
*DefaultPageSize: Letter
*PageSize Letter/US Letter: "<</PageSize[612 792]>>setpagedevice"
*PageSize A4/A4: "<</PageSize[595 842]>>setpagedevice"
*CloseUI: *PageSize
*OpenUI *PageRegion: PickOne
*OrderDependency: 10 AnySetup *PageRegion
*DefaultPageRegion: Letter
*PageRegion Letter/US Letter: "<</PageSize[612 792]>>setpagedevice"
*PageRegion A4/A4: "<</PageSize[595 842]>>setpagedevice"
*CloseUI: *PageRegion
*DefaultImageableArea: Letter
*ImageableArea Letter/US Letter: "18 36 594 756"
*ImageableArea A4/A4: "18 36 577 806"
*DefaultPaperDimension: Letter
*PaperDimension Letter/US Letter: "612 792"
*PaperDimension A4/A4: "595 842"
*OpenUI *InputSlot/Media Source: PickOne
*OrderDependency: 20 AnySetup *InputSlot
*DefaultInputSlot: Upper
*InputSlot Upper/Upper Paper Tray: "<</MediaPosition 0>>setpagedevice"
*InputSlot Lower/Lower Paper Tray: "<</MediaPosition 1>>setpagedevice"
*InputSlot Manual/Manual Paper Feed: "<</MediaPosition 2>>setpagedevice"
*InputSlot Tray5/Letterhead Drawer: "<</MediaPosition 5>>setpagedevice"
*CloseUI: *InputSlot
*DefaultFont: Courier
*Font Courier: Standard "(002.004S)" Standard ROM
)ppd";

std::string run(const std::string& command, int* status = nullptr) {
    std::string out;
    if (FILE* p = popen((command + " 2>&1").c_str(), "r")) {
        std::array<char, 4096> buffer{};
        while (size_t n = fread(buffer.data(), 1, buffer.size(), p))
            out.append(buffer.data(), n);
        const int rc = pclose(p);
        if (status)
            *status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    }
    return out;
}

std::string shellQuoted(const std::string& s) {
    return "'" + s + "'";
}

} // namespace

void CupsServer::claimSocket() {
    if (!g_folder.empty())
        return;
    char pattern[] = "/tmp/kdcups-XXXXXX";
    if (const char* made = mkdtemp(pattern))
        g_folder = made;
    setenv("CUPS_SERVER", (g_folder + "/cups.sock").c_str(), 1);
    // A program that printed nothing leaves no folder behind (the scheduler removes it otherwise).
    std::atexit([] {
        std::error_code ec;
        fs::remove_all(g_folder, ec);
    });
}

CupsServer& CupsServer::shared() {
    static CupsServer server;
    return server;
}

CupsServer::CupsServer() {
    claimSocket();
    m_folder = g_folder;
    if (m_folder.empty()) {
        m_error = "no temporary folder";
        return;
    }
    if (!fs::exists("/usr/sbin/cupsd")) {
        m_error = "/usr/sbin/cupsd is not installed";
        return;
    }
    for (const char* d : {"spool", "cache", "log", "state", "out", "ppd"})
        fs::create_directories(m_folder + "/" + d);
    std::ofstream(m_folder + "/cupsd.conf") << "Listen " << m_folder << "/cups.sock\nLogLevel warn\n"
                                            << "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n";
    std::ofstream(m_folder + "/cups-files.conf")
        << "FileDevice Yes\nServerRoot " << m_folder << "\nRequestRoot " << m_folder << "/spool\nCacheDir " << m_folder
        << "/cache\nStateDir " << m_folder << "/state\nTempDir " << m_folder << "/spool\nErrorLog " << m_folder
        << "/log/error_log\nAccessLog " << m_folder << "/log/access_log\nPageLog " << m_folder
        << "/log/page_log\nSandboxing Relaxed\n";
    std::ofstream(m_folder + "/trays.ppd") << kPpd;
    // Started as root, the scheduler and its filters work as the lp user: it must write there.
    if (geteuid() == 0)
        run("chown -R lp " + shellQuoted(m_folder) + " && chmod 755 " + shellQuoted(m_folder));
    const std::string conf = m_folder + "/cupsd.conf", files = m_folder + "/cups-files.conf";
    char* argv[] = {const_cast<char*>("cupsd"),
                    const_cast<char*>("-f"),
                    const_cast<char*>("-c"),
                    const_cast<char*>(conf.c_str()),
                    const_cast<char*>("-s"),
                    const_cast<char*>(files.c_str()),
                    nullptr};
    if (posix_spawn(&m_pid, "/usr/sbin/cupsd", nullptr, nullptr, argv, environ) != 0) {
        m_pid = 0;
        m_error = "cupsd could not be started";
        return;
    }
    for (int i = 0; i < 200 && !ready(); ++i)
        usleep(50000);
    if (!ready())
        m_error = "cupsd did not answer on " + m_folder + "/cups.sock";
}

CupsServer::~CupsServer() {
    if (m_pid > 0) {
        kill(m_pid, SIGTERM);
        waitpid(m_pid, nullptr, 0);
    }
    if (!m_folder.empty()) {
        std::error_code ec;
        fs::remove_all(m_folder, ec);
    }
}

bool CupsServer::ready() const {
    return m_pid > 0 && run("lpstat -r").find("is running") != std::string::npos;
}

std::string CupsServer::outputFile(const std::string& name) const {
    return m_folder + "/out/" + name + ".pdf";
}

bool CupsServer::addFileQueue(const std::string& name, bool withTrays) {
    int status = 0;
    const std::string driver = withTrays ? " -P " + shellQuoted(m_folder + "/trays.ppd") : std::string();
    const std::string out = run(
        "lpadmin -p " + shellQuoted(name) + " -v " + shellQuoted("file:" + outputFile(name)) + driver + " -E", &status);
    if (status != 0)
        m_error = "lpadmin: " + out;
    return status == 0;
}

void CupsServer::removeQueue(const std::string& name) {
    run("lpadmin -x " + shellQuoted(name));
    std::error_code ec;
    fs::remove(outputFile(name), ec);
}

bool CupsServer::waitForOutput(const std::string& name) {
    for (int i = 0; i < 600; ++i) {
        std::error_code ec;
        const bool idle = run("lpstat -o " + shellQuoted(name)).empty();
        if (idle && fs::file_size(outputFile(name), ec) > 0 && !ec)
            return true;
        usleep(100000);
    }
    m_error = "no output in " + outputFile(name) +
              "; the scheduler's log: " + run("tail -n 20 " + shellQuoted(m_folder + "/log/error_log"));
    return false;
}

std::string CupsServer::pdfText(const std::string& file) {
    return run("pdftotext -layout " + shellQuoted(file) + " -");
}

int CupsServer::pdfPages(const std::string& file) {
    const std::string info = run("pdfinfo " + shellQuoted(file));
    const size_t at = info.find("Pages:");
    return at == std::string::npos ? -1 : std::atoi(info.c_str() + at + 6);
}

TestQueue::TestQueue(std::string name, bool withTrays) : m_name(std::move(name)) {
    EXPECT_TRUE(CupsServer::shared().addFileQueue(m_name, withTrays)) << CupsServer::shared().error();
}

TestQueue::~TestQueue() {
    CupsServer::shared().removeQueue(m_name);
}

std::string TestQueue::output() const {
    auto& cups = CupsServer::shared();
    if (!cups.waitForOutput(m_name)) {
        ADD_FAILURE() << cups.error();
        return {};
    }
    return cups.outputFile(m_name);
}

} // namespace kdtest
