#include "ConnectionString.h"

#include <cctype>

namespace odbcdrv {

namespace {

std::string trim(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b])))
        ++b;
    while (e > b && (std::isspace(static_cast<unsigned char>(s[e - 1])) || s[e - 1] == '\0'))
        --e;
    return std::string(s.substr(b, e - b));
}

} // namespace

ConnectionString::ConnectionString(std::string_view text) {
    size_t i = 0;
    while (i < text.size()) {
        size_t eq = text.find('=', i);
        if (eq == std::string_view::npos)
            break;
        std::string key = trim(text.substr(i, eq - i));
        for (auto& c : key)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        size_t v = eq + 1;
        while (v < text.size() && text[v] == ' ')
            ++v;
        std::string value;
        if (v < text.size() && text[v] == '{') {
            size_t close = text.find('}', v + 1);
            if (close == std::string_view::npos)
                close = text.size();
            value = std::string(text.substr(v + 1, close - v - 1));
            size_t semi = text.find(';', close);
            i = semi == std::string_view::npos ? text.size() : semi + 1;
        } else {
            size_t semi = text.find(';', v);
            if (semi == std::string_view::npos)
                semi = text.size();
            value = trim(text.substr(v, semi - v));
            i = semi + 1;
        }
        if (!key.empty() && !m_values.count(key))
            m_values[key] = value;
    }
}

std::string ConnectionString::get(const std::string& upperKey) const {
    auto it = m_values.find(upperKey);
    return it == m_values.end() ? std::string() : it->second;
}

bool isBlankValue(const std::string& value) {
    return value.empty() || value == "''" || value == "\"\"";
}

} // namespace odbcdrv
