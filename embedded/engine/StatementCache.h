#pragma once

#include <list>
#include <string>
#include <unordered_map>

struct sqlite3_stmt;

namespace tsql {

// The connection's prepared SQLite statements between uses, taken back by their text. A console
// sends the same statements again and again (list loads, look-ups, a loop's body), and preparing
// one costs several times running it; a server keeps its compiled plans for the same reason.
// Each statement is kept with the catalog generation it was prepared under and is not handed out
// under another: SQLite would prepare it again only at its first step, after its result columns
// had been read from the old table. When full, the statement left unused longest goes.
class StatementCache {
public:
    StatementCache() = default;
    ~StatementCache() { close(); }
    StatementCache(const StatementCache&) = delete;
    StatementCache& operator=(const StatementCache&) = delete;

    // An idle statement prepared from exactly this text under this generation, or nullptr.
    sqlite3_stmt* take(const std::string& sql, unsigned long long generation);
    // Resets the statement, clears its bindings and keeps it; finalizes it when one of the same
    // text is kept already, or the cache is closed.
    void give(sqlite3_stmt* st, unsigned long long generation);
    // Finalizes every idle statement; statements given back later are finalized at once.
    void close();

    [[nodiscard]] size_t idleCount() const { return m_idle.size(); }
    static constexpr size_t kMaxIdle = 256;

private:
    struct Idle {
        sqlite3_stmt* statement;
        unsigned long long generation;
        std::list<std::string>::iterator age; // its place in m_order
    };
    std::unordered_map<std::string, Idle> m_idle;
    std::list<std::string> m_order; // texts of the idle statements, most recently given back first
    bool m_closed = false;
};

} // namespace tsql
