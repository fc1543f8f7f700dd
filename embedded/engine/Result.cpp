#include "Result.h"

#include "Convert.h"

#include <cmath>
#include <cstdio>

namespace tsql {

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
            char buf[64];
            int scale = type.name == "money" ? 4 : type.scale;
            int n = std::snprintf(buf, sizeof buf, "%.*f", scale, v.r);
            addText(std::string_view(buf, static_cast<size_t>(n)));
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
