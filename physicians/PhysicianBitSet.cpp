#include "PhysicianBitSet.h"

namespace physicians {

namespace {

int digitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace

std::string BitSetLiteral(const bool* bits, size_t count) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string out = "0x";
    out.reserve(2 + count / 4);
    for (size_t i = 0; i + 4 <= count; i += 4)
        out += kDigits[(bits[i] ? 8 : 0) | (bits[i + 1] ? 4 : 0) | (bits[i + 2] ? 2 : 0) | (bits[i + 3] ? 1 : 0)];
    return out;
}

void ParseBitSet(std::string_view text, bool* bits, size_t count) {
    if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        text.remove_prefix(2);
    for (size_t d = 0; d < text.size() && d * 4 < count; ++d) {
        const int v = digitValue(text[d]);
        if (v < 0)
            return;
        for (size_t b = 0; b < 4 && d * 4 + b < count; ++b)
            bits[d * 4 + b] = (v & (8 >> b)) != 0;
    }
}

} // namespace physicians
