#pragma once

#include "Ast.h"
#include "Value.h"

#include <optional>

namespace tsql {

enum class ConvertMode {
    Explicit, // CAST / CONVERT: character results are cut silently
    Store,    // a value written into a column: over-long text fails with 8152 unless ANSI_WARNINGS is OFF
    Assign,   // a value assigned to a variable: cut silently
};

// Converts a value to a T-SQL type as SQL Server does, throwing tsql::Error with SQL Server's
// message (245, 241, 8114, 8115, 220, 8152) when it cannot.
Value convertValue(const Value& v, const TypeSpec& type, ConvertMode mode, int style = -1, bool sourceIsDate = false,
                   bool ansiWarnings = true);

// The text a value has in a message: "Conversion failed when converting the varchar value 'x' ...".
std::string sqlTypeNameOf(const Value& v);

// Numeric reading of a text for implicit conversions ('12' + 1); nullopt when not a number.
std::optional<Value> parseNumber(const std::string& text);

} // namespace tsql
