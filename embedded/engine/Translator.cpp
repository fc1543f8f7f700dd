#include "Translator.h"

#include "Convert.h"
#include "DateTime.h"
#include "Error.h"
#include "Lexer.h"
#include "Session.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <utility>

namespace tsql {

namespace {

// An integer literal's value; false when its digits do not fit a bigint, where SQL Server reads
// the literal as a decimal instead.
bool integerLiteral(const std::string& text, long long& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc{} && end == text.data() + text.size();
}

std::string joinName(const std::vector<std::string>& parts) {
    std::string out;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i)
            out += '.';
        out += parts[i];
    }
    return out;
}

constexpr const char* kScalarColumn = "__tsql_v";

// A query that cannot give a second row: TOP 1, or aggregates alone without GROUP BY.
bool atMostOneRow(const Select& s) {
    if (s.top && s.top->kind == ExprKind::Integer && s.top->text == "1" && !s.topPercent)
        return true;
    if (!s.groupBy.empty() || !s.unions.empty() || s.items.empty())
        return false;
    for (const auto& item : s.items) {
        const Expr& x = *item.expr;
        if (x.kind != ExprKind::Function)
            return false;
        const std::string f = toUpper(x.text);
        if (f != "COUNT" && f != "COUNT_BIG" && f != "MIN" && f != "MAX" && f != "SUM" && f != "AVG")
            return false;
    }
    return true;
}

[[noreturn]] void invalidColumn(const std::string& name) {
    throw Error(207, "Invalid column name '" + name + "'.");
}

bool numeric(SType t) {
    return t == SType::Int || t == SType::Real || t == SType::Exact;
}

} // namespace

std::string Translator::quoteIdent(const std::string& name) {
    std::string out = "\"";
    for (char c : name) {
        out += c;
        if (c == '"')
            out += '"';
    }
    return out + "\"";
}

std::string Translator::quoteString(const std::string& text) {
    std::string out = "'";
    for (char c : text) {
        out += c;
        if (c == '\'')
            out += '\'';
    }
    return out + "'";
}

SType Translator::stypeOf(const TypeSpec& t) {
    if (t.name.empty())
        return SType::Unknown;
    if (t.isInteger())
        return SType::Int;
    if (t.isFloat())
        return SType::Real;
    if (t.isExact())
        return SType::Exact;
    if (t.isDateTime())
        return SType::DateTime;
    if (t.isBinary() || t.name == "timestamp")
        return SType::Binary;
    return SType::Text;
}

// The declared type SQLite keeps: it carries the T-SQL name (read back for result metadata) and
// gives the column the affinity that stores its values unchanged.
std::string Translator::sqliteType(const TypeSpec& t) {
    std::string n = toUpper(t.name);
    auto args = [&]() -> std::string {
        if (t.isExact())
            return "(" + std::to_string(t.name == "money" ? 19 : t.precision) + "," +
                   std::to_string(t.name == "money" ? 4 : t.scale) + ")";
        if (t.length == -1)
            return "(MAX)";
        if (t.length > 0)
            return "(" + std::to_string(t.length) + ")";
        return "";
    };
    // "VARCHAR TEXT(30)": the first word is the T-SQL type, the second gives SQLite's affinity.
    if (t.isInteger())
        return n == "BIT" ? "BIT INTEGER" : n;
    if (t.isText())
        return n + " TEXT" + args() + " COLLATE TSQL";
    if (t.isDateTime())
        return n + " TEXT";
    if (t.isExact())
        return n + " NUMERIC" + args();
    if (t.isFloat())
        return n + " REAL";
    return n + " BLOB" + args();
}

std::string Translator::bind(const Value& v) {
    m_binds.push_back(v);
    return "?" + std::to_string(m_binds.size());
}

std::string Translator::storeExpression(const std::string& sql, const TypeSpec& type) {
    return "tsql_store(" + sql + "," + quoteString(type.name) + "," + std::to_string(type.length) + "," +
           std::to_string(type.precision) + "," + std::to_string(type.scale) + ")";
}

// ---- tables and scopes ----------------------------------------------------------------------

