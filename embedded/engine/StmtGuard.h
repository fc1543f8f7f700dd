#pragma once

#include <sqlite3.h>

namespace tsql {

// Finalises a prepared SQLite statement when the scope that prepared it ends, error or not.
struct StmtGuard {
    sqlite3_stmt* st;
    ~StmtGuard() { sqlite3_finalize(st); }
};

} // namespace tsql
