#pragma once

#include "Result.h"
#include "Session.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace odbcdrv {

// One diagnostic record as SQLError/SQLGetDiagRec hand it out.
struct Diag {
    std::string state3; // ODBC 3 SQLSTATE
    std::string state2; // ODBC 2 SQLSTATE
    int native = 0;
    std::string text;
};

struct DiagList {
    std::vector<Diag> records;
    size_t consumed = 0; // SQLError hands each record out once
    void clear() {
        records.clear();
        consumed = 0;
    }
    void add(Diag d) { records.push_back(std::move(d)); }
};

struct Env {
    int odbcVersion = 2;
    DiagList diags;
};

struct Stmt;

struct Dbc {
    Env* env = nullptr;
    std::unique_ptr<tsql::Session> session;
    std::string databasePath;
    std::string dataSource;
    std::string server;
    std::string login;
    bool linkLost = false;
    DiagList diags;
    std::set<Stmt*> statements;
    // The statement whose batch runs on a worker thread, if any. SQLite's connection is opened
    // without its own mutex, so nothing else may touch it until that batch is done.
    std::atomic<Stmt*> asyncOwner{nullptr};
};

struct Stmt {
    Dbc* dbc = nullptr;
    DiagList diags;
    bool async = false;

    tsql::BatchResult result;
    size_t item = 0;        // current result item
    long long row = -1;     // current row in the item's rows; -1 before the first fetch
    bool open = false;      // a cursor is open (results not yet closed)
    bool rowsEnded = false; // SQLFetch has reported the end of the current result set
    int lastColumn = 0;     // column of the last SQLGetData, for piecewise reads
    size_t columnOffset = 0;
    bool columnDone = false;

    std::thread worker;
    std::atomic<bool> running{false};
    std::string pendingSql;

    ~Stmt();
    void closeCursor();
    void joinWorker();
};

// Builds SQLSTATEs and texts the way SQL Server's drivers report them.
Diag serverDiag(const tsql::Message& m);
Diag driverDiag(const std::string& state3, const std::string& state2, int native, const std::string& text);
const std::string& stateFor(const Diag& d, int odbcVersion);

extern const char* const kDriverPrefix; // "[...][...]" before driver messages
extern const char* const kServerPrefix; // ... and before server messages

// Faults a test can arrange for a database file: a dropped network link, refused reconnects.
// They are read from "<database file>.faults" (lines "drop-link N", "refuse-connect N" and
// "drop-link-after N").
struct Faults {
    static bool takeDropLink(const std::string& databasePath);
    static bool takeRefuseConnect(const std::string& databasePath);
    // "drop-link-after N": the next batch loses its link after running N statements (taken whole).
    static std::optional<long> takeDropLinkAfter(const std::string& databasePath);
    // "fail-text TEXT": the next batch whose text holds TEXT (the rest of the line) fails before it
    // runs, as a statement the server refuses; the line is then used up.
    static bool takeFailText(const std::string& databasePath, const std::string& sql);
};

} // namespace odbcdrv
