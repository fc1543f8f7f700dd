#include "Result.h"

#include "Convert.h"
#include "Error.h"
#include "NumberText.h"
#include "Session.h"

#include <sqlite3.h>

#include <cmath>
#include <cstdio>

namespace tsql {

Cursor::Cursor(Session& session, sqlite3_stmt* statement, std::vector<TypeSpec> types)
    : m_session(session), m_statement(statement), m_types(std::move(types)), m_scratch(m_types.size()) {}

Cursor::~Cursor() {
    sqlite3_finalize(m_statement);
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
    if (rc == SQLITE_ROW)
        return true;
    m_done = true;
    if (rc != SQLITE_DONE)
        m_session.throwEngineError(rc);
    return false;
}

bool Cursor::isNull(size_t col) const {
    return sqlite3_column_type(m_statement, static_cast<int>(col)) == SQLITE_NULL;
}

std::string_view Cursor::text(size_t col) {
    const int c = static_cast<int>(col);
    switch (sqlite3_column_type(m_statement, c)) {
    case SQLITE_INTEGER:
    case SQLITE_TEXT:
        return std::string_view(reinterpret_cast<const char*>(sqlite3_column_text(m_statement, c)),
                                static_cast<size_t>(sqlite3_column_bytes(m_statement, c)));
    case SQLITE_NULL:
        return {};
    default: {
        ResultSet one;
        one.columns.resize(1);
        one.beginRow();
        one.addCell(Value::column(m_statement, c), m_types[col]);
        m_scratch[col] = std::string(one.text(0, 0));
        return m_scratch[col];
    }
    }
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
