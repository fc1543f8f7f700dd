#include "Convert.h"

#include "DateTime.h"
#include "Error.h"
#include "Lexer.h"
#include "NumberText.h"
#include "Utf8.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace tsql {

namespace {

using platform::utf8Length;
using platform::utf8Offset;

std::string trimBlanks(const std::string& s) {
    size_t b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos)
        return {};
    size_t e = s.find_last_not_of(" \t\r\n");
    return s.substr(b, e - b + 1);
}

[[noreturn]] void conversionFailed(const Value& v, const std::string& target) {
    throw Error(245, "Conversion failed when converting the " + sqlTypeNameOf(v) + " value '" + v.toText() +
                         "' to data type " + target + ".");
}

bool inRange(int64_t v, const std::string& name) {
    if (name == "tinyint")
        return v >= 0 && v <= 255;
    if (name == "smallint")
        return v >= -32768 && v <= 32767;
    if (name == "int")
        return v >= std::numeric_limits<int32_t>::min() && v <= std::numeric_limits<int32_t>::max();
    return true;
}

Value toInteger(const Value& v, const TypeSpec& t) {
    int64_t out = 0;
    switch (v.type) {
    case Value::Type::Int:
        out = v.i;
        break;
    case Value::Type::Real:
        if (!std::isfinite(v.r) || std::fabs(v.r) > 9.2e18)
            throw Error(8115, "Arithmetic overflow error converting expression to data type " + t.name + ".");
        out = static_cast<int64_t>(std::trunc(v.r));
        break;
    case Value::Type::Text: {
        std::string s = trimBlanks(v.s);
        if (t.name == "bit") {
            if (iequals(s, "TRUE"))
                return Value::integer(1);
            if (iequals(s, "FALSE"))
                return Value::integer(0);
        }
        if (s.empty()) {
            out = 0; // SQL Server converts the empty string to 0
            break;
        }
        size_t k = (s[0] == '-' || s[0] == '+') ? 1 : 0;
        if (k == s.size())
            conversionFailed(v, t.name);
        for (size_t i = k; i < s.size(); ++i)
            if (!std::isdigit(static_cast<unsigned char>(s[i])))
                conversionFailed(v, t.name);
        errno = 0;
        long long parsed = std::strtoll(s.c_str(), nullptr, 10);
        if (errno == ERANGE || !inRange(parsed, t.name == "bit" ? "bigint" : t.name))
            throw Error(248, "The conversion of the varchar value '" + s + "' overflowed an " + t.name + " column.");
        out = parsed;
        break;
    }
    case Value::Type::Blob: {
        for (unsigned char c : v.s)
            out = (out << 8) | c;
        break;
    }
    case Value::Type::Null:
        return v;
    }
    if (t.name == "bit")
        return Value::integer(out != 0 ? 1 : 0);
    if (!inRange(out, t.name)) {
        if (t.name == "int")
            throw Error(8115, "Arithmetic overflow error converting expression to data type int.");
        throw Error(220,
                    "Arithmetic overflow error for data type " + t.name + ", value = " + std::to_string(out) + ".");
    }
    return Value::integer(out);
}

Value toReal(const Value& v, const TypeSpec& t) {
    double out = 0;
    switch (v.type) {
    case Value::Type::Int:
        out = static_cast<double>(v.i);
        break;
    case Value::Type::Real:
        out = v.r;
        break;
    case Value::Type::Text: {
        auto n = parseNumber(v.s);
        if (!n)
            throw Error(8114, std::string("Error converting data type varchar to ") +
                                  (t.isExact() ? "numeric" : t.name) + ".");
        out = n->type == Value::Type::Int ? static_cast<double>(n->i) : n->r;
        break;
    }
    case Value::Type::Blob:
        throw Error(529, "Explicit conversion from data type varbinary to " + t.name + " is not allowed.");
    case Value::Type::Null:
        return v;
    }
    if (t.isExact()) {
        int scale = t.name == "money" ? 4 : t.scale;
        int precision = t.name == "money" ? 19 : t.precision;
        double f = std::pow(10.0, scale);
        out = std::round(out * f) / f;
        if (std::fabs(out) >= std::pow(10.0, precision - scale))
            throw Error(8115, "Arithmetic overflow error converting " + sqlTypeNameOf(v) + " to data type numeric.");
    }
    return Value::real(out);
}

Value toDateTime(const Value& v, const TypeSpec& t, int style) {
    DateTime d;
    switch (v.type) {
    case Value::Type::Text: {
        if (looksCanonicalDateTime(v.s)) {
            d = DateTime::fromCanonical(v.s);
            break;
        }
        bool dayFirst = style == 3 || style == 4 || style == 5 || style == 103 || style == 104 || style == 105;
        auto parsed = DateTime::parse(v.s, dayFirst);
        if (!parsed)
            throw Error(241, "Conversion failed when converting date and/or time from character string.");
        d = *parsed;
        break;
    }
    case Value::Type::Int:
        d = DateTime::fromDays(static_cast<double>(v.i));
        break;
    case Value::Type::Real:
        d = DateTime::fromDays(v.r);
        break;
    case Value::Type::Blob:
        throw Error(529, "Explicit conversion from data type varbinary to datetime is not allowed.");
    case Value::Type::Null:
        return v;
    }
    if (!d.valid())
        throw Error(242, "The conversion of a varchar data type to a datetime data type resulted in an out-of-range "
                         "value.");
    if (t.name == "smalldatetime") {
        int64_t ms = d.totalMilliseconds();
        ms = (ms + 30000) / 60000 * 60000;
        d = DateTime::fromTotalMilliseconds(ms);
    } else if (t.name == "date") {
        d.hour = d.minute = d.second = d.millisecond = 0;
    }
    return Value::text(d.canonical());
}

