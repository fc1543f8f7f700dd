#include "SendmailProgram.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace suite {

namespace {

// A pipe whose ends close with it.
struct Pipe {
    int fd[2] = {-1, -1};
    Pipe() {
        if (pipe2(fd, O_CLOEXEC) != 0)
            fd[0] = fd[1] = -1;
    }
    ~Pipe() {
        closeEnd(0);
        closeEnd(1);
    }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;
    void closeEnd(int i) {
        if (fd[i] >= 0)
            ::close(fd[i]);
        fd[i] = -1;
    }
    [[nodiscard]] bool ok() const { return fd[0] >= 0; }
};

// Writing to a program that ended early raises SIGPIPE; it is held back for this thread while the
// message is written and a pending one is taken away afterwards, so the console lives on and the
// write reports EPIPE instead.
class PipeSignalGuard {
public:
    PipeSignalGuard() {
        sigset_t pipeOnly;
        sigemptyset(&pipeOnly);
        sigaddset(&pipeOnly, SIGPIPE);
        sigpending(&m_pendingBefore);
        pthread_sigmask(SIG_BLOCK, &pipeOnly, &m_old);
    }
    ~PipeSignalGuard() {
        sigset_t pending;
        sigpending(&pending);
        if (sigismember(&pending, SIGPIPE) && !sigismember(&m_pendingBefore, SIGPIPE)) {
            sigset_t pipeOnly;
            sigemptyset(&pipeOnly);
            sigaddset(&pipeOnly, SIGPIPE);
            const timespec none{0, 0};
            sigtimedwait(&pipeOnly, nullptr, &none);
        }
        pthread_sigmask(SIG_SETMASK, &m_old, nullptr);
    }
    PipeSignalGuard(const PipeSignalGuard&) = delete;
    PipeSignalGuard& operator=(const PipeSignalGuard&) = delete;

private:
    sigset_t m_old{}, m_pendingBefore{};
};

std::string firstLine(const std::string& text) {
    std::string line = text.substr(0, text.find('\n'));
    while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
        line.pop_back();
    return line;
}

} // namespace

SendmailProgram::SendmailProgram() : m_path(kDefaultPath) {
    if (const char* configured = std::getenv("KDADMIN_SENDMAIL"); configured && *configured)
        m_path = configured;
}

std::string SendmailProgram::Submit(const std::string& message) const {
    Pipe input, errors;
    if (!input.ok() || !errors.ok())
        return std::string("The mail program could not be started: ") + std::strerror(errno);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input.fd[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, errors.fd[1], STDERR_FILENO);
    const auto args = arguments();
    std::vector<char*> argv;
    for (const auto& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, m_path.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return "The mail program " + m_path + " could not be started: " + std::strerror(spawned);
    input.closeEnd(0);
    errors.closeEnd(1);

    // Write the message while draining the error output, so that neither side waits on the other.
    std::string errorText;
    std::string writeProblem;
    {
        PipeSignalGuard guard;
        size_t written = 0;
        while (input.fd[1] >= 0 || errors.fd[0] >= 0) {
            pollfd fds[2] = {{errors.fd[0], POLLIN, 0}, {input.fd[1], POLLOUT, 0}};
            if (::poll(fds, 2, -1) < 0) {
                if (errno == EINTR)
                    continue;
                break;
            }
            if (fds[0].revents) {
                char buf[4096];
                const ssize_t n = ::read(errors.fd[0], buf, sizeof buf);
                if (n > 0)
                    errorText.append(buf, static_cast<size_t>(n));
                else if (n == 0 || errno != EINTR)
                    errors.closeEnd(0);
            }
            if (fds[1].revents) {
                const bool closed = (fds[1].revents & (POLLERR | POLLHUP)) != 0;
                const ssize_t n =
                    closed ? -1 : ::write(input.fd[1], message.data() + written, message.size() - written);
                if (n > 0)
                    written += static_cast<size_t>(n);
                if (closed || (n < 0 && errno != EINTR && errno != EAGAIN)) {
                    writeProblem = "the mail program stopped reading the message";
                    input.closeEnd(1);
                } else if (written == message.size()) {
                    input.closeEnd(1);
                }
            }
        }
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    const std::string said = firstLine(errorText);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0 && writeProblem.empty())
        return {};
    std::string reason = WIFEXITED(status) ? "exit status " + std::to_string(WEXITSTATUS(status))
                                           : "signal " + std::to_string(WTERMSIG(status));
    if (!writeProblem.empty())
        reason += ", " + writeProblem;
    return "The mail program " + m_path + " did not accept the message (" + reason + ")" +
           (said.empty() ? std::string(".") : ": " + said);
}

} // namespace suite
