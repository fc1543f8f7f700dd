#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tsql {

enum class TokenKind {
    Identifier,       // plain word, keywords included
    QuotedIdentifier, // [name] or "name"
    Variable,         // @name
    SystemVariable,   // @@name
    Integer,
    Decimal, // digits with a point
    Float,   // digits with an exponent
    String,  // 'text' or N'text', quotes undoubled
    Binary,  // 0x1F..., text holds the hex digits
    Symbol,  // operators and punctuation
    End,
};

struct Token {
    TokenKind kind = TokenKind::End;
    std::string text; // identifiers as written, strings unquoted, symbols as written
    size_t offset = 0;
    size_t length = 0;
    bool national = false; // N'...'

    [[nodiscard]] bool isWord(std::string_view upperWord) const;
    [[nodiscard]] bool isSymbol(std::string_view sym) const { return kind == TokenKind::Symbol && text == sym; }
    // The token as SQL Server quotes it in "Incorrect syntax near '…'.".
    [[nodiscard]] std::string nearText() const;
};

// Splits T-SQL text into tokens; comments (-- and nested /* */) are dropped.
// Throws tsql::Error 105 for an unclosed string and 102 for a stray character.
std::vector<Token> tokenize(std::string_view sql);

std::string toUpper(std::string_view s);
bool iequals(std::string_view a, std::string_view b);

} // namespace tsql
