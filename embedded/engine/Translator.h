#pragma once

#include "Ast.h"
#include "Catalog.h"
#include "Value.h"

#include <deque>
#include <set>
#include <string>
#include <vector>

namespace tsql {

class Session;

// What the translator knows of an expression's type.
enum class SType { Unknown, Int, Real, Exact, Text, DateTime, Binary, Bool };

struct Emitted {
    std::string sql;
    SType type = SType::Unknown;
    TypeSpec tsqlType;       // T-SQL type when known
    bool textColumn = false; // a column carrying the TSQL collation already
    bool stringLiteral = false;
    std::string literal;              // the literal's text, for compile-time conversions
    const TableInfo* table = nullptr; // a column of this stored table
    std::string columnName;
};

// One SELECT turned into SQLite SQL, with SQL Server's result column names and types.
struct TranslatedSelect {
    std::string sql;
    std::vector<std::string> names; // per select item; kUseEngineName where '*' expands
    std::vector<TypeSpec> types;
    bool hasStar = false;
};

inline constexpr const char* kUseEngineName = "\x01";

// Turns T-SQL syntax into SQLite SQL. Variables become bound parameters (collected in binds());
// names are checked against the catalog so errors carry SQL Server's numbers and texts.
class Translator {
public:
    explicit Translator(Session& session) : m_session(session) {}

    TranslatedSelect select(const Select& s, long long limit = 0);
    Emitted expression(const Expr& e);
    // Variables read through tsql_getvar() instead of a bound value (targets of SELECT @v = ...).
    void setLiveVariables(std::set<int> slots) { m_live = std::move(slots); }

    struct ResolvedTable {
        std::string database; // SQLite schema name
        std::string name;
        const TableInfo* info = nullptr;
        std::string written; // as the statement wrote it, for messages
    };
    ResolvedTable resolveTable(const std::vector<std::string>& parts);
    // Scope for statements that name one target table (UPDATE, DELETE).
    void pushTableScope(const ResolvedTable& t, const std::string& alias);
    void pushFromScope(const std::vector<TableRefPtr>& from, std::string& fromSql);
    void popScope() { m_scopes.pop_back(); }

    // The value expression that stores e into a column of the given type ("tsql_store(...)").
    std::string storeExpression(const std::string& sql, const TypeSpec& type);
    std::string storeLiteral(const Expr& e, const TypeSpec& type);

    [[nodiscard]] const std::vector<Value>& binds() const { return m_binds; }
    void clearBinds() { m_binds.clear(); }

    static std::string quoteIdent(const std::string& name);
    static std::string quoteString(const std::string& text);
    static std::string sqliteType(const TypeSpec& t);
    static SType stypeOf(const TypeSpec& t);

private:
    struct ScopeTable {
        std::string alias; // the name the query uses: alias or table name
        const TableInfo* info = nullptr;
        bool known = false; // column list known
    };
    using Scope = std::vector<ScopeTable>;

    void registerTables(const TableRef& ref, Scope& scope);
    std::string emitTableRef(const TableRef& ref);
    Emitted column(const Expr& e);
    Emitted function(const Expr& e);
    Emitted cast(const Expr& e);
    Emitted binary(const Expr& e);
    Emitted comparison(const std::string& op, Emitted a, Emitted b);
    std::string withRangeEstimate(const std::string& op, const Expr& left, const Expr& right, const Emitted& a,
                                  const Emitted& b, const std::string& comparisonSql);
    Emitted toDateTime(const Emitted& x);
    std::string bind(const Value& v);
    std::string selectBody(const Select& s, long long limit, TranslatedSelect& out, bool outer);

    Session& m_session;
    std::vector<Scope> m_scopes;
    std::vector<Value> m_binds;
    std::set<int> m_live;
    std::deque<TableInfo> m_derived;
    const Select* m_currentSelect = nullptr;
    bool m_nameFirstItem = false; // the next selectBody names its first item for a scalar subquery
};

} // namespace tsql