Translator::ResolvedTable Translator::resolveTable(const std::vector<std::string>& parts) {
    ResolvedTable r;
    r.written = joinName(parts);
    r.name = parts.back();
    r.database = "main";
    if (parts.size() >= 3 && !parts[parts.size() - 3].empty()) {
        r.database = m_session.resolveDatabase(parts[parts.size() - 3]);
        if (r.database.empty())
            throw Error(208, "Invalid object name '" + r.written + "'.");
    }
    m_session.catalog().refreshIfChanged();
    r.info = m_session.catalog().table(r.database, r.name);
    if (!r.info)
        throw Error(208, "Invalid object name '" + r.written + "'.");
    r.name = r.info->name;
    return r;
}

void Translator::pushTableScope(const ResolvedTable& t, const std::string& alias) {
    ScopeTable st;
    st.alias = alias.empty() ? t.name : alias;
    st.info = t.info;
    st.known = t.info && !t.info->columns.empty();
    m_scopes.push_back({st});
}

void Translator::registerTables(const TableRef& ref, Scope& scope) {
    if (ref.kind == TableRef::Kind::Join) {
        registerTables(*ref.left, scope);
        registerTables(*ref.right, scope);
        return;
    }
    ScopeTable st;
    if (ref.kind == TableRef::Kind::Named) {
        ResolvedTable t = resolveTable(ref.parts);
        st.alias = ref.alias.empty() ? t.name : ref.alias;
        st.info = t.info;
        st.known = t.info && !t.info->columns.empty();
    } else {
        st.alias = ref.alias;
    }
    scope.push_back(st);
}

std::string Translator::emitTableRef(const TableRef& ref) {
    switch (ref.kind) {
    case TableRef::Kind::Named: {
        ResolvedTable t = resolveTable(ref.parts);
        return quoteIdent(t.database) + "." + quoteIdent(t.name) + " AS " +
               quoteIdent(ref.alias.empty() ? t.name : ref.alias);
    }
    case TableRef::Kind::Derived: {
        TranslatedSelect inner;
        std::string sql = selectBody(*ref.derived, 0, inner, false);
        // Give the derived table's columns to the enclosing scope.
        TableInfo info;
        info.name = ref.alias;
        bool known = !inner.hasStar;
        for (size_t i = 0; i < inner.names.size(); ++i) {
            if (inner.names[i].empty())
                throw Error(8155, "No column name was specified for column " + std::to_string(i + 1) + " of '" +
                                      ref.alias + "'.");
            ColumnInfo c;
            c.name = inner.names[i];
            c.type = inner.types[i];
            info.columns.push_back(c);
        }
        m_derived.push_back(std::move(info));
        for (auto& st : m_scopes.back())
            if (st.alias == ref.alias && !st.info) {
                st.info = &m_derived.back();
                st.known = known;
            }
        return "(" + sql + ") AS " + quoteIdent(ref.alias);
    }
    case TableRef::Kind::Join: {
        std::string left = emitTableRef(*ref.left);
        std::string right = emitTableRef(*ref.right);
        std::string type = ref.joinType == "INNER" ? "JOIN" : ref.joinType + " JOIN";
        std::string out = left + " " + type + " " + right;
        if (ref.on)
            out += " ON " + expression(*ref.on).sql;
        return out;
    }
    }
    return {};
}

void Translator::pushFromScope(const std::vector<TableRefPtr>& from, std::string& fromSql) {
    Scope scope;
    for (const auto& ref : from)
        registerTables(*ref, scope);
    m_scopes.push_back(std::move(scope));
    for (size_t i = 0; i < from.size(); ++i) {
        if (i)
            fromSql += ", ";
        fromSql += emitTableRef(*from[i]);
    }
}

// ---- SELECT ---------------------------------------------------------------------------------

TranslatedSelect Translator::select(const Select& s, long long limit) {
    TranslatedSelect out;
    out.sql = selectBody(s, limit, out, true);
    return out;
}

