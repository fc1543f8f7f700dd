#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tsql {

// A T-SQL data type as written in DDL, DECLARE, CAST and CONVERT.
struct TypeSpec {
    std::string name; // lower case: int, varchar, datetime, ...
    int length = 0;   // char/binary length; -1 for max; 0 when not given
    int precision = 0;
    int scale = 0;

    [[nodiscard]] bool isText() const;
    [[nodiscard]] bool isFixedText() const { return name == "char" || name == "nchar"; }
    [[nodiscard]] bool isInteger() const;
    [[nodiscard]] bool isDateTime() const { return name == "datetime" || name == "smalldatetime" || name == "date"; }
    [[nodiscard]] bool isBinary() const;
    [[nodiscard]] bool isExact() const { return name == "decimal" || name == "numeric" || name == "money"; }
    [[nodiscard]] bool isFloat() const { return name == "float" || name == "real"; }
    // Length of a character or binary type whose length was not written (SQL Server's defaults:
    // 30 in CAST/CONVERT, 1 in DDL and DECLARE).
    [[nodiscard]] TypeSpec withDefaultLength(int def) const;
    [[nodiscard]] std::string describe() const; // "varchar(10)", for messages
};

struct Select;

enum class ExprKind {
    Null,
    Integer,
    Number, // decimal or float literal
    String,
    BinaryLiteral,
    Column,         // parts: [db.][schema.][table.]column
    Star,           // parts: optional qualifier
    Variable,       // @name
    SystemVariable, // @@name
    Unary,          // op: "-", "+", "~", "NOT"
    BinaryOp,       // op: arithmetic, comparison, AND, OR, bitwise
    Function,       // name, args; star for COUNT(*)
    Case,           // args: [operand?] when, then, ... [else]
    Cast,           // type, args[0]; args[1] = style for CONVERT
    Subquery,
    Exists,
    In,      // args[0] IN (args[1..]) or (subquery)
    Between, // args[0] BETWEEN args[1] AND args[2]
    Like,    // args[0] LIKE args[1] [ESCAPE args[2]]
    IsNull,  // args[0] IS [NOT] NULL
};

struct Expr {
    ExprKind kind = ExprKind::Null;
    std::string text; // literal text, operator, function name, variable name
    std::vector<std::string> parts;
    std::vector<std::unique_ptr<Expr>> args;
    std::unique_ptr<Select> subquery;
    TypeSpec type;
    bool negated = false;  // NOT IN / NOT BETWEEN / NOT LIKE / IS NOT NULL / NOT EXISTS
    bool distinct = false; // COUNT(DISTINCT x)
    bool star = false;     // COUNT(*)
    bool hasOperand = false;
    bool hasElse = false;
};
using ExprPtr = std::unique_ptr<Expr>;

struct TableRef {
    enum class Kind { Named, Derived, Join } kind = Kind::Named;
    std::vector<std::string> parts; // [db].[schema].table
    std::string alias;
    std::unique_ptr<Select> derived;
    std::string joinType; // "INNER", "LEFT", "RIGHT", "FULL", "CROSS"
    std::unique_ptr<TableRef> left, right;
    ExprPtr on;

    [[nodiscard]] const std::string& tableName() const { return parts.back(); }
};
using TableRefPtr = std::unique_ptr<TableRef>;

struct SelectItem {
    ExprPtr expr;
    std::string alias;
    std::string assignVariable; // SELECT @v = expr
};

struct OrderItem {
    ExprPtr expr;
    bool descending = false;
};

struct Select {
    bool distinct = false;
    ExprPtr top;
    bool topPercent = false;
    std::vector<SelectItem> items;
    std::string intoTable;
    std::vector<TableRefPtr> from;
    ExprPtr where;
    std::vector<ExprPtr> groupBy;
    ExprPtr having;
    // UNION chain: each further SELECT with its ALL flag; ORDER BY applies to the whole.
    std::vector<std::pair<std::unique_ptr<Select>, bool>> unions;
    std::vector<OrderItem> orderBy;
};

struct ColumnDef {
    std::string name;
    TypeSpec type;
    bool nullable = true;
    bool explicitNull = false;
    bool identity = false;
    long long identitySeed = 1;
    long long identityStep = 1;
    bool primaryKey = false;
    bool unique = false;
    ExprPtr defaultValue;
    std::string defaultText; // the DEFAULT expression as written
};

struct Statement;
using StatementPtr = std::unique_ptr<Statement>;

struct Assignment {
    std::vector<std::string> column; // [alias.]column, or variable in parts[0] starting with @
    std::string op = "=";            // = += -= ...
    ExprPtr value;
};

struct ProcParam {
    std::string name;
    TypeSpec type;
    ExprPtr defaultValue;
    bool output = false;
};

struct ExecArg {
    std::string name; // @param, empty for positional
    ExprPtr value;
    bool output = false;
};

enum class StatementKind {
    Select,
    Insert,
    Update,
    Delete,
    CreateTable,
    DropTable,
    CreateIndex,
    DropIndex,
    AlterTableAdd,
    Truncate,
    CreateView,
    DropView,
    Declare,
    SetVariable,
    SetOption,
    If,
    While,
    Break,
    Continue,
    Block,
    BeginTran,
    CommitTran,
    RollbackTran,
    Print,
    Exec,
    CreateProcedure,
    DropProcedure,
    Grant,
    Return,
    Raiserror,
    Use,
    Backup,
};

struct Statement {
    StatementKind kind = StatementKind::Select;
    std::unique_ptr<Select> select;  // SELECT, INSERT ... SELECT, CREATE VIEW
    std::vector<std::string> target; // table / procedure / index name parts
    std::string alias;
    std::vector<std::string> columns;       // INSERT column list, index columns
    std::vector<std::vector<ExprPtr>> rows; // INSERT VALUES rows
    bool insertDefaultValues = false;
    std::unique_ptr<Statement> insertExec; // INSERT ... EXEC
    std::vector<Assignment> assignments;   // UPDATE SET, SET @v, DECLARE initial values
    std::vector<TableRefPtr> from;         // UPDATE/DELETE ... FROM
    ExprPtr where;
    ExprPtr top;
    std::vector<ColumnDef> columnDefs;          // CREATE TABLE, ALTER TABLE ADD
    std::vector<std::vector<std::string>> keys; // PRIMARY KEY / UNIQUE table constraints
    std::vector<bool> keyIsPrimary;
    std::vector<std::pair<std::string, TypeSpec>> declarations;
    std::vector<ExprPtr> declInitial;
    std::string option;             // SET option name, upper case
    ExprPtr value;                  // SET option value / PRINT / IF / WHILE / RETURN
    std::vector<StatementPtr> body; // BEGIN ... END, IF then/else as body[0], body[1]
    std::vector<ExecArg> execArgs;
    std::string execReturnVariable; // EXEC @rc = proc
    std::vector<ProcParam> params;  // CREATE PROCEDURE
    std::string procSource;         // the procedure's text after AS
    std::string fullSource;         // the whole CREATE PROCEDURE text
    bool unique = false;            // CREATE UNIQUE INDEX
    std::vector<ExprPtr> raiseArgs; // RAISERROR(msg, severity, state)
    std::string sourceText;         // the statement's own text, for messages
};

} // namespace tsql
