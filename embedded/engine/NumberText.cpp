#include "NumberText.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace tsql {

std::string fixedText(double v, int decimals) {
    char buf[400];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
    if (ec != std::errc())
        return generalText(v, 17);
    return std::string(buf, end);
}

std::string generalText(double v, int significant) {
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, significant);
    return ec == std::errc() ? std::string(buf, end) : std::string();
}

std::optional<double> parseReal(std::string_view text, size_t* used) {
    if (used)
        *used = 0;
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    // from_chars reads neither blanks nor a plus sign, so both are taken here.
    double v = 0;
    const char* begin = text.data() + i;
    auto [end, ec] = std::from_chars(begin, text.data() + text.size(), v, std::chars_format::general);
    if (end == begin)
        return std::nullopt;
    if (ec == std::errc::result_out_of_range) {
        // Too small to tell from zero, or too large for a double.
        const std::string_view read(begin, static_cast<size_t>(end - begin));
        const size_t e = read.find_first_of("eE");
        v = e != std::string_view::npos && e + 1 < read.size() && read[e + 1] == '-' ? 0.0 : HUGE_VAL;
    } else if (ec != std::errc()) {
        return std::nullopt;
    }
    if (used)
        *used = static_cast<size_t>(end - text.data());
    return negative ? -v : v;
}

} // namespace tsql