std::string Translator::selectBody(const Select& s, long long limit, TranslatedSelect& out, bool outer) {
    const bool nameFirstItem = std::exchange(m_nameFirstItem, false);
    std::string sql = "SELECT ";
    if (s.distinct)
        sql += "DISTINCT ";
    std::string fromSql;
    m_scopes.emplace_back();
    if (!s.from.empty()) {
        m_scopes.pop_back();
        pushFromScope(s.from, fromSql);
    }
    const Select* saved = m_currentSelect;
    m_currentSelect = &s;

    for (size_t i = 0; i < s.items.size(); ++i) {
        const SelectItem& item = s.items[i];
        if (i)
            sql += ", ";
        if (item.expr->kind == ExprKind::Star) {
            if (item.expr->parts.empty()) {
                if (s.from.empty())
                    throw Error(263, "Must specify table to select from.");
                sql += "*";
            } else {
                const std::string& q = item.expr->parts.back();
                bool found = false;
                for (const auto& st : m_scopes.back())
                    found = found || iequals(st.alias, q);
                if (!found)
                    throw Error(107, "The column prefix '" + joinName(item.expr->parts) +
                                         "' does not match with a table name or alias name used in the query.");
                sql += quoteIdent(q) + ".*";
            }
            out.names.push_back(kUseEngineName);
            out.types.emplace_back();
            out.hasStar = true;
            continue;
        }
        Emitted e = expression(*item.expr);
        if (!item.assignVariable.empty()) {
            auto slot = m_session.variableSlot(item.assignVariable);
            if (!slot)
                throw Error(137, "Must declare the scalar variable \"" + item.assignVariable + "\".");
            sql += "tsql_setvar(" + std::to_string(*slot) + ", " + e.sql + ")";
            out.names.emplace_back();
            out.types.push_back(e.tsqlType);
            continue;
        }
        sql += e.sql;
        std::string name;
        if (!item.alias.empty())
            name = item.alias;
        else if (item.expr->kind == ExprKind::Column)
            name = item.expr->parts.back();
        if (nameFirstItem && i == 0)
            sql += " AS " + quoteIdent(kScalarColumn);
        else if (!name.empty())
            sql += " AS " + quoteIdent(name);
        out.names.push_back(name);
        out.types.push_back(e.tsqlType.name.empty() && e.type == SType::DateTime ? TypeSpec{"datetime", 0, 0, 0}
                                                                                 : e.tsqlType);
    }
    if (!fromSql.empty())
        sql += " FROM " + fromSql;
    if (s.where)
        sql += " WHERE " + expression(*s.where).sql;
    if (!s.groupBy.empty()) {
        sql += " GROUP BY ";
        for (size_t i = 0; i < s.groupBy.size(); ++i)
            sql += (i ? ", " : "") + expression(*s.groupBy[i]).sql;
    }
    if (s.having)
        sql += " HAVING " + expression(*s.having).sql;
    if (!s.unions.empty()) {
        // The parts of a UNION have scopes of their own; ORDER BY then names result columns only.
        m_scopes.back().clear();
        for (const auto& [u, all] : s.unions) {
            TranslatedSelect part;
            std::string psql = selectBody(*u, 0, part, false);
            if (part.names.size() != out.names.size() && !part.hasStar && !out.hasStar)
                throw Error(205, "All queries combined using a UNION, INTERSECT or EXCEPT operator must have an "
                                 "equal number of expressions in their target lists.");
            sql += all ? " UNION ALL " : " UNION ";
            sql += psql;
        }
    }

    if (!s.orderBy.empty()) {
        sql += " ORDER BY ";
        for (size_t i = 0; i < s.orderBy.size(); ++i) {
            const Expr& oe = *s.orderBy[i].expr;
            std::string term;
            if (oe.kind == ExprKind::Column && oe.parts.size() == 1) {
                for (const auto& n : out.names)
                    if (iequals(n, oe.parts[0]))
                        term = quoteIdent(n);
            }
            if (term.empty() && oe.kind == ExprKind::Integer) {
                long long pos = 0;
                if (!integerLiteral(oe.text, pos) || pos < 1 || pos > static_cast<long long>(s.items.size()))
                    throw Error(108, "The ORDER BY position number " + oe.text +
                                         " is out of range of the number of items in the select list.");
                term = oe.text;
            }
            if (term.empty()) {
                if (!s.unions.empty() && oe.kind == ExprKind::Column)
                    term = quoteIdent(oe.parts.back());
                else
                    term = expression(oe).sql;
            }
            sql += (i ? ", " : "") + term + (s.orderBy[i].descending ? " DESC" : "");
        }
    }
    m_scopes.pop_back();

    std::string limitSql;
    long long top = 0;
    if (s.top) {
        if (s.top->kind == ExprKind::Integer) {
            if (!integerLiteral(s.top->text, top))
                throw Error(1060, "The number of rows provided for a TOP or FETCH clauses row count parameter must "
                                  "be an integer.");
        } else
            limitSql = expression(*s.top).sql;
        if (s.topPercent) {
            std::string n = limitSql.empty() ? std::to_string(top) : limitSql;
            limitSql = "(SELECT (COUNT(*) * " + n + " + 99) / 100 FROM (" + sql + "))";
            top = 0;
        }
    }
    if (outer && limit > 0) {
        if (!limitSql.empty())
            limitSql = "MIN(" + limitSql + ", " + std::to_string(limit) + ")";
        else if (top == 0 || limit < top)
            top = limit;
    }
    if (!limitSql.empty())
        sql += " LIMIT " + limitSql;
    else if (top > 0)
        sql += " LIMIT " + std::to_string(top);
    m_currentSelect = saved;
    return sql;
}

