#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tsql {

// Numbers as SQL text and SQL Server's conversions write them: a point for the decimals,
// whatever LC_NUMERIC the host program (the console, under the user's locale) has chosen.

// Fixed notation with the given number of decimals ("%.*f" in the C locale).
std::string fixedText(double v, int decimals);
// Shortest of fixed and exponent notation with the given significant digits ("%.*g" in the C locale).
std::string generalText(double v, int significant);
// A decimal or float literal; leading blanks and a sign allowed. *used receives the characters
// read (0 when there is no number).
std::optional<double> parseReal(std::string_view text, size_t* used = nullptr);

} // namespace tsql
