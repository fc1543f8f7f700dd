#pragma once

#include <string>

namespace platform {

// Character counts and cuts on UTF-8 text. Every text limit of the console and of its database
// counts characters, as a single-byte code page does, never bytes, and a cut never splits one.
inline size_t utf8Length(const std::string& s) {
    size_t n = 0;
    for (unsigned char c : s)
        if ((c & 0xC0) != 0x80)
            ++n;
    return n;
}

// The byte offset where character number `chars` (0-based) starts; the size when there are fewer.
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

// The first `chars` characters of the text.
inline std::string utf8Left(const std::string& s, size_t chars) {
    return s.substr(0, utf8Offset(s, chars));
}

} // namespace platform