// ---- expressions ----------------------------------------------------------------------------

Emitted Translator::column(const Expr& e) {
    const auto& p = e.parts;
    const std::string& col = p.back();
    std::string qualifier = p.size() >= 2 ? p[p.size() - 2] : std::string();
    if (!qualifier.empty() || p.size() >= 2) {
        for (auto scope = m_scopes.rbegin(); scope != m_scopes.rend(); ++scope) {
            for (const auto& st : *scope) {
                if (!iequals(st.alias, qualifier))
                    continue;
                Emitted out;
                out.sql = quoteIdent(st.alias) + "." + quoteIdent(col);
                if (st.info && st.known) {
                    const ColumnInfo* c = st.info->find(col);
                    if (!c)
                        invalidColumn(col);
                    out.tsqlType = c->type;
                    out.type = stypeOf(c->type);
                    out.textColumn = out.type == SType::Text && !st.info->name.empty() && !st.info->database.empty();
                    if (!st.info->isView && !st.info->name.empty() && !st.info->database.empty()) {
                        out.table = st.info;
                        out.columnName = c->name;
                    }
                }
                return out;
            }
        }
        throw Error(4104, "The multi-part identifier \"" + joinName(p) + "\" could not be bound.");
    }
    bool sawUnknown = false;
    for (auto scope = m_scopes.rbegin(); scope != m_scopes.rend(); ++scope) {
        const ScopeTable* match = nullptr;
        for (const auto& st : *scope) {
            if (!st.info || !st.known) {
                sawUnknown = true;
                continue;
            }
            if (st.info->find(col)) {
                if (match)
                    throw Error(209, "Ambiguous column name '" + col + "'.");
                match = &st;
            }
        }
        if (match) {
            const ColumnInfo* c = match->info->find(col);
            Emitted out;
            out.sql = quoteIdent(match->alias) + "." + quoteIdent(c->name);
            out.tsqlType = c->type;
            out.type = stypeOf(c->type);
            out.textColumn = out.type == SType::Text && !match->info->database.empty();
            if (!match->info->isView && !match->info->name.empty() && !match->info->database.empty()) {
                out.table = match->info;
                out.columnName = c->name;
            }
            return out;
        }
        if (sawUnknown)
            break; // a view or SELECT * derived table may hold it; let SQLite decide
    }
    if (!sawUnknown)
        invalidColumn(col);
    Emitted out;
    out.sql = quoteIdent(col);
    return out;
}

Emitted Translator::toDateTime(const Emitted& x) {
    if (x.type == SType::DateTime)
        return x;
    Emitted out;
    out.type = SType::DateTime;
    out.tsqlType = TypeSpec{"datetime", 0, 0, 0};
    if (x.stringLiteral) {
        Value v = convertValue(Value::text(x.literal), out.tsqlType, ConvertMode::Explicit);
        out.sql = quoteString(v.s);
        return out;
    }
    if (x.sql == "NULL") {
        out.sql = "NULL";
        return out;
    }
    out.sql = "tsql_todt(" + x.sql + ")";
    return out;
}

Emitted Translator::comparison(const std::string& op, Emitted a, Emitted b) {
    if (a.type == SType::DateTime && b.type != SType::DateTime)
        b = toDateTime(b);
    else if (b.type == SType::DateTime && a.type != SType::DateTime)
        a = toDateTime(a);
    Emitted out;
    out.type = SType::Bool;
    bool text = a.type == SType::Text || b.type == SType::Text;
    bool collated = a.textColumn || b.textColumn;
    out.sql = "(" + a.sql + " " + op + " " + b.sql + (text && !collated ? " COLLATE TSQL" : "") + ")";
    return out;
}

