#include "Parser.h"

#include "Error.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string_view>

namespace tsql {

bool TypeSpec::isText() const {
    return name == "varchar" || name == "char" || name == "nvarchar" || name == "nchar" || name == "text" ||
           name == "ntext" || name == "sysname" || name == "uniqueidentifier";
}

bool TypeSpec::isInteger() const {
    return name == "int" || name == "smallint" || name == "tinyint" || name == "bigint" || name == "bit";
}

bool TypeSpec::isBinary() const {
    return name == "binary" || name == "varbinary" || name == "image";
}

TypeSpec TypeSpec::withDefaultLength(int def) const {
    TypeSpec t = *this;
    if (t.length == 0 && (t.name == "varchar" || t.name == "char" || t.name == "nvarchar" || t.name == "nchar" ||
                          t.name == "binary" || t.name == "varbinary"))
        t.length = def;
    if (t.name == "sysname") {
        t.name = "nvarchar";
        t.length = 128;
    }
    return t;
}

std::string TypeSpec::describe() const {
    if (length == -1)
        return name + "(max)";
    if (length > 0)
        return name + "(" + std::to_string(length) + ")";
    if ((name == "decimal" || name == "numeric") && precision > 0)
        return name + "(" + std::to_string(precision) + "," + std::to_string(scale) + ")";
    return name;
}

namespace {

// Words SQL Server reserves; they never serve as an implicit alias or a bare name. Kept sorted:
// every identifier of a statement is looked up here.
constexpr std::array<std::string_view, 96> kReserved = {
    "ADD",        "ALL",      "ALTER",   "AND",          "ANY",      "AS",        "ASC",     "BACKUP",    "BEGIN",
    "BETWEEN",    "BREAK",    "BY",      "CASE",         "CHECK",    "CLUSTERED", "COLLATE", "COLUMN",    "COMMIT",
    "CONSTRAINT", "CONTINUE", "CONVERT", "CREATE",       "CROSS",    "CURRENT",   "DECLARE", "DEFAULT",   "DELETE",
    "DESC",       "DISTINCT", "DROP",    "ELSE",         "END",      "ESCAPE",    "EXCEPT",  "EXEC",      "EXECUTE",
    "EXISTS",     "FOREIGN",  "FROM",    "FULL",         "GOTO",     "GRANT",     "GROUP",   "HAVING",    "IDENTITY",
    "IF",         "IN",       "INDEX",   "INNER",        "INSERT",   "INTERSECT", "INTO",    "IS",        "JOIN",
    "KEY",        "LEFT",     "LIKE",    "NONCLUSTERED", "NOT",      "NULL",      "OF",      "ON",        "OPTION",
    "OR",         "ORDER",    "OUTER",   "PERCENT",      "PRIMARY",  "PRINT",     "PROC",    "PROCEDURE", "RAISERROR",
    "REFERENCES", "RETURN",   "REVOKE",  "RIGHT",        "ROLLBACK", "SELECT",    "SET",     "TABLE",     "THEN",
    "TO",         "TOP",      "TRAN",    "TRANSACTION",  "TRUNCATE", "UNION",     "UNIQUE",  "UPDATE",    "USE",
    "VALUES",     "VIEW",     "WHEN",    "WHERE",        "WHILE",    "WITH",
};
static_assert(std::is_sorted(kReserved.begin(), kReserved.end()));
constexpr size_t kLongestReserved = 12;

bool isReserved(std::string_view word) {
    if (word.size() > kLongestReserved)
        return false;
    std::array<char, kLongestReserved> upper{};
    for (size_t i = 0; i < word.size(); ++i)
        upper[i] = word[i] >= 'a' && word[i] <= 'z' ? static_cast<char>(word[i] - 'a' + 'A') : word[i];
    return std::binary_search(kReserved.begin(), kReserved.end(), std::string_view(upper.data(), word.size()));
}

class Parser {
public:
    Parser(std::string_view sql) : m_sql(sql), m_tokens(tokenize(sql)) {}

    std::vector<StatementPtr> batch() {
        std::vector<StatementPtr> out;
        skipSemicolons();
        // A batch may start with a bare procedure name (SQL Server runs it as EXEC).
        if (peek().kind == TokenKind::Identifier && !isReserved(peek().text) && !isStatementStart(peek())) {
            out.push_back(execBody(peek().offset));
            skipSemicolons();
        }
        while (peek().kind != TokenKind::End) {
            out.push_back(statement());
            skipSemicolons();
        }
        return out;
    }

    ExprPtr standaloneExpression() {
        auto e = expression();
        if (peek().kind != TokenKind::End)
            throwSyntax(peek().nearText());
        return e;
    }

private:
    std::string_view m_sql;
    std::vector<Token> m_tokens;
    size_t m_pos = 0;

    const Token& peek(size_t ahead = 0) const {
        size_t k = std::min(m_pos + ahead, m_tokens.size() - 1);
        return m_tokens[k];
    }
    const Token& next() {
        const Token& t = m_tokens[m_pos];
        if (m_pos < m_tokens.size() - 1)
            ++m_pos;
        return t;
    }
    bool acceptWord(std::string_view w) {
        if (peek().isWord(w)) {
            next();
            return true;
        }
        return false;
    }
    bool acceptSymbol(std::string_view s) {
        if (peek().isSymbol(s)) {
            next();
            return true;
        }
        return false;
    }
    [[noreturn]] void fail() { throwSyntax(peek().nearText()); }
    void expectWord(std::string_view w) {
        if (!acceptWord(w))
            fail();
    }
    void expectSymbol(std::string_view s) {
        if (!acceptSymbol(s))
            fail();
    }
    void skipSemicolons() {
        while (acceptSymbol(";")) {
        }
    }

