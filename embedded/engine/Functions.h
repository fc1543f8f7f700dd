#pragma once

struct sqlite3;

namespace tsql {

class Session;

// Installs the TSQL collation and the functions the translator's SQL calls (conversions, '+',
// date arithmetic, LIKE with SQL Server's wildcards, string helpers, variables).
void installFunctions(sqlite3* db, Session* session);

// SQL Server's default collation: case-insensitive, trailing blanks ignored.
int compareTsql(const char* a, int na, const char* b, int nb);

// LIKE with %, _, [set], [^set], [a-z] and an optional escape character, case-insensitive.
bool likeMatch(const char* pattern, const char* text, int escape);

} // namespace tsql
