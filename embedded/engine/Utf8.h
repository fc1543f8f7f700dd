#pragma once

#include <string>

namespace tsql {

// Character counts and cuts on UTF-8 text: lengths in T-SQL count characters, as a single-byte
// code page does, not bytes.
inline size_t utf8Length(const std::string& s) {
    size_t n = 0;
    for (unsigned char c : s)
        if ((c & 0xC0) != 0x80)
            ++n;
    return n;
}

// The byte offset where character number `chars` (0-based) starts.
inline size_t utf8Offset(const std::string& s, size_t chars) {
    size_t i = 0;
    while (i < s.size() && chars > 0) {
        ++i;
        while (i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80)
            ++i;
        --chars;
    }
    return i;
}

} // namespace tsql
