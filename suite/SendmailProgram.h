#pragma once

#include <string>
#include <vector>

namespace suite {

// The system's sendmail interface: the mail program reads one message on its standard input and
// takes the recipients from the message's To, Cc and Bcc fields ("-t"); a line holding a single
// dot does not end the message ("-i"). Every mail transfer agent installs such a program.
class SendmailProgram {
public:
    static constexpr const char* kDefaultPath = "/usr/sbin/sendmail";

    // The program named by KDADMIN_SENDMAIL, or the system's.
    SendmailProgram();
    explicit SendmailProgram(std::string path) : m_path(std::move(path)) {}

    [[nodiscard]] const std::string& path() const { return m_path; }
    [[nodiscard]] std::vector<std::string> arguments() const { return {m_path, "-t", "-i"}; }

    // Hands the message over and waits for the program; "" when it took the message (exit status
    // 0), otherwise what went wrong, with what the program wrote on its error output.
    [[nodiscard]] std::string Submit(const std::string& message) const;

private:
    std::string m_path;
};

} // namespace suite
