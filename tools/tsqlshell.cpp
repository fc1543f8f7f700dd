// tsqlshell: an interactive T-SQL prompt through unixODBC.
//
//   tsqlshell [--create] "<connection string>"     e.g. "DSN=KALDRA" or
//             "Driver={SQL Server};Server=/path/to/folder;Database=KALDRA"
//
// Statements are collected until a line holding only GO (or a line ending in ';' when the input
// is a terminal); each batch's result sets, row counts and messages are printed. --create makes
// the database file first when it is missing (Server= and Database= must then be given).

#include "Session.h"

#include <cstring>
#include <iostream>
#include <map>
#include <sql.h>
#include <sqlext.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

void printDiags(SQLHENV env, SQLHDBC dbc, SQLHSTMT stmt) {
    SQLCHAR state[16], text[1024];
    SQLINTEGER native = 0;
    SQLSMALLINT len = 0;
    while (SQLError(env, dbc, stmt, state, &native, text, sizeof text, &len) == SQL_SUCCESS)
        std::cout << (std::strcmp(reinterpret_cast<char*>(state), "01000") == 0 ? "" : "Msg ")
                  << (std::strcmp(reinterpret_cast<char*>(state), "01000") == 0
                          ? std::string()
                          : std::to_string(native) + " [" + reinterpret_cast<char*>(state) + "] ")
                  << text << "\n";
}

void runBatch(SQLHENV env, SQLHDBC dbc, SQLHSTMT stmt, const std::string& sql) {
    SQLRETURN rc = SQLExecDirect(stmt, reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql.c_str())), SQL_NTS);
    for (;;) {
        printDiags(env, dbc, stmt);
        if (rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO) {
            SQLSMALLINT cols = 0;
            SQLNumResultCols(stmt, &cols);
            if (cols > 0) {
                std::vector<std::string> names;
                for (SQLSMALLINT c = 1; c <= cols; ++c) {
                    SQLCHAR name[256];
                    SQLSMALLINT nl, type, digits, nullable;
                    SQLULEN size;
                    SQLDescribeCol(stmt, static_cast<SQLUSMALLINT>(c), name, sizeof name, &nl, &type, &size, &digits,
                                   &nullable);
                    names.emplace_back(reinterpret_cast<char*>(name));
                }
                std::vector<std::vector<std::string>> rows;
                while (SQLFetch(stmt) == SQL_SUCCESS) {
                    std::vector<std::string> row;
                    for (SQLSMALLINT c = 1; c <= cols; ++c) {
                        char buf[4096];
                        SQLLEN ind = 0;
                        SQLGetData(stmt, static_cast<SQLUSMALLINT>(c), SQL_C_CHAR, buf, sizeof buf, &ind);
                        row.emplace_back(ind == SQL_NULL_DATA ? "NULL" : buf);
                    }
                    rows.push_back(std::move(row));
                }
                std::vector<size_t> width(names.size());
                for (size_t c = 0; c < names.size(); ++c) {
                    width[c] = names[c].size();
                    for (const auto& r : rows)
                        width[c] = std::max(width[c], std::min<size_t>(r[c].size(), 60));
                }
                auto line = [&](const std::vector<std::string>& cells) {
                    for (size_t c = 0; c < cells.size(); ++c) {
                        std::string v = cells[c].substr(0, 60);
                        std::cout << v << std::string(width[c] - v.size() + 1, ' ');
                    }
                    std::cout << "\n";
                };
                line(names);
                for (size_t c = 0; c < names.size(); ++c)
                    std::cout << std::string(width[c], '-') << ' ';
                std::cout << "\n";
                for (const auto& r : rows)
                    line(r);
                std::cout << "\n(" << rows.size() << " row" << (rows.size() == 1 ? "" : "s") << " affected)\n";
            } else {
                SQLLEN count = -1;
                SQLRowCount(stmt, &count);
                if (count >= 0)
                    std::cout << "(" << count << " row" << (count == 1 ? "" : "s") << " affected)\n";
            }
        }
        rc = SQLMoreResults(stmt);
        if (rc == SQL_NO_DATA)
            break;
    }
    SQLFreeStmt(stmt, SQL_CLOSE);
}

std::map<std::string, std::string> attributes(const std::string& cs) {
    std::map<std::string, std::string> out;
    size_t i = 0;
    while (i < cs.size()) {
        size_t eq = cs.find('=', i);
        if (eq == std::string::npos)
            break;
        size_t semi = cs.find(';', eq);
        std::string key = cs.substr(i, eq - i);
        for (auto& c : key)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        out[key] = cs.substr(eq + 1, (semi == std::string::npos ? cs.size() : semi) - eq - 1);
        i = semi == std::string::npos ? cs.size() : semi + 1;
    }
    return out;
}

} // namespace

int main(int argc, char** argv) {
    bool create = false;
    std::string connection;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--create") == 0)
            create = true;
        else
            connection = argv[i];
    }
    if (connection.empty()) {
        std::cerr << "usage: tsqlshell [--create] \"<ODBC connection string>\"\n";
        return 2;
    }
    if (create) {
        auto a = attributes(connection);
        tsql::OpenOptions o;
        o.folder = a["SERVER"];
        o.database = a["DATABASE"];
        o.create = true;
        try {
            tsql::Session::open(o);
        } catch (const tsql::Error& e) {
            std::cerr << e.what() << "\n";
            return 1;
        }
    }
    SQLHENV env;
    SQLHDBC dbc;
    SQLHSTMT stmt;
    SQLAllocEnv(&env);
    SQLAllocConnect(env, &dbc);
    SQLRETURN rc = SQLDriverConnect(dbc, nullptr, reinterpret_cast<SQLCHAR*>(connection.data()), SQL_NTS, nullptr, 0,
                                    nullptr, SQL_DRIVER_NOPROMPT);
    printDiags(env, dbc, SQL_NULL_HSTMT);
    if (!SQL_SUCCEEDED(rc))
        return 1;
    SQLAllocStmt(dbc, &stmt);
    const bool interactive = isatty(STDIN_FILENO);
    if (interactive)
        std::cout << "Connected. End a batch with GO (or ';' at the end of a line); EXIT to leave.\n";
    std::string batch;
    std::string line;
    for (;;) {
        if (interactive)
            std::cout << (batch.empty() ? "1> " : "2> ") << std::flush;
        if (!std::getline(std::cin, line))
            break;
        std::string t = line;
        t.erase(0, t.find_first_not_of(" \t"));
        t.erase(t.find_last_not_of(" \t\r") + 1);
        std::string upper = t;
        for (auto& c : upper)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (batch.empty() && (upper == "EXIT" || upper == "QUIT"))
            break;
        if (upper == "GO") {
            runBatch(env, dbc, stmt, batch);
            batch.clear();
            continue;
        }
        batch += line + "\n";
        if (interactive && !t.empty() && t.back() == ';') {
            runBatch(env, dbc, stmt, batch);
            batch.clear();
        }
    }
    if (!batch.empty())
        runBatch(env, dbc, stmt, batch);
    SQLFreeStmt(stmt, SQL_DROP);
    SQLDisconnect(dbc);
    SQLFreeConnect(dbc);
    SQLFreeEnv(env);
    return 0;
}
