#include "Lexer.h"

#include "Error.h"

#include <cctype>

namespace tsql {

void throwSyntax(const std::string& nearText) {
    throw Error(102, "Incorrect syntax near '" + nearText + "'.", ErrorScope::Compile, 15);
}

std::string toUpper(std::string_view s) {
    std::string out(s);
    for (auto& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

bool iequals(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

bool Token::isWord(std::string_view upperWord) const {
    return kind == TokenKind::Identifier && iequals(text, upperWord);
}

std::string Token::nearText() const {
    switch (kind) {
    case TokenKind::End:
        return "";
    case TokenKind::String:
        return text;
    case TokenKind::Binary:
        return "0x" + text;
    default:
        return text;
    }
}

namespace {

bool isIdentStart(unsigned char c) {
    return std::isalpha(c) || c == '_' || c == '#' || c >= 0x80;
}
bool isIdentPart(unsigned char c) {
    return std::isalnum(c) || c == '_' || c == '#' || c == '$' || c >= 0x80;
}

} // namespace

std::vector<Token> tokenize(std::string_view sql) {
    std::vector<Token> tokens;
    size_t i = 0;
    const size_t n = sql.size();
    auto at = [&](size_t k) -> unsigned char { return k < n ? static_cast<unsigned char>(sql[k]) : 0; };

    while (i < n) {
        unsigned char c = at(i);
        if (std::isspace(c)) {
            ++i;
            continue;
        }
        if (c == '-' && at(i + 1) == '-') {
            while (i < n && sql[i] != '\n')
                ++i;
            continue;
        }
        if (c == '/' && at(i + 1) == '*') {
            int depth = 1;
            i += 2;
            while (i < n && depth > 0) {
                if (at(i) == '/' && at(i + 1) == '*') {
                    ++depth;
                    i += 2;
                } else if (at(i) == '*' && at(i + 1) == '/') {
                    --depth;
                    i += 2;
                } else {
                    ++i;
                }
            }
            if (depth > 0)
                throw Error(113, "Missing end comment mark '*/'.", ErrorScope::Compile, 15);
            continue;
        }

        Token t;
        t.offset = i;
        if ((c == 'N' || c == 'n') && at(i + 1) == '\'') {
            t.national = true;
            ++i;
            c = '\'';
        }
        if (c == '\'') {
            t.kind = TokenKind::String;
            size_t start = ++i;
            std::string text;
            bool closed = false;
            while (i < n) {
                if (sql[i] == '\'') {
                    if (at(i + 1) == '\'') {
                        text += '\'';
                        i += 2;
                        continue;
                    }
                    closed = true;
                    ++i;
                    break;
                }
                text += sql[i++];
            }
            if (!closed)
                throw Error(
                    105, "Unclosed quotation mark after the character string '" + std::string(sql.substr(start)) + "'.",
                    ErrorScope::Compile, 15);
            t.text = std::move(text);
        } else if (c == '[' || c == '"') {
            const char close = c == '[' ? ']' : '"';
            t.kind = TokenKind::QuotedIdentifier;
            ++i;
            std::string text;
            bool closed = false;
            while (i < n) {
                if (sql[i] == close) {
                    if (at(i + 1) == static_cast<unsigned char>(close)) {
                        text += close;
                        i += 2;
                        continue;
                    }
                    closed = true;
                    ++i;
                    break;
                }
                text += sql[i++];
            }
            if (!closed)
                throw Error(105, "Unclosed quotation mark after the character string '" + text + "'.",
                            ErrorScope::Compile, 15);
            t.text = std::move(text);
        } else if (c == '0' && (at(i + 1) == 'x' || at(i + 1) == 'X')) {
            t.kind = TokenKind::Binary;
            i += 2;
            size_t start = i;
            while (std::isxdigit(at(i)))
                ++i;
            t.text = toUpper(sql.substr(start, i - start));
        } else if (std::isdigit(c) || (c == '.' && std::isdigit(at(i + 1)))) {
            t.kind = TokenKind::Integer;
            size_t start = i;
            while (std::isdigit(at(i)))
                ++i;
            if (at(i) == '.') {
                t.kind = TokenKind::Decimal;
                ++i;
                while (std::isdigit(at(i)))
                    ++i;
            }
            // As SQL Server reads it, an E right after the digits starts the exponent even without
            // digits of its own: "113ELSE" is the float 113E followed by the name LSE.
            if (at(i) == 'e' || at(i) == 'E') {
                t.kind = TokenKind::Float;
                ++i;
                if ((at(i) == '+' || at(i) == '-') && std::isdigit(at(i + 1)))
                    ++i;
                while (std::isdigit(at(i)))
                    ++i;
            }
            t.text = std::string(sql.substr(start, i - start));
        } else if (c == '@') {
            size_t start = i;
            t.kind = TokenKind::Variable;
            ++i;
            if (at(i) == '@') {
                t.kind = TokenKind::SystemVariable;
                ++i;
            }
            while (isIdentPart(at(i)) || at(i) == '@')
                ++i;
            t.text = std::string(sql.substr(start, i - start));
            if (t.text.size() == 1)
                throwSyntax("@");
        } else if (isIdentStart(c)) {
            t.kind = TokenKind::Identifier;
            size_t start = i;
            while (isIdentPart(at(i)))
                ++i;
            t.text = std::string(sql.substr(start, i - start));
        } else {
            t.kind = TokenKind::Symbol;
            static const char* twoChar[] = {"<>", "!=", "<=", ">=", "!<", "!>", "+=", "-=", "*=", "/=", "|=", "&="};
            std::string_view rest = sql.substr(i);
            bool matched = false;
            for (const char* op : twoChar) {
                if (rest.substr(0, 2) == op) {
                    t.text = op;
                    i += 2;
                    matched = true;
                    break;
                }
            }
            if (!matched) {
                static const std::string_view singles = "=<>+-*/%&|^~(),.;!:";
                if (singles.find(static_cast<char>(c)) == std::string_view::npos)
                    throwSyntax(std::string(1, static_cast<char>(c)));
                t.text = std::string(1, static_cast<char>(c));
                ++i;
            }
        }
        t.length = i - t.offset;
        tokens.push_back(std::move(t));
    }
    Token end;
    end.kind = TokenKind::End;
    end.offset = n;
    tokens.push_back(end);
    return tokens;
}

} // namespace tsql
