#include "Functions.h"

#include "Convert.h"
#include "DateTime.h"
#include "Error.h"
#include "Lexer.h"
#include "NumberText.h"
#include "Session.h"
#include "Utf8.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <random>
#include <sqlite3.h>

namespace tsql {

namespace {

using platform::utf8Length;
using platform::utf8Offset;

Session* host(sqlite3_context* ctx) {
    return static_cast<Session*>(sqlite3_user_data(ctx));
}

void fail(sqlite3_context* ctx, const Error& e) {
    host(ctx)->raiseFromFunction(e);
    sqlite3_result_error(ctx, e.what(), -1);
}

void result(sqlite3_context* ctx, const Value& v) {
    switch (v.type) {
    case Value::Type::Null:
        sqlite3_result_null(ctx);
        break;
    case Value::Type::Int:
        sqlite3_result_int64(ctx, v.i);
        break;
    case Value::Type::Real:
        sqlite3_result_double(ctx, v.r);
        break;
    case Value::Type::Text:
        sqlite3_result_text(ctx, v.s.data(), static_cast<int>(v.s.size()), SQLITE_TRANSIENT);
        break;
    case Value::Type::Blob:
        sqlite3_result_blob(ctx, v.s.data(), static_cast<int>(v.s.size()), SQLITE_TRANSIENT);
        break;
    }
}

Value arg(sqlite3_value** argv, int i) {
    return Value::from(argv[i]);
}

std::string argText(sqlite3_value** argv, int i) {
    auto p = sqlite3_value_text(argv[i]);
    return p ? std::string(reinterpret_cast<const char*>(p), static_cast<size_t>(sqlite3_value_bytes(argv[i]))) : "";
}

TypeSpec typeArgs(sqlite3_value** argv, int first) {
    TypeSpec t;
    t.name = argText(argv, first);
    t.length = sqlite3_value_int(argv[first + 1]);
    t.precision = sqlite3_value_int(argv[first + 2]);
    t.scale = sqlite3_value_int(argv[first + 3]);
    return t;
}

// Wraps a function body so a tsql::Error becomes the SQLite error the executor turns back into it.
template <typename F>
void guarded(sqlite3_context* ctx, F&& body) {
    try {
        body();
    } catch (const Error& e) {
        fail(ctx, e);
    }
}

DateTime dateArg(sqlite3_value** argv, int i) {
    Value v = convertValue(arg(argv, i), TypeSpec{"datetime", 0, 0, 0}, ConvertMode::Explicit);
    return DateTime::fromCanonical(v.s);
}

DatePart partArg(sqlite3_value** argv, int i) {
    std::string name = argText(argv, i);
    auto p = datePartFromName(name);
    if (!p)
        throw Error(155, "'" + name + "' is not a recognized datediff option.", ErrorScope::Compile, 15);
    return *p;
}

std::string upperAscii(std::string s) {
    for (auto& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

Value numericOperand(const Value& v, const Value& other) {
    if (v.type != Value::Type::Text)
        return v;
    auto n = parseNumber(v.s);
    if (!n || (other.type == Value::Type::Int && n->type != Value::Type::Int))
        throw Error(245, "Conversion failed when converting the varchar value '" + v.s + "' to data type " +
                             (other.type == Value::Type::Int ? "int" : "float") + ".");
    return *n;
}

void fnAdd(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guarded(ctx, [&] {
        Value a = arg(argv, 0), b = arg(argv, 1);
        if (a.isNull() || b.isNull())
            return sqlite3_result_null(ctx);
        bool aStr = a.type == Value::Type::Text || a.type == Value::Type::Blob;
        bool bStr = b.type == Value::Type::Text || b.type == Value::Type::Blob;
        if (aStr && bStr) {
            std::string s = a.s + b.s;
            if (a.type == Value::Type::Blob && b.type == Value::Type::Blob)
                return sqlite3_result_blob(ctx, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
            return sqlite3_result_text(ctx, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
        }
        a = numericOperand(a, b);
        b = numericOperand(b, a);
        if (a.type == Value::Type::Int && b.type == Value::Type::Int) {
            long long r;
            if (__builtin_add_overflow(a.i, b.i, &r))
                throw Error(8115, "Arithmetic overflow error converting expression to data type int.");
            return sqlite3_result_int64(ctx, r);
        }
        double x = a.type == Value::Type::Int ? static_cast<double>(a.i) : a.r;
        double y = b.type == Value::Type::Int ? static_cast<double>(b.i) : b.r;
        sqlite3_result_double(ctx, x + y);
    });
}

void fnDivide(sqlite3_context* ctx, int, sqlite3_value** argv, bool modulo) {
    guarded(ctx, [&] {
        Value a = arg(argv, 0), b = arg(argv, 1);
        if (a.isNull() || b.isNull())
            return sqlite3_result_null(ctx);
        a = numericOperand(a, b);
        b = numericOperand(b, a);
        bool zero = b.type == Value::Type::Int ? b.i == 0 : b.r == 0.0;
        if (zero)
            throw Error(8134, "Divide by zero error encountered.");
        if (a.type == Value::Type::Int && b.type == Value::Type::Int)
            return sqlite3_result_int64(ctx, modulo ? a.i % b.i : a.i / b.i);
        double x = a.type == Value::Type::Int ? static_cast<double>(a.i) : a.r;
        double y = b.type == Value::Type::Int ? static_cast<double>(b.i) : b.r;
        sqlite3_result_double(ctx, modulo ? std::fmod(x, y) : x / y);
    });
}

void fnStore(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guarded(ctx, [&] {
        result(ctx,
               convertValue(arg(argv, 0), typeArgs(argv, 1), ConvertMode::Store, -1, false, host(ctx)->ansiWarnings()));
    });
}

void fnConvert(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guarded(ctx, [&] {
        int style = sqlite3_value_type(argv[5]) == SQLITE_NULL ? -1 : sqlite3_value_int(argv[5]);
        bool fromDate = sqlite3_value_int(argv[6]) != 0;
        result(ctx, convertValue(arg(argv, 0), typeArgs(argv, 1), ConvertMode::Explicit, style, fromDate));
    });
}

void fnToDateTime(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guarded(ctx, [&] {
        result(ctx, convertValue(arg(argv, 0), TypeSpec{"datetime", 0, 0, 0}, ConvertMode::Explicit));
    });
}

void fnDateAdd(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guarded(ctx, [&] {
        if (sqlite3_value_type(argv[1]) == SQLITE_NULL || sqlite3_value_type(argv[2]) == SQLITE_NULL)
            return sqlite3_result_null(ctx);
        DatePart part = partArg(argv, 0);
        Value n = convertValue(arg(argv, 1), TypeSpec{"bigint", 0, 0, 0}, ConvertMode::Explicit);
        auto r = dateAdd(part, n.i, dateArg(argv, 2));
        if (!r)
            throw Error(517, "Adding a value to a 'datetime' column caused an overflow.");
        result(ctx, Value::text(r->canonical()));
    });
}

void fnDateDiff(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guarded(ctx, [&] {
        if (sqlite3_value_type(argv[1]) == SQLITE_NULL || sqlite3_value_type(argv[2]) == SQLITE_NULL)
            return sqlite3_result_null(ctx);
        sqlite3_result_int64(ctx, dateDiff(partArg(argv, 0), dateArg(argv, 1), dateArg(argv, 2)));
    });
}

void fnDatePart(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guarded(ctx, [&] {
        if (sqlite3_value_type(argv[1]) == SQLITE_NULL)
            return sqlite3_result_null(ctx);
        sqlite3_result_int(ctx, datePartValue(partArg(argv, 0), dateArg(argv, 1)));
    });
}

void fnDateName(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guarded(ctx, [&] {
        if (sqlite3_value_type(argv[1]) == SQLITE_NULL)
            return sqlite3_result_null(ctx);
        DatePart part = partArg(argv, 0);
        DateTime d = dateArg(argv, 1);
        if (part == DatePart::Month)
            return result(ctx, Value::text(monthName(d.month)));
        if (part == DatePart::Weekday)
            return result(ctx, Value::text(dayName(d.dayOfWeek())));
        result(ctx, Value::text(std::to_string(datePartValue(part, d))));
    });
}

void fnGetDate(sqlite3_context* ctx, int, sqlite3_value**) {
    const std::string& now = host(ctx)->statementNow();
    sqlite3_result_text(ctx, now.c_str(), static_cast<int>(now.size()), SQLITE_TRANSIENT);
}

// An exact number as text with its type's scale; other values pass unchanged.
void fnFixed(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const int type = sqlite3_value_type(argv[0]);
    if (type != SQLITE_INTEGER && type != SQLITE_FLOAT)
        return sqlite3_result_value(ctx, argv[0]);
    const int scale = std::clamp(sqlite3_value_int(argv[1]), 0, 38);
    result(ctx, Value::text(fixedText(sqlite3_value_double(argv[0]), scale)));
}

void fnLen(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    std::string s = argText(argv, 0);
    size_t end = s.find_last_not_of(' ');
    s.resize(end == std::string::npos ? 0 : end + 1);
    sqlite3_result_int64(ctx, static_cast<int64_t>(utf8Length(s)));
}

void fnDataLength(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    Value v = arg(argv, 0);
    if (v.type == Value::Type::Int)
        return sqlite3_result_int(ctx, 4);
    if (v.type == Value::Type::Real)
        return sqlite3_result_int(ctx, 8);
    sqlite3_result_int64(ctx, static_cast<int64_t>(v.s.size()));
}

void fnLeftRight(sqlite3_context* ctx, sqlite3_value** argv, bool left) {
    guarded(ctx, [&] {
        if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL)
            return sqlite3_result_null(ctx);
        std::string s = arg(argv, 0).toText();
        long long n = sqlite3_value_int64(argv[1]);
        if (n < 0)
            throw Error(536, std::string("Invalid length parameter passed to the ") + (left ? "left" : "right") +
                                 " function.");
        size_t len = utf8Length(s);
        size_t take = static_cast<size_t>(n) > len ? len : static_cast<size_t>(n);
        std::string out = left ? s.substr(0, utf8Offset(s, take)) : s.substr(utf8Offset(s, len - take));
        result(ctx, Value::text(out));
    });
}
void fnLeft(sqlite3_context* ctx, int, sqlite3_value** argv) {
    fnLeftRight(ctx, argv, true);
}
void fnRight(sqlite3_context* ctx, int, sqlite3_value** argv) {
    fnLeftRight(ctx, argv, false);
}

void fnReplace(sqlite3_context* ctx, int, sqlite3_value** argv) {
    for (int i = 0; i < 3; ++i)
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL)
            return sqlite3_result_null(ctx);
    std::string s = argText(argv, 0), find = argText(argv, 1), repl = argText(argv, 2);
    if (find.empty())
        return result(ctx, Value::text(s));
    std::string us = upperAscii(s), uf = upperAscii(find), out;
    size_t pos = 0;
    for (;;) {
        size_t hit = us.find(uf, pos);
        if (hit == std::string::npos)
            break;
        out.append(s, pos, hit - pos);
        out += repl;
        pos = hit + find.size();
    }
    out.append(s, pos, std::string::npos);
    result(ctx, Value::text(out));
}

void fnCharIndex(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    std::string find = upperAscii(argText(argv, 0)), s = upperAscii(argText(argv, 1));
    long long start = argc > 2 ? sqlite3_value_int64(argv[2]) : 1;
    if (start < 1)
        start = 1;
    size_t from = utf8Offset(s, static_cast<size_t>(start - 1));
    if (find.empty())
        return sqlite3_result_int(ctx, 0);
    size_t hit = s.find(find, from);
    sqlite3_result_int64(ctx, hit == std::string::npos ? 0 : static_cast<int64_t>(utf8Length(s.substr(0, hit))) + 1);
}

void fnSpace(sqlite3_context* ctx, int, sqlite3_value** argv) {
    long long n = sqlite3_value_int64(argv[0]);
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || n < 0)
        return sqlite3_result_null(ctx);
    result(ctx, Value::text(std::string(static_cast<size_t>(std::min(n, 8000LL)), ' ')));
}

void fnReplicate(sqlite3_context* ctx, int, sqlite3_value** argv) {
    long long n = sqlite3_value_int64(argv[1]);
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || n < 0)
        return sqlite3_result_null(ctx);
    std::string s = argText(argv, 0), out;
    for (long long i = 0; i < n && out.size() < 8000; ++i)
        out += s;
    result(ctx, Value::text(out));
}

void fnStr(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    double v = sqlite3_value_double(argv[0]);
    int len = argc > 1 ? sqlite3_value_int(argv[1]) : 10;
    int dec = argc > 2 ? sqlite3_value_int(argv[2]) : 0;
    std::string s = fixedText(v, std::clamp(dec, 0, 16));
    if (static_cast<int>(s.size()) < len)
        s.insert(0, static_cast<size_t>(len) - s.size(), ' ');
    if (static_cast<int>(s.size()) > len)
        s = std::string(static_cast<size_t>(len), '*');
    result(ctx, Value::text(s));
}

void fnIsNumeric(sqlite3_context* ctx, int, sqlite3_value** argv) {
    Value v = arg(argv, 0);
    bool ok = v.type == Value::Type::Int || v.type == Value::Type::Real ||
              (v.type == Value::Type::Text && parseNumber(v.s).has_value());
    sqlite3_result_int(ctx, ok ? 1 : 0);
}

void fnIsDate(sqlite3_context* ctx, int, sqlite3_value** argv) {
    Value v = arg(argv, 0);
    bool ok = v.type == Value::Type::Text && (looksCanonicalDateTime(v.s) || DateTime::parse(v.s).has_value());
    sqlite3_result_int(ctx, ok ? 1 : 0);
}

void fnRounding(sqlite3_context* ctx, sqlite3_value** argv, int mode) {
    Value v = arg(argv, 0);
    if (v.type == Value::Type::Text)
        if (auto n = parseNumber(v.s))
            v = *n;
    if (v.type == Value::Type::Int || v.isNull())
        return result(ctx, v);
    if (v.type != Value::Type::Real)
        return sqlite3_result_null(ctx);
    sqlite3_result_double(ctx, mode < 0 ? std::floor(v.r) : std::ceil(v.r));
}
void fnFloor(sqlite3_context* ctx, int, sqlite3_value** argv) {
    fnRounding(ctx, argv, -1);
}
void fnCeiling(sqlite3_context* ctx, int, sqlite3_value** argv) {
    fnRounding(ctx, argv, 1);
}

void fnRound(sqlite3_context* ctx, int, sqlite3_value** argv) {
    Value v = arg(argv, 0);
    int places = sqlite3_value_int(argv[1]);
    if (v.isNull())
        return sqlite3_result_null(ctx);
    if (v.type == Value::Type::Text)
        if (auto n = parseNumber(v.s))
            v = *n;
    double f = std::pow(10.0, places);
    if (v.type == Value::Type::Int) {
        if (places >= 0)
            return result(ctx, v);
        return sqlite3_result_int64(ctx, static_cast<int64_t>(std::llround(static_cast<double>(v.i) * f) / f));
    }
    sqlite3_result_double(ctx, std::round(v.r * f) / f);
}

void fnPower(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    double r = std::pow(sqlite3_value_double(argv[0]), sqlite3_value_double(argv[1]));
    if (sqlite3_value_type(argv[0]) == SQLITE_INTEGER && r == std::floor(r) && std::fabs(r) < 9e18)
        return sqlite3_result_int64(ctx, static_cast<int64_t>(r));
    sqlite3_result_double(ctx, r);
}

void fnXor(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    sqlite3_result_int64(ctx, sqlite3_value_int64(argv[0]) ^ sqlite3_value_int64(argv[1]));
}

void fnNewId(sqlite3_context* ctx, int, sqlite3_value**) {
    static thread_local std::mt19937_64 rng{std::random_device{}()};
    char buf[40];
    uint64_t a = rng(), b = rng();
    std::snprintf(buf, sizeof buf, "%08X-%04X-4%03X-%04X-%012llX", static_cast<unsigned>(a >> 32),
                  static_cast<unsigned>((a >> 16) & 0xFFFF), static_cast<unsigned>(a & 0xFFF),
                  static_cast<unsigned>(0x8000 | ((b >> 48) & 0x3FFF)),
                  static_cast<unsigned long long>(b & 0xFFFFFFFFFFFFULL));
    result(ctx, Value::text(buf));
}

void fnObjectId(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    std::string id = host(ctx)->objectIdOf(argText(argv, 0));
    if (id.empty())
        return sqlite3_result_null(ctx);
    sqlite3_result_int64(ctx, std::stoll(id));
}

void fnServerProperty(sqlite3_context* ctx, int, sqlite3_value** argv) {
    result(ctx, host(ctx)->serverProperty(argText(argv, 0)));
}

void fnSystem(sqlite3_context* ctx, int, sqlite3_value** argv) {
    result(ctx, host(ctx)->systemValue(argText(argv, 0)));
}

void fnGetVar(sqlite3_context* ctx, int, sqlite3_value** argv) {
    result(ctx, host(ctx)->variableValue(sqlite3_value_int(argv[0])));
}

void fnSetVar(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guarded(ctx, [&] {
        host(ctx)->assignVariable(sqlite3_value_int(argv[0]), arg(argv, 1));
        sqlite3_result_null(ctx);
    });
}

void fnLike(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    int escape = -1;
    if (argc > 2) {
        std::string e = argText(argv, 2);
        if (e.size() != 1) {
            Error err(506, "The invalid escape character \"" + e + "\" was specified in a LIKE predicate.");
            return fail(ctx, err);
        }
        escape = static_cast<unsigned char>(e[0]);
    }
    std::string pattern = arg(argv, 0).toText(), text = arg(argv, 1).toText();
    sqlite3_result_int(ctx, likeMatch(pattern.c_str(), text.c_str(), escape) ? 1 : 0);
}

void fnAscii(sqlite3_context* ctx, int, sqlite3_value** argv) {
    std::string s = argText(argv, 0);
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || s.empty())
        return sqlite3_result_null(ctx);
    sqlite3_result_int(ctx, static_cast<unsigned char>(s[0]));
}

void fnChar(sqlite3_context* ctx, int, sqlite3_value** argv) {
    long long n = sqlite3_value_int64(argv[0]);
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || n < 0 || n > 255)
        return sqlite3_result_null(ctx);
    std::string s;
    if (n < 128) {
        s = std::string(1, static_cast<char>(n));
    } else { // Latin-1 code point as UTF-8
        s += static_cast<char>(0xC0 | (n >> 6));
        s += static_cast<char>(0x80 | (n & 0x3F));
    }
    result(ctx, Value::text(s));
}