    // BACKUP { DATABASE | LOG } name TO DISK = 'file' [WITH option [= value] [, ...]]: the kind in
    // option, the database in target, the file in value, the WITH options upper-cased in columns.
    StatementPtr backupStatement() {
        next();
        auto s = make(StatementKind::Backup);
        if (acceptWord("DATABASE"))
            s->option = "DATABASE";
        else if (acceptWord("LOG"))
            s->option = "LOG";
        else
            fail();
        s->target = {name()};
        expectWord("TO");
        expectWord("DISK");
        expectSymbol("=");
        s->value = scalarExpr();
        if (acceptWord("WITH")) {
            do {
                s->columns.push_back(toUpper(name()));
                if (acceptSymbol("="))
                    scalarExpr();
            } while (acceptSymbol(","));
        }
        return s;
    }

    static bool isStatementStart(const Token& t) {
        static constexpr std::array words = {
            "SELECT", "INSERT",  "UPDATE", "DELETE", "CREATE",    "DROP",  "ALTER",  "TRUNCATE", "DECLARE",
            "SET",    "IF",      "WHILE",  "BREAK",  "CONTINUE",  "BEGIN", "COMMIT", "ROLLBACK", "PRINT",
            "EXEC",   "EXECUTE", "GRANT",  "RETURN", "RAISERROR", "USE",   "BACKUP"};
        return t.kind == TokenKind::Identifier &&
               std::any_of(words.begin(), words.end(), [&](const char* w) { return iequals(t.text, w); });
    }

    // A name usable as identifier: plain non-reserved word or [quoted].
    bool isName(const Token& t) const {
        return t.kind == TokenKind::QuotedIdentifier || (t.kind == TokenKind::Identifier && !isReserved(t.text));
    }
    std::string name() {
        if (!isName(peek()))
            fail();
        return next().text;
    }
    // Multi-part object name; empty parts allowed between dots (db..table).
    std::vector<std::string> objectName() {
        std::vector<std::string> parts;
        parts.push_back(name());
        while (peek().isSymbol(".")) {
            next();
            if (peek().isSymbol(".")) {
                parts.emplace_back();
                continue;
            }
            parts.push_back(name());
        }
        if (parts.size() > 4)
            fail();
        return parts;
    }

    std::string textFrom(size_t offset) const {
        size_t end = peek().offset;
        if (end < offset)
            end = offset;
        return std::string(m_sql.substr(offset, end - offset));
    }