Emitted Translator::binary(const Expr& e) {
    const std::string& op = e.text;
    if (op == "AND" || op == "OR") {
        Emitted out;
        out.type = SType::Bool;
        out.sql = "(" + expression(*e.args[0]).sql + " " + op + " " + expression(*e.args[1]).sql + ")";
        return out;
    }
    Emitted a = expression(*e.args[0]);
    Emitted b = expression(*e.args[1]);
    if (op == "=" || op == "<>")
        return comparison(op, std::move(a), std::move(b));
    if (op == "<" || op == ">" || op == "<=" || op == ">=") {
        Emitted out = comparison(op, a, b);
        out.sql = withRangeEstimate(op, *e.args[0], *e.args[1], a, b, out.sql);
        return out;
    }

    if (op == "&" || op == "|" || op == "^") {
        // Bit operators take a binary operand as the integer its bytes spell ("sysstat & 0xf").
        for (Emitted* x : {&a, &b})
            if (x->type == SType::Binary) {
                x->sql = "tsql_convert(" + x->sql + ", 'bigint', 0, 0, 0, NULL, 0)";
                x->type = SType::Int;
                x->tsqlType = TypeSpec{"bigint", 0, 0, 0};
            }
    }
    Emitted out;
    auto arithmeticType = [&] {
        if (a.type == SType::Real || b.type == SType::Real)
            return SType::Real;
        if (a.type == SType::Exact || b.type == SType::Exact)
            return SType::Exact;
        if (a.type == SType::Int && b.type == SType::Int)
            return SType::Int;
        return SType::Unknown;
    };
    if (op == "+") {
        if (a.type == SType::DateTime && numeric(b.type)) {
            out.sql = "tsql_dateadd('DAY', " + b.sql + ", " + a.sql + ")";
            out.type = SType::DateTime;
            out.tsqlType = TypeSpec{"datetime", 0, 0, 0};
        } else if (a.type == SType::Text && b.type == SType::Text) {
            out.sql = "(" + a.sql + " || " + b.sql + ")";
            out.type = SType::Text;
            out.tsqlType = TypeSpec{"varchar", 8000, 0, 0};
        } else if (numeric(a.type) && numeric(b.type)) {
            out.sql = "(" + a.sql + " + " + b.sql + ")";
            out.type = arithmeticType();
        } else {
            out.sql = "tsql_add(" + a.sql + ", " + b.sql + ")";
            out.type = (a.type == SType::Text || b.type == SType::Text)
                           ? ((numeric(a.type) || numeric(b.type)) ? arithmeticType() : SType::Text)
                           : arithmeticType();
            if (out.type == SType::Unknown && (numeric(a.type) || numeric(b.type)))
                out.type = numeric(a.type) ? a.type : b.type;
        }
        if (out.type == SType::Text && out.tsqlType.name.empty())
            out.tsqlType = TypeSpec{"varchar", 8000, 0, 0};
        return out;
    }
    if (op == "-" && a.type == SType::DateTime && numeric(b.type)) {
        out.sql = "tsql_dateadd('DAY', -(" + b.sql + "), " + a.sql + ")";
        out.type = SType::DateTime;
        out.tsqlType = TypeSpec{"datetime", 0, 0, 0};
        return out;
    }
    out.type = arithmeticType();
    if (op == "/")
        out.sql = "tsql_div(" + a.sql + ", " + b.sql + ")";
    else if (op == "%")
        out.sql = "tsql_mod(" + a.sql + ", " + b.sql + ")";
    else if (op == "^")
        out.sql = "tsql_xor(" + a.sql + ", " + b.sql + ")", out.type = SType::Int;
    else
        out.sql = "(" + a.sql + " " + op + " " + b.sql + ")";
    if (op == "&" || op == "|")
        out.type = SType::Int;
    return out;
}

Emitted Translator::cast(const Expr& e) {
    TypeSpec target = e.type.withDefaultLength(30);
    Emitted src = expression(*e.args[0]);
    Emitted out;
    out.type = stypeOf(target);
    out.tsqlType = target;
    std::string style = "NULL";
    if (e.args.size() > 1) {
        Emitted st = expression(*e.args[1]);
        style = st.sql;
    }
    // decimal, numeric and money become text with their type's scale ("0.1200", money "12.50").
    if (target.isText() && src.tsqlType.isExact())
        src.sql = "tsql_fixed(" + src.sql + ", " +
                  std::to_string(src.tsqlType.name == "money" ? 2 : src.tsqlType.scale) + ")";
    // Literals convert once, here, so a bad literal fails the way SQL Server's compile-time folding does.
    out.sql = "tsql_convert(" + src.sql + ", " + quoteString(target.name) + ", " + std::to_string(target.length) +
              ", " + std::to_string(target.precision) + ", " + std::to_string(target.scale) + ", " + style + ", " +
              (src.type == SType::DateTime ? "1" : "0") + ")";
    return out;
}