Value toBinary(const Value& v, const TypeSpec& t, ConvertMode mode, bool ansiWarnings) {
    std::string bytes;
    switch (v.type) {
    case Value::Type::Blob:
    case Value::Type::Text:
        bytes = v.s;
        break;
    case Value::Type::Int: {
        int64_t x = v.i;
        int width = (x >= std::numeric_limits<int32_t>::min() && x <= std::numeric_limits<int32_t>::max()) ? 4 : 8;
        for (int i = width - 1; i >= 0; --i)
            bytes += static_cast<char>((x >> (i * 8)) & 0xFF);
        if (t.length > 0 && static_cast<int>(bytes.size()) > t.length)
            bytes = bytes.substr(bytes.size() - static_cast<size_t>(t.length));
        else if (t.name == "binary" && t.length > 0)
            bytes = std::string(static_cast<size_t>(t.length) - bytes.size(), '\0') + bytes;
        return Value::blob(bytes);
    }
    case Value::Type::Real:
        throw Error(529, "Explicit conversion from data type float to " + t.name + " is not allowed.");
    case Value::Type::Null:
        return v;
    }
    if (t.length > 0 && static_cast<int>(bytes.size()) > t.length) {
        if (mode == ConvertMode::Store && ansiWarnings)
            throw Error(8152, "String or binary data would be truncated.", ErrorScope::Statement);
        bytes.resize(static_cast<size_t>(t.length));
    }
    if (t.name == "binary" && t.length > 0 && static_cast<int>(bytes.size()) < t.length)
        bytes.append(static_cast<size_t>(t.length) - bytes.size(), '\0');
    return Value::blob(bytes);
}

Value toText(const Value& v, const TypeSpec& t, ConvertMode mode, int style, bool sourceIsDate, bool ansiWarnings) {
    std::string s;
    bool numeric = false;
    switch (v.type) {
    case Value::Type::Null:
        return v;
    case Value::Type::Int:
        s = std::to_string(v.i);
        numeric = true;
        break;
    case Value::Type::Real:
        s = formatReal(v.r);
        numeric = true;
        break;
    case Value::Type::Blob:
        if (style == 1)
            s = "0x" + hexUpper(v.s);
        else if (style == 2)
            s = hexUpper(v.s);
        else
            s = v.s;
        break;
    case Value::Type::Text:
        s = v.s;
        if (sourceIsDate || (mode == ConvertMode::Explicit && style >= 0 && looksCanonicalDateTime(s))) {
            DateTime d = DateTime::fromCanonical(s);
            auto f = d.format(style < 0 ? 0 : style);
            if (!f)
                throw Error(281, std::to_string(style) + " is not a valid style number when converting from datetime "
                                                         "to a character string.");
            s = *f;
        }
        break;
    }
    const size_t chars = utf8Length(s);
    if (t.length > 0 && chars > static_cast<size_t>(t.length)) {
        if (numeric && mode != ConvertMode::Store)
            s = "*";
        else if (mode == ConvertMode::Store && ansiWarnings)
            throw Error(8152, "String or binary data would be truncated.", ErrorScope::Statement);
        else
            s = s.substr(0, utf8Offset(s, static_cast<size_t>(t.length)));
    }
    if (t.isFixedText() && t.length > 0 && utf8Length(s) < static_cast<size_t>(t.length))
        s.append(static_cast<size_t>(t.length) - utf8Length(s), ' ');
    return Value::text(s);
}

} // namespace

std::string sqlTypeNameOf(const Value& v) {
    switch (v.type) {
    case Value::Type::Int:
        return "int";
    case Value::Type::Real:
        return "float";
    case Value::Type::Blob:
        return "varbinary";
    default:
        return "varchar";
    }
}

std::optional<Value> parseNumber(const std::string& text) {
    std::string s = trimBlanks(text);
    if (s.empty())
        return std::nullopt;
    size_t k = (s[0] == '-' || s[0] == '+') ? 1 : 0;
    bool digits = false, dot = false, exp = false;
    for (size_t i = k; i < s.size(); ++i) {
        char c = s[i];
        if (std::isdigit(static_cast<unsigned char>(c)))
            digits = true;
        else if (c == '.' && !dot && !exp)
            dot = true;
        else if ((c == 'e' || c == 'E') && digits && !exp && i + 1 < s.size()) {
            exp = true;
            if (s[i + 1] == '+' || s[i + 1] == '-')
                ++i;
        } else
            return std::nullopt;
    }
    if (!digits)
        return std::nullopt;
    if (!dot && !exp) {
        errno = 0;
        long long v = std::strtoll(s.c_str(), nullptr, 10);
        if (errno != ERANGE)
            return Value::integer(v);
    }
    return Value::real(parseReal(s).value_or(0.0));
}

Value convertValue(const Value& v, const TypeSpec& type, ConvertMode mode, int style, bool sourceIsDate,
                   bool ansiWarnings) {
    if (v.isNull())
        return v;
    if (type.isInteger())
        return toInteger(v, type);
    if (type.isFloat() || type.isExact())
        return toReal(v, type);
    if (type.isDateTime())
        return toDateTime(v, type, style);
    if (type.isBinary())
        return toBinary(v, type, mode, ansiWarnings);
    if (type.name == "timestamp")
        return toBinary(v, TypeSpec{"binary", 8, 0, 0}, mode, ansiWarnings);
    return toText(v, type, mode, style, sourceIsDate, ansiWarnings);
}

} // namespace tsql
