#pragma once

#include <string>
#include <sys/types.h>

namespace kdtest {

// A private CUPS scheduler for a test program: the system's cupsd with a configuration, spool and
// socket of its own in a temporary folder, and queues whose "printer" is a file there (a small PPD
// with four input slots that takes PDF as it comes, so the file holds the pages as printed). The
// system's own scheduler is never used.
//
// The CUPS library remembers the server it first talked to, so the program names the socket with
// claimSocket() before anything prints; the scheduler starts on first use and stops at exit.
class CupsServer {
public:
    static void claimSocket();
    static CupsServer& shared();
    // Whether the scheduler could be run at all (the package is installed and it started).
    [[nodiscard]] bool running() const { return m_pid > 0 && ready(); }
    [[nodiscard]] const std::string& error() const { return m_error; }

    // Adds an enabled queue printing to outputFile(name); false with the reason in error(). Without
    // trays the queue is a raw one: no driver, so it names no paper source.
    bool addFileQueue(const std::string& name, bool withTrays = true);
    void removeQueue(const std::string& name);
    [[nodiscard]] std::string outputFile(const std::string& name) const;
    // Waits until the queue has finished its jobs and its file holds them; false after a minute.
    bool waitForOutput(const std::string& name);
    // The text and page count of a printed PDF (poppler's pdftotext and pdfinfo).
    static std::string pdfText(const std::string& file);
    static int pdfPages(const std::string& file);

    CupsServer(const CupsServer&) = delete;
    CupsServer& operator=(const CupsServer&) = delete;
    ~CupsServer();

private:
    CupsServer();
    [[nodiscard]] bool ready() const;

    std::string m_folder;
    std::string m_error;
    pid_t m_pid = 0;
};

// A file queue of the private scheduler for the length of a test.
class TestQueue {
public:
    explicit TestQueue(std::string name, bool withTrays = true);
    ~TestQueue();
    TestQueue(const TestQueue&) = delete;
    TestQueue& operator=(const TestQueue&) = delete;
    // The printed file once the queue is done; "" (and a test failure) when nothing came.
    [[nodiscard]] std::string output() const;

private:
    std::string m_name;
};

} // namespace kdtest

// Skips the test, saying why, when no private scheduler can be run on this machine.
#define KD_REQUIRE_CUPSD()                                                                                             \
    if (!kdtest::CupsServer::shared().running())                                                                       \
    GTEST_SKIP() << "cupsd cannot run here (" << kdtest::CupsServer::shared().error()                                  \
                 << "): run tools/bootstrap (it installs cups-daemon, cups-client, cups-filters and poppler-utils)"