Emitted Translator::expression(const Expr& e) {
    Emitted out;
    switch (e.kind) {
    case ExprKind::Null:
        out.sql = "NULL";
        return out;
    case ExprKind::Integer: {
        out.sql = e.text;
        out.type = SType::Int;
        out.tsqlType = TypeSpec{"int", 0, 0, 0};
        if (e.text.size() > 18) {
            out.type = SType::Exact;
            out.tsqlType = TypeSpec{"numeric", 0, 38, 0};
        }
        return out;
    }
    case ExprKind::Number: {
        out.sql = e.text;
        if (out.sql.back() == 'e' || out.sql.back() == 'E')
            out.sql += '0'; // "113E": SQL Server's float without exponent digits
        bool isFloat = e.text.find_first_of("eE") != std::string::npos;
        out.type = isFloat ? SType::Real : SType::Exact;
        size_t dot = e.text.find('.');
        int scale = dot == std::string::npos ? 0 : static_cast<int>(e.text.size() - dot - 1);
        out.tsqlType = isFloat ? TypeSpec{"float", 0, 0, 0} : TypeSpec{"numeric", 0, 38, scale};
        if (out.sql[0] == '.')
            out.sql = "0" + out.sql;
        if (out.sql.size() > 1 && out.sql[0] == '-' && out.sql[1] == '.')
            out.sql = "-0" + out.sql.substr(1);
        return out;
    }
    case ExprKind::String:
        out.sql = quoteString(e.text);
        out.type = SType::Text;
        out.tsqlType = TypeSpec{"varchar", static_cast<int>(std::max<size_t>(e.text.size(), 1)), 0, 0};
        out.stringLiteral = true;
        out.literal = e.text;
        return out;
    case ExprKind::BinaryLiteral: {
        std::string hex = e.text;
        if (hex.size() % 2)
            hex = "0" + hex;
        out.sql = "X'" + hex + "'";
        out.type = SType::Binary;
        out.tsqlType = TypeSpec{"varbinary", static_cast<int>(std::max<size_t>(hex.size() / 2, 1)), 0, 0};
        return out;
    }
    case ExprKind::Column:
        return column(e);
    case ExprKind::Star:
        throw Error(102, "Incorrect syntax near '*'.", ErrorScope::Compile, 15);
    case ExprKind::Variable: {
        auto slot = m_session.variableSlot(e.text);
        if (!slot)
            throw Error(137, "Must declare the scalar variable \"" + e.text + "\".");
        const Variable& v = m_session.variable(*slot);
        out.tsqlType = v.type;
        out.type = stypeOf(v.type);
        if (m_live.count(*slot))
            out.sql = "tsql_getvar(" + std::to_string(*slot) + ")";
        else
            out.sql = bind(v.value);
        return out;
    }
    case ExprKind::SystemVariable: {
        Value v = m_session.systemValue(e.text);
        out.sql = bind(v);
        out.type =
            v.type == Value::Type::Int ? SType::Int : (v.type == Value::Type::Text ? SType::Text : SType::Unknown);
        if (out.type == SType::Int)
            out.tsqlType = TypeSpec{"int", 0, 0, 0};
        return out;
    }
    case ExprKind::Unary: {
        Emitted x = expression(*e.args[0]);
        if (e.text == "NOT") {
            out.sql = "(NOT " + x.sql + ")";
            out.type = SType::Bool;
        } else if (e.text == "+") {
            return x;
        } else {
            out.sql = "(" + e.text + " " + x.sql + ")";
            out.type = e.text == "~" ? SType::Int : x.type;
            out.tsqlType = x.tsqlType;
        }
        return out;
    }
    case ExprKind::BinaryOp:
        return binary(e);
    case ExprKind::Function:
        return function(e);
    case ExprKind::Cast:
        return cast(e);
    case ExprKind::Case: {
        out.sql = "CASE";
        size_t i = 0;
        Emitted operand;
        if (e.hasOperand) {
            operand = expression(*e.args[0]);
            bool collate = operand.type == SType::Text && !operand.textColumn;
            out.sql += collate ? " (" + operand.sql + " COLLATE TSQL)" : " " + operand.sql;
            i = 1;
        }
        size_t pairsEnd = e.args.size() - (e.hasElse ? 1 : 0);
        bool first = true;
        for (; i + 1 < pairsEnd + 1 && i < pairsEnd; i += 2) { // WHEN/THEN pairs
            Emitted w = expression(*e.args[i]);
            if (e.hasOperand && operand.type == SType::DateTime)
                w = toDateTime(w);
            Emitted t = expression(*e.args[i + 1]);
            out.sql += " WHEN " + w.sql + " THEN " + t.sql;
            if (first && t.sql != "NULL") {
                out.type = t.type;
                out.tsqlType = t.tsqlType;
                first = false;
            }
        }
        if (e.hasElse) {
            Emitted x = expression(*e.args.back());
            out.sql += " ELSE " + x.sql;
            if (first) {
                out.type = x.type;
                out.tsqlType = x.tsqlType;
            }
        }
        out.sql += " END";
        return out;
    }
    case ExprKind::Subquery: {
        TranslatedSelect inner;
        if (atMostOneRow(*e.subquery)) {
            out.sql = "(" + selectBody(*e.subquery, 0, inner, false) + ")";
        } else {
            // SQL Server refuses a second row (512) where SQLite would take the first.
            m_nameFirstItem = true;
            std::string body = selectBody(*e.subquery, 0, inner, false);
            m_nameFirstItem = false;
            if (inner.hasStar)
                out.sql = "(" + body + ")";
            else
                out.sql = "(SELECT tsql_single(" + quoteIdent(kScalarColumn) + ") FROM (" + body + "))";
        }
        if (!inner.types.empty()) {
            out.tsqlType = inner.types[0];
            out.type = stypeOf(out.tsqlType);
        }
        return out;
    }
    case ExprKind::Exists: {
        TranslatedSelect inner;
        out.sql = "EXISTS (" + selectBody(*e.subquery, 0, inner, false) + ")";
        out.type = SType::Bool;
        return out;
    }
    case ExprKind::In: {
        Emitted a = expression(*e.args[0]);
        out.type = SType::Bool;
        std::string list;
        bool text = a.type == SType::Text;
        if (e.subquery) {
            TranslatedSelect inner;
            list = selectBody(*e.subquery, 0, inner, false);
        } else {
            for (size_t i = 1; i < e.args.size(); ++i) {
                Emitted x = expression(*e.args[i]);
                if (a.type == SType::DateTime)
                    x = toDateTime(x);
                text = text || x.type == SType::Text;
                list += (i > 1 ? ", " : "") + x.sql;
            }
        }
        std::string lhs = a.sql;
        if (text && !a.textColumn)
            lhs = "(" + lhs + " COLLATE TSQL)";
        out.sql = "(" + lhs + (e.negated ? " NOT IN (" : " IN (") + list + "))";
        return out;
    }
    case ExprKind::Between: {
        Emitted a = expression(*e.args[0]);
        Emitted lo = expression(*e.args[1]);
        Emitted hi = expression(*e.args[2]);
        if (a.type == SType::DateTime) {
            lo = toDateTime(lo);
            hi = toDateTime(hi);
        }
        std::string lhs = a.sql;
        if ((a.type == SType::Text || lo.type == SType::Text) && !a.textColumn)
            lhs = "(" + lhs + " COLLATE TSQL)";
        out.sql = "(" + lhs + (e.negated ? " NOT BETWEEN " : " BETWEEN ") + lo.sql + " AND " + hi.sql + ")";
        out.type = SType::Bool;
        return out;
    }
    case ExprKind::Like: {
        Emitted a = expression(*e.args[0]);
        Emitted p = expression(*e.args[1]);
        std::string value = a.sql;
        if (a.type == SType::DateTime)
            value = "tsql_convert(" + a.sql + ", 'varchar', 30, 0, 0, 0, 1)";
        out.sql = "(" + value + (e.negated ? " NOT LIKE " : " LIKE ") + p.sql;
        if (e.args.size() > 2)
            out.sql += " ESCAPE " + expression(*e.args[2]).sql;
        out.sql += ")";
        out.type = SType::Bool;
        return out;
    }
    case ExprKind::IsNull: {
        Emitted a = expression(*e.args[0]);
        out.sql = "(" + a.sql + (e.negated ? " IS NOT NULL)" : " IS NULL)");
        out.type = SType::Bool;
        return out;
    }
    }
    return out;
}

} // namespace tsql
