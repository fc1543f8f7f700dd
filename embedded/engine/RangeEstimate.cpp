// How much of a table a one-sided range keeps. SQLite's planner, without statistics, takes every
// range on an indexed column to keep a quarter of the rows and reads such a range through the index,
// fetching each row by its key. For "older than so many days" over a year of rows that keeps nearly
// all of them, and the index walk costs many times a plain scan. SQL Server estimates the range from
// the column's statistics; here the index's two ends give the column's span, the bound's place in it
// the share kept, and the comparison carries that share to the planner as likelihood().

#include "Session.h"
#include "Translator.h"

#include <sqlite3.h>

#include <algorithm>
#include <cmath>

namespace tsql {

namespace {

// A bound whose value is fixed for the whole statement: literals, variables, GETDATE() and
// arithmetic or DATEADD over them.
bool statementConstant(const Expr& e) {
    switch (e.kind) {
    case ExprKind::Integer:
    case ExprKind::Number:
    case ExprKind::String:
    case ExprKind::Variable:
        return true;
    case ExprKind::Unary:
        return (e.text == "-" || e.text == "+") && statementConstant(*e.args[0]);
    case ExprKind::BinaryOp:
        return (e.text == "+" || e.text == "-") && statementConstant(*e.args[0]) && statementConstant(*e.args[1]);
    case ExprKind::Function:
        if (e.text == "GETDATE" || e.text == "GETUTCDATE" || e.text == "CURRENT_TIMESTAMP")
            return e.args.empty();
        return e.text == "DATEADD" && e.args.size() == 3 && statementConstant(*e.args[1]) &&
               statementConstant(*e.args[2]);
    case ExprKind::Cast:
        return !e.args.empty() && statementConstant(*e.args[0]);
    default:
        return false;
    }
}

// "0.nnn": the planner's probabilities are written without the host's decimal separator.
std::string probabilityText(double share) {
    const long thousandths = std::lround(std::clamp(share, 0.001, 0.999) * 1000);
    std::string digits = std::to_string(thousandths);
    return "0." + std::string(3 - digits.size(), '0') + digits;
}

} // namespace

std::string Translator::withRangeEstimate(const std::string& op, const Expr& left, const Expr& right, const Emitted& a,
                                          const Emitted& b, const std::string& comparisonSql) {
    if (op != "<" && op != "<=" && op != ">" && op != ">=")
        return comparisonSql;
    // The column on the left: "bound < column" reads as "column > bound".
    const bool columnLeft = a.table != nullptr;
    const Emitted& col = columnLeft ? a : b;
    const Emitted& written = columnLeft ? b : a;
    if (!col.table || !statementConstant(columnLeft ? right : left))
        return comparisonSql;
    const bool numericColumn = col.type == SType::Int || col.type == SType::Real || col.type == SType::Exact;
    if (col.type != SType::DateTime && !numericColumn)
        return comparisonSql;
    if (!m_session.catalog().leadsAnIndex(*col.table, col.columnName))
        return comparisonSql;

    const Emitted bound =
        col.type == SType::DateTime && written.type != SType::DateTime ? toDateTime(written) : written;
    // MIN and MAX of an indexed column are each one step to an end of the index.
    const std::string table = quoteIdent(col.table->database) + "." + quoteIdent(col.table->name);
    const std::string column = quoteIdent(col.columnName);
    auto scale = [&](const std::string& sql) { return numericColumn ? sql : "julianday(" + sql + ")"; };
    const std::string sql = "SELECT " + scale("(SELECT MIN(" + column + ") FROM " + table + ")") + ", " +
                            scale("(SELECT MAX(" + column + ") FROM " + table + ")") + ", " + scale(bound.sql);
    // Kept with the connection's statements: a loop or a procedure asks the same again.
    StatementCache& kept = *m_session.statementCache();
    const unsigned long long generation = m_session.catalog().generation();
    sqlite3_stmt* st = kept.take(sql, generation);
    if (!st && sqlite3_prepare_v2(m_session.handle(), sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
        sqlite3_finalize(st);
        return comparisonSql;
    }
    for (size_t i = 0; i < m_binds.size(); ++i)
        m_binds[i].bind(st, static_cast<int>(i) + 1);
    double low = 0, high = 0, value = 0;
    bool known = false;
    if (sqlite3_step(st) == SQLITE_ROW && sqlite3_column_type(st, 0) != SQLITE_NULL &&
        sqlite3_column_type(st, 1) != SQLITE_NULL && sqlite3_column_type(st, 2) != SQLITE_NULL) {
        low = sqlite3_column_double(st, 0);
        high = sqlite3_column_double(st, 1);
        value = sqlite3_column_double(st, 2);
        known = high > low;
    }
    kept.give(st, generation);
    // A bound the engine could not evaluate is the statement's own error to raise, when it runs.
    m_session.clearFunctionError();
    if (!known)
        return comparisonSql;
    const double below = std::clamp((value - low) / (high - low), 0.0, 1.0);
    const bool keepsLow = (op[0] == '<') == columnLeft;
    return "likelihood(" + comparisonSql + ", " + probabilityText(keepsLow ? below : 1.0 - below) + ")";
}

} // namespace tsql
