#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace physicians {

// The physician tables keep day sets and report-type sets as byte strings. Four elements make one
// hexadecimal digit, taken from index 0 upward, the first element of each group being the digit's
// most significant bit ("1111" gives "F", "1000" gives "8").

// The SQL byte literal for the first `count` elements: "0x" and count / 4 digits.
std::string BitSetLiteral(const bool* bits, size_t count);
// Fills the first `count` elements from the column's text (hexadecimal digits, as the driver gives
// a binary column, with or without "0x"). Elements the text does not reach keep their values;
// an empty text (a NULL column) leaves them all.
void ParseBitSet(std::string_view text, bool* bits, size_t count);

} // namespace physicians
