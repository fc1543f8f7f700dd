#pragma once

#include "Ast.h"
#include "Lexer.h"

#include <string_view>
#include <vector>

namespace tsql {

// Parses a T-SQL batch into statements. Throws tsql::Error (102 and friends, scope Compile) for
// text that SQL Server would refuse to compile.
std::vector<StatementPtr> parseBatch(std::string_view sql);

// Parses one expression (used for procedure parameter defaults kept as text).
ExprPtr parseExpression(std::string_view sql);

} // namespace tsql
