#include "Value.h"

#include "NumberText.h"

#include <cmath>
#include <cstdio>
#include <sqlite3.h>

namespace tsql {

Value Value::from(sqlite3_value* v) {
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
        return integer(sqlite3_value_int64(v));
    case SQLITE_FLOAT:
        return real(sqlite3_value_double(v));
    case SQLITE_TEXT:
        return text(std::string(reinterpret_cast<const char*>(sqlite3_value_text(v)),
                                static_cast<size_t>(sqlite3_value_bytes(v))));
    case SQLITE_BLOB: {
        const void* p = sqlite3_value_blob(v);
        return blob(p ? std::string(static_cast<const char*>(p), static_cast<size_t>(sqlite3_value_bytes(v)))
                      : std::string());
    }
    default:
        return null();
    }
}

Value Value::column(sqlite3_stmt* st, int col) {
    return from(sqlite3_column_value(st, col));
}

std::string formatReal(double v) {
    if (std::isfinite(v) && v == std::floor(v) && std::fabs(v) < 1e15)
        return fixedText(v, 0);
    return generalText(v, 15);
}

std::string hexUpper(const std::string& bytes) {
    static const char* digits = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

std::string Value::toText() const {
    switch (type) {
    case Type::Null:
        return {};
    case Type::Int:
        return std::to_string(i);
    case Type::Real:
        return formatReal(r);
    case Type::Text:
        return s;
    case Type::Blob:
        return hexUpper(s);
    }
    return {};
}

void Value::bind(sqlite3_stmt* st, int index) const {
    switch (type) {
    case Type::Null:
        sqlite3_bind_null(st, index);
        break;
    case Type::Int:
        sqlite3_bind_int64(st, index, i);
        break;
    case Type::Real:
        sqlite3_bind_double(st, index, r);
        break;
    case Type::Text:
        sqlite3_bind_text(st, index, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
        break;
    case Type::Blob:
        sqlite3_bind_blob(st, index, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
        break;
    }
}

} // namespace tsql
