#pragma once

#include "Ast.h"
#include "StatementCache.h"
#include "Value.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tsql {

// A message from the server: informational (severity 0-10, PRINT and warnings) or an error (11+).
struct Message {
    int number = 0;
    int severity = 0;
    int state = 1;
    std::string text;

    [[nodiscard]] bool isError() const { return severity > 10; }
};

struct ResultColumn {
    std::string name;
    TypeSpec type; // T-SQL type when known; name empty otherwise
    Value::Type storage = Value::Type::Text;
};

class Session;

// The rows of a batch's last SELECT, stepped from SQLite as the client fetches them rather than
// copied first, as SQL Server's driver streams them. Errors met while stepping are thrown as
// tsql::Error.
class Cursor {
public:
    Cursor(Session& session, sqlite3_stmt* statement, unsigned long long generation, std::vector<TypeSpec> types);
    ~Cursor();
    Cursor(const Cursor&) = delete;
    Cursor& operator=(const Cursor&) = delete;

    // Steps to the first row while the batch is still running, so a statement's work and its
    // first error belong to the execution, as with a server; the first next() then returns it.
    void prime();
    bool next(); // false at the end

    // One column of the current row as the driver hands it out: NULL, or its character form,
    // valid until the next call to next(). Each column is asked of SQLite once per row, however
    // many pieces the client reads it in.
    struct Cell {
        bool null = true;
        std::string_view text;
    };
    const Cell& cell(size_t col);
    [[nodiscard]] bool isNull(size_t col) { return cell(col).null; }
    [[nodiscard]] std::string_view text(size_t col) { return cell(col).text; }

private:
    struct Cached {
        uint64_t row = 0; // the row it was read for; 0 is never a row
        Cell cell;
    };

    const Cell& formatted(size_t col, Cached& cached);

    Session& m_session;
    std::shared_ptr<StatementCache> m_cache; // takes the statement back when the cursor ends
    sqlite3_stmt* m_statement;
    unsigned long long m_generation; // the catalog's, when the statement was prepared
    std::vector<TypeSpec> m_types;
    std::vector<char> m_exact; // per column: decimal, numeric or money, asked once rather than per value
    std::vector<std::string> m_scratch;
    std::vector<Cached> m_cells;
    uint64_t m_row = 0; // rows stepped so far; the current row's number
    bool m_firstPending = false;
    bool m_done = false;
};

// Rows of one SELECT, held as character data the way the driver hands them out, or streamed
// through a cursor.
class ResultSet {
public:
    std::vector<ResultColumn> columns;
    std::shared_ptr<Cursor> cursor;

    void beginRow() { ++m_rows; }
    void addCell(const Value& v, const TypeSpec& type);
    void addNull() { m_cells.push_back({0, 0, true}); }
    void addText(std::string_view text);

    [[nodiscard]] size_t rowCount() const { return m_rows; }
    [[nodiscard]] bool isNull(size_t row, size_t col) const { return cell(row, col).null; }
    [[nodiscard]] std::string_view text(size_t row, size_t col) const {
        const Cell& c = cell(row, col);
        return std::string_view(m_arena).substr(c.offset, c.length);
    }

private:
    struct Cell {
        uint64_t offset;
        uint32_t length;
        bool null;
    };
    const Cell& cell(size_t row, size_t col) const { return m_cells[row * columns.size() + col]; }
    std::vector<Cell> m_cells;
    std::string m_arena;
    size_t m_rows = 0;
};

// One step of a batch's output, as SQLExecDirect/SQLMoreResults reach it: a result set, a row
// count, or (at the end) messages alone. Messages that came before it ride with it.
struct ResultItem {
    enum class Kind { Rows, Count, MessagesOnly } kind = Kind::MessagesOnly;
    ResultSet rows;
    int64_t affected = -1;
    std::vector<Message> messages;

    [[nodiscard]] bool failed() const;
};

struct BatchResult {
    std::vector<ResultItem> items;
    bool cancelled = false;
    bool linkLost = false;
};

} // namespace tsql
