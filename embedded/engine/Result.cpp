#include "Result.h"

#include "Convert.h"
#include "Error.h"
#include "NumberText.h"
#include "Session.h"

#include <sqlite3.h>

#include <cmath>
#include <cstdio>

namespace tsql {

Cursor::Cursor(Session& session, sqlite3_stmt* statement, unsigned long long generation, std::vector<TypeSpec> types)
    : m_session(session), m_cache(session.statementCache()), m_statement(statement), m_generation(generation),
      m_types(std::move(types)), m_exact(m_types.size()), m_scratch(m_types.size()), m_cells(m_types.size()) {
    for (size_t i = 0; i < m_types.size(); ++i)
        m_exact[i] = m_types[i].isExact() ? 1 : 0;
}

Cursor::~Cursor() {
    m_cache->give(m_statement, m_generation);
}

void Cursor::prime() {
    m_firstPending = next();
}

bool Cursor::next() {
    if (m_firstPending) {
        m_firstPending = false;
        return true;
    }
    if (m_done)
        return false;
    int rc = sqlite3_step(m_statement);
    if (rc == SQLITE_ROW) {
        ++m_row;
        return true;
    }
    m_done = true;
    if (rc != SQLITE_DONE)
        m_session.throwEngineError(rc);
    return false;
}

const Cursor::Cell& Cursor::cell(size_t col) {
    Cached& cached = m_cells[col];
    if (cached.row == m_row)
        return cached.cell;
    cached.row = m_row;
    // The column's value object is read directly: the connection runs without a mutex, so the
    // value calls need none either, and the type, text and length are asked of it once.
    sqlite3_value* value = sqlite3_column_value(m_statement, static_cast<int>(col));
    switch (sqlite3_value_type(value)) {
    case SQLITE_NULL:
        cached.cell = {true, {}};
        break;
    case SQLITE_INTEGER:
        if (m_exact[col]) // 0 of a decimal(10,3) column is stored as an integer; it reads "0.000"
            return formatted(col, cached);
        [[fallthrough]];
    case SQLITE_TEXT: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
        cached.cell = {false, std::string_view(text, static_cast<size_t>(sqlite3_value_bytes(value)))};
        break;
    }
    default:
        return formatted(col, cached);
    }
    return cached.cell;
}

// Exact numbers, reals and binaries take SQL Server's character forms (scale, upper-case hex).
const Cursor::Cell& Cursor::formatted(size_t col, Cached& cached) {
    ResultSet one;
    one.columns.resize(1);
    one.beginRow();
    one.addCell(Value::column(m_statement, static_cast<int>(col)), m_types[col]);
    m_scratch[col] = std::string(one.text(0, 0));
    cached.cell = {false, m_scratch[col]};
    return cached.cell;
}

bool ResultItem::failed() const {
    for (const auto& m : messages)
        if (m.isError())
            return true;
    return false;
}

void ResultSet::addText(std::string_view text) {
    m_cells.push_back({m_arena.size(), static_cast<uint32_t>(text.size()), false});
    m_arena.append(text);
}

void ResultSet::addCell(const Value& v, const TypeSpec& type) {
    switch (v.type) {
    case Value::Type::Null:
        addNull();
        return;
    case Value::Type::Int: {
        if (type.isExact()) {
            addText(fixedText(static_cast<double>(v.i), type.name == "money" ? 4 : type.scale));
            return;
        }
        char buf[24];
        int n = std::snprintf(buf, sizeof buf, "%lld", static_cast<long long>(v.i));
        addText(std::string_view(buf, static_cast<size_t>(n)));
        return;
    }
    case Value::Type::Real:
        if (type.isExact()) {
            // decimal, numeric and money come out with their scale, as SQL Server gives them
            addText(fixedText(v.r, type.name == "money" ? 4 : type.scale));
        } else {
            addText(formatReal(v.r));
        }
        return;
    case Value::Type::Text:
        addText(v.s);
        return;
    case Value::Type::Blob:
        addText(hexUpper(v.s));
        return;
    }
}

} // namespace tsql
