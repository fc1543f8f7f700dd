#pragma once

#include <cstdint>
#include <string>

struct sqlite3_value;
struct sqlite3_stmt;

namespace tsql {

// A scalar as the engine moves it between SQLite, variables and results.
struct Value {
    enum class Type { Null, Int, Real, Text, Blob } type = Type::Null;
    int64_t i = 0;
    double r = 0;
    std::string s; // text or blob bytes

    static Value null() { return {}; }
    static Value integer(int64_t v) {
        Value x;
        x.type = Type::Int;
        x.i = v;
        return x;
    }
    static Value real(double v) {
        Value x;
        x.type = Type::Real;
        x.r = v;
        return x;
    }
    static Value text(std::string v) {
        Value x;
        x.type = Type::Text;
        x.s = std::move(v);
        return x;
    }
    static Value blob(std::string v) {
        Value x;
        x.type = Type::Blob;
        x.s = std::move(v);
        return x;
    }
    static Value from(sqlite3_value* v);
    static Value column(sqlite3_stmt* st, int col);

    [[nodiscard]] bool isNull() const { return type == Type::Null; }
    // The character form SQL Server's driver gives: integers in decimal, binaries as upper-case hex.
    [[nodiscard]] std::string toText() const;
    void bind(sqlite3_stmt* st, int index) const;
};

std::string formatReal(double v);
std::string hexUpper(const std::string& bytes);

} // namespace tsql