void fnReverse(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    std::string s = argText(argv, 0);
    result(ctx, Value::text(std::string(s.rbegin(), s.rend())));
}

void fnSign(sqlite3_context* ctx, int, sqlite3_value** argv) {
    Value v = arg(argv, 0);
    if (v.type == Value::Type::Int)
        return sqlite3_result_int(ctx, v.i > 0 ? 1 : v.i < 0 ? -1 : 0);
    if (v.type == Value::Type::Real)
        return sqlite3_result_double(ctx, v.r > 0 ? 1.0 : v.r < 0 ? -1.0 : 0.0);
    sqlite3_result_null(ctx);
}

int collateTsql(void*, int na, const void* a, int nb, const void* b) {
    return compareTsql(static_cast<const char*>(a), na, static_cast<const char*>(b), nb);
}

} // namespace

int compareTsql(const char* a, int na, const char* b, int nb) {
    while (na > 0 && a[na - 1] == ' ')
        --na;
    while (nb > 0 && b[nb - 1] == ' ')
        --nb;
    int n = na < nb ? na : nb;
    for (int i = 0; i < n; ++i) {
        int x = std::toupper(static_cast<unsigned char>(a[i]));
        int y = std::toupper(static_cast<unsigned char>(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    return na == nb ? 0 : (na < nb ? -1 : 1);
}

bool likeMatch(const char* p, const char* s, int escape) {
    auto up = [](char c) { return std::toupper(static_cast<unsigned char>(c)); };
    auto charLen = [](const char* x) {
        unsigned char c = static_cast<unsigned char>(*x);
        return c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 1;
    };
    while (*p) {
        if (escape >= 0 && static_cast<unsigned char>(*p) == escape && p[1]) {
            ++p;
            if (up(*p) != up(*s))
                return false;
            ++p;
            ++s;
            continue;
        }
        if (*p == '%') {
            while (*p == '%')
                ++p;
            if (!*p)
                return true;
            for (const char* t = s;; t += charLen(t)) {
                if (likeMatch(p, t, escape))
                    return true;
                if (!*t)
                    return false;
            }
        }
        if (!*s)
            return false;
        if (*p == '_') {
            ++p;
            s += charLen(s);
            continue;
        }
        if (*p == '[') {
            const char* q = p + 1;
            bool negate = *q == '^';
            if (negate)
                ++q;
            bool matched = false;
            const char* start = q;
            while (*q && (*q != ']' || q == start)) {
                if (q[1] == '-' && q[2] && q[2] != ']') {
                    if (up(*s) >= up(q[0]) && up(*s) <= up(q[2]))
                        matched = true;
                    q += 3;
                } else {
                    if (up(*s) == up(*q))
                        matched = true;
                    ++q;
                }
            }
            if (*q != ']') { // no closing bracket: '[' is an ordinary character
                if (*s != '[')
                    return false;
                ++p;
                ++s;
                continue;
            }
            if (matched == negate)
                return false;
            p = q + 1;
            s += charLen(s);
            continue;
        }
        if (up(*p) != up(*s))
            return false;
        ++p;
        ++s;
    }
    return *s == 0;
}

// The value of a scalar subquery: its one row, NULL for none, error 512 for a second.
struct SingleValue {
    long long rows;
    sqlite3_value* value;
};

void singleStep(sqlite3_context* ctx, int, sqlite3_value** argv) {
    auto* acc = static_cast<SingleValue*>(sqlite3_aggregate_context(ctx, sizeof(SingleValue)));
    if (!acc)
        return sqlite3_result_error_nomem(ctx);
    if (++acc->rows > 1)
        return fail(ctx, Error(512,
                               "Subquery returned more than 1 value. This is not permitted when the subquery follows "
                               "=, !=, <, <= , >, >= or when the subquery is used as an expression.",
                               ErrorScope::Statement));
    acc->value = sqlite3_value_dup(argv[0]);
}

void singleFinal(sqlite3_context* ctx) {
    auto* acc = static_cast<SingleValue*>(sqlite3_aggregate_context(ctx, 0));
    if (!acc || !acc->value)
        return sqlite3_result_null(ctx);
    sqlite3_result_value(ctx, acc->value);
    sqlite3_value_free(acc->value);
    acc->value = nullptr;
}

void installFunctions(sqlite3* db, Session* session) {
    struct Fn {
        const char* name;
        int args;
        void (*fn)(sqlite3_context*, int, sqlite3_value**);
        bool deterministic;
    };
    static const Fn fns[] = {
        {"tsql_add", 2, fnAdd, true},
        {"tsql_div", 2, [](sqlite3_context* c, int n, sqlite3_value** v) { fnDivide(c, n, v, false); }, true},
        {"tsql_mod", 2, [](sqlite3_context* c, int n, sqlite3_value** v) { fnDivide(c, n, v, true); }, true},
        {"tsql_store", 5, fnStore, false},
        {"tsql_convert", 7, fnConvert, true},
        {"tsql_todt", 1, fnToDateTime, true},
        {"tsql_dateadd", 3, fnDateAdd, true},
        {"tsql_datediff", 3, fnDateDiff, true},
        {"tsql_datepart", 2, fnDatePart, true},
        {"tsql_datename", 2, fnDateName, true},
        {"tsql_getdate", 0, fnGetDate, true},
        {"tsql_fixed", 2, fnFixed, true},
        {"tsql_len", 1, fnLen, true},
        {"tsql_datalength", 1, fnDataLength, true},
        {"tsql_left", 2, fnLeft, true},
        {"tsql_right", 2, fnRight, true},
        {"tsql_replace", 3, fnReplace, true},
        {"tsql_charindex", 2, fnCharIndex, true},
        {"tsql_charindex", 3, fnCharIndex, true},
        {"tsql_space", 1, fnSpace, true},
        {"tsql_replicate", 2, fnReplicate, true},
        {"tsql_str", 1, fnStr, true},
        {"tsql_str", 2, fnStr, true},
        {"tsql_str", 3, fnStr, true},
        {"tsql_isnumeric", 1, fnIsNumeric, true},
        {"tsql_isdate", 1, fnIsDate, true},
        {"tsql_floor", 1, fnFloor, true},
        {"tsql_ceiling", 1, fnCeiling, true},
        {"tsql_round", 2, fnRound, true},
        {"tsql_power", 2, fnPower, true},
        {"tsql_xor", 2, fnXor, true},
        {"tsql_newid", 0, fnNewId, false},
        {"tsql_object_id", 1, fnObjectId, false},
        {"tsql_serverproperty", 1, fnServerProperty, false},
        {"tsql_system", 1, fnSystem, false},
        {"tsql_getvar", 1, fnGetVar, false},
        {"tsql_setvar", 2, fnSetVar, false},
        {"tsql_ascii", 1, fnAscii, true},
        {"tsql_reverse", 1, fnReverse, true},
        {"tsql_sign", 1, fnSign, true},
        {"tsql_char", 1, fnChar, true},
        {"like", 2, fnLike, true},
        {"like", 3, fnLike, true},
    };
    for (const Fn& f : fns) {
        int flags = SQLITE_UTF8 | (f.deterministic ? SQLITE_DETERMINISTIC : 0);
        sqlite3_create_function_v2(db, f.name, f.args, flags, session, f.fn, nullptr, nullptr, nullptr);
    }
    sqlite3_create_function_v2(db, "tsql_single", 1, SQLITE_UTF8, session, nullptr, singleStep, singleFinal, nullptr);
    sqlite3_create_collation_v2(db, "TSQL", SQLITE_UTF8, nullptr, collateTsql, nullptr);
}

} // namespace tsql
