#pragma once

#include <optional>
#include <string>
#include <vector>

namespace suite {

// The login component's own connection to the suite database (separate from the console's
// session, as the component has always had): plain statements, rows as text.
class SuiteConnection {
public:
    using Row = std::vector<std::optional<std::string>>;

    SuiteConnection() = default;
    ~SuiteConnection();
    SuiteConnection(const SuiteConnection&) = delete;
    SuiteConnection& operator=(const SuiteConnection&) = delete;

    // Log-in and statement time-outs in seconds (0: the driver's default), for the next open().
    void setTimeouts(int loginSeconds, int querySeconds) {
        m_loginTimeout = loginSeconds;
        m_queryTimeout = querySeconds;
    }
    bool open(const std::string& connectionString);
    void close();
    [[nodiscard]] bool isOpen() const { return m_dbc != nullptr; }
    // Runs a batch; rows of its first result set. nullopt on error (lastError() tells it).
    std::optional<std::vector<Row>> query(const std::string& sql);
    bool execute(const std::string& sql);
    [[nodiscard]] const std::string& lastError() const { return m_error; }

    static std::string quote(const std::string& text); // between apostrophes, doubled inside

private:
    void collectError(short handleType, void* handle);
    void* m_env = nullptr;
    void* m_dbc = nullptr;
    std::string m_error;
    int m_loginTimeout = 20;
    int m_queryTimeout = 0;
};

} // namespace suite
