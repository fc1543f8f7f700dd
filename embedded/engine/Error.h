#pragma once

#include <stdexcept>
#include <string>

namespace tsql {

// How far an error reaches, as SQL Server decides it: a statement-level error ends only the
// statement that raised it; a batch-level error ends the rest of the batch; a compile error
// refuses the whole batch before any statement runs.
enum class ErrorScope { Statement, Batch, Compile };

// An error with SQL Server's number, severity and message text.
class Error : public std::runtime_error {
public:
    Error(int number, std::string message, ErrorScope scope = ErrorScope::Batch, int severity = 16)
        : std::runtime_error(message), m_number(number), m_severity(severity), m_scope(scope) {}

    [[nodiscard]] int number() const { return m_number; }
    [[nodiscard]] int severity() const { return m_severity; }
    [[nodiscard]] ErrorScope scope() const { return m_scope; }

private:
    int m_number;
    int m_severity;
    ErrorScope m_scope;
};

// Thrown when the client cancels the running statement (SQLCancel).
struct Cancelled {};

// Thrown when the network link to the client drops in the middle of a batch (a test's fault).
struct LinkLost {};

// Msg 102: the parser met a token it cannot place.
[[noreturn]] void throwSyntax(const std::string& nearText);

} // namespace tsql