    // ---- types -------------------------------------------------------------------------
    TypeSpec typeSpec() {
        TypeSpec t;
        if (!(peek().kind == TokenKind::Identifier || peek().kind == TokenKind::QuotedIdentifier))
            fail();
        t.name = toUpper(next().text);
        std::transform(t.name.begin(), t.name.end(), t.name.begin(),
                       [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
        if (t.name == "integer")
            t.name = "int";
        if (t.name == "character")
            t.name = "char";
        if (t.name == "double" && peek().isWord("PRECISION")) {
            next();
            t.name = "float";
        }
        static constexpr std::array known = {
            "int",           "smallint",   "tinyint",   "bigint", "bit",     "varchar",
            "char",          "nvarchar",   "nchar",     "text",   "ntext",   "datetime",
            "smalldatetime", "date",       "float",     "real",   "decimal", "numeric",
            "money",         "binary",     "varbinary", "image",  "sysname", "uniqueidentifier",
            "timestamp",     "smallmoney", "datetime2", "time"};
        if (std::none_of(known.begin(), known.end(), [&](const char* k) { return t.name == k; }))
            throw Error(2715, "Column, parameter, or variable #1: Cannot find data type " + t.name + ".",
                        ErrorScope::Compile);
        if (t.name == "smallmoney")
            t.name = "money";
        if (t.name == "datetime2")
            t.name = "datetime";
        if (acceptSymbol("(")) {
            if (peek().isWord("MAX")) {
                next();
                t.length = -1;
            } else if (peek().kind == TokenKind::Integer) {
                int first = std::atoi(next().text.c_str());
                if (t.name == "decimal" || t.name == "numeric" || t.name == "float") {
                    t.precision = first;
                    if (acceptSymbol(","))
                        t.scale = std::atoi(number().c_str());
                } else {
                    t.length = first;
                }
            } else {
                fail();
            }
            expectSymbol(")");
        }
        if ((t.name == "decimal" || t.name == "numeric") && t.precision == 0)
            t.precision = 18;
        return t;
    }
    std::string number() {
        if (peek().kind != TokenKind::Integer)
            fail();
        return next().text;
    }

    // ---- expressions -------------------------------------------------------------------
    static ExprPtr make(ExprKind k, std::string text = {}) {
        auto e = std::make_unique<Expr>();
        e->kind = k;
        e->text = std::move(text);
        return e;
    }
    static ExprPtr binary(std::string op, ExprPtr a, ExprPtr b) {
        auto e = make(ExprKind::BinaryOp, std::move(op));
        e->args.push_back(std::move(a));
        e->args.push_back(std::move(b));
        return e;
    }

    // A search condition (WHERE, ON, HAVING, IF, WHILE, WHEN) may hold predicates; everywhere else
    // T-SQL wants a scalar expression, where a comparison is a syntax error.
    ExprPtr expression() { return orExpr(); }
    ExprPtr scalarExpr() { return additive(); }

    ExprPtr orExpr() {
        auto left = andExpr();
        while (peek().isWord("OR")) {
            next();
            left = binary("OR", std::move(left), andExpr());
        }
        return left;
    }
    ExprPtr andExpr() {
        auto left = notExpr();
        while (peek().isWord("AND")) {
            next();
            left = binary("AND", std::move(left), notExpr());
        }
        return left;
    }
    ExprPtr notExpr() {
        DepthGuard guard(m_depth);
        if (peek().isWord("NOT")) {
            next();
            auto e = make(ExprKind::Unary, "NOT");
            e->args.push_back(notExpr());
            return e;
        }
        return predicate();
    }

    ExprPtr predicate() {
        if (peek().isWord("EXISTS")) {
            next();
            expectSymbol("(");
            auto e = make(ExprKind::Exists);
            e->subquery = selectStatement();
            expectSymbol(")");
            return e;
        }
        auto left = additive();
        for (;;) {
            const Token& t = peek();
            if (t.kind == TokenKind::Symbol &&
                (t.text == "=" || t.text == "<>" || t.text == "!=" || t.text == "<" || t.text == ">" ||
                 t.text == "<=" || t.text == ">=" || t.text == "!<" || t.text == "!>")) {
                std::string op = next().text;
                if (op == "!=")
                    op = "<>";
                if (op == "!<")
                    op = ">=";
                if (op == "!>")
                    op = "<=";
                left = binary(op, std::move(left), additive());
                continue;
            }
            bool negated = false;
            if (t.isWord("NOT") && (peek(1).isWord("IN") || peek(1).isWord("LIKE") || peek(1).isWord("BETWEEN"))) {
                next();
                negated = true;
            }
            if (peek().isWord("IN")) {
                next();
                auto e = make(ExprKind::In);
                e->negated = negated;
                e->args.push_back(std::move(left));
                expectSymbol("(");
                if (peek().isWord("SELECT")) {
                    e->subquery = selectStatement();
                } else {
                    do {
                        e->args.push_back(scalarExpr());
                    } while (acceptSymbol(","));
                }
                expectSymbol(")");
                left = std::move(e);
                continue;
            }
            if (peek().isWord("LIKE")) {
                next();
                auto e = make(ExprKind::Like);
                e->negated = negated;
                e->args.push_back(std::move(left));
                e->args.push_back(additive());
                if (acceptWord("ESCAPE"))
                    e->args.push_back(additive());
                left = std::move(e);
                continue;
            }
            if (peek().isWord("BETWEEN")) {
                next();
                auto e = make(ExprKind::Between);
                e->negated = negated;
                e->args.push_back(std::move(left));
                e->args.push_back(additive());
                expectWord("AND");
                e->args.push_back(additive());
                left = std::move(e);
                continue;
            }
            if (negated)
                fail();
            if (peek().isWord("IS")) {
                next();
                auto e = make(ExprKind::IsNull);
                e->negated = acceptWord("NOT");
                expectWord("NULL");
                e->args.push_back(std::move(left));
                left = std::move(e);
                continue;
            }
            return left;
        }
    }

    ExprPtr additive() {
        auto left = multiplicative();
        for (;;) {
            const Token& t = peek();
            if (t.kind == TokenKind::Symbol &&
                (t.text == "+" || t.text == "-" || t.text == "&" || t.text == "|" || t.text == "^")) {
                std::string op = next().text;
                left = binary(op, std::move(left), multiplicative());
            } else {
                return left;
            }
        }
    }
    ExprPtr multiplicative() {
        auto left = unary();
        for (;;) {
            const Token& t = peek();
            if (t.kind == TokenKind::Symbol && (t.text == "*" || t.text == "/" || t.text == "%")) {
                std::string op = next().text;
                left = binary(op, std::move(left), unary());
            } else {
                return left;
            }
        }
    }
    ExprPtr unary() {
        DepthGuard guard(m_depth);
        const Token& t = peek();
        if (t.kind == TokenKind::Symbol && (t.text == "-" || t.text == "+" || t.text == "~")) {
            std::string op = next().text;
            auto operand = unary();
            if (op == "-" && (operand->kind == ExprKind::Integer || operand->kind == ExprKind::Number)) {
                operand->text = operand->text[0] == '-' ? operand->text.substr(1) : "-" + operand->text;
                return operand;
            }
            auto e = make(ExprKind::Unary, op);
            e->args.push_back(std::move(operand));
            return e;
        }
        return primary();
    }

    // SQL Server refuses statements nested too deeply (Msg 191); the limit also keeps the
    // recursive descent and the translator well inside the stack.
    struct DepthGuard {
        int& depth;
        explicit DepthGuard(int& d) : depth(d) {
            if (++depth > 256)
                throw Error(191,
                            "Some part of your SQL statement is nested too deeply. Rewrite the query or break it "
                            "up into smaller queries.",
                            ErrorScope::Compile, 15);
        }
        ~DepthGuard() { --depth; }
    };
    int m_depth = 0;

    ExprPtr primary() {
        DepthGuard guard(m_depth);
        const Token& t = peek();
        switch (t.kind) {
        case TokenKind::Integer:
            return make(ExprKind::Integer, next().text);
        case TokenKind::Decimal:
        case TokenKind::Float:
            return make(ExprKind::Number, next().text);
        case TokenKind::String:
            return make(ExprKind::String, next().text);
        case TokenKind::Binary:
            return make(ExprKind::BinaryLiteral, next().text);
        case TokenKind::Variable:
            return make(ExprKind::Variable, toUpper(next().text));
        case TokenKind::SystemVariable:
            return make(ExprKind::SystemVariable, toUpper(next().text));
        case TokenKind::Symbol:
            if (t.text == "(") {
                next();
                if (peek().isWord("SELECT")) {
                    auto e = make(ExprKind::Subquery);
                    e->subquery = selectStatement();
                    expectSymbol(")");
                    return e;
                }
                auto e = expression();
                expectSymbol(")");
                return e;
            }
            if (t.text == "*") {
                next();
                return make(ExprKind::Star);
            }
            fail();
        case TokenKind::QuotedIdentifier:
        case TokenKind::Identifier:
            break;
        case TokenKind::End:
            fail();
        }

        if (t.isWord("NULL")) {
            next();
            return make(ExprKind::Null);
        }
        if (t.isWord("CASE"))
            return caseExpr();
        if (t.kind == TokenKind::Identifier && (t.isWord("CAST") || t.isWord("CONVERT")) && peek(1).isSymbol("(")) {
            bool isCast = t.isWord("CAST");
            next();
            next();
            auto e = make(ExprKind::Cast);
            if (isCast) {
                e->args.push_back(scalarExpr());
                expectWord("AS");
                e->type = typeSpec();
            } else {
                e->type = typeSpec();
                expectSymbol(",");
                e->args.push_back(scalarExpr());
                if (acceptSymbol(","))
                    e->args.push_back(scalarExpr());
            }
            expectSymbol(")");
            return e;
        }
        if (t.kind == TokenKind::Identifier && (t.isWord("CURRENT_TIMESTAMP") || t.isWord("CURRENT_USER") ||
                                                t.isWord("SYSTEM_USER") || t.isWord("SESSION_USER"))) {
            auto e = make(ExprKind::Function, toUpper(next().text));
            return e;
        }
        if (t.kind == TokenKind::Identifier && peek(1).isSymbol("(") &&
            (!isReserved(t.text) || t.isWord("LEFT") || t.isWord("RIGHT"))) {
            auto e = make(ExprKind::Function, toUpper(next().text));
            next();
            if (acceptSymbol(")"))
                return e;
            if (peek().isSymbol("*")) {
                next();
                e->star = true;
                expectSymbol(")");
                return e;
            }
            if (acceptWord("DISTINCT"))
                e->distinct = true;
            else
                acceptWord("ALL");
            do {
                e->args.push_back(scalarExpr());
            } while (acceptSymbol(","));
            expectSymbol(")");
            return e;
        }
        if (!isName(t))
            fail();
        // Column reference or qualifier.*
        std::vector<std::string> parts;
        parts.push_back(next().text);
        while (peek().isSymbol(".")) {
            next();
            if (peek().isSymbol("*")) {
                next();
                auto e = make(ExprKind::Star);
                e->parts = std::move(parts);
                return e;
            }
            if (peek().isSymbol(".")) {
                parts.emplace_back();
                continue;
            }
            if (!(peek().kind == TokenKind::Identifier || peek().kind == TokenKind::QuotedIdentifier))
                fail();
            parts.push_back(next().text);
        }
        if (parts.size() > 4)
            fail();
        auto e = make(ExprKind::Column);
        e->parts = std::move(parts);
        return e;
    }

    ExprPtr caseExpr() {
        next();
        auto e = make(ExprKind::Case);
        if (!peek().isWord("WHEN")) {
            e->hasOperand = true;
            e->args.push_back(scalarExpr());
        }
        if (!peek().isWord("WHEN"))
            fail();
        while (acceptWord("WHEN")) {
            e->args.push_back(e->hasOperand ? scalarExpr() : expression());
            expectWord("THEN");
            e->args.push_back(scalarExpr());
        }
        if (acceptWord("ELSE")) {
            e->hasElse = true;
            e->args.push_back(scalarExpr());
        }
        expectWord("END");
        return e;
    }

    // ---- SELECT ------------------------------------------------------------------------
    std::unique_ptr<Select> selectStatement() {
        auto s = selectCore();
        while (peek().isWord("UNION")) {
            next();
            bool all = acceptWord("ALL");
            if (acceptSymbol("(")) {
                auto u = selectCore();
                expectSymbol(")");
                s->unions.emplace_back(std::move(u), all);
            } else {
                s->unions.emplace_back(selectCore(), all);
            }
        }
        if (peek().isWord("ORDER")) {
            next();
            expectWord("BY");
            do {
                OrderItem item;
                item.expr = scalarExpr();
                if (acceptWord("DESC"))
                    item.descending = true;
                else
                    acceptWord("ASC");
                s->orderBy.push_back(std::move(item));
            } while (acceptSymbol(","));
        }
        return s;
    }

    std::unique_ptr<Select> selectCore() {
        DepthGuard guard(m_depth);
        expectWord("SELECT");
        auto s = std::make_unique<Select>();
        if (acceptWord("DISTINCT"))
            s->distinct = true;
        else
            acceptWord("ALL");
        if (acceptWord("TOP")) {
            if (acceptSymbol("(")) {
                s->top = expression();
                expectSymbol(")");
            } else if (peek().kind == TokenKind::Integer || peek().kind == TokenKind::Variable) {
                s->top = primary();
            } else {
                fail();
            }
            if (acceptWord("PERCENT"))
                s->topPercent = true;
        }
        do {
            s->items.push_back(selectItem());
        } while (acceptSymbol(","));
        if (acceptWord("INTO"))
            s->intoTable = objectName().back();
        if (acceptWord("FROM"))
            tableList(s->from);
        if (acceptWord("WHERE"))
            s->where = expression();
        if (peek().isWord("GROUP")) {
            next();
            expectWord("BY");
            do {
                s->groupBy.push_back(scalarExpr());
            } while (acceptSymbol(","));
        }
        if (acceptWord("HAVING"))
            s->having = expression();
        return s;
    }

    SelectItem selectItem() {
        SelectItem item;
        const Token& t = peek();
        if (t.kind == TokenKind::Variable && peek(1).kind == TokenKind::Symbol &&
            (peek(1).text == "=" || peek(1).text == "+=")) {
            item.assignVariable = toUpper(next().text);
            std::string op = next().text;
            item.expr = scalarExpr();
            if (op == "+=") {
                auto var = make(ExprKind::Variable, item.assignVariable);
                item.expr = binary("+", std::move(var), std::move(item.expr));
            }
            return item;
        }
        if ((isName(t) || t.kind == TokenKind::String) && peek(1).isSymbol("=")) {
            item.alias = next().text;
            next();
            item.expr = scalarExpr();
            return item;
        }
        item.expr = scalarExpr();
        if (acceptWord("AS")) {
            if (peek().kind == TokenKind::String || peek().kind == TokenKind::QuotedIdentifier ||
                peek().kind == TokenKind::Identifier)
                item.alias = next().text;
            else
                fail();
        } else if (isName(peek()) || peek().kind == TokenKind::String) {
            item.alias = next().text;
        }
        return item;
    }

    void tableList(std::vector<TableRefPtr>& out) {
        do {
            out.push_back(joinedTable());
        } while (acceptSymbol(","));
    }

    TableRefPtr joinedTable() {
        auto left = tableFactor();
        for (;;) {
            std::string type;
            if (peek().isWord("JOIN")) {
                type = "INNER";
            } else if (peek().isWord("INNER") && peek(1).isWord("JOIN")) {
                next();
                type = "INNER";
            } else if ((peek().isWord("LEFT") || peek().isWord("RIGHT") || peek().isWord("FULL")) &&
                       (peek(1).isWord("JOIN") || peek(1).isWord("OUTER"))) {
                type = toUpper(next().text);
                acceptWord("OUTER");
            } else if (peek().isWord("CROSS") && peek(1).isWord("JOIN")) {
                next();
                type = "CROSS";
            } else {
                return left;
            }
            expectWord("JOIN");
            auto j = std::make_unique<TableRef>();
            j->kind = TableRef::Kind::Join;
            j->joinType = type;
            j->left = std::move(left);
            j->right = tableFactor();
            if (type != "CROSS") {
                expectWord("ON");
                j->on = expression();
            }
            left = std::move(j);
        }
    }

    TableRefPtr tableFactor() {
        DepthGuard guard(m_depth);
        auto r = std::make_unique<TableRef>();
        if (acceptSymbol("(")) {
            if (peek().isWord("SELECT")) {
                r->kind = TableRef::Kind::Derived;
                r->derived = selectStatement();
                expectSymbol(")");
            } else {
                auto inner = joinedTable();
                expectSymbol(")");
                return inner;
            }
        } else {
            r->parts = objectName();
        }
        if (acceptWord("AS"))
            r->alias = name();
        else if (isName(peek()))
            r->alias = next().text;
        if (r->kind == TableRef::Kind::Derived && r->alias.empty())
            fail();
        if (peek().isWord("WITH") && peek(1).isSymbol("(")) {
            next();
            next();
            while (!peek().isSymbol(")") && peek().kind != TokenKind::End)
                next();
            expectSymbol(")");
        }
        return r;
    }

    // ---- statements --------------------------------------------------------------------
    StatementPtr make(StatementKind k) {
        auto s = std::make_unique<Statement>();
        s->kind = k;
        return s;
    }

    StatementPtr statement() {
        DepthGuard guard(m_depth);
        size_t start = peek().offset;
        auto s = statementBody();
        s->sourceText = textFrom(start);
        return s;
    }

    StatementPtr statementBody() {
        const Token& t = peek();
        if (t.isWord("SELECT")) {
            auto s = make(StatementKind::Select);
            s->select = selectStatement();
            return s;
        }
        if (t.isSymbol("(") && peek(1).isWord("SELECT")) {
            next();
            auto s = make(StatementKind::Select);
            s->select = selectStatement();
            expectSymbol(")");
            return s;
        }
        if (t.isWord("INSERT"))
            return insertStatement();
        if (t.isWord("UPDATE"))
            return updateStatement();
        if (t.isWord("DELETE"))
            return deleteStatement();
        if (t.isWord("CREATE"))
            return createStatement();
        if (t.isWord("DROP"))
            return dropStatement();
        if (t.isWord("ALTER")) {
            next();
            expectWord("TABLE");
            auto s = make(StatementKind::AlterTableAdd);
            s->target = objectName();
            expectWord("ADD");
            do {
                s->columnDefs.push_back(columnDef());
            } while (acceptSymbol(","));
            return s;
        }
        if (t.isWord("TRUNCATE")) {
            next();
            expectWord("TABLE");
            auto s = make(StatementKind::Truncate);
            s->target = objectName();
            return s;
        }
        if (t.isWord("DECLARE"))
            return declareStatement();
        if (t.isWord("SET"))
            return setStatement();
        if (t.isWord("IF")) {
            next();
            auto s = make(StatementKind::If);
            s->value = expression();
            s->body.push_back(statement());
            skipSemicolons();
            if (acceptWord("ELSE"))
                s->body.push_back(statement());
            return s;
        }
        if (t.isWord("WHILE")) {
            next();
            auto s = make(StatementKind::While);
            s->value = expression();
            s->body.push_back(statement());
            return s;
        }
        if (t.isWord("BREAK")) {
            next();
            return make(StatementKind::Break);
        }
        if (t.isWord("CONTINUE")) {
            next();
            return make(StatementKind::Continue);
        }
        if (t.isWord("BEGIN")) {
            next();
            if (acceptWord("TRAN") || acceptWord("TRANSACTION")) {
                if (isName(peek()) || peek().kind == TokenKind::Variable)
                    next();
                return make(StatementKind::BeginTran);
            }
            auto s = make(StatementKind::Block);
            skipSemicolons();
            while (!peek().isWord("END")) {
                if (peek().kind == TokenKind::End)
                    fail();
                s->body.push_back(statement());
                skipSemicolons();
            }
            next();
            return s;
        }
        if (t.isWord("COMMIT") || t.isWord("ROLLBACK")) {
            bool commit = t.isWord("COMMIT");
            next();
            if (acceptWord("TRAN") || acceptWord("TRANSACTION") || acceptWord("WORK")) {
                if (isName(peek()) || peek().kind == TokenKind::Variable)
                    next();
            }
            return make(commit ? StatementKind::CommitTran : StatementKind::RollbackTran);
        }
        if (t.isWord("PRINT")) {
            next();
            auto s = make(StatementKind::Print);
            s->value = scalarExpr();
            return s;
        }
        if (t.isWord("EXEC") || t.isWord("EXECUTE")) {
            size_t start = t.offset;
            next();
            return execBody(start);
        }
        if (t.isWord("GRANT")) {
            next();
            // GRANT permissions ON object TO principals: accepted and not enforced.
            while (!peek().isWord("ON") && peek().kind != TokenKind::End)
                next();
            expectWord("ON");
            objectName();
            expectWord("TO");
            do {
                name();
            } while (acceptSymbol(","));
            return make(StatementKind::Grant);
        }
        if (t.isWord("BACKUP"))
            return backupStatement();
        if (t.isWord("RETURN")) {
            next();
            auto s = make(StatementKind::Return);
            if (peek().kind != TokenKind::End && !peek().isSymbol(";") && !isStatementStart(peek()) &&
                !peek().isWord("END") && !peek().isWord("ELSE"))
                s->value = scalarExpr();
            return s;
        }
        if (t.isWord("RAISERROR")) {
            next();
            auto s = make(StatementKind::Raiserror);
            expectSymbol("(");
            do {
                s->raiseArgs.push_back(scalarExpr());
            } while (acceptSymbol(","));
            expectSymbol(")");
            if (acceptWord("WITH")) {
                do {
                    name();
                } while (acceptSymbol(","));
            }
            return s;
        }
        if (t.isWord("USE")) {
            next();
            auto s = make(StatementKind::Use);
            s->target.push_back(name());
            return s;
        }
        fail();
    }

    StatementPtr execBody(size_t start) {
        auto s = make(StatementKind::Exec);
        if (acceptSymbol("(")) {
            // EXEC ('dynamic batch text')
            s->value = expression();
            expectSymbol(")");
            return s;
        }
        if (peek().kind == TokenKind::Variable && peek(1).isSymbol("=")) {
            s->execReturnVariable = toUpper(next().text);
            next();
        }
        s->target = objectName();
        if (peek().kind != TokenKind::End && !peek().isSymbol(";") && !isStatementStart(peek()) &&
            !peek().isWord("END") && !peek().isWord("ELSE")) {
            do {
                ExecArg arg;
                if (peek().kind == TokenKind::Variable && peek(1).isSymbol("=")) {
                    arg.name = toUpper(next().text);
                    next();
                }
                // Procedure arguments are constants, variables or bare words (taken as strings);
                // expressions and function calls are not allowed there.
                const Token& v = peek();
                if (v.isWord("DEFAULT")) {
                    next();
                } else if (v.isWord("NULL")) {
                    next();
                    arg.value = make(ExprKind::Null);
                } else if ((v.kind == TokenKind::Identifier && !isReserved(v.text)) ||
                           v.kind == TokenKind::QuotedIdentifier) {
                    arg.value = make(ExprKind::String, next().text);
                } else if (v.kind == TokenKind::Variable || v.kind == TokenKind::String ||
                           v.kind == TokenKind::Integer || v.kind == TokenKind::Decimal || v.kind == TokenKind::Float ||
                           v.kind == TokenKind::Binary || v.isSymbol("-") || v.isSymbol("+")) {
                    arg.value = unary();
                } else {
                    fail();
                }
                if (acceptWord("OUTPUT") || acceptWord("OUT"))
                    arg.output = true;
                s->execArgs.push_back(std::move(arg));
            } while (acceptSymbol(","));
        }
        s->sourceText = textFrom(start);
        return s;
    }

    StatementPtr insertStatement() {
        next();
        auto s = make(StatementKind::Insert);
        acceptWord("INTO");
        s->target = objectName();
        if (peek().isSymbol("(") && !peek(1).isWord("SELECT")) {
            next();
            do {
                s->columns.push_back(name());
            } while (acceptSymbol(","));
            expectSymbol(")");
        }
        if (acceptWord("VALUES")) {
            do {
                expectSymbol("(");
                std::vector<ExprPtr> row;
                do {
                    if (peek().isWord("DEFAULT")) {
                        next();
                        row.push_back(make(ExprKind::Function, "DEFAULT"));
                    } else {
                        row.push_back(scalarExpr());
                    }
                } while (acceptSymbol(","));
                expectSymbol(")");
                s->rows.push_back(std::move(row));
            } while (acceptSymbol(","));
        } else if (peek().isWord("SELECT")) {
            s->select = selectStatement();
        } else if (peek().isSymbol("(") && peek(1).isWord("SELECT")) {
            next();
            s->select = selectStatement();
            expectSymbol(")");
        } else if (peek().isWord("EXEC") || peek().isWord("EXECUTE")) {
            size_t start = peek().offset;
            next();
            s->insertExec = execBody(start);
        } else if (peek().isWord("DEFAULT")) {
            next();
            expectWord("VALUES");
            s->insertDefaultValues = true;
        } else {
            fail();
        }
        return s;
    }

    ExprPtr topClause() {
        if (!acceptWord("TOP"))
            return nullptr;
        ExprPtr e;
        if (acceptSymbol("(")) {
            e = expression();
            expectSymbol(")");
        } else {
            e = primary();
        }
        return e;
    }

    StatementPtr updateStatement() {
        next();
        auto s = make(StatementKind::Update);
        s->top = topClause();
        s->target = objectName();
        if (peek().isWord("WITH") && peek(1).isSymbol("(")) {
            next();
            next();
            while (!peek().isSymbol(")") && peek().kind != TokenKind::End)
                next();
            expectSymbol(")");
        }
        expectWord("SET");
        do {
            Assignment a;
            if (peek().kind == TokenKind::Variable) {
                a.column.push_back(toUpper(next().text));
            } else {
                a.column.push_back(name());
                while (acceptSymbol("."))
                    a.column.push_back(name());
            }
            const Token& op = peek();
            if (op.kind != TokenKind::Symbol ||
                !(op.text == "=" || op.text == "+=" || op.text == "-=" || op.text == "*=" || op.text == "/=" ||
                  op.text == "|=" || op.text == "&="))
                fail();
            a.op = next().text;
            a.value = scalarExpr();
            s->assignments.push_back(std::move(a));
        } while (acceptSymbol(","));
        if (acceptWord("FROM"))
            tableList(s->from);
        if (acceptWord("WHERE"))
            s->where = expression();
        return s;
    }

    StatementPtr deleteStatement() {
        next();
        auto s = make(StatementKind::Delete);
        s->top = topClause();
        acceptWord("FROM");
        s->target = objectName();
        if (acceptWord("FROM"))
            tableList(s->from);
        if (acceptWord("WHERE"))
            s->where = expression();
        return s;
    }

    ColumnDef columnDef() {
        ColumnDef c;
        c.name = name();
        c.type = typeSpec().withDefaultLength(1);
        for (;;) {
            if (acceptWord("IDENTITY")) {
                c.identity = true;
                c.nullable = false;
                if (acceptSymbol("(")) {
                    c.identitySeed = std::atoll(signedNumber().c_str());
                    expectSymbol(",");
                    c.identityStep = std::atoll(signedNumber().c_str());
                    expectSymbol(")");
                }
            } else if (peek().isWord("NOT") && peek(1).isWord("NULL")) {
                next();
                next();
                c.nullable = false;
            } else if (acceptWord("NULL")) {
                c.nullable = true;
                c.explicitNull = true;
            } else if (acceptWord("CONSTRAINT")) {
                name();
            } else if (acceptWord("DEFAULT")) {
                size_t start = peek().offset;
                c.defaultValue = unary();
                c.defaultText = textFrom(start);
            } else if (acceptWord("PRIMARY")) {
                expectWord("KEY");
                acceptWord("CLUSTERED") || acceptWord("NONCLUSTERED");
                c.primaryKey = true;
                c.nullable = false;
            } else if (acceptWord("UNIQUE")) {
                acceptWord("CLUSTERED") || acceptWord("NONCLUSTERED");
                c.unique = true;
            } else if (acceptWord("COLLATE")) {
                name();
            } else if (acceptWord("REFERENCES")) {
                objectName();
                if (acceptSymbol("(")) {
                    do {
                        name();
                    } while (acceptSymbol(","));
                    expectSymbol(")");
                }
            } else {
                return c;
            }
        }
    }
    std::string signedNumber() {
        bool neg = acceptSymbol("-");
        return (neg ? "-" : "") + number();
    }

    std::vector<std::string> columnList() {
        std::vector<std::string> cols;
        expectSymbol("(");
        do {
            cols.push_back(name());
            acceptWord("ASC") || acceptWord("DESC");
        } while (acceptSymbol(","));
        expectSymbol(")");
        return cols;
    }

    StatementPtr createStatement() {
        next();
        if (acceptWord("TABLE")) {
            auto s = make(StatementKind::CreateTable);
            s->target = objectName();
            expectSymbol("(");
            do {
                if (acceptWord("CONSTRAINT"))
                    name();
                if (acceptWord("PRIMARY")) {
                    expectWord("KEY");
                    acceptWord("CLUSTERED") || acceptWord("NONCLUSTERED");
                    s->keys.push_back(columnList());
                    s->keyIsPrimary.push_back(true);
                } else if (acceptWord("UNIQUE")) {
                    acceptWord("CLUSTERED") || acceptWord("NONCLUSTERED");
                    s->keys.push_back(columnList());
                    s->keyIsPrimary.push_back(false);
                } else if (acceptWord("FOREIGN")) {
                    expectWord("KEY");
                    columnList();
                    expectWord("REFERENCES");
                    objectName();
                    if (peek().isSymbol("("))
                        columnList();
                } else {
                    s->columnDefs.push_back(columnDef());
                }
            } while (acceptSymbol(","));
            expectSymbol(")");
            if (acceptWord("ON"))
                name();
            return s;
        }
        bool unique = acceptWord("UNIQUE");
        acceptWord("CLUSTERED") || acceptWord("NONCLUSTERED");
        if (acceptWord("INDEX")) {
            auto s = make(StatementKind::CreateIndex);
            s->unique = unique;
            s->alias = name();
            expectWord("ON");
            s->target = objectName();
            s->columns = columnList();
            return s;
        }
        if (unique)
            fail();
        if (acceptWord("VIEW")) {
            auto s = make(StatementKind::CreateView);
            s->target = objectName();
            expectWord("AS");
            s->select = selectStatement();
            return s;
        }
        if (acceptWord("PROCEDURE") || acceptWord("PROC")) {
            auto s = make(StatementKind::CreateProcedure);
            s->target = objectName();
            bool paren = acceptSymbol("(");
            while (peek().kind == TokenKind::Variable) {
                ProcParam p;
                p.name = toUpper(next().text);
                acceptWord("AS");
                p.type = typeSpec().withDefaultLength(1);
                if (acceptSymbol("="))
                    p.defaultValue = unary();
                if (acceptWord("OUTPUT") || acceptWord("OUT"))
                    p.output = true;
                s->params.push_back(std::move(p));
                if (!acceptSymbol(","))
                    break;
            }
            if (paren)
                expectSymbol(")");
            if (acceptWord("WITH")) {
                do {
                    name();
                } while (acceptSymbol(","));
            }
            expectWord("AS");
            // The body runs to the end of the batch.
            size_t bodyStart = peek().offset;
            while (peek().kind != TokenKind::End)
                s->body.push_back(statement()), skipSemicolons();
            s->procSource = std::string(m_sql.substr(bodyStart));
            return s;
        }
        fail();
    }

    StatementPtr dropStatement() {
        next();
        StatementKind kind;
        if (acceptWord("TABLE"))
            kind = StatementKind::DropTable;
        else if (acceptWord("PROCEDURE") || acceptWord("PROC"))
            kind = StatementKind::DropProcedure;
        else if (acceptWord("VIEW"))
            kind = StatementKind::DropView;
        else if (acceptWord("INDEX"))
            kind = StatementKind::DropIndex;
        else
            fail();
        auto s = make(kind);
        s->target = objectName();
        if (kind == StatementKind::DropIndex && acceptWord("ON"))
            s->target = {s->target.back(), objectName().back()};
        return s;
    }

    StatementPtr declareStatement() {
        next();
        auto s = make(StatementKind::Declare);
        do {
            if (peek().kind != TokenKind::Variable)
                fail();
            std::string var = toUpper(next().text);
            acceptWord("AS");
            TypeSpec type = typeSpec().withDefaultLength(1);
            ExprPtr init;
            if (acceptSymbol("="))
                init = scalarExpr();
            s->declarations.emplace_back(var, type);
            s->declInitial.push_back(std::move(init));
        } while (acceptSymbol(","));
        return s;
    }

    StatementPtr setStatement() {
        next();
        if (peek().kind == TokenKind::Variable) {
            auto s = make(StatementKind::SetVariable);
            Assignment a;
            a.column.push_back(toUpper(next().text));
            const Token& op = peek();
            if (op.kind != TokenKind::Symbol ||
                !(op.text == "=" || op.text == "+=" || op.text == "-=" || op.text == "*=" || op.text == "/="))
                fail();
            a.op = next().text;
            a.value = scalarExpr();
            s->assignments.push_back(std::move(a));
            return s;
        }
        auto s = make(StatementKind::SetOption);
        if (!(peek().kind == TokenKind::Identifier))
            fail();
        s->option = toUpper(next().text);
        if (s->option == "ROWCOUNT" || s->option == "TEXTSIZE" || s->option == "LOCK_TIMEOUT") {
            s->value = unary();
        } else if (s->option == "IDENTITY_INSERT") {
            s->target = objectName();
            if (!(peek().isWord("ON") || peek().isWord("OFF")))
                fail();
            s->value = make(ExprKind::String, toUpper(next().text));
        } else if (s->option == "TRANSACTION") {
            while (peek().kind == TokenKind::Identifier && !isStatementStart(peek()))
                next();
        } else if (s->option == "DATEFORMAT" || s->option == "DEADLOCK_PRIORITY" || s->option == "LANGUAGE") {
            next();
        } else {
            while (acceptSymbol(",")) // SET ANSI_NULLS, QUOTED_IDENTIFIER ON
                name();
            const Token& v = peek();
            if (!(v.isWord("ON") || v.isWord("OFF")))
                fail();
            s->value = make(ExprKind::String, toUpper(next().text));
        }
        return s;
    }
};

} // namespace

std::vector<StatementPtr> parseBatch(std::string_view sql) {
    return Parser(sql).batch();
}

ExprPtr parseExpression(std::string_view sql) {
    return Parser(sql).standaloneExpression();
}

} // namespace tsql
