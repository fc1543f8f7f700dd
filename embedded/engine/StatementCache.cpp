#include "StatementCache.h"

#include <sqlite3.h>

namespace tsql {

sqlite3_stmt* StatementCache::take(const std::string& sql, unsigned long long generation) {
    auto it = m_idle.find(sql);
    if (it == m_idle.end())
        return nullptr;
    const Idle idle = it->second;
    m_order.erase(idle.age);
    m_idle.erase(it);
    if (idle.generation == generation)
        return idle.statement;
    sqlite3_finalize(idle.statement);
    return nullptr;
}

void StatementCache::give(sqlite3_stmt* st, unsigned long long generation) {
    if (!st)
        return;
    sqlite3_reset(st);
    sqlite3_clear_bindings(st);
    const char* text = sqlite3_sql(st);
    if (m_closed || !text || m_idle.count(text)) {
        sqlite3_finalize(st);
        return;
    }
    if (m_idle.size() >= kMaxIdle) {
        auto oldest = m_idle.find(m_order.back());
        sqlite3_finalize(oldest->second.statement);
        m_idle.erase(oldest);
        m_order.pop_back();
    }
    m_order.emplace_front(text);
    m_idle.emplace(m_order.front(), Idle{st, generation, m_order.begin()});
}

void StatementCache::close() {
    for (auto& [sql, idle] : m_idle)
        sqlite3_finalize(idle.statement);
    m_idle.clear();
    m_order.clear();
    m_closed = true;
}

} // namespace tsql
