#include "DateTime.h"
#include "Error.h"
#include "Lexer.h"
#include "Session.h"
#include "Translator.h"

#include <map>

namespace tsql {

namespace {

struct FunctionRule {
    int minArgs;
    int maxArgs;
};

// Built-in functions the engine knows, with the argument counts SQL Server accepts.
const std::map<std::string, FunctionRule>& builtins() {
    static const std::map<std::string, FunctionRule> rules = {
        {"COUNT", {1, 1}},
        {"COUNT_BIG", {1, 1}},
        {"SUM", {1, 1}},
        {"AVG", {1, 1}},
        {"MIN", {1, 1}},
        {"MAX", {1, 1}},
        {"ISNULL", {2, 2}},
        {"COALESCE", {2, 255}},
        {"NULLIF", {2, 2}},
        {"LEN", {1, 1}},
        {"DATALENGTH", {1, 1}},
        {"SUBSTRING", {3, 3}},
        {"LEFT", {2, 2}},
        {"RIGHT", {2, 2}},
        {"UPPER", {1, 1}},
        {"LOWER", {1, 1}},
        {"LTRIM", {1, 1}},
        {"RTRIM", {1, 1}},
        {"REPLACE", {3, 3}},
        {"CHARINDEX", {2, 3}},
        {"SPACE", {1, 1}},
        {"REPLICATE", {2, 2}},
        {"STR", {1, 3}},
        {"ISNUMERIC", {1, 1}},
        {"ISDATE", {1, 1}},
        {"ABS", {1, 1}},
        {"ROUND", {2, 3}},
        {"FLOOR", {1, 1}},
        {"CEILING", {1, 1}},
        {"POWER", {2, 2}},
        {"GETDATE", {0, 0}},
        {"GETUTCDATE", {0, 0}},
        {"CURRENT_TIMESTAMP", {0, 0}},
        {"DATEADD", {3, 3}},
        {"DATEDIFF", {3, 3}},
        {"DATEPART", {2, 2}},
        {"DATENAME", {2, 2}},
        {"YEAR", {1, 1}},
        {"MONTH", {1, 1}},
        {"DAY", {1, 1}},
        {"OBJECT_ID", {1, 2}},
        {"SERVERPROPERTY", {1, 1}},
        {"DB_NAME", {0, 1}},
        {"USER_NAME", {0, 1}},
        {"SUSER_SNAME", {0, 1}},
        {"SUSER_NAME", {0, 1}},
        {"HOST_NAME", {0, 0}},
        {"APP_NAME", {0, 0}},
        {"CURRENT_USER", {0, 0}},
        {"SYSTEM_USER", {0, 0}},
        {"SESSION_USER", {0, 0}},
        {"SCOPE_IDENTITY", {0, 0}},
        {"IDENT_CURRENT", {1, 1}},
        {"NEWID", {0, 0}},
        {"ASCII", {1, 1}},
        {"CHAR", {1, 1}},
        {"UNICODE", {1, 1}},
        {"NCHAR", {1, 1}},
        {"SIGN", {1, 1}},
        {"REVERSE", {1, 1}},
    };
    return rules;
}

} // namespace

Emitted Translator::function(const Expr& e) {
    const std::string& name = e.text;
    if (name == "DEFAULT")
        throw Error(102, "Incorrect syntax near the keyword 'DEFAULT'.", ErrorScope::Compile, 15);
    auto rule = builtins().find(name);
    if (rule == builtins().end())
        throw Error(195, "'" + name + "' is not a recognized built-in function name.", ErrorScope::Compile, 15);
    int n = static_cast<int>(e.args.size()) + (e.star ? 1 : 0);
    if (n < rule->second.minArgs || n > rule->second.maxArgs)
        throw Error(174,
                    "The " + toUpper(name) + " function requires " + std::to_string(rule->second.minArgs) +
                        " argument(s).",
                    ErrorScope::Compile, 15);

    Emitted out;
    auto arg = [&](size_t i) { return expression(*e.args[i]); };
    auto argsSql = [&](size_t from = 0) {
        std::string s;
        for (size_t i = from; i < e.args.size(); ++i)
            s += (i > from ? ", " : "") + arg(i).sql;
        return s;
    };
    auto datePart = [&](size_t i) -> std::string {
        const Expr& p = *e.args[i];
        std::string word = p.kind == ExprKind::Column && p.parts.size() == 1 ? p.parts[0] : std::string();
        if (word.empty() || !datePartFromName(word))
            throw Error(155,
                        "'" + (word.empty() ? std::string("?") : word) + "' is not a recognized " +
                            (name == "DATEADD"    ? "dateadd"
                             : name == "DATEDIFF" ? "datediff"
                                                  : "datepart") +
                            " option.",
                        ErrorScope::Compile, 15);
        return quoteString(toUpper(word));
    };
    auto setType = [&](const char* t) {
        out.tsqlType = TypeSpec{t, 0, 0, 0};
        out.type = stypeOf(out.tsqlType);
    };

    if (name == "COUNT" || name == "COUNT_BIG") {
        out.sql = e.star ? "count(*)" : std::string("count(") + (e.distinct ? "DISTINCT " : "") + arg(0).sql + ")";
        setType("int");
    } else if (name == "SUM" || name == "MIN" || name == "MAX" || name == "AVG") {
        Emitted a = arg(0);
        std::string fn = name == "SUM" ? "sum" : name == "MIN" ? "min" : name == "MAX" ? "max" : "avg";
        out.sql = fn + "(" + (e.distinct ? "DISTINCT " : "") + a.sql + ")";
        if (name == "AVG" && a.type == SType::Int)
            out.sql = "CAST(" + out.sql + " AS INTEGER)"; // AVG of integers is an integer in SQL Server
        out.type = a.type;
        out.tsqlType = a.tsqlType;
    } else if (name == "ISNULL" || name == "COALESCE") {
        Emitted first = arg(0);
        out.sql = "coalesce(" + first.sql;
        for (size_t i = 1; i < e.args.size(); ++i) {
            Emitted x = arg(i);
            if (first.type == SType::DateTime)
                x = toDateTime(x);
            out.sql += ", " + x.sql;
        }
        out.sql += ")";
        out.type = first.type;
        out.tsqlType = first.tsqlType;
        out.textColumn = first.textColumn;
    } else if (name == "NULLIF") {
        Emitted a = arg(0);
        out.sql = "nullif(" + a.sql + ", " + arg(1).sql + ")";
        out.type = a.type;
        out.tsqlType = a.tsqlType;
    } else if (name == "LEN") {
        out.sql = "tsql_len(" + arg(0).sql + ")";
        setType("int");
    } else if (name == "DATALENGTH") {
        out.sql = "tsql_datalength(" + arg(0).sql + ")";
        setType("int");
    } else if (name == "SUBSTRING") {
        out.sql = "substr(" + argsSql() + ")";
        setType("varchar");
    } else if (name == "LEFT" || name == "RIGHT") {
        out.sql = std::string(name == "LEFT" ? "tsql_left(" : "tsql_right(") + argsSql() + ")";
        setType("varchar");
    } else if (name == "UPPER" || name == "LOWER") {
        out.sql = std::string(name == "UPPER" ? "upper(" : "lower(") + arg(0).sql + ")";
        setType("varchar");
    } else if (name == "LTRIM" || name == "RTRIM") {
        out.sql = std::string(name == "LTRIM" ? "ltrim(" : "rtrim(") + arg(0).sql + ", ' ')";
        setType("varchar");
    } else if (name == "REVERSE") {
        out.sql = "tsql_reverse(" + arg(0).sql + ")";
        setType("varchar");
    } else if (name == "REPLACE" || name == "SPACE" || name == "REPLICATE" || name == "STR") {
        out.sql = "tsql_" +
                  std::string(name == "REPLACE"     ? "replace"
                              : name == "SPACE"     ? "space"
                              : name == "REPLICATE" ? "replicate"
                                                    : "str") +
                  "(" + argsSql() + ")";
        setType("varchar");
    } else if (name == "CHARINDEX") {
        out.sql = "tsql_charindex(" + argsSql() + ")";
        setType("int");
    } else if (name == "ISNUMERIC" || name == "ISDATE") {
        out.sql = std::string(name == "ISNUMERIC" ? "tsql_isnumeric(" : "tsql_isdate(") + arg(0).sql + ")";
        setType("int");
    } else if (name == "ABS" || name == "FLOOR" || name == "CEILING" || name == "SIGN") {
        Emitted a = arg(0);
        out.sql = (name == "ABS"       ? "abs("
                   : name == "FLOOR"   ? "tsql_floor("
                   : name == "CEILING" ? "tsql_ceiling("
                                       : "tsql_sign(") +
                  a.sql + ")";
        out.type = a.type;
        out.tsqlType = a.tsqlType;
    } else if (name == "ROUND") {
        Emitted a = arg(0);
        out.sql = "tsql_round(" + a.sql + ", " + arg(1).sql + ")";
        out.type = a.type;
        out.tsqlType = a.tsqlType;
    } else if (name == "POWER") {
        Emitted a = arg(0);
        out.sql = "tsql_power(" + a.sql + ", " + arg(1).sql + ")";
        out.type = a.type;
        out.tsqlType = a.tsqlType;
    } else if (name == "GETDATE" || name == "GETUTCDATE" || name == "CURRENT_TIMESTAMP") {
        out.sql = "tsql_getdate()";
        setType("datetime");
    } else if (name == "DATEADD") {
        std::string part = datePart(0);
        Emitted d = toDateTime(arg(2));
        out.sql = "tsql_dateadd(" + part + ", " + arg(1).sql + ", " + d.sql + ")";
        setType("datetime");
    } else if (name == "DATEDIFF") {
        std::string part = datePart(0);
        out.sql = "tsql_datediff(" + part + ", " + toDateTime(arg(1)).sql + ", " + toDateTime(arg(2)).sql + ")";
        setType("int");
    } else if (name == "DATEPART" || name == "DATENAME") {
        std::string part = datePart(0);
        out.sql = std::string(name == "DATEPART" ? "tsql_datepart(" : "tsql_datename(") + part + ", " +
                  toDateTime(arg(1)).sql + ")";
        setType(name == "DATEPART" ? "int" : "varchar");
    } else if (name == "YEAR" || name == "MONTH" || name == "DAY") {
        out.sql = "tsql_datepart('" + name + "', " + toDateTime(arg(0)).sql + ")";
        setType("int");
    } else if (name == "OBJECT_ID") {
        out.sql = "tsql_object_id(" + arg(0).sql + ")";
        setType("int");
    } else if (name == "SERVERPROPERTY") {
        out.sql = "tsql_serverproperty(" + arg(0).sql + ")";
    } else if (name == "SCOPE_IDENTITY") {
        out.sql = bind(m_session.systemValue("@@IDENTITY"));
        setType("numeric");
    } else if (name == "IDENT_CURRENT") {
        out.sql = "(SELECT last FROM main.__tsql_identity WHERE tbl = " + arg(0).sql + ")";
        setType("numeric");
    } else if (name == "NEWID") {
        out.sql = "tsql_newid()";
        setType("uniqueidentifier");
    } else if (name == "ASCII" || name == "UNICODE") {
        out.sql = "tsql_ascii(" + arg(0).sql + ")";
        setType("int");
    } else if (name == "CHAR" || name == "NCHAR") {
        out.sql = "tsql_char(" + arg(0).sql + ")";
        setType("char");
    } else {
        // DB_NAME(), USER_NAME(), HOST_NAME(), APP_NAME(), SUSER_SNAME(), CURRENT_USER ...
        out.sql = "tsql_system(" + quoteString(name) + ")";
        setType("nvarchar");
    }
    return out;
}

} // namespace tsql
